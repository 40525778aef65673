#include "app/paint_pending_win.h"

#include <windows.h>

namespace {

BOOL CALLBACK PaintWindow(HWND window, LPARAM) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

} // namespace

void PaintPendingWindows() {
    ::EnumThreadWindows(::GetCurrentThreadId(), PaintWindow, 0);
}
