#ifndef OTHERDEVICE_H
#define OTHERDEVICE_H

#include "RaidModel/Interface/PhysicalDevice.h"

// Any other device; its element is named after its device type
// ("Printer", "Scanner", ... "UnknownDevice"). Read back only from an
// element named "PhysicalDevice".
class STOR_EXPORT OtherDevice : public PhysicalDevice {
public:
    OtherDevice();
    OtherDevice(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN,
                EnumPhysicalDeviceType deviceTypeIN, const char* vendorIN, const char* modelIN,
                const char* serialNumberIN, const char* firmwareLevelIN, const char* fruNumberIN);
    OtherDevice(const OtherDevice& right);
    OtherDevice(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser);

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    using PhysicalDevice::build;
    // Reads the element the parser stands on, whatever its name.
    virtual void build(SimpleXmlParser& xmlParser);

    bool operator==(const OtherDevice& right) const { return PhysicalDevice::operator==(right); }
    bool operator!=(const OtherDevice& right) const { return PhysicalDevice::operator!=(right); }
    OtherDevice& operator=(const OtherDevice& right)
    {
        PhysicalDevice::operator=(right);
        return *this;
    }
};

#endif
