#include "system_api_win.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "desktop_shell_win.h"
#include "repair/system_library_win.h"
#include "text/win_text.h"

namespace {
HWND H(WindowHandle h) {
    return reinterpret_cast<HWND>(h);
}
} // namespace

void WinSystem::InitCommonControls() {
    ::InitCommonControls();
}

bool WinSystem::CoInitializeApartment() {
    static const auto initialize = SYSTEM_FUNCTION(L"ole32.dll", CoInitializeEx);
    return initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
}

bool WinSystem::GetSystemDir(std::string& dir) {
    wchar_t buf[MAX_PATH + 1] = {};
    const UINT n = GetSystemDirectoryW(buf, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    dir = Narrow(buf, n);
    return true;
}

bool WinSystem::GetOsVersion(OsVersionInfo& info) {
    OSVERSIONINFOW v = {};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&v))
        return false;
#pragma GCC diagnostic pop
    info = {v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber};
    return true;
}

bool WinSystem::GetScreenLogPixelsX(int& dpi) {
    HDC dc = GetDC(nullptr);
    if (!dc)
        return false;
    dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return true;
}

int32_t WinSystem::GetFolderPath(int32_t nFolder, std::string& path) {
    static const auto folderPath = SYSTEM_FUNCTION(L"shell32.dll", SHGetFolderPathW);
    if (!folderPath)
        return E_NOTIMPL;
    wchar_t buf[MAX_PATH + 1] = {};
    const HRESULT hr = folderPath(nullptr, nFolder, nullptr, 0, buf);
    if (hr == S_OK)
        path = Narrow(buf, wcsnlen(buf, MAX_PATH));
    return hr;
}

uint16_t WinSystem::GetUserDefaultUILanguage() {
    return ::GetUserDefaultUILanguage();
}

int16_t WinSystem::GetAsyncKeyState(int vKey) {
    return ::GetAsyncKeyState(vKey);
}

void WinSystem::Sleep(uint32_t ms) {
    ::Sleep(ms);
}

void WinSystem::ShellOpen(const std::string& url) {
    // The program runs elevated; the browser should not. The desktop's shell opens the page in the
    // user's own context where it can be reached, otherwise the shell is asked directly.
    const std::wstring address = Widen(url);
    if (OpenThroughDesktopShell(address))
        return;
    static const auto execute = SYSTEM_FUNCTION(L"shell32.dll", ShellExecuteW);
    if (execute)
        execute(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

WindowHandle WinSystem::GetForegroundWindow() {
    return reinterpret_cast<WindowHandle>(::GetForegroundWindow());
}

uint32_t WinSystem::GetWindowThreadProcessId(WindowHandle hwnd) {
    return ::GetWindowThreadProcessId(H(hwnd), nullptr);
}

bool WinSystem::AttachThreadInput(uint32_t idAttach, uint32_t idAttachTo, bool attach) {
    return ::AttachThreadInput(idAttach, idAttachTo, attach) != FALSE;
}

bool WinSystem::SetForegroundWindow(WindowHandle hwnd) {
    return ::SetForegroundWindow(H(hwnd)) != FALSE;
}

bool WinSystem::BringWindowToTop(WindowHandle hwnd) {
    return ::BringWindowToTop(H(hwnd)) != FALSE;
}

bool WinSystem::AllowSetForegroundWindow(uint32_t processId) {
    return ::AllowSetForegroundWindow(processId) != FALSE;
}

void WinSystem::SetHandCursor() {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
}
