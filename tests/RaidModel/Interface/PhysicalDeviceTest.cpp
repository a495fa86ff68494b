#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "RaidLib/Util/SCSICommand.h"
#include "RaidModel/Interface/CDROMDrive.h"
#include "RaidModel/Interface/OtherDevice.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SASChannel.h"
#include "RaidModel/Interface/SATAChannel.h"
#include "RaidModel/Interface/TapeDrive.h"
#include "RaidModel/ModelTestUtil.h"

// The channel readers make an OtherDevice from a "PhysicalDevice" element,
// with its phys, and go on with the element behind it.
TEST(PhysicalDevice, PhysicalDeviceElementBecomesOtherDeviceWithItsPhys)
{
    modeltest::Parsed in(
        "<Channel typeName=\"SASChannel\" channelID=\"1\">"
        "<PhysicalDevice typeName=\"OtherDevice\" deviceID=\"6\" deviceType=\"2\" vendor=\"ACME\">"
        "<SASPhy SASaddress=\"A\"/><SASPhy SASaddress=\"B\"/></PhysicalDevice>"
        "<TapeDrive deviceID=\"7\"/></Channel>");
    ASSERT_TRUE(in.startOf("Channel"));
    SASChannel channel(nullptr, in.parser);
    ASSERT_EQ(channel.getNumChildren(), 2u);
    ASSERT_TRUE(channel.getChild(0)->isInstanceOf("OtherDevice"));
    OtherDevice* device = static_cast<OtherDevice*>(channel.getChild(0));
    EXPECT_EQ(device->getDeviceType(), PRINTER);
    EXPECT_EQ(device->getDeviceID(), 6u);
    EXPECT_STREQ(device->getVendor(), "ACME");
    EXPECT_EQ(device->getChannel(), &channel);
    ASSERT_EQ(device->getNumSASPhys(), 2u);
    EXPECT_STREQ(device->getSASPhy(1)->getSASAddress(), "B");
    EXPECT_EQ(device->getSASPhy(2), nullptr);
    for (unsigned long i = 0; i < 2; ++i) {
        EXPECT_EQ(device->getSASPhy(i)->getDeviceID(), 6u);
        EXPECT_EQ(device->getSASPhy(i)->getChannelID(), 1u);
    }
    EXPECT_EQ(channel.getOtherPhysicalDevice(0), device);
    EXPECT_TRUE(channel.getChild(1)->isInstanceOf("TapeDrive"));
    // Written again under the element of its type.
    EXPECT_EQ(modeltest::treeText(*device).substr(0, 9), "<Printer ");
    channel.deleteAllChildren();
}

TEST(PhysicalDevice, OtherDeviceElementFollowsTheDeviceType)
{
    const std::vector<std::pair<EnumPhysicalDeviceType, std::string>> cases = {
        {HARD_DRIVE, "RemovableDrive"}, {PRINTER, "Printer"},
        {WORM_DRIVE, "WormDrive"},      {SCANNER_DEVICE, "Scanner"},
        {OPTICAL_DRIVE_DEVICE, "OpticalDrive"}, {CHANGER_DEVICE, "MediaChanger"},
        {COMM_DEVICE, "CommDevice"},    {UNKNOWN_DEVICE, "UnknownDevice"},
        {STORAGE_ARRAY_CONTROLLER_DEVICE, "UnknownDevice"}, {TAPE_DRIVE, "UnknownDevice"},
    };
    for (const auto& c : cases) {
        OtherDevice device(nullptr, nullptr, 1, c.first, "", "", "", "", "");
        EXPECT_STREQ(device.serializedName(), c.second.c_str()) << c.first;
    }
    OtherDevice device(nullptr, nullptr, 1, STORAGE_ARRAY_CONTROLLER_DEVICE, "", "", "", "", "");
    EXPECT_EQ(modeltest::treeText(device).substr(0, 15), "<UnknownDevice ");
    EXPECT_EQ(OtherDevice().getDeviceType(), UNKNOWN_DEVICE);
}

TEST(PhysicalDevice, AttributesInOrder)
{
    SATAChannel channel(nullptr, 2, SPEED_SATA300, 4);
    CDROMDrive drive(nullptr, &channel, 3, "V\xC5nd", "Model", "SN", "1.0", "FRU");
    drive.setWWN0(0x04030201);
    drive.setWWN1(0x08070605);
    EXPECT_EQ(modeltest::attributesText(drive),
              " typeName=\"CDROMDrive\" attachmentType=\"none\" deviceID=\"3\" deviceType=\"5\""
              " vendor=\"VEnd\" model=\"Model\" serialNumber=\"SN\" firmwareLevel=\"1.0\""
              " fruNumber=\"FRU\" state=\"3\" maxSpeed=\"2147483647\" negotiatedSpeed=\"2147483647\""
              " wwn0=\"67305985\" wwn1=\"134678021\" wwn=\"0102030405060708\" I_T_nexusLossTime=\"0\""
              " I_T_nexusLossTimeChangeable=\"false\" interfaceType=\"1\" sataPort=\"2147483647\""
              " unsupportedDeviceReason=\"0\"");
}

TEST(PhysicalDevice, WorldWideNameText)
{
    TapeDrive tape;
    EXPECT_STREQ(tape.getWWNString(), "0000000000000000");
    tape.setWWN0(0x123456AB);
    EXPECT_STREQ(tape.getWWNString(), "AB56341200000000");
    tape.setWWN1(0xFF000000);
    EXPECT_STREQ(tape.getWWNString(), "AB563412000000FF");
    EXPECT_EQ(tape.getInterfaceType(), SCSI);
}

// Absent attributes read as 0, not as the constructor's values.
TEST(PhysicalDevice, ReaderTakesAbsentAttributesAsZero)
{
    modeltest::Parsed in("<CDROMDrive deviceID=\"2\" vendor=\"V\" wwn=\"00112233445566778899\"/>");
    ASSERT_TRUE(in.startOf("CDROMDrive"));
    CDROMDrive drive(nullptr, nullptr, in.parser);
    EXPECT_EQ(drive.getDeviceID(), 2u);
    EXPECT_EQ(drive.getEnumeratedSetSpeed(), 0);
    EXPECT_EQ(drive.getSataPortNumber(), 0);
    EXPECT_EQ(drive.getState(), DRIVE_READY);
    EXPECT_EQ(drive.getDeviceType(), HARD_DRIVE);
    EXPECT_STREQ(drive.getWWNString(), "0011223344556677");
}

TEST(PhysicalDevice, TapeDriveReadsBackWithItsPhys)
{
    modeltest::Parsed in("<TapeDrive typeName=\"TapeDrive\" deviceID=\"5\" state=\"3\">"
                         "<SASPhy SASaddress=\"A\"/><SASPhy SASaddress=\"B\"/></TapeDrive>");
    ASSERT_TRUE(in.startOf("TapeDrive"));
    TapeDrive tape(nullptr, nullptr, in.parser);
    EXPECT_EQ(tape.getDeviceID(), 5u);
    ASSERT_EQ(tape.getNumSASPhys(), 2u);
    EXPECT_EQ(tape.getSASPhy(0)->getDeviceID(), 5u);
    EXPECT_EQ(tape.getSASPhy(1)->getDeviceID(), 5u);
    tape.deleteAllChildren();
}

TEST(PhysicalDevice, EqualityIgnoresSpeedsPortAndWwn)
{
    TapeDrive a(nullptr, nullptr, 1, "V", "M", "S", "F", "R");
    TapeDrive b(a);
    b.setWWN0(5);
    b.setInterfaceType(SAS);
    EXPECT_TRUE(a == b);
    b.setFruNumber("X");
    EXPECT_FALSE(a == b);

    // Texts longer than their fields are cut.
    a.setVendor(std::string(40, 'v').c_str());
    EXPECT_EQ(std::string(a.getVendor()), std::string(32, 'v'));

    SCSICommand cmd;
    EXPECT_EQ(a.setState(DRIVE_DEAD).getReturn(), -1);
    EXPECT_EQ(a.setITNexusLossTime(5).getReturn(), -1);
    EXPECT_EQ(a.scsiPassThruCommand(cmd).getReturn(), -1);
    EXPECT_EQ(a.upgradeFirmware("f", true).getReturn(), -1);
    EXPECT_EQ(a.identifyDevice(true).getReturn(), -1);
    EXPECT_EQ(a.getState(), DEVICE_STANDBY);
    EXPECT_EQ(a.getITNexusLossTime(), 0);
}
