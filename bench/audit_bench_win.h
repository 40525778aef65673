#pragma once
// The audit benchmark, in this process: building the component table of the 31 libraries
// (BuildComponentTable over the real version functions) against a plain loop of
// GetFileVersionInfoSizeW, GetFileVersionInfoW and VerQueryValueW over the same paths. The
// fixture libraries must be laid out first.
#include <optional>
#include <string>

#include "bench/bench_figures.h"

// `rounds` rounds, each timing a batch of table builds and a batch of plain loops, in turns; the
// figures are the medians of the per-build times, the ratio that of the rounds. nullopt, with
// `failure` set, when the table doesn't find every library laid out.
std::optional<Measured> MeasureAudit(size_t rounds, std::string& failure);
