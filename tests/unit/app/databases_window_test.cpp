// The window on which programs can open databases: what its logic puts into the view state from
// an inventory, and what a person's actions change there.
#include <gtest/gtest.h>

#include "app/frm_databases.h"
#include "bitness/answer_text.h"
#include "tests/fakes/fake_machine.h"

namespace {
using C = ControlId;

class ShownForm : public IDatabasesForm {
public:
    std::vector<ControlId> Applied;
    std::optional<std::string> Chosen;
    bool ClipboardFree = true;
    std::string Clipboard;
    std::vector<std::string> Boxes;
    bool Closed = false;

    void Apply(const ViewState&, ControlId id) override { Applied.push_back(id); }
    std::optional<std::string>
    ChooseFile(const std::string&,
               const std::vector<std::pair<std::string, std::string>>&) override {
        return Chosen;
    }
    bool CopyText(const std::string& text) override {
        if (ClipboardFree)
            Clipboard = text;
        return ClipboardFree;
    }
    void MsgBox(const std::string& text, const std::string&) override { Boxes.push_back(text); }
    void Close() override { Closed = true; }
};

// 64-bit Windows with Jet for 32-bit programs and the engine for 64-bit ones, one data source of
// each kind, and Office.
DataAccessReport Machine() {
    const LibraryFile present = {.Path = "C:\\x.dll", .State = ComponentState::Present};
    Inventory inv = {
        .Windows64 = true,
        .Views = {{.View = Bitness::Bits32,
                   .Providers =
                       {{.ProgId = "Microsoft.Jet.OLEDB.4.0", .Library = present, .Created = 0}},
                   .SystemSources = {{.Name = "Sales",
                                      .Driver = "Microsoft Access Driver (*.mdb)"}}},
                  {.View = Bitness::Bits64,
                   .Providers = {{.ProgId = "Microsoft.ACE.OLEDB.16.0", .Library = present}},
                   .Drivers = {{.Name = "Microsoft Access Driver (*.mdb, *.accdb)",
                                .Family = Engine::Ace,
                                .Serves = {FileKind::Mdb, FileKind::Accdb},
                                .Library = present}}}},
        .UserSources = {{.Name = "Mine",
                         .Driver = "Microsoft Access Driver (*.mdb)",
                         .System = false}},
        .UserAccount = "PC\\anna",
        .Office = {.Found = true, .Bits = Bitness::Bits64, .Version = "16.0"}};
    return {.Facts = inv, .Answers = AnswerDatabases(inv)};
}

struct Window {
    DataAccessReport report = Machine();
    ShownForm form;
    FakeFiles files;
    frmDatabases frm{form, files, report, Language::English};
    Window() { frm.Form_Load(); }
    const ControlState& at(ControlId id) const { return frm.View().at(id); }
};

std::vector<std::string> Column(const ControlState& list, int column) {
    std::vector<std::string> texts;
    for (const ListRow& r : list.Rows)
        texts.push_back(column == 0 ? r.Text : column == 1 ? r.Sub1 : r.Sub2);
    return texts;
}

TEST(DatabasesWindow, LoadShowsTheAnswerAndOneRowPerComponent) {
    Window w;
    EXPECT_EQ(w.at(C::frmDatabases).Caption, "Which programs can open databases here");
    EXPECT_EQ(w.at(C::txtAnswer).Caption,
              AnswerSectionText(w.report.Facts, w.report.Answers, Language::English));
    EXPECT_EQ(Column(w.at(C::lvwInventory), 1),
              (std::vector<std::string>{"OLE DB provider, 32-bit", "System data source, 32-bit",
                                        "OLE DB provider, 64-bit", "ODBC driver (ACE), 64-bit",
                                        "User data source of PC\\anna", "Office"}));
    EXPECT_EQ(w.at(C::lvwInventory).Rows.back().Sub2, "16.0, 64-bit, installed");
    EXPECT_EQ(w.frm.View().Focus, C::txtAnswer);
    // Every control was shown once it had its texts, and nothing else.
    EXPECT_EQ(w.form.Applied.size(), 9u);
}

TEST(DatabasesWindow, AHeadingSortsTheRowsByItsColumn) {
    Window w;
    w.frm.lvwInventory_ColumnClick(0);
    EXPECT_EQ(Column(w.at(C::lvwInventory), 0),
              (std::vector<std::string>{"Microsoft Access Driver (*.mdb, *.accdb)",
                                        "Microsoft.ACE.OLEDB.16.0", "Microsoft.Jet.OLEDB.4.0",
                                        "Mine", "Office", "Sales"}));
    EXPECT_EQ(w.form.Applied.back(), C::lvwInventory);
}

TEST(DatabasesWindow, AProgramChosenOrDroppedIsAnsweredForAndCopiedWithTheReport) {
    Window w;
    w.form.Chosen = std::nullopt; // the dialog cancelled: nothing changes
    const size_t before = w.form.Applied.size();
    w.frm.cmdChooseProgram_Click();
    EXPECT_EQ(w.form.Applied.size(), before);

    const std::string path = "C:\\Tools\\report.exe";
    w.files.Images[{path, Bitness::Bits64}] = {
        .Kind = ImageKind::Native, .Machine = 0x8664, .Pe32Plus = true};
    w.frm.Form_DropFiles({path, "C:\\other.exe"});
    const std::string& answer = w.at(C::txtProgram).Caption;
    EXPECT_NE(answer.find("This program runs as 64-bit."), std::string::npos) << answer;
    EXPECT_EQ(w.frm.View().Focus, C::txtProgram);

    w.frm.cmdCopy_Click();
    EXPECT_EQ(w.form.Clipboard,
              DatabaseAnswerText(w.report.Facts, w.report.Answers, Language::English) + "\n" +
                  answer);
    w.form.ClipboardFree = false;
    w.frm.cmdCopy_Click();
    EXPECT_EQ(w.form.Boxes.size(), 1u);
    w.frm.cmdClose_Click();
    EXPECT_TRUE(w.form.Closed);
}
} // namespace
