#pragma once
// The main window: its fields, its view state and its event handlers. Every decision of the wizard
// lives here, and what the window shows is kept here; the window itself (IForm) renders it, and
// the system (ISystem), the registry and the version information only carry out what it asks.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "databases_window.h"
#include "form.h"
#include "form_events.h"
#include "registry/registry_api.h"
#include "repair/component_table.h"
#include "repair/library_api.h"
#include "repair/provider_check.h"
#include "repair/registrar.h"
#include "repair/version_api.h"
#include "system_api.h"
#include "text/language.h"
#include "tooltips/c_tooltips.h"

class frmMain : public IFormEvents {
public:
    frmMain(IForm& form, ISystem& system, IRegistryApi& registry, IVersionApi& versions,
            ILibraryApi& libraries, IRegistrar& registrar, IProviderChecker& providers,
            ITooltipWindowApi& tooltips, uintptr_t hInstance);
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Start-up and end.
    void Form_Initialize();
    void Form_Load();
    void Form_Unload();
    // The close request: mode 0 is the user's close command; setting bCancel keeps the window.
    void Form_QueryUnload(bool& bCancel, int iUnloadMode);

    // The button bar and the watch timer.
    void cmdWeiter_Click();
    void cmdZurück_Click();
    void cmdAbbrechen_Click();
    void tmrTooltipRemoveCheck_Timer();

    // The version page.
    void CheckVersions();

    // The file versions page.
    void BuildComponentTable();
    void FillFileAuditList();
    void lvwMDACFiles_ColumnClick(int iColumn);

    // The repair page.
    void cmdRepairMDAC_Click();

    // The way to the window on which programs can open databases: offered on the version page
    // and with the repair's result.
    void cmdDatabases_Click();
    void UseDatabasesWindow(IDatabasesWindow* window) { m_databases = window; }

    // Web pages and exit.
    void ShellExecuteTimer_Timer();

    // The link labels and the surfaces that take their underline away.
    void lblLink_Click(ControlId link);
    void lblLink_MouseMove(ControlId link);
    void LinkLeave();

    // Activation.
    void Form_Activate();
    void ForceForegroundWindow(WindowHandle hWindow, const bool& bForceHardMethod);

    // Events of the window, routed to the handlers above.
    void OnClick(ControlId id) override;
    void OnTimer(ControlId id) override;
    void OnQueryUnload(bool& cancel, int unloadMode) override;
    void OnUnload() override;
    void OnActivate() override;
    void OnMouseMove(ControlId id) override;
    void OnColumnClick(ControlId id, int column) override;
    void OnLinkMoved(ControlId link, int drop) override { m_view[link].Drop = drop; }

    // The repair page's instruction: text 142 filled with text 106.
    std::string RepairInstruction() const;

    // The text of a string table entry in the user's language at this moment.
    std::string LoadText(uint16_t id) const;
    Language UserLanguage() const;

    // What the wizard holds, read only (the tests and the console companion compare with it).
    bool SmallFonts() const { return m_bSmallFonts; }
    int32_t Step() const { return m_lStep; }
    const std::string& MDACVersion() const { return m_sMDACVersion; }
    int32_t WinVersion() const { return m_lWinVersion; }
    const std::string& SystemDir() const { return m_sSystemDir; }
    const ComponentTable& MDACFiles() const { return m_aMDACFiles; }
    // The address the links and the one-shot timer open.
    const std::string& Url() const { return m_sUrl; }
    bool RepairDone() const { return m_bRepairDone; }
    std::optional<ControlId> UnderlinedLink() const { return m_oUnderlinedLink; }
    // What the window shows, as the wizard has set it.
    const ViewState& View() const { return m_view; }

    // The one way the view changes: `edit` changes `what` of the view (of control `id`'s record,
    // or the view's own page, focus or pointer), the form renders it, and the change stays only
    // when that succeeded, so that the state and the windows never disagree. Raises as rendering
    // did. (Public too, so that a test can set a page up as another path would leave it.)
    template <typename Edit> void Change(ControlId id, Aspect what, Edit&& edit);
    // One field of a control's record, changed as above.
    template <typename T>
    void Set(ControlId id, T ControlState::*field, std::type_identity_t<T> value) {
        Change(id, AspectOf(field), [&](ViewState& v) { v[id].*field = std::move(value); });
    }

private:
    // Fields, as the window keeps them.
    bool m_bSmallFonts = false;
    int32_t m_lStep = 0;
    std::string m_sMDACVersion;
    int32_t m_lWinVersion = 0;
    std::string m_sSystemDir;
    ComponentTable m_aMDACFiles{};
    std::string m_sUrl;
    bool m_bRepairDone = false;
    std::optional<ControlId> m_oUnderlinedLink;
    // The window's balloon tooltip: made at start-up, released at unload.
    std::unique_ptr<cTooltips> m_oTooltips;

    // What the window shows, kept only here; the form renders it (Change).
    ViewState m_view;

    void BringToFront(ControlId page);
    void SetFocus(ControlId id);
    void SetMousePointer(MousePointer pointer);

    // Runs a button's click handler at once, as setting its value does; a disabled button is not
    // pressed.
    void Press(ControlId button);
    void ReportNextError(int32_t startStep, const std::string& description);
    // Makes the window's thread a single-threaded apartment the first time COM is needed.
    void EnsureApartment();
    // Shows the way to the databases window where the page in front offers it.
    void OfferDatabases();
    // Whether the window is going (closed by another program, or the session ends).
    bool WindowGoes() const;

    IForm& m_form;
    ISystem& m_system;
    IRegistryApi& m_registry;
    IVersionApi& m_versions;
    ILibraryApi& m_libraries;
    IRegistrar& m_registrar;
    IProviderChecker& m_providers;
    ITooltipWindowApi& m_tooltipApi;
    uintptr_t m_hInstance;
    IDatabasesWindow* m_databases = nullptr;
    bool m_bRepairRunning = false;
    bool m_bApartment = false;
    bool m_bWatchTickRunning = false;
};

template <typename Edit> void frmMain::Change(ControlId id, Aspect what, Edit&& edit) {
    const ControlState record = m_view.at(id);
    const ControlId front = m_view.FrontPage, focus = m_view.Focus;
    const MousePointer pointer = m_view.Pointer;
    edit(m_view);
    try {
        m_form.Apply(m_view, id, what);
    } catch (...) {
        m_view[id] = record;
        m_view.FrontPage = front;
        m_view.Focus = focus;
        m_view.Pointer = pointer;
        throw;
    }
}
