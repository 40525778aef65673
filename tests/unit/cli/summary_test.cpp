// --summary: the run in one line, with what failed and why, never longer than Intune keeps.
#include "cli/exit_codes.h"
#include "cli/run_summary.h"
#include "cli_fixture.h"
#include "text/utf8.h"

namespace {

std::string FileName(size_t index) {
    const std::string path = ScriptedSystem::PathOf(index);
    return path.substr(path.rfind('\\') + 1);
}

std::string Join(const std::vector<std::string>& names, size_t count) {
    std::string list;
    for (size_t i = 0; i < count; ++i)
        list += (i > 0 ? ", " : "") + names[i];
    return list;
}

TEST(Summary, ReportSaysTheOutcomeAndNamesWhatFailed) {
    ScriptedSystem s;
    s.SetMdac("2.81.1117.0");
    s.AllPresent();
    EXPECT_EQ(s.Run({"report", "--summary"}), kExitOk);
    EXPECT_EQ(s.host.Out, "Up to date: MDAC 2.81.1117.0, Jet 4.0.8015\n");

    s.host.Out.clear();
    s.system.UiLanguage = ScriptedSystem::kGerman;
    s.Place(28, 4, 0, 2927, 4); // Jet out of date
    s.Remove(4);
    s.Place(6, 2, 80, 1022);
    s.Place(17, 2, 79, 1);
    s.providers.States = {{"ADODB.Connection", ProviderState::NotCreated}};
    EXPECT_EQ(s.Run({"report", "--summary"}), kExitAttention);
    EXPECT_EQ(
        s.host.Out,
        "Handlungsbedarf: Jet 4.0.2927 ist veraltet; abweichende Dateien: MSJRO.DLL, OLEDB32.DLL; "
        "fehlende Dateien: MSADOX.DLL; nicht funktionierende Datenanbieter: "
        "ADODB.Connection (kann nicht erstellt werden: die Klasse ist nicht registriert "
        "(0x80040154))\n");
}

TEST(Summary, RepairNamesEachFailureWithItsReasonInsteadOfTheLines) {
    ScriptedSystem s;
    s.AllPresent();
    s.Place(2, 2, 81, 1117, 0, FakeLibraryApi::Kind::Registering,
            static_cast<int32_t>(0x80070005u));
    s.Place(5, 2, 81, 1117, 0, FakeLibraryApi::Kind::LoadFails);
    EXPECT_EQ(s.Run({"repair", "--summary"}), kExitAttention);
    EXPECT_EQ(s.host.Out, "Repair failed: libraries not registered: " + FileName(2) +
                              " (access denied (0x80070005)), " + FileName(5) +
                              " (library not found: the file or a library it needs is missing "
                              "(126))\n");

    ScriptedSystem good;
    good.AllPresent();
    EXPECT_EQ(good.Run({"repair", "--summary"}), kExitOk);
    EXPECT_EQ(good.host.Out, "Repaired: 24 libraries registered\n");
}

// 24 libraries with long reasons: the longest list gives way from its end to a count.
TEST(Summary, ShortenedToTheLimitWithACount) {
    std::vector<std::string> failures;
    for (int i = 0; i < 24; ++i)
        failures.push_back("LIBRARY" + std::to_string(i) + ".DLL (" + std::string(100, 'x') + ")");
    const SummaryPart differs{"files that differ: [*]", {"A.DLL", "B.DLL"}};
    const SummaryPart failed{"libraries not registered: [*]", failures};
    const std::string line = SummaryLine({.Outcome = "Repair failed", .Parts = {differs, failed}});
    EXPECT_LE(Utf8CharCount(line), kSummaryLimit);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    size_t shown = 0;
    while (shown < failures.size() && line.find(failures[shown]) != std::string::npos)
        ++shown;
    ASSERT_GT(shown, 0u);
    ASSERT_LT(shown, failures.size());
    EXPECT_EQ(line, "Repair failed: files that differ: A.DLL, B.DLL; libraries not registered: " +
                        Join(failures, shown) + ", " + std::to_string(24 - shown) + " more");
    EXPECT_GT(Utf8CharCount(line) + failures[shown].size() + 2, kSummaryLimit) << "as many as fit";

    // Where not even the outcome and the counts fit, the line is cut.
    const std::string cut = SummaryLine({.Outcome = std::string(3000, 'o'), .Parts = {failed}});
    EXPECT_EQ(Utf8CharCount(cut), kSummaryLimit);
}

} // namespace
