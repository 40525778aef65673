// What the members return and the values they compute: colours, words, sizes and margins.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tooltip_test_support.h"

using namespace tiptest;

namespace {

class TooltipsWithWindow : public testing::Test {
protected:
    void SetUp() override {
        tips.Create(kForm, kTTS_ALWAYSTIP);
        ASSERT_NE(tips.hwnd(), 0u);
        fake.ClearLog();
    }
    FakeTooltipWindow fake;
    cTooltips tips{fake, kInstance};
};

// A colour with 0x80 in its top byte names the system colour of its low byte.
struct ColorCase {
    uint32_t given;
    std::vector<int32_t> sysColorReads;
    uint32_t sent;
};

class TooltipsColor : public TooltipsWithWindow, public testing::WithParamInterface<ColorCase> {};

TEST_P(TooltipsColor, BackColorResolvesSystemColors) {
    fake.SysColor = [](int32_t index) { return 0x00C0C000u + static_cast<uint32_t>(index); };
    tips.BackColor(GetParam().given);
    EXPECT_EQ(fake.SysColorReads, GetParam().sysColorReads);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].msg, kTTM_SETTIPBKCOLOR);
    EXPECT_EQ(fake.Messages[0].wParam, GetParam().sent);
    EXPECT_EQ(tips.BackColor(), GetParam().sent);
}

TEST_P(TooltipsColor, ForeColorResolvesSystemColors) {
    fake.SysColor = [](int32_t index) { return 0x00C0C000u + static_cast<uint32_t>(index); };
    tips.ForeColor(GetParam().given);
    EXPECT_EQ(fake.SysColorReads, GetParam().sysColorReads);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].msg, kTTM_SETTIPTEXTCOLOR);
    EXPECT_EQ(fake.Messages[0].wParam, GetParam().sent);
    EXPECT_EQ(tips.ForeColor(), GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    Colors, TooltipsColor,
    testing::Values(ColorCase{0x80000005, {5}, 0x00C0C005},    // COLOR_WINDOW
                    ColorCase{0x80000018, {0x18}, 0x00C0C018}, // COLOR_INFOBK
                    ColorCase{0x80FFFF17, {0x17}, 0x00C0C017}, // only the low byte is the index
                    ColorCase{0x800000FF, {0xFF}, 0x00C0C0FF},
                    ColorCase{0x81000005, {}, 0x81000005}, // other tags pass unchanged
                    ColorCase{0x7F000005, {}, 0x7F000005}, ColorCase{0xFF000005, {}, 0xFF000005},
                    ColorCase{0x00000005, {}, 0x00000005}, ColorCase{0x00FF0000, {}, 0x00FF0000}));

struct MakeLongCase {
    int16_t low, high;
    uint32_t bits;
};

class TooltipsMakeLong : public testing::TestWithParam<MakeLongCase> {};

TEST_P(TooltipsMakeLong, PutsTheWordsSideBySide) {
    EXPECT_EQ(static_cast<uint32_t>(cTooltips::MakeLong(GetParam().low, GetParam().high)),
              GetParam().bits);
}

INSTANTIATE_TEST_SUITE_P(Words, TooltipsMakeLong,
                         testing::Values(MakeLongCase{-1, 0, 0x0000FFFF},
                                         MakeLongCase{0, -1, 0xFFFF0000},
                                         MakeLongCase{-1, -1, 0xFFFFFFFF},
                                         MakeLongCase{1, 2, 0x00020001},
                                         MakeLongCase{-32768, 32767, 0x7FFF8000},
                                         MakeLongCase{32767, -32768, 0x80007FFF}));

// The bubble size comes back as two signed 16-bit words: width low, height high.
struct BubbleCase {
    intptr_t result;
    int32_t width, height;
};

class TooltipsBubble : public TooltipsWithWindow, public testing::WithParamInterface<BubbleCase> {};

TEST_P(TooltipsBubble, SplitsTheResultIntoSignedWords) {
    tips.AddTool(kCtlA, 0, "a");
    fake.BubbleSize = GetParam().result;
    EXPECT_EQ(tips.GetTooltipWidth(kCtlA), GetParam().width);
    EXPECT_EQ(tips.GetTooltipHeight(kCtlA), GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TooltipsBubble,
                         testing::Values(BubbleCase{0x00320064, 100, 50},
                                         BubbleCase{0x7FFF7FFF, 32767, 32767},
                                         BubbleCase{0x0000FFFF, -1, 0},
                                         BubbleCase{static_cast<intptr_t>(0xFFFF8000u), -32768, -1},
                                         BubbleCase{0, 0, 0}));

TEST_F(TooltipsWithWindow, BubbleOfAControlNeverAddedIsZero) {
    tips.AddTool(kCtlA, 0, "a");
    fake.BubbleSize = 0x00320064;
    EXPECT_EQ(tips.GetTooltipWidth(kCtlB), 0);
    EXPECT_EQ(tips.GetTooltipHeight(kCtlB), 0);
    EXPECT_TRUE(fake.MessagesOf(kTTM_GETBUBBLESIZE).empty());
}

// The fake grows a text rectangle by 4, 2, 5, 3 (left, top, right, bottom); text is 7 pixels a
// character and 13 high.
TEST_F(TooltipsWithWindow, SizeConversionsGoBothWays) {
    constexpr uintptr_t hdc = 0x3300;
    EXPECT_EQ(tips.ToolTipWidthFromText(hdc, "Hallo"), 35 + 9);
    EXPECT_EQ(tips.ToolTipHeightFromText(hdc, "Hallo"), 13 + 5);
    EXPECT_EQ(tips.TextWidthFromToolTipWidth(hdc, 44), 35);
    EXPECT_EQ(tips.TextHeightFromToolTipHeight(hdc, 18), 13);
    // Only the text measurements look at the device context.
    EXPECT_EQ(fake.Extents,
              (std::vector<std::pair<uintptr_t, std::string>>{{hdc, "Hallo"}, {hdc, "Hallo"}}));
}

TEST_F(TooltipsWithWindow, UnmeasurableTextCountsAsEmpty) {
    fake.ExtentOk = false;
    EXPECT_EQ(tips.ToolTipWidthFromText(0x3300, "Hallo"), 9);
    EXPECT_EQ(fake.MessagesOf(kTTM_ADJUSTRECT).at(0).rect, (TooltipRect{0, 0, 0, 0}));
}

TEST_F(TooltipsWithWindow, ConversionsWrapInsteadOfOverflowing) {
    fake.AdjustInset = {0, 0, 1, 0};
    EXPECT_EQ(tips.TextWidthFromToolTipWidth(0, INT32_MIN), INT32_MAX);
}

TEST_F(TooltipsWithWindow, EachMarginSetterChangesOnlyItsSide) {
    fake.Margin = {1, 2, 3, 4};
    tips.MarginLeft(10);
    tips.MarginTop(20);
    tips.MarginRight(30);
    EXPECT_EQ(fake.Margin, (TooltipRect{10, 20, 30, 4}));
    tips.MarginBottom(40);
    EXPECT_EQ(tips.MarginLeft(), 10);
    EXPECT_EQ(tips.MarginTop(), 20);
    EXPECT_EQ(tips.MarginRight(), 30);
    EXPECT_EQ(tips.MarginBottom(), 40);
    // Three reads and one write per setter.
    EXPECT_EQ(fake.MessagesOf(kTTM_GETMARGIN).size(), 4u * 3 + 4);
    EXPECT_EQ(fake.MessagesOf(kTTM_SETMARGIN).size(), 4u);
}

TEST_F(TooltipsWithWindow, GettersReturnTheWindowsAnswers) {
    fake.Results[kTTM_GETDELAYTIME] = 1500;
    fake.Results[kTTM_GETTOOLCOUNT] = 3;
    EXPECT_EQ(tips.GetDelayTime(kTTDT_AUTOPOP), 1500);
    EXPECT_EQ(tips.ToolCount(), 3);
    EXPECT_EQ(tips.MaxTipWidth(), -1);
    tips.MaxTipWidth(300);
    EXPECT_EQ(tips.MaxTipWidth(), 300);
    EXPECT_EQ(tips.GetShellVersion(), 0);
}

TEST_F(TooltipsWithWindow, HitTestIsTrueForARegisteredControlOnly) {
    tips.AddTool(kCtlA, 0, "a");
    EXPECT_TRUE(tips.HitTest(kCtlA, 2, 2));
    EXPECT_FALSE(tips.HitTest(kCtlB, 2, 2));
}

TEST_F(TooltipsWithWindow, EnabledFollowsTheLastState) {
    tips.Enabled(false);
    EXPECT_FALSE(tips.Enabled());
    EXPECT_FALSE(fake.Active);
    tips.Enabled(true);
    EXPECT_TRUE(tips.Enabled());
    EXPECT_TRUE(fake.Active);
}

TEST_F(TooltipsWithWindow, ToolsComeAndGo) {
    tips.AddTool(kCtlA, 0, "a");
    tips.AddTool(kCtlB, kTTF_TRACK, "");
    EXPECT_EQ(tips.ToolCount(), 2);
    tips.SetToolRect(kCtlB, 1, 2, 3, 4);
    tips.SetTipText(kCtlB, "b");
    EXPECT_EQ(fake.Tools.at(1).rect, (TooltipRect{1, 2, 3, 4}));
    EXPECT_EQ(fake.Tools.at(1).lpszText, std::optional<std::string>("b"));
    tips.DeleteTool(kCtlA);
    tips.DeleteTool(kCtlC);
    EXPECT_EQ(tips.ToolCount(), 1);
    EXPECT_EQ(fake.Tools.at(0).uId, kCtlB.hwnd);
}

} // namespace
