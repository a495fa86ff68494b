#include "RaidModel/Implementation/Tarnell/TarnellTapeDrive.h"

#include <cstring>

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"

TarnellTapeDrive::TarnellTapeDrive() : TapeDrive() { tarnellTraceConstruct("TarnellTapeDrive"); }

TarnellTapeDrive::TarnellTapeDrive(const TarnellTapeDrive& right) : TapeDrive(right)
{
    tarnellTraceConstruct("TarnellTapeDrive");
}

TarnellTapeDrive::TarnellTapeDrive(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN,
    const char* vendorIN, const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
    const char* fruNumberIN)
    : TapeDrive(adapterIN, channelIN, static_cast<unsigned long>(deviceIDIN), vendorIN, modelIN,
        serialNumberIN, firmwareLevelIN, fruNumberIN)
{
    tarnellTraceConstruct("TarnellTapeDrive");
}

TarnellTapeDrive::~TarnellTapeDrive() { tarnellTraceDestruct("TarnellTapeDrive"); }

bool TarnellTapeDrive::isInstanceOf(const char* type) const
{
    return (type && std::strcmp(type, "TarnellTapeDrive") == 0) || TapeDrive::isInstanceOf(type);
}

const char* TarnellTapeDrive::typeName() const { return "TarnellTapeDrive"; }
