#include "repair/component_table.h"

#include "repair/file_version.h"
#include "text/string_table.h"

namespace {

constexpr uint16_t kTextNotAvailable = 102;

} // namespace

std::string GetFile(const std::string& sFile) {
    size_t p = sFile.rfind('\\');
    return p == std::string::npos ? sFile : sFile.substr(p + 1);
}

std::string GetFile03(const std::string& sFile) {
    return GetFile(sFile);
}

ComponentFile BuildComponentFile(IVersionApi& api, const std::string& path, Language lang) {
    ComponentFile file;
    file.sFileName = GetFile03(path);
    FixedFileInfo info{};
    if (ReadFileVersion(api, path, info)) {
        file.sPath = path;
        file.iMajor = VersionMajor(info);
        file.iMinor = VersionMinor(info);
        file.iBuild = VersionBuild(info);
        file.sVersion = DottedVersionText(info);
    } else {
        file.sPath = LoadText(kTextNotAvailable, lang);
        file.sVersion = kVersionNotRead;
    }
    return file;
}

ComponentTable BuildComponentTable(IVersionApi& api, const std::string& commonFilesFolder,
                                   const std::string& systemDir, Language lang) {
    ComponentTable table;
    for (size_t i = 0; i < kComponentCount; ++i) {
        const ComponentRow& row = kComponentRows[i];
        const std::string& base =
            row.base == ComponentBase::CommonFiles ? commonFilesFolder : systemDir;
        table[i] = BuildComponentFile(api, base + row.appendedPath, lang);
        table[i].bNoRegister = row.bNoRegister;
        table[i].bNotListed = row.bNotListed;
    }
    return table;
}
