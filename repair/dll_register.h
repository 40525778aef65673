#pragma once
// modDLLRegister: self-registration of one component library, and the system's text for an error
// code. Registration raises nothing and stops nothing; it tells the caller how it went, so that
// the repair can name the libraries that could not be registered.
#include <cstdint>
#include <functional>
#include <string>

#include "repair/library_api.h"

enum class RegistrationResult {
    Registered,   // the entry point returned a status of 0 or more
    NotLoaded,    // the library could not be loaded (LastError); nothing was called
    NoEntryPoint, // the library has no such export (LastError); nothing was called
    CallFailed,   // the entry point returned a negative status (Status)
    NotCreated,   // the call object could not be made (Status is E_OUTOFMEMORY); nothing was called
    // Where the registration ran in a host process of its own (see registrar.h):
    Crashed,      // the host died of an exception during the call (Status is its code)
    TimedOut,     // the call did not return within the time limit; the host was ended
    EndedProcess, // the host ended during the call without a crash (ExitProcess, say)
    HostRefused,  // no host was started: the program's own file could not be vouched for, or no
                  // pipe to a host could be made; nothing was called
};

struct RegistrationOutcome {
    std::string DisplayName;
    RegistrationResult Result = RegistrationResult::NotLoaded;
    uint32_t LastError = 0; // NotLoaded, NoEntryPoint
    int32_t Status = 0;     // Registered, CallFailed, NotCreated, Crashed
};

// True for a path that names its file without any search: "X:\..." or "\\server\...".
bool IsFullyQualifiedPath(const std::string& path);

// Loads the library at `path`, calls its export `entryName` with no arguments through a
// callable-address object, and unloads it again. A path that is empty or not fully qualified is
// never handed to the loader (a bare or relative name would make the system search for it), and
// comes back NotLoaded with ERROR_INVALID_PARAMETER.
// `beforeUnload`, where given, learns the outcome before the library is unloaded: a library
// whose detach code crashes then can't take a registration that went through down with it.
RegistrationOutcome
RegisterComponent(ILibraryApi& api, const std::string& path, const std::string& entryName,
                  const std::string& displayName,
                  const std::function<void(const RegistrationOutcome&)>& beforeUnload = {});

// The system's message text for `code`, as the system wrote it (trailing line break included),
// or "Error text not found." when it has none.
std::string GetErrorText(ILibraryApi& api, uint32_t code);

inline constexpr const char* kErrorTextNotFound = "Error text not found.";
