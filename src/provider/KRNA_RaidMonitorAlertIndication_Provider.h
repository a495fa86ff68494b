#ifndef KRNA_RAIDMONITORALERTINDICATION_PROVIDER_H
#define KRNA_RAIDMONITORALERTINDICATION_PROVIDER_H

// The alert-indication provider. At load it builds, for the Qorl, Tarnell
// and Pelm families in that order, the family's storage library and its
// monitor; enabling indications starts one polling thread per monitor (the
// monitor's poll loop) and a delivery thread that once a second takes the
// queued events of the three monitors, turns each into an instance of one
// of the 112 KRNA_RaidMonitorAlertIndication subclasses (constructIndication)
// and hands it to the CIM server. Disabling, or unloading while enabled,
// stops the delivery thread, has a stopper thread stop the monitors and
// joins every thread; unloading deletes the monitors and libraries.
//
// Every line goes to "KRNAIndication.log". The state the threads share is
// one process-wide set (the statics below), not part of the provider object.

#include <atomic>
#include <string>

#include <cimple/Thread.h>

#include "KRNA_Classes.h"
#include "monitor/BaseRaidMonitor.h"

class StorLibPlugin;
class VeskLib;
class TarnellLib;
class PelmLib;

namespace corvanecimple {

using cimple::KRNA_RaidMonitorAlertIndication;

// One family's monitor and its polling thread.
struct MonitorSlot {
    BaseRaidMonitor* familyMonitor = nullptr;
    cimple::Thread thread;
    // 1 while the polling thread is meant to run.
    std::atomic<int32_t> threadCount{0};
    // True from the polling thread's creation until it leaves the monitor's
    // start(); the stopper waits for it as well as for isStopped().
    std::atomic<bool> polling{false};
};

class KRNA_RaidMonitorAlertIndication_Provider {
public:
    typedef KRNA_RaidMonitorAlertIndication Class;

    // The family masks of buildMonitor (those of KRNAProvider::getConfig).
    static const long QORL_MASK = 0x1000;
    static const long TARNELL_MASK = 0x1;
    static const long PELM_MASK = 0x100;

    KRNA_RaidMonitorAlertIndication_Provider() = default;
    ~KRNA_RaidMonitorAlertIndication_Provider() = default;
    KRNA_RaidMonitorAlertIndication_Provider(const KRNA_RaidMonitorAlertIndication_Provider&) = delete;
    KRNA_RaidMonitorAlertIndication_Provider& operator=(const KRNA_RaidMonitorAlertIndication_Provider&) = delete;

    // All four answer 0.
    int load();
    int unload();
    // Takes the handler over.
    int enable_indications(cimple::Indication_Handler<KRNA_RaidMonitorAlertIndication>* handler);
    int disable_indications();

    // One family's library and monitor (the library kept in the family's
    // library pointer); null, with a log line, when either cannot be made
    // or the mask names no family. A family whose library finds no
    // controller still gets both; its found flag is cleared.
    static BaseRaidMonitor* buildMonitor(long familyMask);

    // The event as a new indication of the class its id selects (the caller
    // owns it), or null for an id without a class.
    static KRNA_RaidMonitorAlertIndication* constructIndication(NRMEvent& event);

    // Thread routines: a family's poll loop (arg: its MonitorSlot), the
    // stopper (arg unused) and the delivery loop (arg: the handler).
    static void* startMonitorThread(void* slot);
    static void* stopMonitorThread(void* unused);
    static void* deliverIndications(void* handler);

    // Test seam: makes and destroys the monitors in place of the families'
    // own classes (the libraries are still the real ones). create answers
    // null for a monitor that cannot be made. setMonitorFactoryForTest(null)
    // restores the families' classes; it answers the factory before.
    struct MonitorFactory {
        BaseRaidMonitor* (*create)(long familyMask, StorLibPlugin* lib, const std::string& logDir);
        void (*destroy)(long familyMask, BaseRaidMonitor* monitor);
    };
    static const MonitorFactory* setMonitorFactoryForTest(const MonitorFactory* factory);

    // The shared state, one set per process.
    static MonitorSlot nrmQorlSet;
    static MonitorSlot nrmTarnellSet;
    static MonitorSlot nrmPelmSet;
    static bool IsQorlFound;
    static bool IsTarnellFound;
    static bool IsPelmFound;
    static VeskLib* qorlLibPtr;
    static TarnellLib* tarnellLibPtr;
    static PelmLib* pelmLibPtr;
    // The delivery thread's run counter.
    static std::atomic<int32_t> nrmEventCollecCounter;
    // The sequence number of the next indication.
    static int eventID;

private:
    // The stop sequence's steps: the delivery thread, the stopper thread,
    // the polling threads, the stopper joined.
    void stopDelivery();
    bool startStopper();
    void joinPollingThreads();
    void joinStopper();
    // Calls the handler once without an indication and deletes it.
    void releaseHandler();

    cimple::Indication_Handler<KRNA_RaidMonitorAlertIndication>* handler = nullptr;
    cimple::Thread deliveryThread;
    cimple::Thread stopperThread;
    // Whether the delivery thread runs and is not yet joined.
    bool deliveryStarted = false;
};

} // namespace corvanecimple

#endif
