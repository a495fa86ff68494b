#include "RaidModel/Interface/LogicalDriveSpec.h"

#include "RaidLib/Util/TextCopy.h"

LogicalDriveSpec::LogicalDriveSpec() { reset(RAID_UNKNOWN, STRIPE_NA, ""); }

LogicalDriveSpec::LogicalDriveSpec(EnumRaidLevel raidLevelIN, EnumStripeSize stripeSizeIN,
                                   const char* pNameIN)
{
    reset(raidLevelIN, stripeSizeIN, pNameIN);
}

void LogicalDriveSpec::reset() { reset(RAID_UNKNOWN, STRIPE_NA, ""); }

void LogicalDriveSpec::reset(EnumRaidLevel raidLevelIN, EnumStripeSize stripeSizeIN,
                             const char* pNameIN)
{
    chunks.clear();
    raidLevel = raidLevelIN;
    stripeSize = stripeSizeIN;
    setName(pNameIN);
    readCacheSetting = LD_CACHE_ENABLED;
    writeCacheSetting = LD_CACHE_ENABLED;
    initMethod = INIT_NORMAL;
    taskPriority = TASK_PRIORITY_HIGH;
}

void LogicalDriveSpec::setName(const char* pNameIN) { copyText(nameA, pNameIN); }

void LogicalDriveSpec::addChunk(unsigned long channelIDIN, unsigned long deviceIDIN,
                                BLOCK_T startBlockIN, BLOCK_T numBlocksIN, unsigned long groupNumIN,
                                EnumChunkType chunkTypeIN)
{
    chunks.push_back(ChunkSpec(channelIDIN, deviceIDIN, startBlockIN, numBlocksIN, groupNumIN, chunkTypeIN));
}
