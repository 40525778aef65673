// The repair: every library of the component table that takes part is registered again through its
// own DllRegisterServer, one after another, with a progress bar and a line naming the file in
// work; afterwards the page asks whether the problems are solved. Libraries that exist but could
// not be registered are named in one message at the end.
#include <vector>

#include "frm_main.h"
#include "on_error_resume_next.h"
#include "repair/dll_register.h"
#include "repair/registration_report.h"
#include "text/printf.h"

using C = ControlId;

namespace {

constexpr uint32_t kPauseAfterLineMs = 50;
constexpr uint32_t kPauseAfterStepMs = 150;
constexpr uint32_t kShortPathCapacity = 260;
constexpr const char* kEntryPointName = "DllRegisterServer";
constexpr const char* kStatusIndent = "             "; // thirteen spaces before the status text

// The path to load a library by: its short form; the full path where the system gives no short
// form for a file that is there; nothing for a file that is missing or a text that names no file.
std::string RegistrationPath(ILibraryApi& api, const std::string& sPath) {
    std::string shortPath;
    const uint32_t n = api.ShortPathName(sPath, shortPath, kShortPathCapacity);
    if (n > 0 && n < kShortPathCapacity)
        return shortPath;
    if (n == 0) {
        const uint32_t error = api.LastError();
        if (error == kErrorFileNotFound || error == kErrorPathNotFound)
            return {};
    }
    return IsFullyQualifiedPath(sPath) ? sPath : std::string();
}

} // namespace

void frmMain::cmdRepairMDAC_Click() {
    // One run at a time: pending events run inside the loop, and nothing there may start another.
    if (m_bRepairRunning)
        return;
    m_bRepairRunning = true;
    struct RunEnds {
        bool& running;
        ~RunEnds() { running = false; }
    } runEnds{m_bRepairRunning};

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

    // From here on a failing step is passed over, so that the closing steps always run.
    OnErrorResumeNext([&] { m_form.SetVisible(C::ProgressBar1, true); });
    OnErrorResumeNext(
        [&] { m_form.SetProgressMax(C::ProgressBar1, static_cast<int>(m_aMDACFiles.size())); });

    std::vector<RegistrationOutcome> failures;
    for (size_t i = 0; i < m_aMDACFiles.size(); ++i) {
        const ComponentFile entry = m_aMDACFiles[i];
        std::string name;
        std::string path;
        OnErrorResumeNext([&] { name = GetFile(entry.sPath); });
        OnErrorResumeNext(
            [&] { m_form.SetCaption(C::Label2, modAPI::printf(LoadText(123), {entry.sPath})); });
        OnErrorResumeNext([&] { m_system.Sleep(kPauseAfterLineMs); });
        OnErrorResumeNext([&] { path = RegistrationPath(m_libraries, entry.sPath); });
        if (!entry.bNoRegister) {
            OnErrorResumeNext([&] {
                RegistrationOutcome outcome =
                    RegisterComponent(m_libraries, path, kEntryPointName, name);
                // A missing file is no failure of the repair: the file list shows it.
                if (outcome.Result != RegistrationResult::Registered && IsFullyQualifiedPath(path))
                    failures.push_back(std::move(outcome));
            });
        }
        OnErrorResumeNext(
            [&] { m_form.SetProgressValue(C::ProgressBar1, static_cast<int>(i) + 1); });
        OnErrorResumeNext([&] { m_form.DoEvents(); });
        OnErrorResumeNext([&] { m_system.Sleep(kPauseAfterStepMs); });
    }

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

    // The run must not end in "finished!" alone when libraries that are there failed.
    if (!failures.empty()) {
        OnErrorResumeNext([&] {
            m_form.MsgBox(RegistrationFailureText(m_libraries, failures, UserLanguage()),
                          LoadText(100), MessageBoxIcon::Warning);
        });
    }
}
