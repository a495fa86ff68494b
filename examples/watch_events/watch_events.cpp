// watch_events: runs the Tarnell family monitor (or with --family pelm the
// Pelm one) over its simulated controllers' default scenario for a number of
// cycles, with a scripted change after the first cycle, and prints every
// event the monitor queues: its id, severity, object type and address, and
// text. A cycle is one of the monitor's one-second pauses: the Tarnell
// monitor polls once a cycle, the Pelm monitor once in five.
//
// Time is simulated: each of the monitor's one-second waits moves the
// system clock seen by the libraries and the simulators' clocks on by a
// second without waiting, so a run is instant and gives the same events
// every time.
//
// The monitor keeps its snapshot "WATCHTARNELLConfig.xml" (the Pelm one
// "WATCHPELMConfig.xml") beside its library, so a run compares the controllers with the snapshot of the run
// before; --fresh removes it first. Its logs go to the current directory.
//
// Exit status: 0 after the cycles ran; 2 for a bad argument, events that
// could not be written (the run stops at the first cycle whose events were
// not written) or when memory runs out.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <new>
#include <string>
#include <vector>

#include "PelmLib.h"
#include "PelmSim.h"
#include "RaidLib/TarnellLib.h"
#include "RaidLib/Util/Date.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "RaidModel/Interface/Adapter.h"
#include "TarnellSim.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/pelm/PelmRaidMonitor.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"

// Both monitor libraries define the monitor core's globals (the debug mask,
// the event record's names) alike, and the loader serves them from the first
// one; the sanitizer reports such a pair only when the sizes differ, a real
// layout conflict. (Exported: the sanitizer runtime looks it up.)
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options()
{
    return "detect_odr_violation=1";
}

namespace {

enum class Change { NONE, DISK_FAILS, REBUILD_ENDS };
enum class Family { TARNELL, PELM };

void usage(FILE* out)
{
    std::fputs("usage: watch_events [--family tarnell|pelm] [--polls N] [--change none|disk-fails|rebuild-ends]\n"
               "                    [--fresh]\n"
               "  Runs the Tarnell monitor (default) or the Pelm monitor over its simulated\n"
               "  controllers for N cycles (default 30) and prints the events it queues. A\n"
               "  cycle is one of the monitor's one-second pauses: the Tarnell monitor polls\n"
               "  once a cycle, the Pelm monitor once in five cycles.\n"
               "  --change  after the first cycle: nothing (default), a member disk of\n"
               "            logical drive 0 fails, or the running rebuild ends (the Pelm\n"
               "            monitor sees a failed disk at its next 60-second refresh).\n"
               "  --fresh   starts without the snapshot of an earlier run.\n",
               out);
}

// The simulated clock: seconds since the epoch, starting at the scenario's.
time_t simulatedNow = 0;
time_t readClock() { return simulatedNow; }

struct Run {
    TarnellLib* lib = nullptr;
    BaseRaidMonitor* monitor = nullptr;
    Family family = Family::TARNELL;
    Change change = Change::NONE;
    int polls = 30;
    int waits = 0;
    // The error number of the first write to standard output that failed.
    int outputError = 0;
};
Run run;

const char* objectName(int type)
{
    static const char* const NAMES[] = {"unknown", "system", "controller", "array", "logical drive",
                                        "physical drive", "enclosure", "fan", "power supply"};
    return type >= 0 && type <= 8 ? NAMES[type] : "unknown";
}

std::string idText(STORID_T id) { return id == STORID_UNDEFINED ? "-" : std::to_string(id); }

// Flushes standard output; the first failure of a write is remembered and
// stops the monitor, whose events would be lost.
void checkOutput()
{
    errno = 0;
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && run.outputError == 0) {
        run.outputError = errno != 0 ? errno : EIO;
        if (run.monitor)
            run.monitor->stop();
    }
}

// The exit status once everything is printed: 2, with the message, when
// something was not written.
int finish(int status)
{
    checkOutput();
    if (run.outputError == 0)
        return status;
    std::fprintf(stderr, "watch_events: the events cannot be written: %s\n", std::strerror(run.outputError));
    return 2;
}

void printEvents()
{
    for (const NRMEvent& event : run.monitor->getEvents(0)) {
        const Addr& a = event.address;
        std::printf("event %d  severity %d  %s  address %s/%s/%s/%s/%s\n  %s\n", event.eventId, event.severity,
                    objectName(event.objectType), idText(a.getAdapterID()).c_str(), idText(a.getArrayID()).c_str(),
                    idText(a.getLogicalDriveID()).c_str(), idText(a.getChannelID()).c_str(),
                    idText(a.getDeviceID()).c_str(), event.text.c_str());
    }
    checkOutput();
}

// The changes of the Pelm simulation: disk 0 of channel 0 of the first
// controller, a member of logical drive 0, fails; or the rebuild ends.
void applyPelmChange()
{
    if (run.change == Change::REBUILD_ENDS) {
        // The default scenario's rebuild stands at 35 % and gains 1 % a second.
        pelmsim::advanceClock(7200);
        simulatedNow += 7200;
        std::printf("-- the running rebuild ends\n");
    } else if (run.change == Change::DISK_FAILS) {
        const bool done = pelmsim::setDriveState(0, 0, 0, DRIVE_DEAD);
        std::printf("-- disk 0 on channel 0 of controller 0 fails (%s)\n", done ? "done" : "no such disk");
    }
}

void applyChange()
{
    if (run.family == Family::PELM) {
        applyPelmChange();
        return;
    }
    if (run.change == Change::REBUILD_ENDS) {
        // Two simulated hours finish the rebuild of the default scenario.
        tarnellsim::advanceClock(7200);
        simulatedNow += 7200;
        std::printf("-- the running rebuild ends\n");
        return;
    }
    if (run.change != Change::DISK_FAILS)
        return;
    TarnellSystem* system = run.lib->getCurrentSystem();
    if (!system || system->getNumAdapters() == 0)
        return;
    // Disk 0 of channel 0, a member of logical drive 0, of the first controller.
    FilterCollection drives(system->getAdapter(0));
    drives.apply("HardDrive", false);
    RaidObject* member = nullptr;
    for (unsigned long k = 0; k < drives.size() && !member; ++k) {
        RaidObject* drive = drives.elementAt(static_cast<int>(k));
        if (drive && drive->getChannelID() == 0 && drive->getDeviceID() == 0)
            member = drive;
    }
    if (!member)
        return;
    const Addr disk = member->getAddr();
    const Ret ret = run.lib->downHardDrive(disk, true);
    std::printf("-- disk 0 on channel 0 of controller %u fails (result %d)\n",
                static_cast<unsigned>(disk.getAdapterID()), ret.getReturn());
}

// The monitor's wait: both clocks move on, the events of the cycle are
// printed, the change comes after the first cycle, and the monitor stops
// after the last.
void wait(long milliSec)
{
    const uint32_t seconds = static_cast<uint32_t>(milliSec / 1000);
    simulatedNow += seconds;
    if (run.family == Family::PELM)
        pelmsim::advanceClock(seconds);
    else
        tarnellsim::advanceClock(seconds);
    if (!run.monitor)
        return;
    ++run.waits;
    std::printf("-- cycle %d\n", run.waits);
    printEvents();
    if (run.waits == 1)
        applyChange();
    if (run.waits >= run.polls)
        run.monitor->stop();
}

bool parse(int argc, char** argv, bool& fresh, bool& help)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--fresh") {
            fresh = true;
        } else if (arg == "--family" && i + 1 < argc) {
            const std::string family = argv[++i];
            if (family == "tarnell")
                run.family = Family::TARNELL;
            else if (family == "pelm")
                run.family = Family::PELM;
            else
                return false;
        } else if (arg == "--polls" && i + 1 < argc) {
            char* end = nullptr;
            errno = 0;
            const long n = std::strtol(argv[++i], &end, 10);
            if (errno != 0 || *end != '\0' || n < 1 || n > 100000)
                return false;
            run.polls = static_cast<int>(n);
        } else if (arg == "--change" && i + 1 < argc) {
            const std::string change = argv[++i];
            if (change == "none")
                run.change = Change::NONE;
            else if (change == "disk-fails")
                run.change = Change::DISK_FAILS;
            else if (change == "rebuild-ends")
                run.change = Change::REBUILD_ENDS;
            else
                return false;
        } else {
            return false;
        }
    }
    return true;
}

// Removes the monitor's snapshot from the folder of the monitor libraries,
// where the monitors keep it, before a monitor reads it.
void removeSnapshot(const char* snapshot)
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&BaseRaidMonitor::setSleepForTest), &info) && info.dli_fname) {
        std::string path = info.dli_fname;
        path.erase(path.find_last_of('/') + 1);
        std::remove((path + snapshot).c_str());
    }
    std::printf("-- started without a snapshot\n");
}

// Runs the monitor's loop on this thread and prints what it queued last.
void watch(BaseRaidMonitor& monitor)
{
    run.monitor = &monitor;
    monitor.start();
    printEvents();
    run.monitor = nullptr;
}

} // namespace

int main(int argc, char** argv)
try {
    bool fresh = false;
    bool help = false;
    if (!parse(argc, argv, fresh, help)) {
        usage(stderr);
        return 2;
    }
    if (help) {
        usage(stdout);
        return finish(0);
    }
    Date::setClock(&readClock);
    BaseRaidMonitor::setSleepForTest(&wait);

    if (run.family == Family::PELM) {
        pelmsim::reset();
        simulatedNow = static_cast<time_t>(pelmsim::clock());
        if (fresh)
            removeSnapshot("WATCHPELMConfig.xml");
        PelmLib lib;
        PelmRaidMonitor monitor(&lib, "./");
        watch(monitor);
        return finish(0);
    }
    tarnellsim::reset();
    simulatedNow = static_cast<time_t>(tarnellsim::clock());
    if (fresh)
        removeSnapshot("WATCHTARNELLConfig.xml");
    TarnellLib lib;
    run.lib = &lib;
    TarnellRaidMonitor monitor(&lib, "./");
    watch(monitor);
    return finish(0);
} catch (const std::bad_alloc&) {
    std::fputs("watch_events: out of memory\n", stderr);
    return 2;
}
