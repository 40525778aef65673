#include "bench/bench_figures.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Format(const char* format, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

std::string Ms(double ms) {
    return ms >= 1000 ? Format("%.3f s", ms / 1000) : Format("%.2f ms", ms);
}

std::string Mb(double bytes) {
    return Format("%.1f MB", bytes / (1024.0 * 1024.0));
}

std::string Kb(uint64_t bytes) {
    return std::to_string((bytes + 1023) / 1024) + " KB";
}

const char* Verdict(bool met) {
    return met ? "pass" : "MISS";
}

struct Row {
    std::string Figure, Quendry, Baseline, Ratio, Goal, Result;
};

std::string Pad(const std::string& s, size_t width) {
    return s.size() >= width ? s + " " : s + std::string(width - s.size(), ' ');
}

std::string Line(const Row& r) {
    std::string line = Pad(r.Figure, 48) + Pad(r.Quendry, 13) + Pad(r.Baseline, 13) +
                       Pad(r.Ratio, 22) + Pad(r.Goal, 22) + r.Result;
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line + "\n";
}

Row NotMeasured(const std::string& figure, const std::string& goal) {
    return {figure, "n/a", "n/a", "", goal, "not measured"};
}

std::string Runs(const char* what, const Measured& m) {
    const std::string runs = std::to_string(m.Rounds > 1 ? m.Runs / m.Rounds : m.Runs);
    return std::string(what) + " (" + (m.Rounds > 1 ? std::to_string(m.Rounds) + " x " : "") +
           runs + " runs)";
}

// The ratio, and its range over the rounds where there were several.
std::string RatioText(const Measured& m) {
    std::string text = Format("%.2f", m.Ratio());
    if (m.Rounds > 1)
        text += Format(" [%.2f", m.LowRatio) + Format("-%.2f]", m.HighRatio);
    return text;
}

std::string OverheadText(const Measured& m) {
    std::string text = Format("%+.1f %%", OverheadPercent(m));
    if (m.Rounds > 1)
        text +=
            Format(" [%+.1f", (m.LowRatio - 1) * 100) + Format(", %+.1f]", (m.HighRatio - 1) * 100);
    return text;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names)
        out += (out.empty() ? "" : " ") + n;
    return out.empty() ? "none" : out;
}

} // namespace

double Median(std::vector<double> samples) {
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
}

Measured FromPairs(const std::vector<double>& values, const std::vector<double>& baselines) {
    std::vector<double> ratios;
    for (size_t i = 0; i < values.size() && i < baselines.size(); ++i)
        if (baselines[i] > 0)
            ratios.push_back(values[i] / baselines[i]);
    return {Median(values), Median(baselines), values.size(), Median(ratios)};
}

std::optional<Measured> FromRounds(const std::vector<std::optional<Measured>>& rounds) {
    std::vector<double> values, baselines, ratios;
    Measured m;
    m.Rounds = 0;
    for (const auto& round : rounds) {
        if (!round)
            continue;
        values.push_back(round->Value);
        baselines.push_back(round->Baseline);
        ratios.push_back(round->Ratio());
        m.Runs += round->Runs;
        ++m.Rounds;
        if (round->PairedRatio > 0)
            m.PairedRatio = 1; // worked out below
    }
    if (m.Rounds == 0)
        return std::nullopt;
    m.Value = Median(values);
    m.Baseline = Median(baselines);
    if (m.PairedRatio > 0)
        m.PairedRatio = Median(ratios);
    m.LowRatio = *std::min_element(ratios.begin(), ratios.end());
    m.HighRatio = *std::max_element(ratios.begin(), ratios.end());
    return m;
}

double OverheadPercent(const Measured& repair) {
    return repair.Baseline > 0 ? (repair.Value - repair.Baseline) / repair.Baseline * 100 : 0;
}

std::string FormatTable(const BenchFigures& f) {
    std::vector<Row> rows;
    const std::string startupGoal = Format("ratio <= %.2f", kStartupRatioGoal);
    if (f.Startup)
        rows.push_back({Runs("Start-up to the welcome page", *f.Startup), Ms(f.Startup->Value),
                        Ms(f.Startup->Baseline), RatioText(*f.Startup), startupGoal,
                        Verdict(f.Startup->Ratio() <= kStartupRatioGoal)});
    else
        rows.push_back(NotMeasured("Start-up to the welcome page", startupGoal));

    const std::string auditGoal = Format("ratio <= %.2f", kAuditRatioGoal);
    if (f.Audit)
        rows.push_back({Runs("Audit: component table, 31 files", *f.Audit), Ms(f.Audit->Value),
                        Ms(f.Audit->Baseline), RatioText(*f.Audit), auditGoal,
                        Verdict(f.Audit->Ratio() <= kAuditRatioGoal)});
    else
        rows.push_back(NotMeasured("Audit: component table, 31 files", auditGoal));

    const std::string repairGoal = Format("overhead <= %.0f %%", kRepairOverheadGoal);
    if (f.Repair)
        rows.push_back({Runs("Repair run, 24 registering, to ready", *f.Repair),
                        Ms(f.Repair->Value), Ms(f.Repair->Baseline), OverheadText(*f.Repair),
                        repairGoal, Verdict(OverheadPercent(*f.Repair) <= kRepairOverheadGoal)});
    else
        rows.push_back(NotMeasured("Repair run, 24 registering, to ready", repairGoal));

    const std::string memoryGoal = Format("ratio <= %.2f", kWorkingSetRatioGoal);
    if (f.PeakWorkingSet)
        rows.push_back({Runs("Peak working set, welcome page", *f.PeakWorkingSet),
                        Mb(f.PeakWorkingSet->Value), Mb(f.PeakWorkingSet->Baseline),
                        RatioText(*f.PeakWorkingSet), memoryGoal,
                        Verdict(f.PeakWorkingSet->Ratio() <= kWorkingSetRatioGoal)});
    else
        rows.push_back(NotMeasured("Peak working set, welcome page", memoryGoal));

    const std::string sizeGoal = "<= " + Kb(kSizeGoal) + " (" + Kb(kSizeStretchGoal) + ")";
    for (const auto& exe : f.Executables) {
        const std::string figure = "Quendry.exe, " + exe.Label;
        if (!exe.Bytes) {
            rows.push_back({figure, "not built", "", "", sizeGoal, "not measured"});
            continue;
        }
        std::string result = Verdict(*exe.Bytes <= kSizeGoal);
        result += *exe.Bytes <= kSizeStretchGoal ? ", stretch met" : ", stretch missed";
        rows.push_back({figure, Kb(*exe.Bytes), "", "", sizeGoal, result});
        rows.push_back({"  imports, " + exe.Label, std::to_string(exe.Imports.size()) + " DLLs", "",
                        "", "system DLLs only", Verdict(exe.NotSystem.empty())});
    }

    if (!f.CliBuilt)
        rows.push_back({"Console report, quendry-cli", "not built", "", "", "none set", ""});
    else if (f.CliReport)
        rows.push_back({Runs("Console report, quendry-cli", *f.CliReport), Ms(f.CliReport->Value),
                        Ms(f.CliReport->Baseline), RatioText(*f.CliReport), "none set", "-"});
    else
        rows.push_back(NotMeasured("Console report, quendry-cli", "none set"));

    const std::string inventoryGoal = Format("<= %.0f ms", kInventoryGoalMs);
    if (f.Inventory)
        rows.push_back({Runs("Data-access inventory, in process", *f.Inventory),
                        Ms(f.Inventory->Value), "", "", inventoryGoal,
                        Verdict(f.Inventory->Value <= kInventoryGoalMs)});
    else
        rows.push_back(NotMeasured("Data-access inventory, in process", inventoryGoal));

    std::string out = "Build measured: " + f.Build + "\n\n";
    out += Line({"Figure", "Quendry", "Baseline", "Ratio", "Goal", "Result"});
    for (const auto& r : rows)
        out += Line(r);
    out += "\nBaselines, measured in the same run:\n"
           "  start-up, working set: bench/minimal_win.c, one window with one label and Quendry's\n"
           "    manifest, started the same way and waited for the same way\n"
           "  audit: GetFileVersionInfoSizeW, GetFileVersionInfoW and VerQueryValueW(\"\\\") over\n"
           "    the same 31 paths\n"
           "  repair: the run's fixed pauses, 31 x (50 + 150) ms; the run is measured from the\n"
           "    button's release to the ready state (the answers shown), the providers' check\n"
           "    included\n"
           "  console report: quendry-cli report from its start to its end, against the minimal\n"
           "    program's start-up\n"
           "  data-access inventory: none; both registry views read and their libraries examined\n"
           "    in the bench's own process, against an absolute goal\n";
    for (const auto& exe : f.Executables) {
        if (!exe.Bytes)
            continue;
        out += "Imports, " + exe.Label + ": " + Joined(exe.Imports) + "\n";
        if (!exe.NotSystem.empty())
            out += "  not in the system directory: " + Joined(exe.NotSystem) + "\n";
    }
    for (const auto& detail : f.Details)
        out += detail + "\n";
    for (const auto& note : f.Notes)
        out += "Note: " + note + "\n";
    return out;
}
