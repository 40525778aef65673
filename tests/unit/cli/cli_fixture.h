#pragma once
// A scripted system for the console companion: the wizard's fakes, a host that records what the
// program writes, and helpers that lay out the MDAC and Jet libraries.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/mod_api.h"
#include "cli/cli_host.h"
#include "cli/cli_run.h"
#include "repair/component_table.h"
#include "tests/fakes/counting_registrar.h"
#include "tests/fakes/fake_library_api.h"
#include "tests/fakes/fake_machine.h"
#include "tests/fakes/fake_provider_checker.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_system.h"
#include "tests/fakes/fake_version_api.h"
#include "text/string_table.h"

class RecordingHost : public ICliHost {
public:
    std::string Out, Err;
    std::vector<std::string> OutWrites; // each write to the output, in order
    std::map<std::string, std::string> Files;
    std::set<std::string> Unwritable;
    bool Elevated = true;
    int ElevationQueries = 0;
    bool Catching = false;
    size_t StopAfterWrites = SIZE_MAX; // the user stops once the output had this many writes

    void WriteOut(const std::string& text) override {
        Out += text;
        OutWrites.push_back(text);
    }
    void WriteErr(const std::string& text) override { Err += text; }
    bool WriteFileBytes(const std::string& path, const std::string& bytes) override {
        if (Unwritable.count(path))
            return false;
        Files[path] = bytes;
        return true;
    }
    std::set<std::string> Folders;
    std::map<std::string, std::string> Copies; // to -> from
    std::set<std::string> InUse;               // removed only at restart
    bool CreateFolder(const std::string& path) override {
        Folders.insert(path);
        return true;
    }
    bool CopyFileTo(const std::string& from, const std::string& to) override {
        if (Unwritable.count(to))
            return false;
        Copies[to] = from;
        return true;
    }
    Removal RemoveFile(const std::string& path) override {
        Copies.erase(path);
        return InUse.count(path) ? Removal::AtRestart : Removal::Gone;
    }
    Removal RemoveFolder(const std::string& path) override {
        Folders.erase(path);
        return InUse.count(path) ? Removal::AtRestart : Removal::Gone;
    }
    bool IsElevated() override {
        ++ElevationQueries;
        return Elevated;
    }
    void CatchStop() override { Catching = true; }
    bool StopRequested() override { return Catching && OutWrites.size() >= StopAfterWrites; }
};

struct ScriptedSystem {
    static constexpr const char* kCommon = "C:\\Program Files\\Common Files";
    static constexpr const char* kSystemDir = "C:\\WINDOWS\\system32";
    static constexpr uint16_t kEnglish = 0x0409;
    static constexpr uint16_t kGerman = 0x0407;

    FakeSystem system;
    FakeRegistry registry;
    FakeVersionApi versions;
    FakeLibraryApi libraries;
    CountingRegistrar registrar{libraries};
    RecordingHost host;
    FakeProviderChecker providers;
    FakeFiles files;
    FakeMachine machine;
    CliPlatform platform{system,    registry, versions, libraries, registrar,
                         providers, host,     files,    machine};

    ScriptedSystem() {
        modAPI::ResetWindowsVersionClass();
        system.SystemDir = kSystemDir;
        system.CommonFiles = kCommon;
    }
    ~ScriptedSystem() { modAPI::ResetWindowsVersionClass(); }

    static std::string PathOf(size_t index) {
        const ComponentRow& row = kComponentRows[index];
        return std::string(row.base == ComponentBase::CommonFiles ? kCommon : kSystemDir) +
               row.appendedPath;
    }

    void SetMdac(const std::string& fullInstallVer) {
        registry.SetStringValue(kHkeyLocalMachine, "Software\\Microsoft\\DataAccess",
                                "FullInstallVer", fullInstallVer);
    }
    // One library: its version and, for the repair, a registering library at its path.
    void Place(size_t index, uint16_t major, uint16_t minor, uint16_t build, uint16_t revision = 0,
               FakeLibraryApi::Kind kind = FakeLibraryApi::Kind::Registering, int32_t status = 0) {
        versions.Add(PathOf(index), major, minor, build, revision);
        auto it = libraries.files.find(PathOf(index));
        if (it == libraries.files.end()) {
            libraries.Add(PathOf(index), kind, status);
        } else { // the fake has a limited number of entry points: keep this one's
            it->second.kind = kind;
            it->second.status = status;
        }
    }
    // Every MDAC library (0 to 27) at 2.81.1117 and the three Jet libraries at 4.0.jetBuild.
    void AllPresent(uint16_t jetBuild = 8015) {
        for (size_t i = 0; i < kComponentCount; ++i) {
            if (i < 28)
                Place(i, 2, 81, 1117);
            else
                Place(i, 4, 0, jetBuild);
        }
    }
    void Remove(size_t index) {
        versions.files.erase(PathOf(index));
        libraries.files.erase(PathOf(index));
    }

    int Run(const std::vector<std::string>& args) { return RunCli(args, platform); }
    Language Lang() const { return LanguageFromLangId(system.UiLanguage); }
    std::string T(uint16_t id) const { return LoadText(id, Lang()); }
};
