#include "RaidModel/Interface/TapeDrive.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"

TapeDrive::TapeDrive()
    : PhysicalDevice(nullptr, nullptr, STORID_UNDEFINED, TAPE_DRIVE, nullptr, nullptr, nullptr, nullptr,
                     DEVICE_STANDBY, nullptr)
{
}

TapeDrive::TapeDrive(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN, const char* vendorIN,
       const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
       const char* fruNumberIN)
    : PhysicalDevice(adapterIN, channelIN, deviceIDIN, TAPE_DRIVE, vendorIN, modelIN, serialNumberIN,
                     firmwareLevelIN, DEVICE_STANDBY, fruNumberIN)
{
}

TapeDrive::TapeDrive(const TapeDrive& right)
    : PhysicalDevice(right.adapter, right.channel, right.getDeviceID(), right.deviceType, right.vendor,
                     right.model, right.serialNumber, right.firmwareLevel, DEVICE_STANDBY,
                     right.fruNumber)
{
}

TapeDrive::TapeDrive(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser) : TapeDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "TapeDrive::TapeDrive(Adapter *, Channel *, SimpleXmlParser &)");
    adapter = adapterIN;
    channel = channelIN;
    attribList.setInitElements(35);
    build(xmlParser);
}

bool TapeDrive::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "TapeDrive") == 0) || PhysicalDevice::isInstanceOf(className);
}

const char* TapeDrive::typeName() const { return "TapeDrive"; }

const char* TapeDrive::serializedName() const { return "TapeDrive"; }

void TapeDrive::writeTo(Writer* writer) const { PhysicalDevice::writeTo(writer); }

void TapeDrive::build(SimpleXmlParser& xmlParser) { readElement(serializedName(), xmlParser); }
