#include "c_tooltips.h"

#include "tooltip_constants.h"

using namespace tooltip;

namespace {

// A Boolean as the tooltip messages take it: True is -1, all bits set.
uintptr_t BoolParam(bool value) {
    return value ? static_cast<uintptr_t>(-1) : 0;
}

// Differences of platform-adjusted rectangles wrap around like the platform's 32-bit arithmetic
// instead of overflowing.
int32_t Span(int32_t low, int32_t high) {
    return static_cast<int32_t>(static_cast<uint32_t>(high) - static_cast<uint32_t>(low));
}

} // namespace

cTooltips::cTooltips(ITooltipWindowApi& api, uintptr_t hInstance)
    : m_api(api), m_hInstance(hInstance) {}

cTooltips::~cTooltips() {
    Class_Terminate();
}

void cTooltips::Class_Terminate() {
    if (m_hWnd != 0)
        m_api.DestroyWindow(m_hWnd);
}

void cTooltips::Create(uintptr_t Frm, uint32_t Flags) {
    Class_Terminate();
    m_bEnabled = true;
    m_lIcon = 0;
    m_sTitle.clear();
    // A failure here shows as a failed CreateWindowExA below, which leaves no window.
    m_api.InitCommonControlsEx(kInitCommonControlsExSize, kICC_WIN95_CLASSES);
    m_hWnd = m_api.CreateWindowExA(kWS_EX_TOPMOST, "tooltips_class32", "", Flags | kWS_POPUP,
                                   kCW_USEDEFAULT, kCW_USEDEFAULT, kCW_USEDEFAULT, kCW_USEDEFAULT,
                                   Frm, 0, m_hInstance, 0);
    // Without a window there is nothing to place.
    if (m_hWnd != 0)
        m_api.SetWindowPos(m_hWnd, kHWND_TOPMOST, 0, 0, 0, 0,
                           kSWP_NOSIZE | kSWP_NOMOVE | kSWP_NOACTIVATE);
}

void cTooltips::AddTool(const ToolControl& Ctl, uint32_t Flags, const std::string& Text) {
    if (m_hWnd == 0)
        return;
    ToolInfo tool;
    tool.cbSize = kToolInfoSize;
    tool.uFlags = Flags | kTTF_IDISHWND;
    // A tracking tool is shown by the caller; any other follows the pointer over its window.
    if ((Flags & kTTF_TRACK) == 0)
        tool.uFlags |= kTTF_SUBCLASS;
    tool.hwnd = Ctl.containerHwnd;
    tool.uId = Ctl.hwnd;
    tool.hinst = m_hInstance;
    if (!Text.empty())
        tool.lpszText = Text;
    m_api.SendMessageA(m_hWnd, kTTM_ADDTOOLA, 0, tool);
}

ToolInfo cTooltips::FindTool(uintptr_t hWindow) const {
    if (m_hWnd == 0)
        return {};
    ToolInfo tool;
    tool.cbSize = kToolInfoSize;
    const int32_t count = ToolCount();
    for (int32_t index = 0; index < count; ++index) {
        if (m_api.SendMessageA(m_hWnd, kTTM_ENUMTOOLSA, static_cast<uintptr_t>(index), tool) != 0 &&
            tool.uId == hWindow)
            return tool;
    }
    return {};
}

void cTooltips::DeleteTool(const ToolControl& Ctl) {
    ToolInfo tool = FindTool(Ctl.hwnd);
    if (tool.cbSize != 0)
        m_api.SendMessageA(m_hWnd, kTTM_DELTOOLA, 0, tool);
}

bool cTooltips::Enabled() const {
    return m_hWnd != 0 && m_bEnabled;
}

void cTooltips::Enabled(bool NewState) {
    m_bEnabled = NewState;
    if (m_hWnd != 0)
        m_api.SendMessageA(m_hWnd, kTTM_ACTIVATE, BoolParam(NewState), intptr_t{0});
}

int32_t cTooltips::GetDelayTime(uint32_t TimeMode) const {
    if (m_hWnd == 0)
        return 0;
    return static_cast<int32_t>(
        m_api.SendMessageA(m_hWnd, kTTM_GETDELAYTIME, TimeMode, intptr_t{0}));
}

void cTooltips::SetDelayTime(uint32_t TimeMode, int32_t Time) {
    if (m_hWnd != 0)
        m_api.SendMessageA(m_hWnd, kTTM_SETDELAYTIME, TimeMode, intptr_t{Time});
}

int32_t cTooltips::MakeLong(int16_t Int1, int16_t Int2) {
    const uint32_t low = static_cast<uint16_t>(Int1);
    const uint32_t high = static_cast<uint16_t>(Int2);
    return static_cast<int32_t>(high << 16 | low);
}

int16_t cTooltips::LoWord(int32_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFF));
}

int16_t cTooltips::HiWord(int32_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) >> 16));
}

void cTooltips::SetTracking(const ToolControl& Ctl, bool Tracking) {
    ToolInfo tool = FindTool(Ctl.hwnd);
    if (tool.cbSize != 0)
        m_api.SendMessageA(m_hWnd, kTTM_TRACKACTIVATE, BoolParam(Tracking), tool);
}

void cTooltips::SetTrackPosition(const ToolControl& Ctl, int16_t x, int16_t y) {
    // The lookup only decides whether the tool exists; the position goes alone.
    if (FindTool(Ctl.hwnd).cbSize == 0)
        return;
    // Zero-extended like MAKELPARAM, so that a negative y does not spill into the upper half.
    const auto position = static_cast<intptr_t>(static_cast<uint32_t>(MakeLong(x, y)));
    m_api.SendMessageA(m_hWnd, kTTM_TRACKPOSITION, 0, position);
}

int32_t cTooltips::Icon() const {
    return m_hWnd != 0 ? m_lIcon : 0;
}

std::string cTooltips::Title() const {
    return m_hWnd != 0 ? m_sTitle : std::string();
}

// The control takes icon and title together: each setter sends the other's current value.
void cTooltips::Icon(int32_t NewIcon) {
    if (m_hWnd == 0)
        return;
    m_lIcon = NewIcon;
    m_api.SendMessageA(m_hWnd, kTTM_SETTITLEA, static_cast<uintptr_t>(m_lIcon), m_sTitle);
}

void cTooltips::Title(const std::string& NewTitle) {
    if (m_hWnd == 0)
        return;
    m_sTitle = NewTitle;
    m_api.SendMessageA(m_hWnd, kTTM_SETTITLEA, static_cast<uintptr_t>(m_lIcon), m_sTitle);
}

void cTooltips::HideTips() {
    if (m_hWnd != 0)
        m_api.SendMessageA(m_hWnd, kTTM_POP, 0, intptr_t{0});
}

bool cTooltips::HitTest(const ToolControl& Ctl, int32_t x, int32_t y) {
    if (m_hWnd == 0)
        return false;
    HitTestInfo info;
    info.hwnd = Ctl.hwnd;
    info.pt = {x, y};
    info.ti.cbSize = kToolInfoSize;
    return m_api.SendMessageA(m_hWnd, kTTM_HITTESTA, 0, info) != 0;
}

int32_t cTooltips::GetMargin(Side side) const {
    if (m_hWnd == 0)
        return 0;
    TooltipRect margin;
    m_api.SendMessageA(m_hWnd, kTTM_GETMARGIN, 0, margin);
    switch (side) {
    case Side::Left:
        return margin.left;
    case Side::Top:
        return margin.top;
    case Side::Right:
        return margin.right;
    case Side::Bottom:
        break;
    }
    return margin.bottom;
}

// The control takes all four margins at once: the other three are read back first, in the order
// left, top, right, bottom.
void cTooltips::SetMargin(Side side, int32_t NewMargin) {
    if (m_hWnd == 0)
        return;
    TooltipRect margin;
    margin.left = side == Side::Left ? NewMargin : MarginLeft();
    margin.top = side == Side::Top ? NewMargin : MarginTop();
    margin.right = side == Side::Right ? NewMargin : MarginRight();
    margin.bottom = side == Side::Bottom ? NewMargin : MarginBottom();
    m_api.SendMessageA(m_hWnd, kTTM_SETMARGIN, 0, margin);
}

int32_t cTooltips::MarginLeft() const {
    return GetMargin(Side::Left);
}
int32_t cTooltips::MarginTop() const {
    return GetMargin(Side::Top);
}
int32_t cTooltips::MarginRight() const {
    return GetMargin(Side::Right);
}
int32_t cTooltips::MarginBottom() const {
    return GetMargin(Side::Bottom);
}
void cTooltips::MarginLeft(int32_t NewMargin) {
    SetMargin(Side::Left, NewMargin);
}
void cTooltips::MarginTop(int32_t NewMargin) {
    SetMargin(Side::Top, NewMargin);
}
void cTooltips::MarginRight(int32_t NewMargin) {
    SetMargin(Side::Right, NewMargin);
}
void cTooltips::MarginBottom(int32_t NewMargin) {
    SetMargin(Side::Bottom, NewMargin);
}

int32_t cTooltips::GetTooltipWidth(const ToolControl& Ctl) const {
    ToolInfo tool = FindTool(Ctl.hwnd);
    if (tool.cbSize == 0)
        return 0;
    return LoWord(static_cast<int32_t>(m_api.SendMessageA(m_hWnd, kTTM_GETBUBBLESIZE, 0, tool)));
}

int32_t cTooltips::GetTooltipHeight(const ToolControl& Ctl) const {
    ToolInfo tool = FindTool(Ctl.hwnd);
    if (tool.cbSize == 0)
        return 0;
    return HiWord(static_cast<int32_t>(m_api.SendMessageA(m_hWnd, kTTM_GETBUBBLESIZE, 0, tool)));
}

int32_t cTooltips::MaxTipWidth() const {
    if (m_hWnd == 0)
        return 0;
    return static_cast<int32_t>(m_api.SendMessageA(m_hWnd, kTTM_GETMAXTIPWIDTH, 0, intptr_t{0}));
}

void cTooltips::MaxTipWidth(int32_t NewWidth) {
    if (m_hWnd != 0)
        m_api.SendMessageA(m_hWnd, kTTM_SETMAXTIPWIDTH, 0, intptr_t{NewWidth});
}

void cTooltips::SetToolRect(const ToolControl& Ctl, int32_t Left, int32_t Top, int32_t Right,
                            int32_t Bottom) {
    ToolInfo tool = FindTool(Ctl.hwnd);
    tool.rect = {Left, Top, Right, Bottom};
    if (tool.cbSize != 0)
        m_api.SendMessageA(m_hWnd, kTTM_NEWTOOLRECTA, 0, tool);
}

int32_t cTooltips::ToolCount() const {
    if (m_hWnd == 0)
        return 0;
    return static_cast<int32_t>(m_api.SendMessageA(m_hWnd, kTTM_GETTOOLCOUNT, 0, intptr_t{0}));
}

uint32_t cTooltips::ResolveColor(uint32_t value) const {
    if (value >> 24 == kSystemColorTag)
        return m_api.GetSysColor(static_cast<int32_t>(value & 0xFF));
    return value;
}

uint32_t cTooltips::BackColor() const {
    if (m_hWnd == 0)
        return 0;
    return static_cast<uint32_t>(m_api.SendMessageA(m_hWnd, kTTM_GETTIPBKCOLOR, 0, intptr_t{0}));
}

void cTooltips::BackColor(uint32_t NewColor) {
    if (m_hWnd != 0)
        m_api.SendMessageA(m_hWnd, kTTM_SETTIPBKCOLOR, ResolveColor(NewColor), intptr_t{0});
}

uint32_t cTooltips::ForeColor() const {
    if (m_hWnd == 0)
        return 0;
    return static_cast<uint32_t>(m_api.SendMessageA(m_hWnd, kTTM_GETTIPTEXTCOLOR, 0, intptr_t{0}));
}

void cTooltips::ForeColor(uint32_t NewColor) {
    if (m_hWnd != 0)
        m_api.SendMessageA(m_hWnd, kTTM_SETTIPTEXTCOLOR, ResolveColor(NewColor), intptr_t{0});
}

void cTooltips::SetTipText(const ToolControl& Ctl, const std::string& NewText) {
    ToolInfo tool = FindTool(Ctl.hwnd);
    if (tool.cbSize == 0)
        return;
    tool.lpszText = NewText;
    tool.cbSize = kToolInfoSize;
    m_api.SendMessageA(m_hWnd, kTTM_UPDATETIPTEXTA, 0, tool);
}

TextExtent cTooltips::MeasureText(uintptr_t hDC, const std::string& Text) const {
    TextExtent size;
    if (!m_api.GetTextExtentPoint32A(hDC, Text, size))
        size = {};
    return size;
}

TooltipRect cTooltips::AdjustRect(bool textToWindow, TooltipRect rect) const {
    m_api.SendMessageA(m_hWnd, kTTM_ADJUSTRECT, BoolParam(textToWindow), rect);
    return rect;
}

int32_t cTooltips::ToolTipWidthFromText(uintptr_t hDC, const std::string& Text) const {
    if (m_hWnd == 0)
        return 0;
    const TextExtent size = MeasureText(hDC, Text);
    const TooltipRect rect = AdjustRect(true, {0, 0, size.cx, size.cy});
    return Span(rect.left, rect.right);
}

int32_t cTooltips::ToolTipHeightFromText(uintptr_t hDC, const std::string& Text) const {
    if (m_hWnd == 0)
        return 0;
    const TextExtent size = MeasureText(hDC, Text);
    const TooltipRect rect = AdjustRect(true, {0, 0, size.cx, size.cy});
    return Span(rect.top, rect.bottom);
}

int32_t cTooltips::TextWidthFromToolTipWidth(uintptr_t, int32_t TextWidth) const {
    if (m_hWnd == 0)
        return 0;
    const TooltipRect rect = AdjustRect(false, {0, 0, TextWidth, 0});
    return Span(rect.left, rect.right);
}

int32_t cTooltips::TextHeightFromToolTipHeight(uintptr_t, int32_t TextHeight) const {
    if (m_hWnd == 0)
        return 0;
    const TooltipRect rect = AdjustRect(false, {0, 0, 0, TextHeight});
    return Span(rect.top, rect.bottom);
}
