#ifndef NRMENCLOSURE_H
#define NRMENCLOSURE_H

// The snapshot of a SAF-TE enclosure and of its SAF-TE configuration and
// status. The enclosure keeps its SAF-TE data twice: as owned members, which
// its accessors read in place of the live readings, and as a copy of each
// among its children, which the snapshot file holds.

#include <cstdint>

#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/Enclosure.h"

class SafteConfig;
class SafteStatus;

namespace nrmsnapshot {
struct DeviceFields;
}

// The three counts of a SAF-TE configuration ("SafteConfig").
class STOR_EXPORT NRMSafteConfig : public RaidObject {
public:
    // Three zero counts.
    NRMSafteConfig();
    NRMSafteConfig(const NRMSafteConfig& right);
    NRMSafteConfig& operator=(const NRMSafteConfig&) = delete;
    ~NRMSafteConfig() override;

    // True for "NRMSafteConfig" only.
    bool isInstanceOf(const char* className) const override;
    const char* serializedName() const override;
    // "fanCount", "powerSupplyCount", "slotCount".
    void writeTo(Writer* writer) const override;
    // The counts of a live configuration, or of another snapshot; null
    // changes nothing.
    void build(SafteConfig* live);
    void build(NRMSafteConfig* other);
    // Reads the "SafteConfig" element the parser stands on.
    void build(SimpleXmlParser& parser);

    uint16_t fanCount;
    uint16_t powerSupplyCount;
    uint16_t slotCount;
    XmlAttributeList_C xmlAttributes;
};

// The status bytes of a SAF-TE status ("SafteStatus"): SAF-TE codes of fans
// and power supplies (0x80 unknown), the device id in each slot (0xFF none)
// and the two temperature-out-of-range flags.
class STOR_EXPORT NRMSafteStatus : public RaidObject {
public:
    static constexpr int NUM_FANS = 32;
    static constexpr int NUM_POWER_SUPPLIES = 32;
    static constexpr int NUM_SLOTS = 64;
    // The answer of the slot lookups when there is no such slot or device.
    static constexpr uint32_t NO_SLOT = 0x7FFFFFFF;

    // 0x80 for every fan and power supply, 0xFF in every slot, flags 0.
    NRMSafteStatus();
    NRMSafteStatus(const NRMSafteStatus& right);
    NRMSafteStatus& operator=(const NRMSafteStatus&) = delete;
    ~NRMSafteStatus() override;

    // True for "NRMSafteStatus" only.
    bool isInstanceOf(const char* className) const override;
    const char* serializedName() const override;
    // "fan0" to "fan31", "powerSupply0" to "powerSupply31", "slot0" to
    // "slot63", "tempFlags1", "tempFlags2": all of them, always.
    void writeTo(Writer* writer) const override;
    // The bytes of a live status, or of another snapshot; null changes nothing.
    void build(SafteStatus* live);
    void build(NRMSafteStatus* other);
    // Reads the "SafteStatus" element the parser stands on; a missing
    // attribute reads as 0.
    void build(SimpleXmlParser& parser);

    // 0x80 (unknown) for n above 31.
    EnumSAFTEFanStatusCodes getFanStatus(unsigned short n) const;
    EnumSAFTEPowerSupplyStatusCodes getPowerSupplyStatus(unsigned short n) const;
    // Either flag byte not 0.
    bool isTempOutOfRange() const;
    // The first slot 0 to 63 holding the device id; NO_SLOT when none does.
    uint32_t getSlotNumberFromDeviceID(int id) const;
    // The device id byte of the slot; NO_SLOT outside 0 to 63.
    uint32_t getDeviceIDFromSlotNumber(int slot) const;

    unsigned char fanStatus[NUM_FANS];
    unsigned char powerSupplyStatus[NUM_POWER_SUPPLIES];
    unsigned char slotDeviceID[NUM_SLOTS];
    unsigned char tempFlags1;
    unsigned char tempFlags2;
    XmlAttributeList_C xmlAttributes;
};

class STOR_EXPORT NRMEnclosure : public Enclosure {
public:
    // An enclosure of the snapshot adapter and channel, without SAF-TE data.
    NRMEnclosure(Adapter* owner, Channel* channelOwner);
    // The device part, nrmSafteDataValid and, when it is set, copies of both
    // owned members; no children, the model's own SAF-TE flag cleared.
    NRMEnclosure(const NRMEnclosure& right);
    NRMEnclosure& operator=(const NRMEnclosure&) = delete;
    // Deletes the owned members; the children belong to the tree.
    ~NRMEnclosure() override;

    bool isInstanceOf(const char* className) const override;
    const char* serializedName() const override;
    // The enclosure's attributes, then "nrmSafteDataValid".
    void writeTo(Writer* writer) const override;
    // Reads the "Enclosure" element the parser stands on; each "SafteConfig"
    // and "SafteStatus" inside it becomes a child and replaces the owned
    // member by a copy. The SAF-TE data is valid when both were read.
    void build(SimpleXmlParser& parser) override;
    // Copies the device fields of a live enclosure and, when its SAF-TE data
    // is valid, its SAF-TE configuration and status (each when present); of
    // a stored enclosure, its stored SAF-TE data.
    void build(Enclosure* live);

    // The SAF-TE readings of the stored data. Without valid data the counts
    // are 0, every status 0x80 (unknown), the temperature in range and the
    // slot lookups NO_SLOT.
    uint16_t getFanCount() const;
    uint16_t getPowerSupplyCount() const;
    // 0x80 also for n above 31.
    EnumSAFTEFanStatusCodes getFanStatus(unsigned short n) const;
    EnumSAFTEPowerSupplyStatusCodes getPowerSupplyStatus(unsigned short n) const;
    bool isTempOutOfRange() const;
    uint32_t getSlotNumberFromDeviceID(int id) const;
    uint32_t getDeviceIDFromSlotNumber(int slot) const;
    // The stored SAF-TE data is valid and both members are there.
    bool hasSafteData() const;

    // True exactly when both members are present.
    bool nrmSafteDataValid;
    NRMSafteConfig* nrmSafteConfig; // owned
    NRMSafteStatus* nrmSafteStatus; // owned
    XmlAttributeList_C xmlAttributes;

private:
    friend struct nrmsnapshot::DeviceFields;
    // Makes a copy of the child the owned member (replacing the one held)
    // and adds the child.
    void takeConfig(NRMSafteConfig* child);
    void takeStatus(NRMSafteStatus* child);
};

#endif
