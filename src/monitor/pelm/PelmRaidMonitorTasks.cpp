// The Pelm monitor's task-progress events and the translation of the
// controllers' sense data into task and media-error events.

#include <cstring>

#include "PelmAdapter.h"
#include "PelmLib.h"
#include "RaidLib/Util/ProgressCollection.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "monitor/NLSParser.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMEventIds.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSystem.h"
#include "monitor/pelm/PelmRaidMonitor.h"

namespace {

using namespace nrmevent;

// The events of a task family: started, running, ended.
struct TaskFamily {
    const NRMEventDef* started;
    const NRMEventDef* running;
    const NRMEventDef* ended;
};

// The family of a task type; null for a type that raises no events.
const TaskFamily* familyOf(uint32_t type)
{
    static const TaskFamily init{&INIT_STARTED, &INIT_RUNNING, &INIT_STOPPED};
    static const TaskFamily sync{&SYNC_STARTED, &SYNC_RUNNING, &SYNC_STOPPED};
    static const TaskFamily rebuild{&REBUILD_STARTED, &REBUILD_RUNNING, &REBUILD_STOPPED};
    switch (type) {
    case TASK_CLEAR:
        return &init;
    case TASK_VERIFY:
    case TASK_VERIFY_NO_FIX:
        return &sync;
    case TASK_REBUILD:
        return &rebuild;
    default:
        return nullptr;
    }
}

enum TaskPhase { STARTED, RUNNING, ENDED };

// The task event of a controller's sense code (sense key 1); whether the
// code goes with the text as a second parameter.
struct SenseTaskEvent {
    int code;
    const NRMEventDef* event;
    bool withCode;
};

const SenseTaskEvent SENSE_TASK_EVENTS[] = {
    {0x01, &SYNC_ABORTED, false},     {0x0e, &REBUILD_ABORTED, false}, {0x0f, &INIT_ABORTED, true},
    {0x10, &REBUILD_STARTED, false},  {0x89, &REBUILD_STARTED, false}, {0x11, &REBUILD_COMPLETED, false},
    {0x12, &REBUILD_FAILED, true},    {0x13, &SYNC_STARTED, false},    {0x14, &SYNC_COMPLETED, false},
    {0x15, &SYNC_FAILED, true},       {0x19, &INIT_STARTED, false},    {0x1a, &INIT_COMPLETED, false},
    {0x1b, &INIT_FAILED, true},
};

const int SENSE_KEY_TASK = 1;

// The media-error event of a sense code; null for other codes.
const NRMEventDef* mediaEventOf(int code)
{
    switch (code) {
    case 0x81:
    case 0x88:
        return &PD_MEDIA_ERROR;
    case 0x80:
        return &PD_BAD_BLOCK_REPAIRED;
    default:
        return nullptr;
    }
}

Addr logicalAddress(Adapter* adapter, LogicalDrive* drive)
{
    Addr address(adapter->getAdapterID());
    address.setLogicalDriveID(drive->getLogicalDriveID());
    return address;
}

std::vector<RaidObject*> descendants(Adapter* adapter, const char* className)
{
    std::vector<RaidObject*> found;
    adapter->getChildren(found, className, true, true);
    return found;
}

} // namespace

void PelmRaidMonitor::queueTaskEvent(NRMEventCollection& queue, const Progress& task, PelmAdapter* adapter,
                                     LogicalDrive* logicalDrive, int phase)
{
    const TaskFamily* family = familyOf(static_cast<uint32_t>(task.getType()));
    if (!family)
        return;
    const std::string object = getEventID(logicalDrive);
    const NRMEventDef& def = phase == STARTED ? *family->started : phase == RUNNING ? *family->running : *family->ended;
    // The running texts take the object phrase first, then the percentage,
    // as the catalogue's texts shared with the Tarnell monitor do.
    NRMEvent event = phase == RUNNING
                         ? makeEvent(def, {object, NLSParser::itoa(static_cast<int>(task.getPercent()), 10)})
                         : makeEvent(def, {object});
    event.address = logicalAddress(adapter, logicalDrive);
    event.setAdapterSerial(adapter);
    if (phase == RUNNING)
        event.percentComplete = static_cast<int32_t>(task.getPercent());
    queue.addEvent(event);
    if (phase == STARTED && family->started == &REBUILD_STARTED) {
        NRMEvent companion = event;
        companion.eventId = REBUILD_STARTED_COMPANION.id;
        companion.severity = REBUILD_STARTED_COMPANION.severity;
        queue.addEvent(companion);
    }
}

void PelmRaidMonitor::checkProgress(bool reportNew, NRMEventCollection& queue, PelmAdapter* adapter, bool useStored)
{
    if (!adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::CheckProgress newAdapterIN is NULL\n");
        return;
    }
    std::vector<NRMProgress*> stored;
    if (useStored && configBuilder && configBuilder->nrmSystem) {
        std::vector<RaidObject*> lists;
        configBuilder->nrmSystem->getChildren(lists, "ProgressCollection", true, true);
        if (!lists.empty()) {
            for (RaidObject* child : lists.front()->getChildren()) {
                if (child && child->isInstanceOf("Progress"))
                    stored.push_back(static_cast<NRMProgress*>(child));
            }
        }
    }
    for (RaidObject* object : descendants(adapter, "LogicalDrive")) {
        LogicalDrive* drive = dynamic_cast<LogicalDrive*>(object);
        if (!drive || !drive->getAdapter()) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::CheckProgress logical drive without adapter\n");
            continue;
        }
        ProgressCollection tasks;
        if (storLib->getTasks(logicalAddress(adapter, drive), tasks).getReturn() != Ret::SUCCESS) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: getTasks unsuccessfull\n");
            continue;
        }
        if (tasks.getProgressCount() == 0)
            continue;
        const Progress task = tasks.getProgress(0);
        if (task.getType() != TASK_NONE) {
            logicalDrive_progress record;
            record.adapter = adapter;
            record.logicalDriveId = drive->getLogicalDriveID();
            record.task = task;
            currentTasks.push_back(record);
        }
        if (stored.empty()) {
            for (const logicalDrive_progress& previous : previousTasks) {
                if (previous.task.getDeviceAddr() == task.getDeviceAddr() &&
                    previous.task.getPercent() != task.getPercent())
                    queueTaskEvent(queue, task, adapter, drive, RUNNING);
            }
        }
        if (!reportNew)
            continue;
        bool matched = false;
        bool otherType = false;
        for (NRMProgress* s : stored) {
            if (s->address != task.getDeviceAddr())
                continue;
            matched = true;
            if (s->taskType == static_cast<uint32_t>(task.getType())) {
                if (s->percentageComplete != task.getPercent())
                    queueTaskEvent(queue, task, adapter, drive, RUNNING);
            } else {
                otherType = true;
                Progress ended(static_cast<EnumTaskType>(s->taskType), task.getDeviceAddr(),
                               static_cast<EnumTaskState>(s->taskState), s->percentageComplete);
                queueTaskEvent(queue, ended, adapter, drive, ENDED);
            }
        }
        if (task.getStatus() == TASK_STATE_IN_PROGRESS && (stored.empty() || !matched || otherType))
            queueTaskEvent(queue, task, adapter, drive, STARTED);
    }
}

bool PelmRaidMonitor::eventPathKey(PelmAdapter* adapter, const PelmEvent& event, const char* errorLine,
                                   std::string& key)
{
    char adapterPath[PATH_SIZE];
    if (!pathText(Addr(adapter->getAdapterID()), adapterPath)) {
        logDebugGroup(NRM_DEBUG_ERRORS, "%s", errorLine);
        return false;
    }
    key = std::string(adapterPath) + event.LDPath;
    return true;
}

void PelmRaidMonitor::compareProgress(NRMEventCollection& queue, PelmAdapter* adapter, std::vector<PelmEvent>& events)
{
    if (!adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::compareProgress adapter is NULL\n");
        return;
    }
    std::vector<pathLdvPair> paths;
    for (RaidObject* object : descendants(adapter, "LogicalDrive")) {
        LogicalDrive* drive = dynamic_cast<LogicalDrive*>(object);
        if (!drive)
            continue;
        pathLdvPair pair;
        if (!pathText(logicalAddress(adapter, drive), pair.path)) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: getPath(logicalDrive) unsuccessfull\n");
            continue;
        }
        pair.logicalDrive = drive;
        paths.push_back(pair);
    }
    for (const PelmEvent& e : events) {
        if (e.SenseKey != SENSE_KEY_TASK)
            continue;
        std::string key;
        if (!eventPathKey(adapter, e, "ERROR: getPath(Adapter) unsuccessfull\n", key))
            continue;
        LogicalDrive* drive = nullptr;
        for (const pathLdvPair& pair : paths) {
            if (key == pair.path)
                drive = pair.logicalDrive;
        }
        if (!drive)
            continue;
        for (const SenseTaskEvent& row : SENSE_TASK_EVENTS) {
            if (row.code != e.AdditionalSenseCode)
                continue;
            std::vector<std::string> params{getEventID(drive)};
            if (row.withCode)
                params.push_back(NLSParser::itoa(e.AdditionalSenseCode, 16));
            NRMEvent event = makeEvent(*row.event, params);
            event.address = logicalAddress(adapter, drive);
            queue.addEvent(event);
            if (row.event == &REBUILD_STARTED) {
                event.eventId = REBUILD_STARTED_COMPANION.id;
                event.severity = REBUILD_STARTED_COMPANION.severity;
                queue.addEvent(event);
            }
        }
    }
}

void PelmRaidMonitor::checkTranslateEvents(NRMEventCollection& queue, PelmAdapter* adapter,
                                           std::vector<PelmEvent> events)
{
    if (!adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::CheckAdapter,Adapter is NULL");
        return;
    }
    for (const PelmEvent& e : events) {
        const NRMEventDef* def = mediaEventOf(e.AdditionalSenseCode);
        if (!def)
            continue;
        std::string key;
        if (!eventPathKey(adapter, e, "ERROR: getPath(Adapter) is unsuccessfull\n", key))
            continue;
        for (RaidObject* object : descendants(adapter, "HardDrive")) {
            HardDrive* drive = dynamic_cast<HardDrive*>(object);
            if (!drive || !drive->getChannel()) {
                logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::checkTranslateEvents drive without channel\n");
                continue;
            }
            Addr address(adapter->getAdapterID());
            address.setChannelID(drive->getChannel()->getChannelID());
            address.setDeviceID(drive->getDeviceID());
            char text[PATH_SIZE];
            if (!pathText(address, text)) {
                logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: getPath(HardDrive) is unsuccessfull\n");
                continue;
            }
            if (key != text)
                continue;
            NRMEvent event = makeEvent(*def, {getEventID(drive)});
            event.address = address;
            event.deviceSerial = drive->getSerialNumber();
            queue.addEvent(event);
            break;
        }
    }
}
