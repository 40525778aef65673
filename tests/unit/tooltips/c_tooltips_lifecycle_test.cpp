// The tooltip window's life: creation, re-creation, release, and the members while there is none.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tooltip_test_support.h"

using namespace tiptest;

namespace {

TEST(TooltipsCreate, MakesTopmostPopupOwnedByTheForm) {
    FakeTooltipWindow fake;
    cTooltips tips(fake, kInstance);
    tips.Create(kForm, kTTS_ALWAYSTIP | kTTS_BALLOON);

    EXPECT_EQ(fake.Calls,
              (std::vector<std::string>{"InitCommonControlsEx", "CreateWindowEx", "SetWindowPos"}));
    EXPECT_EQ(fake.Inits, (std::vector<std::pair<uint32_t, uint32_t>>{{8, 0xFF}}));
    const CreateWindowCall expected{
        kWS_EX_TOPMOST, "tooltips_class32", "",    0x80000041, kCW_USEDEFAULT, kCW_USEDEFAULT,
        kCW_USEDEFAULT, kCW_USEDEFAULT,     kForm, 0,          kInstance,      0};
    EXPECT_EQ(fake.Creates, std::vector<CreateWindowCall>{expected});
    const SetWindowPosCall topmost{0x1000, kHWND_TOPMOST, 0, 0, 0, 0, 0x0013};
    EXPECT_EQ(fake.Positions, std::vector<SetWindowPosCall>{topmost});
    // No activation, no title: the window starts in the platform's default state.
    EXPECT_TRUE(fake.Messages.empty());
    EXPECT_EQ(tips.hwnd(), 0x1000u);
    EXPECT_TRUE(tips.Enabled());
    EXPECT_EQ(tips.Icon(), 0);
    EXPECT_EQ(tips.Title(), "");
}

TEST(TooltipsCreate, TwiceDestroysTheFirstWindowAndResetsTheFields) {
    FakeTooltipWindow fake;
    cTooltips tips(fake, kInstance);
    tips.Create(kForm, 0);
    const uintptr_t first = tips.hwnd();
    tips.Enabled(false);
    tips.Icon(kTTI_ERROR);
    tips.Title("alt");
    fake.ClearLog();

    tips.Create(kForm, kTTS_BALLOON);

    EXPECT_EQ(fake.Calls, (std::vector<std::string>{"DestroyWindow", "InitCommonControlsEx",
                                                    "CreateWindowEx", "SetWindowPos"}));
    EXPECT_EQ(fake.Destroyed, std::vector<uintptr_t>{first});
    EXPECT_NE(tips.hwnd(), first);
    EXPECT_EQ(fake.LiveWindows, std::set<uintptr_t>{tips.hwnd()});
    EXPECT_TRUE(tips.Enabled());
    EXPECT_EQ(tips.Icon(), 0);
    EXPECT_EQ(tips.Title(), "");
}

TEST(TooltipsCreate, ReleaseDestroysTheWindow) {
    FakeTooltipWindow fake;
    uintptr_t made = 0;
    {
        cTooltips tips(fake, kInstance);
        tips.Create(kForm, 0);
        made = tips.hwnd();
        fake.ClearLog();
    }
    EXPECT_EQ(fake.Calls, std::vector<std::string>{"DestroyWindow"});
    EXPECT_EQ(fake.Destroyed, std::vector<uintptr_t>{made});
    EXPECT_TRUE(fake.LiveWindows.empty());
}

TEST(TooltipsCreate, ReleaseWithoutWindowCallsNothing) {
    FakeTooltipWindow fake;
    { cTooltips tips(fake, kInstance); }
    EXPECT_TRUE(fake.Calls.empty());
}

TEST(TooltipsCreate, FailedCreationLeavesNoWindowAndPlacesNothing) {
    FakeTooltipWindow fake;
    fake.CreateResults = {0};
    {
        cTooltips tips(fake, kInstance);
        tips.Create(kForm, 0);
        EXPECT_EQ(tips.hwnd(), 0u);
        EXPECT_EQ(fake.Calls, (std::vector<std::string>{"InitCommonControlsEx", "CreateWindowEx"}));
        // Create set enabled, but without a window it reads False.
        EXPECT_FALSE(tips.Enabled());
        fake.ClearLog();
    }
    EXPECT_TRUE(fake.Calls.empty());
}

TEST(TooltipsCreate, FailedSecondCreationStillDestroysTheFirstWindow) {
    FakeTooltipWindow fake;
    fake.CreateResults = {0x1000, 0};
    cTooltips tips(fake, kInstance);
    tips.Create(kForm, 0);
    tips.Create(kForm, 0);
    EXPECT_EQ(tips.hwnd(), 0u);
    EXPECT_TRUE(fake.LiveWindows.empty());
    fake.ClearLog();
    tips.HideTips();
    EXPECT_TRUE(fake.Calls.empty());
}

TEST(TooltipsBeforeCreate, EnabledIsKeptButReadsFalse) {
    FakeTooltipWindow fake;
    cTooltips tips(fake, kInstance);
    tips.Enabled(true);
    EXPECT_FALSE(tips.Enabled());
    tips.Create(kForm, 0);
    EXPECT_TRUE(tips.Enabled());
}

TEST(TooltipsBeforeCreate, IconAndTitleAreDropped) {
    FakeTooltipWindow fake;
    cTooltips tips(fake, kInstance);
    tips.Icon(kTTI_WARNING);
    tips.Title("vorher");
    tips.Create(kForm, 0);
    EXPECT_EQ(tips.Icon(), 0);
    EXPECT_EQ(tips.Title(), "");
    tips.Icon(kTTI_INFO);
    EXPECT_EQ(fake.Messages.back().text, std::optional<std::string>(""));
}

// Every member, while there is no window: nothing reaches the platform and every result is 0,
// False or "". Each returns its result as a number (a text as its length).
struct NoWindowCase {
    std::string name;
    std::function<int64_t(cTooltips&)> act;
};

std::vector<NoWindowCase> NoWindowCases() {
    constexpr uintptr_t hdc = 0x3300;
    return {
        {"AddTool", [](cTooltips& t) { return t.AddTool(kCtlA, 0, "x"), 0; }},
        {"DeleteTool", [](cTooltips& t) { return t.DeleteTool(kCtlA), 0; }},
        {"EnabledGet", [](cTooltips& t) { return int64_t{t.Enabled()}; }},
        {"EnabledSet", [](cTooltips& t) { return t.Enabled(true), 0; }},
        {"GetDelayTime", [](cTooltips& t) { return t.GetDelayTime(kTTDT_INITIAL); }},
        {"IconGet", [](cTooltips& t) { return t.Icon(); }},
        {"SetTracking", [](cTooltips& t) { return t.SetTracking(kCtlA, true), 0; }},
        {"SetTrackPosition", [](cTooltips& t) { return t.SetTrackPosition(kCtlA, 1, 2), 0; }},
        {"TitleGet", [](cTooltips& t) { return static_cast<int64_t>(t.Title().size()); }},
        {"IconSet", [](cTooltips& t) { return t.Icon(kTTI_WARNING), int64_t{t.Icon()}; }},
        {"TitleSet",
         [](cTooltips& t) { return t.Title("x"), static_cast<int64_t>(t.Title().size()); }},
        {"SetDelayTime", [](cTooltips& t) { return t.SetDelayTime(kTTDT_INITIAL, 5), 0; }},
        {"HideTips", [](cTooltips& t) { return t.HideTips(), 0; }},
        {"hwnd", [](cTooltips& t) { return static_cast<int64_t>(t.hwnd()); }},
        {"HitTest", [](cTooltips& t) { return int64_t{t.HitTest(kCtlA, 1, 1)}; }},
        {"MarginLeftGet", [](cTooltips& t) { return t.MarginLeft(); }},
        {"MarginTopGet", [](cTooltips& t) { return t.MarginTop(); }},
        {"MarginRightGet", [](cTooltips& t) { return t.MarginRight(); }},
        {"MarginBottomGet", [](cTooltips& t) { return t.MarginBottom(); }},
        {"MarginLeftSet", [](cTooltips& t) { return t.MarginLeft(3), 0; }},
        {"MarginTopSet", [](cTooltips& t) { return t.MarginTop(3), 0; }},
        {"MarginRightSet", [](cTooltips& t) { return t.MarginRight(3), 0; }},
        {"MarginBottomSet", [](cTooltips& t) { return t.MarginBottom(3), 0; }},
        {"GetShellVersion", [](cTooltips& t) { return t.GetShellVersion(); }},
        {"GetTooltipWidth", [](cTooltips& t) { return t.GetTooltipWidth(kCtlA); }},
        {"GetTooltipHeight", [](cTooltips& t) { return t.GetTooltipHeight(kCtlA); }},
        {"MaxTipWidthGet", [](cTooltips& t) { return t.MaxTipWidth(); }},
        {"MaxTipWidthSet", [](cTooltips& t) { return t.MaxTipWidth(100), 0; }},
        {"SetToolRect", [](cTooltips& t) { return t.SetToolRect(kCtlA, 1, 2, 3, 4), 0; }},
        {"ToolCount", [](cTooltips& t) { return t.ToolCount(); }},
        {"BackColorGet", [](cTooltips& t) { return int64_t{t.BackColor()}; }},
        {"BackColorSet", [](cTooltips& t) { return t.BackColor(0x80000005), 0; }},
        {"SetTipText", [](cTooltips& t) { return t.SetTipText(kCtlA, "x"), 0; }},
        {"ForeColorSet", [](cTooltips& t) { return t.ForeColor(0x80000008), 0; }},
        {"ForeColorGet", [](cTooltips& t) { return int64_t{t.ForeColor()}; }},
        {"ToolTipWidthFromText", [](cTooltips& t) { return t.ToolTipWidthFromText(hdc, "x"); }},
        {"ToolTipHeightFromText", [](cTooltips& t) { return t.ToolTipHeightFromText(hdc, "x"); }},
        {"TextHeightFromToolTipHeight",
         [](cTooltips& t) { return t.TextHeightFromToolTipHeight(hdc, 50); }},
        {"TextWidthFromToolTipWidth",
         [](cTooltips& t) { return t.TextWidthFromToolTipWidth(hdc, 50); }},
    };
}

class WithoutWindow : public testing::TestWithParam<NoWindowCase> {};

TEST_P(WithoutWindow, NeverCreated) {
    FakeTooltipWindow fake;
    cTooltips tips(fake, kInstance);
    EXPECT_EQ(GetParam().act(tips), 0);
    EXPECT_TRUE(fake.Calls.empty());
}

TEST_P(WithoutWindow, CreationFailed) {
    FakeTooltipWindow fake;
    fake.CreateResults = {0};
    cTooltips tips(fake, kInstance);
    tips.Create(kForm, 0);
    fake.ClearLog();
    EXPECT_EQ(GetParam().act(tips), 0);
    EXPECT_TRUE(fake.Calls.empty());
}

INSTANTIATE_TEST_SUITE_P(EachMember, WithoutWindow, testing::ValuesIn(NoWindowCases()),
                         [](const auto& info) { return info.param.name; });

} // namespace
