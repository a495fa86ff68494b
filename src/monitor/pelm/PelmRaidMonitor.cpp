// The Pelm monitor's life cycle, its polls and the device paths.

#include "monitor/pelm/PelmRaidMonitor.h"

#include <atomic>
#include <cstring>
#include <new>
#include <utility>

#include "LDPathUtils.h"
#include "PelmAdapter.h"
#include "PelmLib.h"
#include "RaidLib/Util/Date.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/System.h"
#include "monitor/NRMAdapter.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMEventIds.h"
#include "monitor/NRMHardDrive.h"
#include "monitor/NRMLogicalDrive.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSystem.h"

namespace {

const char* const DEBUG_LOG = "WATCHPELMDebug.log";
const char* const EVENTS_LOG = "WATCHPELMEvents.log";
const char* const SNAPSHOT = "WATCHPELMConfig.xml";

// The highest sequence number a controller gives its events.
const int64_t LAST_SEQUENCE = 0xFFFFFFFFll;

bool sameController(const Adapter* a, const Adapter* b)
{
    return a->getPCIBus() == b->getPCIBus() && a->getPCIFunction() == b->getPCIFunction() &&
           a->getPciDevice() == b->getPciDevice();
}

std::vector<RaidObject*> descendants(RaidObject* root, const char* className)
{
    std::vector<RaidObject*> found;
    if (root)
        root->getChildren(found, className, true, true);
    return found;
}

// The address of a drive: its adapter's id, its channel's id and its device id.
Addr driveAddress(HardDrive* drive)
{
    Addr address(drive->getAdapter()->getAdapterID());
    address.setChannelID(drive->getChannel()->getChannelID());
    address.setDeviceID(drive->getDeviceID());
    return address;
}

} // namespace

PelmRaidMonitor::PelmRaidMonitor(PelmLib* lib, std::string logDir)
    : BaseRaidMonitor(lib, DEBUG_LOG, EVENTS_LOG, SNAPSHOT, std::move(logDir))
{
    construct();
}

PelmRaidMonitor::PelmRaidMonitor(PelmLib* lib) : BaseRaidMonitor(lib, DEBUG_LOG, EVENTS_LOG, SNAPSHOT)
{
    construct();
}

PelmRaidMonitor::~PelmRaidMonitor()
{
    currentTasks.clear();
    previousTasks.clear();
    storedAdapterList.clear();
    previousAdapterList.clear();
    currentAdapterList.clear();
    previousSystem.Release();
    liveSystem.Release();
}

PelmLib* PelmRaidMonitor::pelmLib() const { return static_cast<PelmLib*>(storLib); }

void PelmRaidMonitor::construct()
{
    // A configuration that cannot be read for want of memory is read again
    // at the start.
    try {
        readAtStart();
    } catch (const std::bad_alloc&) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor:: no memory to read the configuration\n");
    }
    sleepMillis(1000);
    isTimeToReportUnsupportedDrives();
    isTimeToReportCriticalLogicalDrives();
    isTimeToReportSASDriveMap();
    isTimeToReportBadStripe();
}

void PelmRaidMonitor::readAtStart()
{
    refreshConfig(true);
    // The previous records point into the live system: held, so that a poll
    // that refreshes before any start-up comparison still finds them alive.
    previousSystem = liveSystem;
    for (Data_Adapter& record : currentAdapterList) {
        if (!record.adapter)
            continue;
        record.pendingEvents.clear();
        if (!fetchEvents(record))
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: getEvents(Adapter=%d)failed\n",
                          static_cast<int>(record.adapter->getAdapterID()));
    }
    previousAdapterList = currentAdapterList;
}

bool PelmRaidMonitor::startUp()
{
    try {
        if (!liveSystem)
            readAtStart();
        if (!liveSystem) {
            logDebugGroup(NRM_DEBUG_ERRORS,
                          "ERROR: PelmRaidMonitor:: the configuration cannot be read; nothing is compared\n");
            return false;
        }
        if (getControllerCount() == 0 && eventQueue) {
            NRMEvent event = makeEvent(nrmevent::NO_CONTROLLERS, {});
            eventQueue->addEvent(event);
        }
        if (eventQueue)
            getCurrentEvents(*eventQueue);
    } catch (const std::bad_alloc&) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor:: no memory for the start; it ends early\n");
    }
    return true;
}

bool PelmRaidMonitor::fetchEvents(Data_Adapter& record)
{
    // The controller numbers no event beyond the last sequence number.
    if (record.lastSequence >= LAST_SEQUENCE)
        return true;
    char* text = nullptr;
    const unsigned long from = static_cast<unsigned long>(record.lastSequence + 1);
    const Ret ret = storLib->getEvents(Addr(record.adapter->getAdapterID()), from, &text);
    if (ret.getReturn() != Ret::SUCCESS) {
        // A failed call may still have left a text; it is not read.
        storLib->freeBuffer(text);
        return false;
    }
    const std::vector<PelmEvent> events = PelmEventCollection(text).getAllEvents();
    storLib->freeBuffer(text);
    // The events wait in the record until a comparison translates them.
    record.pendingEvents.insert(record.pendingEvents.end(), events.begin(), events.end());
    if (!events.empty())
        record.lastSequence = events.back().Sequence;
    return true;
}

// ---------------------------------------------------------------- life cycle

void PelmRaidMonitor::start()
{
    if (!claimStart(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor already running!!!!\n"))
        return;
    bool started = startUp();
    run(started);
}

void PelmRaidMonitor::run() { run(true); }

void PelmRaidMonitor::run(bool started)
{
    if (!storLib)
        return;
    if (!running) {
        stopped = true;
        return;
    }
    stopped = false;
    // Stopped, also when a failure ends the loop and passes on to the caller
    // of start().
    StoppedOnExit mark{stopped};
    do {
        // A poll or reading that runs out of memory ends there, with an
        // error line; a configuration that could not be read is not
        // compared, and its events wait for the next poll.
        skipWhenOutOfMemory("PelmRaidMonitor", "this poll", [&] {
            if (!started)
                started = startUp();
            else if (eventQueue)
                poll(COMPARE_CONFIG, *eventQueue);
        });
        for (int step = 0; step < pollSeconds && running; ++step)
            sleepMillis(1000);
        try {
            readConfig();
        } catch (const std::bad_alloc&) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor:: no memory to read the configuration file\n");
        }
        if (eventQueue)
            eventQueue->setMaxSize(eventQueueSize);
        setDebugFlag(static_cast<EnumDebugNRM>(debugMask));
    } while (running);
}

void PelmRaidMonitor::stop()
{
    running = false;
    firstRefresh = true;
    startTime = 0;
}

// ---------------------------------------------------------------- refresh

bool PelmRaidMonitor::isTimeToRefreshConfig()
{
    const int64_t elapsed = static_cast<int64_t>(Date::now()) - static_cast<int64_t>(startTime.load());
    return firstRefresh || lastRefresh == 0 || (elapsed >= refreshInterval && elapsed - lastRefresh >= refreshInterval);
}

bool PelmRaidMonitor::configNeedsRefresh()
{
    if (isTimeToRefreshConfig())
        return true;
    for (const Data_Adapter& record : previousAdapterList) {
        if (!record.pendingEvents.empty())
            return true;
    }
    return false;
}

bool PelmRaidMonitor::refreshConfig(bool stored)
{
    if (!storLib) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: ERROR--loading library\n");
        return false;
    }
    const bool done = initialize(stored);
    firstRefresh = false;
    lastRefresh = static_cast<int64_t>(Date::now()) - static_cast<int64_t>(startTime.load());
    return done;
}

// A reading that runs out of memory leaves the live configuration and its
// adapter list as they were.
bool PelmRaidMonitor::initialize(bool stored)
{
    if (storLib->getSystemConfig().getReturn() != Ret::SUCCESS) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: error refreshing the system\n");
        return false;
    }
    RefSystem live(storLib->getSystem());
    if (!live) {
        currentAdapterList.clear();
        liveSystem = nullptr;
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: SystemNew is NULL\n");
        return false;
    }
    std::vector<Data_Adapter> records;
    std::vector<RaidObject*> adapters;
    live->getChildren(adapters, "Adapter", false, true);
    for (RaidObject* object : adapters) {
        Data_Adapter record;
        record.adapter = object->isInstanceOf("PelmAdapter") ? dynamic_cast<PelmAdapter*>(object) : nullptr;
        records.push_back(record);
    }
    const RefSystem before(liveSystem);
    liveSystem = live;
    try {
        if (!stored)
            writeSnapshot();
        else if (configBuilder)
            configBuilder->readXML();
    } catch (...) {
        liveSystem = before;
        throw;
    }
    currentAdapterList = std::move(records);
    return true;
}

void PelmRaidMonitor::writeSnapshot()
{
    if (!configBuilder || !liveSystem)
        return;
    configBuilder->build(liveSystem, progress);
    setSnapshotPaths();
    configBuilder->writeXML();
}

void PelmRaidMonitor::setSnapshotPaths()
{
    NRMSystem* tree = configBuilder->nrmSystem;
    if (!tree)
        return;
    for (const char* className : {"Adapter", "HardDrive", "LogicalDrive"}) {
        for (RaidObject* object : descendants(liveSystem, className)) {
            Addr address(object->getAdapterID());
            if (std::strcmp(className, "HardDrive") == 0) {
                HardDrive* drive = dynamic_cast<HardDrive*>(object);
                if (!drive || !drive->getAdapter() || !drive->getChannel())
                    continue;
                address = driveAddress(drive);
            } else if (std::strcmp(className, "LogicalDrive") == 0) {
                LogicalDrive* drive = dynamic_cast<LogicalDrive*>(object);
                if (!drive || !drive->getAdapter())
                    continue;
                address = Addr(drive->getAdapter()->getAdapterID());
                address.setLogicalDriveID(drive->getLogicalDriveID());
            }
            char text[PATH_SIZE];
            RaidObject* stored = tree->findObject(address);
            if (!pathText(address, text) || !stored) {
                logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: no device path for the %s at adapter %d\n", className,
                              static_cast<int>(address.getAdapterID()));
                continue;
            }
            if (NRMAdapter* a = dynamic_cast<NRMAdapter*>(stored))
                a->LDPath = text;
            else if (NRMHardDrive* h = dynamic_cast<NRMHardDrive*>(stored))
                h->LDPath = text;
            else if (NRMLogicalDrive* l = dynamic_cast<NRMLogicalDrive*>(stored))
                l->LDPath = text;
        }
    }
}

// ---------------------------------------------------------------- device paths

namespace {

// The text of the path record that the library's getPath fills for the
// object; that of a zero-filled record (empty) when it fails.
template <class Object>
bool printPath(PelmLib* lib, Object object, char (&text)[PelmRaidMonitor::PATH_SIZE])
{
    _LDTree record;
    std::memset(&record, 0, sizeof record);
    const bool found = lib->getPath(object, record).getReturn() == Ret::SUCCESS;
    if (!found)
        std::memset(&record, 0, sizeof record);
    LDPathUtils::sPrintPath(record, text, PelmRaidMonitor::PATH_SIZE);
    text[PelmRaidMonitor::PATH_SIZE - 1] = '\0';
    return found;
}

} // namespace

bool PelmRaidMonitor::pathText(Addr address, char (&text)[PATH_SIZE])
{
    return printPath<Addr&>(pelmLib(), address, text);
}

bool PelmRaidMonitor::pathText(RaidObject* object, char (&text)[PATH_SIZE])
{
    return printPath(pelmLib(), object, text);
}

bool PelmRaidMonitor::drivePath(HardDrive* drive, std::string& text)
{
    if (NRMHardDrive* stored = dynamic_cast<NRMHardDrive*>(drive)) {
        // A stored path longer than a device path text names no drive.
        if (stored->LDPath.empty() || stored->LDPath.size() >= static_cast<size_t>(PATH_SIZE))
            return false;
        text = stored->LDPath;
        return true;
    }
    char buffer[PATH_SIZE];
    const bool found = pathText(drive, buffer);
    text = buffer;
    return found;
}

RaidObject* PelmRaidMonitor::findPD(HardDrive* hardDrive, Adapter* adapter)
{
    if (!hardDrive || !adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::findPD hard drive or adapter is NULL\n");
        return nullptr;
    }
    if (RaidObject* found = BaseRaidMonitor::findPD(hardDrive, adapter))
        return found;
    std::string key;
    if (!drivePath(hardDrive, key)) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: getPath(HardDrive) unsuccessfull\n");
        return nullptr;
    }
    for (RaidObject* object : descendants(adapter, "HardDrive")) {
        HardDrive* candidate = dynamic_cast<HardDrive*>(object);
        std::string text;
        if (!candidate || !drivePath(candidate, text)) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: getPath(HardDrive) unsuccessfull\n");
            continue;
        }
        if (text == key)
            return candidate;
    }
    return nullptr;
}

// ---------------------------------------------------------------- polls

int PelmRaidMonitor::poll(int mode, NRMEventCollection& queue)
{
    if (mode == CHECK_CONFIG)
        checkConfig(queue);
    else
        compareConfig(queue);
    return 0;
}

void PelmRaidMonitor::checkConfig(NRMEventCollection& queue)
{
    NRMSystem* storedTree = configBuilder ? configBuilder->nrmSystem : nullptr;
    if (!liveSystem) {
        // Without a live configuration every stored controller would count as
        // removed and the snapshot would be replaced by an empty one.
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::poll() no live system in CHECK_CONFIG\n");
        return;
    }
    if (!storedTree) {
        logDebugGroup(NRM_DEBUG_ERRORS,
                      "ERROR: PelmRaidMonitor::poll() stored system config NULL in CHECK_CONFIG\n");
    } else {
        storedAdapterList.clear();
        for (RaidObject* child : storedTree->getChildren()) {
            if (!child || !child->isInstanceOf("Adapter")) {
                logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::poll() object is NULL or not an "
                                                "Adapter in CHECK_CONFIG\n");
                continue;
            }
            StoredData_Adapter record;
            record.adapter = static_cast<Adapter*>(child);
            storedAdapterList.push_back(record);
        }
        currentTasks.clear();
        for (Data_Adapter& record : currentAdapterList) {
            PelmAdapter* adapter = record.adapter;
            if (!adapter) {
                logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::poll() adapter is NULL\n");
                continue;
            }
            int unused = 0;
            std::vector<PelmEvent> none;
            Adapter* stored = findStoredAdapter(adapter, unused, none);
            if (compareAdapter(queue, adapter, stored) == ADAPTER_COMPARE_ADDED) {
                checkNewAdapter(queue, adapter);
            } else {
                comparePhysicalDrives(queue, adapter, stored);
                compareLogicalDrives(queue, adapter, stored);
                checkProgress(true, queue, adapter, true);
                compareSafte(queue, adapter, stored);
            }
        }
        setProgress();
        for (const StoredData_Adapter& record : storedAdapterList) {
            if (!record.matched)
                queueRemoval(queue, record.adapter, true);
        }
        storedAdapterList.clear();
    }
    writeSnapshot();
    previousSystem = liveSystem;
    // The events found at construction came before this start; they are
    // history, not changes to translate.
    for (Data_Adapter& record : currentAdapterList)
        record.pendingEvents.clear();
    previousAdapterList = currentAdapterList;
}

void PelmRaidMonitor::compareConfig(NRMEventCollection& queue)
{
    previousTasks = std::move(currentTasks);
    currentTasks.clear();
    for (Data_Adapter& record : previousAdapterList) {
        if (!record.adapter)
            continue;
        if (!fetchEvents(record)) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: getEvents failed\n");
            continue;
        }
        checkProgress(false, queue, record.adapter, false);
    }
    if (configNeedsRefresh() && refreshConfig(false)) {
        for (Data_Adapter& record : currentAdapterList) {
            PelmAdapter* adapter = record.adapter;
            if (!adapter) {
                logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::poll() adapter is NULL\n");
                continue;
            }
            int64_t sequence = 0;
            std::vector<PelmEvent> events;
            PelmAdapter* old = findOldAdapter(adapter, sequence, events);
            if (old) {
                record.lastSequence = sequence;
                record.pendingEvents = std::move(events);
            }
            const int result = compareAdapter(queue, adapter, old);
            if (result == ADAPTER_COMPARE_ADDED || result == ADAPTER_COMPARE_REPLACED) {
                checkNewAdapter(queue, adapter);
            } else {
                comparePhysicalDrives(queue, adapter, old);
                compareLogicalDrives(queue, adapter, old);
                compareProgress(queue, adapter, record.pendingEvents);
                compareSafte(queue, adapter, old);
                checkTranslateEvents(queue, adapter, record.pendingEvents);
            }
            // Translated (or passed over with an added controller): done.
            record.pendingEvents.clear();
        }
        for (const Data_Adapter& record : previousAdapterList) {
            if (!record.matched && record.adapter)
                queueRemoval(queue, record.adapter, false);
        }
        previousSystem = liveSystem;
        previousAdapterList = currentAdapterList;
    }
    setProgress();
}

void PelmRaidMonitor::checkNewAdapter(NRMEventCollection& queue, PelmAdapter* adapter)
{
    checkAdapter(queue, adapter);
    checkPhysicalDrives(queue, adapter);
    checkLogicalDrives(queue, adapter);
    checkProgress(true, queue, adapter, false);
    checkSafte(queue, adapter);
}

void PelmRaidMonitor::queueRemoval(NRMEventCollection& queue, Adapter* adapter, bool atStart)
{
    const NRMEventDef& def = atStart ? nrmevent::ADAPTER_REMOVED : nrmevent::ADAPTER_FAILED;
    NRMEvent event = makeEvent(def, {getEventID(adapter)});
    event.severity = NRM_EVENT_ERROR;
    event.objectType = NRM_OBJECT_ADAPTER;
    event.address = Addr(adapter->getAdapterID());
    event.setAdapterSerial(adapter);
    queue.addEvent(event);
}

Adapter* PelmRaidMonitor::findStoredAdapter(Adapter* live, int&, std::vector<PelmEvent>&)
{
    if (!live) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::findStoredAdapter adapter is NULL\n");
        return nullptr;
    }
    for (StoredData_Adapter& record : storedAdapterList) {
        if (record.adapter && sameController(record.adapter, live)) {
            record.matched = 1;
            return record.adapter;
        }
    }
    return nullptr;
}

PelmAdapter* PelmRaidMonitor::findOldAdapter(PelmAdapter* live, int64_t& lastSequence,
                                             std::vector<PelmEvent>& events)
{
    if (!live) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::findOldAdapter adapter is NULL\n");
        return nullptr;
    }
    for (Data_Adapter& record : previousAdapterList) {
        if (record.adapter && sameController(record.adapter, live)) {
            record.matched = 1;
            lastSequence = record.lastSequence;
            events = record.pendingEvents;
            return record.adapter;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------- family hooks

int PelmRaidMonitor::compareRelativeChanges(HardDrive* newHD, HardDrive* oldHD)
{
    if (!newHD || !oldHD) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::compareRelativeChanges hard drive is NULL\n");
        return 0;
    }
    return newHD->getOSPartitionInfo() != oldHD->getOSPartitionInfo() ? 1 : 0;
}

namespace {

// The last task record of the logical drive in the list; null when none.
// The adapter of a record may belong to a configuration released since, so
// its id is taken from the task's device address.
const Progress* taskOf(const std::vector<PelmRaidMonitor::logicalDrive_progress>& tasks, LogicalDrive* drive)
{
    const Progress* found = nullptr;
    for (const PelmRaidMonitor::logicalDrive_progress& record : tasks) {
        if (record.hasTask && record.task.getDeviceAddr().getAdapterID() == drive->getAdapter()->getAdapterID() &&
            record.logicalDriveId == drive->getLogicalDriveID())
            found = &record.task;
    }
    return found;
}

} // namespace

int PelmRaidMonitor::compareRelativeChanges(LogicalDrive* newLD, LogicalDrive* oldLD)
{
    if (!newLD || !oldLD || !newLD->getAdapter() || !oldLD->getAdapter()) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: PelmRaidMonitor::compareRelativeChanges logical drive is NULL\n");
        return 0;
    }
    const Progress* newTask = taskOf(currentTasks, newLD);
    const Progress* oldTask = taskOf(previousTasks, oldLD);
    if ((newTask && oldTask && newTask->getPriority() != oldTask->getPriority()) || (!newTask != !oldTask))
        return 1;
    if (newLD->getWriteCacheMode() != oldLD->getWriteCacheMode() || newLD->hasOSPartition() != oldLD->hasOSPartition())
        return 1;
    return 0;
}

void PelmRaidMonitor::setProgress()
{
    if (!progress)
        return;
    progress->deleteAllChildren();
    for (const logicalDrive_progress& record : currentTasks) {
        NRMProgress* task = new NRMProgress;
        task->address = record.task.getDeviceAddr();
        task->percentageComplete = record.task.getPercent();
        task->taskType = static_cast<uint32_t>(record.task.getType());
        task->taskState = static_cast<uint32_t>(record.task.getStatus());
        progress->addChild(task);
    }
}
