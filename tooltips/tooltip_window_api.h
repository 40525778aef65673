#pragma once
// The platform calls the tooltip class makes, named and shaped like the functions they stand for
// (the A names: the tooltip messages are the ANSI ones), with their results. The records are the
// portable forms of the platform's: the Win32 adapter copies them into the real structures (ANSI
// texts) and back; tests record them.
#include <cstdint>
#include <optional>
#include <string>

// The 44-byte tool record (TOOLINFOA up to lParam, no lpReserved).
inline constexpr uint32_t kToolInfoSize = 44;

struct TooltipRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const TooltipRect&) const = default;
};

struct TooltipPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const TooltipPoint&) const = default;
};

struct TextExtent {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const TextExtent&) const = default;
};

struct ToolInfo {
    uint32_t cbSize = 0; // 0 in a lookup's result means "no such tool"
    uint32_t uFlags = 0;
    uintptr_t hwnd = 0; // the window that contains the tool
    uintptr_t uId = 0;  // the tool's own window (TTF_IDISHWND)
    TooltipRect rect;
    uintptr_t hinst = 0;
    // No value stands for a null text pointer. Messages that return a text (TTM_ENUMTOOLSA and
    // the like) write it only when a text is given; a null pointer asks for none.
    std::optional<std::string> lpszText;
    intptr_t lParam = 0;
    bool operator==(const ToolInfo&) const = default;
};

// TTHITTESTINFOA: the window and point to test; the control fills ti with the tool found.
struct HitTestInfo {
    uintptr_t hwnd = 0;
    TooltipPoint pt;
    ToolInfo ti;
    bool operator==(const HitTestInfo&) const = default;
};

class ITooltipWindowApi {
public:
    virtual ~ITooltipWindowApi() = default;

    virtual bool InitCommonControlsEx(uint32_t dwSize, uint32_t dwICC) = 0;
    // Returns the new window, 0 when creation fails.
    virtual uintptr_t CreateWindowExA(uint32_t exStyle, const std::string& className,
                                      const std::string& windowName, uint32_t style, int32_t x,
                                      int32_t y, int32_t width, int32_t height, uintptr_t parent,
                                      uintptr_t menu, uintptr_t instance, uintptr_t param) = 0;
    virtual bool SetWindowPos(uintptr_t hwnd, uintptr_t insertAfter, int32_t x, int32_t y,
                              int32_t cx, int32_t cy, uint32_t flags) = 0;
    virtual bool DestroyWindow(uintptr_t hwnd) = 0;

    // SendMessageA with plain arguments.
    virtual intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                  intptr_t lParam) = 0;
    // SendMessageA with lParam = a tool record, which the control may fill.
    virtual intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                  ToolInfo& tool) = 0;
    // SendMessageA with lParam = a rectangle, which the control may change.
    virtual intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                  TooltipRect& rect) = 0;
    // SendMessageA with lParam = a hit-test record, which the control fills.
    virtual intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                  HitTestInfo& info) = 0;
    // SendMessageA with lParam = a text, passed as ANSI.
    virtual intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                                  const std::string& text) = 0;

    // GetTextExtentPoint32A of the text (as ANSI, its full length) in the device context.
    virtual bool GetTextExtentPoint32A(uintptr_t hdc, const std::string& text,
                                       TextExtent& size) = 0;
    virtual uint32_t GetSysColor(int32_t index) = 0;
};
