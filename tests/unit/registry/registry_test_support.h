#pragma once
// Shared pieces of the registry class tests: a store with one instance pointing into it, and a way
// to run an operation and keep the error it raised.
#include <functional>
#include <optional>
#include <string>

#include "registry/c_registry.h"
#include "tests/fakes/fake_registry.h"
#include "text/raised_error.h"

inline constexpr const char* kSection = "Software\\QuendryTest\\Unit";

inline ByteArray Bytes(const std::string& s) {
    return ByteArray(s.begin(), s.end());
}

// A registry instance aimed at HKEY_CURRENT_USER\<kSection>, value "Item".
inline void AimAtTestValue(cRegistry& reg) {
    reg.ClassKey(kHkeyCurrentUser);
    reg.SectionKey(kSection);
    reg.ValueKey("Item");
}

// The error an operation raised, or nothing when it returned.
inline std::optional<RaisedError> RaisedBy(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const RaisedError& error) {
        return error;
    }
    return std::nullopt;
}
