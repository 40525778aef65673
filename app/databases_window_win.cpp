// The window on which programs can open databases: creation from its table, layout, rendering
// of the view state and the events it hands to its logic.
#include "databases_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "clipboard_win.h"
#include "file_dialog_win.h"
#include "file_drop_win.h"
#include "frm_databases.h"
#include "text/win_text.h"
#include "window_text_win.h"

namespace {
using C = ControlId;
constexpr wchar_t kClass[] = L"QuendryDatabases";

// The state column takes what the other two leave.
constexpr int kColumnShares[] = {30, 28, 42};

// Line ends as an edit control shows them.
std::wstring EditText(const std::string& utf8) {
    std::wstring out;
    for (wchar_t c : Widen(utf8)) {
        if (c == L'\n')
            out += L'\r';
        out += c;
    }
    return out;
}
} // namespace

WinDatabasesForm::~WinDatabasesForm() {
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    for (HFONT f : {m_font, m_bold})
        if (f)
            DeleteObject(f);
}

int WinDatabasesForm::Px(int twips) const {
    return TwipsToPixels(twips, m_dpi);
}

HWND WinDatabasesForm::Wnd(ControlId id) const {
    if (id == C::frmDatabases)
        return m_hwnd;
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

template <typename F> void WinDatabasesForm::Event(F&& handler) {
    if (!m_logic)
        return;
    try {
        handler(*m_logic);
    } catch (...) {
        // The logic's statements don't fail; if one did, the window stays as it is.
    }
}

bool WinDatabasesForm::Run(HWND owner, HINSTANCE instance, frmDatabases& logic, int dpi,
                           const std::wstring& face) {
    m_logic = &logic;
    m_owner = owner;
    if (dpi > 0) {
        m_dpi = dpi;
    } else if (HDC screen = GetDC(nullptr)) {
        m_dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
    }
    if (!Create(instance, face))
        return false;
    Event([](frmDatabases& f) { f.Form_Load(); });
    Layout();
    // Centred over the wizard, inside the work area.
    RECT window = {}, work = {}, over = {};
    GetWindowRect(m_hwnd, &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (!owner || !GetWindowRect(owner, &over))
        over = work;
    const int w = window.right - window.left, h = window.bottom - window.top;
    const int x = std::clamp(over.left + ((over.right - over.left) - w) / 2, work.left,
                             std::max(work.left, work.right - w));
    const int y = std::clamp(over.top + ((over.bottom - over.top) - h) / 2, work.top,
                             std::max(work.top, work.bottom - h));
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (owner)
        EnableWindow(owner, FALSE);
    ShowWindow(m_hwnd, SW_SHOW);
    Apply(logic.View(), C::frmDatabases); // the focus, now that the window is shown
    MSG msg = {};
    while (m_hwnd) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the wizard's own loop takes the quit message.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        if (m_hwnd && IsDialogMessageW(m_hwnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Close();
    m_logic = nullptr;
    return true;
}

bool WinDatabasesForm::Create(HINSTANCE instance, const std::wstring& face) {
    WNDCLASSEXW cls = {};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = Proc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kClass;
    if (!RegisterClassExW(&cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    const ControlSpec& window = Describe(C::frmDatabases);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    // Dropped files reach the window through the shell, which sets this style for DragAcceptFiles.
    const DWORD exStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME | WS_EX_ACCEPTFILES;
    RECT rc = {0, 0, Px(window.Width), Px(window.Height)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    m_hwnd =
        CreateWindowExW(exStyle, kClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                        rc.right - rc.left, rc.bottom - rc.top, m_owner, nullptr, instance, this);
    if (!m_hwnd)
        return false;
    LetFileDropsThrough(m_hwnd);

    for (bool bold : {false, true}) {
        LOGFONTW lf = {};
        lf.lfHeight = -static_cast<LONG>(std::lround(window.FontSize * m_dpi / 72.0));
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        const std::wstring name = face.empty() ? Widen(std::string(window.FontName)) : face;
        lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
        (bold ? m_bold : m_font) = CreateFontIndirectW(&lf);
    }

    const ViewState& view = m_logic->View();
    for (const ControlSpec& e : DatabasesTable()) {
        if (e.Id == C::frmDatabases)
            continue;
        const wchar_t* cls = L"STATIC";
        DWORD st = WS_CHILD | (e.TabIndex >= 0 ? WS_TABSTOP : 0);
        DWORD ex = 0;
        switch (e.Kind) {
        case ControlKind::Button:
            cls = L"BUTTON";
            st |= e.DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        case ControlKind::TextBox:
            cls = L"EDIT";
            st |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
            ex = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::ListView:
            cls = WC_LISTVIEWW;
            st |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
            ex = WS_EX_CLIENTEDGE;
            break;
        default:
            st |= SS_LEFT;
            break;
        }
        HWND hwnd = CreateWindowExW(
            ex, cls, L"", st, Px(e.Left), Px(e.Top), Px(e.Width), Px(e.Height), m_hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(e.Id)), instance, nullptr);
        if (!hwnd)
            return false;
        m_controls[e.Id] = hwnd;
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(e.Bold ? m_bold : m_font), FALSE);
        if (e.Kind == ControlKind::ListView)
            SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                         LVS_EX_FULLROWSELECT);
        Apply(view, e.Id);
    }
    return true;
}

void WinDatabasesForm::Apply(const ViewState& view, ControlId id) {
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return;
    const ControlState& st = view.at(id);
    if (id == C::frmDatabases) {
        SetWindowTextW(hwnd, Widen(st.Caption).c_str());
        m_focus = Wnd(view.Focus);
        if (m_focus && GetActiveWindow() == hwnd)
            ::SetFocus(m_focus);
        return;
    }
    const ControlKind kind = Describe(id).Kind;
    if (kind == ControlKind::ListView) {
        ShowList(st);
    } else if (kind == ControlKind::Label) {
        SetWindowTextW(hwnd, Widen(st.Caption).c_str());
        // A list shows no text of its own: its window text is its name for a screen reader,
        // taken from the label before it, as the other controls take theirs.
        const auto table = DatabasesTable();
        for (size_t i = 0; i + 1 < table.size(); ++i)
            if (table[i].Id == id && table[i + 1].Kind == ControlKind::ListView) {
                std::wstring name = Widen(st.Caption);
                std::erase(name, L'&');
                SetWindowTextW(Wnd(table[i + 1].Id), name.c_str());
            }
        if (IsWindowVisible(m_hwnd))
            Layout();
    } else {
        const std::wstring text =
            kind == ControlKind::TextBox ? EditText(st.Caption) : Widen(st.Caption);
        if (WindowText(hwnd) != text) {
            SetWindowTextW(hwnd, text.c_str());
            if (kind != ControlKind::TextBox && IsWindowVisible(m_hwnd))
                Layout();
        }
    }
    EnableWindow(hwnd, st.Enabled);
    ShowWindow(hwnd, st.Visible ? SW_SHOWNA : SW_HIDE);
}

void WinDatabasesForm::ShowList(const ControlState& st) {
    HWND list = Wnd(C::lvwInventory);
    RECT client = {};
    GetClientRect(list, &client);
    const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    const int have = Header_GetItemCount(ListView_GetHeader(list));
    for (size_t i = 0; i < st.Columns.size() && i < std::size(kColumnShares); ++i) {
        std::wstring header = Widen(st.Columns[i]);
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = header.data();
        col.cx = width * kColumnShares[i] / 100;
        col.iSubItem = static_cast<int>(i);
        const auto msg = static_cast<int>(i) < have ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW;
        SendMessageW(list, msg, i, reinterpret_cast<LPARAM>(&col));
    }
    // The row selected before keeps its selection in the new order.
    const int selected = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    const ListRow* keep = selected >= 0 && static_cast<size_t>(selected) < m_shownRows.size()
                              ? &m_shownRows[static_cast<size_t>(selected)]
                              : nullptr;
    const ListRow kept = keep ? *keep : ListRow{};
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int select = -1;
    for (size_t i = 0; i < st.Rows.size(); ++i) {
        const ListRow& row = st.Rows[i];
        std::wstring texts[] = {Widen(row.Text), Widen(row.Sub1), Widen(row.Sub2)};
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = texts[0].data();
        const int at = static_cast<int>(
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (at < 0)
            continue;
        for (int sub = 1; sub < 3; ++sub) {
            LVITEMW subItem = {};
            subItem.iSubItem = sub;
            subItem.pszText = texts[sub].data();
            SendMessageW(list, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&subItem));
        }
        if (keep && row.Text == kept.Text && row.Sub1 == kept.Sub1 && row.Sub2 == kept.Sub2)
            select = at;
    }
    m_shownRows = st.Rows;
    if (select >= 0) {
        ListView_SetItemState(list, select, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, select, FALSE);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

RECT WinDatabasesForm::TextRect(ControlId id, int wrapWidth) const {
    RECT rc = {0, 0, wrapWidth, 0};
    HWND hwnd = Wnd(id);
    HDC dc = GetDC(hwnd);
    if (!dc)
        return rc;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    const std::wstring text = WindowText(hwnd);
    DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &rc,
              DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return rc;
}

void WinDatabasesForm::Layout() {
    const ControlSpec& window = Describe(C::frmDatabases);
    // A button's caption keeps the room of two average characters at each side.
    TEXTMETRICW tm = {};
    if (HDC dc = GetDC(m_hwnd)) {
        HGDIOBJ old = SelectObject(dc, m_font);
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(m_hwnd, dc);
    }
    const int pad = 4 * tm.tmAveCharWidth;
    const int gap = Px(120);
    struct Box {
        const ControlSpec* Spec;
        RECT Rc;
    };
    std::vector<Box> boxes;
    for (const ControlSpec& e : DatabasesTable())
        if (e.Id != C::frmDatabases)
            boxes.push_back(
                {&e, {Px(e.Left), Px(e.Top), Px(e.Left + e.Width), Px(e.Top + e.Height)}});
    // Buttons first widen to their captions, leftwards; a text beside one ends before it.
    for (Box& b : boxes) {
        if (b.Spec->Kind != ControlKind::Button)
            continue;
        const int need = static_cast<int>(TextRect(b.Spec->Id, 0).right) + pad;
        if (b.Rc.right - b.Rc.left < need)
            b.Rc.left = b.Rc.right - need;
    }
    for (Box& b : boxes)
        for (const Box& other : boxes)
            if (&other != &b && other.Spec->Top == b.Spec->Top && other.Rc.left > b.Rc.left &&
                b.Rc.right > other.Rc.left - gap)
                b.Rc.right = other.Rc.left - gap;
    // Then each row of the design (controls of one top) moves down by what the rows above grew.
    int shift = 0;
    for (size_t i = 0; i < boxes.size();) {
        const int top = boxes[i].Spec->Top;
        int grow = 0;
        size_t end = i;
        for (; end < boxes.size() && boxes[end].Spec->Top == top; ++end) {
            Box& b = boxes[end];
            b.Rc.top += shift;
            b.Rc.bottom += shift;
            const int have = static_cast<int>(b.Rc.bottom - b.Rc.top);
            int need = have;
            if (b.Spec->Kind == ControlKind::Label)
                need = static_cast<int>(
                    TextRect(b.Spec->Id, static_cast<int>(b.Rc.right - b.Rc.left)).bottom);
            else if (b.Spec->Kind == ControlKind::Button)
                need = static_cast<int>(tm.tmHeight + tm.tmHeight / 2);
            if (need > have) {
                grow = std::max(grow, need - have);
                b.Rc.bottom = b.Rc.top + need;
            }
        }
        shift += grow;
        i = end;
    }
    for (const Box& b : boxes)
        SetWindowPos(Wnd(b.Spec->Id), nullptr, b.Rc.left, b.Rc.top, b.Rc.right - b.Rc.left,
                     b.Rc.bottom - b.Rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rc = {0, 0, Px(window.Width), Px(window.Height) + shift};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE)));
    SetWindowPos(m_hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK WinDatabasesForm::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<WinDatabasesForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT WinDatabasesForm::Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED || lp == 0) {
            switch (LOWORD(wp)) {
            case static_cast<int>(C::cmdChooseProgram):
                Event([](frmDatabases& f) { f.cmdChooseProgram_Click(); });
                return 0;
            case static_cast<int>(C::cmdCopy):
                Event([](frmDatabases& f) { f.cmdCopy_Click(); });
                return 0;
            case static_cast<int>(C::cmdClose):
            case IDOK:     // Enter where no button has the focus: Close is the default button
            case IDCANCEL: // Esc
                Event([](frmDatabases& f) { f.cmdClose_Click(); });
                return 0;
            default:
                break;
            }
        }
        break;
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr->idFrom == static_cast<UINT_PTR>(C::lvwInventory) && hdr->code == LVN_COLUMNCLICK) {
            const int column = reinterpret_cast<const NMLISTVIEW*>(lp)->iSubItem;
            Event([column](frmDatabases& f) { f.lvwInventory_ColumnClick(column); });
            return 0;
        }
        // The headings take no focus: Ctrl and a column's number sort from the keyboard.
        if (hdr->idFrom == static_cast<UINT_PTR>(C::lvwInventory) && hdr->code == LVN_KEYDOWN) {
            const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(lp)->wVKey;
            if (GetKeyState(VK_CONTROL) < 0 && key >= '1' && key <= '3') {
                const int column = key - '1';
                Event([column](frmDatabases& f) { f.lvwInventory_ColumnClick(column); });
            }
            return 0;
        }
        break;
    }
    case WM_DROPFILES: {
        const std::vector<std::wstring> dropped = DroppedFiles(reinterpret_cast<HDROP>(wp));
        std::vector<std::string> paths;
        for (const std::wstring& p : dropped)
            paths.push_back(Narrow(p));
        Event([&paths](frmDatabases& f) { f.Form_DropFiles(paths); });
        return 0;
    }
    case WM_NEXTDLGCTL: {
        // A label's access key asks for the control after it, as in a dialog.
        HWND to =
            LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd, GetFocus(), wp != 0);
        if (to && IsChild(hwnd, to))
            ::SetFocus(to);
        return 0;
    }
    case WM_ACTIVATE:
        // As a dialog does: the control that had the focus gets it back with the window.
        if (LOWORD(wp) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(hwnd, focus))
                m_focus = focus;
        } else if (m_focus && IsWindow(m_focus)) {
            ::SetFocus(m_focus);
            return 0;
        }
        break;
    case WM_CLOSE:
        Event([](frmDatabases& f) { f.cmdClose_Click(); });
        return 0;
    case WM_NCDESTROY:
        m_hwnd = nullptr;
        m_controls.clear();
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

std::optional<std::string>
WinDatabasesForm::ChooseFile(const std::string& title,
                             const std::vector<std::pair<std::string, std::string>>& filters) {
    std::vector<std::pair<std::wstring, std::wstring>> wide;
    for (const auto& [name, pattern] : filters)
        wide.emplace_back(Widen(name), Widen(pattern));
    const std::optional<std::wstring> path = ChooseFileToOpen(m_hwnd, Widen(title), wide);
    if (!path)
        return std::nullopt;
    return Narrow(*path);
}

bool WinDatabasesForm::CopyText(const std::string& text) {
    return CopyTextToClipboard(m_hwnd, EditText(text));
}

void WinDatabasesForm::MsgBox(const std::string& text, const std::string& title) {
    MessageBoxW(m_hwnd, Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_ICONWARNING);
}

void WinDatabasesForm::Close() {
    if (!m_hwnd)
        return;
    // The wizard takes the activation back before this window goes, so that no other program's
    // window comes forward in between.
    if (m_owner) {
        EnableWindow(m_owner, TRUE);
        SetActiveWindow(m_owner);
    }
    DestroyWindow(m_hwnd);
}
