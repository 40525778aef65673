// Pointer feedback of the two links: the underline's state machine and the hand pointer.
#include "wizard_fixture.h"

using C = ControlId;

namespace {
struct Move {
    C Over;
    bool DownloadUnderlined, RepairUnderlined;
    std::optional<C> Recorded;
};

void Walk(Wizard& w, std::initializer_list<Move> moves) {
    int n = 0;
    for (const Move& m : moves) {
        if (m.Over == C::cmdAbbrechen) // stands for a click on the link recorded last
            w.frm.OnClick(C::lblDownloadMDAC);
        else
            w.frm.OnMouseMove(m.Over);
        SCOPED_TRACE("move " + std::to_string(++n) + " over " + std::string(ControlName(m.Over)));
        EXPECT_EQ(w.form.Underline(C::lblDownloadMDAC), m.DownloadUnderlined);
        EXPECT_EQ(w.form.Underline(C::lblRepairUrl), m.RepairUnderlined);
        EXPECT_EQ(w.frm.UnderlinedLink(), m.Recorded);
    }
}
} // namespace

TEST(HoverLinks, UnderlineFollowsThePointerAndOnlyLeavingSurfacesRemoveIt) {
    Wizard w;
    w.Start();
    Walk(w, {
                {C::lblDownloadMDAC, true, false, C::lblDownloadMDAC},
                {C::lblDownloadMDAC, true, false, C::lblDownloadMDAC},
                {C::imgMDACVerOK, true, false, C::lblDownloadMDAC},    // neighbouring picture
                {C::lblJetVerHeader, true, false, C::lblDownloadMDAC}, // heading
                {C::cmdWeiter, true, false, C::lblDownloadMDAC},
                {C::pic1, true, false, C::lblDownloadMDAC},
                {C::pic5, true, false, C::lblDownloadMDAC},
                {C::lblMDACVerDescr, false, false, std::nullopt},
                {C::lblRepairUrl, false, true, C::lblRepairUrl},
                {C::lblDownloadMDAC, true, false, C::lblDownloadMDAC},
                {C::lvwMDACFiles, false, false, std::nullopt},
                {C::lblDownloadMDAC, true, false, C::lblDownloadMDAC},
                {C::cmdAbbrechen, false, false, C::lblDownloadMDAC}, // click: underline off, kept
                {C::lblDownloadMDAC, true, false, C::lblDownloadMDAC},
                {C::cmdAbbrechen, false, false, C::lblDownloadMDAC},
                {C::pic3, false, false, std::nullopt},
            });
}

TEST(HoverLinks, EveryLeavingSurfaceClearsTheRecord) {
    for (C surface : {C::frmMain, C::pic2, C::pic3, C::pic4, C::lblJetVerDescr, C::lblMDACVerDescr,
                      C::lvwMDACFiles}) {
        Wizard w;
        w.Start();
        w.frm.OnMouseMove(C::lblRepairUrl);
        w.frm.OnMouseMove(surface);
        EXPECT_FALSE(w.form.Underline(C::lblRepairUrl)) << ControlName(surface);
        EXPECT_FALSE(w.frm.UnderlinedLink()) << ControlName(surface);
    }
}

TEST(HoverLinks, AlreadyUnderlinedLinkWithAnotherRecordedClearsTheOther) {
    Wizard w;
    w.Start();
    w.frm.OnMouseMove(C::lblDownloadMDAC);
    w.frm.Set(C::lblRepairUrl, &ControlState::Underline, true); // underlined by some other way
    w.frm.OnMouseMove(C::lblRepairUrl);
    EXPECT_FALSE(w.form.Underline(C::lblDownloadMDAC));
    EXPECT_TRUE(w.form.Underline(C::lblRepairUrl));
    EXPECT_FALSE(w.frm.UnderlinedLink());
}

TEST(HoverLinks, HandPointerOnEveryMoveOverALinkOnly) {
    Wizard w;
    w.Start();
    w.system.Calls.clear();
    for (C over : {C::lblDownloadMDAC, C::lblDownloadMDAC, C::pic2, C::lblRepairUrl, C::Label3})
        w.frm.OnMouseMove(over);
    EXPECT_EQ(std::count(w.system.Calls.begin(), w.system.Calls.end(), "SetHandCursor"), 3);
}

TEST(WindowTooltip, BalloonWithWarningIconTitledOnTheWayToTheRepairPageAndReleasedAtUnload) {
    Wizard w;
    w.Start();
    ASSERT_EQ(w.tooltips.Creates.size(), 1u);
    EXPECT_EQ(w.tooltips.Creates[0].className, "tooltips_class32");
    EXPECT_EQ(w.tooltips.Creates[0].style, 0x80000041u);
    EXPECT_EQ(w.tooltips.Creates[0].parent, w.form.Hwnd());
    EXPECT_EQ(w.tooltips.Creates[0].instance, 0x400000u);
    auto titles = [&] {
        std::vector<std::pair<uintptr_t, std::string>> out;
        for (const auto& m : w.tooltips.MessagesOf(tooltip::kTTM_SETTITLEA))
            out.emplace_back(m.wParam, m.text.value_or("<null>"));
        return out;
    };
    using Titles = std::vector<std::pair<uintptr_t, std::string>>;
    EXPECT_EQ(titles(), (Titles{{2, ""}}));
    w.Click(ControlId::cmdWeiter);
    w.Click(ControlId::cmdWeiter);
    EXPECT_EQ(titles(), (Titles{{2, ""}, {2, " "}}));
    // No tools, so no tip text is ever shown.
    EXPECT_TRUE(w.tooltips.MessagesOf(tooltip::kTTM_ADDTOOLA).empty());
    EXPECT_TRUE(w.tooltips.Destroyed.empty());
    w.frm.OnUnload();
    EXPECT_EQ(w.tooltips.Destroyed.size(), 1u);
}
