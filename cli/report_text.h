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
