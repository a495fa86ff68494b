// The snapshot readers over small hand-written documents: which ids, fields
// and children they take, and how they treat what they do not know.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SnapshotTestUtil.h"
#include "monitor/NRMAdapter.h"
#include "monitor/NRMChannel.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEnclosure.h"
#include "monitor/NRMHardDrive.h"
#include "monitor/NRMLogicalDrive.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSystem.h"

using namespace snapshottest;

namespace {

struct ReaderCase {
    const char* name;
    std::string body; // inside "System"
    std::function<void(NRMSystem&)> check;
};

NRMAdapter* adapterOf(NRMSystem& root, unsigned long n = 0) { return static_cast<NRMAdapter*>(root.getAdapter(n)); }

const std::string FORTY = "0123456789012345678901234567890123456789";

const ReaderCase readerCases[] = {
    {"ids come from the element and its owners",
     R"(<Controller controllerID="2" controllerType="6">
          <Channel channelID="1"><HardDrive deviceID="5" state="2"/><Enclosure deviceID="15"/></Channel>
          <LogicalDrive logicalDriveID="3" arrayID="1" state="3"/>
        </Controller>
        <ProgressCollection>
          <Progress taskID="4" controllerID="2" logicalDriveID="3" chunkID="6" itemID="7" phyID="8"/>
        </ProgressCollection>)",
     [](NRMSystem& root) {
         ASSERT_EQ(root.getNumAdapters(), 1u);
         NRMAdapter* a = adapterOf(root);
         EXPECT_EQ(a->getStorLibType(), STORLIB_UNKNOWN);
         ASSERT_EQ(a->getNumHardDrives(), 1u);
         HardDrive* d = a->getHardDrive(0);
         EXPECT_EQ(ids(d), "2/-/-/1/5/-/-/");
         EXPECT_EQ(d->getAdapter(), a);
         EXPECT_EQ(d->getChannel(), a->getChannel(0));
         EXPECT_EQ(d->getState(), DRIVE_DEAD);
         ASSERT_EQ(a->getNumEnclosures(), 1u);
         EXPECT_EQ(ids(a->getEnclosure(0)), "2/-/-/1/15/-/-/");
         ASSERT_EQ(a->getNumLogicalDrives(), 1u);
         LogicalDrive* l = a->getLogicalDrive(0);
         EXPECT_EQ(ids(l), "2/1/3/-/-/-/-/");
         EXPECT_EQ(l->getAdapter(), a);
         EXPECT_EQ(root.getObject(Addr(2, STORID_UNDEFINED, 3, STORID_UNDEFINED, STORID_UNDEFINED,
                                       BLOCK_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED)),
                   l);
         EXPECT_EQ(root.getObject(2, STORID_UNDEFINED, STORID_UNDEFINED, 1, 5), d);
         std::vector<NRMProgress*> tasks = all<NRMProgress>(storedTasks(&root), "Progress");
         ASSERT_EQ(tasks.size(), 1u);
         const Addr& t = tasks[0]->address;
         EXPECT_EQ(t.getAdapterID(), 2u);
         EXPECT_EQ(t.getLogicalDriveID(), 3u);
         EXPECT_EQ(t.getChunkID(), 6u);
         EXPECT_EQ(t.getItemID(), STORID_UNDEFINED);
         EXPECT_EQ(t.getSASPhyID(), STORID_UNDEFINED);
     }},
    {"an unknown element is skipped, the known elements inside it are kept",
     R"(<Controller controllerID="1">
          <AdapterFeatures featRaid0="1" controllerType="99">
            <Channel channelID="0"><Unknown deviceID="9"><HardDrive deviceID="4" vendor="V"/></Unknown></Channel>
          </AdapterFeatures>
          <Array arrayID="0"><LogicalDrive logicalDriveID="0"><LogicalDrive logicalDriveID="1"/></LogicalDrive></Array>
        </Controller>)",
     [](NRMSystem& root) {
         NRMAdapter* a = adapterOf(root);
         ASSERT_NE(a, nullptr);
         EXPECT_EQ(a->getAdapterType(), 0);
         ASSERT_EQ(a->getNumChannels(), 1u);
         ASSERT_EQ(a->getNumHardDrives(), 1u);
         EXPECT_EQ(ids(a->getHardDrive(0)), "1/-/-/0/4/-/-/");
         EXPECT_STREQ(a->getHardDrive(0)->getVendor(), "V");
         // A logical drive reads its element only: one nested in it is
         // passed over.
         ASSERT_EQ(a->getNumLogicalDrives(), 1u);
         EXPECT_EQ(a->getLogicalDrive(0)->getLogicalDriveID(), 0u);
     }},
    {"a missing status attribute reads as 0",
     R"(<Controller><Channel><Enclosure deviceID="6">
          <SafteConfig fanCount="4" powerSupplyCount="2" slotCount="8"/>
          <SafteStatus fan0="1" fan1="2" fan2="128" powerSupply1="17" slot5="6" tempFlags2="1"/>
        </Enclosure></Channel></Controller>)",
     [](NRMSystem& root) {
         NRMEnclosure* e = adapterOf(root)->getEnclosure<NRMEnclosure>(0);
         ASSERT_NE(e, nullptr);
         EXPECT_TRUE(e->nrmSafteDataValid);
         EXPECT_EQ(e->getNumChildren(), 2u);
         EXPECT_EQ(e->getFanCount(), 4u);
         EXPECT_EQ(e->getPowerSupplyCount(), 2u);
         const int fans[] = {1, 2, 128, 0, 0};
         for (unsigned short i = 0; i < 5; ++i)
             EXPECT_EQ(e->getFanStatus(i), fans[i]) << i;
         EXPECT_EQ(e->getPowerSupplyStatus(1), 17);
         EXPECT_EQ(e->getSlotNumberFromDeviceID(6), 5u);
         EXPECT_EQ(e->getDeviceIDFromSlotNumber(0), 0u);
         EXPECT_TRUE(e->isTempOutOfRange());
     }},
    {"an enclosure with only one of its SAF-TE records has no SAF-TE data",
     R"(<Controller><Channel><Enclosure nrmSafteDataValid="true"><SafteConfig fanCount="4"/></Enclosure></Channel>
        </Controller>)",
     [](NRMSystem& root) {
         NRMEnclosure* e = adapterOf(root)->getEnclosure<NRMEnclosure>(0);
         ASSERT_NE(e, nullptr);
         EXPECT_FALSE(e->nrmSafteDataValid);
         EXPECT_EQ(e->getFanCount(), 0u);
         EXPECT_EQ(e->getFanStatus(0), 0x80);
     }},
    {"texts are cut to their field, numbers keep their low bits",
     R"(<Controller controllerSerial=")" + FORTY + R"(" deviceName=")" + FORTY + R"(">
          <Channel><HardDrive serialNumber=")" + FORTY + FORTY + FORTY + FORTY + FORTY + FORTY + FORTY +
         R"(" vendor=")" + FORTY + R"(" wwn=")" + FORTY + R"("/>
          <Enclosure><SafteConfig fanCount="65541"/><SafteStatus fan0="257" slot1="511"/></Enclosure></Channel>
        </Controller>)",
     [](NRMSystem& root) {
         NRMAdapter* a = adapterOf(root);
         EXPECT_EQ(std::string(a->getSerialNumString()), FORTY.substr(0, 31));
         EXPECT_EQ(std::string(a->getDeviceName()), FORTY.substr(0, 31));
         HardDrive* d = a->getHardDrive(0);
         EXPECT_EQ(std::string(d->getSerialNumber()),
                   (FORTY + FORTY + FORTY + FORTY + FORTY + FORTY + FORTY).substr(0, 256));
         EXPECT_EQ(std::string(d->getVendor()), FORTY.substr(0, 32));
         EXPECT_EQ(std::string(d->getWWNString()), FORTY.substr(0, 16));
         NRMEnclosure* e = a->getEnclosure<NRMEnclosure>(0);
         EXPECT_EQ(e->getFanCount(), 5u);
         EXPECT_EQ(e->getFanStatus(0), 1);
         EXPECT_EQ(e->getDeviceIDFromSlotNumber(1), 255u);
     }},
    {"of a repeated attribute the first is read",
     R"(<Controller controllerID="1" controllerID="2" controllerStatus="1" controllerStatus="0">
          <LogicalDrive logicalDriveID="4" state="3" bTaskInProgress="true" state="2" bTaskInProgress="false"/>
        </Controller>)",
     [](NRMSystem& root) {
         NRMAdapter* a = adapterOf(root);
         EXPECT_EQ(a->getAdapterID(), 1u);
         EXPECT_EQ(a->getAdapterStatus(), CONTROLLER_STATUS_FAILED);
         LogicalDrive* l = a->getLogicalDrive(0);
         EXPECT_EQ(l->getState(), CRITICAL);
         EXPECT_TRUE(l->getTaskInProgress());
     }},
    {"the battery temperature warning as a number or a bool",
     R"(<Controller controllerID="0" batTempWarning="1"/><Controller controllerID="1" batTempWarning="true"/>
        <Controller controllerID="2" batTempWarning="0"/><Controller controllerID="3" batTempWarning="false"/>
        <Controller controllerID="4"/>)",
     [](NRMSystem& root) {
         ASSERT_EQ(root.getNumAdapters(), 5u);
         const bool expected[] = {true, true, false, false, false};
         for (unsigned long i = 0; i < 5; ++i)
             EXPECT_EQ(root.getAdapter(i)->IsBatTempWarning(), expected[i]) << i;
     }},
    {"texts hold the characters the writer escapes",
     R"(<Controller controllerSerial="q&quot;a&amp;p&apos;l&lt;g&gt;" deviceVendor="&amp;lt;&amp" deviceName="&bogus;&#65;">
          <Channel><HardDrive fruNumber="&lt;FRU&gt;" serialNumber="&apos;1&apos;"/></Channel>
          <LogicalDrive logicalName="&quot;data&quot;"/>
        </Controller>
        <ProgressCollection><Progress adapterSerial="a&amp;b"/></ProgressCollection>)",
     [](NRMSystem& root) {
         NRMAdapter* a = adapterOf(root);
         EXPECT_STREQ(a->getSerialNumString(), "q\"a&p'l<g>");
         EXPECT_STREQ(a->getDeviceVendor(), "&lt;&amp");
         EXPECT_STREQ(a->getDeviceName(), "&bogus;&#65;");
         EXPECT_STREQ(a->getHardDrive(0)->getFruNumber(), "<FRU>");
         EXPECT_STREQ(a->getHardDrive(0)->getSerialNumber(), "'1'");
         EXPECT_EQ(a->getLogicalDrive<NRMLogicalDrive>(0)->logicalName, "\"data\"");
         EXPECT_EQ(all<NRMProgress>(&root, "Progress").at(0)->adapterSerial, "a&b");
     }},
    {"SAS phys and SES-2 enclosures only where supported",
     R"(<Controller controllerID="1">
          <SASPhy phyID="3" initiatorProtocols="264"/>
          <Channel channelID="0"><SESEnclosureDevice deviceID="7" sesDataValid="true">
            <SESElement elementType="3" status="5" descriptor="Fan &amp; 1"><SASPhy phyID="1"/></SESElement>
          </SESEnclosureDevice></Channel>
        </Controller>)",
     [](NRMSystem& root) {
         NRMAdapter* a = adapterOf(root);
         ASSERT_EQ(a->getNumChannels(), 1u);
         EXPECT_EQ(a->getSASPhys().size(), WITH_SES2 ? 2u : 0u);
         EXPECT_EQ(a->getNumSES2Enclosures(), WITH_SES2 ? 1u : 0u);
         if (!WITH_SES2)
             return;
         std::vector<SASPhy*> phys = all<SASPhy>(a, "SASPhy");
         EXPECT_EQ(ids(phys[0]), "1/-/-/-/-/-/3/");
         EXPECT_EQ(phys[0]->getInitiatorProtocols(), 8);
         EXPECT_EQ(ids(phys[1]), "1/-/-/0/7/0/1/");
         SES2EnclosureDevice* e = a->getSES2Enclosure(0);
         EXPECT_TRUE(e->isSESDataValid());
         EXPECT_EQ(e->getFanCount(), 1u);
         EXPECT_EQ(e->getFanStatus(0), 5);
         EXPECT_STREQ(e->getSESElement(0)->getDescriptor(), "Fan & 1");
     }},
};

TEST(SnapshotReader, ReadsWhatItKnowsAndSkipsTheRest)
{
    for (const ReaderCase& c : readerCases) {
        SCOPED_TRACE(c.name);
        NRMConfigBuilder builder("NRMConfig.xml");
        NRMSystem* root = readSnapshot(builder, "<System>" + c.body + "</System>");
        ASSERT_NE(root, nullptr);
        c.check(*root);
    }
}

} // namespace
