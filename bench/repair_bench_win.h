#pragma once
// The repair benchmark: the real Quendry.exe, started on a laid-out system whose libraries all
// register at once, taken to the repair page; the run is timed from the press of the repair button
// until the question after it (Label16) shows.
#include <optional>
#include <string>
#include <vector>

struct RepairRun {
    double Ms = 0;
    // How long each of the 31 entries took, from one change of the per-file line to the next (the
    // last one until the question shows); empty when the changes could not all be seen.
    std::vector<double> EntryMs;
};

// One timed run. nullopt, with `failure` set, when a step didn't happen.
std::optional<RepairRun> MeasureRepairRun(std::string& failure);

// Where the time beyond the fixed pauses went, over all runs: the medians of the first entry (the
// first registration, which starts anything the registrations need), of the other registered
// entries and of the entries that register nothing, each beyond its 200 ms of pauses.
std::string RepairBreakdown(const std::vector<RepairRun>& runs);
