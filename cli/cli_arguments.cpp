#include "cli_arguments.h"

namespace {

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h" || arg == "/?";
}

CliArguments Failed(UsageError error, const std::string& offending) {
    CliArguments result;
    result.Error = error;
    result.Offending = offending;
    return result;
}

} // namespace

CliArguments ParseArguments(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        if (IsHelp(arg))
            return {};
    if (args.empty())
        return Failed(UsageError::NoCommand, {});

    CliArguments result;
    if (args[0] == "report")
        result.Command = CliCommand::Report;
    else if (args[0] == "repair")
        result.Command = CliCommand::Repair;
    else
        return Failed(UsageError::UnknownArgument, args[0]);

    const std::string outPrefix = "--out=";
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (result.Command != CliCommand::Report)
            return Failed(UsageError::UnknownArgument, arg);
        if (arg == "--json") {
            result.Json = true;
            continue;
        }
        std::optional<std::string> out;
        if (arg == "--out") {
            // An option in its place means the file was forgotten ("--out --json" must not write
            // a file named "--json"); such a name can still be given as "--out=--json".
            if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].rfind("--", 0) == 0)
                return Failed(UsageError::MissingValue, "--out");
            out = args[++i];
        } else if (arg.rfind(outPrefix, 0) == 0) {
            if (arg.size() == outPrefix.size())
                return Failed(UsageError::MissingValue, "--out");
            out = arg.substr(outPrefix.size());
        } else {
            return Failed(UsageError::UnknownArgument, arg);
        }
        if (result.OutFile)
            return Failed(UsageError::RepeatedOption, "--out");
        result.OutFile = out;
    }
    return result;
}
