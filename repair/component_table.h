#pragma once
// The 31 MDAC and Jet component libraries the wizard knows: where each lies, its version, and
// whether the repair step registers it and the audit list shows it.
#include "repair/version_api.h"
#include "text/language.h"

#include <array>
#include <cstdint>
#include <string>

struct ComponentFile {
    std::string sFileName;
    std::string sPath;    // text 102 when the version can't be read
    std::string sVersion; // "N/A" when the version can't be read
    uint16_t iMajor = 0;
    uint16_t iMinor = 0;
    uint16_t iBuild = 0;
    bool bNoRegister = false; // the repair step skips it
    bool bNotListed = false;  // the audit list doesn't show it
};

// The version text of a library whose version can't be read.
inline constexpr const char* kVersionNotRead = "N/A";

inline constexpr size_t kComponentCount = 31;
using ComponentTable = std::array<ComponentFile, kComponentCount>;

// Where a library lies: appended unchanged to its base folder.
enum class ComponentBase { CommonFiles, SystemDir };

struct ComponentRow {
    const char* appendedPath;
    ComponentBase base;
    bool bNoRegister;
    bool bNotListed;
};

inline constexpr std::array<ComponentRow, kComponentCount> kComponentRows = {{
    {"\\System\\ado\\MSADO15.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\ado\\MSADER15.DLL", ComponentBase::CommonFiles, true, false},
    {"\\System\\ado\\MSADOR15.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\ado\\MSADRH15.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\ado\\MSADOX.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\ado\\MSADOMD.dll", ComponentBase::CommonFiles, false, false},
    {"\\System\\ado\\MSJRO.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\MSADC\\MSADCE.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\MSADC\\MSADCER.DLL", ComponentBase::CommonFiles, true, false},
    {"\\System\\MSADC\\MSADCF.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\MSADC\\MSADCFR.DLL", ComponentBase::CommonFiles, true, false},
    {"\\System\\MSADC\\MSADCO.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\MSADC\\MSADCOR.DLL", ComponentBase::CommonFiles, true, false},
    {"\\System\\MSADC\\MSADCS.DLL", ComponentBase::CommonFiles, true, false},
    {"\\System\\MSADC\\MSADDS.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\MSADC\\MSADDSR.DLL", ComponentBase::CommonFiles, true, false},
    {"\\System\\MSADC\\MSDAPRST.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\OLEDB32.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\MSXACTPS.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\MSDAENUM.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\MSDAURL.DLL", ComponentBase::CommonFiles, false, true},
    {"\\System\\Ole DB\\MSDATT.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\MSDASQL.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\MSDAOSP.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\MSDAORA.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\MSDAPS.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\MSDADC.DLL", ComponentBase::CommonFiles, false, false},
    {"\\System\\Ole DB\\MSDAER.DLL", ComponentBase::CommonFiles, true, false},
    {"\\msjet40.dll", ComponentBase::SystemDir, false, true},
    {"\\msjtes40.dll", ComponentBase::SystemDir, false, true},
    {"\\msjetoledb40.dll", ComponentBase::SystemDir, false, true},
}};

// The part of `sFile` after its last "\", or all of it when it holds none.
std::string GetFile(const std::string& sFile);
// The same as GetFile; the table's builder uses this one.
std::string GetFile03(const std::string& sFile);

// One library's record from its file's version; both flags false.
ComponentFile BuildComponentFile(IVersionApi& api, const std::string& path, Language lang);

// The whole table, read afresh. An empty folder text still gives 31 entries: their paths then
// begin with "\System" (or "\msjet40.dll" for the system directory).
ComponentTable BuildComponentTable(IVersionApi& api, const std::string& commonFilesFolder,
                                   const std::string& systemDir, Language lang);
