#include "frm_main.h"

#include "mod_api.h"
#include "on_error_resume_next.h"
#include "text/printf.h"
#include "text/string_table.h"
#include "tooltips/tooltip_constants.h"

frmMain::frmMain(IForm& form, ISystem& system, IRegistryApi& registry, IVersionApi& versions,
                 ILibraryApi& libraries, IRegistrar& registrar, IProviderChecker& providers,
                 ITooltipWindowApi& tooltips, uintptr_t hInstance)
    : m_form(form), m_system(system), m_registry(registry), m_versions(versions),
      m_libraries(libraries), m_registrar(registrar), m_providers(providers),
      m_tooltipApi(tooltips), m_hInstance(hInstance) {}

Language frmMain::UserLanguage() const {
    return LanguageFromLangId(m_system.GetUserDefaultUILanguage());
}

std::string frmMain::LoadText(uint16_t id) const {
    return ::LoadText(id, UserLanguage());
}

std::string frmMain::RepairInstruction() const {
    return modAPI::printf(LoadText(142), {LoadText(106)});
}

void frmMain::Form_Initialize() {
    // No apartment yet: only the repair run and opening a web page need COM (EnsureApartment),
    // and start-up need not load its libraries.
    m_system.InitCommonControls();
}

void frmMain::EnsureApartment() {
    if (!m_bApartment)
        m_bApartment = m_system.CoInitializeApartment();
}

void frmMain::BringToFront(ControlId page) {
    Change(page, Aspect::FrontPage, [&](ViewState& v) { v.FrontPage = page; });
}

void frmMain::SetFocus(ControlId id) {
    Change(id, Aspect::Focus, [&](ViewState& v) { v.Focus = id; });
}

void frmMain::SetMousePointer(MousePointer pointer) {
    Change(ControlId::frmMain, Aspect::Pointer, [&](ViewState& v) { v.Pointer = pointer; });
}

void frmMain::Form_Load() {
    using C = ControlId;
    using S = ControlState;
    // Start-up reports nothing: a step that fails is skipped and the next one is taken.
    OnErrorResumeNext([&] {
        for (const auto& entry : ControlTable())
            OnErrorResumeNext([&] { Set(entry.Id, &S::FontName, "Tahoma"); });
        Set(C::lblWillkommen, &S::FontName, "Arial");
    });
    OnErrorResumeNext([&] {
        std::string dir;
        m_sSystemDir = m_system.GetSystemDir(dir) ? dir.substr(0, dir.find('\0')) : "";
    });
    OnErrorResumeNext([&] { m_lWinVersion = modAPI::GetWindowsVersionClass(m_system); });
    OnErrorResumeNext([&] {
        int dpi = 0;
        if (m_system.GetScreenLogPixelsX(dpi) && dpi < 100)
            m_bSmallFonts = true;
    });
    OnErrorResumeNext([&] {
        // On small-font screens part of the welcome bitmap lies beyond the page's left edge.
        if (m_bSmallFonts)
            Set(C::imgBigPicture, &S::Left, -400);
    });
    OnErrorResumeNext([&] {
        // A balloon with the warning icon; the wizard registers no tools, so it never shows a tip.
        m_oTooltips = std::make_unique<cTooltips>(m_tooltipApi, m_hInstance);
        m_oTooltips->Create(m_form.Hwnd(), tooltip::kTTS_ALWAYSTIP | tooltip::kTTS_BALLOON);
        m_oTooltips->Icon(tooltip::kTTI_WARNING);
    });
    m_lStep = 1;

    const auto set = [&](C id, auto&& text) {
        OnErrorResumeNext([&] { Set(id, &S::Caption, text()); });
    };
    const auto txt = [&](uint16_t id) { return [this, id] { return LoadText(id); }; };
    set(C::frmMain, txt(100));
    set(C::lblWillkommen, txt(112));
    set(C::cmdAbbrechen, txt(148));
    set(C::cmdWeiter, txt(124));
    set(C::cmdZurück, txt(125));
    set(C::cmdDatabases, txt(361));
    set(C::Label10, [&] { return LoadText(108) + "\r\r\r\r" + LoadText(110); });
    set(C::Label19, txt(107));
    set(C::lblHeaderExplanation1, txt(113));
    set(C::Label6, txt(111));
    set(C::lblHeaderExplanation2, txt(104));
    set(C::Label1, [&] { return RepairInstruction(); });
    set(C::cmdRepairMDAC, txt(106));
    set(C::Label2, txt(131));
    set(C::Label16, txt(155));
    set(C::optResolved, txt(156));
    set(C::optFurtherProblems, txt(157));
    set(C::Label5, txt(127));
    set(C::lblExplanation3, txt(140));
    OnErrorResumeNext([&] {
        constexpr uint32_t LVS_EX_FULLROWSELECT = 0x20, LVS_EX_LABELTIP = 0x4000;
        const uint32_t style = m_view.at(C::lvwMDACFiles).ExStyle;
        Set(C::lvwMDACFiles, &S::ExStyle, style | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    });
    set(C::lblHeader4, txt(129));
    set(C::Label14, txt(134));
    OnErrorResumeNext([&] { BringToFront(C::pic1); });
}

void frmMain::Form_Unload() {
    m_oTooltips.reset();
}

void frmMain::OnClick(ControlId id) {
    switch (id) {
    case ControlId::cmdWeiter:
        cmdWeiter_Click();
        break;
    case ControlId::cmdZurück:
        cmdZurück_Click();
        break;
    case ControlId::cmdAbbrechen:
        cmdAbbrechen_Click();
        break;
    case ControlId::lblDownloadMDAC:
    case ControlId::lblRepairUrl:
        lblLink_Click(id);
        break;
    case ControlId::cmdRepairMDAC:
        cmdRepairMDAC_Click();
        break;
    case ControlId::cmdDatabases:
        cmdDatabases_Click();
        break;
    case ControlId::optResolved:
    case ControlId::optFurtherProblems:
        // The window shows the user's choice already; the state takes it.
        m_view.ChooseOption(id);
        break;
    default:
        break;
    }
    // Whatever the click changed, the way to the databases window follows the page in front.
    OnErrorResumeNext([&] { OfferDatabases(); });
}

void frmMain::OnTimer(ControlId id) {
    if (id == ControlId::ShellExecuteTimer)
        ShellExecuteTimer_Timer();
    else if (id == ControlId::tmrTooltipRemoveCheck)
        tmrTooltipRemoveCheck_Timer();
}

void frmMain::OnQueryUnload(bool& cancel, int unloadMode) {
    Form_QueryUnload(cancel, unloadMode);
}
void frmMain::OnUnload() {
    Form_Unload();
}
void frmMain::OnActivate() {
    Form_Activate();
}

void frmMain::OnColumnClick(ControlId id, int column) {
    if (id == ControlId::lvwMDACFiles)
        lvwMDACFiles_ColumnClick(column);
}
