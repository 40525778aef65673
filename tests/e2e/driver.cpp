#include "driver.h"

#include <commctrl.h>

#include <algorithm>
#include <thread>

namespace {
constexpr UINT kTimeoutMs = 5000;

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, kTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

struct DialogCtx {
    DWORD Pid;
    HWND Found;
    const wchar_t* Class = L"#32770";
};
BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp) {
    auto* ctx = reinterpret_cast<DialogCtx*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (pid == ctx->Pid && lstrcmpW(cls, ctx->Class) == 0 && IsWindowVisible(hwnd)) {
        ctx->Found = hwnd;
        return FALSE;
    }
    return TRUE;
}
struct FindCtx {
    int Id;
    HWND Found;
};
BOOL CALLBACK FindChild(HWND hwnd, LPARAM lp) {
    auto* ctx = reinterpret_cast<FindCtx*>(lp);
    if (GetDlgCtrlID(hwnd) == ctx->Id) {
        ctx->Found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct WindowCtx {
    DWORD Pid;
    HWND Found;
};
BOOL CALLBACK FindMain(HWND hwnd, LPARAM lp) {
    auto* ctx = reinterpret_cast<WindowCtx*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid == ctx->Pid && lstrcmpW(cls, L"QuendryMain") == 0) {
        ctx->Found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

std::string Utf8(const std::wstring& s) {
    if (s.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::wstring Wide(const std::string& s) {
    if (s.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

Language LanguageOfThisRun() {
    const char* lang = getenv("LANG");
    return lang && lang[0] == 'd' && lang[1] == 'e' ? Language::German : Language::English;
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L"\\/"));
}

QuendryProcess::~QuendryProcess() {
    Kill();
}

bool QuendryProcess::Start(const LaunchOptions& options) {
    // The child's environment: ours, with the language and the extra variables replaced.
    std::map<std::wstring, std::wstring> env;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
            std::wstring entry(p);
            const size_t eq = entry.find(L'=', 1);
            if (eq != std::wstring::npos)
                env[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [k, v] : options.Env)
        env[k] = v;
    std::wstring block;
    for (const auto& [k, v] : env)
        block += k + L"=" + v + L'\0';
    block += L'\0';

    const std::wstring exe =
        options.Program.empty() ? ExeFolder() + L"\\" + Wide(QUENDRY_EXE_NAME) : options.Program;
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    m_controls.clear();
    const DWORD suspended = options.BeforeFirstInstruction ? CREATE_SUSPENDED : 0;
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT | suspended, block.data(), ExeFolder().c_str(),
                        &si, &m_pi))
        return false;
    if (suspended) {
        options.BeforeFirstInstruction();
        ResumeThread(m_pi.hThread);
    }
    WaitForInputIdle(m_pi.hProcess, 10000);
    return WaitFor([&] {
        WindowCtx ctx{m_pi.dwProcessId, nullptr};
        EnumWindows(FindMain, reinterpret_cast<LPARAM>(&ctx));
        m_window = ctx.Found;
        return m_window && IsWindowVisible(m_window) && TopPage() == ControlId::pic1;
    });
}

bool QuendryProcess::Running() const {
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool QuendryProcess::WaitForExit(std::chrono::milliseconds timeout) {
    return !m_pi.hProcess ||
           WaitForSingleObject(m_pi.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void QuendryProcess::Kill() {
    if (!m_pi.hProcess)
        return;
    if (Running()) {
        TerminateProcess(m_pi.hProcess, 99);
        WaitForSingleObject(m_pi.hProcess, 5000);
    }
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
    m_pi = {};
    m_window = nullptr;
    m_controls.clear();
}

HWND QuendryProcess::Control(ControlId id) const {
    if (!m_window)
        return nullptr;
    if (id == ControlId::frmMain)
        return m_window;
    // The window on databases is a window of its own, made anew each time it opens.
    if (id >= ControlId::frmDatabases) {
        DWORD pid = 0;
        GetWindowThreadProcessId(m_window, &pid);
        DialogCtx ctx{pid, nullptr, L"QuendryDatabases"};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&ctx));
        return id == ControlId::frmDatabases || !ctx.Found
                   ? ctx.Found
                   : GetDlgItem(ctx.Found, static_cast<int>(id));
    }
    const auto known = m_controls.find(static_cast<int>(id));
    if (known != m_controls.end() && IsWindow(known->second))
        return known->second;
    FindCtx ctx{static_cast<int>(id), nullptr};
    EnumChildWindows(m_window, FindChild, reinterpret_cast<LPARAM>(&ctx));
    if (ctx.Found)
        m_controls[static_cast<int>(id)] = ctx.Found;
    return ctx.Found;
}

std::string QuendryProcess::Text(ControlId id) const {
    HWND hwnd = Control(id);
    if (!hwnd)
        return "<no control>";
    const auto n = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    const auto got = Send(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<size_t>(got));
    return Utf8(buf);
}

bool QuendryProcess::Visible(ControlId id) const {
    HWND hwnd = Control(id);
    return hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE);
}

bool QuendryProcess::Enabled(ControlId id) const {
    HWND hwnd = Control(id);
    return hwnd && IsWindowEnabled(hwnd);
}

RECT QuendryProcess::Rect(ControlId id) const {
    RECT rc = {};
    HWND hwnd = Control(id);
    if (!hwnd)
        return rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

ControlId QuendryProcess::TopPage() const {
    for (HWND c = GetWindow(m_window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        if (id >= static_cast<int>(ControlId::pic1) && id <= static_cast<int>(ControlId::pic5))
            return static_cast<ControlId>(id);
    }
    return ControlId::frmMain;
}

void QuendryProcess::Click(ControlId id) const {
    HWND hwnd = Control(id);
    if (hwnd)
        Send(hwnd, BM_CLICK, 0, 0);
}

void QuendryProcess::CloseBox() const {
    Send(m_window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND QuendryProcess::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(m_window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

bool QuendryProcess::TabTo(ControlId id, int tries) const {
    for (int i = 0; i < tries; ++i) {
        if (Focus() == Control(id))
            return true;
        const HWND before = Focus();
        KeyPress(VK_TAB);
        WaitFor([&] { return Focus() != before; }, std::chrono::milliseconds(1000));
    }
    return Focus() == Control(id);
}

void QuendryProcess::CloseByOtherProgram() const {
    Send(m_window, WM_CLOSE, 0, 0);
}

int QuendryProcess::ListCount(ControlId id) const {
    return static_cast<int>(Send(Control(id), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::string> QuendryProcess::ListRow(ControlId id, int index) const {
    // The list lives in the other process: its item texts are read through memory allocated
    // there.
    std::vector<std::string> row;
    HWND list = Control(id);
    constexpr int kChars = 512;
    const SIZE_T bytes = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
    void* remote = VirtualAllocEx(m_pi.hProcess, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return row;
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
    for (int sub = 0; sub < 3; ++sub) {
        LVITEMW item = {};
        item.iSubItem = sub;
        item.pszText = remoteText;
        item.cchTextMax = kChars;
        WriteProcessMemory(m_pi.hProcess, remote, &item, sizeof item, nullptr);
        const auto n = Send(list, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(remote));
        std::wstring text(static_cast<size_t>(n > 0 ? n : 0), L'\0');
        if (n > 0)
            ReadProcessMemory(m_pi.hProcess, remoteText, text.data(), n * sizeof(wchar_t), nullptr);
        row.push_back(Utf8(text));
    }
    VirtualFreeEx(m_pi.hProcess, remote, 0, MEM_RELEASE);
    return row;
}

int QuendryProcess::ListImage(ControlId id, int index) const {
    HWND list = Control(id);
    void* remote =
        VirtualAllocEx(m_pi.hProcess, nullptr, sizeof(LVITEMW), MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return -1;
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    WriteProcessMemory(m_pi.hProcess, remote, &item, sizeof item, nullptr);
    Send(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(m_pi.hProcess, remote, &item, sizeof item, nullptr);
    VirtualFreeEx(m_pi.hProcess, remote, 0, MEM_RELEASE);
    return item.iImage + 1;
}

bool QuendryProcess::WaitFor(const std::function<bool()>& condition,
                             std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

namespace {
void SetOrDelete(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
                 DWORD size) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (data)
        RegSetValueExW(h, name, 0, type, static_cast<const BYTE*>(data), size);
    else
        RegDeleteValueW(h, name);
    RegCloseKey(h);
}
} // namespace

void SetWineWindowsVersion(const wchar_t* exeName, const wchar_t* version) {
    std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + exeName;
    SetOrDelete(HKEY_CURRENT_USER, key.c_str(), L"Version", REG_SZ, version,
                version ? static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)) : 0);
}

void SetScreenDpi(DWORD dpi) {
    SetOrDelete(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                dpi ? &dpi : nullptr, sizeof dpi);
}

POINT ScreenCenter(const QuendryProcess& q, ControlId id) {
    RECT rc = {};
    if (HWND hwnd = q.Control(id))
        GetWindowRect(hwnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

POINT ColumnHeaderPoint(const QuendryProcess& q, ControlId list, int column) {
    HWND lv = q.Control(list);
    HWND header = reinterpret_cast<HWND>(Send(lv, LVM_GETHEADER, 0, 0));
    RECT rc = {};
    if (!header || !GetWindowRect(header, &rc))
        return {};
    int left = rc.left;
    for (int c = 0; c < column; ++c)
        left += static_cast<int>(Send(lv, LVM_GETCOLUMNWIDTH, c, 0));
    const int right =
        std::min<int>(left + static_cast<int>(Send(lv, LVM_GETCOLUMNWIDTH, column, 0)), rc.right);
    // A column wider than the list is only partly on the screen: its middle may lie outside.
    return {(left + right) / 2, (rc.top + rc.bottom) / 2};
}

namespace {
void SendMouse(DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}
} // namespace

void MouseDown(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}

void MouseUp(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void MouseClick(POINT screen, std::chrono::milliseconds hold) {
    MouseDown(screen);
    if (hold.count() > 0)
        std::this_thread::sleep_for(hold);
    MouseUp(screen);
}

void KeyPress(WORD virtualKey, WORD modifier) {
    INPUT in[4] = {};
    UINT n = 0;
    const auto key = [&](WORD vk, DWORD flags) {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = vk;
        in[n++].ki.dwFlags = flags;
    };
    if (modifier)
        key(modifier, 0);
    key(virtualKey, 0);
    key(virtualKey, KEYEVENTF_KEYUP);
    if (modifier)
        key(modifier, KEYEVENTF_KEYUP);
    SendInput(n, in, sizeof in[0]);
}

void SetWineUnmanagedWindows(const wchar_t* exeName, bool unmanaged) {
    const std::wstring key =
        std::wstring(L"Software\\Wine\\AppDefaults\\") + exeName + L"\\X11 Driver";
    static const wchar_t kNo[] = L"N";
    SetOrDelete(HKEY_CURRENT_USER, key.c_str(), L"Managed", REG_SZ, unmanaged ? kNo : nullptr,
                sizeof kNo);
}

namespace {
BOOL CALLBACK LongestStatic(HWND hwnd, LPARAM lp) {
    auto* text = reinterpret_cast<std::wstring*>(lp);
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpiW(cls, L"Static") == 0) {
        const auto n = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
        std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
        const auto got = Send(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
        buf.resize(static_cast<size_t>(got));
        if (buf.size() > text->size())
            *text = buf;
    }
    return TRUE;
}
} // namespace

HWND FindMessageBox(const QuendryProcess& q) {
    DWORD pid = 0;
    if (!q.Window() || !GetWindowThreadProcessId(q.Window(), &pid))
        return nullptr;
    DialogCtx ctx{pid, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&ctx));
    return ctx.Found;
}

std::string MessageBoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
    return Utf8(text);
}

std::string WindowCaption(HWND hwnd) {
    const auto n = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    const auto got = Send(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<size_t>(got));
    return Utf8(buf);
}

void PressMessageBoxOk(HWND box) {
    // Posted: the box's own loop takes it, and the handler that showed the box goes on.
    if (HWND ok = GetDlgItem(box, IDOK))
        PostMessageW(ok, BM_CLICK, 0, 0);
    else
        PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void MovePointer(POINT screen) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, w - 1);
    in.mi.dy = MulDiv(screen.y, 65535, h - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

HCURSOR CurrentPointer() {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

bool LooksUnderlined(const QuendryProcess& q, ControlId label, COLORREF textColour) {
    HWND hwnd = q.Control(label);
    RECT rc = {};
    if (!hwnd || !GetWindowRect(hwnd, &rc) || rc.right - rc.left < 8)
        return false;
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    // One copy of the label's screen area: a GetPixel per point costs Wine a trip to the X
    // server each, so a look took long enough to miss a short-lived state.
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP copy =
        memory ? CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    bool copied = false;
    if (copy) {
        HGDIOBJ old = SelectObject(memory, copy);
        copied = BitBlt(memory, 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    bool underlined = false;
    if (copied) {
        // DIB pixels are 0x00RRGGBB, a COLORREF is 0x00BBGGRR.
        const DWORD wanted =
            (GetRValue(textColour) << 16) | (GetGValue(textColour) << 8) | GetBValue(textColour);
        const auto* pixels = static_cast<const DWORD*>(bits);
        for (int y = 0; y < height && !underlined; ++y) {
            const DWORD* row = pixels + static_cast<size_t>(y) * width;
            const auto run =
                std::count_if(row, row + width, [&](DWORD p) { return (p & 0xFFFFFF) == wanted; });
            underlined = run * 10 >= width * 8;
        }
    }
    if (copy)
        DeleteObject(copy);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return underlined;
}
