// Where the controls of a page lie: their z-order, self-sizing labels, and the links kept clear
// of the texts of their page.
#include "form_win.h"

#include <algorithm>

#include "window_text_win.h"

void WinForm::Arrange(ControlId parent) {
    // Overlapping controls paint by z-order. A picture that only touches a text's edge lies under
    // it, one drawn inside a text's box above it; what the user works (buttons, options, the list,
    // the bar) and the links lie on top, so that they are both seen and the ones the pointer is
    // over.
    const auto inside = [](const ControlSpec& inner, const ControlSpec& outer) {
        return inner.Left >= outer.Left && inner.Top >= outer.Top &&
               inner.Left + inner.Width <= outer.Left + outer.Width &&
               inner.Top + inner.Height <= outer.Top + outer.Height;
    };
    const auto table = ControlTable();
    for (const auto& entry : table) {
        if (entry.Kind != ControlKind::Image || entry.Parent != parent)
            continue;
        bool withinText = false;
        for (const auto& other : table)
            if (other.Kind == ControlKind::Label && other.Parent == parent && inside(entry, other))
                withinText = true;
        SetWindowPos(Wnd(entry.Id), withinText ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // Raised last one first, so that they keep the table's order among themselves: the tab order
    // follows the z-order.
    for (auto entry = table.rbegin(); entry != table.rend(); ++entry) {
        const bool worked =
            entry->Kind == ControlKind::Button || entry->Kind == ControlKind::Option ||
            entry->Kind == ControlKind::ListView || entry->Kind == ControlKind::ProgressBar;
        if (entry->Parent == parent && (worked || entry->Link))
            SetWindowPos(Wnd(entry->Id), HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void WinForm::AutoSize(ControlId id) {
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return;
    HDC dc = m_measure ? m_measure : GetDC(hwnd);
    if (!dc)
        return;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    std::wstring text = WindowText(hwnd);
    RECT rc = {0, 0, 0, 0};
    DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &rc,
              DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    SelectObject(dc, old);
    if (dc != m_measure)
        ReleaseDC(hwnd, dc);
    // Exactly the text's size: the label draws the text with the same font and the same layout
    // (a single line, no prefix), so this is what it needs.
    SetWindowPos(hwnd, nullptr, 0, 0, text.empty() ? 0 : rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT WinForm::TextRect(ControlId label) const {
    RECT rc = {};
    HWND hwnd = Wnd(label);
    const std::wstring text = hwnd ? WindowText(hwnd) : std::wstring();
    if (text.empty() || !m_measure)
        return rc;
    RECT client = {};
    GetClientRect(hwnd, &client);
    HGDIOBJ old =
        SelectObject(m_measure, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    // As the label lays its text out: one line for a self-sizing label, else wrapped at words
    // within its width.
    rc.right = client.right;
    DrawTextW(m_measure, text.c_str(), -1, &rc,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS |
                  (Describe(label).AutoSize ? DT_SINGLELINE : DT_WORDBREAK));
    SelectObject(m_measure, old);
    return rc;
}

void WinForm::KeepLinksClear(ControlId page) {
    for (const auto& link : ControlTable()) {
        if (!link.Link || link.Parent != page || !State(link.Id).Visible)
            continue;
        HWND linkHwnd = Wnd(link.Id);
        if (!linkHwnd || GetWindowTextLengthW(linkHwnd) == 0)
            continue;
        RECT box = {}, pageBox = {};
        GetWindowRect(linkHwnd, &box);
        GetClientRect(Wnd(page), &pageBox);
        const ControlState& st = State(link.Id);
        const RECT mine = {Px(st.Left), Px(st.Top), Px(st.Left) + box.right - box.left,
                           Px(st.Top) + box.bottom - box.top};
        int top = TopClearOfTexts(page, mine);
        // No room below the texts: they take the page's full width, so that they need fewer
        // lines, and the link goes below them again. Should even that not do, the link keeps to
        // the page's bottom edge: cut off, it could not be read at all.
        if (top + (mine.bottom - mine.top) > pageBox.bottom) {
            WidenTexts(page);
            top = std::min(TopClearOfTexts(page, mine),
                           static_cast<int>(pageBox.bottom - (mine.bottom - mine.top)));
        }
        SetWindowPos(linkHwnd, nullptr, mine.left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // The wizard's state holds where the link is, not only where it was put.
        m_events->OnLinkMoved(link.Id, (top - mine.top) * 1440 / m_dpi);
    }
}

int WinForm::TopClearOfTexts(ControlId page, RECT mine) const {
    // From where the wizard put it, below every text that reaches into it.
    int top = mine.top;
    const int height = mine.bottom - mine.top;
    for (bool moved = true; moved;) {
        moved = false;
        for (const auto& label : ControlTable()) {
            if (label.Kind != ControlKind::Label || label.Link || label.Parent != page ||
                !State(label.Id).Visible)
                continue;
            const RECT text = TextRect(label.Id);
            if (text.bottom <= text.top)
                continue;
            RECT at = {};
            GetWindowRect(Wnd(label.Id), &at);
            MapWindowPoints(nullptr, Wnd(page), reinterpret_cast<POINT*>(&at), 2);
            const RECT drawn = {at.left + text.left, at.top + text.top, at.left + text.right,
                                at.top + text.bottom};
            const RECT there = {mine.left, top, mine.right, top + height};
            RECT overlap = {};
            if (IntersectRect(&overlap, &drawn, &there)) {
                top = drawn.bottom;
                moved = true;
            }
        }
    }
    return top;
}

void WinForm::WidenTexts(ControlId page) {
    for (const auto& label : ControlTable()) {
        HWND hwnd = Wnd(label.Id);
        if (label.Kind != ControlKind::Label || label.Link || label.AutoSize ||
            label.Parent != page || !hwnd || !State(label.Id).Visible)
            continue;
        RECT at = {};
        GetWindowRect(hwnd, &at);
        MapWindowPoints(nullptr, Wnd(page), reinterpret_cast<POINT*>(&at), 2);
        const int width = Px(kPageTextRight) - at.left;
        if (width > at.right - at.left)
            SetWindowPos(hwnd, nullptr, 0, 0, width, at.bottom - at.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void WinForm::LayoutChanged(ControlId id) {
    const ControlSpec& entry = Describe(id);
    if (entry.Kind == ControlKind::Label)
        KeepLinksClear(entry.Parent);
}
