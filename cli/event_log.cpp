#include "event_log.h"

#include "cli_texts.h"
#include "text/string_table.h"

namespace {

EventLevel LevelOf(uint32_t id) {
    switch (id) {
    case event_id::kAllWell:
    case event_id::kRepaired:
        return EventLevel::Information;
    case event_id::kRepairFailed:
        return EventLevel::Error;
    default:
        return EventLevel::Warning;
    }
}

bool SourceRegistered(IRegistryApi& registry) {
    RegKeyHandle key = 0;
    if (registry.OpenKey(kHkeyLocalMachine, kEventSourceKey, kKeyQueryValue, key) != kRegOk)
        return false;
    registry.CloseKey(key);
    return true;
}

} // namespace

RunEvent EventFor(uint32_t id, const RunOutcome& run) {
    return {.Id = id, .Level = LevelOf(id), .Inserts = {SummaryLine(run), DetailLines(run)}};
}

std::string WriteRunEvent(IEventLog& log, IRegistryApi& registry, const RunEvent& event,
                          Language lang) {
    // Windows writes the event either way; without the source's key Event Viewer shows only its
    // inserts and a note that the description can't be found.
    std::string said;
    if (!SourceRegistered(registry))
        said += LoadText(cli_text::kSourceNotRegistered, lang) + "\n";
    if (!log.Write(event))
        said += LoadText(cli_text::kEventNotWritten, lang) + "\n";
    return said;
}
