#pragma once
// Registration in a host process: this program started again with the registration host switch,
// inside a job object, talking over a pipe (host_protocol.h). A library whose DllRegisterServer
// crashes, hangs, shows a dialog or ends the process takes the host down, not the caller: the
// registration is reported as failed with the reason, and the next one gets a new host. One host
// serves every registration while it lives, so a run starts one process, not one per library.
//
// Waits are plain waits on the reply and on the host process, in short slices; between slices the
// caller's WhileWaiting runs (the wizard repaints its window there, without taking messages, so
// that the repair's points where events run stay where they are).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "repair/host_protocol.h"
#include "repair/library_api.h"
#include "repair/registrar.h"

struct HostRegistrarOptions {
    std::wstring HostPath; // the program to start as host; empty: the running program
    uint32_t TimeLimitMs = kRegistrationTimeLimitMs;
    std::function<void()> WhileWaiting; // about every 100 ms while a registration lasts
};

class OutOfProcessRegistrar : public IRegistrar {
public:
    // `inProcess` registers a library in this process where no host can be started at all (the
    // program file can't be run, say): the repair goes on as it did before there were hosts.
    explicit OutOfProcessRegistrar(ILibraryApi& inProcess, HostRegistrarOptions options = {});
    ~OutOfProcessRegistrar() override;
    OutOfProcessRegistrar(const OutOfProcessRegistrar&) = delete;
    OutOfProcessRegistrar& operator=(const OutOfProcessRegistrar&) = delete;

    // Registers in the host, starting one first when none runs. A path that is not fully
    // qualified is refused as RegisterComponent refuses it, without a host.
    RegistrationOutcome Register(const std::string& path, const std::string& entryName,
                                 const std::string& displayName) override;

    // Starts a host when none runs, so that the first registration doesn't wait for it to come up.
    void Prepare() override;

    // The running host's process id, 0 when none runs.
    DWORD HostProcessId() const { return m_processId; }
    // Hosts started so far.
    unsigned HostsStarted() const { return m_hostsStarted; }
    // True once a host could not be started: registrations run in this process from then on.
    bool RegistersInProcess() const { return m_inProcessOnly; }

private:
    enum class Step { Done, HostGone, TimedOut };

    bool HostRunning() const;
    bool StartHost();
    // Closes the host's input and gives it a moment to end by itself, then ends whatever remains.
    void EndHost();
    // Ends the host and everything it started, and lets go of it.
    void KillHost();
    // Waits for the pending I/O until `start` + the time limit, watching the host.
    Step WaitForIo(DWORD start);
    Step Send(const std::string& line, DWORD start);
    Step Receive(uint32_t sequence, DWORD start, HostReply& reply);
    bool TakeReply(uint32_t sequence, HostReply& reply);
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
