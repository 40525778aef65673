// The version-information functions of VERSION.DLL, one call each.
#include "repair/version_api_win.h"

#include <windows.h>

namespace {

std::wstring Widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    int count =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (count <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), count);
    return wide;
}

} // namespace

uint32_t Win32VersionApi::FileVersionInfoSize(const std::string& path, uint32_t& handle) {
    std::wstring wide = Widen(path);
    if (wide.empty()) {
        handle = 0;
        return 0;
    }
    DWORD h = 0;
    DWORD size = ::GetFileVersionInfoSizeW(wide.c_str(), &h);
    handle = h;
    return size;
}

bool Win32VersionApi::FileVersionInfo(const std::string& path, uint32_t handle, uint32_t size,
                                      void* data) {
    std::wstring wide = Widen(path);
    if (wide.empty()) {
        return false;
    }
    return ::GetFileVersionInfoW(wide.c_str(), handle, size, data) != FALSE;
}

bool Win32VersionApi::QueryVersionValue(const void* block, const std::string& subBlock,
                                        const void*& value, uint32_t& length) {
    std::wstring wide = Widen(subBlock);
    LPVOID found = nullptr;
    UINT foundLength = 0;
    if (!::VerQueryValueW(block, wide.c_str(), &found, &foundLength)) {
        value = nullptr;
        length = 0;
        return false;
    }
    value = found;
    length = foundLength;
    return true;
}
