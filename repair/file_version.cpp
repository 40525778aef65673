#include "repair/file_version.h"

#include "text/string_table.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint16_t kTextNotAvailable = 102;

// A version resource is at most 64 KiB (its length is a 16-bit field); the size the platform
// reports for it stays well below this. Anything larger is not version information.
constexpr uint32_t kMaxVersionInfoSize = 1u << 20;

} // namespace

bool ReadFileVersion(IVersionApi& api, const std::string& path, FixedFileInfo& block) {
    uint32_t handle = 0;
    uint32_t size = api.FileVersionInfoSize(path, handle);
    if (size == 0 || size > kMaxVersionInfoSize) {
        return false;
    }
    std::vector<unsigned char> buffer(size);
    if (!api.FileVersionInfo(path, handle, size, buffer.data())) {
        return false;
    }
    const void* value = nullptr;
    uint32_t length = 0;
    if (!api.QueryVersionValue(buffer.data(), "\\", value, length)) {
        return false;
    }
    // Only a whole fixed version block that lies inside what was read is taken; its length may
    // be reported larger, but no more than one block is ever copied.
    if (value == nullptr || length < sizeof(FixedFileInfo)) {
        return false;
    }
    auto first = reinterpret_cast<uintptr_t>(buffer.data());
    auto at = reinterpret_cast<uintptr_t>(value);
    if (buffer.size() < sizeof(FixedFileInfo) || at < first ||
        at - first > buffer.size() - sizeof(FixedFileInfo)) {
        return false;
    }
    FixedFileInfo found;
    std::memcpy(&found, value, sizeof(FixedFileInfo));
    if (found.dwSignature != kFixedFileInfoSignature) {
        return false;
    }
    block = found;
    return true;
}

std::string DottedVersionText(const FixedFileInfo& info) {
    return std::to_string(VersionMajor(info)) + "." + std::to_string(VersionMinor(info)) + "." +
           std::to_string(VersionBuild(info));
}

std::string GetFileVersionText(IVersionApi& api, const std::string& path, bool bBuildOnly,
                               Language lang) {
    FixedFileInfo info{};
    if (!ReadFileVersion(api, path, info)) {
        return LoadText(kTextNotAvailable, lang);
    }
    if (bBuildOnly) {
        uint16_t revision = VersionRevision(info);
        return std::to_string(revision != 0 ? revision : VersionBuild(info));
    }
    return DottedVersionText(info);
}
