#include "cli_run.h"

#include <exception>

#include "bitness/answer_text.h"
#include "bitness/bitness_texts.h"
#include "bitness/program_answer.h"
#include "cli_arguments.h"
#include "cli_texts.h"
#include "console_text.h"
#include "exit_codes.h"
#include "install.h"
#include "repair/registration_report.h"
#include "repair_run.h"
#include "report_json.h"
#include "report_text.h"
#include "run_summary.h"
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
    case UsageError::BadNeeds:
        return modAPI::printf(LoadText(bitness_text::kBadNeeds, lang), {a.Offending});
    case UsageError::NeedsProgram:
        return LoadText(bitness_text::kNeedsWithoutProgram, lang);
    case UsageError::Excluded:
        return Fill(kExcludeEachOther, a.Offending, lang);
    }
    return {};
}

// To the console, or to the file --out names. False when the file can't be written.
bool Emit(const CliArguments& a, CliPlatform& p, const std::string& text, Language lang) {
    if (!a.OutFile) {
        p.Host.WriteOut(text);
        return true;
    }
    // A file for Windows: its own line ends, and for the text the mark that makes Notepad read
    // it as UTF-8 (JSON must not start with one).
    const std::string bytes =
        (a.Json ? std::string() : std::string(kUtf8Bom)) + WithCarriageReturns(text);
    if (p.Host.WriteFileBytes(*a.OutFile, bytes))
        return true;
    p.Host.WriteErr(Fill(cli_text::kFileNotWritten, *a.OutFile, lang) + "\n");
    return false;
}

// --event-log: the run's one event. What the log says of it goes to the error stream; the run's
// output and exit code stay as they are.
void LogRun(const CliArguments& a, CliPlatform& p, uint32_t id, const RunOutcome& run) {
    if (!a.EventLog || p.EventLog == nullptr)
        return;
    const std::string said = WriteRunEvent(*p.EventLog, p.Registry, EventFor(id, run), run.Lang);
    if (!said.empty())
        p.Host.WriteErr(said);
}

// The program's answer as the outcome of a run: its lines made one.
RunOutcome ProgramOutcome(const std::string& answerText, Language lang) {
    std::string line;
    for (char c : answerText)
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return {.Outcome = line, .Parts = {}, .Lang = lang};
}

// The answer for the program --program names; with --needs, whether it can open that kind.
int ProgramReport(const CliArguments& a, CliPlatform& p, const SystemReport& report) {
    const DataAccessReport& d = report.DataAccess;
    const bool windows64 = d.Facts.Windows64;
    // The file the person named, as it is: a path under System32 names a 64-bit program.
    const ProbedFile file =
        p.Files.Probe(*a.Program, windows64 ? Bitness::Bits64 : Bitness::Bits32);
    const ProgramAnswer program = AnswerProgram(file, windows64);
    const BitnessAnswer* answer = AnswerFor(program, d.Answers);
    const std::string answerText =
        ProgramAnswerText(*a.Program, program, answer, windows64, report.Lang);
    const std::string text = a.Json ? ProgramJson(*a.Program, program, answer) : answerText;
    if (!Emit(a, p, text, report.Lang) || answer == nullptr)
        return kExitUsage;
    const bool can = !a.Needs || CanOpen(*answer, *NeedsKind(*a.Needs));
    LogRun(a, p, can ? event_id::kAllWell : event_id::kCannotOpen,
           ProgramOutcome(answerText, report.Lang));
    return can ? kExitOk : kExitAttention;
}

int Report(const CliArguments& a, CliPlatform& p) {
    SystemReport report = BuildSystemReport(p.System, p.Registry, p.Versions);
    // The classes are created where registrations run: in a host, as this user.
    p.System.CoInitializeApartment();
    report.DataAccess =
        ReadDataAccess(p.Registry, p.Files, p.Machine, p.Providers, Creating::Engine);
    report.Providers = CheckProviders(p.Providers, p.Libraries, report.Lang);
    AnswerDataAccess(report.DataAccess, report.Providers);
    if (a.Program)
        return ProgramReport(a, p, report);
    std::string text;
    if (a.Summary)
        text = SummaryLine(ReportOutcome(report)) + "\n";
    else if (a.Json)
        text = ReportJson(report);
    else
        text = ReportText(report) + "\n" +
               DatabaseAnswerText(report.DataAccess.Facts, report.DataAccess.Answers, report.Lang);
    if (!Emit(a, p, text, report.Lang))
        return kExitUsage;
    const int code = ReportExitCode(report);
    LogRun(a, p, code == kExitOk ? event_id::kAllWell : event_id::kNeedsAttention,
           ReportOutcome(report));
    return code;
}

int Repair(const CliArguments& a, CliPlatform& p, Language lang) {
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
    // With --summary the lines are left out: the summary names every failure.
    const auto write = [&](const std::string& text) {
        if (!a.Summary)
            p.Host.WriteOut(text);
    };
    const RepairCounts counts = RunRepair(p.Libraries, p.Registrar, table, lang, write,
                                          [&] { return p.Host.StopRequested(); });
    write("\n" + Fill(cli_text::kFailedCount, std::to_string(counts.Failed), lang) + "\n");
    if (counts.NotAttempted > 0 || p.Host.StopRequested()) {
        // The user is waiting for it to end: the providers are not checked on top.
        write(Fill(cli_text::kInterrupted, std::to_string(counts.NotAttempted), lang) + "\n");
        const RunOutcome run = RepairOutcome(counts, nullptr, lang);
        if (a.Summary)
            p.Host.WriteOut(SummaryLine(run) + "\n");
        LogRun(a, p, event_id::kRepairFailed, run);
        return kExitAttention;
    }
    // Does it work now?
    const std::vector<ReportedProvider> providers = CheckProviders(p.Providers, p.Libraries, lang);
    write("\n" + ProviderLines(providers, lang));
    const RunOutcome run = RepairOutcome(counts, &providers, lang);
    if (a.Summary)
        p.Host.WriteOut(SummaryLine(run) + "\n");
    LogRun(a, p, counts.Failed == 0 ? event_id::kRepaired : event_id::kRepairFailed, run);
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
            return Repair(a, p, lang);
        case CliCommand::Install:
            return Install(p, lang);
        case CliCommand::Uninstall:
            return Uninstall(p, lang);
        }
    } catch (const std::exception& e) {
        // RaisedError among them: its description is what() gives.
        p.Host.WriteErr(Fill(cli_text::kInternalError, e.what(), lang) + "\n");
    } catch (...) {
        p.Host.WriteErr(Fill(cli_text::kInternalError, "", lang) + "\n");
    }
    return kExitAttention;
}
