#pragma once
// Small platform helpers of the main window: the Windows version class and special folders.
#include <cstdint>
#include <string>

#include "system_api.h"

namespace modAPI {

// Windows version classes: 1 Windows 95, 2 Windows 98, 3 NT 4.0, 4 Windows 2000, 5 Windows Me,
// 6 Windows XP, 7 Server 2003, 8 Vista and every later 6.x, 0 unknown.
int32_t ClassifyWindowsVersion(uint32_t platformId, uint32_t major, uint32_t minor);

// The class of the running system. Computed once and kept; an unknown version (0) is examined
// again on the next call.
int32_t GetWindowsVersionClass(ISystem& system);
// Forgets the kept class (the kept value lives as long as the process otherwise).
void ResetWindowsVersionClass();

inline constexpr int32_t CSIDL_PROGRAM_FILES_COMMON = 43;

// The special folder's path, or "" when the system can't name it.
std::string GetSpecialFolderPath(ISystem& system, int32_t nFolder);

} // namespace modAPI
