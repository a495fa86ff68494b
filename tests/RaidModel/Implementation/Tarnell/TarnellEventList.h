#ifndef TESTS_TARNELL_TARNELLEVENTLIST_H
#define TESTS_TARNELL_TARNELLEVENTLIST_H

// The family events of a "RaidEvent" text (as the event poll hands it out or
// the ring writes it), read back into plain records for comparisons.

#include <algorithm>
#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"

namespace tarnelltest {

struct ListedEvent {
    uint32_t type = 0;
    uint32_t code = 0;
    uint32_t number = 0;
    uint32_t adapterID = 0;
    uint32_t logicalDriveID = 0;
    uint32_t channelID = 0;
    uint32_t deviceID = 0;
};

// Every "RaidEvent" element of the text, in order; an element not followed
// by a line break is not counted.
inline std::vector<ListedEvent> listEvents(const std::string& xml)
{
    static const std::regex element("<RaidEvent ([^>]*)/>\n");
    static const std::regex attribute("(\\w+)=\"([^\"]*)\"");
    std::vector<ListedEvent> events;
    for (std::sregex_iterator it(xml.begin(), xml.end(), element), end; it != end; ++it) {
        const std::string attributes = (*it)[1].str();
        ListedEvent e;
        for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != end; ++a) {
            const std::string name = (*a)[1].str();
            const std::string text = (*a)[2].str();
            const auto value = [&text]() { return static_cast<uint32_t>(std::stoul(text)); };
            if (name == "eventType")
                e.type = value();
            else if (name == "eventCode")
                e.code = value();
            else if (name == "eventNumber")
                e.number = value();
            else if (name == "adapterID")
                e.adapterID = value();
            else if (name == "logicalDriveID")
                e.logicalDriveID = value();
            else if (name == "channelID")
                e.channelID = value();
            else if (name == "deviceID")
                e.deviceID = value();
        }
        events.push_back(e);
    }
    return events;
}

// The events the ring holds from number since on.
inline std::vector<ListedEvent> ringEvents(unsigned long since = 1)
{
    std::string xml;
    TarnellEvents::getEventsXml(since, xml);
    return listEvents(xml);
}

// The codes of the events, in order.
inline std::vector<uint32_t> codesOf(const std::vector<ListedEvent>& events)
{
    std::vector<uint32_t> codes;
    for (const ListedEvent& e : events)
        codes.push_back(e.code);
    return codes;
}

// Whether an event of the code (and, unless any, of the adapter) is listed.
inline bool hasEvent(const std::vector<ListedEvent>& events, uint32_t code, int64_t adapterID = -1)
{
    return std::any_of(events.begin(), events.end(), [&](const ListedEvent& e) {
        return e.code == code && (adapterID < 0 || e.adapterID == static_cast<uint32_t>(adapterID));
    });
}

} // namespace tarnelltest

#endif
