// Reading the inventory over both registry views of 64-bit Windows.
#include <gtest/gtest.h>

#include "bitness/inventory_reader.h"
#include "tests/fakes/fake_machine.h"
#include "tests/fakes/fake_registry.h"

namespace {

constexpr int32_t kHklm = kHkeyLocalMachine;
const std::string kJetClsid = "{DEE35070-506B-11CF-B1AA-00AA00B8DE95}";
const std::string kAceClsid = "{3BE786A2-0366-4F5C-9434-25CF162E475E}";
const std::string kJetFile = "C:\\WINDOWS\\System32\\msjetoledb40.dll";
const std::string kAceFile =
    "C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE16\\ACEOLEDB.DLL";

void Register(FakeRegistry& r, const std::string& classes, const char* progId,
              const std::string& clsid, const std::string& server) {
    r.SetStringValue(kHklm, classes + progId + "\\CLSID", "", clsid);
    r.SetRawValue(kHklm, classes + "CLSID\\" + clsid + "\\InprocServer32", "", kRegExpandSz,
                  ByteArray(server.c_str(), server.c_str() + server.size() + 1));
}

void AddDriver(FakeRegistry& r, const std::string& odbcinst, const char* name,
               const std::string& file, const char* extensions) {
    r.SetStringValue(kHklm, odbcinst + "\\ODBC Drivers", name, "Installed");
    r.SetStringValue(kHklm, odbcinst + "\\" + name, "Driver", file);
    r.SetStringValue(kHklm, odbcinst + "\\" + name, "FileExtns", extensions);
}

TEST(InventoryReader, ReadsEachViewInItsOwnMeaning) {
    FakeRegistry r;
    r.TwoViews = true;
    r.SetEnvironment("CommonProgramFiles", "C:\\Program Files (x86)\\Common Files");
    const std::string classes32 = FakeRegistry::View32("SOFTWARE\\Classes\\");
    const std::string odbcinst = "SOFTWARE\\ODBC\\ODBCINST.INI";
    const std::string dsns = "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";
    // 32-bit view: Jet and its (localised) ODBC driver, a system data source.
    Register(r, classes32, "Microsoft.Jet.OLEDB.4.0", kJetClsid,
             "%SystemRoot%\\System32\\msjetoledb40.dll");
    AddDriver(r, FakeRegistry::View32(odbcinst), "Driver do Microsoft Access (*.mdb)",
              "C:\\WINDOWS\\System32\\ODBCJT32.DLL", "*.mdb");
    r.SetStringValue(kHklm, FakeRegistry::View32(dsns), "Orders",
                     "Driver do Microsoft Access (*.mdb)");
    // 64-bit view: the engine in the 64-bit common files (Vista has no %CommonProgramW6432%:
    // the 64-bit view's CurrentVersion names the folder), and Jet naming a 32-bit file.
    r.SetStringValue(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir",
                     "C:\\Program Files\\Common Files");
    Register(r, "SOFTWARE\\Classes\\", "Microsoft.ACE.OLEDB.16.0", kAceClsid,
             "%CommonProgramFiles%\\Microsoft Shared\\OFFICE16\\ACEOLEDB.DLL");
    Register(r, "SOFTWARE\\Classes\\", "Microsoft.Jet.OLEDB.4.0", kJetClsid, kJetFile);
    AddDriver(r, odbcinst, "Microsoft Access Driver (*.mdb, *.accdb)",
              "C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE16\\ACEODBC.DLL",
              "*.mdb,*.accdb");
    // Click-to-Run holds ACE 12.0 in its own registry only.
    const std::string c2r = "SOFTWARE\\Microsoft\\Office\\ClickToRun";
    r.SetStringValue(kHklm, c2r + "\\Configuration", "Platform", "x64");
    r.SetStringValue(kHklm, c2r + "\\Configuration", "ProductReleaseIds", "ProPlus2019Volume");
    Register(r, c2r + "\\REGISTRY\\MACHINE\\Software\\Classes\\", "Microsoft.ACE.OLEDB.12.0",
             "{3BE786A0-0366-4F5C-9434-25CF162E475E}", "x");
    // The user's data sources are one for both views.
    r.SetStringValue(kHkeyCurrentUser, dsns, "Mine", "Microsoft Access Driver (*.mdb, *.accdb)");

    FakeFiles files;
    files.AddLibrary(kJetFile, Bitness::Bits32, kMachineI386);
    files.AddLibrary("C:\\WINDOWS\\System32\\ODBCJT32.DLL", Bitness::Bits32, kMachineI386);
    files.AddLibrary(kJetFile, Bitness::Bits64, kMachineI386); // the mismatched one
    files.AddLibrary(kAceFile, Bitness::Bits64, kMachineAmd64);
    files.AddLibrary("C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE16\\ACEODBC.DLL",
                     Bitness::Bits64, kMachineAmd64);

    const Inventory inv = ReadInventory(r, files, true, "PC\\anna");

    ASSERT_EQ(inv.Views.size(), 2u);
    const ViewInventory& v32 = inv.Views[0];
    const ViewInventory& v64 = inv.Views[1];
    EXPECT_EQ(v32.Providers[0].Library.State, ComponentState::Present);
    EXPECT_EQ(v32.Providers[0].Library.Path, kJetFile);
    EXPECT_EQ(v32.Providers[2].Library.State, ComponentState::NotRegistered);
    EXPECT_EQ(v64.Providers[0].Library.State, ComponentState::WrongMachine);
    EXPECT_EQ(v64.Providers[2].Clsid, kAceClsid);
    EXPECT_EQ(v64.Providers[2].Library.Path, kAceFile);
    EXPECT_EQ(v64.Providers[2].Library.State, ComponentState::Present);

    ASSERT_EQ(v32.Drivers.size(), 1u);
    EXPECT_EQ(v32.Drivers[0].Name, "Driver do Microsoft Access (*.mdb)");
    EXPECT_EQ(v32.Drivers[0].Family, Engine::Jet);
    EXPECT_EQ(v32.Drivers[0].Serves, std::vector<FileKind>{FileKind::Mdb});
    ASSERT_EQ(v64.Drivers.size(), 1u);
    EXPECT_EQ(v64.Drivers[0].Family, Engine::Ace);
    EXPECT_EQ(v64.Drivers[0].Serves, (std::vector<FileKind>{FileKind::Mdb, FileKind::Accdb}));

    ASSERT_EQ(v32.SystemSources.size(), 1u);
    EXPECT_TRUE(v32.SystemSources[0].DriverIn32);
    EXPECT_FALSE(v32.SystemSources[0].DriverIn64);
    EXPECT_TRUE(v64.SystemSources.empty());
    ASSERT_EQ(inv.UserSources.size(), 1u);
    EXPECT_FALSE(inv.UserSources[0].DriverIn32);
    EXPECT_TRUE(inv.UserSources[0].DriverIn64);

    EXPECT_TRUE(inv.Office.ClickToRun);
    EXPECT_EQ(inv.Office.Bits, Bitness::Bits64);
    EXPECT_TRUE(inv.Office.Volume);
    EXPECT_EQ(inv.Office.AceOnlyInClickToRun, std::vector<std::string>{"Microsoft.ACE.OLEDB.12.0"});

    // Every key of the machine was opened in one view, named by its flag; none stays open.
    for (const FakeRegistry::Call& call : r.Calls)
        if (call.Function == FakeRegistry::Fn::OpenKey && call.Root == kHklm) {
            const uint32_t view = call.Access & (kKeyWow64_32Key | kKeyWow64_64Key);
            EXPECT_TRUE(view == kKeyWow64_32Key || view == kKeyWow64_64Key) << call.Path;
            EXPECT_EQ(call.Path.find("Wow6432Node"), std::string::npos) << call.Path;
        }
    EXPECT_EQ(r.OpenKeyCount(), 0u);
}

} // namespace
