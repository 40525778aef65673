#pragma once
// The program file a person named, opened as that very file (bitness/program_file.h) and read
// for its headers.
#include <string>

#include "bitness/program_file.h"

// How this process sees the file system: system directory, WOW64, Windows version.
FileSystemView CurrentFileSystemView();

// Reads the headers of the file at `path` (absolute) and closes it.
ProgramFileResult ReadProgramFile(const std::wstring& path);
// The same as a process with `view` would: tests take the older systems' way on a newer one.
ProgramFileResult ReadProgramFile(const std::wstring& path, const FileSystemView& view);
