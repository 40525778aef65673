#include "app/registration_host_win.h"

#include <windows.h>

#include <objbase.h>

#include <string>

#include "registry/registry_api_win.h"
#include "repair/com_api_win.h"
#include "repair/dll_register.h"
#include "repair/host_protocol.h"
#include "repair/library_api_win.h"
#include "repair/system_library_win.h"

namespace {

// A crash ends the host there and then, with the exception's code as its exit code: no system
// error box, no debugger (Wine starts one for an unhandled exception otherwise), nothing of the
// broken library runs on.
LONG WINAPI EndAtOnce(EXCEPTION_POINTERS* exception) {
    DWORD code = EXCEPTION_ACCESS_VIOLATION;
    if (exception && exception->ExceptionRecord)
        code = exception->ExceptionRecord->ExceptionCode;
    ::TerminateProcess(::GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

bool WriteAll(HANDLE out, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!::WriteFile(out, text.data() + done, static_cast<DWORD>(text.size() - done), &written,
                         nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

// Answers one request line (a registration, or the check of a data provider's class) through
// `out`; false once the answer could not be written. A registration is answered before its
// library is unloaded, so that a crash in the library's detach code can't lose an answer that
// is already known.
bool Answer(const std::string& line, ILibraryApi& libraries, IProviderChecker& checks, HANDLE out) {
    if (const std::optional<HostRequest> request = DecodeRequest(line)) {
        bool replied = false, written = false;
        const auto reply = [&](const RegistrationOutcome& outcome) {
            replied = true;
            written = WriteAll(out, EncodeReply({request->Sequence, outcome.Result,
                                                 outcome.LastError, outcome.Status}));
        };
        // A library that could not be loaded has nothing to unload: answered here.
        const RegistrationOutcome outcome = RegisterComponent(
            libraries, request->Path, request->EntryName, request->DisplayName, reply);
        if (!replied)
            reply(outcome);
        return written;
    }
    if (const std::optional<CheckRequest> request = DecodeCheckRequest(line)) {
        const ProviderClass cls{request->ProgId, request->Clsid, request->Essential};
        return WriteAll(out, EncodeCheckReply({request->Sequence, checks.CheckProvider(cls)}));
    }
    return true; // nothing the wizard sent; there is no one to answer
}

bool IsValid(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

HANDLE RegistrationHostPipe(const wchar_t* commandLine) {
    if (commandLine == nullptr)
        return nullptr;
    std::wstring line(commandLine);
    const size_t first = line.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return nullptr;
    line = line.substr(first, line.find_last_not_of(L" \t") + 1 - first);
    const std::string expected = std::string(kRegistrationHostSwitch) + " ";
    if (line.size() <= expected.size() ||
        line.compare(0, expected.size(), std::wstring(expected.begin(), expected.end())) != 0)
        return nullptr;
    uintptr_t value = 0;
    for (size_t i = expected.size(); i < line.size(); ++i) {
        if (line[i] < L'0' || line[i] > L'9' || value > (UINTPTR_MAX - 9) / 10)
            return nullptr;
        value = value * 10 + static_cast<uintptr_t>(line[i] - L'0');
    }
    HANDLE pipe = reinterpret_cast<HANDLE>(value);
    return IsValid(pipe) && ::GetFileType(pipe) == FILE_TYPE_PIPE ? pipe : nullptr;
}

int RunRegistrationHost(HANDLE pipe) {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetUnhandledExceptionFilter(EndAtOnce);
    // The pipe is the host's alone: a process a library starts does not inherit it.
    ::SetHandleInformation(pipe, HANDLE_FLAG_INHERIT, 0);
    HANDLE in = pipe, out = pipe;

    // Component libraries expect COM on the thread that registers them, and the classes checked
    // are created in a single-threaded apartment, as database programs create them.
    const auto initialize = SYSTEM_FUNCTION(L"ole32.dll", CoInitializeEx);
    const auto uninitialize = SYSTEM_FUNCTION(L"ole32.dll", CoUninitialize);
    const HRESULT apartment =
        initialize && uninitialize ? initialize(nullptr, COINIT_APARTMENTTHREADED) : E_NOTIMPL;
    Win32LibraryApi libraries;
    Win32RegistryApi registry;
    Win32ComApi objects;
    InProcessProviderChecker checks(registry, objects);
    LineBuffer lines;
    char buffer[4096];
    bool open = true;
    while (open) {
        while (std::optional<std::string> line = lines.NextLine()) {
            if (!Answer(*line, libraries, checks, out)) {
                open = false;
                break;
            }
        }
        DWORD read = 0;
        if (!open || !::ReadFile(in, buffer, sizeof buffer, &read, nullptr) || read == 0)
            break;
        lines.Append(buffer, read);
    }
    if (SUCCEEDED(apartment))
        uninitialize();
    ::CloseHandle(pipe);
    return 0;
}
