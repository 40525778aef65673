#pragma once
// Registration in a host process: this program started again with the registration host switch,
// inside a job object, talking over a pipe (host_protocol.h). A library whose DllRegisterServer
// crashes, hangs, shows a dialog or ends the process takes the host down, not the caller: the
// registration is reported as failed with the reason, and the next one gets a new host. One host
// serves every registration while it lives, so a run starts one process, not one per library.
//
// A host that dies while it works on a library may have died of what an earlier library left
// running (a thread of its own): the library is registered once more in a fresh host, and only a
// second death is put down to it. Registering again does no harm; it is what the repair does.
//
// The host is started only from the program's own held file (own_image_win.h), suspended, and
// runs only once the image the system mapped for it is that file's bytes, every section of it
// (process_image_win.h); where that can't be had, no host runs and registrations are refused
// (HostRefused). The pipe has a name no
// one can guess, and its one instance is connected by this process before the host starts; the
// host inherits that end and learns its handle from the command line; from Vista on a handle list
// makes it the only handle the host inherits (on Windows 2000 and XP every inheritable handle of
// this process is inherited: this process makes no other, and its own standard handles are made
// uninheritable first). The host has no console: the user's Ctrl+C never reaches it.
//
// Waits wait on the reply and on the host process in short slices, and handle the messages that
// other threads and processes send to this thread's windows (and only those) as they come: a
// DllRegisterServer that broadcasts WM_SETTINGCHANGE waits for every top-level window, the
// wizard's too. Between slices the caller's WhileWaiting runs (the wizard repaints its window
// there, without taking posted messages, so that the repair's points where events run stay where
// they are).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "repair/host_protocol.h"
#include "repair/library_api.h"
#include "repair/own_image_win.h"
#include "repair/provider_check.h"
#include "repair/registrar.h"

struct HostRegistrarOptions {
    // The program to start as host, asked before each start; nothing: none may be started. The
    // started process must map its bytes, or it is ended before it runs.
    std::function<std::optional<HostImage>()> HostProgram = VerifiedOwnImage;
    uint32_t TimeLimitMs = kRegistrationTimeLimitMs;
    // Where checks run when no host can be run at all; none: such checks are refused.
    IProviderChecker* InProcessChecks = nullptr;
    // Where a check whose host ended reads the class's registration, so that the report still
    // names its CLSID and library; none: they stay unknown.
    IRegistryApi* ClassRegistry = nullptr;
    std::function<void()> WhileWaiting; // about every 100 ms while a registration lasts
};

class OutOfProcessRegistrar : public IRegistrar, public IProviderChecker {
public:
    // `inProcess` registers a library in this process where no host can be started at all (the
    // program file can't be run, say): the repair goes on as it did before there were hosts.
    explicit OutOfProcessRegistrar(ILibraryApi& inProcess, HostRegistrarOptions options = {});
    ~OutOfProcessRegistrar() override;
    OutOfProcessRegistrar(const OutOfProcessRegistrar&) = delete;
    OutOfProcessRegistrar& operator=(const OutOfProcessRegistrar&) = delete;

    // Registers in the host, starting one first when none runs. A path that is not fully
    // qualified is refused as RegisterComponent refuses it, without a host. Where the host program
    // can't be run at all (CreateProcess fails), registrations run in this process from then on.
    RegistrationOutcome Register(const std::string& path, const std::string& entryName,
                                 const std::string& displayName) override;

    // Starts a host when none runs, so that the first registration doesn't wait for it to come up.
    void Prepare() override;

    // Sends the request to a running host, which registers while the caller pauses. Sends
    // nothing where no host runs: Register then starts one as usual.
    void Begin(const std::string& path, const std::string& entryName,
               const std::string& displayName) override;

    // Checks a data provider's class in the host, under the same limits and rules.
    ProviderCheck CheckProvider(const ProviderClass& cls) override;
    void ChecksDone() override { EndHost(); }

    // The running host's process id, 0 when none runs.
    DWORD HostProcessId() const { return m_processId; }
    // Hosts started so far.
    unsigned HostsStarted() const { return m_hostsStarted; }
    // True once a host could not be started: registrations run in this process from then on.
    bool RegistersInProcess() const { return m_inProcessOnly; }

    // The session ends, and the process may end as soon as the caller returns: the registration
    // in work, if any (awaited, or sent by Begin and not yet collected), comes back first (at
    // most its time limit), and nothing starts after it. Every later registration or check is
    // refused without a host (HostRefused); a Register for the request that Stop collected gets
    // its outcome.
    void Stop();
    bool Stopped() const { return m_stopped; }

private:
    enum class Step { Done, HostGone, TimedOut };
    enum class Start { Started, Refused, CannotRun };
    enum class HostEnd { Replied, TimedOut, Refused, CannotRun, Died };
    struct Exchange {
        HostEnd End;
        uint32_t ExitCode = 0; // Died: the host's exit code
    };

    // Sends one request line to the host (starting one where none runs) and waits for the line
    // `isReply` takes for its answer.
    Exchange ExchangeWithHost(const std::string& request,
                              const std::function<bool(std::string_view)>& isReply);
    // The same for a request already sent (Begin) at `sentAt`.
    Exchange AwaitReply(const std::function<bool(std::string_view)>& isReply, DWORD sentAt);
    // How an exchange ended, from the step it stopped at.
    Exchange Settle(Step step, const std::function<bool(std::string_view)>& isReply, DWORD start);
    bool HostRunning() const;
    Start StartHost();
    // Closes the host's input and gives it a moment to end by itself, then ends whatever remains.
    void EndHost();
    // Ends the host and everything it started, and lets go of it.
    void KillHost();
    // Waits for the pending I/O until `start` + the time limit, watching the host.
    Step WaitForIo(DWORD start);
    Step Send(const std::string& line, DWORD start);
    Step Receive(const std::function<bool(std::string_view)>& isReply, DWORD start);
    bool TakeReply(const std::function<bool(std::string_view)>& isReply);
    // After the pipe broke: waits for the host process itself to end, until the time limit.
    Step WaitForHostEnd(DWORD start);
    // Cancels a pending read or write and waits until the system is done with its buffer.
    void SettleIo();
    void CloseHostHandles();

    ILibraryApi& m_inProcess;
    HostRegistrarOptions m_options;
    HANDLE m_job = nullptr;
    HANDLE m_process = nullptr;
    HANDLE m_pipe = INVALID_HANDLE_VALUE;
    HANDLE m_event = nullptr;
    DWORD m_processId = 0;
    DWORD m_pendingSince = 0; // when the registration in work was sent
    bool m_pending = false;
    struct Begun {
        std::string Request;
        std::string DisplayName;
        uint32_t Sequence = 0;
        DWORD SentAt = 0;
        // Whether it asks for this registration.
        bool Asks(const std::string& path, const std::string& entryName,
                  const std::string& displayName) const {
            return Request == EncodeRequest({Sequence, path, entryName, displayName});
        }
    };
    // Waits for the reply to a begun request: its outcome, as Register's first attempt finds it.
    RegistrationOutcome Collect(const Begun& begun);
    std::optional<Begun> m_begun; // sent by Begin, not yet collected
    struct Collected {
        Begun Request;
        RegistrationOutcome Outcome;
    };
    std::optional<Collected> m_collected; // the begun request, collected by Stop
    bool m_stopped = false;
    int m_calls = 0; // calls of this object in progress on this thread (sent messages nest them)
    OVERLAPPED m_overlapped = {};
    bool m_ioPending = false;
    bool m_ioIsRead = false; // the pending I/O reads into m_readBuffer (else it writes)
    char m_readBuffer[4096] = {};
    std::string m_writeBuffer; // what a pending write sends; kept until the write has settled
    LineBuffer m_lines;
    uint32_t m_sequence = 0;
    unsigned m_hostsStarted = 0;
    bool m_inProcessOnly = false;
};
