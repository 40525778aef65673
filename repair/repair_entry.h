#pragma once
// What the repair does with one entry of the component table, shared by the wizard's repair step
// and the console companion: the path to load the library by, and its registration.
#include <string>

#include "repair/component_table.h"
#include "repair/library_api.h"
#include "repair/registrar.h"

inline constexpr const char* kEntryPointName = "DllRegisterServer";

enum class EntryAction {
    Skipped,    // the repair does not register this library
    NotPresent, // the file is not there (the file list shows it); nothing was loaded
    Registered,
    Failed, // the library is there but could not be registered: see the outcome
};

struct EntryResult {
    EntryAction Action = EntryAction::Skipped;
    RegistrationOutcome Outcome;
};

// The path to load a library by: its short form; the full path where the system gives no short
// form for a file that is there; nothing for a file that is missing or a text that names no file.
std::string RegistrationPath(ILibraryApi& api, const std::string& sPath);

// One entry's repair in two halves, so that a registration that runs apart goes on while the
// caller pauses in between. BeginRepairEntry works out the entry's path and, unless the entry is
// skipped, begins its registration; FinishRepairEntry registers it through `registrar` (collecting
// what was begun). Neither raises.
struct BegunEntry {
    ComponentFile Entry;
    std::string Path;
};
BegunEntry BeginRepairEntry(ILibraryApi& api, IRegistrar& registrar, const ComponentFile& entry);
EntryResult FinishRepairEntry(IRegistrar& registrar, const BegunEntry& begun);

// Both halves at once.
EntryResult RepairEntry(ILibraryApi& api, IRegistrar& registrar, const ComponentFile& entry);
