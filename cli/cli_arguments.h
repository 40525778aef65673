#pragma once
// The console companion's command line: `report [--json] [--out FILE]`, `repair`, `--help`.
#include <optional>
#include <string>
#include <vector>

enum class CliCommand { Help, Report, Repair };

enum class UsageError {
    None,
    NoCommand,       // nothing on the command line
    UnknownArgument, // a word that is no command, or an option the command doesn't take
    MissingValue,    // --out without a file name
    RepeatedOption,  // --out given twice
};

struct CliArguments {
    CliCommand Command = CliCommand::Help;
    bool Json = false;
    std::optional<std::string> OutFile;
    UsageError Error = UsageError::None;
    std::string Offending; // the argument the error is about
};

// Reads the arguments after the program's name. "--help", "-h" and "/?" anywhere ask for help;
// anything else that is wrong gives a usage error naming the first offending argument. "--json"
// may be repeated; "--out FILE" and "--out=FILE" name the report's file.
CliArguments ParseArguments(const std::vector<std::string>& args);
