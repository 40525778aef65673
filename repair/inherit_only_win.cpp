// Declared by the SDK for Vista and later only; the program is built against the Windows 2000
// declarations, so they are taken from the newer ones here and used only to type the functions
// looked up at run time (the imports test holds the program to Windows 2000's imports).
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "repair/inherit_only_win.h"

#include "repair/dll_search_win.h"

namespace {

HMODULE Kernel32() {
    return ::GetModuleHandleW(L"kernel32.dll");
}

} // namespace

InheritOnly::InheritOnly(HANDLE handle) : m_handle(handle) {
    static_assert(sizeof(ExtendedStartup) == sizeof(STARTUPINFOEXW));
    m_startup.StartupInfo.cb = sizeof m_startup.StartupInfo;
    HMODULE kernel = Kernel32();
    const auto initialize = kernel
                                ? ResolveFunction<decltype(&::InitializeProcThreadAttributeList)>(
                                      kernel, "InitializeProcThreadAttributeList")
                                : nullptr;
    const auto update = kernel ? ResolveFunction<decltype(&::UpdateProcThreadAttribute)>(
                                     kernel, "UpdateProcThreadAttribute")
                               : nullptr;
    if (!initialize || !update)
        return; // before Vista
    SIZE_T size = 0;
    initialize(nullptr, 1, 0, &size);
    if (size == 0)
        return;
    m_buffer.reset(
        new std::max_align_t[(size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t)]);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_buffer.get());
    if (!initialize(list, 1, 0, &size))
        return;
    m_list = list;
    if (!update(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &m_handle, sizeof m_handle, nullptr,
                nullptr)) {
        Release(); // inheritance stays as before Vista
        return;
    }
    m_startup.StartupInfo.cb = sizeof m_startup;
    m_startup.AttributeList = list;
}

InheritOnly::~InheritOnly() {
    Release();
}

void InheritOnly::Release() {
    if (!m_list)
        return;
    if (const auto remove = ResolveFunction<decltype(&::DeleteProcThreadAttributeList)>(
            Kernel32(), "DeleteProcThreadAttributeList"))
        remove(static_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_list));
    m_list = nullptr;
}

DWORD InheritOnly::CreationFlags() const {
    return m_list && m_startup.AttributeList ? EXTENDED_STARTUPINFO_PRESENT : 0;
}
