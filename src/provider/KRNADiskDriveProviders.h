#ifndef KRNADISKDRIVEPROVIDERS_H
#define KRNADISKDRIVEPROVIDERS_H

// Every hard drive of every family: the drive itself, its firmware as a
// software identity, its physical package, the storage extent of its media
// and its SCSI protocol endpoint, and the six associations that tie them to
// each other, to the controller's computer system and to the connectivity
// collection of the port by which the drive is reached.
//
// The drive's firmware, package, extent and endpoint are keyed by the drive
// serial (krnaDriveSerial), the drive itself by the serial and its device id.

#include "KRNAControllerEndpointProviders.h"
#include "KRNAControllerPattern.h"
#include "KRNAControllerSystemProviders.h"
#include "KRNAStoragePattern.h"
#include "KRNA_Classes.h"

namespace corvanecimple {

class KRNA_DiskDrive_Provider final
    : public KRNAInstanceProvider<KRNA_DiskDrive_Provider, cimple::KRNA_DiskDrive, HardDrive> {
public:
    static constexpr const char* WALKED_CLASS = "HardDrive";

    // DeviceID "<drive serial>:<device id>". With every property: state,
    // model, size in kilobytes of 1000 bytes, write cache, data rate,
    // predictive failure, device type, and the bytes used (the drive's
    // size less its free space, after the free list was rebuilt: this
    // writes into the drive, so the caller holds globalLock).
    static void krnaBuildInstance(cimple::KRNA_DiskDrive* instance, HardDrive* drive, bool keysOnly);

    // The UncompressedDataRate of a negotiated speed: the table's rate x 1000,
    // 0 for a speed outside the table.
    static cimple::uint32 dataRate(int speed);
    // The bytes in use of a drive whose free extents add up to freeSectors:
    // 0 when they add up to more than the drive.
    static cimple::uint64 unitsUsed(BLOCK_T size, BLOCK_T freeSectors);

    static const TraceNames& traceNames();
    static void onEnumStart(unsigned long drives);
    static void onEnumEnd(unsigned long drives);
    static void onGetStart(unsigned long drives);
    static void onGetMatch();
};

class KRNA_DiskDriveSoftwareIdentity_Provider final
    : public KRNAInstanceProvider<KRNA_DiskDriveSoftwareIdentity_Provider, cimple::KRNA_DiskDriveSoftwareIdentity,
                                  HardDrive> {
public:
    static constexpr const char* WALKED_CLASS = "HardDrive";

    // The drive's firmware level, as stored, and its vendor.
    static void krnaBuildInstance(cimple::KRNA_DiskDriveSoftwareIdentity* instance, HardDrive* drive, bool keysOnly);

    static const TraceNames& traceNames();
};

class KRNA_DiskDrivePhysicalPackage_Provider final
    : public KRNAInstanceProvider<KRNA_DiskDrivePhysicalPackage_Provider, cimple::KRNA_DiskDrivePhysicalPackage,
                                  HardDrive> {
public:
    static constexpr const char* WALKED_CLASS = "HardDrive";

    // Tag the drive serial; vendor, model and serial number trimmed (the
    // serial number keeps its inner blanks), the FRU number as stored,
    // powered on unless the slot is empty.
    static void krnaBuildInstance(cimple::KRNA_DiskDrivePhysicalPackage* instance, HardDrive* drive, bool keysOnly);

    static void onGetNotFound(unsigned long drives);
};

class KRNA_DiskDriveStorageExtent_Provider final
    : public KRNAInstanceProvider<KRNA_DiskDriveStorageExtent_Provider, cimple::KRNA_DiskDriveStorageExtent,
                                  HardDrive> {
public:
    static constexpr const char* WALKED_CLASS = "HardDrive";

    // The whole media in 512-byte blocks, primordial, named by the drive's
    // world wide name.
    static void krnaBuildInstance(cimple::KRNA_DiskDriveStorageExtent* instance, HardDrive* drive, bool keysOnly);

    static void onEnumStart(unsigned long drives);
    static void onGetStart(unsigned long drives);
    static void onGetMatch();
};

class KRNA_DiskDriveSCSIProtocolEndpoint_Provider final
    : public KRNAInstanceProvider<KRNA_DiskDriveSCSIProtocolEndpoint_Provider,
                                  cimple::KRNA_DiskDriveSCSIProtocolEndpoint, HardDrive> {
public:
    static constexpr const char* WALKED_CLASS = "HardDrive";

    // Name "<drive serial>:<channel id>", the transport by the channel's
    // type. A drive without a channel takes the channel id of its own
    // address and the transport "Other".
    static void krnaBuildInstance(cimple::KRNA_DiskDriveSCSIProtocolEndpoint* instance, HardDrive* drive,
                                  bool keysOnly);

    static const TraceNames& traceNames();
};

// ---- the associations ---------------------------------------------------------------------

// The controller's computer system (GroupComponent) and each drive below its
// adapter (PartComponent).
class KRNA_DiskDriveSystemDevice_Provider final
    : public KRNAAssociationProvider<KRNA_DiskDriveSystemDevice_Provider, cimple::KRNA_DiskDriveSystemDevice> {
public:
    static void krnaBuildMap(cimple::Instance_Map<Class>& map);
    static const TraceNames& traceNames();
};

class KRNA_DiskDriveElementSoftwareIdentity_Provider final
    : public KRNAObjectLinkProvider<KRNA_DiskDriveElementSoftwareIdentity_Provider,
                                    cimple::KRNA_DiskDriveElementSoftwareIdentity, HardDrive,
                                    KRNA_DiskDriveSoftwareIdentity_Provider,
                                    &cimple::KRNA_DiskDriveElementSoftwareIdentity::Antecedent,
                                    KRNA_DiskDrive_Provider,
                                    &cimple::KRNA_DiskDriveElementSoftwareIdentity::Dependent> {
public:
    static constexpr const char* WALKED_CLASS = "HardDrive";
    static const TraceNames& traceNames();
    static void onBuildMapEnd();
};

class KRNA_DiskDriveMediaPresent_Provider final
    : public KRNAObjectLinkProvider<KRNA_DiskDriveMediaPresent_Provider, cimple::KRNA_DiskDriveMediaPresent,
                                    HardDrive, KRNA_DiskDrive_Provider,
                                    &cimple::KRNA_DiskDriveMediaPresent::Antecedent,
                                    KRNA_DiskDriveStorageExtent_Provider,
                                    &cimple::KRNA_DiskDriveMediaPresent::Dependent> {
public:
    static constexpr const char* WALKED_CLASS = "HardDrive";
    static const TraceNames& traceNames();
    static void onBuildMapEnd();
};

// Marks its operations by debug lines, not by scope traces.
class KRNA_DiskDriveRealizesPhysicalPackage_Provider final
    : public KRNAObjectLinkProvider<KRNA_DiskDriveRealizesPhysicalPackage_Provider,
                                    cimple::KRNA_DiskDriveRealizesPhysicalPackage, HardDrive,
                                    KRNA_DiskDrivePhysicalPackage_Provider,
                                    &cimple::KRNA_DiskDriveRealizesPhysicalPackage::Antecedent,
                                    KRNA_DiskDrive_Provider,
                                    &cimple::KRNA_DiskDriveRealizesPhysicalPackage::Dependent> {
public:
    static constexpr const char* WALKED_CLASS = "HardDrive";
    typedef KRNADebugLine Scope;
    static const TraceNames& traceNames();
    static void onBuildMapEnd();
};

class KRNA_DiskDriveDeviceSAPImplementation_Provider final
    : public KRNAObjectLinkProvider<KRNA_DiskDriveDeviceSAPImplementation_Provider,
                                    cimple::KRNA_DiskDriveDeviceSAPImplementation, HardDrive,
                                    KRNA_DiskDrive_Provider,
                                    &cimple::KRNA_DiskDriveDeviceSAPImplementation::Antecedent,
                                    KRNA_DiskDriveSCSIProtocolEndpoint_Provider,
                                    &cimple::KRNA_DiskDriveDeviceSAPImplementation::Dependent> {
public:
    static constexpr const char* WALKED_CLASS = "HardDrive";
    static const TraceNames& traceNames();
};

// The connectivity collection of the port (Collection) and the endpoint of
// each drive reached by it (Member): a drive that is a port of its own (on a
// SATA channel) in its own collection, the drives of a channel port in the
// channel's.
class KRNA_DiskDriveMemberOfCollection_Provider final
    : public KRNAPortAssociationProvider<KRNA_DiskDriveMemberOfCollection_Provider,
                                         cimple::KRNA_DiskDriveMemberOfCollection> {
public:
    static void krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter* adapter, RaidObject* port);
};

} // namespace corvanecimple

#endif
