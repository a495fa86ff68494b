// The storage volume provider: one KRNA_StorageVolume per logical drive of
// every family, its keys and values, and its enumeration and get.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "KRNA_StorageVolume_Provider.h"
#include "PelmLib.h"
#include "ProviderTestSupport.h"
#include "RaidLib/TarnellLib.h"
#include "RaidModel/Interface/Adapter.h"
#include "VeskLib.h"

using namespace corvanecimple;
using cimple::KRNA_StorageVolume;
using cimple::Ref;
using providertest::Collected;
using providertest::logMessages;

namespace {

std::string cimText(const cimple::Datetime& d)
{
    cimple::String s;
    d.ascii(s);
    return s.str();
}

// The logical drives of a family library's current system, in tree order.
std::vector<LogicalDrive*> drivesOf(StorLib& lib)
{
    EXPECT_EQ(0, lib.getSystemConfig().getReturn());
    std::vector<RaidObject*> found;
    lib.getSystem()->getChildren(found, "LogicalDrive", true, true);
    std::vector<LogicalDrive*> drives;
    for (RaidObject* o : found)
        drives.push_back(static_cast<LogicalDrive*>(o));
    return drives;
}

Ref<KRNA_StorageVolume> build(LogicalDrive* drive)
{
    Ref<KRNA_StorageVolume> volume(KRNA_StorageVolume::create(false));
    KRNA_StorageVolume_Provider::krnaBuildInstance(volume.ptr(), drive, true);
    return volume;
}

// The volume of the one logical drive of a family library's configuration.
Ref<KRNA_StorageVolume> onlyVolume(StorLib& lib, LogicalDrive** drive = nullptr)
{
    std::vector<LogicalDrive*> drives = drivesOf(lib);
    EXPECT_EQ(1u, drives.size());
    if (drives.empty())
        return Ref<KRNA_StorageVolume>();
    if (drive)
        *drive = drives[0];
    return build(drives[0]);
}

class StorageVolumeTest : public providertest::ProviderTest {};

TEST_F(StorageVolumeTest, AVeskDriveKeyedBySerialWithBlocksAndItsCreationTime)
{
    vesksim::Scenario scenario;
    vesksim::Controller c;
    c.serial = "SN12345";
    c.channels = {{0, SCSI, SPEED_SCSI320}};
    vesksim::Array array;
    vesksim::LogicalDrive d;
    d.number = 3;
    d.name = "Boot";
    d.level = RAID1;
    d.state = CRITICAL_MIGRATING;
    d.blocks = 123456789;
    d.created = {2007, 3, 5, 14, 30, 15, 250};
    array.logicalDrives.push_back(d);
    c.arrays.push_back(array);
    scenario.controllers.push_back(c);
    vesksim::reset(scenario);
    VeskLib lib;
    Ref<KRNA_StorageVolume> v = onlyVolume(lib);
    ASSERT_TRUE(v);
    EXPECT_EQ("node1:SN12345:3", v->DeviceID.value.str());
    EXPECT_EQ("node1", v->SystemName.value.str());
    EXPECT_EQ("KRNA_ControllerComputerSystem", v->SystemCreationClassName.value.str());
    EXPECT_EQ("KRNA_StorageVolume", v->CreationClassName.value.str());
    EXPECT_EQ("Logical Drive 3", v->Name.value.str());
    EXPECT_EQ(1, v->NameFormat.value);
    EXPECT_EQ("Boot", v->ElementName.value.str());
    ASSERT_EQ(1u, v->OperationalStatus.value.size());
    EXPECT_EQ(3, v->OperationalStatus.value[0]);
    ASSERT_EQ(1u, v->ExtentStatus.value.size());
    EXPECT_EQ(2, v->ExtentStatus.value[0]);
    EXPECT_EQ(512u, v->BlockSize.value);
    EXPECT_EQ(123456789u, v->NumberOfBlocks.value);
    EXPECT_EQ(123456789u, v->ConsumableBlocks.value);
    EXPECT_TRUE(v->IsBasedOnUnderlyingRedundancy.value);
    EXPECT_TRUE(v->NoSinglePointOfFailure.value);
    EXPECT_EQ(2, v->DataRedundancy.value);
    EXPECT_EQ(1, v->PackageRedundancy.value);
    EXPECT_EQ(1, v->DeltaReservation.value);
    // msecond counts milliseconds: 250 ms is 250000 microseconds.
    EXPECT_EQ("20070305143015.250000+000", cimText(v->InstallDate.value));
    // What the provider does not set is present and zero.
    EXPECT_FALSE(v->EnabledDefault.is_null());
    EXPECT_EQ(0, v->EnabledDefault.value);
    EXPECT_FALSE(v->Caption.is_null());
    EXPECT_EQ("", v->Caption.value.str());
    EXPECT_EQ("", v->Description.value.str());
    EXPECT_FALSE(v->Primordial.value);
    EXPECT_EQ(cimple::Datetime(), v->TimeOfLastStateChange.value);
}

TEST_F(StorageVolumeTest, AnAdapterWithoutSerialIsKeyedByItsPciPlace)
{
    pelmsim::Scenario scenario;
    pelmsim::Controller c;
    c.pciBus = 2;
    c.pciFunction = 0;
    c.pciDevice = 5;
    pelmsim::LogicalDrive d;
    d.number = 0;
    d.name = "Data";
    d.sizeMB = 138000;
    d.level = RAID5;
    c.logicalDrives.push_back(d);
    scenario.controllers.push_back(c);
    pelmsim::reset(scenario);
    PelmLib lib;
    LogicalDrive* drive = nullptr;
    Ref<KRNA_StorageVolume> v = onlyVolume(lib, &drive);
    ASSERT_TRUE(v);
    EXPECT_EQ("node1:2-0-5:0", v->DeviceID.value.str());
    EXPECT_EQ(138000u * 2048u, v->NumberOfBlocks.value);
    EXPECT_EQ(138000u * 2048u, v->ConsumableBlocks.value);
    // A Pelm drive's creation time is filled, but not reported.
    EXPECT_EQ(cimple::Datetime(), v->InstallDate.value);
    build(drive);
    EXPECT_EQ(2u, logMessages("[debug] in PelmAdapter in krnaBuildInstance of Storagevolume").size());
}

TEST_F(StorageVolumeTest, ATarnellDriveCountsMegabytesAndReportsItsCreationDate)
{
    TarnellLib lib;
    std::vector<LogicalDrive*> drives = drivesOf(lib);
    ASSERT_FALSE(drives.empty());
    for (LogicalDrive* drive : drives) {
        Ref<KRNA_StorageVolume> v = build(drive);
        EXPECT_EQ(drive->getDataSpace64() << 11, v->NumberOfBlocks.value);
        EXPECT_EQ("Logical Drive", v->ElementName.value.str());
        EXPECT_EQ(KRNA_StorageVolume_Provider::installDate(drive->getCreateTimeStamp()), v->InstallDate.value);
    }
    Ref<KRNA_StorageVolume> first = build(drives[0]);
    EXPECT_EQ(20000u * 2048u, first->NumberOfBlocks.value);
    EXPECT_TRUE(logMessages("Could not find").empty());
}

TEST_F(StorageVolumeTest, CreationTimes)
{
    const uint32_t U = 0xFFFFFFFF;
    struct Case {
        TIMESTAMP_STRUCT stamp; // date_valid, month, day, year, time_valid, hour, minute, second, msecond
        const char* installDate;
    } cases[] = {
        {{1, 3, 5, 2007, 1, 14, 30, 15, 250}, "20070305143015.250000+000"},
        {{1, 12, 31, 2009, 1, 23, 59, 59, 999}, "20091231235959.999000+000"},
        // The validity flags are not consulted.
        {{0, 3, 5, 2007, 0, 14, 30, 15, U}, "20070305143015.000000+000"},
        // Only the date: midnight of that date.
        {{0, 7, 14, 2008, 0, U, U, U, U}, "20080714000000.000000+000"},
        // No date, or a field out of range: the zero datetime.
        {{0, U, U, U, 0, U, U, U, U}, "00000000000000.000000:000"},
        {{1, 13, 5, 2007, 1, 1, 2, 3, 4}, "00000000000000.000000:000"},
        {{1, 3, 5, 2007, 1, 1, 2, 3, 1000}, "00000000000000.000000:000"},
        {{1, 0, 0, 1900, 1, 0, 0, 0, 0}, "00000000000000.000000:000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.installDate, cimText(KRNA_StorageVolume_Provider::installDate(c.stamp)))
            << c.stamp.year << "-" << c.stamp.month << "-" << c.stamp.day;
}

TEST_F(StorageVolumeTest, StatesAndAnAdapterOfNoKnownFamily)
{
    struct Case {
        EnumLogicalDeviceState state;
        cimple::uint16 status;
    } cases[] = {
        {OKAY, 2},    {MIGRATING, 2}, {CRITICAL, 3}, {CRITICAL_MIGRATING, 3}, {FREE, 6}, {OFFLINE, 6},
        {SYSTEM, 6},  {CRITICAL_SYSTEM, 6}, {DEGRADED_FAULT_TOLERANT, 6}, {DEGRADED_FAULT_TOLERANT_MIGRATING, 6},
        {DEGRADED_FAULT_TOLERANT_SYSTEM, 6}, {static_cast<EnumLogicalDeviceState>(42), 6},
    };
    Adapter other;
    for (const Case& c : cases) {
        LogicalDrive drive(&other, nullptr, 4, c.state, RAID0, 100, 0, false, LD_CACHE_DISABLED, true, false);
        Ref<KRNA_StorageVolume> v = build(&drive);
        ASSERT_EQ(1u, v->OperationalStatus.value.size());
        EXPECT_EQ(c.status, v->OperationalStatus.value[0]) << c.state;
        // No family: no size, no creation time, and the base class's drive has no name.
        EXPECT_EQ(0u, v->NumberOfBlocks.value);
        EXPECT_EQ(0u, v->ConsumableBlocks.value);
        EXPECT_EQ(cimple::Datetime(), v->InstallDate.value);
        EXPECT_EQ("", v->ElementName.value.str());
        EXPECT_FALSE(v->IsBasedOnUnderlyingRedundancy.value);
        EXPECT_EQ(0, v->PackageRedundancy.value);
    }
    EXPECT_EQ(sizeof cases / sizeof cases[0], logMessages("[debug] Could not find the adapter type******").size());
}

TEST_F(StorageVolumeTest, AFailedHostLookupGivesTheLoopbackName)
{
    KRNAProvUtil::setHostNameLookup([](char*, size_t) { return -1; });
    Adapter other;
    LogicalDrive drive(&other, nullptr, 1, OKAY, RAID1, 100, 0, false, LD_CACHE_DISABLED, true, false);
    Ref<KRNA_StorageVolume> v = build(&drive);
    EXPECT_EQ("localhost", v->SystemName.value.str());
    EXPECT_EQ(0u, v->DeviceID.value.str().find("localhost:"));
}

// ---- the provider's operations ------------------------------------------------------------

TEST_F(StorageVolumeTest, EnumeratesQorlThenTarnellThenPelmAndGetsByKeys)
{
    KRNA_StorageVolume_Provider provider;
    ASSERT_EQ(0, provider.load());
    Collected<KRNA_StorageVolume> all;
    EXPECT_EQ(0, providertest::enumerate(provider, all));
    const std::vector<std::string> ids = providertest::deviceIDs(all.items);
    // Qorl: 4 + 1; Tarnell: 5 + 2 sub-logical and 4 + 2; Pelm: 2 + 1.
    ASSERT_EQ(21u, ids.size());
    EXPECT_EQ("node1:VSK0042:0", ids[0]);
    EXPECT_EQ("node1:5-0-1:0", ids[4]);
    EXPECT_EQ("node1:PLM0004711:0", ids[18]);
    EXPECT_EQ("node1:3-0-0:0", ids[20]);
    EXPECT_EQ(1u, logMessages("[debug] (KRNA_StorageVolume_Provider) enum_instances() No of Logical Drives = 21")
                      .size());
    EXPECT_EQ(1u, logMessages("[info]  Found 21 Logical Drive(s)").size());

    Ref<KRNA_StorageVolume> model(KRNA_StorageVolume::create(true));
    model->SystemCreationClassName.set(all.items[9]->SystemCreationClassName.value);
    model->SystemName.set("node1");
    model->CreationClassName.set("KRNA_StorageVolume");
    model->DeviceID.set(all.items[9]->DeviceID.value);
    KRNA_StorageVolume* got = nullptr;
    ASSERT_EQ(0, provider.get_instance(model.ptr(), got));
    Ref<KRNA_StorageVolume> owned(got);
    EXPECT_TRUE(cimple::identical(got, all.items[9]));
    EXPECT_EQ((std::vector<std::string>{
                  "[debug] (KRNA_StorageVolume_Provider) get_instance() No of Logical Drives = 21",
                  "[debug] (KRNA_StorageVolume_Provider) get_instance() Key matches ",
                  "[debug] Exiting - (KRNA_StorageVolume_Provider) get_instance() Instance Found",
              }),
              logMessages("get_instance() "));

    // Keys of no drive: not found, the out-parameter untouched, no match line.
    model->DeviceID.set("node1:VSK0042:99");
    KRNA_StorageVolume* untouched = all.items[0];
    EXPECT_EQ(60, provider.get_instance(model.ptr(), untouched));
    EXPECT_EQ(all.items[0], untouched);
    EXPECT_EQ(1u, logMessages("Key matches").size());
    // Every extrinsic method answers "not supported", whatever its arguments.
    cimple::CIM_ConcreteJob* job = nullptr;
    cimple::Property<cimple::uint32> result;
    EXPECT_EQ(131, provider.RequestStateChange(model.ptr(), cimple::Property<cimple::uint16>(), job,
                                               cimple::Property<cimple::Datetime>(), result));
    EXPECT_EQ(nullptr, job);
    EXPECT_TRUE(result.is_null());
    EXPECT_EQ(0, provider.unload());
}

TEST_F(StorageVolumeTest, AConfigurationWithoutLogicalDrivesGivesNoVolumes)
{
    vesksim::reset(vesksim::Scenario{});
    pelmsim::reset(pelmsim::Scenario{});
    tarnellsim::reset(tarnellsim::Scenario{});
    KRNA_StorageVolume_Provider provider;
    provider.load();
    Collected<KRNA_StorageVolume> none;
    EXPECT_EQ(0, providertest::enumerate(provider, none));
    EXPECT_TRUE(none.items.empty());
    Ref<KRNA_StorageVolume> model(KRNA_StorageVolume::create(false));
    KRNA_StorageVolume* got = nullptr;
    EXPECT_EQ(60, provider.get_instance(model.ptr(), got));
    EXPECT_EQ(nullptr, got);
    EXPECT_EQ(1u, logMessages("enum_instances() No of Logical Drives = 0").size());
    EXPECT_EQ(1u, logMessages("Found 0 Logical Drive(s)").size());
    EXPECT_EQ(1u, logMessages("get_instance() No of Logical Drives = 0").size());
    provider.unload();
}

TEST_F(StorageVolumeTest, EnumerationsOnSeveralThreadsWhileTheLastCountedProviderUnloads)
{
    KRNA_StorageVolume_Provider counted;
    ASSERT_EQ(0, counted.load());
    std::atomic<bool> stop{false};
    std::atomic<int> walks{0}, whole{0}, empty{0};
    std::vector<std::thread> walkers;
    for (int t = 0; t < 3; t++)
        walkers.emplace_back([&] {
            // Providers that load later, or never count (as the profile
            // providers may), walk the same builders' Systems.
            KRNA_StorageVolume_Provider uncounted;
            while (!stop) {
                Collected<KRNA_StorageVolume> volumes;
                providertest::enumerate(uncounted, volumes);
                (volumes.items.size() == 21 ? whole : empty)++;
                walks++;
                providertest::advanceSeconds(90); // a refresh every other walk
            }
        });
    while (walks < 6)
        std::this_thread::yield();
    EXPECT_EQ(0, counted.unload()); // deletes the builders and their libraries
    const int after = walks + 6;
    while (walks < after)
        std::this_thread::yield();
    stop = true;
    for (std::thread& t : walkers)
        t.join();
    EXPECT_EQ(nullptr, KRNAProvider::tarnellConfigBuilder);
    EXPECT_GE(whole.load(), 3);
    EXPECT_GE(empty.load(), 3);
    EXPECT_EQ(walks.load(), whole + empty);
}

} // namespace
