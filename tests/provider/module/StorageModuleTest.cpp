// The disk drives, storage pools, volume settings and concrete extents
// through the module as a CIM server loads it: every class over the default
// scenarios of the three simulated families, through the test broker and
// through cim_enum.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleTestSupport.h"

using namespace cimbroker;
using moduletest::hostName;
using moduletest::text;

namespace {

// The classes with what the default scenarios give: 64 drives, 6
// controllers, 21 logical drives with 59 chunks. Concrete pools whose keys
// repeat (the Tarnell spanned arrays share their ids with basic ones) count
// once in an association, and so do chunk extents of one drive and the
// protocol controllers of one volume.
using moduletest::ClassCount;
const ClassCount DEFAULT_COUNTS[] = {
    {"KRNA_DiskDrive", 64, false},
    {"KRNA_DiskDriveSoftwareIdentity", 64, false},
    {"KRNA_DiskDrivePhysicalPackage", 64, false},
    {"KRNA_DiskDriveStorageExtent", 64, false},
    {"KRNA_DiskDriveSCSIProtocolEndpoint", 64, false},
    {"KRNA_DiskDriveSystemDevice", 64, true},
    {"KRNA_DiskDriveElementSoftwareIdentity", 64, true},
    {"KRNA_DiskDriveMediaPresent", 64, true},
    {"KRNA_DiskDriveRealizesPhysicalPackage", 64, true},
    {"KRNA_DiskDriveDeviceSAPImplementation", 64, true},
    {"KRNA_DiskDriveMemberOfCollection", 64, true},
    {"KRNA_PrimordialStoragePool", 6, false},
    {"KRNA_ConcreteStoragePool", 20, false},
    {"KRNA_HostedPrimordialStoragePool", 6, true},
    {"KRNA_HostedConcreteStoragePool", 18, true},
    {"KRNA_PoolAllocatedFromStoragePool", 18, true},
    {"KRNA_VolumeAllocatedFromStoragePool", 21, true},
    {"KRNA_PrimordialStoragePoolConcreteComponent", 64, true},
    {"KRNA_VolumeStorageSetting", 21, false},
    {"KRNA_VolumeElementSettingData", 21, true},
    {"KRNA_VolumeSystemDevice", 21, true},
    {"KRNA_ConcreteStorageExtent", 59, false},
    {"KRNA_ConcreteExtentBasedOnPrimordialExtent", 49, true},
    {"KRNA_StorageVolumeBasedOnStorageExtent", 59, true},
    {"KRNA_ControllerProtocolControllerForUnit", 28, true},
};

class StorageModule : public moduletest::ModuleTest {};

TEST_F(StorageModule, EveryClassListsTheDefaultScenariosAndGetsWhatItLists)
{
    for (const ClassCount& c : DEFAULT_COUNTS) {
        SCOPED_TRACE(c.cls);
        const std::vector<Inst> all = enumerate(c.cls);
        ASSERT_EQ(c.count, all.size());
        Inst got;
        ASSERT_TRUE(broker->getInstance(all.back().path, got).ok());
        if (!c.association)
            continue;
        // Each end is an instance its own class's provider finds.
        for (const Inst& link : {all.front(), all.back()})
            for (const auto& property : link.props) {
                if (!property.second.ref)
                    continue;
                Inst end;
                EXPECT_TRUE(broker->getInstance(*property.second.ref, end).ok()) << property.second.ref->text();
            }
    }
}

TEST_F(StorageModule, ADiskDriveAsACimServerSeesIt)
{
    const std::vector<Inst> drives = enumerate("KRNA_DiskDrive");
    ASSERT_FALSE(drives.empty());
    const Inst& d = drives[0];
    EXPECT_EQ("\"3HZ1A001:0\"", text(d, "DeviceID"));
    EXPECT_EQ("\"" + hostName() + "\"", text(d, "SystemName"));
    EXPECT_EQ("\"KRNA_DiskDrive\"", text(d, "CreationClassName"));
    EXPECT_EQ("{\"DRIVE ONLINE\"}", text(d, "StatusDescriptions"));
    EXPECT_EQ("{2}", text(d, "OperationalStatus"));
    EXPECT_EQ("320000", text(d, "UncompressedDataRate"));
    EXPECT_EQ("\"HARD DRIVE\"", text(d, "ElementName"));
    EXPECT_EQ("\"Write through\"", text(d, "writeCache"));
    EXPECT_EQ("false", text(d, "pfaError"));
    EXPECT_EQ("0", text(d, "PowerOnHours")); // not set: present and zero
}

// cim_enum prints what the broker lists; one class of each kind here (each
// run loads the module anew).
TEST_F(StorageModule, CimEnumListsTheClasses)
{
    for (size_t i : {0, 10, 12, 19, 21, 24}) {
        const ClassCount& c = DEFAULT_COUNTS[i];
        SCOPED_TRACE(c.cls);
        EXPECT_EQ(static_cast<long>(c.count), moduletest::cimEnumCount(c.cls));
    }
}

} // namespace
