#include "RaidModel/Interface/Enclosure.h"

#include <cstring>

#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"
#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/StrToNum32.h"
#include "RaidModel/Interface/EnclosureItem.h"
#include "RaidModel/Interface/SafteFan.h"
#include "RaidModel/Interface/SaftePowerSupply.h"
#include "RaidModel/Interface/SafteSlot.h"
#include "RaidModel/Interface/SafteTempSensor.h"
#include "RaidModel/Serialization/Writer.h"

namespace {

template <class T>
T* entryAt(const std::vector<T*>& v, uint32_t n)
{
    return n < v.size() ? v[n] : nullptr;
}

} // namespace

Enclosure::Enclosure()
    : safteDataValid(false), safteConfig(nullptr), safteStatus(nullptr), itemCounter(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Enclosure::Enclosure()");
}

Enclosure::Enclosure(Adapter* adapterIN, Channel* channelIN, STORID_T deviceIDIN, const char* vendorIN,
                     const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
                     EnumPhysicalDeviceState stateIN, const char* fruNumberIN)
    : PhysicalDevice(adapterIN, channelIN, deviceIDIN, ENCLOSURE, vendorIN, modelIN, serialNumberIN,
                     firmwareLevelIN, stateIN, fruNumberIN),
      safteDataValid(false), safteConfig(nullptr), safteStatus(nullptr), itemCounter(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Enclosure::Enclosure(Adapter *, ...)");
}

Enclosure::Enclosure(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser)
    : safteDataValid(false), safteConfig(nullptr), safteStatus(nullptr), itemCounter(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Enclosure::Enclosure(Adapter *, Channel *, SimpleXmlParser &)");
    adapter = adapterIN;
    channel = channelIN;
    attribList.setInitElements(19);
    build(xmlParser);
}

Enclosure::Enclosure(const Enclosure& right)
    : PhysicalDevice(right), safteDataValid(false), safteConfig(nullptr), safteStatus(nullptr),
      itemCounter(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Enclosure::Enclosure(const Enclosure &)");
}

Enclosure::~Enclosure()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Enclosure::~Enclosure()");
    delete safteConfig;
    delete safteStatus;
}

bool Enclosure::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "Enclosure") == 0) || PhysicalDevice::isInstanceOf(className);
}

const char* Enclosure::typeName() const { return "Enclosure"; }

const char* Enclosure::serializedName() const { return "Enclosure"; }

void Enclosure::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    PhysicalDevice::writeTo(writer);
    writer->writeBool("safteDataValid", safteDataValid);
}

void Enclosure::addChild(RaidObject* child)
{
    if (!child)
        return;
    child->getAddr2().setItemID(itemCounter++);
    RaidObject::addChild(child);
}

void Enclosure::addChild(RaidObject* child, unsigned long index)
{
    if (!child)
        return;
    child->getAddr2().setItemID(itemCounter++);
    RaidObject::addChild(child, index);
}

void Enclosure::descendantAdded(RaidObject* descendant)
{
    PhysicalDevice::descendantAdded(descendant);
    if (!descendant || !descendant->isInstanceOf("EnclosureItem"))
        return;
    EnclosureItem* item = static_cast<EnclosureItem*>(descendant);
    allItemVec.push_back(item);
    if (item->isInstanceOf("SafteFan"))
        fanVec.push_back(static_cast<SafteFan*>(item));
    else if (item->isInstanceOf("SaftePowerSupply"))
        powerSupplyVec.push_back(static_cast<SaftePowerSupply*>(item));
    else if (item->isInstanceOf("SafteSlot"))
        slotVec.push_back(static_cast<SafteSlot*>(item));
    else if (item->isInstanceOf("SafteTempSensor"))
        tempSensorVec.push_back(static_cast<SafteTempSensor*>(item));
    else
        otherItemVec.push_back(item);
}

Ret Enclosure::setAlarmState(EnumAlarmState) { return Ret(Ret::NOT_SUPPORTED); }

void Enclosure::build(SimpleXmlParser& xmlParser)
{
    // One numbering per kind for the items of this element.
    unsigned long fans = 0, supplies = 0, slots = 0, sensors = 0;
    try {
        do {
            if (xmlParser.tagIs("Enclosure")) {
                if (xmlParser.foundEndTag())
                    break;
                if (const char* name = xmlParser.getName()) {
                    attribList.Append(name, xmlParser.getValue());
                    // Known at once, so that the children read next carry it.
                    if (std::strcmp(name, "deviceID") == 0)
                        myAddr2.setDeviceID(strToU32(xmlParser.getValue(), 10));
                }
            } else if (!xmlParser.foundStartTag()) {
                continue;
            } else if (xmlParser.tagIs("SafteConfig")) {
                addChild(new SafteConfig(this, xmlParser));
            } else if (xmlParser.tagIs("Fan")) {
                new SafteFan(this, fans++, xmlParser);
            } else if (xmlParser.tagIs("PowerSupply")) {
                new SaftePowerSupply(this, supplies++, xmlParser);
            } else if (xmlParser.tagIs("Slot")) {
                new SafteSlot(this, slots++, xmlParser);
            } else if (xmlParser.tagIs("TempSensor")) {
                new SafteTempSensor(this, sensors++, xmlParser);
            }
        } while (xmlParser.parseNext());
    } catch (...) {
        // The enclosure being read goes away with the exception, and so must
        // what it has read; the lists only point at the children.
        deleteAllChildren();
        allItemVec.clear();
        otherItemVec.clear();
        fanVec.clear();
        powerSupplyVec.clear();
        slotVec.clear();
        tempSensorVec.clear();
        sasPhyVec.clear();
        throw;
    }
    PhysicalDevice::build();
    if (attribList.Exists("safteDataValid"))
        safteDataValid = attribList.GetBool("safteDataValid");
}

bool Enclosure::haveStatus() const { return safteDataValid && safteStatus; }

uint16_t Enclosure::getFanCount() const
{
    return safteDataValid && safteConfig ? safteConfig->getFanCount() : 0;
}

uint16_t Enclosure::getPowerSupplyCount() const
{
    return safteDataValid && safteConfig ? safteConfig->getPowerSupplyCount() : 0;
}

EnumSAFTEFanStatusCodes Enclosure::getFanStatus(unsigned short n) const
{
    if (!haveStatus() || n >= SafteStatus::MAX_FANS)
        return KRNA_SAFTE_FAN_STATUS_UNKNOWN;
    return static_cast<EnumSAFTEFanStatusCodes>(safteStatus->ucFanStatus[n]);
}

EnumSAFTEPowerSupplyStatusCodes Enclosure::getPowerSupplyStatus(unsigned short n) const
{
    if (!haveStatus() || n >= SafteStatus::MAX_POWER_SUPPLIES)
        return KRNA_SAFTE_POWER_SUPPLY_STATUS_UNKNOWN;
    return static_cast<EnumSAFTEPowerSupplyStatusCodes>(safteStatus->ucPowerSupplyStatus[n]);
}

bool Enclosure::isTempOutOfRange() const
{
    return haveStatus() && (safteStatus->ucTempOutOfRangeFlag1 != 0 || safteStatus->ucTempOutOfRangeFlag2 != 0);
}

uint32_t Enclosure::getSlotNumberFromDeviceID(int id) const
{
    return haveStatus() ? safteStatus->getSlotNumberFromDeviceID(id) : SafteStatus::NO_SLOT;
}

EnclosureItem* Enclosure::getEnclosureItem(uint32_t n) const { return entryAt(allItemVec, n); }

EnclosureItem* Enclosure::getOtherEnclosureItem(uint32_t n) const { return entryAt(otherItemVec, n); }

SafteFan* Enclosure::getSafteFan(uint32_t n) const { return entryAt(fanVec, n); }

SaftePowerSupply* Enclosure::getSaftePowerSupply(uint32_t n) const { return entryAt(powerSupplyVec, n); }

SafteSlot* Enclosure::getSafteSlot(uint32_t n) const { return entryAt(slotVec, n); }

SafteTempSensor* Enclosure::getSafteTempSensor(uint32_t n) const { return entryAt(tempSensorVec, n); }
