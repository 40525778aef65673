// Web pages go to the shell, which opens them with the user's browser: here a recorder program,
// registered as the handler of http and https, writes down each address it is given. A link
// click opens its address once and the wizard stays on its page; the closing page opens nothing.
#include <gtest/gtest.h>

#include "fixtures/layout.h"
#include "flow_support.h"
#include "text/string_table.h"

using C = ControlId;
using Lines = std::vector<std::string>;

class WebPages : public LaidOutSystemTest {};

// Then the repair, the answer that problems remain (which makes the repair instructions the page
// to open) and back to the version page: its link still shows the download page, and opens it.
TEST_F(WebPages, DownloadLinkOpensTheAddressItShows) {
    const Language lang = LanguageOfThisRun();
    UseWindows(L"win7");
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.80.1022.0")));
    UrlRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(PressNext(q, C::pic2));
    ASSERT_TRUE(q.Visible(C::lblDownloadMDAC));

    MouseClick(ScreenCenter(q, C::lblDownloadMDAC));
    EXPECT_EQ(recorder.WaitForOpened(1), Lines{LoadText(117, lang)});
    EXPECT_TRUE(q.Running());
    EXPECT_EQ(q.TopPage(), C::pic2);
    EXPECT_TRUE(q.Enabled(C::cmdWeiter));
    EXPECT_TRUE(q.Enabled(C::cmdZurück));

    ASSERT_TRUE(PressNext(q, C::pic3));
    ASSERT_TRUE(RunRepair(q)) << "the repair did not end";
    q.Click(C::optFurtherProblems);
    ASSERT_TRUE(PressNext(q, C::pic4));
    ASSERT_TRUE(PressBack(q, C::pic3));
    ASSERT_TRUE(PressBack(q, C::pic2));
    ASSERT_EQ(q.Text(C::lblDownloadMDAC), LoadText(117, lang));
    MouseClick(ScreenCenter(q, C::lblDownloadMDAC));
    EXPECT_EQ(recorder.WaitForOpened(2), (Lines{LoadText(117, lang), LoadText(117, lang)}));
}

// The whole way with the repair: the repair instructions' link on the file versions page, back to
// the welcome page, the version page again (it keeps the last address, so it shows the repair
// instructions' link although both components are up to date), then the closing page and its
// close box.
TEST_F(WebPages, RepairLinkThenBackToTheStartThenClose) {
    const Language lang = LanguageOfThisRun();
    UseWindows(L"win7");
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0")));
    UrlRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(PressNext(q, C::pic2));
    EXPECT_FALSE(q.Visible(C::lblDownloadMDAC)) << "both up to date: nothing to download";
    ASSERT_TRUE(PressNext(q, C::pic3));
    ASSERT_TRUE(RunRepair(q)) << "the repair did not end";
    q.Click(C::optFurtherProblems);
    ASSERT_TRUE(PressNext(q, C::pic4));
    ASSERT_EQ(q.Text(C::lblRepairUrl), LoadText(120, lang));

    MouseClick(ScreenCenter(q, C::lblRepairUrl));
    EXPECT_EQ(recorder.WaitForOpened(1), Lines{LoadText(120, lang)});
    EXPECT_EQ(q.TopPage(), C::pic4);
    EXPECT_FALSE(q.Enabled(C::cmdWeiter));
    EXPECT_TRUE(q.Enabled(C::cmdZurück));

    ASSERT_TRUE(PressBack(q, C::pic3));
    ASSERT_TRUE(PressBack(q, C::pic2));
    EXPECT_EQ(q.Text(C::cmdAbbrechen), LoadText(149, lang));
    ASSERT_TRUE(PressBack(q, C::pic1));
    EXPECT_EQ(q.Text(C::cmdAbbrechen), LoadText(148, lang));
    ASSERT_TRUE(PressNext(q, C::pic2));
    EXPECT_TRUE(q.Visible(C::lblDownloadMDAC));
    EXPECT_EQ(q.Text(C::lblDownloadMDAC), LoadText(120, lang));
    EXPECT_TRUE(q.Visible(C::imgMDACVerOK));
    EXPECT_TRUE(q.Visible(C::imgJetVerOK));

    // After the repair Cancel leads to the closing page instead of ending the program.
    q.Click(C::cmdAbbrechen);
    ASSERT_TRUE(q.WaitFor([&] { return q.TopPage() == C::pic5; }));
    EXPECT_FALSE(q.Enabled(C::cmdWeiter));
    EXPECT_FALSE(q.Enabled(C::cmdZurück));
    EXPECT_TRUE(q.Enabled(C::cmdAbbrechen));
    EXPECT_EQ(q.Text(C::cmdAbbrechen), LoadText(149, lang));
    EXPECT_EQ(q.Text(C::lblHeader4), LoadText(129, lang));

    q.CloseBox();
    EXPECT_TRUE(q.WaitForExit(std::chrono::seconds(10))) << "the close box did not end the program";
    EXPECT_TRUE(recorder.WaitUntilSettled());
    EXPECT_EQ(recorder.Opened(), Lines{LoadText(120, lang)}) << "the closing page opened a page";
}

// The keyboard alone: Enter presses Next where it is the default, Tab reaches the link and Enter
// opens it, Enter presses the focused repair button, Tab and an arrow choose an answer, and Enter
// leads on to the file list, whose link Tab reaches too.
TEST_F(WebPages, KeyboardAloneOpensTheLinksAndWalksToTheList) {
    const Language lang = LanguageOfThisRun();
    UseWindows(L"win7");
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.80.1022.0")));
    UrlRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    SetForegroundWindow(q.Window());

    KeyPress(VK_RETURN);
    ASSERT_TRUE(q.WaitFor([&] { return q.TopPage() == C::pic2; })) << "Enter did not press Next";
    ASSERT_TRUE(q.TabTo(C::lblDownloadMDAC)) << "Tab does not reach the download link";
    KeyPress(VK_RETURN);
    EXPECT_EQ(recorder.WaitForOpened(1), Lines{LoadText(117, lang)});
    EXPECT_EQ(q.TopPage(), C::pic2) << "Enter on the link pressed Next too";

    ASSERT_TRUE(q.TabTo(C::cmdWeiter));
    KeyPress(VK_RETURN);
    ASSERT_TRUE(q.WaitFor([&] { return q.TopPage() == C::pic3; }));
    ASSERT_TRUE(q.WaitFor([&] { return q.Focus() == q.Control(C::cmdRepairMDAC); }));
    KeyPress(VK_RETURN);
    ASSERT_TRUE(q.WaitFor([&] { return q.Visible(C::optResolved); }, std::chrono::seconds(60)))
        << "Enter did not start the repair";
    ASSERT_TRUE(q.TabTo(C::optResolved));
    KeyPress(VK_DOWN);
    ASSERT_TRUE(q.WaitFor([&] {
        return SendMessageW(q.Control(C::optFurtherProblems), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }));
    KeyPress(VK_RETURN);
    ASSERT_TRUE(q.WaitFor([&] { return q.TopPage() == C::pic4; })) << "Enter did not lead on";
    EXPECT_TRUE(q.TabTo(C::lblRepairUrl)) << "Tab does not reach the repair instructions' link";
}
