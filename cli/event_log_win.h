#pragma once
// The Application log through the event log functions of advapi32 (all on Windows 2000).
#include "cli/event_log.h"

class WinEventLog : public IEventLog {
public:
    // RegisterEventSourceW for kEventSource on this computer, ReportEventW with the event's id,
    // its level's type, no category and the inserts as UTF-16, DeregisterEventSource.
    bool Write(const RunEvent& event) override;
};
