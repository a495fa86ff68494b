#ifndef PELMADAPTER_H
#define PELMADAPTER_H

// The model objects of the Pelm family: its controller, disks and logical
// drives, built by PelmSystem from the simulated controllers. What the
// controllers report while the tree stands (events, tasks) is asked of them
// when it is wanted, not kept in the tree.

#include <cstdint>
#include <string>

#include "FamilySim.h"
#include "RaidLib/Util/StorExport.h"

namespace pelmsim {
struct Controller;
struct LogicalDrive;
} // namespace pelmsim

// A Pelm controller (model code PELM): "PelmAdapter" and "Adapter". It
// answers its feature table (RAID-0, RAID-1 and Ultra160 SCSI among them),
// its installed cache memory in MB and version texts that may end in a
// build number in parentheses.
class STOR_EXPORT PelmAdapter : public familysim::RecordAdapter<PelmAdapter> {
public:
    explicit PelmAdapter(const pelmsim::Controller& controller);
    ~PelmAdapter() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    // The controller's event list from startEventNumberIN on, as the
    // library hands it out (README.md); -12 when the controller is gone.
    using Adapter::getEvents;
    Ret getEvents(unsigned long startEventNumberIN, std::string& xmlEvents) override;
};

// A disk of a Pelm controller.
class STOR_EXPORT PelmHardDrive : public familysim::RecordHardDrive<PelmHardDrive> {
public:
    PelmHardDrive(Adapter* adapterIN, Channel* channelIN, const familysim::HardDriveTexts& texts);
    ~PelmHardDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
};

// A logical drive of a Pelm controller: its data space in MB, a name (never
// null), a read-cache mode and a creation time with every field set.
class STOR_EXPORT PelmLogicalDrive : public familysim::RecordLogicalDrive<PelmLogicalDrive> {
public:
    PelmLogicalDrive(Adapter* adapterIN, const pelmsim::LogicalDrive& drive);
    ~PelmLogicalDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    // The task the controller runs on the drive now: type, state, percentage
    // and priority, with the drive's address as device address; TASK_NONE
    // (state TASK_STATE_NONE) when it runs none. -12 when the controller or
    // drive is gone.
    using LogicalDrive::getProgress;
    Ret getProgress(Progress& progress) override;
};

#endif
