#include "databases_window_open_win.h"

#include "bitness/machine_facts_win.h"
#include "databases_window_win.h"
#include "frm_databases.h"

void WinDatabasesWindow::Read() {
    WinMachineFacts machine;
    m_report = ReadDataAccess(m_registry, m_files, machine, m_providers, Creating::All);
    // The classes' libraries go with the host that made them, before the window waits for the
    // person: an installer run meanwhile can replace them.
    m_providers.ChecksDone();
}

void WinDatabasesWindow::Show(WindowHandle owner, Language lang) {
    WinDatabasesForm form;
    frmDatabases logic(form, m_files, m_report, lang);
    form.Run(reinterpret_cast<HWND>(owner), m_instance, logic);
}
