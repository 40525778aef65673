#pragma once
// Registers in the calling process, as InProcessRegistrar does, counts the requests to get ready
// for registrations, and tells `Seen` of each registration begun and made.
#include <functional>

#include "repair/registrar.h"

class CountingRegistrar : public InProcessRegistrar {
public:
    using InProcessRegistrar::InProcessRegistrar;
    void Prepare() override { ++Prepared; }
    void Begin(const std::string& path, const std::string&, const std::string&) override {
        if (Seen)
            Seen("Begin(" + path + ")");
    }
    RegistrationOutcome Register(const std::string& path, const std::string& entryName,
                                 const std::string& displayName) override {
        if (Seen)
            Seen("Register(" + path + ")");
        return InProcessRegistrar::Register(path, entryName, displayName);
    }
    int Prepared = 0;
    std::function<void(const std::string&)> Seen;
};
