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
using S = ControlState;

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
        Set(C::cmdRepairMDAC, &S::Visible, false);
        Set(C::cmdAbbrechen, &S::Enabled, false);
        Set(C::cmdZurück, &S::Enabled, false);
        Set(C::cmdWeiter, &S::Enabled, false);
        Set(C::imgRepairing, &S::Visible, true);
        Set(C::Label2, &S::Visible, true);
        Set(C::Label1, &S::Caption, kStatusIndent + LoadText(150));
        Set(C::imgDownArrow, &S::Visible, false);
        SetMousePointer(MousePointer::Hourglass);
        m_form.Refresh();
        m_form.DoEvents();
    } catch (...) {
        // The run has not started. A page left with its buttons disabled and the repair button
        // hidden would have no way forward or out: it goes back to how it was before the click.
        OnErrorResumeNext([&] { Set(C::imgRepairing, &S::Visible, false); });
        OnErrorResumeNext([&] { Set(C::Label2, &S::Visible, false); });
        OnErrorResumeNext([&] { Set(C::Label1, &S::Caption, RepairInstruction()); });
        OnErrorResumeNext([&] { Set(C::imgDownArrow, &S::Visible, true); });
        OnErrorResumeNext([&] { Set(C::cmdRepairMDAC, &S::Visible, true); });
        OnErrorResumeNext([&] { Set(C::cmdZurück, &S::Enabled, true); });
        OnErrorResumeNext([&] { Set(C::cmdAbbrechen, &S::Enabled, true); });
        OnErrorResumeNext([&] { SetMousePointer(MousePointer::Default); });
        return;
    }

    // From here on a failing step is passed over, so that the closing steps always run.
    // Component libraries expect their host's thread to be a single-threaded apartment (they run
    // in this thread when no registration host can be started).
    OnErrorResumeNext([&] { EnsureApartment(); });
    OnErrorResumeNext([&] { Set(C::ProgressBar1, &S::Visible, true); });
    OnErrorResumeNext([&] { m_form.SetBusyReason(LoadText(164)); });
    OnErrorResumeNext(
        [&] { Set(C::ProgressBar1, &S::ProgressMax, static_cast<int>(m_aMDACFiles.size())); });

    std::vector<RegistrationOutcome> failures;
    for (size_t i = 0; i < m_aMDACFiles.size(); ++i) {
        const ComponentFile entry = m_aMDACFiles[i];
        OnErrorResumeNext(
            [&] { Set(C::Label2, &S::Caption, modAPI::printf(LoadText(123), {entry.sPath})); });
        // The registration runs apart where it can, while the line is read.
        const BegunEntry begun = BeginRepairEntry(m_libraries, m_registrar, entry);
        OnErrorResumeNext([&] { m_system.Sleep(kPauseAfterLineMs); });
        OnErrorResumeNext([&] {
            EntryResult result = FinishRepairEntry(m_registrar, begun);
            if (result.Action == EntryAction::Failed)
                failures.push_back(std::move(result.Outcome));
        });
        OnErrorResumeNext(
            [&] { Set(C::ProgressBar1, &S::ProgressValue, static_cast<int>(i) + 1); });
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
            Set(C::Label2, &S::Caption, modAPI::printf(LoadText(165), {std::string(cls.ProgId)}));
        });
        OnErrorResumeNext([&] { m_form.Refresh(); });
        OnErrorResumeNext([&] { checks.push_back(m_providers.CheckProvider(cls)); });
    }
    OnErrorResumeNext([&] { m_providers.ChecksDone(); });

    OnErrorResumeNext([&] { Set(C::imgRepairing, &S::Visible, false); });
    OnErrorResumeNext([&] { Set(C::Label1, &S::Caption, LoadText(154)); });
    OnErrorResumeNext([&] { Set(C::Label2, &S::Visible, false); });
    OnErrorResumeNext([&] { Set(C::Label16, &S::Visible, true); });
    OnErrorResumeNext([&] { Set(C::ProgressBar1, &S::Visible, false); });
    OnErrorResumeNext([&] { Set(C::optResolved, &S::Visible, true); });
    OnErrorResumeNext([&] { Set(C::optFurtherProblems, &S::Visible, true); });
    OnErrorResumeNext([&] { SetMousePointer(MousePointer::Default); });
    m_bRepairDone = true;
    OnErrorResumeNext([&] { Set(C::cmdWeiter, &S::Enabled, true); });
    OnErrorResumeNext([&] { Set(C::cmdZurück, &S::Enabled, true); });
    OnErrorResumeNext([&] { Set(C::cmdAbbrechen, &S::Enabled, true); });
    OnErrorResumeNext([&] { SetFocus(C::cmdWeiter); });

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
