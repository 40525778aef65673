// Every text on every page, as its label lays it out, fits the label and runs under no other
// control: the real window, in both languages, at 96, 120 and 144 pixels per inch, with the texts
// the wizard puts there (the longest verdicts, the repair's closing text, the file list's
// explanation). Then once more with every face swapped for a wider one, as a system that lacks
// Tahoma substitutes it: texts may then need more lines, but none may run under a control.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/form_win.h"
#include "app/frm_main.h"
#include "app/mod_api.h"
#include "tests/fakes/counting_registrar.h"
#include "tests/fakes/fake_library_api.h"
#include "tests/fakes/fake_provider_checker.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_system.h"
#include "tests/fakes/fake_tooltip_window.h"
#include "tests/fakes/fake_version_api.h"

namespace {

using C = ControlId;

// The wizard on the real window, on a system whose MDAC and (by choice) Jet are out of date.
struct RealWizard {
    WinForm form;
    FakeSystem system;
    FakeRegistry registry;
    FakeVersionApi versions;
    FakeLibraryApi libraries;
    CountingRegistrar registrar{libraries};
    FakeTooltipWindow tooltips;
    FakeProviderChecker providers;
    frmMain frm{form,      system,    registry, versions, libraries,
                registrar, providers, tooltips, 0x400000};

    RealWizard(uint16_t language, int dpi, bool oldJet) {
        modAPI::ResetWindowsVersionClass();
        system.UiLanguage = language;
        system.Version = {2, 6, 1, 7601};
        registry.SetStringValue(kHkeyLocalMachine, "Software\\Microsoft\\DataAccess",
                                "FullInstallVer", "2.80.1022.0");
        versions.Add("C:\\WINDOWS\\system32\\msjet40.dll", 4, 0, oldJet ? 2927 : 8015,
                     oldJet ? 4 : 0);
        frm.Form_Initialize();
        created = form.Create(GetModuleHandleW(nullptr), frm, frm.View(), dpi);
        if (created)
            frm.Form_Load();
    }
    ~RealWizard() { modAPI::ResetWindowsVersionClass(); }
    bool created = false;

    HWND Wnd(C id) const { return reinterpret_cast<HWND>(form.ControlHwnd(id)); }

    // Each visible label of the page on top: its text fits it (`fit`), and no control above it
    // covers any of the text.
    void ExpectTextsWhole(const std::string& where, bool fit = true) const {
        const C page = frm.View().FrontPage;
        for (const auto& entry : ControlTable()) {
            if (entry.Kind != ControlKind::Label || entry.Parent != page ||
                !frm.View().at(entry.Id).Visible)
                continue;
            HWND label = Wnd(entry.Id);
            const RECT text = TextRect(label, entry.AutoSize);
            if (text.right <= text.left)
                continue;
            RECT client = {};
            GetClientRect(label, &client);
            if (fit) {
                EXPECT_LE(text.right, client.right)
                    << where << ": " << entry.Name << " is too narrow";
                EXPECT_LE(text.bottom, client.bottom)
                    << where << ": " << entry.Name << " is too low";
            }
            RECT drawn = text;
            MapWindowPoints(label, nullptr, reinterpret_cast<POINT*>(&drawn), 2);
            RECT pageBox = {}, inside = {};
            GetWindowRect(Wnd(page), &pageBox);
            if (fit) {
                EXPECT_TRUE(IntersectRect(&inside, &drawn, &pageBox) && EqualRect(&inside, &drawn))
                    << where << ": the text of " << entry.Name << " runs off its page";
            }
            for (HWND above = GetWindow(label, GW_HWNDPREV); above;
                 above = GetWindow(above, GW_HWNDPREV)) {
                RECT box = {}, overlap = {};
                GetWindowRect(above, &box);
                // Its own visibility: the window itself is never shown here.
                const bool shown = (GetWindowLongW(above, GWL_STYLE) & WS_VISIBLE) != 0;
                if (shown && IntersectRect(&overlap, &drawn, &box))
                    ADD_FAILURE() << where << ": the text of " << entry.Name << " runs under "
                                  << ControlName(static_cast<C>(GetDlgCtrlID(above)));
            }
        }
    }

    // The text's rectangle as the label lays it out, on the label's own device context.
    static RECT TextRect(HWND label, bool singleLine) {
        RECT rc = {};
        const int n = GetWindowTextLengthW(label);
        if (n == 0)
            return rc;
        std::wstring text(static_cast<size_t>(n) + 1, L'\0');
        GetWindowTextW(label, text.data(), n + 1);
        GetClientRect(label, &rc);
        rc.bottom = 0;
        HDC dc = GetDC(label);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
        DrawTextW(dc, text.c_str(), -1, &rc,
                  DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS |
                      (singleLine ? DT_SINGLELINE : DT_WORDBREAK));
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        return rc;
    }
};

struct Setting {
    uint16_t Language;
    int Dpi;
};

class LabelFit : public ::testing::TestWithParam<Setting> {};

TEST_P(LabelFit, EveryTextIsWholeOnEveryPage) {
    const Setting s = GetParam();
    const std::string at = std::to_string(s.Dpi) + " dpi";
    for (const bool oldJet : {false, true}) {
        RealWizard w(s.Language, s.Dpi, oldJet);
        ASSERT_TRUE(w.created);
        w.ExpectTextsWhole("welcome page, " + at);
        w.frm.OnClick(C::cmdWeiter);
        ASSERT_EQ(w.frm.View().FrontPage, C::pic2);
        w.ExpectTextsWhole(std::string(oldJet ? "old Jet" : "old MDAC") + ", " + at);
        if (!oldJet)
            continue;
        w.frm.OnClick(C::cmdWeiter);
        w.ExpectTextsWhole("repair page, " + at);
        w.frm.OnClick(C::cmdRepairMDAC);
        w.ExpectTextsWhole("after the repair, " + at);
        SendMessageW(w.Wnd(C::optFurtherProblems), BM_CLICK, 0, 0);
        w.frm.OnClick(C::cmdWeiter);
        ASSERT_EQ(w.frm.View().FrontPage, C::pic4);
        w.ExpectTextsWhole("file list page, " + at);
        w.frm.OnClick(C::cmdAbbrechen);
        ASSERT_EQ(w.frm.View().FrontPage, C::pic5);
        w.ExpectTextsWhole("closing page, " + at);

        // A system without Tahoma draws in a wider face.
        w.frm.OnClick(C::cmdZurück);
        for (C page : {C::pic2, C::pic4}) {
            w.frm.Change(page, Aspect::FrontPage, [&](ViewState& v) { v.FrontPage = page; });
            for (const auto& entry : ControlTable())
                w.frm.Set(entry.Id, &ControlState::FontName, "DejaVu Sans");
            w.ExpectTextsWhole("in a wider face, " + at, false);
        }
        // The buttons' captions stay whole in that face too, on one line.
        for (const auto& entry : ControlTable()) {
            if (entry.Kind != ControlKind::Button || entry.Parent != C::frmMain)
                continue;
            HWND button = w.Wnd(entry.Id);
            RECT room = {}, text = RealWizard::TextRect(button, true);
            GetClientRect(button, &room);
            EXPECT_LE(text.right - text.left, room.right - 8) << entry.Name << ", " << at;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(LanguagesAndDensities, LabelFit,
                         ::testing::Values(Setting{0x0409, 96}, Setting{0x0409, 120},
                                           Setting{0x0409, 144}, Setting{0x0407, 96},
                                           Setting{0x0407, 120}, Setting{0x0407, 144}),
                         [](const auto& info) {
                             return std::string(info.param.Language == 0x0407 ? "German"
                                                                              : "English") +
                                    std::to_string(info.param.Dpi);
                         });

} // namespace
