#ifndef ENCLOSURE_H
#define ENCLOSURE_H

#include <cstdint>
#include <vector>

#include "RaidLib/Util/Ret.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/PhysicalDevice.h"

class EnclosureItem;
class SafteConfig;
class SafteStatus;
class SafteFan;
class SaftePowerSupply;
class SafteSlot;
class SafteTempSensor;
class SimpleXmlParser;

enum EnumSAFTEFanStatusCodes : int32_t {
    KRNA_SAFTE_FAN_STATUS_OPERATIONAL = 0,
    KRNA_SAFTE_FAN_STATUS_MALFUNCTIONING = 1,
    KRNA_SAFTE_FAN_STATUS_NOT_INSTALLED = 2,
    KRNA_SAFTE_FAN_STATUS_UNKNOWN = 128
};

enum EnumSAFTEPowerSupplyStatusCodes : int32_t {
    KRNA_SAFTE_POWER_SUPPLY_STATUS_OPERATIONAL_ON = 0,
    KRNA_SAFTE_POWER_SUPPLY_STATUS_OPERATIONAL_OFF = 1,
    KRNA_SAFTE_POWER_SUPPLY_STATUS_MALFUNCTIONING_ON = 16,
    KRNA_SAFTE_POWER_SUPPLY_STATUS_MALFUNCTIONING_OFF = 17,
    KRNA_SAFTE_POWER_SUPPLY_STATUS_NOT_INSTALLED = 32,
    KRNA_SAFTE_POWER_SUPPLY_STATUS_INSTALLED = 33,
    KRNA_SAFTE_POWER_SUPPLY_STATUS_UNKNOWN = 128
};

// A SAF-TE enclosure (SCSI processor device). It owns a decoded
// configuration and status record, which the family fills, and answers the
// SAF-TE queries from them. Every object that joins it is numbered (its item
// id) in joining order; its items are also kept in lists by kind. The lists
// do not own their entries: the items are children in the tree.
class STOR_EXPORT Enclosure : public PhysicalDevice {
public:
    Enclosure();
    Enclosure(Adapter* adapterIN, Channel* channelIN, STORID_T deviceIDIN, const char* vendorIN,
              const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
              EnumPhysicalDeviceState stateIN, const char* fruNumberIN);
    // Reads the "Enclosure" element the parser stands on, with its
    // configuration and items.
    Enclosure(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser);
    // The device part only: no items, no SAF-TE data.
    Enclosure(const Enclosure& right);
    Enclosure& operator=(const Enclosure&) = delete;
    // Deletes the owned records; the items belong to the tree.
    ~Enclosure() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    // The child takes the next item number, then joins.
    void addChild(RaidObject* child) override;
    void addChild(RaidObject* child, unsigned long index) override;
    void descendantAdded(RaidObject* descendant) override;
    // Not supported here (-1); families override it.
    virtual Ret setAlarmState(EnumAlarmState alarmStateIN);
    // Collects the element's attributes, reads its "SafteConfig", "Fan",
    // "PowerSupply", "Slot" and "TempSensor" children, then restores the
    // device fields and "safteDataValid".
    virtual void build(SimpleXmlParser& xmlParser);

    bool isSafteDataValid() const { return safteDataValid; }
    SafteConfig* getSafteConfig() const { return safteConfig; }
    SafteStatus* getSafteStatus() const { return safteStatus; }
    // 0 without valid data.
    uint16_t getFanCount() const;
    uint16_t getPowerSupplyCount() const;
    // 128 (unknown) without valid data or above 31.
    EnumSAFTEFanStatusCodes getFanStatus(unsigned short n) const;
    EnumSAFTEPowerSupplyStatusCodes getPowerSupplyStatus(unsigned short n) const;
    bool isTempOutOfRange() const;
    // 0x7FFFFFFF without valid data or when no slot holds the id.
    uint32_t getSlotNumberFromDeviceID(int id) const;

    // Entry n of each list; null when n is not below its length.
    EnclosureItem* getEnclosureItem(uint32_t n) const;
    EnclosureItem* getOtherEnclosureItem(uint32_t n) const;
    SafteFan* getSafteFan(uint32_t n) const;
    SaftePowerSupply* getSaftePowerSupply(uint32_t n) const;
    SafteSlot* getSafteSlot(uint32_t n) const;
    SafteTempSensor* getSafteTempSensor(uint32_t n) const;
    uint32_t getNumEnclosureItems() const { return static_cast<uint32_t>(allItemVec.size()); }
    uint32_t getNumOtherEnclosureItems() const { return static_cast<uint32_t>(otherItemVec.size()); }
    uint32_t getNumSafteFans() const { return static_cast<uint32_t>(fanVec.size()); }
    uint32_t getNumSaftePowerSupplies() const { return static_cast<uint32_t>(powerSupplyVec.size()); }
    uint32_t getNumSafteSlots() const { return static_cast<uint32_t>(slotVec.size()); }
    uint32_t getNumSafteTempSensors() const { return static_cast<uint32_t>(tempSensorVec.size()); }

protected:
    // True when the data is valid and the record is there.
    bool haveStatus() const;

    std::vector<EnclosureItem*> allItemVec;
    std::vector<EnclosureItem*> otherItemVec;
    std::vector<SafteFan*> fanVec;
    std::vector<SaftePowerSupply*> powerSupplyVec;
    std::vector<SafteSlot*> slotVec;
    std::vector<SafteTempSensor*> tempSensorVec;
    bool safteDataValid;
    SafteConfig* safteConfig; // owned
    SafteStatus* safteStatus; // owned
    uint32_t itemCounter;
};

#endif
