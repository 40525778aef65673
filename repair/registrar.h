#pragma once
// Registers one component library: what RegisterComponent does, wherever it runs. The wizard and
// the console companion both register through this, so that where registrations run (in this
// process, or in a helper process that a broken library can't take down) is decided in one place.
#include <string>

#include "repair/dll_register.h"

class IRegistrar {
public:
    virtual ~IRegistrar() = default;
    // Gets ready for the registrations to come, so that the first doesn't wait for what all of
    // them need (a host process, say). Registers nothing; registering works without it.
    virtual void Prepare() {}
    // Starts registering the library where that goes on while the caller waits (a host
    // process); Register with the same arguments then collects the answer. Where registrations
    // run in the caller it does nothing, and Register does the work.
    virtual void Begin(const std::string& /*path*/, const std::string& /*entryName*/,
                       const std::string& /*displayName*/) {}
    virtual RegistrationOutcome Register(const std::string& path, const std::string& entryName,
                                         const std::string& displayName) = 0;
};

// Registration in the calling process.
class InProcessRegistrar : public IRegistrar {
public:
    explicit InProcessRegistrar(ILibraryApi& api) : m_api(api) {}
    RegistrationOutcome Register(const std::string& path, const std::string& entryName,
                                 const std::string& displayName) override {
        return RegisterComponent(m_api, path, entryName, displayName);
    }

private:
    ILibraryApi& m_api;
};
