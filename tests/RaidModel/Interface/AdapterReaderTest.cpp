#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

// Reads the first "Controller" element of a text; the controller and its
// subtree go when the holder goes.
struct ReadController {
    explicit ReadController(std::string xml) : text(std::move(xml))
    {
        parser.attach(&text[0], text.size());
        parser.parseNext();
        adapter = new Adapter(parser);
    }
    ~ReadController()
    {
        adapter->deleteAllChildren();
        delete adapter;
    }
    std::string text;
    SimpleXmlParser parser;
    Adapter* adapter;
};

TEST(AdapterReader, AnElementOfTheBaseWriterSupportsOnlyTheSimpleVolume)
{
    Adapter source(1, 0, CONTROLLER_STATUS_WORKING, const_cast<char*>("bios"), nullptr, nullptr, 2, false, 8, 4,
                   2, 3, 15, 16, 1);
    char* written = nullptr;
    {
        XMLWriter writer(&written);
        writer.writeTree(source);
    }
    ReadController r(written);
    delete[] written;

    ASSERT_EQ(r.adapter->raidLevelSupport.size(), 1u);
    const RaidSupportInfo& simple = r.adapter->raidLevelSupport[0];
    EXPECT_EQ(simple.raidLevel, SIMPLE_VOLUME);
    EXPECT_EQ(simple.minStripeSize, STRIPE_NA);
    EXPECT_EQ(simple.maxStripeSize, STRIPE_NA);
    EXPECT_EQ(simple.minMembers, 1u);
    EXPECT_EQ(simple.maxMembers, 1u);
    EXPECT_EQ(simple.maxDedicatedSpares, 0u);
    EXPECT_TRUE(simple.migrateTo.empty());
    EXPECT_TRUE(*r.adapter == source);
    EXPECT_EQ(r.adapter->getLimit(MAX_CHANNELS), 3);
    EXPECT_EQ(r.adapter->getStorLibType(), STORLIB_TARNELL);
}

TEST(AdapterReader, RaidLevelsFromFeatureAttributes)
{
    ReadController r("<Controller featRaid0=\"1\" featMorphRaid0ToRaid5=\"1\" featMorphRaid1ToRaid0=\"0\""
                     " featRaid1=\"1\" featExpandRaid1=\"1\" maxDedicatedSparesPerLogicalDrive=\"2\""
                     " featRaid6=\"1\" maxLogicalDriveMembers=\"16\" maxRaid0Members=\"32\"/>");
    const std::vector<RaidSupportInfo>& levels = r.adapter->raidLevelSupport;
    ASSERT_EQ(levels.size(), 4u);
    EXPECT_EQ(levels[0].raidLevel, RAID0);
    EXPECT_EQ(levels[0].migrateTo, std::vector<EnumRaidLevel>{RAID5});
    EXPECT_EQ(levels[0].maxMembers, 32u);
    EXPECT_EQ(levels[0].maxDedicatedSpares, 0u);
    EXPECT_EQ(levels[1].raidLevel, RAID1);
    EXPECT_EQ(levels[1].minMembers, 2u);
    EXPECT_EQ(levels[1].maxMembers, 2u);
    EXPECT_EQ(levels[1].maxDedicatedSpares, 2u);
    EXPECT_EQ(levels[1].migrateTo, std::vector<EnumRaidLevel>{RAID1});
    EXPECT_EQ(levels[2].raidLevel, SIMPLE_VOLUME);
    EXPECT_EQ(levels[3].raidLevel, RAID6);
    EXPECT_EQ(levels[3].minMembers, 4u);
    EXPECT_EQ(levels[3].maxMembers, 16u);
    EXPECT_TRUE(levels[3].migrateTo.empty());
    EXPECT_EQ(r.adapter->getFeature(FeatRaid0), 1);
}

TEST(AdapterReader, MigrationOrderOfTheVolumes)
{
    ReadController r("<Controller featSpannedVolume=\"1\" featMorphSpannedVolumeToRaid50=\"1\""
                     " featMorphSpannedVolumeToSimpleVolume=\"1\" featMorphSpannedVolumeToRaid0=\"1\""
                     " featMorphSimpleVolumeToRaid50=\"1\" featMorphSimpleVolumeToSpannedVolume=\"1\"/>");
    const std::vector<RaidSupportInfo>& levels = r.adapter->raidLevelSupport;
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].migrateTo, (std::vector<EnumRaidLevel>{SPANNED_VOLUME, RAID50}));
    EXPECT_EQ(levels[1].raidLevel, SPANNED_VOLUME);
    EXPECT_EQ(levels[1].migrateTo, (std::vector<EnumRaidLevel>{RAID0, SIMPLE_VOLUME, RAID50}));
}

TEST(AdapterReader, ChildrenAtAnyDepthAndChannelClasses)
{
    ReadController r(
        "<Controller typeName=\"Adapter\" storlibType=\"9\" controllerID=\"6\" controllerType=\"3\""
        " biosVersion=\"0123456789012345678901234567890123456789\">"
        " <Channel typeName=\"TarnellSCSIChannel\" channelID=\"2\" initiatorID=\"7\">"
        "  <HardDrive typeName=\"HardDrive\" deviceID=\"1\" size=\"100\"/>"
        " </Channel>"
        " <Channel typeName=\"Channel\" channelID=\"3\"><HardDrive deviceID=\"2\"/></Channel>"
        " <Array size=\"10\"><LogicalDrive typeName=\"BasicLogicalDrive\" logicalDriveID=\"4\"/></Array>"
        " <SASPhy phyID=\"3\" SASaddress=\"500\"/>"
        "</Controller><Controller controllerID=\"99\"/>");
    Adapter& a = *r.adapter;
    EXPECT_EQ(a.getAdapterID(), 6u);
    EXPECT_EQ(a.getStorLibType(), STORLIB_VESK); // taken as written, not derived from the model code
    EXPECT_EQ(a.getAdapterType(), 3);
    EXPECT_STREQ(a.getBiosVersion(), "0123456789012345678901234567890");
    ASSERT_EQ(a.getNumChannels(), 1u);
    ASSERT_EQ(a.getNumSCSIChannels(), 1u);
    EXPECT_STREQ(a.getChannel(0)->typeName(), "SCSIChannel");
    ASSERT_EQ(a.getNumHardDrives(), 1u);
    EXPECT_EQ(a.getHardDrive(0)->getAdapterID(), 6u);
    EXPECT_EQ(a.getHardDrive(0)->getStorLibType(), STORLIB_VESK);
    EXPECT_EQ(a.getHardDrive(0)->getChannelID(), 2u);
    ASSERT_EQ(a.getNumLogicalDrives(), 1u);
    EXPECT_EQ(a.getLogicalDrive(0)->getLogicalDriveID(), 4u);
    EXPECT_EQ(a.getLogicalDrive(0)->getAdapter(), &a);
    EXPECT_EQ(a.getNumChildren(), 3u); // channel, logical drive, SAS phy
    EXPECT_TRUE(a.getChild(2)->isInstanceOf("SASPhy"));
    EXPECT_TRUE(r.parser.tagIs("Controller") && r.parser.foundEndTag());
}

} // namespace
