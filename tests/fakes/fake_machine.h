#pragma once
// Files and machine facts from tables: a file is there for the bitness that looks, with the
// image a test gives it (what a 32-bit program finds under System32 is not what a 64-bit one
// finds); the machine is 32- or 64-bit Windows and runs as a named account.
#include <map>
#include <string>
#include <utility>

#include "bitness/file_probe.h"
#include "bitness/machine_facts.h"

class FakeFiles : public IFileProbe {
public:
    std::map<std::pair<std::string, Bitness>, ProgramImage> Images;

    // A library of the machine type, seen by programs of the bitness.
    void AddLibrary(const std::string& path, Bitness seenBy, uint16_t machine) {
        Images[{path, seenBy}] = {.Kind = ImageKind::Native, .Machine = machine, .IsDll = true};
    }
    ProbedFile Probe(const std::string& path, Bitness seenBy) override {
        auto found = Images.find({path, seenBy});
        if (found == Images.end())
            return {};
        return {.Exists = true, .Image = found->second};
    }
};

class FakeMachine : public IMachineFacts {
public:
    bool Windows64 = false;
    std::string Account = "PC\\anna";
    bool IsWindows64() override { return Windows64; }
    std::string UserAccount() override { return Account; }
};
