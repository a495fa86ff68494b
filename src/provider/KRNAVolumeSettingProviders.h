#ifndef KRNAVOLUMESETTINGPROVIDERS_H
#define KRNAVOLUMESETTINGPROVIDERS_H

// The setting every volume was made with (the redundancy of its RAID level
// and its cache modes), and the associations of each volume with its
// setting and with its controller's computer system.

#include "KRNAControllerSystemProviders.h"
#include "KRNAStoragePattern.h"
#include "KRNA_Classes.h"
#include "KRNA_StorageVolume_Provider.h"
#include "RaidModel/Interface/LogicalDrive.h"

namespace corvanecimple {

class KRNA_VolumeStorageSetting_Provider final
    : public KRNAInstanceProvider<KRNA_VolumeStorageSetting_Provider, cimple::KRNA_VolumeStorageSetting,
                                  LogicalDrive> {
public:
    static constexpr const char* WALKED_CLASS = "LogicalDrive";

    // InstanceID "<adapter unique id>:<logical drive id>" (no host name);
    // Max, Min and Goal alike from the RAID level. keysOnly is not honoured.
    static void krnaBuildInstance(cimple::KRNA_VolumeStorageSetting* instance, LogicalDrive* drive, bool keysOnly);

    // The text of a logical drive's cache mode.
    static const char* cacheModeText(int mode);
};

// The volume (ManagedElement) and its setting (SettingData).
class KRNA_VolumeElementSettingData_Provider final
    : public KRNAObjectLinkProvider<KRNA_VolumeElementSettingData_Provider, cimple::KRNA_VolumeElementSettingData,
                                    LogicalDrive, KRNA_StorageVolume_Provider,
                                    &cimple::KRNA_VolumeElementSettingData::ManagedElement,
                                    KRNA_VolumeStorageSetting_Provider,
                                    &cimple::KRNA_VolumeElementSettingData::SettingData> {
public:
    static constexpr const char* WALKED_CLASS = "LogicalDrive";
};

// The computer system of the drive's adapter (GroupComponent) and the volume
// (PartComponent).
class KRNA_VolumeSystemDevice_Provider final
    : public KRNAAssociationProvider<KRNA_VolumeSystemDevice_Provider, cimple::KRNA_VolumeSystemDevice> {
public:
    static void krnaBuildMap(cimple::Instance_Map<Class>& map);
};

} // namespace corvanecimple

#endif
