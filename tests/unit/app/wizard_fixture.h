#pragma once
// The main window over the recording form and scripted platform pieces, with helpers that walk
// it to a step the way a user would.
#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "app/mod_api.h"
#include "tests/fakes/counting_registrar.h"
#include "tests/fakes/fake_library_api.h"
#include "tests/fakes/fake_provider_checker.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_system.h"
#include "tests/fakes/fake_tooltip_window.h"
#include "tests/fakes/fake_version_api.h"
#include "tests/fakes/recording_form.h"
#include "text/string_table.h"

struct Wizard {
    RecordingForm form;
    FakeSystem system;
    FakeRegistry registry;
    FakeVersionApi versions;
    FakeLibraryApi libraries;
    CountingRegistrar registrar{libraries};
    FakeTooltipWindow tooltips;
    FakeProviderChecker providers;
    frmMain frm{form,      system,    registry, versions, libraries,
                registrar, providers, tooltips, 0x400000};

    static constexpr const char* kJet = "C:\\WINDOWS\\system32\\msjet40.dll";

    // The registry's MDAC release; nullptr leaves the value out.
    explicit Wizard(const char* mdac = "2.81.1117.0") {
        modAPI::ResetWindowsVersionClass();
        if (mdac)
            SetMdac(mdac);
        versions.Add(kJet, 4, 0, 8015, 0);
    }
    ~Wizard() { modAPI::ResetWindowsVersionClass(); }

    void SetMdac(const std::string& v) {
        registry.SetStringValue(kHkeyLocalMachine, "Software\\Microsoft\\DataAccess",
                                "FullInstallVer", v);
    }
    void Start() {
        frm.Form_Initialize();
        frm.Form_Load();
    }
    Language Lang() const { return LanguageFromLangId(system.UiLanguage); }
    std::string T(uint16_t id) const { return LoadText(id, Lang()); }

    // Clicks a button the way the window does: only when it is enabled.
    void Click(ControlId id) {
        if (form.Enabled(id))
            frm.OnClick(id);
    }
    // A key or mouse button held down at the next watch tick.
    void HoldKey(int vKey) {
        system.KeyState = [vKey](int k) -> int16_t { return k == vKey ? int16_t(0x8000) : 0; };
    }
    void ReleaseKeys() {
        system.KeyState = [](int) -> int16_t { return 0; };
    }
    // Ends the watch that entering the repair page starts, as a mouse press would.
    void EndWatch() {
        HoldKey(1);
        frm.tmrTooltipRemoveCheck_Timer();
        ReleaseKeys();
    }
    // The repair, run through.
    void MarkRepairDone() { frm.cmdRepairMDAC_Click(); }
    // A click on a link that shows `url`, and the one-shot timer's tick it asks for.
    void OpenThroughLink(const std::string& url) {
        frm.Set(ControlId::lblRepairUrl, &ControlState::Caption, url);
        frm.lblLink_Click(ControlId::lblRepairUrl);
        frm.ShellExecuteTimer_Timer();
    }
};
