#include "monitor/NRMEvent.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "RaidLib/Util/Date.h"
#include "RaidModel/Interface/Adapter.h"
#include "monitor/NLSParser.h"

NRMEvent::NRMEvent() : NRMEvent(NRM_UNSET, NRM_UNSET, std::string(), std::string()) {}

NRMEvent::NRMEvent(int eventIdIN, int severityIN, std::string textIN, std::string eventNameIN)
    : eventTime(Date::now()),
      eventId(eventIdIN),
      severity(severityIN),
      text(std::move(textIN)),
      objectType(NRM_OBJECT_UNKNOWN),
      address(),
      logicalDriveNumber(NRM_UNSET),
      fanNumber(NRM_UNSET),
      powerSupplyNumber(NRM_UNSET),
      eventName(std::move(eventNameIN)),
      percentComplete(0)
{
}

NRMEvent::NRMEvent(int eventIdIN, int severityIN, std::string textIN, Addr addressIN, int logicalDriveNumberIN,
                   int fanNumberIN, int powerSupplyNumberIN, std::string adapterSerialIN, std::string eventNameIN,
                   std::string fruNumberIN)
    : eventTime(Date::now()),
      eventId(eventIdIN),
      severity(severityIN),
      text(std::move(textIN)),
      objectType(NRM_OBJECT_UNKNOWN),
      address(addressIN),
      fruNumber(std::move(fruNumberIN)),
      logicalDriveNumber(logicalDriveNumberIN),
      fanNumber(fanNumberIN),
      powerSupplyNumber(powerSupplyNumberIN),
      adapterSerial(std::move(adapterSerialIN)),
      eventName(std::move(eventNameIN)),
      percentComplete(0)
{
}

void NRMEvent::reset()
{
    eventTime = Date::now();
    eventId = severity = NRM_UNSET;
    logicalDriveNumber = fanNumber = powerSupplyNumber = NRM_UNSET;
    objectType = NRM_OBJECT_UNKNOWN;
    percentComplete = 0;
    address.clear();
    text.clear();
    fruNumber.clear();
    adapterSerial.clear();
    eventName.clear();
}

void NRMEvent::setAdapterSerial(Adapter* adapter)
{
    if (!adapter)
        return;
    const char* serial = adapter->getSerialNumString();
    size_t length = strnlen(serial, Adapter::VERSION_SIZE);
    if (length > 0) {
        adapterSerial.assign(serial, length);
        return;
    }
    adapterSerial = NLSParser::itoa(static_cast<int>(adapter->getPCIBus()), 10) + "-" +
                    NLSParser::itoa(static_cast<int>(adapter->getPCIFunction()), 10) + "-" +
                    NLSParser::itoa(static_cast<int>(adapter->getPciDevice()), 10);
}

namespace {

const char* severityTag(int32_t severity)
{
    switch (severity) {
    case NRM_EVENT_ERROR:
        return "ERR";
    case NRM_EVENT_WARNING:
        return "WRN";
    case NRM_EVENT_INFORMATION:
    case NRM_EVENT_TASK:
    case NRM_EVENT_TASK_RUNNING:
    case NRM_EVENT_INFORMATION_6:
    case NRM_EVENT_INFORMATION_7:
        return "INF";
    default:
        return "---";
    }
}

const char* objectTag(int32_t objectType)
{
    switch (objectType) {
    case NRM_OBJECT_SYSTEM:
        return "SYS ";
    case NRM_OBJECT_ADAPTER:
        return "KRNA";
    case NRM_OBJECT_ARRAY:
        return "ARR ";
    case NRM_OBJECT_LOGICAL_DRIVE:
        return "LDRV";
    case NRM_OBJECT_PHYSICAL_DRIVE:
        return "PDRV";
    case NRM_OBJECT_ENCLOSURE:
        return "ENCL";
    case NRM_OBJECT_FAN:
        return "FAN ";
    case NRM_OBJECT_POWER_SUPPLY:
        return "PWSP";
    default:
        return "UNKN";
    }
}

// The value with its minimum width ("%02d", "%03d"), or as many dashes when
// it is not set. Ids are signed here: -1 prints as -1.
std::string field(uint32_t value, const char* format, const char* dashes)
{
    if (value == static_cast<uint32_t>(NRM_UNSET))
        return dashes;
    char digits[16];
    snprintf(digits, sizeof digits, format, static_cast<int32_t>(value));
    return digits;
}

} // namespace

std::string NRMEvent::toString() const
{
    std::string line;
    // ctime_r into a buffer of its own: several monitor threads format events
    // at once. It fails only for years it cannot write.
    char timeText[64];
    if (ctime_r(&eventTime, timeText) != nullptr) {
        line = timeText;
        if (!line.empty())
            line.pop_back();
    }
    line += " | ";
    line += severityTag(severity);
    line += " | ";
    line += objectTag(objectType);
    line += " | ";
    line += field(static_cast<uint32_t>(eventId), "%03d", "---");
    line += ":A" + field(address.getAdapterID(), "%02d", "--");
    line += "C" + field(address.getChannelID(), "%02d", "--");
    line += "S" + field(address.getDeviceID(), "%02d", "--");
    line += "L" + field(address.getLogicalDriveID(), "%03d", "---");
    line += " | ";
    line += text;
    return line;
}
