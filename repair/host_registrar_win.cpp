#include "repair/host_registrar_win.h"

#include <wincrypt.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "repair/inherit_only_win.h"
#include "repair/process_image_win.h"

namespace {

constexpr DWORD kWaitSliceMs = 100;
// How long a host that lost its input gets to end by itself, and how long ending one may take.
constexpr DWORD kHostEndGraceMs = 2000;
constexpr DWORD kKillWaitMs = 5000;
constexpr UINT kKilledExitCode = 1;
constexpr DWORD kPipeBufferBytes = 4096;
// Names tried before a host is given up: each is new and random, so a name another process took
// first can't keep the host from starting, nor turn isolation off.
constexpr int kPipeNameTries = 3;

// Not in the headers that describe Windows 2000.
constexpr DWORD kCreateBreakawayFromJob = 0x01000000;
constexpr DWORD kJobLimitKillOnJobClose = 0x00002000;
constexpr DWORD kJobLimitDieOnUnhandledException = 0x00000400;
constexpr DWORD kPipeRejectRemoteClients = 0x00000008; // Vista and later

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (const char* p = text; *p; ++p)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*p)); // the switch is ASCII
    return wide;
}

// 128 bits from the system's cryptographic generator, as hex; empty when it gives none.
std::wstring RandomHex() {
    HCRYPTPROV provider = 0;
    if (!::CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL,
                                CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
        return {};
    BYTE bytes[16] = {};
    const bool ok = ::CryptGenRandom(provider, sizeof bytes, bytes) != FALSE;
    ::CryptReleaseContext(provider, 0);
    if (!ok)
        return {};
    wchar_t text[2 * sizeof bytes + 1] = {};
    for (size_t i = 0; i < sizeof bytes; ++i)
        std::swprintf(text + 2 * i, 3, L"%02x", bytes[i]);
    return text;
}

bool RemoteClientsCanBeRefused() {
    OSVERSIONINFOW v = {};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return ::GetVersionExW(&v) && v.dwPlatformId == VER_PLATFORM_WIN32_NT && v.dwMajorVersion >= 6;
#pragma GCC diagnostic pop
}

// The server end of a new pipe of one instance, for overlapped reading and writing, under a
// random name, and its client end for the host (inheritable), connected here before the host
// starts, so that no other process can open the pipe after that. A process that took the name or
// connected first (one that lists the pipes could) only makes this try another name. Invalid
// when no pipe could be made.
HANDLE NewConnectedPipe(HANDLE& hostEnd) {
    const DWORD mode = PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT |
                       (RemoteClientsCanBeRefused() ? kPipeRejectRemoteClients : 0);
    SECURITY_ATTRIBUTES inherit = {};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    for (int i = 0; i < kPipeNameTries; ++i) {
        const std::wstring random = RandomHex();
        if (random.empty())
            return INVALID_HANDLE_VALUE;
        const std::wstring name = L"\\\\.\\pipe\\Quendry.registration." + random;
        HANDLE pipe = ::CreateNamedPipeW(
            name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            mode, 1, kPipeBufferBytes, kPipeBufferBytes, 0, nullptr);
        if (pipe == INVALID_HANDLE_VALUE)
            continue;
        hostEnd = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inherit,
                                OPEN_EXISTING, 0, nullptr);
        if (hostEnd != INVALID_HANDLE_VALUE)
            return pipe;
        ::CloseHandle(pipe);
    }
    return INVALID_HANDLE_VALUE;
}

// Whether a failed CreateProcess says that the system can't start a process now (it is out of
// memory or resources), rather than that the checked file can't be started from its path (gone,
// denied, blocked by policy, not a program): only then do registrations go on in this process.
// The file is held and was checked, so a failure of the second kind means the path leads
// somewhere else now, and the run is refused.
bool SystemCannotStartProcesses(DWORD error) {
    switch (error) {
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
    case ERROR_COMMITMENT_LIMIT:
        return true;
    default:
        return false;
    }
}

// Counts a call of the registrar for as long as it lasts.
struct CallInProgress {
    explicit CallInProgress(int& calls) : Calls(calls) { ++Calls; }
    ~CallInProgress() { --Calls; }
    CallInProgress(const CallInProgress&) = delete;
    CallInProgress& operator=(const CallInProgress&) = delete;
    int& Calls;
};

bool IsValid(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// Waits for one of `handles` until `timeoutMs`, handling the messages other threads send to this
// thread's windows meanwhile; WAIT_OBJECT_0 + i for the i-th handle, or WAIT_TIMEOUT.
DWORD WaitHandlingSentMessages(DWORD count, const HANDLE* handles, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        const DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
        const DWORD result =
            ::MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + count)
            return result;
        // Sent messages are handled inside PeekMessage; nothing posted is taken off the queue.
        MSG msg = {};
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

OutOfProcessRegistrar::OutOfProcessRegistrar(ILibraryApi& inProcess, HostRegistrarOptions options)
    : m_inProcess(inProcess), m_options(std::move(options)) {}

OutOfProcessRegistrar::~OutOfProcessRegistrar() {
    EndHost();
}

bool OutOfProcessRegistrar::HostRunning() const {
    return m_process != nullptr && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

void OutOfProcessRegistrar::Prepare() {
    const CallInProgress call(m_calls);
    if (m_stopped || m_inProcessOnly || HostRunning())
        return;
    KillHost();
    if (StartHost() == Start::CannotRun)
        m_inProcessOnly = true;
}

RegistrationOutcome OutOfProcessRegistrar::Register(const std::string& path,
                                                    const std::string& entryName,
                                                    const std::string& displayName) {
    const CallInProgress call(m_calls);
    RegistrationOutcome outcome;
    outcome.DisplayName = displayName;
    if (const std::optional<Collected> collected = std::exchange(m_collected, std::nullopt))
        if (collected->Request.Asks(path, entryName, displayName))
            return collected->Outcome;
    if (m_stopped) {
        outcome.Result = RegistrationResult::HostRefused;
        return outcome;
    }
    if (m_inProcessOnly || !IsFullyQualifiedPath(path))
        return RegisterComponent(m_inProcess, path, entryName, displayName);
    std::optional<Begun> begun = std::exchange(m_begun, std::nullopt);
    if (begun && !begun->Asks(path, entryName, displayName)) {
        // Another library's, which the host works on: it is waited for and passed over, so that
        // what it does is never put down to this one.
        Collect(*begun);
        begun.reset();
    }
    // The host died while this library was in work, perhaps of what an earlier library left
    // running: once more in a fresh host, and a second death is the library's own.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const uint32_t sequence = begun && attempt == 0 ? begun->Sequence : ++m_sequence;
        std::optional<HostReply> reply;
        const auto isReply = [&](std::string_view line) {
            reply = DecodeReply(line);
            return reply && reply->Sequence == sequence;
        };
        const Exchange ex =
            begun && attempt == 0
                ? AwaitReply(isReply, begun->SentAt)
                : ExchangeWithHost(EncodeRequest({sequence, path, entryName, displayName}),
                                   isReply);
        switch (ex.End) {
        case HostEnd::Replied:
            return OutcomeOf(*reply, displayName);
        case HostEnd::TimedOut:
            outcome.Result = RegistrationResult::TimedOut;
            return outcome;
        case HostEnd::Refused:
            outcome.Result = RegistrationResult::HostRefused;
            return outcome;
        case HostEnd::CannotRun:
            // Not even this program can be started: the repair goes on here, as it did before
            // there were hosts.
            return RegisterComponent(m_inProcess, path, entryName, displayName);
        case HostEnd::Died:
            outcome = HostEndedOutcome(ex.ExitCode, displayName);
            break;
        }
    }
    return outcome;
}

void OutOfProcessRegistrar::Begin(const std::string& path, const std::string& entryName,
                                  const std::string& displayName) {
    const CallInProgress call(m_calls);
    m_begun.reset();
    if (m_stopped || m_inProcessOnly || !IsFullyQualifiedPath(path) || !HostRunning())
        return;
    Begun begun;
    begun.Sequence = ++m_sequence;
    begun.Request = EncodeRequest({begun.Sequence, path, entryName, displayName});
    begun.DisplayName = displayName;
    begun.SentAt = ::GetTickCount();
    if (Send(begun.Request, begun.SentAt) != Step::Done) {
        // A host that takes no request is gone or stuck: no write may stay pending on the pipe.
        // Register sends the request again, to a new host.
        KillHost();
        return;
    }
    m_begun = std::move(begun);
}

RegistrationOutcome OutOfProcessRegistrar::Collect(const Begun& begun) {
    RegistrationOutcome outcome;
    outcome.DisplayName = begun.DisplayName;
    std::optional<HostReply> reply;
    const Exchange ex = AwaitReply(
        [&](std::string_view line) {
            reply = DecodeReply(line);
            return reply && reply->Sequence == begun.Sequence;
        },
        begun.SentAt);
    switch (ex.End) {
    case HostEnd::Replied:
        return OutcomeOf(*reply, begun.DisplayName);
    case HostEnd::Died:
        return HostEndedOutcome(ex.ExitCode, begun.DisplayName);
    default:
        outcome.Result = RegistrationResult::TimedOut;
        return outcome;
    }
}

void OutOfProcessRegistrar::Stop() {
    m_stopped = true;
    if (m_pending) {
        // The end came while this thread waits for the reply (the wait handles sent messages):
        // the reply coming in, or the host's end, is the registration's return.
        const DWORD elapsed = ::GetTickCount() - m_pendingSince;
        const HANDLE handles[2] = {m_event, m_process};
        if (m_event && m_process && elapsed < m_options.TimeLimitMs)
            WaitHandlingSentMessages(2, handles, m_options.TimeLimitMs - elapsed);
        return;
    }
    // Sent and not yet collected, with no other call of this object in progress below.
    if (m_begun && m_calls == 0) {
        const Begun begun = *std::exchange(m_begun, std::nullopt);
        m_collected = Collected{begun, Collect(begun)};
    }
}

ProviderCheck OutOfProcessRegistrar::CheckProvider(const ProviderClass& cls) {
    const CallInProgress call(m_calls);
    ProviderCheck check;
    check.ProgId = std::string(cls.ProgId);
    check.Clsid = std::string(cls.Clsid);
    check.Essential = cls.Essential;
    if (m_stopped) {
        check.State = ProviderState::HostRefused;
        return check;
    }
    if (m_inProcessOnly && m_options.InProcessChecks)
        return m_options.InProcessChecks->CheckProvider(cls);
    // The same rules as for a registration: creating an object runs the library's code.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const CheckRequest request{++m_sequence, check.ProgId, check.Clsid, check.Essential};
        std::optional<CheckReply> reply;
        const Exchange ex =
            ExchangeWithHost(EncodeCheckRequest(request), [&](std::string_view line) {
                reply = DecodeCheckReply(line, request);
                return reply.has_value();
            });
        switch (ex.End) {
        case HostEnd::Replied:
            return reply->Check;
        case HostEnd::TimedOut:
            check.State = ProviderState::TimedOut;
            return check;
        case HostEnd::Refused:
            check.State = ProviderState::HostRefused;
            return check;
        case HostEnd::CannotRun:
            if (m_options.InProcessChecks)
                return m_options.InProcessChecks->CheckProvider(cls);
            check.State = ProviderState::HostRefused;
            return check;
        case HostEnd::Died: {
            const RegistrationOutcome ended = HostEndedOutcome(ex.ExitCode, check.ProgId);
            check.State = ended.Result == RegistrationResult::Crashed ? ProviderState::Crashed
                                                                      : ProviderState::EndedProcess;
            check.Status = ended.Status;
            if (m_options.ClassRegistry)
                ReadProviderRegistration(*m_options.ClassRegistry, check);
            break;
        }
        }
    }
    return check;
}

OutOfProcessRegistrar::Exchange
OutOfProcessRegistrar::ExchangeWithHost(const std::string& request,
                                        const std::function<bool(std::string_view)>& isReply) {
    Step step = Step::HostGone;
    DWORD start = 0;
    // A host that ended since the last request (a thread a library left behind, say) had no part
    // in this one: a new host takes it, once.
    for (int attempt = 0; attempt < 2 && step == Step::HostGone; ++attempt) {
        if (m_stopped)
            return {HostEnd::Refused};
        if (!HostRunning()) {
            KillHost();
            switch (StartHost()) {
            case Start::Started:
                break;
            case Start::Refused:
                return {HostEnd::Refused};
            case Start::CannotRun:
                m_inProcessOnly = true;
                return {HostEnd::CannotRun};
            }
        }
        start = ::GetTickCount();
        step = Send(request, start);
    }
    if (step != Step::Done)
        return Settle(step, isReply, start);
    return AwaitReply(isReply, start);
}

OutOfProcessRegistrar::Exchange
OutOfProcessRegistrar::AwaitReply(const std::function<bool(std::string_view)>& isReply,
                                  DWORD sentAt) {
    m_pending = true;
    m_pendingSince = sentAt;
    const Step step = Receive(isReply, sentAt);
    m_pending = false;
    return Settle(step, isReply, sentAt);
}

OutOfProcessRegistrar::Exchange
OutOfProcessRegistrar::Settle(Step step, const std::function<bool(std::string_view)>& isReply,
                              DWORD start) {
    if (step == Step::Done)
        return {HostEnd::Replied};

    if (step == Step::HostGone)
        step = WaitForHostEnd(start);
    if (step == Step::TimedOut) {
        KillHost();
        return {HostEnd::TimedOut};
    }
    // The host is gone. What it wrote before it went still counts: a reply means the library
    // was done with, and the end came after.
    SettleIo();
    if (TakeReply(isReply)) {
        KillHost();
        return {HostEnd::Replied};
    }
    DWORD exitCode = 0;
    if (m_process && !::GetExitCodeProcess(m_process, &exitCode))
        exitCode = 0;
    KillHost();
    return {HostEnd::Died, exitCode};
}

OutOfProcessRegistrar::Start OutOfProcessRegistrar::StartHost() {
    const std::optional<HostImage> image =
        m_options.HostProgram ? m_options.HostProgram() : std::nullopt;
    if (!image || image->Path.empty() || !image->Bytes)
        return Start::Refused;
    const std::wstring& program = image->Path;
    HANDLE hostEnd = INVALID_HANDLE_VALUE;
    HANDLE pipe = NewConnectedPipe(hostEnd);
    if (pipe == INVALID_HANDLE_VALUE)
        return Start::Refused;
    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (event == nullptr) {
        ::CloseHandle(hostEnd);
        ::CloseHandle(pipe);
        return Start::Refused;
    }

    // Everything the host starts goes with it: ending the job ends them all, and so does this
    // process ending, however it ends.
    HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags =
            kJobLimitKillOnJobClose | kJobLimitDieOnUnhandledException;
        if (!::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                       sizeof limits)) {
            ::CloseHandle(job);
            job = nullptr;
        }
    }

    // The host gets the pipe and nothing else of this process: no standard handles at all, so
    // that what a library prints goes nowhere, and this process's own (a console, the pipe of a
    // program that started it) are not inherited.
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE own = ::GetStdHandle(which);
        if (IsValid(own))
            ::SetHandleInformation(own, HANDLE_FLAG_INHERIT, 0);
    }
    std::wstring commandLine = L"\"" + program + L"\" " + Widen(kRegistrationHostSwitch) + L" " +
                               std::to_wstring(reinterpret_cast<uintptr_t>(hostEnd));
    InheritOnly inheritOnly(hostEnd);
    STARTUPINFOW& startup = *inheritOnly.Startup();
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_FORCEOFFFEEDBACK;
    PROCESS_INFORMATION info = {};
    // Suspended until it is checked and in the job; with no console, so that the user's Ctrl+C
    // and the console's closing never reach it. Where this process is in a job of its own (a
    // launcher's), the host leaves it if it may; a system without nested jobs could not put it
    // in ours else.
    const DWORD flags = CREATE_SUSPENDED | DETACHED_PROCESS | inheritOnly.CreationFlags();
    BOOL created =
        ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                         flags | kCreateBreakawayFromJob, nullptr, nullptr, &startup, &info);
    if (!created && ::GetLastError() == ERROR_ACCESS_DENIED)
        created = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                   flags, nullptr, nullptr, &startup, &info);
    const DWORD createError = created ? ERROR_SUCCESS : ::GetLastError();
    ::CloseHandle(hostEnd);
    // The path is looked up again by the system: whatever it found, only the checked bytes run.
    const bool genuine = created && ProcessMapsFile(info.hProcess, *image->Bytes);
    if (created && !genuine) {
        ::TerminateProcess(info.hProcess, kKilledExitCode);
        WaitHandlingSentMessages(1, &info.hProcess, kKillWaitMs);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    if (!genuine) {
        if (job)
            ::CloseHandle(job);
        ::CloseHandle(event);
        ::CloseHandle(pipe);
        return created || !SystemCannotStartProcesses(createError) ? Start::Refused
                                                                   : Start::CannotRun;
    }
    // Where the job can't take it (an older system, inside a launcher's job), the host still runs
    // apart and is ended on its own; only what it starts would outlive it.
    if (job && !::AssignProcessToJobObject(job, info.hProcess)) {
        ::CloseHandle(job);
        job = nullptr;
    }
    ::ResumeThread(info.hThread);
    ::CloseHandle(info.hThread);

    m_job = job;
    m_process = info.hProcess;
    m_processId = info.dwProcessId;
    m_pipe = pipe;
    m_event = event;
    m_ioPending = false;
    m_lines = LineBuffer();
    ++m_hostsStarted;
    return Start::Started;
}

OutOfProcessRegistrar::Step OutOfProcessRegistrar::WaitForIo(DWORD start) {
    const HANDLE handles[2] = {m_event, m_process};
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= m_options.TimeLimitMs)
            return Step::TimedOut;
        const DWORD slice = std::min<DWORD>(m_options.TimeLimitMs - elapsed, kWaitSliceMs);
        // The reply comes first when both are there.
        switch (WaitHandlingSentMessages(2, handles, slice)) {
        case WAIT_OBJECT_0:
            return Step::Done;
        case WAIT_OBJECT_0 + 1:
            return Step::HostGone;
        case WAIT_TIMEOUT:
            if (m_options.WhileWaiting)
                m_options.WhileWaiting();
            break;
        default:
            return Step::HostGone;
        }
    }
}

OutOfProcessRegistrar::Step OutOfProcessRegistrar::Send(const std::string& line, DWORD start) {
    m_writeBuffer = line;
    m_overlapped = {};
    m_overlapped.hEvent = m_event;
    if (!::WriteFile(m_pipe, m_writeBuffer.data(), static_cast<DWORD>(m_writeBuffer.size()),
                     nullptr, &m_overlapped) &&
        ::GetLastError() != ERROR_IO_PENDING)
        return Step::HostGone;
    m_ioPending = true;
    m_ioIsRead = false;
    const Step step = WaitForIo(start);
    if (step != Step::Done)
        return step;
    DWORD written = 0;
    const BOOL ok = ::GetOverlappedResult(m_pipe, &m_overlapped, &written, FALSE);
    m_ioPending = false;
    return ok && written == m_writeBuffer.size() ? Step::Done : Step::HostGone;
}

bool OutOfProcessRegistrar::TakeReply(const std::function<bool(std::string_view)>& isReply) {
    // Lines that are no reply to this request (a library's own output, say) are passed over.
    while (std::optional<std::string> line = m_lines.NextLine())
        if (isReply(*line))
            return true;
    return false;
}

OutOfProcessRegistrar::Step
OutOfProcessRegistrar::Receive(const std::function<bool(std::string_view)>& isReply, DWORD start) {
    for (;;) {
        if (TakeReply(isReply))
            return Step::Done;
        m_overlapped = {};
        m_overlapped.hEvent = m_event;
        if (!::ReadFile(m_pipe, m_readBuffer, sizeof m_readBuffer, nullptr, &m_overlapped) &&
            ::GetLastError() != ERROR_IO_PENDING)
            return Step::HostGone;
        m_ioPending = true;
        m_ioIsRead = true;
        const Step step = WaitForIo(start);
        if (step != Step::Done)
            return step;
        DWORD read = 0;
        const BOOL ok = ::GetOverlappedResult(m_pipe, &m_overlapped, &read, FALSE);
        m_ioPending = false;
        if (!ok || read == 0)
            return Step::HostGone;
        m_lines.Append(m_readBuffer, read);
    }
}

OutOfProcessRegistrar::Step OutOfProcessRegistrar::WaitForHostEnd(DWORD start) {
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= m_options.TimeLimitMs)
            return Step::TimedOut;
        const DWORD slice = std::min<DWORD>(m_options.TimeLimitMs - elapsed, kWaitSliceMs);
        const DWORD result = WaitHandlingSentMessages(1, &m_process, slice);
        if (result != WAIT_TIMEOUT)
            return Step::HostGone;
        if (m_options.WhileWaiting)
            m_options.WhileWaiting();
    }
}

void OutOfProcessRegistrar::SettleIo() {
    if (!m_ioPending)
        return;
    ::CancelIo(m_pipe);
    DWORD transferred = 0;
    if (::GetOverlappedResult(m_pipe, &m_overlapped, &transferred, TRUE) && m_ioIsRead &&
        transferred > 0)
        m_lines.Append(m_readBuffer, transferred);
    m_ioPending = false;
}

void OutOfProcessRegistrar::KillHost() {
    if (m_job) {
        ::TerminateJobObject(m_job, kKilledExitCode);
        // Until the last process of the job is gone, so that none outlives the registration.
        const DWORD start = ::GetTickCount();
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
        while (::QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &accounting,
                                           sizeof accounting, nullptr) &&
               accounting.ActiveProcesses > 0 && ::GetTickCount() - start < kKillWaitMs)
            WaitHandlingSentMessages(0, nullptr, 10);
    }
    if (m_process) {
        ::TerminateProcess(m_process, kKilledExitCode);
        WaitHandlingSentMessages(1, &m_process, kKillWaitMs);
    }
    CloseHostHandles();
}

void OutOfProcessRegistrar::EndHost() {
    if (m_process && IsValid(m_pipe)) {
        // The host ends when its input ends.
        SettleIo();
        ::CloseHandle(m_pipe);
        m_pipe = INVALID_HANDLE_VALUE;
        WaitHandlingSentMessages(1, &m_process, kHostEndGraceMs);
    }
    KillHost();
}

void OutOfProcessRegistrar::CloseHostHandles() {
    if (IsValid(m_pipe)) {
        SettleIo();
        ::CloseHandle(m_pipe);
    }
    m_pipe = INVALID_HANDLE_VALUE;
    m_ioPending = false;
    if (m_event)
        ::CloseHandle(m_event);
    m_event = nullptr;
    if (m_process)
        ::CloseHandle(m_process);
    m_process = nullptr;
    m_processId = 0;
    if (m_job)
        ::CloseHandle(m_job); // ends whatever is still in it
    m_job = nullptr;
}
