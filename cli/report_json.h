#pragma once
// The report as JSON: the same facts as the text, in a shape that stays the same in every
// language, for scripts that check many machines. Member names and their order are fixed; texts
// that come from the system (paths, the registry value) are given as read, the advised address
// in the user's language.
//
// docs/report.schema.json publishes the shape; "schema" counts its versions, so that a script
// can tell a report it was written for from a later one.
//
// {
//   "schema":   1,
//   "program":  {"name": "Quendry", "version": "1.0.0"},
//   "windows":  {"major": 6, "minor": 1, "build": 7601, "platform": 2, "class": 8},
//               (major, minor, build and platform are null when the system gives no version;
//                class is the wizard's Windows version class: 0 unknown, 1 Windows 95,
//                2 Windows 98, 3 NT 4.0, 4 Windows 2000, 5 Windows Me, 6 Windows XP,
//                7 Server 2003, 8 Vista or later)
//   "language": "en" | "de",
//   "mdac":     {"fullInstallVer": "2.81.1117.0" ("" when the value is missing),
//                "release": "2.81" (its first four characters), "minimum": "2.81",
//                "upToDate": true, "advice": "none" | "servicePack" | "download"},
//   "jet":      {"path": "C:\\WINDOWS\\system32\\msjet40.dll",
//                "version": "4.0.8015" | null, "build": 8015 | null (null: no version
//                information), "minimum": 8015, "upToDate": true},
//   "advisedPage": null | "https://...",
//   "components": [ 31 objects, in the wizard's table order:
//                {"index": 0, "fileName": "MSADO15.DLL", "version": "2.81.1117" | null,
//                 "path": "C:\\...\\MSADO15.DLL" | null, "present": true,
//                 "listed": true, "registeredByRepair": true, "matches": true | false | null} ],
//               (present: the file's version could be read, as the file list counts it; version
//                and path are null otherwise. listed: the file list shows it. matches: its mark
//                in the file list, null for the four files the list does not show)
//   "needsAttention": false,
//   "dataAccess": which programs can open databases here (the README's table lists the members)
// }
#include <cstdint>
#include <string>

#include "bitness/program_answer.h"
#include "system_report.h"

inline constexpr int64_t kReportSchema = 1;

// Ends in "\n".
std::string ReportJson(const SystemReport& report);

// The answer for one program: {"schema", "program", "verdict", "runsAs", "machine", "canOpen"}.
std::string ProgramJson(const std::string& path, const ProgramAnswer& program,
                        const BitnessAnswer* answer);
