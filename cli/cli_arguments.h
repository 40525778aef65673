#pragma once
// The console companion's command line: `report [--json | --summary] [--out FILE] [--program PATH
// [--needs mdb|accdb|xls|xlsx]] [--event-log]`, `repair [--summary] [--event-log]`, `install`,
// `uninstall`, `--help`.
#include <optional>
#include <string>
#include <vector>

#include "bitness/data_access_inventory.h"

enum class CliCommand { Help, Report, Repair, Install, Uninstall };

enum class UsageError {
    None,
    NoCommand,       // nothing on the command line
    UnknownArgument, // a word that is no command, or an option the command doesn't take
    MissingValue,    // --out without a file name
    RepeatedOption,  // --out given twice
    BadNeeds,        // --needs with no file kind it knows
    NeedsProgram,    // --needs without --program
    Excluded,        // --summary with --json or --program
};

struct CliArguments {
    CliCommand Command = CliCommand::Help;
    bool Json = false;
    std::optional<std::string> OutFile;
    std::optional<std::string> Program; // --program PATH: the answer for that program alone
    std::optional<std::string> Needs;   // --needs: "mdb", "accdb", "xls" or "xlsx"
    bool Summary = false;               // --summary: the run in one line
    bool EventLog = false;              // --event-log: one event in the Application log
    UsageError Error = UsageError::None;
    std::string Offending; // the argument the error is about
};

// Reads the arguments after the program's name. "--help", "-h" and "/?" anywhere ask for help;
// anything else that is wrong gives a usage error naming the first offending argument. "--json"
// may be repeated; "--out FILE" and "--out=FILE" name the report's file; "--program" and
// "--needs" take their value the same two ways. "--summary" goes with both commands, but neither
// with "--json" nor with "--program"; "--event-log" goes with both.
CliArguments ParseArguments(const std::vector<std::string>& args);

// The file kind "--needs" names; nothing for any other word.
std::optional<FileKind> NeedsKind(const std::string& value);
