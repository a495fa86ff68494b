#include "RaidModel/Implementation/Tarnell/TarnellCDROMDrive.h"

#include <cstring>

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"

TarnellCDROMDrive::TarnellCDROMDrive() : CDROMDrive() { tarnellTraceConstruct("TarnellCDROMDrive"); }

TarnellCDROMDrive::TarnellCDROMDrive(const TarnellCDROMDrive& right) : CDROMDrive(right)
{
    tarnellTraceConstruct("TarnellCDROMDrive");
}

TarnellCDROMDrive::TarnellCDROMDrive(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN,
    const char* vendorIN, const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
    const char* fruNumberIN)
    : CDROMDrive(adapterIN, channelIN, static_cast<unsigned long>(deviceIDIN), vendorIN, modelIN,
        serialNumberIN, firmwareLevelIN, fruNumberIN)
{
    tarnellTraceConstruct("TarnellCDROMDrive");
}

TarnellCDROMDrive::~TarnellCDROMDrive() { tarnellTraceDestruct("TarnellCDROMDrive"); }

bool TarnellCDROMDrive::isInstanceOf(const char* type) const
{
    return (type && std::strcmp(type, "TarnellCDROMDrive") == 0) || CDROMDrive::isInstanceOf(type);
}

const char* TarnellCDROMDrive::typeName() const { return "TarnellCDROMDrive"; }
