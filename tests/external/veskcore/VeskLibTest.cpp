// The Vesk storage library over the simulated controllers: the configuration
// tree the providers read, and the control interface.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "RaidLib/Util/SafteStatus.h"
#include "RaidModel/Interface/Array.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "VeskLib.h"
#include "VeskSim.h"

namespace {

class VeskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vesksim::reset();
        lib.reset(new VeskLib);
        ASSERT_TRUE(lib);
    }
    void TearDown() override
    {
        lib.reset();
        vesksim::reset();
    }

    System* read()
    {
        EXPECT_EQ(0, lib->getSystemConfig().getReturn());
        return lib->getSystem();
    }

    template <class T>
    static std::vector<T*> below(RaidObject* root, const char* className)
    {
        std::vector<RaidObject*> found;
        root->getChildren(found, className, true, true);
        std::vector<T*> out;
        for (RaidObject* o : found)
            out.push_back(dynamic_cast<T*>(o));
        return out;
    }

    std::unique_ptr<VeskLib> lib;
};

struct ExpectedAdapter {
    unsigned id;
    unsigned bus, device, function;
    const char* partNumber;
    const char* batteryFRU;
    const char* cardVersion;
    const char* fruNumber;
    int memoryMB;
    EnumBatteryStatus battery;
    std::vector<EnumChannelType> channelTypes;
    std::vector<const char*> channelClasses;
    unsigned hardDrives, arrays, logicalDrives, safteEnclosures, sesDevices;
};

TEST_F(VeskTest, DefaultScenarioReadsIntoVeskModelObjects)
{
    const std::vector<ExpectedAdapter> expected = {
        {0, 4, 0, 0, "VK-8I-2007-A", "BAT-FRU-0731", "Rev C", "FRU-VK8I-03", 256, BATTERY_STATUS_OK,
         {SCSI, SATA, SAS}, {"SCSIChannel", "SATAChannel", "SASChannel"}, 9, 3, 4, 1, 1},
        // The part number keeps its first 32 characters.
        {1, 5, 1, 0, "VK-4E-EXTERNAL-PORT-CARD-PN-0123", "BAT-FRU-0902", "Rev A", "FRU-VK4E-01", 128,
         BATTERY_STATUS_CHARGING, {IDE, FIBRE, SATA_ON_SAS}, {"Channel", "Channel", "Channel"}, 4, 1, 1, 1, 0},
    };
    System* system = read();
    EXPECT_EQ(lib->getStorLibType(), STORLIB_VESK);
    ASSERT_EQ(system->getNumAdapters(), expected.size());
    unsigned long count = 0;
    EXPECT_EQ(0, lib->getControllerCount(count).getReturn());
    EXPECT_EQ(count, expected.size());

    for (size_t i = 0; i < expected.size(); ++i) {
        const ExpectedAdapter& e = expected[i];
        SCOPED_TRACE("adapter " + std::to_string(e.id));
        Adapter* adapter = system->getAdapter(i);
        ASSERT_TRUE(adapter->isInstanceOf("VeskAdapter") && adapter->isInstanceOf("Adapter"));
        EXPECT_FALSE(adapter->isInstanceOf("PelmAdapter") || adapter->isInstanceOf("TarnellAdapter"));
        VeskAdapter* vesk = dynamic_cast<VeskAdapter*>(adapter);
        ASSERT_NE(vesk, nullptr);
        EXPECT_EQ(adapter->getAdapterID(), e.id);
        EXPECT_EQ(adapter->getStorLibType(), STORLIB_VESK);
        EXPECT_EQ(std::vector<unsigned>({adapter->getPCIBus(), adapter->getPciDevice(), adapter->getPCIFunction()}),
                  std::vector<unsigned>({e.bus, e.device, e.function}));
        EXPECT_STREQ(vesk->getPartNumber(), e.partNumber);
        EXPECT_STREQ(vesk->getBatteryFRU(), e.batteryFRU);
        EXPECT_STREQ(vesk->getCardVersion(), e.cardVersion);
        EXPECT_STREQ(vesk->getFRUNumber(), e.fruNumber);
        EXPECT_EQ(adapter->getInstalledMemory(), e.memoryMB);
        EXPECT_EQ(adapter->getBatStatus(), e.battery);
        std::vector<EnumChannelType> types;
        for (uint32_t c = 0; c < adapter->getNumChannels(); ++c) {
            Channel* channel = adapter->getChannel(c);
            types.push_back(channel->getChannelType());
            EXPECT_TRUE(channel->isInstanceOf(e.channelClasses[c])) << c;
        }
        EXPECT_EQ(types, e.channelTypes);
        EXPECT_EQ(adapter->getNumHardDrives(), e.hardDrives);
        EXPECT_EQ(below<Array>(adapter, "Array").size(), e.arrays);
        EXPECT_EQ(adapter->getNumLogicalDrives(), e.logicalDrives);
        EXPECT_EQ(adapter->getNumEnclosures(), e.safteEnclosures);
        EXPECT_EQ(adapter->getNumSES2EnclosureDevices(), e.sesDevices);
    }
}

TEST_F(VeskTest, LogicalDrivesCountBlocksAndCarryNamesAndFullTimeStamps)
{
    const struct {
        unsigned adapter, id, array;
        const char* name;
        uint64_t blocks;
        EnumRaidLevel level;
        EnumLogicalDeviceState state;
        TIMESTAMP_STRUCT created;
        uint64_t chunkStart, chunkSectors;
    } cases[] = {
        {0, 0, 0, "Boot", 64000000, RAID1, OKAY, {1, 3, 5, 2007, 1, 14, 30, 15, 250}, 0, 64000000},
        {0, 1, 0, "Logs", 20000000, RAID1, OKAY, {1, 3, 6, 2007, 1, 9, 0, 0, 0}, 64000000, 20000000},
        {0, 2, 1, "Data", 800000000, RAID5, CRITICAL, {1, 1, 20, 2008, 1, 11, 5, 42, 7}, 0, 400000000},
        {0, 3, 2, "Scratch", 400000000, RAID0, OKAY, {1, 6, 30, 2009, 1, 23, 59, 59, 999}, 0, 200000000},
        {1, 0, 0, "Archive", 200000000, RAID1, OKAY, {1, 12, 24, 2008, 1, 18, 0, 0, 0}, 0, 200000000},
    };
    System* system = read();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Adapter* adapter = system->getAdapter(c.adapter);
        LogicalDrive* drive = nullptr;
        for (uint32_t i = 0; i < adapter->getNumLogicalDrives(); ++i) {
            if (adapter->getLogicalDrive(i)->getLogicalDriveID() == c.id)
                drive = adapter->getLogicalDrive(i);
        }
        ASSERT_NE(drive, nullptr);
        EXPECT_TRUE(drive->isInstanceOf("VeskLogicalDrive"));
        EXPECT_STREQ(drive->getName(), c.name);
        EXPECT_EQ(drive->getDataSpace64(), c.blocks);
        EXPECT_EQ(drive->getRaidLevel(), c.level);
        EXPECT_EQ(drive->getState(), c.state);
        ASSERT_NE(drive->getArray(), nullptr);
        EXPECT_EQ(drive->getArray()->getArrayID(), c.array);
        EXPECT_EQ(drive->getParent(), drive->getArray());
        EXPECT_EQ(0, std::memcmp(&drive->getCreateTimeStamp(), &c.created, sizeof c.created));
        ASSERT_GT(drive->getNumHardDriveChunks(), 0u);
        for (unsigned long i = 0; i < drive->getNumHardDriveChunks(); ++i) {
            Chunk* chunk = drive->getHardDriveChunk(i);
            EXPECT_EQ(chunk->getStartSector(), c.chunkStart);
            EXPECT_EQ(chunk->getNumSector(), c.chunkSectors);
            RaidObject* disk = chunk->getPhysicalDevice();
            ASSERT_NE(disk, nullptr);
            EXPECT_TRUE(disk->isInstanceOf("VeskHardDrive"));
            EXPECT_EQ(disk->getChannelID(), chunk->getChannelID());
            EXPECT_EQ(disk->getDeviceID(), chunk->getDeviceID());
        }
    }
    // An array spans what its logical drives take of its disks.
    Array* first = below<Array>(system->getAdapter(0), "Array").front();
    EXPECT_EQ(first->getSize(), 2u * 64000000 + 2u * 20000000);
}

TEST_F(VeskTest, DisksCarryTheirSpeedsCacheAndFailurePrediction)
{
    System* system = read();
    const struct {
        unsigned adapter, channel, device;
        EnumPhysicalDeviceState state;
        EnumSpeed speed;
        EnumHardDriveCacheMode writeCache;
        bool pfa;
        const char* serial;
    } cases[] = {
        {0, 0, 0, DRIVE_ONLINE, SPEED_SCSI320, HARD_DRIVE_CACHE_MODE_WRITE_THROUGH, false, "3HZ1A001"},
        {0, 1, 2, DRIVE_DEAD, SPEED_SATA300, HARD_DRIVE_CACHE_MODE_WRITE_THROUGH, true, "L50C0003"},
        {0, 2, 0, DRIVE_ONLINE, SPEED_SAS300, HARD_DRIVE_CACHE_MODE_WRITE_BACK, false, "3LN1B001"},
        {1, 1, 1, DRIVE_ONLINE, SPEED_FIBRE2GB, HARD_DRIVE_CACHE_MODE_WRITE_THROUGH, false, "3HY0F002"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial);
        Addr address(c.adapter, STORID_UNDEFINED, STORID_UNDEFINED, c.channel, c.device, BLOCK_UNDEFINED,
                     STORID_UNDEFINED, STORID_UNDEFINED);
        HardDrive* disk = dynamic_cast<HardDrive*>(system->getObject(address));
        ASSERT_NE(disk, nullptr);
        EXPECT_EQ(disk->getState(), c.state);
        EXPECT_EQ(disk->getNegotiatedSpeed(), c.speed);
        EXPECT_EQ(disk->getWriteCacheEnable(), c.writeCache);
        EXPECT_EQ(disk->getPfaError(), c.pfa);
        EXPECT_STREQ(disk->getSerialNumber(), c.serial);
        ASSERT_NE(disk->getChannel(), nullptr);
        EXPECT_EQ(disk->getInterfaceType(), disk->getChannel()->getChannelType());
    }
}

TEST_F(VeskTest, EnclosuresWithAndWithoutSafteDataAndAnSesDevice)
{
    System* system = read();
    Enclosure* shelf = system->getAdapter(0)->getEnclosure(0);
    ASSERT_NE(shelf, nullptr);
    EXPECT_STREQ(shelf->getModel(), "SAFTE SHELF 14");
    EXPECT_STREQ(shelf->getFruNumber(), "ENC-FRU-0815");
    ASSERT_NE(shelf->getSafteConfig(), nullptr);
    ASSERT_NE(shelf->getSafteStatus(), nullptr);
    EXPECT_EQ(shelf->getFanCount(), 3u);
    EXPECT_EQ(shelf->getPowerSupplyCount(), 2u);
    EXPECT_EQ(shelf->getSafteStatus()->ucFanStatus[0], 0);
    EXPECT_EQ(shelf->getSafteStatus()->ucFanStatus[2], 2);
    EXPECT_EQ(shelf->getSafteStatus()->ucPowerSupplyStatus[1], 1);
    EXPECT_FALSE(shelf->isTempOutOfRange());

    Enclosure* jbod = system->getAdapter(1)->getEnclosure(0);
    ASSERT_NE(jbod, nullptr);
    EXPECT_EQ(jbod->getSafteConfig(), nullptr);
    EXPECT_EQ(jbod->getSafteStatus(), nullptr);

    SES2EnclosureDevice* expander = system->getAdapter(0)->getSES2EnclosureDevice(0);
    ASSERT_NE(expander, nullptr);
    EXPECT_STREQ(expander->getModel(), "Z12SAS EXPANDER");
    ASSERT_NE(expander->getChannel(), nullptr);
    EXPECT_EQ(expander->getChannel()->getChannelType(), SAS);
}

TEST_F(VeskTest, ConfigurationReadsAreCounted)
{
    EXPECT_EQ(vesksim::configurationReads(), 0u);
    read();
    read();
    char* xml = new char[1];
    EXPECT_EQ(lib->getSystemConfig(&xml).getReturn(), 0);
    delete[] xml;
    EXPECT_EQ(vesksim::configurationReads(), 3u);
    unsigned long count = 0;
    lib->getControllerCount(count); // asks the controllers, reads no configuration
    EXPECT_EQ(vesksim::configurationReads(), 3u);
    vesksim::reset();
    EXPECT_EQ(vesksim::configurationReads(), 0u);
}

TEST_F(VeskTest, ScenariosOfTheTestsOwn)
{
    vesksim::Scenario one = vesksim::defaultScenario();
    one.controllers.erase(one.controllers.begin());
    one.controllers[0].number = 3;
    vesksim::reset(one);
    EXPECT_EQ(vesksim::current().controllers.size(), 1u);
    System* system = read();
    ASSERT_EQ(system->getNumAdapters(), 1u);
    EXPECT_EQ(system->getAdapter(0)->getAdapterID(), 3u);

    vesksim::reset(vesksim::Scenario());
    EXPECT_EQ(read()->getNumAdapters(), 0u);
    unsigned long count = 9;
    EXPECT_EQ(0, lib->getControllerCount(count).getReturn());
    EXPECT_EQ(count, 0u);
}

TEST_F(VeskTest, NextLibraryAllocationFailsOnce)
{
    vesksim::failNextAllocation();
    VeskLib* none = new VeskLib;
    EXPECT_EQ(none, nullptr);
    std::unique_ptr<VeskLib> next(new VeskLib);
    EXPECT_NE(next, nullptr);

    vesksim::failNextAllocation();
    vesksim::reset(); // forgets it
    std::unique_ptr<VeskLib> after(new VeskLib);
    EXPECT_NE(after, nullptr);
}

} // namespace
