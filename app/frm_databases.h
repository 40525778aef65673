#pragma once
// The window that tells which programs can open databases here: the answer for 32-bit and 64-bit
// programs, what is installed, and the answer for one program a person names. Every decision is
// here; the window (IDatabasesForm) shows the view state and carries out the rest.
#include <optional>
#include <string>

#include "bitness/data_access_read.h"
#include "bitness/file_probe.h"
#include "databases_form.h"
#include "text/language.h"
#include "view_state.h"

class frmDatabases {
public:
    frmDatabases(IDatabasesForm& form, IFileProbe& files, const DataAccessReport& report,
                 Language lang);
    frmDatabases(const frmDatabases&) = delete;
    frmDatabases& operator=(const frmDatabases&) = delete;

    // Fills every control: texts in the user's language, the answer, the inventory.
    void Form_Load();
    void lvwInventory_ColumnClick(int column);
    void cmdChooseProgram_Click();
    // Files dropped on the window: the first is the program to answer for.
    void Form_DropFiles(const std::vector<std::string>& paths);
    void cmdCopy_Click();
    void cmdClose_Click();

    const ViewState& View() const { return m_view; }
    // The whole report, as Copy gives it for a ticket: the answer, the inventory and, once a
    // program was checked, its answer.
    std::string ReportText() const;

private:
    void CheckProgram(const std::string& path);
    // Changes a control's record and shows it.
    template <typename F> void Change(ControlId id, F&& change) {
        change(m_view[id]);
        m_form.Apply(m_view, id);
    }
    std::string Text(uint16_t id) const;

    IDatabasesForm& m_form;
    IFileProbe& m_files;
    const DataAccessReport& m_report;
    Language m_lang;
    ViewState m_view;
    std::string m_programText;
};
