#ifndef PROGRESS_H
#define PROGRESS_H

#include <cstdint>
#include <string>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"

enum EnumTaskType : int32_t {
    TASK_NONE = 0,
    TASK_CLEAR = 1,
    TASK_FORMAT = 2,
    TASK_VERIFY_HARD_DRIVE = 3,
    TASK_VERIFY = 4,
    TASK_VERIFY_NO_FIX = 5,
    TASK_REBUILD = 6,
    TASK_MIGRATION = 7,
    TASK_SNAPSHOT = 8,
    TASK_COPYBACK = 9,
    TASK_COMPACTING = 10,
    TASK_EXPANDING = 11,
    TASK_SNAPSHOT_BACKUP = 12,
    TASK_SECURE_ERASE = 13,
    TASK_COMPRESS = 14,
    TASK_DECOMPRESS = 15
};

enum EnumTaskState : int32_t {
    TASK_STATE_NONE = 0,
    TASK_STATE_COMPLETE = 1,
    TASK_STATE_IN_PROGRESS = 2,
    TASK_STATE_FAILED = 3,
    TASK_STATE_PAUSED = 4,
    TASK_STATE_ABORTED = 5
};

enum EnumPriorityLevel : int32_t { TASK_PRIORITY_LOW = 0, TASK_PRIORITY_MEDIUM = 1, TASK_PRIORITY_HIGH = 2 };

static_assert(sizeof(EnumTaskType) == 4 && sizeof(EnumTaskState) == 4 && sizeof(EnumPriorityLevel) == 4,
              "task enumerations are 32-bit");

// One background task of a controller, on a logical drive or on a device.
// ulLogicalDrive 0x7FFFFFFF means the task runs on deviceAddress.
class STOR_EXPORT Progress {
public:
    Progress();
    // A task on a logical drive.
    Progress(EnumTaskType type, uint32_t logicalDrive, EnumTaskState state, uint32_t percent);
    // A task on a device.
    Progress(EnumTaskType type, Addr device, EnumTaskState state, uint32_t percent);

    bool operator==(const Progress& right) const;
    bool operator!=(const Progress& right) const { return !(*this == right); }

    EnumTaskType getType() const { return ptType; }
    void setType(EnumTaskType t) { ptType = t; }
    uint32_t getLogicalDrive() const { return ulLogicalDrive; }
    void setLogicalDrive(uint32_t ld) { ulLogicalDrive = ld; }
    EnumTaskState getStatus() const { return pscStatus; }
    void setStatus(EnumTaskState s) { pscStatus = s; }
    uint32_t getPercent() const { return ulPercent; }
    void setPercent(uint32_t p) { ulPercent = p; }
    EnumPriorityLevel getPriority() const { return priority; }
    void setPriority(EnumPriorityLevel p) { priority = p; }
    uint32_t getExplanation() const { return furtherInformation; }
    void setExplanation(uint32_t e) { furtherInformation = e; }
    uint32_t getTaskID() const { return taskID; }
    void setTaskID(uint32_t id) { taskID = id; }
    Addr& getDeviceAddr() { return deviceAddress; }
    const Addr& getDeviceAddr() const { return deviceAddress; }
    // Also takes the address's logical drive id, so an address that names a
    // logical drive makes this a task on that drive.
    void setDeviceAddr(const Addr& a);

    // The record as one "Progress" element.
    std::string toXML() const;

private:
    EnumTaskType ptType;
    uint32_t ulLogicalDrive;
    Addr deviceAddress;
    EnumTaskState pscStatus;
    uint32_t ulPercent;
    uint32_t furtherInformation;
    EnumPriorityLevel priority;
    uint32_t taskID;
};

#endif
