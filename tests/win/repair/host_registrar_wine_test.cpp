// Registration in a host process against the real Quendry.exe and the fixture libraries: each
// library that takes its process down or never comes back is reported with its reason, the next
// one registers in a new host, one host serves well-behaved libraries, and no process is left.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>

#include "fixtures/layout.h"
#include "repair/dll_register.h"
#include "repair/host_registrar_win.h"
#include "repair/library_api_win.h"
#include "repair/registration_report.h"
#include "tests/emulation_win.h"
#include "tests/processes_win.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
constexpr uint32_t kShortLimitMs = 3000;

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path, n);
    return text.substr(0, text.find_last_of(L"\\/"));
}

std::wstring HostProgramPath() {
    return ProgramFolder() + L"\\Quendry.exe";
}

// The program file at `path` as the host to start: its bytes are what the started host must map.
std::optional<HostImage> HostImageAt(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return HostImage{
        path, std::make_shared<const std::vector<uint8_t>>(std::istreambuf_iterator<char>(file),
                                                           std::istreambuf_iterator<char>())};
}

std::optional<HostImage> HostProgram() {
    return HostImageAt(HostProgramPath());
}

std::string Fixture(const char* name) {
    return fixtures::FixturesDirectory() + "\\" + name;
}

// Nothing of a host outlives it: no Quendry.exe, and no debugger started for a crash.
void ExpectNoProcessLeft() {
    EXPECT_EQ(ProcessesNamed(L"Quendry.exe"), 0);
    EXPECT_EQ(ProcessesNamed(L"winedbg.exe"), 0);
}

HostRegistrarOptions ShortLimit() {
    HostRegistrarOptions options;
    options.HostProgram = HostProgram;
    options.TimeLimitMs = kShortLimitMs;
    return options;
}

struct BadCase {
    const char* Name;
    const char* File;
    RegistrationResult Result;
    uint32_t Status;
    std::string Reason;
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.Name;
}

class MisbehavingLibrary : public ::testing::TestWithParam<BadCase> {};

TEST_P(MisbehavingLibrary, IsReportedAndTheNextRegistersInANewHost) {
    const BadCase& c = GetParam();
    ASSERT_EQ(GetFileAttributesW(HostProgramPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u)
        << "no Quendry.exe beside the test";
    fixtures::ClearRegistrations();
    Win32LibraryApi api;
    {
        OutOfProcessRegistrar registrar(api, ShortLimit());
        const auto start = Clock::now();
        const RegistrationOutcome bad =
            registrar.Register(Fixture(c.File), "DllRegisterServer", c.File);
        const auto took = Clock::now() - start;
        EXPECT_EQ(bad.Result, c.Result);
        EXPECT_EQ(static_cast<uint32_t>(bad.Status), c.Status);
        EXPECT_EQ(bad.DisplayName, c.File);
        EXPECT_EQ(RegistrationFailureReason(api, bad), c.Reason);
        if (c.Result == RegistrationResult::TimedOut) {
            EXPECT_GE(took, milliseconds(kShortLimitMs));
            EXPECT_LT(took, milliseconds(kShortLimitMs + 5000));
        } else {
            // Two hosts, each ending at once: a host that dies is tried once more.
            EXPECT_LT(took, milliseconds(2 * kShortLimitMs)) << "the end was noticed at once";
        }
        EXPECT_EQ(registrar.HostProcessId(), 0u) << "the host is gone after its failure";
        EXPECT_EQ(ProcessesNamed(L"Quendry.exe"), 0);

        const RegistrationOutcome good =
            registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "good");
        EXPECT_EQ(good.Result, RegistrationResult::Registered);
        const bool died = c.Result != RegistrationResult::TimedOut;
        EXPECT_EQ(registrar.HostsStarted(), died ? 3u : 2u);
        EXPECT_FALSE(registrar.RegistersInProcess());
    }
    // A library whose host died is tried once more, in a fresh host; one that took too long is
    // not tried again.
    EXPECT_EQ(fixtures::ReadRegistrationCount(c.File),
              c.Result == RegistrationResult::TimedOut ? 1u : 2u);
    EXPECT_EQ(fixtures::ReadRegistrationCount("fixture_library.dll"), 1u);
    ExpectNoProcessLeft();
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MisbehavingLibrary,
    ::testing::Values(BadCase{"NullPointer", "fixture_crash.dll", RegistrationResult::Crashed,
                              NullWriteStatus(), "crashed with " + NullWriteStatusText()},
                      BadCase{"StackOverflow", "fixture_stackoverflow.dll",
                              RegistrationResult::Crashed, 0xC00000FDu, "crashed with 0xC00000FD"},
                      BadCase{"SleepsForEver", "fixture_hang.dll", RegistrationResult::TimedOut, 0,
                              "did not finish within 30 s"},
                      BadCase{"MessageBox", "fixture_dialog.dll", RegistrationResult::TimedOut, 0,
                              "did not finish within 30 s"},
                      BadCase{"ExitProcess", "fixture_exit.dll", RegistrationResult::EndedProcess,
                              0, "ended the process"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Libraries that register well in ways that once made their host look broken: one that broadcasts
// to every top-level window (this thread has one, and handles what is sent to it while it
// waits), one that prints without a line end, one that leaves a thread crashing after it returned
// (the death is not blamed on the slow library in work then).
TEST(OutOfProcessRegistrar, HonestLibrariesAreRegistered) {
    HWND window = CreateWindowExW(0, L"STATIC", L"Waiting", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    Win32LibraryApi api;
    {
        OutOfProcessRegistrar registrar(api, ShortLimit());
        for (const char* file :
             {"fixture_broadcast.dll", "fixture_prints.dll", "fixture_crashlater.dll",
              "fixture_slow.dll", "fixture_crashunload.dll"}) {
            const RegistrationOutcome out =
                registrar.Register(Fixture(file), "DllRegisterServer", file);
            EXPECT_EQ(out.Result, RegistrationResult::Registered)
                << file << ": " << RegistrationFailureReason(api, out);
        }
    }
    DestroyWindow(window);
    ExpectNoProcessLeft();
}

TEST(OutOfProcessRegistrar, OneHostGivesWhatRegistrationHereGives) {
    fixtures::ClearRegistrations();
    Win32LibraryApi api;
    const char* const files[] = {"fixture_library.dll",  "fixture_failing.dll",
                                 "fixture_noexport.dll", "notalib.dll",
                                 "no-such-library.dll",  "fixture_v40000.dll"};
    {
        OutOfProcessRegistrar registrar(api, ShortLimit());
        DWORD host = 0;
        for (const char* file : files) {
            const RegistrationOutcome there =
                registrar.Register(Fixture(file), "DllRegisterServer", file);
            const RegistrationOutcome here =
                RegisterComponent(api, Fixture(file), "DllRegisterServer", file);
            EXPECT_EQ(there.Result, here.Result) << file;
            EXPECT_EQ(there.LastError, here.LastError) << file;
            EXPECT_EQ(there.Status, here.Status) << file;
            EXPECT_EQ(there.DisplayName, file);
            if (host == 0)
                host = registrar.HostProcessId();
            EXPECT_EQ(registrar.HostProcessId(), host) << file;
        }
        EXPECT_NE(host, 0u);
        EXPECT_EQ(registrar.HostsStarted(), 1u);
        // The host registered in its own process: the library is not loaded here afterwards
        // either way, but each registering library recorded one call there and one here.
        EXPECT_EQ(fixtures::ReadRegistrationCount("fixture_library.dll"), 2u);
        EXPECT_EQ(fixtures::ReadRegistrationCount("fixture_failing.dll"), 2u);
        EXPECT_EQ(ProcessesNamed(L"Quendry.exe"), 1);
    }
    ExpectNoProcessLeft();
}

TEST(OutOfProcessRegistrar, APathThatIsNotFullyQualifiedStartsNoHost) {
    Win32LibraryApi api;
    OutOfProcessRegistrar registrar(api, ShortLimit());
    for (const char* path : {"", "fixture_library.dll", "fixtures\\fixture_library.dll"}) {
        const RegistrationOutcome out = registrar.Register(path, "DllRegisterServer", "X");
        EXPECT_EQ(out.Result, RegistrationResult::NotLoaded) << path;
        EXPECT_EQ(out.LastError, static_cast<uint32_t>(ERROR_INVALID_PARAMETER)) << path;
    }
    EXPECT_EQ(registrar.HostsStarted(), 0u);
}

// A host program that can't be started from its path (gone, denied, not a program) is no reason
// to register in the wizard's own process: the path no longer leads to the file that was checked.
TEST(OutOfProcessRegistrar, AHostProgramThatCantBeStartedIsRefused) {
    fixtures::ClearRegistrations();
    Win32LibraryApi api;
    HostRegistrarOptions options = ShortLimit();
    options.HostProgram = [] { return HostImageAt(ProgramFolder() + L"\\no such host.exe"); };
    OutOfProcessRegistrar registrar(api, options);
    registrar.Prepare();
    EXPECT_EQ(registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "X").Result,
              RegistrationResult::HostRefused);
    EXPECT_FALSE(registrar.RegistersInProcess());
    EXPECT_EQ(registrar.HostsStarted(), 0u);
    EXPECT_EQ(fixtures::ReadRegistrationCount("fixture_library.dll"), 0u);
}

// A request begun for one library and never collected is still that library's: its hang is
// waited out and put down to it alone, and the next library registers in a fresh host.
TEST(OutOfProcessRegistrar, AnUncollectedRequestIsNotBlamedOnTheNextLibrary) {
    fixtures::ClearRegistrations();
    Win32LibraryApi api;
    OutOfProcessRegistrar registrar(api, ShortLimit());
    registrar.Prepare();
    registrar.Begin(Fixture("fixture_hang.dll"), "DllRegisterServer", "H");
    EXPECT_EQ(registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "X").Result,
              RegistrationResult::Registered);
    EXPECT_EQ(registrar.HostsStarted(), 2u);
    EXPECT_EQ(fixtures::ReadRegistrationCount("fixture_library.dll"), 1u);
}

// The host inherits its end of the pipe and nothing else of the process that starts it.
TEST(OutOfProcessRegistrar, AHostInheritsNoOtherHandle) {
    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    HANDLE event = CreateEventW(&inheritable, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    Win32LibraryApi api;
    OutOfProcessRegistrar registrar(api, ShortLimit());
    ASSERT_EQ(registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "X").Result,
              RegistrationResult::Registered);
    // An inherited handle has the same value in the host: taken from there, it would be the
    // same event.
    HANDLE host = OpenProcess(PROCESS_DUP_HANDLE, FALSE, registrar.HostProcessId());
    ASSERT_NE(host, nullptr);
    HANDLE copy = nullptr;
    if (DuplicateHandle(host, event, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        SetEvent(copy);
        EXPECT_NE(WaitForSingleObject(event, 0), WAIT_OBJECT_0) << "the host inherited the event";
        CloseHandle(copy);
    }
    CloseHandle(host);
    CloseHandle(event);
}

// The path is looked up again when the host starts: where it then names another program (a
// folder flipped by a junction, a share that answers differently), the process is ended before
// its first instruction, and nothing is registered anywhere.
TEST(OutOfProcessRegistrar, AHostWhoseImageIsNotTheCheckedFileNeverRuns) {
    fixtures::ClearRegistrations();
    fixtures::ClearMarkerRuns();
    Win32LibraryApi api;
    HostRegistrarOptions options = ShortLimit();
    options.HostProgram = [] {
        std::optional<HostImage> checked = HostProgram();
        const std::string marker = Fixture("fixture_marker.exe");
        checked->Path.assign(marker.begin(), marker.end()); // ASCII in the build tree
        return checked;
    };
    OutOfProcessRegistrar registrar(api, options);
    EXPECT_EQ(registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "X").Result,
              RegistrationResult::HostRefused);
    EXPECT_FALSE(registrar.RegistersInProcess());
    EXPECT_EQ(fixtures::ReadRegistrationCount("fixture_library.dll"), 0u);
    EXPECT_EQ(fixtures::ReadMarkerRuns(), 0u) << "the other program ran";
    EXPECT_EQ(ProcessesNamed(L"fixture_marker.exe"), 0);
}

TEST(OutOfProcessRegistrar, AHostThatEndedBetweenRegistrationsIsReplacedWithoutBlame) {
    Win32LibraryApi api;
    OutOfProcessRegistrar registrar(api, ShortLimit());
    ASSERT_EQ(registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "X").Result,
              RegistrationResult::Registered);
    HANDLE host = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, registrar.HostProcessId());
    ASSERT_NE(host, nullptr);
    TerminateProcess(host, 0xC0000005u);
    WaitForSingleObject(host, 5000);
    CloseHandle(host);
    const RegistrationOutcome next =
        registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "X");
    EXPECT_EQ(next.Result, RegistrationResult::Registered);
    EXPECT_EQ(registrar.HostsStarted(), 2u);
}

TEST(OutOfProcessRegistrar, TheCallerRunsWhileItWaitsAndTheHostEndsWithTheRegistrar) {
    Win32LibraryApi api;
    int waited = 0;
    // The limit also has to let a new host come up for the second library, which takes seconds
    // where 32-bit programs run emulated.
    HostRegistrarOptions options = ShortLimit();
    options.WhileWaiting = [&] { ++waited; };
    HANDLE host = nullptr;
    {
        OutOfProcessRegistrar registrar(api, options);
        EXPECT_EQ(registrar.Register(Fixture("fixture_hang.dll"), "DllRegisterServer", "X").Result,
                  RegistrationResult::TimedOut);
        EXPECT_GE(waited, static_cast<int>(kShortLimitMs / 200));
        EXPECT_LE(waited, static_cast<int>(kShortLimitMs / 100 + 1));
        ASSERT_EQ(
            registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "X").Result,
            RegistrationResult::Registered);
        host = OpenProcess(SYNCHRONIZE, FALSE, registrar.HostProcessId());
        ASSERT_NE(host, nullptr);
        EXPECT_EQ(WaitForSingleObject(host, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    EXPECT_EQ(WaitForSingleObject(host, 0), WAIT_OBJECT_0);
    CloseHandle(host);
    ExpectNoProcessLeft();
}

TEST(OutOfProcessRegistrar, APreparedHostServesTheRunOrEndsUnused) {
    fixtures::ClearRegistrations();
    Win32LibraryApi api;
    {
        OutOfProcessRegistrar unused(api, ShortLimit());
        unused.Prepare();
        EXPECT_NE(unused.HostProcessId(), 0u);
        EXPECT_EQ(ProcessesNamed(L"Quendry.exe"), 1);
    }
    ExpectNoProcessLeft();
    {
        OutOfProcessRegistrar registrar(api, ShortLimit());
        registrar.Prepare();
        registrar.Prepare(); // a running host is kept
        const DWORD host = registrar.HostProcessId();
        EXPECT_EQ(
            registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "X").Result,
            RegistrationResult::Registered);
        EXPECT_EQ(registrar.HostProcessId(), host);
        EXPECT_EQ(registrar.HostsStarted(), 1u);
        EXPECT_FALSE(registrar.RegistersInProcess());
    }
    ExpectNoProcessLeft();
    EXPECT_EQ(fixtures::ReadRegistrationCount("fixture_library.dll"), 1u);
}

// A begun registration runs while the caller does something else, and Register collects it
// without registering again; one begun for another library is no answer to the next.
TEST(OutOfProcessRegistrar, ABegunRegistrationRunsMeanwhileAndIsCollectedOnce) {
    fixtures::ClearRegistrations();
    Win32LibraryApi api;
    {
        OutOfProcessRegistrar registrar(api, ShortLimit());
        registrar.Prepare();
        registrar.Begin(Fixture("fixture_library.dll"), "DllRegisterServer", "X");
        const auto until = Clock::now() + milliseconds(kShortLimitMs);
        while (fixtures::ReadRegistrationCount("fixture_library.dll") == 0 && Clock::now() < until)
            Sleep(10);
        EXPECT_EQ(fixtures::ReadRegistrationCount("fixture_library.dll"), 1u);
        EXPECT_EQ(
            registrar.Register(Fixture("fixture_library.dll"), "DllRegisterServer", "X").Result,
            RegistrationResult::Registered);
        EXPECT_EQ(fixtures::ReadRegistrationCount("fixture_library.dll"), 1u);

        registrar.Begin(Fixture("fixture_library.dll"), "DllRegisterServer", "X");
        const RegistrationOutcome other =
            registrar.Register(Fixture("fixture_failing.dll"), "DllRegisterServer", "Y");
        EXPECT_EQ(other.Result, RegistrationResult::CallFailed);
        EXPECT_EQ(other.DisplayName, "Y");
        EXPECT_EQ(registrar.HostsStarted(), 1u);
    }
    ExpectNoProcessLeft();
}

} // namespace
