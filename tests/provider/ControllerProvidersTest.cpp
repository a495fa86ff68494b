// The builds of the controller-side providers, on model objects of the
// three families made here: software versions, battery status and
// estimates, the ports of an adapter and what each port's instances say of
// it, and the replacement FRU. (The enumerations and associations over whole
// configurations are driven through the module in module/ControllerModuleTest.)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "KRNAControllerCacheProviders.h"
#include "KRNAControllerEndpointProviders.h"
#include "KRNAControllerFRUProviders.h"
#include "KRNAControllerIdentityProviders.h"
#include "KRNAControllerPortProviders.h"
#include "PelmAdapter.h"
#include "PelmSim.h"
#include "ProviderTestSupport.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "VeskLib.h"
#include "VeskSim.h"

using namespace corvanecimple;
using cimple::Ref;
using providertest::logMessages;

namespace {

// A Tarnell adapter with the texts and product data a test gives it.
class TestTarnellAdapter : public TarnellAdapter {
public:
    TestTarnellAdapter(const char* serial, const char* vendor, const char* bios, const AdapterVPDInfo* vpd)
    {
        copyText(serialNumString, serial);
        copyText(deviceVendor, vendor);
        copyVersion(biosVersion, bios);
        if (vpd)
            vpdInfo = new AdapterVPDInfo(*vpd);
    }
};

// An adapter of no family in a PCI slot, with the channels a test adds.
class SlotAdapter : public Adapter {
public:
    explicit SlotAdapter(int slot) { physicalSlot = slot; }
    ~SlotAdapter() override { deleteAllChildren(); }
};

template <class Provider, class Object>
Ref<typename Provider::Class> build(Object* object, bool keysOnly = false)
{
    Ref<typename Provider::Class> instance(Provider::Class::create(false));
    Provider::krnaBuildInstance(instance.ptr(), object, keysOnly);
    return instance;
}

std::vector<std::string> texts(const cimple::Array_String& a)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < a.size(); i++)
        out.push_back(a[i].str());
    return out;
}

std::vector<int> numbers(const cimple::Array_uint16& a)
{
    std::vector<int> out;
    for (size_t i = 0; i < a.size(); i++)
        out.push_back(a[i]);
    return out;
}

class ControllerProvidersTest : public providertest::ProviderTest {};

// ---- software identities -------------------------------------------------------------

TEST_F(ControllerProvidersTest, PelmVersionTextsGiveTheVersionAndTheBuild)
{
    struct Case {
        const char* text;
        uint32_t buildField;
        const char* version;
        int build;
    } cases[] = {
        {"4.1 (123)", 0, "4.1", 123},
        {"4.1 (B7)", 0, "4.1", 0},
        {"4.1  (123)", 0, "4.1 ", 123},   // only one blank goes
        {"4.1(9) (12)", 0, "4.1", 9},     // first "(" to last ")"
        {"(123)", 0, "", 123},
        {"4.1 ()", 5, "4.1", 5},          // no build text: the field stays
        {"4.1 (123)", 77, "4.1", 77},     // a build the controller gave is kept
        {"4.1 (123", 0, "4.1 (123", 0},   // no ")"
        {"4.1 123)", 0, "4.1 123)", 0},   // no "("
        {"4.1) (7", 0, "4.1) (7", 0},     // the last ")" before the first "(": the text stays whole
        {"4.1", 3, "4.1", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        pelmsim::Controller record;
        record.biosVersion = record.driverVersion = record.firmwareVersion = c.text;
        record.biosBuild = record.driverBuild = record.firmwareBuild = c.buildField;
        PelmAdapter pelm(record);
        auto bios = build<KRNA_ControllerBIOSSoftwareIdentity_Provider>(static_cast<Adapter*>(&pelm));
        auto driver = build<KRNA_ControllerDriverSoftwareIdentity_Provider>(static_cast<Adapter*>(&pelm));
        for (const cimple::CIM_SoftwareIdentity* identity :
             {static_cast<cimple::CIM_SoftwareIdentity*>(bios.ptr()), static_cast<cimple::CIM_SoftwareIdentity*>(driver.ptr())}) {
            EXPECT_EQ(c.version, identity->VersionString.value.str());
            EXPECT_EQ(c.build, identity->BuildNumber.value);
        }
        // The firmware text is never parsed.
        auto firmware = build<KRNA_ControllerFirmwareSoftwareIdentity_Provider>(static_cast<Adapter*>(&pelm));
        EXPECT_EQ(c.text, firmware->VersionString.value.str());
        EXPECT_EQ(c.buildField, firmware->BuildNumber.value);
    }
    // Nor is the text of any other family.
    TestTarnellAdapter tarnell("", "", "4.1 (123)", nullptr);
    auto bios = build<KRNA_ControllerBIOSSoftwareIdentity_Provider>(static_cast<Adapter*>(&tarnell));
    EXPECT_EQ("4.1 (123)", bios->VersionString.value.str());
    EXPECT_EQ(0, bios->BuildNumber.value);
}

TEST_F(ControllerProvidersTest, TheThreeIdentitiesShareTheKeyAndNameTheirKind)
{
    vesksim::Controller record;
    record.serial = " VS1 ";
    record.biosVersion = "5.2.0";
    record.driverVersion = "2.1.4";
    record.firmwareVersion = "5.2.0-1418";
    record.biosBuild = 1418;
    record.driverBuild = 12;
    record.firmwareBuild = 1419;
    VeskAdapter vesk(record);
    Adapter* adapter = &vesk;
    auto bios = build<KRNA_ControllerBIOSSoftwareIdentity_Provider>(adapter);
    auto driver = build<KRNA_ControllerDriverSoftwareIdentity_Provider>(adapter);
    auto firmware = build<KRNA_ControllerFirmwareSoftwareIdentity_Provider>(adapter);
    struct Expected {
        const cimple::CIM_SoftwareIdentity* identity;
        const char* caption;
        const char* description;
        int classification;
        const char* classificationDescription;
        const char* version;
        int build;
    } expected[] = {
        {bios.ptr(), "Corvane BIOS Version", "Controller BIOS Details (BIOS Version and Build Number)", 11,
         "BIOS/FCode", "5.2.0", 1418},
        {driver.ptr(), "Corvane Driver Version", "Controller Driver Details (Device Driver Version and Build Number)",
         2, "Driver", "2.1.4", 12},
        {firmware.ptr(), "Corvane Firmware Version", "Controller Firmware Details (Firmware Version , Build Number)",
         10, "Firmware", "5.2.0-1418", 1419},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.caption);
        // The unique id is the serial text as it stands; the serial number is trimmed.
        EXPECT_EQ(" VS1 ", e.identity->InstanceID.value.str());
        EXPECT_EQ("VS1", e.identity->SerialNumber.value.str());
        EXPECT_EQ(e.caption, e.identity->Caption.value.str());
        EXPECT_EQ(e.description, e.identity->Description.value.str());
        EXPECT_EQ(std::vector<int>{e.classification}, numbers(e.identity->Classifications.value));
        EXPECT_EQ(std::vector<std::string>{e.classificationDescription},
                  texts(e.identity->ClassificationDescriptions.value));
        EXPECT_EQ(e.version, e.identity->VersionString.value.str());
        EXPECT_EQ(e.build, e.identity->BuildNumber.value);
        EXPECT_EQ(9999, e.identity->MajorVersion.value);
        EXPECT_EQ(9999, e.identity->MinorVersion.value);
        EXPECT_EQ(9999, e.identity->RevisionNumber.value);
        // No vendor text: the module's own name.
        EXPECT_EQ("ZEQ", e.identity->Manufacturer.value.str());
        EXPECT_EQ(cimple::Datetime(), e.identity->ReleaseDate.value);
    }
    record.vendor = "  Veskon ";
    VeskAdapter named(record);
    EXPECT_EQ("Veskon",
              build<KRNA_ControllerDriverSoftwareIdentity_Provider>(static_cast<Adapter*>(&named))->Manufacturer.value.str());
    // A vendor text of blanks only is a vendor text: trimmed, it leaves nothing.
    record.vendor = "   ";
    VeskAdapter blank(record);
    EXPECT_EQ("", build<KRNA_ControllerBIOSSoftwareIdentity_Provider>(static_cast<Adapter*>(&blank))->Manufacturer.value.str());
}

// ---- cache memory and battery -----------------------------------------------------------

TEST_F(ControllerProvidersTest, BatteryStatusesAndEstimates)
{
    const uint32_t MAX = 0xFFFFFFFF;
    struct Case {
        EnumBatteryStatus status;
        uint32_t remaining, full, draw;
        std::vector<int> operational;
        int batteryStatus;
        bool enumerated;
        uint32_t runTime;
        int charge;
        uint32_t capacity;
    } cases[] = {
        {BATTERY_STATUS_OK, 900, 1000, 150, {2}, 3, true, 3600, 90, 3600},
        {BATTERY_STATUS_OK, 900, 1000, 0, {2}, 3, true, 0, 90, 3600},
        {BATTERY_STATUS_FAILED, 10, 1000, 4, {6}, 5, true, 1500, 1, 3600},
        {BATTERY_STATUS_CHARGING, 450, 1000, 150, {}, 6, true, 1800, 45, 3600},
        {BATTERY_STATUS_OTHER, 1, 0, 2, {1}, 1, true, 300, 0, 0},
        // Statuses that say nothing of a battery: no estimates.
        {BATTERY_STATUS_DISCHARGING, 900, 1000, 150, {0}, 2, true, 0, 0, 0},
        {BATTERY_STATUS_MAINTENANCE, 900, 1000, 150, {0}, 2, true, 0, 0, 0},
        {BATTERY_STATUS_NOT_INSTALLED, 900, 1000, 150, {0}, 2, false, 0, 0, 0},
        {BATTERY_STATUS_UNKNOWN, 900, 1000, 150, {0}, 2, false, 0, 0, 0},
        {BATTERY_STATUS_NOT_SUPPORTED, 900, 1000, 150, {0}, 2, false, 0, 0, 0},
        {BATTERY_STATUS_CHARGING_DISABLED, 900, 1000, 150, {0}, 2, false, 0, 0, 0},
        // Hostile readings: each estimate held to its property's range.
        {BATTERY_STATUS_OK, MAX, 1, 1, {2}, 3, true, MAX, 0xFFFF, 3},
        {BATTERY_STATUS_OK, 1000, MAX, 1, {2}, 3, true, 600000, 0, MAX},
        {BATTERY_STATUS_OK, 70000, 100, 1, {2}, 3, true, 42000000, 0xFFFF, 360},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "status " << c.status << ", R " << c.remaining << ", F " << c.full
                                        << ", D " << c.draw);
        vesksim::Controller record;
        record.battery = c.status;
        record.batteryRemainingCapacity = c.remaining;
        record.batteryFullCapacity = c.full;
        record.batteryCurrentDraw = c.draw;
        record.batteryFRU = "BAT-1";
        VeskAdapter vesk(record);
        Adapter* adapter = &vesk;
        EXPECT_EQ(c.enumerated, KRNA_ControllerCacheBattery_Provider::krnaEnumerates(adapter));
        auto battery = build<KRNA_ControllerCacheBattery_Provider>(adapter);
        EXPECT_EQ(c.operational, numbers(battery->OperationalStatus.value));
        EXPECT_EQ(c.batteryStatus, battery->BatteryStatus.value);
        EXPECT_EQ(c.runTime, battery->EstimatedRunTime.value);
        EXPECT_EQ(c.charge, battery->EstimatedChargeRemaining.value);
        EXPECT_EQ(c.capacity, battery->DesignCapacity.value);
        EXPECT_EQ(c.capacity, battery->FullChargeCapacity.value);
        EXPECT_EQ(5, battery->EnabledState.value);
        EXPECT_EQ(12, battery->RequestedState.value);
        EXPECT_EQ(5, battery->EnabledDefault.value);
        EXPECT_EQ("Controller Cache Battery", battery->Name.value.str());
        EXPECT_EQ("Controller Cache Battery", battery->ElementName.value.str());
        EXPECT_EQ("BAT-1", battery->batteryFRU.value.str());
    }
}

TEST_F(ControllerProvidersTest, BatteryFRUAndCacheMemoryByFamily)
{
    AdapterVPDInfo vpd;
    vpd.FRU = "71P8642";
    vpd.batteryFRU = "71P8648";
    TestTarnellAdapter withVpd("ZQA1", "", "", &vpd);
    TestTarnellAdapter withoutVpd("", "", "", nullptr);
    pelmsim::Controller pelmRecord;
    pelmRecord.cacheMB = 64;
    PelmAdapter pelm(pelmRecord);
    vesksim::Controller veskRecord;
    veskRecord.cacheMB = 256;
    veskRecord.batteryFRU = "BAT-FRU-0731";
    VeskAdapter vesk(veskRecord);
    struct Case {
        Adapter* adapter;
        const char* batteryFRU;
        cimple::uint64 blocks;
    } cases[] = {
        {&vesk, "BAT-FRU-0731", 256},
        {&withVpd, "71P8648", 0}, // a Tarnell adapter reports no installed memory
        {&withoutVpd, "", 0},
        {&pelm, "", 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.adapter->typeName());
        EXPECT_EQ(c.batteryFRU, build<KRNA_ControllerCacheBattery_Provider>(c.adapter)->batteryFRU.value.str());
        auto memory = build<KRNA_ControllerCacheMemory_Provider>(c.adapter);
        EXPECT_EQ(c.blocks, memory->NumberOfBlocks.value);
        EXPECT_EQ(1u, memory->BlockSize.value);
        EXPECT_TRUE(memory->Volatile.value);
        EXPECT_EQ("Corvane Cache Memory", memory->Caption.value.str());
        EXPECT_EQ("KRNA_ControllerComputerSystem", memory->SystemCreationClassName.value.str());
        EXPECT_EQ("node1", memory->SystemName.value.str());
        EXPECT_EQ("KRNA_ControllerCacheMemory", memory->CreationClassName.value.str());
    }
    EXPECT_EQ("ZQA1", build<KRNA_ControllerCacheMemory_Provider>(static_cast<Adapter*>(&withVpd))->DeviceID.value.str());
    EXPECT_EQ("0-0-0", build<KRNA_ControllerCacheBattery_Provider>(static_cast<Adapter*>(&pelm))->DeviceID.value.str());
}

// ---- ports ------------------------------------------------------------------------------

// The first adapter of a Vesk configuration of one controller.
class OneVeskAdapter {
public:
    explicit OneVeskAdapter(const vesksim::Controller& c)
    {
        vesksim::Scenario scenario;
        scenario.controllers.push_back(c);
        vesksim::reset(scenario);
        lib.getSystemConfig();
        adapter = lib.getSystem()->getChild(0) ? static_cast<Adapter*>(lib.getSystem()->getChild(0)) : nullptr;
    }
    VeskLib lib;
    Adapter* adapter = nullptr;
};

TEST_F(ControllerProvidersTest, ThePortsOfAnAdapterAndWhatTheirInstancesSay)
{
    vesksim::Controller c;
    c.serial = "U";
    c.channels = {{0, SCSI, SPEED_SCSI320}, {1, SATA, SPEED_SATA300}, {4, SATA, SPEED_SATA300}, {5, SAS, SPEED_SAS300}};
    c.drives = {familysim::disk(1, 2, DRIVE_ONLINE, 1000, SPEED_SATA300, "V", "M", "S2"),
                familysim::disk(1, 3, DRIVE_ONLINE, 1000, SPEED_SATA300, "V", "M", "S3"),
                familysim::disk(5, 0, DRIVE_ONLINE, 1000, SPEED_SAS300, "V", "M", "S50"),
                familysim::disk(5, 1, DRIVE_ONLINE, 1000, SPEED_SAS300, "V", "M", "S51")};
    OneVeskAdapter one(c);
    ASSERT_NE(nullptr, one.adapter);

    // Appended to what the vector holds: the SCSI channel, the drives of the
    // first SATA channel, nothing of the empty one, the SAS channel alone.
    std::vector<RaidObject*> ports = {nullptr};
    KRNAControllerUtil::getAdapterPorts(one.adapter, ports);
    ASSERT_EQ(5u, ports.size());
    EXPECT_EQ(nullptr, ports[0]);
    ports.erase(ports.begin());

    struct Expected {
        const char* id;
        const char* name;
        int portType;
        int connectionType;
        const char* description;
    } expected[] = {
        {"U:0", "Channel 0", 101, 3, "Parallel SCSI"},
        {"U:2", "Port 2", 92, 100, "Serial ATA"},
        {"U:3", "Port 3", 92, 100, "Serial ATA"},
        {"U:5", "Channel 5", 94, 8, "Serial Attached SCSI"},
    };
    for (size_t i = 0; i < ports.size(); i++) {
        const Expected& e = expected[i];
        SCOPED_TRACE(e.id);
        auto port = build<KRNA_ControllerLogicalPort_Provider>(ports[i]);
        EXPECT_EQ(e.id, port->DeviceID.value.str());
        EXPECT_EQ("KRNA_ControllerLogicalPort", port->CreationClassName.value.str());
        EXPECT_EQ("KRNA_ControllerComputerSystem", port->SystemCreationClassName.value.str());
        EXPECT_EQ("node1", port->SystemName.value.str());
        EXPECT_EQ(e.name, port->ElementName.value.str());
        EXPECT_EQ(e.portType, port->PortType.value);
        EXPECT_EQ(std::vector<int>{2}, numbers(port->OperationalStatus.value));
        EXPECT_EQ(4, port->UsageRestriction.value);

        auto endpoint = build<KRNA_ControllerSCSIProtocolEndpoint_Provider>(ports[i]);
        EXPECT_EQ(e.id, endpoint->Name.value.str());
        EXPECT_EQ("KRNA_ControllerSCSIProtocolEndpoint", endpoint->CreationClassName.value.str());
        EXPECT_EQ("KRNA_ControllerComputerSystem", endpoint->SystemCreationClassName.value.str());
        EXPECT_EQ("node1", endpoint->SystemName.value.str());
        EXPECT_EQ(1, endpoint->ProtocolIFType.value);
        EXPECT_EQ(e.connectionType, endpoint->ConnectionType.value);
        EXPECT_EQ(e.description, endpoint->OtherTypeDescription.value.str());
        EXPECT_EQ(2, endpoint->Role.value);

        auto controller = build<KRNA_ControllerSCSIProtocolController_Provider>(ports[i]);
        EXPECT_EQ(e.id, controller->DeviceID.value.str());
        EXPECT_EQ("KRNA_ControllerSCSIProtocolController", controller->CreationClassName.value.str());
        EXPECT_EQ("node1", controller->SystemName.value.str());

        auto collection = build<KRNA_ControllerConnectivityCollection_Provider>(ports[i]);
        EXPECT_EQ(e.id, collection->InstanceID.value.str());
        EXPECT_EQ(std::string(e.name) + " Connectivity", collection->ElementName.value.str());
        EXPECT_EQ(0, collection->ConnectivityStatus.value);
    }
}

TEST_F(ControllerProvidersTest, ChannelTypesGiveTheInterfacePortAndTransport)
{
    struct Case {
        int type;
        const char* controllerType; // when the channel is the adapter's first
        int portType;
        int protocolIFType;
        int connectionType;
        const char* description; // "" where none is set
    } cases[] = {
        {SCSI, "SCSI", 101, 1, 3, "Parallel SCSI"},
        {SATA, "SATA", 92, 1, 100, "Serial ATA"},
        {IDE, "Other", 91, 1, 101, "Parallel ATA"},
        {FIBRE, "Other", 2, 18, 2, ""},
        {SAS, "SAS", 94, 1, 8, "Serial Attached SCSI"},
        {SATA_ON_SAS, "SATA on SAS", 2, 1, 1, "Other"},
        {9, "Other", 2, 1, 1, "Other"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        SlotAdapter adapter(1);
        Channel* channel = new Channel(&adapter, 7, static_cast<EnumChannelType>(c.type), SPEED_UNKNOWN);
        adapter.addChild(channel);
        // A later channel of another type does not change the interface.
        adapter.addChild(new Channel(&adapter, 8, SCSI, SPEED_UNKNOWN));
        auto portController = build<KRNA_ControllerPortController_Provider>(static_cast<Adapter*>(&adapter));
        EXPECT_EQ(c.controllerType, portController->OtherControllerType.value.str());
        EXPECT_EQ(1, portController->ControllerType.value);
        auto port = build<KRNA_ControllerLogicalPort_Provider>(static_cast<RaidObject*>(channel));
        EXPECT_EQ(c.portType, port->PortType.value);
        EXPECT_EQ("0-0-0:7", port->DeviceID.value.str());
        auto endpoint = build<KRNA_ControllerSCSIProtocolEndpoint_Provider>(static_cast<RaidObject*>(channel));
        EXPECT_EQ(c.protocolIFType, endpoint->ProtocolIFType.value);
        EXPECT_EQ(c.connectionType, endpoint->ConnectionType.value);
        EXPECT_EQ(c.description, endpoint->OtherTypeDescription.value.str());
    }
}

TEST_F(ControllerProvidersTest, PortControllerSlotsAndKeysOnlyBuilds)
{
    for (int slot : {5, -1, 0}) {
        SCOPED_TRACE(slot);
        SlotAdapter adapter(slot);
        Adapter* a = &adapter;
        auto full = build<KRNA_ControllerPortController_Provider>(a);
        EXPECT_EQ(std::vector<std::string>{std::to_string(slot)}, texts(full->OtherIdentifyingInfo.value));
        EXPECT_EQ(std::vector<std::string>{"PCI Slot"}, texts(full->IdentifyingDescriptions.value));
        EXPECT_EQ("Other", full->OtherControllerType.value.str()); // no channel
        EXPECT_EQ("0-0-0", full->DeviceID.value.str());
        EXPECT_EQ("KRNA_ControllerPortController", full->CreationClassName.value.str());
        EXPECT_EQ("KRNA_ControllerComputerSystem", full->SystemCreationClassName.value.str());
        EXPECT_EQ("node1", full->SystemName.value.str());
        // The flag is not honoured: a keys-only build is the same.
        EXPECT_TRUE(cimple::identical(full.ptr(), build<KRNA_ControllerPortController_Provider>(a, true).ptr()));
    }

    // A keys-only endpoint sets the four keys alone.
    SlotAdapter adapter(1);
    Channel* channel = new Channel(&adapter, 3, SAS, SPEED_UNKNOWN);
    adapter.addChild(channel);
    auto keys = build<KRNA_ControllerSCSIProtocolEndpoint_Provider>(static_cast<RaidObject*>(channel), true);
    Ref<cimple::KRNA_ControllerSCSIProtocolEndpoint> expected(cimple::KRNA_ControllerSCSIProtocolEndpoint::create(false));
    expected->Name.set("0-0-0:3");
    expected->CreationClassName.set("KRNA_ControllerSCSIProtocolEndpoint");
    expected->SystemCreationClassName.set("KRNA_ControllerComputerSystem");
    expected->SystemName.set("node1");
    EXPECT_TRUE(cimple::identical(expected.ptr(), keys.ptr()));
    EXPECT_TRUE(cimple::key_eq(expected.ptr(),
                               build<KRNA_ControllerSCSIProtocolEndpoint_Provider>(static_cast<RaidObject*>(channel)).ptr()));
}

TEST_F(ControllerProvidersTest, AnObjectThatIsNoPortIsLoggedAndBuildsNothing)
{
    SlotAdapter adapter(1);
    LogicalDrive* drive = new LogicalDrive(&adapter, nullptr, 1, OKAY, RAID1, 100, 0, false, LD_CACHE_DISABLED, true, false);
    adapter.addChild(drive);
    RaidObject* object = drive;
    Ref<cimple::KRNA_ControllerLogicalPort> untouched(cimple::KRNA_ControllerLogicalPort::create(false));
    EXPECT_TRUE(cimple::identical(untouched.ptr(), build<KRNA_ControllerLogicalPort_Provider>(object).ptr()));
    build<KRNA_ControllerSCSIProtocolEndpoint_Provider>(object, true);
    build<KRNA_ControllerSCSIProtocolController_Provider>(object);
    build<KRNA_ControllerConnectivityCollection_Provider>(object);
    EXPECT_EQ((std::vector<std::string>{
                  "[error] (KRNA_ControllerLogicalPort_Provider) ERROR: Invalid device type LogicalDrive",
                  "[error] (KRNA_ControllerSCSIProtocolEndpoint_Provider) ERROR: Invalid device type LogicalDrive",
                  "[error] (KRNA_ControllerSCSIProtocolController_Provider) ERROR: Invalid device type LogicalDrive",
                  "[error] (KRNA_ControllerConnectivityCollection) ERROR: Invalid device type LogicalDrive",
              }),
              logMessages("Invalid device type"));
}

// ---- replacement FRU ------------------------------------------------------------------

TEST_F(ControllerProvidersTest, ReplacementFRUOfATarnellAndAVeskCard)
{
    AdapterVPDInfo vpd;
    vpd.FRU = "F";
    TestTarnellAdapter tarnell("S", "Vendor  ", "", &vpd);
    auto fru = build<KRNA_ControllerReplacementFRU_Provider>(static_cast<Adapter*>(&tarnell));
    EXPECT_EQ("S", fru->InstanceID.value.str());
    EXPECT_EQ("Controller FRU", fru->Caption.value.str());
    EXPECT_EQ("Vendor", fru->Vendor.value.str());
    EXPECT_EQ("F", fru->ElementName.value.str());
    EXPECT_FALSE(fru->CustomerReplaceable.value);
    EXPECT_EQ("", fru->Description.value.str());
    EXPECT_EQ("", fru->OrderNumber.value.str());

    TestTarnellAdapter withoutVpd("S2", "", "", nullptr);
    EXPECT_EQ("", build<KRNA_ControllerReplacementFRU_Provider>(static_cast<Adapter*>(&withoutVpd))->ElementName.value.str());

    vesksim::Controller record;
    record.fruNumber = "FRU-VK8I-03";
    record.vendor = "Veskon";
    VeskAdapter vesk(record);
    auto veskFru = build<KRNA_ControllerReplacementFRU_Provider>(static_cast<Adapter*>(&vesk));
    EXPECT_EQ("FRU-VK8I-03", veskFru->ElementName.value.str());
    EXPECT_EQ("Veskon", veskFru->Vendor.value.str());
}

} // namespace
