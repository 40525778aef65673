// The Win32 form: the wizard's calls carried out on the window's controls (texts, visibility,
// places, fonts, z-order, focus, timers, pointer, message box, pending events).
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

WindowHandle WinForm::Hwnd() const {
    return reinterpret_cast<WindowHandle>(m_hwnd);
}

WindowHandle WinForm::ControlHwnd(ControlId id) const {
    return reinterpret_cast<WindowHandle>(Wnd(id));
}

void WinForm::SetCaption(ControlId id, const std::string& text) {
    m_view[id].Caption = text;
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return;
    SetWindowTextW(hwnd, Widen(text).c_str());
    if (Describe(id).AutoSize)
        AutoSize(id);
    LayoutChanged(id);
}

std::string WinForm::Caption(ControlId id) const {
    return m_view.at(id).Caption;
}

void WinForm::SetVisible(ControlId id, bool visible) {
    m_view[id].Visible = visible;
    if (HWND hwnd = Wnd(id)) {
        ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
        LayoutChanged(id);
    }
}

bool WinForm::Visible(ControlId id) const {
    return m_view.at(id).Visible;
}

void WinForm::SetEnabled(ControlId id, bool enabled) {
    m_view[id].Enabled = enabled;
    if (HWND hwnd = Wnd(id))
        EnableWindow(hwnd, enabled);
}

bool WinForm::Enabled(ControlId id) const {
    return m_view.at(id).Enabled;
}

void WinForm::SetTop(ControlId id, int twips) {
    m_view[id].Top = twips;
    Place(id);
}

void WinForm::SetLeft(ControlId id, int twips) {
    m_view[id].Left = twips;
    Place(id);
}

void WinForm::Place(ControlId id) {
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return;
    const ControlState& st = m_view.at(id);
    SetWindowPos(hwnd, nullptr, Px(st.Left), Px(st.Top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutChanged(id);
}

int WinForm::Top(ControlId id) const {
    return m_view.at(id).Top;
}

int WinForm::Left(ControlId id) const {
    return m_view.at(id).Left;
}

void WinForm::SetFontName(ControlId id, const std::string& face) {
    m_view[id].FontName = face;
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
    m_view[id].Underline = underline;
    Control* c = Find(id);
    if (!c || !c->HasFont || c->Font.Underline == underline)
        return;
    c->Font.Underline = underline;
    ApplyFont(id);
    if (c->Hwnd)
        InvalidateRect(c->Hwnd, nullptr, TRUE);
}

bool WinForm::Underline(ControlId id) const {
    return m_view.at(id).Underline;
}

void WinForm::BringToFront(ControlId id) {
    if (IsPage(id)) {
        m_view.FrontPage = id;
        MakePage(id);
    }
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
    // A control whose page is not made yet takes the focus when its page comes to the front.
    m_view.Focus = id;
    if (HWND hwnd = Wnd(id))
        ::SetFocus(hwnd);
}

bool WinForm::OptionValue(ControlId id) const {
    return m_view.at(id).Option;
}

void WinForm::ChooseOption(ControlId id) {
    for (const auto& entry : ControlTable())
        if (entry.Kind == ControlKind::Option && entry.Parent == Describe(id).Parent)
            m_view[entry.Id].Option = entry.Id == id;
}

void WinForm::SetProgressMax(ControlId id, int max) {
    m_view[id].ProgressMax = max;
    if (HWND hwnd = Wnd(id))
        SendMessageW(hwnd, PBM_SETRANGE32, 0, max);
}

void WinForm::SetProgressValue(ControlId id, int value) {
    m_view[id].ProgressValue = value;
    if (HWND hwnd = Wnd(id))
        SendMessageW(hwnd, PBM_SETPOS, value, 0);
}

void WinForm::SetTimerInterval(ControlId id, uint32_t ms) {
    ControlState& st = m_view[id];
    st.Interval = ms;
    if (st.TimerOn)
        SetTimer(m_hwnd, static_cast<UINT_PTR>(id), ms, nullptr);
}

void WinForm::SetTimerEnabled(ControlId id, bool enabled) {
    ControlState& st = m_view[id];
    st.TimerOn = enabled;
    if (enabled)
        SetTimer(m_hwnd, static_cast<UINT_PTR>(id), st.Interval, nullptr);
    else
        KillTimer(m_hwnd, static_cast<UINT_PTR>(id));
}

bool WinForm::TimerEnabled(ControlId id) const {
    return m_view.at(id).TimerOn;
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
