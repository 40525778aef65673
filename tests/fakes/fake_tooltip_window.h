#pragma once
// A tooltip window that records every call it is given, in order, with the records as they were
// sent, and behaves like a small tooltip control: tools added, enumerated, updated and deleted,
// margins, colours, widths and delays kept, rectangles adjusted by a fixed inset. Tests may
// override the result of any message and make window creation fail.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tooltips/tooltip_constants.h"
#include "tooltips/tooltip_window_api.h"

// One SendMessageA as it reached the window: the record it pointed to, copied before the window
// changed it.
struct SentMessage {
    uintptr_t hwnd = 0;
    uint32_t msg = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0; // plain messages only
    std::optional<ToolInfo> tool;
    std::optional<TooltipRect> rect;
    std::optional<HitTestInfo> hit;
    std::optional<std::string> text;
    bool operator==(const SentMessage&) const = default;
};

struct CreateWindowCall {
    uint32_t exStyle = 0;
    std::string className, windowName;
    uint32_t style = 0;
    int32_t x = 0, y = 0, width = 0, height = 0;
    uintptr_t parent = 0, menu = 0, instance = 0, param = 0;
    bool operator==(const CreateWindowCall&) const = default;
};

struct SetWindowPosCall {
    uintptr_t hwnd = 0, insertAfter = 0;
    int32_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t flags = 0;
    bool operator==(const SetWindowPosCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TooltipRect& r) {
    return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

inline std::ostream& operator<<(std::ostream& os, const ToolInfo& t) {
    os << std::hex << "{cbSize=" << std::dec << t.cbSize << std::hex << " uFlags=0x" << t.uFlags
       << " hwnd=0x" << t.hwnd << " uId=0x" << t.uId << std::dec << " rect=" << t.rect << std::hex
       << " hinst=0x" << t.hinst << std::dec << " text=";
    if (t.lpszText)
        os << '"' << *t.lpszText << '"';
    else
        os << "null";
    return os << " lParam=" << t.lParam << "}";
}

inline std::ostream& operator<<(std::ostream& os, const SentMessage& m) {
    os << std::hex << "{hwnd=0x" << m.hwnd << " msg=0x" << m.msg << " wParam=0x" << m.wParam
       << std::dec << " lParam=" << m.lParam;
    if (m.tool)
        os << " tool=" << *m.tool;
    if (m.rect)
        os << " rect=" << *m.rect;
    if (m.hit)
        os << " hit={hwnd=0x" << std::hex << m.hit->hwnd << std::dec << " pt=" << m.hit->pt.x << ","
           << m.hit->pt.y << " ti=" << m.hit->ti << "}";
    if (m.text)
        os << " text=\"" << *m.text << '"';
    return os << "}";
}

inline std::ostream& operator<<(std::ostream& os, const CreateWindowCall& c) {
    return os << std::hex << "{ex=0x" << c.exStyle << " class=" << c.className << " name=\""
              << c.windowName << "\" style=0x" << c.style << " x=0x" << c.x << " y=0x" << c.y
              << " w=0x" << c.width << " h=0x" << c.height << " parent=0x" << c.parent << " menu=0x"
              << c.menu << " instance=0x" << c.instance << " param=0x" << c.param << std::dec
              << "}";
}

inline std::ostream& operator<<(std::ostream& os, const SetWindowPosCall& c) {
    return os << std::hex << "{hwnd=0x" << c.hwnd << " after=0x" << c.insertAfter << std::dec << " "
              << c.x << "," << c.y << "," << c.cx << "," << c.cy << std::hex << " flags=0x"
              << c.flags << std::dec << "}";
}

class FakeTooltipWindow : public ITooltipWindowApi {
public:
    // Every call by name, in order ("InitCommonControlsEx", "CreateWindowEx", "SetWindowPos",
    // "DestroyWindow", "SendMessage", "GetTextExtentPoint32", "GetSysColor").
    std::vector<std::string> Calls;
    std::vector<std::pair<uint32_t, uint32_t>> Inits; // dwSize, dwICC
    std::vector<CreateWindowCall> Creates;
    std::vector<SetWindowPosCall> Positions;
    std::vector<uintptr_t> Destroyed;
    std::vector<SentMessage> Messages;
    std::vector<std::pair<uintptr_t, std::string>> Extents; // hdc, text
    std::vector<int32_t> SysColorReads;

    // Scripted answers. Creation hands out these handles first (0 = creation fails), then fresh
    // ones.
    std::deque<uintptr_t> CreateResults;
    uintptr_t NextHandle = 0x1000;
    bool ExtentOk = true;
    int32_t CharWidth = 7;
    int32_t LineHeight = 13;
    std::function<uint32_t(int32_t)> SysColor = [](int32_t index) {
        return 0x00A0B000u + static_cast<uint32_t>(index);
    };
    // kTTM_ADJUSTRECT grows a text rectangle by this much on each side (and shrinks a window one).
    TooltipRect AdjustInset{4, 2, 5, 3};
    intptr_t BubbleSize = 0;
    // Results that replace the control's own for a message (the record is still filled).
    std::map<uint32_t, intptr_t> Results;

    // The control's state.
    std::set<uintptr_t> LiveWindows;
    std::vector<ToolInfo> Tools;
    TooltipRect Margin;
    uint32_t BkColor = 0x00E1FFFF;
    uint32_t TextColor = 0x00000000;
    int32_t MaxWidth = -1;
    std::map<uintptr_t, int32_t> Delays;
    bool Active = true;
    uintptr_t TitleIcon = 0;
    std::string TitleText;

    // Only the messages of one kind, e.g. to look at what one member sent.
    std::vector<SentMessage> MessagesOf(uint32_t msg) const {
        std::vector<SentMessage> out;
        for (const auto& m : Messages)
            if (m.msg == msg)
                out.push_back(m);
        return out;
    }
    void ClearLog() {
        Calls.clear();
        Inits.clear();
        Creates.clear();
        Positions.clear();
        Destroyed.clear();
        Messages.clear();
        Extents.clear();
        SysColorReads.clear();
    }

    bool InitCommonControlsEx(uint32_t dwSize, uint32_t dwICC) override {
        Calls.push_back("InitCommonControlsEx");
        Inits.emplace_back(dwSize, dwICC);
        return true;
    }
    uintptr_t CreateWindowExA(uint32_t exStyle, const std::string& className,
                              const std::string& windowName, uint32_t style, int32_t x, int32_t y,
                              int32_t width, int32_t height, uintptr_t parent, uintptr_t menu,
                              uintptr_t instance, uintptr_t param) override {
        Calls.push_back("CreateWindowEx");
        Creates.push_back({exStyle, className, windowName, style, x, y, width, height, parent, menu,
                           instance, param});
        uintptr_t h;
        if (!CreateResults.empty()) {
            h = CreateResults.front();
            CreateResults.pop_front();
        } else {
            h = NextHandle;
            NextHandle += 0x10;
        }
        if (h != 0) {
            LiveWindows.insert(h);
            Tools.clear();
        }
        return h;
    }
    bool SetWindowPos(uintptr_t hwnd, uintptr_t insertAfter, int32_t x, int32_t y, int32_t cx,
                      int32_t cy, uint32_t flags) override {
        Calls.push_back("SetWindowPos");
        Positions.push_back({hwnd, insertAfter, x, y, cx, cy, flags});
        return LiveWindows.count(hwnd) != 0;
    }
    bool DestroyWindow(uintptr_t hwnd) override {
        Calls.push_back("DestroyWindow");
        Destroyed.push_back(hwnd);
        return LiveWindows.erase(hwnd) != 0;
    }

    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                          intptr_t lParam) override {
        Log({hwnd, msg, wParam, lParam, {}, {}, {}, {}});
        if (!LiveWindows.count(hwnd))
            return 0;
        intptr_t r = 0;
        using namespace tooltip;
        switch (msg) {
        case kTTM_ACTIVATE:
            Active = wParam != 0;
            break;
        case kTTM_GETTOOLCOUNT:
            r = static_cast<intptr_t>(Tools.size());
            break;
        case kTTM_SETDELAYTIME:
            Delays[wParam] = static_cast<int32_t>(lParam);
            break;
        case kTTM_GETDELAYTIME:
            r = Delays.count(wParam) ? Delays[wParam] : 0;
            break;
        case kTTM_SETTIPBKCOLOR:
            BkColor = static_cast<uint32_t>(wParam);
            break;
        case kTTM_SETTIPTEXTCOLOR:
            TextColor = static_cast<uint32_t>(wParam);
            break;
        case kTTM_GETTIPBKCOLOR:
            r = BkColor;
            break;
        case kTTM_GETTIPTEXTCOLOR:
            r = TextColor;
            break;
        case kTTM_SETMAXTIPWIDTH:
            r = MaxWidth;
            MaxWidth = static_cast<int32_t>(lParam);
            break;
        case kTTM_GETMAXTIPWIDTH:
            r = MaxWidth;
            break;
        }
        return Result(msg, r);
    }
    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam, ToolInfo& tool) override {
        Log({hwnd, msg, wParam, 0, tool, {}, {}, {}});
        if (!LiveWindows.count(hwnd))
            return 0;
        intptr_t r = 0;
        using namespace tooltip;
        switch (msg) {
        case kTTM_ADDTOOLA:
            Tools.push_back(tool);
            r = 1;
            break;
        case kTTM_DELTOOLA:
            if (auto* t = Match(tool))
                Tools.erase(Tools.begin() + (t - Tools.data()));
            break;
        case kTTM_NEWTOOLRECTA:
            if (auto* t = Match(tool))
                t->rect = tool.rect;
            break;
        case kTTM_UPDATETIPTEXTA:
            if (auto* t = Match(tool))
                t->lpszText = tool.lpszText;
            break;
        case kTTM_ENUMTOOLSA:
            if (wParam < Tools.size()) {
                Fill(tool, Tools[wParam]);
                r = 1;
            }
            break;
        case kTTM_GETBUBBLESIZE:
            r = Match(tool) ? BubbleSize : 0;
            break;
        }
        return Result(msg, r);
    }
    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                          TooltipRect& rect) override {
        Log({hwnd, msg, wParam, 0, {}, rect, {}, {}});
        if (!LiveWindows.count(hwnd))
            return 0;
        intptr_t r = 0;
        using namespace tooltip;
        switch (msg) {
        case kTTM_GETMARGIN:
            rect = Margin;
            break;
        case kTTM_SETMARGIN:
            Margin = rect;
            break;
        case kTTM_ADJUSTRECT: {
            // 32-bit arithmetic that wraps, as the control's does.
            auto add = [](int32_t a, int32_t b) {
                return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
            };
            const int32_t sign = wParam != 0 ? 1 : -1;
            rect.left = add(rect.left, -sign * AdjustInset.left);
            rect.top = add(rect.top, -sign * AdjustInset.top);
            rect.right = add(rect.right, sign * AdjustInset.right);
            rect.bottom = add(rect.bottom, sign * AdjustInset.bottom);
            r = 1;
            break;
        }
        }
        return Result(msg, r);
    }
    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                          HitTestInfo& info) override {
        Log({hwnd, msg, wParam, 0, {}, {}, info, {}});
        if (!LiveWindows.count(hwnd))
            return 0;
        intptr_t r = 0;
        if (msg == tooltip::kTTM_HITTESTA) {
            for (const auto& t : Tools) {
                if ((t.uFlags & tooltip::kTTF_IDISHWND) && t.uId == info.hwnd) {
                    Fill(info.ti, t);
                    r = 1;
                    break;
                }
            }
        }
        return Result(msg, r);
    }
    intptr_t SendMessageA(uintptr_t hwnd, uint32_t msg, uintptr_t wParam,
                          const std::string& text) override {
        Log({hwnd, msg, wParam, 0, {}, {}, {}, text});
        if (!LiveWindows.count(hwnd))
            return 0;
        intptr_t r = 0;
        if (msg == tooltip::kTTM_SETTITLEA) {
            TitleIcon = wParam;
            TitleText = text;
            r = 1;
        }
        return Result(msg, r);
    }

    bool GetTextExtentPoint32A(uintptr_t hdc, const std::string& text, TextExtent& size) override {
        Calls.push_back("GetTextExtentPoint32");
        Extents.emplace_back(hdc, text);
        if (!ExtentOk)
            return false;
        size = {CharWidth * static_cast<int32_t>(text.size()), LineHeight};
        return true;
    }
    uint32_t GetSysColor(int32_t index) override {
        Calls.push_back("GetSysColor");
        SysColorReads.push_back(index);
        return SysColor(index);
    }

private:
    void Log(SentMessage m) {
        Calls.push_back("SendMessage");
        Messages.push_back(std::move(m));
    }
    intptr_t Result(uint32_t msg, intptr_t own) const {
        auto it = Results.find(msg);
        return it != Results.end() ? it->second : own;
    }
    // The first tool registered under the record's window and id, as the control looks tools up.
    ToolInfo* Match(const ToolInfo& key) {
        for (auto& t : Tools)
            if (t.hwnd == key.hwnd && t.uId == key.uId)
                return &t;
        return nullptr;
    }
    // What the control copies into a caller's record: the text only into a given buffer.
    static void Fill(ToolInfo& out, const ToolInfo& tool) {
        out.uFlags = tool.uFlags;
        out.hwnd = tool.hwnd;
        out.uId = tool.uId;
        out.rect = tool.rect;
        out.hinst = tool.hinst;
        out.lParam = tool.lParam;
        if (out.lpszText)
            out.lpszText = tool.lpszText.value_or("");
    }
};
