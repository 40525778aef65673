// Bringing the window to the front when it is activated: a plain request first, and where the
// foreground belongs to another thread, a request made while attached to that thread's input.
#include "frm_main.h"

namespace {
constexpr uint32_t ASFW_ANY = static_cast<uint32_t>(-1);
}

void frmMain::ForceForegroundWindow(WindowHandle hWindow, const bool& bForceHardMethod) {
    if (hWindow == m_system.GetForegroundWindow())
        return;
    if (bForceHardMethod) {
        const WindowHandle foreground = m_system.GetForegroundWindow();
        const uint32_t foregroundThread = m_system.GetWindowThreadProcessId(foreground);
        const uint32_t ownThread = m_system.GetWindowThreadProcessId(hWindow);
        if (foregroundThread == ownThread) {
            m_system.SetForegroundWindow(hWindow);
        } else {
            m_system.AttachThreadInput(foregroundThread, ownThread, true);
            m_system.SetForegroundWindow(hWindow);
            m_system.AttachThreadInput(foregroundThread, ownThread, false);
        }
    } else {
        m_system.SetForegroundWindow(hWindow);
    }
    m_system.BringWindowToTop(hWindow);
}

void frmMain::Form_Activate() {
    m_form.DoEvents();
    m_system.AllowSetForegroundWindow(ASFW_ANY);
    m_form.DoEvents();
    const bool bForceHardMethod = true;
    ForceForegroundWindow(m_form.Hwnd(), bForceHardMethod);
}
