#include "cli_run.h"

#include <exception>

#include "cli_arguments.h"
#include "cli_texts.h"
#include "console_text.h"
#include "exit_codes.h"
#include "repair/registration_report.h"
#include "repair_run.h"
#include "report_json.h"
#include "report_text.h"
#include "system_report.h"
#include "text/printf.h"
#include "text/string_table.h"

namespace {

std::string Fill(uint16_t id, const std::string& value, Language lang) {
    return modAPI::printf(LoadText(id, lang), {value});
}

std::string ErrorLine(const CliArguments& a, Language lang) {
    using namespace cli_text;
    switch (a.Error) {
    case UsageError::None:
        return {};
    case UsageError::NoCommand:
        return LoadText(kNoCommand, lang);
    case UsageError::UnknownArgument:
        return Fill(kUnknownArgument, a.Offending, lang);
    case UsageError::MissingValue:
        return Fill(kMissingValue, a.Offending, lang);
    case UsageError::RepeatedOption:
        return Fill(kRepeatedOption, a.Offending, lang);
    }
    return {};
}

int Report(const CliArguments& a, CliPlatform& p) {
    SystemReport report = BuildSystemReport(p.System, p.Registry, p.Versions);
    // The classes are created where registrations run: in a host, as this user.
    p.System.CoInitializeApartment();
    report.Providers = CheckProviders(p.Providers, p.Libraries, report.Lang);
    const std::string text = a.Json ? ReportJson(report) : ReportText(report);
    if (a.OutFile) {
        // A file for Windows: its own line ends, and for the text the mark that makes Notepad
        // read it as UTF-8 (JSON must not start with one).
        const std::string bytes =
            (a.Json ? std::string() : std::string(kUtf8Bom)) + WithCarriageReturns(text);
        if (!p.Host.WriteFileBytes(*a.OutFile, bytes)) {
            p.Host.WriteErr(Fill(cli_text::kFileNotWritten, *a.OutFile, report.Lang) + "\n");
            return kExitUsage;
        }
    } else {
        p.Host.WriteOut(text);
    }
    return ReportExitCode(report);
}

int Repair(CliPlatform& p, Language lang) {
    // Before anything is read or loaded: without the rights every registration would fail.
    if (!p.Host.IsElevated()) {
        p.Host.WriteErr(LoadText(cli_text::kNotElevated, lang) + "\n");
        return kExitNotElevated;
    }
    // A registration cut off halfway leaves a library half registered: from here on a stop waits
    // for the library in work.
    p.Host.CatchStop();
    // Component libraries expect their host's thread to be a single-threaded apartment.
    p.System.CoInitializeApartment();
    // The registration host comes up while the table is read.
    p.Registrar.Prepare();
    const ComponentTable table =
        ReadComponentTable(p.System, p.Versions, SystemDirectoryOf(p.System), lang);
    const RepairCounts counts = RunRepair(
        p.Libraries, p.Registrar, table, lang,
        [&](const std::string& line) { p.Host.WriteOut(line); },
        [&] { return p.Host.StopRequested(); });
    p.Host.WriteOut("\n" + Fill(cli_text::kFailedCount, std::to_string(counts.Failed), lang) +
                    "\n");
    if (counts.NotAttempted > 0 || p.Host.StopRequested()) {
        // The user is waiting for it to end: the providers are not checked on top.
        p.Host.WriteOut(Fill(cli_text::kInterrupted, std::to_string(counts.NotAttempted), lang) +
                        "\n");
        return kExitAttention;
    }
    // Does it work now?
    p.Host.WriteOut("\n" + ProviderLines(CheckProviders(p.Providers, p.Libraries, lang), lang));
    return counts.Failed == 0 ? kExitOk : kExitAttention;
}

} // namespace

std::string UsageText(const std::vector<std::string>& args, Language lang) {
    const std::string error = ErrorLine(ParseArguments(args), lang);
    return (error.empty() ? std::string() : error + "\n\n") + LoadText(cli_text::kUsage, lang);
}

int RunCli(const std::vector<std::string>& args, CliPlatform& p) {
    Language lang = Language::English;
    try {
        lang = UserLanguageOf(p.System);
        const CliArguments a = ParseArguments(args);
        if (a.Error != UsageError::None) {
            p.Host.WriteErr(UsageText(args, lang));
            return kExitUsage;
        }
        switch (a.Command) {
        case CliCommand::Help:
            p.Host.WriteOut(UsageText(args, lang));
            return kExitUsage;
        case CliCommand::Report:
            return Report(a, p);
        case CliCommand::Repair:
            return Repair(p, lang);
        }
    } catch (const std::exception& e) {
        // RaisedError among them: its description is what() gives.
        p.Host.WriteErr(Fill(cli_text::kInternalError, e.what(), lang) + "\n");
    } catch (...) {
        p.Host.WriteErr(Fill(cli_text::kInternalError, "", lang) + "\n");
    }
    return kExitAttention;
}
