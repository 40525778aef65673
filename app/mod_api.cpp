#include "mod_api.h"

namespace modAPI {

namespace {
int32_t g_lWinVersionClass = 0;
constexpr uint32_t kPlatformNt = 2;
} // namespace

int32_t ClassifyWindowsVersion(uint32_t platformId, uint32_t major, uint32_t minor) {
    if (platformId != kPlatformNt) {
        switch (minor) {
        case 0:
            return 1;
        case 10:
            return 2;
        case 90:
            return 5;
        default:
            return 0;
        }
    }
    switch (major) {
    case 4:
        return 3;
    case 5:
        switch (minor) {
        case 0:
            return 4;
        case 1:
            return 6;
        case 2:
            return 7;
        default:
            return 0;
        }
    case 6:
        return 8;
    default:
        return 0;
    }
}

int32_t GetWindowsVersionClass(ISystem& system) {
    if (g_lWinVersionClass > 0)
        return g_lWinVersionClass;
    OsVersionInfo info;
    if (!system.GetOsVersion(info))
        return 0;
    g_lWinVersionClass = ClassifyWindowsVersion(info.PlatformId, info.Major, info.Minor);
    return g_lWinVersionClass;
}

void ResetWindowsVersionClass() {
    g_lWinVersionClass = 0;
}

std::string GetSpecialFolderPath(ISystem& system, int32_t nFolder) {
    std::string path;
    if (system.GetFolderPath(nFolder, path) != 0)
        return {};
    // The platform hands back a fixed buffer: the path ends at its first NUL.
    return path.substr(0, path.find('\0'));
}

} // namespace modAPI
