#ifndef TESTS_TARNELL_TARNELLCREATESCENARIO_H
#define TESTS_TARNELL_TARNELLCREATESCENARIO_H

// Helpers of the creation tests: controller 2 of the default scenario with
// its logical drives taken away and ready disks in every slot, the model of
// that controller with a hard drive for each of its disks, and requests.

#include <initializer_list>
#include <memory>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"

namespace tarnelltest {

const uint32_t DISK_36G = 71132000;
const uint32_t DISK_73G = 143374000;
const BLOCK_T BLOCKS_PER_MIB = 2048;

// Controller 2 without logical drives or tasks: channels 0 to 2 with ready
// disks at targets 0 to 7, 36G ones except 73G ones on channel 1.
inline tarnellsim::Controller blankController()
{
    tarnellsim::Controller c = tarnellsim::defaultScenario().controllers.at(0);
    c.drives.clear();
    c.subDrives.clear();
    c.tasks.clear();
    c.hasLastTask = false;
    c.devices.clear();
    for (uint8_t ch = 0; ch < 3; ++ch) {
        for (uint8_t tg = 0; tg < 8; ++tg) {
            tarnellsim::Device d;
            d.channel = ch;
            d.target = tg;
            d.state = DEVSTATE_READY;
            d.blocks = ch == 1 ? DISK_73G : DISK_36G;
            d.vendor = "ZEQ-XJP";
            d.model = "XJ36L320";
            d.firmware = "B24A";
            d.serial = "S";
            c.devices.push_back(d);
        }
    }
    c.logs.device.assign(3 * 16, 0);
    return c;
}

// A RAID-0 drive of one disk, already on the controller, as a scenario
// holds it (the disk is made online).
inline void addSimDrive(tarnellsim::Controller& c, uint8_t number, uint8_t arrayId, uint8_t ch, uint8_t tg)
{
    tarnellsim::LogicalDrive d;
    d.number = number;
    d.arrayId = arrayId;
    d.sizeSectors = 1000 * 2048;
    d.sequence = c.nextSequence++;
    tarnellsim::Chunk k;
    k.channel = ch;
    k.target = tg;
    k.sectorCount = d.sizeSectors;
    d.chunks.push_back(k);
    c.drives.push_back(d);
    for (auto& dev : c.devices)
        if (dev.channel == ch && dev.target == tg)
            dev.state = DEVSTATE_ONLINE;
}

inline void resetTo(const tarnellsim::Controller& c)
{
    tarnellsim::Scenario s;
    s.controllers.push_back(c);
    tarnellsim::reset(s);
}

// The model of the simulator's controller 2 as it is now: a hard drive of
// the simulator's size for every disk, and the adapter's logical-drive tables
// read from the controller, as the configuration build leaves them.
inline std::unique_ptr<SimController> modelOfController()
{
    std::unique_ptr<SimController> ctl(new SimController(CONTROLLER_A, TARNELL_B2));
    char vendor[] = "ZEQ-XJP", model[] = "XJ", serial[] = "S", fw[] = "F", fru[] = "R";
    for (const auto& c : tarnellsim::current().controllers) {
        if (c.number != CONTROLLER_A)
            continue;
        for (const auto& dev : c.devices) {
            if (dev.type != tarnellsim::DEVTYPE_DISK)
                continue;
            Channel* channel = ctl->channel(dev.channel);
            channel->addChild(new TarnellHardDrive(ctl->adapter, channel, dev.target, static_cast<int>(dev.blocks),
                                                   DRIVE_READY, vendor, model, serial, fw, false,
                                                   HARD_DRIVE_CACHE_MODE_WRITE_BACK, true, true, false, fru,
                                                   false, false));
        }
    }
    TarnellAdapter::updateTables(ctl->adapter, true, true);
    tarnellsim::clearCalls();
    return ctl;
}

struct Member {
    int channel;
    int device;
    BLOCK_T blocks;
    unsigned group;
};

inline LogicalDriveSpec requestOf(EnumRaidLevel level, std::initializer_list<Member> members,
                                  EnumInitMethod init = INIT_NONE,
                                  EnumLogicalDriveCacheMode writeCache = LD_CACHE_DISABLED)
{
    LogicalDriveSpec spec(level, STRIPE_NA, "new");
    spec.initMethod = init;
    spec.writeCacheSetting = writeCache;
    for (const Member& m : members)
        spec.addChunk(m.channel, m.device, 0, m.blocks, m.group, CHUNK_TYPE_DATA);
    return spec;
}

// The simulator's controller 2 as it is now.
inline tarnellsim::Controller simController()
{
    for (const auto& c : tarnellsim::current().controllers)
        if (c.number == CONTROLLER_A)
            return c;
    return tarnellsim::Controller();
}

} // namespace tarnelltest

#endif
