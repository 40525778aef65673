#pragma once
// cTooltips: one tooltip window of the common controls, owned by a form, whose tools are controls
// of that form. Everything is done by sending the window the ANSI tooltip messages; while there is
// no window every member is a no-op and getters give 0, false or "".
#include <cstdint>
#include <string>

#include "tooltip_window_api.h"

// A control as a tool: its own window and the window of the container it sits in.
struct ToolControl {
    uintptr_t hwnd = 0;
    uintptr_t containerHwnd = 0;
};

class cTooltips {
public:
    // hInstance: the program's module instance, used for the window and for each new tool.
    cTooltips(ITooltipWindowApi& api, uintptr_t hInstance);
    ~cTooltips();
    cTooltips(const cTooltips&) = delete;
    cTooltips& operator=(const cTooltips&) = delete;

    void AddTool(const ToolControl& Ctl, uint32_t Flags, const std::string& Text);
    // Frm: the owning form's window. Flags: window styles (TTS_...), WS_POPUP is always added.
    void Create(uintptr_t Frm, uint32_t Flags);
    void DeleteTool(const ToolControl& Ctl);
    bool Enabled() const;
    void Enabled(bool NewState);
    int32_t GetDelayTime(uint32_t TimeMode) const;
    int32_t Icon() const;
    static int32_t MakeLong(int16_t Int1, int16_t Int2);
    void SetTracking(const ToolControl& Ctl, bool Tracking);
    void SetTrackPosition(const ToolControl& Ctl, int16_t x, int16_t y);
    std::string Title() const;
    void Icon(int32_t NewIcon);
    void Title(const std::string& NewTitle);
    void SetDelayTime(uint32_t TimeMode, int32_t Time);
    void HideTips();
    uintptr_t hwnd() const { return m_hWnd; }
    bool HitTest(const ToolControl& Ctl, int32_t x, int32_t y);
    int32_t MarginLeft() const;
    void MarginLeft(int32_t NewMargin);
    void MarginTop(int32_t NewMargin);
    void MarginRight(int32_t NewMargin);
    void MarginBottom(int32_t NewMargin);
    int32_t MarginTop() const;
    int32_t MarginRight() const;
    int32_t MarginBottom() const;
    int32_t GetShellVersion() const { return 0; }
    int32_t GetTooltipWidth(const ToolControl& Ctl) const;
    int32_t GetTooltipHeight(const ToolControl& Ctl) const;
    int32_t MaxTipWidth() const;
    void MaxTipWidth(int32_t NewWidth);
    void SetToolRect(const ToolControl& Ctl, int32_t Left, int32_t Top, int32_t Right,
                     int32_t Bottom);
    int32_t ToolCount() const;
    uint32_t BackColor() const;
    void BackColor(uint32_t NewColor);
    void SetTipText(const ToolControl& Ctl, const std::string& NewText);
    void ForeColor(uint32_t NewColor);
    uint32_t ForeColor() const;
    int32_t ToolTipWidthFromText(uintptr_t hDC, const std::string& Text) const;
    int32_t ToolTipHeightFromText(uintptr_t hDC, const std::string& Text) const;
    int32_t TextHeightFromToolTipHeight(uintptr_t hDC, int32_t TextHeight) const;
    int32_t TextWidthFromToolTipWidth(uintptr_t hDC, int32_t TextWidth) const;

private:
    // The first tool whose own window is hWindow, or a record with cbSize 0.
    ToolInfo FindTool(uintptr_t hWindow) const;
    static int16_t LoWord(int32_t value);
    static int16_t HiWord(int32_t value);
    uint32_t ResolveColor(uint32_t value) const;
    void Class_Terminate();

    enum class Side { Left, Top, Right, Bottom };
    int32_t GetMargin(Side side) const;
    void SetMargin(Side side, int32_t NewMargin);
    TooltipRect AdjustRect(bool textToWindow, TooltipRect rect) const;
    TextExtent MeasureText(uintptr_t hDC, const std::string& Text) const;

    ITooltipWindowApi& m_api;
    uintptr_t m_hInstance;
    uintptr_t m_hWnd = 0;
    bool m_bEnabled = false;
    int32_t m_lIcon = 0;
    std::string m_sTitle;
};
