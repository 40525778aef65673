#include "flow_support.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "fixtures/layout.h"

using C = ControlId;
using namespace std::chrono_literals;

namespace {

// Waits until the program takes messages again. A user's click waits in the queue while a handler
// still runs (under emulation the previous press may start the registration host for seconds);
// the driver's click, sent with a check for a hung program, would be dropped instead.
void UntilTakingMessages(const QuendryProcess& q) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(q.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
}

} // namespace

bool PressNext(QuendryProcess& q, ControlId page) {
    UntilTakingMessages(q);
    q.Click(C::cmdWeiter);
    return q.WaitFor([&] { return q.TopPage() == page; });
}

bool PressBack(QuendryProcess& q, ControlId page) {
    UntilTakingMessages(q);
    q.Click(C::cmdZurück);
    return q.WaitFor([&] { return q.TopPage() == page; });
}

bool GoToRepairPage(QuendryProcess& q) {
    return PressNext(q, C::pic2) && PressNext(q, C::pic3);
}

bool RunRepair(QuendryProcess& q) {
    // The run lasts several seconds inside the click handler: posted, so the test need not wait
    // on a sent message.
    if (!PostMessageW(q.Control(C::cmdRepairMDAC), BM_CLICK, 0, 0))
        return false;
    if (!q.WaitFor(
            [&] {
                return q.Enabled(C::cmdWeiter) && q.Visible(C::optFurtherProblems) &&
                       !q.Visible(C::ProgressBar1);
            },
            60s))
        return false;
    // Libraries that are there but fail to register are named in a message box at the end, which
    // would hold the window; the tests lay out systems whose libraries register.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(q.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return IsWindowEnabled(q.Window()) != FALSE;
}

bool WaitForClickHandled(const QuendryProcess& q, ControlId button) {
    HWND window = q.Window();
    HWND target = q.Control(button);
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    const bool handled = q.WaitFor([&] {
        if (!IsWindow(window))
            return true;
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus == target &&
               info.hwndCapture == nullptr;
    });
    // A message sent now is taken only once the click handler has returned.
    DWORD_PTR ignored = 0;
    if (IsWindow(window))
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return handled;
}

int ScreenDpi() {
    DWORD dpi = 0, size = sizeof dpi;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD,
                     nullptr, &dpi, &size) != ERROR_SUCCESS ||
        dpi == 0)
        return 96;
    return static_cast<int>(dpi);
}

int Px(int twips) {
    return TwipsToPixels(twips, ScreenDpi());
}

std::string Fill(const std::string& text, const std::string& value) {
    std::string out = text;
    const size_t at = out.find("[*]");
    if (at != std::string::npos)
        out.replace(at, 3, value);
    return out;
}

std::string FillNumbered(std::string text, const std::vector<std::string>& values) {
    for (size_t n = 0; n < values.size(); ++n) {
        const std::string mark = "[" + std::to_string(n + 1) + ":*]";
        if (const size_t at = text.find(mark); at != std::string::npos)
            text.replace(at, mark.size(), values[n]);
    }
    return text;
}

void WizardTest::SetUpTestSuite() {
    SetWineUnmanagedWindows(Wide(QUENDRY_EXE_NAME).c_str(), true);
}

void WizardTest::TearDownTestSuite() {
    SetWineUnmanagedWindows(Wide(QUENDRY_EXE_NAME).c_str(), false);
}

void LaidOutSystemTest::TearDown() {
    UseWindows(nullptr);
}

void LaidOutSystemTest::TearDownTestSuite() {
    try {
        fixtures::ApplyLayout(fixtures::WineFresh());
    } catch (const std::exception& e) {
        ADD_FAILURE() << "the prefix's own files could not be put back: " << e.what();
    }
    WizardTest::TearDownTestSuite();
}

void LaidOutSystemTest::UseWindows(const wchar_t* version) {
    SetWineWindowsVersion(Wide(QUENDRY_EXE_NAME).c_str(), version);
}

namespace {
std::wstring CommandKey(const std::wstring& scheme) {
    return L"Software\\Classes\\" + scheme + L"\\shell\\open\\command";
}

bool KeyExists(const std::wstring& path, REGSAM view) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

bool ReadDefault(const std::wstring& path, REGSAM view, std::wstring& value) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &h) != ERROR_SUCCESS)
        return false;
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
    const bool ok = RegQueryValueExW(h, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf),
                                     &size) == ERROR_SUCCESS &&
                    (type == REG_SZ || type == REG_EXPAND_SZ);
    RegCloseKey(h);
    if (ok)
        value = buf;
    return ok;
}

bool WriteDefault(const std::wstring& path, REGSAM view, const std::wstring& value) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr,
                        &h, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok =
        RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(h);
    return ok;
}

bool RecorderRunning() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snap, &entry); more && !found;
         more = Process32NextW(snap, &entry))
        found = lstrcmpiW(entry.szExeFile, L"url_recorder.exe") == 0;
    CloseHandle(snap);
    return found;
}
} // namespace

UrlRecorder::UrlRecorder() {
    wchar_t data[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, data) != S_OK)
        return;
    const std::wstring folder = std::wstring(data) + L"\\QuendryTest";
    CreateDirectoryW(folder.c_str(), nullptr);
    m_record = folder + L"\\opened.txt";
    DeleteFileW(m_record.c_str());
    if (GetFileAttributesW(m_record.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;

    const std::wstring command =
        L"\"" + ExeFolder() + L"\\url_recorder.exe\" \"" + m_record + L"\" \"%1\"";
    m_registered = true;
    for (const wchar_t* scheme : {L"http", L"https"}) {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            Saved s{scheme,
                    view,
                    KeyExists(L"Software\\Classes\\" + std::wstring(scheme), view),
                    false,
                    {}};
            s.HadCommand = ReadDefault(CommandKey(scheme), view, s.Command);
            m_saved.push_back(s);
            m_registered = WriteDefault(CommandKey(scheme), view, command) && m_registered;
        }
    }
}

UrlRecorder::~UrlRecorder() {
    WaitUntilSettled();
    // In reverse, so that a view that shares its keys with the other ends with the first state.
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->HadCommand) {
            WriteDefault(CommandKey(it->Scheme), it->View, it->Command);
        } else if (!it->SchemeExisted) {
            const std::wstring base = L"Software\\Classes\\" + it->Scheme;
            for (const std::wstring& sub : {base + L"\\shell\\open\\command",
                                            base + L"\\shell\\open", base + L"\\shell", base})
                RegDeleteKeyExW(HKEY_LOCAL_MACHINE, sub.c_str(), it->View, 0);
        } else {
            HKEY h = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CommandKey(it->Scheme).c_str(), 0,
                              KEY_WRITE | it->View, &h) == ERROR_SUCCESS) {
                RegDeleteValueW(h, nullptr);
                RegCloseKey(h);
            }
        }
    }
    if (!m_record.empty())
        DeleteFileW(m_record.c_str());
}

std::vector<std::string> UrlRecorder::Opened() const {
    std::vector<std::string> lines;
    std::ifstream in(std::filesystem::path(m_record), std::ios::binary);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> UrlRecorder::WaitForOpened(size_t count) const {
    const auto end = std::chrono::steady_clock::now() + 15s;
    while (Opened().size() < count && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(50ms);
    WaitUntilSettled();
    return Opened();
}

bool UrlRecorder::WaitUntilSettled() const {
    // Wine's shell waits for the browser it started to become idle, so a program that opened
    // pages one after another would leave only short gaps without a recorder: the record counts
    // as complete after a quiet spell.
    constexpr auto kQuiet = 300ms;
    const auto end = std::chrono::steady_clock::now() + 15s;
    auto quietSince = std::chrono::steady_clock::now();
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (RecorderRunning())
            quietSince = now;
        else if (now - quietSince >= kQuiet)
            return true;
        if (now >= end)
            return false;
        std::this_thread::sleep_for(10ms);
    }
}
