// libFuzzer target: arbitrary bytes as the Tarnell family's event text, as
// the Tarnell monitor's poll loop reads it: the scan for the newest event
// number, then the translation of its "RaidEvent" elements into queued
// events against a current configuration of two adapters (ids 0 and 1, with
// drives, logical drives and a SAF-TE enclosure) and a previous one that
// also holds adapter 2, so that every path of the translation is reached.
// The first input byte sets the monitor's task flags; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ModelBuilder.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"

namespace {

// A library whose snapshots are the fixed configurations below.
class FuzzLib : public TarnellLib {
public:
    FuzzLib() : current(new TarnellSystem), old(new TarnellSystem)
    {
        build(*current, 2);
        build(*old, 3);
        currentSys = current.get();
        oldSys = old.get();
    }
    ~FuzzLib() override { currentSys = oldSys = nullptr; }

    static void build(TarnellSystem& system, unsigned long adapters)
    {
        for (unsigned long id = 0; id < adapters; ++id) {
            auto* a = new monitortest::TestAdapter(id);
            Channel* scsi = a->channel(0, SCSI);
            for (unsigned long n = 0; n < 4; ++n)
                a->drive(scsi, n);
            a->drive(a->channel(1, SCSI), 3);
            a->enclosure(scsi, 15)->setSafte(3, 2, 14);
            for (unsigned long n = 0; n < 3; ++n)
                a->logical(n, n % 2 ? RAID1E : RAID5E, 1536 * (n + 1));
            system.addChild(a);
        }
    }

    std::unique_ptr<TarnellSystem> current, old;
};

const char* const CATALOGUE = "eventArgController2 = {0}{1}, slot {2}\n"
                              "eventArgController = Controller {0}\n"
                              "eventArgControllerLogicalDrive = {0}, logical drive {1}\n"
                              "eventArgControllerScsiDevice = {0}, channel {1}, device {2}\n"
                              "eventArgEnclosureController = {0}, enclosure {1} {2}\n"
                              "eventArgControllerArray = {0}, array {1}\n"
                              "deviceArgFRU = FRU {0}\n"
                              "agentEventInfAddLogDrive = {0} added: {1}, RAID {2}\n"
                              "agentEventErrControllerFRU = {0} failed, FRU {1}\n"
                              "agentEventWrnMismatchedVersions = {0}: {1} {2} {3}\n"
                              "agentEventErrTempFail = {0} too hot\n";

void noSleep(long) {}

struct Fixture {
    Fixture()
    {
        BaseRaidMonitor::setSleepForTest(&noSleep);
        if (FILE* f = std::fopen("RaidNLS.properties", "w")) {
            std::fputs(CATALOGUE, f);
            std::fclose(f);
        }
        lib.reset(new FuzzLib);
        monitor.reset(new TarnellRaidMonitor(lib.get(), "./"));
    }
    ~Fixture()
    {
        monitor.reset();
        lib.reset();
    }
    std::unique_ptr<FuzzLib> lib;
    std::unique_ptr<TarnellRaidMonitor> monitor;
};

Fixture& fixture()
{
    static Fixture made;
    return made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fixture& f = fixture();
    TarnellRaidMonitor& m = *f.monitor;
    const uint8_t flags = size > 0 ? data[0] : 0;
    std::string text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);
    // The poll loop's texts end at their first NUL.
    text.resize(std::strlen(text.c_str()));

    uint32_t newest = 0;
    TarnellRaidMonitor::newestEventNumber(text.c_str(), newest);

    m.eventCategory = 1 + flags % 12;
    m.progressEventPending = (flags & 0x10) != 0;
    m.loggedEvents.clear();
    if (flags & 0x20)
        m.loggedEvents.push_back(LOGGED_EVENT_INFO{307, 0, 4});
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    m.GetEventFromXml(buffer.data(), f.lib->current->getAdapter(flags & 0x40 ? 1 : 0));
    m.getEvents(0);
    return 0;
}
