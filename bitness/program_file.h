#pragma once
// Reading the program file a person named as that very file. A 32-bit process on 64-bit Windows
// that opens a path under System32 is given the file of the same name in SysWOW64 (the file
// system redirector): the 32-bit twin of a 64-bit program. The reader opens the named file all
// the same, through Vista's "Sysnative" alias, or on XP x64 and Server 2003 (which lack it) with
// the redirector turned off around the open.
#include <cstdint>
#include <string>

#include "bitness/program_image.h"

// How this process sees the file system.
struct FileSystemView {
    std::string SystemDir; // GetSystemDirectory: "C:\WINDOWS\system32", in a WOW64 process too
    bool Wow64 = false;    // a 32-bit process on 64-bit Windows
    uint32_t OsMajor = 0;  // the Windows version's major number
};

// What to open for a named file.
struct FileOpening {
    std::string Path;
    bool WithoutRedirection = false; // turn the redirector off on this thread around the open

    bool operator==(const FileOpening&) const = default;
};

// `path` is absolute; a path under the system directory is recognised by its long form.
FileOpening OpeningOfNamedFile(const std::string& path, const FileSystemView& view);

enum class ProgramFileStatus {
    Read,         // the image holds what its headers say
    NotFound,     // no such file, folder or drive
    AccessDenied, // the file is there, but this user may not read it
    NotAFile,     // a folder or a device
    Unreadable,   // any other failure to open: SystemError tells which
};

struct ProgramFileResult {
    ProgramFileStatus Status = ProgramFileStatus::Unreadable;
    uint32_t SystemError = 0; // the failed open's error code, for the message
    ProgramImage Image = {};  // when Read
};

// The status of a file that CreateFile could not open, from its error code.
ProgramFileStatus StatusOfOpenError(uint32_t error);
