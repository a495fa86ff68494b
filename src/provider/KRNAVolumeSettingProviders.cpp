// The volume storage setting provider and its two associations.
#include "KRNAVolumeSettingProviders.h"

#include <cstdio>
#include <string>

#include "RaidLevel.h"

namespace corvanecimple {

const char* KRNA_VolumeStorageSetting_Provider::cacheModeText(int mode)
{
    switch (mode) {
    case LD_CACHE_NOT_SUPPORTED:
        return "Not supported";
    case LD_CACHE_DISABLED:
        return "Disabled";
    case LD_CACHE_ENABLED:
        return "Enabled";
    case LD_CACHE_ENABLED_WHEN_PROTECTED:
        return "Enabled with battery backup";
    default:
        return "Unknown";
    }
}

void KRNA_VolumeStorageSetting_Provider::krnaBuildInstance(cimple::KRNA_VolumeStorageSetting* instance,
                                                           LogicalDrive* drive, bool)
{
    KRNADebugTrace trace("KRNA_VolumeStorageSetting_Provider::krnaBuildInstance()");
    char uniqueID[KRNAProvUtil::UNIQUE_ID_SIZE] = "";
    KRNAProvUtil::getAdapterUniqueID(drive->getAdapter(), uniqueID);
    char number[16];
    snprintf(number, sizeof number, "%i", static_cast<int>(drive->getLogicalDriveID()));
    instance->InstanceID.set(cimple::String(std::string(uniqueID) + ":" + number));

    const RaidLevel level(drive->getRaidLevel());
    const cimple::uint16 data = static_cast<cimple::uint16>(level.getDataRedundancy());
    const cimple::uint16 package = static_cast<cimple::uint16>(level.getPackageRedundancy());
    const cimple::uint8 delta = static_cast<cimple::uint8>(level.getDeltaReservation());
    instance->DataRedundancyMax.set(data);
    instance->DataRedundancyMin.set(data);
    instance->DataRedundancyGoal.set(data);
    instance->PackageRedundancyMax.set(package);
    instance->PackageRedundancyMin.set(package);
    instance->PackageRedundancyGoal.set(package);
    instance->DeltaReservationMax.set(delta);
    instance->DeltaReservationMin.set(delta);
    instance->DeltaReservationGoal.set(delta);
    instance->NoSinglePointOfFailure.set(level.isNoSinglePointOfFailure());
    instance->ElementName.set(RaidLevel::getElementName(drive->getRaidLevel()));
    instance->writeCacheMode.set(cacheModeText(drive->getWriteCacheMode()));
    instance->readCacheMode.set(cacheModeText(drive->getReadCacheMode()));
}

CIMPLE_INSTANCE_PROVIDER(KRNA_VolumeStorageSetting_Provider);

CIMPLE_ASSOCIATION_PROVIDER(KRNA_VolumeElementSettingData_Provider);

void KRNA_VolumeSystemDevice_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map)
{
    KRNADebugTrace trace(traceNames().buildMap.c_str());
    krnaWalk("LogicalDrive", [&](const std::vector<RaidObject*>& drives) {
        for (RaidObject* o : drives) {
            LogicalDrive* drive = dynamic_cast<LogicalDrive*>(o);
            if (drive && drive->getAdapter())
                krnaLink(map, &Class::GroupComponent,
                         krnaEnd<KRNA_ControllerComputerSystem_Provider>(drive->getAdapter()), &Class::PartComponent,
                         krnaEnd<KRNA_StorageVolume_Provider>(drive));
        }
    });
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_VolumeSystemDevice_Provider);

} // namespace corvanecimple
