#include "install.h"

#include <algorithm>
#include <cstdint>

#include "bitness/view_registry.h"
#include "cli_texts.h"
#include "event_log.h"
#include "exit_codes.h"
#include "text/printf.h"
#include "text/string_table.h"

namespace {

constexpr const char* kProgramName = "quendry-cli.exe";
constexpr uint32_t kTypesSupported = 7; // error, warning, information

std::string Fill(uint16_t id, const std::string& value, Language lang) {
    return modAPI::printf(LoadText(id, lang), {value});
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

bool RegisterSource(IRegistryApi& registry, const std::string& messageFile) {
    RegKeyHandle key = 0;
    if (registry.CreateKey(kHkeyLocalMachine, kEventSourceKey, kKeyReadWrite, key) != kRegOk)
        return false;
    // The path as it is: an environment string would be expanded by the event log service, a
    // 64-bit process on 64-bit Windows, to the other Program Files.
    const std::string path = messageFile + '\0';
    const uint32_t types = kTypesSupported;
    const bool ok =
        registry.SetValue(key, "EventMessageFile", kRegExpandSz,
                          reinterpret_cast<const uint8_t*>(path.data()),
                          static_cast<uint32_t>(path.size())) == kRegOk &&
        registry.SetValue(key, "TypesSupported", kRegDword,
                          reinterpret_cast<const uint8_t*>(&types), sizeof types) == kRegOk;
    registry.CloseKey(key);
    return ok;
}

bool Elevated(CliPlatform& p, Language lang) {
    if (p.Host.IsElevated())
        return true;
    p.Host.WriteErr(LoadText(cli_text::kInstallNotElevated, lang) + "\n");
    return false;
}

} // namespace

std::string InstallFolder(CliPlatform& p) {
    const ViewRegistry view(p.Registry, Bitness::Bits32, p.Machine.IsWindows64());
    const std::optional<std::string> programFiles = view.Text(
        kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    if (!programFiles || programFiles->empty())
        return {};
    std::string folder = *programFiles;
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder + "\\Quendry";
}

int Install(CliPlatform& p, Language lang) {
    using namespace cli_text;
    if (!Elevated(p, lang))
        return kExitNotElevated;
    const std::string folder = InstallFolder(p);
    if (folder.empty()) {
        p.Host.WriteErr(LoadText(kNoProgramFiles, lang) + "\n");
        return kExitAttention;
    }
    const std::string target = folder + "\\" + kProgramName;
    const std::string self = p.Registry.ExecutablePath();
    // Run from the installed copy, it only registers the source again.
    const bool copied = Lower(self) == Lower(target) ||
                        (p.Host.CreateFolder(folder) && p.Host.CopyFileTo(self, target));
    if (!copied) {
        p.Host.WriteErr(Fill(kNotInstalled, target, lang) + "\n");
        return kExitAttention;
    }
    if (!RegisterSource(p.Registry, target)) {
        p.Host.WriteErr(Fill(kNotInstalled, std::string("HKLM\\") + kEventSourceKey, lang) + "\n");
        return kExitAttention;
    }
    p.Host.WriteOut(Fill(kInstalled, target, lang) + "\n");
    return kExitOk;
}

int Uninstall(CliPlatform& p, Language lang) {
    using namespace cli_text;
    if (!Elevated(p, lang))
        return kExitNotElevated;
    bool ok = true;
    const int32_t deleted = p.Registry.DeleteKey(kHkeyLocalMachine, kEventSourceKey);
    if (deleted != kRegOk && deleted != kRegErrFileNotFound) {
        p.Host.WriteErr(Fill(kNotRemoved, std::string("HKLM\\") + kEventSourceKey, lang) + "\n");
        ok = false;
    }
    bool atRestart = false;
    const std::string folder = InstallFolder(p);
    // The copy first, then its folder; a copy that is running now (uninstall started from it)
    // goes when Windows restarts, and its folder with it.
    const std::string program = folder + "\\" + kProgramName;
    for (const auto& [path, removal] :
         {std::pair{program, folder.empty() ? Removal::Gone : p.Host.RemoveFile(program)},
          std::pair{folder, folder.empty() ? Removal::Gone : p.Host.RemoveFolder(folder)}}) {
        if (removal == Removal::Failed) {
            p.Host.WriteErr(Fill(kNotRemoved, path, lang) + "\n");
            ok = false;
        }
        atRestart = atRestart || removal == Removal::AtRestart;
    }
    if (!ok)
        return kExitAttention;
    p.Host.WriteOut(LoadText(atRestart ? kUninstalledAtRestart : kUninstalled, lang) + "\n");
    return kExitOk;
}
