// The Qorl monitor's life cycle and polls.

#include "QorlRaidMonitor.h"

#include <new>
#include <utility>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/System.h"
#include "VeskLib.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMEventIds.h"

namespace {

std::vector<Adapter*> adaptersOf(System* system)
{
    std::vector<RaidObject*> objects;
    if (system)
        system->getChildren(objects, "Adapter", false, true);
    std::vector<Adapter*> adapters;
    for (RaidObject* object : objects) {
        if (Adapter* adapter = dynamic_cast<Adapter*>(object))
            adapters.push_back(adapter);
    }
    return adapters;
}

} // namespace

QorlRaidMonitor::QorlRaidMonitor(VeskLib* lib, std::string logDir)
    : BaseRaidMonitor(lib, "WATCHQORLDebug.log", "WATCHQORLEvents.log", "WATCHQORLConfig.xml", std::move(logDir))
{
}

QorlRaidMonitor::~QorlRaidMonitor()
{
    previousSystem.Release();
    liveSystem.Release();
}

bool QorlRaidMonitor::refresh()
{
    if (!storLib || storLib->getSystemConfig().getReturn() != Ret::SUCCESS) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: error refreshing the system\n");
        return false;
    }
    liveSystem = storLib->getSystem();
    return static_cast<bool>(liveSystem);
}

int QorlRaidMonitor::poll(int mode, NRMEventCollection& queue)
{
    if (!refresh())
        return -1;
    const std::vector<Adapter*> previous = adaptersOf(previousSystem);
    for (Adapter* adapter : adaptersOf(liveSystem)) {
        Adapter* old = nullptr;
        for (Adapter* candidate : previous) {
            if (candidate->getAdapterID() == adapter->getAdapterID())
                old = candidate;
        }
        if (mode == CHECK_CONFIG) {
            checkAdapter(queue, adapter);
            checkPhysicalDrives(queue, adapter);
            checkLogicalDrives(queue, adapter);
            continue;
        }
        const int result = compareAdapter(queue, adapter, old);
        if (result == ADAPTER_COMPARE_ADDED || result == ADAPTER_COMPARE_REPLACED) {
            checkPhysicalDrives(queue, adapter);
            checkLogicalDrives(queue, adapter);
        } else {
            comparePhysicalDrives(queue, adapter, old);
            compareLogicalDrives(queue, adapter, old);
        }
    }
    previousSystem = liveSystem;
    return 0;
}

void QorlRaidMonitor::start()
{
    if (!claimStart(NRM_DEBUG_ERRORS, "ERROR: QorlRaidMonitor already running!!!!\n"))
        return;
    try {
        if (eventQueue && poll(CHECK_CONFIG, *eventQueue) == 0 && adaptersOf(liveSystem).empty()) {
            NRMEvent event = makeEvent(nrmevent::NO_CONTROLLERS, {});
            eventQueue->addEvent(event);
        }
    } catch (const std::bad_alloc&) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: QorlRaidMonitor:: no memory for the start; it ends early\n");
    }
    run();
}

void QorlRaidMonitor::run()
{
    if (!running) {
        stopped = true;
        return;
    }
    stopped = false;
    while (running) {
        for (int step = 0; step < pollSeconds && running; ++step)
            sleepMillis(1000);
        // A poll that runs out of memory ends there; the loop goes on.
        skipWhenOutOfMemory("QorlRaidMonitor", "this poll", [&] {
            if (running && eventQueue)
                poll(COMPARE_CONFIG, *eventQueue);
        });
    }
    stopped = true;
}

void QorlRaidMonitor::stop()
{
    running = false;
    startTime = 0;
}

void QorlRaidMonitor::queueEventForTest(const NRMEvent& event)
{
    if (!eventQueue)
        return;
    NRMEvent copy = event;
    eventQueue->addEvent(copy);
}
