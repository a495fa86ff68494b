#ifndef QORLRAIDMONITOR_H
#define QORLRAIDMONITOR_H

// The event monitor of the Qorl family (libwatchqorl), over a VeskLib. At
// start it checks the state of every controller of the live configuration;
// then each poll reads the configuration afresh and compares every
// controller with the one of the same adapter id in the previous reading by
// the monitor core's adapter, drive and logical-drive rules. Between polls
// it pauses pollSeconds in 1-second steps (through the core's sleep seam).
//
// Threads: start, run and poll on the monitor's thread; stop and isStopped
// from others (the flags are atomics); the queue locks itself.

#include <string>

#include "RaidLib/StorLib.h"
#include "monitor/BaseRaidMonitor.h"

class VeskLib;

class STOR_EXPORT QorlRaidMonitor final : public BaseRaidMonitor {
public:
    // Logs in logDir; the library is not owned and must outlive the monitor.
    QorlRaidMonitor(VeskLib* lib, std::string logDir);
    ~QorlRaidMonitor();

    // CHECK_CONFIG checks every controller read; any other mode compares
    // the new reading with the previous one. Answers 0, or -1 when the
    // configuration cannot be read (nothing is queued then).
    int poll(int mode, NRMEventCollection& queue) override;
    void run() override;
    void stop() override;
    void start() override;

    // Test hook: queues a copy of the event as a poll would.
    void queueEventForTest(const NRMEvent& event);

    RefSystem liveSystem;
    RefSystem previousSystem;

private:
    // Reads the configuration into liveSystem; false when none results.
    bool refresh();
};

#endif
