// Start-up of the main window on the recording form and a scripted system.
#include <algorithm>
#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "app/mod_api.h"
#include "tests/fakes/fake_library_api.h"
#include "tests/fakes/fake_provider_checker.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_system.h"
#include "tests/fakes/fake_tooltip_window.h"
#include "tests/fakes/fake_version_api.h"
#include "tests/fakes/recording_form.h"
#include "text/string_table.h"

using C = ControlId;

namespace {
struct Started {
    RecordingForm form;
    FakeSystem system;
    FakeRegistry registry;
    FakeVersionApi versions;
    FakeLibraryApi libraries;
    InProcessRegistrar registrar{libraries};
    FakeTooltipWindow tooltips;
    FakeProviderChecker providers;
    frmMain frm{form,      system,    registry, versions, libraries,
                registrar, providers, tooltips, 0x400000};
    void Load() {
        modAPI::ResetWindowsVersionClass();
        frm.Form_Initialize();
        frm.Form_Load();
    }
};
} // namespace

struct LanguageRow {
    uint16_t LangId;
    Language Expected;
};

class StartupTexts : public ::testing::TestWithParam<LanguageRow> {};

TEST_P(StartupTexts, FixedCaptionsInTheUsersLanguage) {
    Started s;
    s.system.UiLanguage = GetParam().LangId;
    s.Load();
    const Language lang = GetParam().Expected;
    const std::pair<C, uint16_t> plain[] = {
        {C::frmMain, 100},
        {C::lblWillkommen, 112},
        {C::cmdAbbrechen, 148},
        {C::cmdWeiter, 124},
        {C::cmdZurück, 125},
        {C::Label19, 107},
        {C::lblHeaderExplanation1, 113},
        {C::Label6, 111},
        {C::lblHeaderExplanation2, 104},
        {C::cmdRepairMDAC, 106},
        {C::Label2, 131},
        {C::Label16, 155},
        {C::optResolved, 156},
        {C::optFurtherProblems, 157},
        {C::Label5, 127},
        {C::lblExplanation3, 140},
        {C::lblHeader4, 129},
        {C::Label14, 134},
    };
    for (const auto& [id, text] : plain)
        EXPECT_EQ(s.form.Caption(id), LoadText(text, lang)) << ControlName(id);
    EXPECT_EQ(s.form.Caption(C::Label10), LoadText(108, lang) + "\r\r\r\r" + LoadText(110, lang));
    const std::string click = lang == Language::German ? "Klicken Sie auf 'MDAC-Dateien pr\xC3\xBC"
                                                         "fen und reparieren'."
                                                       : "Click Verify and Repair MDAC Files.";
    EXPECT_EQ(s.form.Caption(C::Label1), click);
}

INSTANTIATE_TEST_SUITE_P(Languages, StartupTexts,
                         ::testing::Values(LanguageRow{0x0409, Language::English},
                                           LanguageRow{0x0407, Language::German},
                                           LanguageRow{0x0C07, Language::German},  // Austria
                                           LanguageRow{0x0807, Language::German},  // Switzerland
                                           LanguageRow{0x040C, Language::English}, // French
                                           LanguageRow{0x0809, Language::English}));

TEST(Startup, FirstStepStateAndPage) {
    Started s;
    s.Load();
    EXPECT_EQ(s.frm.Step(), 1);
    EXPECT_EQ(s.form.TopPage(), C::pic1);
    EXPECT_FALSE(s.form.Enabled(C::cmdZurück));
    EXPECT_TRUE(s.form.Enabled(C::cmdWeiter));
    EXPECT_TRUE(s.form.Enabled(C::cmdAbbrechen));
    EXPECT_EQ(s.frm.SystemDir(), "C:\\WINDOWS\\system32");
    EXPECT_EQ(s.frm.WinVersion(), 6);
    EXPECT_EQ(s.form.ListExtendedStyle(C::lvwMDACFiles) & 0x4020u, 0x4020u);
    EXPECT_EQ(s.form.at(C::Label1).FontName, "Tahoma");
    EXPECT_EQ(s.form.at(C::lblWillkommen).FontName, "Arial");
    // The common controls come first; the apartment waits until something needs COM.
    ASSERT_GE(s.system.Calls.size(), 1u);
    EXPECT_EQ(s.system.Calls[0], "InitCommonControls");
    EXPECT_EQ(std::count(s.system.Calls.begin(), s.system.Calls.end(), "CoInitialize"), 0);
}

TEST(Startup, KeepsTheExtendedStylesTheListAlreadyHas) {
    Started s;
    s.frm.Set(C::lvwMDACFiles, &ControlState::ExStyle, 0x1u);
    s.Load();
    EXPECT_EQ(s.form.ListExtendedStyle(C::lvwMDACFiles), 0x4021u);
}

struct DpiRow {
    bool Ok;
    int Dpi;
    bool Small;
    int Left;
};

class StartupDpi : public ::testing::TestWithParam<DpiRow> {};

TEST_P(StartupDpi, WelcomeBitmapByPixelDensity) {
    Started s;
    s.system.DpiOk = GetParam().Ok;
    s.system.Dpi = GetParam().Dpi;
    s.Load();
    EXPECT_EQ(s.frm.SmallFonts(), GetParam().Small);
    EXPECT_EQ(s.form.Left(C::imgBigPicture), GetParam().Left);
}

INSTANTIATE_TEST_SUITE_P(Dpi, StartupDpi,
                         ::testing::Values(DpiRow{true, 96, true, -400},
                                           DpiRow{true, 99, true, -400},
                                           DpiRow{true, 100, false, 0}, DpiRow{true, 120, false, 0},
                                           DpiRow{false, 96, false, 0}));

TEST(Startup, FailingStepsAreSkipped) {
    Started s;
    s.system.SystemDirOk = false;
    s.system.VersionOk = false;
    s.form.FailOnce[{"SetCaption", C::lblWillkommen}] = true;
    s.form.FailOnce[{"SetFont", C::Label10}] = true;
    s.form.FailOnce[{"SetPlace", C::imgBigPicture}] = true;
    s.Load();
    EXPECT_EQ(s.frm.SystemDir(), "");
    EXPECT_EQ(s.frm.WinVersion(), 0);
    EXPECT_EQ(s.form.Caption(C::lblWillkommen), "");
    EXPECT_EQ(s.form.Caption(C::cmdAbbrechen), "Cancel");
    EXPECT_EQ(s.form.at(C::Label11).FontName, "Tahoma");
    EXPECT_EQ(s.form.Left(C::imgBigPicture), 0);
    EXPECT_EQ(s.frm.Step(), 1);
    EXPECT_EQ(s.form.TopPage(), C::pic1);
}
