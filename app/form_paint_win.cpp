// The Win32 form's painting: the pages' white header band and rules, the button bar's etched line,
// and the colours of the texts and links.
#include "form_win.h"

namespace {
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
} // namespace

LRESULT WinForm::ColorStatic(HWND page, HDC dc, HWND control) {
    const auto id = static_cast<ControlId>(GetDlgCtrlID(control));
    const ControlSpec& entry = Describe(id);
    const auto pageId = static_cast<ControlId>(GetDlgCtrlID(page));
    // The welcome page is white; on the other pages the header band is white.
    const bool white = pageId == ControlId::pic1 ||
                       (entry.Kind == ControlKind::Label && entry.Top < kHeaderBandHeight - 12);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, entry.Link ? kLinkBlue : GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(white ? m_white : GetSysColorBrush(COLOR_BTNFACE));
}

void WinForm::PaintPage(HWND page) {
    PAINTSTRUCT ps = {};
    HDC dc = BeginPaint(page, &ps);
    if (!dc)
        return;
    RECT rc = {};
    GetClientRect(page, &rc);
    const auto id = static_cast<ControlId>(GetDlgCtrlID(page));
    if (id == ControlId::pic1) {
        FillRect(dc, &rc, m_white);
    } else {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        RECT band = {Px(kHeaderBandLeft), Px(kHeaderBandTop),
                     Px(kHeaderBandLeft + kHeaderBandWidth),
                     Px(kHeaderBandTop + kHeaderBandHeight)};
        FillRect(dc, &band, m_white);
        RECT line = {rc.left, Px(kHeaderSeparatorTop), rc.right, Px(kHeaderSeparatorTop) + 1};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    EndPaint(page, &ps);
}

void WinForm::PaintMain() {
    PAINTSTRUCT ps = {};
    HDC dc = BeginPaint(m_hwnd, &ps);
    if (!dc)
        return;
    RECT rc = {};
    GetClientRect(m_hwnd, &rc);
    // The etched rule above the button bar: a shadow line with a highlight line under it.
    RECT line1 = {rc.left, Px(kLine1Top), rc.right, Px(kLine1Top) + 1};
    RECT line2 = {rc.left, Px(kLine2Top), rc.right, Px(kLine2Top) + 1};
    if (line2.top <= line1.top)
        OffsetRect(&line2, 0, line1.top + 1 - line2.top);
    FillRect(dc, &line1, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(dc, &line2, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    EndPaint(m_hwnd, &ps);
}
