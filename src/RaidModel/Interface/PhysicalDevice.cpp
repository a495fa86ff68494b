#include "RaidModel/Interface/PhysicalDevice.h"

#include <cstdio>
#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/StrToNum32.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Serialization/Writer.h"

namespace {

inline bool sameText(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

} // namespace

PhysicalDevice::PhysicalDevice()
    : adapter(nullptr), channel(nullptr), deviceType(HARD_DRIVE), vendor(), model(), serialNumber(),
      firmwareLevel(), state(DRIVE_READY), fruNumber(), setSpeed(0), negotiatedSpeed(0),
      enumeratedSetSpeed(SPEED_UNKNOWN), enumeratedNegotiatedSpeed(SPEED_UNKNOWN), wwn0(0), wwn1(0),
      wwnString(), i_t_nexusLossTime(0), i_t_nexusLossTimeChangeable(false), interfaceType(SCSI),
      sataPort(0x7FFFFFFF), unsupportedDeviceReason(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "PhysicalDevice::PhysicalDevice()");
    renewWWNString();
}

PhysicalDevice::PhysicalDevice(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN,
                               EnumPhysicalDeviceType deviceTypeIN, const char* vendorIN,
                               const char* modelIN, const char* serialNumberIN,
                               const char* firmwareLevelIN, EnumPhysicalDeviceState stateIN,
                               const char* fruNumberIN)
    : adapter(adapterIN), channel(channelIN), deviceType(deviceTypeIN), vendor(), model(),
      serialNumber(), firmwareLevel(), state(stateIN), fruNumber(), setSpeed(0), negotiatedSpeed(0),
      enumeratedSetSpeed(SPEED_UNKNOWN), enumeratedNegotiatedSpeed(SPEED_UNKNOWN), wwn0(0), wwn1(0),
      wwnString(), i_t_nexusLossTime(0), i_t_nexusLossTimeChangeable(false),
      interfaceType(channelIN ? channelIN->getChannelType() : SCSI), sataPort(0x7FFFFFFF),
      unsupportedDeviceReason(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "PhysicalDevice::PhysicalDevice(Adapter *, ...)");
    myAddr2.setDeviceID(static_cast<STORID_T>(deviceIDIN));
    copyText(vendor, vendorIN);
    copyText(model, modelIN);
    copyText(serialNumber, serialNumberIN);
    copyText(firmwareLevel, firmwareLevelIN);
    copyText(fruNumber, fruNumberIN);
    renewWWNString();
}

PhysicalDevice::PhysicalDevice(const PhysicalDevice& right)
    : RaidObject(right), adapter(right.adapter), channel(right.channel), deviceType(right.deviceType),
      state(right.state), setSpeed(right.setSpeed), negotiatedSpeed(right.negotiatedSpeed),
      enumeratedSetSpeed(right.enumeratedSetSpeed),
      enumeratedNegotiatedSpeed(right.enumeratedNegotiatedSpeed), wwn0(right.wwn0), wwn1(right.wwn1),
      i_t_nexusLossTime(right.i_t_nexusLossTime),
      i_t_nexusLossTimeChangeable(right.i_t_nexusLossTimeChangeable),
      interfaceType(right.interfaceType), sataPort(right.sataPort),
      unsupportedDeviceReason(right.unsupportedDeviceReason)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "PhysicalDevice::PhysicalDevice(const PhysicalDevice &)");
    myAddr2.setDeviceID(right.getDeviceID());
    copyText(vendor, right.vendor);
    copyText(model, right.model);
    copyText(serialNumber, right.serialNumber);
    copyText(firmwareLevel, right.firmwareLevel);
    copyText(fruNumber, right.fruNumber);
    renewWWNString();
}

PhysicalDevice::~PhysicalDevice()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "PhysicalDevice::~PhysicalDevice()");
}

bool PhysicalDevice::isInstanceOf(const char* className) const
{
    return isClassName(className, "PhysicalDevice") || RaidObject::isInstanceOf(className);
}

const char* PhysicalDevice::typeName() const { return "PhysicalDevice"; }

const char* PhysicalDevice::serializedName() const { return "PhysicalDevice"; }

bool PhysicalDevice::operator==(const PhysicalDevice& right) const
{
    return adapter == right.adapter && channel == right.channel &&
           getDeviceID() == right.getDeviceID() && deviceType == right.deviceType &&
           sameText(vendor, right.vendor) && sameText(model, right.model) &&
           sameText(serialNumber, right.serialNumber) && sameText(firmwareLevel, right.firmwareLevel) &&
           sameText(fruNumber, right.fruNumber) && state == right.state;
}

PhysicalDevice& PhysicalDevice::operator=(const PhysicalDevice& right)
{
    if (this == &right)
        return *this;
    adapter = right.adapter;
    channel = right.channel;
    myAddr2.setDeviceID(right.getDeviceID());
    deviceType = right.deviceType;
    state = right.state;
    copyText(vendor, right.vendor);
    copyText(model, right.model);
    copyText(serialNumber, right.serialNumber);
    copyText(firmwareLevel, right.firmwareLevel);
    copyText(fruNumber, right.fruNumber);
    wwn0 = right.wwn0;
    wwn1 = right.wwn1;
    renewWWNString();
    i_t_nexusLossTime = right.i_t_nexusLossTime;
    i_t_nexusLossTimeChangeable = right.i_t_nexusLossTimeChangeable;
    interfaceType = right.interfaceType;
    return *this;
}

Ret PhysicalDevice::setState(EnumPhysicalDeviceState) { return Ret(Ret::NOT_SUPPORTED); }

Ret PhysicalDevice::setITNexusLossTime(unsigned short) { return Ret(Ret::NOT_SUPPORTED); }

Ret PhysicalDevice::scsiPassThruCommand(SCSICommand&) { return Ret(Ret::NOT_SUPPORTED); }

Ret PhysicalDevice::upgradeFirmware(const char*, bool) { return Ret(Ret::NOT_SUPPORTED); }

Ret PhysicalDevice::identifyDevice(bool) { return Ret(Ret::NOT_SUPPORTED); }

void PhysicalDevice::setVendor(const char* text) { copyText(vendor, text); }

void PhysicalDevice::setModel(const char* text) { copyText(model, text); }

void PhysicalDevice::setSerialNumber(const char* text) { copyText(serialNumber, text); }

void PhysicalDevice::setFirmwareLevel(const char* text) { copyText(firmwareLevel, text); }

void PhysicalDevice::setFruNumber(const char* text) { copyText(fruNumber, text); }

void PhysicalDevice::setWWN0(uint32_t w)
{
    wwn0 = w;
    renewWWNString();
}

void PhysicalDevice::setWWN1(uint32_t w)
{
    wwn1 = w;
    renewWWNString();
}

void PhysicalDevice::renewWWNString()
{
    static const char digits[] = "0123456789ABCDEF";
    const uint32_t words[2] = {wwn0, wwn1};
    char* p = wwnString;
    for (uint32_t word : words) {
        for (int byte = 0; byte < 4; ++byte) {
            const unsigned b = (word >> (8 * byte)) & 0xFF;
            *p++ = digits[b >> 4];
            *p++ = digits[b & 0xF];
        }
    }
    *p = '\0';
}

SASPhy* PhysicalDevice::getSASPhy(unsigned long index) const
{
    return index < sasPhyVec.size() ? sasPhyVec[index] : nullptr;
}

void PhysicalDevice::descendantAdded(RaidObject* descendant)
{
    RaidObject::descendantAdded(descendant);
    if (!descendant)
        return;
    descendant->getAddr2().setDeviceID(getDeviceID());
    if (descendant->isInstanceOf("SASPhy"))
        sasPhyVec.push_back(static_cast<SASPhy*>(descendant));
}

void PhysicalDevice::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    // The ASCII writer clears bit 7 of the texts in place.
    PhysicalDevice* self = const_cast<PhysicalDevice*>(this);
    writer->writeInt("deviceType", deviceType);
    writer->writeASCIIString("vendor", self->vendor);
    writer->writeASCIIString("model", self->model);
    writer->writeASCIIString("serialNumber", self->serialNumber);
    writer->writeASCIIString("firmwareLevel", self->firmwareLevel);
    writer->writeASCIIString("fruNumber", self->fruNumber);
    writer->writeInt("state", state);
    writer->writeInt("maxSpeed", enumeratedSetSpeed);
    writer->writeInt("negotiatedSpeed", enumeratedNegotiatedSpeed);
    writer->writeULong("wwn0", wwn0);
    writer->writeULong("wwn1", wwn1);
    writer->writeASCIIString("wwn", self->wwnString);
    writer->writeUShort("I_T_nexusLossTime", i_t_nexusLossTime);
    writer->writeBool("I_T_nexusLossTimeChangeable", i_t_nexusLossTimeChangeable);
    writer->writeInt("interfaceType", interfaceType);
    writer->writeInt("sataPort", sataPort);
    writer->writeULong("unsupportedDeviceReason", unsupportedDeviceReason);
}

void PhysicalDevice::build()
{
    initBaseAttributes();
    deviceType = static_cast<EnumPhysicalDeviceType>(attribList.GetLong("deviceType"));
    copyText(vendor, attribList.GetValue("vendor"));
    copyText(model, attribList.GetValue("model"));
    copyText(serialNumber, attribList.GetValue("serialNumber"));
    copyText(firmwareLevel, attribList.GetValue("firmwareLevel"));
    copyText(fruNumber, attribList.GetValue("fruNumber"));
    state = static_cast<EnumPhysicalDeviceState>(attribList.GetLong("state"));
    enumeratedSetSpeed = static_cast<EnumSpeed>(attribList.GetLong("maxSpeed"));
    enumeratedNegotiatedSpeed = static_cast<EnumSpeed>(attribList.GetLong("negotiatedSpeed"));
    wwn0 = attribList.GetULong("wwn0");
    wwn1 = attribList.GetULong("wwn1");
    // Taken as written, not recomputed from the two words.
    copyText(wwnString, attribList.GetValue("wwn"));
    i_t_nexusLossTime = static_cast<unsigned short>(attribList.GetULong("I_T_nexusLossTime"));
    i_t_nexusLossTimeChangeable = attribList.GetBool("I_T_nexusLossTimeChangeable");
    interfaceType = static_cast<EnumChannelType>(attribList.GetULong("interfaceType"));
    sataPort = attribList.GetLong("sataPort");
    unsupportedDeviceReason = attribList.GetULong("unsupportedDeviceReason");
}

void PhysicalDevice::readElement(const char* elementName, SimpleXmlParser& xmlParser)
{
    try {
        do {
            if (xmlParser.tagIs(elementName)) {
                if (xmlParser.foundEndTag())
                    break;
                if (const char* name = xmlParser.getName()) {
                    attribList.Append(name, xmlParser.getValue());
                    if (std::strcmp(name, "deviceID") == 0)
                        myAddr2.setDeviceID(strToU32(xmlParser.getValue(), 10));
                }
            } else if (xmlParser.tagIs("SASPhy") && xmlParser.foundStartTag()) {
                addChild(new SASPhy(xmlParser));
            }
        } while (xmlParser.parseNext());
    } catch (...) {
        // The device being read goes away with the exception: so must the
        // phys it holds.
        deleteAllChildren();
        sasPhyVec.clear();
        throw;
    }
    build();
}
