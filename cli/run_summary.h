#pragma once
// A run in one line, for the places that keep only one: a management system's output field
// (Intune keeps 2,048 characters), the Event Log's insert. It says the outcome and names what
// failed, each with its reason; where the names don't fit, the last of the longest lists give
// way to their count.
#include <cstddef>
#include <string>
#include <vector>

#include "repair_run.h"
#include "system_report.h"
#include "text/language.h"

inline constexpr size_t kSummaryLimit = 2048; // characters, as Intune counts them

// One part after the outcome: a text whose marker takes the items as a list; an empty list
// leaves the text as it is.
struct SummaryPart {
    std::string Text;
    std::vector<std::string> Items;
};

// A run's outcome and the parts that name what failed.
struct RunOutcome {
    std::string Outcome;
    std::vector<SummaryPart> Parts;
    Language Lang = Language::English;
};

// "<outcome>: <part>; <part>", no longer than `limit` characters, without a line break.
std::string SummaryLine(const RunOutcome& run, size_t limit = kSummaryLimit);
// Every part in full, one a line ("\n" between them); empty when nothing failed.
std::string DetailLines(const RunOutcome& run);

// "Up to date: MDAC 2.81.1117.0, Jet 4.0.8015", or "Needs attention" with MDAC or Jet out of
// date, the files that differ, the missing ones, and the essential data providers that don't
// work with their reasons.
RunOutcome ReportOutcome(const SystemReport& report);

// Repaired (with the number registered), repair failed or repair interrupted, with every library
// that failed and its reason; then the essential data providers that still don't work, where
// they were checked (`providers` is null for an interrupted repair).
RunOutcome RepairOutcome(const RepairCounts& counts, const std::vector<ReportedProvider>* providers,
                         Language lang);
