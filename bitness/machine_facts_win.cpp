#include "bitness/machine_facts_win.h"

#include <windows.h>

#include "bitness/program_file_win.h"
#include "repair/system_library_win.h"
#include "text/win_text.h"

bool WinMachineFacts::IsWindows64() {
    // A 32-bit process under WOW64: Windows 2000 and XP before SP2 lack the test and are 32-bit.
    return CurrentFileSystemView().Wow64;
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
