// Library loading, short paths, system message texts and task memory, one platform call each.
#include "repair/library_api_win.h"

#include <windows.h>

#include <objbase.h>

#include <vector>

#include "repair/system_library_win.h"
#include "text/win_text.h"

namespace {

HMODULE Module(LibraryHandle library) {
    return reinterpret_cast<HMODULE>(library);
}

} // namespace

Win32LibraryApi::Win32LibraryApi() : Win32LibraryApi(PlatformLookup()) {}

Win32LibraryApi::Win32LibraryApi(const IFunctionLookup& lookup)
    : m_searchFlags(DllSearchFlagsSupported(lookup)) {}

LibraryHandle Win32LibraryApi::LoadComponentLibrary(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (wide.empty()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // The library's own folder, then the system directory, for what it needs; where the system
    // lacks those flags, its own folder comes first in the standard order.
    const DWORD flags = m_searchFlags ? (kLoadLibrarySearchDllLoadDir | kLoadLibrarySearchSystem32)
                                      : LOAD_WITH_ALTERED_SEARCH_PATH;
    // A library that can't be loaded is reported by the wizard, not by a system error box.
    const UINT quiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    const UINT mode = ::SetErrorMode(quiet);
    ::SetErrorMode(mode | quiet);
    HMODULE module = ::LoadLibraryExW(wide.c_str(), nullptr, flags);
    const DWORD error = ::GetLastError();
    ::SetErrorMode(mode);
    ::SetLastError(error);
    return reinterpret_cast<LibraryHandle>(module);
}

EntryPoint Win32LibraryApi::FindEntryPoint(LibraryHandle library, const std::string& name) {
    return ResolveFunction<EntryPoint>(Module(library), name.c_str());
}

bool Win32LibraryApi::FreeComponentLibrary(LibraryHandle library) {
    return ::FreeLibrary(Module(library)) != FALSE;
}

uint32_t Win32LibraryApi::ShortPathName(const std::string& longPath, std::string& shortPath,
                                        uint32_t capacity) {
    const std::wstring wide = Widen(longPath);
    if (wide.empty() || capacity == 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::vector<wchar_t> buffer(capacity, L'\0');
    const DWORD n = ::GetShortPathNameW(wide.c_str(), buffer.data(), capacity);
    if (n > 0 && n < capacity)
        shortPath = Narrow(buffer.data(), n);
    return n;
}

uint32_t Win32LibraryApi::SystemMessageText(uint32_t code, std::string& text) {
    // Inserts stay as they stand: the system's texts for some codes hold "%1", and without
    // arguments FormatMessage would read values that were never passed. The system allocates the
    // buffer, so that a text of any length comes whole.
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (n > 0 && buffer)
        text = Narrow(buffer, n);
    if (buffer)
        ::LocalFree(buffer);
    return buffer ? n : 0;
}

uint32_t Win32LibraryApi::LastError() {
    return ::GetLastError();
}

void* Win32LibraryApi::TaskMemAlloc(size_t bytes) {
    static const auto alloc = SYSTEM_FUNCTION(L"ole32.dll", CoTaskMemAlloc);
    return alloc ? alloc(bytes) : nullptr;
}

void Win32LibraryApi::TaskMemFree(void* block) {
    static const auto free = SYSTEM_FUNCTION(L"ole32.dll", CoTaskMemFree);
    if (free)
        free(block);
}
