// The file versions page: the component table and the list that compares each library's version
// with the MDAC release the registry reports.
#include "frm_main.h"
#include "mod_api.h"
#include "version_diagnosis.h"

using C = ControlId;

void frmMain::BuildComponentTable() {
    const std::string folder =
        modAPI::GetSpecialFolderPath(m_system, modAPI::CSIDL_PROGRAM_FILES_COMMON);
    if (folder.empty())
        m_form.MsgBox(LoadText(140), LoadText(100), MessageBoxIcon::None);
    m_aMDACFiles = ::BuildComponentTable(m_versions, folder, m_sSystemDir, UserLanguage());
}

void frmMain::FillFileAuditList() {
    BuildComponentTable();
    Change(C::lvwMDACFiles, Aspect::Rows, [](ViewState& v) { v[C::lvwMDACFiles].Rows.clear(); });
    for (const ComponentFile& file : m_aMDACFiles) {
        if (file.bNotListed)
            continue;
        ListRow row;
        row.Key = row.Text = file.sFileName;
        row.Sub1 = file.sVersion;
        row.Sub2 = file.sPath;
        row.Image = FileListMark(file, m_sMDACVersion) == FileMark::Matches ? 1 : 2;
        Change(C::lvwMDACFiles, Aspect::Rows,
               [&](ViewState& v) { v.AddRow(C::lvwMDACFiles, row); });
    }
}

void frmMain::lvwMDACFiles_ColumnClick(int iColumn) {
    // The list stays sorted by the clicked column, also for rows a later refill adds; the form
    // shows the rows in the order they have here.
    Change(C::lvwMDACFiles, Aspect::Rows, [&](ViewState& v) {
        v[C::lvwMDACFiles].SortKey = iColumn;
        v.SortRows(C::lvwMDACFiles);
    });
}
