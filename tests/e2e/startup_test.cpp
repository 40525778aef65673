// Start-up as a user sees it: the welcome page in the user's language, the buttons of the first
// step, and the welcome bitmap placed by the screen's pixel density.
#include <gtest/gtest.h>

#include "driver.h"
#include "text/string_table.h"

using C = ControlId;

// Wine takes the program's language from the Unix locale it was started in, and a program
// started from inside Wine inherits that locale: the test runs once per language (see the
// e2e tests' entries in cmake/windows.cmake) and expects the language of its own start.
TEST(StartupLanguage, WelcomePageInTheUsersLanguage) {
    const Language lang = LanguageOfThisRun();
    const bool german = lang == Language::German;
    QuendryProcess q;
    ASSERT_TRUE(q.Start()) << "the welcome page did not come up";
    EXPECT_EQ(q.Text(C::frmMain), "Quendry");
    EXPECT_EQ(q.Text(C::lblWillkommen), LoadText(112, lang));
    EXPECT_EQ(q.Text(C::Label10), LoadText(108, lang) + "\r\r\r\r" + LoadText(110, lang));
    EXPECT_EQ(q.Text(C::cmdWeiter), german ? "Weiter >" : "Next >");
    EXPECT_EQ(q.Text(C::cmdAbbrechen), german ? "Abbrechen" : "Cancel");
    EXPECT_EQ(q.Text(C::cmdZurück), german ? "< Zur\xC3\xBC"
                                             "ck"
                                           : "< Back");
    EXPECT_FALSE(q.Enabled(C::cmdZurück));
    EXPECT_TRUE(q.Enabled(C::cmdWeiter));
    EXPECT_TRUE(q.Enabled(C::cmdAbbrechen));
    EXPECT_EQ(q.TopPage(), C::pic1);
}

class StartupDpi : public ::testing::TestWithParam<std::pair<DWORD, int>> {
protected:
    void TearDown() override { SetScreenDpi(0); }
};

TEST_P(StartupDpi, WelcomeBitmapStartsByPixelDensity) {
    const auto [dpi, leftTwips] = GetParam();
    SetScreenDpi(dpi);
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    EXPECT_EQ(q.Rect(C::imgBigPicture).left, TwipsToPixels(leftTwips, static_cast<int>(dpi)));
}

INSTANTIATE_TEST_SUITE_P(Dpi, StartupDpi,
                         ::testing::Values(std::pair<DWORD, int>{96, -400},
                                           std::pair<DWORD, int>{120, 0}));
