#include "tooltip_window_api_win.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

// TTTOOLINFOA_V2_SIZE as a constant: the record up to lParam, without lpReserved.
constexpr UINT kToolInfoV2Size = offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM);
#ifndef _WIN64
static_assert(kToolInfoV2Size == kToolInfoSize, "the 32-bit tool record is 44 bytes");
#endif

HWND Hwnd(uintptr_t h) {
    return reinterpret_cast<HWND>(h);
}

std::wstring Widen(const std::string& text, UINT codePage) {
    if (text.empty())
        return {};
    const int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                        nullptr, nullptr);
    return text;
}

// Room for any text the control writes into a record (its ANSI tool texts are at most 80 bytes).
constexpr size_t kTextBuffer = 1024;

// A portable tool record as the platform's TOOLINFOA, with the ANSI text in a buffer of its own.
class AnsiToolRecord {
public:
    explicit AnsiToolRecord(const ToolInfo& tool) {
        ti.cbSize = kToolInfoV2Size;
        ti.uFlags = tool.uFlags;
        ti.hwnd = Hwnd(tool.hwnd);
        ti.uId = static_cast<UINT_PTR>(tool.uId);
        ti.rect = {tool.rect.left, tool.rect.top, tool.rect.right, tool.rect.bottom};
        ti.hinst = reinterpret_cast<HINSTANCE>(tool.hinst);
        ti.lParam = static_cast<LPARAM>(tool.lParam);
        if (tool.lpszText) {
            m_sent = Utf8ToAnsi(*tool.lpszText);
            m_text.assign(std::max(m_sent.size() + 1, kTextBuffer), '\0');
            std::copy(m_sent.begin(), m_sent.end(), m_text.begin());
            ti.lpszText = m_text.data();
        }
    }

    void CopyBack(ToolInfo& tool) const {
        tool.uFlags = ti.uFlags;
        tool.hwnd = reinterpret_cast<uintptr_t>(ti.hwnd);
        tool.uId = static_cast<uintptr_t>(ti.uId);
        tool.rect = {ti.rect.left, ti.rect.top, ti.rect.right, ti.rect.bottom};
        tool.hinst = reinterpret_cast<uintptr_t>(ti.hinst);
        tool.lParam = static_cast<intptr_t>(ti.lParam);
        if (ti.lpszText == nullptr || ti.lpszText != m_text.data()) {
            tool.lpszText.reset();
            return;
        }
        const std::string now(m_text.data(), strnlen(m_text.data(), m_text.size()));
        // An unchanged buffer keeps the caller's text as it was, with no round trip through ANSI.
        if (now != m_sent)
            tool.lpszText = AnsiToUtf8(now);
    }

    TTTOOLINFOA ti = {};

private:
    std::string m_sent;
    std::vector<char> m_text;
};

} // namespace

std::string Utf8ToAnsi(const std::string& utf8) {
    return Narrow(Widen(utf8, CP_UTF8), CP_ACP);
}

std::string AnsiToUtf8(const std::string& ansi) {
    return Narrow(Widen(ansi, CP_ACP), CP_UTF8);
}

ToolControl ToolControlFromWindow(uintptr_t hwnd) {
    return {hwnd, reinterpret_cast<uintptr_t>(GetParent(Hwnd(hwnd)))};
}

bool TooltipWindowApiWin::InitCommonControlsEx(uint32_t dwSize, uint32_t dwICC) {
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = dwSize;
    icc.dwICC = dwICC;
    return ::InitCommonControlsEx(&icc) != FALSE;
}

uintptr_t TooltipWindowApiWin::CreateWindowExA(uint32_t exStyle, const std::string& className,
                                               const std::string& windowName, uint32_t style,
                                               int32_t x, int32_t y, int32_t width, int32_t height,
                                               uintptr_t parent, uintptr_t menu, uintptr_t instance,
                                               uintptr_t param) {
    const std::string ansiClass = Utf8ToAnsi(className);
    const std::string ansiName = Utf8ToAnsi(windowName);
    HWND hwnd =
        ::CreateWindowExA(exStyle, ansiClass.c_str(), ansiName.c_str(), style, x, y, width, height,
                          Hwnd(parent), reinterpret_cast<HMENU>(menu),
                          reinterpret_cast<HINSTANCE>(instance), reinterpret_cast<LPVOID>(param));
    return reinterpret_cast<uintptr_t>(hwnd);
}

bool TooltipWindowApiWin::SetWindowPos(uintptr_t hwnd, uintptr_t insertAfter, int32_t x, int32_t y,
                                       int32_t cx, int32_t cy, uint32_t flags) {
    return ::SetWindowPos(Hwnd(hwnd), Hwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
}

bool TooltipWindowApiWin::DestroyWindow(uintptr_t hwnd) {
    return ::DestroyWindow(Hwnd(hwnd)) != FALSE;
}

intptr_t TooltipWindowApiWin::SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                           intptr_t lParam) {
    return ::SendMessageA(Hwnd(hwnd), msg, static_cast<WPARAM>(wParam),
                          static_cast<LPARAM>(lParam));
}

intptr_t TooltipWindowApiWin::SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                           ToolInfo& tool) {
    AnsiToolRecord record(tool);
    const LRESULT r = ::SendMessageA(Hwnd(hwnd), msg, static_cast<WPARAM>(wParam),
                                     reinterpret_cast<LPARAM>(&record.ti));
    record.CopyBack(tool);
    return r;
}

intptr_t TooltipWindowApiWin::SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                           TooltipRect& rect) {
    RECT rc = {rect.left, rect.top, rect.right, rect.bottom};
    const LRESULT r =
        ::SendMessageA(Hwnd(hwnd), msg, static_cast<WPARAM>(wParam), reinterpret_cast<LPARAM>(&rc));
    rect = {rc.left, rc.top, rc.right, rc.bottom};
    return r;
}

intptr_t TooltipWindowApiWin::SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                           HitTestInfo& info) {
    AnsiToolRecord record(info.ti);
    TTHITTESTINFOA hit = {};
    hit.hwnd = Hwnd(info.hwnd);
    hit.pt = {info.pt.x, info.pt.y};
    hit.ti = record.ti;
    const LRESULT r = ::SendMessageA(Hwnd(hwnd), msg, static_cast<WPARAM>(wParam),
                                     reinterpret_cast<LPARAM>(&hit));
    record.ti = hit.ti;
    record.CopyBack(info.ti);
    return r;
}

intptr_t TooltipWindowApiWin::SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                           const std::string& text) {
    const std::string ansi = Utf8ToAnsi(text);
    return ::SendMessageA(Hwnd(hwnd), msg, static_cast<WPARAM>(wParam),
                          reinterpret_cast<LPARAM>(ansi.c_str()));
}

bool TooltipWindowApiWin::GetTextExtentPoint32A(uintptr_t hdc, const std::string& text,
                                                TextExtent& size) {
    const std::string ansi = Utf8ToAnsi(text);
    SIZE sz = {};
    if (!::GetTextExtentPoint32A(reinterpret_cast<HDC>(hdc), ansi.c_str(),
                                 static_cast<int>(ansi.size()), &sz))
        return false;
    size = {sz.cx, sz.cy};
    return true;
}

uint32_t TooltipWindowApiWin::GetSysColor(int32_t index) {
    return ::GetSysColor(index);
}
