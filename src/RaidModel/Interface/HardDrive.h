#ifndef HARDDRIVE_H
#define HARDDRIVE_H

#include <cstdint>
#include <vector>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/AddrCollection.h"
#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/ProgressCollection.h"
#include "RaidLib/Util/Ret.h"
#include "RaidModel/Interface/ModelEnums.h"
#include "RaidModel/Interface/PhysicalDevice.h"

class Adapter;
class Channel;
class Chunk;
class LogicalDrive;
class SimpleXmlParser;

enum EnumSpareType : int32_t {
    SPARE_NONE = 0,
    SPARE_GLOBAL = 1,
    SPARE_DEDICATED = 2,
    SPARE_STANDBY = 3
};

// Argument of startTask.
enum EnumHardDriveTask : int32_t {
    HD_TASK_NONE = 0,
    HD_TASK_VERIFY = 1,
    HD_TASK_VERIFY_FIX = 2,
    HD_TASK_CLEAR = 3,
    HD_TASK_SECURE_ERASE = 4
};

// Kind of drive self-test.
enum EnumDiskDiagType : int32_t {
    DISK_DIAG_DEFAULT_SELF_TEST = 0,
    DISK_DIAG_SHORT_SELF_TEST = 1,
    DISK_DIAG_LONG_SELF_TEST = 2
};

enum EnumDiskDiagStatus : int32_t {
    DISK_DIAG_NOT_SENT = 0,
    DISK_DIAG_SENT = 1,
    DISK_DIAG_UNKNOWN = 2,
    DISK_DIAG_RUNNING = 3,
    DISK_DIAG_NOT_RUNNING = 4,
    DISK_DIAG_SUCCESS = 5,
    DISK_DIAG_FAILURE = 6,
    DISK_DIAG_ABORTED = 7,
    DISK_DIAG_CANCELED = 8
};

static_assert(sizeof(EnumSpareType) == 4 && sizeof(EnumHardDriveTask) == 4 &&
                  sizeof(EnumDiskDiagType) == 4 && sizeof(EnumDiskDiagStatus) == 4,
              "hard drive enumerations are 32-bit");

// The self-test state that the diagnostic queries fill.
struct DISK_DIAGNOSTIC_STATE {
    EnumDiskDiagStatus status;
    uint32_t tenthsOfAPercent; // progress in tenths of a percent
    uint8_t key;               // sense key, code and qualifier of the result
    uint8_t asc;
    uint8_t ascq;
    uint8_t pad;
    uint32_t reserved[30];
};
static_assert(sizeof(DISK_DIAGNOSTIC_STATE) == 132, "self-test record layout");

// One free extent of a drive, in sectors.
struct STOR_EXPORT FreeSpace {
    FreeSpace() : startSector(0), numSectors(~static_cast<BLOCK_T>(0)) {}
    FreeSpace(BLOCK_T start, BLOCK_T count) : startSector(start), numSectors(count) {}

    BLOCK_T startSector;
    BLOCK_T numSectors;
};

// The free extents of one drive with the largest of them cached. Entries are
// never removed: a used-up extent stays as (0, 0), and the remainder of a
// split extent is appended, so the list is not in sector order.
class STOR_EXPORT FreeSpaceVector : public std::vector<FreeSpace> {
public:
    // One extent FreeSpace() and a cached largest extent (0, 0).
    FreeSpaceVector();

    // The count of the first extent and of the cached largest extent
    // become n; both starts stay.
    void SetNumSectors(BLOCK_T n);
    // Removes the sectors start .. start+count-1 and renews the cached
    // largest extent; a count of 0 changes nothing.
    void SubtractUsedSpace(BLOCK_T start, BLOCK_T count);
    // count 0: the cached largest extent. Otherwise the smallest extent of
    // at least count sectors (the earlier on equal size), whole; (0, 0)
    // when none is large enough.
    void FindAdequate(BLOCK_T& start, BLOCK_T& count) const;

    BLOCK_T BigFreeStartSector() const { return bigFreeStartSector; }
    BLOCK_T BigFreeNumSectors() const { return bigFreeNumSectors; }
    // The sum of the counts of all extents.
    BLOCK_T TotalFreeSectors() const;

private:
    BLOCK_T bigFreeStartSector;
    BLOCK_T bigFreeNumSectors;
};

// A disk: a physical device with a size, predictive-failure and cache
// settings, a hot-spare role, the chunks that logical drives occupy on it
// (its children, indexed as they are added), the logical drives it serves as
// a dedicated spare and its free extents. The drive operations answer -1
// (not supported) and change nothing; controller families override them.
//
// The order of the virtual operations is the order of the virtual table
// that the family libraries are built against; do not reorder.
class STOR_EXPORT HardDrive : public PhysicalDevice {
public:
    HardDrive();
    HardDrive(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN, unsigned long long sizeIN,
              EnumPhysicalDeviceState stateIN, char* vendorIN, char* modelIN, char* serialNumberIN,
              char* firmwareLevelIN, bool pfaErrorIN, EnumHardDriveCacheMode writeCacheEnableIN,
              bool writeCacheEnableSupportedIN, bool selfTestSupportedIN, bool bOSPartitionIN,
              char* fruNumberIN, bool pfaSupportedIN);
    // Reads the "HardDrive" element the parser stands on, with its chunks
    // and SAS phys.
    HardDrive(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser);
    // A new node with the source's description and spare list; no children,
    // empty indexes, a new free list, no task in progress.
    HardDrive(const HardDrive& right);
    ~HardDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    // Stamps the device id (PhysicalDevice) and indexes chunks.
    void descendantAdded(RaidObject* descendant) override;

    virtual Ret readSector(unsigned long sectorIN, unsigned long countIN, char** pBufferOUT);
    virtual Ret spin(bool on);
    virtual Ret format();
    virtual Ret setWriteCacheEnable(bool enable);
    virtual Ret setPhysicalDriveCache(EnumHardDriveCacheMode modeIN);
    virtual Ret initializeHardDrive();
    virtual Ret downHardDrive(bool option);
    virtual Ret startDiskDiagnostic(EnumDiskDiagType typeIN);
    virtual Ret abortDiskDiagnostic();
    virtual Ret getDiskDiagnosticProgress(DISK_DIAGNOSTIC_STATE& stateOUT);
    virtual Ret getDiskDiagnosticResults(DISK_DIAGNOSTIC_STATE& stateOUT);
    virtual Ret startTask(EnumHardDriveTask taskIN);
    virtual Ret getProgress(Progress& p);
    // Appends the task of getProgress(Progress&) when that succeeds; returns
    // its answer either way.
    virtual Ret getProgress(ProgressCollection& progList);
    virtual Ret createGlobalHotSpare();
    virtual Ret createAssignedHotSpare(const AddrCollection& logicalDrives);
    virtual Ret createAssignedHotSpare(LogicalDrive* pLogicalDriveIN);
    virtual Ret createCandidateHotSpare();
    virtual Ret deleteHotSpare();
    virtual Ret deleteAssignedHotSpare(const AddrCollection& logicalDrives);
    virtual void build(SimpleXmlParser& xmlParser);

    // PhysicalDevice's comparison plus size, PFA error, cache settings,
    // self-test support and OS partition.
    bool operator==(const HardDrive& right) const;
    bool operator!=(const HardDrive& right) const { return !(*this == right); }
    // PhysicalDevice's assignment plus the drive's settings, spare role,
    // enclosure and slot; the spare list, candidate flag, task flag,
    // indexes and free list stay.
    HardDrive& operator=(const HardDrive& right);

    // Fills the free list: the drive (n sectors, or its size when n is 0)
    // less the controller's reserves and the drive's chunks. Every call
    // starts from a new list.
    void InitFreeSpace(unsigned long long numSectors);
    const FreeSpaceVector& getFreeSpace() const { return freeSpace; }
    FreeSpaceVector& getFreeSpace() { return freeSpace; }

    // Makes the drive a dedicated spare of the logical drive (model only).
    void addAssignedLogical(LogicalDrive* pLogicalDriveIN);

    BLOCK_T getSize() const { return size; }
    bool getPfaError() const { return pfaError; }
    EnumHardDriveCacheMode getWriteCacheEnable() const { return writeCacheEnable; }
    bool getWriteCacheEnableSupported() const { return writeCacheEnableSupported; }
    bool getSelfTestSupported() const { return selfTestSupported; }
    bool getOSPartitionInfo() const { return bOSPartition; }
    bool getPfaSupported() const { return pfaSupported; }
    bool getPfaEnabled() const { return pfaEnabled; }
    EnumSpareType getSpareType() const { return spareType; }
    uint32_t getEnclosureID() const { return enclosureNumber; }
    uint32_t getSlotID() const { return slotNumber; }
    bool getTaskInProgress() const { return taskInProgress; }
    bool getCandidateSpare() const { return bCandidateSpare; }
    const int32_t* getSpareList() const { return pSpareList; }
    int32_t getSpareListSize() const { return spareListSize; }

    // The model only; the controller is not asked.
    void setSpareTypeProperty(EnumSpareType spareTypeIN) { spareType = spareTypeIN; }
    void setEnclosureID(unsigned long id) { enclosureNumber = static_cast<uint32_t>(id); }
    void setSlotID(unsigned long id) { slotNumber = static_cast<uint32_t>(id); }

    // Null when index is not below the count.
    Chunk* getChunk(unsigned long index) const;
    unsigned long getNumChunks() const { return static_cast<unsigned long>(chunkVec.size()); }
    LogicalDrive* getAssignedLogicalDrive(unsigned long index) const;
    unsigned long getNumAssignedLogicalDrives() const
    {
        return static_cast<unsigned long>(assignedLogicalVec.size());
    }

protected:
    std::vector<Chunk*> chunkVec;
    std::vector<LogicalDrive*> assignedLogicalVec;
    FreeSpaceVector freeSpace;
    BLOCK_T size;
    bool pfaError;
    EnumHardDriveCacheMode writeCacheEnable;
    bool writeCacheEnableSupported;
    bool selfTestSupported;
    bool bOSPartition;
    bool pfaSupported;
    bool pfaEnabled;
    bool taskInProgress;
    EnumSpareType spareType;
    bool bCandidateSpare;
    uint32_t enclosureNumber;
    uint32_t slotNumber;
    int32_t spareListSize;
    int32_t* pSpareList;

private:
    // Every drive field at the default constructor's values.
    void setDriveDefaults();
};

#endif
