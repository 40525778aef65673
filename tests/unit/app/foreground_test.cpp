// Pushing the window into the foreground: the exact calls for each situation.
#include "wizard_fixture.h"

namespace {
constexpr WindowHandle kOwn = 0x1000, kOther = 0x5000;
}

struct ForegroundCase {
    const char* Name;
    WindowHandle Foreground;
    uint32_t ForegroundThread;
    bool Hard;
    std::vector<std::string> Calls;
};

class Foreground : public ::testing::TestWithParam<ForegroundCase> {};

TEST_P(Foreground, CallSequence) {
    const auto& c = GetParam();
    Wizard w;
    w.system.Foreground = c.Foreground;
    w.system.ThreadOf = [&](WindowHandle h) { return h == kOwn ? 7u : c.ForegroundThread; };
    const bool hard = c.Hard;
    w.frm.ForceForegroundWindow(kOwn, hard);
    EXPECT_EQ(w.system.Calls, c.Calls);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Foreground,
    ::testing::Values(
        ForegroundCase{"AlreadyForeground", kOwn, 7, true, {"GetForegroundWindow"}},
        ForegroundCase{"SameThread",
                       kOther,
                       7,
                       true,
                       {"GetForegroundWindow", "GetForegroundWindow",
                        "GetWindowThreadProcessId(20480)", "GetWindowThreadProcessId(4096)",
                        "SetForegroundWindow(4096)", "BringWindowToTop(4096)"}},
        ForegroundCase{"OtherThreadAttachesAndAlwaysDetaches",
                       kOther,
                       9,
                       true,
                       {"GetForegroundWindow", "GetForegroundWindow",
                        "GetWindowThreadProcessId(20480)", "GetWindowThreadProcessId(4096)",
                        "AttachThreadInput(9,7,1)", "SetForegroundWindow(4096)",
                        "AttachThreadInput(9,7,0)", "BringWindowToTop(4096)"}},
        ForegroundCase{
            "PlainRequest",
            kOther,
            9,
            false,
            {"GetForegroundWindow", "SetForegroundWindow(4096)", "BringWindowToTop(4096)"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Activate, LetsEventsRunAllowsAnyProcessThenForcesTheForeground) {
    Wizard w;
    w.Start();
    w.system.Calls.clear();
    w.form.Log.clear();
    w.system.Foreground = kOther;
    w.system.ThreadOf = [](WindowHandle h) { return h == kOwn ? 7u : 9u; };
    w.frm.OnActivate();
    EXPECT_EQ(w.form.DoEventsCalls, 2);
    ASSERT_GE(w.system.Calls.size(), 2u);
    EXPECT_EQ(w.system.Calls[0], "AllowSetForegroundWindow(-1)");
    EXPECT_EQ(w.system.Calls[1], "GetForegroundWindow");
    EXPECT_NE(std::find(w.system.Calls.begin(), w.system.Calls.end(), "AttachThreadInput(9,7,0)"),
              w.system.Calls.end());
}
