#include "bench/process_timing_win.h"

#include <psapi.h>

#include "app/controls.h"

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kRunTimeoutMs = 60000;
constexpr wchar_t kMinimalClass[] = L"QuendryBenchMinimal";

struct TopLevelSearch {
    DWORD Pid;
    const wchar_t* Class;
    HWND Found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<TopLevelSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    if (pid == s->Pid && GetClassNameW(hwnd, cls, 64) && lstrcmpW(cls, s->Class) == 0) {
        s->Found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Text of another process's window as the system keeps it: read without sending the program a
// message, so that looking doesn't wait on the program.
bool HasText(HWND hwnd) {
    wchar_t buf[8] = {};
    return hwnd && GetWindowTextW(hwnd, buf, 8) > 0;
}

bool IsPage(HWND hwnd) {
    const int id = GetDlgCtrlID(hwnd);
    return id >= static_cast<int>(ControlId::pic1) && id <= static_cast<int>(ControlId::pic5);
}

bool WelcomeUp(HWND main) {
    HWND top = GetWindow(main, GW_CHILD);
    while (top && !IsPage(top))
        top = GetWindow(top, GW_HWNDNEXT);
    if (!top || GetDlgCtrlID(top) != static_cast<int>(ControlId::pic1))
        return false;
    return HasText(GetDlgItem(top, static_cast<int>(ControlId::lblWillkommen)));
}

bool PageUp(DWORD pid, FirstPage page, HWND& window) {
    TopLevelSearch s{pid, page == FirstPage::QuendryWelcome ? L"QuendryMain" : kMinimalClass,
                     nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&s));
    if (!s.Found || !IsWindowVisible(s.Found))
        return false;
    window = s.Found;
    return page == FirstPage::QuendryWelcome ? WelcomeUp(s.Found)
                                             : HasText(GetWindow(s.Found, GW_CHILD));
}

void End(PROCESS_INFORMATION& pi) {
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 10000);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

std::wstring Folder(const std::wstring& exe) {
    return exe.substr(0, exe.find_last_of(L"\\/"));
}

} // namespace

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f = {};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

std::optional<StartupSample> MeasureStartup(const std::wstring& exe, FirstPage page) {
    std::wstring command = L"\"" + exe + L"\"";
    const std::wstring folder = Folder(exe);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const double start = NowMs();
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi))
        return std::nullopt;
    std::optional<StartupSample> sample;
    HWND window = nullptr;
    while (NowMs() - start < kStartTimeoutMs) {
        if (PageUp(pi.dwProcessId, page, window)) {
            DWORD_PTR ignored = 0;
            if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStartTimeoutMs,
                                    &ignored)) {
                sample = StartupSample{NowMs() - start, 0};
                PROCESS_MEMORY_COUNTERS counters = {};
                counters.cb = sizeof counters;
                if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters))
                    sample->PeakWorkingSet = counters.PeakWorkingSetSize;
            }
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) != WAIT_TIMEOUT)
            break; // it ended before its page was up
    }
    End(pi);
    return sample;
}

std::optional<double> MeasureRunToExit(const std::wstring& exe, const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit = {};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    HANDLE nul =
        CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, OPEN_EXISTING, 0, nullptr);
    if (nul == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    const std::wstring folder = Folder(exe);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi = {};
    const double start = NowMs();
    const bool started = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, folder.c_str(), &si, &pi) != FALSE;
    CloseHandle(nul);
    if (!started)
        return std::nullopt;
    std::optional<double> ms;
    if (WaitForSingleObject(pi.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0)
        ms = NowMs() - start;
    End(pi);
    return ms;
}
