#pragma once
// What changes where the tests run in qemu's i386 emulator (scripts/i386-emulation.sh), on a
// machine whose kernel runs no 32-bit code.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

// The status a 32-bit process dies with when it writes through a null pointer. The emulator hands
// Wine every page fault as an illegal instruction, so there it is 0xC000001D, not an access
// violation.
inline uint32_t NullWriteStatus() {
    return GetEnvironmentVariableW(L"QUENDRY_I386_EMULATED", nullptr, 0) > 0 ? 0xC000001Du
                                                                             : 0xC0000005u;
}

// The same as the text "0xXXXXXXXX".
inline std::string NullWriteStatusText() {
    char text[16] = {};
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(NullWriteStatus()));
    return text;
}
