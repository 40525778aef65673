#pragma once
// Starts quendry-cli.exe from beside the test program, as a script would, and collects what it
// wrote to each stream and its exit code.
#include <windows.h>

#include <string>

inline constexpr const wchar_t* kCliExe = L"quendry-cli.exe";

struct CliResult {
    bool Started = false;
    bool Finished = false;
    DWORD ExitCode = 0;
    std::string Out, Err; // as written, "\r\n" line ends and all
};

// Runs quendry-cli.exe with the arguments, both output streams on pipes; with `token`, as the
// user that token stands for (CreateProcessAsUser). A run that doesn't end within 60 s is ended.
CliResult RunCli(const std::wstring& arguments, HANDLE token = nullptr);

// Everything a pipe or file gives until its end.
std::string ReadAll(HANDLE pipe);
