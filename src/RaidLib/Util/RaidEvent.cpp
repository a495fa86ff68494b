#include "RaidLib/Util/RaidEvent.h"

#include <memory>
#include <new>

#include "RaidModel/Serialization/XMLWriter.h"

namespace {

// The rows of the description table, in the order of its definition.
struct DescriptionRow {
    uint32_t code;
    const char* text;
};

const DescriptionRow DESCRIPTIONS[] = {
#define RAID_EVENT_ROW(code, name, text) {code, text},
#define RAID_EVENT_UNNAMED_ROW(code, text) {code, text},
    RAID_EVENT_CODE_ROWS(RAID_EVENT_ROW, RAID_EVENT_UNNAMED_ROW)
#undef RAID_EVENT_ROW
#undef RAID_EVENT_UNNAMED_ROW
};

// The map made when the library is loaded. A load that finds no memory for
// it must not end the process: the map is left empty then, and the
// descriptions are read from the rows themselves.
std::map<uint32_t, std::string> loadTimeTable()
{
    try {
        return RaidEvent::initEventDescriptionTable();
    } catch (const std::bad_alloc&) {
        return std::map<uint32_t, std::string>();
    }
}

} // namespace

const std::map<uint32_t, std::string> RaidEvent::eventDesc = loadTimeTable();

RaidEvent::RaidEvent() : RaidEvent(0, 0, 0) {}

RaidEvent::RaidEvent(unsigned int eventTypeIN, unsigned int eventCodeIN, unsigned int errorCodeIN)
    : eventType(eventTypeIN),
      eventCode(eventCodeIN),
      errorCode(errorCodeIN),
      eventNumber(0),
      adapterID(ID_NOT_SET),
      arrayID(0),
      logicalDriveID(ID_NOT_SET),
      channelID(ID_NOT_SET),
      deviceID(ID_NOT_SET),
      powerSupplyID(ID_NOT_SET),
      fanID(ID_NOT_SET)
{
}

RaidEvent::RaidEvent(unsigned int eventTypeIN, unsigned int eventCodeIN, unsigned int errorCodeIN,
                     Date& dateIN)
    : RaidEvent(eventTypeIN, eventCodeIN, errorCodeIN)
{
    date = dateIN;
}

bool RaidEvent::operator==(const RaidEvent& right) const
{
    return eventCode == right.eventCode && date.getTime() == right.date.getTime() &&
           errorCode == right.errorCode && eventNumber == right.eventNumber &&
           adapterID == right.adapterID && arrayID == right.arrayID &&
           logicalDriveID == right.logicalDriveID && channelID == right.channelID &&
           deviceID == right.deviceID && powerSupplyID == right.powerSupplyID &&
           fanID == right.fanID && FRU == right.FRU;
}

std::map<uint32_t, std::string> RaidEvent::initEventDescriptionTable()
{
    std::map<uint32_t, std::string> table;
    for (const DescriptionRow& row : DESCRIPTIONS)
        table.emplace(row.code, row.text);
    return table;
}

std::string RaidEvent::getDescription() const
{
    auto it = eventDesc.find(eventCode);
    if (it != eventDesc.end())
        return it->second;
    // The first row of the code, as the map keeps it.
    for (const DescriptionRow& row : DESCRIPTIONS) {
        if (row.code == eventCode)
            return row.text;
    }
    return std::string();
}

void RaidEvent::writeTo(Writer* w) const
{
    if (!w)
        return;
    w->writeULong("eventType", eventType);
    w->writeULong("eventCode", eventCode);
    w->writeULong("errorCode", errorCode);
    w->writeULong("eventNumber", eventNumber);
    w->writeULong("adapterID", adapterID);
    w->writeULong("arrayID", arrayID);
    w->writeULong("logicalDriveID", logicalDriveID);
    w->writeULong("channelID", channelID);
    w->writeULong("deviceID", deviceID);
    w->writeULong("powerSupplyID", powerSupplyID);
    w->writeULong("fanID", fanID);
    w->writeString("FRU", FRU.c_str());
    w->writeULong("date", date.getTime());
}

std::string RaidEvent::toXML() const
{
    char* text = nullptr;
    {
        XMLWriter w(&text);
        w.addTag("<RaidEvent ");
        writeTo(&w);
        w.addTag(" />");
    }
    const std::unique_ptr<char[]> owned(text);
    return std::string(text ? text : "");
}

namespace {

const char* typeText(uint32_t type)
{
    switch (type) {
    case RaidEvent::INFORMATION_EVENT:
        return "INFORMATION_EVENT\n";
    case RaidEvent::WARNING_EVENT:
        return "WARNING_EVENT\n";
    case RaidEvent::FATAL_EVENT:
        return "FATAL_EVENT\n";
    case RaidEvent::PROGRESS_EVENT:
        return "PROGRESS_EVENT\n";
    case RaidEvent::REFRESH_EVENT:
        return "REFRESH_EVENT\n";
    default:
        return "Unknown Type\n";
    }
}

// A label line with the value as a signed decimal (an unset id shows -1).
void appendField(std::string& s, const char* label, uint32_t value)
{
    s += label;
    s += std::to_string(static_cast<int32_t>(value));
    s += '\n';
}

} // namespace

std::string RaidEvent::toString() const
{
    std::string s("\nRaidEvent: \n");
    s += date.toString();
    s += getDescription();
    s += '\n';
    s += "   Event Type = ";
    s += typeText(eventType);
    appendField(s, "   eventCode = ", eventCode);
    appendField(s, "   errorCode = ", errorCode);
    appendField(s, "   eventNumber = ", eventNumber);
    appendField(s, "   adapterID = ", adapterID);
    appendField(s, "   arrayID = ", arrayID);
    appendField(s, "   channelID = ", channelID);
    appendField(s, "   deviceID = ", deviceID);
    appendField(s, "   powerSupplyID = ", powerSupplyID);
    appendField(s, "   fanID = ", fanID);
    s += "   FRU = ";
    s += FRU;
    return s;
}
