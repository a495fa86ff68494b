// A module linked like the provider module (libpelmcore, libtarnellcore,
// libwatchpelm, libwatchtarnell, in that order, each kept), which runs one
// monitor of each family and takes their events out through the names the
// provider module binds: getNumberOfEvents, getEvents and isStopped. In this
// order the loader finds those names in libwatchpelm first, so the Tarnell
// monitor's queue is served by libwatchpelm's monitor core too.
//
// Time is simulated: every wait of a monitor moves the core clock and both
// simulations' clocks on without waiting.

#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "BothMonitors.h"
#include "PelmLib.h"
#include "PelmSim.h"
#include "RaidLib/TarnellLib.h"
#include "RaidLib/Util/Date.h"
#include "TarnellSim.h"
#include "monitor/NRMEvent.h"
#include "monitor/pelm/PelmRaidMonitor.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"

namespace {

time_t simulatedNow = 0;
time_t readClock() { return simulatedNow; }

// The monitor whose loop runs, its waits so far, the cycles it runs and the
// change after its first cycle.
BaseRaidMonitor* running = nullptr;
int waits = 0;
int cycles = 0;
void (*change)() = nullptr;

void wait(long milliSec)
{
    const uint32_t seconds = static_cast<uint32_t>(milliSec / 1000);
    simulatedNow += seconds;
    pelmsim::advanceClock(seconds);
    tarnellsim::advanceClock(seconds);
    if (!running)
        return;
    ++waits;
    if (waits == 1 && change)
        change();
    if (waits >= cycles)
        running->stop();
}

void pelmMediaError() { pelmsim::mediaError(0, 0, 1); }

TarnellLib* tarnellLib = nullptr;
void tarnellDiskFails()
{
    Addr disk(0);
    disk.setChannelID(0);
    disk.setDeviceID(0);
    tarnellLib->downHardDrive(disk, true);
}

void copyText(char* to, size_t size, const std::string& from)
{
    std::snprintf(to, size, "%s", from.c_str());
}

// Runs the monitor's loop, then takes its events out as the provider module
// does, into events[*filled...max).
void runAndTake(BaseRaidMonitor& monitor, int family, void (*scripted)(), BothEvent* events, int max,
                BothRun* run)
{
    running = &monitor;
    waits = 0;
    change = scripted;
    monitor.start();
    running = nullptr;
    run->waits[family] = waits;
    run->stopped[family] = monitor.isStopped() ? 1 : 0;
    const int queued = monitor.getNumberOfEvents();
    run->queued[family] = queued;
    if (queued <= 0)
        return;
    std::vector<NRMEvent> taken(static_cast<size_t>(queued));
    const int n = monitor.getEvents(taken.data(), queued);
    for (int k = 0; k < n && run->events < max; ++k) {
        const NRMEvent& e = taken[static_cast<size_t>(k)];
        BothEvent& out = events[run->events++];
        out.family = family;
        out.eventId = e.eventId;
        out.severity = e.severity;
        out.objectType = e.objectType;
        out.adapter = e.address.getAdapterID();
        out.array = e.address.getArrayID();
        out.logicalDrive = e.address.getLogicalDriveID();
        out.channel = e.address.getChannelID();
        out.device = e.address.getDeviceID();
        out.percentComplete = e.percentComplete;
        copyText(out.text, sizeof out.text, e.text);
        copyText(out.adapterSerial, sizeof out.adapterSerial, e.adapterSerial);
        copyText(out.deviceSerial, sizeof out.deviceSerial, e.deviceSerial);
    }
}

} // namespace

extern "C" __attribute__((visibility("default"))) int bothMonitorsRun(const char* libDir, const char* mapsFile,
                                                                      int cyclesEach, BothEvent* events, int max,
                                                                      BothRun* run)
{
    if (!libDir || !mapsFile || cyclesEach < 1 || !events || max < 0 || !run)
        return -1;
    *run = BothRun();
    cycles = cyclesEach;
    pelmsim::reset();
    tarnellsim::reset();
    simulatedNow = static_cast<time_t>(tarnellsim::clock());
    const Date::ClockFn previousClock = Date::setClock(&readClock);
    const BaseRaidMonitor::SleepFunction previousSleep = BaseRaidMonitor::setSleepForTest(&wait);
    const std::string previousMaps = BaseRaidMonitor::setMapsFileForTest(mapsFile);
    {
        PelmLib lib;
        PelmRaidMonitor monitor(&lib, libDir);
        runAndTake(monitor, BOTH_FAMILY_PELM, &pelmMediaError, events, max, run);
    }
    {
        TarnellLib lib;
        tarnellLib = &lib;
        TarnellRaidMonitor monitor(&lib, libDir);
        runAndTake(monitor, BOTH_FAMILY_TARNELL, &tarnellDiskFails, events, max, run);
        tarnellLib = nullptr;
    }
    BaseRaidMonitor::setMapsFileForTest(previousMaps);
    BaseRaidMonitor::setSleepForTest(previousSleep);
    Date::setClock(previousClock);
    return 0;
}

extern "C" __attribute__((visibility("default"))) void bothMonitorsBindings(void* addresses[3])
{
    // The address of a non-virtual member function is the one the loader
    // bound the module's calls to.
    int (BaseRaidMonitor::*count)() = &BaseRaidMonitor::getNumberOfEvents;
    int (BaseRaidMonitor::*take)(NRMEvent*, int) = &BaseRaidMonitor::getEvents;
    bool (BaseRaidMonitor::*stopped)() = &BaseRaidMonitor::isStopped;
    std::memcpy(&addresses[0], &count, sizeof(void*));
    std::memcpy(&addresses[1], &take, sizeof(void*));
    std::memcpy(&addresses[2], &stopped, sizeof(void*));
}
