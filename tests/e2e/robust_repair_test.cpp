// The repair on a system whose libraries take their process down or never come back from
// DllRegisterServer: the run finishes, the message names each of them with its reason, every
// other library is registered, and no process is left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "fixtures/layout.h"
#include "flow_support.h"
#include "repair/component_table.h"
#include "tests/emulation_win.h"
#include "tests/processes_win.h"
#include "text/string_table.h"

using C = ControlId;
using Kind = fixtures::FixtureKind;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr size_t kSkipped[] = {1, 8, 10, 12, 13, 15, 27};

struct Misbehaving {
    size_t Index;
    Kind What;
    std::string Reason; // in English; the run's language comes from the string table
};

std::string T(uint16_t id) {
    return LoadText(id, LanguageOfThisRun());
}

} // namespace

class RobustRepair : public LaidOutSystemTest {};

TEST_F(RobustRepair, LibrariesThatCrashHangOrEndTheProcessAreNamedAndTheRestRegistered) {
    // In table order: the run meets them one after another, among registering libraries.
    const Misbehaving bad[] = {
        {2, Kind::Crash, Fill(T(160), NullWriteStatusText())}, // MSADOR15.DLL
        {4, Kind::StackOverflow, Fill(T(160), "0xC00000FD")},  // MSADOX.DLL
        {7, Kind::Hang, T(161)},                               // MSADCE.DLL
        {14, Kind::Dialog, T(161)},                            // MSADDS.DLL
        {18, Kind::Exit, T(162)},                              // MSXACTPS.DLL
    };
    fixtures::SystemLayout layout =
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0");
    for (const Misbehaving& m : bad)
        layout = layout.With(m.Index, fixtures::FixtureFile::Of(m.What, "2.81.1117.0"));
    ASSERT_NO_THROW(fixtures::ApplyLayout(layout));

    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    const auto start = Clock::now();
    ASSERT_TRUE(PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0));
    HWND box = nullptr;
    // 31 steps of 200 ms, and the time limit twice (the sleeping library and the message box).
    ASSERT_TRUE(q.WaitFor([&] { return (box = FindMessageBox(q)) != nullptr; }, 150s))
        << "no message after the run";
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 6200ms + 2 * 30s);
    EXPECT_LT(took, 6200ms + 2 * 30s + 30s);
    EXPECT_TRUE(q.Running());

    std::string expected;
    for (const Misbehaving& m : bad) {
        if (!expected.empty())
            expected += '\n';
        expected += Fill(T(141), GetFile(fixtures::ComponentPath(m.Index))) + " (" + m.Reason + ")";
    }
    EXPECT_EQ(MessageBoxText(box), expected);
    EXPECT_EQ(WindowCaption(box), T(100));
    // The wizard alone: no host that failed, nor the one that served the libraries after the last
    // failure and checked the providers (it ends with the checks, so that no library stays in
    // use), no debugger and no library's dialog remains.
    EXPECT_EQ(ProcessesNamed(Wide(QUENDRY_EXE_NAME).c_str()), 1);
    EXPECT_EQ(ProcessesNamed(L"winedbg.exe"), 0);
    EXPECT_EQ(FindWindowW(nullptr, L"Fixture"), nullptr);

    PressMessageBoxOk(box);
    ASSERT_TRUE(q.WaitFor([&] { return FindMessageBox(q) == nullptr; }));
    EXPECT_TRUE(q.Visible(C::optFurtherProblems));
    EXPECT_TRUE(q.Enabled(C::cmdWeiter));
    EXPECT_FALSE(q.Visible(C::ProgressBar1));

    // Every library the run registers was called once, but those whose host died: they were
    // tried once more in a fresh host before they were named.
    for (size_t i = 0; i < fixtures::kComponentCount; ++i) {
        const std::string name = GetFile(fixtures::ComponentPath(i));
        const bool skipped =
            std::find(std::begin(kSkipped), std::end(kSkipped), i) != std::end(kSkipped);
        const auto died = std::find_if(std::begin(bad), std::end(bad), [&](const Misbehaving& m) {
            return m.Index == i && m.What != Kind::Hang && m.What != Kind::Dialog;
        });
        EXPECT_EQ(fixtures::ReadRegistrationCount(name), skipped                 ? 0u
                                                         : died != std::end(bad) ? 2u
                                                                                 : 1u)
            << name;
    }

    // Leaving through the closing page ends the program and the host that served the run.
    q.Click(C::cmdAbbrechen);
    ASSERT_TRUE(q.WaitFor([&] { return q.TopPage() == C::pic5; }));
    q.Click(C::cmdAbbrechen);
    EXPECT_TRUE(q.WaitForExit(10s));
    EXPECT_TRUE(q.WaitFor([] { return ProcessesNamed(Wide(QUENDRY_EXE_NAME).c_str()) == 0; }, 5s))
        << "a Quendry process outlived the wizard";
}

TEST_F(RobustRepair, KillingTheWizardEndsItsHost) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0")));
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    ASSERT_TRUE(PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0));
    // One host serves the run.
    ASSERT_TRUE(q.WaitFor([&] {
        return q.Visible(C::ProgressBar1) && ProcessesNamed(Wide(QUENDRY_EXE_NAME).c_str()) == 2;
    }));
    q.Kill();
    EXPECT_TRUE(q.WaitFor([] { return ProcessesNamed(Wide(QUENDRY_EXE_NAME).c_str()) == 0; }, 5s))
        << "the host outlived the wizard";
}

// The wizard runs elevated from a folder its user owns. Whoever owns the folder can't rename the
// running file and put another program under its name: a registration host starts from the held
// file alone, so the other program never runs, and the repair registers in a genuine host, or,
// where the rename went through, refuses with the reason.
TEST_F(RobustRepair, AProgramPutInTheWizardsPlaceNeverRuns) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0")));
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"quendry-image-test";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring program = folder + L"\\" + Wide(QUENDRY_EXE_NAME);
    const std::wstring moved = folder + L"\\moved.exe";
    DeleteFileW(moved.c_str());
    ASSERT_TRUE(
        CopyFileW((ExeFolder() + L"\\" + Wide(QUENDRY_EXE_NAME)).c_str(), program.c_str(), FALSE));
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QuendryTest", 0, KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        RegDeleteValueW(key, L"MarkerRuns");
        RegCloseKey(key);
    }

    QuendryProcess q;
    LaunchOptions options;
    options.Program = program;
    ASSERT_TRUE(q.Start(options));
    const bool renamed = MoveFileW(program.c_str(), moved.c_str()) != FALSE;
    EXPECT_FALSE(renamed) << "the running wizard's file could be renamed";
    if (renamed) {
        ASSERT_TRUE(CopyFileW(Wide(fixtures::FixturesDirectory() + "\\fixture_marker.exe").c_str(),
                              program.c_str(), FALSE));
    }
    ASSERT_TRUE(GoToRepairPage(q));
    ASSERT_TRUE(PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0));
    if (renamed) {
        HWND box = nullptr;
        ASSERT_TRUE(q.WaitFor([&] { return (box = FindMessageBox(q)) != nullptr; }, 60s));
        EXPECT_NE(MessageBoxText(box).find(T(163)), std::string::npos) << MessageBoxText(box);
        PressMessageBoxOk(box);
    } else {
        EXPECT_TRUE(q.WaitFor([&] { return q.Visible(C::optFurtherProblems); }, 60s));
        EXPECT_EQ(FindMessageBox(q), nullptr);
        EXPECT_EQ(fixtures::ReadRegistrationCount("MSADO15.DLL"), 1u);
    }
    q.Kill();
    DWORD runs = 0, size = sizeof runs;
    EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, L"Software\\QuendryTest", L"MarkerRuns",
                           RRF_RT_REG_DWORD, nullptr, &runs, &size),
              ERROR_SUCCESS)
        << "the program put in the wizard's place ran " << runs << " times";
    DeleteFileW(program.c_str());
    DeleteFileW(moved.c_str());
    RemoveDirectoryW(folder.c_str());
}
