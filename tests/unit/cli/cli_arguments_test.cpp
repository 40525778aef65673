// The command line, case by case.
#include <gtest/gtest.h>

#include "cli/cli_arguments.h"

namespace {

struct ArgsCase {
    const char* Name;
    std::vector<std::string> Args;
    CliCommand Command;
    bool Json = false;
    std::optional<std::string> Out = {};
    UsageError Error = UsageError::None;
    std::string Offending = {};
    std::optional<std::string> Program = {};
    std::optional<std::string> Needs = {};
    bool Summary = false;
};

std::ostream& operator<<(std::ostream& os, const ArgsCase& c) {
    return os << c.Name;
}

using C = CliCommand;
using E = UsageError;
const std::optional<std::string> kNone;

const ArgsCase kCases[] = {
    {"Report", {"report"}, C::Report, false, kNone, E::None, ""},
    {"ReportJson", {"report", "--json"}, C::Report, true, kNone, E::None, ""},
    {"ReportJsonTwice", {"report", "--json", "--json"}, C::Report, true, kNone, E::None, ""},
    {"ReportOut", {"report", "--out", "r.txt"}, C::Report, false, "r.txt", E::None, ""},
    {"ReportOutEquals",
     {"report", "--out=C:\\a b\\r.json", "--json"},
     C::Report,
     true,
     "C:\\a b\\r.json",
     E::None,
     ""},
    {"ReportOutThenJson",
     {"report", "--out", "r.json", "--json"},
     C::Report,
     true,
     "r.json",
     E::None,
     ""},
    {"ReportOutDashFileByEquals",
     {"report", "--out=--json"},
     C::Report,
     false,
     "--json",
     E::None,
     ""},
    {"Repair", {"repair"}, C::Repair, false, kNone, E::None, ""},
    {"Help", {"--help"}, C::Help, false, kNone, E::None, ""},
    {"HelpShort", {"-h"}, C::Help, false, kNone, E::None, ""},
    {"HelpWindows", {"/?"}, C::Help, false, kNone, E::None, ""},
    {"HelpAfterCommand", {"report", "--help"}, C::Help, false, kNone, E::None, ""},
    {"HelpWinsOverErrors", {"bogus", "--help"}, C::Help, false, kNone, E::None, ""},
    {"Nothing", {}, C::Help, false, kNone, E::NoCommand, ""},
    {"UnknownCommand", {"status"}, C::Help, false, kNone, E::UnknownArgument, "status"},
    {"CommandsAreCaseSensitive", {"REPORT"}, C::Help, false, kNone, E::UnknownArgument, "REPORT"},
    {"OptionBeforeCommand",
     {"--json", "report"},
     C::Help,
     false,
     kNone,
     E::UnknownArgument,
     "--json"},
    {"UnknownOption", {"report", "--xml"}, C::Help, false, kNone, E::UnknownArgument, "--xml"},
    {"StrayWord", {"report", "extra"}, C::Help, false, kNone, E::UnknownArgument, "extra"},
    {"RepairTakesNoOptions",
     {"repair", "--json"},
     C::Help,
     false,
     kNone,
     E::UnknownArgument,
     "--json"},
    {"TwoCommands", {"repair", "report"}, C::Help, false, kNone, E::UnknownArgument, "report"},
    {"OutWithoutFile", {"report", "--out"}, C::Help, false, kNone, E::MissingValue, "--out"},
    {"OutEmptyFile", {"report", "--out", ""}, C::Help, false, kNone, E::MissingValue, "--out"},
    {"OutEqualsNothing", {"report", "--out="}, C::Help, false, kNone, E::MissingValue, "--out"},
    // A forgotten file name must not turn the next option into one.
    {"OutFollowedByOption",
     {"report", "--out", "--json"},
     C::Help,
     false,
     kNone,
     E::MissingValue,
     "--out"},
    {"OutTwice",
     {"report", "--out", "a", "--out=b"},
     C::Help,
     false,
     kNone,
     E::RepeatedOption,
     "--out"},
    {.Name = "Program",
     .Args = {"report", "--program", "C:\\app.exe"},
     .Command = C::Report,
     .Error = E::None,
     .Program = "C:\\app.exe"},
    {.Name = "ProgramNeedsJson",
     .Args = {"report", "--needs=accdb", "--program=C:\\a b\\app.exe", "--json"},
     .Command = C::Report,
     .Json = true,
     .Error = E::None,
     .Program = "C:\\a b\\app.exe",
     .Needs = "accdb"},
    {.Name = "ProgramWithoutPath",
     .Args = {"report", "--program", "--needs", "mdb"},
     .Command = C::Help,
     .Error = E::MissingValue,
     .Offending = "--program"},
    {.Name = "NeedsUnknownKind",
     .Args = {"report", "--program", "a.exe", "--needs", "dbf"},
     .Command = C::Help,
     .Error = E::BadNeeds,
     .Offending = "dbf"},
    {.Name = "NeedsNothing",
     .Args = {"report", "--program", "a.exe", "--needs"},
     .Command = C::Help,
     .Error = E::BadNeeds},
    {.Name = "NeedsWithoutProgram",
     .Args = {"report", "--needs", "xls"},
     .Command = C::Help,
     .Error = E::NeedsProgram,
     .Offending = "--needs"},
    {.Name = "RepairSummary",
     .Args = {"repair", "--summary"},
     .Command = C::Repair,
     .Summary = true},
    {.Name = "SummaryOut",
     .Args = {"report", "--summary", "--out", "r.txt"},
     .Command = C::Report,
     .Out = "r.txt",
     .Summary = true},
    {.Name = "SummaryWithJson",
     .Args = {"report", "--json", "--summary"},
     .Command = C::Help,
     .Error = E::Excluded,
     .Offending = "--json"},
    {.Name = "SummaryWithProgram",
     .Args = {"report", "--summary", "--program", "a.exe"},
     .Command = C::Help,
     .Error = E::Excluded,
     .Offending = "--program"},
    {.Name = "ProgramTwice",
     .Args = {"report", "--program", "a.exe", "--program=b.exe"},
     .Command = C::Help,
     .Error = E::RepeatedOption,
     .Offending = "--program"},
};

class Arguments : public ::testing::TestWithParam<ArgsCase> {};

TEST_P(Arguments, CommandOptionsOrError) {
    const ArgsCase& c = GetParam();
    const CliArguments a = ParseArguments(c.Args);
    EXPECT_EQ(a.Error, c.Error);
    EXPECT_EQ(a.Offending, c.Offending);
    if (c.Error == E::None) {
        EXPECT_EQ(a.Command, c.Command);
        EXPECT_EQ(a.Json, c.Json);
        EXPECT_EQ(a.OutFile, c.Out);
        EXPECT_EQ(a.Program, c.Program);
        EXPECT_EQ(a.Needs, c.Needs);
        EXPECT_EQ(a.Summary, c.Summary);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Arguments, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
