// The registry functions of advapi32 and ExpandEnvironmentStringsW. String data crosses this
// boundary in UTF-8: a value of type REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ is read whole in UTF-16,
// converted, and then measured and copied like any other data, so the sizes the caller sees are
// always those of the bytes it gets. A stray odd byte at the end of UTF-16 data is no character
// and is dropped.
#include "registry/registry_api_win.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

// A value that keeps growing while it is read is given up after this many attempts.
constexpr int kReadAttempts = 4;

std::wstring Widen(const char* text, size_t size) {
    if (size == 0) {
        return {};
    }
    int count = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0);
    if (count <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), wide.data(), count);
    return wide;
}
std::wstring Widen(const std::string& text) {
    return Widen(text.data(), text.size());
}

std::string Narrow(const wchar_t* text, size_t length) {
    if (length == 0) {
        return {};
    }
    int count = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr,
                                    nullptr);
    if (count <= 0) {
        return {};
    }
    std::string narrow(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), narrow.data(), count, nullptr,
                        nullptr);
    return narrow;
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The predefined root keys are sign-extended 32-bit values on every pointer size.
HKEY RootKey(int32_t root) {
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(root));
}
HKEY OpenedKey(RegKeyHandle key) {
    return reinterpret_cast<HKEY>(key);
}

} // namespace

int32_t Win32RegistryApi::OpenKey(int32_t root, const std::string& path, uint32_t access,
                                  RegKeyHandle& key) {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExW(RootKey(root), Widen(path).c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS) {
        key = reinterpret_cast<RegKeyHandle>(opened);
    }
    return result;
}

int32_t Win32RegistryApi::CreateKey(int32_t root, const std::string& path, uint32_t access,
                                    RegKeyHandle& key) {
    wchar_t noClass[] = L"";
    SECURITY_ATTRIBUTES security = {};
    security.nLength = sizeof security;
    HKEY created = nullptr;
    DWORD disposition = 0;
    LONG result =
        RegCreateKeyExW(RootKey(root), Widen(path).c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                        access, &security, &created, &disposition);
    if (result == ERROR_SUCCESS) {
        key = reinterpret_cast<RegKeyHandle>(created);
    }
    return result;
}

int32_t Win32RegistryApi::DeleteKey(int32_t root, const std::string& path) {
    return RegDeleteKeyW(RootKey(root), Widen(path).c_str());
}

int32_t Win32RegistryApi::DeleteValue(RegKeyHandle key, const std::string& name) {
    return RegDeleteValueW(OpenedKey(key), Widen(name).c_str());
}

int32_t Win32RegistryApi::QueryValue(RegKeyHandle key, const std::string& name, uint32_t& type,
                                     uint8_t* data, uint32_t& size) {
    const std::wstring wideName = Widen(name);
    DWORD valueType = 0;
    DWORD stored = 0;
    LONG result =
        RegQueryValueExW(OpenedKey(key), wideName.c_str(), nullptr, &valueType, nullptr, &stored);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    std::vector<BYTE> raw;
    result = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < kReadAttempts && result == ERROR_MORE_DATA; ++attempt) {
        raw.assign(std::max<DWORD>(stored, 1), 0);
        DWORD got = stored;
        result = RegQueryValueExW(OpenedKey(key), wideName.c_str(), nullptr, &valueType, raw.data(),
                                  &got);
        if (result == ERROR_SUCCESS) {
            raw.resize(std::min(got, stored));
        } else if (result == ERROR_MORE_DATA) {
            if (got <= stored) {
                return ERROR_INVALID_DATA;
            }
            stored = got;
        }
    }
    if (result != ERROR_SUCCESS) {
        return result;
    }

    std::string text;
    const uint8_t* bytes = raw.data();
    size_t count = raw.size();
    if (IsStringType(valueType)) {
        std::wstring wide(raw.size() / sizeof(wchar_t), L'\0');
        std::memcpy(wide.data(), raw.data(), wide.size() * sizeof(wchar_t));
        text = Narrow(wide.data(), wide.size());
        bytes = reinterpret_cast<const uint8_t*>(text.data());
        count = text.size();
    }
    if (count > MAXDWORD) {
        return ERROR_INVALID_DATA;
    }
    type = valueType;
    if (data == nullptr) {
        size = static_cast<uint32_t>(count);
        return ERROR_SUCCESS;
    }
    if (size < count) {
        size = static_cast<uint32_t>(count);
        return ERROR_MORE_DATA;
    }
    if (count > 0) {
        std::memcpy(data, bytes, count);
    }
    size = static_cast<uint32_t>(count);
    return ERROR_SUCCESS;
}

int32_t Win32RegistryApi::SetValue(RegKeyHandle key, const std::string& name, uint32_t type,
                                   const uint8_t* data, uint32_t size) {
    const std::wstring wideName = Widen(name);
    if (IsStringType(type) && size > 0) {
        std::wstring wide = Widen(reinterpret_cast<const char*>(data), size);
        if (wide.size() > MAXDWORD / sizeof(wchar_t)) {
            return ERROR_INVALID_DATA;
        }
        return RegSetValueExW(OpenedKey(key), wideName.c_str(), 0, type,
                              reinterpret_cast<const BYTE*>(wide.data()),
                              static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
    }
    return RegSetValueExW(OpenedKey(key), wideName.c_str(), 0, type, data, size);
}

// A key's and a value's name hold at most 255 and 16,383 characters.
int32_t Win32RegistryApi::EnumKey(RegKeyHandle key, uint32_t index, std::string& name) {
    wchar_t buffer[256] = {};
    DWORD length = static_cast<DWORD>(std::size(buffer));
    LONG result =
        RegEnumKeyExW(OpenedKey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
        name = Narrow(buffer, length);
    }
    return result;
}

int32_t Win32RegistryApi::EnumValue(RegKeyHandle key, uint32_t index, std::string& name,
                                    uint32_t& type) {
    std::wstring buffer(16384, L'\0');
    DWORD length = static_cast<DWORD>(buffer.size());
    DWORD valueType = 0;
    LONG result = RegEnumValueW(OpenedKey(key), index, buffer.data(), &length, nullptr, &valueType,
                                nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
        name = Narrow(buffer.data(), length);
        type = valueType;
    }
    return result;
}

int32_t Win32RegistryApi::CloseKey(RegKeyHandle key) {
    return RegCloseKey(OpenedKey(key));
}

uint32_t Win32RegistryApi::ExpandEnvironment(const std::string& text, char* buffer, uint32_t size) {
    const std::wstring source = Widen(text);
    DWORD needed = ExpandEnvironmentStringsW(source.c_str(), nullptr, 0);
    std::wstring expanded;
    for (int attempt = 0; attempt < kReadAttempts && needed != 0; ++attempt) {
        expanded.assign(needed, L'\0');
        DWORD written = ExpandEnvironmentStringsW(source.c_str(), expanded.data(), needed);
        if (written == 0) {
            return 0;
        }
        if (written <= needed) {
            expanded.resize(std::min<size_t>(expanded.find(L'\0'), needed));
            std::string narrow = Narrow(expanded.data(), expanded.size());
            const size_t total = narrow.size() + 1;
            if (total > MAXDWORD) {
                return 0;
            }
            if (buffer != nullptr && size >= total) {
                std::memcpy(buffer, narrow.c_str(), total);
            }
            return static_cast<uint32_t>(total);
        }
        needed = written;
    }
    return 0;
}

std::string Win32RegistryApi::ExecutablePath() {
    // Long paths need a larger buffer; a result that fills the buffer may have been cut short.
    for (DWORD capacity = MAX_PATH; capacity <= 32768; capacity *= 2) {
        std::wstring path(capacity, L'\0');
        DWORD length = GetModuleFileNameW(nullptr, path.data(), capacity);
        if (length == 0) {
            return {};
        }
        if (length < capacity) {
            return Narrow(path.data(), length);
        }
    }
    return {};
}
