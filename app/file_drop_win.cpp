// The message filter functions are declared by the SDK for Vista and later only; the program is
// built against Windows 2000's declarations, so the newer ones are taken here to type the run-time
// lookup.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#undef WINVER
#define WINVER 0x0601
#include "file_drop_win.h"

#include "repair/system_library_win.h"

namespace {
// Explorer's drop: the message, and the two the shell sends to hand over the file names.
constexpr UINT kWmCopyGlobalData = 0x0049;
constexpr UINT kDropMessages[] = {WM_DROPFILES, WM_COPYDATA, kWmCopyGlobalData};
} // namespace

void LetFileDropsThrough(HWND window) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32)
        return;
    if (const auto forWindow = ResolveFunction<decltype(&::ChangeWindowMessageFilterEx)>(
            user32, "ChangeWindowMessageFilterEx")) {
        for (UINT msg : kDropMessages)
            forWindow(window, msg, MSGFLT_ALLOW, nullptr);
    } else if (const auto forProcess = ResolveFunction<decltype(&::ChangeWindowMessageFilter)>(
                   user32, "ChangeWindowMessageFilter")) {
        for (UINT msg : kDropMessages)
            forProcess(msg, MSGFLT_ADD);
    }
    // Before Vista every window of the desktop may send to every other: nothing to let through.
}

std::vector<std::wstring> DroppedFiles(HDROP drop) {
    static const auto query = SYSTEM_FUNCTION(L"shell32.dll", DragQueryFileW);
    static const auto finish = SYSTEM_FUNCTION(L"shell32.dll", DragFinish);
    // The drop's memory goes back however the reading ends.
    struct Finish {
        HDROP Drop;
        ~Finish() {
            if (finish)
                finish(Drop);
        }
    } release{drop};
    std::vector<std::wstring> files;
    if (query) {
        const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            const UINT length = query(drop, i, nullptr, 0);
            std::wstring name(static_cast<size_t>(length) + 1, L'\0');
            const UINT got = query(drop, i, name.data(), length + 1);
            name.resize(got);
            if (!name.empty())
                files.push_back(name);
        }
    }
    return files;
}
