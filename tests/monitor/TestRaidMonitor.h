#ifndef TESTS_MONITOR_TESTRAIDMONITOR_H
#define TESTS_MONITOR_TESTRAIDMONITOR_H

// A small family monitor for the tests of the monitor core, over any storage
// library (the tests give it TarnellLib over the simulated controllers). It
// lives as the families do: its constructor pauses a second and uses up the
// first firing of the reminder timers; start, run and stop keep the run
// flags and the start time; each cycle polls, pauses pollSeconds and takes
// the changes of "NRMConfig.conf". A poll refreshes the configuration,
// stores it as the snapshot and keeps it as the previous tree.

#include <atomic>
#include <string>

#include "RaidLib/StorLib.h"
#include "monitor/BaseRaidMonitor.h"

class StorLibPlugin;

// The monitor's file names; empty ones stand for the base's defaults.
struct TestRaidMonitorFiles {
    std::string debugLog = "WATCHTESTDebug.log";
    std::string eventsLog = "WATCHTESTEvents.log";
    std::string snapshot = "WATCHTESTConfig.xml";
};

class TestRaidMonitor final : public BaseRaidMonitor {
public:
    using FileNames = TestRaidMonitorFiles;

    // Logs in logDir.
    TestRaidMonitor(StorLibPlugin* lib, std::string logDir, const FileNames& names = FileNames());
    // Logs below the library directory.
    explicit TestRaidMonitor(StorLibPlugin* lib, const FileNames& names = FileNames());
    ~TestRaidMonitor();

    // Refreshes the configuration, stores it as the snapshot and keeps it as
    // the previous tree; the result code of the refresh.
    int poll(int mode, NRMEventCollection& events) override;
    // Returns at once without a library, else loops while running.
    void run() override;
    void stop() override;
    // Refused with an error line while running.
    void start() override;

    // The configuration of the last poll.
    RefSystem previousSystem;
    // Cycles completed since construction.
    std::atomic<int> cycles{0};

private:
    void afterConstruction();
};

#endif
