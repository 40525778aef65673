#pragma once
// An open registry key that closes itself: every key an operation opens or creates is closed
// when the operation returns, whether it returns normally or raises an error.
#include <string>

#include "registry/registry_api.h"

class RegistryKey {
public:
    explicit RegistryKey(IRegistryApi& api) : m_api(api) {}
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // RegOpenKeyEx / RegCreateKeyEx under a predefined root key; the platform's result code. Any
    // other root names no key and fails as an invalid handle without reaching the registry.
    int32_t Open(int32_t root, const std::string& path, uint32_t access) {
        Close();
        if (!IsPredefinedRootKey(root)) {
            return kRegErrInvalidHandle;
        }
        RegKeyHandle key = 0;
        int32_t result = m_api.OpenKey(root, path, access, key);
        if (result == kRegOk) {
            m_key = key;
        }
        return result;
    }
    int32_t Create(int32_t root, const std::string& path, uint32_t access) {
        Close();
        if (!IsPredefinedRootKey(root)) {
            return kRegErrInvalidHandle;
        }
        RegKeyHandle key = 0;
        int32_t result = m_api.CreateKey(root, path, access, key);
        if (result == kRegOk) {
            m_key = key;
        }
        return result;
    }

    RegKeyHandle Handle() const { return m_key; }
    bool IsOpen() const { return m_key != 0; }

    void Close() {
        if (m_key != 0) {
            // Nothing useful can be done when closing fails; the handle is given up either way.
            m_api.CloseKey(m_key);
            m_key = 0;
        }
    }

private:
    IRegistryApi& m_api;
    RegKeyHandle m_key = 0;
};
