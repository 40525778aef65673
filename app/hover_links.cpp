// The two link labels behave like web links: the hand pointer on every move over them, an
// underline while the pointer is on them, and a click opens their address. Pointer moves over the
// leaving surfaces take the underline away again.
#include "frm_main.h"

using C = ControlId;
using S = ControlState;

namespace {
bool IsLink(ControlId id) {
    return id == C::lblDownloadMDAC || id == C::lblRepairUrl;
}

bool IsLeavingSurface(ControlId id) {
    switch (id) {
    case C::frmMain:
    case C::pic2:
    case C::pic3:
    case C::pic4:
    case C::lblJetVerDescr:
    case C::lblMDACVerDescr:
    case C::lvwMDACFiles:
        return true;
    default:
        return false;
    }
}
} // namespace

void frmMain::OnMouseMove(ControlId id) {
    if (IsLink(id))
        lblLink_MouseMove(id);
    else if (IsLeavingSurface(id))
        LinkLeave();
}

void frmMain::lblLink_MouseMove(ControlId link) {
    m_system.SetHandCursor();
    if (!m_view.at(link).Underline) {
        if (m_oUnderlinedLink)
            Set(*m_oUnderlinedLink, &S::Underline, false);
        m_oUnderlinedLink = link;
        Set(link, &S::Underline, true);
    } else if (m_oUnderlinedLink && *m_oUnderlinedLink != link) {
        Set(*m_oUnderlinedLink, &S::Underline, false);
        m_oUnderlinedLink.reset();
    }
}

void frmMain::LinkLeave() {
    if (!m_oUnderlinedLink)
        return;
    Set(*m_oUnderlinedLink, &S::Underline, false);
    m_oUnderlinedLink.reset();
}

void frmMain::lblLink_Click(ControlId link) {
    // A link opens the address it shows, which is not always the one the wizard chose last (the
    // version page's link after the repair instructions were chosen on the way back).
    m_sUrl = m_view.at(link).Caption;
    Set(C::ShellExecuteTimer, &S::TimerOn, true);
    m_form.DoEvents();
    // The record stays: the next move over the link underlines it again.
    Set(link, &S::Underline, false);
}
