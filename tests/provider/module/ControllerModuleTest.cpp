// The controller-side classes through the module as a CIM server loads it:
// computer systems, cards, products, software identities, caches and
// batteries, port controllers, logical ports, SCSI endpoints, protocol
// controllers, connectivity collections and replacement FRUs of the three
// simulated families, with the associations between them, through the test
// broker and through cim_enum.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleTestSupport.h"

using namespace cimbroker;
using moduletest::hostName;
using moduletest::text;

namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// The texts of one property of each instance.
std::vector<std::string> column(const std::vector<Inst>& instances, const char* property)
{
    std::vector<std::string> out;
    for (const Inst& i : instances)
        out.push_back(text(i, property));
    return out;
}

// The path with the key set to a text.
Path withKey(Path path, const std::string& key, const Value& value)
{
    for (auto& k : path.keys)
        if (k.first == key)
            k.second = value;
    return path;
}

// The classes of the controllers with what the default scenarios give: two
// controllers of each family, a battery on the Qorl and Tarnell ones, a
// replacement FRU on all but the Pelm ones, and 18 ports of which three
// share their identifier with another port of their controller.
using moduletest::ClassCount;
const ClassCount DEFAULT_COUNTS[] = {
    {"KRNA_ControllerComputerSystem", 6, false},
    {"KRNA_ControllerCard", 6, false},
    {"KRNA_ControllerProduct", 6, false},
    {"KRNA_ControllerBIOSSoftwareIdentity", 6, false},
    {"KRNA_ControllerDriverSoftwareIdentity", 6, false},
    {"KRNA_ControllerFirmwareSoftwareIdentity", 6, false},
    {"KRNA_ControllerCacheMemory", 6, false},
    {"KRNA_ControllerCacheBattery", 4, false},
    {"KRNA_ControllerAssociatedCacheMemory", 6, true},
    {"KRNA_ControllerElementBIOSIdentity", 6, true},
    {"KRNA_ControllerElementDriverIdentity", 6, true},
    {"KRNA_ControllerElementFirmwareIdentity", 6, true},
    {"KRNA_ControllerBatterySystemDevice", 6, true},
    {"KRNA_ControllerBatteryConcreteDependency", 6, true},
    {"KRNA_ControllerPortController", 6, false},
    {"KRNA_PortControllerLogicalIdentity", 6, true},
    {"KRNA_ControllerLogicalPort", 18, false},
    {"KRNA_LogicalPortControlledByPortController", 15, true},
    {"KRNA_ControllerSCSIProtocolEndpoint", 18, false},
    {"KRNA_ControllerConnectivityCollection", 18, false},
    {"KRNA_ControllerMemberOfCollection", 15, true},
    {"KRNA_ControllerDeviceSAPImplementation", 15, true},
    {"KRNA_ControllerHostedAccessPoint", 15, true},
    {"KRNA_ControllerSCSIProtocolController", 18, false},
    {"KRNA_ControllerSAPAvailableForElement", 15, true},
    {"KRNA_ControllerRealizesCard", 6, true},
    {"KRNA_ControllerReplacementFRU", 4, false},
    {"KRNA_ControllerElementFRU", 4, true},
};

class ControllerModule : public moduletest::ModuleTest {
protected:
    // Only the Qorl family's controllers, as the scenario gives them.
    static void onlyVesk(const std::vector<vesksim::Controller>& controllers)
    {
        vesksim::Scenario scenario;
        scenario.controllers = controllers;
        vesksim::reset(scenario);
        tarnellsim::reset(tarnellsim::Scenario{});
        pelmsim::reset(pelmsim::Scenario{});
    }

    size_t count(const std::string& cls) { return enumerate(cls).size(); }

    static bool logged(const std::string& line)
    {
        return testsupport::readFile("krnaprov.log").find(line) != std::string::npos;
    }
};

TEST_F(ControllerModule, EveryClassListsTheDefaultControllersAndGetsWhatItLists)
{
    for (const ClassCount& c : DEFAULT_COUNTS) {
        SCOPED_TRACE(c.cls);
        const std::vector<Inst> all = enumerate(c.cls);
        ASSERT_EQ(c.count, all.size());
        Inst got;
        ASSERT_TRUE(broker->getInstance(all[0].path, got).ok());
        EXPECT_EQ(mofText(all[0]), mofText(got));
        if (!c.association)
            continue;
        // Each end is an instance its own class's provider finds.
        for (const Inst& link : all)
            for (const auto& property : link.props) {
                if (!property.second.ref)
                    continue;
                Inst end;
                EXPECT_TRUE(broker->getInstance(*property.second.ref, end).ok()) << property.second.ref->text();
            }
    }
}

TEST_F(ControllerModule, CimEnumListsEveryClass)
{
    for (const ClassCount& c : DEFAULT_COUNTS) {
        SCOPED_TRACE(c.cls);
        EXPECT_EQ(static_cast<long>(c.count), moduletest::cimEnumCount(c.cls));
    }
}

TEST_F(ControllerModule, AControllerAsComputerSystemCardAndProduct)
{
    vesksim::Controller a;
    a.number = 0;
    a.pciBus = 2;
    a.pciFunction = 0;
    a.pciDevice = 5;
    a.name = "VESK A";
    a.buildNumber = 1234;
    a.cardVersion = "Rev B";
    a.partNumber = "PN-1";
    a.copyBack = true;
    vesksim::Controller b;
    b.number = 1;
    b.pciBus = 3;
    b.name = " VESK B ";
    b.serial = "  SN7 ";
    b.vendor = " Veskon  ";
    b.status = CONTROLLER_STATUS_FAILED;
    b.dataScrubbing = true;
    onlyVesk({a, b});

    const std::vector<Inst> systems = enumerate("KRNA_ControllerComputerSystem");
    ASSERT_EQ(2u, systems.size());
    // No serial number: the PCI place, bus, function and device.
    EXPECT_EQ((std::vector<std::string>{"\"2-0-5\"", "\"  SN7 \""}), column(systems, "Name"));
    EXPECT_EQ((std::vector<std::string>{"{0, 2}", "{0}"}), column(systems, "OperationalStatus"));
    EXPECT_EQ((std::vector<std::string>{"true", "false"}), column(systems, "copyBackEnabled"));
    EXPECT_EQ((std::vector<std::string>{"false", "true"}), column(systems, "dataScrubbingActive"));
    EXPECT_EQ("\"KRNA_ControllerComputerSystem\"", text(systems[0], "CreationClassName"));
    EXPECT_EQ("\"Corvane RAID Controller\"", text(systems[0], "Caption"));
    EXPECT_EQ("\"RAID Controller\"", text(systems[0], "ElementName"));
    EXPECT_EQ("\"RAID Controller\"", text(systems[0], "Description"));
    EXPECT_EQ("\"Other\"", text(systems[0], "NameFormat"));
    EXPECT_EQ("{30}", text(systems[0], "Dedicated"));

    const std::vector<Inst> cards = enumerate("KRNA_ControllerCard");
    ASSERT_EQ(2u, cards.size());
    EXPECT_EQ((std::vector<std::string>{"\"2-0-5\"", "\"  SN7 \""}), column(cards, "Tag"));
    EXPECT_EQ((std::vector<std::string>{"\"\"", "\"Veskon\""}), column(cards, "Manufacturer"));
    EXPECT_EQ((std::vector<std::string>{"\"VESK A\"", "\" VESK B \""}), column(cards, "Model"));
    EXPECT_EQ((std::vector<std::string>{"\"VESK A\"", "\" VESK B \""}), column(cards, "ElementName"));
    EXPECT_EQ((std::vector<std::string>{"\"\"", "\"SN7\""}), column(cards, "SerialNumber"));
    EXPECT_EQ((std::vector<std::string>{"\"Rev B\"", "\"\""}), column(cards, "Version"));
    EXPECT_EQ((std::vector<std::string>{"\"PN-1\"", "\"\""}), column(cards, "PartNumber"));
    EXPECT_EQ((std::vector<std::string>{"true", "true"}), column(cards, "CanBeFRUed"));
    EXPECT_EQ("false", text(cards[0], "HostingBoard"));
    EXPECT_TRUE(logged("[info]  Found 2 Controller(s)\n"));
    EXPECT_TRUE(logged("[debug] Device Name =  VESK A\n"));
    EXPECT_TRUE(logged("[debug] VeskAdapter version string is populated\n"));

    const std::vector<Inst> products = enumerate("KRNA_ControllerProduct");
    ASSERT_EQ(2u, products.size());
    EXPECT_EQ((std::vector<std::string>{quoted(hostName()), quoted(hostName())}), column(products, "Name"));
    EXPECT_EQ((std::vector<std::string>{"\"2-0-5\"", "\"  SN7 \""}), column(products, "IdentifyingNumber"));
    EXPECT_EQ((std::vector<std::string>{"\"\"", "\"Veskon\""}), column(products, "Vendor"));
    EXPECT_EQ((std::vector<std::string>{"\"Build 1234\"", "\"Build 0\""}), column(products, "Version"));
    EXPECT_EQ((std::vector<std::string>{"\"\"", "\"SN7\""}), column(products, "SKUNumber"));
    EXPECT_EQ("\"Controller Product\"", text(products[0], "Caption"));
    EXPECT_EQ("\"Controller Product\"", text(products[0], "Description"));
    EXPECT_EQ("\"VESK A\"", text(products[0], "ElementName"));
    EXPECT_EQ("\"00000000000000.000000:000\"", text(products[0], "WarrantyStartDate"));
    EXPECT_TRUE(logged("[info]  Found 2  Controller Product(s)\n"));
    // The four keys name the product, the empty vendor among them.
    Inst got;
    ASSERT_TRUE(broker->getInstance(products[0].path, got).ok());
    EXPECT_EQ(mofText(products[0]), mofText(got));
}

TEST_F(ControllerModule, PelmCardsByRaidSupportAndFirstChannel)
{
    struct Case {
        bool raid0, raid1, ultra160;
        std::vector<EnumChannelType> channels;
        const char* model;
    } cases[] = {
        {false, false, false, {SATA}, "\"Non-RAID\""},
        {true, true, false, {SATA, SCSI}, "\"SATA Tolmar\""},
        {true, false, false, {SAS}, "\"SAS/SATA Tolmar\""},
        {false, false, true, {SCSI, SAS}, "\"SCSI Tolmar\""},
        {false, true, false, {}, "\"Tolmar\""},
        {true, true, true, {IDE, SCSI}, "\"\""},
    };
    pelmsim::Scenario scenario;
    std::vector<std::string> models;
    for (const Case& c : cases) {
        pelmsim::Controller p;
        p.number = uint32_t(scenario.controllers.size());
        p.pciBus = uint8_t(p.number + 1);
        p.name = "PELM";
        p.raid0 = c.raid0;
        p.raid1 = c.raid1;
        p.ultra160 = c.ultra160;
        for (EnumChannelType type : c.channels)
            p.channels.push_back({uint8_t(p.channels.size()), type, SPEED_UNKNOWN});
        scenario.controllers.push_back(p);
        models.push_back(c.model);
    }
    vesksim::reset(vesksim::Scenario{});
    tarnellsim::reset(tarnellsim::Scenario{});
    pelmsim::reset(scenario);
    const std::vector<Inst> cards = enumerate("KRNA_ControllerCard");
    EXPECT_EQ(models, column(cards, "Model"));
    EXPECT_EQ(std::vector<std::string>(models.size(), "false"), column(cards, "CanBeFRUed"));
    EXPECT_EQ(std::vector<std::string>(models.size(), "\"PELM\""), column(cards, "ElementName"));
}

TEST_F(ControllerModule, IdentitiesPairEachControllerWithItsOwnSystem)
{
    onlyVesk(vesksim::defaultScenario().controllers);
    for (const char* cls : {"KRNA_ControllerElementBIOSIdentity", "KRNA_ControllerElementDriverIdentity",
                            "KRNA_ControllerElementFirmwareIdentity"}) {
        SCOPED_TRACE(cls);
        const std::vector<Inst> links = enumerate(cls);
        ASSERT_EQ(2u, links.size());
        Inst got;
        EXPECT_TRUE(broker->getInstance(links[1].path, got).ok());
        // The first controller's identity with the second one's system.
        const Path crossed = withKey(links[0].path, "Dependent", *links[1].prop("Dependent"));
        EXPECT_EQ(CMPI_RC_ERR_NOT_FOUND, broker->getInstance(crossed, got).rc);
    }
    // The three identities of a controller share their key.
    for (const char* cls : {"KRNA_ControllerBIOSSoftwareIdentity", "KRNA_ControllerDriverSoftwareIdentity",
                            "KRNA_ControllerFirmwareSoftwareIdentity"})
        EXPECT_EQ((std::vector<std::string>{"\"VSK0042\"", "\"5-0-1\""}), column(enumerate(cls), "InstanceID")) << cls;

    const std::vector<Inst> firmware = enumerate("KRNA_ControllerFirmwareSoftwareIdentity");
    Inst got;
    ASSERT_TRUE(broker->getInstance(firmware[1].path, got).ok());
    EXPECT_TRUE(logged("[debug] (KRNA_ControllerFirmwareSoftwareIdentity) enum_instances() No of adapters = 2\n"));
    EXPECT_TRUE(logged("[debug] (KRNA_ControllerFirmwareSoftwareIdentity) get_instance() No of adapters = 2\n"));
    EXPECT_TRUE(logged("[debug] (KRNA_ControllerFirmwareSoftwareIdentity) get_instance() Key matches \n"));
    EXPECT_TRUE(logged("[debug] Exiting - (KRNA_ControllerFirmwareSoftwareIdentity) get_instance() Instance Found\n"));
}

TEST_F(ControllerModule, ABatteryThatIsNotInstalledIsFoundButNotListed)
{
    std::vector<vesksim::Controller> controllers = vesksim::defaultScenario().controllers;
    controllers[0].battery = BATTERY_STATUS_NOT_INSTALLED;
    controllers[1].battery = BATTERY_STATUS_OK;
    controllers[1].batteryCurrentDraw = 100;
    onlyVesk(controllers);

    const std::vector<Inst> batteries = enumerate("KRNA_ControllerCacheBattery");
    ASSERT_EQ(1u, batteries.size());
    EXPECT_EQ("\"5-0-1\"", text(batteries[0], "DeviceID"));
    EXPECT_EQ("{2}", text(batteries[0], "OperationalStatus"));
    EXPECT_EQ("3", text(batteries[0], "BatteryStatus"));
    EXPECT_EQ("2400", text(batteries[0], "EstimatedRunTime"));
    EXPECT_EQ("40", text(batteries[0], "EstimatedChargeRemaining"));
    EXPECT_EQ("3600", text(batteries[0], "DesignCapacity"));
    EXPECT_EQ("\"BAT-FRU-0902\"", text(batteries[0], "batteryFRU"));

    Inst missing;
    ASSERT_TRUE(broker->getInstance(withKey(batteries[0].path, "DeviceID", Value::string("VSK0042")), missing).ok());
    EXPECT_EQ("{0}", text(missing, "OperationalStatus"));
    EXPECT_EQ("2", text(missing, "BatteryStatus"));
    EXPECT_EQ("0", text(missing, "EstimatedRunTime"));
    EXPECT_EQ("\"BAT-FRU-0731\"", text(missing, "batteryFRU"));
    EXPECT_EQ(2u, count("KRNA_ControllerBatterySystemDevice"));
    EXPECT_EQ(2u, count("KRNA_ControllerBatteryConcreteDependency"));

    const std::vector<Inst> caches = enumerate("KRNA_ControllerCacheMemory");
    EXPECT_EQ((std::vector<std::string>{"256", "128"}), column(caches, "NumberOfBlocks"));
    EXPECT_TRUE(logged("[debug] (KRNA_ControllerCacheMemory_Provider) enum_instances() No of adapters = 2\n"));
    EXPECT_TRUE(logged("[debug] Exiting - (KRNA_ControllerCacheMemory_Provider) enum_instances()\n"));
}

TEST_F(ControllerModule, TwoControllersWithThreePortsEach)
{
    vesksim::Controller a;
    a.serial = "A";
    a.slot = 5;
    a.channels = {{0, SCSI, SPEED_SCSI320}, {1, SCSI, SPEED_SCSI320}, {2, SAS, SPEED_SAS300}};
    vesksim::Controller b;
    b.number = 1;
    b.serial = "B";
    b.slot = -1;
    b.channels = {{0, SATA, SPEED_SATA300}, {1, SATA, SPEED_SATA300}};
    for (uint16_t target : {0, 1, 4})
        b.drives.push_back(familysim::disk(0, target, DRIVE_ONLINE, 1000, SPEED_SATA300, "V", "M", "S"));
    onlyVesk({a, b});

    const std::vector<Inst> portControllers = enumerate("KRNA_ControllerPortController");
    EXPECT_EQ((std::vector<std::string>{"\"SCSI\"", "\"SATA\""}), column(portControllers, "OtherControllerType"));
    EXPECT_EQ((std::vector<std::string>{"{\"5\"}", "{\"-1\"}"}), column(portControllers, "OtherIdentifyingInfo"));
    EXPECT_TRUE(logged("[info]  Found 2 Controller Port Controller(s)\n"));
    const std::vector<Inst> ports = enumerate("KRNA_ControllerLogicalPort");
    EXPECT_EQ((std::vector<std::string>{"\"A:0\"", "\"A:1\"", "\"A:2\"", "\"B:0\"", "\"B:1\"", "\"B:4\""}),
              column(ports, "DeviceID"));
    EXPECT_EQ((std::vector<std::string>{"\"Channel 0\"", "\"Channel 1\"", "\"Channel 2\"", "\"Port 0\"", "\"Port 1\"",
                                        "\"Port 4\""}),
              column(ports, "ElementName"));
    EXPECT_TRUE(logged("[info]  Found 6 Controller Logical Port(s)\n"));
    for (const char* cls : {"KRNA_ControllerSCSIProtocolEndpoint", "KRNA_ControllerSCSIProtocolController",
                            "KRNA_ControllerConnectivityCollection", "KRNA_LogicalPortControlledByPortController",
                            "KRNA_ControllerMemberOfCollection", "KRNA_ControllerDeviceSAPImplementation",
                            "KRNA_ControllerHostedAccessPoint", "KRNA_ControllerSAPAvailableForElement"})
        EXPECT_EQ(6u, count(cls)) << cls;
    EXPECT_EQ(2u, count("KRNA_PortControllerLogicalIdentity"));
    EXPECT_EQ(2u, count("KRNA_ControllerRealizesCard"));
    EXPECT_EQ((std::vector<std::string>{"\"Channel 0 Connectivity\"", "\"Channel 1 Connectivity\"",
                                        "\"Channel 2 Connectivity\"", "\"Port 0 Connectivity\"",
                                        "\"Port 1 Connectivity\"", "\"Port 4 Connectivity\""}),
              column(enumerate("KRNA_ControllerConnectivityCollection"), "ElementName"));

    // A controller without channels: a port controller, a card realizing
    // it, and nothing of ports.
    vesksim::Controller bare;
    bare.serial = "C";
    onlyVesk({bare});
    moduletest::now() += 180ull * 1000000ull; // the cached configuration grows stale
    EXPECT_EQ("\"Other\"", text(enumerate("KRNA_ControllerPortController").at(0), "OtherControllerType"));
    EXPECT_EQ(1u, count("KRNA_ControllerRealizesCard"));
    EXPECT_EQ(0u, count("KRNA_ControllerLogicalPort"));
    EXPECT_EQ(0u, count("KRNA_LogicalPortControlledByPortController"));
}

TEST_F(ControllerModule, PortsThatShareAnIdentifierKeepTheFirstAssociation)
{
    // Channel 2 and the drive with device id 2 on the SATA channel.
    vesksim::Controller c;
    c.serial = "D";
    c.channels = {{2, SCSI, SPEED_SCSI320}, {3, SATA, SPEED_SATA300}};
    c.drives = {familysim::disk(3, 2, DRIVE_ONLINE, 1000, SPEED_SATA300, "V", "M", "S")};
    onlyVesk({c});
    const std::vector<Inst> ports = enumerate("KRNA_ControllerLogicalPort");
    EXPECT_EQ((std::vector<std::string>{"\"D:2\"", "\"D:2\""}), column(ports, "DeviceID"));
    EXPECT_EQ((std::vector<std::string>{"\"Channel 2\"", "\"Port 2\""}), column(ports, "ElementName"));
    Inst got;
    ASSERT_TRUE(broker->getInstance(ports[1].path, got).ok());
    EXPECT_EQ("\"Channel 2\"", text(got, "ElementName"));
    for (const char* cls : {"KRNA_LogicalPortControlledByPortController", "KRNA_ControllerMemberOfCollection",
                            "KRNA_ControllerDeviceSAPImplementation", "KRNA_ControllerHostedAccessPoint",
                            "KRNA_ControllerSAPAvailableForElement"})
        EXPECT_EQ(1u, count(cls)) << cls;
}

TEST_F(ControllerModule, ReplacementFRUsLeaveThePelmControllersOut)
{
    vesksim::reset(vesksim::Scenario{});
    const std::vector<Inst> frus = enumerate("KRNA_ControllerReplacementFRU");
    EXPECT_EQ((std::vector<std::string>{"\"ZQA3120045\"", "\"0-0-0\""}), column(frus, "InstanceID"));
    // Product data gives the FRU number; without it there is none.
    EXPECT_EQ((std::vector<std::string>{"\"71P8642\"", "\"\""}), column(frus, "ElementName"));
    EXPECT_EQ("\"Controller FRU\"", text(frus[0], "Caption"));
    EXPECT_EQ("false", text(frus[0], "CustomerReplaceable"));
    EXPECT_EQ(2u, count("KRNA_ControllerElementFRU"));
    EXPECT_EQ(4u, count("KRNA_ControllerCard"));
    Inst got;
    EXPECT_EQ(CMPI_RC_ERR_NOT_FOUND,
              broker->getInstance(withKey(frus[0].path, "InstanceID", Value::string("PLM0004711")), got).rc);
}

} // namespace
