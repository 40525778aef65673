#include "system_report.h"

#include "repair/registration_report.h"

#include "app/mod_api.h"
#include "exit_codes.h"

#ifndef QUENDRY_VERSION
#define QUENDRY_VERSION "0.0.0"
#endif

const char* ProgramVersion() {
    return QUENDRY_VERSION;
}

Language UserLanguageOf(ISystem& system) {
    return LanguageFromLangId(system.GetUserDefaultUILanguage());
}

std::string SystemDirectoryOf(ISystem& system) {
    std::string dir;
    if (!system.GetSystemDir(dir))
        return {};
    return dir.substr(0, dir.find('\0'));
}

ComponentTable ReadComponentTable(ISystem& system, IVersionApi& versions,
                                  const std::string& systemDir, Language lang) {
    const std::string folder =
        modAPI::GetSpecialFolderPath(system, modAPI::CSIDL_PROGRAM_FILES_COMMON);
    return BuildComponentTable(versions, folder, systemDir, lang);
}

SystemReport BuildSystemReport(ISystem& system, IRegistryApi& registry, IVersionApi& versions) {
    SystemReport report;
    report.ProgramVersion = ProgramVersion();
    report.WindowsKnown = system.GetOsVersion(report.Windows);
    if (!report.WindowsKnown)
        report.Windows = {};
    report.WindowsClass = modAPI::GetWindowsVersionClass(system);
    report.Lang = UserLanguageOf(system);
    const std::string systemDir = SystemDirectoryOf(system);
    report.Versions =
        DiagnoseVersions(registry, versions, systemDir, report.WindowsClass, report.Lang);
    report.Components = ReadComponentTable(system, versions, systemDir, report.Lang);
    return report;
}

std::optional<FileMark> ComponentMark(const SystemReport& report, size_t index) {
    const ComponentFile& file = report.Components.at(index);
    if (file.bNotListed)
        return std::nullopt;
    return FileListMark(file, report.Versions.MdacRelease);
}

namespace {
size_t CountMarked(const SystemReport& report, FileMark mark) {
    size_t count = 0;
    for (size_t i = 0; i < report.Components.size(); ++i)
        count += ComponentMark(report, i) == mark ? 1 : 0;
    return count;
}
} // namespace

size_t MismatchedCount(const SystemReport& report) {
    return CountMarked(report, FileMark::Differs);
}

size_t MissingCount(const SystemReport& report) {
    return CountMarked(report, FileMark::Missing);
}

bool NeedsAttention(const SystemReport& report) {
    return !report.Versions.MdacUpToDate || !report.Versions.JetUpToDate ||
           MismatchedCount(report) > 0 || MissingCount(report) > 0 ||
           FailingEssentialCount(report.Providers) > 0;
}

std::vector<ReportedProvider> CheckProviders(IProviderChecker& providers, ILibraryApi& libraries,
                                             Language lang) {
    std::vector<ReportedProvider> checks;
    for (const ProviderClass& cls : ProviderClasses()) {
        ProviderCheck check = providers.CheckProvider(cls);
        std::string reason = ProviderReason(libraries, check, lang);
        checks.push_back({std::move(check), std::move(reason)});
    }
    providers.ChecksDone();
    return checks;
}

size_t FailingEssentialCount(const std::vector<ReportedProvider>& checks) {
    size_t count = 0;
    for (const ReportedProvider& p : checks)
        count += p.Check.Essential && p.Check.State != ProviderState::Works ? 1 : 0;
    return count;
}

int ReportExitCode(const SystemReport& report) {
    return NeedsAttention(report) ? kExitAttention : kExitOk;
}
