#pragma once
#include "system_api.h"

// The real system, through the W functions of the platform.
class WinSystem : public ISystem {
public:
    void InitCommonControls() override;
    bool CoInitializeApartment() override;
    bool GetSystemDir(std::string& dir) override;
    bool GetOsVersion(OsVersionInfo& info) override;
    bool GetScreenLogPixelsX(int& dpi) override;
    int32_t GetFolderPath(int32_t nFolder, std::string& path) override;
    uint16_t GetUserDefaultUILanguage() override;
    int16_t GetAsyncKeyState(int vKey) override;
    void Sleep(uint32_t ms) override;
    void ShellOpen(const std::string& url) override;
    WindowHandle GetForegroundWindow() override;
    uint32_t GetWindowThreadProcessId(WindowHandle hwnd) override;
    bool AttachThreadInput(uint32_t idAttach, uint32_t idAttachTo, bool attach) override;
    bool SetForegroundWindow(WindowHandle hwnd) override;
    bool BringWindowToTop(WindowHandle hwnd) override;
    bool AllowSetForegroundWindow(uint32_t processId) override;
    void SetHandCursor() override;
};
