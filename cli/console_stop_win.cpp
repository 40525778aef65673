#include "cli/console_stop_win.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> g_stopRequested{false};
// Manual-reset, set by ConsoleWorkDone; made before the handler is added, never closed (the
// handler's thread may wait on it until the process ends).
HANDLE g_workDone = nullptr;

// After a close, logoff or shutdown signal the system ends the process as soon as the handler
// returns TRUE, or once a time limit has passed whatever the handler does: for a closing console
// the hung-application time-out (SPI_GETHUNGAPPTIMEOUT, 5 s unless changed), for logoff and
// shutdown SPI_GETWAITTOKILLTIMEOUT (5 s). Waiting longer gains nothing. (Logoff and shutdown
// reach this handler only in a process without user32 and gdi32, which this one loads: the
// documented case is a service. The branch costs nothing and is right where they do arrive.)
constexpr DWORD kCloseWaitMs = 5000;

// Runs on a thread the system starts for each signal.
BOOL WINAPI OnConsoleControl(DWORD type) {
    switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        g_stopRequested.store(true);
        return TRUE; // the process goes on to the end of the library in work
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // Returning lets the system end the process: not before the library in work is done and
        // its lines are written (to a file, when the output was redirected, they outlast the
        // console).
        g_stopRequested.store(true);
        ::WaitForSingleObject(g_workDone, kCloseWaitMs);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool CatchConsoleStop() {
    if (!g_workDone)
        g_workDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_workDone)
        return false; // without it a close could not wait: leave the system's own handling
    const PHANDLER_ROUTINE handler = OnConsoleControl;
    return ::SetConsoleCtrlHandler(handler, TRUE) != FALSE;
}

bool ConsoleStopRequested() {
    return g_stopRequested.load();
}

void ConsoleWorkDone() {
    if (g_workDone)
        ::SetEvent(g_workDone);
}
