#pragma once
// Loading and calling component libraries, as the platform offers it: one method each, shaped like
// LoadLibrary / GetProcAddress / FreeLibrary / GetShortPathName / FormatMessage / GetLastError and
// the task-memory allocator (CoTaskMemAlloc / CoTaskMemFree), with their results. The names differ
// from the platform's so that <windows.h> macros can't rename them. The Win32 adapter calls the
// W functions; tests use fake libraries whose entry points record their calls.
#include <cstddef>
#include <cstdint>
#include <string>

// The calling convention of exported entry points and interface methods: __stdcall on 32-bit
// Windows, the only convention there is elsewhere.
#if defined(_WIN32) && !defined(_WIN64)
#define QUENDRY_STDCALL __stdcall
#else
#define QUENDRY_STDCALL
#endif

// An exported entry point taking no arguments and returning a 32-bit status (negative: failure),
// as DllRegisterServer is.
using EntryPoint = int32_t(QUENDRY_STDCALL*)();

// A loaded library; 0 is none.
using LibraryHandle = uintptr_t;

// System error codes the wizard looks at.
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorModNotFound = 126;
inline constexpr uint32_t kErrorProcNotFound = 127;

class ILibraryApi {
public:
    virtual ~ILibraryApi() = default;

    // LoadLibrary of a library by its full path. 0 on failure; LastError says why.
    virtual LibraryHandle LoadComponentLibrary(const std::string& path) = 0;
    // GetProcAddress: the named export, or null when the library has none (LastError says why).
    virtual EntryPoint FindEntryPoint(LibraryHandle library, const std::string& name) = 0;
    // FreeLibrary. False on failure.
    virtual bool FreeComponentLibrary(LibraryHandle library) = 0;

    // GetShortPathName: the short (8.3) form of `longPath`. Returns its length when it fits in
    // `capacity` characters with its terminating NUL (and sets `shortPath`), the capacity it needs
    // when it doesn't, 0 on failure (LastError says why).
    virtual uint32_t ShortPathName(const std::string& longPath, std::string& shortPath,
                                   uint32_t capacity) = 0;

    // FormatMessage from the system's message table, language 0 (the system's own choice), insert
    // sequences left as they stand: the number of characters written to `text`, however many the
    // system's text has; 0 when the system has no text for the code.
    virtual uint32_t SystemMessageText(uint32_t code, std::string& text) = 0;

    // GetLastError: the error of the last failing call above.
    virtual uint32_t LastError() = 0;

    // CoTaskMemAlloc / CoTaskMemFree. TaskMemAlloc returns null when the memory can't be had.
    virtual void* TaskMemAlloc(size_t bytes) = 0;
    virtual void TaskMemFree(void* block) = 0;
};
