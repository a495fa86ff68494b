#ifndef TARNELLHLOGICALDRIVE_H
#define TARNELLHLOGICALDRIVE_H

#include "RaidLib/Util/Addr.h"
#include "RaidModel/Interface/HLogicalDrive.h"
#include "storagedll/storrec.h"

class LogicalDriveSpec;
class TarnellAdapter;
class TarnellSpannedArray;

// The hierarchical (spanned) logical drive of a Tarnell controller: a
// top-level drive that the controller builds across one sub-logical drive in
// each array of its spanned array. The sub-logical drives are its children.
// Written as an "HLogicalDrive" element. No operation changes the object:
// the library rebuilds the configuration.
class STOR_EXPORT TarnellHLogicalDrive : public HLogicalDrive {
public:
    // No controller number (-1).
    TarnellHLogicalDrive();
    TarnellHLogicalDrive(const TarnellHLogicalDrive& right);
    TarnellHLogicalDrive(Adapter* adapterIN, Array* arrayIN, int logicalDriveIDIN, int TNCAdllIDIN,
                         EnumLogicalDeviceState stateIN, EnumRaidLevel raidLevelIN, int dataSpaceIN,
                         int paritySpaceIN, bool blockedAccessIN, EnumLogicalDriveCacheMode writeCacheModeIN,
                         bool lastDriveInArrayIN, bool bOSPartitionIN);
    ~TarnellHLogicalDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    // Starts a synchronization (check option 1) of a RAID-10, 1E0 or 50
    // drive; -2 for the basic levels, -1 for RAID-00 and the others.
    Ret synchronize() override;
    // A spanned drive reports no task: TASK_NONE, TASK_STATE_NONE, 0.
    Ret getProgress(Progress& progress) override;
    using LogicalDrive::getProgress;
    Ret initialize() override;
    // Only the last drive of its spanned array can be deleted (-2 and a line
    // on standard output otherwise). Afterwards the adapter's tables are
    // read again and the drive's id is given back, and when it was the only
    // drive of its spanned array the ids of its sub-logical drives too.
    Ret deleteLogicalDrive() override;
    // Starts (true) or stops (false) identifying the drive's disks.
    Ret identifyDevice(bool option) override;
    const char* getName() const override;

    // Write-back (true) or write-through (false).
    Ret setWriteCacheEnable(bool enable);
    Ret unblockLogicalDrive();

    int getTNCAdllID() const { return TNCAdllID; }
    void setTNCAdllID(int TNCAdllIDIN) { TNCAdllID = TNCAdllIDIN; }

    // Creates a spanned drive of level RAID-00, 10, 1E0 or 50 over the
    // groups of spec's chunks: one sub-logical drive per group (each in an
    // array of its own), then the hierarchical drive over them; or, with a
    // spanned array that already holds drives, a further hierarchical drive
    // over that array's sub-logical drives. Then sets the write policy and
    // starts the first task spec asks for. A failed creation deletes the
    // sub-logical drives it made. Every refusal comes before anything
    // reaches the controller but its reads. 0; -1 for another level; -2 for
    // a request without chunks, with a group number above 7, with a group
    // below the highest that has no chunk, with a chunk that names no hard
    // drive of the adapter, or with a level that differs from the spanned
    // array's; -5 when the controller refuses or its tables cannot be used;
    // -8 when the request exceeds the spanned array's free space; or the
    // code of a failed sub-logical drive.
    static Ret createLogicalDrive(TarnellAdapter* adapter, Addr addr, LogicalDriveSpec& spec,
                                  TarnellSpannedArray* sArray);

private:
    // The drive's controller address; false when no request may be sent.
    bool driveAddress(_STORAGE_ADDRESS_ID& address) const;

    int TNCAdllID;
};

#endif
