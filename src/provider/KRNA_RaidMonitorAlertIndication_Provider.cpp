// The alert-indication provider: the family libraries and monitors, the
// polling, delivery and stopper threads, and the stop sequence.

#include "KRNA_RaidMonitorAlertIndication_Provider.h"

#include <cstring>
#include <memory>
#include <new>

#include "KRNAIndicationLog.h"
#include "PelmLib.h"
#include "QorlRaidMonitor.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Interface/System.h"
#include "VeskLib.h"
#include "monitor/pelm/PelmRaidMonitor.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"

using namespace cimple;

namespace corvanecimple {

typedef KRNA_RaidMonitorAlertIndication_Provider Provider;

MonitorSlot Provider::nrmQorlSet;
MonitorSlot Provider::nrmTarnellSet;
MonitorSlot Provider::nrmPelmSet;
bool Provider::IsQorlFound = true;
bool Provider::IsTarnellFound = true;
bool Provider::IsPelmFound = true;
VeskLib* Provider::qorlLibPtr = nullptr;
TarnellLib* Provider::tarnellLibPtr = nullptr;
PelmLib* Provider::pelmLibPtr = nullptr;
std::atomic<int32_t> Provider::nrmEventCollecCounter{0};

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

typedef Indication_Handler<KRNA_RaidMonitorAlertIndication> Handler;

const Provider::MonitorFactory* monitorFactory = nullptr;

// One family as every operation visits it, with the log texts that differ.
struct Family {
    long mask;
    MonitorSlot& slot;
    bool& found;
    // The factory that made the slot's monitor (null: the family's class).
    const Provider::MonitorFactory* madeBy;
    const char* nullLine;
    const char* stopLine;
    const char* countLine;
    const char* deliverLine;
    const char* skipLine;
    const char* exitLine;
};

Family families[] = {
    {Provider::QORL_MASK, Provider::nrmQorlSet, Provider::IsQorlFound, nullptr, "load() QorlRaidMonitor is NULL\n",
     "stopMonitorThread() Stop Issued to Qorl Raid Monitor\n", "deliverIndications() Qorl event count is %d\n",
     "deliverIndications() Qorl : Delivering indication\n",
     "deliverIndications() Qorl : No controllers found event,Continue Polling\n",
     "deliverIndications() Exiting (After Qorl)\n"},
    {Provider::TARNELL_MASK, Provider::nrmTarnellSet, Provider::IsTarnellFound, nullptr,
     "load() TarnellRaidMonitor is NULL\n", "stopMonitorThread() Stop Issued to TARNELL Raid Monitor\n",
     "deliverIndications() Tarnell event count is %d\n", "deliverIndications() TARNELL : Delivering indication\n",
     "deliverIndications() TARNELL : No controllers found event,Continue Polling\n",
     "deliverIndications() Exiting (After TARNELL)\n"},
    {Provider::PELM_MASK, Provider::nrmPelmSet, Provider::IsPelmFound, nullptr, "load() PelmRaidMonitor is NULL\n",
     "stopMonitorThread() Stop Issued to Pelm Raid Monitor\n", "deliverIndications() Pelm event count is %d\n",
     "deliverIndications() Pelm : Delivering indication\n",
     "deliverIndications() Pelm : No controllers found event,Continue Polling\n",
     "deliverIndications() Exiting (After Pelm)\n"},
};

const int NO_CONTROLLERS_ID = 201;

// One fixed line (its own line end included) of the indication log.
void logLine(const char* line)
{
    indicationLogger.debug("%.*s", static_cast<int>(strcspn(line, "\n")), line);
}

bool anyMonitor()
{
    for (const Family& f : families) {
        if (f.slot.familyMonitor)
            return true;
    }
    return false;
}

bool allFamiliesDone()
{
    for (const Family& f : families) {
        if (f.slot.threadCount.load() != 0)
            return false;
    }
    return true;
}

// The directory of the indication log, with its final "/".
std::string logDirectory()
{
    const std::string path = indicationLogger.getPath();
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The controller count of the library's current System; 0 without one.
uint32_t controllerCount(StorLib* lib)
{
    RefSystem system(lib->getSystem());
    if (!system)
        return 0;
    Ret ret;
    return system->getControllerCount(lib, ret);
}

BaseRaidMonitor* makeMonitor(long mask, StorLibPlugin* lib, const std::string& dir)
{
    if (monitorFactory)
        return monitorFactory->create(mask, lib, dir);
    switch (mask) {
    case Provider::QORL_MASK:
        return new QorlRaidMonitor(static_cast<VeskLib*>(lib), dir);
    case Provider::TARNELL_MASK:
        return new TarnellRaidMonitor(static_cast<TarnellLib*>(lib), dir);
    default:
        return new PelmRaidMonitor(static_cast<PelmLib*>(lib), dir);
    }
}

// Destroys a monitor through the class that made it.
void destroyMonitor(const Family& f, BaseRaidMonitor* monitor)
{
    if (f.madeBy) {
        f.madeBy->destroy(f.mask, monitor);
        return;
    }
    switch (f.mask) {
    case Provider::QORL_MASK:
        delete static_cast<QorlRaidMonitor*>(monitor);
        break;
    case Provider::TARNELL_MASK:
        delete static_cast<TarnellRaidMonitor*>(monitor);
        break;
    default:
        delete static_cast<PelmRaidMonitor*>(monitor);
        break;
    }
}

// The log lines of one family's buildMonitor.
struct BuildTexts {
    const char* libraryFailed;
    const char* noControllers;
    const char* monitorFailed;
    const char* done;
};

// One family's library, refreshed (the Tarnell and Pelm libraries with a
// document that is released at once, through a 1-byte buffer made first),
// the family's found flag from its controller count, and its monitor. Null
// when the library, the buffer or the monitor cannot be made; the library
// is then deleted. A reading that fails for want of memory counts as found:
// it tells nothing of the controllers.
template <class Lib>
BaseRaidMonitor* buildFamily(long mask, bool withDocument, Lib*& libPtr, bool& found, const BuildTexts& texts,
                             const std::string& dir)
{
    std::unique_ptr<Lib> lib;
    Ret read;
    try {
        // The stand-in libraries' own allocation answers null when it fails.
        lib.reset(new Lib);
        if (!lib) {
            logLine(texts.libraryFailed);
            return nullptr;
        }
        if (withDocument) {
            char* buffer = new char[1];
            read = lib->getSystemConfig(&buffer);
            delete[] buffer;
        } else {
            read = lib->getSystemConfig();
        }
    } catch (const std::bad_alloc&) {
        logLine(texts.libraryFailed);
        return nullptr;
    }
    found = read.getReturn() == Ret::RESOURCE || controllerCount(lib.get()) != 0;
    if (!found)
        logLine(texts.noControllers);
    BaseRaidMonitor* monitor = nullptr;
    try {
        monitor = makeMonitor(mask, lib.get(), dir);
    } catch (const std::bad_alloc&) {
    }
    if (!monitor) {
        logLine(texts.monitorFailed);
        return nullptr;
    }
    libPtr = lib.release();
    logLine(texts.done);
    return monitor;
}

} // namespace

const Provider::MonitorFactory* Provider::setMonitorFactoryForTest(const MonitorFactory* factory)
{
    const MonitorFactory* before = monitorFactory;
    monitorFactory = factory;
    return before;
}

BaseRaidMonitor* Provider::buildMonitor(long familyMask)
{
    indicationLogger.debug("buildMonitor() Entering\n");
    const std::string dir = logDirectory();
    switch (familyMask) {
    case QORL_MASK:
        return buildFamily(familyMask, false, qorlLibPtr, IsQorlFound,
                           {"buildMonitor() Exiting - Memory Allocation failed for QorlLib\n",
                            "buildMonitor() No VESK controllers found\n",
                            "buildMonitor() Exiting - Memory Allocation failed for QorlRaidMonitor\n",
                            "buildMonitor() FENTA_LIBRARY Exiting\n"},
                           dir);
    case TARNELL_MASK:
        return buildFamily(familyMask, true, tarnellLibPtr, IsTarnellFound,
                           {"buildMonitor() Exiting - Memory Allocation failed for TarnellLib\n",
                            "buildMonitor() No TARNELL controllers found\n",
                            "buildMonitor() Exiting - Memory Allocation failed for TarnellMonitor\n",
                            "buildMonitor() TARNELL_LIBRARY Exiting\n"},
                           dir);
    case PELM_MASK:
        return buildFamily(familyMask, true, pelmLibPtr, IsPelmFound,
                           {"buildMonitor() Exiting - Memory Allocation failed for PelmLib\n",
                            "buildMonitor() No PELM controllers found\n",
                            "buildMonitor() Exiting - Memory Allocation failed for PelmRaidMonitor\n",
                            "buildMonitor()  PELM_LIBRARY Exiting\n"},
                           dir);
    default:
        indicationLogger.debug("buildMonitor() buildMonitor called for neither of Qorl,Tarnell,Pelm\n");
        indicationLogger.debug("buildMonitor() Exiting\n");
        return nullptr;
    }
}

int Provider::load()
{
    indicationLogger.debug("Entering - KRNA_RaidMonitorAlertIndication_Provider load()");
    for (Family& f : families) {
        f.slot.familyMonitor = nullptr;
        f.slot.familyMonitor = buildMonitor(f.mask);
        f.madeBy = monitorFactory;
        if (!f.slot.familyMonitor)
            logLine(f.nullLine);
    }
    indicationLogger.debug("Exiting KRNA_RaidMonitorAlertIndication_Provider load()");
    return 0;
}

int Provider::enable_indications(Handler* newHandler)
{
    indicationLogger.debug("enable_indications() Entering\n");
    if (deliveryStarted || !allFamiliesDone()) {
        // Already enabled: the running threads keep the handler they have.
        delete newHandler;
        indicationLogger.debug("enable_indications() Exiting\n");
        return 0;
    }
    handler = newHandler;
    indicationLogger.debug("enable_indications() Creating 3 threads for Event Polling\n");
    for (Family& f : families) {
        if (!f.slot.familyMonitor)
            continue;
        f.slot.threadCount++;
        f.slot.polling = true;
        if (Thread::create_joinable(f.slot.thread, startMonitorThread, &f.slot) != 0) {
            f.slot.threadCount--;
            f.slot.polling = false;
        }
    }
    indicationLogger.debug(
        "enable_indications() All 3 polling threads are started, Now spawning the delivery thread\n");
    if (anyMonitor()) {
        nrmEventCollecCounter++;
        deliveryStarted = Thread::create_joinable(deliveryThread, deliverIndications, handler) == 0;
        if (!deliveryStarted)
            nrmEventCollecCounter--;
    }
    indicationLogger.debug("enable_indications() Delivery thread created\n");
    indicationLogger.debug("QORL controller  %d\n", IsQorlFound ? 1 : 0);
    indicationLogger.debug("Tarnell Controller   %d\n", IsTarnellFound ? 1 : 0);
    indicationLogger.debug("Pelm Controller  %d\n", IsPelmFound ? 1 : 0);
    indicationLogger.debug("enable_indications() Exiting\n");
    return 0;
}

void* Provider::startMonitorThread(void* arg)
{
    indicationLogger.debug("startMonitorThread() Entering\n");
    MonitorSlot* slot = static_cast<MonitorSlot*>(arg);
    try {
        if (slot && slot->familyMonitor)
            slot->familyMonitor->start();
    } catch (...) {
        indicationLogger.debug("startMonitorThread() The monitor failed\n");
    }
    indicationLogger.debug("startMonitorThread() Exiting, Monitor has been stopped\n");
    if (slot)
        slot->polling = false;
    return nullptr;
}

namespace {

// One delivery of the delivery thread; one that runs out of memory ends
// there (what it took from a queue is lost) and the thread goes on.
template <class Delivery>
void deliverUnlessOutOfMemory(Delivery delivery)
{
    try {
        delivery();
    } catch (const std::bad_alloc&) {
        indicationLogger.debug("deliverIndications() No memory: indications were lost\n");
    }
}

} // namespace

void* Provider::deliverIndications(void* arg)
{
    Handler* target = static_cast<Handler*>(arg);
    indicationLogger.debug("deliverIndications() Entering\n");
    int cycles = 0;
    indicationLogger.debug("Polling\n");
    if (!IsQorlFound && !IsTarnellFound && !IsPelmFound) {
        indicationLogger.debug("deliverIndications() - Delivering No Controller event\n");
        deliverUnlessOutOfMemory([&] {
            NRMEvent event;
            event.eventId = NO_CONTROLLERS_ID;
            event.severity = 3;
            event.text = "No controllers were found in this system.";
            KRNA_RaidMonitorAlertIndication* indication = constructIndication(event);
            if (target)
                target->handle(indication);
            else if (indication)
                destroy(indication);
        });
        indicationLogger.debug("deliverIndications() Exiting, No controller Indication deliverd\n");
    }
    for (;;) {
        if (cycles > 60) {
            indicationLogger.debug("Polling\n");
            cycles = 0;
        }
        if (nrmEventCollecCounter.load() == 0) {
            indicationLogger.debug("deliverIndications()  Breaking out of while loop\n");
            return nullptr;
        }
        if (target) {
            for (const Family& f : families) {
                if (BaseRaidMonitor* monitor = f.slot.familyMonitor) {
                    const int n = monitor->getNumberOfEvents();
                    if (n > 0) {
                        indicationLogger.debug(f.countLine, n);
                        deliverUnlessOutOfMemory([&] {
                            std::unique_ptr<NRMEvent[]> events(new NRMEvent[n]);
                            const int m = monitor->getEvents(events.get(), n);
                            for (int i = 0; i < m; ++i) {
                                if (events[i].eventId == NO_CONTROLLERS_ID) {
                                    logLine(f.skipLine);
                                    continue;
                                }
                                KRNA_RaidMonitorAlertIndication* indication = constructIndication(events[i]);
                                logLine(f.deliverLine);
                                target->handle(indication);
                            }
                        });
                    }
                }
                if (allFamiliesDone()) {
                    logLine(f.exitLine);
                    return nullptr;
                }
            }
        }
        Time::sleep(Time::SEC);
        ++cycles;
    }
}

void* Provider::stopMonitorThread(void*)
{
    indicationLogger.debug("stopMonitorThread() Entering\n");
    const int all = 7;
    int stopped = 0;
    for (int i = 0; i < 3; ++i) {
        if (!families[i].slot.familyMonitor)
            stopped |= 1 << i;
    }
    for (const Family& f : families) {
        if (f.slot.familyMonitor) {
            f.slot.familyMonitor->stop();
            logLine(f.stopLine);
        }
    }
    for (;;) {
        indicationLogger.debug("stopMonitorThread() Waiting for the monitors to stop\n");
        for (int i = 0; i < 3; ++i) {
            MonitorSlot& slot = families[i].slot;
            if (!slot.familyMonitor || (stopped & (1 << i)))
                continue;
            // A polling thread that entered start() after the first stop()
            // runs until it is told again.
            if (slot.polling.load())
                slot.familyMonitor->stop();
            else if (slot.familyMonitor->isStopped())
                stopped |= 1 << i;
        }
        if (stopped == all)
            break;
        Time::sleep(Time::SEC);
    }
    indicationLogger.debug("stopMonitorThread() All NRM monitors stopped\n");
    indicationLogger.debug("stopMonitorThread() Exiting\n");
    return nullptr;
}

void Provider::stopDelivery()
{
    if (!deliveryStarted)
        return;
    nrmEventCollecCounter--;
    void* value = nullptr;
    Thread::join(deliveryThread, value);
    deliveryStarted = false;
}

bool Provider::startStopper()
{
    return anyMonitor() && Thread::create_joinable(stopperThread, stopMonitorThread, nullptr) == 0;
}

void Provider::joinPollingThreads()
{
    for (Family& f : families) {
        if (f.slot.familyMonitor && f.slot.threadCount.load() > 0)
            f.slot.threadCount--;
    }
    for (Family& f : families) {
        void* value = nullptr;
        if (f.slot.familyMonitor)
            Thread::join(f.slot.thread, value);
    }
}

void Provider::joinStopper()
{
    void* value = nullptr;
    Thread::join(stopperThread, value);
}

void Provider::releaseHandler()
{
    if (!handler)
        return;
    handler->handle(nullptr);
    delete handler;
    handler = nullptr;
}

int Provider::disable_indications()
{
    indicationLogger.debug("disable_indications() Entering\n");
    indicationLogger.debug("disable_indications() Stopping the delivery Thread, Counter = %d\n",
                           static_cast<int>(nrmEventCollecCounter.load()));
    stopDelivery();
    indicationLogger.debug(
        "disable_indications() delivery thread stopped, Spawning a thread to stop the 3 polling threads\n");
    startStopper();
    indicationLogger.debug("disable_indications() Deallocating monitors and libraries\n");
    joinPollingThreads();
    indicationLogger.debug("disable_indications() Stopping the stop thread\n");
    joinStopper();
    releaseHandler();
    indicationLogger.debug("disable_indications() Exiting\n");
    return 0;
}

int Provider::unload()
{
    indicationLogger.debug("Entering - KRNA_RaidMonitorAlertIndication unload()\n");
    if (deliveryStarted || !allFamiliesDone()) {
        stopDelivery();
        indicationLogger.debug("unload() Deliver Thread Stopped\n");
        indicationLogger.debug("unload() Creating Thread to Stop The monitors\n");
        startStopper();
        joinPollingThreads();
        indicationLogger.debug("unload() All The monitors Stopped\n");
        joinStopper();
    }
    releaseHandler();
    for (Family& f : families) {
        if (f.slot.familyMonitor)
            destroyMonitor(f, f.slot.familyMonitor);
        f.slot.familyMonitor = nullptr;
        f.madeBy = nullptr;
    }
    delete qorlLibPtr;
    delete tarnellLibPtr;
    delete pelmLibPtr;
    qorlLibPtr = nullptr;
    tarnellLibPtr = nullptr;
    pelmLibPtr = nullptr;
    indicationLogger.debug("Exiting - KRNA_RaidMonitorAlertIndication unload()\n");
    return 0;
}

CIMPLE_INDICATION_PROVIDER(KRNA_RaidMonitorAlertIndication_Provider);

} // namespace corvanecimple
