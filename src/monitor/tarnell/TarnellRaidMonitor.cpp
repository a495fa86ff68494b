// The Tarnell monitor's life cycle, its poll loop, the snapshot write and the
// start-up comparison of the stored snapshot with the live controllers.
#include "monitor/tarnell/TarnellRaidMonitor.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "RaidLib/StorLib.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "RaidLib/Util/Date.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/System.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSystem.h"

namespace {

const char* const DEBUG_LOG = "WATCHTARNELLDebug.log";
const char* const EVENTS_LOG = "WATCHTARNELLEvents.log";
const char* const SNAPSHOT = "WATCHTARNELLConfig.xml";

// Room for every event of a start-up comparison: none is dropped before
// they are queued.
const int START_UP_EVENTS = 1 << 20;

const char* const MONITOR = "TarnellRaidMonitor";

// The adapters below root in tree order, nulls kept as the filter gives them.
std::vector<Adapter*> adaptersOf(RaidObject* root)
{
    std::vector<Adapter*> adapters;
    if (!root)
        return adapters;
    FilterCollection filter(root);
    filter.apply("Adapter", false);
    for (unsigned long k = 0; k < filter.size(); ++k)
        adapters.push_back(static_cast<Adapter*>(filter.elementAt(static_cast<int>(k))));
    return adapters;
}

bool sameSerial(Adapter* left, Adapter* right)
{
    return std::strcmp(left->getSerialNumString(), right->getSerialNumString()) == 0;
}

// Gives a buffer of the library back to it.
struct FreeBuffer {
    TarnellLib* lib;
    void operator()(char** buffer) const { lib->freeBuffer(*buffer); }
};

} // namespace

TarnellRaidMonitor::TarnellRaidMonitor(TarnellLib* lib, std::string logFilePath)
    : BaseRaidMonitor(lib, DEBUG_LOG, EVENTS_LOG, SNAPSHOT, std::move(logFilePath)), tarnellLib(lib)
{
    logDebugGroup(NRM_DEBUG_DETAIL, "Constructing TarnellRaidMonitor(pStorlibIN,logFilePath)\n");
    afterConstruction();
}

TarnellRaidMonitor::TarnellRaidMonitor(TarnellLib* lib)
    : BaseRaidMonitor(lib, DEBUG_LOG, EVENTS_LOG, SNAPSHOT), tarnellLib(lib)
{
    logDebugGroup(NRM_DEBUG_DETAIL, "Constructing TarnellRaidMonitor(Default).\n");
    afterConstruction();
}

void TarnellRaidMonitor::afterConstruction()
{
    pollSeconds = 1;
    // The first consultation of a timer always fires; taking it now puts the
    // first reminders one full interval after construction.
    sleepMillis(1000);
    isTimeToReportBadStripe();
    isTimeToReportUnsupportedDrives();
    isTimeToReportCriticalLogicalDrives();
}

TarnellRaidMonitor::~TarnellRaidMonitor()
{
    logDebugGroup(NRM_DEBUG_DETAIL, "Destructing TarnellRaidMonitor(Default).\n");
}

int TarnellRaidMonitor::poll(int, NRMEventCollection&) { return 0; }

ProgressCollection TarnellRaidMonitor::enumerateProgress() { return ProgressCollection(); }

void TarnellRaidMonitor::start()
{
    logDebugGroup(NRM_DEBUG_DETAIL, "TarnellRaidMonitor::start().\n");
    if (claimStart(NRM_DEBUG_DETAIL, "TarnellRaidMonitor already running!!!!\n"))
        run();
}

void TarnellRaidMonitor::stop()
{
    logDebugGroup(NRM_DEBUG_DETAIL, "TarnellRaidMonitor::stop().\n");
    running = false;
    startTime = 0;
}

void TarnellRaidMonitor::run()
{
    logDebugGroup(NRM_DEBUG_DETAIL, "Entering TarnellRaidMonitor::run().\n");
    if (tarnellLib) {
        stopped = false;
        // Stopped, also when a failure ends the loop and passes on to the
        // caller of start().
        StoppedOnExit mark{stopped};
        monitorEvents();
    }
    logDebugGroup(NRM_DEBUG_DETAIL, "Exiting TarnellRaidMonitor::run().\n");
}

void TarnellRaidMonitor::releaseHeldSystems()
{
    for (System* system : heldSystems)
        tarnellLib->releaseSystem(system);
    heldSystems.clear();
}

void TarnellRaidMonitor::monitorEvents()
{
    // One event number for all controllers: the library numbers the events
    // of every controller in one sequence.
    uint32_t last = 1;
    char* xmlBuf = new (std::nothrow) char[1];
    if (xmlBuf)
        xmlBuf[0] = '\0';
    // The library's buffer goes back to it however the loop ends.
    const std::unique_ptr<char*, FreeBuffer> giveBack(&xmlBuf, FreeBuffer{tarnellLib});
    pollCycle = 0;
    // The systems of a previous start are no longer used.
    storedAdapters.clear();
    liveAdapters.clear();
    pairedStored.clear();
    releaseHeldSystems();

    bool looped = false;
    uint32_t count = 0;
    System* sys = nullptr;
    // The controllers of sys, listed again only when its tree changed shape.
    std::vector<Adapter*> adapters;
    uint32_t adaptersShape = 0;
    bool adaptersListed = false;
    if (!running) {
        logDebugGroup(NRM_DEBUG_DETAIL, "Polling is not Enabled before calling tarnellEventPersistence() !!!!\n");
        goto end;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "calling tarnellEventPersistence().....\n");
    while (!tarnellEventPersistence()) {
        sleepMillis(pollSeconds * 1000L);
        if (!running)
            break;
    }
    if (!running) {
        logDebugGroup(NRM_DEBUG_DETAIL, "Polling is not Enabled In monitor Events!!!!\n");
        goto end;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "Event Monitor: Polling starts.....\n");
    tarnellLib->SetNRMStartTime(Date::now());
    logDebugGroup(NRM_DEBUG_TRACE, "calling TarnellRaidMonitor::pTARNELLStorlib->getNewSystem()\n");
    sys = tarnellLib->getNewSystem();
    // Without memory for another reading, the start-up's serves.
    if (sys)
        skipWhenOutOfMemory(MONITOR, "the list of held systems", [&] { heldSystems.push_back(sys); });
    else
        sys = startUpSystem;
    if (sys) {
        Ret ret;
        count = sys->getControllerCount(tarnellLib, ret);
    }
    logDebugGroup(NRM_DEBUG_TRACE, "Count = %d.\n", static_cast<int>(count));
    if (count == 0 && eventQueue) {
        logDebugGroup(NRM_DEBUG_TRACE, "No controller Found in system!!!!\n");
        skipWhenOutOfMemory(MONITOR, "the no-controller event", [&] {
            NRMEvent event(EVENT_NO_CONTROLLERS, NRM_EVENT_INFORMATION, catalogue.get("agentEventInfNoControllers"),
                           "EVENT_TARNELL_STATE_NOTFOUND");
            event.objectType = NRM_OBJECT_SYSTEM;
            eventQueue->addEvent(event);
        });
    }
    if (!running) {
        logDebugGroup(NRM_DEBUG_DETAIL, "Polling is not Enabled before writeXML() !!!!\n");
        goto end;
    }
    skipWhenOutOfMemory(MONITOR, "the snapshot", [&] { writeXML(); });

    looped = true;
    while (running) {
        logDebugGroup(NRM_DEBUG_TRACE, "In while loop !!!!!!!!!!!!!!!!!!!!\n");
        logDebugGroup(NRM_DEBUG_TRACE, "In while loop Count = %d.\n", static_cast<int>(count));
        if (count == 0) {
            // Idle: nothing to poll until stopped.
            for (int step = 0; step < 5 && running; ++step)
                sleepMillis(1000);
            continue;
        }
        skipWhenOutOfMemory(MONITOR, "this cycle's events", [&] {
            logDebugGroup(NRM_DEBUG_TRACE, "before Filter !!!!!!!!!!\n");
            if (!adaptersListed || sys->getShapeVersion() != adaptersShape) {
                // Listed first: a list that runs out of memory keeps the
                // stored shape from standing for it.
                const uint32_t shape = sys->getShapeVersion();
                adapters = adaptersOf(sys);
                adaptersShape = shape;
                adaptersListed = true;
            }
            logDebugGroup(NRM_DEBUG_TRACE, "After Filter !!!!!!!!!!\n");
            for (Adapter* adapter : adapters) {
                if (!adapter) {
                    logDebugGroup(NRM_DEBUG_DETAIL, "Adapter is NULL!!!!\n");
                    continue;
                }
                const Addr addr(adapter->getAdapterID());
                tarnellLib->getEvents(addr, last, &xmlBuf);
                logDebugGroup(NRM_DEBUG_TRACE, "after getEvents(addr, lastEventNumber, &xmlBuf)!!!!!!!!!!\n");
                if (!xmlBuf) {
                    logDebugGroup(NRM_DEBUG_DETAIL, "xmlbuf is NULL!!!!\n");
                    continue;
                }
                // The newest number is read before the parse alters the
                // text; an older text (a call that found nothing new) is
                // skipped.
                uint32_t newest = 0;
                if (!newestEventNumber(xmlBuf, newest) || newest < last)
                    continue;
                last = newest + 1;
                GetEventFromXml(xmlBuf, adapter);
            }
        });
        logDebugGroup(NRM_DEBUG_DETAIL, "Filter deleted.... Now sleep(getPollingRate() \n");
        sleepMillis(pollSeconds * 1000L);
        skipWhenOutOfMemory(MONITOR, "the monitor configuration", [&] { readConfig(); });
        if (eventQueue)
            eventQueue->setMaxSize(eventQueueSize);
        setDebugFlag(static_cast<EnumDebugNRM>(debugMask));
        logDebugGroup(NRM_DEBUG_DETAIL, "End of while....\n");
        ++pollCycle;
        if (isTimeToWriteXML()) {
            skipWhenOutOfMemory(MONITOR, "the snapshot", [&] { writeXML(); });
            pollCycle = 0;
        }
    }

end:
    if (looped)
        logDebugGroup(NRM_DEBUG_TRACE, "End of monitorEvents()....\n");
}

void TarnellRaidMonitor::writeXML()
{
    logDebugGroup(NRM_DEBUG_TRACE, "Entering TarnellRaidMonitor::writeXML()\n");
    if (!running)
        return;
    loggedEvents.clear();
    System* s = tarnellLib->getCurrentSystem();
    if (!s) {
        logDebugGroup(NRM_DEBUG_TRACE, "calling TarnellRaidMonitor::pTARNELLStorlib->getNewSystem()\n");
        s = tarnellLib->getNewSystem();
        if (s)
            heldSystems.push_back(s);
    }
    if (!s) {
        logDebugGroup(NRM_DEBUG_TRACE, "INFO: TarnellRaidMonitor:: currentSys is =NULL \n");
        return;
    }
    setProgress();
    if (!configBuilder)
        return;
    configBuilder->build(s, progress);
    logDebugGroup(NRM_DEBUG_TRACE, "calling TarnellRaidMonitor::writeXML()\n");
    configBuilder->writeXML();
    logDebugGroup(NRM_DEBUG_TRACE, "After TarnellRaidMonitor::writeXML()\n");
}

bool TarnellRaidMonitor::tarnellEventPersistence()
{
    if (!running) {
        logDebugGroup(NRM_DEBUG_DETAIL, "Polling is not Enabled In tarnellEventPersistence()!!!!\n");
        return true;
    }
    storedAdapters.clear();
    liveAdapters.clear();
    pairedStored.clear();
    storedProgress = nullptr;
    startUpSystem = nullptr;
    System* stored = nullptr;
    System* live = nullptr;
    // Both configurations are read before anything is compared: a stored or
    // live configuration that lacks what could not be allocated would report
    // present storage as gone, or every controller as added.
    try {
        logDebugGroup(NRM_DEBUG_TRACE, "INFO: in tarnellEventPersistence() ....\n");
        logDebugGroup(NRM_DEBUG_TRACE, "INFO: Reading the stored system config...\n");
        if (configBuilder) {
            configBuilder->readXML();
            stored = configBuilder->nrmSystem;
        }
        LDMProgressType(stored);
        // The adapters below root in tree order; a null one is logged.
        const auto listAdapters = [this](System* root, std::vector<Adapter*>& list, const char* nullLine) {
            for (Adapter* adapter : adaptersOf(root)) {
                if (adapter)
                    list.push_back(adapter);
                else
                    logDebugGroup(NRM_DEBUG_ERRORS, "%s", nullLine);
            }
        };
        if (stored) {
            listAdapters(stored, storedAdapters,
                         "ERROR: TarnellRaidMonitor:: tarnellEventPersistence() nrmAdp is NULL \n");
        } else {
            logDebugGroup(NRM_DEBUG_TRACE, "nrmSys is NULL\n");
        }
        logDebugGroup(NRM_DEBUG_TRACE, "calling TarnellRaidMonitor::pTARNELLStorlib->getNewSystem()\n");
        if (!running) {
            logDebugGroup(NRM_DEBUG_DETAIL, "Polling is not Enabled In tarnellEventPersistence()!!!!\n");
            return true;
        }
        live = tarnellLib->getNewSystem();
        if (!live) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor:: the live configuration cannot be read\n");
            return false;
        }
        heldSystems.push_back(live);
        logDebugGroup(NRM_DEBUG_ERRORS, "INFO: TarnellRaidMonitor::  Create  currentAdapterList  \n");
        listAdapters(live, liveAdapters,
                     "ERROR: TarnellRaidMonitor:: tarnellEventPersistence() currentAdapter is NULL \n");
        // Each stored adapter pairs with one live adapter at most, the first
        // in tree order with its serial number; the rest count as added.
        for (Adapter* adapter : liveAdapters)
            pairedStored.push_back(findStoredAdapter(adapter));
    } catch (const std::bad_alloc&) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor:: no memory to read the configurations\n");
        storedAdapters.clear();
        liveAdapters.clear();
        pairedStored.clear();
        return false;
    }
    if (!eventQueue) {
        startUpSystem = live;
        return true;
    }
    // The comparison's events are queued once it is complete: one that runs
    // out of memory half way queues nothing and is made again a cycle later
    // (what it had decided, such as the task starts the library will report
    // again, would otherwise be lost with the rest).
    std::vector<NRMEvent> found;
    try {
        NRMEventCollection comparison("", START_UP_EVENTS, NRM_EVENT_INFORMATION_7);
        compareAtStart(stored, comparison);
        found = comparison.getAllEvents();
    } catch (const std::bad_alloc&) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor:: no memory for the start-up comparison\n");
        return false;
    }
    startUpSystem = live;
    skipWhenOutOfMemory(MONITOR, "the start-up events", [&] {
        for (NRMEvent& event : found)
            eventQueue->addEvent(event);
    });
    return true;
}

void TarnellRaidMonitor::compareAtStart(System* stored, NRMEventCollection& events)
{
    if (!running) {
        logDebugGroup(NRM_DEBUG_DETAIL, "Polling is not Enabled Before CheckMissingAdapter(*ec, nrmSys);!!!!\n");
        return;
    }
    if (stored)
        CheckMissingAdapter(events, stored);
    for (size_t k = 0; k < liveAdapters.size(); ++k) {
        Adapter* cur = liveAdapters[k];
        Adapter* old = pairedStored[k];
        const int r = compareAdapter(events, cur, old);
        logDebugGroup(NRM_DEBUG_ERRORS,
                      "INFO: TarnellRaidMonitor:: After  call compareAdapter(*ec, currentAdp, oldAdapter)\n");
        if (r == ADAPTER_COMPARE_ADDED) {
            logDebugGroup(NRM_DEBUG_ERRORS, "INFO: TarnellRaidMonitor:: New Adapter Found.... \n");
            if (!running) {
                logDebugGroup(NRM_DEBUG_DETAIL, "Polling is not Enabled Before checkAdapter(....) !!!!\n");
                return;
            }
            checkAdapter(events, cur);
            logDebugGroup(NRM_DEBUG_ERRORS, "INFO: TarnellRaidMonitor:: currentAdp is NOT NULL.... \n");
            checkPhysicalDrives(events, cur);
            checkLogicalDrives(events, cur);
            checkProgress(events, cur);
            checkSafte(events, cur);
        } else {
            logDebugGroup(NRM_DEBUG_ERRORS,
                          "ERROR: TarnellRaidMonitor:: call comparePhysicalDrives(*ec, currentAdp, oldAdapter)\n");
            if (stored && !storedProgress) {
                FilterCollection lists(stored);
                lists.apply("ProgressCollection", false);
                if (lists.size() > 0)
                    storedProgress = static_cast<NRMProgressCollection*>(lists.elementAt(0));
            }
            if (!running) {
                logDebugGroup(NRM_DEBUG_DETAIL, "Polling is not Enabled Before comparePhysicalDrives(....) !!!!\n");
                return;
            }
            comparePhysicalDrives(events, cur, old);
            logDebugGroup(NRM_DEBUG_ERRORS,
                          "ERROR: TarnellRaidMonitor:: call compareLogicalDrives(*ec, currentAdp, oldAdapter)\n");
            compareLogicalDrives(events, cur, old);
            logDebugGroup(NRM_DEBUG_ERRORS,
                          "ERROR: TarnellRaidMonitor:: call compareProgress(*ec, currentAdp, oldAdapter)\n");
            compareProgress(events, cur, old);
            compareSafte(events, cur, old);
        }
    }
}

void TarnellRaidMonitor::CheckMissingAdapter(NRMEventCollection& events, System* stored)
{
    logDebugGroup(NRM_DEBUG_ERRORS, "INFO1: TarnellRaidMonitor:: CheckMissingAdapter()   \n");
    if (!stored) {
        logDebugGroup(NRM_DEBUG_ERRORS, "INFO: TarnellRaidMonitor:: CheckMissingAdapter() nrmSys is NULL    \n");
        return;
    }
    for (Adapter* adapter : adaptersOf(stored)) {
        if (!adapter) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor:: tarnellEventPersistence() currentAdp  NULL  \n");
            continue;
        }
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor:: calling reportMissingAdapter()   \n");
        reportMissingAdapter(events, adapter);
    }
}

void TarnellRaidMonitor::reportMissingAdapter(NRMEventCollection& events, Adapter* stored)
{
    if (!stored) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::reportMissingAdapter nrmAdp is NULL!!!\n");
        return;
    }
    // Present when a live adapter paired with it.
    for (Adapter* paired : pairedStored) {
        if (paired == stored) {
            logDebugGroup(NRM_DEBUG_ERRORS, "INFO: TarnellRaidMonitor::reportMissingAdapter() nrmAdapter found!!!\n");
            return;
        }
    }
    NRMEvent event(EVENT_CONTROLLER_FAIL, NRM_EVENT_INFORMATION,
                   catalogue.get("agentEventInfControllerRemoved", std::vector<std::string>{getEventID(stored)}),
                   "EVENT_TARNELL_STATE_FAILED");
    event.objectType = NRM_OBJECT_ADAPTER;
    event.address = Addr(stored->getAdapterID());
    event.setAdapterSerial(stored);
    events.addEvent(event);
}

Adapter* TarnellRaidMonitor::findStoredAdapter(Adapter* live)
{
    if (!live) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: TarnellRaidMonitor::findStoredAdapter newAdapterIN is NULL!!!\n");
        return nullptr;
    }
    for (Adapter* stored : storedAdapters) {
        if (!stored) {
            logDebugGroup(NRM_DEBUG_ERRORS,
                          "ERROR: TarnellRaidMonitor::findStoredAdapter() storedAdapterList adapter is NULL!!!\n");
            continue;
        }
        if (!sameSerial(stored, live))
            continue;
        bool taken = false;
        for (Adapter* paired : pairedStored)
            taken = taken || paired == stored;
        if (!taken)
            return stored;
    }
    return nullptr;
}
