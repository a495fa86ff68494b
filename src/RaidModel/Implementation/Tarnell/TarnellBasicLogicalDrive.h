#ifndef TARNELLBASICLOGICALDRIVE_H
#define TARNELLBASICLOGICALDRIVE_H

#include "RaidModel/Interface/BasicLogicalDrive.h"
#include "storagedll/storrec.h"

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
