// The console repair: which libraries it registers and in what order, the line it prints for
// each, the exit code, and the refusal without administrator rights.
#include "cli/exit_codes.h"
#include "cli_fixture.h"
#include "text/printf.h"

namespace {

using Kind = FakeLibraryApi::Kind;
constexpr size_t kSkipped[] = {1, 8, 10, 12, 13, 15, 27};

bool Skipped(size_t i) {
    return std::find(std::begin(kSkipped), std::end(kSkipped), i) != std::end(kSkipped);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// "<name padded to the longest file name, msjetoledb40.dll>  <state>"
std::string Line(size_t index, const std::string& state) {
    std::string name = GetFile(kComponentRows[index].appendedPath);
    return name + std::string(16 - name.size() + 2, ' ') + state;
}

// After the registrations: a blank line, the heading, the columns' heading, the ten classes and
// the number of essential ones that do not work.
constexpr size_t kProviderSection = 14;

TEST(Repair, RegistersTheTwentyFourInTableOrderWithoutPauses) {
    ScriptedSystem s;
    s.AllPresent();
    EXPECT_EQ(s.Run({"repair"}), kExitOk);
    EXPECT_EQ(s.host.Err, "");

    std::vector<std::string> calls, expected;
    for (const std::string& entry : s.libraries.Log)
        if (entry.rfind("Call(", 0) == 0)
            calls.push_back(entry.substr(5, entry.size() - 6));
    for (size_t i = 0; i < kComponentCount; ++i)
        if (!Skipped(i))
            expected.push_back(ScriptedSystem::PathOf(i));
    EXPECT_EQ(calls, expected);
    EXPECT_TRUE(s.system.Sleeps.empty());
    EXPECT_EQ(s.libraries.callsWhileUnloaded, 0);
    EXPECT_EQ(s.libraries.Loads(), s.libraries.Count("Free("));
    EXPECT_NE(std::find(s.system.Calls.begin(), s.system.Calls.end(), "CoInitialize"),
              s.system.Calls.end());
    EXPECT_EQ(s.registrar.Prepared, 1);

    const std::vector<std::string> lines = Lines(s.host.Out);
    ASSERT_EQ(lines.size(), kComponentCount + 2 + kProviderSection);
    for (size_t i = 0; i < kComponentCount; ++i)
        EXPECT_EQ(lines[i], Line(i, Skipped(i) ? "skipped" : "registered"));
    EXPECT_EQ(lines[31], "");
    EXPECT_EQ(lines[32], "Libraries that could not be registered: 0");
    // Then whether the data providers can be created now, every class checked once, and the
    // host that made them ended.
    EXPECT_EQ(lines[34], "Data providers: 10");
    EXPECT_EQ(lines.back(), "Essential data providers that cannot be used: 0");
    EXPECT_EQ(s.providers.Checked.size(), 11u);
    EXPECT_EQ(s.providers.Checked.back(), "(done)");
    // One write per library, as each is done, so a slow library shows where the run stands.
    EXPECT_EQ(s.host.OutWrites.size(), kComponentCount + 2);
}

TEST(Repair, EachOutcomeHasItsLineAndAFailureMakesExitOne) {
    for (uint16_t langId : {ScriptedSystem::kEnglish, ScriptedSystem::kGerman}) {
        ScriptedSystem s;
        s.system.UiLanguage = langId;
        s.AllPresent();
        s.Place(2, 2, 81, 1117, 0, Kind::Registering, static_cast<int32_t>(0x80004005u));
        s.Place(3, 2, 81, 1117, 0, Kind::NoExport);
        s.Place(5, 2, 81, 1117, 0, Kind::LoadFails);
        s.libraries.files[ScriptedSystem::PathOf(5)].loadError = kErrorModNotFound;
        s.Remove(7);                                      // not there: no failure of the repair
        s.Place(9, 2, 81, 1117, 0, Kind::Registering, 1); // S_FALSE is success
        EXPECT_EQ(s.Run({"repair"}), kExitAttention);

        const std::vector<std::string> lines = Lines(s.host.Out);
        ASSERT_EQ(lines.size(), kComponentCount + 2 + kProviderSection);
        const auto failed = [&](const std::string& reason) {
            return modAPI::printf(s.T(228), {reason});
        };
        EXPECT_EQ(lines[0], Line(0, s.T(225)));
        EXPECT_EQ(lines[1], Line(1, s.T(226)));
        EXPECT_EQ(lines[2], Line(2, failed("0x80004005")));
        EXPECT_EQ(lines[3], Line(3, failed("The specified procedure could not be found.")));
        EXPECT_EQ(lines[5], Line(5, failed(s.T(329) + " (126)")));
        EXPECT_EQ(lines[7], Line(7, s.T(227)));
        EXPECT_EQ(lines[9], Line(9, s.T(225)));
        EXPECT_EQ(lines[32], modAPI::printf(s.T(229), {std::string("3")}));
        EXPECT_EQ(s.libraries.Calls(ScriptedSystem::PathOf(10)), 0) << "skipped";
    }
}

// Ctrl+C while the second library to register is in work: that one is finished, the rest is named
// as not attempted (the skipped ones keep their own line), the providers are left alone and the
// exit code tells a script that the repair is not done.
TEST(Repair, AStopEndsItAfterTheLibraryInWork) {
    ScriptedSystem s;
    s.AllPresent();
    s.host.StopAfterWrites = 3; // the lines of rows 0 to 2; row 1 is skipped
    EXPECT_EQ(s.Run({"repair"}), kExitAttention);

    EXPECT_EQ(s.libraries.Count("Call("), 2);
    const std::vector<std::string> lines = Lines(s.host.Out);
    ASSERT_EQ(lines.size(), kComponentCount + 3);
    EXPECT_EQ(lines[0], Line(0, "registered"));
    EXPECT_EQ(lines[2], Line(2, "registered"));
    for (size_t i = 3; i < kComponentCount; ++i)
        EXPECT_EQ(lines[i], Line(i, Skipped(i) ? "skipped" : "not attempted: interrupted"));
    EXPECT_EQ(lines[32], "Libraries that could not be registered: 0");
    EXPECT_EQ(lines[33], "The repair was interrupted: 22 libraries were not attempted and the data "
                         "providers were not checked. Run the repair again to finish it.");
    EXPECT_TRUE(s.providers.Checked.empty());
}

TEST(Repair, NothingPresentIsNoFailure) {
    ScriptedSystem s;
    EXPECT_EQ(s.Run({"repair"}), kExitOk);
    EXPECT_EQ(s.libraries.Loads(), 0);
    const std::vector<std::string> lines = Lines(s.host.Out);
    ASSERT_EQ(lines.size(), kComponentCount + 2 + kProviderSection);
    for (size_t i = 0; i < kComponentCount; ++i)
        EXPECT_EQ(lines[i], Line(i, Skipped(i) ? "skipped" : "not present"));
}

TEST(Repair, WithoutAdministratorRightsNothingIsAttempted) {
    for (uint16_t langId : {ScriptedSystem::kEnglish, ScriptedSystem::kGerman}) {
        ScriptedSystem s;
        s.system.UiLanguage = langId;
        s.AllPresent();
        s.host.Elevated = false;
        EXPECT_EQ(s.Run({"repair"}), kExitNotElevated);
        EXPECT_EQ(s.host.ElevationQueries, 1);
        EXPECT_EQ(s.host.Out, "");
        EXPECT_EQ(s.host.Err, s.T(230) + "\n");
        EXPECT_TRUE(s.libraries.Log.empty());
        EXPECT_TRUE(s.versions.sizeQueries.empty());
        EXPECT_EQ(std::find(s.system.Calls.begin(), s.system.Calls.end(), "CoInitialize"),
                  s.system.Calls.end());
        EXPECT_EQ(s.registrar.Prepared, 0);
    }
}

TEST(Repair, TheReportNeedsNoAdministratorRights) {
    ScriptedSystem s;
    s.host.Elevated = false;
    s.Run({"report"});
    EXPECT_EQ(s.host.ElevationQueries, 0);
    EXPECT_TRUE(s.libraries.Log.empty()) << "the report loads no library";
}

} // namespace
