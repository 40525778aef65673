// --event-log: one event per run, its id and level fixed by the outcome, the summary and every
// failure as its inserts; the run's result never depends on the log.
#include "cli/event_log.h"
#include "cli/exit_codes.h"
#include "cli_fixture.h"

namespace {

class RecordingEventLog : public IEventLog {
public:
    std::vector<RunEvent> Events;
    bool Refuses = false;
    bool Write(const RunEvent& event) override {
        Events.push_back(event);
        return !Refuses;
    }
};

struct EventCase {
    const char* Name;
    std::vector<std::string> Args;
    void (*Lay)(ScriptedSystem&);
    int Exit;
    uint32_t Id;
    EventLevel Level;
    std::string SummaryStart; // the summary line begins so
    std::string Details;
};

std::ostream& operator<<(std::ostream& os, const EventCase& c) {
    return os << c.Name;
}

void UpToDate(ScriptedSystem& s) {
    s.SetMdac("2.81.1117.0");
    s.AllPresent();
}

void OldJetAndAProviderFails(ScriptedSystem& s) {
    UpToDate(s);
    s.Place(28, 4, 0, 2927, 4);
    s.Place(17, 2, 79, 1);
    s.providers.States = {{"ADODB.Connection", ProviderState::NotCreated}};
}

void TwoLibrariesFail(ScriptedSystem& s) {
    UpToDate(s);
    s.Place(2, 2, 81, 1117, 0, FakeLibraryApi::Kind::Registering,
            static_cast<int32_t>(0x80070005u));
    s.Place(5, 2, 81, 1117, 0, FakeLibraryApi::Kind::LoadFails);
}

// The user stops the repair after its third line.
void StoppedAfterThreeLibraries(ScriptedSystem& s) {
    UpToDate(s);
    s.host.StopAfterWrites = 3;
}

// A 32-bit program on a Windows with no database engine registered.
void AProgramWithoutJet(ScriptedSystem& s) {
    UpToDate(s);
    s.files.Images[{"C:\\app.exe", Bitness::Bits32}] = {.Kind = ImageKind::Native,
                                                        .Machine = kMachineI386};
}

class RunEvents : public ::testing::TestWithParam<EventCase> {};

TEST_P(RunEvents, OneEventWithTheOutcomesIdLevelAndInserts) {
    const EventCase& c = GetParam();
    ScriptedSystem s;
    RecordingEventLog log;
    s.platform.EventLog = &log;
    s.registry.SetStringValue(kHkeyLocalMachine, kEventSourceKey, "EventMessageFile", "x.exe");
    c.Lay(s);
    EXPECT_EQ(s.Run(c.Args), c.Exit);
    ASSERT_EQ(log.Events.size(), 1u);
    const RunEvent& e = log.Events[0];
    EXPECT_EQ(e.Id, c.Id);
    EXPECT_EQ(e.Level, c.Level);
    ASSERT_EQ(e.Inserts.size(), 2u);
    EXPECT_EQ(e.Inserts[0].substr(0, c.SummaryStart.size()), c.SummaryStart);
    EXPECT_EQ(e.Inserts[1], c.Details);
    EXPECT_EQ(s.host.Err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RunEvents,
    ::testing::Values(
        EventCase{.Name = "AllWell",
                  .Args = {"report", "--event-log"},
                  .Lay = UpToDate,
                  .Exit = kExitOk,
                  .Id = 1000,
                  .Level = EventLevel::Information,
                  .SummaryStart = "Up to date: MDAC 2.81.1117.0, Jet 4.0.8015",
                  .Details = ""},
        EventCase{
            .Name = "NeedsAttention",
            .Args = {"report", "--json", "--event-log"},
            .Lay = OldJetAndAProviderFails,
            .Exit = kExitAttention,
            .Id = 1001,
            .Level = EventLevel::Warning,
            .SummaryStart = "Needs attention: Jet 4.0.2927 is out of date; files that differ: "
                            "OLEDB32.DLL; data providers that don't work: ADODB.Connection "
                            "(cannot be created: the class is not registered (0x80040154))",
            .Details = "Jet 4.0.2927 is out of date\nfiles that differ: OLEDB32.DLL\n"
                       "data providers that don't work: ADODB.Connection (cannot be "
                       "created: the class is not registered (0x80040154))"},
        EventCase{.Name = "Repaired",
                  .Args = {"repair", "--event-log"},
                  .Lay = UpToDate,
                  .Exit = kExitOk,
                  .Id = 1002,
                  .Level = EventLevel::Information,
                  .SummaryStart = "Repaired: 24 libraries registered",
                  .Details = ""},
        EventCase{
            .Name = "RepairFailed",
            .Args = {"repair", "--event-log", "--summary"},
            .Lay = TwoLibrariesFail,
            .Exit = kExitAttention,
            .Id = 1003,
            .Level = EventLevel::Error,
            .SummaryStart = "Repair failed: libraries not registered: MSADOR15.DLL (access denied "
                            "(0x80070005)), MSADOMD.dll (library not found: the file or a "
                            "library it needs is missing (126))",
            .Details = "libraries not registered: MSADOR15.DLL (access denied "
                       "(0x80070005)), MSADOMD.dll (library not found: the file or a "
                       "library it needs is missing (126))"},
        EventCase{.Name = "RepairInterrupted",
                  .Args = {"repair", "--event-log"},
                  .Lay = StoppedAfterThreeLibraries,
                  .Exit = kExitAttention,
                  .Id = 1003,
                  .Level = EventLevel::Error,
                  .SummaryStart = "Repair interrupted: ",
                  .Details = ""},
        EventCase{.Name = "ProgramCannotOpen",
                  .Args = {"report", "--program", "C:\\app.exe", "--needs", "mdb", "--event-log"},
                  .Lay = AProgramWithoutJet,
                  .Exit = kExitAttention,
                  .Id = 1004,
                  .Level = EventLevel::Warning,
                  .SummaryStart = "Program: C:\\app.exe This program runs as 32-bit. It cannot "
                                  "open .mdb files: Nothing for it is installed for 32-bit "
                                  "programs.",
                  .Details = ""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RunEvent, NothingWithoutTheOptionAndTheResultStandsWhateverTheLogDoes) {
    ScriptedSystem s;
    RecordingEventLog log;
    s.platform.EventLog = &log;
    UpToDate(s);
    EXPECT_EQ(s.Run({"report", "--summary"}), kExitOk);
    EXPECT_TRUE(log.Events.empty());

    // No source registered: the event is still written, and the run says once how to fix it.
    EXPECT_EQ(s.Run({"report", "--summary", "--event-log"}), kExitOk);
    EXPECT_EQ(log.Events.size(), 1u);
    EXPECT_EQ(s.host.Err, s.T(345) + "\n");
    EXPECT_NE(s.host.Err.find("quendry-cli install"), std::string::npos);

    s.host.Err.clear();
    s.host.Out.clear();
    log.Refuses = true;
    s.registry.SetStringValue(kHkeyLocalMachine, kEventSourceKey, "EventMessageFile", "x.exe");
    EXPECT_EQ(s.Run({"report", "--summary", "--event-log"}), kExitOk);
    EXPECT_EQ(s.host.Out, "Up to date: MDAC 2.81.1117.0, Jet 4.0.8015\n");
    EXPECT_EQ(s.host.Err, s.T(346) + "\n");
}

} // namespace
