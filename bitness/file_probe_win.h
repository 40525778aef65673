#pragma once
// Files as a program of either bitness sees them, read from this 32-bit process: for a 64-bit
// program, a path under the system folder is opened through Sysnative (Vista and later) or with
// the file system redirector turned off around the open (XP x64), so that it is the 64-bit file.
#include "bitness/file_probe.h"
#include "bitness/program_file.h"

class WinFileProbe : public IFileProbe {
public:
    WinFileProbe();
    ProbedFile Probe(const std::string& path, Bitness seenBy) override;

private:
    FileSystemView m_view;
};
