// Where the keyboard focus goes when the control that had it can no longer keep it.
#include <algorithm>
#include <vector>

#include "form_win.h"

namespace {

// The tab stops of `parent` in their tab order.
std::vector<const ControlSpec*> TabStops(ControlId parent) {
    std::vector<const ControlSpec*> stops;
    for (const auto& entry : ControlTable())
        if (entry.Parent == parent && entry.TabIndex >= 0)
            stops.push_back(&entry);
    std::sort(stops.begin(), stops.end(),
              [](const ControlSpec* a, const ControlSpec* b) { return a->TabIndex < b->TabIndex; });
    return stops;
}

} // namespace

void WinForm::KeepFocusUsable() {
    // Only while the window is the active one: it takes no focus from another program, nor from
    // its own message box.
    if (!m_hwnd || m_unloadPending || GetActiveWindow() != m_hwnd)
        return;
    HWND focus = GetFocus();
    if (focus && IsWindowEnabled(focus) && IsWindowVisible(focus))
        return;
    // A disabled or hidden control keeps no keys, Esc neither: the focus goes to the first tab
    // stop of the page in front, else to the first of the button bar. A group of options is
    // entered at its chosen one, as Tab enters it (focusing another would choose it).
    for (ControlId parent : {m_view->FrontPage, ControlId::frmMain}) {
        for (const ControlSpec* entry : TabStops(parent)) {
            HWND hwnd = Wnd(entry->Id);
            if (!hwnd || !IsWindowEnabled(hwnd) || !IsWindowVisible(hwnd))
                continue;
            if (entry->Kind == ControlKind::Option &&
                SendMessageW(hwnd, BM_GETCHECK, 0, 0) != BST_CHECKED)
                continue;
            ::SetFocus(hwnd);
            return;
        }
    }
}
