#pragma once
// The data-access inventory, in this process: both registry views read and every library they
// name examined, as `quendry-cli report` does it, over the real registry and files. Its goal is an
// absolute one: the report's answer must not keep a person waiting.
#include <optional>

#include "bench/bench_figures.h"

// The median of `runs` reads, after one that warms the caches; Baseline 0.
std::optional<Measured> MeasureInventory(size_t runs);
