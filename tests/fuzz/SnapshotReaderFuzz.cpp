// libFuzzer target: arbitrary bytes read as a monitor's snapshot file through
// NRMConfigBuilder, the tree walked through the accessors the monitor's rules
// use, the monitor's rules run over it (its adapters compared with those of a
// fixed live tree built in code, both ways round, and checked on their own),
// written back (the read tree itself, and a snapshot built from it), and
// everything released. Besides the sanitizers' findings it traps when reading
// leaves no root, when a written snapshot does not read back with its
// controllers, and when an object outlives its tree.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "ModelBuilder.h"
#include "monitor/BaseRaidMonitor.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEnclosure.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSystem.h"

namespace {

const char* const INPUT = "SnapshotReaderFuzz.xml";
const char* const READ_BACK = "SnapshotReaderFuzz-read.xml";
const char* const REBUILT = "SnapshotReaderFuzz-rebuilt.xml";

std::vector<RaidObject*> all(const RaidObject* root, const char* className)
{
    std::vector<RaidObject*> found;
    root->getChildren(found, className, true, true);
    return found;
}

// Reads what the rules read of every object; the sum keeps it from being
// optimised away.
uint64_t walk(NRMSystem* root)
{
    uint64_t sum = 0;
    for (unsigned long i = 0; i < root->getNumAdapters(); ++i) {
        Adapter* a = root->getAdapter(i);
        sum += a->getAdapterID() + a->getAdapterStatus() + a->getBatStatus() + a->IsBatTempWarning() +
               a->getVersionMatchStatus() + a->getPCIBus() + a->getPciDevice() + a->getPCIFunction() +
               a->getPhysicalSlot() + a->getLimit(MAX_CONTROLLERS);
        for (const char* text : {a->getSerialNumString(), a->getDeviceName(), a->getDeviceVendor(),
                                 static_cast<const char*>(a->getBiosVersion())})
            sum += text ? text[0] : 0;
        for (uint32_t n = 0; n < a->getNumHardDrives(); ++n) {
            HardDrive* d = a->getHardDrive(n);
            sum += d->getState() + d->getPfaError() + d->getSize() + d->getFruNumber()[0] +
                   d->getSerialNumber()[0] + (d->getChannel() ? d->getChannel()->getChannelID() : 0);
        }
        for (RaidObject* o : all(a, "LogicalDrive")) {
            auto* l = static_cast<LogicalDrive*>(o);
            sum += l->getState() + l->getBlockedAccess() + l->getBadBlockCount() + l->getSecondaryLogicals()[0] +
                   (l->getAdapter() ? l->getAdapter()->getAdapterID() : 0);
        }
        for (uint32_t n = 0; n < a->getNumEnclosures(); ++n) {
            auto* e = a->getEnclosure<NRMEnclosure>(n);
            sum += e->getFanCount() + e->getPowerSupplyCount() + e->isTempOutOfRange() + e->getModel()[0];
            for (unsigned short k = 0; k <= 33; ++k)
                sum += e->getFanStatus(k) + e->getPowerSupplyStatus(k);
            for (int slot = -1; slot <= 64; ++slot)
                sum += e->getDeviceIDFromSlotNumber(slot) + e->getSlotNumberFromDeviceID(slot);
        }
        for (uint32_t n = 0; n < a->getNumSES2Enclosures(); ++n) {
            SES2EnclosureDevice* e = a->getSES2Enclosure(n);
            sum += e->isSESDataValid() + e->isTempOutOfRange() + static_cast<uint32_t>(e->getCelciusTemperature());
            for (unsigned short k = 0; k <= e->getFanCount() || k <= e->getPowerSupplyCount(); ++k)
                sum += e->getFanStatus(k) + e->getPowerSupplyStatus(k);
            for (unsigned long k = 0; k < e->getNumSESElements(); ++k)
                sum += e->getSESElement(k)->getDescriptor()[0];
        }
        for (RaidObject* o : a->getSASPhys()) {
            auto* p = static_cast<SASPhy*>(o);
            sum += p->getPhyID() + p->getSASAddress()[0] + p->getAttachedSASaddress()[0] + p->getRoutingType();
        }
    }
    for (RaidObject* o : all(root, "Progress")) {
        auto* p = static_cast<NRMProgress*>(o);
        sum += p->taskID + p->percentageComplete + p->address.getAdapterID() + p->adapterSerial.size();
    }
    return sum;
}

// A monitor of its own for the rules, its files in the current directory,
// with a small catalogue whose texts take parameters.
class FuzzMonitor final : public BaseRaidMonitor {
public:
    FuzzMonitor() : BaseRaidMonitor(nullptr, "fuzz-debug.log", "fuzz-events.log", "fuzz-config.xml", "./") {}
    int poll(int, NRMEventCollection&) override { return 0; }
    void run() override {}
    void stop() override {}
    void start() override {}
};

const char* const CATALOGUE = "eventArgController2 = {0}{1}, slot {2}\n"
                              "eventArgController = Controller {0}\n"
                              "eventArgControllerLogicalDrive = {0}, logical drive {1}\n"
                              "eventArgControllerScsiDevice = {0}, channel {1}, device {2}\n"
                              "eventArgControllerSATADevice = {0}, port {1}\n"
                              "eventArgControllerSASDeviceWWN = {0}, drive WWN {1}\n"
                              "deviceArgFRU = FRU {0}\n"
                              "agentEventInfDriveStateChange = {0} changed. {1}\n"
                              "agentEventInfLogicalStateChange = {0} changed.\n"
                              "agentEventInfAddLogDrive = {0} added: {1}, RAID {2}{3}.\n"
                              "agentEventWrnMismatchedVersions = {0}: {1} {2} {3}\n";

FuzzMonitor& monitor()
{
    static std::unique_ptr<FuzzMonitor> made;
    if (!made) {
        if (FILE* f = std::fopen("RaidNLS.properties", "w")) {
            std::fputs(CATALOGUE, f);
            std::fclose(f);
        }
        made.reset(new FuzzMonitor());
    }
    return *made;
}

// The live side of the comparisons: two adapters (ids 0 and 1, the ids of
// the seeds' controllers) with drives and logical drives in most states,
// channels of every type, a SAF-TE and an SES-2 enclosure.
monitortest::TestAdapter* liveAdapter(unsigned long id)
{
    using namespace monitortest;
    auto* a = new TestAdapter(id, id == 0 ? "TarnellAdapter" : "VeskAdapter");
    a->describe("ZEQ", "Live", id == 0 ? "ZQA3120045" : "", 3);
    a->setLimit(MAX_LOGICAL_DRIVES, 8);
    a->setBattery(id == 0 ? BATTERY_STATUS_CHARGING : BATTERY_STATUS_FAILED);
    a->setBatteryWarning(id == 1);
    a->setVersions(CODE_VERSION_NO_MATCH, "B", "F", "D");
    a->setHeat(true, 70, 60);
    Channel* scsi = a->channel(0, SCSI);
    const EnumPhysicalDeviceState states[] = {DRIVE_READY, DRIVE_ONLINE, DRIVE_DEAD, DEVICE_STANDBY, DRIVE_SPARE,
                                              DRIVE_REBUILDING, DRIVE_PARTITIONED_SINGLE, DRIVE_EMPTY};
    for (unsigned long n = 0; n < 8; ++n) {
        TestDrive* d = a->drive(scsi, n);
        d->setStateProperty(states[n]);
        d->setPfa(n % 3 != 0, n % 2 == 0);
        if (n % 4 == 1)
            d->setVendor("NORVEX");
        if (n % 5 == 2)
            d->setFruNumber("");
    }
    a->drive(a->channel(1, SATA), 2)->setSataPort(1);
    Channel* sas = a->channel(2, SAS);
    a->drive(sas, 3)->addChild(newPhy(0, "5000C50000000A00", 4, "500605B000000001"));
    a->drive(nullptr, 9);
    a->enclosure(scsi, 15)->setSafte(3, 2, 14).ucFanStatus[1] = 1;
    a->slotElement(a->ses2Enclosure(sas, 14), "SLOT 3", "5000C50000000A00", "500605B000000001");
    const EnumLogicalDeviceState logicalStates[] = {OKAY, CRITICAL, OFFLINE, FREE, SYSTEM, CRITICAL_MIGRATING};
    for (unsigned long n = 0; n < 6; ++n) {
        TestLogicalDrive* l = a->logical(n, n % 2 ? RAID1E : RAID5, 20480 * (n + 1));
        l->setStatus(logicalStates[n], n == 2);
        l->setBadStripes(n == 1 ? 1 : 0);
    }
    return a;
}

System& liveTree()
{
    static std::unique_ptr<NRMSystem> tree;
    if (!tree) {
        tree.reset(new NRMSystem(STORLIB_UNKNOWN));
        tree->addChild(liveAdapter(0));
        tree->addChild(liveAdapter(1));
    }
    return *tree;
}

// The rules over the read tree: each adapter compared with the live one of
// its id (or the first live one), both ways round, and checked. Every
// reminder is due at each input, so the timed steps run too.
void runRules(NRMSystem* read)
{
    FuzzMonitor& m = monitor();
    System& live = liveTree();
    NRMEventCollection events("", NRMEventCollection::MIN_SIZE, NRM_EVENT_TASK_RUNNING);
    for (unsigned long i = 0; i < read->getNumAdapters(); ++i) {
        for (ReportTimer* timer : {&m.unsupportedDrivesTimer, &m.criticalLogicalDrivesTimer, &m.sasDriveMapTimer,
                                   &m.badStripeTimer})
            timer->lastReport = 0;
        Adapter* stored = read->getAdapter(i);
        Adapter* other = live.getAdapter(stored->getAdapterID() == 1 ? 1 : 0);
        m.compareAdapter(events, other, stored);
        m.comparePhysicalDrives(events, other, stored);
        m.compareLogicalDrives(events, other, stored);
        m.compareSafte(events, other, stored);
        m.compareAdapter(events, stored, other);
        m.comparePhysicalDrives(events, stored, other);
        m.compareLogicalDrives(events, stored, other);
        m.compareSafte(events, stored, other);
        m.checkAdapter(events, stored);
        m.checkPhysicalDrives(events, stored);
        m.checkLogicalDrives(events, stored);
        m.checkSafte(events, stored);
        m.logSASDriveMap(events, stored);
    }
    volatile int queued = events.getNumberOfEvents();
    (void)queued;
}

NRMProgressCollection* firstTaskList(const NRMSystem* root)
{
    std::vector<RaidObject*> lists = all(root, "ProgressCollection");
    return lists.empty() ? nullptr : static_cast<NRMProgressCollection*>(lists.front());
}

unsigned long adaptersIn(const char* file)
{
    NRMConfigBuilder reader(file);
    reader.readXML();
    if (!reader.nrmSystem)
        __builtin_trap();
    return reader.nrmSystem->getNumAdapters();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The objects that live across inputs exist before the count.
    monitor();
    liveTree();
    const uint32_t liveBefore = globalRaidObjectCounter;
    FILE* f = std::fopen(INPUT, "wb");
    if (!f)
        return 0;
    const bool stored = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !stored)
        return 0;

    unsigned long adapters = 0;
    {
        NRMConfigBuilder builder(INPUT);
        builder.readXML();
        if (!builder.nrmSystem)
            __builtin_trap();
        volatile uint64_t sink = walk(builder.nrmSystem);
        (void)sink;
        runRules(builder.nrmSystem);
        adapters = builder.nrmSystem->getNumAdapters();

        NRMConfigBuilder rebuilt(REBUILT);
        rebuilt.build(builder.nrmSystem, firstTaskList(builder.nrmSystem));
        rebuilt.writeXML();
        builder.resetConfigFile(READ_BACK);
        builder.writeXML();
    }
    // Whatever was read is written as a whole snapshot.
    if (adaptersIn(READ_BACK) != adapters || adaptersIn(REBUILT) != adapters)
        __builtin_trap();

    if (globalRaidObjectCounter != liveBefore)
        __builtin_trap(); // an object outlived its tree
    return 0;
}
