#include "cli_process.h"

#include <gtest/gtest.h>

#include "driver.h"

namespace {

// One pipe read to its end on a thread of its own, so that neither stream fills while the other
// is read.
struct PipeReader {
    HANDLE Pipe;
    std::string Text;
};

DWORD WINAPI ReadPipeToEnd(LPVOID reader) {
    auto* r = static_cast<PipeReader*>(reader);
    r->Text = ReadAll(r->Pipe);
    return 0;
}

// Every report a test asked for as JSON is kept beside the tests, so that the step after them
// (scripts/check-report-json.py) holds each to the published schema.
void KeepJson(const std::wstring& arguments, const CliResult& result) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (arguments.find(L"--json") == std::wstring::npos || !result.Finished ||
        result.Out.rfind('{', 0) != 0 || test == nullptr)
        return;
    static int kept = 0;
    std::string name = std::string(test->test_suite_name()) + "." + test->name() + "." +
                       std::to_string(++kept) + ".json";
    for (char& c : name)
        if (c == '/' || c == '\\')
            c = '_';
    const std::wstring folder = ExeFolder() + L"\\report-json";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + std::wstring(name.begin(), name.end());
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "can't keep the report for the schema check";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, result.Out.data(), static_cast<DWORD>(result.Out.size()),
                              &written, nullptr);
    CloseHandle(file);
    EXPECT_TRUE(ok && written == result.Out.size());
}

} // namespace

std::string ReadAll(HANDLE pipe, const std::function<void()>& grown) {
    std::string text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) {
        text.append(buffer, n);
        if (grown)
            grown();
    }
    return text;
}

CliResult RunCli(const std::wstring& arguments, HANDLE token,
                 const std::function<void()>& whileRunning) {
    CliResult result;
    SECURITY_ATTRIBUTES inherit = {};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) ||
        !CreatePipe(&errRead, &errWrite, &inherit, 0))
        return result;
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    const std::wstring exe = ExeFolder() + L"\\" + kCliExe;
    std::wstring cmd = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    PROCESS_INFORMATION pi = {};
    result.Started =
        token ? CreateProcessAsUserW(token, exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0,
                                     nullptr, ExeFolder().c_str(), &si, &pi) != FALSE
              : CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               ExeFolder().c_str(), &si, &pi) != FALSE;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (result.Started) {
        PipeReader errors{errRead, {}};
        const LPTHREAD_START_ROUTINE read = ReadPipeToEnd;
        HANDLE thread = CreateThread(nullptr, 0, read, &errors, 0, nullptr);
        if (!thread)
            ReadPipeToEnd(&errors);
        result.Out = ReadAll(outRead, whileRunning);
        if (thread) {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
        result.Err = errors.Text;
        result.Finished = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
        if (!result.Finished)
            TerminateProcess(pi.hProcess, 99);
        GetExitCodeProcess(pi.hProcess, &result.ExitCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    KeepJson(arguments, result);
    return result;
}
