#pragma once
// Starts quendry-cli.exe from beside the test program, as a script would, and collects what it
// wrote to each stream and its exit code.
#include <windows.h>

#include <functional>
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
// `whileRunning` is called each time the output grows.
CliResult RunCli(const std::wstring& arguments, HANDLE token = nullptr,
                 const std::function<void()>& whileRunning = {});

// Everything a pipe or file gives until its end; `grown` is called after each read.
std::string ReadAll(HANDLE pipe, const std::function<void()>& grown = {});
