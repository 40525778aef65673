#include "repair_run.h"

#include <algorithm>

#include "cli_texts.h"
#include "repair/registration_report.h"
#include "text/printf.h"
#include "text/string_table.h"
#include "text/utf8.h"

namespace {

// The table's file name: the outcome names a missing file by the text that stands for its path.
std::string NameColumn(const ComponentFile& file, size_t nameWidth) {
    const size_t width = Utf8CharCount(file.sFileName);
    return file.sFileName + std::string(std::max(nameWidth, width) - width + 2, ' ');
}

} // namespace

std::string RepairLine(ILibraryApi& libraries, const ComponentFile& file, const EntryResult& result,
                       Language lang, size_t nameWidth) {
    using namespace cli_text;
    std::string state;
    switch (result.Action) {
    case EntryAction::Registered:
        state = LoadText(kRegistered, lang);
        break;
    case EntryAction::Skipped:
        state = LoadText(kSkipped, lang);
        break;
    case EntryAction::NotPresent:
        state = LoadText(kNotPresent, lang);
        break;
    case EntryAction::Failed:
        state = modAPI::printf(LoadText(kFailed, lang),
                               {RegistrationFailureReason(libraries, result.Outcome, lang)});
        break;
    }
    return NameColumn(file, nameWidth) + state;
}

RepairCounts RunRepair(ILibraryApi& libraries, IRegistrar& registrar, const ComponentTable& table,
                       Language lang, const std::function<void(const std::string&)>& writeLine,
                       const std::function<bool()>& stopRequested) {
    size_t nameWidth = 0;
    for (const ComponentFile& file : table)
        nameWidth = std::max(nameWidth, Utf8CharCount(file.sFileName));

    RepairCounts counts;
    bool stopped = false;
    for (const ComponentFile& file : table) {
        stopped = stopped || stopRequested();
        // A library the repair never registers keeps its own line: nothing was left undone there.
        if (stopped && !file.bNoRegister) {
            ++counts.NotAttempted;
            writeLine(NameColumn(file, nameWidth) + LoadText(cli_text::kNotAttempted, lang) + "\n");
            continue;
        }
        const EntryResult result = RepairEntry(libraries, registrar, file);
        switch (result.Action) {
        case EntryAction::Registered:
            ++counts.Registered;
            break;
        case EntryAction::Skipped:
            ++counts.Skipped;
            break;
        case EntryAction::NotPresent:
            ++counts.NotPresent;
            break;
        case EntryAction::Failed:
            ++counts.Failed;
            counts.Failures.push_back(file.sFileName + " (" +
                                      RegistrationFailureReason(libraries, result.Outcome, lang) +
                                      ")");
            break;
        }
        writeLine(RepairLine(libraries, file, result, lang, nameWidth) + "\n");
    }
    return counts;
}
