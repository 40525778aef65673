#pragma once
// The version of a library file, read from its fixed version block.
#include "repair/version_api.h"
#include "text/language.h"

#include <cstdint>
#include <string>

// The platform's fixed version block (VS_FIXEDFILEINFO): 13 unsigned 32-bit fields, 52 bytes.
struct FixedFileInfo {
    uint32_t dwSignature = 0; // 0xFEEF04BD
    uint32_t dwStrucVersion = 0;
    uint32_t dwFileVersionMS = 0; // major << 16 | minor
    uint32_t dwFileVersionLS = 0; // build << 16 | revision
    uint32_t dwProductVersionMS = 0;
    uint32_t dwProductVersionLS = 0;
    uint32_t dwFileFlagsMask = 0;
    uint32_t dwFileFlags = 0;
    uint32_t dwFileOS = 0;
    uint32_t dwFileType = 0;
    uint32_t dwFileSubtype = 0;
    uint32_t dwFileDateMS = 0;
    uint32_t dwFileDateLS = 0;
};
static_assert(sizeof(FixedFileInfo) == 52);

inline constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

inline uint16_t VersionMajor(const FixedFileInfo& info) {
    return static_cast<uint16_t>(info.dwFileVersionMS >> 16);
}
inline uint16_t VersionMinor(const FixedFileInfo& info) {
    return static_cast<uint16_t>(info.dwFileVersionMS & 0xFFFF);
}
inline uint16_t VersionBuild(const FixedFileInfo& info) {
    return static_cast<uint16_t>(info.dwFileVersionLS >> 16);
}
inline uint16_t VersionRevision(const FixedFileInfo& info) {
    return static_cast<uint16_t>(info.dwFileVersionLS & 0xFFFF);
}

// Fills `block` from the file's fixed version block and returns true; returns false and leaves
// `block` untouched when the file is missing, carries no version information, or the platform
// hands back a block that isn't a whole, signed fixed version block inside the information read.
bool ReadFileVersion(IVersionApi& api, const std::string& path, FixedFileInfo& block);

// "major.minor.build" (never the revision); with `bBuildOnly` the revision when it is not 0,
// else the build. Text 102 in `lang` when the version can't be read.
std::string GetFileVersionText(IVersionApi& api, const std::string& path, bool bBuildOnly,
                               Language lang);

// "major.minor.build" of a block, each part in plain decimal.
std::string DottedVersionText(const FixedFileInfo& info);
