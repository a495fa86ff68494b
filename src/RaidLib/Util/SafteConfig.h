#ifndef SAFTECONFIG_H
#define SAFTECONFIG_H

#include <cstddef>
#include <cstdint>

#include "RaidModel/Interface/RaidObject.h"

class Enclosure;
class SimpleXmlParser;

// The 64-byte SAF-TE Read Enclosure Configuration buffer.
struct SAFTE_CONFIG {
    uint8_t fanCount;
    uint8_t powerSupplyCount;
    uint8_t slotCount;
    uint8_t doorLockInstalled;
    uint8_t tempSensorCount;
    uint8_t audibleAlarmInstalled;
    uint8_t ucThermostat; // bits 0-3 thermostat count, 4-6 reserved, bit 7 Celsius
    uint8_t reserved[56];
    uint8_t vendorUniqueByteCount;

    unsigned thermostatCount() const { return ucThermostat & 0x0Fu; }
    bool celsius() const { return (ucThermostat & 0x80u) != 0; }
};
static_assert(sizeof(SAFTE_CONFIG) == 64, "SAFTE_CONFIG is 64 bytes");
static_assert(offsetof(SAFTE_CONFIG, ucThermostat) == 6, "thermostat byte at 6");
static_assert(offsetof(SAFTE_CONFIG, vendorUniqueByteCount) == 63, "vendor-unique count at 63");

// The decoded SAF-TE configuration of an enclosure: its component counts.
class STOR_EXPORT SafteConfig : public RaidObject {
public:
    static constexpr unsigned RESERVED_SIZE = 57;

    SafteConfig();
    // Copies the counts, the vendor-unique count and the unit; not the
    // reserved bytes.
    SafteConfig(const SafteConfig& right);
    // Reads the "SafteConfig" element the parser stands on; the enclosure is
    // not used.
    SafteConfig(Enclosure* enclosure, SimpleXmlParser& xmlParser);
    ~SafteConfig() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    // Collects the element's attributes up to its end, then restores the
    // counts and the unit (not the address).
    virtual void build(SimpleXmlParser& xmlParser);

    // Takes the six counts, the vendor-unique count and the unit from the
    // buffer; nothing for a null buffer.
    void initFieldsFromData(const SAFTE_CONFIG* data);

    uint16_t getFanCount() const { return usFanCount; }
    uint16_t getPowerSupplyCount() const { return usPowerSupplyCount; }
    uint16_t getDeviceSlotCount() const { return usDeviceSlotCount; }
    uint16_t getDoorLockPresent() const { return usDoorLockPresent; }
    uint16_t getTempSensorCount() const { return usTempSensorCount; }
    uint16_t getAudibleAlarmPresent() const { return usAudibleAlarmPresent; }
    uint16_t getVendorUniqueBytes() const { return usVendorUniqueBytes; }
    bool isCelsius() const { return bCelsius; }
    unsigned char* getReserved() { return ucReserved; }
    const unsigned char* getReserved() const { return ucReserved; }

    void setFanCount(uint16_t n) { usFanCount = n; }
    void setPowerSupplyCount(uint16_t n) { usPowerSupplyCount = n; }
    void setDeviceSlotCount(uint16_t n) { usDeviceSlotCount = n; }
    void setDoorLockPresent(uint16_t n) { usDoorLockPresent = n; }
    void setTempSensorCount(uint16_t n) { usTempSensorCount = n; }
    void setAudibleAlarmPresent(uint16_t n) { usAudibleAlarmPresent = n; }
    void setVendorUniqueBytes(uint16_t n) { usVendorUniqueBytes = n; }
    void setCelsius(bool c) { bCelsius = c; }
    // Copies the text without its terminator to the front of the reserved
    // bytes, at most 57; the rest stays.
    void setReserved(const unsigned char* text);

    // Length of the status buffer these counts describe: fans + power
    // supplies + slots + sensors + 5.
    uint16_t getStatusLength() const;

private:
    uint16_t usFanCount;
    uint16_t usPowerSupplyCount;
    uint16_t usDeviceSlotCount;
    uint16_t usDoorLockPresent;
    uint16_t usTempSensorCount;
    uint16_t usAudibleAlarmPresent;
    unsigned char ucReserved[RESERVED_SIZE];
    uint16_t usVendorUniqueBytes;
    bool bCelsius;
};

#endif
