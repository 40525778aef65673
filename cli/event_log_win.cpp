#include "cli/event_log_win.h"

#include <windows.h>

#include "cli/console_text.h"
#include "text/win_text.h"

namespace {

WORD TypeOf(EventLevel level) {
    switch (level) {
    case EventLevel::Information:
        return EVENTLOG_INFORMATION_TYPE;
    case EventLevel::Warning:
        return EVENTLOG_WARNING_TYPE;
    case EventLevel::Error:
        break;
    }
    return EVENTLOG_ERROR_TYPE;
}

} // namespace

bool WinEventLog::Write(const RunEvent& event) {
    HANDLE source = RegisterEventSourceW(nullptr, Widen(kEventSource).c_str());
    if (source == nullptr)
        return false;
    std::vector<std::wstring> inserts;
    // Event Viewer breaks lines at Windows line ends only.
    for (const std::string& insert : event.Inserts)
        inserts.push_back(Widen(WithCarriageReturns(insert)));
    std::vector<LPCWSTR> strings;
    for (const std::wstring& insert : inserts)
        strings.push_back(insert.c_str());
    const BOOL written =
        ReportEventW(source, TypeOf(event.Level), 0, event.Id, nullptr,
                     static_cast<WORD>(strings.size()), 0, strings.data(), nullptr);
    DeregisterEventSource(source);
    return written != FALSE;
}
