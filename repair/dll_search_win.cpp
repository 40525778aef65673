#include "repair/dll_search_win.h"

namespace {

HMODULE Kernel32() {
    return ::GetModuleHandleW(L"kernel32.dll");
}

class GetProcAddressLookup : public IFunctionLookup {
public:
    FARPROC Find(HMODULE module, const char* name) const override {
        return ::GetProcAddress(module, name);
    }
};

} // namespace

const IFunctionLookup& PlatformLookup() {
    static const GetProcAddressLookup lookup;
    return lookup;
}

DllSearch HardenDllSearch(const IFunctionLookup& lookup) {
    HMODULE kernel = Kernel32();
    if (kernel == nullptr)
        return DllSearch::Unchanged;
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (auto setDefault = TypedFunction<SetDefaultDllDirectoriesFn>(
            lookup.Find(kernel, "SetDefaultDllDirectories"))) {
        if (setDefault(kLoadLibrarySearchSystem32))
            return DllSearch::SystemDirectoryOnly;
    }
    // Windows XP SP1 and later: the current directory leaves the search; the program's folder
    // stays first in it, which no function of these systems changes.
    if (auto setDirectory =
            TypedFunction<decltype(&::SetDllDirectoryW)>(lookup.Find(kernel, "SetDllDirectoryW"))) {
        if (setDirectory(L""))
            return DllSearch::CurrentDirectoryRemoved;
    }
    return DllSearch::Unchanged;
}

bool DllSearchFlagsSupported(const IFunctionLookup& lookup) {
    // The flags came with AddDllDirectory, in the same update.
    HMODULE kernel = Kernel32();
    return kernel != nullptr && lookup.Find(kernel, "AddDllDirectory") != nullptr;
}
