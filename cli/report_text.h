#pragma once
// The report as text in the user's language, for a console or a helpdesk ticket. Every word comes
// from the string table; the MDAC and Jet sentences are the version page's own.
#include <cstdint>
#include <string>

#include "system_report.h"

// Lines end in "\n".
std::string ReportText(const SystemReport& report);

// "6.1.7601": major, minor and build (on Windows 95, 98 and Me only the build number's low word
// is the build).
std::string WindowsVersionText(const SystemReport& report);
uint32_t WindowsBuildNumber(const SystemReport& report);

// The data providers' section: its heading, one row per class (ProgID, essential, state, threading
// model, CLSID, library) and the number of essential classes that do not work.
std::string ProviderLines(const std::vector<ReportedProvider>& providers, Language lang);
