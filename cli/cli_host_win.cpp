#include "cli/cli_host_win.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "cli/console_stop_win.h"
#include "cli/console_text.h"
#include "text/win_text.h"

namespace {

ElevationSource g_lastSource = ElevationSource::Unknown;

// Wide characters per WriteConsoleW call: older consoles fail on large writes.
constexpr size_t kConsoleChunk = 8192;

bool WriteAllBytes(HANDLE handle, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!::WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

void WriteConsoleText(HANDLE console, const std::wstring& text) {
    size_t done = 0;
    while (done < text.size()) {
        size_t chunk = std::min(kConsoleChunk, text.size() - done);
        // Never split a surrogate pair between two writes.
        if (done + chunk < text.size() && IS_HIGH_SURROGATE(text[done + chunk - 1]))
            --chunk;
        DWORD written = 0;
        if (!::WriteConsoleW(console, text.data() + done, static_cast<DWORD>(chunk), &written,
                             nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

void WriteStream(DWORD which, const std::string& text) {
    HANDLE handle = ::GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode))
        WriteConsoleText(handle, Widen(text));
    else
        WriteAllBytes(handle, WithCarriageReturns(text));
}

// TokenElevation where the system knows it; nothing on systems before Vista.
std::optional<bool> TokenElevated() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::nullopt;
    // TOKEN_ELEVATION and TokenElevation (20) are newer than the headers the program builds for.
    struct TokenElevationInfo {
        DWORD TokenIsElevated;
    } info = {};
    constexpr int kTokenElevation = 20;
    DWORD size = 0;
    const BOOL ok = ::GetTokenInformation(
        token, static_cast<TOKEN_INFORMATION_CLASS>(kTokenElevation), &info, sizeof info, &size);
    ::CloseHandle(token);
    if (!ok)
        return std::nullopt;
    return info.TokenIsElevated != 0;
}

} // namespace

std::optional<bool> InAdministratorsGroup() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                    0, 0, 0, 0, 0, &administrators))
        return std::nullopt;
    BOOL member = FALSE;
    const BOOL ok = ::CheckTokenMembership(nullptr, administrators, &member);
    ::FreeSid(administrators);
    if (!ok)
        return std::nullopt;
    return member != FALSE;
}

void WinCliHost::WriteOut(const std::string& text) {
    WriteStream(STD_OUTPUT_HANDLE, text);
}

void WinCliHost::WriteErr(const std::string& text) {
    WriteStream(STD_ERROR_HANDLE, text);
}

bool WinCliHost::WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool written = WriteAllBytes(file, bytes);
    const bool closed = ::CloseHandle(file) != FALSE;
    return written && closed;
}

bool WinCliHost::CreateFolder(const std::string& path) {
    return ::CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE ||
           ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WinCliHost::CopyFileTo(const std::string& from, const std::string& to) {
    return ::CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE) != FALSE;
}

namespace {

Removal Removed(const std::wstring& path, BOOL removed) {
    if (removed)
        return Removal::Gone;
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return Removal::Gone;
    // In use (the running copy, a folder that still holds it): Windows removes it at restart,
    // where the process may ask for that (administrators may).
    if (::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        return Removal::AtRestart;
    return Removal::Failed;
}

} // namespace

Removal WinCliHost::RemoveFile(const std::string& path) {
    const std::wstring wide = Widen(path);
    return Removed(wide, ::DeleteFileW(wide.c_str()));
}

Removal WinCliHost::RemoveFolder(const std::string& path) {
    const std::wstring wide = Widen(path);
    return Removed(wide, ::RemoveDirectoryW(wide.c_str()));
}

bool WinCliHost::IsElevated() {
    if (const std::optional<bool> elevated = TokenElevated()) {
        g_lastSource = ElevationSource::TokenElevation;
        return *elevated;
    }
    if (const std::optional<bool> member = InAdministratorsGroup()) {
        g_lastSource = ElevationSource::AdministratorsGroup;
        return *member;
    }
    // Nothing can tell (Windows NT 4.0): the repair is tried, and each registration that lacks
    // the rights reports its own failure.
    g_lastSource = ElevationSource::Unknown;
    return true;
}

ElevationSource LastElevationSource() {
    return g_lastSource;
}

void WinCliHost::CatchStop() {
    CatchConsoleStop(); // refused: a stop ends the process as it did before
}

bool WinCliHost::StopRequested() {
    return ConsoleStopRequested();
}
