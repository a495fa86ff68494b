#include "RaidModel/Interface/OtherDevice.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"

OtherDevice::OtherDevice()
    : PhysicalDevice(nullptr, nullptr, STORID_UNDEFINED, UNKNOWN_DEVICE, nullptr, nullptr, nullptr,
                     nullptr, DEVICE_STANDBY, nullptr)
{
}

OtherDevice::OtherDevice(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN,
                         EnumPhysicalDeviceType deviceTypeIN, const char* vendorIN,
                         const char* modelIN, const char* serialNumberIN,
                         const char* firmwareLevelIN, const char* fruNumberIN)
    : PhysicalDevice(adapterIN, channelIN, deviceIDIN, deviceTypeIN, vendorIN, modelIN, serialNumberIN,
                     firmwareLevelIN, DEVICE_STANDBY, fruNumberIN)
{
}

OtherDevice::OtherDevice(const OtherDevice& right)
    : PhysicalDevice(right.adapter, right.channel, right.getDeviceID(), right.deviceType, right.vendor,
                     right.model, right.serialNumber, right.firmwareLevel, DEVICE_STANDBY,
                     right.fruNumber)
{
}

OtherDevice::OtherDevice(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser)
    : OtherDevice()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "OtherDevice::OtherDevice(Adapter *, Channel *, SimpleXmlParser &)");
    adapter = adapterIN;
    channel = channelIN;
    attribList.setInitElements(35);
    build(xmlParser);
}

bool OtherDevice::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "OtherDevice") == 0) ||
           PhysicalDevice::isInstanceOf(className);
}

const char* OtherDevice::typeName() const { return "OtherDevice"; }

const char* OtherDevice::serializedName() const
{
    switch (deviceType) {
    case HARD_DRIVE:
        return "RemovableDrive";
    case PRINTER:
        return "Printer";
    case WORM_DRIVE:
        return "WormDrive";
    case SCANNER_DEVICE:
        return "Scanner";
    case OPTICAL_DRIVE_DEVICE:
        return "OpticalDrive";
    case CHANGER_DEVICE:
        return "MediaChanger";
    case COMM_DEVICE:
        return "CommDevice";
    default:
        return "UnknownDevice";
    }
}

void OtherDevice::writeTo(Writer* writer) const { PhysicalDevice::writeTo(writer); }

// The element is the one the parser stands on ("PhysicalDevice" for the
// channel readers); the type, and so the element name when written again,
// comes from its "deviceType".
void OtherDevice::build(SimpleXmlParser& xmlParser)
{
    const char* elementName = xmlParser.getTag();
    readElement(elementName ? elementName : "PhysicalDevice", xmlParser);
}
