#pragma once
// Where the process looks for libraries that are loaded by name. The wizard runs elevated, often
// from a downloads folder: a library planted beside it or in the current directory must never be
// loaded in its place. Functions newer than Windows XP are looked up at run time.
#include <windows.h>

enum class DllSearch {
    SystemDirectoryOnly,     // SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)
    CurrentDirectoryRemoved, // SetDllDirectory(""): no SetDefaultDllDirectories on this system
    Unchanged,               // neither function exists
};

// Limits the default library search of the whole process, as far as the system allows. Called
// first thing at start-up, before anything loads a library.
DllSearch HardenDllSearch();

// True where LoadLibraryEx takes the LOAD_LIBRARY_SEARCH_* flags (Windows 8, and Windows 7 and
// Vista with the update that added AddDllDirectory).
bool DllSearchFlagsSupported();

// The flags, for headers that only describe Windows XP.
inline constexpr DWORD kLoadLibrarySearchDllLoadDir = 0x00000100;
inline constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800;

// A function of a loaded library, by name, as the typed pointer `F`; null when it has none.
template <typename F> F ResolveFunction(HMODULE module, const char* name) {
    // Through the generic function pointer type, which converts to every other one.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
