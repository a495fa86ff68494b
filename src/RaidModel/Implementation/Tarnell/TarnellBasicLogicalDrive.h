#ifndef TARNELLBASICLOGICALDRIVE_H
#define TARNELLBASICLOGICALDRIVE_H

#include <cstdint>
#include <vector>

#include "RaidLib/Util/Addr.h"
#include "RaidModel/Interface/BasicLogicalDrive.h"
#include "RaidModel/Interface/ChunkSpec.h"
#include "storagedll/storrec.h"

class LogicalDriveSpec;
class TarnellAdapter;
class TarnellBasicArray;

// A basic (single-level) logical drive of a Tarnell controller: a top-level
// drive or a sub-logical drive of a spanned drive. It knows its number on
// the controller and carries out the per-drive requests through the C API.
// No operation changes the object: the library rebuilds the configuration.
//
// Results: 0 success, -1 not supported (refused for a sub-logical drive or
// the RAID level), -2 bad parameter, -5 the controller request failed,
// -9 no controller access; initialize, synchronize and delete hand a
// refusing controller's own code on.
class STOR_EXPORT TarnellBasicLogicalDrive : public BasicLogicalDrive {
public:
    // Holds no controller number (-1); not a sub-logical drive.
    TarnellBasicLogicalDrive();
    TarnellBasicLogicalDrive(const TarnellBasicLogicalDrive& right);
    // The sizes are widened with their sign.
    TarnellBasicLogicalDrive(TarnellAdapter* adapterIN, TarnellBasicArray* ArrayIN, int logicalDriveIDIN,
                             int TNCAdllIDIN, EnumLogicalDeviceState stateIN, EnumRaidLevel raidLevelIN,
                             int dataSpaceIN, int paritySpaceIN, bool blockedAccessIN,
                             EnumLogicalDriveCacheMode writeCacheModeIN, bool lastDriveInArrayIN,
                             bool subLogicalDriveIN, bool bOSPartitionIN, EnumRaid5EEState raid5EEStateIN);
    ~TarnellBasicLogicalDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    // The logical-drive attributes, "raid5EEState" among them once.
    void writeTo(Writer* writer) const override;
    // Starts a synchronization (check option 1) of a RAID-1, 1E, 5, 5E or
    // 5EE drive; -2 for the spanned levels, -1 for the others.
    Ret synchronize() override;
    // Fills progress from the controller's task report: the task, its state
    // and percentage when the report concerns this drive, TASK_NONE and
    // TASK_STATE_NONE otherwise (also for a report whose indexes lie outside
    // the adapter's tables).
    Ret getProgress(Progress& progress) override;
    using LogicalDrive::getProgress;
    Ret initialize() override;
    // Only the last drive of its array can be deleted (-2 otherwise, nothing
    // sent but the question which drive is last; -5 when that question
    // fails). Afterwards the adapter's tables are read again and the drive's
    // id is given back.
    Ret deleteLogicalDrive() override;
    // Starts (true) or stops (false) identifying the drive's disks.
    Ret identifyDevice(bool option) override;
    const char* getName() const override;

    bool isSubLogicalDrive() const { return subLogicalDrive; }
    int getTNCAdllID() const { return TNCAdllID; }
    // Sets year, month and day of the creation time stamp; the rest stays.
    void setCreateTimeStamp(int yearIN, int monthIN, int dayIN);
    // Write-back (true) or write-through (false); also for a sub-logical
    // drive. -5 without controller access.
    Ret setWriteCacheEnable(bool enable);
    // Lets a blocked drive be used again; -2 for a sub-logical drive.
    Ret unblockLogicalDrive();

    // Grows the drive by the one to three hard drives the chunks name
    // (channel and device ids; pairwise different in both). 0; -1 for a
    // sub-logical drive; -2 for a wrong count or drive; -3; -5 without
    // controller access or when the controller refuses.
    Ret increaseLogicalDriveSize(std::vector<ChunkSpec>& chunksIN);

    // Creates a basic drive of level RAID-0, 1, 1E (made RAID-1 in spec),
    // 5, 5E or 5EE over spec's chunks: in bArray, or in a new array when it
    // is null. With isSLD a sub-logical drive of a spanned drive being
    // built: its address goes to *sldVirtDrv just before the controller
    // creates it, and no write policy or task follows. Every refusal comes
    // before anything reaches the controller but its reads: -1 for another
    // level; -2 for no chunks, a chunk that names no hard drive of the
    // adapter, RAID-5E over one chunk, isSLD without sldVirtDrv or a level
    // bArray cannot take; -3; -5 when the controller refuses, its tables
    // cannot be used or no id is free; -8 beyond bArray's free space. A
    // drive created whose write policy or first task fails stays, with -5.
    static Ret createLogicalDrive(TarnellAdapter* adapter, Addr addr, LogicalDriveSpec& spec,
                                  TarnellBasicArray* bArray, _STORAGE_ADDRESS_ID* sldVirtDrv, bool isSLD);
    // The data size of a RAID-5E drive in 32-bit arithmetic; creation asks
    // (chunk size, chunk count, 2, 1). 0 for arguments the rule cannot
    // answer (a spare count below 1 with more than one failure, or as many
    // spares as drives).
    static uint32_t calculate5EDataSize(uint32_t driveSize, int numDrives, int numFailures, int numHotSpares);

private:
    // The drive's controller address; false when no request may be sent
    // (no Tarnell adapter or its C-API number unknown).
    bool driveAddress(_STORAGE_ADDRESS_ID& address) const;
    // The model id of the drive's array (the drive's own when it has none).
    STORID_T arrayModelID() const;

    int TNCAdllID;
    bool subLogicalDrive;
};

#endif
