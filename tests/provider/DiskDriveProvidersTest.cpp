// The builds of the disk drive, its identity, package, extent and endpoint,
// and of the chunk extents, on model objects made here: the drive id, the
// tables, the used space, the endpoint's transport, and which drive holds a
// chunk. (The enumerations and associations over configurations are in
// StorageProvidersTest.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KRNAConcreteExtentProviders.h"
#include "KRNADiskDriveProviders.h"
#include "ProviderTestSupport.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/LogicalDrive.h"

using namespace corvanecimple;
using cimple::Ref;

namespace {

// An adapter of no family with the serial and reserves a test gives it.
class TestAdapter : public Adapter {
public:
    explicit TestAdapter(const char* serial, unsigned long id = 0)
    {
        copyText(serialNumString, serial);
        myAddr2.setAdapterID(static_cast<STORID_T>(id));
    }
    ~TestAdapter() override { deleteAllChildren(); }
    using Adapter::reservedInBeginning;
    using Adapter::reservedInEnd;
};

// A hard drive whose fields the test sets.
class TestDrive : public HardDrive {
public:
    TestDrive(Adapter* a, Channel* c, unsigned long device, const char* serial, BLOCK_T sectors)
    {
        adapter = a;
        channel = c;
        if (a)
            myAddr2.setAdapterID(a->getAdapterID());
        if (c)
            myAddr2.setChannelID(c->getChannelID());
        myAddr2.setDeviceID(static_cast<STORID_T>(device));
        copyText(serialNumber, serial);
        size = sectors;
    }
    ~TestDrive() override { deleteAllChildren(); }
    using HardDrive::pfaError;
    using HardDrive::size;
    using HardDrive::pfaSupported;
    using HardDrive::writeCacheEnable;
    using PhysicalDevice::deviceType;
    using PhysicalDevice::firmwareLevel;
    using PhysicalDevice::fruNumber;
    using PhysicalDevice::model;
    using PhysicalDevice::negotiatedSpeed;
    using PhysicalDevice::state;
    using PhysicalDevice::vendor;
    using PhysicalDevice::wwnString;
};

template <class Provider, class Object>
Ref<typename Provider::Class> build(Object* object, bool keysOnly = false)
{
    Ref<typename Provider::Class> instance(Provider::Class::create(false));
    Provider::krnaBuildInstance(instance.ptr(), object, keysOnly);
    return instance;
}

std::vector<int> numbers(const cimple::Array_uint16& a)
{
    std::vector<int> out;
    for (size_t i = 0; i < a.size(); i++)
        out.push_back(a[i]);
    return out;
}

std::vector<std::string> texts(const cimple::Array_String& a)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < a.size(); i++)
        out.push_back(a[i].str());
    return out;
}

class DiskDriveProvidersTest : public providertest::ProviderTest {
protected:
    TestAdapter adapter{"SN12345"};
    Channel* scsi = add(new Channel(&adapter, 1, SCSI, SPEED_SCSI320));

    Channel* add(Channel* channel)
    {
        adapter.addChild(channel);
        return channel;
    }
    TestDrive* drive(Channel* on, unsigned long device, const char* serial, BLOCK_T sectors = 1000)
    {
        TestDrive* d = new TestDrive(&adapter, on, device, serial, sectors);
        (on ? static_cast<RaidObject*>(on) : &adapter)->addChild(d);
        return d;
    }
};

// ---- the disk drive -----------------------------------------------------------------------

TEST_F(DiskDriveProvidersTest, TheDriveIdIsTheCompressedTrimmedSerialAndTheDeviceId)
{
    const struct {
        const char* serial;
        const char* id;
    } cases[] = {{"  AB  12 ", "AB12:5"}, {"", ":5"}, {"X Y", "X Y:5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial);
        TestDrive* d = drive(scsi, 5, c.serial);
        auto keys = build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d), true);
        EXPECT_EQ(c.id, keys->DeviceID.value.str());
        EXPECT_EQ("node1", keys->SystemName.value.str());
        EXPECT_EQ("KRNA_ControllerComputerSystem", keys->SystemCreationClassName.value.str());
        EXPECT_EQ("KRNA_DiskDrive", keys->CreationClassName.value.str());
        // The keys alone: nothing else is set.
        EXPECT_TRUE(keys->StatusDescriptions.value.size() == 0);
        EXPECT_EQ("", keys->ElementName.value.str());
    }
}

TEST_F(DiskDriveProvidersTest, SizeStateCacheSpeedAndTypeByTheirTables)
{
    TestDrive* d = drive(scsi, 0, "S");
    for (const auto& c : std::vector<std::pair<BLOCK_T, cimple::uint64>>{{500, 256}, {3, 1}, {0, 0}}) {
        d->size = c.first;
        EXPECT_EQ(c.second, build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d))->MaxMediaSize.value);
    }
    d->size = 1000;

    const struct {
        int state;
        const char* text;
        std::vector<int> status;
    } states[] = {{DRIVE_READY, "DRIVE READY", {2}},           {DRIVE_ONLINE, "DRIVE ONLINE", {2}},
                  {DRIVE_DEAD, "DRIVE DEAD", {6}},             {DEVICE_STANDBY, "DRIVE STANDBY", {2}},
                  {DRIVE_SPARE, "DRIVE SPARE", {2}},           {DRIVE_REBUILDING, "DRIVE REBUILDING", {2}},
                  {DRIVE_PARTITIONED_SINGLE, "DRIVE PARTITIONED SINGLE", {2}},
                  {DRIVE_EMPTY, "DRIVE EMPTY", {}},            {DRIVE_UNSUPPORTED, "DRIVE EMPTY", {}},
                  {99, "DRIVE EMPTY", {}}};
    for (const auto& s : states) {
        SCOPED_TRACE(s.text);
        d->state = static_cast<EnumPhysicalDeviceState>(s.state);
        auto i = build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d));
        EXPECT_EQ(std::vector<std::string>{s.text}, texts(i->StatusDescriptions.value));
        EXPECT_EQ(s.status, numbers(i->OperationalStatus.value));
    }

    const std::pair<int, const char*> caches[] = {{HARD_DRIVE_CACHE_MODE_WRITE_BACK, "Write back"},
                                                  {HARD_DRIVE_CACHE_MODE_WRITE_THROUGH, "Write through"},
                                                  {HARD_DRIVE_CACHE_MODE_NOT_AVAILABLE, "Not available"},
                                                  {HARD_DRIVE_CACHE_MODE_NOT_SUPPORTED, "Not supported"},
                                                  {HARD_DRIVE_CACHE_MODE_UNKNOWN, "Unknown"},
                                                  {42, "Unknown"}};
    for (const auto& c : caches) {
        d->writeCacheEnable = static_cast<EnumHardDriveCacheMode>(c.first);
        EXPECT_EQ(c.second, build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d))->writeCache.value.str());
    }

    // Speeds outside the table (slower SCSI, SATA on SAS, unknown) give 0.
    const std::pair<int, cimple::uint32> speeds[] = {
        {SPEED_SCSI160, 160000}, {SPEED_SCSI320, 320000}, {SPEED_SATA150, 150000}, {SPEED_SATA300, 300000},
        {SPEED_SATA600, 600000}, {SPEED_SAS150, 150000},  {SPEED_SAS300, 300000},  {SPEED_SAS600, 600000},
        {5, 0},                  {500, 0},                {502, 0},                {SPEED_UNKNOWN, 0}};
    for (const auto& s : speeds) {
        SCOPED_TRACE(s.first);
        d->negotiatedSpeed = s.first;
        EXPECT_EQ(s.second, build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d))->UncompressedDataRate.value);
    }

    const std::pair<int, const char*> types[] = {{HARD_DRIVE, "HARD DRIVE"},
                                                 {ENCLOSURE, "ENCLOSURE"},
                                                 {STORAGE_ARRAY_CONTROLLER_DEVICE, "STORAGE_ARRAY_CONTROLLER_DEVICE"},
                                                 {ENCLOSURE_SERVICES_DEVICE, "ENLOSURE_SERVICES_DEVICE"},
                                                 {SIMPLIFIED_DIRECT_ACCESS_DEVICE, "SIMPLIFIED_DIRECT_ACCESS_DEVICE"},
                                                 {TAPE_DRIVE, "UNKNOWN_DEVICE"}};
    for (const auto& t : types) {
        d->deviceType = static_cast<EnumPhysicalDeviceType>(t.first);
        EXPECT_EQ(t.second, build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d))->ElementName.value.str());
    }

    // A predictive failure counts only where the drive supports it.
    d->pfaError = true;
    d->pfaSupported = false;
    EXPECT_FALSE(build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d))->pfaError.value);
    d->pfaSupported = true;
    EXPECT_TRUE(build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d))->pfaError.value);
}

TEST_F(DiskDriveProvidersTest, UnitsUsedCountsReservesAndChunksAndNeverWraps)
{
    TestDrive* d = drive(scsi, 0, "S", 100000);
    EXPECT_EQ(0u, build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d))->UnitsUsed.value);

    adapter.reservedInBeginning = 512;
    adapter.reservedInEnd = 512;
    d->addChild(new Chunk(d, nullptr, 4096, 1024, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL));
    // The free list is rebuilt each time: a second build counts the same.
    EXPECT_EQ(1048576u, build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d))->UnitsUsed.value);
    EXPECT_EQ(1048576u, build<KRNA_DiskDrive_Provider>(static_cast<HardDrive*>(d))->UnitsUsed.value);

    // Free extents that add up to more than the drive give 0, not a wrapped count.
    EXPECT_EQ(0u, KRNA_DiskDrive_Provider::unitsUsed(100, 101));
    EXPECT_EQ(51200u, KRNA_DiskDrive_Provider::unitsUsed(100, 0));
}

// ---- identity, package, extent and endpoint ----------------------------------------------------

TEST_F(DiskDriveProvidersTest, IdentityPackageAndExtentAreKeyedByTheDriveSerial)
{
    TestDrive* d = drive(scsi, 3, "  AB  12 ", 1000000);
    copyText(d->vendor, " VENDR ");
    copyText(d->model, " MODEL 9 ");
    copyText(d->firmwareLevel, " FW1 ");
    copyText(d->fruNumber, " FRU ");
    copyText(d->wwnString, "0123456789ABCDEF");
    HardDrive* h = d;

    auto identity = build<KRNA_DiskDriveSoftwareIdentity_Provider>(h);
    EXPECT_EQ("AB12", identity->InstanceID.value.str());
    EXPECT_EQ(" FW1 ", identity->VersionString.value.str());
    EXPECT_EQ("VENDR", identity->Manufacturer.value.str());
    EXPECT_EQ("Represents the Harddrives connected to the RAID controller", identity->Description.value.str());
    EXPECT_EQ(std::vector<int>{10}, numbers(identity->Classifications.value));
    EXPECT_EQ(std::vector<std::string>{"Firmware"}, texts(identity->ClassificationDescriptions.value));

    auto package = build<KRNA_DiskDrivePhysicalPackage_Provider>(h);
    EXPECT_EQ("AB12", package->Tag.value.str());
    EXPECT_EQ("KRNA_DiskDrivePhysicalPackage", package->CreationClassName.value.str());
    EXPECT_EQ("AB  12", package->SerialNumber.value.str()); // inner blanks kept
    EXPECT_EQ("MODEL 9", package->Model.value.str());
    EXPECT_EQ(" FRU ", package->fruNumber.value.str());
    EXPECT_TRUE(package->PoweredOn.value);

    auto extent = build<KRNA_DiskDriveStorageExtent_Provider>(h);
    EXPECT_EQ("AB12", extent->DeviceID.value.str());
    EXPECT_EQ("KRNA_DiskDriveStorageExtent", extent->CreationClassName.value.str());
    EXPECT_EQ(512u, extent->BlockSize.value);
    EXPECT_EQ(1000000u, extent->NumberOfBlocks.value);
    EXPECT_EQ(1000000u, extent->ConsumableBlocks.value);
    EXPECT_EQ(std::vector<int>{2}, numbers(extent->OperationalStatus.value));
    EXPECT_EQ(std::vector<int>{2}, numbers(extent->ExtentStatus.value));
    EXPECT_TRUE(extent->Primordial.value);
    EXPECT_EQ("0123456789ABCDEF", extent->Name.value.str());

    // An empty slot: powered off, no status.
    d->state = DRIVE_EMPTY;
    EXPECT_FALSE(build<KRNA_DiskDrivePhysicalPackage_Provider>(h)->PoweredOn.value);
    EXPECT_TRUE(build<KRNA_DiskDriveStorageExtent_Provider>(h)->OperationalStatus.value.size() == 0);

    // An empty serial: empty keys.
    HardDrive* blank = drive(scsi, 4, "");
    EXPECT_EQ("", build<KRNA_DiskDriveSoftwareIdentity_Provider>(blank)->InstanceID.value.str());
    EXPECT_EQ("", build<KRNA_DiskDrivePhysicalPackage_Provider>(blank)->Tag.value.str());
    EXPECT_EQ("", build<KRNA_DiskDriveStorageExtent_Provider>(blank)->DeviceID.value.str());
    EXPECT_EQ(":1", build<KRNA_DiskDriveSCSIProtocolEndpoint_Provider>(blank)->Name.value.str());
}

TEST_F(DiskDriveProvidersTest, TheEndpointTakesItsTransportFromTheChannel)
{
    const struct {
        EnumChannelType type;
        int connection, protocol;
        const char* description;
    } cases[] = {{SCSI, 3, 1, "Parallel SCSI"},
                 {SATA, 100, 1, "Serial ATA"},
                 {IDE, 101, 1, "Parallel ATA"},
                 {FIBRE, 2, 18, ""},
                 {SAS, 8, 1, "Serial Attached SCSI"},
                 {SATA_ON_SAS, 1, 1, "Other"}};
    unsigned long number = 2;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Channel* channel = add(new Channel(&adapter, number, c.type, SPEED_UNKNOWN));
        auto endpoint = build<KRNA_DiskDriveSCSIProtocolEndpoint_Provider>(
            static_cast<HardDrive*>(drive(channel, 9, " Z 1 ")));
        EXPECT_EQ("Z1:" + std::to_string(number), endpoint->Name.value.str());
        EXPECT_EQ("KRNA_DiskDriveSCSIProtocolEndpoint", endpoint->CreationClassName.value.str());
        EXPECT_EQ("node1", endpoint->SystemName.value.str());
        EXPECT_EQ(c.connection, endpoint->ConnectionType.value);
        EXPECT_EQ(c.protocol, endpoint->ProtocolIFType.value);
        EXPECT_EQ(c.description, endpoint->OtherTypeDescription.value.str());
        EXPECT_EQ(3, endpoint->Role.value);
        number++;
    }
    // Without a channel: the channel id of the drive's own address, "Other".
    TestDrive* loose = drive(nullptr, 9, "L");
    loose->getAddr2().setChannelID(7);
    auto endpoint = build<KRNA_DiskDriveSCSIProtocolEndpoint_Provider>(static_cast<HardDrive*>(loose));
    EXPECT_EQ("L:7", endpoint->Name.value.str());
    EXPECT_EQ(1, endpoint->ConnectionType.value);
    EXPECT_EQ(1, endpoint->ProtocolIFType.value);
    EXPECT_EQ("Other", endpoint->OtherTypeDescription.value.str());
}

// ---- the chunk extents ------------------------------------------------------------------------

TEST_F(DiskDriveProvidersTest, AChunkExtentIsNamedByItsLogicalDriveAndAddress)
{
    LogicalDrive* logical = new LogicalDrive(&adapter, nullptr, 2, OKAY, RAID1, 100, 0, false, LD_CACHE_DISABLED,
                                             false, false);
    adapter.addChild(logical);
    TestDrive* disk = drive(scsi, 4, "D4");
    Chunk* onDisk = new Chunk(disk, logical, 2048, 4096, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL);
    logical->addChild(onDisk);
    auto extent = build<KRNA_ConcreteStorageExtent_Provider>(onDisk);
    EXPECT_EQ("node1:SN12345:2:1:4", extent->DeviceID.value.str());
    EXPECT_EQ("KRNA_ConcreteStorageExtent", extent->CreationClassName.value.str());
    EXPECT_EQ("KRNA_ControllerComputerSystem", extent->SystemCreationClassName.value.str());
    EXPECT_EQ(512u, extent->BlockSize.value);
    EXPECT_EQ(4096u, extent->NumberOfBlocks.value);
    EXPECT_EQ(4096u, extent->ConsumableBlocks.value);
    EXPECT_EQ(std::vector<int>{2}, numbers(extent->ExtentStatus.value));
    EXPECT_FALSE(extent->Primordial.value);

    const std::pair<int, std::vector<int>> states[] = {
        {DRIVE_DEAD, {6}}, {DRIVE_SPARE, {2}}, {DRIVE_REBUILDING, {2}}, {DRIVE_EMPTY, {}}, {DRIVE_UNSUPPORTED, {}}};
    for (const auto& s : states) {
        disk->state = static_cast<EnumPhysicalDeviceState>(s.first);
        EXPECT_EQ(s.second, numbers(build<KRNA_ConcreteStorageExtent_Provider>(onDisk)->OperationalStatus.value));
    }

    // A chunk whose drive is not in the tree, or has no channel: no status.
    Chunk* nowhere = new Chunk(3, 9, 0, 100, 0, 0, CHUNK_TYPE_DATA, CHUNK_NORMAL);
    logical->addChild(nowhere);
    auto lost = build<KRNA_ConcreteStorageExtent_Provider>(nowhere);
    EXPECT_EQ("node1:SN12345:2:3:9", lost->DeviceID.value.str());
    EXPECT_TRUE(lost->OperationalStatus.value.size() == 0);
    TestDrive* loose = drive(nullptr, 6, "L");
    Chunk* onLoose = new Chunk(loose, logical, 0, 100, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL);
    logical->addChild(onLoose);
    EXPECT_TRUE(build<KRNA_ConcreteStorageExtent_Provider>(onLoose)->OperationalStatus.value.size() == 0);
}

TEST_F(DiskDriveProvidersTest, AChunkFoundByAddressFindsTheDriveOfItsOwnFamily)
{
    // Two families' adapters with the same adapter id under one root, each
    // with a drive on channel 1, device 4; the chunks name their drive by
    // address only.
    struct Root : RaidObject {
        ~Root() override { deleteAllChildren(); }
    } root;
    TestAdapter* vesk = new TestAdapter("V", 0);
    TestAdapter* tarnell = new TestAdapter("T", 0);
    root.addChild(vesk);
    root.addChild(tarnell);
    std::vector<HardDrive*> drives;
    std::vector<Chunk*> chunks;
    for (TestAdapter* a : {vesk, tarnell}) {
        Channel* channel = new Channel(a, 1, SCSI, SPEED_SCSI320);
        a->addChild(channel);
        TestDrive* d = new TestDrive(a, channel, 4, a == vesk ? "VD" : "TD", 1000);
        channel->addChild(d);
        drives.push_back(d);
        LogicalDrive* logical = new LogicalDrive(a, nullptr, 0, OKAY, RAID0, 10, 0, false, LD_CACHE_DISABLED, false,
                                                 false);
        a->addChild(logical);
        Chunk* chunk = new Chunk(1, 4, 0, 10, 0, 0, CHUNK_TYPE_DATA, CHUNK_NORMAL);
        logical->addChild(chunk);
        chunks.push_back(chunk);
    }
    EXPECT_EQ(drives[0], krnaChunkDrive(chunks[0]));
    EXPECT_EQ(drives[1], krnaChunkDrive(chunks[1]));
}

} // namespace
