#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellBuildUtil.h"
#include "RaidModel/Implementation/Tarnell/TarnellConfig.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Serialization/XMLWriter.h"

// The logical device build of a Tarnell adapter against the simulated
// controllers: arrays, logical drives, chunks and their ids and sizes, the
// logical-drive tables, and the lookup of an array by its drives.

using namespace tarnelltest;

namespace {

const uint32_t MIB = 2048;   // sectors

// The offset of a field of entry n of the configuration's sVirtDrv.
uint32_t virtDrvOffset(unsigned n, size_t field)
{
    return static_cast<uint32_t>(offsetof(_ADAPTER_CONFIG, sVirtDrv) + n * sizeof(_VIRT_DRV_PARMS) + field);
}

uint32_t chunkOffset(unsigned chunk, size_t field)
{
    return static_cast<uint32_t>(offsetof(_VIRT_DRV_PARMS, sChunk) + chunk * sizeof(_CHUNK) + field);
}

// A drive of a scenario over the given disks, perDisk sectors from start.
tarnellsim::LogicalDrive simDrive(uint8_t number, uint8_t code, uint8_t params, uint8_t arrayId, uint32_t dataMiB,
                                  const std::vector<std::pair<uint8_t, uint8_t>>& disks, uint32_t perDisk = 4096000)
{
    tarnellsim::LogicalDrive d;
    d.number = number;
    d.raidCode = code;
    d.params = params;
    d.arrayId = arrayId;
    d.sizeSectors = dataMiB * MIB;
    for (const auto& disk : disks) {
        tarnellsim::Chunk k;
        k.channel = disk.first;
        k.target = disk.second;
        k.sectorCount = perDisk;
        d.chunks.push_back(k);
    }
    return d;
}

// A spanned drive over the sub-logical drives of the given SLD slots.
tarnellsim::LogicalDrive simSpanned(uint8_t number, uint8_t code, uint8_t params, uint32_t dataMiB,
                                    const std::vector<uint8_t>& slots)
{
    tarnellsim::LogicalDrive h;
    h.number = number;
    h.spanned = true;
    h.raidCode = code;
    h.params = params;
    h.sizeSectors = dataMiB * MIB;
    for (uint8_t s : slots) {
        tarnellsim::Chunk k;
        k.target = s;
        k.sectorCount = 4096000;
        h.chunks.push_back(k);
    }
    return h;
}

class TarnellLogicalBuildTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        TarnellAdapter::resetBlockedDrivesForTest();
    }

    static TarnellBasicLogicalDrive* basic(const BuildAdapter& a, int id)
    {
        LogicalDrive* d = a.logicalDrive(id);
        return d && d->isInstanceOf("TarnellBasicLogicalDrive") ? static_cast<TarnellBasicLogicalDrive*>(d) : nullptr;
    }

    // The ids of the logical drives directly under root, in order.
    static std::vector<int> idsUnder(RaidObject* root)
    {
        std::vector<int> ids;
        for (RaidObject* o : root->getChildren())
            if (o->isInstanceOf("LogicalDrive"))
                ids.push_back(static_cast<int>(o->getLogicalDriveID()));
        return ids;
    }
};

// Controller 2 of the default scenario: three basic arrays under the
// configuration node, a spanned array with its RAID-10 drive over two
// sub-logical drives in arrays of their own, levels, ids, flags, chunks,
// the hard drives' chunk lists and the sizes.
TEST_F(TarnellLogicalBuildTest, DefaultControllerBuildsArraysDrivesAndChunks)
{
    BuildAdapter a(CONTROLLER_A, 3);
    a.buildAll();

    ASSERT_EQ(1u, a.all("TarnellConfig").size());
    RaidObject* config = a.all("TarnellConfig")[0];
    EXPECT_EQ(a.adapter, config->getParent());
    EXPECT_EQ(4u, config->getChildCount());   // arrays 0, 1, 2 and spanned array 0

    const struct {
        int id;
        EnumRaidLevel level;
        int data, parity;
        EnumLogicalDeviceState state;
        bool last;
        EnumLogicalDriveCacheMode cache;
        int array;
        unsigned chunks;
    } drives[] = {
        {0, RAID5, 20000, 10000, OKAY, false, LD_CACHE_ENABLED, 0, 3},
        {1, RAID0, 12000, 0, OKAY, true, LD_CACHE_DISABLED, 0, 3},
        {2, RAID1, 30000, 30000, OKAY, true, LD_CACHE_ENABLED, 1, 2},
        {3, RAID5, 100000, 50000, CRITICAL, true, LD_CACHE_DISABLED, 2, 3},
        {16, RAID1, 34000, 34000, OKAY, false, LD_CACHE_DISABLED, 3, 2},
        {17, RAID1, 34000, 34000, OKAY, false, LD_CACHE_DISABLED, 4, 2},
    };
    for (const auto& e : drives) {
        TarnellBasicLogicalDrive* d = basic(a, e.id);
        ASSERT_NE(nullptr, d) << e.id;
        EXPECT_EQ(e.level, d->getRaidLevel()) << e.id;
        EXPECT_EQ(BLOCK_T(e.data), d->getDataSpace()) << e.id;
        EXPECT_EQ(BLOCK_T(e.parity), d->getParitySpace()) << e.id;
        EXPECT_EQ(e.state, d->getState()) << e.id;
        EXPECT_EQ(e.last, d->getLastDriveInArray()) << e.id;
        EXPECT_EQ(e.cache, d->getWriteCacheMode()) << e.id;
        EXPECT_EQ(e.id >= 8, d->isSubLogicalDrive()) << e.id;
        ASSERT_NE(nullptr, d->getArray()) << e.id;
        EXPECT_EQ(STORID_T(e.array), d->getArray()->getArrayID()) << e.id;
        EXPECT_EQ(e.chunks, a.all("TarnellChunk", d).size()) << e.id;
        EXPECT_FALSE(d->getBlockedAccess()) << e.id;
    }
    EXPECT_EQ(2023u, basic(a, 0)->getCreateTimeStamp().year);
    EXPECT_EQ(11u, basic(a, 0)->getCreateTimeStamp().month);
    EXPECT_EQ(14u, basic(a, 0)->getCreateTimeStamp().day);
    EXPECT_EQ(1, basic(a, 1)->getTNCAdllID());
    EXPECT_EQ(1, basic(a, 17)->getTNCAdllID());   // a sub-logical drive's number is its SLD index

    LogicalDrive* hld = a.logicalDrive(4);
    ASSERT_NE(nullptr, hld);
    ASSERT_TRUE(hld->isInstanceOf("TarnellHLogicalDrive"));
    EXPECT_EQ(RAID10, hld->getRaidLevel());
    EXPECT_EQ(BLOCK_T(68000), hld->getDataSpace());
    EXPECT_EQ(BLOCK_T(68000), hld->getParitySpace());
    EXPECT_TRUE(hld->getLastDriveInArray());
    EXPECT_EQ((std::vector<int>{16, 17}), idsUnder(hld));
    Array* spanned = a.array("TarnellSpannedArray", 0);
    ASSERT_NE(nullptr, spanned);
    EXPECT_EQ(spanned, hld->getParent());
    EXPECT_EQ(config, spanned->getParent());
    EXPECT_EQ(spanned, a.array("TarnellBasicArray", 3)->getParent());
    EXPECT_EQ(spanned, basic(a, 16)->getArray()->getParent());

    // Sizes in MiB: drives of 71132000 (36G) or 143374000 (73G) blocks less
    // the 272 sectors reserved at their end.
    const struct {
        const char* cls;
        int id;
        BLOCK_T size, freeSpace;
    } sizes[] = {
        {"TarnellBasicArray", 0, 34732 * 3, (3 * 71131728u - 3 * (20480000u + 8192000u)) / MIB},
        {"TarnellBasicArray", 1, 34732 * 2, (2 * 71131728u - 2 * 61440000u) / MIB},
        {"TarnellBasicArray", 2, 70006 * 3, (3 * 143373728u - 3 * 102400000u) / MIB},
        {"TarnellBasicArray", 3, 34732 * 2, (2 * 71131728u - 2 * 69632000u) / MIB},
        {"TarnellSpannedArray", 0, 2 * 34732 * 2, 2 * 34732 * 2 - 136000},
    };
    for (const auto& s : sizes) {
        Array* array = a.array(s.cls, s.id);
        ASSERT_NE(nullptr, array) << s.cls << " " << s.id;
        EXPECT_EQ(s.size, array->getSize()) << s.cls << " " << s.id;
        EXPECT_EQ(s.freeSpace, array->getFreeSpace()) << s.cls << " " << s.id;
        EXPECT_EQ(32, array->getStripeSize());
    }

    PhysicalDevice* disk = a.device(0, 0);
    ASSERT_NE(nullptr, disk);
    const std::vector<ChunkID>& chunkIDs = static_cast<TarnellHardDrive*>(disk)->getChunkIDs();
    ASSERT_EQ(2u, chunkIDs.size());
    EXPECT_EQ(0, chunkIDs[0].LogicalDriveID);
    EXPECT_EQ(1, chunkIDs[1].LogicalDriveID);
    EXPECT_EQ(0, chunkIDs[1].ChannelID);
    EXPECT_EQ(0, chunkIDs[1].DeviceID);
    EXPECT_EQ(16, static_cast<TarnellHardDrive*>(a.device(2, 1))->getChunkIDs().at(0).LogicalDriveID);

    EXPECT_EQ(1636, a.adapter->getSLDTableSize());
    EXPECT_EQ(1636, a.adapter->getHLDTableSize());
}

// Controller 5: a RAID-5EE array reports no free space, a RAID-50 drive's
// parity is a sub-drive's share, its sub-drives take ids 8 + 1 x 2 + index,
// and the blocked RAID-0 drive shows blocked.
TEST_F(TarnellLogicalBuildTest, Raid5EEArrayRaid50AndBlockedDrive)
{
    BuildAdapter a(CONTROLLER_B, 2, TARNELL_C0);
    a.buildAll();

    TarnellBasicLogicalDrive* d0 = basic(a, 0);
    ASSERT_NE(nullptr, d0);
    EXPECT_EQ(RAID5EE, d0->getRaidLevel());
    EXPECT_EQ(BLOCK_T(50000), d0->getParitySpace());
    EXPECT_EQ(RAID5EE_OKAY, d0->getRaid5EEState());
    EXPECT_FALSE(d0->getBlockedAccess());
    Array* a0 = a.array("TarnellBasicArray", 0);
    ASSERT_NE(nullptr, a0);
    EXPECT_EQ(BLOCK_T(70006 * 4), a0->getSize());
    EXPECT_EQ(BLOCK_T(0), a0->getFreeSpace());

    LogicalDrive* hld = a.logicalDrive(1);
    ASSERT_NE(nullptr, hld);
    EXPECT_EQ(RAID50, hld->getRaidLevel());
    EXPECT_EQ(BLOCK_T(120000), hld->getParitySpace());
    EXPECT_EQ((std::vector<int>{10, 11}), idsUnder(hld));
    Array* spanned = a.array("TarnellSpannedArray", 0);
    ASSERT_NE(nullptr, spanned);
    EXPECT_EQ(BLOCK_T(2 * 70006 * 3), spanned->getSize());
    EXPECT_EQ(BLOCK_T(2 * 70006 * 3 - 360000), spanned->getFreeSpace());

    EXPECT_EQ(RAID1E, a.logicalDrive(2)->getRaidLevel());
    ASSERT_NE(nullptr, basic(a, 3));
    EXPECT_TRUE(basic(a, 3)->getBlockedAccess());
    EXPECT_EQ(RAID5EE_UNKNOWN, basic(a, 3)->getRaid5EEState());
}

// A blocked RAID-0 drive replaced by a RAID-5 drive at the same number: the
// new drive is not blocked, although no RAID-0 build refreshed the flags.
TEST_F(TarnellLogicalBuildTest, BlockedFlagOfAFormerRaid0DriveIsNotInherited)
{
    {
        BuildAdapter a(CONTROLLER_B, 2, TARNELL_C0);
        a.buildAll();
        ASSERT_NE(nullptr, basic(a, 3));
        ASSERT_TRUE(basic(a, 3)->getBlockedAccess());
    }
    resetWith(CONTROLLER_B, [](tarnellsim::Controller& c) {
        c.drives.clear();
        c.subDrives.clear();
        c.drives.push_back(simDrive(3, 5, 0, 0, 6000, {{0, 0}, {0, 1}, {0, 2}}));
    });
    BuildAdapter a(CONTROLLER_B, 2, TARNELL_C0);
    a.buildAll();
    ASSERT_NE(nullptr, basic(a, 3));
    EXPECT_EQ(RAID5, basic(a, 3)->getRaidLevel());
    EXPECT_FALSE(basic(a, 3)->getBlockedAccess());
}

// The build of every basic drive, top level or sub-logical, sends the
// enquiry once, whatever its level; a spanned drive's own build sends none.
TEST_F(TarnellLogicalBuildTest, EachBasicDriveSendsTheEnquiryOnce)
{
    const struct {
        int controller, channels, type;
        size_t basicDrives;
    } rows[] = {
        {CONTROLLER_A, 3, TARNELL_B2, 6},   // drives 0-3, the two sub-logical drives of drive 4
        {CONTROLLER_B, 2, TARNELL_C0, 5},   // drives 0, 2, 3, the two sub-logical drives of drive 1
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.controller);
        BuildAdapter a(row.controller, row.channels, row.type);
        ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(a.adapter));
        tarnellsim::clearCalls();
        ASSERT_EQ(Ret(0), TarnellAdapter::buildLogicalDevices(a.adapter));
        const std::vector<tarnellsim::Call> sent = callsOf("ExecAdapterCmnd");
        EXPECT_EQ(row.basicDrives, sent.size());
        for (const tarnellsim::Call& call : sent) {
            EXPECT_EQ(row.controller, call.address.usAdapterID);
            // Command and answer lengths, no write or sense buffer, 60, 1, 1, 0.
            EXPECT_EQ((std::vector<long long>{16, 212, 0, 0, 60, 1, 1, 0}), call.args);
        }
    }
}

// A rebuild in place lists on each hard drive the chunks of the drives built
// now: a deleted drive's entries go, and none is listed twice.
TEST_F(TarnellLogicalBuildTest, RebuildListsOnlyTheCurrentChunksOnEachDisk)
{
    BuildAdapter a(CONTROLLER_A, 3);
    a.buildAll();
    auto ids = [&a]() {
        std::vector<int> out;
        for (const ChunkID& c : static_cast<TarnellHardDrive*>(a.device(0, 0))->getChunkIDs())
            out.push_back(c.LogicalDriveID);
        return out;
    };
    ASSERT_EQ((std::vector<int>{0, 1}), ids());

    ASSERT_EQ(Ret(0), TarnellAdapter::buildLogicalDevices(a.adapter));
    EXPECT_EQ((std::vector<int>{0, 1}), ids());

    tarnellsim::Scenario s = tarnellsim::current();
    for (tarnellsim::Controller& c : s.controllers)
        if (c.number == CONTROLLER_A)
            c.drives.erase(std::remove_if(c.drives.begin(), c.drives.end(),
                                          [](const tarnellsim::LogicalDrive& d) { return d.number == 1; }),
                           c.drives.end());
    tarnellsim::reset(s);
    ASSERT_EQ(Ret(0), TarnellAdapter::buildLogicalDevices(a.adapter));
    EXPECT_EQ((std::vector<int>{0}), ids());
}

// RAID codes to model levels and parity space, for a basic drive by its
// chunk count and parameters, and for a spanned drive by the chunk count of
// its first sub-drive; records with too few chunks to divide by give parity 0.
TEST_F(TarnellLogicalBuildTest, RaidCodesGiveLevelsAndParity)
{
    struct Basic {
        uint8_t code, params, chunks;
        EnumRaidLevel level;
        int parity;   // of 6000 MiB data
    };
    const Basic basics[] = {
        {1, 0, 2, RAID1, 6000},          {1, 0, 3, RAID1E, 6000},        {5, 0, 3, RAID5, 3000},
        {5, 0x40, 3, RAID5E, 3000},      {5, 0xC0, 4, RAID5EE, 3000},    {5, 0, 1, RAID5, 0},
        {5, 0x80, 2, RAID5EE, 0},        {2, 0, 2, RAID0, 0},            {7, 0, 2, RAID0, 0},
    };
    for (const Basic& b : basics) {
        resetWith(CONTROLLER_B, [&](tarnellsim::Controller& c) {
            c.drives.clear();
            c.subDrives.clear();
            std::vector<std::pair<uint8_t, uint8_t>> disks;
            for (uint8_t i = 0; i < b.chunks; ++i)
                disks.push_back({0, i});
            c.drives.push_back(simDrive(0, b.code, b.params, 0, 6000, disks));
        });
        BuildAdapter a(CONTROLLER_B, 2, TARNELL_C0);
        a.buildAll();
        LogicalDrive* d = a.logicalDrive(0);
        ASSERT_NE(nullptr, d) << int(b.code) << "/" << int(b.chunks);
        EXPECT_EQ(b.level, d->getRaidLevel()) << int(b.code) << "/" << int(b.chunks);
        EXPECT_EQ(BLOCK_T(b.parity), d->getParitySpace()) << int(b.code) << "/" << int(b.chunks);
    }

    struct Spanned {
        uint8_t code, params, subChunks;
        EnumRaidLevel level;
        int parity;
    };
    const Spanned spans[] = {
        {0, 0, 2, RAID00, 0},        {1, 0, 2, RAID10, 6000},   {1, 0, 3, RAID1E0, 6000},
        {2, 0, 2, RAID1E0, 0},       {5, 0, 3, RAID50, 3000},   {5, 0x40, 3, RAID5E0, 3000},
        {5, 0, 1, RAID50, 0},        {3, 0, 2, RAID_UNKNOWN, 0},
    };
    for (const Spanned& s : spans) {
        resetWith(CONTROLLER_B, [&](tarnellsim::Controller& c) {
            c.drives.clear();
            c.subDrives.clear();
            for (uint8_t slot = 0; slot < 2; ++slot) {
                std::vector<std::pair<uint8_t, uint8_t>> disks;
                for (uint8_t i = 0; i < s.subChunks; ++i)
                    disks.push_back({1, static_cast<uint8_t>(slot * s.subChunks + i)});
                c.subDrives.push_back(simDrive(slot, s.code == 0 ? 0 : 1, 0, static_cast<uint8_t>(1 + slot), 3000,
                                               disks));
            }
            c.drives.push_back(simSpanned(0, s.code, s.params, 6000, {0, 1}));
        });
        BuildAdapter a(CONTROLLER_B, 2, TARNELL_C0);
        a.buildAll();
        LogicalDrive* d = a.logicalDrive(0);
        ASSERT_NE(nullptr, d) << int(s.code) << "/" << int(s.subChunks);
        EXPECT_TRUE(d->isInstanceOf("TarnellHLogicalDrive"));
        EXPECT_EQ(s.level, d->getRaidLevel()) << int(s.code) << "/" << int(s.subChunks);
        EXPECT_EQ(BLOCK_T(s.parity), d->getParitySpace()) << int(s.code) << "/" << int(s.subChunks);
    }
}

// The drive state codes; any other non-zero code is FREE on a drive that is
// still built with all its chunks; code 0 lists nothing but keeps the id.
TEST_F(TarnellLogicalBuildTest, StateCodesGiveDriveStates)
{
    const struct {
        uint8_t code;
        EnumLogicalDeviceState state;
    } cases[] = {{2, OFFLINE},           {3, OKAY},           {4, CRITICAL}, {5, MIGRATING}, {6, SYSTEM},
                 {20, CRITICAL_MIGRATING}, {36, CRITICAL_SYSTEM}, {7, FREE}};
    for (const auto& c : cases) {
        resetWith(CONTROLLER_A, [&](tarnellsim::Controller& ctl) {
            ctl.configPatches.push_back({virtDrvOffset(2, offsetof(_VIRT_DRV_PARMS, ucState)), {c.code}});
        });
        BuildAdapter a(CONTROLLER_A, 3);
        a.buildAll();
        LogicalDrive* d = a.logicalDrive(2);
        ASSERT_NE(nullptr, d) << int(c.code);
        EXPECT_EQ(c.state, d->getState()) << int(c.code);
        EXPECT_EQ(2u, a.all("TarnellChunk", d).size()) << int(c.code);
    }

    resetWith(CONTROLLER_A, [](tarnellsim::Controller& ctl) {
        ctl.configPatches.push_back({virtDrvOffset(2, offsetof(_VIRT_DRV_PARMS, ucState)), {0}});
    });
    BuildAdapter a(CONTROLLER_A, 3);
    a.buildAll();
    EXPECT_EQ(nullptr, a.logicalDrive(2));
    EXPECT_EQ(1, a.adapter->getHLDdllIDs()[2]);
    EXPECT_NE(nullptr, a.logicalDrive(3));
}

// Top-level drives take their C-API number, sub-logical drives 8 + the
// spanned drive's number x its sub-drive count + their SLD index; numbers
// and slots outside 0-7 and 0-63 have no id.
TEST_F(TarnellLogicalBuildTest, LogicalDriveIds)
{
    BuildAdapter a(CONTROLLER_A, 0);
    const struct {
        int hld, sld, segments;
        bool isSLD;
        int id;
    } cases[] = {{3, 0, 0, false, 3},  {7, 0, 0, false, 7},   {8, 0, 0, false, -1}, {-1, 0, 0, false, -1},
                 {1, 2, 2, true, 12},  {21, 0, 3, true, 71},  {21, 1, 3, true, -1}, {0, -1, 0, true, -1},
                 {0x40000000, 0, 4, true, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(c.id, a.adapter->getNextUnqLDid(c.hld, c.sld, c.segments, c.isSLD)) << c.hld << "/" << c.sld;
    EXPECT_EQ(1, a.adapter->getHLDdllIDs()[3]);
    EXPECT_EQ(1, a.adapter->getSLDdllIDs()[4]);
    EXPECT_EQ(1, a.adapter->getSLDdllIDs()[63]);
    EXPECT_EQ(0, a.adapter->getSLDdllIDs()[5]);

    // Built: sub-drives in SLD slots 1 and 2 under spanned drive 1 of 2 segments.
    resetWith(CONTROLLER_B, [](tarnellsim::Controller& c) {
        c.subDrives[0].number = 1;
        c.subDrives[1].number = 2;
        c.drives[1].chunks[0].target = 1;
        c.drives[1].chunks[1].target = 2;
    });
    BuildAdapter b(CONTROLLER_B, 2, TARNELL_C0);
    b.buildAll();
    ASSERT_NE(nullptr, b.logicalDrive(1));
    EXPECT_EQ((std::vector<int>{11, 12}), idsUnder(b.logicalDrive(1)));
    EXPECT_EQ(2, basic(b, 12)->getTNCAdllID());
}

// A rebuild empties the one configuration node and builds the same drives
// again; a controller without drives leaves it empty.
TEST_F(TarnellLogicalBuildTest, RebuildReusesTheConfigurationNode)
{
    BuildAdapter a(CONTROLLER_A, 3);
    a.buildAll();
    const size_t objects = a.all("RaidObject").size();
    ASSERT_EQ(Ret(0), TarnellAdapter::buildLogicalDevices(a.adapter));
    EXPECT_EQ(1u, a.all("TarnellConfig").size());
    EXPECT_EQ(objects, a.all("RaidObject").size());
    EXPECT_NE(nullptr, a.logicalDrive(17));

    resetWith(CONTROLLER_A, [](tarnellsim::Controller& c) {
        c.drives.clear();
        c.subDrives.clear();
    });
    ASSERT_EQ(Ret(0), TarnellAdapter::buildLogicalDevices(a.adapter));
    ASSERT_EQ(1u, a.all("TarnellConfig").size());
    EXPECT_EQ(0u, a.all("TarnellConfig")[0]->getChildCount());
    EXPECT_TRUE(a.all("LogicalDrive").empty());
}

// Each failing controller read ends the build with -5 and its warning; the
// configuration node is left emptied. A failed table fetch leaves no table.
TEST_F(TarnellLogicalBuildTest, FailedControllerReads)
{
    const struct {
        const char* entry;
        unsigned after;
        const char* message;
    } cases[] = {
        {"GetVirtDevLdTable", 0, "Retrieving adapter sld table entries count failed"},
        {"GetVirtDevLdTable", 1, "Retrieving adapter sld table failed"},
        {"GetVirtDevLdTable", 2, "Retrieving adapter hld table entries count failed"},
        {"GetVirtDevLdTable", 3, "Retrieving adapter hld table failed"},
        {"GetAdapterRaidConfig", 0, "Retrieving adapter raid configuration failed"},
        {"GetVirtDevCount", 1, "Retrieving virtual device info failed"},
    };
    for (const auto& c : cases) {
        BuildAdapter a(CONTROLLER_A, 3);
        a.buildAll();
        TarnellUtils::openLog();
        tarnellsim::injectFailure(c.entry, tarnellsim::RC_NO_ADAPTER, CONTROLLER_A, false, c.after);
        EXPECT_EQ(Ret(Ret::CONTROLLER_FAILED), TarnellAdapter::buildLogicalDevices(a.adapter)) << c.message;
        EXPECT_TRUE(contains(familyLog(), c.message)) << c.message;
        ASSERT_EQ(1u, a.all("TarnellConfig").size());
        EXPECT_EQ(0u, a.all("TarnellConfig")[0]->getChildCount()) << c.message;
        const bool tableFetch = std::string(c.entry) == "GetVirtDevLdTable";
        if (tableFetch && c.after == 1) {
            EXPECT_EQ(nullptr, a.adapter->getSLDTable());
            EXPECT_EQ(0, a.adapter->getSLDTableSize());
        }
        if (tableFetch && c.after == 3) {
            EXPECT_EQ(nullptr, a.adapter->getHLDTable());
            EXPECT_EQ(0, a.adapter->getHLDTableSize());
        }
        tarnellsim::clearFailures();
    }

    EXPECT_EQ(Ret(Ret::BAD_PARAM), TarnellAdapter::buildLogicalDevices(nullptr));
    BuildAdapter a(CONTROLLER_A, 3);
    withoutControllerAccess();
    stdoutOf([&] { EXPECT_EQ(Ret(Ret::CONTROLLER_FAILED), TarnellAdapter::buildLogicalDevices(a.adapter)); });
}

// A table reply too short to hold an entry drops the table an earlier build
// read (spanned drives then cannot be built, the others are); 208 bytes and
// more replace it; a huge reported length is read only as far as an SLD
// index can reach.
TEST_F(TarnellLogicalBuildTest, TableRepliesOfAnyLength)
{
    BuildAdapter a(CONTROLLER_A, 3);
    a.buildAll();
    ASSERT_NE(nullptr, a.adapter->getSLDTable());

    const struct {
        int64_t length;
        int tableSize;
        std::vector<int> subDrives;   // of the spanned drive; empty: not built
    } cases[] = {{100, 0, {}},
                 {207, 0, {}},
                 {208, 208, {16}},   // one entry: SLD 0
                 {0x7FFFFFFF, 256 * 204, {16, 17}},
                 {-1, 1636, {16, 17}}};
    for (const auto& c : cases) {
        resetWith(CONTROLLER_A, [&](tarnellsim::Controller& ctl) {
            ctl.sldTableLength = c.length;
            ctl.hldTableLength = c.length;
        });
        ASSERT_EQ(Ret(0), TarnellAdapter::buildLogicalDevices(a.adapter)) << c.length;
        EXPECT_EQ(c.tableSize, a.adapter->getSLDTableSize()) << c.length;
        EXPECT_EQ(c.tableSize, a.adapter->getHLDTableSize()) << c.length;
        EXPECT_EQ(c.tableSize == 0, a.adapter->getSLDTable() == nullptr) << c.length;
        EXPECT_EQ(c.tableSize == 0, a.adapter->getHLDTable() == nullptr) << c.length;
        LogicalDrive* hld = a.logicalDrive(4);
        EXPECT_EQ(c.subDrives, hld ? idsUnder(hld) : std::vector<int>{}) << c.length;
        EXPECT_EQ(!c.subDrives.empty(), hld != nullptr) << c.length;
        EXPECT_NE(nullptr, a.logicalDrive(3)) << c.length;
    }
}

// Inconsistent controller data builds what can be built, without reading
// outside any record or table.
TEST_F(TarnellLogicalBuildTest, HostileDataBuildsAPartialModel)
{
    struct Case {
        const char* name;
        std::function<void(tarnellsim::Controller&)> edit;
        std::function<void(BuildAdapter&)> check;
    };
    const uint32_t hldChunk0Target =
        virtDrvOffset(4, chunkOffset(0, offsetof(_CHUNK, ucTarget)));   // HLD 4's first sub-drive
    const Case cases[] = {
        {"a count of 255 with 5 listed drives",
         [](tarnellsim::Controller& c) { c.virtDevCount = 255; },
         [](BuildAdapter& a) {
             EXPECT_EQ(2u, a.all("LogicalDrive", a.array("TarnellBasicArray", 0)).size());
             EXPECT_EQ(7u, a.all("LogicalDrive").size());
         }},
        {"a listed drive numbered 9",
         [](tarnellsim::Controller& c) {
             c.drives.push_back(simDrive(9, 0, 0, 6, 1000, {{0, 6}}));
         },
         [](BuildAdapter& a) {
             EXPECT_EQ(nullptr, a.logicalDrive(9));
             EXPECT_EQ(nullptr, a.array("TarnellBasicArray", 6));
         }},
        {"a record claiming 255 chunks",
         [](tarnellsim::Controller& c) {
             c.configPatches.push_back({virtDrvOffset(2, offsetof(_VIRT_DRV_PARMS, ucNoOfChunkUnits)), {255}});
         },
         [](BuildAdapter& a) {
             ASSERT_NE(nullptr, a.logicalDrive(2));
             EXPECT_EQ(16u, a.all("TarnellChunk", a.logicalDrive(2)).size());
             EXPECT_EQ(RAID1E, a.logicalDrive(2)->getRaidLevel());
         }},
        {"a spanned drive naming SLD index 200",
         [=](tarnellsim::Controller& c) { c.configPatches.push_back({hldChunk0Target, {200}}); },
         [](BuildAdapter& a) {
             ASSERT_NE(nullptr, a.logicalDrive(4));
             EXPECT_EQ((std::vector<int>{17}), idsUnder(a.logicalDrive(4)));
             EXPECT_EQ(RAID10, a.logicalDrive(4)->getRaidLevel());   // no first sub-drive to count
         }},
        {"an SLD table of 4 entries and a spanned drive naming SLD index 5",
         [=](tarnellsim::Controller& c) {
             c.sldTableLength = 1000;
             c.configPatches.push_back({hldChunk0Target + static_cast<uint32_t>(sizeof(_CHUNK)), {5}});
         },
         [](BuildAdapter& a) {
             ASSERT_NE(nullptr, a.logicalDrive(4));
             EXPECT_EQ((std::vector<int>{16}), idsUnder(a.logicalDrive(4)));
         }},
        {"chunks on channels and devices outside the device table",
         [](tarnellsim::Controller& c) {
             c.configPatches.push_back({virtDrvOffset(3, chunkOffset(0, offsetof(_CHUNK, ucChannel))), {9, 200}});
             c.configPatches.push_back({virtDrvOffset(3, chunkOffset(1, offsetof(_CHUNK, ucChannel))), {0xFF}});
         },
         [](BuildAdapter& a) {
             ASSERT_NE(nullptr, a.logicalDrive(3));
             EXPECT_EQ(3u, a.all("TarnellChunk", a.logicalDrive(3)).size());
             EXPECT_EQ(BLOCK_T(70006 * 3), a.array("TarnellBasicArray", 2)->getSize());
         }},
        {"a chunk on an empty slot only",
         [](tarnellsim::Controller& c) {
             c.configPatches.push_back({virtDrvOffset(2, offsetof(_VIRT_DRV_PARMS, ucNoOfChunkUnits)), {1}});
             c.configPatches.push_back({virtDrvOffset(2, chunkOffset(0, offsetof(_CHUNK, ucTarget))), {9}});
         },
         [](BuildAdapter& a) {
             ASSERT_NE(nullptr, a.array("TarnellBasicArray", 1));
             EXPECT_EQ(BLOCK_T(0), a.array("TarnellBasicArray", 1)->getSize());
             EXPECT_EQ(BLOCK_T(0), a.array("TarnellBasicArray", 1)->getFreeSpace());
         }},
        {"a free SLD entry",
         [](tarnellsim::Controller& c) {
             c.sldTablePatches.push_back({sizeof(_VIRT_DRV_PARMS) + offsetof(_VIRT_DRV_PARMS, ucState), {0}});
         },
         [](BuildAdapter& a) {
             LogicalDrive* placeholder = a.logicalDrive(17);
             ASSERT_NE(nullptr, placeholder);
             EXPECT_EQ(FREE, placeholder->getState());
             EXPECT_EQ(RAID_UNKNOWN, placeholder->getRaidLevel());
             EXPECT_EQ(nullptr, placeholder->getArray());
             EXPECT_EQ(a.logicalDrive(4), placeholder->getParent());
             EXPECT_EQ(nullptr, a.array("TarnellBasicArray", 4));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetWith(CONTROLLER_A, c.edit);
        BuildAdapter a(CONTROLLER_A, 3);
        a.buildAll();
        c.check(a);

        // The partial model is written as any other.
        char* document = nullptr;
        {
            XMLWriter writer(&document);
            writer.writeTree(a.adapter);
        }
        ASSERT_NE(nullptr, document);
        EXPECT_TRUE(contains(document, "LogicalDrive"));
        delete[] document;
    }
}

// Every adapter keeps its own blocked-drive flags, from model id 16 on too:
// the seventeenth's blocked RAID-0 drive shows blocked, and the same drive
// number of another adapter does not.
TEST_F(TarnellLogicalBuildTest, BlockedFlagsOfAnAdapterFromModelIdSixteenOn)
{
    for (int i = 0; i < 16; ++i)
        TarnellAdapter::getUniqueID(100 + i);
    BuildAdapter b(CONTROLLER_B, 2, TARNELL_C0);
    ASSERT_EQ(STORID_T(16), b.adapter->getAdapterID());
    b.buildAll();
    ASSERT_NE(nullptr, basic(b, 3));
    EXPECT_TRUE(basic(b, 3)->getBlockedAccess());

    resetWith(CONTROLLER_A, [](tarnellsim::Controller& c) {
        c.drives.clear();
        c.subDrives.clear();
        c.drives.push_back(simDrive(3, 0, 0, 0, 6000, {{0, 0}, {0, 1}}));
    });
    BuildAdapter a(CONTROLLER_A, 3);
    a.buildAll();
    ASSERT_NE(nullptr, basic(a, 3));
    EXPECT_EQ(RAID0, basic(a, 3)->getRaidLevel());
    EXPECT_FALSE(basic(a, 3)->getBlockedAccess());
}

// A spanned drive that gets no id drops the sub-logical drives it built.
TEST_F(TarnellLogicalBuildTest, SpannedDriveWithoutIdDropsItsSubDrives)
{
    BuildAdapter a(CONTROLLER_A, 3);
    a.buildAll();
    ASSERT_GE(a.adapter->getHLDTableSize(), static_cast<int>(5 * sizeof(_VIRT_DRV_PARMS)));
    const _VIRT_DRV_PARMS record = a.adapter->getHLDTable()[4];
    ASSERT_TRUE(record.isSpanned());
    TarnellConfig* config = static_cast<TarnellConfig*>(a.all("TarnellConfig")[0]);
    const size_t objects = a.all("RaidObject").size();
    EXPECT_EQ(nullptr, TarnellAdapter::getHLogicalDriveConfig(a.adapter, 8, record, nullptr, config));
    EXPECT_EQ(objects, a.all("RaidObject").size());
}

// The array whose drives are exactly those of the chunk specs.
TEST_F(TarnellLogicalBuildTest, ReturnArrayFindsTheArrayOfExactlyTheseDrives)
{
    BuildAdapter a(CONTROLLER_A, 3);
    a.buildAll();
    const char* const COUNT = "Number of harddrives not matching the ones in the existing Array";
    const char* const MISMATCH = "HardDrives mentioned, do not match with the ones, in the existing Array";
    Array* const basic0 = a.array("TarnellBasicArray", 0);
    Array* const spanned0 = a.array("TarnellSpannedArray", 0);
    const struct {
        std::vector<std::pair<int, int>> drives;
        int code;
        Array* array;
        const char* message;
    } cases[] = {
        {{{1, 4}}, 0, nullptr, nullptr},                            // carries no chunk
        {{{0, 0}, {0, 1}, {0, 2}}, 0, basic0, nullptr},
        {{{0, 2}, {0, 0}, {0, 1}}, 0, basic0, nullptr},
        {{{2, 0}, {2, 1}, {2, 2}, {2, 3}}, 0, spanned0, nullptr},   // the spanned drive's sub-drives
        {{{0, 0}, {0, 1}}, -2, nullptr, COUNT},
        {{{2, 0}, {2, 1}}, -2, nullptr, COUNT},
        {{{0, 0}, {0, 1}, {1, 0}}, -2, nullptr, MISMATCH},
    };
    for (const auto& c : cases) {
        TarnellUtils::openLog();
        ChunkSpecCollection specs;
        for (const auto& d : c.drives)
            specs.push_back(ChunkSpec(d.first, d.second, 0, 2048, 0, CHUNK_TYPE_DATA));
        Array* found = reinterpret_cast<Array*>(a.adapter);   // any non-null value
        const Ret ret = a.adapter->returnArray(specs, &found);
        EXPECT_EQ(Ret(c.code), ret) << c.drives.size();
        EXPECT_EQ(c.array, found) << c.drives.size();
        const std::string log = familyLog();
        EXPECT_EQ(c.message == COUNT, contains(log, COUNT));
        EXPECT_EQ(c.message == MISMATCH, contains(log, MISMATCH));
    }

    ChunkSpecCollection none;
    Array* untouched = basic0;
    EXPECT_EQ(Ret(0), a.adapter->returnArray(none, &untouched));
    EXPECT_EQ(basic0, untouched);
    ChunkSpecCollection one{ChunkSpec(0, 0, 0, 2048, 0, CHUNK_TYPE_DATA)};
    EXPECT_EQ(Ret(Ret::BAD_PARAM), a.adapter->returnArray(one, nullptr));
}

} // namespace
