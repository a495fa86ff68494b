#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellCDROMDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellChunk.h"
#include "RaidModel/Implementation/Tarnell/TarnellConfig.h"
#include "RaidModel/Implementation/Tarnell/TarnellEnclosure.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellOtherDevice.h"
#include "RaidModel/Implementation/Tarnell/TarnellSCSIChannel.h"
#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellTapeDrive.h"
#include "RaidModel/ModelTestUtil.h"

// The thin Tarnell classes of channels, chunks, devices and the configuration
// node: their class names, what they hand their bases, and their elements.

namespace {

// Deletes the children of a tree root on the stack when the test leaves.
struct ChildrenOwner {
    RaidObject& root;
    ~ChildrenOwner() { root.deleteAllChildren(); }
};

std::string startTag(const std::string& tree) { return tree.substr(0, tree.find('>')); }

TEST(TarnellModelClasses, ChunkWidensSectorsWithTheirSignAndIsAlwaysData)
{
    TarnellChunk chunk(1, 9, -1, 2048, 5, 3);
    EXPECT_EQ(0xFFFFFFFFFFFFFFFFull, chunk.getStartSector());
    EXPECT_EQ(2048u, chunk.getNumSector());
    EXPECT_EQ(1u, chunk.getChannelID());
    EXPECT_EQ(9u, chunk.getDeviceID());
    EXPECT_EQ(5u, chunk.getReserved());
    EXPECT_EQ(3u, chunk.getGroup());
    EXPECT_EQ(CHUNK_TYPE_DATA, chunk.getChunkType());
    EXPECT_EQ(CHUNK_NORMAL, chunk.getChunkState());

    EXPECT_TRUE(chunk.isInstanceOf("TarnellChunk"));
    EXPECT_TRUE(chunk.isInstanceOf("Chunk"));
    EXPECT_FALSE(chunk.isInstanceOf("tarnellchunk"));
    EXPECT_STREQ("TarnellChunk", chunk.typeName());
    EXPECT_EQ(0u, modeltest::treeText(chunk).find("<Chunk typeName=\"TarnellChunk\""));
}

TEST(TarnellModelClasses, ChannelAndDevicesKeepTheirBasesElements)
{
    TarnellAdapter adapter;
    ChildrenOwner owner{adapter};
    TarnellSCSIChannel* channel = new TarnellSCSIChannel(&adapter, 1, 7, SPEED_SCSI320);
    adapter.addChild(channel);
    EXPECT_EQ(7u, channel->getInitiatorID());
    EXPECT_TRUE(channel->isInstanceOf("TarnellSCSIChannel"));
    EXPECT_TRUE(channel->isInstanceOf("SCSIChannel"));
    EXPECT_TRUE(channel->isInstanceOf("Channel"));
    EXPECT_FALSE(channel->isInstanceOf("TarnellSCSIChannelX"));
    const std::string channelTag = startTag(modeltest::treeText(*channel));
    EXPECT_EQ(0u, channelTag.find("<Channel typeName=\"TarnellSCSIChannel\"")) << channelTag;
    EXPECT_NE(std::string::npos, channelTag.find("type=\"scsi\"")) << channelTag;
    CHANNEL_INFO info = {};
    EXPECT_EQ(nullptr, TarnellSCSIChannel::build(&adapter, info));

    const struct {
        PhysicalDevice* device;
        const char* className;
        const char* base;
    } rows[] = {
        {new TarnellTapeDrive(&adapter, channel, 5, "VEND", "TAPE", "SN1", "FW1", "FRU1"), "TarnellTapeDrive",
         "TapeDrive"},
        {new TarnellCDROMDrive(&adapter, channel, 4, "VEND", "CDROM", "SN2", "FW2", "FRU2"), "TarnellCDROMDrive",
         "CDROMDrive"},
        {new TarnellOtherDevice(&adapter, channel, 8, OPTICAL_DRIVE_DEVICE, "VEND", "OPT", "SN3", "FW3", "FRU3"),
         "TarnellOtherDevice", "OtherDevice"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.className);
        channel->addChild(row.device);
        EXPECT_STREQ(row.className, row.device->typeName());
        EXPECT_TRUE(row.device->isInstanceOf(row.className));
        EXPECT_TRUE(row.device->isInstanceOf(row.base));
        EXPECT_TRUE(row.device->isInstanceOf("PhysicalDevice"));
        EXPECT_EQ(channel, row.device->getChannel());
        EXPECT_STREQ("VEND", row.device->getVendor());
        const std::string tag = startTag(modeltest::treeText(*row.device));
        EXPECT_EQ(0u, tag.find(std::string("<") + row.device->serializedName() + " typeName=\"" +
                               row.className + "\"")) << tag;
    }
    EXPECT_EQ(OPTICAL_DRIVE_DEVICE, rows[2].device->getDeviceType());
    EXPECT_STREQ("OpticalDrive", rows[2].device->serializedName());
}

TEST(TarnellModelClasses, AdapterFindsItsChannelsByChannelId)
{
    TarnellAdapter adapter;
    ChildrenOwner owner{adapter};
    adapter.addChild(new TarnellSCSIChannel(&adapter, 0, 7, SPEED_SCSI320));
    adapter.addChild(new TarnellSCSIChannel(&adapter, 2, 7, SPEED_SCSI160));
    ASSERT_NE(nullptr, adapter.getChannel(2));
    EXPECT_EQ(2u, adapter.getChannel(2)->getChannelID());
    EXPECT_EQ(SPEED_SCSI160, adapter.getChannel(2)->getTransferSpeed());
    EXPECT_EQ(nullptr, adapter.getChannel(1));
    EXPECT_EQ(nullptr, adapter.getChannel(-1));
}

TEST(TarnellModelClasses, ConfigIsWrittenAsAConfig)
{
    TarnellConfig config(0);
    EXPECT_TRUE(config.isInstanceOf("TarnellConfig"));
    EXPECT_TRUE(config.isInstanceOf("Config"));
    EXPECT_STREQ("TarnellConfig", config.typeName());
    EXPECT_STREQ(Config(0).serializedName(), config.serializedName());
    TarnellConfig copy(config);
    EXPECT_EQ(0, copy.getConfigID());
}

TEST(TarnellModelClasses, LifeCycleLinesUnderTheDebugBits)
{
    const struct {
        const char* className;
        std::function<RaidObject*()> make;
    } rows[] = {
        {"TarnellAdapter", [] { return new TarnellAdapter; }},
        {"TarnellAdapterFeatures", [] { return new TarnellAdapterFeatures; }},
        {"TarnellConfig", [] { return new TarnellConfig(0); }},
        {"TarnellSCSIChannel", [] { return new TarnellSCSIChannel(nullptr, 0, 7, SPEED_SCSI320); }},
        {"TarnellChunk", [] { return new TarnellChunk(0, 1, 0, 10, 0, 0); }},
        {"TarnellTapeDrive", [] { return new TarnellTapeDrive(nullptr, nullptr, 5, "", "", "", "", ""); }},
        {"TarnellCDROMDrive", [] { return new TarnellCDROMDrive(nullptr, nullptr, 5, "", "", "", "", ""); }},
        {"TarnellOtherDevice",
         [] { return new TarnellOtherDevice(nullptr, nullptr, 5, PRINTER, "", "", "", "", ""); }},
        {"TarnellBasicArray", [] { return new TarnellBasicArray(nullptr, 1, 10, 5); }},
        {"TarnellBasicLogicalDrive", [] { return new TarnellBasicLogicalDrive; }},
        {"TarnellHardDrive", [] { return new TarnellHardDrive; }},
        {"TarnellEnclosure",
         [] { return new TarnellEnclosure(nullptr, nullptr, 15, "", "", "", "", DRIVE_READY, false, ""); }},
        {"TarnellSpannedArray", [] { return new TarnellSpannedArray(nullptr, 0, 10, 5); }},
        {"TarnellHLogicalDrive", [] { return new TarnellHLogicalDrive; }},
    };
    const uint32_t saved = universalDebugFlag;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.className);
        universalDebugFlag = 0;
        ::testing::internal::CaptureStderr();
        delete row.make();
        EXPECT_EQ("", ::testing::internal::GetCapturedStderr());

        universalDebugFlag = 0x10;
        ::testing::internal::CaptureStderr();
        RaidObject* object = row.make();
        universalDebugFlag = 0x20;
        delete object;
        EXPECT_EQ(std::string("Constructing ") + row.className + "\nDestructing " + row.className + "\n",
                  ::testing::internal::GetCapturedStderr());
    }
    universalDebugFlag = saved;
}

} // namespace
