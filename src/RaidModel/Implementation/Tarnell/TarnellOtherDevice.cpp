#include "RaidModel/Implementation/Tarnell/TarnellOtherDevice.h"

#include <cstring>

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"

TarnellOtherDevice::TarnellOtherDevice() : OtherDevice() { tarnellTraceConstruct("TarnellOtherDevice"); }

TarnellOtherDevice::TarnellOtherDevice(const TarnellOtherDevice& right) : OtherDevice(right)
{
    tarnellTraceConstruct("TarnellOtherDevice");
}

TarnellOtherDevice::TarnellOtherDevice(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN,
    EnumPhysicalDeviceType deviceTypeIN, const char* vendorIN, const char* modelIN,
    const char* serialNumberIN, const char* firmwareLevelIN, const char* fruNumberIN)
    : OtherDevice(adapterIN, channelIN, static_cast<unsigned long>(deviceIDIN), deviceTypeIN, vendorIN,
        modelIN, serialNumberIN, firmwareLevelIN, fruNumberIN)
{
    tarnellTraceConstruct("TarnellOtherDevice");
}

TarnellOtherDevice::~TarnellOtherDevice() { tarnellTraceDestruct("TarnellOtherDevice"); }

bool TarnellOtherDevice::isInstanceOf(const char* type) const
{
    return (type && std::strcmp(type, "TarnellOtherDevice") == 0) || OtherDevice::isInstanceOf(type);
}

const char* TarnellOtherDevice::typeName() const { return "TarnellOtherDevice"; }
