// The disk drive, pool, volume setting and concrete extent providers over
// whole configurations: small scenarios of the simulated Qorl and Pelm
// families (the Tarnell family's arrays on a tree made here), what each
// enumeration lists, what each association pairs and the values the
// associations carry.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "KRNAConcreteExtentProviders.h"
#include "KRNADiskDriveProviders.h"
#include "KRNAStoragePoolProviders.h"
#include "KRNAVolumeSettingProviders.h"
#include "KRNA_StorageVolume_Provider.h"
#include "ProviderTestSupport.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Interface/BasicArray.h"

using namespace corvanecimple;
using providertest::Collected;
using providertest::logMessages;

namespace {

// The instances a provider lists, kept here.
template <class Provider>
struct Listed : Collected<typename Provider::Class> {
    Listed()
    {
        Provider provider;
        EXPECT_EQ(0, provider.load());
        EXPECT_EQ(0, providertest::enumerate(provider, *this));
        provider.unload();
    }
    size_t size() const { return this->items.size(); }
    typename Provider::Class* operator[](size_t i) const { return this->items.at(i); }
};

template <class T>
std::string key(const T* end);
template <>
std::string key(const cimple::KRNA_ControllerComputerSystem* s)
{
    return s->Name.value.str();
}

std::string text(const cimple::Property<cimple::String>& p) { return p.value.str(); }

vesksim::Drive disk(uint8_t channel, uint16_t target, const std::string& serial, uint64_t blocks = 100000,
                    EnumPhysicalDeviceState state = DRIVE_ONLINE)
{
    vesksim::Drive d;
    d.channel = channel;
    d.target = target;
    d.serial = serial;
    d.model = "MODEL";
    d.blocks = blocks;
    d.state = state;
    return d;
}

vesksim::Chunk chunk(uint8_t channel, uint16_t target, uint64_t start, uint64_t sectors)
{
    vesksim::Chunk c;
    c.channel = channel;
    c.target = target;
    c.startSector = start;
    c.sectors = sectors;
    return c;
}

vesksim::LogicalDrive vdrive(uint16_t number, uint64_t blocks, std::vector<vesksim::Chunk> chunks = {})
{
    vesksim::LogicalDrive d;
    d.number = number;
    d.blocks = blocks;
    d.chunks = chunks;
    return d;
}

class StorageProvidersTest : public providertest::ProviderTest {
protected:
    // Only these controllers, of the Qorl and Pelm families.
    static void only(const std::vector<vesksim::Controller>& vesk, const std::vector<pelmsim::Controller>& pelm = {})
    {
        vesksim::Scenario v;
        v.controllers = vesk;
        vesksim::reset(v);
        pelmsim::Scenario p;
        p.controllers = pelm;
        pelmsim::reset(p);
        tarnellsim::reset(tarnellsim::Scenario{});
    }

    static vesksim::Controller vesk(uint32_t number, const std::string& serial)
    {
        vesksim::Controller c;
        c.number = number;
        c.pciBus = static_cast<uint8_t>(number + 1);
        c.serial = serial;
        return c;
    }
};

// ---- the drive associations --------------------------------------------------------------------

TEST_F(StorageProvidersTest, DriveAssociationsRelateEveryDriveToItsNeighbours)
{
    // A: two SCSI channels of three drives; B: a SATA channel of three drives.
    vesksim::Controller a = vesk(0, "A");
    a.channels = {{0, SCSI, SPEED_SCSI320}, {1, SCSI, SPEED_SCSI320}};
    for (uint8_t ch = 0; ch < 2; ch++)
        for (uint16_t t = 0; t < 3; t++)
            a.drives.push_back(disk(ch, t, "A" + std::to_string(ch) + std::to_string(t)));
    vesksim::Controller b = vesk(1, "B");
    b.channels = {{0, SATA, SPEED_SATA300}};
    for (uint16_t t = 0; t < 3; t++)
        b.drives.push_back(disk(0, t, "B" + std::to_string(t)));
    only({a, b});

    Listed<KRNA_DiskDriveSystemDevice_Provider> systems;
    ASSERT_EQ(9u, systems.size());
    std::vector<std::string> groups;
    for (auto* s : systems.items) {
        auto* system = static_cast<cimple::KRNA_ControllerComputerSystem*>(s->GroupComponent);
        auto* drive = static_cast<cimple::KRNA_DiskDrive*>(s->PartComponent);
        groups.push_back(key(system));
        // Both ends are built in full.
        EXPECT_EQ("MODEL", text(drive->Name).substr(0, 5));
        EXPECT_EQ(51200u, drive->MaxMediaSize.value);
        EXPECT_FALSE(text(system->ElementName).empty());
    }
    EXPECT_EQ((std::vector<std::string>{"A", "A", "A", "A", "A", "A", "B", "B", "B"}), groups);

    EXPECT_EQ(9u, (Listed<KRNA_DiskDriveElementSoftwareIdentity_Provider>().size()));
    EXPECT_EQ(9u, (Listed<KRNA_DiskDriveRealizesPhysicalPackage_Provider>().size()));
    EXPECT_EQ(9u, (Listed<KRNA_DiskDriveDeviceSAPImplementation_Provider>().size()));
    Listed<KRNA_DiskDriveMediaPresent_Provider> media;
    ASSERT_EQ(9u, media.size());
    EXPECT_EQ("A00:0", text(static_cast<cimple::KRNA_DiskDrive*>(media[0]->Antecedent)->DeviceID));
    auto* extent = static_cast<cimple::KRNA_DiskDriveStorageExtent*>(media[0]->Dependent);
    EXPECT_EQ("A00", text(extent->DeviceID));
    EXPECT_EQ(100000u, extent->NumberOfBlocks.value);

    // The channel's collection for each drive of a SCSI channel; each SATA
    // drive is a port, and a collection, of its own.
    Listed<KRNA_DiskDriveMemberOfCollection_Provider> members;
    std::vector<std::string> collections, endpoints;
    for (auto* m : members.items) {
        collections.push_back(text(static_cast<cimple::KRNA_ControllerConnectivityCollection*>(m->Collection)->InstanceID));
        auto* endpoint = static_cast<cimple::KRNA_DiskDriveSCSIProtocolEndpoint*>(m->Member);
        endpoints.push_back(text(endpoint->Name));
        EXPECT_EQ(3, endpoint->Role.value);
    }
    EXPECT_EQ((std::vector<std::string>{"A:0", "A:0", "A:0", "A:1", "A:1", "A:1", "B:0", "B:1", "B:2"}), collections);
    EXPECT_EQ((std::vector<std::string>{"A00:0", "A01:0", "A02:0", "A10:1", "A11:1", "A12:1", "B0:0", "B1:0", "B2:0"}),
              endpoints);
    EXPECT_EQ(1u, logMessages("(KRNA_DiskDriveSystemDevice_Provider) krnaBuildMap() DONE").size());
}

TEST_F(StorageProvidersTest, TheDriveProvidersLogAndTraceUnderTheirOwnNames)
{
    vesksim::Controller a = vesk(0, "A");
    a.channels = {{0, SCSI, SPEED_SCSI320}};
    a.drives = {disk(0, 0, "S0"), disk(0, 1, "S1")};
    only({a});
    Listed<KRNA_DiskDrive_Provider> drives;
    EXPECT_EQ(2u, drives.size());
    EXPECT_EQ(1u, logMessages("(KRNA_DiskDrive_Provider) enum_instances() No of Hard Drives = 2").size());
    EXPECT_EQ(1u, logMessages("Found 2 Hard Drive(s)").size());

    KRNA_DiskDrive_Provider provider;
    ASSERT_EQ(0, provider.load());
    cimple::KRNA_DiskDrive* found = nullptr;
    ASSERT_EQ(0, provider.get_instance(drives[1], found));
    cimple::Ref<cimple::KRNA_DiskDrive> owned(found);
    EXPECT_EQ("S1:1", text(found->DeviceID));
    EXPECT_EQ("DRIVE ONLINE", found->StatusDescriptions.value[0].str());
    EXPECT_EQ(1u, logMessages("ENTERING KRNA_DiskDrive_Provider)::get_instance()").size());
    EXPECT_EQ(1u, logMessages("(KRNA_DiskDrive_Provider) get_instance() Key matches").size());
    provider.unload();

    // The realizes association marks its operations by lines of their own.
    Listed<KRNA_DiskDriveRealizesPhysicalPackage_Provider> packages;
    EXPECT_EQ(2u, packages.size());
    for (const char* line : {"(KRNA_DiskDriveRealizesPhysicalPackage_Provider) load()",
                             "(KRNA_DiskDriveRealizesPhysicalPackage_Provider) enum_instances()",
                             "(KRNA_DiskDriveRealizesPhysicalPackage_Provider) krnaBuildInstance() DONE"})
        EXPECT_EQ(1u, logMessages(line).size()) << line;
    EXPECT_TRUE(logMessages("ENTERING (KRNA_DiskDriveRealizesPhysicalPackage").empty());
    Listed<KRNA_DiskDriveMediaPresent_Provider> media;
    EXPECT_EQ(1u, logMessages("ENTERING (KRNA_DiskDsriveMediaPresent_Provider::enum_instances()").size());
}

// ---- pools ------------------------------------------------------------------------------------

TEST_F(StorageProvidersTest, PoolsOfLogicalDrivesCountBytesByFamily)
{
    vesksim::Controller v = vesk(0, "VS1");
    v.channels = {{0, SCSI, SPEED_SCSI320}};
    for (uint16_t t = 0; t < 6; t++)
        v.drives.push_back(disk(0, t, "V" + std::to_string(t), 1000 * (t + 1)));
    vesksim::Array array;
    array.logicalDrives = {vdrive(0, 2000, {chunk(0, 0, 0, 1000)}), vdrive(1, 3000), vdrive(2, 5000)};
    v.arrays.push_back(array);
    pelmsim::Controller p;
    p.number = 0;
    p.pciBus = 9;
    p.serial = "PL1";
    for (uint16_t n = 0; n < 2; n++) {
        pelmsim::LogicalDrive d;
        d.number = n;
        d.sizeMB = 100 + n;
        p.logicalDrives.push_back(d);
    }
    only({v}, {p});

    Listed<KRNA_PrimordialStoragePool_Provider> primordial;
    ASSERT_EQ(2u, primordial.size());
    EXPECT_EQ("node1:VS1:PrimordialPool", text(primordial[0]->InstanceID));
    EXPECT_EQ("node1:VS1:PrimordialPool", text(primordial[0]->PoolID));
    EXPECT_EQ("node1:VS1:PrimordialPool", text(primordial[0]->ElementName));
    EXPECT_EQ(21000u * 512, primordial[0]->TotalManagedSpace.value);
    EXPECT_EQ(0u, primordial[0]->RemainingManagedSpace.value);
    EXPECT_TRUE(primordial[0]->Primordial.value);
    EXPECT_EQ(0u, primordial[1]->TotalManagedSpace.value); // no drives
    EXPECT_EQ(1u, logMessages("Found 2 Primordial Storage Pool(s)").size());

    // Vesk data space in blocks, Pelm in MB: both pools in bytes.
    Listed<KRNA_ConcreteStoragePool_Provider> concrete;
    ASSERT_EQ(5u, concrete.size());
    const struct {
        const char* id;
        const char* name;
        cimple::uint64 bytes;
    } pools[] = {{"node1:VS1:0", "Pool 0", 2000u * 512},
                 {"node1:VS1:1", "Pool 1", 3000u * 512},
                 {"node1:VS1:2", "Pool 2", 5000u * 512},
                 {"node1:PL1:0", "Pool 0", 100ull << 20},
                 {"node1:PL1:1", "Pool 1", 101ull << 20}};
    for (size_t i = 0; i < 5; i++) {
        EXPECT_EQ(pools[i].id, text(concrete[i]->InstanceID));
        EXPECT_EQ(pools[i].id, text(concrete[i]->PoolID));
        EXPECT_EQ(pools[i].name, text(concrete[i]->ElementName));
        EXPECT_EQ(pools[i].bytes, concrete[i]->TotalManagedSpace.value);
        EXPECT_EQ(0u, concrete[i]->RemainingManagedSpace.value);
        EXPECT_FALSE(concrete[i]->Primordial.value);
    }
    EXPECT_EQ(1u, logMessages("Found 5 Concrete Storage Pool(s)").size());

    EXPECT_EQ(2u, (Listed<KRNA_HostedPrimordialStoragePool_Provider>().size()));
    EXPECT_EQ(5u, (Listed<KRNA_HostedConcreteStoragePool_Provider>().size()));
    // Each pool's space is consumed once: its total, the volume's size in bytes.
    Listed<KRNA_PoolAllocatedFromStoragePool_Provider> poolAllocations;
    ASSERT_EQ(5u, poolAllocations.size());
    Listed<KRNA_VolumeAllocatedFromStoragePool_Provider> volumeAllocations;
    ASSERT_EQ(5u, volumeAllocations.size());
    for (size_t i = 0; i < 5; i++) {
        EXPECT_EQ(pools[i].bytes, poolAllocations[i]->SpaceConsumed.value);
        EXPECT_EQ(pools[i].bytes, volumeAllocations[i]->SpaceConsumed.value);
        auto* pool = static_cast<cimple::KRNA_ConcreteStoragePool*>(volumeAllocations[i]->Antecedent);
        auto* volume = static_cast<cimple::KRNA_StorageVolume*>(volumeAllocations[i]->Dependent);
        EXPECT_EQ(pools[i].id, text(pool->InstanceID));
        EXPECT_EQ(pools[i].bytes, volume->NumberOfBlocks.value * 512);
    }
    // Every drive of the adapter, assigned or not.
    Listed<KRNA_PrimordialStoragePoolConcreteComponent_Provider> components;
    ASSERT_EQ(6u, components.size());
    EXPECT_EQ("V5", text(static_cast<cimple::KRNA_DiskDriveStorageExtent*>(components[5]->PartComponent)->DeviceID));
}

// A Tarnell adapter with the serial a test gives it and the tree it builds.
class TarnellTree : public TarnellAdapter {
public:
    explicit TarnellTree(const char* serial) { copyText(serialNumString, serial); }
    ~TarnellTree() override { deleteAllChildren(); }

    Array* array(int id, int sizeMB, int freeMB)
    {
        Array* a = new BasicArray(this, id, sizeMB, freeMB);
        addChild(a);
        return a;
    }
    LogicalDrive* logical(RaidObject* parent, Array* a, unsigned long id, BLOCK_T dataMB)
    {
        LogicalDrive* d = new LogicalDrive(this, a, id, OKAY, RAID5, dataMB, 0, false, LD_CACHE_DISABLED, false, false);
        parent->addChild(d);
        return d;
    }
};

template <class Provider>
std::vector<typename Provider::Class*> linked(cimple::Instance_Map<typename Provider::Class>& map, Adapter* adapter)
{
    Provider::krnaLinkAdapter(map, adapter);
    std::vector<typename Provider::Class*> out;
    for (size_t i = 0; i < map.size(); i++)
        out.push_back(map[i]);
    return out;
}

TEST_F(StorageProvidersTest, ATarnellAdapterHasAPoolPerArray)
{
    TarnellTree tarnell("TN1");
    Array* first = tarnell.array(0, 1000, 300);
    Array* second = tarnell.array(1, 2000, 0);
    tarnell.logical(first, first, 0, 400);
    tarnell.logical(first, first, 1, 300);
    tarnell.logical(second, second, 2, 2000);
    tarnell.logical(&tarnell, nullptr, 3, 50); // belongs to no array

    std::vector<std::string> names;
    std::vector<cimple::uint64> totals, remaining;
    KRNA_ConcreteStoragePool_Provider::krnaEachInstance(&tarnell, false, [&](cimple::KRNA_ConcreteStoragePool* pool) {
        names.push_back(text(pool->ElementName));
        totals.push_back(pool->TotalManagedSpace.value);
        remaining.push_back(pool->RemainingManagedSpace.value);
        EXPECT_EQ("node1:TN1:" + text(pool->ElementName).substr(5), text(pool->InstanceID));
        cimple::destroy(pool);
        return true;
    });
    EXPECT_EQ((std::vector<std::string>{"Pool 0", "Pool 1"}), names);
    EXPECT_EQ((std::vector<cimple::uint64>{1000ull << 20, 2000ull << 20}), totals);
    EXPECT_EQ((std::vector<cimple::uint64>{300ull << 20, 0}), remaining);

    cimple::Instance_Map<cimple::KRNA_HostedConcreteStoragePool> hosted;
    EXPECT_EQ(2u, (linked<KRNA_HostedConcreteStoragePool_Provider>(hosted, &tarnell).size()));
    // The array's size, not its size and its free space again.
    cimple::Instance_Map<cimple::KRNA_PoolAllocatedFromStoragePool> pools;
    auto allocated = linked<KRNA_PoolAllocatedFromStoragePool_Provider>(pools, &tarnell);
    ASSERT_EQ(2u, allocated.size());
    EXPECT_EQ(1000ull << 20, allocated[0]->SpaceConsumed.value);
    EXPECT_EQ(2000ull << 20, allocated[1]->SpaceConsumed.value);

    // Each volume from its array's pool, consuming its data space.
    cimple::Instance_Map<cimple::KRNA_VolumeAllocatedFromStoragePool> volumes;
    auto fromPools = linked<KRNA_VolumeAllocatedFromStoragePool_Provider>(volumes, &tarnell);
    ASSERT_EQ(3u, fromPools.size());
    std::vector<std::string> antecedents;
    std::vector<cimple::uint64> consumed;
    for (auto* v : fromPools) {
        antecedents.push_back(text(static_cast<cimple::KRNA_ConcreteStoragePool*>(v->Antecedent)->InstanceID));
        consumed.push_back(v->SpaceConsumed.value);
    }
    EXPECT_EQ((std::vector<std::string>{"node1:TN1:0", "node1:TN1:0", "node1:TN1:1"}), antecedents);
    EXPECT_EQ((std::vector<cimple::uint64>{400ull << 20, 300ull << 20, 2000ull << 20}), consumed);
}

// ---- volume settings --------------------------------------------------------------------------

TEST_F(StorageProvidersTest, EveryVolumeHasASettingUntilItsDriveIsDeleted)
{
    const std::pair<int, const char*> modes[] = {{LD_CACHE_NOT_SUPPORTED, "Not supported"},
                                                 {LD_CACHE_DISABLED, "Disabled"},
                                                 {LD_CACHE_ENABLED, "Enabled"},
                                                 {LD_CACHE_ENABLED_WHEN_PROTECTED, "Enabled with battery backup"},
                                                 {LD_CACHE_NO_CHANGE, "Unknown"},
                                                 {LD_CACHE_CLEARCACHE, "Unknown"},
                                                 {77, "Unknown"}};
    for (const auto& m : modes)
        EXPECT_EQ(m.second, std::string(KRNA_VolumeStorageSetting_Provider::cacheModeText(m.first)));

    vesksim::Controller v = vesk(0, "SN12345");
    vesksim::Array array;
    array.logicalDrives = {vdrive(0, 100), vdrive(1, 200)};
    array.logicalDrives[0].level = RAID1;
    array.logicalDrives[0].writeCache = LD_CACHE_ENABLED_WHEN_PROTECTED;
    array.logicalDrives[0].readCache = LD_CACHE_DISABLED;
    array.logicalDrives[1].level = RAID0;
    array.logicalDrives[1].writeCache = LD_CACHE_NO_CHANGE;
    v.arrays.push_back(array);
    only({v});

    Listed<KRNA_VolumeStorageSetting_Provider> settings;
    ASSERT_EQ(2u, settings.size());
    auto* s = settings[0];
    EXPECT_EQ("SN12345:0", text(s->InstanceID)); // no host name
    EXPECT_EQ("RAID1", text(s->ElementName));
    EXPECT_EQ("Enabled with battery backup", text(s->writeCacheMode));
    EXPECT_EQ("Disabled", text(s->readCacheMode));
    EXPECT_TRUE(s->NoSinglePointOfFailure.value);
    for (auto* t : settings.items) {
        EXPECT_EQ(t->DataRedundancyGoal.value, t->DataRedundancyMax.value);
        EXPECT_EQ(t->DataRedundancyGoal.value, t->DataRedundancyMin.value);
        EXPECT_EQ(t->PackageRedundancyGoal.value, t->PackageRedundancyMax.value);
        EXPECT_EQ(t->PackageRedundancyGoal.value, t->PackageRedundancyMin.value);
        EXPECT_EQ(1, t->DeltaReservationMax.value);
        EXPECT_EQ(1, t->DeltaReservationMin.value);
        EXPECT_EQ(1, t->DeltaReservationGoal.value);
    }
    EXPECT_EQ(2, s->DataRedundancyMax.value);
    EXPECT_EQ(1, settings[1]->DataRedundancyMax.value);
    EXPECT_EQ(0, settings[1]->PackageRedundancyMax.value);
    EXPECT_EQ("Unknown", text(settings[1]->writeCacheMode));

    Listed<KRNA_VolumeElementSettingData_Provider> data;
    ASSERT_EQ(2u, data.size());
    for (auto* d : data.items) {
        EXPECT_EQ(0, d->IsDefault.value);
        EXPECT_EQ(0, d->IsCurrent.value);
    }
    EXPECT_EQ("node1:SN12345:1", text(static_cast<cimple::KRNA_StorageVolume*>(data[1]->ManagedElement)->DeviceID));
    EXPECT_EQ("SN12345:1", text(static_cast<cimple::KRNA_VolumeStorageSetting*>(data[1]->SettingData)->InstanceID));
    Listed<KRNA_VolumeSystemDevice_Provider> devices;
    ASSERT_EQ(2u, devices.size());
    EXPECT_EQ("SN12345", key(static_cast<cimple::KRNA_ControllerComputerSystem*>(devices[0]->GroupComponent)));
    EXPECT_EQ("SN12345", key(static_cast<cimple::KRNA_ControllerComputerSystem*>(devices[1]->GroupComponent)));

    // Drive 1 deleted on the controller: after the next refresh nothing names it.
    v.arrays[0].logicalDrives.pop_back();
    only({v});
    providertest::advanceSeconds(181);
    KRNA_StorageVolume_Provider keep; // keeps the builders between the listings
    ASSERT_EQ(0, keep.load());
    EXPECT_EQ(1u, (Listed<KRNA_StorageVolume_Provider>().size()));
    EXPECT_EQ(1u, (Listed<KRNA_VolumeStorageSetting_Provider>().size()));
    EXPECT_EQ(1u, (Listed<KRNA_VolumeElementSettingData_Provider>().size()));
    EXPECT_EQ(1u, (Listed<KRNA_VolumeSystemDevice_Provider>().size()));
    keep.unload();
}

// ---- concrete extents --------------------------------------------------------------------------

TEST_F(StorageProvidersTest, ChunksAreExtentsBetweenDrivesAndVolumes)
{
    vesksim::Controller v = vesk(0, "SN12345");
    v.channels = {{1, SCSI, SPEED_SCSI320}, {2, SATA, SPEED_SATA300}};
    for (uint16_t t = 0; t < 4; t++)
        v.drives.push_back(disk(1, t, "C" + std::to_string(t), 100000, t == 2 ? DRIVE_DEAD : DRIVE_ONLINE));
    v.drives.push_back(disk(2, 0, "S0"));
    v.drives.push_back(disk(2, 1, "S1"));
    vesksim::Array array;
    array.logicalDrives = {
        vdrive(0, 4000, {chunk(1, 0, 2048, 1000), chunk(1, 1, 2048, 1000), chunk(1, 2, 2048, 1000), chunk(1, 3, 2048, 1000)}),
        vdrive(1, 500, {chunk(1, 0, 8192, 500), chunk(1, 1, 8192, 500)}),  // a mirror on one SCSI channel
        vdrive(2, 500, {chunk(2, 0, 0, 500), chunk(2, 1, 0, 500)}),        // a mirror on a SATA channel
        vdrive(3, 1600, {chunk(1, 3, 20000, 700), chunk(1, 3, 30000, 900)}), // two chunks on one drive
    };
    v.arrays.push_back(array);
    only({v});

    Listed<KRNA_ConcreteStorageExtent_Provider> extents;
    ASSERT_EQ(10u, extents.size());
    EXPECT_EQ("node1:SN12345:0:1:0", text(extents[0]->DeviceID));
    EXPECT_EQ(1000u, extents[0]->NumberOfBlocks.value);
    EXPECT_EQ(std::vector<cimple::uint16>{6}, std::vector<cimple::uint16>(1, extents[2]->OperationalStatus.value[0]));
    EXPECT_EQ(text(extents[8]->DeviceID), text(extents[9]->DeviceID));
    EXPECT_EQ(1u, logMessages("Found 10 Concrete Storage Extent").size());

    // A get answers the first of two extents with the same keys.
    KRNA_ConcreteStorageExtent_Provider provider;
    ASSERT_EQ(0, provider.load());
    cimple::KRNA_ConcreteStorageExtent* found = nullptr;
    ASSERT_EQ(0, provider.get_instance(extents[9], found));
    cimple::Ref<cimple::KRNA_ConcreteStorageExtent> owned(found);
    EXPECT_EQ(700u, found->NumberOfBlocks.value);
    provider.unload();

    // The maps keep the first association of the two same-keyed extents.
    Listed<KRNA_ConcreteExtentBasedOnPrimordialExtent_Provider> below;
    ASSERT_EQ(9u, below.size());
    EXPECT_EQ("C0", text(static_cast<cimple::KRNA_DiskDriveStorageExtent*>(below[0]->Antecedent)->DeviceID));
    EXPECT_EQ(2048u, below[0]->StartingAddress.value);
    EXPECT_EQ(3048u, below[0]->EndingAddress.value);
    EXPECT_EQ(20000u, below[8]->StartingAddress.value);
    Listed<KRNA_StorageVolumeBasedOnStorageExtent_Provider> above;
    ASSERT_EQ(9u, above.size());
    for (size_t i = 0; i < 4; i++) {
        EXPECT_EQ("node1:SN12345:0", text(static_cast<cimple::KRNA_StorageVolume*>(above[i]->Dependent)->DeviceID));
        EXPECT_EQ(0u, above[i]->StartingAddress.value);
        EXPECT_EQ(0u, above[i]->EndingAddress.value);
    }
    EXPECT_EQ(1u, logMessages("(KRNA_StorageVolumeBasedOnStorageExtent_Provider) krnaBuildMap()").size());

    // One protocol controller per SCSI channel, one per SATA drive.
    Listed<KRNA_ControllerProtocolControllerForUnit_Provider> units;
    std::vector<std::string> pairs;
    for (auto* u : units.items)
        pairs.push_back(text(static_cast<cimple::KRNA_ControllerSCSIProtocolController*>(u->Antecedent)->DeviceID) + " " +
                        text(static_cast<cimple::KRNA_StorageVolume*>(u->Dependent)->DeviceID));
    EXPECT_EQ((std::vector<std::string>{"SN12345:1 node1:SN12345:0", "SN12345:1 node1:SN12345:1",
                                        "SN12345:0 node1:SN12345:2", "SN12345:1 node1:SN12345:2",
                                        "SN12345:1 node1:SN12345:3"}),
              pairs);
}

// Each request looks the host name up once, however many instances carry it:
// an enumeration of volumes, a get of one, and an association map of chunk
// extents and volumes.
TEST_F(StorageProvidersTest, EachRequestLooksTheHostNameUpOnce)
{
    providertest::hostNameLookups() = 0;
    KRNAProvUtil::setHostNameLookup(providertest::countedHostName);
    Listed<KRNA_StorageVolume_Provider> volumes;
    ASSERT_GT(volumes.size(), 1u);
    EXPECT_EQ(1, providertest::hostNameLookups().load());
    KRNA_StorageVolume_Provider provider;
    ASSERT_EQ(0, provider.load());
    cimple::KRNA_StorageVolume* found = nullptr;
    ASSERT_EQ(0, provider.get_instance(volumes[volumes.size() - 1], found));
    cimple::Ref<cimple::KRNA_StorageVolume> owned(found);
    provider.unload();
    EXPECT_EQ(2, providertest::hostNameLookups().load());
    Listed<KRNA_StorageVolumeBasedOnStorageExtent_Provider> above;
    ASSERT_GT(above.size(), 1u);
    EXPECT_EQ(3, providertest::hostNameLookups().load());
    EXPECT_EQ("node1", text(static_cast<cimple::KRNA_StorageVolume*>(above[0]->Dependent)->SystemName));
}

} // namespace
