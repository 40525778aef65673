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
    else if (args[0] == "install")
        result.Command = CliCommand::Install;
    else if (args[0] == "uninstall")
        result.Command = CliCommand::Uninstall;
    else
        return Failed(UsageError::UnknownArgument, args[0]);

    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (result.Command == CliCommand::Install || result.Command == CliCommand::Uninstall)
            return Failed(UsageError::UnknownArgument, arg);
        if (arg == "--summary" || arg == "--event-log") {
            (arg == "--summary" ? result.Summary : result.EventLog) = true;
            continue;
        }
        if (result.Command != CliCommand::Report)
            return Failed(UsageError::UnknownArgument, arg);
        if (arg == "--json") {
            result.Json = true;
            continue;
        }
        std::optional<std::string>* target = nullptr;
        std::string option;
        for (const auto& [name, slot] : {std::pair{"--out", &result.OutFile},
                                         {"--program", &result.Program},
                                         {"--needs", &result.Needs}})
            if (arg == name || arg.rfind(std::string(name) + "=", 0) == 0) {
                option = name;
                target = slot;
            }
        if (target == nullptr)
            return Failed(UsageError::UnknownArgument, arg);
        std::optional<std::string> value;
        if (arg == option) {
            // An option in its place means the value was forgotten ("--out --json" must not
            // write a file named "--json"); such a name can still be given as "--out=--json".
            if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].rfind("--", 0) == 0)
                return option == "--needs" ? Failed(UsageError::BadNeeds, "")
                                           : Failed(UsageError::MissingValue, option);
            value = args[++i];
        } else {
            if (arg.size() == option.size() + 1)
                return option == "--needs" ? Failed(UsageError::BadNeeds, "")
                                           : Failed(UsageError::MissingValue, option);
            value = arg.substr(option.size() + 1);
        }
        if (target->has_value())
            return Failed(UsageError::RepeatedOption, option);
        *target = value;
    }
    if (result.Summary && (result.Json || result.Program))
        return Failed(UsageError::Excluded, result.Json ? "--json" : "--program");
    if (result.Needs) {
        if (!NeedsKind(*result.Needs))
            return Failed(UsageError::BadNeeds, *result.Needs);
        if (!result.Program)
            return Failed(UsageError::NeedsProgram, "--needs");
    }
    return result;
}

std::optional<FileKind> NeedsKind(const std::string& value) {
    for (FileKind kind : kFileKinds)
        if (value == FileKindName(kind))
            return kind;
    return std::nullopt;
}
