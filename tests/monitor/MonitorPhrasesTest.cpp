// The phrases of event texts, on objects built in code, against the test
// catalogue, whose texts show each key with the parameters it was given.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "ModelBuilder.h"
#include "MonitorFixture.h"
#include "TestRaidMonitor.h"
#include "monitor/NRMEnclosure.h"

using namespace monitortest;

namespace {

#ifdef MONITOR_WITHOUT_SES2
const bool WITH_SES2 = false;
#else
const bool WITH_SES2 = true;
#endif

class MonitorPhrases : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.installCatalogue(testCatalogue());
        monitor = std::make_unique<TestRaidMonitor>(nullptr);
    }

    MonitorDir dir;
    std::unique_ptr<TestRaidMonitor> monitor;
};

// The adapter part of the phrases of adapter 2 ("V", "N", no serial, slot 4).
const std::string B = "eventArgController2[3| V N|4]";

TEST_F(MonitorPhrases, AdapterChannelAndLogicalDrive)
{
    TestAdapter a(0);
    a.describe("ACME", "", "SN7", 0x7FFFFFFF);
    TestAdapter b(2);
    b.describe("V", "N", "", 4);
    TestAdapter unset(STORID_UNDEFINED);
    Channel* channel = b.channel(0, SCSI);
    Channel loose(nullptr, 3, SCSI, SPEED_SCSI320);
    TestLogicalDrive* first = b.logical(0);
    TestLogicalDrive noAdapter(nullptr, 0, RAID5, 0);
    TestLogicalDrive* vesk = b.logical(2, RAID5, 0, "VeskBasicLogicalDrive");
    TestLogicalDrive* unsetID = b.logical(STORID_UNDEFINED);

    struct Case {
        const char* name;
        std::function<std::string()> phrase;
        std::string expected;
    };
    TestRaidMonitor& m = *monitor;
    const Case cases[] = {
        {"adapter description", [&] { return m.getDetailedAdapterID(&a); }, "eventArgController2[1| ACME #SN7|Unknown]"},
        {"adapter", [&] { return m.getEventID(&b); }, "eventArgController[" + B + "]"},
        {"unset adapter id", [&] { return m.getDetailedAdapterID(&unset); }, "eventArgController2[2147483647||0]"},
        {"channel", [&] { return m.getEventID(channel); }, "eventArgControllerChannel[" + B + "|1]"},
        {"channel without adapter", [&] { return m.getEventID(&loose); },
         "eventArgControllerChannel[2147483647|4]"},
        {"logical drive", [&] { return m.getEventID(first); }, "eventArgControllerLogicalDrive[" + B + "|1]"},
        {"logical drive without adapter", [&] { return m.getEventID(&noAdapter); },
         "eventArgControllerLogicalDrive[2147483647|1]"},
        {"Vesk logical drive", [&] { return m.getEventID(vesk); },
         "eventArgControllerLogicalDrive[" + B + "|eventArgControllerLogicalDrive2[|3]]"},
        {"unset logical drive id", [&] { return m.getEventID(unsetID); },
         "eventArgControllerLogicalDrive[" + B + "|2147483647]"},
        {"null adapter", [&] { return m.getEventID(static_cast<Adapter*>(nullptr)) + m.getDetailedAdapterID(nullptr); },
         ""},
        {"null channel and drive",
         [&] { return m.getEventID(static_cast<Channel*>(nullptr)) + m.getEventID(static_cast<LogicalDrive*>(nullptr)); },
         ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.phrase(), c.expected) << c.name;
}

TEST_F(MonitorPhrases, ScsiAndSataDrives)
{
    TestAdapter b(2);
    b.describe("V", "N", "", 4);
    Channel* scsi = b.channel(1, SCSI);
    Channel* sataOnSas = b.channel(2, SATA_ON_SAS);
    Channel* sata0 = b.channel(4, SATA, 4);
    Channel* sata1 = b.channel(5, SATA, 4);
    // Of SATA type, but not a SATA channel.
    auto* notSataChannel = new Channel(&b, 7, SATA, SPEED_SCSI320);
    b.addChild(notSataChannel);
    // A SAF-TE enclosure that holds device 6 in slot 3, and one whose data
    // is not valid holding device 8.
    b.enclosure(scsi, 14)->setSafte(2, 2, 6).ucSlotScsiId[3] = 6;
    b.enclosure(scsi, 15)->setSafte(2, 2, 6, false).ucSlotScsiId[0] = 8;

    TestDrive* port = b.drive(sata1, 9);
    port->setSataPort(1);
    TestDrive* noPort = b.drive(sata0, 2);
    TestAdapter s(0);
    TestDrive* loose = s.drive(s.channel(0, SATA), 3);
    TestDrive orphan(nullptr, loose->getChannel(), 3);

    struct Case {
        const char* name;
        HardDrive* drive;
        std::string expected;
    };
    const Case cases[] = {
        {"no channel", b.drive(nullptr, 5), "eventArgControllerScsiDevice[" + B + "|2147483647|5]"},
        {"SCSI", b.drive(scsi, 3), "eventArgControllerScsiDevice[" + B + "|2|3]"},
        {"SATA on SAS", b.drive(sataOnSas, 3), "eventArgControllerScsiDevice[" + B + "|3|3]"},
        {"SATA port across channels", port, "eventArgControllerSATADevice[" + B + "|5]"},
        {"SATA port from the device id", noPort, "eventArgControllerSATADevice[" + B + "|2]"},
        {"SATA enclosure slot", b.drive(sata1, 6), "eventArgControllerSATADeviceEnclosure[" + B + "|14|3]"},
        {"invalid enclosure data", b.drive(sata0, 8), "eventArgControllerSATADevice[" + B + "|8]"},
        {"SATA type without SATA channel", b.drive(notSataChannel, 1), "eventArgControllerScsiDevice[" + B + "|8|1]"},
        {"SATA without adapter", &orphan, "eventArgControllerScsiDevice[2147483647|1|3]"},
        {"null", nullptr, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(monitor->getEventID(c.drive), c.expected) << c.name;

    // A stored enclosure answers the slot from its stored data.
    TestAdapter d(0);
    Channel* channel = d.channel(0, SATA);
    TestEnclosure live(&d, channel, 14);
    live.setSafte(2, 2, 6).ucSlotScsiId[5] = 6;
    auto* stored = new NRMEnclosure(&d, channel);
    stored->build(&live);
    channel->addChild(stored);
    EXPECT_EQ(monitor->getEventID(d.drive(channel, 6)),
              "eventArgControllerSATADeviceEnclosure[eventArgController2[1||0]|14|5]");
}

TEST_F(MonitorPhrases, SasDrives)
{
    const std::string S = "eventArgController2[1||0]";
    const char* DRIVE = "5000C50000000A00";
    const char* EXPANDER = "500605B000000001";
    struct Case {
        const char* name;
        std::function<HardDrive*(TestAdapter&)> build;
        std::string expected; // with SES-2 and SAS phy support
    };
    // A SAS drive with a phy attached to the expander, WWN 1122334455667788.
    auto sasDrive = [&](TestAdapter& a, EnumSASDeviceType attached = SAS_END_DEVICE) {
        TestDrive* d = a.drive(a.channel(0, SAS), 4);
        d->setWWN0(0x44332211);
        d->setWWN1(0x88776655);
        d->addChild(newPhy(0, DRIVE, 7, EXPANDER, attached));
        return d;
    };
    auto enclosureWith = [&](TestAdapter& a, const char* descriptor, bool valid = true) {
        SES2EnclosureDevice* e = a.ses2Enclosure(a.channel(1, SAS), 20, valid);
        a.slotElement(e, "Fan", DRIVE, EXPANDER); // no slot marker: passed over
        a.slotElement(e, descriptor, DRIVE, EXPANDER);
    };
    const std::string wwn = "eventArgControllerSASDeviceWWN[" + S + "|1122334455667788]";
    const Case cases[] = {
        {"enclosure slot",
         [&](TestAdapter& a) {
             HardDrive* d = sasDrive(a);
             enclosureWith(a, "SLOT 12");
             return d;
         },
         "eventArgControllerSASDeviceEnclosure[" + S + "|20|12]"},
        {"slot marker after a word",
         [&](TestAdapter& a) {
             HardDrive* d = sasDrive(a);
             enclosureWith(a, "Disk slot 7");
             return d;
         },
         "eventArgControllerSASDeviceEnclosure[" + S + "|20|7]"},
        {"slot marker without digits",
         [&](TestAdapter& a) {
             HardDrive* d = sasDrive(a);
             enclosureWith(a, "SLOT x");
             return d;
         },
         "eventArgControllerSASDeviceEnclosure[" + S + "|20|0]"},
        {"element of another link",
         [&](TestAdapter& a) {
             HardDrive* d = sasDrive(a);
             SES2EnclosureDevice* e = a.ses2Enclosure(a.channel(1, SAS), 20);
             a.slotElement(e, "SLOT 1", DRIVE, "500605B0000000FF");
             return d;
         },
         wwn},
        {"invalid SES data",
         [&](TestAdapter& a) {
             HardDrive* d = sasDrive(a);
             enclosureWith(a, "SLOT 12", false);
             return d;
         },
         wwn},
        {"nothing attached",
         [&](TestAdapter& a) {
             HardDrive* d = sasDrive(a, SAS_NO_DEVICE);
             enclosureWith(a, "SLOT 12");
             return d;
         },
         wwn},
        {"direct attachment",
         [&](TestAdapter& a) {
             HardDrive* d = sasDrive(a);
             a.addChild(newPhy(6, EXPANDER, 0, "5000C50000000AFF"));
             a.addChild(newPhy(7, EXPANDER, 0, DRIVE));
             return d;
         },
         "eventArgControllerSASDeviceDirect[" + S + "|7]"},
        {"no partner", [&](TestAdapter& a) { return sasDrive(a); }, wwn},
    };
    for (const Case& c : cases) {
        TestAdapter adapter(0);
        EXPECT_EQ(monitor->getEventID(c.build(adapter)), WITH_SES2 ? c.expected : wwn) << c.name;
    }
    // A Vesk adapter reads its enclosures' slots whatever their data flag.
    TestAdapter vesk(0, "VeskAdapter");
    HardDrive* drive = sasDrive(vesk);
    enclosureWith(vesk, "SLOT 3", false);
    EXPECT_EQ(monitor->getEventID(drive),
              WITH_SES2 ? "eventArgControllerSASDeviceEnclosure[" + S + "|20|3]" : wwn);
    // Without an adapter, the world wide name.
    TestAdapter owner(0);
    Channel* sas = owner.channel(0, SAS);
    TestDrive orphan(nullptr, sas, 4);
    EXPECT_EQ(monitor->getEventID(&orphan),
              "eventArgControllerSASDeviceWWN[2147483647|0000000000000000]");
}

TEST_F(MonitorPhrases, ReplacementQuickInitLevelAndSize)
{
    TestAdapter a(0);
    TestDrive* drive = a.drive(a.channel(0, SCSI), 1);
    EXPECT_EQ(monitor->getReplacementID(drive), "deviceArgFRU[FRU-9]");
    drive->setFruNumber("");
    EXPECT_EQ(monitor->getReplacementID(drive), "deviceArgVendorModel[ZEQ-XJP|XJ-300]");
    drive->setModel("");
    EXPECT_EQ(monitor->getReplacementID(drive), "");
    EXPECT_EQ(monitor->getReplacementID(nullptr), "");

    TestLogicalDrive* logical = a.logical(0);
    EXPECT_EQ(monitor->getQuickInit(logical), "");
    logical->setSubState(LD_SUB_QUICK_INIT);
    EXPECT_EQ(monitor->getQuickInit(logical), ", Method = LD_SUB_QUICK_INIT");
    EXPECT_EQ(monitor->getQuickInit(nullptr), "");

    const char* levels[] = {"0",
                            "1",
                            "infoLogDriveRAID1E",
                            "3",
                            "4",
                            "5",
                            "infoLogDriveRAID5E",
                            "infoLogDriveRAID5EE",
                            "RAID00",
                            "RAID10",
                            "RAID1E0",
                            "RAID50",
                            "",
                            "infoLogDriveSpannedVolume",
                            "infoLogDriveRaidVolume",
                            "infoLogDriveSimpleVolume",
                            "6",
                            "RAID60",
                            "",
                            ""};
    for (int level = 0; level <= 19; ++level) {
        TestLogicalDrive l(&a, 0, static_cast<EnumRaidLevel>(level), 0);
        EXPECT_EQ(monitor->getRaidLevel(&l), levels[level]) << level;
    }
    TestLogicalDrive unknown(&a, 0, RAID_UNKNOWN, 0);
    EXPECT_EQ(monitor->getRaidLevel(&unknown), "");

    struct Size {
        const char* family;
        EnumStorLibType type;
        BLOCK_T space;
        const char* text;
    };
    const Size sizes[] = {
        {"PelmAdapter", STORLIB_UNKNOWN, 1075, "1.05 GB"},
        {"PelmAdapter", STORLIB_UNKNOWN, 2047, "2.00 GB"},
        {"PelmAdapter", STORLIB_UNKNOWN, 0, "0.00 GB"},
        {"VeskAdapter", STORLIB_UNKNOWN, 2097152, "1.00 GB"},
        {"VeskAdapter", STORLIB_UNKNOWN, 1024, "0.00 GB"},
        // Tarnell adapters report megabytes, live or stored.
        {"TarnellAdapter", STORLIB_UNKNOWN, 1536, "1.50 GB"},
        {nullptr, STORLIB_TARNELL, 10240, "10.00 GB"},
        {nullptr, STORLIB_UNKNOWN, 10240, "0.00 GB"},
    };
    for (const Size& s : sizes) {
        TestAdapter owner(0, s.family);
        owner.setLibraryType(s.type);
        TestLogicalDrive l(&owner, 0, RAID5, s.space);
        EXPECT_EQ(monitor->getSize(&l), s.text) << (s.family ? s.family : "") << ' ' << s.space;
    }
    TestLogicalDrive noAdapter(nullptr, 0, RAID5, 2048);
    EXPECT_EQ(monitor->getSize(&noAdapter), "0 GB");
    EXPECT_EQ(monitor->getSize(nullptr), "0 GB");
}

} // namespace
