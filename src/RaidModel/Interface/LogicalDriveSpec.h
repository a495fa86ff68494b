#ifndef LOGICALDRIVESPEC_H
#define LOGICALDRIVESPEC_H

#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/ChunkSpec.h"
#include "RaidModel/Interface/ModelEnums.h"

// What a logical drive to create or change should be: name, RAID level,
// stripe size, cache settings, initialisation, task priority and chunks.
// A plain value that owns its chunk list.
class STOR_EXPORT LogicalDriveSpec {
public:
    static const unsigned NAME_SIZE = 32;

    LogicalDriveSpec();
    LogicalDriveSpec(EnumRaidLevel raidLevelIN, EnumStripeSize stripeSizeIN, const char* pNameIN);

    // No chunks, RAID_UNKNOWN, STRIPE_NA, empty name, both caches enabled,
    // INIT_NORMAL, TASK_PRIORITY_HIGH.
    void reset();
    void reset(EnumRaidLevel raidLevelIN, EnumStripeSize stripeSizeIN, const char* pNameIN);

    // At most 31 characters; null gives the empty name.
    void setName(const char* pNameIN);
    const char* getName() const { return nameA; }

    void addChunk(unsigned long channelIDIN, unsigned long deviceIDIN, BLOCK_T startBlockIN,
                  BLOCK_T numBlocksIN, unsigned long groupNumIN, EnumChunkType chunkTypeIN);

    char nameA[NAME_SIZE];
    ChunkSpecCollection chunks;
    EnumRaidLevel raidLevel;
    EnumStripeSize stripeSize;
    EnumLogicalDriveCacheMode readCacheSetting;
    EnumLogicalDriveCacheMode writeCacheSetting;
    EnumInitMethod initMethod;
    EnumPriorityLevel taskPriority;
};

#endif
