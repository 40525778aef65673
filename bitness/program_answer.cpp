#include "bitness/program_answer.h"

ProgramAnswer AnswerProgram(const ProbedFile& file, bool windows64) {
    ProgramAnswer answer;
    if (!file.Exists)
        return answer;
    if (file.Unreadable) {
        answer.Verdict = ProgramVerdict::Unreadable;
        answer.SystemError = file.SystemError;
        return answer;
    }
    answer.Machine = file.Image.Machine;
    switch (file.Image.Kind) {
    case ImageKind::NotAProgram:
        answer.Verdict = ProgramVerdict::NotAProgram;
        return answer;
    case ImageKind::Damaged:
        answer.Verdict = ProgramVerdict::Damaged;
        return answer;
    case ImageKind::Native:
    case ImageKind::DotNet:
        break;
    }
    if (file.Image.IsDll) {
        answer.Verdict = ProgramVerdict::Library;
        return answer;
    }
    const std::optional<Bitness> runs =
        RunsAs(file.Image, windows64 ? Bitness::Bits64 : Bitness::Bits32);
    if (!runs) {
        answer.Verdict = ProgramVerdict::OtherMachine;
        return answer;
    }
    answer.Verdict = ProgramVerdict::Runs;
    answer.RunsAs = *runs;
    return answer;
}

const BitnessAnswer* AnswerFor(const ProgramAnswer& program,
                               const std::vector<BitnessAnswer>& answers) {
    if (program.Verdict != ProgramVerdict::Runs)
        return nullptr;
    for (const BitnessAnswer& a : answers)
        if (a.Program == program.RunsAs)
            return &a;
    return nullptr;
}
