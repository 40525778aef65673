// The version-information functions of VERSION.DLL, one call each. The library is loaded at run
// time from the system directory by its full path: it is not one of the libraries the system
// always takes from there, so an import of it would load a version.dll planted beside the program.
#include "repair/version_api_win.h"

#include <windows.h>

#include <winver.h>

#include "repair/system_library_win.h"
#include "text/win_text.h"

namespace {

struct VersionFunctions {
    decltype(&::GetFileVersionInfoSizeW) Size =
        SYSTEM_FUNCTION(L"version.dll", GetFileVersionInfoSizeW);
    decltype(&::GetFileVersionInfoW) Info = SYSTEM_FUNCTION(L"version.dll", GetFileVersionInfoW);
    decltype(&::VerQueryValueW) Query = SYSTEM_FUNCTION(L"version.dll", VerQueryValueW);
};

// Looked up once and kept for the life of the process.
const VersionFunctions& Version() {
    static const VersionFunctions functions;
    return functions;
}

} // namespace

uint32_t Win32VersionApi::FileVersionInfoSize(const std::string& path, uint32_t& handle) {
    std::wstring wide = Widen(path);
    if (wide.empty()) {
        handle = 0;
        return 0;
    }
    if (Version().Size == nullptr) {
        handle = 0;
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return 0;
    }
    DWORD h = 0;
    DWORD size = Version().Size(wide.c_str(), &h);
    handle = h;
    return size;
}

bool Win32VersionApi::FileVersionInfo(const std::string& path, uint32_t handle, uint32_t size,
                                      void* data) {
    std::wstring wide = Widen(path);
    if (wide.empty() || Version().Info == nullptr) {
        return false;
    }
    return Version().Info(wide.c_str(), handle, size, data) != FALSE;
}

bool Win32VersionApi::QueryVersionValue(const void* block, const std::string& subBlock,
                                        const void*& value, uint32_t& length) {
    std::wstring wide = Widen(subBlock);
    LPVOID found = nullptr;
    UINT foundLength = 0;
    if (Version().Query == nullptr || !Version().Query(block, wide.c_str(), &found, &foundLength)) {
        value = nullptr;
        length = 0;
        return false;
    }
    value = found;
    length = foundLength;
    return true;
}
