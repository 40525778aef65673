#include "bitness/program_file_win.h"

#include <windows.h>

#include "app/system_api_win.h"
#include "repair/dll_search_win.h"
#include "text/win_text.h"

namespace {

HMODULE Kernel32() {
    return ::GetModuleHandleW(L"kernel32.dll");
}

// The open file, read at offsets: ReadFile with the offset in an OVERLAPPED reads there on a
// handle opened for plain, synchronous reads.
class HandleBytes : public IFileBytes {
public:
    explicit HandleBytes(HANDLE file) : m_file(file) {}

    std::vector<uint8_t> Read(uint64_t offset, uint32_t size) override {
        std::vector<uint8_t> bytes(size);
        uint32_t done = 0;
        while (done < size) {
            OVERLAPPED at = {};
            at.Offset = static_cast<DWORD>(offset + done);
            at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
            DWORD read = 0;
            if (!::ReadFile(m_file, bytes.data() + done, size - done, &read, &at) || read == 0)
                break; // the end of the file, or a failure: what was read so far
            done += read;
        }
        bytes.resize(done);
        return bytes;
    }

private:
    HANDLE m_file;
};

HANDLE OpenForReading(const std::wstring& path) {
    // Backup semantics open a folder too, so that it is told apart from a file one may not read.
    return ::CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Opens with the redirector off on this thread, and on again at once: while it is off, every
// file this thread opens, a library the loader brings in among them, is the 64-bit one.
HANDLE OpenWithoutRedirection(const std::wstring& path) {
    HMODULE kernel = Kernel32();
    const auto disable = kernel ? ResolveFunction<decltype(&::Wow64DisableWow64FsRedirection)>(
                                      kernel, "Wow64DisableWow64FsRedirection")
                                : nullptr;
    const auto revert = kernel ? ResolveFunction<decltype(&::Wow64RevertWow64FsRedirection)>(
                                     kernel, "Wow64RevertWow64FsRedirection")
                               : nullptr;
    PVOID previous = nullptr;
    const bool off = disable && revert && disable(&previous);
    const HANDLE file = OpenForReading(path);
    const DWORD error = ::GetLastError();
    if (off)
        revert(previous);
    ::SetLastError(error);
    return file;
}

bool IsFolder(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info = {};
    return ::GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

FileSystemView CurrentFileSystemView() {
    FileSystemView view;
    WinSystem system;
    system.GetSystemDir(view.SystemDir);
    OsVersionInfo version;
    if (system.GetOsVersion(version))
        view.OsMajor = version.Major;
    // Windows XP SP2 and later have it; a system without it runs no 32-bit process on 64 bits.
    HMODULE kernel = Kernel32();
    if (const auto isWow64 =
            kernel ? ResolveFunction<decltype(&::IsWow64Process)>(kernel, "IsWow64Process")
                   : nullptr) {
        BOOL wow64 = FALSE;
        view.Wow64 = isWow64(::GetCurrentProcess(), &wow64) && wow64;
    }
    return view;
}

ProgramFileResult ReadProgramFile(const std::wstring& path) {
    return ReadProgramFile(path, CurrentFileSystemView());
}

ProgramFileResult ReadProgramFile(const std::wstring& path, const FileSystemView& view) {
    const FileOpening opening = OpeningOfNamedFile(Narrow(path), view);
    const std::wstring named = Widen(opening.Path);
    const HANDLE file =
        opening.WithoutRedirection ? OpenWithoutRedirection(named) : OpenForReading(named);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return {.Status = StatusOfOpenError(error), .SystemError = error};
    }
    ProgramFileResult result = {.Status = ProgramFileStatus::NotAFile};
    if (::GetFileType(file) == FILE_TYPE_DISK && !IsFolder(file)) {
        HandleBytes bytes(file);
        result = {.Status = ProgramFileStatus::Read, .Image = ReadProgramImage(bytes)};
    }
    ::CloseHandle(file);
    return result;
}
