#include "form_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "link_control_win.h"
#include "res/resource.h"
#include "shutdown_reason_win.h"
#include "text/win_text.h"
#include "window_text_win.h"

namespace {
constexpr wchar_t kMainClass[] = L"QuendryMain";
constexpr wchar_t kPageClass[] = L"QuendryPage";
// How a close was asked for, as the wizard's close request tells them apart.
constexpr int kUnloadByCloseCommand = 0;
constexpr int kUnloadByWindows = 2;     // the session ends
constexpr int kUnloadByTaskManager = 3; // another program sent WM_CLOSE
// Posted on the first activation, so that the activation handler runs outside WM_ACTIVATE.
constexpr UINT WM_APP_ACTIVATED = WM_APP + 1;
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
constexpr COLORREF kListTransparent = RGB(192, 192, 192);

struct Column {
    const wchar_t* Header;
    int WidthTwips;
};
// The list's headings are German in both languages.
constexpr Column kColumns[] = {{L"Dateiname", 2293}, {L"Dateiversion", 1588}, {L"Pfad", 7585}};

bool IsPage(ControlId id) {
    return id == ControlId::pic1 || id == ControlId::pic2 || id == ControlId::pic3 ||
           id == ControlId::pic4 || id == ControlId::pic5;
}

// Orders two rows by the texts of the sort column that `keys` points to (each row's parameter is
// its index there), ascending and ignoring case as the list's own sorting does.
int CALLBACK CompareSortKeys(LPARAM a, LPARAM b, LPARAM keys) {
    const auto& k = *reinterpret_cast<const std::vector<std::wstring>*>(keys);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, k[static_cast<size_t>(a)].c_str(),
                          -1, k[static_cast<size_t>(b)].c_str(), -1) -
           CSTR_EQUAL;
}
} // namespace

bool WinForm::Font::operator<(const Font& o) const {
    return std::tie(Face, Size, Bold, Underline) < std::tie(o.Face, o.Size, o.Bold, o.Underline);
}

WinForm::~WinForm() {
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    for (auto& [key, font] : m_fonts)
        DeleteObject(font);
    if (m_white)
        DeleteObject(m_white);
    if (m_measure)
        DeleteDC(m_measure);
    if (m_images)
        ImageList_Destroy(m_images);
}

int WinForm::Px(int twips) const {
    return TwipsToPixels(twips, m_dpi);
}

WinForm::Control* WinForm::Find(ControlId id) {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

const WinForm::Control* WinForm::Find(ControlId id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

HWND WinForm::Wnd(ControlId id) const {
    if (id == ControlId::frmMain)
        return m_hwnd;
    const Control* c = Find(id);
    return c ? c->Hwnd : nullptr;
}

bool WinForm::Create(HINSTANCE instance, IFormEvents& events, int dpi) {
    m_instance = instance;
    m_events = &events;
    m_white = CreateSolidBrush(RGB(255, 255, 255));
    m_measure = CreateCompatibleDC(nullptr);

    HDC screen = dpi > 0 ? nullptr : GetDC(nullptr);
    if (screen) {
        m_dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
    } else if (dpi > 0) {
        m_dpi = dpi;
    }

    WNDCLASSEXW main = {};
    main.cbSize = sizeof main;
    main.lpfnWndProc = MainProc;
    main.hInstance = instance;
    main.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    main.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = kMainClass;
    WNDCLASSEXW page = main;
    page.lpfnWndProc = PageProc;
    page.hIcon = nullptr;
    page.hIconSm = nullptr;
    page.hbrBackground = nullptr; // painted by the page itself
    page.lpszClassName = kPageClass;
    // A second window of the same process finds the classes there already.
    for (const WNDCLASSEXW* cls : {&main, &page})
        if (!RegisterClassExW(cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT rc = {0, 0, Px(kClientWidthTwips), Px(kClientHeightTwips)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + ((work.right - work.left) - w) / 2;
    const int y = work.top + ((work.bottom - work.top) - h) / 2;
    m_hwnd = CreateWindowExW(exStyle, kMainClass, L"", style, x, y, w, h, nullptr, nullptr,
                             instance, this);
    if (!m_hwnd)
        return false;

    // The buttons now; a page and its controls when it first comes to the front.
    for (const auto& entry : ControlTable()) {
        if (entry.Id == ControlId::frmMain)
            continue;
        Keep(entry);
        if (entry.Parent == ControlId::frmMain && !IsPage(entry.Id))
            CreateControl(entry);
    }
    Arrange(ControlId::frmMain);
    return true;
}

void WinForm::Keep(const ControlSpec& entry) {
    Control c;
    c.LeftTwips = entry.Left;
    c.TopTwips = entry.Top;
    c.Interval = entry.Interval;
    c.Text = Widen(std::string(entry.Caption));
    c.Shown = entry.Visible;
    c.On = entry.Enabled;
    if (!entry.FontName.empty()) {
        c.HasFont = true;
        c.Font = {Widen(std::string(entry.FontName)), entry.FontSize, entry.Bold, false};
    }
    m_controls[entry.Id] = c;
}

void WinForm::MakePage(ControlId page) {
    if (!m_hwnd || std::find(m_madePages.begin(), m_madePages.end(), page) != m_madePages.end())
        return;
    m_madePages.push_back(page);
    if (!CreateControl(Describe(page)))
        return;
    for (const auto& entry : ControlTable())
        if (entry.Parent == page)
            CreateControl(entry);
    Arrange(page);
    KeepLinksClear(page);
}

HWND WinForm::Made(ControlId id) {
    if (!Wnd(id) && (IsPage(id) || IsPage(Describe(id).Parent)))
        MakePage(IsPage(id) ? id : Describe(id).Parent);
    return Wnd(id);
}

bool WinForm::CreateControl(const ControlSpec& entry) {
    Control& c = m_controls[entry.Id];
    if (entry.Kind == ControlKind::Timer)
        return true;
    HWND parent = entry.Parent == ControlId::frmMain ? m_hwnd : Wnd(entry.Parent);
    const int x = Px(c.LeftTwips), y = Px(c.TopTwips);
    const int w = Px(entry.Width), h = Px(entry.Height);
    // Overlapping siblings paint by z-order only when each clips the others.
    DWORD style =
        WS_CHILD | WS_CLIPSIBLINGS | (c.Shown ? WS_VISIBLE : 0) | (c.On ? 0 : WS_DISABLED);
    DWORD exStyle = 0;
    const wchar_t* cls = L"STATIC";
    switch (entry.Kind) {
    case ControlKind::Page:
        cls = kPageClass;
        style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        break;
    case ControlKind::Button:
        cls = L"BUTTON";
        style |= WS_TABSTOP | (entry.DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
    case ControlKind::Option:
        cls = L"BUTTON";
        style |= BS_AUTORADIOBUTTON | WS_TABSTOP | (entry.GroupStart ? WS_GROUP : 0);
        break;
    case ControlKind::Label:
        if (entry.Link && LinkControlClass(m_instance)) {
            // A link is reached with Tab and opened from the keyboard too.
            cls = LinkControlClass(m_instance);
            style |= WS_TABSTOP;
            break;
        }
        // Labels and pictures take the pointer themselves (SS_NOTIFY), so that a move over them
        // is theirs and not the page's underneath.
        style |= (entry.AutoSize ? SS_LEFTNOWORDWRAP : SS_LEFT) | SS_NOPREFIX | SS_NOTIFY;
        break;
    case ControlKind::Image:
        // The welcome picture fills its box at every pixel density (at 96 dpi the box is the
        // picture's own size).
        style |= SS_NOTIFY | (entry.Image == Picture::BigPicture ? SS_BITMAP | SS_REALSIZECONTROL
                                                                 : SS_ICON | SS_CENTERIMAGE);
        break;
    case ControlKind::ListView:
        cls = WC_LISTVIEWW;
        // The form owns the image list and destroys it; the list only shows it.
        style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::ProgressBar:
        cls = PROGRESS_CLASSW;
        break;
    default:
        break;
    }
    c.Hwnd = CreateWindowExW(exStyle, cls, c.Text.c_str(), style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.Id)), m_instance,
                             nullptr);
    if (!c.Hwnd)
        return false;
    if (c.HasFont)
        ApplyFont(entry.Id);

    switch (entry.Kind) {
    case ControlKind::Image: {
        // Each icon holds the picture drawn at the sizes 96, 120 and 144 dpi show it at.
        const int px = Px(entry.Width);
        int res = 0;
        switch (entry.Image) {
        case Picture::OkIcon:
            res = IDI_OK;
            break;
        case Picture::ProblemIcon:
            res = IDI_PROBLEM;
            break;
        case Picture::DownArrow:
            res = IDI_DOWNARROW;
            break;
        case Picture::Repairing:
            res = IDI_REPAIRING;
            break;
        default:
            break;
        }
        if (entry.Image == Picture::BigPicture) {
            HANDLE bmp = LoadImageW(m_instance, MAKEINTRESOURCEW(IDB_BIGPICTURE), IMAGE_BITMAP, 0,
                                    0, LR_DEFAULTCOLOR);
            if (bmp)
                SendMessageW(c.Hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
        } else if (res) {
            HANDLE icon =
                LoadImageW(m_instance, MAKEINTRESOURCEW(res), IMAGE_ICON, px, px, LR_DEFAULTCOLOR);
            if (icon)
                SendMessageW(c.Hwnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
        break;
    }
    case ControlKind::Option:
        if (entry.Checked)
            SendMessageW(c.Hwnd, BM_SETCHECK, BST_CHECKED, 0);
        break;
    case ControlKind::ListView: {
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNW col = {};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            col.pszText = const_cast<wchar_t*>(kColumns[i].Header);
            col.cx = Px(kColumns[i].WidthTwips);
            col.iSubItem = i;
            SendMessageW(c.Hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
        }
        m_images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
        for (int res : {IDB_CHECKMARK, IDB_WARNING}) {
            HBITMAP bmp = static_cast<HBITMAP>(
                LoadImageW(m_instance, MAKEINTRESOURCEW(res), IMAGE_BITMAP, 0, 0, 0));
            if (bmp) {
                ImageList_AddMasked(m_images, bmp, kListTransparent);
                DeleteObject(bmp);
            }
        }
        SendMessageW(c.Hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_images));
        SendMessageW(c.Hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, c.ListStyle);
        break;
    }
    case ControlKind::ProgressBar:
        SendMessageW(c.Hwnd, PBM_SETRANGE32, 0, 100);
        break;
    default:
        break;
    }
    if (entry.AutoSize && !c.HasFont) // ApplyFont has sized it
        AutoSize(entry.Id);
    return true;
}

void WinForm::ApplyFont(ControlId id) {
    Control* c = Find(id);
    if (!c || !c->HasFont || !c->Hwnd)
        return;
    auto it = m_fonts.find(c->Font);
    if (it == m_fonts.end()) {
        LOGFONTW lf = {};
        lf.lfHeight = -static_cast<LONG>(std::lround(c->Font.Size * m_dpi / 72.0));
        lf.lfWeight = c->Font.Bold ? FW_BOLD : FW_NORMAL;
        lf.lfUnderline = c->Font.Underline;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, c->Font.Face.c_str(), LF_FACESIZE);
        HFONT font = CreateFontIndirectW(&lf);
        if (!font)
            return;
        it = m_fonts.emplace(c->Font, font).first;
    }
    SendMessageW(c->Hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(it->second), TRUE);
    if (Describe(id).AutoSize)
        AutoSize(id);
    LayoutChanged(id);
}

void WinForm::Show(int nCmdShow) {
    ShowWindow(m_hwnd, nCmdShow);
    UpdateWindow(m_hwnd);
}

int WinForm::Run() {
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        Deliver(msg);
    return static_cast<int>(msg.wParam);
}

void WinForm::Deliver(MSG& msg) {
    ReportPointerOverControl(msg);
    if (PressFocusedButton(msg))
        return;
    if (!m_hwnd || !IsDialogMessageW(m_hwnd, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WinForm::PressFocusedButton(const MSG& msg) {
    // Enter presses the button that has the focus, as in a dialog box; elsewhere it presses the
    // default button (Next), which the dialog keys do. Outside a dialog box the default button
    // does not follow the focus, so the dialog keys alone would press Next.
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN || !m_hwnd)
        return false;
    HWND focus = GetFocus();
    const auto id = static_cast<ControlId>(GetDlgCtrlID(focus));
    const Control* c = Find(id);
    if (!focus || !c || c->Hwnd != focus || Describe(id).Kind != ControlKind::Button ||
        !IsWindowEnabled(focus))
        return false;
    SendMessageW(focus, BM_CLICK, 0, 0);
    return true;
}

void WinForm::ReportPointerOverControl(const MSG& msg) {
    // Every control reports the pointer moving over it, before the control itself sees the move:
    // taken here, from the queue, no control needs subclassing (which Windows 2000's common
    // controls offer by ordinal only). The window and the pages report their own moves.
    if (msg.message != WM_MOUSEMOVE || !m_hwnd || msg.hwnd == m_hwnd)
        return;
    const auto id = static_cast<ControlId>(GetDlgCtrlID(msg.hwnd));
    const Control* c = Find(id);
    if (!c || c->Hwnd != msg.hwnd || IsPage(id))
        return;
    Dispatch([&] { m_events->OnMouseMove(id); });
}

void WinForm::RequestClose(int unloadMode) {
    Dispatch([&] {
        bool cancel = false;
        m_events->OnQueryUnload(cancel, unloadMode);
        if (!cancel)
            Unload();
    });
}

template <typename F> void WinForm::Dispatch(F&& handler) {
    ++m_depth;
    try {
        handler();
    } catch (...) {
        // No exception leaves a window procedure; the wizard's handlers trap their own errors.
    }
    --m_depth;
    if (m_depth == 0 && m_unloadPending && m_hwnd) {
        m_unloadPending = false;
        DestroyWindow(m_hwnd);
    }
    if (m_depth == 0)
        KeepFocusUsable();
}

LRESULT CALLBACK WinForm::MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<WinForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->HandleMain(hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK WinForm::PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND main = GetAncestor(hwnd, GA_ROOT);
    auto* self =
        main ? reinterpret_cast<WinForm*>(GetWindowLongPtrW(main, GWLP_USERDATA)) : nullptr;
    return self ? self->HandlePage(hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT WinForm::HandlePage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEMOVE: {
        const auto id = static_cast<ControlId>(GetDlgCtrlID(hwnd));
        Dispatch([&] { m_events->OnMouseMove(id); });
        return 0;
    }
    case WM_PAINT:
        PaintPage(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CTLCOLORSTATIC:
        return ColorStatic(hwnd, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_COMMAND:
    case WM_NOTIFY:
        // Controls on a page report to the page; the window handles them all in one place.
        return SendMessageW(m_hwnd, msg, wp, lp);
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

LRESULT WinForm::ColorStatic(HWND page, HDC dc, HWND control) {
    const auto id = static_cast<ControlId>(GetDlgCtrlID(control));
    const ControlSpec& entry = Describe(id);
    const auto pageId = static_cast<ControlId>(GetDlgCtrlID(page));
    // The welcome page is white; on the other pages the header band is white.
    const bool white = pageId == ControlId::pic1 ||
                       (entry.Kind == ControlKind::Label && entry.Top < kHeaderBandHeight - 12);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, entry.Link ? kLinkBlue : GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(white ? m_white : GetSysColorBrush(COLOR_BTNFACE));
}

void WinForm::PaintPage(HWND page) {
    PAINTSTRUCT ps = {};
    HDC dc = BeginPaint(page, &ps);
    if (!dc)
        return;
    RECT rc = {};
    GetClientRect(page, &rc);
    const auto id = static_cast<ControlId>(GetDlgCtrlID(page));
    if (id == ControlId::pic1) {
        FillRect(dc, &rc, m_white);
    } else {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        RECT band = {Px(kHeaderBandLeft), Px(kHeaderBandTop),
                     Px(kHeaderBandLeft + kHeaderBandWidth),
                     Px(kHeaderBandTop + kHeaderBandHeight)};
        FillRect(dc, &band, m_white);
        RECT line = {rc.left, Px(kHeaderSeparatorTop), rc.right, Px(kHeaderSeparatorTop) + 1};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    EndPaint(page, &ps);
}

void WinForm::PaintMain() {
    PAINTSTRUCT ps = {};
    HDC dc = BeginPaint(m_hwnd, &ps);
    if (!dc)
        return;
    RECT rc = {};
    GetClientRect(m_hwnd, &rc);
    // The etched rule above the button bar: a shadow line with a highlight line under it.
    RECT line1 = {rc.left, Px(kLine1Top), rc.right, Px(kLine1Top) + 1};
    RECT line2 = {rc.left, Px(kLine2Top), rc.right, Px(kLine2Top) + 1};
    if (line2.top <= line1.top)
        OffsetRect(&line2, 0, line1.top + 1 - line2.top);
    FillRect(dc, &line1, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(dc, &line2, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    EndPaint(m_hwnd, &ps);
}

LRESULT WinForm::HandleMain(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEMOVE:
        Dispatch([&] { m_events->OnMouseMove(ControlId::frmMain); });
        return 0;
    case WM_PAINT:
        PaintMain();
        return 0;
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_COMMAND: {
        const auto id = static_cast<ControlId>(LOWORD(wp));
        const UINT code = HIWORD(wp);
        // Enter and Esc reach Next and Cancel through their dialog ids; a disabled or hidden
        // button is not pressed.
        HWND ctl = Wnd(id);
        if (code == BN_CLICKED && ctl && IsWindowEnabled(ctl) && IsWindowVisible(ctl))
            Dispatch([&] { m_events->OnClick(id); });
        return 0;
    }
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr->code == LVN_COLUMNCLICK) {
            const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
            const auto id = static_cast<ControlId>(hdr->idFrom);
            const int column = lv->iSubItem;
            Dispatch([&] { m_events->OnColumnClick(id, column); });
        }
        return 0;
    }
    case WM_TIMER: {
        const auto id = static_cast<ControlId>(wp);
        Dispatch([&] { m_events->OnTimer(id); });
        return 0;
    }
    case WM_SETCURSOR:
        if (m_pointer == MousePointer::Hourglass) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && !m_activated) {
            m_activated = true;
            PostMessageW(hwnd, WM_APP_ACTIVATED, 0, 0);
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_APP_ACTIVATED:
        Dispatch([&] { m_events->OnActivate(); });
        return 0;
    case WM_SYSCOMMAND:
        // The close box, the system menu's Close and Alt+F4: the user's own close command.
        if ((wp & 0xFFF0) == SC_CLOSE) {
            RequestClose(kUnloadByCloseCommand);
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_CLOSE:
        // Without the close command before it: another program asks (Task Manager's End Task).
        RequestClose(kUnloadByTaskManager);
        return 0;
    case WM_QUERYENDSESSION: {
        bool cancel = false;
        Dispatch([&] { m_events->OnQueryUnload(cancel, kUnloadByWindows); });
        return cancel ? FALSE : TRUE;
    }
    case WM_ENDSESSION:
        if (wp) {
            // The process may be ended as soon as this returns: a registration in work comes
            // back first, and the window goes.
            if (BeforeSessionEnds)
                BeforeSessionEnds();
            Unload();
        }
        return 0;
    case WM_DESTROY:
        for (auto& [id, c] : m_controls)
            if (c.TimerOn)
                KillTimer(hwnd, static_cast<UINT_PTR>(id));
        try {
            m_events->OnUnload();
        } catch (...) {
        }
        m_hwnd = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

WindowHandle WinForm::Hwnd() const {
    return reinterpret_cast<WindowHandle>(m_hwnd);
}

WindowHandle WinForm::ControlHwnd(ControlId id) const {
    return reinterpret_cast<WindowHandle>(Wnd(id));
}

void WinForm::SetCaption(ControlId id, const std::string& text) {
    HWND hwnd = Wnd(id);
    if (!hwnd) {
        if (Control* c = Find(id))
            c->Text = Widen(text);
        return;
    }
    SetWindowTextW(hwnd, Widen(text).c_str());
    if (Describe(id).AutoSize)
        AutoSize(id);
    LayoutChanged(id);
}

std::string WinForm::Caption(ControlId id) const {
    HWND hwnd = Wnd(id);
    const Control* c = Find(id);
    return hwnd ? Narrow(WindowText(hwnd)) : c ? Narrow(c->Text) : std::string();
}

void WinForm::SetVisible(ControlId id, bool visible) {
    if (HWND hwnd = Wnd(id)) {
        ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
        LayoutChanged(id);
    } else if (Control* c = Find(id)) {
        c->Shown = visible;
    }
}

bool WinForm::Visible(ControlId id) const {
    HWND hwnd = Wnd(id);
    const Control* c = Find(id);
    return hwnd ? (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0 : c && c->Shown;
}

void WinForm::SetEnabled(ControlId id, bool enabled) {
    if (HWND hwnd = Wnd(id))
        EnableWindow(hwnd, enabled);
    else if (Control* c = Find(id))
        c->On = enabled;
}

bool WinForm::Enabled(ControlId id) const {
    HWND hwnd = Wnd(id);
    const Control* c = Find(id);
    return hwnd ? IsWindowEnabled(hwnd) != FALSE : c && c->On;
}

void WinForm::SetTop(ControlId id, int twips) {
    Control* c = Find(id);
    if (!c)
        return;
    c->TopTwips = twips;
    if (!c->Hwnd)
        return;
    SetWindowPos(c->Hwnd, nullptr, Px(c->LeftTwips), Px(twips), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutChanged(id);
}

void WinForm::SetLeft(ControlId id, int twips) {
    Control* c = Find(id);
    if (!c)
        return;
    c->LeftTwips = twips;
    if (!c->Hwnd)
        return;
    SetWindowPos(c->Hwnd, nullptr, Px(twips), Px(c->TopTwips), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int WinForm::Top(ControlId id) const {
    const Control* c = Find(id);
    return c ? c->TopTwips : 0;
}

int WinForm::Left(ControlId id) const {
    const Control* c = Find(id);
    return c ? c->LeftTwips : 0;
}

void WinForm::SetFontName(ControlId id, const std::string& face) {
    Control* c = Find(id);
    if (!c || !c->HasFont)
        return;
    const std::wstring wide = Widen(face);
    if (c->Font.Face == wide)
        return; // already drawn with it
    c->Font.Face = wide;
    ApplyFont(id);
}

void WinForm::SetUnderline(ControlId id, bool underline) {
    Control* c = Find(id);
    if (!c || !c->HasFont || c->Font.Underline == underline)
        return;
    c->Font.Underline = underline;
    ApplyFont(id);
    if (c->Hwnd)
        InvalidateRect(c->Hwnd, nullptr, TRUE);
}

bool WinForm::Underline(ControlId id) const {
    const Control* c = Find(id);
    return c && c->Font.Underline;
}

void WinForm::BringToFront(ControlId id) {
    if (IsPage(id))
        MakePage(id);
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return;
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (IsPage(id) ? SWP_SHOWWINDOW : 0));
    if (IsPage(id)) {
        // The pages behind the one on top are hidden: nothing of theirs is painted, and Tab
        // reaches the page on top only (with WS_EX_CONTROLPARENT it enters the page's own
        // controls). The controls keep their own visibility.
        for (ControlId p : {ControlId::pic1, ControlId::pic2, ControlId::pic3, ControlId::pic4,
                            ControlId::pic5}) {
            HWND page = Wnd(p);
            if (!page || p == id)
                continue;
            ShowWindow(page, SW_HIDE);
            SetWindowLongPtrW(page, GWL_EXSTYLE,
                              GetWindowLongPtrW(page, GWL_EXSTYLE) & ~WS_EX_CONTROLPARENT);
        }
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                          GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    }
}

ControlId WinForm::TopPage() const {
    for (HWND child = GetWindow(m_hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const auto id = static_cast<ControlId>(GetDlgCtrlID(child));
        if (IsPage(id))
            return id;
    }
    return ControlId::frmMain;
}

void WinForm::RaiseWindow() {
    SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void WinForm::SetFocus(ControlId id) {
    if (HWND hwnd = Made(id))
        ::SetFocus(hwnd);
}

bool WinForm::OptionValue(ControlId id) const {
    // Until its page is made, an option holds its first state: the first answer chosen.
    HWND hwnd = Wnd(id);
    return hwnd ? SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED : Describe(id).Checked;
}

void WinForm::ListClear(ControlId id) {
    if (HWND hwnd = Made(id))
        SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
}

void WinForm::ListAddRow(ControlId id, const ListRow& row) {
    HWND hwnd = Made(id);
    if (!hwnd)
        return;
    std::wstring text = Widen(row.Text), sub1 = Widen(row.Sub1), sub2 = Widen(row.Sub2);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = text.data();
    item.iImage = row.Image - 1;
    const int index =
        static_cast<int>(SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0)
        return;
    LVITEMW sub = {};
    sub.iSubItem = 1;
    sub.pszText = sub1.data();
    SendMessageW(hwnd, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
    sub.iSubItem = 2;
    sub.pszText = sub2.data();
    SendMessageW(hwnd, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
    if (m_sorted)
        SortList(id);
}

int WinForm::ListCount(ControlId id) const {
    HWND hwnd = Wnd(id);
    return hwnd ? static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

ListRow WinForm::ListRowAt(ControlId id, int index) const {
    ListRow row;
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return row;
    auto text = [&](int sub) {
        wchar_t buf[1024] = {};
        LVITEMW item = {};
        item.iSubItem = sub;
        item.pszText = buf;
        item.cchTextMax = 1024;
        const auto n = SendMessageW(hwnd, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
        return Narrow(buf, static_cast<size_t>(n > 0 ? n : 0));
    };
    row.Text = row.Key = text(0);
    row.Sub1 = text(1);
    row.Sub2 = text(2);
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (SendMessageW(hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        row.Image = item.iImage + 1;
    return row;
}

void WinForm::ListSetSortKey(ControlId, int column) {
    m_sortKey = column;
}

void WinForm::ListSetSorted(ControlId id, bool sorted) {
    m_sorted = sorted;
    if (sorted && Made(id))
        SortList(id);
}

void WinForm::SortList(ControlId id) {
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return;
    // The sort column's texts are read once, and each row carries its index into them. The list's
    // other sort message hands the callback row positions, and Wine's list view gives positions
    // of its half-sorted copy while item texts still come from the rows in their old order.
    const int count = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::wstring> keys(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        wchar_t buf[1024] = {};
        LVITEMW item = {};
        item.iSubItem = m_sortKey;
        item.cchTextMax = 1024;
        item.pszText = buf;
        SendMessageW(hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        keys[static_cast<size_t>(i)] = buf;
        LVITEMW param = {};
        param.mask = LVIF_PARAM;
        param.iItem = i;
        param.lParam = i;
        SendMessageW(hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&param));
    }
    // Held in the SDK's own type, so that a comparator of another calling convention can't build.
    const PFNLVCOMPARE compare = CompareSortKeys;
    ListView_SortItems(hwnd, compare, reinterpret_cast<LPARAM>(&keys));
}

uint32_t WinForm::ListExtendedStyle(ControlId id) const {
    HWND hwnd = Wnd(id);
    const Control* c = Find(id);
    return hwnd ? static_cast<uint32_t>(SendMessageW(hwnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0))
           : c  ? c->ListStyle
                : 0;
}

void WinForm::SetListExtendedStyle(ControlId id, uint32_t style) {
    if (HWND hwnd = Wnd(id))
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
    else if (Control* c = Find(id))
        c->ListStyle = style;
}

void WinForm::SetProgressMax(ControlId id, int max) {
    if (HWND hwnd = Made(id))
        SendMessageW(hwnd, PBM_SETRANGE32, 0, max);
}

void WinForm::SetProgressValue(ControlId id, int value) {
    if (HWND hwnd = Made(id))
        SendMessageW(hwnd, PBM_SETPOS, value, 0);
}

void WinForm::SetTimerInterval(ControlId id, uint32_t ms) {
    Control* c = Find(id);
    if (!c)
        return;
    c->Interval = ms;
    if (c->TimerOn)
        SetTimer(m_hwnd, static_cast<UINT_PTR>(id), ms, nullptr);
}

void WinForm::SetTimerEnabled(ControlId id, bool enabled) {
    Control* c = Find(id);
    if (!c)
        return;
    c->TimerOn = enabled;
    if (enabled)
        SetTimer(m_hwnd, static_cast<UINT_PTR>(id), c->Interval, nullptr);
    else
        KillTimer(m_hwnd, static_cast<UINT_PTR>(id));
}

bool WinForm::TimerEnabled(ControlId id) const {
    const Control* c = Find(id);
    return c && c->TimerOn;
}

void WinForm::SetMousePointer(MousePointer pointer) {
    m_pointer = pointer;
    POINT pt = {};
    GetCursorPos(&pt);
    SetCursorPos(pt.x, pt.y); // asks the window under the pointer for its shape again
    SetCursor(LoadCursorW(nullptr, pointer == MousePointer::Hourglass ? IDC_WAIT : IDC_ARROW));
}

void WinForm::MsgBox(const std::string& text, const std::string& title, MessageBoxIcon icon) {
    UINT flags = MB_OK;
    if (icon == MessageBoxIcon::Information)
        flags |= MB_ICONINFORMATION;
    else if (icon == MessageBoxIcon::Warning)
        flags |= MB_ICONWARNING;
    ++m_depth; // the box runs its own loop: no unload underneath it
    ::MessageBoxW(m_hwnd, Widen(text).c_str(), Widen(title).c_str(), flags);
    --m_depth;
}

void WinForm::Refresh() {
    if (m_hwnd)
        RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void WinForm::DoEvents() {
    MSG msg = {};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Deliver(msg);
    }
}

void WinForm::SetBusyReason(const std::string& reason) {
    if (m_hwnd)
        SetShutdownBlockReason(m_hwnd, Widen(reason));
}

void WinForm::Unload() {
    if (!m_hwnd)
        return;
    if (m_depth > 0)
        m_unloadPending = true;
    else
        DestroyWindow(m_hwnd);
}
