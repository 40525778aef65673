#pragma once
// Shared set-up of the tooltip class tests: a form, three controls and the records the tooltip
// window is expected to see for them.
#include <cstdint>
#include <optional>
#include <string>

#include "tests/fakes/fake_tooltip_window.h"
#include "tooltips/c_tooltips.h"
#include "tooltips/tooltip_constants.h"

namespace tiptest {

using namespace tooltip;

inline constexpr uintptr_t kInstance = 0x00400000;
inline constexpr uintptr_t kForm = 0x2000;
inline constexpr uintptr_t kTrue = static_cast<uintptr_t>(-1);
// Two registered controls in two containers, and one never registered.
inline constexpr ToolControl kCtlA{0x501, 0x500};
inline constexpr ToolControl kCtlB{0x601, 0x600};
inline constexpr ToolControl kCtlC{0x701, 0x700};

inline SentMessage Plain(uintptr_t hwnd, uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) {
    return {hwnd, msg, wParam, lParam, {}, {}, {}, {}};
}
inline SentMessage WithTool(uintptr_t hwnd, uint32_t msg, uintptr_t wParam, const ToolInfo& t) {
    return {hwnd, msg, wParam, 0, t, {}, {}, {}};
}
inline SentMessage WithRect(uintptr_t hwnd, uint32_t msg, uintptr_t wParam, TooltipRect r) {
    return {hwnd, msg, wParam, 0, {}, r, {}, {}};
}
inline SentMessage WithText(uintptr_t hwnd, uint32_t msg, uintptr_t wParam, std::string text) {
    return {hwnd, msg, wParam, 0, {}, {}, {}, std::move(text)};
}

// The record of a tool as AddTool registers it.
inline ToolInfo Added(const ToolControl& ctl, uint32_t flags, std::optional<std::string> text) {
    ToolInfo t;
    t.cbSize = kToolInfoSize;
    t.uFlags = flags;
    t.hwnd = ctl.containerHwnd;
    t.uId = ctl.hwnd;
    t.hinst = kInstance;
    t.lpszText = std::move(text);
    return t;
}

// The same record as an enumeration returns it: the lookup asks for no text.
inline ToolInfo Enumerated(ToolInfo t) {
    t.lpszText.reset();
    return t;
}

inline ToolInfo EmptyRecord() {
    ToolInfo t;
    t.cbSize = kToolInfoSize;
    return t;
}

} // namespace tiptest
