// The only change the wizard makes to the system is the self-registration of the component
// libraries: a walk through the wizard without the repair leaves the registry as it was, and with
// the repair only the libraries' own registrations change it. The console report, with its
// answer on databases read from both registry views, changes nothing either, HKLM\SYSTEM included.
#include <thread>

#include "cli_process.h"
#include "fixtures/layout.h"
#include "flow_support.h"
#include "registry_snapshot.h"

using C = ControlId;
using namespace std::chrono_literals;

namespace {
// What Wine itself keeps up to date whatever a program does (its per-session and device state),
// and what every start of a program writes through Wine's own components. The wizard's window
// brings Wine's display and device writes under HKLM\SYSTEM with it; a console program does not,
// so its runs are held to all of HKLM\SYSTEM, where the event log's sources are.
bool IsWinesOwn(const std::wstring& change, bool wholeSystemKey) {
    for (const wchar_t* part :
         {L"\\Software\\Wine\\", L"HKCU\\Volatile Environment", L"\\Hardware\\", L"\\Enum\\",
          L"\\DeviceClasses\\", L"\\Control\\Video\\"})
        if (change.find(part) != std::wstring::npos)
            return true;
    return wholeSystemKey && (change.find(L"HKLM64\\SYSTEM\\") != std::wstring::npos ||
                              change.find(L"HKLM32\\SYSTEM\\") != std::wstring::npos);
}

std::vector<std::wstring> ChangesBy(const RegistrySnapshot& before,
                                    bool (*allowed)(const std::wstring&),
                                    bool wholeSystemKey = true) {
    std::vector<std::wstring> left;
    for (const auto& change : RegistryChanges(before, TakeRegistrySnapshot()))
        if (!IsWinesOwn(change, wholeSystemKey) && !(allowed && allowed(change)))
            left.push_back(change);
    return left;
}

std::string Lines(const std::vector<std::wstring>& changes) {
    std::string out;
    for (const auto& c : changes)
        out += Utf8(c) + "\n";
    return out;
}
} // namespace

class NothingWrittenButRegistrations : public LaidOutSystemTest {};

TEST_F(NothingWrittenButRegistrations, AWalkWithoutTheRepairChangesNothing) {
    fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0"));
    const RegistrySnapshot before = TakeRegistrySnapshot();
    {
        QuendryProcess q;
        ASSERT_TRUE(q.Start());
        ASSERT_TRUE(GoToRepairPage(q));
        std::this_thread::sleep_for(1s); // past the watch's first look
        ASSERT_TRUE(PressBack(q, C::pic2));
        ASSERT_TRUE(PressBack(q, C::pic1));
        // A real click: the watch started on the repair page holds Cancel back until it sees a
        // mouse button go down.
        MouseClick(ScreenCenter(q, C::cmdAbbrechen), 100ms);
        ASSERT_TRUE(q.WaitForExit(20s));
    }
    const auto changes = ChangesBy(before, nullptr);
    EXPECT_TRUE(changes.empty()) << Lines(changes);
}

TEST_F(NothingWrittenButRegistrations, AReportChangesNothing) {
    fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0"));
    const RegistrySnapshot before = TakeRegistrySnapshot();
    const CliResult report = RunCli(L"report --json");
    ASSERT_TRUE(report.Started && report.Finished);
    const CliResult program = RunCli(L"report --program C:\\windows\\system32\\notepad.exe");
    ASSERT_TRUE(program.Started && program.Finished);
    const auto changes = ChangesBy(before, nullptr, false);
    EXPECT_TRUE(changes.empty()) << Lines(changes);
}

TEST_F(NothingWrittenButRegistrations, TheRepairWritesOnlyTheLibrariesOwnRegistrations) {
    fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0"));
    const RegistrySnapshot before = TakeRegistrySnapshot();
    {
        QuendryProcess q;
        ASSERT_TRUE(q.Start());
        ASSERT_TRUE(GoToRepairPage(q));
        ASSERT_TRUE(RunRepair(q));
        q.Click(C::cmdAbbrechen); // the closing page
        ASSERT_TRUE(q.WaitFor([&] { return q.TopPage() == C::pic5; }));
        q.Click(C::cmdAbbrechen); // Close
        ASSERT_TRUE(q.WaitForExit(20s));
    }
    // The fixture libraries record each registration under this key, and the Jet provider's
    // writes its class again, naming itself by the path it was loaded from: their own writing.
    const auto changes = ChangesBy(before, [](const std::wstring& change) {
        return change.find(L"HKCU\\Software\\QuendryTest\\Registrations") != std::wstring::npos ||
               change.find(L"\\{DEE35070-506B-11CF-B1AA-00AA00B8DE95}\\") != std::wstring::npos;
    });
    EXPECT_TRUE(changes.empty()) << Lines(changes);
    EXPECT_EQ(fixtures::ReadRegistrationCount("MSADO15.DLL"), 1u);
}
