// The per-bitness answer: what the inventory found, and the one remedy for each "no".
#include <gtest/gtest.h>

#include "bitness/answer_text.h"
#include "bitness/database_answer.h"

namespace {

constexpr const char* kJet = "Microsoft.Jet.OLEDB.4.0";
constexpr const char* kAce16 = "Microsoft.ACE.OLEDB.16.0";
constexpr const char* kJetDriver = "Microsoft Access Driver (*.mdb)";
constexpr const char* kAceDriver = "Microsoft Access Driver (*.mdb, *.accdb)";

OleDbProvider Provider(const char* progId, ComponentState state = ComponentState::Present,
                       std::optional<int32_t> created = std::nullopt) {
    return {.ProgId = progId,
            .Clsid = "{0}",
            .Library = {.Path = "x.dll", .State = state},
            .Created = created};
}

OdbcDriver Driver(const char* name, Engine family, std::vector<FileKind> serves) {
    return {.Name = name,
            .Family = family,
            .Serves = std::move(serves),
            .Library = {.Path = "x.dll", .State = ComponentState::Present}};
}

OdbcDriver JetDriver() {
    return Driver(kJetDriver, Engine::Jet, {FileKind::Mdb});
}
OdbcDriver AceDriver() {
    return Driver(kAceDriver, Engine::Ace, {FileKind::Mdb, FileKind::Accdb});
}

DataSource Source(const char* name, const char* driver, bool system, Bitness view, bool in32,
                  bool in64) {
    return {.Name = name,
            .Driver = driver,
            .System = system,
            .View = view,
            .DriverIn32 = in32,
            .DriverIn64 = in64};
}

Inventory Machine(ViewInventory v32, ViewInventory v64, OfficeInstall office = {}) {
    v32.View = Bitness::Bits32;
    v64.View = Bitness::Bits64;
    return {.Windows64 = true, .Views = {v32, v64}, .UserAccount = "PC\\anna", .Office = office};
}

// Jet as Windows brings it: created in the host, and its ODBC driver.
ViewInventory WindowsJet() {
    return {.Providers = {Provider(kJet, ComponentState::Present, 0)}, .Drivers = {JetDriver()}};
}

struct Situation {
    const char* Name;
    Inventory Facts;
    Bitness Program;
    FileKind Kind;
    AccessApi Api = AccessApi::OleDb;
    const char* SourceName = nullptr; // a data source's answer instead of the file's
    bool Yes = false;
    std::string Via = {};
    Closed Why = Closed::Open;
    Remedy Fix = Remedy::None;
};

const Route& RouteOf(const std::vector<BitnessAnswer>& answers, const Situation& s) {
    for (const BitnessAnswer& a : answers) {
        if (a.Program != s.Program)
            continue;
        if (s.SourceName != nullptr)
            for (const SourceAnswer& src : a.Sources)
                if (src.Source.Name == s.SourceName)
                    return src.Use;
        for (const FileAnswer& f : a.Files)
            if (f.Kind == s.Kind && s.SourceName == nullptr)
                return s.Api == AccessApi::OleDb ? f.OleDb : f.Odbc;
    }
    static const Route none{.Via = "(no such answer)"};
    return none;
}

class Answer : public testing::TestWithParam<Situation> {};

TEST_P(Answer, HasTheRemedyThatFits) {
    const Situation& s = GetParam();
    const std::vector<BitnessAnswer> answers = AnswerDatabases(s.Facts);
    const Route& r = RouteOf(answers, s);
    EXPECT_EQ(r.Yes, s.Yes);
    EXPECT_EQ(r.Via, s.Via);
    EXPECT_EQ(r.Why, s.Why);
    EXPECT_EQ(r.Fix, s.Fix);
}

const OfficeInstall kOffice32{.Found = true, .Bits = Bitness::Bits32, .Version = "16.0"};
const OfficeInstall kClickToRun64{.Found = true,
                                  .ClickToRun = true,
                                  .Bits = Bitness::Bits64,
                                  .Version = "16.0.11929.20300",
                                  .Products = "O365ProPlusRetail",
                                  .AceOnlyInClickToRun = {kAce16}};
OfficeInstall Volume(OfficeInstall office) {
    office.Products = "ProPlus2019Volume";
    office.Volume = true;
    return office;
}

INSTANTIATE_TEST_SUITE_P(
    Situations, Answer,
    testing::Values(
        Situation{.Name = "JetFor32BitWasCreated",
                  .Facts = Machine(WindowsJet(), {}),
                  .Program = Bitness::Bits32,
                  .Kind = FileKind::Mdb,
                  .Yes = true,
                  .Via = kJet},
        Situation{.Name = "SixtyFourBitProgramAskingForJet",
                  .Facts = Machine(WindowsJet(), {}),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Mdb,
                  .Why = Closed::OtherBitness,
                  .Fix = Remedy::RunAs32Bit},
        Situation{.Name = "JetOdbcFor64Bit",
                  .Facts = Machine(WindowsJet(), {}),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Xls,
                  .Api = AccessApi::Odbc,
                  .Why = Closed::NothingInstalled, // the Jet driver here serves .mdb only
                  .Fix = Remedy::InstallEngine},
        Situation{.Name = "AccdbWithoutEngineOrOffice",
                  .Facts = Machine(WindowsJet(), {}),
                  .Program = Bitness::Bits32,
                  .Kind = FileKind::Accdb,
                  .Why = Closed::NothingInstalled,
                  .Fix = Remedy::InstallEngine},
        Situation{.Name = "EngineOnly32BitBesides32BitOffice",
                  .Facts = Machine({.Providers = {Provider(kAce16)}}, {}, kOffice32),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Accdb,
                  .Why = Closed::OtherBitness,
                  .Fix = Remedy::RunAs32Bit},
        Situation{.Name = "EngineOnly64BitFor32BitProgram",
                  .Facts = Machine(WindowsJet(), {.Providers = {Provider(kAce16)}}),
                  .Program = Bitness::Bits32,
                  .Kind = FileKind::Xlsx,
                  .Why = Closed::OtherBitness,
                  .Fix = Remedy::Use64BitProgram},
        Situation{.Name = "Office32BitWithoutEngine",
                  .Facts = Machine(WindowsJet(), {}, kOffice32),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Accdb,
                  .Why = Closed::NothingInstalled,
                  .Fix = Remedy::RunAs32Bit},
        Situation{.Name = "EngineOnlyInsideClickToRun",
                  .Facts = Machine(WindowsJet(), {}, kClickToRun64),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Accdb,
                  .Why = Closed::OnlyClickToRun,
                  .Fix = Remedy::UpdateOffice},
        Situation{.Name = "EngineOnlyInsideVolumeClickToRun",
                  .Facts = Machine(WindowsJet(), {}, Volume(kClickToRun64)),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Accdb,
                  .Api = AccessApi::Odbc,
                  .Why = Closed::OnlyClickToRun,
                  .Fix = Remedy::InstallRuntime2013},
        Situation{
            .Name = "Engine64BitNamesA32BitFile",
            .Facts = Machine({}, {.Providers = {Provider(kAce16, ComponentState::WrongMachine)}}),
            .Program = Bitness::Bits64,
            .Kind = FileKind::Accdb,
            .Via = kAce16,
            .Why = Closed::WrongMachine,
            .Fix = Remedy::ReinstallEngine},
        Situation{
            .Name = "EngineFileThisAccountCannotRead",
            .Facts = Machine({.Providers = {Provider(kAce16, ComponentState::Unreadable)}}, {}),
            .Program = Bitness::Bits32,
            .Kind = FileKind::Xlsx,
            .Via = kAce16,
            .Why = Closed::Unreadable,
            .Fix = Remedy::ReinstallEngine},
        Situation{.Name = "JetIn64BitViewNamesA32BitFile",
                  .Facts = Machine(WindowsJet(),
                                   {.Providers = {Provider(kJet, ComponentState::WrongMachine)}}),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Mdb,
                  .Via = kJet,
                  .Why = Closed::WrongMachine,
                  .Fix = Remedy::RunAs32Bit},
        Situation{.Name = "JetRegisteredButNotCreated",
                  .Facts = Machine({.Providers = {Provider(kJet, ComponentState::Present,
                                                           static_cast<int32_t>(0x80040154u))}},
                                   {}),
                  .Program = Bitness::Bits32,
                  .Kind = FileKind::Mdb,
                  .Via = kJet,
                  .Why = Closed::NotCreated,
                  .Fix = Remedy::RepairJet},
        Situation{.Name = "NothingInstalledAt32Bit",
                  .Facts = Machine({}, {}),
                  .Program = Bitness::Bits32,
                  .Kind = FileKind::Mdb,
                  .Api = AccessApi::Odbc,
                  .Why = Closed::NothingInstalled,
                  .Fix = Remedy::RepairJet},
        Situation{.Name = "SystemSourceWhoseDriverIs32BitOnly",
                  .Facts = Machine({.Drivers = {JetDriver()},
                                    .SystemSources = {Source("Orders", kJetDriver, true,
                                                             Bitness::Bits32, true, false)}},
                                   {}),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Mdb,
                  .SourceName = "Orders",
                  .Via = kJetDriver,
                  .Why = Closed::SourceInOtherView,
                  .Fix = Remedy::RunAs32Bit},
        Situation{.Name = "SystemSourceOfTheOtherViewWithDriverHere",
                  .Facts = Machine({.Drivers = {AceDriver()},
                                    .SystemSources = {Source("Stock", kAceDriver, true,
                                                             Bitness::Bits32, true, true)}},
                                   {.Drivers = {AceDriver()}}),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Mdb,
                  .SourceName = "Stock",
                  .Via = kAceDriver,
                  .Why = Closed::SourceInOtherView,
                  .Fix = Remedy::OtherAdministrator},
        Situation{.Name = "UserSourceWhoseDriverIs32BitOnly",
                  .Facts =
                      [] {
                          Inventory i = Machine({.Drivers = {JetDriver()}}, {});
                          i.UserSources = {
                              Source("Mine", kJetDriver, false, Bitness::Bits32, true, false)};
                          return i;
                      }(),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Mdb,
                  .SourceName = "Mine",
                  .Via = kJetDriver,
                  .Why = Closed::DriverOtherBitness,
                  .Fix = Remedy::RunAs32Bit},
        Situation{.Name = "UserSourceSeenByBoth",
                  .Facts =
                      [] {
                          Inventory i =
                              Machine({.Drivers = {AceDriver()}}, {.Drivers = {AceDriver()}});
                          i.UserSources = {
                              Source("Shared", kAceDriver, false, Bitness::Bits32, true, true)};
                          return i;
                      }(),
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Mdb,
                  .SourceName = "Shared",
                  .Yes = true,
                  .Via = kAceDriver},
        Situation{.Name = "SourceWhoseDriverIsNowhere",
                  .Facts = Machine({.SystemSources = {Source("Old", "Paradox", true,
                                                             Bitness::Bits32, false, false)}},
                                   {}),
                  .Program = Bitness::Bits32,
                  .Kind = FileKind::Mdb,
                  .SourceName = "Old",
                  .Via = "Paradox",
                  .Why = Closed::DriverNowhere,
                  .Fix = Remedy::InstallDriver},
        Situation{.Name = "ThirtyTwoBitWindowsHasOneAnswer",
                  .Facts = {.Views = {WindowsJet()}},
                  .Program = Bitness::Bits64,
                  .Kind = FileKind::Mdb,
                  .Via = "(no such answer)"}),
    [](const testing::TestParamInfo<Situation>& info) { return std::string(info.param.Name); });

} // namespace

// A provider that is there but gives no object names a well-known result in words, as every
// other reason does.
TEST(AnswerText, ANotCreatedRouteNamesAWellKnownResultInWords) {
    const Route route = {.Via = "Microsoft.Jet.OLEDB.4.0",
                         .Why = Closed::NotCreated,
                         .Status = static_cast<int32_t>(0x80040154u),
                         .Fix = Remedy::RepairJet};
    EXPECT_NE(ClosedText(route, Bitness::Bits32, false, Language::German)
                  .find("(Fehler 0x80040154: die Klasse ist nicht registriert)"),
              std::string::npos);
    const Route unknown = {.Via = "X", .Why = Closed::NotCreated, .Status = 1};
    EXPECT_NE(
        ClosedText(unknown, Bitness::Bits32, false, Language::English).find("(error 0x00000001)"),
        std::string::npos);
}
