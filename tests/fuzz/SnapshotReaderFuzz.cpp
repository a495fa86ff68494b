// libFuzzer target: arbitrary bytes read as a monitor's snapshot file through
// NRMConfigBuilder, the tree walked through the accessors the monitor's rules
// use, written back (the read tree itself, and a snapshot built from it), and
// everything released. Besides the sanitizers' findings it traps when reading
// leaves no root, when a written snapshot does not read back with its
// controllers, and when an object outlives its tree.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
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
