#include "run_summary.h"

#include <algorithm>

#include "cli_texts.h"
#include "console_text.h"
#include "text/printf.h"
#include "text/string_table.h"
#include "text/utf8.h"

namespace {

constexpr uint16_t kTextNotAvailable = 102;

std::string Fill(uint16_t id, const std::string& value, Language lang) {
    return modAPI::printf(LoadText(id, lang), {value});
}

std::string PartText(const SummaryPart& part, size_t shown, Language lang) {
    if (part.Items.empty())
        return part.Text;
    std::string list;
    for (size_t i = 0; i < shown; ++i)
        list += (i > 0 ? ", " : "") + part.Items[i];
    if (shown < part.Items.size())
        list += (shown > 0 ? ", " : "") +
                Fill(cli_text::kSummaryMore, std::to_string(part.Items.size() - shown), lang);
    return modAPI::printf(part.Text, {list});
}

std::string Render(const std::string& outcome, const std::vector<SummaryPart>& parts,
                   const std::vector<size_t>& shown, Language lang) {
    std::string line = outcome;
    for (size_t i = 0; i < parts.size(); ++i)
        line += (i == 0 ? ": " : "; ") + PartText(parts[i], shown[i], lang);
    // One line, whatever a reason from the system carried.
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    return line;
}

// The first `limit` characters, the last of them an ellipsis.
std::string Cut(const std::string& line, size_t limit) {
    size_t at = 0;
    for (size_t count = 0; at < line.size() && count + 1 < limit; ++count)
        at += Utf8CharLength(line, at);
    return line.substr(0, at) + "\xE2\x80\xA6";
}

std::string VersionOrNone(const std::string& version, Language lang) {
    return version.empty() ? LoadText(kTextNotAvailable, lang) : version;
}

} // namespace

std::string SummaryLine(const RunOutcome& run, size_t limit) {
    const std::string& outcome = run.Outcome;
    const std::vector<SummaryPart>& parts = run.Parts;
    const Language lang = run.Lang;
    std::vector<size_t> shown;
    for (const SummaryPart& part : parts)
        shown.push_back(part.Items.size());
    std::string line = Render(outcome, parts, shown, lang);
    while (Utf8CharCount(line) > limit) {
        // The longest list shown gives way first, one name at a time.
        const auto longest = std::max_element(shown.begin(), shown.end());
        if (longest == shown.end() || *longest == 0)
            return Cut(line, limit);
        --*longest;
        line = Render(outcome, parts, shown, lang);
    }
    return line;
}

std::string DetailLines(const RunOutcome& run) {
    std::string lines;
    for (const SummaryPart& part : run.Parts)
        lines += (lines.empty() ? "" : "\n") + PartText(part, part.Items.size(), run.Lang);
    return lines;
}

RunOutcome ReportOutcome(const SystemReport& r) {
    using namespace cli_text;
    const Language lang = r.Lang;
    const VersionDiagnosis& v = r.Versions;
    if (!NeedsAttention(r))
        return {.Outcome = modAPI::printf(LoadText(kSummaryUpToDate, lang),
                                          {VersionOrNone(v.FullInstallVer, lang), v.JetVersion}),
                .Parts = {},
                .Lang = lang};
    std::vector<SummaryPart> parts;
    if (!v.MdacUpToDate)
        parts.push_back({Fill(kSummaryMdacOld, VersionOrNone(v.FullInstallVer, lang), lang), {}});
    if (!v.JetUpToDate)
        parts.push_back(
            {Fill(kSummaryJetOld,
                  v.JetVersionRead ? v.JetVersion : LoadText(kTextNotAvailable, lang), lang),
             {}});
    SummaryPart differs{LoadText(kSummaryDiffers, lang), {}};
    SummaryPart missing{LoadText(kSummaryMissing, lang), {}};
    for (size_t i = 0; i < r.Components.size(); ++i) {
        const std::optional<FileMark> mark = ComponentMark(r, i);
        if (mark == FileMark::Differs)
            differs.Items.push_back(r.Components[i].sFileName);
        else if (mark == FileMark::Missing)
            missing.Items.push_back(r.Components[i].sFileName);
    }
    SummaryPart providers{LoadText(kSummaryProviders, lang), {}};
    for (const ReportedProvider& p : r.Providers)
        if (p.Check.Essential && p.Check.State != ProviderState::Works)
            providers.Items.push_back(p.Check.ProgId + " (" + p.Reason + ")");
    for (SummaryPart* part : {&differs, &missing, &providers})
        if (!part->Items.empty())
            parts.push_back(*part);
    return {.Outcome = LoadText(kSummaryAttention, lang), .Parts = parts, .Lang = lang};
}

RunOutcome RepairOutcome(const RepairCounts& counts, const std::vector<ReportedProvider>* providers,
                         Language lang) {
    using namespace cli_text;
    std::string outcome;
    if (providers == nullptr) // stopped before they were checked
        outcome = Fill(kSummaryInterrupted, std::to_string(counts.NotAttempted), lang);
    else if (counts.Failed > 0)
        outcome = LoadText(kSummaryRepairFailed, lang);
    else
        outcome = Fill(kSummaryRepaired, std::to_string(counts.Registered), lang);
    std::vector<SummaryPart> parts;
    if (!counts.Failures.empty())
        parts.push_back({LoadText(kSummaryNotRegistered, lang), counts.Failures});
    SummaryPart failing{LoadText(kSummaryProviders, lang), {}};
    if (providers != nullptr)
        for (const ReportedProvider& p : *providers)
            if (p.Check.Essential && p.Check.State != ProviderState::Works)
                failing.Items.push_back(p.Check.ProgId + " (" + p.Reason + ")");
    if (!failing.Items.empty())
        parts.push_back(failing);
    return {.Outcome = outcome, .Parts = parts, .Lang = lang};
}
