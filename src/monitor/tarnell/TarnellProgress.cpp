// The Tarnell monitor's task-progress events: the tasks found at start-up
// against those stored with the snapshot, and the growth of a running task's
// percentage at every snapshot write.
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/System.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMProgress.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"

namespace {

struct TaskCodes {
    EnumTaskType type;
    int complete, inProgress, failed, aborted; // event codes by task state
    const char *completeKey, *inProgressKey, *failedKey, *abortedKey;
    int percentCode;
    const char* percentKey;
};

const TaskCodes TASK_CODES[] = {
    {TASK_VERIFY, 308, 307, 309, 386, "agentEventInfSyncComplete", "agentEventInfSyncDetected", "agentEventErrSync",
     "agentEventInfSyncStopped", 373, "agentEventInfSyncPercentComplete"},
    {TASK_VERIFY_NO_FIX, 308, 307, 309, 386, "agentEventInfSyncNoFixComplete", "agentEventInfSyncNoFixDetected",
     "agentEventErrSyncNoFix", "agentEventInfSyncNoFixStopped", 373, "agentEventInfSyncNoFixPercentComplete"},
    {TASK_REBUILD, 305, 304, 306, 385, "agentEventInfRebuildComplete", "agentEventInfRebuildDetected",
     "agentEventErrRebuild", "agentEventInfRebuildStopped", 372, "agentEventInfRebuildPercentComplete"},
    {TASK_MIGRATION, 311, 310, 312, 387, "agentEventInfMigrationComplete", "agentEventInfMigrationDetected",
     "agentEventErrMigrationFail", "agentEventInfMigrationStopped", 374, "agentEventInfMigrationPercentComplete"},
    {TASK_SNAPSHOT, 320, 319, 321, 390, "agentEventInfSnapshotComplete", "agentEventInfSnapshotDetected",
     "agentEventErrSnapshot", "agentEventInfSnapshotStopped", 377, "agentEventInfSnapshotDetected"},
    {TASK_COMPACTING, 333, 332, 334, 394, "agentEventInfCompactComplete", "agentEventInfCompactionDetected",
     "agentEventErrCompact", "agentEventInfCompactStopped", 381, "agentEventInfCompactPercentComplete"},
    {TASK_EXPANDING, 336, 335, 337, 395, "agentEventInfExpandComplete", "agentEventInfExpansionDetected",
     "agentEventErrExpand", "agentEventInfExpandStopped", 382, "agentEventInfExpandPercentComplete"},
    {TASK_COMPRESS, 314, 313, 315, 388, "agentEventInfCompressComplete", "agentEventInfCompressionDetected",
     "agentEventErrCompress", "agentEventInfCompressStopped", 375, "agentEventInfCompressPercentComplete"},
    {TASK_DECOMPRESS, 317, 316, 318, 389, "agentEventInfDecompressComplete", "agentEventInfDecompressionDetected",
     "agentEventErrDecompress", "agentEventInfDecompressStopped", 376, "agentEventInfDecompressPercentComplete"},
};

const TaskCodes* codesOf(unsigned long type)
{
    for (const TaskCodes& codes : TASK_CODES)
        if (static_cast<unsigned long>(codes.type) == type)
            return &codes;
    return nullptr;
}

// The code and key of a (type, state) pair; false for a pair without one.
bool taskEvent(unsigned long type, unsigned long state, int& code, const char*& key)
{
    const TaskCodes* codes = codesOf(type);
    if (!codes)
        return false;
    switch (state) {
    case TASK_STATE_COMPLETE: code = codes->complete; key = codes->completeKey; return true;
    case TASK_STATE_IN_PROGRESS: code = codes->inProgress; key = codes->inProgressKey; return true;
    case TASK_STATE_FAILED: code = codes->failed; key = codes->failedKey; return true;
    case TASK_STATE_ABORTED: code = codes->aborted; key = codes->abortedKey; return true;
    default: return false;
    }
}

// A logical drive number counted from 1; an unset one stays unset.
int32_t plusOne(uint32_t logicalDrive)
{
    return logicalDrive >= static_cast<uint32_t>(NRM_UNSET) ? NRM_UNSET : static_cast<int32_t>(logicalDrive + 1);
}

std::vector<RaidObject*> objectsOf(RaidObject* root, const char* className)
{
    std::vector<RaidObject*> objects;
    if (!root)
        return objects;
    FilterCollection filter(root);
    filter.apply(className, false);
    for (unsigned long k = 0; k < filter.size(); ++k)
        objects.push_back(filter.elementAt(static_cast<int>(k)));
    return objects;
}

} // namespace

void TarnellRaidMonitor::LDMProgressType(System* storedSystem)
{
    ldmProgressType = 0;
    ldmProgressTypeFound = false;
    logDebugGroup(NRM_DEBUG_DETAIL, "INFO: In TarnellRaidMonitor::LDMProgressType(System *nrmSys)!!!!!\n");
    for (RaidObject* adapter : objectsOf(storedSystem, "Adapter")) {
        for (RaidObject* object : objectsOf(adapter, "LogicalDrive")) {
            auto* drive = static_cast<LogicalDrive*>(object);
            if (!drive || drive->getRaidLevel() != RAID5E)
                continue;
            ldmProgressTypeFound = true;
            const int state = drive->getState();
            ldmProgressType = state == 6 ? TASK_COMPRESS : state == 4 ? TASK_DECOMPRESS : TASK_MIGRATION;
            return;
        }
    }
}

void TarnellRaidMonitor::AddProgressEvent(NRMEventCollection& events, unsigned long type, unsigned long state,
                                          Adapter* adapter, unsigned long logicalDrive)
{
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO: In   TarnellRaidMonitor::AddProgressEvent\n");
    if (!adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "INFO: In TarnellRaidMonitor::AddProgressEvent!!!!  Adapter is NULL \n");
        return;
    }
    if (type == TASK_MIGRATION) {
        logDebugGroup(NRM_DEBUG_ERRORS, "INFO: In TarnellRaidMonitor::AddProgressEvent type==TASK_MIGRATION  \n");
        if (ldmProgressType != 0)
            type = static_cast<unsigned long>(ldmProgressType);
    }
    if (type == TASK_NONE) {
        logDebugGroup(NRM_DEBUG_ERRORS, "INFO: TASK_NONE \n");
        return;
    }
    int code = 0;
    const char* key = nullptr;
    if (!taskEvent(type, state, code, key))
        return;
    const uint32_t drive = static_cast<uint32_t>(logicalDrive);
    const int32_t number = plusOne(drive);
    const std::string phrase = catalogue.get("eventArgControllerLogicalDrive",
                                             std::vector<std::string>{getDetailedAdapterID(adapter), NLSParser::itoa(number, 10)});
    Addr address(adapter->getAdapterID());
    address.setLogicalDriveID(drive);
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO: Adding Event (NRM_EVENTS) \n");
    lastLoggedEvent = LOGGED_EVENT_INFO{code, 0, number};
    loggedEvents.push_back(lastLoggedEvent);
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO: Adding NRM Event  \n");
    logDebugGroup(NRM_DEBUG_ERRORS, " Adding event to LoggedEventInfo !!!!! Event code is   = %d.\n", code);
    NRMEvent event(code, NRM_EVENT_INFORMATION, catalogue.get(key, std::vector<std::string>{phrase}), address, number,
                   NRM_UNSET, NRM_UNSET, "", "", "");
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO: before OBJECTTYPE_LOGICAL \n");
    event.objectType = NRM_OBJECT_LOGICAL_DRIVE;
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO: After OBJECTTYPE_LOGICAL \n");
    // The controller's serial with the logical drive's id names the volume
    // the task runs on.
    event.setAdapterSerial(adapter);
    events.addEvent(event);
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO: Added Event (NRM_EVENTS) \n");
}

void TarnellRaidMonitor::checkProgress(NRMEventCollection& events, Adapter* adapter)
{
    if (!adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::checkProgress currentAdp is NULL!!!\n");
        return;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "\tEntering checkProgress (&ecIN, KRNA: %d)\n",
                  static_cast<int>(adapter->getAdapterID()));
    Progress adapterTask;
    if (adapter->getProgress(adapterTask).getReturn() != 0)
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::compare_LogicalProgress() ret = "
                                        "newAdapterIN->getProgress(progress) is NOT SUCCESSFUL \n");
    for (RaidObject* object : objectsOf(adapter, "LogicalDrive")) {
        if (!object)
            continue;
        Progress task;
        if (static_cast<LogicalDrive*>(object)->getProgress(task).getReturn() != 0)
            continue;
        AddProgressEvent(events, task.getType(), task.getStatus(), adapter, task.getLogicalDrive());
        progressEventPending = true;
    }
}

void TarnellRaidMonitor::compareProgress(NRMEventCollection& events, Adapter* newAdapter, Adapter* oldAdapter)
{
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO: TarnellRaidMonitor::compareProgress(NRMEventCollection &ecIN, Adapter "
                                    "*newAdapterIN, Adapter *oldAdapterIN) \n");
    if (!newAdapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::compareProgress newAdapterIN is NULL!!!\n");
        return;
    }
    if (!oldAdapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::compareProgress oldAdapterIN is NULL!!!\n");
        checkProgress(events, newAdapter);
        return;
    }
    compare_LogicalProgress(events, newAdapter, oldAdapter);
}

void TarnellRaidMonitor::compare_LogicalProgress(NRMEventCollection& events, Adapter* newAdapter, Adapter* oldAdapter)
{
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO: TarnellRaidMonitor::compare_LogicalProgress(NRMEventCollection &ecIN, "
                                    "Adapter *newAdapterIN, Adapter *oldAdapterIN) \n");
    if (!newAdapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::compare_LogicalProgress() newAdapterIN is NULL \n");
        return;
    }
    Progress now;
    if (newAdapter->getProgress(now).getReturn() != 0)
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::compare_LogicalProgress() ret_new = "
                                        "newAdapterIN->getProgress(progress) is NOT SUCCESSFUL \n");
    if (!storedProgress) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::compare_LogicalProgress() :progCollection is null \n");
        return;
    }
    for (size_t k = 0; k < storedProgress->getNumChildren(); ++k) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::compare_LogicalProgress()  In for loop of "
                                        "progCollection->getProgressCount() \n");
        RaidObject* child = storedProgress->getChild(k);
        if (!child || !child->isInstanceOf("Progress"))
            continue;
        NRMProgress stored;
        stored.build(static_cast<NRMProgress*>(child));
        // Only the records of this controller: another controller's stored
        // task says nothing about this one.
        if (oldAdapter && stored.address.getAdapterID() != oldAdapter->getAdapterID())
            continue;
        const unsigned long oldDrive = stored.address.getLogicalDriveID();
        if (tarnellLib && tarnellLib->getCurrentObject(stored.address))
            logDebugGroup(NRM_DEBUG_DETAIL, "ldRaidObj is not NULL !!!!!!!!!!!\n");
        const unsigned long type = static_cast<unsigned long>(now.getType());
        if (type != stored.taskType) {
            logDebugGroup(NRM_DEBUG_ERRORS, "INFO: In Else Progress is not Sametype \n");
            progressEventPending = true;
            AddProgressEvent(events, type, now.getStatus(), newAdapter, now.getLogicalDrive());
            AddProgressEvent(events, stored.taskType, TASK_STATE_ABORTED, oldAdapter, oldDrive);
            continue;
        }
        logDebugGroup(NRM_DEBUG_ERRORS, "INFO : Same task progressNew.getType() = progressOld.taskType !!!!!!\n");
        if (stored.taskState != TASK_STATE_IN_PROGRESS)
            continue;
        switch (now.getStatus()) {
        case TASK_STATE_COMPLETE:
            AddProgressEvent(events, type, TASK_STATE_COMPLETE, newAdapter, now.getLogicalDrive());
            break;
        case TASK_STATE_NONE:
            AddProgressEvent(events, type, now.getPercent() == 100 ? TASK_STATE_COMPLETE : TASK_STATE_ABORTED,
                             newAdapter, now.getLogicalDrive());
            break;
        case TASK_STATE_FAILED:
            AddProgressEvent(events, type, TASK_STATE_FAILED, newAdapter, now.getLogicalDrive());
            break;
        case TASK_STATE_IN_PROGRESS:
            if (now.getLogicalDrive() == oldDrive) {
                logDebugGroup(NRM_DEBUG_ERRORS, "INFO: Not adding this event \n");
                progressEventPending = true;
            } else {
                AddProgressEvent(events, type, TASK_STATE_IN_PROGRESS, newAdapter, now.getLogicalDrive());
                AddProgressEvent(events, type, TASK_STATE_ABORTED, oldAdapter, oldDrive);
            }
            break;
        default: // paused or aborted
            break;
        }
    }
}

void TarnellRaidMonitor::setProgress()
{
    logDebugGroup(NRM_DEBUG_TRACE, "Entering TarnellRaidMonitor::setProgress()\n");
    delete progress;
    progress = nullptr;
    progress = new NRMProgressCollection;
    System* system = tarnellLib ? tarnellLib->getCurrentSystem() : nullptr;
    for (RaidObject* object : objectsOf(system, "Adapter")) {
        if (!object) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::setProgress() currentAdp  NULL  \n");
            continue;
        }
        auto* adapter = static_cast<Adapter*>(object);
        Progress task;
        if (adapter->getProgress(task).getReturn() != 0)
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::setProgress() ret = "
                                            "currentAdp->getProgress(progress) is NOT SUCCESSFUL \n");
        logProgressEvent(adapter, task);
        progress->addChild(GetNRMProgress(task));
    }
}

NRMProgress* TarnellRaidMonitor::GetNRMProgress(Progress task)
{
    auto* record = new NRMProgress;
    record->taskID = task.getTaskID();
    record->percentageComplete = task.getPercent();
    record->taskType = static_cast<uint32_t>(task.getType());
    record->taskState = static_cast<uint32_t>(task.getStatus());
    record->address = task.getDeviceAddr();
    return record;
}

void TarnellRaidMonitor::logProgressEvent(Adapter* adapter, Progress& task)
{
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO: in logProgressEvent() \n");
    if (!adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "INFO: adapter is NULL\n");
        return;
    }
    if (task.getType() == TASK_NONE || task.getStatus() != TASK_STATE_IN_PROGRESS)
        return;
    SeenTask& seen = seenTasks[adapter->getAdapterID()];
    const bool sameTask = seen.lastProgress.getType() == task.getType() &&
                          seen.lastProgress.getLogicalDrive() == task.getLogicalDrive();
    if (!sameTask || task.getPercent() < seen.lastPercent) {
        // Another task, or the same one started again: remembered afresh,
        // without an event.
        seen.lastPercent = task.getPercent();
    } else if (task.getPercent() > seen.lastPercent) {
        seen.lastPercent = task.getPercent();
        const TaskCodes* codes = codesOf(static_cast<unsigned long>(task.getType()));
        if (codes && eventQueue) {
            logDebugGroup(NRM_DEBUG_ERRORS, "INFO: Adding %%Progress Event (NRM_EVENTS) \n");
            const uint32_t drive = task.getLogicalDrive();
            const int32_t number = plusOne(drive);
            const std::string percent = NLSParser::itoa(static_cast<int>(task.getPercent()), 10);
            const std::string phrase =
                catalogue.get("eventArgControllerLogicalDrive",
                              std::vector<std::string>{getDetailedAdapterID(adapter), NLSParser::itoa(number, 10), percent});
            Addr address(adapter->getAdapterID());
            address.setLogicalDriveID(drive);
            NRMEvent event(codes->percentCode, NRM_EVENT_INFORMATION,
                           catalogue.get(codes->percentKey, std::vector<std::string>{phrase, percent}), address, number,
                           NRM_UNSET, NRM_UNSET, "", "", "");
            event.objectType = NRM_OBJECT_LOGICAL_DRIVE;
            event.setAdapterSerial(adapter);
            event.percentComplete = static_cast<int32_t>(task.getPercent());
            eventQueue->addEvent(event);
            logDebugGroup(NRM_DEBUG_ERRORS, "INFO: Added %% Progress  event (NRM_EVENTS) \n");
        }
    }
    seen.lastProgress = task;
}
