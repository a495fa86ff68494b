// The Pelm monitor's event-list parser over arbitrary texts: every parse
// ends, stays within its copy of the text, keeps the events read before a
// fault, and each event's fields read back within their ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "monitor/pelm/PelmEvent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The library hands out NUL-terminated texts; an embedded NUL ends one.
    const std::string text(reinterpret_cast<const char*>(data), size);
    PelmEventCollection list(text.c_str());
    const std::vector<PelmEvent> events = list.getAllEvents();
    if (static_cast<int>(events.size()) != list.getNumberOfEvents())
        abort();
    for (const PelmEvent& e : events) {
        const int severity = e.getSeverity();
        if (severity < 1 || severity > 3)
            abort();
        // Codes are 32-bit values or unset; texts come from the input.
        if (e.LDPath.size() > size || e.Description.size() > size)
            abort();
        const std::string line = e.toString();
        if (line.size() < e.Description.size() ||
            line.compare(line.size() - e.Description.size(), std::string::npos, e.Description) != 0)
            abort();
    }
    // The list operations over what was read.
    PelmEventCollection copy;
    copy.mergeEvents(events);
    for (const PelmEvent& e : events) {
        if (copy.deleteEvent(e) != 1)
            abort();
    }
    if (copy.getNumberOfEvents() != 0)
        abort();
    if (list.getFatalEvents().size() + list.getWarningEvents().size() + list.getInformationEvents().size() !=
        events.size())
        abort();
    return 0;
}
