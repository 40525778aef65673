#include "repair/own_image_win.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "repair/image_match.h"
#include "repair/image_seal.h"

namespace {

HANDLE g_file = INVALID_HANDLE_VALUE;
std::wstring g_path;

std::wstring ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            std::wstring path(buffer.data(), n);
            // Wine 8 gives a program started from a share the system's own form of its path
            // less the leading \??\ (UNC\server\share\...), where Windows gives \\server\share\...
            if (path.rfind(L"UNC\\", 0) == 0)
                path.replace(0, 3, L"\\");
            return path;
        }
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::vector<uint8_t>> ReadWhole(HANDLE file) {
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > (64 << 20))
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    OVERLAPPED from = {}; // from the start, whatever was read before
    DWORD done = 0;
    if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, &from) ||
        done != bytes.size())
        return std::nullopt;
    return bytes;
}

// The held file's bytes, when it is the running program's file, every byte of it.
std::optional<std::vector<uint8_t>> CheckHeldFile() {
    auto bytes = ReadWhole(g_file);
    if (!bytes)
        return std::nullopt;
    const auto* base = reinterpret_cast<const uint8_t*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (!FileIsLoadedImage(*bytes, base, nt->OptionalHeader.SizeOfImage,
                           reinterpret_cast<uintptr_t>(base)))
        return std::nullopt;
    // What the program has written to since it started (its data, its import table) can't be
    // compared with memory: the sealed digest speaks for the whole file instead.
    Sha256Digest digest;
    size_t sealAt = 0;
    const auto sealRva = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(kImageSeal) -
                                               reinterpret_cast<uintptr_t>(base));
    if (!ReadOwnSeal(digest) || !FileOffsetOf(*bytes, sealRva, kSealSize, sealAt) ||
        !FileMatchesSeal(*bytes, sealAt, digest))
        return std::nullopt;
    return bytes;
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION x = {}, y = {};
    return ::GetFileInformationByHandle(a, &x) && ::GetFileInformationByHandle(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

} // namespace

void HoldOwnImage() {
    if (g_file != INVALID_HANDLE_VALUE)
        return;
    g_path = ModulePath();
    if (g_path.empty())
        return;
    g_file = ::CreateFileW(g_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::optional<HostImage> VerifiedOwnImage() {
    static const std::optional<HostImage> checked = [] {
        std::optional<HostImage> image;
        if (g_file != INVALID_HANDLE_VALUE)
            if (auto bytes = CheckHeldFile())
                image = HostImage{g_path,
                                  std::make_shared<const std::vector<uint8_t>>(std::move(*bytes))};
        return image;
    }();
    if (!checked)
        return std::nullopt;
    // Attributes only: not subject to the sharing the held handle denies. A path that no longer
    // names the held file is refused here already; one that changes after this is caught when
    // the started process is compared with the bytes.
    HANDLE named = ::CreateFileW(g_path.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const bool same = SameFile(named, g_file);
    ::CloseHandle(named);
    return same ? checked : std::nullopt;
}
