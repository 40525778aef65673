// Leaving the wizard before the repair: Cancel, the close box and Esc end the program, except
// while the watch that starts with the repair page holds Cancel back. The watch ends at the first
// real key or mouse-button press it sees (Wine's key state knows only real input, so the presses
// here are real ones), looking first 700 ms after the repair page is shown.
#include <gtest/gtest.h>

#include <thread>

#include "flow_support.h"

using C = ControlId;
using namespace std::chrono_literals;

namespace {
// The watch's first look, with room for the timer's lateness.
constexpr auto kAfterFirstLook = 800ms;

enum class Situation {
    Welcome,
    VersionPage,
    RepairPageJustShown,
    RepairPageAfterPress,          // a mouse press after the watch's first look
    RepairPageHeldOverFirstLook,   // pressed at once, held over the first look
    BackOnVersionPageWatchRunning, // Back right after the repair page was shown
    RepairPageAgainAfterPress,     // the watch ended, then Back and Next start it again
};
// OtherProgram: a bare WM_CLOSE, as Task Manager's End Task sends it.
enum class Way { CancelButton, CloseBox, EscKey, OtherProgram };

struct ExitCase {
    Situation Where;
    Way How;
    bool Ends;
};

std::string Name(const ExitCase& c) {
    static const char* const kSituations[] = {"Welcome",
                                              "VersionPage",
                                              "RepairPageJustShown",
                                              "RepairPageAfterPress",
                                              "RepairPageHeldOverFirstLook",
                                              "BackOnVersionPageWatchRunning",
                                              "RepairPageAgainAfterPress"};
    static const char* const kWays[] = {"CancelButton", "CloseBox", "EscKey", "OtherProgram"};
    return std::string(kSituations[static_cast<int>(c.Where)]) + "_" +
           kWays[static_cast<int>(c.How)];
}

std::ostream& operator<<(std::ostream& os, const ExitCase& c) {
    return os << Name(c);
}

// A point on a page where a press does nothing: below the texts, right of the answers.
POINT EmptySpot(const QuendryProcess& q, ControlId page) {
    RECT rc = {};
    GetWindowRect(q.Control(page), &rc);
    return {rc.left + Px(6600), rc.top + Px(3900)};
}

// Leaves the wizard in the situation; the time the repair page was last shown goes to `shown`.
void Reach(QuendryProcess& q, Situation s) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point shown;
    const auto enterRepairPage = [&] {
        ASSERT_TRUE(PressNext(q, C::pic3));
        shown = Clock::now();
    };
    if (s == Situation::Welcome)
        return;
    ASSERT_TRUE(PressNext(q, C::pic2));
    if (s == Situation::VersionPage)
        return;
    if (s == Situation::RepairPageHeldOverFirstLook) {
        enterRepairPage();
        MouseDown(EmptySpot(q, C::pic3));
        std::this_thread::sleep_until(shown + kAfterFirstLook);
        MouseUp(EmptySpot(q, C::pic3));
        return;
    }
    enterRepairPage();
    switch (s) {
    case Situation::BackOnVersionPageWatchRunning:
        ASSERT_TRUE(PressBack(q, C::pic2));
        break;
    case Situation::RepairPageAfterPress:
    case Situation::RepairPageAgainAfterPress:
        std::this_thread::sleep_until(shown + kAfterFirstLook);
        MouseClick(EmptySpot(q, C::pic3), 100ms);
        if (s == Situation::RepairPageAgainAfterPress) {
            ASSERT_TRUE(PressBack(q, C::pic2));
            enterRepairPage();
        }
        break;
    default:
        break;
    }
}
} // namespace

class ExitBeforeRepair : public WizardTestWithParam<ExitCase> {};

TEST_P(ExitBeforeRepair, EndsUnlessTheWatchHoldsCancelBack) {
    const ExitCase& c = GetParam();
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_NO_FATAL_FAILURE(Reach(q, c.Where));
    const ControlId page = q.TopPage();
    const HWND window = q.Window();
    switch (c.How) {
    case Way::CancelButton:
        q.Click(C::cmdAbbrechen);
        break;
    case Way::CloseBox:
        q.CloseBox();
        break;
    case Way::EscKey:
        SetForegroundWindow(window);
        KeyPress(VK_ESCAPE);
        break;
    case Way::OtherProgram:
        q.CloseByOtherProgram();
        break;
    }
    if (c.Ends) {
        EXPECT_TRUE(q.WaitForExit(10s)) << "the program did not end";
    } else {
        // The button and the close command are handled before the sent message returns: had the
        // window been unloaded, it would be gone now.
        EXPECT_TRUE(IsWindow(window)) << "the window was closed";
        EXPECT_TRUE(q.Running());
        EXPECT_EQ(q.TopPage(), page);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ExitBeforeRepair,
    ::testing::Values(ExitCase{Situation::Welcome, Way::CancelButton, true},
                      ExitCase{Situation::Welcome, Way::CloseBox, true},
                      ExitCase{Situation::Welcome, Way::EscKey, true},
                      ExitCase{Situation::VersionPage, Way::CancelButton, true},
                      ExitCase{Situation::VersionPage, Way::CloseBox, true},
                      ExitCase{Situation::RepairPageJustShown, Way::CancelButton, false},
                      ExitCase{Situation::RepairPageJustShown, Way::CloseBox, false},
                      ExitCase{Situation::RepairPageJustShown, Way::OtherProgram, true},
                      ExitCase{Situation::BackOnVersionPageWatchRunning, Way::CancelButton, false},
                      ExitCase{Situation::BackOnVersionPageWatchRunning, Way::CloseBox, false},
                      ExitCase{Situation::RepairPageAfterPress, Way::CancelButton, true},
                      ExitCase{Situation::RepairPageAfterPress, Way::CloseBox, true},
                      ExitCase{Situation::RepairPageHeldOverFirstLook, Way::CancelButton, true},
                      ExitCase{Situation::RepairPageAgainAfterPress, Way::CancelButton, false}),
    [](const auto& info) { return Name(info.param); });

// The user's own click on Cancel: within the first 700 ms it does nothing, because the watch has
// not looked yet when the button goes down; later the watch sees the button go down and the same
// click closes the program.
class WatchTimer : public WizardTest {};

TEST_F(WatchTimer, RealCancelClickHeldBackFirstThenCloses) {
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(PressNext(q, C::pic2));
    ASSERT_TRUE(PressNext(q, C::pic3));
    const auto shown = std::chrono::steady_clock::now();
    const HWND window = q.Window();

    MouseClick(ScreenCenter(q, C::cmdAbbrechen));
    ASSERT_TRUE(WaitForClickHandled(q, C::cmdAbbrechen)) << "the click did not reach Cancel";
    ASSERT_LT(std::chrono::steady_clock::now() - shown, 650ms)
        << "the click came too late to test the time before the watch's first look";
    EXPECT_TRUE(IsWindow(window)) << "Cancel was not held back";
    EXPECT_EQ(q.TopPage(), C::pic3);

    std::this_thread::sleep_until(shown + kAfterFirstLook);
    MouseClick(ScreenCenter(q, C::cmdAbbrechen), 100ms);
    EXPECT_TRUE(q.WaitForExit(10s)) << "the later click on Cancel did not end the program";
}
