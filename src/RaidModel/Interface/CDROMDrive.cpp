#include "RaidModel/Interface/CDROMDrive.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"

CDROMDrive::CDROMDrive()
    : PhysicalDevice(nullptr, nullptr, STORID_UNDEFINED, CD_ROM_DEVICE, nullptr, nullptr, nullptr, nullptr,
                     DEVICE_STANDBY, nullptr)
{
}

CDROMDrive::CDROMDrive(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN, const char* vendorIN,
       const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
       const char* fruNumberIN)
    : PhysicalDevice(adapterIN, channelIN, deviceIDIN, CD_ROM_DEVICE, vendorIN, modelIN, serialNumberIN,
                     firmwareLevelIN, DEVICE_STANDBY, fruNumberIN)
{
}

CDROMDrive::CDROMDrive(const CDROMDrive& right)
    : PhysicalDevice(right.adapter, right.channel, right.getDeviceID(), right.deviceType, right.vendor,
                     right.model, right.serialNumber, right.firmwareLevel, DEVICE_STANDBY,
                     right.fruNumber)
{
}

CDROMDrive::CDROMDrive(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser) : CDROMDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "CDROMDrive::CDROMDrive(Adapter *, Channel *, SimpleXmlParser &)");
    adapter = adapterIN;
    channel = channelIN;
    attribList.setInitElements(35);
    build(xmlParser);
}

bool CDROMDrive::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "CDROMDrive") == 0) || PhysicalDevice::isInstanceOf(className);
}

const char* CDROMDrive::typeName() const { return "CDROMDrive"; }

const char* CDROMDrive::serializedName() const { return "CDROMDrive"; }

void CDROMDrive::writeTo(Writer* writer) const { PhysicalDevice::writeTo(writer); }

void CDROMDrive::build(SimpleXmlParser& xmlParser) { readElement(serializedName(), xmlParser); }
