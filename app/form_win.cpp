// The Win32 form: the wizard's view state rendered on the window's controls (texts, visibility,
// places, fonts, z-order, focus, timers, pointer), and the message box and pending events.
#include "form_win.h"

#include <commctrl.h>

#include <tuple>

#include "shutdown_reason_win.h"
#include "text/win_text.h"
#include "window_text_win.h"

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

HWND WinForm::Wnd(ControlId id) const {
    if (id == ControlId::frmMain)
        return m_hwnd;
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : it->second;
}

WindowHandle WinForm::Hwnd() const {
    return reinterpret_cast<WindowHandle>(m_hwnd);
}

WindowHandle WinForm::ControlHwnd(ControlId id) const {
    return reinterpret_cast<WindowHandle>(Wnd(id));
}

void WinForm::Apply(const ViewState& view, ControlId id, Aspect what) {
    m_view = &view;
    switch (what) {
    case Aspect::FrontPage:
        ShowPage(id);
        return;
    case Aspect::Pointer:
        ShowPointer();
        return;
    case Aspect::Interval:
    case Aspect::Timer:
        RunTimer(id);
        return;
    default:
        break;
    }
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return; // its page shows the record when it is made
    const ControlState& st = view.at(id);
    switch (what) {
    case Aspect::Caption:
        SetWindowTextW(hwnd, Widen(st.Caption).c_str());
        if (Describe(id).AutoSize)
            AutoSize(id);
        LayoutChanged(id);
        break;
    case Aspect::Visible:
        ShowWindow(hwnd, st.Visible ? SW_SHOWNA : SW_HIDE);
        LayoutChanged(id);
        break;
    case Aspect::Enabled:
        EnableWindow(hwnd, st.Enabled);
        break;
    case Aspect::Place:
        SetWindowPos(hwnd, nullptr, Px(st.Left), Px(st.Top), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        LayoutChanged(id);
        break;
    case Aspect::Font:
        ApplyFont(id);
        break;
    case Aspect::Underline:
        if (ApplyFont(id))
            InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case Aspect::Focus:
        ::SetFocus(hwnd);
        break;
    case Aspect::Rows:
        ShowRows(id);
        break;
    case Aspect::ListStyle:
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, st.ExStyle);
        break;
    case Aspect::ProgressMax:
        SendMessageW(hwnd, PBM_SETRANGE32, 0, st.ProgressMax);
        break;
    case Aspect::ProgressValue:
        SendMessageW(hwnd, PBM_SETPOS, st.ProgressValue, 0);
        break;
    default:
        break;
    }
}

void WinForm::ShowPage(ControlId page) {
    MakePage(page);
    HWND hwnd = Wnd(page);
    if (!hwnd)
        return;
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // The pages behind the one on top are hidden: nothing of theirs is painted, and Tab reaches
    // the page on top only (with WS_EX_CONTROLPARENT it enters the page's own controls). The
    // controls keep their own visibility.
    for (ControlId p :
         {ControlId::pic1, ControlId::pic2, ControlId::pic3, ControlId::pic4, ControlId::pic5}) {
        HWND other = Wnd(p);
        if (!other || p == page)
            continue;
        ShowWindow(other, SW_HIDE);
        SetWindowLongPtrW(other, GWL_EXSTYLE,
                          GetWindowLongPtrW(other, GWL_EXSTYLE) & ~WS_EX_CONTROLPARENT);
    }
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                      GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

void WinForm::RunTimer(ControlId id) {
    const ControlState& st = State(id);
    if (st.TimerOn)
        SetTimer(m_hwnd, static_cast<UINT_PTR>(id), st.Interval, nullptr);
    else
        KillTimer(m_hwnd, static_cast<UINT_PTR>(id));
}

void WinForm::ShowPointer() {
    POINT pt = {};
    GetCursorPos(&pt);
    SetCursorPos(pt.x, pt.y); // asks the window under the pointer for its shape again
    SetCursor(
        LoadCursorW(nullptr, m_view->Pointer == MousePointer::Hourglass ? IDC_WAIT : IDC_ARROW));
}

void WinForm::RaiseWindow() {
    SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
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
