// The instance and association provider pattern: every provider registered
// in the module answers the fixed codes, and the pattern's templates serve
// providers of the tests' own classes over the live configuration.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>

#include "KRNAControllerFRUProviders.h"
#include "KRNAProviderPattern.h"
#include "IndicationSeams.h"
#include "PatternClasses.h"
#include "ProviderTestSupport.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/LogicalDrive.h"

using namespace cimple;
using corvanecimple::KRNAProvider;
using corvanecimple::KRNAProvUtil;

namespace corvanecimple {

namespace {

String uniqueID(Adapter* adapter)
{
    char id[KRNAProvUtil::UNIQUE_ID_SIZE] = "";
    KRNAProvUtil::getAdapterUniqueID(adapter, id);
    return id;
}

PATTERN_Port* newPort(Adapter* adapter, uint16 index, bool keysOnly)
{
    PATTERN_Port* port = PATTERN_Port::create(false);
    port->DeviceID.set(uniqueID(adapter) + ":" + String(std::to_string(index)));
    if (!keysOnly) {
        port->Index.set(index);
        port->Model.set("full");
    }
    return port;
}

String volumeID(LogicalDrive* drive)
{
    return uniqueID(drive->getAdapter()) + ":" + String(std::to_string(drive->getLogicalDriveID()));
}

PATTERN_Volume* newVolume(LogicalDrive* drive)
{
    PATTERN_Volume* volume = PATTERN_Volume::create(false);
    volume->DeviceID.set(volumeID(drive));
    return volume;
}

} // namespace

// Two ports of every controller but the Pelm ones: a loop and a class test.
class PATTERN_Port_Provider final : public KRNAInstanceProvider<PATTERN_Port_Provider, PATTERN_Port, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    template <class Emit>
    static void krnaEachInstance(Adapter* adapter, bool keysOnly, Emit emit)
    {
        if (adapter->isInstanceOf("PelmAdapter"))
            return;
        for (uint16 i = 0; i < 2; i++)
            if (!emit(newPort(adapter, i, keysOnly)))
                return;
    }
};

// One volume per logical drive; counted by nobody and without a timer.
class PATTERN_Volume_Provider final
    : public KRNAInstanceProvider<PATTERN_Volume_Provider, PATTERN_Volume, LogicalDrive> {
public:
    static constexpr const char* WALKED_CLASS = "LogicalDrive";
    static const bool REGISTERS_WITH_BASE = false;
    int timer(uint64&) = delete;

    static void krnaBuildInstance(PATTERN_Volume* volume, LogicalDrive* drive, bool)
    {
        volume->DeviceID.set(volumeID(drive));
    }
};

// Port 0 of a drive's controller with the drive's volume, each offered twice.
class PATTERN_PortVolume_Provider final
    : public KRNAAssociationProvider<PATTERN_PortVolume_Provider, PATTERN_PortVolume> {
public:
    static void krnaBuildMap(Instance_Map<PATTERN_PortVolume>& map)
    {
        krnaWalk("LogicalDrive", [&](const std::vector<RaidObject*>& drives) {
            for (RaidObject* o : drives) {
                LogicalDrive* drive = static_cast<LogicalDrive*>(o);
                for (int twice = 0; twice < 2; twice++)
                    krnaLink(map, &PATTERN_PortVolume::Antecedent, newPort(drive->getAdapter(), 0, false),
                             &PATTERN_PortVolume::Dependent, newVolume(drive));
            }
        });
    }
};

} // namespace corvanecimple

namespace {

using corvanecimple::KRNA_ControllerElementFRU_Provider;
using corvanecimple::KRNA_ControllerReplacementFRU_Provider;
using corvanecimple::PATTERN_Port_Provider;
using corvanecimple::PATTERN_PortVolume_Provider;
using corvanecimple::PATTERN_Volume_Provider;
using providertest::Collected;
using providertest::enumerate;

class ProviderPatternTest : public providertest::ProviderTest {};

// ---- every registered provider -----------------------------------------------------------

struct Dispatch {
    const Registration* r;
    int operator()(int op, void* a0 = nullptr, void* a1 = nullptr, void* a2 = nullptr, void* a3 = nullptr,
                   void* a4 = nullptr, void* a5 = nullptr) const
    {
        return r->proc(r, op, a0, a1, a2, a3, a4, a5, nullptr, nullptr);
    }
};

bool dropInstance(Instance* instance, void*)
{
    destroy(instance);
    return true;
}

TEST_F(ProviderPatternTest, EveryRegisteredProviderAnswersTheFixedCodes)
{
    // Grows with the providers of the module.
    const std::set<std::string> expected = {
        "KRNA_StorageVolume_Provider",
        // the alert indications (no instance operations)
        "KRNA_RaidMonitorAlertIndication_Provider",
        // the controllers
        "KRNA_ControllerComputerSystem_Provider", "KRNA_ControllerCard_Provider", "KRNA_ControllerProduct_Provider",
        "KRNA_ControllerBIOSSoftwareIdentity_Provider", "KRNA_ControllerDriverSoftwareIdentity_Provider",
        "KRNA_ControllerFirmwareSoftwareIdentity_Provider", "KRNA_ControllerElementBIOSIdentity_Provider",
        "KRNA_ControllerElementDriverIdentity_Provider", "KRNA_ControllerElementFirmwareIdentity_Provider",
        "KRNA_ControllerCacheMemory_Provider", "KRNA_ControllerCacheBattery_Provider",
        "KRNA_ControllerAssociatedCacheMemory_Provider", "KRNA_ControllerBatterySystemDevice_Provider",
        "KRNA_ControllerBatteryConcreteDependency_Provider", "KRNA_ControllerPortController_Provider",
        "KRNA_ControllerLogicalPort_Provider", "KRNA_PortControllerLogicalIdentity_Provider",
        "KRNA_LogicalPortControlledByPortController_Provider", "KRNA_ControllerSCSIProtocolEndpoint_Provider",
        "KRNA_ControllerSCSIProtocolController_Provider", "KRNA_ControllerConnectivityCollection_Provider",
        "KRNA_ControllerMemberOfCollection_Provider", "KRNA_ControllerDeviceSAPImplementation_Provider",
        "KRNA_ControllerHostedAccessPoint_Provider", "KRNA_ControllerSAPAvailableForElement_Provider",
        "KRNA_ControllerRealizesCard_Provider", "KRNA_ControllerReplacementFRU_Provider",
        "KRNA_ControllerElementFRU_Provider",
        // the enclosures
        "KRNA_EnclosureComputerSystem_Provider",
        "KRNA_EnclosureFan_Provider",
        "KRNA_EnclosureFanRedundancySet_Provider",
        "KRNA_EnclosureFanSystemDevice_Provider",
        "KRNA_EnclosureFanConcreteDependency_Provider",
        "KRNA_EnclosureFanMemberOfCollection_Provider",
        "KRNA_EnclosurePowerSupply_Provider",
        "KRNA_EnclosurePowerSupplyRedundancySet_Provider",
        "KRNA_EnclosurePowerSupplyAssociatedFan_Provider",
        "KRNA_EnclosurePowerSupplySystemDevice_Provider",
        "KRNA_EnclosurePowerSupplyMemberOfCollection_Provider",
        "KRNA_EnclosureTempSensor_Provider",
        "KRNA_EnclosureTempSensorSystemDevice_Provider",
        // the disk drives, pools, volume settings and concrete extents
        "KRNA_DiskDrive_Provider", "KRNA_DiskDriveSoftwareIdentity_Provider",
        "KRNA_DiskDrivePhysicalPackage_Provider", "KRNA_DiskDriveStorageExtent_Provider",
        "KRNA_DiskDriveSCSIProtocolEndpoint_Provider", "KRNA_DiskDriveSystemDevice_Provider",
        "KRNA_DiskDriveElementSoftwareIdentity_Provider", "KRNA_DiskDriveMediaPresent_Provider",
        "KRNA_DiskDriveRealizesPhysicalPackage_Provider", "KRNA_DiskDriveDeviceSAPImplementation_Provider",
        "KRNA_DiskDriveMemberOfCollection_Provider", "KRNA_PrimordialStoragePool_Provider",
        "KRNA_ConcreteStoragePool_Provider", "KRNA_HostedPrimordialStoragePool_Provider",
        "KRNA_HostedConcreteStoragePool_Provider", "KRNA_PoolAllocatedFromStoragePool_Provider",
        "KRNA_VolumeAllocatedFromStoragePool_Provider", "KRNA_PrimordialStoragePoolConcreteComponent_Provider",
        "KRNA_VolumeStorageSetting_Provider", "KRNA_VolumeElementSettingData_Provider",
        "KRNA_VolumeSystemDevice_Provider", "KRNA_ConcreteStorageExtent_Provider",
        "KRNA_ConcreteExtentBasedOnPrimordialExtent_Provider", "KRNA_StorageVolumeBasedOnStorageExtent_Provider",
        "KRNA_ControllerProtocolControllerForUnit_Provider",
        // the registered profiles
        "KRNA_ProfileHHRRegisteredProfile_Provider", "KRNA_ProfileHHRCRegisteredProfile_Provider",
        "KRNA_ProfileCDMv2RegisteredProfile_Provider", "KRNA_ProfileDiskDriveLiteRegisteredProfile_Provider",
        "KRNA_ProfileIndicationRegisteredProfile_Provider", "KRNA_ProfilePhysicalAssetRegisteredProfile_Provider",
        "KRNA_ProfileSoftwareInventoryRegisteredProfile_Provider",
        "KRNA_ProfileHHRRegisteredProfileElementConformsToProfileHostComputerSystem_Provider",
        "KRNA_ProfileHHRCRegisteredProfileElementConformsToProfileControllerPortController_Provider",
        "KRNA_ProfileHostComputerSystemSystemDevicePortController_Provider",
        "KRNA_ProfileHHRReferencedHHRCProfile_Provider", "KRNA_ProfileHHRReferencedCDMv2Profile_Provider",
        "KRNA_ProfileHHRReferencedDiskDriveLiteProfile_Provider", "KRNA_ProfileHHRReferencedIndicationProfile_Provider",
        "KRNA_ProfileHHRReferencedPhysicalAssetProfile_Provider",
        "KRNA_ProfileHHRReferencedSoftwareInventoryProfile_Provider",
        // the diagnostics
        "KRNA_Device_Provider", "KRNA_DiagService_Provider", "KRNA_DiagLog_Provider", "KRNA_DiagSetting_Provider",
        "KRNA_DiagServiceCapabilities_Provider", "KRNA_AvailableDiagService_Provider", "KRNA_DiagLogForMSE_Provider",
        "KRNA_DiagLogForService_Provider", "KRNA_ElementCapabilities_Provider", "KRNA_DiagConcreteJob_Provider",
        "KRNA_DiagSettingRecord_Provider", "KRNA_DiagServiceRecord_Provider", "KRNA_OwningJobElement_Provider",
        "KRNA_AffectedJobElement_Provider", "KRNA_LogManagesRecord_Provider",
    };
    // The extrinsic methods of the classes that are no logical devices
    // (those declare eight, a fan nine); none for a class not listed.
    const std::map<std::string, int> otherMethods = {
        {"KRNA_ControllerComputerSystem", 2},          // RequestStateChange, SetPowerState
        {"KRNA_ControllerCard", 2},                    // IsCompatible, ConnectorPower
        {"KRNA_ControllerSCSIProtocolEndpoint", 1},    // RequestStateChange
        {"KRNA_EnclosureComputerSystem", 2},           // RequestStateChange, SetPowerState
        {"KRNA_EnclosureFanRedundancySet", 1},         // Failover
        {"KRNA_EnclosurePowerSupplyRedundancySet", 1}, // Failover
        {"KRNA_DiskDriveSCSIProtocolEndpoint", 1},     // RequestStateChange
        {"KRNA_DiskDrivePhysicalPackage", 1},          // IsCompatible
        {"KRNA_PrimordialStoragePool", 2},             // GetSupportedSizes, GetSupportedSizeRange
        {"KRNA_ConcreteStoragePool", 2},
        {"KRNA_DiagService", 8},                       // RequestStateChange ... RunKRNADiagnostic
        {"KRNA_DiagLog", 2},                           // RequestStateChange, ClearLog
        {"KRNA_DiagConcreteJob", 2},                   // KillJob, RequestStateChange
        {"KRNA_DiagSetting", 8},                       // the apply and verify methods
    };
    // Methods the module carries out: refused here, without their arguments.
    const std::map<std::string, int> methodAnswers = {{"RunKRNADiagnostic", 130}};
    // The providers whose get answers "not supported".
    const std::set<std::string> getUnsupported = {"KRNA_EnclosurePowerSupplyMemberOfCollection_Provider",
                                                  "KRNA_DiagServiceCapabilities_Provider",
                                                  "KRNA_ElementCapabilities_Provider"};
    std::set<std::string> registered;
    for (const Registration* r = cimple_module_record.registrations; r; r = r->next) {
        SCOPED_TRACE(r->provider_name);
        registered.insert(r->provider_name);
        Dispatch call{r};
        const Meta_Class* mc = nullptr;
        ASSERT_EQ(0, call(OPERATION_GET_META_CLASS, &mc));
        void* provider = nullptr;
        ASSERT_EQ(0, call(OPERATION_CREATE_PROVIDER, &provider));
        // The indication provider's monitors keep their files in the test's
        // directory, and its waits are short.
        std::unique_ptr<providertest::IndicationSeams> seams;
        if (r->kind == Registration::INDICATION)
            seams.reset(new providertest::IndicationSeams);
        EXPECT_EQ(0, call(OPERATION_LOAD, provider));
        if (r->kind == Registration::INDICATION) {
            EXPECT_EQ(0, call(OPERATION_DISABLE_INDICATIONS, provider));
            EXPECT_EQ(0, call(OPERATION_UNLOAD, provider));
            EXPECT_EQ(0, call(OPERATION_DESTROY_PROVIDER, provider));
            continue;
        }

        Ref<Instance> instance(create(mc, false));
        EXPECT_EQ(81, call(OPERATION_CREATE_INSTANCE, provider, instance.ptr()));
        EXPECT_EQ(91, call(OPERATION_DELETE_INSTANCE, provider, instance.ptr()));
        EXPECT_EQ(101, call(OPERATION_MODIFY_INSTANCE, provider, instance.ptr(), instance.ptr()));
        int methods = 0;
        for (size_t i = 0; i < mc->num_features; i++) {
            const Meta_Feature* f = mc->features[i];
            if (!(f->flags & CIMPLE_FLAG_METHOD))
                continue;
            methods++;
            Ref<Instance> parameters(create(f->meta_class, false));
            const auto answer = methodAnswers.find(f->name);
            EXPECT_EQ(answer == methodAnswers.end() ? 131 : answer->second,
                      call(OPERATION_INVOKE_METHOD, provider, instance.ptr(), parameters.ptr()))
                << f->name;
        }
        if (is_a(mc, "CIM_LogicalDevice")) {
            // A fan's speed can be set, a disk drive's media locked, a PCI
            // device run its self test.
            EXPECT_EQ(is_a(mc, "CIM_Fan") || is_a(mc, "CIM_MediaAccessDevice") || is_a(mc, "CIM_PCIController") ? 9 : 8,
                      methods);
        } else {
            const auto other = otherMethods.find(mc->name);
            EXPECT_EQ(other == otherMethods.end() ? 0 : other->second, methods);
        }

        // Keys that name nothing (every text key "nothing", every other 0).
        for (size_t i = 0; i < mc->num_features; i++) {
            const Meta_Feature* f = mc->features[i];
            if ((f->flags & CIMPLE_FLAG_KEY) && (f->flags & CIMPLE_FLAG_PROPERTY) && f->type == STRING && !f->array)
                static_cast<Property<String>*>(f->field(instance.ptr()))->set("nothing");
        }
        Instance* found = instance.ptr();
        EXPECT_EQ(getUnsupported.count(r->provider_name) ? 61 : 60,
                  call(OPERATION_GET_INSTANCE, provider, instance.ptr(), &found));
        EXPECT_EQ(nullptr, found);

        if (r->kind == Registration::ASSOCIATION) {
            const String none;
            Handler_Init init = {dropInstance, nullptr, nullptr};
            EXPECT_EQ(111, call(OPERATION_ENUM_ASSOCIATOR_NAMES, provider, instance.ptr(), (void*)&none,
                                (void*)&none, (void*)&none, &init));
            EXPECT_EQ(121, call(OPERATION_ENUM_REFERENCES, provider, instance.ptr(), instance.ptr(), (void*)&none,
                                &init));
            EXPECT_EQ(171, call(OPERATION_ENUM_ASSOCIATORS, provider, instance.ptr(), (void*)&none, (void*)&none,
                                (void*)&none, &init));
        }
        EXPECT_EQ(0, call(OPERATION_UNLOAD, provider));
        EXPECT_EQ(0, call(OPERATION_DESTROY_PROVIDER, provider));
    }
    EXPECT_EQ(expected, registered);
    EXPECT_EQ(0, KRNAProvider::providerCount);
}

// ---- the templates over the tests' own providers ----------------------------------------

TEST_F(ProviderPatternTest, InstanceProvidersEnumerateFamilyByFamily)
{
    PATTERN_Port_Provider ports;
    ASSERT_EQ(0, ports.load());
    Collected<PATTERN_Port> all;
    EXPECT_EQ(0, enumerate(ports, all));
    // Qorl first, then Tarnell; the Pelm controllers have none.
    const std::vector<std::string> ids = providertest::deviceIDs(all.items);
    ASSERT_EQ(8u, ids.size());
    EXPECT_EQ("VSK0042:0", ids[0]);
    EXPECT_EQ("VSK0042:1", ids[1]);
    EXPECT_EQ("5-0-1:0", ids[2]);
    for (const PATTERN_Port* p : all.items)
        EXPECT_EQ("full", p->Model.value);

    // A get finds the second instance of an object, built in full.
    Ref<PATTERN_Port> model(PATTERN_Port::create(true));
    model->DeviceID.set(all.items[5]->DeviceID.value);
    PATTERN_Port* got = nullptr;
    ASSERT_EQ(0, ports.get_instance(model.ptr(), got));
    Ref<PATTERN_Port> owned(got);
    EXPECT_TRUE(identical(got, all.items[5]));

    PATTERN_Port* untouched = all.items[0];
    model->DeviceID.set("nothing:0");
    EXPECT_EQ(60, ports.get_instance(model.ptr(), untouched));
    EXPECT_EQ(all.items[0], untouched);
    EXPECT_EQ(50, [&] {
        uint64 timeout = 0;
        return ports.timer(timeout);
    }());
    EXPECT_EQ(0, ports.unload());
}

template <class P>
auto hasTimer(int) -> decltype(std::declval<P&>().timer(std::declval<uint64&>()), std::true_type());
template <class P>
std::false_type hasTimer(...);

TEST_F(ProviderPatternTest, DeviationsLoadWithoutCountingAndHaveNoTimer)
{
    static_assert(decltype(hasTimer<PATTERN_Port_Provider>(0))::value, "the pattern has a timer");
    static_assert(!decltype(hasTimer<PATTERN_Volume_Provider>(0))::value, "a deviation drops it");
    static_assert(!decltype(hasTimer<KRNA_ControllerReplacementFRU_Provider>(0))::value &&
                      !decltype(hasTimer<KRNA_ControllerElementFRU_Provider>(0))::value,
                  "the replacement FRU providers have none");
    PATTERN_Volume_Provider quiet;
    EXPECT_EQ(0, quiet.load());
    EXPECT_EQ(0, KRNAProvider::providerCount);
    // Without a counted provider there are no builders, and so no volumes.
    Collected<PATTERN_Volume> none;
    EXPECT_EQ(0, enumerate(quiet, none));
    EXPECT_TRUE(none.items.empty());
    EXPECT_EQ(1u, providertest::logMessages("ENTERING PATTERN_Volume_Provider::load()").size());
    EXPECT_EQ(0, quiet.unload());
    EXPECT_EQ(0, KRNAProvider::providerCount);
}

TEST_F(ProviderPatternTest, AssociationProvidersAnswerFromTheirMap)
{
    PATTERN_PortVolume_Provider links;
    PATTERN_Volume_Provider volumes;
    ASSERT_EQ(0, links.load());
    Collected<PATTERN_PortVolume> all;
    EXPECT_EQ(0, enumerate(links, all));
    Collected<PATTERN_Volume> allVolumes;
    enumerate(volumes, allVolumes);
    // Each pair was offered twice; the map kept one (and released the other
    // with its ends).
    ASSERT_FALSE(all.items.empty());
    EXPECT_EQ(allVolumes.items.size(), all.items.size());
    EXPECT_EQ("VSK0042:0", all.items[0]->Antecedent->DeviceID.value.str());
    EXPECT_EQ("VSK0042:0", all.items[0]->Dependent->DeviceID.value.str());

    Ref<PATTERN_PortVolume> model(all.items[1]->clone());
    PATTERN_PortVolume* got = nullptr;
    ASSERT_EQ(0, links.get_instance(model.ptr(), got));
    Ref<PATTERN_PortVolume> owned(got);
    EXPECT_TRUE(key_eq(got, all.items[1]));

    // Both ends exist, but they are not linked: port 1 links nothing.
    model->Antecedent->DeviceID.set("VSK0042:1");
    PATTERN_PortVolume* untouched = all.items[0];
    EXPECT_EQ(60, links.get_instance(model.ptr(), untouched));
    EXPECT_EQ(all.items[0], untouched);

    const String none;
    EXPECT_EQ(111, links.enum_associator_names(model.ptr(), none, none, none, nullptr));
    EXPECT_EQ(121, links.enum_references(model.ptr(), model.ptr(), none, nullptr));
    EXPECT_EQ(171, links.enum_associators(model.ptr(), none, none, none, nullptr));
    EXPECT_EQ(131, links.Reset(model.ptr(), 7));
    EXPECT_EQ(0, links.unload());
}

} // namespace
