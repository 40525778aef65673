#pragma once
// The platform's version-information functions (VERSION.DLL), one method each, shaped like
// GetFileVersionInfoSize / GetFileVersionInfo / VerQueryValue and with their results. The names
// differ from the platform's so that <windows.h> macros can't rename them. The Win32 adapter calls
// the W functions; tests serve canned version blocks, malformed ones included.
#include <cstdint>
#include <string>

class IVersionApi {
public:
    virtual ~IVersionApi() = default;

    // GetFileVersionInfoSize: size in bytes of the file's version information; 0 when the file is
    // missing, carries no version information or can't be read. `handle` is set by the call and
    // passed on unchanged to FileVersionInfo.
    virtual uint32_t FileVersionInfoSize(const std::string& path, uint32_t& handle) = 0;

    // GetFileVersionInfo: copies the version information into `data` (`size` bytes). False on
    // failure.
    virtual bool FileVersionInfo(const std::string& path, uint32_t handle, uint32_t size,
                                 void* data) = 0;

    // VerQueryValue: looks up `subBlock` ("\" is the root, the fixed version block) in the
    // information that FileVersionInfo filled. On success `value` points into `block` and
    // `length` is the size of the value in bytes. False on failure.
    virtual bool QueryVersionValue(const void* block, const std::string& subBlock,
                                   const void*& value, uint32_t& length) = 0;
};
