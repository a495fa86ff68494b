#ifndef TESTS_MONITOR_TESTRAIDMONITOR_H
#define TESTS_MONITOR_TESTRAIDMONITOR_H

// A small family monitor for the tests of the monitor core, over any storage
// library (the tests give it TarnellLib over the simulated controllers). It
// lives as the families do: its constructor pauses a second and uses up the
// first firing of the reminder timers; start, run and stop keep the run
// flags and the start time; each cycle polls, pauses pollSeconds and takes
// the changes of "NRMConfig.conf". A poll refreshes the configuration, runs
// the rules of every adapter against its previous image (the stored
// snapshot in the first poll of a run, the previous poll's tree after it),
// stores the configuration as the snapshot and keeps it as the previous
// tree.

#include <atomic>
#include <string>
#include <vector>

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

    // Refreshes the configuration and runs the rules against the stored
    // snapshot (CHECK_CONFIG) or the previous tree (COMPARE_CONFIG), then
    // stores the configuration as the snapshot and keeps it as the previous
    // tree; the result code of the refresh.
    int poll(int mode, NRMEventCollection& events) override;
    // The rules of every adapter of current in the families' order
    // (adapter, physical drives, logical drives, enclosures), against
    // the adapter of previous with the same adapter id: compareAdapter, then
    // on an added adapter checkAdapter and the check rules, otherwise the
    // compare rules. Without previous every adapter is added.
    void compareSystems(NRMEventCollection& events, System* current, System* previous);
    // Returns at once without a library, else loops while running; the
    // first poll of a run compares with the stored snapshot.
    void run() override;
    void stop() override;
    // Refused with an error line while running.
    void start() override;

    // The family hooks: while recordHooks is set each call is recorded in
    // hooks as "adapter A", "drive A/C/D" or "logical A/L" of its new
    // object (ids in decimal, "-" for an unset one). They answer 0.
    int compareRelativeChanges(Adapter* newAdapter, Adapter* oldAdapter) override;
    int compareRelativeChanges(HardDrive* newHD, HardDrive* oldHD) override;
    int compareRelativeChanges(LogicalDrive* newLD, LogicalDrive* oldLD) override;
    bool recordHooks = false;
    std::vector<std::string> hooks;

    // The configuration of the last poll.
    RefSystem previousSystem;
    // Cycles completed since construction.
    std::atomic<int> cycles{0};

private:
    void afterConstruction();
};

#endif
