#include "repair/process_image_win.h"

#include <winternl.h>

#include "repair/dll_search_win.h"
#include "repair/image_match.h"

namespace {

// The image base is the PEB's third pointer-sized field.
constexpr size_t kPebImageBaseOffset = 2 * sizeof(void*);

bool ReadExactly(HANDLE process, uintptr_t at, void* buffer, size_t size) {
    SIZE_T read = 0;
    return ::ReadProcessMemory(process, reinterpret_cast<const void*>(at), buffer, size, &read) &&
           read == size;
}

} // namespace

bool ProcessMapsFile(HANDLE process, const std::vector<uint8_t>& file) {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto query = ntdll ? ResolveFunction<decltype(&::NtQueryInformationProcess)>(
                                   ntdll, "NtQueryInformationProcess")
                             : nullptr;
    if (!query)
        return false;
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0 ||
        basic.PebBaseAddress == nullptr)
        return false;
    uintptr_t base = 0;
    if (!ReadExactly(process,
                     reinterpret_cast<uintptr_t>(basic.PebBaseAddress) + kPebImageBaseOffset, &base,
                     sizeof base) ||
        base == 0)
        return false;
    const uint32_t size = ImageSizeOf(file);
    if (size == 0)
        return false;
    std::vector<uint8_t> image(size);
    // Section by section would skip the gaps between them, which the comparison never reads; the
    // whole image at once is one call where every page is mapped, as it is in a loaded image.
    if (!ReadExactly(process, base, image.data(), image.size()))
        return false;
    return FileIsLoadedImage(file, image.data(), image.size(), base, ImageState::NotStarted);
}
