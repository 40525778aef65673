// The repair: every library of the component table that takes part is registered again through its
// own DllRegisterServer, one after another, with a progress bar and a line naming the file in
// work; afterwards the page asks whether the problems are solved. Libraries that exist but could
// not be registered, and the essential data providers that still can't be created, are named in
// one message at the end.
#include <vector>

#include "frm_main.h"
#include "on_error_resume_next.h"
#include "repair/registration_report.h"
#include "repair/repair_entry.h"
#include "text/printf.h"

using C = ControlId;

namespace {

constexpr uint32_t kPauseAfterLineMs = 50;
constexpr uint32_t kPauseAfterStepMs = 150;
constexpr const char* kStatusIndent = "             "; // thirteen spaces before the status text

} // namespace

bool frmMain::WindowGoes() const {
    bool goes = false;
    OnErrorResumeNext([&] { goes = m_form.Unloading(); });
    return goes;
}

void frmMain::cmdRepairMDAC_Click() {
    // One run at a time: pending events run inside the loop, and nothing there may start another.
    if (m_bRepairRunning)
        return;
    m_bRepairRunning = true;
    struct RunEnds {
        bool& running;
        ~RunEnds() { running = false; }
    } runEnds{m_bRepairRunning};

    try {
        m_form.SetVisible(C::cmdRepairMDAC, false);
        m_form.SetEnabled(C::cmdAbbrechen, false);
        m_form.SetEnabled(C::cmdZurück, false);
        m_form.SetEnabled(C::cmdWeiter, false);
        m_form.SetVisible(C::imgRepairing, true);
        m_form.SetVisible(C::Label2, true);
        m_form.SetCaption(C::Label1, kStatusIndent + LoadText(150));
        m_form.SetVisible(C::imgDownArrow, false);
        m_form.SetMousePointer(MousePointer::Hourglass);
        m_form.Refresh();
        m_form.DoEvents();
    } catch (...) {
        // The run has not started. A page left with its buttons disabled and the repair button
        // hidden would have no way forward or out: it goes back to how it was before the click.
        OnErrorResumeNext([&] { m_form.SetVisible(C::imgRepairing, false); });
        OnErrorResumeNext([&] { m_form.SetVisible(C::Label2, false); });
        OnErrorResumeNext([&] { m_form.SetCaption(C::Label1, RepairInstruction()); });
        OnErrorResumeNext([&] { m_form.SetVisible(C::imgDownArrow, true); });
        OnErrorResumeNext([&] { m_form.SetVisible(C::cmdRepairMDAC, true); });
        OnErrorResumeNext([&] { m_form.SetEnabled(C::cmdZurück, true); });
        OnErrorResumeNext([&] { m_form.SetEnabled(C::cmdAbbrechen, true); });
        OnErrorResumeNext([&] { m_form.SetMousePointer(MousePointer::Default); });
        return;
    }

    // From here on a failing step is passed over, so that the closing steps always run.
    // Component libraries expect their host's thread to be a single-threaded apartment (they run
    // in this thread when no registration host can be started).
    OnErrorResumeNext([&] { EnsureApartment(); });
    OnErrorResumeNext([&] { m_form.SetVisible(C::ProgressBar1, true); });
    OnErrorResumeNext([&] { m_form.SetBusyReason(LoadText(164)); });
    OnErrorResumeNext(
        [&] { m_form.SetProgressMax(C::ProgressBar1, static_cast<int>(m_aMDACFiles.size())); });

    std::vector<RegistrationOutcome> failures;
    for (size_t i = 0; i < m_aMDACFiles.size(); ++i) {
        const ComponentFile entry = m_aMDACFiles[i];
        OnErrorResumeNext(
            [&] { m_form.SetCaption(C::Label2, modAPI::printf(LoadText(123), {entry.sPath})); });
        // The registration runs apart where it can, while the line is read.
        const BegunEntry begun = BeginRepairEntry(m_libraries, m_registrar, entry);
        OnErrorResumeNext([&] { m_system.Sleep(kPauseAfterLineMs); });
        OnErrorResumeNext([&] {
            EntryResult result = FinishRepairEntry(m_registrar, begun);
            if (result.Action == EntryAction::Failed)
                failures.push_back(std::move(result.Outcome));
        });
        OnErrorResumeNext(
            [&] { m_form.SetProgressValue(C::ProgressBar1, static_cast<int>(i) + 1); });
        OnErrorResumeNext([&] { m_form.DoEvents(); });
        if (WindowGoes())
            break;
        OnErrorResumeNext([&] { m_system.Sleep(kPauseAfterStepMs); });
    }
    OnErrorResumeNext([&] { m_form.SetBusyReason(""); });
    // Closed by another program, or the session ends: the registration in work is back, and
    // nothing more is registered, checked or shown.
    if (WindowGoes())
        return;

    // Does it work now? Every essential data provider is created once, where registrations run
    // (creating an object runs its library's code). The page still shows work meanwhile: the
    // line names the provider in work, the pointer stays busy.
    std::vector<ProviderCheck> checks;
    for (const ProviderClass& cls : ProviderClasses()) {
        if (!cls.Essential)
            continue;
        OnErrorResumeNext([&] {
            m_form.SetCaption(C::Label2, modAPI::printf(LoadText(165), {std::string(cls.ProgId)}));
        });
        OnErrorResumeNext([&] { m_form.Refresh(); });
        OnErrorResumeNext([&] { checks.push_back(m_providers.CheckProvider(cls)); });
    }
    OnErrorResumeNext([&] { m_providers.ChecksDone(); });

    OnErrorResumeNext([&] { m_form.SetVisible(C::imgRepairing, false); });
    OnErrorResumeNext([&] { m_form.SetCaption(C::Label1, LoadText(154)); });
    OnErrorResumeNext([&] { m_form.SetVisible(C::Label2, false); });
    OnErrorResumeNext([&] { m_form.SetVisible(C::Label16, true); });
    OnErrorResumeNext([&] { m_form.SetVisible(C::ProgressBar1, false); });
    OnErrorResumeNext([&] { m_form.SetVisible(C::optResolved, true); });
    OnErrorResumeNext([&] { m_form.SetVisible(C::optFurtherProblems, true); });
    OnErrorResumeNext([&] { m_form.SetMousePointer(MousePointer::Default); });
    m_bRepairDone = true;
    OnErrorResumeNext([&] { m_form.SetEnabled(C::cmdWeiter, true); });
    OnErrorResumeNext([&] { m_form.SetEnabled(C::cmdZurück, true); });
    OnErrorResumeNext([&] { m_form.SetEnabled(C::cmdAbbrechen, true); });
    OnErrorResumeNext([&] { m_form.SetFocus(C::cmdWeiter); });

    // The run must not end in "finished!" alone when libraries that are there failed, or when a
    // class database programs need still can't be created.
    std::string message;
    OnErrorResumeNext(
        [&] { message = RegistrationFailureText(m_libraries, failures, UserLanguage()); });
    OnErrorResumeNext([&] {
        const std::string providers = ProviderFailureText(m_libraries, checks, UserLanguage());
        if (!providers.empty())
            message += (message.empty() ? "" : "\n") + providers;
    });
    if (!message.empty()) {
        OnErrorResumeNext([&] { m_form.MsgBox(message, LoadText(100), MessageBoxIcon::Warning); });
    }
}
