#pragma once
// The console companion's exit codes, for the scripts that run it.
inline constexpr int kExitOk = 0;          // up to date / nothing failed
inline constexpr int kExitAttention = 1;   // something needs attention / a library failed
inline constexpr int kExitUsage = 2;       // usage error, help, or the report's file not written
inline constexpr int kExitNotElevated = 3; // repair without administrator rights: nothing done
