// The functions are declared by the SDK for Vista and later only; the program is built against
// Windows 2000's declarations, so the newer ones are taken here to type the run-time lookup.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "app/shutdown_reason_win.h"

#include "repair/dll_search_win.h"

void SetShutdownBlockReason(HWND window, const std::wstring& reason) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (!user32)
        return;
    if (reason.empty()) {
        if (const auto destroy = ResolveFunction<decltype(&::ShutdownBlockReasonDestroy)>(
                user32, "ShutdownBlockReasonDestroy"))
            destroy(window);
    } else if (const auto create = ResolveFunction<decltype(&::ShutdownBlockReasonCreate)>(
                   user32, "ShutdownBlockReasonCreate")) {
        create(window, reason.c_str());
    }
}
