// Web pages and the end of the program: the one-shot timer opens the stored address after the
// click handler that asked for it has returned, and ends the program on the closing page.
#include "frm_main.h"
#include "on_error_resume_next.h"

#include "text/string_table.h"

using C = ControlId;
using S = ControlState;

namespace {
// The program opens only the pages of its own string table, whatever ends up in m_sUrl.
bool IsOwnWebAddress(const std::string& url) {
    for (uint16_t id : {117, 118, 120, 122})
        for (Language lang : {Language::English, Language::German})
            if (url == LoadText(id, lang))
                return true;
    return false;
}
} // namespace

void frmMain::ShellExecuteTimer_Timer() {
    Set(C::ShellExecuteTimer, &S::TimerOn, false);
    if (!m_sUrl.empty() && IsOwnWebAddress(m_sUrl)) {
        // The shell hands the address on through COM.
        OnErrorResumeNext([&] { EnsureApartment(); });
        m_system.ShellOpen(m_sUrl);
    }
    if (m_lStep == 5)
        m_form.Unload();
}
