#include "repair/repair_entry.h"

namespace {
constexpr uint32_t kShortPathCapacity = 260;
} // namespace

std::string RegistrationPath(ILibraryApi& api, const std::string& sPath) {
    std::string shortPath;
    const uint32_t n = api.ShortPathName(sPath, shortPath, kShortPathCapacity);
    if (n > 0 && n < kShortPathCapacity)
        return shortPath;
    if (n == 0) {
        const uint32_t error = api.LastError();
        if (error == kErrorFileNotFound || error == kErrorPathNotFound)
            return {};
    }
    return IsFullyQualifiedPath(sPath) ? sPath : std::string();
}

BegunEntry BeginRepairEntry(ILibraryApi& api, IRegistrar& registrar, const ComponentFile& entry) {
    BegunEntry begun{entry, {}};
    try {
        begun.Path = RegistrationPath(api, entry.sPath);
        if (!entry.bNoRegister && IsFullyQualifiedPath(begun.Path))
            registrar.Begin(begun.Path, kEntryPointName, GetFile(entry.sPath));
    } catch (...) {
    }
    return begun;
}

EntryResult RepairEntry(ILibraryApi& api, IRegistrar& registrar, const ComponentFile& entry) {
    return FinishRepairEntry(registrar, BeginRepairEntry(api, registrar, entry));
}

EntryResult FinishRepairEntry(IRegistrar& registrar, const BegunEntry& begun) {
    EntryResult result;
    const ComponentFile& entry = begun.Entry;
    const std::string& path = begun.Path;
    const std::string name = GetFile(entry.sPath);
    result.Outcome.DisplayName = name;
    if (entry.bNoRegister) {
        result.Action = EntryAction::Skipped;
        return result;
    }
    try {
        result.Outcome = registrar.Register(path, kEntryPointName, name);
    } catch (...) {
        result.Outcome.DisplayName = name;
        result.Outcome.Result = RegistrationResult::NotLoaded;
    }
    if (result.Outcome.Result == RegistrationResult::Registered)
        result.Action = EntryAction::Registered;
    else if (!IsFullyQualifiedPath(path))
        result.Action = EntryAction::NotPresent; // a missing file is no failure of the repair
    else
        result.Action = EntryAction::Failed;
    return result;
}
