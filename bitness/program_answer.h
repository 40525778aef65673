#pragma once
// The answer for one program a person names: what it runs as on this Windows, and which database
// files it can open, from the per-bitness answer.
#include <optional>
#include <string>

#include "bitness/database_answer.h"
#include "bitness/file_probe.h"

enum class ProgramVerdict {
    NotFound,
    Unreadable, // there, but this account can't read it
    NotAProgram,
    Damaged,
    Library,      // a DLL: some program loads it
    OtherMachine, // a program this Windows doesn't run (ARM64 on x64, x64 on 32-bit Windows)
    Runs,
};

struct ProgramAnswer {
    ProgramVerdict Verdict = ProgramVerdict::NotFound;
    Bitness RunsAs = Bitness::Bits32; // Runs only
    uint16_t Machine = 0;
    uint32_t SystemError = 0; // Unreadable
};

ProgramAnswer AnswerProgram(const ProbedFile& file, bool windows64);

// The per-bitness answer that holds for the program; nothing unless it runs.
const BitnessAnswer* AnswerFor(const ProgramAnswer& program,
                               const std::vector<BitnessAnswer>& answers);
