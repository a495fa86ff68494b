#include "RaidModel/Interface/HLogicalDrive.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"

HLogicalDrive::HLogicalDrive() : LogicalDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "HLogicalDrive::HLogicalDrive()");
}

HLogicalDrive::HLogicalDrive(const HLogicalDrive& right) : LogicalDrive(right)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "HLogicalDrive::HLogicalDrive(const HLogicalDrive &)");
}

HLogicalDrive::HLogicalDrive(Adapter* adapterIN, Array* arrayIN, int logicalDriveIDIN, EnumLogicalDeviceState stateIN,
                             EnumRaidLevel raidLevelIN, int dataSpaceIN, int paritySpaceIN, bool blockedAccessIN,
                             EnumLogicalDriveCacheMode writeCacheModeIN, bool lastDriveInArrayIN, bool bOSPartitionIN)
    : LogicalDrive(adapterIN, arrayIN, static_cast<unsigned long>(logicalDriveIDIN), stateIN, raidLevelIN,
                   static_cast<BLOCK_T>(static_cast<int64_t>(dataSpaceIN)),
                   static_cast<BLOCK_T>(static_cast<int64_t>(paritySpaceIN)), blockedAccessIN, writeCacheModeIN,
                   lastDriveInArrayIN, bOSPartitionIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "HLogicalDrive::HLogicalDrive(Adapter *, ...)");
}

HLogicalDrive::~HLogicalDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "HLogicalDrive::~HLogicalDrive()");
}

bool HLogicalDrive::isInstanceOf(const char* className) const
{
    if (className && std::strcmp(className, "HLogicalDrive") == 0)
        return true;
    return LogicalDrive::isInstanceOf(className);
}

const char* HLogicalDrive::typeName() const { return "HLogicalDrive"; }

const char* HLogicalDrive::serializedName() const { return "LogicalDrive"; }
