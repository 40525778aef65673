// The version page: the MDAC release the registry reports and the Jet engine library's version,
// each judged against its minimum, with icons, verdicts and the download link or the continue hint.
#include "frm_main.h"
#include "numeric_value.h"
#include "registry/c_registry.h"
#include "repair/file_version.h"
#include "text/printf.h"
#include "text/utf8.h"

using C = ControlId;

namespace {
constexpr double kMdacMinimum = 2.81;
constexpr double kJetMinimumBuild = 8015;

// The first `count` characters of a text (fewer when it is shorter).
std::string FirstCharacters(const std::string& text, size_t count) {
    size_t end = 0;
    for (size_t n = 0; n < count && end < text.size(); ++n)
        end += Utf8CharLength(text, end);
    return text.substr(0, end);
}
} // namespace

void frmMain::CheckVersions() {
    std::string installed;
    {
        cRegistry reg(m_registry);
        reg.ClassKey(kHkeyLocalMachine);
        reg.SectionKey("Software\\Microsoft\\DataAccess");
        reg.ValueType(kRegSz);
        reg.ValueKey("FullInstallVer");
        reg.Default(std::string());
        installed = ToText(reg.Value());
    }
    m_sMDACVersion = FirstCharacters(installed, 4);

    std::string mdac = modAPI::printf(LoadText(103), {m_sMDACVersion});
    if (NumericValue(m_sMDACVersion) >= kMdacMinimum) {
        m_form.SetVisible(C::lblDownloadMDAC, false);
        mdac += LoadText(145);
    } else {
        m_form.SetVisible(C::imgMDACVerOK, false);
        m_form.SetVisible(C::imgMDACVerProb, true);
        if (m_lWinVersion == 6) {
            // On Windows XP the service pack brings MDAC 2.81; there is no separate download.
            m_form.SetVisible(C::lblDownloadMDAC, false);
            mdac += LoadText(128);
        } else {
            mdac += " " + LoadText(114);
            m_sUrl = LoadText(117);
        }
    }
    m_form.SetCaption(C::lblMDACVerDescr, mdac);

    const std::string jetLibrary = m_sSystemDir + "\\msjet40.dll";
    const Language lang = UserLanguage();
    std::string jet =
        modAPI::printf(LoadText(143), {GetFileVersionText(m_versions, jetLibrary, false, lang)});
    const std::string build = GetFileVersionText(m_versions, jetLibrary, true, lang);
    if (NumericValue(build) >= kJetMinimumBuild) {
        jet += "\r" + LoadText(153);
    } else {
        m_form.SetVisible(C::imgJetVerOK, false);
        m_form.SetVisible(C::imgJetVerProb, true);
        jet += LoadText(144) + LoadText(147);
        m_sUrl = LoadText(117);
        m_form.SetTop(C::lblDownloadMDAC, 3860);
    }

    if (m_sUrl.empty()) {
        m_form.SetCaption(C::lblVersionsContinue, LoadText(146));
        m_form.SetVisible(C::lblVersionsContinue, true);
    } else {
        m_form.SetCaption(C::lblDownloadMDAC, m_sUrl);
        m_form.SetVisible(C::lblDownloadMDAC, true);
    }
    m_form.SetCaption(C::lblJetVerDescr, jet);
    if (!m_form.Visible(C::lblDownloadMDAC)) {
        m_form.SetTop(C::lblJetVerHeader, 2405);
        m_form.SetTop(C::lblJetVerDescr, 2735);
        m_form.SetTop(C::imgJetVerOK, 2735);
    }
    m_form.SetCaption(C::lblMDACVerHeader, LoadText(151));
    m_form.SetCaption(C::lblJetVerHeader, LoadText(152));
}
