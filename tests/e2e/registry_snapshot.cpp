#include "registry_snapshot.h"

namespace {
void Walk(HKEY root, REGSAM view, const std::wstring& label, const std::wstring& path,
          RegistrySnapshot& out, int depth) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.empty() ? nullptr : path.c_str(), 0, KEY_READ | view, &key) !=
        ERROR_SUCCESS)
        return;
    const std::wstring here = label + (path.empty() ? L"" : L"\\" + path);
    out[here + L"\\\\"] = {}; // the key itself
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = static_cast<DWORD>(name.size()), type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        LONG rc = RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &size);
        if (rc == ERROR_MORE_DATA) {
            data.resize(size);
            nameLen = static_cast<DWORD>(name.size());
            rc = RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &size);
        }
        if (rc != ERROR_SUCCESS)
            break;
        out[here + L"\\\\" + std::wstring(name.data(), nameLen)] = {
            type, std::vector<BYTE>(data.begin(), data.begin() + size)};
    }
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &nameLen, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        subkeys.emplace_back(name.data(), nameLen);
    }
    RegCloseKey(key);
    if (depth > 40)
        return;
    for (const auto& sub : subkeys)
        Walk(root, view, label, path.empty() ? sub : path + L"\\" + sub, out, depth + 1);
}
} // namespace

RegistrySnapshot TakeRegistrySnapshot() {
    RegistrySnapshot out;
    Walk(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"HKLM64", L"", out, 0);
    Walk(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"HKLM32", L"", out, 0);
    Walk(HKEY_CURRENT_USER, 0, L"HKCU", L"", out, 0);
    return out;
}

std::vector<std::wstring> RegistryChanges(const RegistrySnapshot& before,
                                          const RegistrySnapshot& after) {
    std::vector<std::wstring> changes;
    for (const auto& [name, value] : before) {
        auto it = after.find(name);
        if (it == after.end())
            changes.push_back(L"removed " + name);
        else if (!(it->second == value))
            changes.push_back(L"changed " + name);
    }
    for (const auto& [name, value] : after)
        if (!before.count(name))
            changes.push_back(L"added " + name);
    return changes;
}
