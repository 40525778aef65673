#pragma once
// The system as the wizard sees it: one small interface, shaped like the platform functions it
// stands for and with their results. The Win32 adapter calls the real functions; tests script it.
#include <cstdint>
#include <string>

using WindowHandle = uintptr_t;

struct OsVersionInfo {
    uint32_t PlatformId = 0; // 2 = NT
    uint32_t Major = 0;
    uint32_t Minor = 0;
    uint32_t Build = 0;
};

class ISystem {
public:
    virtual ~ISystem() = default;

    // Start-up.
    virtual void InitCommonControls() = 0;
    virtual bool CoInitializeApartment() = 0; // single-threaded apartment for the window's thread
    // False when GetSystemDirectory fails; otherwise the directory without a trailing backslash.
    virtual bool GetSystemDir(std::string& dir) = 0;
    virtual bool GetOsVersion(OsVersionInfo& info) = 0;
    // LOGPIXELSX of the screen; false when the device context can't be had.
    virtual bool GetScreenLogPixelsX(int& dpi) = 0;
    // SHGetFolderPath: result code (0 = success) and the path.
    virtual int32_t GetFolderPath(int32_t nFolder, std::string& path) = 0;
    virtual uint16_t GetUserDefaultUILanguage() = 0;

    // Input, timing and the shell.
    virtual int16_t GetAsyncKeyState(int vKey) = 0;
    virtual void Sleep(uint32_t ms) = 0;
    virtual void ShellOpen(const std::string& url) = 0; // ShellExecute "open", SW_SHOWNORMAL

    // Window activation.
    virtual WindowHandle GetForegroundWindow() = 0;
    virtual uint32_t GetWindowThreadProcessId(WindowHandle hwnd) = 0;
    virtual bool AttachThreadInput(uint32_t idAttach, uint32_t idAttachTo, bool attach) = 0;
    virtual bool SetForegroundWindow(WindowHandle hwnd) = 0;
    virtual bool BringWindowToTop(WindowHandle hwnd) = 0;
    virtual bool AllowSetForegroundWindow(uint32_t processId) = 0;

    // Pointer: LoadCursor(no module, IDC_HAND) then SetCursor.
    virtual void SetHandCursor() = 0;
};
