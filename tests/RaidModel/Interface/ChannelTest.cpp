#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SASChannel.h"
#include "RaidModel/Interface/SATAChannel.h"
#include "RaidModel/Interface/SCSIChannel.h"
#include "RaidModel/Interface/TapeDrive.h"
#include "RaidModel/ModelTestUtil.h"

namespace {

// A family's drive class: a physical device that answers "HardDrive".
class FamilyDrive : public PhysicalDevice {
public:
    FamilyDrive(Channel* channel, unsigned long id)
        : PhysicalDevice(nullptr, channel, id, HARD_DRIVE, "V", "M", "S", "F", DRIVE_READY, "R")
    {
    }
    bool isInstanceOf(const char* name) const override
    {
        return (name && std::strcmp(name, "HardDrive") == 0) || PhysicalDevice::isInstanceOf(name);
    }
};

} // namespace

TEST(Channel, ScsiChannelWrittenAndReadBackIsEqual)
{
    Adapter adapter;
    adapter.getAddr2().setAdapterID(1);
    SCSIChannel* channel = new SCSIChannel(&adapter, 2, 7, SPEED_SCSI320);
    adapter.addChild(channel);
    channel->addChild(new TapeDrive(&adapter, channel, 5, "V", "M", "S", "F", "R"));

    const std::string doc = modeltest::treeText(*channel);
    EXPECT_EQ(doc.substr(0, doc.find('\n')),
              "<Channel typeName=\"SCSIChannel\" attachmentType=\"none\" controllerID=\"1\" channelID=\"2\""
              " transferSpeed=\"7\" channelSpeed=\"7\" channelType=\"0\" type=\"scsi\" initiatorID=\"7\">");

    modeltest::Parsed in(doc);
    ASSERT_TRUE(in.startOf("Channel"));
    ASSERT_TRUE(in.parser.nameIs("typeName"));
    std::unique_ptr<SCSIChannel> read(new SCSIChannel(&adapter, in.parser));
    EXPECT_TRUE(*read == *channel);
    EXPECT_EQ(read->getChannelID(), 2u);
    EXPECT_EQ(read->getAdapterID(), 1u);
    EXPECT_EQ(read->getTransferSpeed(), SPEED_SCSI320);
    EXPECT_EQ(read->getChannelType(), SCSI);
    EXPECT_EQ(read->getInitiatorID(), 7u);
    ASSERT_EQ(read->getNumPhysicalDevices(), 1u);
    TapeDrive* tape = read->getPhysicalDevice<TapeDrive>(0);
    EXPECT_TRUE(tape->isInstanceOf("TapeDrive"));
    EXPECT_EQ(tape->getChannel(), read.get());
    EXPECT_EQ(tape->getChannelID(), 2u);
    EXPECT_EQ(tape->getDeviceID(), 5u);
    EXPECT_EQ(modeltest::treeText(*read), doc);
    read->deleteAllChildren();
    adapter.deleteAllChildren();
}

// Only a SAS channel reads SES enclosure devices: below a SCSI channel the
// element is passed over with what it holds, and reading goes on behind it.
TEST(Channel, SesDeviceBelowScsiChannelIsSkipped)
{
    modeltest::Parsed in(
        "<Channel typeName=\"SCSIChannel\" channelID=\"1\" channelSpeed=\"6\" transferSpeed=\"5\">"
        "<SESEnclosureDevice typeName=\"SES2EnclosureDevice\" deviceID=\"3\">"
        "<SASPhy SASaddress=\"A\"/><TapeDrive deviceID=\"8\"/></SESEnclosureDevice>"
        "<TapeDrive deviceID=\"4\"><SASPhy SASaddress=\"B\"/></TapeDrive>"
        "</Channel><After/>");
    ASSERT_TRUE(in.startOf("Channel"));
    SCSIChannel read(nullptr, in.parser);
    EXPECT_EQ(read.getNumSES2EnclosureDevices(), 0u);
    // A device element nested in the skipped one is still read.
    ASSERT_EQ(read.getNumChildren(), 2u);
    EXPECT_EQ(read.getChild(0)->getDeviceID(), 8u);
    EXPECT_EQ(read.getChild(1)->getDeviceID(), 4u);
    EXPECT_EQ(read.getChild(1)->getChildCount(), 1u);
    // "channelSpeed" is never read; a missing "initiatorID" gives 0.
    EXPECT_EQ(read.getTransferSpeed(), SPEED_SCSI80);
    EXPECT_EQ(read.getInitiatorID(), 0u);
    EXPECT_EQ(in.rest(), (std::vector<std::string>{"13 After"}));
    read.deleteAllChildren();
}

TEST(Channel, SelfClosingElementEndsTheReader)
{
    modeltest::Parsed in("<Channel typeName=\"SATAChannel\" channelID=\"3\" ports=\"4\"/><TapeDrive deviceID=\"1\"/>");
    ASSERT_TRUE(in.startOf("Channel"));
    SATAChannel read(nullptr, in.parser);
    EXPECT_EQ(read.getNumChildren(), 0u);
    EXPECT_EQ(read.getPortCount(), 4u);
    EXPECT_EQ(read.getChannelType(), SATA);
    EXPECT_EQ(read.getChannelID(), 3u);
    EXPECT_EQ(read.getTransferSpeed(), SPEED_UNKNOWN);
}

// A reader that fails part way releases what it had read.
TEST(Channel, FailedReadLeavesNothingBehind)
{
    const uint32_t before = globalRaidObjectCounter;
    modeltest::Parsed in("<Channel typeName=\"SASChannel\" channelID=\"1\"><TapeDrive deviceID=\"2\"/>"
                         "<TapeDrive deviceID=\"3\"><SASPhy SASaddress=\"A\"/><SASPhy SASaddress=B/>"
                         "</TapeDrive></Channel>");
    ASSERT_TRUE(in.startOf("Channel"));
    EXPECT_THROW(new SASChannel(nullptr, in.parser), SimpleXmlException);
    EXPECT_EQ(globalRaidObjectCounter, before);
}

TEST(Channel, DevicesAreStampedAndIndexed)
{
    SASChannel channel(nullptr, 4, SPEED_SAS300);
    EXPECT_EQ(channel.getHardDrive<RaidObject>(0), nullptr);
    FamilyDrive* drive = new FamilyDrive(&channel, 1);
    TapeDrive* tape = new TapeDrive(nullptr, &channel, 2, "", "", "", "", "");
    channel.addChild(drive);
    channel.addChild(tape);
    SASPhy* phy = new SASPhy();
    drive->addChild(phy);

    EXPECT_EQ(channel.getNumHardDrives(), 1u);
    EXPECT_EQ(channel.getHardDrive<PhysicalDevice>(0), static_cast<PhysicalDevice*>(drive));
    EXPECT_EQ(channel.getNumPhysicalDevices(), 2u);
    EXPECT_EQ(channel.getPhysicalDevice(channel.getNumPhysicalDevices()), nullptr);
    EXPECT_EQ(channel.getNumOtherPhysicalDevices(), 1u);
    EXPECT_EQ(channel.getOtherPhysicalDevice(0), tape);
    EXPECT_EQ(phy->getChannelID(), 4u);
    EXPECT_EQ(phy->getDeviceID(), 1u);
    EXPECT_EQ(drive->getInterfaceType(), SAS);
    channel.deleteAllChildren();
}

TEST(Channel, EqualityPerClass)
{
    Adapter adapter;
    EXPECT_FALSE(SASChannel(&adapter, 1, SPEED_SAS150) == SASChannel(&adapter, 1, SPEED_SAS300));
    EXPECT_TRUE(SASChannel(&adapter, 1, SPEED_SAS300) == SASChannel(&adapter, 1, SPEED_SAS300));
    EXPECT_TRUE(SCSIChannel(&adapter, 1, 7, SPEED_SCSI80) == SCSIChannel(&adapter, 1, 7, SPEED_SCSI320));
    EXPECT_FALSE(SCSIChannel(&adapter, 1, 7, SPEED_SCSI80) == SCSIChannel(&adapter, 1, 6, SPEED_SCSI80));
    EXPECT_FALSE(SATAChannel(&adapter, 1, SPEED_SATA300, 4) == SATAChannel(&adapter, 1, SPEED_SATA300, 8));
    EXPECT_FALSE(SATAChannel(&adapter, 1, SPEED_SATA300, 4) == SATAChannel(nullptr, 1, SPEED_SATA300, 4));

    // Assignment copies the description, not the tree or the other ids.
    SCSIChannel target(nullptr, 9, 1, SPEED_SCSI5);
    target.getAddr2().setDeviceID(3);
    target = SCSIChannel(&adapter, 2, 7, SPEED_SCSI160);
    EXPECT_EQ(target.getChannelID(), 2u);
    EXPECT_EQ(target.getDeviceID(), 3u);
    EXPECT_EQ(target.getInitiatorID(), 7u);
    EXPECT_EQ(target.getAdapter(), &adapter);

    EXPECT_EQ(target.identifyDevice(true).getReturn(), -1);
    EXPECT_EQ(target.setTransferSpeed(SPEED_SCSI20).getReturn(), -1);
    EXPECT_EQ(target.setInitiatorID(3).getReturn(), -1);
    EXPECT_EQ(target.getTransferSpeed(), SPEED_SCSI160);
    EXPECT_EQ(target.getInitiatorID(), 7u);
    EXPECT_TRUE(target.isInstanceOf("ScsiChannel") && target.isInstanceOf("Channel"));
    EXPECT_FALSE(target.isInstanceOf("SASChannel"));
}

// Enclosures are restored below any channel, SES enclosure devices below a
// SAS channel, each into its channel's index.
TEST(Channel, EnclosuresAreReadIntoTheirIndexes)
{
    modeltest::Parsed in(
        "<Channel typeName=\"SASChannel\" channelID=\"0\">"
        "<Enclosure typeName=\"Enclosure\" deviceID=\"6\"/>"
        "<SESEnclosureDevice typeName=\"SES2EnclosureDevice\" deviceID=\"3\"/>"
        "</Channel>");
    ASSERT_TRUE(in.startOf("Channel"));
    SASChannel read(nullptr, in.parser);
    ASSERT_EQ(read.getNumChildren(), 2u);
    EXPECT_TRUE(read.getChild(0)->isInstanceOf("Enclosure"));
    EXPECT_EQ(read.getChild(0)->getDeviceID(), 6u);
    EXPECT_TRUE(read.getChild(1)->isInstanceOf("SES2EnclosureDevice"));
    EXPECT_EQ(read.getNumSES2EnclosureDevices(), 1u);
    read.deleteAllChildren();
}
