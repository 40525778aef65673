#include "clipboard_win.h"

#include <cstring>

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return false;
    void* data = GlobalLock(memory);
    if (!data) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(data, text.c_str(), bytes);
    GlobalUnlock(memory);
    // Another program may hold the clipboard for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 5 && !opened; ++attempt)
        if (!(opened = OpenClipboard(owner)))
            Sleep(20);
    if (!opened) {
        GlobalFree(memory);
        return false;
    }
    const bool set = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    if (!set)
        GlobalFree(memory); // the clipboard owns it only once it was set
    return set;
}
