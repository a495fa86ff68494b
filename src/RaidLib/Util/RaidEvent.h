#ifndef RAIDEVENT_H
#define RAIDEVENT_H

#include <cstdint>
#include <map>
#include <string>

#include "RaidLib/Util/Date.h"
#include "RaidLib/Util/RaidEventCodes.h"
#include "RaidLib/Util/StorExport.h"

class Writer;

// One event of a controller family: type, code, error code, the ids of the
// objects it concerns, a field-replaceable-unit text and the time. Ids that
// are not set hold 0xFFFFFFFF (the array id 0).
class STOR_EXPORT RaidEvent {
public:
    // Event types.
    static constexpr uint32_t INFORMATION_EVENT = 1;
    static constexpr uint32_t WARNING_EVENT = 2;
    static constexpr uint32_t FATAL_EVENT = 4;
    static constexpr uint32_t PROGRESS_EVENT = 8;
    static constexpr uint32_t REFRESH_EVENT = 10;

    // Event codes (801 and 802 have no constant).
#define RAID_EVENT_CONSTANT(code, name, text) static constexpr uint32_t name = code;
#define RAID_EVENT_NO_CONSTANT(code, text)
    RAID_EVENT_CODE_ROWS(RAID_EVENT_CONSTANT, RAID_EVENT_NO_CONSTANT)
#undef RAID_EVENT_CONSTANT
#undef RAID_EVENT_NO_CONSTANT

    static constexpr uint32_t ID_NOT_SET = 0xFFFFFFFF;

    // Type, code, error code and event number 0; the time is now.
    RaidEvent();
    RaidEvent(unsigned int eventTypeIN, unsigned int eventCodeIN, unsigned int errorCodeIN);
    RaidEvent(unsigned int eventTypeIN, unsigned int eventCodeIN, unsigned int errorCodeIN, Date& dateIN);

    // Everything but the event type.
    bool operator==(const RaidEvent& right) const;
    bool operator!=(const RaidEvent& right) const { return !(*this == right); }
    // Earlier than right.
    bool operator<(const RaidEvent& right) const { return date.before(right.date); }

    uint32_t getEventType() const { return eventType; }
    uint32_t getEventCode() const { return eventCode; }
    uint32_t getErrorCode() const { return errorCode; }
    uint32_t getEventNumber() const { return eventNumber; }
    void setEventNumber(unsigned int n) { eventNumber = n; }
    uint32_t getAdapterID() const { return adapterID; }
    void setAdapterID(unsigned int id) { adapterID = id; }
    uint8_t getArrayID() const { return arrayID; }
    void setArrayID(unsigned char id) { arrayID = id; }
    uint32_t getLogicalDriveID() const { return logicalDriveID; }
    void setLogicalDriveID(unsigned int id) { logicalDriveID = id; }
    uint32_t getChannelID() const { return channelID; }
    void setChannelID(unsigned int id) { channelID = id; }
    uint32_t getDeviceID() const { return deviceID; }
    void setDeviceID(unsigned int id) { deviceID = id; }
    uint32_t getPowerSupplyID() const { return powerSupplyID; }
    void setPowerSupplyID(unsigned int id) { powerSupplyID = id; }
    uint32_t getfanID() const { return fanID; }
    void setFanID(unsigned int id) { fanID = id; }
    std::string getFRU() const { return FRU; }
    void setFRU(std::string fru) { FRU = fru; }
    Date* getDate() { return &date; }
    const Date* getDate() const { return &date; }
    void setDate(Date d) { date = d; }

    // The description of the event's code; empty for an unknown code.
    std::string getDescription() const;

    // The attributes of a "RaidEvent" element.
    void writeTo(Writer* w) const;
    // The event as one "RaidEvent" element.
    std::string toXML() const;
    // The event as readable text.
    std::string toString() const;

    // A new map of every event code to its description.
    static std::map<uint32_t, std::string> initEventDescriptionTable();

    // Filled when the library is loaded (empty when that finds no memory);
    // read-only afterwards.
    static const std::map<uint32_t, std::string> eventDesc;

private:
    uint32_t eventType;
    uint32_t eventCode;
    uint32_t errorCode;
    uint32_t eventNumber;
    uint32_t adapterID;
    uint8_t arrayID;
    uint32_t logicalDriveID;
    uint32_t channelID;
    uint32_t deviceID;
    uint32_t powerSupplyID;
    uint32_t fanID;
    std::string FRU;
    Date date;
};

#endif
