#pragma once
// The diagnosis behind the version page: the MDAC release the registry reports and the Jet engine
// library's version, each judged against its minimum, and the web page advised because of them.
// The wizard's version page and the console companion's report are both made from it, so that
// both say the same about the same system.
#include <cstdint>
#include <string>
#include <string_view>

#include "registry/registry_api.h"
#include "repair/component_table.h"
#include "repair/version_api.h"
#include "text/language.h"

inline constexpr double kMdacMinimum = 2.81;
inline constexpr double kJetMinimumBuild = 8015;
// The Windows version class whose service pack brings the latest MDAC (Windows XP).
inline constexpr int32_t kServicePackWindowsClass = 6;

enum class MdacAdvice {
    None,        // up to date
    ServicePack, // out of date on Windows XP: its service pack brings MDAC 2.81 (text 128)
    Download,    // out of date elsewhere: the download page (text 114)
};

struct VersionDiagnosis {
    std::string FullInstallVer; // the registry value; empty when it is missing
    std::string MdacRelease;    // its first four characters
    bool MdacUpToDate = false;
    MdacAdvice Mdac = MdacAdvice::None;

    std::string JetPath;    // the system directory followed by "\msjet40.dll"
    std::string JetVersion; // major.minor.build, or text 102 when it can't be read
    std::string JetBuild;   // the build form of GetFileVersionText, or text 102
    bool JetVersionRead = false;
    bool JetUpToDate = false;

    // The download page (text 117) when either verdict advises an update, else empty.
    std::string AdvisedPage;
};

// Reads the registry value FullInstallVer and the Jet library's version and judges both. Texts
// come in `lang`. Raises only what the registry class raises on a read (nothing, in practice).
VersionDiagnosis DiagnoseVersions(IRegistryApi& registry, IVersionApi& versions,
                                  const std::string& systemDir, int32_t windowsClass,
                                  Language lang);

// The version page's two descriptions: text 103 with the release, followed by the MDAC verdict
// (145, 128, or one space and 114); text 143 with the Jet version, followed by a carriage return
// and 153, or by 144 and 147.
std::string MdacDescription(const VersionDiagnosis& diagnosis, Language lang);
std::string JetDescription(const VersionDiagnosis& diagnosis, Language lang);

// Whether a library's version text belongs to the MDAC release, as the file list marks it: the
// wildcard test of the version against the release followed by "*". An empty release matches
// every version.
bool MatchesRelease(std::string_view sVersion, std::string_view release);

// A library's mark in the file list: a version that belongs to the release, one that doesn't,
// or no version at all. A library that is missing or carries no version information never
// matches, whatever the release (also none, where the release pattern is "*").
enum class FileMark { Matches, Differs, Missing };
FileMark FileListMark(const ComponentFile& file, std::string_view release);
