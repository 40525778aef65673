// The way from the wizard to the window on which programs can open databases.
#include "frm_main.h"

using C = ControlId;

void frmMain::OfferDatabases() {
    if (!m_databases)
        return;
    const ControlId page = m_view.FrontPage;
    const bool offered = page == C::pic2 || (page == C::pic3 && m_bRepairDone && !m_bRepairRunning);
    if (m_view.at(C::cmdDatabases).Visible != offered)
        Set(C::cmdDatabases, &ControlState::Visible, offered);
}

void frmMain::cmdDatabases_Click() {
    if (!m_databases)
        return;
    // The 32-bit classes are created where the provider check creates them, which may be here.
    EnsureApartment();
    SetMousePointer(MousePointer::Hourglass);
    m_databases->Read();
    SetMousePointer(MousePointer::Default);
    m_databases->Show(m_form.Hwnd(), UserLanguage());
}
