// The version page: the MDAC release the registry reports and the Jet engine library's version,
// each judged against its minimum, with icons, verdicts and the download link or the continue hint.
// What is judged comes from the version diagnosis; this page only shows it.
#include "frm_main.h"
#include "version_diagnosis.h"

using C = ControlId;
using S = ControlState;

void frmMain::CheckVersions() {
    const Language lang = UserLanguage();
    const VersionDiagnosis d =
        DiagnoseVersions(m_registry, m_versions, m_sSystemDir, m_lWinVersion, lang);
    m_sMDACVersion = d.MdacRelease;

    if (d.MdacUpToDate) {
        Set(C::lblDownloadMDAC, &S::Visible, false);
    } else {
        Set(C::imgMDACVerOK, &S::Visible, false);
        Set(C::imgMDACVerProb, &S::Visible, true);
        if (d.Mdac == MdacAdvice::ServicePack)
            Set(C::lblDownloadMDAC, &S::Visible, false); // no separate download on Windows XP
        else
            m_sUrl = d.AdvisedPage;
    }
    Set(C::lblMDACVerDescr, &S::Caption, MdacDescription(d, lang));

    if (!d.JetUpToDate) {
        Set(C::imgJetVerOK, &S::Visible, false);
        Set(C::imgJetVerProb, &S::Visible, true);
        m_sUrl = d.AdvisedPage;
        Set(C::lblDownloadMDAC, &S::Top, 3860);
    }

    // An address an earlier run chose stays when nothing is advised now.
    if (m_sUrl.empty()) {
        Set(C::lblVersionsContinue, &S::Caption, LoadText(146));
        Set(C::lblVersionsContinue, &S::Visible, true);
    } else {
        Set(C::lblDownloadMDAC, &S::Caption, m_sUrl);
        Set(C::lblDownloadMDAC, &S::Visible, true);
    }
    Set(C::lblJetVerDescr, &S::Caption, JetDescription(d, lang));
    if (!m_view.at(C::lblDownloadMDAC).Visible) {
        Set(C::lblJetVerHeader, &S::Top, 2405);
        Set(C::lblJetVerDescr, &S::Top, 2735);
        Set(C::imgJetVerOK, &S::Top, 2735);
    }
    Set(C::lblMDACVerHeader, &S::Caption, LoadText(151));
    Set(C::lblJetVerHeader, &S::Caption, LoadText(152));
}
