// The version page, case by case, in both languages.
#include "app/numeric_value.h"
#include "text/printf.h"
#include "wizard_fixture.h"

using C = ControlId;

struct PageCase {
    const char* Name;
    const char* Mdac; // nullptr: no value in the registry
    uint16_t JetMajor, JetMinor, JetBuild, JetRevision;
    bool JetPresent;
    OsVersionInfo Windows;
    // Expected:
    bool MdacOk, JetOk;
    bool Link;
    int LinkTop;
    bool Hint;
    int JetHeaderTop, JetDescrTop;
};

class VersionPage : public ::testing::TestWithParam<std::tuple<PageCase, uint16_t>> {};

TEST_P(VersionPage, ShowsVerdictsIconsAndLinkOrHint) {
    const auto& [c, langId] = GetParam();
    Wizard w(c.Mdac);
    w.system.UiLanguage = langId;
    w.system.Version = c.Windows;
    w.versions.files.clear();
    if (c.JetPresent)
        w.versions.Add(Wizard::kJet, c.JetMajor, c.JetMinor, c.JetBuild, c.JetRevision);
    w.Start();
    w.Click(C::cmdWeiter);

    const std::string release = c.Mdac ? std::string(c.Mdac).substr(0, 4) : "";
    EXPECT_EQ(w.frm.MDACVersion(), release);
    std::string mdac = modAPI::printf(w.T(103), {release});
    if (c.MdacOk)
        mdac += w.T(145);
    else if (c.Windows.Major == 5 && c.Windows.Minor == 1)
        mdac += w.T(128);
    else
        mdac += " " + w.T(114);
    EXPECT_EQ(w.form.Caption(C::lblMDACVerDescr), mdac);

    const std::string jetText = c.JetPresent ? std::to_string(c.JetMajor) + "." +
                                                   std::to_string(c.JetMinor) + "." +
                                                   std::to_string(c.JetBuild)
                                             : w.T(102);
    std::string jet = modAPI::printf(w.T(143), {jetText});
    jet += c.JetOk ? "\r" + w.T(153) : w.T(144) + w.T(147);
    EXPECT_EQ(w.form.Caption(C::lblJetVerDescr), jet);

    EXPECT_EQ(w.form.Visible(C::imgMDACVerOK), c.MdacOk);
    EXPECT_EQ(w.form.Visible(C::imgMDACVerProb), !c.MdacOk);
    EXPECT_EQ(w.form.Visible(C::imgJetVerOK), c.JetOk);
    EXPECT_EQ(w.form.Visible(C::imgJetVerProb), !c.JetOk);
    EXPECT_EQ(w.form.Visible(C::lblDownloadMDAC), c.Link);
    EXPECT_EQ(w.form.Visible(C::lblVersionsContinue), c.Hint);
    if (c.Link) {
        EXPECT_EQ(w.form.Top(C::lblDownloadMDAC), c.LinkTop);
        EXPECT_EQ(w.form.Caption(C::lblDownloadMDAC), w.T(117));
        EXPECT_EQ(w.frm.Url(), w.T(117));
    } else {
        EXPECT_EQ(w.frm.Url(), "");
        EXPECT_EQ(w.form.Caption(C::lblVersionsContinue), w.T(146));
    }
    EXPECT_EQ(w.form.Top(C::lblJetVerHeader), c.JetHeaderTop);
    EXPECT_EQ(w.form.Top(C::lblJetVerDescr), c.JetDescrTop);
    EXPECT_EQ(w.form.Top(C::imgJetVerOK), c.JetDescrTop);
    EXPECT_EQ(w.form.Caption(C::lblMDACVerHeader), w.T(151));
    EXPECT_EQ(w.form.Caption(C::lblJetVerHeader), w.T(152));
    EXPECT_EQ(w.form.TopPage(), C::pic2);
}

constexpr OsVersionInfo kXp{2, 5, 1, 2600}, kW2k{2, 5, 0, 2195}, kW7{2, 6, 1, 7601};

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionPage,
    ::testing::Combine(
        ::testing::Values(PageCase{"BothCurrent", "2.81.1117.0", 4, 0, 8015, 0, true, kW7, true,
                                   true, false, 2115, true, 2405, 2735},
                          PageCase{"MdacOldOnXp", "2.80.1022.0", 4, 0, 8015, 0, true, kXp, false,
                                   true, false, 2115, true, 2405, 2735},
                          PageCase{"MdacOldOn2000", "2.80.1022.0", 4, 0, 8618, 0, true, kW2k, false,
                                   true, true, 2115, false, 2505, 2835},
                          PageCase{"JetOldRevision", "2.81.1117.0", 4, 0, 2927, 4, true, kW7, true,
                                   false, true, 3860, false, 2505, 2835},
                          PageCase{"BothOldOnXp", "2.70.9001.0", 4, 0, 6218, 0, true, kXp, false,
                                   false, true, 3860, false, 2505, 2835},
                          PageCase{"NoRegistryValue", nullptr, 4, 0, 8015, 0, true, kW2k, false,
                                   true, true, 2115, false, 2505, 2835},
                          PageCase{"NoJetLibrary", "2.81.1117.0", 0, 0, 0, 0, false, kW7, true,
                                   false, true, 3860, false, 2505, 2835},
                          PageCase{"Vista600", "6.0.6000.16386", 4, 0, 9505, 0, true, kW7, true,
                                   true, false, 2115, true, 2405, 2735}),
        ::testing::Values(uint16_t{0x0409}, uint16_t{0x0407})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).Name) +
               (std::get<1>(info.param) == 0x0407 ? "_de" : "_en");
    });

TEST(VersionPageRerun, ResetsNothingAndShowsTheRepairAddressLater) {
    Wizard w;
    w.Start();
    w.Click(C::cmdWeiter);
    EXPECT_FALSE(w.form.Visible(C::lblDownloadMDAC));
    w.Click(C::cmdWeiter);
    w.MarkRepairDone();
    w.frm.OnClick(C::optFurtherProblems);
    w.Click(C::cmdWeiter); // step 4: the repair address
    for (int i = 0; i < 3; ++i)
        w.Click(C::cmdZurück);
    ASSERT_EQ(w.frm.Step(), 1);
    w.Click(C::cmdWeiter);
    EXPECT_TRUE(w.form.Visible(C::lblDownloadMDAC));
    EXPECT_EQ(w.form.Caption(C::lblDownloadMDAC), w.T(122)); // the scripted system is XP
    EXPECT_EQ(w.frm.Url(), w.T(122));
}

TEST(NumericValue, LeadingDecimalNumberWhateverTheLocale) {
    const std::pair<const char*, double> rows[] = {
        {"2.81", 2.81}, {"2.8", 2.8},   {"6.0.", 6.0},        {"", 0},     {"10.0", 10.0},
        {"N/A", 0},     {"8015", 8015}, {"Not available", 0}, {"2,81", 2}, {".5", 0.5},
        {"4", 4},       {" 2.81", 0},   {"2.81.1117", 2.81},
    };
    for (const auto& [text, value] : rows)
        EXPECT_DOUBLE_EQ(NumericValue(text), value) << text;
    EXPECT_GE(NumericValue("2.81"), 2.81) << "exactly the minimum is up to date";
}
