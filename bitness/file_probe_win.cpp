#include "bitness/file_probe_win.h"

#include <windows.h>

#include "bitness/machine_facts_win.h"
#include "repair/system_library_win.h"
#include "text/win_text.h"

namespace {

// Only the headers are read, where they say they are.
class HandleBytes : public IFileBytes {
public:
    explicit HandleBytes(HANDLE file) : m_file(file) {}
    std::vector<uint8_t> Read(uint64_t offset, uint32_t size) override {
        std::vector<uint8_t> bytes(size);
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        if (size == 0 || !::ReadFile(m_file, bytes.data(), size, &got, &at))
            got = 0;
        bytes.resize(got);
        return bytes;
    }

private:
    HANDLE m_file;
};

HANDLE Open(const FileOpening& opening) {
    const std::wstring path = Widen(opening.Path);
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    using RevertFn = BOOL(WINAPI*)(PVOID);
    const auto disable =
        opening.WithoutRedirection
            ? SystemFunction<DisableFn>(L"kernel32.dll", "Wow64DisableWow64FsRedirection")
            : nullptr;
    const auto revert =
        disable != nullptr
            ? SystemFunction<RevertFn>(L"kernel32.dll", "Wow64RevertWow64FsRedirection")
            : nullptr;
    PVOID old = nullptr;
    const bool off = disable != nullptr && revert != nullptr && disable(&old);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (off)
        revert(old);
    return file;
}

} // namespace

WinFileProbe::WinFileProbe() {
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        m_view.SystemDir = Narrow(system, length);
    m_view.Wow64 = WinMachineFacts().IsWindows64();
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (::GetVersionExW(&version))
        m_view.OsMajor = version.dwMajorVersion;
}

ProbedFile WinFileProbe::Probe(const std::string& path, Bitness seenBy) {
    const FileOpening opening =
        seenBy == Bitness::Bits64 ? OpeningOfNamedFile(path, m_view) : FileOpening{.Path = path};
    const DWORD attributes = ::GetFileAttributesW(Widen(opening.Path).c_str());
    ProbedFile probed;
    HANDLE file = Open(opening);
    if (file == INVALID_HANDLE_VALUE) {
        // There, but not readable by this user: it exists, its image unknown.
        probed.Exists = ::GetLastError() == ERROR_ACCESS_DENIED;
        return probed;
    }
    probed.Exists =
        attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    HandleBytes bytes(file);
    if (probed.Exists)
        probed.Image = ReadProgramImage(bytes);
    ::CloseHandle(file);
    return probed;
}
