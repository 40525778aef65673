#pragma once
// The console repair: the wizard's repair loop over the component table, through the same
// RepairEntry, without the pauses that exist for a person watching the window. One line per
// library as soon as it is done.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "repair/component_table.h"
#include "repair/library_api.h"
#include "repair/registrar.h"
#include "repair/repair_entry.h"
#include "text/language.h"

struct RepairCounts {
    size_t Registered = 0;
    size_t Skipped = 0;
    size_t NotPresent = 0;
    size_t Failed = 0;
    size_t NotAttempted = 0;           // after a stop request; nonzero only then
    std::vector<std::string> Failures; // "<file name> (<reason>)" for each failed library
};

// "<file name, padded to nameWidth>  registered" (skipped, not present, or "failed: <reason>"),
// without a line break.
std::string RepairLine(ILibraryApi& libraries, const ComponentFile& file, const EntryResult& result,
                       Language lang, size_t nameWidth);

// Walks the table in order; `writeLine` gets each line with its "\n". `stopRequested` is asked
// before each library: once it says yes, no further library is tried, and each one left that the
// repair would have registered gets its "not attempted" line, so that the output still names every
// library and the reader sees what remains to be done.
RepairCounts RunRepair(ILibraryApi& libraries, IRegistrar& registrar, const ComponentTable& table,
                       Language lang, const std::function<void(const std::string&)>& writeLine,
                       const std::function<bool()>& stopRequested);
