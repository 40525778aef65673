#pragma once
// What a new process inherits: exactly one handle of this process. From Vista on a handle list
// (PROC_THREAD_ATTRIBUTE_HANDLE_LIST) says so to CreateProcess; before Vista there is no such
// list, and the new process inherits every handle of this process that is marked inheritable.
#include <windows.h>

#include <cstddef>
#include <memory>

class InheritOnly {
public:
    explicit InheritOnly(HANDLE handle);
    ~InheritOnly();
    InheritOnly(const InheritOnly&) = delete;
    InheritOnly& operator=(const InheritOnly&) = delete;

    // True where the system took the list: the handle is all the new process inherits.
    bool Exact() const { return m_list != nullptr; }
    // The flags CreateProcessW needs besides the caller's, and its startup information, whose
    // STARTUPINFOW part the caller fills in (cb is set).
    DWORD CreationFlags() const;
    STARTUPINFOW* Startup() { return &m_startup.StartupInfo; }

private:
    void Release();

    // The extended startup information as the SDK lays it out for Vista and later.
    struct ExtendedStartup {
        STARTUPINFOW StartupInfo;
        void* AttributeList;
    };
    ExtendedStartup m_startup = {};
    HANDLE m_handle;
    std::unique_ptr<std::max_align_t[]> m_buffer;
    void* m_list = nullptr;
};
