#include "RaidLib/Util/Progress.h"

#include <memory>

#include "RaidModel/Serialization/XMLWriter.h"

Progress::Progress()
    : ptType(TASK_NONE),
      ulLogicalDrive(STORID_UNDEFINED),
      pscStatus(TASK_STATE_NONE),
      ulPercent(0),
      furtherInformation(0),
      priority(TASK_PRIORITY_HIGH),
      taskID(STORID_UNDEFINED)
{
}

Progress::Progress(EnumTaskType type, uint32_t logicalDrive, EnumTaskState state, uint32_t percent)
    : Progress()
{
    ptType = type;
    ulLogicalDrive = logicalDrive;
    pscStatus = state;
    ulPercent = percent;
}

Progress::Progress(EnumTaskType type, Addr device, EnumTaskState state, uint32_t percent) : Progress()
{
    ptType = type;
    deviceAddress = device;
    pscStatus = state;
    ulPercent = percent;
}

bool Progress::operator==(const Progress& right) const
{
    return ptType == right.ptType && ulLogicalDrive == right.ulLogicalDrive &&
           deviceAddress.IsEqual(right.deviceAddress) && pscStatus == right.pscStatus &&
           ulPercent == right.ulPercent && furtherInformation == right.furtherInformation &&
           priority == right.priority && taskID == right.taskID;
}

void Progress::setDeviceAddr(const Addr& a)
{
    deviceAddress = a;
    ulLogicalDrive = a.getLogicalDriveID();
}

std::string Progress::toXML() const
{
    char* text = nullptr;
    {
        XMLWriter w(&text);
        w.addTag("<Progress ");
        w.writeUInt("type", static_cast<uint32_t>(ptType));
        if (ulLogicalDrive != STORID_UNDEFINED)
            w.writeUInt("logicalDrive", ulLogicalDrive);
        else
            w.writeAddr(deviceAddress);
        w.writeUInt("status", static_cast<uint32_t>(pscStatus));
        w.writeUInt("percent", ulPercent);
        w.writeUInt("furtherInformation", furtherInformation);
        w.writeInt("priority", priority);
        w.writeInt("taskID", static_cast<int32_t>(taskID));
        w.addTag(" />");
    }
    const std::unique_ptr<char[]> owned(text);
    return std::string(text ? text : "");
}
