#pragma once
// Where the process looks for libraries that are loaded by name. The wizard runs elevated, often
// from a downloads folder: a library planted beside it or in the current directory must never be
// loaded in its place. Functions newer than Windows 2000 are looked up at run time.
#include <windows.h>

enum class DllSearch {
    SystemDirectoryOnly,     // SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)
    CurrentDirectoryRemoved, // SetDllDirectory(""): no SetDefaultDllDirectories on this system
    Unchanged,               // neither function exists (Windows 2000, XP before SP1)
};

// Finds a function that only some of the supported Windows releases have, as GetProcAddress
// does. Tests pass one that refuses chosen names, as an older release would.
class IFunctionLookup {
public:
    virtual ~IFunctionLookup() = default;
    virtual FARPROC Find(HMODULE module, const char* name) const = 0;
};

// GetProcAddress itself.
const IFunctionLookup& PlatformLookup();

// Limits the default library search of the whole process, as far as the system allows. Called
// first thing at start-up, before anything loads a library.
DllSearch HardenDllSearch(const IFunctionLookup& lookup = PlatformLookup());

// True where LoadLibraryEx takes the LOAD_LIBRARY_SEARCH_* flags (Windows 8, and Windows 7 and
// Vista with the update that added AddDllDirectory).
bool DllSearchFlagsSupported(const IFunctionLookup& lookup = PlatformLookup());

// The flags, for headers that only describe Windows XP.
inline constexpr DWORD kLoadLibrarySearchDllLoadDir = 0x00000100;
inline constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800;

// A function pointer from GetProcAddress as the typed pointer `F`; null when there is none.
template <typename F> F TypedFunction(FARPROC function) {
    // Through the generic function pointer type, which converts to every other one.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(function));
}

// A function of a loaded library, by name, as the typed pointer `F`; null when it has none.
template <typename F> F ResolveFunction(HMODULE module, const char* name) {
    return TypedFunction<F>(::GetProcAddress(module, name));
}
