// The simulated controller library, driven through its C entry points and its
// control interface.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "TarnellSim.h"
#include "storagedll/tarnellapi.h"

namespace {

_STORAGE_ADDRESS_ID adapterAddr(uint16_t adapter) {
    _STORAGE_ADDRESS_ID a;
    std::memset(&a, 0, sizeof a);
    a.usAdapterID = adapter;
    return a;
}

_STORAGE_ADDRESS_ID deviceAddr(uint16_t adapter, uint16_t channel, uint16_t target) {
    _STORAGE_ADDRESS_ID a = adapterAddr(adapter);
    a.usChannelID = channel;
    a.usPhysDevID = target;
    return a;
}

_STORAGE_ADDRESS_ID driveAddr(uint16_t adapter, uint16_t number, uint16_t arrayId) {
    _STORAGE_ADDRESS_ID a = adapterAddr(adapter);
    a.usVirtDevID = number;
    a.usArrayID = arrayId;
    return a;
}

_ADAPTER_CONFIG readConfig(uint16_t adapter) {
    _ADAPTER_CONFIG cfg;
    uint32_t len = 0;
    EXPECT_EQ(0, GetAdapterRaidConfig(adapterAddr(adapter), &cfg, sizeof cfg, len, 0).iReturnCode);
    EXPECT_EQ(sizeof cfg, len);
    return cfg;
}

uint8_t deviceState(uint16_t adapter, uint16_t channel, uint16_t target) {
    uint8_t state = 0xEE;
    EXPECT_EQ(0, GetPhysDevState(deviceAddr(adapter, channel, target), state).iReturnCode);
    return state;
}

_REBUILD_STATUS progress(uint16_t adapter) {
    _REBUILD_STATUS r;
    EXPECT_EQ(0, CheckProgress(adapterAddr(adapter), r, 0).iReturnCode);
    return r;
}

unsigned percentDone(const _REBUILD_STATUS& r) {
    const _SIZERMAIN& s = r.sVirtualDrive[r.ucVirtualDriveIndex & 7];
    return s.ulVirtDriveSize ? unsigned(uint64_t(s.ulVirtDriveSize - s.ulRemainingBlocks) * 100 / s.ulVirtDriveSize)
                             : 0;
}

std::vector<_VIRT_DRV_PARMS> ldTable(uint16_t adapter, uint32_t which) {
    uint32_t len = 0;
    EXPECT_EQ(0, GetVirtDevLdTable(adapterAddr(adapter), len, nullptr, 0, which).iReturnCode);
    std::vector<_VIRT_DRV_PARMS> table(len / sizeof(_VIRT_DRV_PARMS));
    const uint32_t size = uint32_t(table.size() * sizeof(_VIRT_DRV_PARMS));
    EXPECT_EQ(0, GetVirtDevLdTable(adapterAddr(adapter), len, table.data(), size, which).iReturnCode);
    return table;
}

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override { tarnellsim::reset(); }
};

// The built-in scenario holds what the family has to show, laid out so that no
// two extents share a sector and every extent lies on a disk that carries it.
TEST_F(SimulatorTest, DefaultScenarioIsCompleteAndConsistent) {
    tarnellsim::Scenario s = tarnellsim::current();
    ASSERT_EQ(2u, s.controllers.size());
    EXPECT_EQ(2, s.controllers[0].number);
    EXPECT_EQ(5, s.controllers[1].number);
    std::set<uint8_t> deviceStates, levels;
    bool spanned = false, rebuildRunning = false, enclosure = false;
    for (auto& c : s.controllers) {
        SCOPED_TRACE(c.number);
        EXPECT_FALSE(c.logs.soft.empty());
        for (auto& d : c.devices) {
            deviceStates.insert(d.state);
            enclosure |= d.type == tarnellsim::DEVTYPE_ENCLOSURE;
        }
        for (auto& t : c.tasks) rebuildRunning |= t.kind == tarnellsim::Task::REBUILD;
        struct Extent { uint8_t ch, tg; uint64_t from, to; };
        std::vector<Extent> extents;
        std::set<unsigned> numbers, slots;
        for (auto* list : {&c.drives, &c.subDrives})
            for (auto& d : *list) {
                EXPECT_TRUE((list == &c.drives ? numbers : slots).insert(d.number).second);
                EXPECT_LT(d.number, 8);
                if (d.spanned) {
                    spanned = true;
                    for (auto& k : d.chunks)
                        EXPECT_TRUE(std::any_of(c.subDrives.begin(), c.subDrives.end(),
                                                [&](const tarnellsim::LogicalDrive& x) { return x.number == k.target; }));
                    continue;
                }
                levels.insert(uint8_t(d.raidCode << 4 | (d.params >> 6) | (d.chunks.size() > 2 ? 8 : 0)));
                for (auto& k : d.chunks) {
                    auto dev = std::find_if(c.devices.begin(), c.devices.end(), [&](const tarnellsim::Device& x) {
                        return x.channel == k.channel && x.target == k.target;
                    });
                    ASSERT_NE(c.devices.end(), dev);
                    EXPECT_EQ(tarnellsim::DEVTYPE_DISK, dev->type);
                    EXPECT_TRUE(dev->state == DEVSTATE_ONLINE || dev->state == DEVSTATE_REBUILDING);
                    EXPECT_LE(uint64_t(k.startSector) + k.sectorCount, dev->blocks);
                    for (auto& e : extents) {
                        if (e.ch == k.channel && e.tg == k.target) {
                            EXPECT_TRUE(k.startSector >= e.to || k.startSector + uint64_t(k.sectorCount) <= e.from);
                        }
                    }
                    extents.push_back({k.channel, k.target, k.startSector, uint64_t(k.startSector) + k.sectorCount});
                }
            }
    }
    for (uint8_t st : {DEVSTATE_ONLINE, DEVSTATE_READY, DEVSTATE_HOT_SPARE, DEVSTATE_DEAD, DEVSTATE_REBUILDING})
        EXPECT_TRUE(deviceStates.count(st)) << int(st);
    EXPECT_GE(levels.size(), 5u);   // RAID-0, 1, 1E, 5, 5EE
    EXPECT_TRUE(spanned);
    EXPECT_TRUE(rebuildRunning);
    EXPECT_TRUE(enclosure);
}

// Full controllers: every slot of 4 channels holds an online disk, and the 8
// drives cover each disk exactly once.
TEST_F(SimulatorTest, FullScenarioFillsEveryControllerCompletely) {
    tarnellsim::reset(tarnellsim::fullScenario(3));
    uint16_t count = 0;
    EXPECT_EQ(0, SupportedAdapterCount(adapterAddr(0), count, nullptr, 0).iReturnCode);
    EXPECT_EQ(3, count);
    for (uint16_t n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        _ADAPTER_CONFIG cfg = readConfig(n);
        EXPECT_EQ(8, cfg.ucNoOfVirtDrives);
        for (uint16_t ch = 0; ch < 4; ++ch)
            for (uint16_t tg = 0; tg < 16; ++tg)
                EXPECT_EQ(DEVSTATE_ONLINE, deviceState(n, ch, tg)) << ch << ":" << tg;
        std::set<unsigned> disks;
        const tarnellsim::Scenario now = tarnellsim::current();
        for (auto& d : now.controllers[n].drives) {
            EXPECT_EQ(5, d.raidCode);
            EXPECT_EQ(8u, d.chunks.size());
            for (auto& k : d.chunks) EXPECT_TRUE(disks.insert(k.channel * 16u + k.target).second);
        }
        EXPECT_EQ(64u, disks.size());
    }
    EXPECT_TRUE(tarnellsim::fullScenario(0).controllers.empty());
}

// Every disk of a scenario has a serial number of its own, eight characters
// at most (the width of the device record's field); the first hundred
// controllers keep the serial numbers that measurements and monitors saw
// before larger scenarios needed more.
TEST_F(SimulatorTest, FullScenarioDiskSerialsAreUniqueForEveryControllerCount) {
    const tarnellsim::Scenario s = tarnellsim::fullScenario(260);
    std::set<std::string> serials;
    for (const auto& c : s.controllers)
        for (const auto& d : c.devices) {
            EXPECT_LE(d.serial.size(), 8u) << d.serial;
            EXPECT_TRUE(serials.insert(d.serial).second) << d.serial;
        }
    EXPECT_EQ(260u * 64u, serials.size());
    struct Case {
        unsigned controller, device;
        const char* serial;
    } cases[] = {
        {0, 0, "7VF00000"}, {5, 2 * 16 + 11, "7VF05211"}, {99, 63, "7VF99315"},
        {100, 0, "7X006400"}, {259, 3 * 16 + 15, "7X01033F"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.serial, s.controllers[c.controller].devices[c.device].serial) << c.controller;
}

TEST_F(SimulatorTest, CountAndListCallsAnswerTheCountAndFillAtMostTheGivenSize) {
    _STORAGE_ADDRESS_ID none = adapterAddr(0);
    uint16_t count = 0;
    EXPECT_EQ(0, SupportedAdapterCount(none, count, nullptr, 0).iReturnCode);
    EXPECT_EQ(2, count);

    // Room for one address: the count is still the whole, the rest untouched.
    _STORAGE_ADDRESS_ID list[3];
    std::memset(list, 0xAB, sizeof list);
    EXPECT_EQ(0, SupportedAdapterCount(none, count, list, sizeof list[0]).iReturnCode);
    EXPECT_EQ(2, count);
    EXPECT_EQ(2, list[0].usAdapterID);
    EXPECT_EQ(0xABAB, list[1].usAdapterID);

    EXPECT_EQ(0, SupportedAdapterCount(none, count, list, 2 * sizeof list[0]).iReturnCode);
    EXPECT_EQ(5, list[1].usAdapterID);   // C-API numbers are not contiguous

    _STORAGE_ADDRESS_ID drives[8];
    EXPECT_EQ(0, GetVirtDevCount(adapterAddr(2), count, drives, sizeof drives).iReturnCode);
    ASSERT_EQ(5, count);
    for (uint16_t i = 0; i < count; ++i) EXPECT_EQ(i, drives[i].usVirtDevID);
    EXPECT_EQ(tarnellsim::RC_NO_ADAPTER, GetVirtDevCount(adapterAddr(3), count, nullptr, 0).iReturnCode);
}

TEST_F(SimulatorTest, CreatedLogicalDriveAppearsInTheNextConfigurationRead) {
    // A RAID-1 over two ready disks; array 0 is taken, so the controller picks
    // the lowest free array id (0-2 hold top-level drives, 3 and 4 sub-drives).
    _STORAGE_ADDRESS_ID disks[2] = {deviceAddr(2, 0, 6), deviceAddr(2, 1, 4)};
    int changed = 0;
    GetAdapterChangeStatus(changed);
    ASSERT_EQ(0, CreateVirtDev(driveAddr(2, 5, 0), 1, 10000, 0, 2, disks, 0).iReturnCode);

    _ADAPTER_CONFIG cfg = readConfig(2);
    EXPECT_EQ(6, cfg.ucNoOfVirtDrives);
    const _VIRT_DRV_PARMS& d = cfg.sVirtDrv[5];
    EXPECT_EQ(3, d.ucState);
    EXPECT_EQ(1u, d.getRaidCode());
    EXPECT_EQ(5u, d.getArrayId());
    EXPECT_EQ(10000u * 2048, d.ulVirtDriveSize);
    ASSERT_EQ(2, d.ucNoOfChunkUnits);
    EXPECT_EQ(0, d.sChunk[0].ucChannel);
    EXPECT_EQ(6, d.sChunk[0].ucTarget);
    EXPECT_EQ(10000u * 2048, d.sChunk[1].ulNoOfSect);
    EXPECT_EQ(DEVSTATE_ONLINE, cfg.sDevState[0][6].ucState);
    EXPECT_EQ(DEVSTATE_ONLINE, cfg.sDevState[1][4].ucState);
    EXPECT_EQ(0, GetAdapterChangeStatus(changed).iReturnCode);
    EXPECT_EQ(1, changed);
    GetAdapterChangeStatus(changed);
    EXPECT_EQ(0, changed);

    // The write policy of one drive, then deleting it frees its disks.
    _STORAGE_ADDRESS_ID policy = driveAddr(2, 5, 5);
    policy.ulMap = STADDR_MAP_VIRT_DEV;
    EXPECT_EQ(0, SetWritePolicy(policy, 1).iReturnCode);
    EXPECT_TRUE(readConfig(2).sVirtDrv[5].isWriteCacheOn());
    EXPECT_EQ(0, DeleteVirtDev(driveAddr(2, 5, 5)).iReturnCode);
    cfg = readConfig(2);
    EXPECT_EQ(0, cfg.sVirtDrv[5].ucState);
    EXPECT_EQ(DEVSTATE_READY, cfg.sDevState[0][6].ucState);

    // Only the last drive of an array can be deleted.
    EXPECT_EQ(tarnellsim::RC_INVALID_STATE, DeleteVirtDev(driveAddr(2, 0, 0)).iReturnCode);
    EXPECT_EQ(0, DeleteVirtDev(driveAddr(2, 1, 0)).iReturnCode);
}

TEST_F(SimulatorTest, SpannedDriveSpansTheSubLogicalDrivesCreatedForIt) {
    tarnellsim::Scenario s = tarnellsim::defaultScenario();
    for (uint8_t t = 8; t < 12; ++t) {
        tarnellsim::Device d;
        d.channel = 2;
        d.target = t;
        d.blocks = 71132000;
        d.vendor = "ZEQ-XJP";
        s.controllers[0].devices.push_back(d);
    }
    tarnellsim::reset(s);

    // Two RAID-1 sub-logical drives in the free SLD slots 2 and 3, then the
    // RAID-10 drive over them as top-level drive 5 of spanned array 1.
    _STORAGE_ADDRESS_ID g0[2] = {deviceAddr(2, 2, 8), deviceAddr(2, 2, 9)};
    _STORAGE_ADDRESS_ID g1[2] = {deviceAddr(2, 2, 10), deviceAddr(2, 2, 11)};
    ASSERT_EQ(0, CreateVirtDev(driveAddr(2, 2, 0), 1, 30000, 0, 2, g0, 2).iReturnCode);
    ASSERT_EQ(0, CreateVirtDev(driveAddr(2, 3, 0), 1, 30000, 0, 2, g1, 2).iReturnCode);
    _STORAGE_ADDRESS_ID subs[2] = {driveAddr(2, 2, 0), driveAddr(2, 3, 0)};
    ASSERT_EQ(0, CreateVirtDevHld(driveAddr(2, 5, 1), 60000, 2, subs).iReturnCode);

    auto sld = ldTable(2, LD_TABLE_SLD);
    ASSERT_EQ(8u, sld.size());
    EXPECT_EQ(3, sld[2].ucState);
    EXPECT_EQ(3, sld[3].ucState);
    EXPECT_NE(sld[2].getArrayId(), sld[3].getArrayId());
    for (unsigned top : {0u, 1u, 2u}) {   // arrays of top-level drives are not reused
        EXPECT_NE(top, sld[2].getArrayId());
        EXPECT_NE(top, sld[3].getArrayId());
    }
    _ADAPTER_CONFIG cfg = readConfig(2);
    const _VIRT_DRV_PARMS& h = cfg.sVirtDrv[5];
    EXPECT_TRUE(h.isSpanned());
    EXPECT_EQ(1u, h.getArrayId());
    ASSERT_EQ(2, h.ucNoOfChunkUnits);
    EXPECT_EQ(2, h.sChunk[0].ucTarget);
    EXPECT_EQ(3, h.sChunk[1].ucTarget);
    auto hld = ldTable(2, LD_TABLE_HLD);
    EXPECT_TRUE(hld[5].isSpanned());   // drives 0-5 in number order

    // A spanned drive that is the last of its array takes its sub-drives along.
    EXPECT_EQ(0, DeleteVirtDev(driveAddr(2, 5, 1)).iReturnCode);
    sld = ldTable(2, LD_TABLE_SLD);
    EXPECT_EQ(0, sld[2].ucState);
    EXPECT_EQ(DEVSTATE_READY, deviceState(2, 2, 8));
}

TEST_F(SimulatorTest, RebuildAdvancesOnTheClockToCompletion) {
    _REBUILD_STATUS r = progress(2);
    EXPECT_EQ(TASK_OPCODE_REBUILD, r.ucOpcode);
    EXPECT_EQ(TASK_QUAL_REBUILD, r.ucSubOpcodeQualifier);
    EXPECT_EQ(3, r.ucVirtDriveNumber);
    EXPECT_EQ(1, r.ucDevChnID);
    EXPECT_EQ(3, r.ucDevTgtID);
    EXPECT_TRUE(isTaskStatusActive(r.ucStatus));
    EXPECT_EQ(35u, percentDone(r));
    EXPECT_EQ(4, readConfig(2).sVirtDrv[3].ucState);   // critical

    tarnellsim::advanceClock(600);
    r = progress(2);
    EXPECT_TRUE(isTaskStatusActive(r.ucStatus));
    EXPECT_GT(percentDone(r), 35u);
    EXPECT_LT(percentDone(r), 100u);

    tarnellsim::advanceClock(24 * 3600);
    r = progress(2);
    EXPECT_EQ(0x00, r.ucStatus);   // the last task ended well
    EXPECT_EQ(3, r.ucVirtDriveNumber);
    EXPECT_EQ(DEVSTATE_ONLINE, deviceState(2, 1, 3));
    EXPECT_EQ(3, readConfig(2).sVirtDrv[3].ucState);
}

TEST_F(SimulatorTest, FailedMemberIsReplacedByTheHotSpareAndCopiedBackLater) {
    tarnellsim::advanceClock(24 * 3600);   // let the scenario's rebuild finish first
    ASSERT_EQ(0, SetPhysDevState(deviceAddr(2, 0, 0), DEVSTATE_DEAD).iReturnCode);

    // The spare takes the failed disk's place in both drives of array 0.
    _ADAPTER_CONFIG cfg = readConfig(2);
    EXPECT_EQ(4, cfg.sVirtDrv[0].ucState);   // RAID-5: critical
    EXPECT_EQ(2, cfg.sVirtDrv[1].ucState);   // RAID-0: offline
    EXPECT_EQ(5, cfg.sVirtDrv[0].sChunk[0].ucTarget);
    EXPECT_EQ(DEVSTATE_REBUILDING, cfg.sDevState[0][5].ucState);
    _REBUILD_STATUS r = progress(2);
    EXPECT_EQ(0, r.ucVirtDriveNumber);
    EXPECT_EQ(5, r.ucDevTgtID);

    tarnellsim::advanceClock(24 * 3600);
    cfg = readConfig(2);
    EXPECT_EQ(3, cfg.sVirtDrv[0].ucState);
    EXPECT_EQ(3, cfg.sVirtDrv[1].ucState);
    EXPECT_EQ(DEVSTATE_ONLINE, cfg.sDevState[0][5].ucState);
    _ENQUIRY_BBCACHE enq;
    uint32_t in = 0, out = 0, sense = 0;
    uint8_t cmd[16] = {0x05};
    ASSERT_EQ(0, ExecAdapterCmnd(adapterAddr(2), cmd, 16, in, out, sense, &enq, sizeof enq, nullptr, 0, nullptr, 0,
                                 60, 1, 1, 0)
                     .iReturnCode);
    EXPECT_EQ(0x02, enq.sEnquiry.ucBlockedDriveFlag);   // the RAID-0 drive lost its data

    // A new disk in the failed one's slot takes the data back (copy-back is on).
    ASSERT_EQ(0, SetPhysDevState(deviceAddr(2, 0, 0), DEVSTATE_READY).iReturnCode);
    r = progress(2);
    EXPECT_EQ(TASK_QUAL_COPYBACK, r.ucSubOpcodeQualifier);
    EXPECT_EQ(0, r.ucDevTgtID);
    EXPECT_EQ(5, r.ucDevTgtIDf);
    tarnellsim::advanceClock(24 * 3600);
    EXPECT_EQ(DEVSTATE_ONLINE, deviceState(2, 0, 0));
    EXPECT_EQ(DEVSTATE_HOT_SPARE, deviceState(2, 0, 5));
    EXPECT_EQ(0, readConfig(2).sVirtDrv[0].sChunk[0].ucTarget);
}

TEST_F(SimulatorTest, ExpansionAndMigrationRestripeTheArrayBehindAMigrationTask) {
    // Array 1 of adapter 2 (RAID-1 drive 2 on two disks) grows by a third disk:
    // the drive keeps its data and becomes RAID-1E, with free space behind it.
    _STORAGE_ADDRESS_ID added[1] = {deviceAddr(2, 1, 4)};
    _ARRAY_SIZE zeroSize = {};
    tarnellsim::advanceClock(24 * 3600);   // the scenario's rebuild first
    ASSERT_EQ(0, IncreaseArraySize(driveAddr(2, 0, 1), zeroSize, added, 1).iReturnCode);
    _ADAPTER_CONFIG cfg = readConfig(2);
    EXPECT_EQ(5, cfg.sVirtDrv[2].ucState);   // migrating
    EXPECT_EQ(3, cfg.sVirtDrv[2].ucNoOfChunkUnits);
    EXPECT_EQ(30000u * 2048, cfg.sVirtDrv[2].ulVirtDriveSize);
    EXPECT_EQ(2u * 30000 * 2048 / 3, cfg.sVirtDrv[2].sChunk[0].ulNoOfSect);
    EXPECT_EQ(6, cfg.sVirtDrv[5].ucState);   // the controller's system drive meanwhile
    EXPECT_EQ(TASK_OPCODE_MIGRATION, progress(2).ucOpcode);
    tarnellsim::advanceClock(24 * 3600);
    cfg = readConfig(2);
    EXPECT_EQ(3, cfg.sVirtDrv[2].ucState);
    EXPECT_EQ(0, cfg.sVirtDrv[5].ucState);

    // The RAID-0 drive 3 of adapter 5 migrates to RAID-5 with one more disk.
    _STORAGE_ADDRESS_ID disk[1] = {deviceAddr(5, 0, 7)};
    EXPECT_EQ(tarnellsim::RC_NOT_SUPPORTED, ModifyArrayRaidLevel(driveAddr(5, 0, 4), 1, disk, 1).iReturnCode);
    ASSERT_EQ(0, ModifyArrayRaidLevel(driveAddr(5, 0, 4), 5, disk, 1).iReturnCode);
    tarnellsim::advanceClock(24 * 3600);
    _ADAPTER_CONFIG cfg5 = readConfig(5);
    const _VIRT_DRV_PARMS& d = cfg5.sVirtDrv[3];
    EXPECT_EQ(5u, d.getRaidCode());
    EXPECT_EQ(3, d.ucNoOfChunkUnits);
    EXPECT_EQ(50000u * 2048, d.ulVirtDriveSize);
    EXPECT_EQ(3, d.ucState);
}

// Drive 2 of adapter 5 (RAID-1E on three disks) grows by a fourth. The
// controller's drive list is full, so the system drive the growth adds moves
// the drives while the growth still marks them.
TEST_F(SimulatorTest, DriveGrowsOnAControllerWhoseDriveListIsFull) {
    _STORAGE_ADDRESS_ID added[1] = {deviceAddr(5, 1, 10)};
    _DEVICE_SIZE zeroSize = {};
    ASSERT_EQ(0, IncreaseVirtDevSizes(driveAddr(5, 2, 3), zeroSize, added, 1).iReturnCode);
    _ADAPTER_CONFIG cfg = readConfig(5);
    EXPECT_EQ(5, cfg.sVirtDrv[2].ucState);   // migrating
    EXPECT_EQ(4, cfg.sVirtDrv[2].ucNoOfChunkUnits);
    EXPECT_GT(cfg.sVirtDrv[2].ulVirtDriveSize, 90000u * 2048);
    EXPECT_EQ(6, cfg.sVirtDrv[4].ucState);   // the controller's system drive meanwhile
    tarnellsim::advanceClock(24 * 3600);
    cfg = readConfig(5);
    EXPECT_EQ(3, cfg.sVirtDrv[2].ucState);
    EXPECT_EQ(0, cfg.sVirtDrv[4].ucState);
}

TEST_F(SimulatorTest, SettingsAndHotSparesShowInTheConfiguration) {
    _STORAGE_ADDRESS_ID a = adapterAddr(2);
    a.ulMap = STADDR_MAP_ADAPTER_WIDE;
    EXPECT_EQ(0, SetReadAheadMode(a, 0).iReturnCode);
    EXPECT_EQ(0, SetCopyBackMode(adapterAddr(2), 0).iReturnCode);
    EXPECT_EQ(0, SetStripeSliceSize(adapterAddr(2), 16).iReturnCode);
    EXPECT_EQ(tarnellsim::RC_BAD_PARAMETER, SetStripeSliceSize(adapterAddr(2), 5).iReturnCode);
    EXPECT_EQ(0, SetPhysDevState(deviceAddr(2, 1, 4), DEVSTATE_HOT_SPARE).iReturnCode);
    _ADAPTER_CONFIG cfg = readConfig(2);
    EXPECT_EQ(VDP_PARAM_READ_AHEAD_OFF, cfg.sVirtDrv[0].ucParams & VDP_PARAM_READ_AHEAD_OFF);
    EXPECT_EQ(0u, cfg.sUserOpts.uiCopyBackEnabled());
    EXPECT_EQ(5, cfg.sVirtDrv[0].ucStripeSize);
    EXPECT_EQ(DEVSTATE_HOT_SPARE, cfg.sDevState[1][4].ucState);
    EXPECT_EQ(0, SetPhysDevState(deviceAddr(2, 1, 4), DEVSTATE_READY).iReturnCode);
    EXPECT_EQ(DEVSTATE_READY, deviceState(2, 1, 4));
}

TEST_F(SimulatorTest, InjectedFailureReachesTheCaller) {
    tarnellsim::injectFailure("GetAdapterRaidConfig", 77, 5);
    _ADAPTER_CONFIG cfg;
    uint32_t len = 0;
    EXPECT_EQ(0, GetAdapterRaidConfig(adapterAddr(2), &cfg, sizeof cfg, len, 0).iReturnCode);
    len = 1234;
    EXPECT_EQ(77, GetAdapterRaidConfig(adapterAddr(5), &cfg, sizeof cfg, len, 0).iReturnCode);
    EXPECT_EQ(1234u, len);   // nothing done
    EXPECT_EQ(0, GetAdapterRaidConfig(adapterAddr(5), &cfg, sizeof cfg, len, 0).iReturnCode);

    tarnellsim::injectFailure("GetDeviceDriverVersion", -4, tarnellsim::ANY_ADAPTER, true);
    _STORAGE_VERSION v;
    EXPECT_EQ(-4, GetDeviceDriverVersion(adapterAddr(2), v));
    EXPECT_EQ(-4, GetDeviceDriverVersion(adapterAddr(5), v));
    tarnellsim::clearFailures();
    EXPECT_EQ(0, GetDeviceDriverVersion(adapterAddr(5), v));

    tarnellsim::injectFailure("ConstructorOK", 0x1234);
    uint32_t failId = 0;
    EXPECT_EQ(0, ConstructorOK(failId));
    EXPECT_EQ(0x1234u, failId);
    EXPECT_NE(0, ConstructorOK(failId));
    EXPECT_EQ(0u, failId);
}

TEST_F(SimulatorTest, FailureAfterSomeCallsLetsThoseThrough) {
    tarnellsim::injectFailure("GetVirtDevLdTable", 9, tarnellsim::ANY_ADAPTER, false, 1);
    uint32_t len = 0;
    EXPECT_EQ(0, GetVirtDevLdTable(adapterAddr(2), len, nullptr, 0, LD_TABLE_SLD).iReturnCode);
    EXPECT_EQ(9, GetVirtDevLdTable(adapterAddr(2), len, nullptr, 0, LD_TABLE_SLD).iReturnCode);
    EXPECT_EQ(0, GetVirtDevLdTable(adapterAddr(2), len, nullptr, 0, LD_TABLE_SLD).iReturnCode);
}

// The hooks for inconsistent data: patched records, reported table lengths
// other than the table's, and a virtual-device count beyond the list.
TEST_F(SimulatorTest, ControllerCanReportInconsistentData) {
    tarnellsim::Scenario sc = tarnellsim::defaultScenario();
    tarnellsim::Controller& a = sc.controllers[0];
    a.configPatches.push_back({offsetof(_ADAPTER_CONFIG, sVirtDrv) + 4, {0xFF}});
    a.configPatches.push_back({sizeof(_ADAPTER_CONFIG) - 1, {0x11, 0x22}});   // the second byte falls outside
    a.sldTableLength = 100;
    a.sldTablePatches.push_back({2, {0x07}});
    a.hldTableLength = 0x7FFFFFFF;
    a.virtDevCount = 255;
    tarnellsim::reset(sc);

    _ADAPTER_CONFIG cfg = readConfig(2);
    EXPECT_EQ(0xFF, cfg.sVirtDrv[0].ucNoOfChunkUnits);
    EXPECT_EQ(0x11, reinterpret_cast<const uint8_t*>(&cfg)[sizeof cfg - 1]);

    uint32_t len = 0;
    uint8_t table[2 * sizeof(_VIRT_DRV_PARMS)];
    std::memset(table, 0xEE, sizeof table);
    EXPECT_EQ(0, GetVirtDevLdTable(adapterAddr(2), len, nullptr, 0, LD_TABLE_SLD).iReturnCode);
    EXPECT_EQ(100u, len);
    EXPECT_EQ(0, GetVirtDevLdTable(adapterAddr(2), len, reinterpret_cast<_VIRT_DRV_PARMS*>(table), sizeof table,
                                   LD_TABLE_SLD).iReturnCode);
    EXPECT_EQ(0x07, table[2]);
    EXPECT_EQ(0xEE, table[100]);   // no more than the reported length
    EXPECT_EQ(0, GetVirtDevLdTable(adapterAddr(2), len, reinterpret_cast<_VIRT_DRV_PARMS*>(table), sizeof table,
                                   LD_TABLE_HLD).iReturnCode);
    EXPECT_EQ(0x7FFFFFFFu, len);

    uint16_t count = 0;
    _STORAGE_ADDRESS_ID list[8];
    EXPECT_EQ(0, GetVirtDevCount(adapterAddr(2), count, list, sizeof list).iReturnCode);
    EXPECT_EQ(255, count);
    EXPECT_EQ(4, list[4].usVirtDevID);
}

TEST_F(SimulatorTest, CallLogRecordsAddressesAndKeyArguments) {
    tarnellsim::clearCalls();
    int changed;
    GetAdapterChangeStatus(changed);
    SetPhysDevState(deviceAddr(2, 1, 4), DEVSTATE_HOT_SPARE);
    _STORAGE_ADDRESS_ID disks[2] = {deviceAddr(2, 0, 6), deviceAddr(2, 1, 5)};   // (1,5) is not yet known
    CreateVirtDev(driveAddr(2, 6, 0), 5, 500, 0, 2, disks, 0);

    auto log = tarnellsim::calls();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ("GetAdapterChangeStatus", log[0].name);
    EXPECT_FALSE(log[0].hasAddress);
    EXPECT_EQ("SetPhysDevState", log[1].name);
    ASSERT_TRUE(log[1].hasAddress);
    EXPECT_EQ(2, log[1].address.usAdapterID);
    EXPECT_EQ(1, log[1].address.usChannelID);
    EXPECT_EQ(4, log[1].address.usPhysDevID);
    EXPECT_EQ(std::vector<long long>{DEVSTATE_HOT_SPARE}, log[1].args);
    EXPECT_EQ(0, log[1].result);
    auto create = tarnellsim::calls("CreateVirtDev");
    ASSERT_EQ(1u, create.size());
    EXPECT_EQ(6, create[0].address.usVirtDevID);
    EXPECT_EQ((std::vector<long long>{5, 500, 0, 2, 0}), create[0].args);
    ASSERT_EQ(2u, create[0].addressList.size());
    EXPECT_EQ(5, create[0].addressList[1].usPhysDevID);
    EXPECT_NE(0, create[0].result);
}

// The log keeps the newest 20000 calls, oldest first, once it has dropped
// older ones too; each entry shows its own call only, whatever call held its
// place before, also after clearCalls.
TEST_F(SimulatorTest, CallLogKeepsTheNewestCallsInOrder) {
    const size_t kept = 20000, extra = 3;
    uint8_t cmnd[6] = {0x12, 1, 2, 3, 4, 5};
    uint8_t out[6] = {9, 8, 7, 6, 5, 4};
    uint32_t readXfer = 0, writeXfer = 0, senseXfer = 0;
    // Calls with every part of an entry filled, on an adapter that is not there.
    for (uint32_t i = 0; i < kept + extra; ++i)
        ExecAdapterCmnd(adapterAddr(9), cmnd, sizeof cmnd, readXfer, writeXfer, senseXfer, nullptr, 0, out,
                        sizeof out, nullptr, 0, i, 0, 0, 0);
    auto log = tarnellsim::calls();
    ASSERT_EQ(kept, log.size());
    for (size_t i = 0; i < kept; ++i)
        ASSERT_EQ((std::vector<long long>{6, 0, 6, 0, (long long)(i + extra), 0, 0, 0}), log[i].args) << i;

    int changed;
    for (bool cleared : {false, true}) {
        SCOPED_TRACE(cleared);
        if (cleared) tarnellsim::clearCalls();
        GetAdapterChangeStatus(changed);
        _STORAGE_ADDRESS_ID disks[1] = {deviceAddr(2, 0, 6)};
        CreateArray(adapterAddr(2), disks, 1);
        uint8_t image[3] = {1, 2, 3};
        UpdateAdapterBios(adapterAddr(9), image, sizeof image);
        log = tarnellsim::calls();
        ASSERT_EQ(cleared ? 3u : kept, log.size());
        const tarnellsim::Call* last = &log[log.size() - 3];
        EXPECT_EQ("GetAdapterChangeStatus", last[0].name);
        EXPECT_FALSE(last[0].hasAddress);
        EXPECT_EQ(0, last[0].address.usAdapterID);
        EXPECT_TRUE(last[0].args.empty() && last[0].addressList.empty());
        EXPECT_TRUE(last[0].command.empty() && last[0].written.empty());
        EXPECT_EQ(0, last[0].result);
        EXPECT_EQ("CreateArray", last[1].name);
        EXPECT_EQ(std::vector<long long>{1}, last[1].args);
        ASSERT_EQ(1u, last[1].addressList.size());
        EXPECT_EQ(6, last[1].addressList[0].usPhysDevID);
        EXPECT_TRUE(last[1].command.empty() && last[1].written.empty());
        EXPECT_EQ(tarnellsim::RC_NOT_SUPPORTED, last[1].result);
        EXPECT_EQ("UpdateAdapterBios", last[2].name);
        EXPECT_EQ(std::vector<long long>{3}, last[2].args);
        EXPECT_TRUE(last[2].command.empty() && last[2].addressList.empty());
        EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), last[2].written);
        EXPECT_EQ(tarnellsim::RC_NO_ADAPTER, last[2].result);
        if (!cleared) {
            EXPECT_EQ((std::vector<long long>{6, 0, 6, 0, 2 * extra, 0, 0, 0}), log[0].args);
            EXPECT_EQ(kept - 3, tarnellsim::calls("ExecAdapterCmnd").size());
            EXPECT_EQ(std::vector<uint8_t>(cmnd, cmnd + 6), log[0].command);
        }
        EXPECT_EQ(1u, tarnellsim::calls("CreateArray").size());
    }
}

// Devices are found by their slot whatever the previous scenario held: one
// added, removed, moved to another slot, reordered, or a slot listed twice
// (the first device listed counts).
TEST_F(SimulatorTest, DevicesAreFoundByTheirSlotAfterEveryReset) {
    using Devices = std::vector<tarnellsim::Device>;
    auto at = [](Devices& dv, uint8_t channel, uint8_t target) {
        auto it = std::find_if(dv.begin(), dv.end(), [&](const tarnellsim::Device& d) {
            return d.channel == channel && d.target == target;
        });
        EXPECT_NE(dv.end(), it);
        return it;
    };
    struct Case {
        const char* what;
        std::function<void(Devices&)> change;
        uint8_t channel, target, state;   // a slot whose answer the change affects
    };
    const Case cases[] = {
        {"added", [&](Devices& dv) { dv.push_back(*at(dv, 0, 6)); dv.back().target = 7; }, 0, 7, DEVSTATE_READY},
        {"removed", [&](Devices& dv) { dv.erase(at(dv, 0, 5)); }, 0, 5, DEVSTATE_NONE},
        {"moved", [&](Devices& dv) { at(dv, 0, 5)->target = 9; }, 0, 9, DEVSTATE_HOT_SPARE},
        {"reordered", [&](Devices& dv) { std::reverse(dv.begin(), dv.end()); }, 0, 5, DEVSTATE_HOT_SPARE},
        {"listed twice",
         [&](Devices& dv) {
             dv.front() = *at(dv, 0, 5);
             dv.front().state = DEVSTATE_READY;
         },
         0, 5, DEVSTATE_READY},
    };
    const tarnellsim::Scenario base = tarnellsim::defaultScenario();
    auto readAll = [](const tarnellsim::Scenario& sc) {
        for (const auto& c : sc.controllers)
            for (uint8_t ch = 0; ch < c.channelCount; ++ch)
                for (uint8_t tg = 0; tg < ACONFIG_TARGETS; ++tg) {
                    auto first = std::find_if(c.devices.begin(), c.devices.end(), [&](const tarnellsim::Device& d) {
                        return d.channel == ch && d.target == tg;
                    });
                    EXPECT_EQ(first == c.devices.end() ? DEVSTATE_NONE : first->state, deviceState(c.number, ch, tg))
                        << c.number << ": " << int(ch) << "," << int(tg);
                }
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        tarnellsim::Scenario changed = base;
        k.change(changed.controllers[0].devices);
        tarnellsim::reset(base);
        readAll(base);
        tarnellsim::reset(changed);
        EXPECT_EQ(k.state, deviceState(changed.controllers[0].number, k.channel, k.target));
        readAll(changed);
    }
}

// Controllers are found by their C-API number whatever the previous scenario
// held: a scenario of as many controllers (whose storage the simulator keeps)
// renumbered or with numbers swapped, controllers reordered, removed or added,
// a number listed twice (the first controller listed counts), numbers beyond
// the small ones and no controller at all.
TEST_F(SimulatorTest, ControllersAreFoundByTheirNumberAfterEveryReset) {
    using Controllers = std::vector<tarnellsim::Controller>;
    struct Case {
        const char* what;
        std::function<void(Controllers&)> change;
    };
    const Case cases[] = {
        {"renumbered", [](Controllers& cs) { cs[0].number = 7; }},
        {"numbers swapped", [](Controllers& cs) { std::swap(cs[0].number, cs[1].number); }},
        {"reordered", [](Controllers& cs) { std::reverse(cs.begin(), cs.end()); }},
        {"removed", [](Controllers& cs) { cs.erase(cs.begin()); }},
        {"added", [](Controllers& cs) { cs.push_back(cs[0]); cs.back().number = 9; }},
        {"listed twice", [](Controllers& cs) { cs[1].number = cs[0].number; }},
        {"listed twice, first renumbered", [](Controllers& cs) { cs[0].number = cs[1].number; }},
        {"large numbers", [](Controllers& cs) { cs[0].number = 300; cs[1].number = 0xFFFF; }},
        {"none", [](Controllers& cs) { cs.clear(); }},
    };
    // Each controller answers CheckCodeVersions with a mark of its position.
    auto marked = [](tarnellsim::Scenario sc) {
        for (size_t i = 0; i < sc.controllers.size(); ++i) sc.controllers[i].codeVersions = uint32_t(100 + i);
        return sc;
    };
    const unsigned numbers[] = {0, 1, 2, 5, 7, 9, 15, 255, 256, 300, 0xFFFF};
    auto read = [](const tarnellsim::Scenario& sc, unsigned number) {
        auto first = std::find_if(sc.controllers.begin(), sc.controllers.end(),
                                  [&](const tarnellsim::Controller& c) { return c.number == number; });
        uint32_t mark = 0;
        const int rc = CheckCodeVersions(adapterAddr(uint16_t(number)), mark).iReturnCode;
        if (first == sc.controllers.end()) {
            EXPECT_EQ(tarnellsim::RC_NO_ADAPTER, rc) << number;
        } else {
            EXPECT_EQ(0, rc) << number;
            EXPECT_EQ(first->codeVersions, mark) << number;
        }
    };
    const tarnellsim::Scenario base = marked(tarnellsim::defaultScenario());
    ASSERT_EQ(2u, base.controllers.size());
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        tarnellsim::Scenario changed = base;
        k.change(changed.controllers);
        changed = marked(changed);
        // Each number is the first one asked for after the reset once.
        for (unsigned first : numbers) {
            tarnellsim::reset(base);
            for (unsigned number : numbers) read(base, number);
            tarnellsim::reset(changed);
            read(changed, first);
            for (unsigned number : numbers) read(changed, number);
        }
    }
}

TEST_F(SimulatorTest, ErasingALogEmptiesIt) {
    std::vector<uint8_t> buf(ADAPTER_EVENT_LOG_SIZE);
    uint32_t len = 0;
    ASSERT_EQ(0, GetAdapterEventLog(adapterAddr(2), buf.data(), uint32_t(buf.size()), EVENT_LOG_CODE_SOFT, len)
                     .iReturnCode);
    const _ADAPTER_EVENT_LOG& log = *reinterpret_cast<const _ADAPTER_EVENT_LOG*>(buf.data());
    EXPECT_EQ(3u, log.getEntryCount());
    EXPECT_EQ(4u + 3 * 4, len);
    const uint8_t first[4] = {0x00, 0x0A, 0xBC, 0x01};
    EXPECT_EQ(0, std::memcmp(first, log.ucEntry[0], 4));

    EXPECT_EQ(0, EraseAdapterEventLog(adapterAddr(2), EVENT_LOG_CODE_SOFT + EVENT_LOG_ERASE_OFFSET).iReturnCode);
    GetAdapterEventLog(adapterAddr(2), buf.data(), uint32_t(buf.size()), EVENT_LOG_CODE_SOFT, len);
    EXPECT_EQ(0u, log.getEntryCount());
    GetAdapterEventLog(adapterAddr(2), buf.data(), uint32_t(buf.size()), EVENT_LOG_CODE_HARD, len);
    EXPECT_EQ(2u, log.getEntryCount());   // the other logs keep their entries

    EXPECT_EQ(tarnellsim::RC_BAD_PARAMETER,
              GetAdapterEventLog(adapterAddr(2), buf.data(), uint32_t(buf.size()), 3, len).iReturnCode);
}

TEST_F(SimulatorTest, RescanFindsInsertedAndLosesPulledDrives) {
    // Channel 1 of adapter 2: id 5 inserted but not yet known, id 6 pulled
    // while ready, id 7 empty.
    EXPECT_EQ(DEVSTATE_NONE, deviceState(2, 1, 5));
    EXPECT_EQ(0, SetPhysDevState(deviceAddr(2, 1, 5), DEVSTATE_READY).iReturnCode);
    EXPECT_EQ(DEVSTATE_READY, deviceState(2, 1, 6));
    EXPECT_EQ(0, SetPhysDevState(deviceAddr(2, 1, 6), DEVSTATE_NONE).iReturnCode);
    EXPECT_NE(0, SetPhysDevState(deviceAddr(2, 1, 6), DEVSTATE_READY).iReturnCode);
    EXPECT_EQ(DEVSTATE_NONE, deviceState(2, 1, 7));
    EXPECT_NE(0, SetPhysDevState(deviceAddr(2, 1, 7), DEVSTATE_READY).iReturnCode);
    EXPECT_NE(0, SetPhysDevState(deviceAddr(2, 0, 1), DEVSTATE_NONE).iReturnCode);   // an online member
}

TEST_F(SimulatorTest, DisksAnswerModePageAndBlockReads) {
    // The write cache through the caching mode page, as the drive operation does it.
    _STORAGE_ADDRESS_ID disk = deviceAddr(2, 0, 1);
    uint8_t page[64] = {};
    uint32_t len = 0;
    ASSERT_EQ(0, ReadModePageCmnd(disk, len, page, sizeof page, MODE_PAGE_CACHING_CHANGEABLE).iReturnCode);
    size_t wce = 4u + page[3] + 2;
    EXPECT_EQ(0x88, page[wce - 2]);
    EXPECT_EQ(0x04, page[wce] & 0x04);
    ASSERT_EQ(0, ReadModePageCmnd(disk, len, page, sizeof page, MODE_PAGE_CACHING).iReturnCode);
    EXPECT_EQ(14u, wce);
    page[wce] &= uint8_t(~0x04);
    ASSERT_EQ(0, WriteModePageCmnd(disk, len, page, len, MODE_PAGE_CACHING).iReturnCode);
    ReadModePageCmnd(disk, len, page, sizeof page, MODE_PAGE_CACHING);
    EXPECT_EQ(0, page[wce] & 0x04);
    EXPECT_NE(0, ReadModePageCmnd(deviceAddr(2, 1, 2), len, page, sizeof page, 8).iReturnCode);   // dead

    // Block 0 carries the boot signature only on the disk with an OS partition.
    uint8_t read6[6] = {0x08, 0, 0, 0, 1, 0};
    std::vector<uint8_t> data(1000);
    uint8_t sense[256];
    for (auto [target, boot] : {std::pair<uint16_t, bool>{4, true}, {0, false}}) {
        uint32_t in = 0, out = 0, status = 0;
        ASSERT_EQ(0, ExecDeviceCmnd(deviceAddr(2, 1, target), read6, 6, in, out, status, data.data(),
                                    uint32_t(data.size()), nullptr, 0, sense, sizeof sense, 10, 0, 1, 1)
                         .iReturnCode);
        EXPECT_EQ(512u, in);
        EXPECT_EQ(0u, status);
        EXPECT_EQ(boot, data[510] == 0x55 && data[511] == 0xAA);
    }
    S_Ret selfTest = DriveSelfTest(disk, 3, 0, 0);
    EXPECT_EQ(0, selfTest.iReturnCode);
    EXPECT_EQ(3u, selfTest.iunSignedReturnValue);
}

// Every variant exports the whole table and both load hooks except what it is
// built without.
TEST(SimulatorVariantsTest, EachVariantLacksExactlyItsEntryPoints) {
    std::vector<std::string> names = {
#define TARNELLSIM_TEST_NAME(kind, name, params, args) #name,
        STORAPI_ALL_OPS(TARNELLSIM_TEST_NAME)
#undef TARNELLSIM_TEST_NAME
        "DlInit", "DlTerm"};
    ASSERT_EQ(169u, names.size());
    struct Variant {
        const char* file;
        std::vector<std::string> missing;
    } variants[] = {
        {"libtarnellapi.so", {}},
        {"libtarnellapi_no_constructorok.so", {"ConstructorOK"}},
        {"libtarnellapi_no_saftestatus.so", {"GetSafteStatus"}},
        {"libtarnellapi_no_dlinit.so", {"DlInit", "DlTerm"}},
        {"libtarnellapi_constructor_fails.so", {}},
    };
    for (auto& v : variants) {
        SCOPED_TRACE(v.file);
        void* h = dlopen((std::string(TARNELLSIM_LIB_DIR) + "/" + v.file).c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(nullptr, h) << dlerror();
        for (auto& n : names) {
            bool expected = std::find(v.missing.begin(), v.missing.end(), n) == v.missing.end();
            EXPECT_EQ(expected, dlsym(h, n.c_str()) != nullptr) << n;
        }
        if (std::string(v.file) == "libtarnellapi_constructor_fails.so") {
            auto ctorOk = reinterpret_cast<BOOL (*)(uint32_t&)>(dlsym(h, "ConstructorOK"));
            uint32_t failId = 0;
            EXPECT_EQ(0, ctorOk(failId));
            EXPECT_EQ(tarnellsim::CONSTRUCTOR_FAIL_ID, failId);
        }
        dlclose(h);
    }
}

} // namespace
