#ifndef CDROMDRIVE_H
#define CDROMDRIVE_H

#include "RaidModel/Interface/PhysicalDevice.h"

// A CD-ROM drive; element "CDROMDrive".
class STOR_EXPORT CDROMDrive : public PhysicalDevice {
public:
    CDROMDrive();
    CDROMDrive(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN, const char* vendorIN,
               const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
               const char* fruNumberIN);
    // A new device from the source's controller, channel, id, type and texts.
    CDROMDrive(const CDROMDrive& right);
    // Reads the element the parser stands on.
    CDROMDrive(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser);

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    using PhysicalDevice::build;
    virtual void build(SimpleXmlParser& xmlParser);

    bool operator==(const CDROMDrive& right) const { return PhysicalDevice::operator==(right); }
    bool operator!=(const CDROMDrive& right) const { return PhysicalDevice::operator!=(right); }
    CDROMDrive& operator=(const CDROMDrive& right)
    {
        PhysicalDevice::operator=(right);
        return *this;
    }
};

#endif
