#ifndef TAPEDRIVE_H
#define TAPEDRIVE_H

#include "RaidModel/Interface/PhysicalDevice.h"

// A tape drive; element "TapeDrive".
class STOR_EXPORT TapeDrive : public PhysicalDevice {
public:
    TapeDrive();
    TapeDrive(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN, const char* vendorIN,
              const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
              const char* fruNumberIN);
    TapeDrive(const TapeDrive& right);
    TapeDrive(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser);

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    using PhysicalDevice::build;
    virtual void build(SimpleXmlParser& xmlParser);

    bool operator==(const TapeDrive& right) const { return PhysicalDevice::operator==(right); }
    bool operator!=(const TapeDrive& right) const { return PhysicalDevice::operator!=(right); }
    TapeDrive& operator=(const TapeDrive& right)
    {
        PhysicalDevice::operator=(right);
        return *this;
    }
};

#endif
