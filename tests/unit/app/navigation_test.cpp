// The step machine: captions, button states and pages after every transition, the watch timer,
// the close request and the Next handler's error trap.
#include <algorithm>

#include "wizard_fixture.h"

using C = ControlId;

namespace {
struct Buttons {
    bool Back, Next, Cancel;
};
void ExpectButtons(const Wizard& w, Buttons b, const char* where) {
    EXPECT_EQ(w.form.Enabled(C::cmdZurück), b.Back) << where;
    EXPECT_EQ(w.form.Enabled(C::cmdWeiter), b.Next) << where;
    EXPECT_EQ(w.form.Enabled(C::cmdAbbrechen), b.Cancel) << where;
}
} // namespace

TEST(Navigation, WalkThroughEveryPageAndBack) {
    Wizard w;
    w.Start();
    struct Step {
        const char* Action;
        int32_t StepAfter;
        C Page;
        Buttons State;
        uint16_t CancelText;
    };
    const Step walk[] = {
        {"start", 1, C::pic1, {false, true, true}, 148},
        {"next", 2, C::pic2, {true, true, true}, 149},
        {"back", 1, C::pic1, {false, true, true}, 148},
        {"next", 2, C::pic2, {true, true, true}, 149},
        {"next", 3, C::pic3, {true, false, true}, 149},
        {"back", 2, C::pic2, {true, true, true}, 149},
        {"next", 3, C::pic3, {true, false, true}, 149},
        {"repair", 3, C::pic3, {true, true, true}, 149},
        {"further", 4, C::pic4, {true, false, true}, 149},
        {"back", 3, C::pic3, {true, true, true}, 149},
        {"further", 4, C::pic4, {true, false, true}, 149},
        {"cancel", 5, C::pic5, {false, false, true}, 149},
    };
    for (const Step& s : walk) {
        const std::string a = s.Action;
        if (a == "next")
            w.Click(C::cmdWeiter);
        else if (a == "back")
            w.Click(C::cmdZurück);
        else if (a == "cancel")
            w.Click(C::cmdAbbrechen);
        else if (a == "repair")
            w.MarkRepairDone(), w.EndWatch();
        else if (a == "further")
            w.frm.OnClick(C::optFurtherProblems), w.Click(C::cmdWeiter);
        SCOPED_TRACE(a);
        EXPECT_EQ(w.frm.Step(), s.StepAfter);
        EXPECT_EQ(w.form.TopPage(), s.Page);
        ExpectButtons(w, s.State, s.Action);
        EXPECT_EQ(w.form.Caption(C::cmdAbbrechen), w.T(s.CancelText));
        EXPECT_EQ(w.form.Caption(C::cmdWeiter), w.T(124));
        EXPECT_EQ(w.form.Caption(C::cmdZurück), w.T(125));
    }
    EXPECT_FALSE(w.form.Unloaded);
}

TEST(Navigation, EnteringTheRepairPageFocusesRepairAndStartsTheWatch) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    w.system.Calls.clear();
    w.form.Log.clear();
    w.Click(C::cmdWeiter);
    EXPECT_EQ(w.form.Focus, C::cmdRepairMDAC);
    EXPECT_TRUE(w.form.TimerEnabled(C::tmrTooltipRemoveCheck));
    EXPECT_EQ(w.form.at(C::tmrTooltipRemoveCheck).Interval, 700u);
    EXPECT_EQ(w.system.Calls.back(), "GetAsyncKeyState(13)");
    EXPECT_EQ(w.form.ListCount(C::lvwMDACFiles), 27);
    // The window comes up before the page changes.
    const auto raise = std::find(w.form.Log.begin(), w.form.Log.end(), "RaiseWindow");
    const auto page = std::find(w.form.Log.begin(), w.form.Log.end(), "BringToFront(pic3)");
    EXPECT_LT(raise, page);
}

TEST(Navigation, RepairPageAfterTheRepairLeavesNextEnabled) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    w.Click(C::cmdWeiter);
    w.MarkRepairDone();
    w.Click(C::cmdZurück);
    w.Click(C::cmdWeiter);
    EXPECT_EQ(w.frm.Step(), 3);
    EXPECT_TRUE(w.form.Enabled(C::cmdWeiter));
}

TEST(Watch, HoldsCancelBackUntilAKeyOrButtonIsDown) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    w.Click(C::cmdWeiter);
    w.Click(C::cmdAbbrechen);
    EXPECT_FALSE(w.form.Unloaded) << "Cancel right after the repair page is shown";
    bool cancel = false;
    w.frm.Form_QueryUnload(cancel, 0);
    EXPECT_TRUE(cancel);
    EXPECT_FALSE(w.form.Unloaded) << "the close box is held back the same way";

    w.system.Calls.clear();
    w.frm.tmrTooltipRemoveCheck_Timer(); // nothing down: all 255 codes asked, watch goes on
    EXPECT_EQ(w.system.Calls.size(), 255u);
    EXPECT_EQ(w.system.Calls.front(), "GetAsyncKeyState(1)");
    EXPECT_EQ(w.system.Calls.back(), "GetAsyncKeyState(255)");
    EXPECT_EQ(w.form.at(C::tmrTooltipRemoveCheck).Interval, 5u);
    EXPECT_TRUE(w.form.TimerEnabled(C::tmrTooltipRemoveCheck));

    w.system.Calls.clear();
    w.HoldKey(0x41);
    w.frm.tmrTooltipRemoveCheck_Timer();
    EXPECT_FALSE(w.form.TimerEnabled(C::tmrTooltipRemoveCheck));
    EXPECT_EQ(w.system.Calls.size(), 0x41u) << "the scan stops at the first key down";

    w.Click(C::cmdAbbrechen);
    EXPECT_TRUE(w.form.Unloaded);
}

TEST(Watch, LeavingTheRepairPageDoesNotStopIt) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    w.Click(C::cmdWeiter);
    w.Click(C::cmdZurück);
    w.Click(C::cmdAbbrechen);
    EXPECT_FALSE(w.form.Unloaded);
    // Forward again restarts the first look at 700 ms.
    w.frm.tmrTooltipRemoveCheck_Timer();
    w.Click(C::cmdWeiter);
    EXPECT_EQ(w.form.at(C::tmrTooltipRemoveCheck).Interval, 700u);
}

TEST(Watch, OnceTheRepairHasRunCancelShowsTheClosingPage) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    w.Click(C::cmdWeiter);
    w.MarkRepairDone(); // the watch is still on
    w.Click(C::cmdAbbrechen);
    EXPECT_EQ(w.frm.Step(), 5);
    EXPECT_EQ(w.form.TopPage(), C::pic5);
    EXPECT_FALSE(w.form.Unloaded);
}

TEST(Cancel, OnTheWelcomePageUnloads) {
    Wizard w;
    w.Start();
    w.Click(C::cmdAbbrechen);
    EXPECT_TRUE(w.form.Unloaded);
}

TEST(Cancel, ClosingPageEmptiesTheAddressAndTheTickEndsWithoutOpening) {
    Wizard w;
    w.SetMdac("2.50.4403.12");
    w.system.Version = {2, 5, 0, 2195};
    w.Start();
    w.Click(C::cmdWeiter);
    EXPECT_FALSE(w.frm.Url().empty());
    w.Click(C::cmdWeiter);
    w.MarkRepairDone();
    w.Click(C::cmdAbbrechen);
    ASSERT_EQ(w.frm.Step(), 5);
    const int eventsBefore = w.form.DoEventsCalls;
    w.Click(C::cmdAbbrechen);
    EXPECT_EQ(w.frm.Url(), "");
    EXPECT_TRUE(w.form.TimerEnabled(C::ShellExecuteTimer));
    EXPECT_EQ(w.form.DoEventsCalls - eventsBefore, 1);
    EXPECT_FALSE(w.form.Unloaded) << "the tick unloads, not the click";
    w.frm.ShellExecuteTimer_Timer();
    EXPECT_TRUE(w.system.Opened.empty());
    EXPECT_TRUE(w.form.Unloaded);
}

TEST(CloseRequest, CloseCommandActsAsCancelOtherModesPass) {
    struct Row {
        int Mode;
        bool Cancelled, Unloaded;
    };
    for (const Row r :
         {Row{0, true, true}, Row{1, false, false}, Row{2, false, false}, Row{3, false, false}}) {
        Wizard w;
        w.Start();
        bool cancel = false;
        w.frm.Form_QueryUnload(cancel, r.Mode);
        EXPECT_EQ(cancel, r.Cancelled) << r.Mode;
        EXPECT_EQ(w.form.Unloaded, r.Unloaded) << r.Mode;
    }
}

TEST(CloseRequest, DuringTheRepairTheDisabledCancelIsNotPressed) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    w.Click(C::cmdWeiter);
    w.EndWatch();
    w.frm.Set(C::cmdAbbrechen, &ControlState::Enabled, false); // as the repair leaves it
    bool cancel = false;
    w.frm.Form_QueryUnload(cancel, 0);
    EXPECT_TRUE(cancel);
    EXPECT_FALSE(w.form.Unloaded);
}

TEST(NextOnRepairPage, AnswersHiddenBehavesLikeCancel) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    w.Click(C::cmdWeiter);
    w.EndWatch();
    w.frm.Set(C::cmdWeiter, &ControlState::Enabled,
              true); // Next pressed with the answers still hidden
    w.frm.cmdWeiter_Click();
    EXPECT_TRUE(w.form.Unloaded);
}

TEST(NextOnRepairPage, FurtherProblemsSetsTheRepairAddressByWindowsVersion) {
    for (const auto& [version, text] : {std::pair<OsVersionInfo, uint16_t>{{2, 5, 1, 2600}, 122},
                                        {{2, 5, 0, 2195}, 120},
                                        {{2, 6, 1, 7601}, 120}}) {
        Wizard w;
        w.system.Version = version;
        w.Start();
        w.Click(C::cmdWeiter);
        w.Click(C::cmdWeiter);
        w.MarkRepairDone();
        w.frm.OnClick(C::optFurtherProblems);
        w.Click(C::cmdWeiter);
        EXPECT_EQ(w.frm.Url(), w.T(text));
        EXPECT_EQ(w.form.Caption(C::lblRepairUrl), w.T(text));
        EXPECT_EQ(w.form.Caption(C::Label3),
                  "Please check if all listed files have the version 2.81. If that's not the "
                  "case, click the link below to open a Web page with further instructions.");
    }
}

TEST(NextErrorTrap, FailureOnTheVersionPageStaysThereWithAMessage) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    w.form.FailOnce[{"SetRows", C::lvwMDACFiles}] = true;
    w.Click(C::cmdWeiter);
    ASSERT_EQ(w.form.MessageBoxes.size(), 1u);
    EXPECT_EQ(w.form.MessageBoxes[0].Text, w.T(140) + "\rSetRows failed");
    EXPECT_EQ(w.form.MessageBoxes[0].Title, "Quendry");
    EXPECT_EQ(w.form.MessageBoxes[0].Icon, MessageBoxIcon::Information);
    EXPECT_EQ(w.frm.Step(), 2);
    EXPECT_EQ(w.form.TopPage(), C::pic2);
}

TEST(NextErrorTrap, FailureOfTheVersionCheckKeepsTheWelcomePageInFront) {
    Wizard w;
    w.Start();
    w.form.FailOnce[{"SetCaption", C::lblMDACVerDescr}] = true;
    w.Click(C::cmdWeiter);
    ASSERT_EQ(w.form.MessageBoxes.size(), 1u);
    EXPECT_EQ(w.form.MessageBoxes[0].Text.rfind(w.T(107) + "\r", 0), 0u);
    EXPECT_EQ(w.frm.Step(), 2);
    EXPECT_EQ(w.form.TopPage(), C::pic1);
}

TEST(NextErrorTrap, FailureOnTheRepairPageRecoversIt) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    w.Click(C::cmdWeiter);
    w.MarkRepairDone();
    w.frm.Set(C::cmdRepairMDAC, &ControlState::Visible, false);
    w.frm.OnClick(C::optFurtherProblems);
    w.form.FailOnce[{"SetCaption", C::lblRepairUrl}] = true;
    w.frm.Set(C::cmdZurück, &ControlState::Enabled, false);
    w.Click(C::cmdWeiter);
    ASSERT_EQ(w.form.MessageBoxes.size(), 1u);
    EXPECT_EQ(w.frm.Step(), 3);
    EXPECT_EQ(w.form.TopPage(), C::pic3);
    EXPECT_TRUE(w.form.Visible(C::cmdRepairMDAC));
    EXPECT_TRUE(w.form.Visible(C::Label4));
    ExpectButtons(w, {true, true, true}, "after recovery");
    EXPECT_EQ(w.form.Pointer, MousePointer::Default);
}

TEST(WebPages, LinkClickOpensOnceAndStaysOnTheStep) {
    Wizard w;
    w.SetMdac("2.50.4403.12");
    w.system.Version = {2, 5, 0, 2195};
    w.Start();
    w.Click(C::cmdWeiter);
    w.frm.Set(C::lblDownloadMDAC, &ControlState::Underline, true);
    // Two clicks before the timer fires still give one tick.
    w.frm.OnClick(C::lblDownloadMDAC);
    w.frm.OnClick(C::lblDownloadMDAC);
    EXPECT_FALSE(w.form.Underline(C::lblDownloadMDAC));
    EXPECT_TRUE(w.form.TimerEnabled(C::ShellExecuteTimer));
    w.frm.ShellExecuteTimer_Timer();
    EXPECT_FALSE(w.form.TimerEnabled(C::ShellExecuteTimer));
    ASSERT_EQ(w.system.Opened.size(), 1u);
    // The shell hands the address on through COM: the apartment is made just before.
    const auto open = std::find(w.system.Calls.begin(), w.system.Calls.end(),
                                "ShellOpen(" + w.system.Opened[0] + ")");
    ASSERT_NE(open, w.system.Calls.begin());
    EXPECT_EQ(*(open - 1), "CoInitialize");
    EXPECT_EQ(w.system.Opened[0], "https://www.velmora.example/en/download/mdac.html");
    EXPECT_EQ(w.frm.Step(), 2);
    EXPECT_FALSE(w.form.Unloaded);
}

TEST(WebPages, OnlyTheProgramsOwnAddressesAreOpened) {
    Wizard w;
    w.Start();
    for (const char* url : {"file:///C:/WINDOWS/system32/calc.exe", "https://www.velmora.example",
                            "C:\\WINDOWS\\notepad.exe"})
        w.OpenThroughLink(url);
    EXPECT_TRUE(w.system.Opened.empty());
    w.OpenThroughLink(LoadText(120, Language::German));
    EXPECT_EQ(w.system.Opened.size(), 1u);
}
