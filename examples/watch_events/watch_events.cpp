// watch_events: runs the Tarnell family monitor over the simulated
// controllers' default scenario for a number of poll cycles, with a scripted
// change after the first cycle, and prints every event the monitor queues:
// its id, severity, object type and address, and text.
//
// Time is simulated: each of the monitor's one-second waits moves the
// system clock seen by the libraries and the simulator's clock on by a
// second without waiting, so a run is instant and gives the same events
// every time.
//
// The monitor keeps its snapshot "WATCHTARNELLConfig.xml" beside its
// library, so a run compares the controllers with the snapshot of the run
// before; --fresh removes it first. Its logs go to the current directory.
//
// Exit status: 0 after the cycles ran; 2 for a bad argument.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "RaidLib/TarnellLib.h"
#include "RaidLib/Util/Date.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "RaidModel/Interface/Adapter.h"
#include "TarnellSim.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"

namespace {

enum class Change { NONE, DISK_FAILS, REBUILD_ENDS };

void usage(FILE* out)
{
    std::fputs("usage: watch_events [--polls N] [--change none|disk-fails|rebuild-ends] [--fresh]\n"
               "  Runs the Tarnell monitor over the simulated controllers for N poll cycles\n"
               "  (default 30) and prints the events it queues.\n"
               "  --change  after the first cycle: nothing (default), a member disk of\n"
               "            logical drive 0 fails, or the running rebuild ends.\n"
               "  --fresh   starts without the snapshot of an earlier run.\n",
               out);
}

// The simulated clock: seconds since the epoch, starting at the scenario's.
time_t simulatedNow = 0;
time_t readClock() { return simulatedNow; }

struct Run {
    TarnellLib* lib = nullptr;
    TarnellRaidMonitor* monitor = nullptr;
    Change change = Change::NONE;
    int polls = 30;
    int waits = 0;
};
Run run;

const char* objectName(int type)
{
    static const char* const NAMES[] = {"unknown", "system", "controller", "array", "logical drive",
                                        "physical drive", "enclosure", "fan", "power supply"};
    return type >= 0 && type <= 8 ? NAMES[type] : "unknown";
}

std::string idText(STORID_T id) { return id == STORID_UNDEFINED ? "-" : std::to_string(id); }

void printEvents()
{
    for (const NRMEvent& event : run.monitor->getEvents(0)) {
        const Addr& a = event.address;
        std::printf("event %d  severity %d  %s  address %s/%s/%s/%s/%s\n  %s\n", event.eventId, event.severity,
                    objectName(event.objectType), idText(a.getAdapterID()).c_str(), idText(a.getArrayID()).c_str(),
                    idText(a.getLogicalDriveID()).c_str(), idText(a.getChannelID()).c_str(),
                    idText(a.getDeviceID()).c_str(), event.text.c_str());
    }
    std::fflush(stdout);
}

void applyChange()
{
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

bool parse(int argc, char** argv, bool& fresh)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fresh") {
            fresh = true;
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

} // namespace

int main(int argc, char** argv)
{
    bool fresh = false;
    if (!parse(argc, argv, fresh)) {
        usage(stderr);
        return 2;
    }
    tarnellsim::reset();
    simulatedNow = static_cast<time_t>(tarnellsim::clock());
    Date::setClock(&readClock);
    BaseRaidMonitor::setSleepForTest(&wait);

    TarnellLib lib;
    run.lib = &lib;
    {
        TarnellRaidMonitor monitor(&lib, "./");
        if (fresh) {
            std::remove((monitor.nrmPath + "WATCHTARNELLConfig.xml").c_str());
            std::printf("-- started without a snapshot\n");
        }
        run.monitor = &monitor;
        monitor.start();
        printEvents();
        run.monitor = nullptr;
    }
    return 0;
}
