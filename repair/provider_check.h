#pragma once
// Can the data providers be created? The classes database programs create (ADO's objects, the OLE
// DB service components ADO makes every provider through, the Jet provider, ...), each checked
// the way the data access layer looks it up: its ProgID in the registry gives its CLSID; the
// CLSID's InprocServer32 names its library and threading model; the library must be there; and
// an object of the class must come into being in this process, in a single-threaded apartment.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "registry/registry_api.h"

// One class of the check: its ProgID and the CLSID the SDK gives it. An essential class is one
// that database programs can't do without; the others are reported, but many systems lack them.
struct ProviderClass {
    std::string_view ProgId;
    std::string_view Clsid;
    bool Essential = false;
};

std::span<const ProviderClass> ProviderClasses();

enum class ProviderState {
    Works,          // an object was created and released
    NoProgId,       // the ProgID is not in the registry, or names no CLSID
    NoClass,        // the CLSID is not registered, or names no library
    LibraryMissing, // the library InprocServer32 names is not there
    NotCreated,     // CoCreateInstance failed (Status is its HRESULT)
    // Where the check ran in a host process of its own, as registrations do:
    Crashed,      // the host died of an exception during the check (Status is its code)
    TimedOut,     // no answer within the time limit; the host was ended
    EndedProcess, // the host ended during the check without a crash
    HostRefused,  // no host was started (see registrar.h); nothing was checked
};

struct ProviderCheck {
    std::string ProgId = {};
    std::string Clsid = {};          // as the ProgID names it; the table's where it names none
    std::string Library = {};        // InprocServer32's path, environment strings expanded
    std::string ThreadingModel = {}; // InprocServer32's ThreadingModel; empty where none is given
    ProviderState State = ProviderState::NoProgId;
    int32_t Status = 0; // NotCreated: the HRESULT; Crashed: the exception's code
    bool Essential = false;
};

// What creating an object needs beyond the registry.
class IComApi {
public:
    virtual ~IComApi() = default;
    // Whether a file is at the path (GetFileAttributes: something that is not a folder).
    virtual bool FileExists(const std::string& path) = 0;
    // CoCreateInstance of the class "{...}" in process, asking for IUnknown, and Release: the
    // HRESULT (CLSIDFromString's own, where the text names no CLSID).
    virtual int32_t CreateInProcess(const std::string& clsid) = 0;
};

// Checks one class, in the calling process (which loads the class's library and runs its code).
ProviderCheck CheckProviderClass(IRegistryApi& registry, IComApi& com, const ProviderClass& cls);
// What the registry says of a check's class (its CLSID, library, threading model), read without
// loading anything: for a class whose check ended with its host, so the report still names them.
// False where the ProgID names no CLSID (the check keeps the table's).
bool ReadProviderRegistration(IRegistryApi& registry, ProviderCheck& check);

// Checks of the classes, wherever they run (the registrar's host process, in the program).
class IProviderChecker {
public:
    virtual ~IProviderChecker() = default;
    virtual ProviderCheck CheckProvider(const ProviderClass& cls) = 0;
    // The checks are over. A process that created the objects ends, so that no library it loaded
    // stays in use (an installer run next must be able to replace it).
    virtual void ChecksDone() {}
};

// In the calling process.
class InProcessProviderChecker : public IProviderChecker {
public:
    InProcessProviderChecker(IRegistryApi& registry, IComApi& com)
        : m_registry(registry), m_com(com) {}
    ProviderCheck CheckProvider(const ProviderClass& cls) override {
        return CheckProviderClass(m_registry, m_com, cls);
    }

private:
    IRegistryApi& m_registry;
    IComApi& m_com;
};
