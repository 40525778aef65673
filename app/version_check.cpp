// The version page: the MDAC release the registry reports and the Jet engine library's version,
// each judged against its minimum, with icons, verdicts and the download link or the continue hint.
// What is judged comes from the version diagnosis; this page only shows it.
#include "frm_main.h"
#include "version_diagnosis.h"

using C = ControlId;

void frmMain::CheckVersions() {
    const Language lang = UserLanguage();
    const VersionDiagnosis d =
        DiagnoseVersions(m_registry, m_versions, m_sSystemDir, m_lWinVersion, lang);
    m_sMDACVersion = d.MdacRelease;

    if (d.MdacUpToDate) {
        m_form.SetVisible(C::lblDownloadMDAC, false);
    } else {
        m_form.SetVisible(C::imgMDACVerOK, false);
        m_form.SetVisible(C::imgMDACVerProb, true);
        if (d.Mdac == MdacAdvice::ServicePack)
            m_form.SetVisible(C::lblDownloadMDAC, false); // no separate download on Windows XP
        else
            m_sUrl = d.AdvisedPage;
    }
    m_form.SetCaption(C::lblMDACVerDescr, MdacDescription(d, lang));

    if (!d.JetUpToDate) {
        m_form.SetVisible(C::imgJetVerOK, false);
        m_form.SetVisible(C::imgJetVerProb, true);
        m_sUrl = d.AdvisedPage;
        m_form.SetTop(C::lblDownloadMDAC, 3860);
    }

    // An address an earlier run chose stays when nothing is advised now.
    if (m_sUrl.empty()) {
        m_form.SetCaption(C::lblVersionsContinue, LoadText(146));
        m_form.SetVisible(C::lblVersionsContinue, true);
    } else {
        m_form.SetCaption(C::lblDownloadMDAC, m_sUrl);
        m_form.SetVisible(C::lblDownloadMDAC, true);
    }
    m_form.SetCaption(C::lblJetVerDescr, JetDescription(d, lang));
    if (!m_form.Visible(C::lblDownloadMDAC)) {
        m_form.SetTop(C::lblJetVerHeader, 2405);
        m_form.SetTop(C::lblJetVerDescr, 2735);
        m_form.SetTop(C::imgJetVerOK, 2735);
    }
    m_form.SetCaption(C::lblMDACVerHeader, LoadText(151));
    m_form.SetCaption(C::lblJetVerHeader, LoadText(152));
}
