// The step machine behind Next, Back and Cancel, the close request and the watch timer that holds
// Cancel back right after the repair page is shown.
#include "frm_main.h"
#include "on_error_resume_next.h"
#include "text/printf.h"
#include "text/raised_error.h"

using C = ControlId;
using S = ControlState;

namespace {
constexpr int kVkReturn = 13;
constexpr uint32_t kWatchFirstLookMs = 700;
constexpr uint32_t kWatchIntervalMs = 5;
constexpr int kUnloadByCloseCommand = 0;
} // namespace

void frmMain::Press(ControlId button) {
    if (!m_view.at(button).Enabled)
        return;
    OnClick(button);
}

void frmMain::cmdWeiter_Click() {
    const int32_t startStep = m_lStep;
    try {
        switch (m_lStep) {
        case 1:
            m_lStep = 2;
            Set(C::cmdZurück, &S::Enabled, true);
            Set(C::cmdAbbrechen, &S::Caption, LoadText(149));
            CheckVersions();
            BringToFront(C::pic2);
            break;
        case 2:
            FillFileAuditList();
            if (m_oTooltips)
                m_oTooltips->Title(" ");
            m_form.RaiseWindow();
            // Clears the key's pressed-since-last-asked bit, so an Enter that pressed Next isn't
            // taken for a key press by the watch.
            m_system.GetAsyncKeyState(kVkReturn);
            Set(C::tmrTooltipRemoveCheck, &S::Interval, kWatchFirstLookMs);
            Set(C::tmrTooltipRemoveCheck, &S::TimerOn, true);
            m_lStep = 3;
            if (!m_bRepairDone) {
                Set(C::cmdWeiter, &S::Enabled, false);
                SetFocus(C::cmdRepairMDAC);
            }
            BringToFront(C::pic3);
            // The registration host comes up while the user reads the page, not when the run
            // starts; the run goes ahead without it.
            if (!m_bRepairDone)
                OnErrorResumeNext([&] { m_registrar.Prepare(); });
            break;
        case 3:
            if (!m_view.at(C::optFurtherProblems).Option) {
                Press(C::cmdAbbrechen);
                return;
            }
            m_sUrl = LoadText(m_lWinVersion == 6 ? 122 : 120);
            Set(C::lblRepairUrl, &S::Caption, m_sUrl);
            Set(C::Label3, &S::Caption, modAPI::printf(LoadText(132), {m_sMDACVersion}));
            Set(C::cmdWeiter, &S::Enabled, false);
            m_lStep = 4;
            BringToFront(C::pic4);
            break;
        default:
            break;
        }
    } catch (const RaisedError& e) {
        ReportNextError(startStep, e.Description);
    } catch (const std::exception& e) {
        ReportNextError(startStep, e.what());
    }
}

void frmMain::ReportNextError(int32_t startStep, const std::string& description) {
    // The first line names the work that failed: the version check, the search for old MDAC
    // files, or the file versions page.
    const uint16_t firstLine = startStep == 1 ? 107 : startStep == 2 ? 140 : 127;
    try {
        m_form.MsgBox(LoadText(firstLine) + "\r" + description, LoadText(100),
                      MessageBoxIcon::Information);
        if (m_lStep == 3) {
            // Back on the repair page with everything usable, so the user can try again.
            Set(C::Label4, &S::Visible, true);
            Set(C::lblHeaderExplanation2, &S::Visible, true);
            BringToFront(C::pic3);
            Set(C::cmdRepairMDAC, &S::Visible, true);
            Set(C::cmdZurück, &S::Enabled, true);
            Set(C::cmdAbbrechen, &S::Enabled, true);
            Set(C::cmdWeiter, &S::Enabled, true);
            SetMousePointer(MousePointer::Default);
        }
    } catch (...) {
        // Nothing more can be reported from here.
    }
}

void frmMain::cmdZurück_Click() {
    Set(C::cmdWeiter, &S::Enabled, true);
    switch (m_lStep) {
    case 2:
        m_lStep = 1;
        BringToFront(C::pic1);
        Set(C::cmdZurück, &S::Enabled, false);
        Set(C::cmdAbbrechen, &S::Caption, LoadText(148));
        break;
    case 3:
        m_lStep = 2;
        BringToFront(C::pic2);
        break;
    case 4:
        m_lStep = 3;
        BringToFront(C::pic3);
        break;
    default:
        break;
    }
}

void frmMain::cmdAbbrechen_Click() {
    if (m_lStep == 5) {
        // The closing page opens nothing: the tick finds no address and unloads the window.
        m_sUrl.clear();
        Set(C::ShellExecuteTimer, &S::TimerOn, true);
        m_form.DoEvents();
    } else if (m_bRepairDone) {
        m_lStep = 5;
        Set(C::cmdZurück, &S::Enabled, false);
        Set(C::cmdWeiter, &S::Enabled, false);
        BringToFront(C::pic5);
    } else if (!m_view.at(C::tmrTooltipRemoveCheck).TimerOn) {
        m_form.Unload();
    }
}

void frmMain::Form_QueryUnload(bool& bCancel, int iUnloadMode) {
    // The close box, the system menu and Alt+F4 act as the Cancel button; a close by the system
    // goes through.
    if (iUnloadMode == kUnloadByCloseCommand) {
        bCancel = true;
        Press(C::cmdAbbrechen);
    }
}

void frmMain::tmrTooltipRemoveCheck_Timer() {
    if (m_bWatchTickRunning) {
        m_bWatchTickRunning = false;
        return;
    }
    m_bWatchTickRunning = true;
    Set(C::tmrTooltipRemoveCheck, &S::Interval, kWatchIntervalMs);
    // The watch ends at the first key or mouse button that is held down.
    for (int vKey = 1; vKey <= 255; ++vKey) {
        if (m_system.GetAsyncKeyState(vKey) < 0) {
            Set(C::tmrTooltipRemoveCheck, &S::TimerOn, false);
            break;
        }
    }
    m_bWatchTickRunning = false;
}
