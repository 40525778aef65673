// What each member sends to the tooltip window, message by message, with the records as sent.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tooltip_test_support.h"

using namespace tiptest;

namespace {

constexpr uintptr_t kTip = 0x1000; // the fake's first window
constexpr uintptr_t kHdc = 0x3300;
constexpr uint32_t kSubclassed = kTTF_IDISHWND | kTTF_SUBCLASS;

// B is registered first, A second, so a lookup of A has to walk past B.
const ToolInfo kToolB = Added(kCtlB, kSubclassed, "B tip");
const ToolInfo kToolA = Added(kCtlA, kSubclassed, "A tip");

// What a lookup sends before it finds the tool at `found` (or gives up, found = -1): the count,
// then one enumeration per index into the same record, which carries the previous tool's fields.
std::vector<SentMessage> Lookup(int found) {
    std::vector<SentMessage> seq{Plain(kTip, kTTM_GETTOOLCOUNT)};
    seq.push_back(WithTool(kTip, kTTM_ENUMTOOLSA, 0, EmptyRecord()));
    if (found != 0)
        seq.push_back(WithTool(kTip, kTTM_ENUMTOOLSA, 1, Enumerated(kToolB)));
    return seq;
}

std::vector<SentMessage> Then(std::vector<SentMessage> seq, std::vector<SentMessage> more) {
    seq.insert(seq.end(), more.begin(), more.end());
    return seq;
}

ToolInfo FoundA() {
    return Enumerated(kToolA);
}
ToolInfo FoundAWithRect(TooltipRect r) {
    ToolInfo t = FoundA();
    t.rect = r;
    return t;
}
ToolInfo FoundAWithText(std::string text) {
    ToolInfo t = FoundA();
    t.lpszText = std::move(text);
    return t;
}

struct SequenceCase {
    std::string name;
    std::function<void(cTooltips&)> act;
    std::vector<SentMessage> expected;
};

std::vector<SequenceCase> SequenceCases() {
    const ToolInfo hitRecord = EmptyRecord();
    return {
        {"AddToolSubclassesItsWindow",
         [](cTooltips& t) { t.AddTool(kCtlC, 0, "Hilfe"); },
         {WithTool(kTip, kTTM_ADDTOOLA, 0, Added(kCtlC, kSubclassed, "Hilfe"))}},
        {"AddToolKeepsCallerFlags",
         [](cTooltips& t) { t.AddTool(kCtlC, kTTF_CENTERTIP | kTTF_TRANSPARENT, "x"); },
         {WithTool(kTip, kTTM_ADDTOOLA, 0,
                   Added(kCtlC, kTTF_CENTERTIP | kTTF_TRANSPARENT | kSubclassed, "x"))}},
        {"AddToolTrackingIsNotSubclassed",
         [](cTooltips& t) { t.AddTool(kCtlC, kTTF_TRACK | kTTF_ABSOLUTE, "x"); },
         {WithTool(kTip, kTTM_ADDTOOLA, 0,
                   Added(kCtlC, kTTF_TRACK | kTTF_ABSOLUTE | kTTF_IDISHWND, "x"))}},
        {"AddToolTrackingKeepsGivenSubclass",
         [](cTooltips& t) { t.AddTool(kCtlC, kTTF_TRACK | kTTF_SUBCLASS, "x"); },
         {WithTool(kTip, kTTM_ADDTOOLA, 0, Added(kCtlC, kTTF_TRACK | kSubclassed, "x"))}},
        {"AddToolEmptyTextIsNull",
         [](cTooltips& t) { t.AddTool(kCtlC, 0, ""); },
         {WithTool(kTip, kTTM_ADDTOOLA, 0, Added(kCtlC, kSubclassed, std::nullopt))}},
        {"DeleteTool", [](cTooltips& t) { t.DeleteTool(kCtlA); },
         Then(Lookup(1), {WithTool(kTip, kTTM_DELTOOLA, 0, FoundA())})},
        {"DeleteToolUnknown", [](cTooltips& t) { t.DeleteTool(kCtlC); }, Lookup(-1)},
        {"EnabledTrue", [](cTooltips& t) { t.Enabled(true); }, {Plain(kTip, kTTM_ACTIVATE, kTrue)}},
        {"EnabledFalse", [](cTooltips& t) { t.Enabled(false); }, {Plain(kTip, kTTM_ACTIVATE, 0)}},
        {"GetDelayTime",
         [](cTooltips& t) { t.GetDelayTime(kTTDT_AUTOPOP); },
         {Plain(kTip, kTTM_GETDELAYTIME, kTTDT_AUTOPOP)}},
        {"SetTrackingOn", [](cTooltips& t) { t.SetTracking(kCtlA, true); },
         Then(Lookup(1), {WithTool(kTip, kTTM_TRACKACTIVATE, kTrue, FoundA())})},
        {"SetTrackingOff", [](cTooltips& t) { t.SetTracking(kCtlA, false); },
         Then(Lookup(1), {WithTool(kTip, kTTM_TRACKACTIVATE, 0, FoundA())})},
        {"SetTrackingUnknown", [](cTooltips& t) { t.SetTracking(kCtlC, true); }, Lookup(-1)},
        {"SetTrackPosition", [](cTooltips& t) { t.SetTrackPosition(kCtlA, 10, -2); },
         Then(Lookup(1), {Plain(kTip, kTTM_TRACKPOSITION, 0, intptr_t{0xFFFE000A})})},
        {"SetTrackPositionUnknown", [](cTooltips& t) { t.SetTrackPosition(kCtlC, 1, 1); },
         Lookup(-1)},
        {"IconSendsEmptyTitle",
         [](cTooltips& t) { t.Icon(kTTI_WARNING); },
         {WithText(kTip, kTTM_SETTITLEA, kTTI_WARNING, "")}},
        {"TitleSendsNoIcon",
         [](cTooltips& t) { t.Title("Hinweis"); },
         {WithText(kTip, kTTM_SETTITLEA, 0, "Hinweis")}},
        {"SetDelayTime",
         [](cTooltips& t) { t.SetDelayTime(kTTDT_INITIAL, 500); },
         {Plain(kTip, kTTM_SETDELAYTIME, kTTDT_INITIAL, 500)}},
        {"SetDelayTimeDefault",
         [](cTooltips& t) { t.SetDelayTime(kTTDT_AUTOMATIC, -1); },
         {Plain(kTip, kTTM_SETDELAYTIME, kTTDT_AUTOMATIC, -1)}},
        {"HideTips", [](cTooltips& t) { t.HideTips(); }, {Plain(kTip, kTTM_POP)}},
        {"HitTest",
         [](cTooltips& t) { t.HitTest(kCtlA, 3, -4); },
         {SentMessage{
             kTip, kTTM_HITTESTA, 0, 0, {}, {}, HitTestInfo{kCtlA.hwnd, {3, -4}, hitRecord}, {}}}},
        {"MarginLeftGet",
         [](cTooltips& t) { t.MarginLeft(); },
         {WithRect(kTip, kTTM_GETMARGIN, 0, {})}},
        {"MarginBottomGet",
         [](cTooltips& t) { t.MarginBottom(); },
         {WithRect(kTip, kTTM_GETMARGIN, 0, {})}},
        {"MarginLeftSet",
         [](cTooltips& t) { t.MarginLeft(9); },
         {WithRect(kTip, kTTM_GETMARGIN, 0, {}), WithRect(kTip, kTTM_GETMARGIN, 0, {}),
          WithRect(kTip, kTTM_GETMARGIN, 0, {}), WithRect(kTip, kTTM_SETMARGIN, 0, {9, 2, 3, 4})}},
        {"MarginTopSet",
         [](cTooltips& t) { t.MarginTop(9); },
         {WithRect(kTip, kTTM_GETMARGIN, 0, {}), WithRect(kTip, kTTM_GETMARGIN, 0, {}),
          WithRect(kTip, kTTM_GETMARGIN, 0, {}), WithRect(kTip, kTTM_SETMARGIN, 0, {1, 9, 3, 4})}},
        {"MarginRightSet",
         [](cTooltips& t) { t.MarginRight(9); },
         {WithRect(kTip, kTTM_GETMARGIN, 0, {}), WithRect(kTip, kTTM_GETMARGIN, 0, {}),
          WithRect(kTip, kTTM_GETMARGIN, 0, {}), WithRect(kTip, kTTM_SETMARGIN, 0, {1, 2, 9, 4})}},
        {"MarginBottomSet",
         [](cTooltips& t) { t.MarginBottom(9); },
         {WithRect(kTip, kTTM_GETMARGIN, 0, {}), WithRect(kTip, kTTM_GETMARGIN, 0, {}),
          WithRect(kTip, kTTM_GETMARGIN, 0, {}), WithRect(kTip, kTTM_SETMARGIN, 0, {1, 2, 3, 9})}},
        {"GetShellVersion", [](cTooltips& t) { t.GetShellVersion(); }, {}},
        {"MakeLong", [](cTooltips& t) { t.MakeLong(1, 2); }, {}},
        {"GetTooltipWidth", [](cTooltips& t) { t.GetTooltipWidth(kCtlA); },
         Then(Lookup(1), {WithTool(kTip, kTTM_GETBUBBLESIZE, 0, FoundA())})},
        {"GetTooltipHeight", [](cTooltips& t) { t.GetTooltipHeight(kCtlA); },
         Then(Lookup(1), {WithTool(kTip, kTTM_GETBUBBLESIZE, 0, FoundA())})},
        {"GetTooltipWidthUnknown", [](cTooltips& t) { t.GetTooltipWidth(kCtlC); }, Lookup(-1)},
        {"MaxTipWidthGet",
         [](cTooltips& t) { t.MaxTipWidth(); },
         {Plain(kTip, kTTM_GETMAXTIPWIDTH)}},
        {"MaxTipWidthSet",
         [](cTooltips& t) { t.MaxTipWidth(250); },
         {Plain(kTip, kTTM_SETMAXTIPWIDTH, 0, 250)}},
        {"MaxTipWidthSetUnlimited",
         [](cTooltips& t) { t.MaxTipWidth(-1); },
         {Plain(kTip, kTTM_SETMAXTIPWIDTH, 0, -1)}},
        {"SetToolRect", [](cTooltips& t) { t.SetToolRect(kCtlA, 1, 2, 30, -40); },
         Then(Lookup(1), {WithTool(kTip, kTTM_NEWTOOLRECTA, 0, FoundAWithRect({1, 2, 30, -40}))})},
        {"SetToolRectUnknown", [](cTooltips& t) { t.SetToolRect(kCtlC, 1, 2, 3, 4); }, Lookup(-1)},
        {"ToolCount", [](cTooltips& t) { t.ToolCount(); }, {Plain(kTip, kTTM_GETTOOLCOUNT)}},
        {"BackColorGet", [](cTooltips& t) { t.BackColor(); }, {Plain(kTip, kTTM_GETTIPBKCOLOR)}},
        {"BackColorSet",
         [](cTooltips& t) { t.BackColor(0x00123456); },
         {Plain(kTip, kTTM_SETTIPBKCOLOR, 0x00123456)}},
        {"ForeColorGet", [](cTooltips& t) { t.ForeColor(); }, {Plain(kTip, kTTM_GETTIPTEXTCOLOR)}},
        {"ForeColorSet",
         [](cTooltips& t) { t.ForeColor(0x00FF0000); },
         {Plain(kTip, kTTM_SETTIPTEXTCOLOR, 0x00FF0000)}},
        {"SetTipText", [](cTooltips& t) { t.SetTipText(kCtlA, "Neu"); },
         Then(Lookup(1), {WithTool(kTip, kTTM_UPDATETIPTEXTA, 0, FoundAWithText("Neu"))})},
        {"SetTipTextEmptyIsNotNull", [](cTooltips& t) { t.SetTipText(kCtlA, ""); },
         Then(Lookup(1), {WithTool(kTip, kTTM_UPDATETIPTEXTA, 0, FoundAWithText(""))})},
        {"SetTipTextUnknown", [](cTooltips& t) { t.SetTipText(kCtlC, "Neu"); }, Lookup(-1)},
        {"ToolTipWidthFromText",
         [](cTooltips& t) { t.ToolTipWidthFromText(kHdc, "abc"); },
         {WithRect(kTip, kTTM_ADJUSTRECT, kTrue, {0, 0, 21, 13})}},
        {"ToolTipHeightFromText",
         [](cTooltips& t) { t.ToolTipHeightFromText(kHdc, "abcd"); },
         {WithRect(kTip, kTTM_ADJUSTRECT, kTrue, {0, 0, 28, 13})}},
        {"TextWidthFromToolTipWidth",
         [](cTooltips& t) { t.TextWidthFromToolTipWidth(kHdc, 100); },
         {WithRect(kTip, kTTM_ADJUSTRECT, 0, {0, 0, 100, 0})}},
        {"TextHeightFromToolTipHeight",
         [](cTooltips& t) { t.TextHeightFromToolTipHeight(kHdc, 40); },
         {WithRect(kTip, kTTM_ADJUSTRECT, 0, {0, 0, 0, 40})}},
    };
}

class MessageSequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(MessageSequence, SendsExactly) {
    FakeTooltipWindow fake;
    fake.Margin = {1, 2, 3, 4};
    cTooltips tips(fake, kInstance);
    tips.Create(kForm, kTTS_ALWAYSTIP);
    ASSERT_EQ(tips.hwnd(), kTip);
    tips.AddTool(kCtlB, 0, "B tip");
    tips.AddTool(kCtlA, 0, "A tip");
    ASSERT_EQ(fake.Tools, (std::vector<ToolInfo>{kToolB, kToolA}));
    fake.ClearLog();

    GetParam().act(tips);

    EXPECT_EQ(fake.Messages, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(EachMember, MessageSequence, testing::ValuesIn(SequenceCases()),
                         [](const auto& info) { return info.param.name; });

// The wizard's whole use of the class: a balloon window with the warning icon, later a title of
// one space. The platform sees nothing but the two titles.
TEST(TooltipsInTheWizard, SendsOnlyIconAndTitles) {
    FakeTooltipWindow fake;
    {
        cTooltips tips(fake, kInstance);
        tips.Create(kForm, kTTS_ALWAYSTIP | kTTS_BALLOON);
        tips.Icon(kTTI_WARNING);
        tips.Title(" ");
    }
    EXPECT_EQ(fake.Calls,
              (std::vector<std::string>{"InitCommonControlsEx", "CreateWindowEx", "SetWindowPos",
                                        "SendMessage", "SendMessage", "DestroyWindow"}));
    EXPECT_EQ(fake.Messages, (std::vector<SentMessage>{WithText(kTip, kTTM_SETTITLEA, 2, ""),
                                                       WithText(kTip, kTTM_SETTITLEA, 2, " ")}));
    EXPECT_EQ(fake.Creates.at(0).style, 0x80000041u);
    EXPECT_TRUE(fake.LiveWindows.empty());
}

TEST(TooltipsIconAndTitle, EachSendsTheOthersCurrentValue) {
    FakeTooltipWindow fake;
    cTooltips tips(fake, kInstance);
    tips.Create(kForm, 0);
    tips.Title("Achtung");
    tips.Icon(kTTI_ERROR);
    tips.Title("Fehler");
    tips.Icon(kTTI_INFO);
    EXPECT_EQ(fake.Messages, (std::vector<SentMessage>{
                                 WithText(kTip, kTTM_SETTITLEA, kTTI_NONE, "Achtung"),
                                 WithText(kTip, kTTM_SETTITLEA, kTTI_ERROR, "Achtung"),
                                 WithText(kTip, kTTM_SETTITLEA, kTTI_ERROR, "Fehler"),
                                 WithText(kTip, kTTM_SETTITLEA, kTTI_INFO, "Fehler"),
                             }));
    EXPECT_EQ(tips.Icon(), kTTI_INFO);
    EXPECT_EQ(tips.Title(), "Fehler");
}

// Two tools with one id (the same control registered in two containers): the first enumerated
// one is used, and the lookup stops there.
TEST(TooltipsFindTool, TakesTheFirstOfTwoToolsWithOneId) {
    const ToolControl inOther{kCtlA.hwnd, 0x900};
    FakeTooltipWindow fake;
    cTooltips tips(fake, kInstance);
    tips.Create(kForm, 0);
    tips.AddTool(kCtlA, 0, "first");
    tips.AddTool(inOther, 0, "second");
    fake.ClearLog();

    tips.SetTipText(inOther, "neu");
    const ToolInfo first = Enumerated(Added(kCtlA, kSubclassed, "first"));
    ToolInfo updated = first;
    updated.lpszText = "neu";
    EXPECT_EQ(fake.Messages, (std::vector<SentMessage>{
                                 Plain(kTip, kTTM_GETTOOLCOUNT),
                                 WithTool(kTip, kTTM_ENUMTOOLSA, 0, EmptyRecord()),
                                 WithTool(kTip, kTTM_UPDATETIPTEXTA, 0, updated),
                             }));

    fake.ClearLog();
    tips.DeleteTool(inOther);
    tips.DeleteTool(inOther);
    const auto deleted = fake.MessagesOf(kTTM_DELTOOLA);
    ASSERT_EQ(deleted.size(), 2u);
    EXPECT_EQ(deleted[0].tool->hwnd, kCtlA.containerHwnd);
    EXPECT_EQ(deleted[1].tool->hwnd, inOther.containerHwnd);
    EXPECT_EQ(tips.ToolCount(), 0);
}

// A record that the enumeration did not fill (result 0) is not a match, even with the right id.
TEST(TooltipsFindTool, IgnoresFailedEnumeration) {
    FakeTooltipWindow fake;
    cTooltips tips(fake, kInstance);
    tips.Create(kForm, 0);
    tips.AddTool(kCtlA, 0, "a");
    fake.Results[kTTM_ENUMTOOLSA] = 0;
    fake.ClearLog();
    tips.DeleteTool(kCtlA);
    EXPECT_EQ(fake.Messages, (std::vector<SentMessage>{
                                 Plain(kTip, kTTM_GETTOOLCOUNT),
                                 WithTool(kTip, kTTM_ENUMTOOLSA, 0, EmptyRecord()),
                             }));
}

} // namespace
