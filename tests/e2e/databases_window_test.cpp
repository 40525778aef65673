// The window "Which programs can open databases here", as a person uses it: opened from the
// version page with the button in the button row, it shows the same answer the console gives,
// lists what is installed, answers for a program chosen in the file dialog, copies the whole
// report for a ticket, and Esc closes it, giving the wizard back as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "cli/console_text.h"
#include "cli_process.h"
#include "data_access_setup.h"
#include "flow_support.h"
#include "tests/pe_builder.h"
#include "text/string_table.h"

using C = ControlId;

namespace {

// A text of the string table with its first value in place.
std::string With(uint16_t id, Language lang, const std::string& value) {
    return FillNumbered(LoadText(id, lang), {value});
}

// The dialog's file name box: its one edit control, however deep the dialog keeps it.
BOOL CALLBACK FindEdit(HWND hwnd, LPARAM found) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpiW(cls, L"Edit") != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

std::string Clipboard() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return "<clipboard busy>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Utf8(chars);
            GlobalUnlock(data);
        }
    CloseClipboard();
    return text;
}

class DatabasesWindow : public WizardTest {};

TEST_F(DatabasesWindow, AnswersChecksAProgramCopiesAndGivesTheWizardBack) {
    const Language lang = LanguageOfThisRun();
    DataAccessSetup setup;
    setup.Jet32();
    setup.Ace64();
    const std::wstring program =
        setup.File(L"programs", L"native64.exe", BuildPe({.machine = 0x8664, .pe32Plus = true}));
    ASSERT_TRUE(setup.Ok);
    // What the console answers on this machine, from its title line to the inventory.
    const CliResult cli = RunCli(L"report");
    ASSERT_TRUE(cli.Finished);
    const std::string report = LineFeedsOnly(cli.Out);
    const size_t from = report.find(LoadText(261, lang) + "\n");
    ASSERT_NE(from, std::string::npos) << report;
    const std::string answer = report.substr(from, report.find("\n\n", from) + 1 - from);

    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    EXPECT_FALSE(q.Visible(C::cmdDatabases)); // the welcome page doesn't offer it
    ASSERT_TRUE(PressNext(q, C::pic2));
    ASSERT_TRUE(q.Visible(C::cmdDatabases));
    EXPECT_EQ(q.Text(C::cmdDatabases), LoadText(361, lang));
    MouseClick(ScreenCenter(q, C::cmdDatabases));
    ASSERT_TRUE(q.WaitFor([&] { return q.Control(C::frmDatabases) != nullptr; }));
    HWND window = q.Control(C::frmDatabases);
    EXPECT_EQ(WindowCaption(window), LoadText(360, lang));
    EXPECT_FALSE(IsWindowEnabled(q.Window())); // the wizard waits for it
    EXPECT_EQ(LineFeedsOnly(q.Text(C::txtAnswer)), answer);
    bool jetRow = false;
    for (int i = 0; i < q.ListCount(C::lvwInventory); ++i) {
        const auto row = q.ListRow(C::lvwInventory, i);
        jetRow |= row.at(0) == "Microsoft.Jet.OLEDB.4.0" && row.at(1) == With(371, lang, "32");
    }
    EXPECT_TRUE(jetRow);

    // A heading sorts by its column; from the keyboard, Ctrl and the column's number do.
    const auto sortedBy = [&](int column) {
        std::vector<std::string> texts;
        for (int i = 0; i < q.ListCount(C::lvwInventory); ++i)
            texts.push_back(q.ListRow(C::lvwInventory, i).at(column));
        // As the list orders them: case ignored.
        return std::is_sorted(texts.begin(), texts.end(), [](const auto& a, const auto& b) {
            return std::lexicographical_compare(
                a.begin(), a.end(), b.begin(), b.end(),
                [](char x, char y) { return std::tolower(x) < std::tolower(y); });
        });
    };
    MouseClick(ColumnHeaderPoint(q, C::lvwInventory, 1));
    EXPECT_TRUE(q.WaitFor([&] { return sortedBy(1); }));
    KeyPress('I', VK_MENU); // the list's label's access key
    ASSERT_TRUE(q.WaitFor([&] { return q.Focus() == q.Control(C::lvwInventory); }));
    KeyPress('1', VK_CONTROL);
    EXPECT_TRUE(q.WaitFor([&] { return sortedBy(0); }));

    // The program, chosen in the file dialog by its path.
    // Posted: the dialog's own loop runs inside the click.
    PostMessageW(q.Control(C::cmdChooseProgram), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(q.WaitFor([&] { return (dialog = FindMessageBox(q)) != nullptr; }));
    HWND edit = nullptr;
    EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&edit));
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(program.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(q.WaitFor([&] { return !q.Text(C::txtProgram).empty(); }));
    const std::string checked = LineFeedsOnly(q.Text(C::txtProgram));
    EXPECT_EQ(
        checked.rfind(With(309, lang, Utf8(program)) + "\n" + With(310, lang, "64") + "\n", 0), 0u)
        << checked;

    // Copy gives the whole report: the answer, the inventory, the program's answer.
    q.Click(C::cmdCopy);
    ASSERT_TRUE(
        q.WaitFor([&] { return LineFeedsOnly(Clipboard()).find(checked) != std::string::npos; }));
    EXPECT_EQ(LineFeedsOnly(Clipboard()).rfind(answer, 0), 0u);

    // Esc closes it; the wizard is as it was, with the focus on its button.
    SetForegroundWindow(window);
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(q.WaitFor([&] { return q.Control(C::frmDatabases) == nullptr; }));
    EXPECT_TRUE(IsWindowEnabled(q.Window()));
    EXPECT_EQ(q.TopPage(), C::pic2);
    EXPECT_TRUE(q.Visible(C::cmdDatabases));
}

} // namespace
