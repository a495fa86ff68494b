#ifndef TARNELLOTHERDEVICE_H
#define TARNELLOTHERDEVICE_H

#include "RaidModel/Interface/OtherDevice.h"

class TarnellAdapter;

// A device of any other type on a Tarnell controller, of the type given at
// construction.
class STOR_EXPORT TarnellOtherDevice : public OtherDevice {
public:
    TarnellOtherDevice();
    TarnellOtherDevice(const TarnellOtherDevice& right);
    TarnellOtherDevice(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN,
        EnumPhysicalDeviceType deviceTypeIN, const char* vendorIN, const char* modelIN,
        const char* serialNumberIN, const char* firmwareLevelIN, const char* fruNumberIN);
    ~TarnellOtherDevice() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;
};

#endif
