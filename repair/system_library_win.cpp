#include "repair/system_library_win.h"

#include <string>

HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t dir[MAX_PATH + 1] = {};
    const UINT n = ::GetSystemDirectoryW(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(dir, n) + L"\\" + name;
    // An already loaded library only gains a reference, which is never given back: the functions
    // taken from it stay valid until the process ends.
    return ::LoadLibraryW(path.c_str());
}
