#pragma once
// A scripted system: answers set by the test, and every call it saw, in order.
#include <functional>
#include <string>
#include <vector>

#include "app/system_api.h"

class FakeSystem : public ISystem {
public:
    // Scripted answers.
    bool SystemDirOk = true;
    std::string SystemDir = "C:\\WINDOWS\\system32";
    bool VersionOk = true;
    OsVersionInfo Version{2, 5, 1, 2600};
    bool DpiOk = true;
    int Dpi = 96;
    int32_t FolderResult = 0;
    std::string CommonFiles = "C:\\Program Files\\Common Files";
    uint16_t UiLanguage = 0x0409;
    std::function<int16_t(int)> KeyState = [](int) -> int16_t { return 0; };
    WindowHandle Foreground = 0;
    std::function<uint32_t(WindowHandle)> ThreadOf = [](WindowHandle) { return 1u; };

    std::vector<std::string> Calls;
    std::vector<std::string> Opened; // addresses given to the shell
    std::vector<uint32_t> Sleeps;

    void InitCommonControls() override { Calls.push_back("InitCommonControls"); }
    bool CoInitializeApartment() override {
        Calls.push_back("CoInitialize");
        return true;
    }
    bool GetSystemDir(std::string& dir) override {
        Calls.push_back("GetSystemDirectory");
        if (SystemDirOk)
            dir = SystemDir;
        return SystemDirOk;
    }
    bool GetOsVersion(OsVersionInfo& info) override {
        Calls.push_back("GetVersionEx");
        if (VersionOk)
            info = Version;
        return VersionOk;
    }
    bool GetScreenLogPixelsX(int& dpi) override {
        Calls.push_back("GetDeviceCaps");
        if (DpiOk)
            dpi = Dpi;
        return DpiOk;
    }
    int32_t GetFolderPath(int32_t nFolder, std::string& path) override {
        Calls.push_back("SHGetFolderPath(" + std::to_string(nFolder) + ")");
        if (FolderResult == 0)
            path = CommonFiles;
        return FolderResult;
    }
    uint16_t GetUserDefaultUILanguage() override { return UiLanguage; }
    int16_t GetAsyncKeyState(int vKey) override {
        Calls.push_back("GetAsyncKeyState(" + std::to_string(vKey) + ")");
        return KeyState(vKey);
    }
    void Sleep(uint32_t ms) override {
        Calls.push_back("Sleep(" + std::to_string(ms) + ")");
        Sleeps.push_back(ms);
    }
    void ShellOpen(const std::string& url) override {
        Calls.push_back("ShellOpen(" + url + ")");
        Opened.push_back(url);
    }
    WindowHandle GetForegroundWindow() override {
        Calls.push_back("GetForegroundWindow");
        return Foreground;
    }
    uint32_t GetWindowThreadProcessId(WindowHandle hwnd) override {
        Calls.push_back("GetWindowThreadProcessId(" + std::to_string(hwnd) + ")");
        return ThreadOf(hwnd);
    }
    bool AttachThreadInput(uint32_t from, uint32_t to, bool attach) override {
        Calls.push_back("AttachThreadInput(" + std::to_string(from) + "," + std::to_string(to) +
                        "," + (attach ? "1" : "0") + ")");
        return true;
    }
    bool SetForegroundWindow(WindowHandle hwnd) override {
        Calls.push_back("SetForegroundWindow(" + std::to_string(hwnd) + ")");
        return true;
    }
    bool BringWindowToTop(WindowHandle hwnd) override {
        Calls.push_back("BringWindowToTop(" + std::to_string(hwnd) + ")");
        return true;
    }
    bool AllowSetForegroundWindow(uint32_t pid) override {
        Calls.push_back("AllowSetForegroundWindow(" + std::to_string(static_cast<int32_t>(pid)) +
                        ")");
        return true;
    }
    void SetHandCursor() override { Calls.push_back("SetHandCursor"); }
};
