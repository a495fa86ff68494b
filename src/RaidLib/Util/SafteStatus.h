#ifndef SAFTESTATUS_H
#define SAFTESTATUS_H

#include <cstddef>
#include <cstdint>

#include "RaidModel/Interface/RaidObject.h"

class SafteConfig;

// The decoded SAF-TE Read Enclosure Status buffer: one status byte per fan
// and power supply, the SCSI id in each slot, door lock, speaker, the raw
// temperature bytes and the out-of-range flags. Counts of -1 are unknown.
class STOR_EXPORT SafteStatus : public RaidObject {
public:
    static constexpr int MAX_FANS = 32;
    static constexpr int MAX_POWER_SUPPLIES = 32;
    static constexpr int MAX_SLOTS = 64;
    static constexpr int MAX_TEMP_SENSORS = 32;
    // Answer of the slot lookups when there is no such slot or id.
    static constexpr uint32_t NO_SLOT = 0x7FFFFFFF;

    // The clearFields() values.
    SafteStatus();
    // Every field except the vendor-unique count and byte, which become 0.
    SafteStatus(const SafteStatus& right);
    ~SafteStatus() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;

    // Fans and power supplies 128 (unknown), slot ids 255, door lock 128,
    // everything else 0, the counts -1.
    void clearFields();

    // Decodes a status buffer laid out by the configuration's counts: fans,
    // power supplies, slot ids, door lock, speaker, temperatures, the two
    // out-of-range flags and the byte after them. Reads no byte at or beyond
    // length: the fields whose bytes the buffer does not hold keep their
    // values. Entries beyond an array's capacity are skipped. The counts are
    // taken from the configuration. Returns true when the buffer held every
    // byte the configuration describes; nothing is read without a
    // configuration or data.
    bool initFieldsFromData(const SafteConfig* config, const unsigned char* data, size_t length);

    // The lowest slot 0-63 holding id; NO_SLOT when none does.
    uint32_t getSlotNumberFromDeviceID(int id) const;
    // The id byte of slot n; NO_SLOT outside 0-63.
    uint32_t getDeviceIDFromSlotNumber(int n) const;

    const unsigned char* getFanStatus() const { return ucFanStatus; }
    const unsigned char* getPowerSupplyStatus() const { return ucPowerSupplyStatus; }
    const unsigned char* getSlotScsiId() const { return ucSlotScsiId; }
    unsigned char getDoorLockStatus() const { return ucDoorLockStatus; }
    unsigned char getSpeakerStatus() const { return ucSpeakerStatus; }
    const unsigned char* getTempSensorStatus() const { return ucTempSensorStatus; }
    unsigned char getTempOutOfRangeFlag1() const { return ucTempOutOfRangeFlag1; }
    unsigned char getTempOutOfRangeFlag2() const { return ucTempOutOfRangeFlag2; }
    unsigned char getVendorUniqueByteCount() const { return ucVendorUniqueByteCount; }
    int32_t getFanCount() const { return iFanCount; }
    int32_t getPowerSupplyCount() const { return iPowerSupplyCount; }
    int32_t getSlotCount() const { return iSlotCount; }
    int32_t getTempSensorCount() const { return iTempSensorCount; }

    // The family fills the record from its controller's own status record.
    unsigned char ucFanStatus[MAX_FANS];
    unsigned char ucPowerSupplyStatus[MAX_POWER_SUPPLIES];
    unsigned char ucSlotScsiId[MAX_SLOTS];
    unsigned char ucDoorLockStatus;
    unsigned char ucSpeakerStatus;
    unsigned char ucTempSensorStatus[MAX_TEMP_SENSORS];
    unsigned char ucTempOutOfRangeFlag1;
    unsigned char ucTempOutOfRangeFlag2;
    unsigned char ucVendorUniqueByteCount;
    unsigned char ucVendorUniqueBytes[1];
    int32_t iFanCount;
    int32_t iPowerSupplyCount;
    int32_t iSlotCount;
    int32_t iTempSensorCount;
};

#endif
