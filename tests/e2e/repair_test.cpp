// The repair on laid-out systems: which fixture libraries record a DllRegisterServer call, how
// long the run takes, what the page shows during and after it, what the close box and the buttons
// do meanwhile, where the answers lead, and the message naming the libraries that failed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>

#include "fixtures/layout.h"
#include "flow_support.h"
#include "repair/component_table.h"
#include "repair/provider_check.h"
#include "text/string_table.h"

using C = ControlId;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr size_t kSkipped[] = {1, 8, 10, 12, 13, 15, 27};
constexpr auto kRunAtLeast = 6200ms;

bool Skipped(size_t i) {
    return std::find(std::begin(kSkipped), std::end(kSkipped), i) != std::end(kSkipped);
}

std::string T(uint16_t id) {
    return LoadText(id, LanguageOfThisRun());
}

fixtures::SystemLayout AllPresent() {
    return fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0");
}

// A control's text as the system keeps it, read without sending the program a message.
std::string TextNow(const QuendryProcess& q, ControlId id) {
    wchar_t buf[1024] = {};
    const int n = GetWindowTextW(q.Control(id), buf, 1024);
    return Utf8(std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0));
}

bool RunEnded(const QuendryProcess& q) {
    return q.Enabled(C::cmdWeiter) && q.Visible(C::optFurtherProblems) &&
           !q.Visible(C::ProgressBar1);
}

// What the test saw while a run lasted.
struct RepairRun {
    Clock::duration Took{};
    std::set<std::string> Lines; // texts of the per-file line
    std::string Status;          // the status line during the run
    bool ButtonsDisabled = true;
    bool RepairButtonHidden = true;
    bool StillRunningAfterClose = false;
    // The providers' check after the registrations: the lines naming them, and whether the page
    // still showed work at each (bar, no answers, Next disabled, the run's busy pointer).
    std::set<std::string> Checks;
    bool ChecksShowWork = true;
    bool PointerBackAfterwards = false;
};

bool IsCheckLine(const std::string& line) {
    const std::string text = T(165);
    return line.rfind(text.substr(0, text.find("[*]")), 0) == 0;
}

// Presses the repair button and watches the run until it ends. With `closeDuring`, the close box,
// Cancel, Back, Next and the repair button are pressed while it lasts.
RepairRun RunRepairWatched(QuendryProcess& q, bool closeDuring) {
    RepairRun run;
    const auto start = Clock::now();
    // Posted: the run lasts seconds inside the click handler.
    EXPECT_TRUE(PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0));
    EXPECT_TRUE(q.WaitFor([&] { return q.Visible(C::ProgressBar1); })) << "the run did not start";
    run.Status = TextNow(q, C::Label1);
    const HCURSOR busy = CurrentPointer();
    bool pressed = false;
    while (!RunEnded(q) && Clock::now() - start < 60s && q.Running()) {
        // Read without messages, so the samples don't wait for the loop to let events run; kept
        // only when the bar was up before and after, that is within the run.
        const bool before = q.Visible(C::ProgressBar1);
        const bool working = before && !q.Visible(C::optResolved) && !q.Enabled(C::cmdWeiter) &&
                             CurrentPointer() == busy;
        const std::string line = TextNow(q, C::Label2);
        const bool disabled =
            !q.Enabled(C::cmdWeiter) && !q.Enabled(C::cmdZurück) && !q.Enabled(C::cmdAbbrechen);
        const bool hidden = !q.Visible(C::cmdRepairMDAC);
        if (IsCheckLine(line)) {
            // The line goes before the page is made ready: still shown after the page's state
            // was read, it was shown then too. (Hidden, it keeps its last text.)
            if (q.Visible(C::Label2)) {
                run.Checks.insert(line);
                run.ChecksShowWork = run.ChecksShowWork && working;
            }
        } else if (before && q.Visible(C::ProgressBar1)) {
            run.Lines.insert(line);
            run.ButtonsDisabled = run.ButtonsDisabled && disabled;
            run.RepairButtonHidden = run.RepairButtonHidden && hidden;
        }
        if (closeDuring && !pressed && Clock::now() - start > 2s) {
            pressed = true;
            q.CloseBox();
            for (C button : {C::cmdAbbrechen, C::cmdZurück, C::cmdWeiter, C::cmdRepairMDAC})
                PostMessageW(q.Control(button), BM_CLICK, 0, 0);
            run.StillRunningAfterClose = q.Running() && q.Visible(C::ProgressBar1);
        }
        std::this_thread::sleep_for(5ms);
    }
    run.Took = Clock::now() - start;
    EXPECT_TRUE(RunEnded(q)) << "the run did not end";
    run.PointerBackAfterwards = CurrentPointer() != busy;
    return run;
}

void ExpectAnswersShown(const QuendryProcess& q) {
    EXPECT_EQ(q.TopPage(), C::pic3);
    EXPECT_EQ(q.Text(C::Label1), T(154));
    EXPECT_EQ(q.Text(C::Label16), T(155));
    EXPECT_TRUE(q.Visible(C::Label16));
    EXPECT_TRUE(q.Visible(C::optResolved));
    EXPECT_TRUE(q.Visible(C::optFurtherProblems));
    EXPECT_FALSE(q.Visible(C::Label2));
    EXPECT_FALSE(q.Visible(C::ProgressBar1));
    EXPECT_FALSE(q.Visible(C::imgRepairing));
    EXPECT_FALSE(q.Visible(C::cmdRepairMDAC));
    EXPECT_TRUE(q.Enabled(C::cmdZurück));
    EXPECT_TRUE(q.Enabled(C::cmdWeiter));
    EXPECT_TRUE(q.Enabled(C::cmdAbbrechen));
}

// The system's text for an error code, on one line, as the failure message shows it.
std::string SystemText(DWORD code) {
    wchar_t buf[256] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, buf, 256, nullptr);
    std::string text = Utf8(std::wstring(buf, n));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

// Waits a little for a message box that should not come.
bool NoMessageBoxFor(const QuendryProcess& q, std::chrono::milliseconds time) {
    return !q.WaitFor([&] { return FindMessageBox(q) != nullptr; }, time);
}

} // namespace

class Repair : public LaidOutSystemTest {};

TEST_F(Repair, AllPresentEachOfTheTwentyFourRecordsOneCall) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(AllPresent()));
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    const RepairRun run = RunRepairWatched(q, false);

    for (size_t i = 0; i < fixtures::kComponentCount; ++i) {
        const std::string name = GetFile(fixtures::ComponentPath(i));
        EXPECT_EQ(fixtures::ReadRegistrationCount(name), Skipped(i) ? 0u : 1u) << name;
    }
    EXPECT_GE(run.Took, kRunAtLeast);
    EXPECT_EQ(run.Status, std::string(13, ' ') + T(150));
    EXPECT_TRUE(run.ButtonsDisabled);
    EXPECT_TRUE(run.RepairButtonHidden);
    // The line named every library by its full path, the skipped ones too.
    std::set<std::string> lines;
    for (size_t i = 0; i < fixtures::kComponentCount; ++i)
        lines.insert(Fill(T(123), fixtures::ComponentPath(i)));
    EXPECT_EQ(run.Lines, lines);
    ExpectAnswersShown(q);
    EXPECT_TRUE(NoMessageBoxFor(q, 500ms));
    EXPECT_TRUE(q.Running());

    // The result offers the window on databases, whose 32-bit classes a new host creates.
    ASSERT_TRUE(q.Visible(C::cmdDatabases));
    MouseClick(ScreenCenter(q, C::cmdDatabases));
    ASSERT_TRUE(q.WaitFor([&] { return q.Control(C::txtAnswer) != nullptr; }));
    const std::string jet =
        FillNumbered(T(265), {"mdb", "OLE DB", "Microsoft.Jet.OLEDB.4.0", T(267)});
    EXPECT_NE(q.Text(C::txtAnswer).find(jet + "\r\n"), std::string::npos) << q.Text(C::txtAnswer);
}

// The essential providers are checked while the page still shows work, each named on the line;
// only then are the answers shown, Next enabled and the pointer normal.
TEST_F(Repair, ProvidersAreCheckedBeforeThePageIsReady) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(AllPresent()));
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    MovePointer(ScreenCenter(q, C::pic3));
    const RepairRun run = RunRepairWatched(q, false);
    std::set<std::string> essential;
    for (const ProviderClass& cls : ProviderClasses())
        if (cls.Essential)
            essential.insert(Fill(T(165), std::string(cls.ProgId)));
    EXPECT_FALSE(run.Checks.empty()) << "no line named a provider in its check";
    for (const std::string& line : run.Checks)
        EXPECT_EQ(essential.count(line), 1u) << line;
    EXPECT_TRUE(run.ChecksShowWork);
    EXPECT_TRUE(run.PointerBackAfterwards);
    ExpectAnswersShown(q);
}

TEST_F(Repair, CloseBoxAndButtonsDuringTheRunDoNothing) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(AllPresent()));
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    const RepairRun run = RunRepairWatched(q, true);
    EXPECT_TRUE(run.StillRunningAfterClose);
    ExpectAnswersShown(q);
    EXPECT_TRUE(q.Running());
    // One run only: the repair button pressed during it started no second one.
    for (size_t i = 0; i < fixtures::kComponentCount; ++i) {
        const std::string name = GetFile(fixtures::ComponentPath(i));
        EXPECT_EQ(fixtures::ReadRegistrationCount(name), Skipped(i) ? 0u : 1u) << name;
    }
}

namespace {
// After a run on a system where everything is there, the answer No and Next: the file list.
void ToTheFileListAfterTheRun(QuendryProcess& q) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(AllPresent()));
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    RunRepairWatched(q, false);
    q.Click(C::optFurtherProblems);
    ASSERT_TRUE(PressNext(q, C::pic4));
}
} // namespace

TEST_F(Repair, AnswerNoLeadsToTheListAndTheRepairPageKeepsNextEnabled) {
    QuendryProcess q;
    ASSERT_NO_FATAL_FAILURE(ToTheFileListAfterTheRun(q));
    EXPECT_FALSE(q.Enabled(C::cmdWeiter));
    ASSERT_TRUE(PressBack(q, C::pic3));
    EXPECT_TRUE(q.Enabled(C::cmdWeiter));
    // Entering the repair page again after the run.
    ASSERT_TRUE(PressBack(q, C::pic2));
    ASSERT_TRUE(PressNext(q, C::pic3));
    EXPECT_TRUE(q.Enabled(C::cmdWeiter));
    EXPECT_FALSE(q.Visible(C::cmdRepairMDAC));
}

// Next had the focus and is disabled on the file list; the focus goes to the list, then to Close
// when the closing page hides the list, and Esc is Cancel on both pages.
TEST_F(Repair, EscIsCancelOnTheFileListAndOnTheClosingPage) {
    QuendryProcess q;
    ASSERT_NO_FATAL_FAILURE(ToTheFileListAfterTheRun(q));
    EXPECT_TRUE(q.WaitFor([&] { return q.Focus() == q.Control(C::lvwMDACFiles); }, 2s));
    SetForegroundWindow(q.Window());
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(q.WaitFor([&] { return q.TopPage() == C::pic5; }, 5s)) << "Esc did nothing";
    EXPECT_TRUE(q.WaitFor([&] { return q.Focus() == q.Control(C::cmdAbbrechen); }, 2s));
    KeyPress(VK_ESCAPE);
    EXPECT_TRUE(q.WaitForExit(10s)) << "Esc did not close the closing page";
}

namespace {
enum class Leave { AnswerYes, Cancel };

void LeaveThroughTheClosingPage(Leave how) {
    UrlRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    ASSERT_NO_THROW(fixtures::ApplyLayout(AllPresent()));
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    RunRepairWatched(q, false);
    if (how == Leave::AnswerYes) {
        q.Click(C::optResolved);
        ASSERT_TRUE(PressNext(q, C::pic5));
    } else {
        q.Click(C::cmdAbbrechen);
        ASSERT_TRUE(q.WaitFor([&] { return q.TopPage() == C::pic5; }));
    }
    EXPECT_FALSE(q.Enabled(C::cmdZurück));
    EXPECT_FALSE(q.Enabled(C::cmdWeiter));
    EXPECT_TRUE(q.Running());
    q.Click(C::cmdAbbrechen);
    EXPECT_TRUE(q.WaitForExit(10s));
    EXPECT_TRUE(recorder.WaitUntilSettled());
    EXPECT_TRUE(recorder.Opened().empty());
}
} // namespace

TEST_F(Repair, AnswerYesLeadsToTheClosingPageWhoseCloseEndsWithoutAWebPage) {
    LeaveThroughTheClosingPage(Leave::AnswerYes);
}

TEST_F(Repair, CancelAfterTheRunLeadsToTheClosingPageWhoseCloseEndsWithoutAWebPage) {
    LeaveThroughTheClosingPage(Leave::Cancel);
}

// Nothing to register, so no library fails; but then no data provider works either, and the
// message names each essential one with its state.
TEST_F(Repair, NothingPresentStepsThroughAllAndNamesTheProvidersThatCannotBeUsed) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(fixtures::NonePresent()));
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    const RepairRun run = RunRepairWatched(q, false);
    EXPECT_GE(run.Took, kRunAtLeast);
    EXPECT_EQ(run.Lines, (std::set<std::string>{Fill(T(123), T(102))}));
    HWND box = nullptr;
    ASSERT_TRUE(q.WaitFor([&] { return (box = FindMessageBox(q)) != nullptr; }, 10s));
    // ADO's classes and the service components are registered (by Wine) but their libraries are
    // gone; the Jet provider was never registered.
    const std::string text = MessageBoxText(box);
    for (const char* progId :
         {"ADODB.Connection", "ADODB.Recordset", "ADODB.Command", "MSDASC.MSDAINITIALIZE"}) {
        EXPECT_NE(text.find(Fill(T(252), progId) + " (" + Fill(T(249), "")), std::string::npos)
            << progId << " in\n"
            << text;
    }
    EXPECT_NE(text.find(Fill(T(252), "Microsoft.Jet.OLEDB.4.0") + " (" + T(247) + ")"),
              std::string::npos)
        << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << text;
    PressMessageBoxOk(box);
    ASSERT_TRUE(q.WaitFor([&] { return FindMessageBox(q) == nullptr; }));
    ExpectAnswersShown(q);
}

TEST_F(Repair, FailingAndExportlessLibrariesAreNamedInOneMessage) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        AllPresent()
            .With(9, fixtures::FixtureFile::Failing("2.81.1117.0"))     // MSADCF.DLL
            .With(16, fixtures::FixtureFile::NoExport("2.81.1117.0"))   // MSDAPRST.DLL
            .With(5, fixtures::FixtureFile::Absent())                   // missing: not named
            .With(13, fixtures::FixtureFile::Failing("2.81.1117.0")))); // not registered at all
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    ASSERT_TRUE(PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0));
    HWND box = nullptr;
    ASSERT_TRUE(q.WaitFor([&] { return (box = FindMessageBox(q)) != nullptr; }, 60s))
        << "no message after the run";
    // The page is in its closing state underneath.
    EXPECT_TRUE(q.Visible(C::optFurtherProblems));
    EXPECT_FALSE(q.Visible(C::ProgressBar1));
    EXPECT_EQ(WindowCaption(box), T(100));
    const std::string expected = Fill(T(141), "MSADCF.DLL") + " (0x80004005)\n" +
                                 Fill(T(141), "MSDAPRST.DLL") + " (" + SystemText(127) + ")";
    EXPECT_EQ(MessageBoxText(box), expected);
    PressMessageBoxOk(box);
    ASSERT_TRUE(q.WaitFor([&] { return FindMessageBox(q) == nullptr; }));
    EXPECT_TRUE(q.Running());
    ExpectAnswersShown(q);
    EXPECT_EQ(fixtures::ReadRegistrationCount("MSADCF.DLL"), 1u);
    EXPECT_EQ(fixtures::ReadRegistrationCount("MSDAPRST.DLL"), 0u);
    EXPECT_EQ(fixtures::ReadRegistrationCount("MSADCS.DLL"), 0u);
    EXPECT_TRUE(NoMessageBoxFor(q, 500ms)) << "a second message";
}
