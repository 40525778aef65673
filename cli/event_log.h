#pragma once
// One event per run in the Windows Application log (--event-log), where a helpdesk's Event
// Viewer, Windows Event Forwarding or a monitoring agent collects it. Each outcome has its fixed
// event id and level; the texts are in the message table compiled into quendry-cli.exe
// (res/quendry-messages.mc), and the run's summary fills its inserts.
#include <cstdint>
#include <string>
#include <vector>

#include "registry/registry_api.h"
#include "run_summary.h"

// The event ids: each is also the message's id in the message table.
namespace event_id {
inline constexpr uint32_t kAllWell = 1000;        // report: nothing needs attention
inline constexpr uint32_t kNeedsAttention = 1001; // report: something needs attention
inline constexpr uint32_t kRepaired = 1002;       // repair: no library failed
inline constexpr uint32_t kRepairFailed = 1003;   // repair: a library failed, or it was stopped
inline constexpr uint32_t kCannotOpen = 1004;     // report --program --needs: it can't
} // namespace event_id

inline constexpr const char* kEventSource = "Quendry";
// Where Windows looks up a source's message file; not redirected for 32-bit programs.
inline constexpr const char* kEventSourceKey =
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Quendry";

enum class EventLevel { Information, Warning, Error };

struct RunEvent {
    uint32_t Id = event_id::kAllWell;
    EventLevel Level = EventLevel::Information;
    // %1 the summary line, %2 every failure in full, one a line.
    std::vector<std::string> Inserts;
};

class IEventLog {
public:
    virtual ~IEventLog() = default;
    // Writes the event to the Application log under kEventSource. False when the log refused it.
    virtual bool Write(const RunEvent& event) = 0;
};

// The event for a run: its id and level, with the outcome's summary and details as inserts.
RunEvent EventFor(uint32_t id, const RunOutcome& run);

// What the run says on the error stream about its event, in `lang`: nothing when it was written
// and the source is registered; that Event Viewer can't show its text and which command fixes
// that, where the source is not registered; that the log refused it. Lines end in "\n".
std::string WriteRunEvent(IEventLog& log, IRegistryApi& registry, const RunEvent& event,
                          Language lang);
