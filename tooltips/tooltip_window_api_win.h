#pragma once
// The tooltip window's platform calls carried out by Win32: comctl32's "tooltips_class32" driven
// with the ANSI messages. Texts are UTF-8 here and in the system's ANSI code page on the other
// side.
#include <cstdint>
#include <string>

#include "c_tooltips.h"
#include "tooltip_window_api.h"

class TooltipWindowApiWin : public ITooltipWindowApi {
public:
    bool InitCommonControlsEx(uint32_t dwSize, uint32_t dwICC) override;
    uintptr_t CreateWindowExA(uint32_t exStyle, const std::string& className,
                              const std::string& windowName, uint32_t style, int32_t x, int32_t y,
                              int32_t width, int32_t height, uintptr_t parent, uintptr_t menu,
                              uintptr_t instance, uintptr_t param) override;
    bool SetWindowPos(uintptr_t hwnd, uintptr_t insertAfter, int32_t x, int32_t y, int32_t cx,
                      int32_t cy, uint32_t flags) override;
    bool DestroyWindow(uintptr_t hwnd) override;
    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
    // The record goes as a TOOLINFOA whose cbSize is this platform's size of the 44-byte layout
    // (TTTOOLINFOA_V2_SIZE: 44 on 32-bit Windows, larger with 64-bit pointers). A given text is
    // also the buffer for a text the control writes back (1024 bytes at least); no text sends a
    // null pointer, and the control then writes none. What the control put into the record is
    // copied back; a text it keeps as a callback or resource id comes back as no text.
    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam, ToolInfo& tool) override;
    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                          TooltipRect& rect) override;
    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                          HitTestInfo& info) override;
    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                          const std::string& text) override;
    bool GetTextExtentPoint32A(uintptr_t hdc, const std::string& text, TextExtent& size) override;
    uint32_t GetSysColor(int32_t index) override;
};

// A real window as a tool: the window and the one that contains it (its parent).
ToolControl ToolControlFromWindow(uintptr_t hwnd);

// UTF-8 to the system's ANSI code page and back, as the ANSI calls take their texts.
std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);
