// The version page on laid-out systems: the MDAC release the registry reports and the Jet library
// on disk, judged against their minimums, with icons, verdicts, and the download link or the
// continue hint in its place. The Windows version is the one Wine reports to the program.
#include <gtest/gtest.h>

#include <optional>

#include "fixtures/layout.h"
#include "flow_support.h"
#include "text/string_table.h"

using C = ControlId;

namespace {
enum class MdacVerdict { Latest, ServicePack, Download };
enum class Link { None, BetweenBlocks, BelowJet };

struct VersionCase {
    const char* Name;
    const wchar_t* Windows; // Wine's name for the version the program sees
    std::optional<std::string> FullInstallVer;
    std::string Jet;       // version of msjet40.dll
    std::string ShownMdac; // the first four characters of FullInstallVer
    std::string ShownJet;  // major.minor.build
    MdacVerdict Mdac;
    bool JetLatest;
    Link Where;
};

std::ostream& operator<<(std::ostream& os, const VersionCase& c) {
    return os << c.Name;
}

const VersionCase kCases[] = {
    {"BothLatest", L"win7", "2.81.1117.0", "4.0.8015.0", "2.81", "4.0.8015", MdacVerdict::Latest,
     true, Link::None},
    {"OldMdacOnXp", L"winxp", "2.80.1022.0", "4.0.8015.0", "2.80", "4.0.8015",
     MdacVerdict::ServicePack, true, Link::None},
    {"OldMdacOnWin2000", L"win2k", "2.80.1022.0", "4.0.8015.0", "2.80", "4.0.8015",
     MdacVerdict::Download, true, Link::BetweenBlocks},
    {"OldMdacOnWin7", L"win7", "2.80.1022.0", "4.0.8015.0", "2.80", "4.0.8015",
     MdacVerdict::Download, true, Link::BetweenBlocks},
    // The build form of 4.0.2927.4 is its fourth number, 4.
    {"OldJet", L"win7", "2.81.1117.0", "4.0.2927.4", "2.81", "4.0.2927", MdacVerdict::Latest, false,
     Link::BelowJet},
    // The MDAC verdict hides the link on Windows XP; the old Jet brings it back, below the Jet
    // block.
    {"BothOldOnXp", L"winxp", "2.80.1022.0", "4.0.2927.4", "2.80", "4.0.2927",
     MdacVerdict::ServicePack, false, Link::BelowJet},
    {"NoFullInstallVer", L"win7", std::nullopt, "4.0.8015.0", "", "4.0.8015", MdacVerdict::Download,
     true, Link::BetweenBlocks},
    // Only the first four characters count: "6.0." reads as 6.
    {"NewerMdacNumbering", L"win7", "6.0.6000.16386", "4.0.8015.0", "6.0.", "4.0.8015",
     MdacVerdict::Latest, true, Link::None},
};

void ExpectVersionPage(const QuendryProcess& q, const VersionCase& c, Language lang) {
    const auto t = [&](uint16_t id) { return LoadText(id, lang); };
    EXPECT_EQ(q.TopPage(), C::pic2);
    EXPECT_EQ(q.Text(C::Label19), t(107));
    EXPECT_EQ(q.Text(C::lblMDACVerHeader), t(151));
    EXPECT_EQ(q.Text(C::lblJetVerHeader), t(152));

    std::string mdac = Fill(t(103), c.ShownMdac);
    switch (c.Mdac) {
    case MdacVerdict::Latest:
        mdac += t(145);
        break;
    case MdacVerdict::ServicePack:
        mdac += t(128);
        break;
    case MdacVerdict::Download:
        mdac += " " + t(114);
        break;
    }
    EXPECT_EQ(q.Text(C::lblMDACVerDescr), mdac);
    const bool mdacLatest = c.Mdac == MdacVerdict::Latest;
    EXPECT_EQ(q.Visible(C::imgMDACVerOK), mdacLatest);
    EXPECT_EQ(q.Visible(C::imgMDACVerProb), !mdacLatest);

    const std::string jet =
        Fill(t(143), c.ShownJet) + (c.JetLatest ? "\r" + t(153) : t(144) + t(147));
    EXPECT_EQ(q.Text(C::lblJetVerDescr), jet);
    EXPECT_EQ(q.Visible(C::imgJetVerOK), c.JetLatest);
    EXPECT_EQ(q.Visible(C::imgJetVerProb), !c.JetLatest);

    const bool link = c.Where != Link::None;
    EXPECT_EQ(q.Visible(C::lblDownloadMDAC), link);
    EXPECT_EQ(q.Visible(C::lblVersionsContinue), !link);
    if (link) {
        EXPECT_EQ(q.Text(C::lblDownloadMDAC), t(117));
        EXPECT_EQ(q.Rect(C::lblDownloadMDAC).top, Px(c.Where == Link::BetweenBlocks ? 2115 : 3860));
        // The Jet block stays where the link leaves room for it.
        EXPECT_EQ(q.Rect(C::lblJetVerHeader).top, Px(2505));
        EXPECT_EQ(q.Rect(C::lblJetVerDescr).top, Px(2835));
    } else {
        EXPECT_EQ(q.Text(C::lblVersionsContinue), t(146));
        EXPECT_EQ(q.Rect(C::lblJetVerHeader).top, Px(2405));
        EXPECT_EQ(q.Rect(C::lblJetVerDescr).top, Px(2735));
        EXPECT_EQ(q.Rect(C::imgJetVerOK).top, Px(2735));
    }

    EXPECT_TRUE(q.Enabled(C::cmdZurück));
    EXPECT_TRUE(q.Enabled(C::cmdWeiter));
    EXPECT_EQ(q.Text(C::cmdAbbrechen), t(149));
}

void ShowVersionPage(QuendryProcess& q, const VersionCase& c) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        fixtures::AllAt("2.81.1117.0", c.Jet).WithFullInstallVer(c.FullInstallVer)));
    ASSERT_TRUE(q.Start()) << "the welcome page did not come up";
    ASSERT_TRUE(PressNext(q, C::pic2)) << "Next did not lead to the version page";
}
} // namespace

class VersionPage : public LaidOutSystemTestWithParam<VersionCase> {};

TEST_P(VersionPage, VerdictsIconsAndLinkByInstalledVersions) {
    const VersionCase& c = GetParam();
    UseWindows(c.Windows);
    QuendryProcess q;
    ShowVersionPage(q, c);
    ExpectVersionPage(q, c, LanguageOfThisRun());
}

INSTANTIATE_TEST_SUITE_P(Systems, VersionPage, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Back to the welcome page and Next again: the check runs again on the same page, and what an
// earlier run hid or moved stays so.
class VersionPageAgain : public LaidOutSystemTest {};

TEST_F(VersionPageAgain, SameSystemSamePageAfterBack) {
    const VersionCase& c = kCases[3]; // old MDAC on Windows 7: the link between the blocks
    UseWindows(c.Windows);
    QuendryProcess q;
    ShowVersionPage(q, c);
    ASSERT_TRUE(PressBack(q, C::pic1));
    EXPECT_FALSE(q.Enabled(C::cmdZurück));
    EXPECT_EQ(q.Text(C::cmdAbbrechen), LoadText(148, LanguageOfThisRun()));
    ASSERT_TRUE(PressNext(q, C::pic2));
    ExpectVersionPage(q, c, LanguageOfThisRun());
}

// The verdicts are whole sentences of the user's language: one system in every language.
class VersionPageLanguage : public LaidOutSystemTest {};

TEST_F(VersionPageLanguage, OldMdacOnWindows2000InTheUsersLanguage) {
    const VersionCase& c = kCases[2];
    UseWindows(c.Windows);
    QuendryProcess q;
    ShowVersionPage(q, c);
    ExpectVersionPage(q, c, LanguageOfThisRun());
}

// Nothing installed: both verdicts advise an update, so the page holds its longest texts and the
// link below them. At every pixel density the link lies whole inside the page, and the pictures
// grow with the density as the texts do. Run in every language: the texts' lengths differ.
class PageFitLanguage : public LaidOutSystemTestWithParam<int> {
protected:
    void TearDown() override {
        SetScreenDpi(0);
        LaidOutSystemTest::TearDown();
    }
};

TEST_P(PageFitLanguage, LinkInsideTheVersionPageAndPicturesByDensity) {
    const int dpi = GetParam();
    SetScreenDpi(static_cast<DWORD>(dpi));
    ASSERT_NO_THROW(fixtures::ApplyLayout(fixtures::NonePresent()));
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(PressNext(q, C::pic2));
    const RECT page = q.Rect(C::pic2);
    const RECT link = q.Rect(C::lblDownloadMDAC);
    ASSERT_TRUE(q.Visible(C::lblDownloadMDAC));
    EXPECT_GE(link.top, 0);
    EXPECT_LE(link.right, page.right - page.left);
    EXPECT_LE(link.bottom, page.bottom - page.top) << "the link runs past the page's bottom";
    const RECT jet = q.Rect(C::lblJetVerDescr);
    EXPECT_GE(link.top, jet.top) << "the link went above the text it follows";
    const auto side = [](const RECT& r) { return r.right - r.left; };
    EXPECT_EQ(side(q.Rect(C::imgJetVerProb)), TwipsToPixels(480, dpi));
    ASSERT_TRUE(PressNext(q, C::pic3));
    EXPECT_EQ(side(q.Rect(C::imgDownArrow)), TwipsToPixels(240, dpi));
}

INSTANTIATE_TEST_SUITE_P(Densities, PageFitLanguage, ::testing::Values(96, 120, 144),
                         [](const auto& info) { return std::to_string(info.param) + "dpi"; });
