// The Win32 form's windows made from the control table: the window and its button bar at once, a
// page and its controls when the page first comes to the front.
#include "form_win.h"

#include <commctrl.h>

#include <cmath>

#include "link_control_win.h"
#include "res/resource.h"
#include "text/win_text.h"

namespace {
constexpr wchar_t kMainClass[] = L"QuendryMain";
constexpr wchar_t kPageClass[] = L"QuendryPage";
constexpr COLORREF kListTransparent = RGB(192, 192, 192);

struct Column {
    const wchar_t* Header;
    int WidthTwips;
};
// The list's headings are German in both languages.
constexpr Column kColumns[] = {{L"Dateiname", 2293}, {L"Dateiversion", 1588}, {L"Pfad", 7585}};
} // namespace

bool WinForm::Create(HINSTANCE instance, IFormEvents& events, const ViewState& view, int dpi) {
    m_instance = instance;
    m_events = &events;
    m_view = &view;
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
        if (entry.Id != ControlId::frmMain && entry.Parent == ControlId::frmMain &&
            !IsPage(entry.Id))
            CreateControl(entry);
    }
    Arrange(ControlId::frmMain);
    return true;
}

void WinForm::MakePage(ControlId page) {
    if (!m_hwnd || Wnd(page) || !CreateControl(Describe(page)))
        return;
    for (const auto& entry : ControlTable())
        if (entry.Parent == page)
            CreateControl(entry);
    Arrange(page);
    KeepLinksClear(page);
    // The focus the wizard gave one of its controls before the page was made.
    if (Describe(m_view->Focus).Parent == page)
        ::SetFocus(Wnd(m_view->Focus));
}

bool WinForm::CreateControl(const ControlSpec& entry) {
    if (entry.Kind == ControlKind::Timer)
        return true;
    HWND parent = entry.Parent == ControlId::frmMain ? m_hwnd : Wnd(entry.Parent);
    const ControlState& st = State(entry.Id);
    const int x = Px(st.Left), y = Px(st.Top);
    const int w = Px(entry.Width), h = Px(entry.Height);
    // Overlapping siblings paint by z-order only when each clips the others.
    DWORD style =
        WS_CHILD | WS_CLIPSIBLINGS | (st.Visible ? WS_VISIBLE : 0) | (st.Enabled ? 0 : WS_DISABLED);
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
    HWND hwnd = CreateWindowExW(exStyle, cls, Widen(st.Caption).c_str(), style, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.Id)), m_instance,
                                nullptr);
    if (!hwnd)
        return false;
    m_windows[entry.Id] = hwnd;
    Font font;
    const bool hasFont = FontOf(entry.Id, font);
    if (hasFont)
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
                SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
        } else if (res) {
            HANDLE icon =
                LoadImageW(m_instance, MAKEINTRESOURCEW(res), IMAGE_ICON, px, px, LR_DEFAULTCOLOR);
            if (icon)
                SendMessageW(hwnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
        break;
    }
    case ControlKind::Option:
        if (st.Option)
            SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        break;
    case ControlKind::ListView: {
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNW col = {};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            col.pszText = const_cast<wchar_t*>(kColumns[i].Header);
            col.cx = Px(kColumns[i].WidthTwips);
            col.iSubItem = i;
            SendMessageW(hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
        }
        // The check mark and the warning sign, drawn at the size the pixel density shows them.
        const int px = m_dpi >= 144 ? 24 : m_dpi >= 120 ? 20 : 16;
        const int strip = px == 24   ? IDB_LISTIMAGES24
                          : px == 20 ? IDB_LISTIMAGES20
                                     : IDB_LISTIMAGES16;
        m_images = ImageList_Create(px, px, ILC_COLOR24 | ILC_MASK, 2, 0);
        HBITMAP bmp = static_cast<HBITMAP>(
            LoadImageW(m_instance, MAKEINTRESOURCEW(strip), IMAGE_BITMAP, 0, 0, 0));
        if (bmp) {
            ImageList_AddMasked(m_images, bmp, kListTransparent);
            DeleteObject(bmp);
        }
        SendMessageW(hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_images));
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, st.ExStyle);
        ShowRows(entry.Id);
        break;
    }
    case ControlKind::ProgressBar:
        SendMessageW(hwnd, PBM_SETRANGE32, 0, st.ProgressMax);
        SendMessageW(hwnd, PBM_SETPOS, st.ProgressValue, 0);
        break;
    default:
        break;
    }
    if (entry.AutoSize && !hasFont) // ApplyFont has sized it
        AutoSize(entry.Id);
    return true;
}

bool WinForm::FontOf(ControlId id, Font& font) const {
    const ControlSpec& entry = Describe(id);
    if (id == ControlId::frmMain || entry.FontName.empty())
        return false; // the window's title is drawn by the system
    const ControlState& st = State(id);
    font = {Widen(st.FontName), entry.FontSize, entry.Bold, st.Underline};
    return true;
}

bool WinForm::ApplyFont(ControlId id) {
    HWND hwnd = Wnd(id);
    Font want;
    if (!hwnd || !FontOf(id, want))
        return false;
    auto it = m_fonts.find(want);
    if (it == m_fonts.end()) {
        LOGFONTW lf = {};
        lf.lfHeight = -static_cast<LONG>(std::lround(want.Size * m_dpi / 72.0));
        lf.lfWeight = want.Bold ? FW_BOLD : FW_NORMAL;
        lf.lfUnderline = want.Underline;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, want.Face.c_str(), LF_FACESIZE);
        HFONT font = CreateFontIndirectW(&lf);
        if (!font)
            return false;
        it = m_fonts.emplace(want, font).first;
    }
    if (reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)) == it->second)
        return false; // already drawn with it
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(it->second), TRUE);
    if (Describe(id).AutoSize)
        AutoSize(id);
    LayoutChanged(id);
    return true;
}
