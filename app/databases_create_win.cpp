// The window on databases made from its table and the view state, and laid out to its texts.
#include "databases_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "file_drop_win.h"
#include "frm_databases.h"
#include "text/win_text.h"
#include "window_text_win.h"

namespace {
using C = ControlId;
} // namespace

bool WinDatabasesForm::Create(HINSTANCE instance, const std::wstring& face) {
    WNDCLASSEXW cls = {};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = Proc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kDatabasesWindowClass;
    if (!RegisterClassExW(&cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    const ControlSpec& window = Describe(C::frmDatabases);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    // Dropped files reach the window through the shell, which sets this style for DragAcceptFiles.
    const DWORD exStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME | WS_EX_ACCEPTFILES;
    RECT rc = {0, 0, Px(window.Width), Px(window.Height)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    m_hwnd =
        CreateWindowExW(exStyle, kDatabasesWindowClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
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
        const ControlSpec* Row;
        RECT Rc;
    };
    std::vector<Box> boxes;
    for (const ControlSpec& e : DatabasesTable())
        if (e.Id != C::frmDatabases)
            boxes.push_back(
                {&e, {Px(e.Left), Px(e.Top), Px(e.Left + e.Width), Px(e.Top + e.Height)}});
    // Buttons first widen to their captions, leftwards; a text beside one ends before it.
    for (Box& b : boxes) {
        if (b.Row->Kind != ControlKind::Button)
            continue;
        const int need = static_cast<int>(TextRect(b.Row->Id, 0).right) + pad;
        if (b.Rc.right - b.Rc.left < need)
            b.Rc.left = b.Rc.right - need;
    }
    for (Box& b : boxes)
        for (const Box& other : boxes)
            if (&other != &b && other.Row->Top == b.Row->Top && other.Rc.left > b.Rc.left &&
                b.Rc.right > other.Rc.left - gap)
                b.Rc.right = other.Rc.left - gap;
    // Then each row of the design (controls of one top) moves down by what the rows above grew.
    int shift = 0;
    for (size_t i = 0; i < boxes.size();) {
        const int top = boxes[i].Row->Top;
        int grow = 0;
        size_t end = i;
        for (; end < boxes.size() && boxes[end].Row->Top == top; ++end) {
            Box& b = boxes[end];
            b.Rc.top += shift;
            b.Rc.bottom += shift;
            const int have = static_cast<int>(b.Rc.bottom - b.Rc.top);
            int need = have;
            if (b.Row->Kind == ControlKind::Label)
                need = static_cast<int>(
                    TextRect(b.Row->Id, static_cast<int>(b.Rc.right - b.Rc.left)).bottom);
            else if (b.Row->Kind == ControlKind::Button)
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
        SetWindowPos(Wnd(b.Row->Id), nullptr, b.Rc.left, b.Rc.top, b.Rc.right - b.Rc.left,
                     b.Rc.bottom - b.Rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rc = {0, 0, Px(window.Width), Px(window.Height) + shift};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE)));
    SetWindowPos(m_hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
