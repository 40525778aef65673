// The tooltip class against comctl32's real tooltip control: a top-level window with a container
// and two buttons as the tools' windows.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "tooltips/c_tooltips.h"
#include "tooltips/tooltip_constants.h"
#include "tooltips/tooltip_window_api_win.h"

namespace {

template <typename Handle> uintptr_t H(Handle handle) {
    return reinterpret_cast<uintptr_t>(handle);
}
HWND W(uintptr_t h) {
    return reinterpret_cast<HWND>(h);
}

class TooltipsOnThePlatform : public testing::Test {
protected:
    void SetUp() override {
        instance = GetModuleHandleW(nullptr);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.lpszClassName = L"QuendryTooltipTestForm";
        RegisterClassW(&wc); // fails harmlessly when an earlier test registered it
        form = CreateWindowExW(0, wc.lpszClassName, L"Tooltips", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                               300, nullptr, nullptr, instance, nullptr);
        ASSERT_NE(form, nullptr);
        container = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 200,
                                    form, nullptr, instance, nullptr);
        button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 5, 5, 80, 25,
                                 container, nullptr, instance, nullptr);
        other = CreateWindowExW(0, L"BUTTON", L"Other", WS_CHILD | WS_VISIBLE, 5, 220, 80, 25, form,
                                nullptr, instance, nullptr);
        ASSERT_TRUE(container && button && other);
    }
    void TearDown() override {
        if (!form)
            return;
        // Every tooltip object of the test is gone by now, and with it every window it made.
        EXPECT_EQ(OwnedWindows(), 0);
        DestroyWindow(form);
    }

    // The top-level windows of this thread that the form owns.
    int OwnedWindows() const {
        OwnedCount count{form, 0};
        EnumThreadWindows(GetCurrentThreadId(), CountOwned, reinterpret_cast<LPARAM>(&count));
        return count.n;
    }
    struct OwnedCount {
        HWND owner;
        int n;
    };
    static BOOL CALLBACK CountOwned(HWND hwnd, LPARAM lParam) {
        auto* count = reinterpret_cast<OwnedCount*>(lParam);
        if (GetWindow(hwnd, GW_OWNER) == count->owner)
            ++count->n;
        return TRUE;
    }

    // The control's own view of a tool, with its text.
    ToolInfo Enumerate(uintptr_t tip, int index) {
        ToolInfo t;
        t.cbSize = kToolInfoSize;
        t.lpszText = std::string();
        EXPECT_NE(api.SendMessageA(tip, tooltip::kTTM_ENUMTOOLSA, index, t), 0);
        return t;
    }

    TooltipWindowApiWin api;
    HINSTANCE instance = nullptr;
    HWND form = nullptr, container = nullptr, button = nullptr, other = nullptr;
};

TEST_F(TooltipsOnThePlatform, CreateMakesATopmostTooltipOwnedByTheForm) {
    uintptr_t tip = 0;
    {
        cTooltips tips(api, H(instance));
        tips.Create(H(form), TTS_ALWAYSTIP | TTS_BALLOON);
        tip = tips.hwnd();
        ASSERT_TRUE(IsWindow(W(tip)));
        char cls[64] = {};
        GetClassNameA(W(tip), cls, sizeof cls);
        EXPECT_STREQ(cls, "tooltips_class32");
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(W(tip), GWL_STYLE));
        EXPECT_EQ(style & (WS_POPUP | TTS_ALWAYSTIP | TTS_BALLOON),
                  DWORD{WS_POPUP | TTS_ALWAYSTIP | TTS_BALLOON});
        EXPECT_TRUE(GetWindowLongPtrW(W(tip), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(GetWindow(W(tip), GW_OWNER), form);
        EXPECT_TRUE(tips.Enabled());
        EXPECT_EQ(tips.ToolCount(), 0);
    }
    EXPECT_FALSE(IsWindow(W(tip)));
}

TEST_F(TooltipsOnThePlatform, CreateTwiceLeavesOneWindow) {
    cTooltips tips(api, H(instance));
    tips.Create(H(form), TTS_ALWAYSTIP);
    const uintptr_t first = tips.hwnd();
    tips.Create(H(form), TTS_ALWAYSTIP);
    EXPECT_FALSE(IsWindow(W(first)));
    EXPECT_TRUE(IsWindow(W(tips.hwnd())));
    EXPECT_EQ(OwnedWindows(), 1);
}

TEST_F(TooltipsOnThePlatform, FailedCreationMakesEveryMemberANoOp) {
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                                nullptr);
    DestroyWindow(gone);
    cTooltips tips(api, H(instance));
    tips.Create(H(gone), TTS_ALWAYSTIP);
    EXPECT_EQ(tips.hwnd(), 0u);
    tips.AddTool(ToolControlFromWindow(H(button)), 0, "x");
    EXPECT_EQ(tips.ToolCount(), 0);
    EXPECT_FALSE(tips.Enabled());
}

TEST_F(TooltipsOnThePlatform, ToolsAreAddedFoundMeasuredAndDeleted) {
    cTooltips tips(api, H(instance));
    tips.Create(H(form), TTS_ALWAYSTIP);
    const uintptr_t tip = tips.hwnd();
    const ToolControl ok = ToolControlFromWindow(H(button));
    const ToolControl second = ToolControlFromWindow(H(other));
    ASSERT_EQ(ok.containerHwnd, H(container));

    tips.AddTool(ok, 0, "Hallo Welt");
    tips.AddTool(second, 0, "");
    ASSERT_EQ(tips.ToolCount(), 2);

    const ToolInfo added = Enumerate(tip, 0);
    EXPECT_EQ(added.uFlags, tooltip::kTTF_IDISHWND | tooltip::kTTF_SUBCLASS);
    EXPECT_EQ(added.hwnd, H(container));
    EXPECT_EQ(added.uId, H(button));
    EXPECT_EQ(added.hinst, H(instance));
    EXPECT_EQ(added.lpszText, std::optional<std::string>("Hallo Welt"));

    tips.SetTipText(ok, "Neuer Text");
    EXPECT_EQ(Enumerate(tip, 0).lpszText, std::optional<std::string>("Neuer Text"));
    tips.SetToolRect(ok, 1, 2, 30, 40);
    EXPECT_EQ(Enumerate(tip, 0).rect, (TooltipRect{1, 2, 30, 40}));

    EXPECT_TRUE(tips.HitTest(ok, 3, 3));
    EXPECT_FALSE(tips.HitTest(ToolControlFromWindow(H(container)), 3, 3));

    EXPECT_GT(tips.GetTooltipWidth(ok), 0);
    EXPECT_GT(tips.GetTooltipHeight(ok), 0);
    const ToolControl never{H(container), H(form)};
    EXPECT_EQ(tips.GetTooltipWidth(never), 0);

    tips.SetTracking(ok, false); // a tool that is not tracking: the control just accepts it
    tips.DeleteTool(never);
    EXPECT_EQ(tips.ToolCount(), 2);
    tips.DeleteTool(ok);
    EXPECT_EQ(tips.ToolCount(), 1);
    EXPECT_EQ(Enumerate(tip, 0).uId, H(other));
    tips.DeleteTool(second);
    EXPECT_EQ(tips.ToolCount(), 0);
}

TEST_F(TooltipsOnThePlatform, TextInTheAnsiCodePageRoundTrips) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "code page " << GetACP();
    cTooltips tips(api, H(instance));
    tips.Create(H(form), TTS_ALWAYSTIP);
    tips.AddTool(ToolControlFromWindow(H(button)), 0,
                 "Gr\xC3\xB6\xC3\x9F"
                 "e");
    EXPECT_EQ(Enumerate(tips.hwnd(), 0).lpszText, std::optional<std::string>("Gr\xC3\xB6\xC3\x9F"
                                                                             "e"));
    char raw[32] = {};
    TTTOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.lpszText = raw;
    ASSERT_TRUE(SendMessageA(W(tips.hwnd()), TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_STREQ(raw, "Gr\xF6\xDF"
                      "e");
}

TEST_F(TooltipsOnThePlatform, MarginsColoursWidthAndDelaysReadBack) {
    cTooltips tips(api, H(instance));
    tips.Create(H(form), TTS_ALWAYSTIP);
    tips.MarginLeft(5);
    tips.MarginTop(6);
    tips.MarginRight(7);
    tips.MarginBottom(8);
    EXPECT_EQ(tips.MarginLeft(), 5);
    EXPECT_EQ(tips.MarginTop(), 6);
    EXPECT_EQ(tips.MarginRight(), 7);
    EXPECT_EQ(tips.MarginBottom(), 8);

    tips.BackColor(0x00123456);
    EXPECT_EQ(tips.BackColor(), 0x00123456u);
    tips.BackColor(0x80000000 | COLOR_WINDOW);
    EXPECT_EQ(tips.BackColor(), GetSysColor(COLOR_WINDOW));
    tips.ForeColor(0x80000000 | COLOR_HIGHLIGHT);
    EXPECT_EQ(tips.ForeColor(), GetSysColor(COLOR_HIGHLIGHT));

    tips.MaxTipWidth(200);
    EXPECT_EQ(tips.MaxTipWidth(), 200);
    tips.SetDelayTime(TTDT_INITIAL, 123);
    EXPECT_EQ(tips.GetDelayTime(TTDT_INITIAL), 123);

    tips.Enabled(false);
    EXPECT_FALSE(tips.Enabled());
    tips.Icon(TTI_WARNING);
    tips.Title(" ");
    EXPECT_EQ(tips.Icon(), TTI_WARNING);
    EXPECT_EQ(tips.Title(), " ");
    tips.HideTips();
}

TEST_F(TooltipsOnThePlatform, SizeConversionsAreEachOthersInverse) {
    cTooltips tips(api, H(instance));
    tips.Create(H(form), TTS_ALWAYSTIP);
    tips.MarginLeft(3);
    tips.MarginRight(4);
    HDC hdc = GetDC(form);
    ASSERT_NE(hdc, nullptr);
    SIZE text = {};
    GetTextExtentPoint32A(hdc, "Hallo Welt", 10, &text);
    const int32_t width = tips.ToolTipWidthFromText(H(hdc), "Hallo Welt");
    const int32_t height = tips.ToolTipHeightFromText(H(hdc), "Hallo Welt");
    ReleaseDC(form, hdc);
    // The window is never smaller than its text (Wine's control adds nothing around it).
    EXPECT_GE(width, text.cx);
    EXPECT_GE(height, text.cy);
    EXPECT_EQ(tips.TextWidthFromToolTipWidth(0, width), text.cx);
    EXPECT_EQ(tips.TextHeightFromToolTipHeight(0, height), text.cy);
}

} // namespace
