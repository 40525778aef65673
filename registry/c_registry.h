#pragma once
// Reads and writes one registry value at a time. The caller points the instance at a root key
// (ClassKey), a key path (SectionKey) and a value name (ValueKey), then reads or writes Value or
// runs one of the key operations. No key stays open between calls.
#include <cstdint>
#include <string>

#include "registry/registry_api.h"
#include "text/variant.h"

// Number of the errors the key operations raise.
inline constexpr int32_t kErrRegistry = 26001;
// Number of the error a failed write raises: 0x80040000 + 27049.
inline constexpr int32_t kErrRegistryWrite = static_cast<int32_t>(0x800469A9u);

class cRegistry {
public:
    explicit cRegistry(IRegistryApi& api) : m_api(api) {}

    // Whether ClassKey \ SectionKey can be opened for reading. Never raises.
    bool KeyExists() const;
    // Creates the key (or opens an existing one). True, or raises 26001.
    bool CreateKey();
    // Deletes the key. True, or raises 26001.
    bool DeleteKey();
    // Deletes the value ValueKey of the key. True, or raises 26001.
    bool DeleteValue();

    // Reads the value; Default when it can't be read. Sets ValueType to the stored type.
    Variant Value();
    // Writes the value as ValueType selects; raises 26001 or 0x800469A9 on failure.
    void Value(const Variant& vValue);

    int32_t ValueType() const { return m_eValueType; }
    void ValueType(int32_t eValueType) { m_eValueType = eValueType; }
    int32_t ClassKey() const { return m_eClassKey; }
    void ClassKey(int32_t eKey) { m_eClassKey = eKey; }
    const std::string& SectionKey() const { return m_sSectionKey; }
    void SectionKey(const std::string& sSectionKey) { m_sSectionKey = sSectionKey; }
    const std::string& ValueKey() const { return m_sValueKey; }
    void ValueKey(const std::string& sValueKey) { m_sValueKey = sValueKey; }
    const Variant& Default() const { return m_vDefault; }
    void Default(const Variant& vDefault) { m_vDefault = vDefault; }

private:
    [[noreturn]] void Raise(int32_t number, const std::string& description) const;
    std::string WriteFailure(const Variant& vValue) const;
    std::string KeyAndSection() const;

    IRegistryApi& m_api;
    int32_t m_eClassKey = 0;
    std::string m_sSectionKey;
    std::string m_sValueKey;
    Variant m_vDefault;
    int32_t m_eValueType = 0;
};

// The program's name as errors carry it in their source: the file name of `path` without its
// directory and without its extension.
std::string ExecutableBaseName(const std::string& path);
