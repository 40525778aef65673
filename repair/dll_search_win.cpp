#include "repair/dll_search_win.h"

namespace {

HMODULE Kernel32() {
    return ::GetModuleHandleW(L"kernel32.dll");
}

} // namespace

DllSearch HardenDllSearch() {
    HMODULE kernel = Kernel32();
    if (kernel == nullptr)
        return DllSearch::Unchanged;
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (auto setDefault =
            ResolveFunction<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories")) {
        if (setDefault(kLoadLibrarySearchSystem32))
            return DllSearch::SystemDirectoryOnly;
    }
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
    if (auto setDirectory = ResolveFunction<SetDllDirectoryFn>(kernel, "SetDllDirectoryW")) {
        if (setDirectory(L""))
            return DllSearch::CurrentDirectoryRemoved;
    }
    return DllSearch::Unchanged;
}

bool DllSearchFlagsSupported() {
    // The flags came with AddDllDirectory, in the same update.
    static const bool supported = [] {
        HMODULE kernel = Kernel32();
        return kernel != nullptr && ::GetProcAddress(kernel, "AddDllDirectory") != nullptr;
    }();
    return supported;
}
