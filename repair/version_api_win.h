#pragma once
// The version-information functions of the running system (VERSION.DLL, W functions).
#include "repair/version_api.h"

class Win32VersionApi : public IVersionApi {
public:
    uint32_t FileVersionInfoSize(const std::string& path, uint32_t& handle) override;
    bool FileVersionInfo(const std::string& path, uint32_t handle, uint32_t size,
                         void* data) override;
    bool QueryVersionValue(const void* block, const std::string& subBlock, const void*& value,
                           uint32_t& length) override;
};
