#pragma once
// The figures of the benchmarks and the table that reports them. Timings on a shared machine are
// noisy, so each figure is the median of repeated runs and is set against a baseline measured in
// the same run, alternating with it; the table gives each figure's goal and whether it was met.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The goals.
inline constexpr double kStartupRatioGoal = 1.15;   // start-up against the minimal program
inline constexpr double kAuditRatioGoal = 1.10;     // the component table against a plain loop
inline constexpr double kRepairOverheadGoal = 3.0;  // percent over the run's fixed pauses
inline constexpr double kWorkingSetRatioGoal = 1.3; // peak working set against the minimal program
inline constexpr uint64_t kSizeGoal = 512 * 1024;   // bytes
inline constexpr uint64_t kSizeStretchGoal = 300 * 1024;
inline constexpr double kInventoryGoalMs = 30; // the data-access inventory, in process
// The repair's fixed pauses: 50 ms and 150 ms for each of the 31 entries.
inline constexpr double kRepairPausesMs = 31 * 200.0;

// The middle of the samples (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> samples);

// A figure measured against its baseline: the medians of both, and how many runs each took.
// Where each run was set against a baseline run right beside it, the ratio is the median of
// those pairs' ratios, which a machine that slows down for a while shifts least.
struct Measured {
    double Value = 0;
    double Baseline = 0;
    size_t Runs = 0;
    double PairedRatio = 0; // 0: not paired
    // Measured in several rounds: how many, and the lowest and highest round's ratio.
    size_t Rounds = 1;
    double LowRatio = 0, HighRatio = 0;

    double Ratio() const {
        return PairedRatio > 0 ? PairedRatio : Baseline > 0 ? Value / Baseline : 0;
    }
};

// The figure of runs taken in pairs with their baseline runs.
Measured FromPairs(const std::vector<double>& values, const std::vector<double>& baselines);

// A figure measured in rounds, each a whole set of runs: the medians over the rounds, and the
// range of their ratios. Rounds that measured nothing are left out; none for none.
std::optional<Measured> FromRounds(const std::vector<std::optional<Measured>>& rounds);

// One executable's file: its size and the libraries it imports, with those of them that the
// system directory doesn't hold.
struct ExecutableFile {
    std::string Label; // "x86_64 twin", "i686 product"
    std::optional<uint64_t> Bytes;
    std::vector<std::string> Imports;
    std::vector<std::string> NotSystem;
};

struct BenchFigures {
    std::string Build;                      // the build whose programs ran
    std::optional<Measured> Startup;        // ms: Quendry against the minimal program
    std::optional<Measured> PeakWorkingSet; // bytes, at the welcome page
    std::optional<Measured> Audit;          // ms: the component table against the plain loop
    std::optional<Measured> Repair;         // ms: the whole run against kRepairPausesMs
    std::vector<ExecutableFile> Executables;
    bool CliBuilt = false;
    std::optional<Measured> CliReport; // ms: `report` to its end against the minimal start-up
    std::optional<Measured> Inventory; // ms, in process: the data-access inventory read
    std::vector<std::string> Details;  // where the time went
    std::vector<std::string> Notes;    // what could not be measured, and why
};

// The repair's time beyond its fixed pauses, in percent of them.
double OverheadPercent(const Measured& repair);

// The table, one row per figure, then the baselines and the notes; lines end with "\n".
std::string FormatTable(const BenchFigures& figures);
