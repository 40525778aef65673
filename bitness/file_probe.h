#pragma once
// Whether a file is there and what its PE header says, read as a program of a given bitness sees
// it: a 32-bit program's reads of the system folder go to SysWOW64 on 64-bit Windows, a 64-bit
// program's don't. The Win32 adapter reads only the headers; tests answer from a table.
#include <cstdint>
#include <string>

#include "bitness/program_image.h"

struct ProbedFile {
    bool Exists = false;
    bool Unreadable = false;  // there, but this account can't read it (or it is no plain file)
    uint32_t SystemError = 0; // why it can't be read
    ProgramImage Image = {};
};

class IFileProbe {
public:
    virtual ~IFileProbe() = default;
    virtual ProbedFile Probe(const std::string& path, Bitness seenBy) = 0;
};
