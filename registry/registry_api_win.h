#pragma once
// The registry of the running system: advapi32's registry functions and kernel32's
// ExpandEnvironmentStrings, W forms, with text converted between UTF-8 and UTF-16.
#include "registry/registry_api.h"

class Win32RegistryApi : public IRegistryApi {
public:
    int32_t OpenKey(int32_t root, const std::string& path, uint32_t access,
                    RegKeyHandle& key) override;
    int32_t CreateKey(int32_t root, const std::string& path, uint32_t access,
                      RegKeyHandle& key) override;
    int32_t DeleteKey(int32_t root, const std::string& path) override;
    int32_t DeleteValue(RegKeyHandle key, const std::string& name) override;
    int32_t QueryValue(RegKeyHandle key, const std::string& name, uint32_t& type, uint8_t* data,
                       uint32_t& size) override;
    int32_t SetValue(RegKeyHandle key, const std::string& name, uint32_t type, const uint8_t* data,
                     uint32_t size) override;
    int32_t EnumKey(RegKeyHandle key, uint32_t index, std::string& name) override;
    int32_t EnumValue(RegKeyHandle key, uint32_t index, std::string& name, uint32_t& type) override;
    int32_t CloseKey(RegKeyHandle key) override;
    uint32_t ExpandEnvironment(const std::string& text, char* buffer, uint32_t size) override;
    std::string ExecutablePath() override;
};
