#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/ChunkSpec.h"
#include "RaidModel/Interface/Config.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"
#include "RaidModel/Interface/PhysicalDevice.h"
#include "RaidModel/Interface/SCSIChannel.h"
#include "RaidModel/ModelTestUtil.h"

namespace {

// Family classes: a drive that answers "HardDrive" and a node that answers
// "LogicalDrive".
class FamilyDrive : public PhysicalDevice {
public:
    FamilyDrive(Channel* channel, unsigned long id, EnumPhysicalDeviceState state)
        : PhysicalDevice(nullptr, channel, id, HARD_DRIVE, "", "", "", "", state, "")
    {
    }
    bool isInstanceOf(const char* name) const override
    {
        return (name && std::strcmp(name, "HardDrive") == 0) || PhysicalDevice::isInstanceOf(name);
    }
};

class FamilyLogical : public RaidObject {
public:
    explicit FamilyLogical(STORID_T id) { myAddr2.setLogicalDriveID(id); }
    bool isInstanceOf(const char* name) const override
    {
        return (name && std::strcmp(name, "LogicalDrive") == 0) || RaidObject::isInstanceOf(name);
    }
};

} // namespace

TEST(Chunk, DriveGoesOnlineOnlyForAConsumer)
{
    SCSIChannel channel(nullptr, 2, 7, SPEED_SCSI320);
    FamilyLogical consumer(4);
    struct Case {
        EnumPhysicalDeviceState before;
        bool withConsumer;
        EnumPhysicalDeviceState after;
    };
    const Case cases[] = {
        {DRIVE_READY, true, DRIVE_ONLINE},
        {DRIVE_READY, false, DRIVE_READY},
        {DRIVE_SPARE, true, DRIVE_SPARE},
    };
    for (const Case& c : cases) {
        FamilyDrive drive(&channel, 3, c.before);
        Chunk chunk(&drive, c.withConsumer ? &consumer : nullptr, 100, 50, CHUNK_TYPE_DATA, 1, CHUNK_NORMAL);
        EXPECT_EQ(drive.getState(), c.after);
        EXPECT_EQ(chunk.getChannelID(), 2u);
        EXPECT_EQ(chunk.getDeviceID(), 3u);
        EXPECT_EQ(chunk.getChunkID(), 100u);
        EXPECT_EQ(chunk.getProviderHardDrive<PhysicalDevice>(), static_cast<PhysicalDevice*>(&drive));
        EXPECT_EQ(chunk.getPhysicalDevice(), static_cast<RaidObject*>(&drive));
    }
}

TEST(Chunk, ChunkOfALogicalDrive)
{
    FamilyLogical provider(6);
    FamilyLogical consumer(7);
    Chunk chunk(&provider, &consumer, 2048, 100, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL);
    EXPECT_EQ(chunk.getChannelID(), STORID_UNDEFINED);
    EXPECT_EQ(chunk.getDeviceID(), STORID_UNDEFINED);
    EXPECT_EQ(chunk.getLogicalDriveID(), 6u);
    EXPECT_EQ(chunk.getChunkID(), 2048u);
    EXPECT_EQ(chunk.getProviderLogical<RaidObject>(), &provider);
    EXPECT_EQ(chunk.getPhysicalDevice(), nullptr);
    EXPECT_EQ(modeltest::attributesText(chunk),
              " typeName=\"Chunk\" attachmentType=\"none\" logicalDriveID=\"6\" chunkID=\"2048\""
              " consumerLogicalID=\"7\" startSector=\"2048\" numSectors=\"100\" reserved=\"0\" group=\"0\""
              " chunkType=\"0\" chunkState=\"0\" startBlock=\"2048\" numBlocks=\"100\" groupNum=\"0\"");
}

// A chunk read back without a provider finds its drive below its controller.
TEST(Chunk, PhysicalDeviceByAddressBelowTheController)
{
    Adapter adapter;
    adapter.getAddr2().setAdapterID(1);
    SCSIChannel* channel = new SCSIChannel(&adapter, 2, 7, SPEED_SCSI320);
    adapter.addChild(channel);
    FamilyDrive* drive = new FamilyDrive(channel, 3, DRIVE_ONLINE);
    channel->addChild(drive);
    Chunk* chunk = new Chunk(2, 3, 0, 10, 0, 0, CHUNK_TYPE_DATA, CHUNK_NORMAL);
    drive->addChild(chunk);
    EXPECT_EQ(chunk->getPhysicalDevice(), static_cast<RaidObject*>(drive));
    Chunk orphan(2, 3, 0, 10, 0, 0, CHUNK_TYPE_DATA, CHUNK_NORMAL);
    EXPECT_EQ(orphan.getPhysicalDevice(), nullptr);
    adapter.deleteAllChildren();
}

TEST(Chunk, ElementWithoutChunkTypeReadsAsMetadata)
{
    modeltest::Parsed in("<Chunk channelID=\"1\" deviceID=\"2\" chunkID=\"4294967296\""
                         " startSector=\"4294967296\" numSectors=\"8\" group=\"3\"/>");
    ASSERT_TRUE(in.startOf("Chunk"));
    Chunk chunk(in.parser);
    EXPECT_EQ(chunk.getChunkType(), CHUNK_TYPE_METADATA);
    EXPECT_EQ(chunk.getStartSector(), 4294967296ULL);
    EXPECT_EQ(chunk.getChunkID(), 4294967295ULL);
    EXPECT_EQ(chunk.getNumSector(), 8u);
    EXPECT_EQ(chunk.getGroup(), 3u);
    EXPECT_EQ(chunk.getChannelID(), 1u);
    EXPECT_EQ(chunk.getConsumer<RaidObject>(), nullptr);

    // Equal by start, count, reserved count and group, whatever the type.
    Chunk other(9, 9, 4294967296ULL, 8, 0, 3, CHUNK_TYPE_SPARE, CHUNK_DEAD);
    EXPECT_TRUE(chunk == other);
    Chunk copy(other);
    EXPECT_EQ(copy.getChunkType(), CHUNK_TYPE_SPARE);
    EXPECT_EQ(copy.getChannelID(), STORID_UNDEFINED);
}

TEST(ChunkSpec, ProviderSettersExcludeEachOther)
{
    ChunkSpec spec(1, 2, 0, 10, 0, CHUNK_TYPE_DATA);
    spec.setLogicalID(0x7FFFFFFF);
    EXPECT_EQ(spec.getChannelID(), 1u);
    EXPECT_EQ(spec.getDeviceID(), 2u);
    spec.setLogicalID(5);
    EXPECT_EQ(spec.getLogicalDriveID(), 5u);
    EXPECT_EQ(spec.getChannelID(), STORID_UNDEFINED);
    EXPECT_EQ(spec.getDeviceID(), STORID_UNDEFINED);
    spec.setHardDriveID(1, 0x7FFFFFFF);
    EXPECT_EQ(spec.getLogicalDriveID(), 5u);
    spec.setHardDriveID(1, 2);
    EXPECT_EQ(spec.getLogicalDriveID(), STORID_UNDEFINED);

    const chunkspec record = {3, 4, 5, 0xFFFFFFFFu, 16, 1, 2};
    ChunkSpec fromRecord(record);
    EXPECT_EQ(fromRecord.getStartBlock(), 0xFFFFFFFFULL);
    EXPECT_EQ(fromRecord.getLogicalDriveID(), 3u);
    EXPECT_EQ(fromRecord.getChunkType(), CHUNK_TYPE_AVAILABLE);
    EXPECT_EQ(ChunkSpec().getChunkType(), CHUNK_TYPE_DATA);
}

TEST(LogicalDriveSpec, DefaultsAndName)
{
    LogicalDriveSpec spec;
    EXPECT_EQ(spec.raidLevel, RAID_UNKNOWN);
    EXPECT_EQ(spec.stripeSize, STRIPE_NA);
    EXPECT_EQ(spec.readCacheSetting, LD_CACHE_ENABLED);
    EXPECT_EQ(spec.initMethod, INIT_NORMAL);
    EXPECT_EQ(spec.taskPriority, TASK_PRIORITY_HIGH);
    spec.setName(std::string(40, 'n').c_str());
    EXPECT_EQ(std::string(spec.getName()), std::string(31, 'n'));
    spec.addChunk(1, 2, 0, 100, 0, CHUNK_TYPE_DATA);
    LogicalDriveSpec copy(spec);
    ASSERT_EQ(copy.chunks.size(), 1u);
    EXPECT_EQ(copy.chunks[0].getLogicalDriveID(), STORID_UNDEFINED);
    spec.reset(RAID5, STRIPE_64K, nullptr);
    EXPECT_TRUE(spec.chunks.empty());
    EXPECT_STREQ(spec.getName(), "");
    EXPECT_EQ(spec.raidLevel, RAID5);
}

TEST(Config, WritesOnlyItsIdAndSupportsNothing)
{
    Config config(12);
    config.getAddr2().setAdapterID(1);
    EXPECT_EQ(modeltest::treeText(config), "<Config configID=\"12\"/>\n");
    EXPECT_EQ(config.resetConfig().getReturn(), -1);
    EXPECT_EQ(config.setConfigId(3).getReturn(), -1);
    EXPECT_EQ(config.getConfigID(), 12);
    Config copy(config);
    EXPECT_TRUE(copy == config);
    EXPECT_EQ(copy.getAdapterID(), STORID_UNDEFINED);
}
