#include "bitness/file_probe_win.h"

#include "bitness/program_file_win.h"
#include "text/win_text.h"

WinFileProbe::WinFileProbe() : m_view(CurrentFileSystemView()) {}

ProbedFile WinFileProbe::Probe(const std::string& path, Bitness seenBy) {
    // A 32-bit program's reads are redirected like this process's own: read as a process
    // without WOW64 would name the file, the path is opened as it is.
    FileSystemView view = m_view;
    if (seenBy == Bitness::Bits32)
        view.Wow64 = false;
    const ProgramFileResult read = ReadProgramFile(Widen(path), view);
    switch (read.Status) {
    case ProgramFileStatus::Read:
        return {.Exists = true, .Image = read.Image};
    case ProgramFileStatus::NotFound:
        return {};
    case ProgramFileStatus::AccessDenied:
    case ProgramFileStatus::NotAFile:
    case ProgramFileStatus::Unreadable:
        break;
    }
    return {.Exists = true, .Unreadable = true, .SystemError = read.SystemError};
}
