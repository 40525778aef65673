#include "version_diagnosis.h"

#include "numeric_value.h"
#include "registry/c_registry.h"
#include "repair/file_version.h"
#include "repair/like_pattern.h"
#include "text/printf.h"
#include "text/string_table.h"
#include "text/utf8.h"

namespace {

constexpr uint16_t kTextNotAvailable = 102;
constexpr uint16_t kTextDownloadPage = 117;

// The first `count` characters of a text (fewer when it is shorter).
std::string FirstCharacters(const std::string& text, size_t count) {
    size_t end = 0;
    for (size_t n = 0; n < count && end < text.size(); ++n)
        end += Utf8CharLength(text, end);
    return text.substr(0, end);
}

std::string ReadFullInstallVer(IRegistryApi& registry) {
    cRegistry reg(registry);
    reg.ClassKey(kHkeyLocalMachine);
    reg.SectionKey("Software\\Microsoft\\DataAccess");
    reg.ValueType(kRegSz);
    reg.ValueKey("FullInstallVer");
    reg.Default(std::string());
    return ToText(reg.Value());
}

} // namespace

VersionDiagnosis DiagnoseVersions(IRegistryApi& registry, IVersionApi& versions,
                                  const std::string& systemDir, int32_t windowsClass,
                                  Language lang) {
    VersionDiagnosis d;
    d.FullInstallVer = ReadFullInstallVer(registry);
    d.MdacRelease = FirstCharacters(d.FullInstallVer, 4);
    d.MdacUpToDate = NumericValue(d.MdacRelease) >= kMdacMinimum;
    if (!d.MdacUpToDate)
        d.Mdac = windowsClass == kServicePackWindowsClass ? MdacAdvice::ServicePack
                                                          : MdacAdvice::Download;

    d.JetPath = systemDir + "\\msjet40.dll";
    d.JetVersion = GetFileVersionText(versions, d.JetPath, false, lang);
    d.JetBuild = GetFileVersionText(versions, d.JetPath, true, lang);
    // A version that was read is digits and points, never the text for "not available".
    d.JetVersionRead = d.JetVersion != LoadText(kTextNotAvailable, lang);
    d.JetUpToDate = NumericValue(d.JetBuild) >= kJetMinimumBuild;

    if (d.Mdac == MdacAdvice::Download || !d.JetUpToDate)
        d.AdvisedPage = LoadText(kTextDownloadPage, lang);
    return d;
}

std::string MdacDescription(const VersionDiagnosis& d, Language lang) {
    std::string text = modAPI::printf(LoadText(103, lang), {d.MdacRelease});
    switch (d.Mdac) {
    case MdacAdvice::None:
        return text + LoadText(145, lang);
    case MdacAdvice::ServicePack:
        return text + LoadText(128, lang);
    case MdacAdvice::Download:
        return text + " " + LoadText(114, lang);
    }
    return text;
}

std::string JetDescription(const VersionDiagnosis& d, Language lang) {
    const std::string text = modAPI::printf(LoadText(143, lang), {d.JetVersion});
    if (d.JetUpToDate)
        return text + "\r" + LoadText(153, lang);
    return text + LoadText(144, lang) + LoadText(147, lang);
}

bool MatchesRelease(std::string_view sVersion, std::string_view release) {
    return LikeMatch(sVersion, std::string(release) + "*");
}

FileMark FileListMark(const ComponentFile& file, std::string_view release) {
    if (file.sVersion == kVersionNotRead)
        return FileMark::Missing;
    return MatchesRelease(file.sVersion, release) ? FileMark::Matches : FileMark::Differs;
}
