#include "bitness/machine_facts_win.h"

#include <windows.h>

#include "repair/system_library_win.h"
#include "text/win_text.h"

bool WinMachineFacts::IsWindows64() {
    // XP SP2 and later; without it Windows is 32-bit (Windows 2000, XP before SP2).
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = SystemFunction<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

std::string WinMachineFacts::UserAccount() {
    std::string user;
    if (const auto getUserName = SYSTEM_FUNCTION(L"advapi32.dll", GetUserNameW)) {
        wchar_t name[257] = {};
        DWORD size = static_cast<DWORD>(std::size(name));
        if (getUserName(name, &size))
            user = Narrow(name);
    }
    wchar_t domain[256] = {};
    const DWORD length = ::ExpandEnvironmentStringsW(L"%USERDOMAIN%", domain, 256);
    const std::wstring expanded = length > 0 && length <= 256 ? domain : L"";
    if (expanded.empty() || expanded.front() == L'%')
        return user;
    return Narrow(expanded.c_str()) + "\\" + user;
}
