#include "monitor/NRMEnclosure.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"
#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Serialization/Writer.h"
#include "monitor/NRMSnapshotReader.h"

namespace {

const unsigned char UNKNOWN_STATUS = 0x80;
const unsigned char NO_DEVICE = 0xFF;

// The attribute name of entry index of a status array ("fan3", "slot63").
const char* entryName(char (&buffer)[24], const char* prefix, int index)
{
    std::snprintf(buffer, sizeof buffer, "%s%d", prefix, index);
    return buffer;
}

} // namespace

// ---- NRMSafteConfig ----

NRMSafteConfig::NRMSafteConfig() : fanCount(0), powerSupplyCount(0), slotCount(0) {}

NRMSafteConfig::NRMSafteConfig(const NRMSafteConfig& right)
    : RaidObject(right), fanCount(right.fanCount), powerSupplyCount(right.powerSupplyCount),
      slotCount(right.slotCount)
{
}

NRMSafteConfig::~NRMSafteConfig() {}

bool NRMSafteConfig::isInstanceOf(const char* className) const
{
    return className && std::strcmp(className, "NRMSafteConfig") == 0;
}

const char* NRMSafteConfig::serializedName() const { return "SafteConfig"; }

void NRMSafteConfig::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    writer->writeUShort("fanCount", fanCount);
    writer->writeUShort("powerSupplyCount", powerSupplyCount);
    writer->writeUShort("slotCount", slotCount);
}

void NRMSafteConfig::build(SafteConfig* live)
{
    if (!live)
        return;
    fanCount = live->getFanCount();
    powerSupplyCount = live->getPowerSupplyCount();
    slotCount = live->getDeviceSlotCount();
}

void NRMSafteConfig::build(NRMSafteConfig* other)
{
    if (!other)
        return;
    fanCount = other->fanCount;
    powerSupplyCount = other->powerSupplyCount;
    slotCount = other->slotCount;
}

void NRMSafteConfig::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(4);
    nrmsnapshot::readElement(parser, "SafteConfig", xmlAttributes);
    fanCount = static_cast<uint16_t>(xmlAttributes.GetULong("fanCount"));
    powerSupplyCount = static_cast<uint16_t>(xmlAttributes.GetULong("powerSupplyCount"));
    slotCount = static_cast<uint16_t>(xmlAttributes.GetULong("slotCount"));
}

// ---- NRMSafteStatus ----

NRMSafteStatus::NRMSafteStatus() : tempFlags1(0), tempFlags2(0)
{
    std::memset(fanStatus, UNKNOWN_STATUS, sizeof fanStatus);
    std::memset(powerSupplyStatus, UNKNOWN_STATUS, sizeof powerSupplyStatus);
    std::memset(slotDeviceID, NO_DEVICE, sizeof slotDeviceID);
}

NRMSafteStatus::NRMSafteStatus(const NRMSafteStatus& right)
    : RaidObject(right), tempFlags1(right.tempFlags1), tempFlags2(right.tempFlags2)
{
    std::memcpy(fanStatus, right.fanStatus, sizeof fanStatus);
    std::memcpy(powerSupplyStatus, right.powerSupplyStatus, sizeof powerSupplyStatus);
    std::memcpy(slotDeviceID, right.slotDeviceID, sizeof slotDeviceID);
}

NRMSafteStatus::~NRMSafteStatus() {}

bool NRMSafteStatus::isInstanceOf(const char* className) const
{
    return className && std::strcmp(className, "NRMSafteStatus") == 0;
}

const char* NRMSafteStatus::serializedName() const { return "SafteStatus"; }

void NRMSafteStatus::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    char name[24];
    for (int i = 0; i < NUM_FANS; ++i)
        writer->writeUInt(entryName(name, "fan", i), fanStatus[i]);
    for (int i = 0; i < NUM_POWER_SUPPLIES; ++i)
        writer->writeUInt(entryName(name, "powerSupply", i), powerSupplyStatus[i]);
    for (int i = 0; i < NUM_SLOTS; ++i)
        writer->writeUInt(entryName(name, "slot", i), slotDeviceID[i]);
    writer->writeUInt("tempFlags1", tempFlags1);
    writer->writeUInt("tempFlags2", tempFlags2);
}

void NRMSafteStatus::build(SafteStatus* live)
{
    if (!live)
        return;
    static_assert(sizeof fanStatus == sizeof live->ucFanStatus, "fan bytes");
    static_assert(sizeof powerSupplyStatus == sizeof live->ucPowerSupplyStatus, "power-supply bytes");
    static_assert(sizeof slotDeviceID == sizeof live->ucSlotScsiId, "slot bytes");
    std::memcpy(fanStatus, live->ucFanStatus, sizeof fanStatus);
    std::memcpy(powerSupplyStatus, live->ucPowerSupplyStatus, sizeof powerSupplyStatus);
    std::memcpy(slotDeviceID, live->ucSlotScsiId, sizeof slotDeviceID);
    tempFlags1 = live->ucTempOutOfRangeFlag1;
    tempFlags2 = live->ucTempOutOfRangeFlag2;
}

void NRMSafteStatus::build(NRMSafteStatus* other)
{
    if (!other)
        return;
    std::memcpy(fanStatus, other->fanStatus, sizeof fanStatus);
    std::memcpy(powerSupplyStatus, other->powerSupplyStatus, sizeof powerSupplyStatus);
    std::memcpy(slotDeviceID, other->slotDeviceID, sizeof slotDeviceID);
    tempFlags1 = other->tempFlags1;
    tempFlags2 = other->tempFlags2;
}

void NRMSafteStatus::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(NUM_FANS + NUM_POWER_SUPPLIES + NUM_SLOTS + 2);
    nrmsnapshot::readElement(parser, "SafteStatus", xmlAttributes);
    // Each byte keeps the low bits of its number; a missing one reads as 0.
    char name[24];
    for (int i = 0; i < NUM_FANS; ++i)
        fanStatus[i] = static_cast<unsigned char>(xmlAttributes.GetULong(entryName(name, "fan", i)));
    for (int i = 0; i < NUM_POWER_SUPPLIES; ++i)
        powerSupplyStatus[i] =
            static_cast<unsigned char>(xmlAttributes.GetULong(entryName(name, "powerSupply", i)));
    for (int i = 0; i < NUM_SLOTS; ++i)
        slotDeviceID[i] = static_cast<unsigned char>(xmlAttributes.GetULong(entryName(name, "slot", i)));
    tempFlags1 = static_cast<unsigned char>(xmlAttributes.GetULong("tempFlags1"));
    tempFlags2 = static_cast<unsigned char>(xmlAttributes.GetULong("tempFlags2"));
}

EnumSAFTEFanStatusCodes NRMSafteStatus::getFanStatus(unsigned short n) const
{
    if (n >= NUM_FANS)
        return KRNA_SAFTE_FAN_STATUS_UNKNOWN;
    return static_cast<EnumSAFTEFanStatusCodes>(fanStatus[n]);
}

EnumSAFTEPowerSupplyStatusCodes NRMSafteStatus::getPowerSupplyStatus(unsigned short n) const
{
    if (n >= NUM_POWER_SUPPLIES)
        return KRNA_SAFTE_POWER_SUPPLY_STATUS_UNKNOWN;
    return static_cast<EnumSAFTEPowerSupplyStatusCodes>(powerSupplyStatus[n]);
}

bool NRMSafteStatus::isTempOutOfRange() const { return tempFlags1 != 0 || tempFlags2 != 0; }

uint32_t NRMSafteStatus::getSlotNumberFromDeviceID(int id) const
{
    for (int i = 0; i < NUM_SLOTS; ++i)
        if (slotDeviceID[i] == id)
            return static_cast<uint32_t>(i);
    return NO_SLOT;
}

uint32_t NRMSafteStatus::getDeviceIDFromSlotNumber(int slot) const
{
    if (slot < 0 || slot >= NUM_SLOTS)
        return NO_SLOT;
    return slotDeviceID[slot];
}

// ---- NRMEnclosure ----

NRMEnclosure::NRMEnclosure(Adapter* owner, Channel* channelOwner)
    : nrmSafteDataValid(false), nrmSafteConfig(nullptr), nrmSafteStatus(nullptr)
{
    adapter = owner;
    channel = channelOwner;
}

NRMEnclosure::NRMEnclosure(const NRMEnclosure& right)
    : Enclosure(right), nrmSafteDataValid(right.nrmSafteDataValid), nrmSafteConfig(nullptr),
      nrmSafteStatus(nullptr)
{
    safteDataValid = false;
    if (nrmSafteDataValid) {
        nrmSafteConfig = right.nrmSafteConfig ? new NRMSafteConfig(*right.nrmSafteConfig) : nullptr;
        nrmSafteStatus = right.nrmSafteStatus ? new NRMSafteStatus(*right.nrmSafteStatus) : nullptr;
        nrmSafteDataValid = nrmSafteConfig && nrmSafteStatus;
    }
}

NRMEnclosure::~NRMEnclosure()
{
    delete nrmSafteConfig;
    delete nrmSafteStatus;
}

bool NRMEnclosure::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "NRMEnclosure") == 0) || Enclosure::isInstanceOf(className);
}

const char* NRMEnclosure::serializedName() const { return "Enclosure"; }

void NRMEnclosure::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    Enclosure::writeTo(writer);
    writer->writeBool("nrmSafteDataValid", nrmSafteDataValid);
}

// The copy is made before anything changes, so that a failed allocation
// leaves the enclosure as it was (and the child deleted).
void NRMEnclosure::takeConfig(NRMSafteConfig* child)
{
    OwnedSubtree<NRMSafteConfig> owned(child);
    std::unique_ptr<NRMSafteConfig> copy(new NRMSafteConfig(*child));
    addChild(owned.release());
    delete nrmSafteConfig;
    nrmSafteConfig = copy.release();
}

void NRMEnclosure::takeStatus(NRMSafteStatus* child)
{
    OwnedSubtree<NRMSafteStatus> owned(child);
    std::unique_ptr<NRMSafteStatus> copy(new NRMSafteStatus(*child));
    addChild(owned.release());
    delete nrmSafteStatus;
    nrmSafteStatus = copy.release();
}

void NRMEnclosure::build(Enclosure* live)
{
    if (!live)
        return;
    nrmsnapshot::DeviceFields::copy(*this, *live);
    OwnedSubtree<NRMSafteConfig> config;
    OwnedSubtree<NRMSafteStatus> status;
    if (live->isInstanceOf("NRMEnclosure")) {
        // A stored enclosure keeps its SAF-TE data in its own members.
        const NRMEnclosure* stored = static_cast<const NRMEnclosure*>(live);
        if (stored->hasSafteData()) {
            config.reset(new NRMSafteConfig(*stored->nrmSafteConfig));
            status.reset(new NRMSafteStatus(*stored->nrmSafteStatus));
        }
    } else if (live->isSafteDataValid()) {
        if (live->getSafteConfig()) {
            config.reset(new NRMSafteConfig());
            config->build(live->getSafteConfig());
        }
        if (live->getSafteStatus()) {
            status.reset(new NRMSafteStatus());
            status->build(live->getSafteStatus());
        }
    }
    if (config)
        takeConfig(config.release());
    if (status)
        takeStatus(status.release());
    nrmSafteDataValid = nrmSafteConfig && nrmSafteStatus;
}

void NRMEnclosure::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(24);
    nrmsnapshot::DeviceFields::read(*this, parser, "Enclosure", [this](SimpleXmlParser& p) {
        if (p.tagIs("SafteConfig"))
            takeConfig(nrmsnapshot::readChild(new NRMSafteConfig(), p));
        else if (p.tagIs("SafteStatus"))
            takeStatus(nrmsnapshot::readChild(new NRMSafteStatus(), p));
    });
    // Valid when both were read; the stored flag itself is not taken.
    nrmSafteDataValid = nrmSafteConfig && nrmSafteStatus;
}

bool NRMEnclosure::hasSafteData() const { return nrmSafteDataValid && nrmSafteConfig && nrmSafteStatus; }

uint16_t NRMEnclosure::getFanCount() const { return hasSafteData() ? nrmSafteConfig->fanCount : 0; }

uint16_t NRMEnclosure::getPowerSupplyCount() const
{
    return hasSafteData() ? nrmSafteConfig->powerSupplyCount : 0;
}

EnumSAFTEFanStatusCodes NRMEnclosure::getFanStatus(unsigned short n) const
{
    return hasSafteData() ? nrmSafteStatus->getFanStatus(n) : KRNA_SAFTE_FAN_STATUS_UNKNOWN;
}

EnumSAFTEPowerSupplyStatusCodes NRMEnclosure::getPowerSupplyStatus(unsigned short n) const
{
    return hasSafteData() ? nrmSafteStatus->getPowerSupplyStatus(n) : KRNA_SAFTE_POWER_SUPPLY_STATUS_UNKNOWN;
}

bool NRMEnclosure::isTempOutOfRange() const { return hasSafteData() && nrmSafteStatus->isTempOutOfRange(); }

uint32_t NRMEnclosure::getSlotNumberFromDeviceID(int id) const
{
    return hasSafteData() ? nrmSafteStatus->getSlotNumberFromDeviceID(id) : NRMSafteStatus::NO_SLOT;
}

uint32_t NRMEnclosure::getDeviceIDFromSlotNumber(int slot) const
{
    return hasSafteData() ? nrmSafteStatus->getDeviceIDFromSlotNumber(slot) : NRMSafteStatus::NO_SLOT;
}
