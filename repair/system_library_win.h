#pragma once
// Libraries of the system that the program needs only now and then (the shell, COM, version
// information), loaded when first needed from the system directory by their full path and kept
// for the life of the process. Start-up then loads none of them, a planted copy beside the
// program is never taken, and a call is an ordinary call through a pointer: the same on every
// processor, with no import machinery that differs between builds.
#include <windows.h>

#include "repair/dll_search_win.h"

// The library `name` (L"ole32.dll") from the system directory; null when it can't be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a system library as the pointer type `F`; null when the library or the function
// is missing.
template <typename F> F SystemFunction(const wchar_t* library, const char* name) {
    HMODULE module = LoadSystemLibrary(library);
    return module ? ResolveFunction<F>(module, name) : nullptr;
}

// A function of a system library, typed as the SDK declares it, so that its calling convention
// and arguments can't differ from the declaration: SYSTEM_FUNCTION(L"ole32.dll", CoUninitialize).
// The declaration is only named, never referenced, so nothing is imported at load time.
#define SYSTEM_FUNCTION(library, function) SystemFunction<decltype(&::function)>(library, #function)
