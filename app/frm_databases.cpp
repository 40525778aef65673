#include "frm_databases.h"

#include <algorithm>

#include "bitness/answer_text.h"
#include "bitness/program_answer.h"
#include "databases_texts.h"
#include "text/printf.h"
#include "text/string_table.h"

namespace {
using C = ControlId;
using namespace databases_text;

std::string Bits(Bitness b) {
    return b == Bitness::Bits64 ? "64" : "32";
}

// A caption as a dialog's title shows it: without the mark of its access key.
std::string WithoutAccessKey(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

// The state column without the line's own "Office: ".
std::string OfficeState(const OfficeInstall& office, Language lang) {
    const std::string text = OfficeText(office, lang);
    const size_t colon = text.find(": ");
    return colon == std::string::npos ? text : text.substr(colon + 2);
}
} // namespace

frmDatabases::frmDatabases(IDatabasesForm& form, IFileProbe& files, const DataAccessReport& report,
                           Language lang)
    : m_form(form), m_files(files), m_report(report), m_lang(lang), m_view(DatabasesTable()) {
    m_view.Focus = C::txtAnswer; // a screen reader reads the answer first
}

std::string frmDatabases::Text(uint16_t id) const {
    return LoadText(id, m_lang);
}

void frmDatabases::Form_Load() {
    const auto format = [&](uint16_t id, std::vector<std::string> values) {
        std::vector<Variant> args(values.begin(), values.end());
        return modAPI::printf(Text(id), args);
    };
    const Inventory& inv = m_report.Facts;
    std::vector<ListRow> rows;
    for (const ViewInventory& v : inv.Views) {
        for (const OleDbProvider& p : v.Providers)
            rows.push_back({.Text = p.ProgId,
                            .Sub1 = format(kProviderType, {Bits(v.View)}),
                            .Sub2 = ComponentStateText(p.Library, v.View, m_lang)});
        for (const OdbcDriver& d : v.Drivers)
            rows.push_back(
                {.Text = d.Name,
                 .Sub1 = format(kDriverType, {Bits(v.View), EngineText(d.Family, m_lang)}),
                 .Sub2 = ComponentStateText(d.Library, v.View, m_lang)});
        for (const DataSource& s : v.SystemSources)
            rows.push_back({.Text = s.Name,
                            .Sub1 = format(kSystemSource, {Bits(v.View)}),
                            .Sub2 = format(kSourceDriver, {s.Driver})});
    }
    for (const DataSource& s : inv.UserSources)
        rows.push_back({.Text = s.Name,
                        .Sub1 = format(kUserSource, {inv.UserAccount}),
                        .Sub2 = format(kSourceDriver, {s.Driver})});
    rows.push_back({.Text = "Office", .Sub1 = "Office", .Sub2 = OfficeState(inv.Office, m_lang)});

    Change(C::frmDatabases, [&](ControlState& s) { s.Caption = Text(kCaption); });
    Change(C::lblAnswer, [&](ControlState& s) { s.Caption = Text(kAnswer); });
    Change(C::txtAnswer,
           [&](ControlState& s) { s.Caption = AnswerSectionText(inv, m_report.Answers, m_lang); });
    Change(C::lblInventory, [&](ControlState& s) { s.Caption = Text(kInventory); });
    Change(C::lvwInventory, [&](ControlState& s) {
        s.Columns = {Text(kColumnComponent), Text(kColumnType), Text(kColumnState)};
        s.Rows = rows;
    });
    Change(C::lblProgram, [&](ControlState& s) { s.Caption = Text(kProgram); });
    Change(C::cmdChooseProgram, [&](ControlState& s) { s.Caption = Text(kChooseProgram); });
    Change(C::cmdCopy, [&](ControlState& s) { s.Caption = Text(kCopy); });
    Change(C::cmdClose, [&](ControlState& s) { s.Caption = Text(kClose); });
}

void frmDatabases::lvwInventory_ColumnClick(int column) {
    if (column < 0 || column > 2)
        return;
    m_view[C::lvwInventory].SortKey = column;
    m_view.SortRows(C::lvwInventory);
    m_form.Apply(m_view, C::lvwInventory);
}

void frmDatabases::cmdChooseProgram_Click() {
    const auto path =
        m_form.ChooseFile(WithoutAccessKey(Text(kChooseProgram)),
                          {{Text(kProgramFilter), "*.exe"}, {Text(kAllFilter), "*.*"}});
    if (path)
        CheckProgram(*path);
}

void frmDatabases::Form_DropFiles(const std::vector<std::string>& paths) {
    if (!paths.empty())
        CheckProgram(paths.front());
}

void frmDatabases::CheckProgram(const std::string& path) {
    const bool windows64 = m_report.Facts.Windows64;
    // The file the person named, as it is: a path under System32 names a 64-bit program there.
    const ProbedFile file = m_files.Probe(path, windows64 ? Bitness::Bits64 : Bitness::Bits32);
    const ProgramAnswer program = AnswerProgram(file, windows64);
    m_programText =
        ProgramAnswerText(path, program, AnswerFor(program, m_report.Answers), windows64, m_lang);
    Change(C::txtProgram, [&](ControlState& s) { s.Caption = m_programText; });
    m_view.Focus = C::txtProgram; // the answer is read out where it appears
    m_form.Apply(m_view, C::frmDatabases);
}

std::string frmDatabases::ReportText() const {
    std::string text = DatabaseAnswerText(m_report.Facts, m_report.Answers, m_lang);
    if (!m_programText.empty())
        text += "\n" + m_programText;
    return text;
}

void frmDatabases::cmdCopy_Click() {
    if (!m_form.CopyText(ReportText()))
        m_form.MsgBox(Text(kCopyFailed), Text(kCaption));
}

void frmDatabases::cmdClose_Click() {
    m_form.Close();
}
