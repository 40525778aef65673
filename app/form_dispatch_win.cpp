// The Win32 form's messages: the message loop, the dialog keys, and each window message routed to
// the wizard's event handler.
#include "form_win.h"

#include <commctrl.h>

namespace {
// How a close was asked for, as the wizard's close request tells them apart.
constexpr int kUnloadByCloseCommand = 0;
constexpr int kUnloadByWindows = 2;     // the session ends
constexpr int kUnloadByTaskManager = 3; // another program sent WM_CLOSE
// Posted on the first activation, so that the activation handler runs outside WM_ACTIVATE.
constexpr UINT WM_APP_ACTIVATED = WM_APP + 1;
} // namespace

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
    if (!focus || Wnd(id) != focus || Describe(id).Kind != ControlKind::Button ||
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
    if (Wnd(id) != msg.hwnd || IsPage(id))
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
        // button is not pressed. An option's click is the user's choice of it, which the wizard
        // keeps whatever the window shows.
        HWND ctl = Wnd(id);
        const bool option = ctl && Describe(id).Kind == ControlKind::Option;
        if (code == BN_CLICKED && ctl && (option || (IsWindowEnabled(ctl) && IsWindowVisible(ctl))))
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
        if (m_view->Pointer == MousePointer::Hourglass) {
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
        for (const auto& entry : ControlTable())
            if (entry.Kind == ControlKind::Timer && State(entry.Id).TimerOn)
                KillTimer(hwnd, static_cast<UINT_PTR>(entry.Id));
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
