#include "file_dialog_win.h"

#include <commdlg.h>

#include "repair/system_library_win.h"

std::optional<std::wstring>
ChooseFileToOpen(HWND owner, const std::wstring& title,
                 const std::vector<std::pair<std::wstring, std::wstring>>& filters) {
    static const auto open = SYSTEM_FUNCTION(L"comdlg32.dll", GetOpenFileNameW);
    if (!open)
        return std::nullopt;
    // "name\0pattern\0...\0\0", as the dialog reads its filters.
    std::wstring filter;
    for (const auto& [name, pattern] : filters) {
        filter += name;
        filter += L'\0';
        filter += pattern;
        filter += L'\0';
    }
    filter += L'\0';
    // Long paths too: the dialog says so when the buffer is short, and the file is not taken.
    std::wstring file(32768, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.c_str();
    // The file named is read as it is: no shortcut is followed to another program.
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                OFN_NODEREFERENCELINKS | OFN_EXPLORER;
    if (!open(&ofn))
        return std::nullopt;
    file.resize(wcslen(file.c_str()));
    return file;
}
