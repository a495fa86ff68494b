#include "TestRaidMonitor.h"

#include <string>
#include <utility>

#include "RaidLib/StorLibPlugin.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/System.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMSystem.h"

TestRaidMonitor::TestRaidMonitor(StorLibPlugin* lib, std::string logDir, const FileNames& names)
    : BaseRaidMonitor(lib, names.debugLog, names.eventsLog, names.snapshot, std::move(logDir))
{
    afterConstruction();
}

TestRaidMonitor::TestRaidMonitor(StorLibPlugin* lib, const FileNames& names)
    : BaseRaidMonitor(lib, names.debugLog, names.eventsLog, names.snapshot)
{
    afterConstruction();
}

TestRaidMonitor::~TestRaidMonitor() = default;

void TestRaidMonitor::afterConstruction()
{
    // The first consultation of a timer fires; a second later it uses that
    // firing up, so that the first cycle reports nothing timed.
    sleepMillis(1000);
    isTimeToReportUnsupportedDrives();
    isTimeToReportCriticalLogicalDrives();
    isTimeToReportSASDriveMap();
    isTimeToReportBadStripe();
}

int TestRaidMonitor::poll(int mode, NRMEventCollection& events)
{
    // The previous tree stays alive until the rules have run.
    RefSystem previous = previousSystem;
    System* image = previous.getSystem();
    if (mode == CHECK_CONFIG) {
        image = nullptr;
        if (configBuilder) {
            configBuilder->readXML();
            image = configBuilder->nrmSystem;
        }
    }
    const Ret ret = storLib->getSystemConfig();
    System* current = storLib->getSystem();
    if (!current) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TestRaidMonitor::poll() no configuration (%d)\n", ret.getReturn());
        return ret.getReturn();
    }
    compareSystems(events, current, image);
    if (configBuilder) {
        configBuilder->build(current, progress);
        configBuilder->writeXML();
    }
    previousSystem = current;
    return ret.getReturn();
}

void TestRaidMonitor::compareSystems(NRMEventCollection& events, System* current, System* previous)
{
    for (unsigned long n = 0; n < current->getNumAdapters(); ++n) {
        Adapter* adapter = current->getAdapter(n);
        Adapter* old = nullptr;
        for (unsigned long k = 0; previous && !old && k < previous->getNumAdapters(); ++k)
            if (previous->getAdapter(k)->getAdapterID() == adapter->getAdapterID())
                old = previous->getAdapter(k);
        if (compareAdapter(events, adapter, old) == ADAPTER_COMPARE_ADDED) {
            checkAdapter(events, adapter);
            checkPhysicalDrives(events, adapter);
            checkLogicalDrives(events, adapter);
            checkSafte(events, adapter);
        } else {
            comparePhysicalDrives(events, adapter, old);
            compareLogicalDrives(events, adapter, old);
            compareSafte(events, adapter, old);
        }
    }
}

namespace {

std::string idText(STORID_T id) { return id == STORID_UNDEFINED ? "-" : std::to_string(id); }

} // namespace

int TestRaidMonitor::compareRelativeChanges(Adapter* newAdapter, Adapter*)
{
    if (recordHooks)
        hooks.push_back("adapter " + idText(newAdapter->getAdapterID()));
    return 0;
}

int TestRaidMonitor::compareRelativeChanges(HardDrive* newHD, HardDrive*)
{
    if (recordHooks) {
        const Channel* channel = newHD->getChannel();
        hooks.push_back("drive " + idText(newHD->getAdapterID()) + "/" +
                        idText(channel ? channel->getChannelID() : STORID_UNDEFINED) + "/" +
                        idText(newHD->getDeviceID()));
    }
    return 0;
}

int TestRaidMonitor::compareRelativeChanges(LogicalDrive* newLD, LogicalDrive*)
{
    if (recordHooks)
        hooks.push_back("logical " + idText(newLD->getAdapterID()) + "/" + idText(newLD->getLogicalDriveID()));
    return 0;
}

void TestRaidMonitor::run()
{
    if (!storLib)
        return;
    stopped = false;
    int mode = CHECK_CONFIG;
    while (running) {
        if (eventQueue)
            poll(mode, *eventQueue);
        mode = COMPARE_CONFIG;
        sleepMillis(pollSeconds * 1000L);
        readConfig();
        if (eventQueue)
            eventQueue->setMaxSize(eventQueueSize);
        setDebugFlag(static_cast<EnumDebugNRM>(debugMask));
        ++cycles;
    }
    stopped = true;
}

void TestRaidMonitor::stop()
{
    running = false;
    startTime = 0;
}

void TestRaidMonitor::start()
{
    if (claimStart(NRM_DEBUG_ERRORS, "ERROR: TestRaidMonitor::start() already running\n"))
        run();
}
