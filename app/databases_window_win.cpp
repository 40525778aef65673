// The window on databases: its run over the wizard, the events it hands to its logic, and what it
// does that is no state (the file dialog, the clipboard, a message, closing).
#include "databases_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "clipboard_win.h"
#include "file_dialog_win.h"
#include "file_drop_win.h"
#include "frm_databases.h"
#include "text/win_text.h"

namespace {
using C = ControlId;
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
    case WM_DROPFILES:
        Event([wp](frmDatabases& f) {
            std::vector<std::string> paths;
            for (const std::wstring& p : DroppedFiles(reinterpret_cast<HDROP>(wp)))
                paths.push_back(Narrow(p));
            f.Form_DropFiles(paths);
        });
        return 0;
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
