#ifndef LOGICALDRIVE_H
#define LOGICALDRIVE_H

#include <cstdint>
#include <vector>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/ProgressCollection.h"
#include "RaidLib/Util/Ret.h"
#include "RaidModel/Interface/ModelEnums.h"
#include "RaidModel/Interface/RaidObject.h"

class Adapter;
class Array;
class Chunk;
class ChunkSpec;
class HardDrive;
class LogicalDriveSpec;

enum EnumLogicalDeviceState : int32_t {
    FREE = 0,
    OFFLINE = 1,
    OKAY = 2,
    CRITICAL = 3,
    MIGRATING = 4,
    SYSTEM = 5,
    CRITICAL_MIGRATING = 6,
    CRITICAL_SYSTEM = 7,
    DEGRADED_FAULT_TOLERANT = 8,
    DEGRADED_FAULT_TOLERANT_MIGRATING = 9,
    DEGRADED_FAULT_TOLERANT_SYSTEM = 10
};

enum EnumLogicalDeviceSubState : int32_t {
    LD_SUB_UNINITIALIZED = 5,
    LD_SUB_INITIALIZING = 6,
    LD_SUB_IMPACTED = 7,
    LD_SUB_QUICK_INIT = 8,
    LD_SUB_RESCAN = 9,
    LD_SUB_OKAY = 0x7FFFFFFF // no sub-state
};

enum EnumLogicalDriveHasPartition : int32_t {
    LD_HAS_PARTITION_FALSE = 0,
    LD_HAS_PARTITION_TRUE = 1,
    LD_HAS_PARTITION_UNKNOWN = 2
};

enum EnumSnapshotType : int32_t {
    SNAPSHOT_TYPE_NONE = 0,
    SNAPSHOT_TYPE_PARENT = 1,
    SNAPSHOT_TYPE_CHILD = 2,
    SNAPSHOT_TYPE_PRIVATE = 3
};

// Role in a migration between two logical drives.
enum EnumLDMorphType : int32_t { LD_MORPH_NONE = 0, LD_MORPH_SOURCE = 1, LD_MORPH_DESTINATION = 2 };

enum EnumRaid5EEState : int32_t {
    RAID5EE_OKAY = 0,
    RAID5EE_COMPACTED = 1,
    RAID5EE_COMPACTING = 2,
    RAID5EE_EXPANDING = 3,
    RAID5EE_UNKNOWN = 0x7FFFFFFF
};

static_assert(sizeof(EnumLogicalDeviceState) == 4 && sizeof(EnumLogicalDeviceSubState) == 4 &&
                  sizeof(EnumLogicalDriveHasPartition) == 4 && sizeof(EnumSnapshotType) == 4 &&
                  sizeof(EnumLDMorphType) == 4 && sizeof(EnumRaid5EEState) == 4,
              "logical drive enumerations are 32-bit");

// The creation time; a valid flag of 0 means that part is not set.
struct TIMESTAMP_STRUCT {
    uint32_t date_valid;
    uint32_t month;
    uint32_t day;
    uint32_t year;
    uint32_t time_valid;
    uint32_t hour;
    uint32_t minute;
    uint32_t second;
    uint32_t msecond;
};
static_assert(sizeof(TIMESTAMP_STRUCT) == 36, "nine 32-bit fields");

// One RAID volume that a controller presents to the host. Its chunks are its
// descendants; as each is added, the chunk and its provider are filed into
// the hard-drive or the logical-drive lists. The management operations
// answer -1 (not supported); controller families override them.
//
// The order of the virtual operations is the order of the virtual table
// that the family libraries are built against; do not reorder.
class STOR_EXPORT LogicalDrive : public RaidObject {
public:
    static const uint32_t DRIVE_LETTER_SIZE = 32;
    static const uint32_t MOUNT_POINT_SIZE = 128;
    static const uint32_t SECONDARY_LOGICALS_SIZE = 128;

    LogicalDrive();
    LogicalDrive(Adapter* adapterIN, STORID_T logicalDriveIDIN);
    LogicalDrive(Adapter* adapterIN, Array* arrayIN, unsigned long logicalDriveIDIN, EnumLogicalDeviceState stateIN,
                 EnumRaidLevel raidLevelIN, BLOCK_T dataSpaceIN, BLOCK_T paritySpaceIN, bool blockedAccessIN,
                 EnumLogicalDriveCacheMode writeCacheModeIN, bool lastDriveInArrayIN, bool bOSPartitionIN);
    // A new node with the source's logical-drive id and description, texts
    // in buffers of its own; no chunks, empty lists.
    LogicalDrive(const LogicalDrive& right);
    ~LogicalDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    // Files chunks and their providers.
    void descendantAdded(RaidObject* pDescendantIN) override;

    virtual EnumLogicalDriveCacheMode getReadCacheMode() const;
    virtual Ret synchronize();
    virtual Ret verify();
    virtual Ret rebuild();
    virtual Ret getProgress(Progress& p);
    // Appends the task of getProgress(Progress&) when that succeeds; returns
    // its answer either way.
    virtual Ret getProgress(ProgressCollection& progList);
    virtual Ret initialize();
    virtual Ret setName(const char* nameIN);
    virtual Ret setState(EnumLogicalDeviceState stateIN);
    virtual Ret setBootable(bool bootable);
    virtual Ret setCache(EnumLogicalDriveCacheMode readCacheSettingIN, EnumLogicalDriveCacheMode writeCacheSettingIN);
    virtual Ret initializeLogicalDrive(EnumInitMethod methodIN, EnumPriorityLevel priorityIN);
    virtual Ret deleteLogicalDrive();
    virtual Ret identifyDevice(bool mode);
    virtual Ret setBlockedAccess(bool access);
    virtual Ret setTaskPriority(unsigned long taskIDIN, EnumPriorityLevel taskPriorityIN);
    virtual const char* getName() const;
    virtual Ret increaseSize(const std::vector<ChunkSpec>& chunksIN, EnumPriorityLevel taskPriorityIN);
    virtual Ret setStripeSize(EnumStripeSize stripeSizeIN);
    virtual Ret modify(const LogicalDriveSpec& configIN);
    virtual Ret createSnapshot(const Addr& targetAddrIN, bool bBackupIN);
    virtual Ret removeSnapshot();

    // Copies the controller, array, logical-drive id and the fields of the
    // description that a family refreshes; texts, lists, tree links and the
    // rest of the address stay.
    LogicalDrive& operator=(const LogicalDrive& right);
    bool operator==(const LogicalDrive& right) const;
    bool operator!=(const LogicalDrive& right) const { return !(*this == right); }

    // Property setters: the model only, nothing is sent to a controller.
    void setSubState(EnumLogicalDeviceSubState subStateIN) { subState = subStateIN; }
    void setMorphPartnerID(int id) { morphPartnerID = id; }
    // Also sets the OS-partition flag, true exactly for LD_HAS_PARTITION_TRUE.
    void setHasPartitionProperty(EnumLogicalDriveHasPartition hasPartitionIN);
    void setMorphTypeProperty(EnumLDMorphType morphTypeIN) { morphType = morphTypeIN; }
    void addToParitySpace(BLOCK_T paritySpaceIN) { paritySpace += paritySpaceIN; }
    // Folds a partial state into the state.
    void mergeStateProperty(EnumLogicalDeviceState stateIN);

    // Lists by position; null when the position is not below the count.
    Chunk* getHardDriveChunk(unsigned long indexIN) const;
    unsigned long getNumHardDriveChunks() const { return static_cast<unsigned long>(hardDriveChunkVec.size()); }
    HardDrive* getHardDrive(unsigned long indexIN) const;
    unsigned long getNumHardDrives() const { return static_cast<unsigned long>(hardDriveVec.size()); }
    HardDrive* getAssignedSpare(unsigned long indexIN) const;
    unsigned long getNumAssignedSpares() const { return static_cast<unsigned long>(assignedSpareVec.size()); }
    Chunk* getLogicalDriveChunk(unsigned long indexIN) const;
    unsigned long getNumLogicalDriveChunks() const
    {
        return static_cast<unsigned long>(logicalDriveChunkVec.size());
    }
    LogicalDrive* getLogicalDrive(unsigned long indexIN) const;
    unsigned long getNumLogicalDrives() const { return static_cast<unsigned long>(secondLevelVec.size()); }
    // Replaces the contents of drives with the member hard drives.
    void getHardDrives(std::vector<HardDrive*>& drives) const { drives = hardDriveVec; }
    // Lists the drive once as an assigned spare and records this logical
    // drive on the drive's side.
    void addAssignedSpare(HardDrive* pHardDriveIN);

    Adapter* getAdapter() const { return adapter; }
    Array* getArray() const { return array; }
    EnumLogicalDeviceState getState() const { return state; }
    EnumLogicalDeviceSubState getSubState() const { return subState; }
    EnumRaidLevel getRaidLevel() const { return raidLevel; }
    BLOCK_T getDataSpace() const { return dataSpace; }
    BLOCK_T getDataSpace64() const { return dataSpace; }
    BLOCK_T getParitySpace() const { return paritySpace; }
    BLOCK_T getParitySpace64() const { return paritySpace; }
    bool getBlockedAccess() const { return blockedAccess; }
    EnumLogicalDriveCacheMode getWriteCacheMode() const { return writeCacheMode; }
    EnumLogicalDriveCacheMode getReadCacheSetting() const { return readCacheSetting; }
    EnumLogicalDriveCacheMode getWriteCacheSetting() const { return writeCacheSetting; }
    bool getLastDriveInArray() const { return lastDriveInArray; }
    bool hasOSPartition() const { return bOSPartition; }
    EnumLogicalDriveHasPartition getHasPartition() const { return hasPartition; }
    EnumStripeSize getStripeSize() const { return stripeSize; }
    const char* getDriveLetter() const { return driveLetter; }
    int getOsDiskNumber() const { return osDiskNumber; }
    uint32_t getUniqueID() const { return uniqueID; }
    EnumPriorityLevel getTaskPriority() const { return taskPriority; }
    bool getTaskInProgress() const { return bTaskInProgress; }
    EnumSnapshotType getSnapshotType() const { return snapshotType; }
    bool getSnapshotBUMode() const { return snapshotBUMode; }
    bool getSnapshotBUComplete() const { return snapshotBUComplete; }
    uint32_t getSnapshotPartnerID() const { return snapshotPartnerID; }
    uint32_t getSnapshotCapacityUsed() const { return snapshotCapacityUsed; }
    bool isBootDrive() const { return bBootDrive; }
    bool isBootable() const { return canSetBootable; }
    const char* getUnixMountPoint() const { return unixMountPoint; }
    const char* getSecondaryLogicals() const { return secondaryLogicals; }
    EnumLDMorphType getMorphType() const { return morphType; }
    int getMorphPartnerID() const { return morphPartnerID; }
    int getBadBlockCount() const { return badBlockCount; }
    int getNumMissingMembers() const { return numMissingMembers; }
    EnumRaid5EEState getRaid5EEState() const { return raid5EEState; }
    const TIMESTAMP_STRUCT& getCreateTimeStamp() const { return createTimeStamp; }
    bool isQuickInit() const { return bQuickInit; }
    bool isUnconfig() const { return bUnconfig; }
    bool isReadOnly() const { return bReadOnly; }
    bool isLocked() const { return bLocked; }

protected:
    std::vector<Chunk*> hardDriveChunkVec;
    std::vector<HardDrive*> hardDriveVec;
    std::vector<HardDrive*> assignedSpareVec;
    std::vector<Chunk*> logicalDriveChunkVec;
    std::vector<LogicalDrive*> secondLevelVec;
    Adapter* adapter;
    Array* array;
    EnumLogicalDeviceState state;
    EnumLogicalDeviceSubState subState;
    EnumRaidLevel raidLevel;
    BLOCK_T dataSpace;
    BLOCK_T paritySpace;
    bool blockedAccess;
    EnumLogicalDriveCacheMode writeCacheMode;
    EnumLogicalDriveCacheMode readCacheMode;
    bool lastDriveInArray;
    bool bOSPartition;
    EnumLogicalDriveHasPartition hasPartition;
    EnumStripeSize stripeSize;
    char* driveLetter;
    int32_t osDiskNumber;
    uint32_t uniqueID;
    EnumPriorityLevel taskPriority;
    bool bTaskInProgress;
    EnumSnapshotType snapshotType;
    bool snapshotBUMode;
    bool snapshotBUComplete;
    uint32_t snapshotPartnerID;
    uint32_t snapshotCapacityUsed;
    bool bBootDrive;
    bool canSetBootable;
    int32_t numMissingMembers;
    char* unixMountPoint;
    char* secondaryLogicals;
    EnumLogicalDriveCacheMode readCacheSetting;
    EnumLogicalDriveCacheMode writeCacheSetting;
    EnumLDMorphType morphType;
    int32_t morphPartnerID;
    int32_t badBlockCount;
    EnumRaid5EEState raid5EEState;
    TIMESTAMP_STRUCT createTimeStamp;
    bool bQuickInit;
    bool bUnconfig;
    bool bReadOnly;
    bool bLocked;

private:
    // Every field at the default constructor's values, with new text buffers.
    void setDefaults();
};

#endif
