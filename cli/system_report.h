#pragma once
// What the console companion reports about a system: the same diagnosis the wizard's version page
// and file list show, read the same way, plus the facts a helpdesk asks for (program version,
// Windows version, language).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/system_api.h"
#include "app/version_diagnosis.h"
#include "cli/data_access_report.h"
#include "registry/registry_api.h"
#include "repair/component_table.h"
#include "repair/library_api.h"
#include "repair/provider_check.h"
#include "repair/version_api.h"
#include "text/language.h"

struct SystemReport {
    std::string ProgramVersion;
    bool WindowsKnown = false; // false when the system did not give its version
    OsVersionInfo Windows;
    int32_t WindowsClass = 0; // as the wizard classifies it (modAPI::GetWindowsVersionClass)
    Language Lang = Language::English;
    VersionDiagnosis Versions;
    ComponentTable Components{};
    std::vector<struct ReportedProvider> Providers; // every class of ProviderClasses(), in order
    DataAccessReport DataAccess;                    // which programs can open databases here
};

// A data provider's class as checked, and its state in words (ProviderReason).
struct ReportedProvider {
    ProviderCheck Check;
    std::string Reason;
};

// The version of this program, as the build names it.
const char* ProgramVersion();

// The user's language, as the wizard takes it.
Language UserLanguageOf(ISystem& system);

// The system directory without a trailing backslash; empty when the system can't name it.
std::string SystemDirectoryOf(ISystem& system);

// The component table as the wizard builds it: the common program files folder (empty when the
// system can't name it) and the system directory as bases.
ComponentTable ReadComponentTable(ISystem& system, IVersionApi& versions,
                                  const std::string& systemDir, Language lang);

SystemReport BuildSystemReport(ISystem& system, IRegistryApi& registry, IVersionApi& versions);

// Every class of ProviderClasses() checked, in order, with its state in `lang`.
std::vector<ReportedProvider> CheckProviders(IProviderChecker& providers, ILibraryApi& libraries,
                                             Language lang);
// The essential classes among `checks` that do not work.
size_t FailingEssentialCount(const std::vector<ReportedProvider>& checks);

// The entry's mark in the file list; nothing for an entry the list does not show.
std::optional<FileMark> ComponentMark(const SystemReport& report, size_t index);
// Listed entries with a version that does not belong to the release.
size_t MismatchedCount(const SystemReport& report);
// Listed entries that are missing or carry no version.
size_t MissingCount(const SystemReport& report);
// MDAC or Jet out of date, a listed file that does not match or is missing, or an essential data
// provider that can't be created.
bool NeedsAttention(const SystemReport& report);
// kExitOk or kExitAttention.
int ReportExitCode(const SystemReport& report);
