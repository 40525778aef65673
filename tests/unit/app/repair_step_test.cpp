// The repair on the recording form over fake libraries: which libraries are registered and in
// which order, the per-file line, the bar, the pauses, the state the page is left in, the close
// box during the run, and the message naming the libraries that failed.
#include <algorithm>

#include "text/printf.h"
#include "wizard_fixture.h"

using C = ControlId;
using Kind = FakeLibraryApi::Kind;

namespace {

const std::string kCommonFiles = "C:\\Program Files\\Common Files";
const std::string kSystemDir = "C:\\WINDOWS\\system32";
constexpr size_t kSkipped[] = {1, 8, 10, 12, 13, 15, 27};

bool Skipped(size_t i) {
    return std::find(std::begin(kSkipped), std::end(kSkipped), i) != std::end(kSkipped);
}

std::string LongPath(size_t i) {
    const ComponentRow& row = kComponentRows[i];
    return (row.base == ComponentBase::CommonFiles ? kCommonFiles : kSystemDir) + row.appendedPath;
}

std::string ShortPath(size_t i) {
    return "C:\\SHORT~1\\" + GetFile(LongPath(i));
}

struct RepairWizard : Wizard {
    RepairWizard() { versions.files.clear(); }

    // A library that is there: its version can be read and it can be loaded by its short path.
    FakeLibraryApi::File& Present(size_t i, Kind kind = Kind::Registering, int32_t status = 0) {
        versions.Add(LongPath(i), 2, 81, 1117, 0);
        return libraries.Add(LongPath(i), kind, status, ShortPath(i));
    }
    void AllPresent() {
        for (size_t i = 0; i < kComponentCount; ++i)
            Present(i);
    }
    void ToRepairPage() {
        Start();
        Click(C::cmdWeiter);
        Click(C::cmdWeiter);
        ASSERT_EQ(frm.Step(), 3);
        form.Log.clear();
        system.Sleeps.clear();
    }
    // Runs `step(n)` at every time pending events are let run (n from 0), and keeps what the
    // per-file line and the status line show then.
    std::vector<std::string> lines, status;
    std::function<void(int)> step;
    void WatchEvents() {
        form.OnDoEvents = [this] {
            const int n = static_cast<int>(lines.size());
            lines.push_back(form.Caption(C::Label2));
            status.push_back(form.Caption(C::Label1));
            if (step)
                step(n);
            WatchEvents();
        };
    }
    void Repair() {
        WatchEvents();
        Click(C::cmdRepairMDAC);
        form.OnDoEvents = nullptr;
    }
    std::vector<std::string> LogFrom(const std::string& first) const {
        auto it = std::find(form.Log.begin(), form.Log.end(), first);
        return {it, form.Log.end()};
    }
};

void ExpectClosingState(const RepairWizard& w) {
    EXPECT_TRUE(w.frm.RepairDone());
    EXPECT_FALSE(w.form.Visible(C::cmdRepairMDAC));
    EXPECT_FALSE(w.form.Visible(C::imgDownArrow));
    EXPECT_FALSE(w.form.Visible(C::imgRepairing));
    EXPECT_FALSE(w.form.Visible(C::Label2));
    EXPECT_FALSE(w.form.Visible(C::ProgressBar1));
    EXPECT_TRUE(w.form.Visible(C::Label16));
    EXPECT_TRUE(w.form.Visible(C::optResolved));
    EXPECT_TRUE(w.form.Visible(C::optFurtherProblems));
    EXPECT_EQ(w.form.Caption(C::Label1), w.T(154));
    EXPECT_EQ(w.form.Pointer, MousePointer::Default);
    EXPECT_TRUE(w.form.Enabled(C::cmdWeiter));
    EXPECT_TRUE(w.form.Enabled(C::cmdZurück));
    EXPECT_TRUE(w.form.Enabled(C::cmdAbbrechen));
    EXPECT_EQ(w.form.Focus, C::cmdWeiter);
    EXPECT_EQ(w.frm.Step(), 3);
    EXPECT_EQ(w.form.TopPage(), C::pic3);
    EXPECT_FALSE(w.form.Unloaded);
}

std::vector<std::string> Progress(const RepairWizard& w) {
    std::vector<std::string> p;
    for (const auto& entry : w.form.Log)
        if (entry.rfind("Progress(", 0) == 0)
            p.push_back(entry);
    return p;
}

std::vector<std::string> ExpectedProgress() {
    std::vector<std::string> p;
    for (size_t i = 1; i <= kComponentCount; ++i)
        p.push_back("Progress(" + std::to_string(i) + ")");
    return p;
}

} // namespace

TEST(RepairStep, AllPresentRegistersTheTwentyFourInIndexOrder) {
    RepairWizard w;
    w.AllPresent();
    w.ToRepairPage();
    w.Repair();

    std::vector<std::string> expectedLoads;
    for (size_t i = 0; i < kComponentCount; ++i) {
        if (!Skipped(i))
            expectedLoads.push_back("Load(" + ShortPath(i) + ")");
        EXPECT_EQ(w.libraries.Calls(LongPath(i)), Skipped(i) ? 0 : 1) << LongPath(i);
    }
    std::vector<std::string> loads;
    for (const auto& entry : w.libraries.Log)
        if (entry.rfind("Load(", 0) == 0)
            loads.push_back(entry);
    EXPECT_EQ(loads, expectedLoads);
    for (size_t jet : {28, 29, 30})
        EXPECT_EQ(w.libraries.Calls(LongPath(jet)), 1);
    // Every library unloaded after its call, every call object freed once.
    EXPECT_EQ(w.libraries.Count("Free("), 24);
    EXPECT_EQ(w.libraries.frees, 24);
    EXPECT_EQ(w.libraries.badFrees, 0);
    EXPECT_EQ(w.libraries.callsWhileUnloaded, 0);

    EXPECT_EQ(Progress(w), ExpectedProgress());
    EXPECT_EQ(w.form.at(C::ProgressBar1).ProgressMax, 31);
    // The line names each file while the events after its step run.
    ASSERT_EQ(w.lines.size(), 32u);
    for (size_t i = 0; i < kComponentCount; ++i)
        EXPECT_EQ(w.lines[i + 1], "Processing " + LongPath(i) + "...");
    EXPECT_TRUE(w.form.MessageBoxes.empty());
    ExpectClosingState(w);
}

TEST(RepairStep, PreparationAndClosingInTheirOrder) {
    RepairWizard w;
    w.AllPresent();
    w.ToRepairPage();
    std::vector<std::string> checksSeen;
    w.providers.Seen = [&](const std::string&) {
        checksSeen.push_back(w.form.Caption(C::Label2) +
                             (w.form.Pointer == MousePointer::Hourglass ? " busy" : " idle") +
                             (w.form.Enabled(C::cmdWeiter) ? ", Next enabled" : ", Next disabled"));
    };
    w.Repair();
    const std::vector<std::string> preparation = {"Hide(cmdRepairMDAC)",
                                                  "Disable(cmdAbbrechen)",
                                                  "Disable(cmdZurück)",
                                                  "Disable(cmdWeiter)",
                                                  "Show(imgRepairing)",
                                                  "Show(Label2)",
                                                  "Hide(imgDownArrow)",
                                                  "Pointer(Hourglass)",
                                                  "Refresh",
                                                  "DoEvents",
                                                  "Show(ProgressBar1)",
                                                  "BusyReason(" + w.T(164) + ")",
                                                  "Progress(1)"};
    const auto log = w.form.Log;
    ASSERT_GE(log.size(), preparation.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + preparation.size()), preparation);
    // The status line reads thirteen spaces and text 150 while the run lasts.
    EXPECT_EQ(w.status.front(), std::string(13, ' ') + w.T(150));
    EXPECT_EQ(w.status.back(), std::string(13, ' ') + w.T(150));
    // The providers are checked while the page still shows work, each named on the line and
    // shown at once; then the page is made ready.
    const std::vector<std::string> closing = {"Progress(31)",
                                              "DoEvents",
                                              "BusyReason()",
                                              "Refresh",
                                              "Refresh",
                                              "Refresh",
                                              "Refresh",
                                              "Refresh",
                                              "Hide(imgRepairing)",
                                              "Hide(Label2)",
                                              "Show(Label16)",
                                              "Hide(ProgressBar1)",
                                              "Show(optResolved)",
                                              "Show(optFurtherProblems)",
                                              "Pointer(Default)",
                                              "Enable(cmdWeiter)",
                                              "Enable(cmdZurück)",
                                              "Enable(cmdAbbrechen)",
                                              "SetFocus(cmdWeiter)"};
    EXPECT_EQ(w.LogFrom("Progress(31)"), closing);
    std::vector<std::string> expectedChecks;
    for (const ProviderClass& cls : ProviderClasses())
        if (cls.Essential)
            expectedChecks.push_back(modAPI::printf(w.T(165), {std::string(cls.ProgId)}) +
                                     " busy, Next disabled");
    EXPECT_EQ(checksSeen, expectedChecks);
    // A pause of 50 ms after each line and of 150 ms after each step of the bar.
    std::vector<uint32_t> pauses;
    for (size_t i = 0; i < kComponentCount; ++i)
        pauses.insert(pauses.end(), {50, 150});
    EXPECT_EQ(w.system.Sleeps, pauses);
}

// A registration that runs apart is sent when its line shows, and collected after the pause.
TEST(RepairStep, EachRegistrationBeginsBeforeThePauseOnItsLine) {
    RepairWizard w;
    w.AllPresent();
    w.ToRepairPage();
    std::vector<std::string> seen;
    w.registrar.Seen = [&](const std::string& what) {
        seen.push_back(what + " after " + std::to_string(w.system.Sleeps.size()) + " pauses");
    };
    w.Repair();
    std::vector<std::string> expected;
    for (size_t i = 0; i < kComponentCount; ++i) {
        if (Skipped(i))
            continue;
        expected.push_back("Begin(" + ShortPath(i) + ") after " + std::to_string(2 * i) +
                           " pauses");
        expected.push_back("Register(" + ShortPath(i) + ") after " + std::to_string(2 * i + 1) +
                           " pauses");
    }
    EXPECT_EQ(seen, expected);
}

class RepairNonePresent : public ::testing::TestWithParam<uint16_t> {};

TEST_P(RepairNonePresent, StepsThroughAllEntriesAndLoadsNothing) {
    RepairWizard w;
    w.system.UiLanguage = GetParam();
    w.ToRepairPage();
    w.Repair();
    EXPECT_EQ(w.libraries.Loads(), 0);
    EXPECT_EQ(Progress(w), ExpectedProgress());
    ASSERT_EQ(w.lines.size(), 32u);
    const std::string line = modAPI::printf(w.T(123), {w.T(102)});
    for (size_t i = 1; i < w.lines.size(); ++i)
        EXPECT_EQ(w.lines[i], line);
    EXPECT_TRUE(w.form.MessageBoxes.empty());
    ExpectClosingState(w);
}

INSTANTIATE_TEST_SUITE_P(Languages, RepairNonePresent, ::testing::Values(0x0409, 0x0407));

TEST(RepairStep, FailuresOfLibrariesThatAreThereAreNamedAfterTheClosingSteps) {
    RepairWizard w;
    w.AllPresent();
    w.Present(9, Kind::Registering, static_cast<int32_t>(0x80004005u)); // MSADCF.DLL
    w.Present(16, Kind::NoExport);                                      // MSDAPRST.DLL
    w.Present(17, Kind::NotALibrary);                                   // OLEDB32.DLL
    w.Present(22, Kind::LoadFails);                                     // MSDASQL.DLL
    w.Present(8, Kind::Registering, -1); // MSADCER.DLL: not registered, so no failure
    w.versions.files.erase(LongPath(5)); // MSADOMD.dll missing: the file list shows it
    w.libraries.files.erase(LongPath(5));
    w.ToRepairPage();
    w.Repair();
    ASSERT_EQ(w.form.MessageBoxes.size(), 1u);
    const auto& box = w.form.MessageBoxes[0];
    EXPECT_EQ(box.Text, "The file MSADCF.DLL could not be registered properly. (0x80004005)\n"
                        "The file MSDAPRST.DLL could not be registered properly. (The specified "
                        "procedure could not be found.)\n"
                        "The file OLEDB32.DLL could not be registered properly. (OLEDB32.DLL is "
                        "not a valid Win32 application.)\n"
                        "The file MSDASQL.DLL could not be registered properly. (library not "
                        "found: the file or a library it needs is missing (126))");
    EXPECT_EQ(box.Title, "Quendry");
    EXPECT_EQ(box.Icon, MessageBoxIcon::Warning);
    // After the page is in its closing state.
    EXPECT_EQ(w.LogFrom("SetFocus(cmdWeiter)"),
              (std::vector<std::string>{"SetFocus(cmdWeiter)", "MessageBox"}));
    ExpectClosingState(w);
}

// Checked in the host after the run, the essential classes only; the host then ends.
TEST(RepairStep, EssentialProvidersThatStillFailAreNamedAfterTheLibraries) {
    RepairWizard w;
    w.AllPresent();
    w.Present(9, Kind::Registering, static_cast<int32_t>(0x80004005u)); // MSADCF.DLL
    w.providers.States = {{"ADODB.Connection", ProviderState::NotCreated},
                          {"Microsoft.Jet.OLEDB.4.0", ProviderState::NoProgId},
                          {"SQLOLEDB", ProviderState::NoProgId}};
    w.ToRepairPage();
    w.Repair();
    EXPECT_EQ(
        w.providers.Checked,
        (std::vector<std::string>{"ADODB.Connection", "ADODB.Recordset", "ADODB.Command",
                                  "MSDASC.MSDAINITIALIZE", "Microsoft.Jet.OLEDB.4.0", "(done)"}));
    ASSERT_EQ(w.form.MessageBoxes.size(), 1u);
    EXPECT_EQ(w.form.MessageBoxes[0].Text,
              "The file MSADCF.DLL could not be registered properly. (0x80004005)\n"
              "The data provider ADODB.Connection still cannot be used. (cannot be created: "
              "the class is not registered (0x80040154))\n"
              "The data provider Microsoft.Jet.OLEDB.4.0 still cannot be used. (not registered: "
              "its name is not in the registry)");
}

struct ShortPathCase {
    const char* Name;
    std::function<void(FakeLibraryApi::File&)> Setup;
    bool UsesFullPath; // else the library is not loaded at all
    bool Named;        // in the failure message
};

void PrintTo(const ShortPathCase& c, std::ostream* os) {
    *os << c.Name;
}

class RepairShortPath : public ::testing::TestWithParam<ShortPathCase> {};

TEST_P(RepairShortPath, FullPathWhereTheSystemGivesNoShortForm) {
    const ShortPathCase& c = GetParam();
    RepairWizard w;
    FakeLibraryApi::File& file = w.Present(0);
    c.Setup(file);
    w.ToRepairPage();
    w.Repair();
    const int fullLoads = w.libraries.Count("Load(" + LongPath(0) + ")");
    EXPECT_EQ(fullLoads, c.UsesFullPath ? 1 : 0);
    EXPECT_EQ(w.libraries.Loads(), c.UsesFullPath ? 1 : 0);
    EXPECT_EQ(w.form.MessageBoxes.size(), c.Named ? 1u : 0u);
    ExpectClosingState(w);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RepairShortPath,
    ::testing::Values(
        ShortPathCase{"AccessDenied", [](auto& f) { f.shortPathError = 5; }, true, false},
        ShortPathCase{"TooLong", [](auto& f) { f.shortForm = "C:\\" + std::string(300, 'x'); },
                      true, false},
        // Gone since the table was built: as missing as a file that never was.
        ShortPathCase{"FileGone", [](auto& f) { f.shortPathError = kErrorFileNotFound; }, false,
                      false},
        ShortPathCase{"FolderGone", [](auto& f) { f.shortPathError = kErrorPathNotFound; }, false,
                      false},
        ShortPathCase{"AccessDeniedAndFailing",
                      [](auto& f) {
                          f.shortPathError = 5;
                          f.status = -1;
                      },
                      true, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RepairStep, CloseBoxAndButtonsDuringTheRunDoNothing) {
    RepairWizard w;
    w.AllPresent();
    w.ToRepairPage();
    w.EndWatch();
    std::vector<bool> cancelled;
    w.step = [&](int n) {
        if (n == 10) {
            bool cancel = false;
            w.frm.OnQueryUnload(cancel, 0); // the close box
            cancelled.push_back(cancel);
            w.Click(C::cmdAbbrechen);
            w.Click(C::cmdWeiter);
            w.Click(C::cmdZurück);
            w.frm.OnClick(C::cmdRepairMDAC); // a click that was queued before the button hid
        }
    };
    w.Repair();
    EXPECT_EQ(cancelled, std::vector<bool>{true});
    EXPECT_FALSE(w.form.Unloaded);
    EXPECT_EQ(w.libraries.Loads(), 24);
    EXPECT_EQ(Progress(w), ExpectedProgress());
    ExpectClosingState(w);
}

// Another program closes the window (Task Manager's End Task), or the session ends, during the
// run: the library in work is done with, and nothing more is registered, checked or shown. While
// the run lasts, Windows is told why the end of the session would wait.
TEST(RepairStep, AWindowThatGoesDuringTheRunStartsNothingMore) {
    RepairWizard w;
    w.AllPresent();
    w.ToRepairPage();
    std::string reasonDuringRun;
    w.step = [&](int n) {
        if (n == 2) {
            reasonDuringRun = w.form.BusyReason;
            bool cancel = false;
            w.frm.OnQueryUnload(cancel, 1); // another program's close
            EXPECT_FALSE(cancel);
            w.form.Unload();
        }
    };
    w.Repair();
    EXPECT_EQ(reasonDuringRun, w.T(164));
    EXPECT_EQ(w.form.BusyReason, "");
    EXPECT_EQ(w.libraries.Loads(), 1); // the second entry is one the repair skips
    EXPECT_TRUE(w.providers.Checked.empty());
    EXPECT_TRUE(w.form.MessageBoxes.empty());
    EXPECT_FALSE(w.frm.RepairDone());
}

struct FailingStatement {
    const char* Op;
    C Control;
};

class RepairFailingStatement : public ::testing::TestWithParam<FailingStatement> {};

TEST_P(RepairFailingStatement, IsPassedOverAndTheRunCompletes) {
    RepairWizard w;
    w.AllPresent();
    w.ToRepairPage();
    w.form.FailOnce[{GetParam().Op, GetParam().Control}] = true;
    w.Repair();
    EXPECT_EQ(w.libraries.Loads(), 24);
    EXPECT_TRUE(w.frm.RepairDone());
    EXPECT_TRUE(w.form.Enabled(C::cmdWeiter));
    EXPECT_TRUE(w.form.Enabled(C::cmdAbbrechen));
    EXPECT_EQ(w.form.Focus, C::cmdWeiter);
}

INSTANTIATE_TEST_SUITE_P(Statements, RepairFailingStatement,
                         ::testing::Values(FailingStatement{"SetVisible", C::ProgressBar1},
                                           FailingStatement{"SetCaption", C::Label2},
                                           FailingStatement{"SetVisible", C::Label16},
                                           FailingStatement{"SetVisible", C::optResolved}));

TEST(RepairStep, AfterTheRunTheRepairPageKeepsNextEnabled) {
    RepairWizard w;
    w.ToRepairPage();
    w.Repair();
    w.Click(C::cmdZurück);
    w.Click(C::cmdWeiter);
    EXPECT_EQ(w.frm.Step(), 3);
    EXPECT_TRUE(w.form.Enabled(C::cmdWeiter));
    EXPECT_FALSE(w.form.Visible(C::cmdRepairMDAC));
}

// The apartment is made once, by whichever comes first of the run (whose libraries may run in
// this thread) and opening a web page (which the shell hands on through COM).
TEST(RepairStep, TheApartmentIsMadeOnceWhenFirstNeeded) {
    RepairWizard w;
    w.AllPresent();
    w.ToRepairPage();
    const auto apartments = [&] {
        return std::count(w.system.Calls.begin(), w.system.Calls.end(), "CoInitialize");
    };
    EXPECT_EQ(apartments(), 0);
    w.Repair();
    EXPECT_EQ(apartments(), 1);
    w.OpenThroughLink(LoadText(120, Language::English));
    EXPECT_EQ(apartments(), 1);
    EXPECT_EQ(w.system.Opened.size(), 1u);
}

// The registrations' host comes up with the repair page, each time it is entered until the run
// is done.
TEST(RepairStep, TheRepairPageGetsTheRegistrarReadyUntilTheRunIsDone) {
    RepairWizard w;
    w.AllPresent();
    w.ToRepairPage();
    EXPECT_EQ(w.registrar.Prepared, 1);
    w.Click(C::cmdZurück);
    EXPECT_EQ(w.registrar.Prepared, 1);
    w.Click(C::cmdWeiter);
    EXPECT_EQ(w.registrar.Prepared, 2);
    w.Repair();
    w.Click(C::cmdZurück);
    w.Click(C::cmdWeiter);
    EXPECT_EQ(w.frm.Step(), 3);
    EXPECT_EQ(w.registrar.Prepared, 2);
}
