#pragma once
// Files as a program of either bitness sees them, read from this 32-bit process through the
// program file reader (program_file_win.h): for a 64-bit program the named file itself (a path
// under System32 is the 64-bit file, not its SysWOW64 twin), for a 32-bit one the file this
// process's own reads give.
#include "bitness/file_probe.h"
#include "bitness/program_file.h"

class WinFileProbe : public IFileProbe {
public:
    WinFileProbe();
    ProbedFile Probe(const std::string& path, Bitness seenBy) override;

private:
    FileSystemView m_view;
};
