#pragma once
// A scripted system: answers set by the test, and every call it saw, in order. Any one call can be
// made to fail, as the platform's function fails.
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

    // Fault injection: every call counts, from 1, and the call numbered FailCallNumber fails
    // (0: none). A failing call answers false, a failure code, 0 or the neutral language, and does
    // nothing else (no sleep, no shell open); it is still recorded in Calls.
    size_t CallNumber = 0;
    size_t FailCallNumber = 0;
    static constexpr int32_t kEFail = static_cast<int32_t>(0x80004005u);

    void InitCommonControls() override {
        Calls.push_back("InitCommonControls");
        Failing();
    }
    bool CoInitializeApartment() override {
        Calls.push_back("CoInitialize");
        return !Failing();
    }
    bool GetSystemDir(std::string& dir) override {
        Calls.push_back("GetSystemDirectory");
        if (Failing())
            return false;
        if (SystemDirOk)
            dir = SystemDir;
        return SystemDirOk;
    }
    bool GetOsVersion(OsVersionInfo& info) override {
        Calls.push_back("GetVersionEx");
        if (Failing())
            return false;
        if (VersionOk)
            info = Version;
        return VersionOk;
    }
    bool GetScreenLogPixelsX(int& dpi) override {
        Calls.push_back("GetDeviceCaps");
        if (Failing())
            return false;
        if (DpiOk)
            dpi = Dpi;
        return DpiOk;
    }
    int32_t GetFolderPath(int32_t nFolder, std::string& path) override {
        Calls.push_back("SHGetFolderPath(" + std::to_string(nFolder) + ")");
        if (Failing())
            return kEFail;
        if (FolderResult == 0)
            path = CommonFiles;
        return FolderResult;
    }
    uint16_t GetUserDefaultUILanguage() override { return Failing() ? 0 : UiLanguage; }
    int16_t GetAsyncKeyState(int vKey) override {
        Calls.push_back("GetAsyncKeyState(" + std::to_string(vKey) + ")");
        return Failing() ? 0 : KeyState(vKey);
    }
    void Sleep(uint32_t ms) override {
        Calls.push_back("Sleep(" + std::to_string(ms) + ")");
        if (Failing())
            return;
        Sleeps.push_back(ms);
    }
    void ShellOpen(const std::string& url) override {
        Calls.push_back("ShellOpen(" + url + ")");
        if (Failing())
            return;
        Opened.push_back(url);
    }
    WindowHandle GetForegroundWindow() override {
        Calls.push_back("GetForegroundWindow");
        return Failing() ? 0 : Foreground;
    }
    uint32_t GetWindowThreadProcessId(WindowHandle hwnd) override {
        Calls.push_back("GetWindowThreadProcessId(" + std::to_string(hwnd) + ")");
        return Failing() ? 0 : ThreadOf(hwnd);
    }
    bool AttachThreadInput(uint32_t from, uint32_t to, bool attach) override {
        Calls.push_back("AttachThreadInput(" + std::to_string(from) + "," + std::to_string(to) +
                        "," + (attach ? "1" : "0") + ")");
        return !Failing();
    }
    bool SetForegroundWindow(WindowHandle hwnd) override {
        Calls.push_back("SetForegroundWindow(" + std::to_string(hwnd) + ")");
        return !Failing();
    }
    bool BringWindowToTop(WindowHandle hwnd) override {
        Calls.push_back("BringWindowToTop(" + std::to_string(hwnd) + ")");
        return !Failing();
    }
    bool AllowSetForegroundWindow(uint32_t pid) override {
        Calls.push_back("AllowSetForegroundWindow(" + std::to_string(static_cast<int32_t>(pid)) +
                        ")");
        return !Failing();
    }
    void SetHandCursor() override {
        Calls.push_back("SetHandCursor");
        Failing();
    }

private:
    bool Failing() { return ++CallNumber == FailCallNumber; }
};
