#pragma once
// The registry as values: every value under the parts of the registry a program could write to,
// so that two snapshots show what changed in between.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct RegistryValue {
    DWORD Type = 0;
    std::vector<BYTE> Data;
    bool operator==(const RegistryValue&) const = default;
};

// "HKLM64\Software\...\Key\\ValueName" -> value; keys without values appear with an empty name.
using RegistrySnapshot = std::map<std::wstring, RegistryValue>;

// HKEY_LOCAL_MACHINE (both registry views) and HKEY_CURRENT_USER, whole.
RegistrySnapshot TakeRegistrySnapshot();

// Every name that was added, removed or changed between the two snapshots.
std::vector<std::wstring> RegistryChanges(const RegistrySnapshot& before,
                                          const RegistrySnapshot& after);
