// Web pages and the end of the program: the one-shot timer opens the stored address after the
// click handler that asked for it has returned, and ends the program on the closing page.
#include "frm_main.h"

using C = ControlId;

void frmMain::ShellExecuteTimer_Timer() {
    m_form.SetTimerEnabled(C::ShellExecuteTimer, false);
    if (!m_sUrl.empty())
        m_system.ShellOpen(m_sUrl);
    if (m_lStep == 5)
        m_form.Unload();
}
