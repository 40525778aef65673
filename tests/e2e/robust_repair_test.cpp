// The repair on a system whose libraries take their process down or never come back from
// DllRegisterServer: the run finishes, the message names each of them with its reason, every
// other library is registered, and no process is left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

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

// The session ends while a library registers (its DllRegisterServer shows a box): Windows waits
// for the wizard until that registration is done, and nothing after it is registered or shown.
TEST_F(RobustRepair, TheEndOfTheSessionWaitsForTheRegistrationInWorkAndStartsNoOther) {
    constexpr size_t kInWork = 14; // MSADDS.DLL
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0")
            .WithFullInstallVer("2.81.1117.0")
            .With(kInWork, fixtures::FixtureFile::Of(Kind::Dialog, "2.81.1117.0"))));
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    ASSERT_TRUE(PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0));
    HWND dialog = nullptr;
    ASSERT_TRUE(
        q.WaitFor([&] { return (dialog = FindWindowW(nullptr, L"Fixture")) != nullptr; }, 60s));
    DWORD_PTR mayEnd = FALSE;
    ASSERT_TRUE(SendMessageTimeoutW(q.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                    SMTO_ABORTIFHUNG, 5000, &mayEnd));
    EXPECT_TRUE(mayEnd);
    ASSERT_TRUE(SendNotifyMessageW(q.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF));
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(q.Running()) << "the wizard did not wait for the registration in work";
    PressMessageBoxOk(dialog);
    EXPECT_TRUE(q.WaitForExit(15s));
    EXPECT_TRUE(q.WaitFor([] { return ProcessesNamed(Wide(QUENDRY_EXE_NAME).c_str()) == 0; }, 5s));
    for (size_t i = 0; i < fixtures::kComponentCount; ++i) {
        const std::string name = GetFile(fixtures::ComponentPath(i));
        const bool skipped =
            std::find(std::begin(kSkipped), std::end(kSkipped), i) != std::end(kSkipped);
        EXPECT_EQ(fixtures::ReadRegistrationCount(name), !skipped && i <= kInWork ? 1u : 0u)
            << name;
    }
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

namespace {

std::wstring TempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring Product() {
    return ExeFolder() + L"\\" + Wide(QUENDRY_EXE_NAME);
}

// The repair refused every registration for want of a safe host, and registered nothing.
void ExpectRepairRefused(QuendryProcess& q) {
    ASSERT_TRUE(PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0));
    HWND box = nullptr;
    ASSERT_TRUE(q.WaitFor([&] { return (box = FindMessageBox(q)) != nullptr; }, 60s));
    EXPECT_NE(MessageBoxText(box).find(T(163)), std::string::npos) << MessageBoxText(box);
    PressMessageBoxOk(box);
    EXPECT_EQ(fixtures::ReadRegistrationCount("MSADO15.DLL"), 0u);
}

// Runs a Unix command through Wine's start program and waits for it. Its words are passed as they
// are, quotes and all: the paths it is given hold no spaces.
bool RunUnix(const std::wstring& command) {
    std::wstring line = L"start.exe /wait /unix " + command;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    const bool done = WaitForSingleObject(info.hProcess, 10000) == WAIT_OBJECT_0;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return done;
}

// The Unix path of a Windows path, through Wine's own kernel32 export.
std::wstring UnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    const std::string text = unix ? unix : "";
    if (unix)
        HeapFree(GetProcessHeap(), 0, unix);
    return Wide(text);
}

} // namespace

// The wizard runs elevated from a folder its user owns. Whoever owns the folder can't rename the
// running file and put another program under its name: a registration host starts from the held
// file alone, so the other program never runs, and the repair registers in a genuine host, or,
// where the rename went through, refuses with the reason.
TEST_F(RobustRepair, AProgramPutInTheWizardsPlaceNeverRuns) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0")));
    const std::wstring folder = TempFolder(L"quendry-image-test");
    const std::wstring program = folder + L"\\" + Wide(QUENDRY_EXE_NAME);
    const std::wstring moved = folder + L"\\moved.exe";
    DeleteFileW(moved.c_str());
    ASSERT_TRUE(CopyFileW(Product().c_str(), program.c_str(), FALSE));
    fixtures::ClearMarkerRuns();

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
    if (renamed) {
        ExpectRepairRefused(q);
    } else {
        ASSERT_TRUE(PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0));
        EXPECT_TRUE(q.WaitFor([&] { return q.Visible(C::optFurtherProblems); }, 60s));
        EXPECT_EQ(FindMessageBox(q), nullptr);
        EXPECT_EQ(fixtures::ReadRegistrationCount("MSADO15.DLL"), 1u);
    }
    q.Kill();
    EXPECT_EQ(fixtures::ReadMarkerRuns(), 0u) << "the program put in the wizard's place ran";
    DeleteFileW(program.c_str());
    DeleteFileW(moved.c_str());
    RemoveDirectoryW(folder.c_str());
}

// The folder the wizard was started from is a link its owner turns to another folder, where
// another program has the wizard's name (a junction on Windows, a symbolic link under Wine): no
// host is started from there, and the repair says why.
TEST_F(RobustRepair, AFolderTurnedToAnotherProgramStartsNoHost) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0")));
    const std::wstring real = TempFolder(L"quendry-link-real");
    const std::wstring other = TempFolder(L"quendry-link-other");
    const std::wstring link = real.substr(0, real.size() - 4) + L"link";
    const std::wstring name = L"\\" + Wide(QUENDRY_EXE_NAME);
    ASSERT_TRUE(CopyFileW(Product().c_str(), (real + name).c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Wide(fixtures::FixturesDirectory() + "\\fixture_marker.exe").c_str(),
                          (other + name).c_str(), FALSE));
    const auto pointLinkAt = [&](const std::wstring& folder) {
        return RunUnix(L"/bin/ln -sfn " + UnixPath(folder) + L" " + UnixPath(link));
    };
    ASSERT_TRUE(pointLinkAt(real));
    fixtures::ClearMarkerRuns();

    QuendryProcess q;
    LaunchOptions options;
    options.Program = link + name;
    ASSERT_TRUE(q.Start(options));
    // Before the repair page, where the host comes up.
    ASSERT_TRUE(pointLinkAt(other));
    ASSERT_TRUE(GoToRepairPage(q));
    ExpectRepairRefused(q);
    q.Kill();
    EXPECT_EQ(fixtures::ReadMarkerRuns(), 0u) << "the program in the other folder ran";
    RunUnix(L"/bin/rm -f " + UnixPath(link));
    for (const std::wstring& folder : {real, other}) {
        DeleteFileW((folder + name).c_str());
        RemoveDirectoryW(folder.c_str());
    }
}

// Started from a network share that serves the same file each time it is opened, the wizard
// repairs as usual (Wine serves \\\\server\\share from the prefix's dosdevices\\unc).
TEST_F(RobustRepair, AProgramOnANetworkShareRepairsAsUsual) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0")));
    const std::wstring folder = TempFolder(L"quendry-share");
    const std::wstring name = L"\\" + Wide(QUENDRY_EXE_NAME);
    ASSERT_TRUE(CopyFileW(Product().c_str(), (folder + name).c_str(), FALSE));
    const std::wstring drive = UnixPath(L"C:\\");
    const std::wstring server = drive + L"/../dosdevices/unc/quendryserver";
    ASSERT_TRUE(RunUnix(L"/bin/mkdir -p " + server));
    ASSERT_TRUE(RunUnix(L"/bin/ln -sfn " + UnixPath(folder) + L" " + server + L"/share"));

    QuendryProcess q;
    LaunchOptions options;
    options.Program = L"\\\\quendryserver\\share" + name;
    ASSERT_TRUE(q.Start(options));
    ASSERT_TRUE(GoToRepairPage(q));
    ASSERT_TRUE(PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0));
    EXPECT_TRUE(q.WaitFor([&] { return q.Visible(C::optFurtherProblems); }, 60s));
    HWND box = nullptr;
    q.WaitFor([&] { return (box = FindMessageBox(q)) != nullptr; }, 3s);
    EXPECT_EQ(box, nullptr) << MessageBoxText(box);
    EXPECT_EQ(fixtures::ReadRegistrationCount("MSADO15.DLL"), 1u);
    q.Kill();
    RunUnix(L"/bin/rm -rf " + server);
    DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
}

// The wizard started from a folder its user owns, and its file swapped for another before the
// wizard's first instruction: a copy that differs from the build anywhere, in what the program
// writes to after it starts too. The import table with one library name in other letters (the
// loader doesn't mind), a text of the resources, an initial value of the data, of the C runtime's
// start-up table or of the thread-local data: the wizard holds that copy, finds it is not itself,
// and starts no host from it.
struct Alteration {
    const char* Section;
    const char* Find = nullptr; // ASCII text to change the first letter of; null: the first byte
    bool Utf16 = false;
};

void PrintTo(const Alteration& a, std::ostream* os) {
    *os << a.Section;
}

class RobustRepairAltered : public LaidOutSystemTestWithParam<Alteration> {};

TEST_P(RobustRepairAltered, ASwappedFileThatDiffersAnywhereRunsNoHost) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0")));
    std::ifstream in(Product().c_str(), std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        bytes.data() + reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data())->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    const IMAGE_SECTION_HEADER* end = section + nt->FileHeader.NumberOfSections;
    while (section != end && strncmp(reinterpret_cast<const char*>(section->Name),
                                     GetParam().Section, IMAGE_SIZEOF_SHORT_NAME) != 0)
        ++section;
    ASSERT_NE(section, end);
    const auto from = bytes.begin() + section->PointerToRawData;
    const auto to = from + section->SizeOfRawData;
    if (GetParam().Find) {
        std::string find = GetParam().Find;
        if (GetParam().Utf16) {
            std::string wide;
            for (const char c : find)
                wide += c, wide += '\0';
            find = wide;
        }
        const auto at = std::search(from, to, find.begin(), find.end());
        ASSERT_NE(at, to) << GetParam().Find;
        *at ^= 0x20; // the letter's other case
    } else {
        *from ^= 1;
    }
    const std::wstring folder = TempFolder(L"quendry-altered");
    const std::wstring program = folder + L"\\" + Wide(QUENDRY_EXE_NAME);
    const std::wstring altered = folder + L"\\altered.exe";
    ASSERT_TRUE(CopyFileW(Product().c_str(), program.c_str(), FALSE));
    std::ofstream(altered.c_str(), std::ios::binary).write(bytes.data(), bytes.size());

    QuendryProcess q;
    LaunchOptions options;
    options.Program = program;
    bool swapped = false;
    options.BeforeFirstInstruction = [&] {
        swapped = RunUnix(L"/bin/mv -f " + UnixPath(altered) + L" " + UnixPath(program));
    };
    ASSERT_TRUE(q.Start(options));
    ASSERT_TRUE(swapped);
    ASSERT_TRUE(GoToRepairPage(q));
    ExpectRepairRefused(q);
    q.Kill();
    DeleteFileW(program.c_str());
    DeleteFileW(altered.c_str());
    RemoveDirectoryW(folder.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Sections, RobustRepairAltered,
    ::testing::Values(Alteration{.Section = ".idata", .Find = "KERNEL32.dll"},
                      Alteration{.Section = ".rsrc", .Find = "FileDescription", .Utf16 = true},
                      Alteration{.Section = ".data"}, Alteration{.Section = ".CRT"},
                      Alteration{.Section = ".tls"}));
