#pragma once
// What the wizard and its registration host say to each other over the pipe between them: one
// request line per library, one reply line per request. Fields are separated by tabs; a tab, a
// line break or a backslash inside a field is written as \t, \n, \r or \\, so a path can hold
// anything. Each request carries a sequence number that its reply repeats: a line a library wrote
// into the pipe is never taken for the reply.
//
//   register <TAB> sequence <TAB> path <TAB> entry point <TAB> display name
//   result <TAB> sequence <TAB> result kind <TAB> last error <TAB> status
//
// and the check of a data provider's class (provider_check.h), which loads the class's library
// and runs its code as a registration does:
//
//   check <TAB> sequence <TAB> ProgID <TAB> CLSID <TAB> essential (0 or 1)
//   provider <TAB> sequence <TAB> state <TAB> status <TAB> CLSID <TAB> library <TAB> threading
//
// Numbers are unsigned decimal (the status as its 32 bits); result kinds are the names below.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "repair/dll_register.h"
#include "repair/provider_check.h"

// The command line that makes the program a registration host instead of the wizard. Not meant
// for users, so not documented for them.
inline constexpr const char* kRegistrationHostSwitch = "/registration-host";

// How long one registration may take before the host is ended; the reason text of a registration
// that took longer names the same time.
inline constexpr uint32_t kRegistrationTimeLimitMs = 30000;

struct HostRequest {
    uint32_t Sequence = 0;
    std::string Path;
    std::string EntryName;
    std::string DisplayName;
    bool operator==(const HostRequest&) const = default;
};

struct HostReply {
    uint32_t Sequence = 0;
    RegistrationResult Result = RegistrationResult::NotLoaded;
    uint32_t LastError = 0;
    int32_t Status = 0;
    bool operator==(const HostReply&) const = default;
};

struct CheckRequest {
    uint32_t Sequence = 0;
    std::string ProgId;
    std::string Clsid;
    bool Essential = false;
    bool operator==(const CheckRequest&) const = default;
};

struct CheckReply {
    uint32_t Sequence = 0;
    ProviderCheck Check; // its ProgID and essential flag are the request's
};

// One line each, ending in "\n".
std::string EncodeRequest(const HostRequest& request);
std::string EncodeReply(const HostReply& reply);
std::string EncodeCheckRequest(const CheckRequest& request);
std::string EncodeCheckReply(const CheckReply& reply);
std::optional<CheckRequest> DecodeCheckRequest(std::string_view line);
// The reply's check, with the ProgID and essential flag of `request`. Only the states a host
// finds out by itself decode.
std::optional<CheckReply> DecodeCheckReply(std::string_view line, const CheckRequest& request);

// A line without its "\n"; nothing for a line that is not exactly one request or reply. A reply
// names only what a host can find out by itself (the kinds RegisterComponent gives).
std::optional<HostRequest> DecodeRequest(std::string_view line);
std::optional<HostReply> DecodeReply(std::string_view line);

// The outcome a reply stands for.
RegistrationOutcome OutcomeOf(const HostReply& reply, const std::string& displayName);

// What the end of a host in the middle of a registration means, from its exit code: a code with
// the top bit set is an exception's status (the host's crash filter ends it with the code),
// Crashed with that code as the status; any other code, EndedProcess.
RegistrationOutcome HostEndedOutcome(uint32_t exitCode, const std::string& displayName);

// Cuts a stream of bytes into lines. A line longer than the limit is dropped whole, so that a
// host that writes without end cannot make the reader hold it all.
class LineBuffer {
public:
    static constexpr size_t kMaxLine = 64 * 1024;

    void Append(const char* data, size_t size);
    // The next complete line without its "\n", or nothing until one is complete.
    std::optional<std::string> NextLine();

private:
    std::deque<std::string> m_lines; // complete, not yet taken
    std::string m_partial;           // the beginning of the next line
    bool m_dropping = false;         // the line in work is too long: dropped up to its end
};
