#ifndef TESTS_TARNELL_TARNELLEVENTLIST_H
#define TESTS_TARNELL_TARNELLEVENTLIST_H

// The family events of a "RaidEvent" text (as the event poll hands it out or
// the ring writes it), read back into plain records for comparisons, and the
// fixture of the tests of the event rules.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"

namespace tarnelltest {

// The event types, as the tables of the tests name them.
constexpr uint32_t INFO = RaidEvent::INFORMATION_EVENT;
constexpr uint32_t WARN = RaidEvent::WARNING_EVENT;
constexpr uint32_t FATAL = RaidEvent::FATAL_EVENT;
constexpr uint32_t REFRESH = RaidEvent::REFRESH_EVENT;

// What an attribute the element lacks reads as: no value the rules give.
constexpr uint32_t ATTRIBUTE_ABSENT = 0xDEADBEEFu;
constexpr const char* FRU_ABSENT = "(absent)";

// Every attribute of one event element.
struct ListedEvent {
    uint32_t type = ATTRIBUTE_ABSENT;
    uint32_t code = ATTRIBUTE_ABSENT;
    uint32_t errorCode = ATTRIBUTE_ABSENT;
    uint32_t number = ATTRIBUTE_ABSENT;
    uint32_t adapterID = ATTRIBUTE_ABSENT;
    uint32_t arrayID = ATTRIBUTE_ABSENT;
    uint32_t logicalDriveID = ATTRIBUTE_ABSENT;
    uint32_t channelID = ATTRIBUTE_ABSENT;
    uint32_t deviceID = ATTRIBUTE_ABSENT;
    uint32_t powerSupplyID = ATTRIBUTE_ABSENT;
    uint32_t fanID = ATTRIBUTE_ABSENT;
    uint32_t date = ATTRIBUTE_ABSENT;
    std::string fru = FRU_ABSENT;
};

// The value of a numeric attribute: only the plain decimal form of a 32-bit
// value counts (no sign, blanks or leading zeros); anything else fails the
// test and reads as ATTRIBUTE_ABSENT.
inline uint32_t listedNumber(const std::string& name, const std::string& text)
{
    if (!text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string::npos) {
        const unsigned long long value = std::stoull(text);
        if (value <= 0xFFFFFFFFull && std::to_string(value) == text)
            return static_cast<uint32_t>(value);
    }
    ADD_FAILURE() << name << "=\"" << text << "\" is not a 32-bit number";
    return ATTRIBUTE_ABSENT;
}

// Every "RaidEvent" element of the text, in order; an element not followed by
// a line break fails the test.
inline std::vector<ListedEvent> listEvents(const std::string& xml)
{
    static const std::regex element("<RaidEvent ([^>]*)/>(\n?)");
    static const std::regex attribute("(\\w+)=\"([^\"]*)\"");
    static const std::pair<const char*, uint32_t ListedEvent::*> numbers[] = {
        {"eventType", &ListedEvent::type},
        {"eventCode", &ListedEvent::code},
        {"errorCode", &ListedEvent::errorCode},
        {"eventNumber", &ListedEvent::number},
        {"adapterID", &ListedEvent::adapterID},
        {"arrayID", &ListedEvent::arrayID},
        {"logicalDriveID", &ListedEvent::logicalDriveID},
        {"channelID", &ListedEvent::channelID},
        {"deviceID", &ListedEvent::deviceID},
        {"powerSupplyID", &ListedEvent::powerSupplyID},
        {"fanID", &ListedEvent::fanID},
        {"date", &ListedEvent::date},
    };
    std::vector<ListedEvent> events;
    for (std::sregex_iterator it(xml.begin(), xml.end(), element), end; it != end; ++it) {
        if ((*it)[2].length() == 0)
            ADD_FAILURE() << "no line break after " << it->str();
        const std::string attributes = (*it)[1].str();
        ListedEvent e;
        for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != end; ++a) {
            const std::string name = (*a)[1].str();
            const std::string text = (*a)[2].str();
            if (name == "FRU")
                e.fru = text;
            for (const auto& field : numbers)
                if (name == field.first)
                    e.*field.second = listedNumber(name, text);
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

// A test of the event rules: the ring and what the rules remember of each
// controller are empty when it starts and emptied again when it ends.
class EventRulesTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        TarnellEvents::resetForTest();
    }
    void TearDown() override
    {
        TarnellEvents::resetForTest();
        SimTest::TearDown();
    }
};

} // namespace tarnelltest

#endif
