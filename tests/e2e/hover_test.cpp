// The link labels as a user meets them with the real pointer: the hand shape and the underline
// while over a link, the underline kept over a neighbouring picture and dropped over the page, and
// a click that opens the address once and leaves the wizard where it was.
#include <thread>

#include "fixtures/layout.h"
#include "flow_support.h"
#include "text/string_table.h"

using C = ControlId;
using namespace std::chrono_literals;

namespace {
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

// A point of a page that lies over no control.
POINT PagePoint(const QuendryProcess& q, ControlId page, int xTwips, int yTwips) {
    POINT pt = {Px(xTwips), Px(yTwips)};
    ClientToScreen(q.Control(page), &pt);
    return pt;
}
} // namespace

class HoverLinks : public LaidOutSystemTest {};

TEST_F(HoverLinks, UnderlineAndHandFollowThePointerAndAClickOpensOnce) {
    // An old MDAC outside Windows XP: the download link shows between the two verdicts.
    fixtures::ApplyLayout(
        fixtures::AllAt("2.80.1022.0", "4.0.8015.0").WithFullInstallVer("2.80.1022.0"));
    UseWindows(L"win2k");
    UrlRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(PressNext(q, C::pic2));
    ASSERT_TRUE(q.Visible(C::lblDownloadMDAC));
    const auto underlined = [&] { return LooksUnderlined(q, C::lblDownloadMDAC, kLinkBlue); };

    MovePointer(PagePoint(q, C::pic2, 7000, 1000));
    EXPECT_TRUE(q.WaitFor([&] { return !underlined(); }, 2s));
    std::this_thread::sleep_for(300ms);
    const HCURSOR overPage = CurrentPointer();

    MovePointer(ScreenCenter(q, C::lblDownloadMDAC));
    EXPECT_TRUE(q.WaitFor(underlined, 3s)) << "no underline over the link";
    HCURSOR overLink = nullptr;
    EXPECT_TRUE(q.WaitFor([&] { return (overLink = CurrentPointer()) != overPage; }, 3s))
        << "the pointer kept its shape over the link";

    MovePointer(ScreenCenter(q, C::imgMDACVerProb)); // a neighbouring picture
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(underlined()) << "a picture beside the link took the underline away";

    MovePointer(PagePoint(q, C::pic2, 7000, 1000)); // the page: a leaving surface
    EXPECT_TRUE(q.WaitFor([&] { return !underlined(); }, 3s)) << "the page kept the underline";
    EXPECT_TRUE(q.WaitFor([&] { return CurrentPointer() == overPage; }, 3s));
    MovePointer(ScreenCenter(q, C::lblDownloadMDAC));
    EXPECT_TRUE(q.WaitFor([&] { return CurrentPointer() == overLink; }, 3s))
        << "the link's pointer differs between two visits";
    MovePointer(PagePoint(q, C::pic2, 7000, 1000));

    MovePointer(ScreenCenter(q, C::lblDownloadMDAC));
    ASSERT_TRUE(q.WaitFor(underlined, 3s));
    MouseClick(ScreenCenter(q, C::lblDownloadMDAC));
    // Looked at at once: the pointer still rests on the link, and any move the system makes up
    // later (a window of the opened page coming up under it) rightly underlines it again.
    EXPECT_TRUE(q.WaitFor([&] { return !underlined(); }, 3s))
        << "the click did not take the underline away";
    const auto opened = recorder.WaitForOpened(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], LoadText(117, LanguageOfThisRun()));
    EXPECT_EQ(q.TopPage(), C::pic2);
    EXPECT_TRUE(q.Running());
}
