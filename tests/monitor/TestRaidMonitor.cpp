#include "TestRaidMonitor.h"

#include <utility>

#include "RaidLib/StorLibPlugin.h"
#include "RaidLib/Util/Date.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEventCollection.h"

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

int TestRaidMonitor::poll(int, NRMEventCollection&)
{
    const Ret ret = storLib->getSystemConfig();
    System* current = storLib->getSystem();
    if (!current) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TestRaidMonitor::poll() no configuration (%d)\n", ret.getReturn());
        return ret.getReturn();
    }
    if (configBuilder) {
        configBuilder->build(current, progress);
        configBuilder->writeXML();
    }
    previousSystem = current;
    return ret.getReturn();
}

void TestRaidMonitor::run()
{
    if (!storLib)
        return;
    stopped = false;
    while (running) {
        if (eventQueue)
            poll(COMPARE_CONFIG, *eventQueue);
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
    if (running) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TestRaidMonitor::start() already running\n");
        return;
    }
    running = true;
    if (startTime == 0)
        startTime = Date::now();
    run();
}
