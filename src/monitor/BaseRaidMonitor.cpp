#include "monitor/BaseRaidMonitor.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "RaidLib/Util/Date.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMProgress.h"

namespace {

const char* const CATALOGUE_FILE = "RaidNLS.properties";
const char* const LOG_SUBDIRECTORY = "krnalogs/";

std::string orDefault(std::string name, const char* fallback)
{
    return name.empty() ? std::string(fallback) : std::move(name);
}

} // namespace

BaseRaidMonitor::BaseRaidMonitor(StorLibPlugin* storLibIN, std::string debugLogName, std::string eventsLogName,
                                 std::string snapshotFileName, std::string logDir)
{
    storLib = storLibIN;
    construct(std::move(debugLogName), std::move(eventsLogName), std::move(snapshotFileName), &logDir);
}

BaseRaidMonitor::BaseRaidMonitor(StorLibPlugin* storLibIN, std::string debugLogName, std::string eventsLogName,
                                 std::string snapshotFileName)
{
    storLib = storLibIN;
    construct(std::move(debugLogName), std::move(eventsLogName), std::move(snapshotFileName), nullptr);
}

void BaseRaidMonitor::construct(std::string debugLogName, std::string eventsLogName, std::string snapshotFileName,
                                const std::string* logDir)
{
    setNRMPath();
    std::string logDirectory;
    if (logDir) {
        setNRMLogPath(*logDir);
        logDirectory = nrmLogPath;
    } else {
        logDirStatus = -1;
        create_directory();
        logDirectory = logDirStatus == 0 ? nrmPath + LOG_SUBDIRECTORY : nrmPath;
    }

    const std::string debugPath = logDirectory + orDefault(std::move(debugLogName), "NRMDebug.log");
    debugLog = fopen(debugPath.c_str(), "a+");

    // Under the mask an earlier monitor left: none while no monitor has set it.
    if (!storLib)
        logDebugGroup(NRM_DEBUG_ERRORS,
                      "ERROR: BaseRaidMonitor::BaseRaidMonitor Error constructing. StorLibPlugin handle is NULL!!!\n");
    setDebugFlag(NRM_DEBUG_LEVEL_ERRORS);

    const std::string cataloguePath = nrmPath + CATALOGUE_FILE;
    if (FILE* existing = fopen(cataloguePath.c_str(), "r")) {
        fclose(existing);
    } else {
        logDebugGroup(NRM_DEBUG_ERRORS,
                      "ERROR: BaseRaidMonitor::BaseRaidMonitor() NLS File (%s) not found. Creating an empty file.\n",
                      cataloguePath.c_str());
        if (FILE* created = fopen(cataloguePath.c_str(), "a"))
            fclose(created);
    }
    catalogue.resetParser(cataloguePath);

    readConfig();

    // All three or none: a monitor that cannot be made leaves nothing behind.
    std::unique_ptr<NRMEventCollection> queue(new NRMEventCollection(
        logDirectory + orDefault(std::move(eventsLogName), "NRMEvents.log"), eventQueueSize, NRM_EVENT_TASK_RUNNING));
    std::unique_ptr<NRMConfigBuilder> builder(
        new NRMConfigBuilder(nrmPath + orDefault(std::move(snapshotFileName), "NRMConfig.xml")));
    progress = new NRMProgressCollection();
    eventQueue = queue.release();
    configBuilder = builder.release();

    setDebugFlag(static_cast<EnumDebugNRM>(debugMask));

    pollSeconds = 5;
    running = false;
    stopped = true;
    startTime = Date::now();
    unsupportedDrivesTimer = {UNSUPPORTED_DRIVES_INTERVAL, 0};
    criticalLogicalDrivesTimer = {CRITICAL_LOGICAL_DRIVES_INTERVAL, 0};
    sasDriveMapTimer = {SAS_DRIVE_MAP_INTERVAL, 0};
    badStripeTimer = {BAD_STRIPE_INTERVAL, 0};
    firstRefresh = true;
    vendorCheck = true;
}

BaseRaidMonitor::~BaseRaidMonitor()
{
    delete eventQueue;
    eventQueue = nullptr;
    delete configBuilder;
    configBuilder = nullptr;
    delete progress;
    progress = nullptr;
    if (debugLog) {
        fflush(debugLog);
        fclose(debugLog);
        debugLog = nullptr;
    }
}

int BaseRaidMonitor::compareRelativeChanges(Adapter*, Adapter*) { return 0; }

int BaseRaidMonitor::compareRelativeChanges(HardDrive*, HardDrive*) { return 0; }

int BaseRaidMonitor::compareRelativeChanges(LogicalDrive*, LogicalDrive*) { return 0; }

void BaseRaidMonitor::setProgress() {}

std::string BaseRaidMonitor::getLogicalName(LogicalDrive*) { return std::string(); }

RaidObject* BaseRaidMonitor::findPD(HardDrive* hardDrive, Adapter* adapter)
{
    if (!adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::findPD adapter is NULL!!!\n");
        return nullptr;
    }
    if (!hardDrive) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::findPD hardDrive is NULL!!!\n");
        return nullptr;
    }
    Channel* channel = hardDrive->getChannel();
    return adapter->getObject(adapter->getAdapterID(), STORID_UNDEFINED, STORID_UNDEFINED,
                              channel ? channel->getChannelID() : STORID_UNDEFINED, hardDrive->getDeviceID());
}

RaidObject* BaseRaidMonitor::findLD(LogicalDrive* logicalDrive, Adapter* adapter)
{
    if (!adapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::findLD adapter is NULL!!!\n");
        return nullptr;
    }
    if (!logicalDrive) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::findLD logicalDrive is NULL!!!\n");
        return nullptr;
    }
    // The adapter's own logical drives: the model's lookup by address would
    // walk the whole configuration for each drive, which makes a comparison
    // of many adapters quadratic, and could answer with a drive of another
    // adapter of the same id.
    const STORID_T id = logicalDrive->getLogicalDriveID();
    std::vector<RaidObject*> drives;
    adapter->getChildren(drives, "LogicalDrive", true, false);
    for (RaidObject* drive : drives) {
        const Adapter* owner = static_cast<LogicalDrive*>(drive)->getAdapter();
        if (drive->getLogicalDriveID() == id && owner && owner->getAdapterID() == adapter->getAdapterID())
            return drive;
    }
    return nullptr;
}

bool BaseRaidMonitor::isValidLogicalDrive(Adapter* adapter, LogicalDrive* logicalDrive)
{
    if (!adapter || !logicalDrive) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::isValidLogicalDrive object is NULL!!!\n");
        return false;
    }
    const uint32_t id = logicalDrive->getLogicalDriveID();
    if (id <= static_cast<uint32_t>(adapter->getLimit(MAX_LOGICAL_DRIVES)))
        return true;
    logDebugGroup(NRM_DEBUG_TRACE, "       Discarding logical drive as spurious (&ecIN, LD: %d) State = %d.\n",
                  static_cast<int>(id), static_cast<int>(logicalDrive->getState()));
    return false;
}

bool BaseRaidMonitor::isValidPhysicalDrive(Adapter* adapter, HardDrive* hardDrive)
{
    if (!adapter || !hardDrive) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::isValidPhysicalDrive object is NULL!!!\n");
        return false;
    }
    const uint32_t id = hardDrive->getDeviceID();
    if ((id & 0xFFFF) != 0xFF)
        return true;
    logDebugGroup(NRM_DEBUG_TRACE, "       Discarding physical drive as spurious (&ecIN, PD: %d) State = %d.\n",
                  static_cast<int>(id), static_cast<int>(hardDrive->getState()));
    return false;
}

bool BaseRaidMonitor::claimStart(int32_t group, const char* alreadyRunning)
{
    if (running.exchange(true)) {
        logDebugGroup(group, "%s", alreadyRunning);
        return false;
    }
    if (startTime == 0)
        startTime = Date::now();
    return true;
}

int BaseRaidMonitor::getNumberOfEvents() { return eventQueue ? eventQueue->getNumberOfEvents() : 0; }

int BaseRaidMonitor::getEvents(NRMEvent* events, int max)
{
    if (!events || !eventQueue || max <= 0)
        return 0;
    std::vector<NRMEvent> taken = eventQueue->getEvents(max);
    int moved = 0;
    for (NRMEvent& event : taken) {
        if (moved >= max)
            break;
        events[moved++] = std::move(event);
    }
    return moved;
}

bool BaseRaidMonitor::isStopped() { return stopped.load(); }

int BaseRaidMonitor::getCurrentEvents(NRMEventCollection& events) { return poll(CHECK_CONFIG, events); }

std::vector<NRMEvent> BaseRaidMonitor::getEvents(int n)
{
    if (!eventQueue)
        return std::vector<NRMEvent>();
    return n != 0 ? eventQueue->getEvents(n) : eventQueue->getAllEvents();
}

bool BaseRaidMonitor::setEventTypeLevel(EnumEventType level)
{
    if (!eventQueue) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::setEventTypeLevel() EventCollection is NULL!!\n");
        return false;
    }
    return eventQueue->setEventTypeLevel(level);
}

EnumEventType BaseRaidMonitor::getEventTypeLevel()
{
    if (!eventQueue) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::getEventTypeLevel() EventCollection is NULL!!\n");
        return NRM_EVENT_TASK;
    }
    return eventQueue->getEventTypeLevel();
}
