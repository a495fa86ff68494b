// The disk drive providers: every hard drive as a KRNA_DiskDrive with its
// software identity, physical package, storage extent and SCSI protocol
// endpoint, and their six associations.
#include "KRNADiskDriveProviders.h"

#include <cstdio>
#include <string>

#include "KRNAControllerUtil.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Chunk.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

std::string decimal(long value)
{
    char text[24];
    snprintf(text, sizeof text, "%i", static_cast<int>(value));
    return text;
}

cimple::String hostName()
{
    char host[KRNAProvUtil::HOST_NAME_SIZE];
    KRNAProvUtil::getSystemName(host, sizeof host);
    return cimple::String(host);
}

const char* driveStateText(int state)
{
    switch (state) {
    case DRIVE_READY:
        return "DRIVE READY";
    case DRIVE_ONLINE:
        return "DRIVE ONLINE";
    case DRIVE_DEAD:
        return "DRIVE DEAD";
    case DEVICE_STANDBY:
        return "DRIVE STANDBY";
    case DRIVE_SPARE:
        return "DRIVE SPARE";
    case DRIVE_REBUILDING:
        return "DRIVE REBUILDING";
    case DRIVE_PARTITIONED_SINGLE:
        return "DRIVE PARTITIONED SINGLE";
    default:
        return "DRIVE EMPTY";
    }
}

const char* writeCacheText(int mode)
{
    switch (mode) {
    case HARD_DRIVE_CACHE_MODE_WRITE_BACK:
        return "Write back";
    case HARD_DRIVE_CACHE_MODE_WRITE_THROUGH:
        return "Write through";
    case HARD_DRIVE_CACHE_MODE_NOT_AVAILABLE:
        return "Not available";
    case HARD_DRIVE_CACHE_MODE_NOT_SUPPORTED:
        return "Not supported";
    default:
        return "Unknown";
    }
}

// The names of the device types, as the module has always spelt them.
const char* deviceTypeText(int type)
{
    switch (type) {
    case HARD_DRIVE:
        return "HARD DRIVE";
    case ENCLOSURE:
        return "ENCLOSURE";
    case STORAGE_ARRAY_CONTROLLER_DEVICE:
        return "STORAGE_ARRAY_CONTROLLER_DEVICE";
    case ENCLOSURE_SERVICES_DEVICE:
        return "ENLOSURE_SERVICES_DEVICE";
    case SIMPLIFIED_DIRECT_ACCESS_DEVICE:
        return "SIMPLIFIED_DIRECT_ACCESS_DEVICE";
    default:
        return "UNKNOWN_DEVICE";
    }
}

// The keys of a device of the controller's computer system.
template <class T>
void setDeviceKeys(T* instance, const cimple::String& host, const cimple::String& deviceID)
{
    instance->DeviceID.set(deviceID);
    instance->CreationClassName.set(T::static_meta_class.name);
    instance->SystemCreationClassName.set(KRNAProvUtil::getSystemCreationClassName());
    instance->SystemName.set(host);
}

} // namespace

// ---- shared with the other storage providers -----------------------------------------------

cimple::String krnaDriveSerial(const HardDrive* drive)
{
    cimple::String serial(drive->getSerialNumber());
    KRNAProvUtil::compressString(serial);
    KRNAProvUtil::trim_String(serial);
    return serial;
}

cimple::Array_uint16 krnaDriveOperationalStatus(int state)
{
    cimple::Array_uint16 status;
    if (state == DRIVE_DEAD)
        status.append(6);
    else if (state >= DRIVE_READY && state <= DRIVE_PARTITIONED_SINGLE)
        status.append(2);
    return status;
}

HardDrive* krnaChunkDrive(Chunk* chunk)
{
    if (!chunk)
        return nullptr;
    if (HardDrive* provider = chunk->getProviderHardDrive())
        return provider;
    RaidObject* adapter = chunk->getParent();
    while (adapter && !adapter->isInstanceOf("Adapter"))
        adapter = adapter->getParent();
    if (!adapter || chunk->getChannelID() == STORID_UNDEFINED || chunk->getDeviceID() == STORID_UNDEFINED)
        return nullptr;
    RaidObject* device = adapter->getObject(Addr(adapter->getAdapterID(), STORID_UNDEFINED, STORID_UNDEFINED,
                                                 chunk->getChannelID(), chunk->getDeviceID(), BLOCK_UNDEFINED,
                                                 STORID_UNDEFINED, STORID_UNDEFINED));
    return device && device->isInstanceOf("HardDrive") ? dynamic_cast<HardDrive*>(device) : nullptr;
}

KRNADebugLine::KRNADebugLine(const char* line) { logger.debug("%s", line); }

// ---- the disk drive -----------------------------------------------------------------------

cimple::uint32 KRNA_DiskDrive_Provider::dataRate(int speed)
{
    switch (speed) {
    case SPEED_SCSI160:
        return 160000;
    case SPEED_SCSI320:
        return 320000;
    case SPEED_SATA150:
    case SPEED_SAS150:
        return 150000;
    case SPEED_SATA300:
    case SPEED_SAS300:
        return 300000;
    case SPEED_SATA600:
    case SPEED_SAS600:
        return 600000;
    default:
        return 0;
    }
}

cimple::uint64 KRNA_DiskDrive_Provider::unitsUsed(BLOCK_T size, BLOCK_T freeSectors)
{
    return freeSectors > size ? 0 : static_cast<cimple::uint64>(size - freeSectors) * 512;
}

void KRNA_DiskDrive_Provider::krnaBuildInstance(cimple::KRNA_DiskDrive* instance, HardDrive* drive, bool keysOnly)
{
    KRNADebugTrace trace("KRNA_DiskDrive_Provider::krnaBuildInstance()");
    const cimple::String host = hostName();
    const std::string id = krnaDriveSerial(drive).str() + ":" + decimal(static_cast<long>(drive->getDeviceID()));
    setDeviceKeys(instance, host, cimple::String(id));
    if (keysOnly)
        return;

    cimple::Array_String descriptions;
    descriptions.append(driveStateText(drive->getState()));
    instance->StatusDescriptions.set(descriptions);
    instance->OperationalStatus.set(krnaDriveOperationalStatus(drive->getState()));
    instance->Name.set(drive->getModel());
    instance->MaxMediaSize.set(static_cast<cimple::uint64>(drive->getSize()) * 512 / 1000);
    instance->writeCache.set(writeCacheText(drive->getWriteCacheEnable()));
    instance->UncompressedDataRate.set(dataRate(drive->getNegotiatedSpeed()));
    instance->pfaError.set(drive->getPfaSupported() ? drive->getPfaError() : false);
    instance->ElementName.set(deviceTypeText(drive->getDeviceType()));

    // Rebuilt from the reserves and the chunks each time, so a second build
    // counts the same.
    drive->InitFreeSpace(0);
    BLOCK_T freeSectors = 0;
    for (const FreeSpace& extent : drive->getFreeSpace())
        freeSectors += extent.numSectors;
    instance->UnitsUsed.set(unitsUsed(drive->getSize(), freeSectors));
}

const KRNA_DiskDrive_Provider::TraceNames& KRNA_DiskDrive_Provider::traceNames()
{
    static const TraceNames names{"KRNA_DiskDrive_Provider::load()", "KRNA_DiskDrive_Provider::unload()",
                                  "KRNA_DiskDrive_Provider::enum_instances()",
                                  "KRNA_DiskDrive_Provider)::get_instance()", ""};
    return names;
}

void KRNA_DiskDrive_Provider::onEnumStart(unsigned long drives)
{
    logger.debug("(KRNA_DiskDrive_Provider) enum_instances() No of Hard Drives = %d\n", static_cast<int>(drives));
}

void KRNA_DiskDrive_Provider::onEnumEnd(unsigned long drives)
{
    logger.info("Found %d Hard Drive(s)", static_cast<int>(drives));
}

void KRNA_DiskDrive_Provider::onGetStart(unsigned long drives)
{
    logger.debug("(KRNA_DiskDrive_Provider) get_instance() No of Hard Drives = %d\n", static_cast<int>(drives));
}

void KRNA_DiskDrive_Provider::onGetMatch() { logger.debug("(KRNA_DiskDrive_Provider) get_instance() Key matches \n"); }

CIMPLE_INSTANCE_PROVIDER(KRNA_DiskDrive_Provider);

// ---- its firmware, package, media and endpoint ----------------------------------------------

void KRNA_DiskDriveSoftwareIdentity_Provider::krnaBuildInstance(cimple::KRNA_DiskDriveSoftwareIdentity* instance,
                                                                HardDrive* drive, bool keysOnly)
{
    KRNADebugTrace trace("KRNA_DiskDriveSoftwareIdentity_Provider:::krnaBuildInstance()");
    instance->InstanceID.set(krnaDriveSerial(drive));
    if (keysOnly)
        return;
    instance->VersionString.set(drive->getFirmwareLevel());
    instance->Description.set("Represents the Harddrives connected to the RAID controller");
    cimple::String vendor;
    KRNAProvUtil::getHardDriveVendor(drive, vendor);
    instance->Manufacturer.set(vendor);
    cimple::Array_uint16 classifications;
    classifications.append(10);
    instance->Classifications.set(classifications);
    cimple::Array_String descriptions;
    descriptions.append("Firmware");
    instance->ClassificationDescriptions.set(descriptions);
}

const KRNA_DiskDriveSoftwareIdentity_Provider::TraceNames& KRNA_DiskDriveSoftwareIdentity_Provider::traceNames()
{
    static const TraceNames names{"KRNA_DiskDriveSoftwareIdentity_Provider::load()",
                                  "(KRNA_DiskDriveSoftwareIdentity_Provider::unload()",
                                  "KRNA_DiskDriveSoftwareIdentity_Provider::enum_instances()",
                                  "KRNA_DiskDriveSoftwareIdentity_Provider::get_instance()", ""};
    return names;
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiskDriveSoftwareIdentity_Provider);

void KRNA_DiskDrivePhysicalPackage_Provider::krnaBuildInstance(cimple::KRNA_DiskDrivePhysicalPackage* instance,
                                                               HardDrive* drive, bool keysOnly)
{
    KRNADebugTrace trace("KRNA_DiskDrivePhysicalPackage_Provider::krnaBuildInstance()");
    instance->Tag.set(krnaDriveSerial(drive));
    instance->CreationClassName.set(cimple::KRNA_DiskDrivePhysicalPackage::static_meta_class.name);
    if (keysOnly)
        return;
    cimple::String text;
    KRNAProvUtil::getHardDriveVendor(drive, text);
    instance->Manufacturer.set(text);
    KRNAProvUtil::getHardDriveModel(drive, text);
    instance->Model.set(text);
    KRNAProvUtil::getHardDriveSerialNumString(drive, text);
    instance->SerialNumber.set(text);
    instance->fruNumber.set(drive->getFruNumber());
    if (drive->getState() != DRIVE_EMPTY)
        instance->PoweredOn.set(true);
}

void KRNA_DiskDrivePhysicalPackage_Provider::onGetNotFound(unsigned long)
{
    logger.debug("(KRNA_DiskDrivePhysicalPackage_Provider) get_instance() DONE FAILURE\n");
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiskDrivePhysicalPackage_Provider);

void KRNA_DiskDriveStorageExtent_Provider::krnaBuildInstance(cimple::KRNA_DiskDriveStorageExtent* instance,
                                                             HardDrive* drive, bool keysOnly)
{
    KRNADebugTrace trace("KRNA_DiskDriveStorageExtent_Provider::krnaBuildInstance()");
    setDeviceKeys(instance, hostName(), krnaDriveSerial(drive));
    if (keysOnly)
        return;
    instance->BlockSize.set(512);
    instance->NumberOfBlocks.set(drive->getSize());
    instance->ConsumableBlocks.set(drive->getSize());
    instance->OperationalStatus.set(krnaDriveOperationalStatus(drive->getState()));
    cimple::Array_uint16 extent;
    extent.append(2);
    instance->ExtentStatus.set(extent);
    instance->Primordial.set(true);
    instance->Name.set(drive->getWWNString());
}

void KRNA_DiskDriveStorageExtent_Provider::onEnumStart(unsigned long drives)
{
    logger.debug("(KRNA_DiskDriveStorageExtent_Provider) enum_instances() No of Hard Drives = %d\n",
                 static_cast<int>(drives));
}

void KRNA_DiskDriveStorageExtent_Provider::onGetStart(unsigned long drives)
{
    logger.debug("(KRNA_DiskDriveStorageExtent_Provider) get_instance() No of Hard Drives = %d\n",
                 static_cast<int>(drives));
}

void KRNA_DiskDriveStorageExtent_Provider::onGetMatch()
{
    logger.debug("(KRNA_DiskDriveStorageExtent_Provider) get_instance() Key matches \n");
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiskDriveStorageExtent_Provider);

void KRNA_DiskDriveSCSIProtocolEndpoint_Provider::krnaBuildInstance(
    cimple::KRNA_DiskDriveSCSIProtocolEndpoint* instance, HardDrive* drive, bool keysOnly)
{
    KRNADebugTrace trace("KRNA_DiskDriveSCSIProtocolEndpoint_Provider::krnaBuildInstance()");
    const cimple::String host = hostName();
    const Channel* channel = drive->getChannel();
    const STORID_T channelID = channel ? channel->getChannelID() : drive->getChannelID();
    instance->Name.set(cimple::String(krnaDriveSerial(drive).str() + ":" + decimal(static_cast<long>(channelID))));
    instance->CreationClassName.set(cimple::KRNA_DiskDriveSCSIProtocolEndpoint::static_meta_class.name);
    instance->SystemCreationClassName.set(KRNAProvUtil::getSystemCreationClassName());
    instance->SystemName.set(host);
    if (keysOnly)
        return;
    const KRNATransport t = krnaTransport(channel ? static_cast<int>(channel->getChannelType()) : -1);
    instance->ProtocolIFType.set(t.protocolIFType);
    instance->ConnectionType.set(t.connectionType);
    if (t.protocolIFType == 1)
        instance->OtherTypeDescription.set(t.description);
    instance->Role.set(3);
}

const KRNA_DiskDriveSCSIProtocolEndpoint_Provider::TraceNames& KRNA_DiskDriveSCSIProtocolEndpoint_Provider::traceNames()
{
    static const TraceNames names{"KRNA_DiskDriveSCSIProtocolEndpoint_Provider::load()",
                                  "KRNA_DiskDriveSCSIProtocolEndpoint_Provider::unload()",
                                  "KRNA_DiskDriveSCSIProtocolEndpoint_Provider::enum_instance()",
                                  "(KRNA_DiskDriveSCSIProtocolEndpoint_Provider::get_instance()", ""};
    return names;
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiskDriveSCSIProtocolEndpoint_Provider);

// ---- the associations ---------------------------------------------------------------------

void KRNA_DiskDriveSystemDevice_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map)
{
    KRNADebugTrace trace(traceNames().buildMap.c_str());
    krnaWalk("Adapter", [&](const std::vector<RaidObject*>& adapters) {
        for (RaidObject* o : adapters) {
            Adapter* adapter = dynamic_cast<Adapter*>(o);
            krnaEachBelow<HardDrive>(adapter, "HardDrive", [&](HardDrive* drive) {
                krnaLink(map, &Class::GroupComponent, krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter),
                         &Class::PartComponent, krnaEnd<KRNA_DiskDrive_Provider>(drive));
            });
        }
    });
    logger.debug("(KRNA_DiskDriveSystemDevice_Provider) krnaBuildMap() DONE\n");
}

const KRNA_DiskDriveSystemDevice_Provider::TraceNames& KRNA_DiskDriveSystemDevice_Provider::traceNames()
{
    static const TraceNames names{"KRNA_DiskDriveSystemDevice_Provider::load()",
                                  "(KRNA_DiskDriveSystemDevice_Provider::unload()",
                                  "KRNA_DiskDriveSystemDevice_Provider::enum_instances()",
                                  "KRNA_DiskDriveSystemDevice_Provider::getInstance()",
                                  "KRNA_DiskDriveSystemDevice_Provider::krnaBuildMap()"};
    return names;
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_DiskDriveSystemDevice_Provider);

const KRNA_DiskDriveElementSoftwareIdentity_Provider::TraceNames&
KRNA_DiskDriveElementSoftwareIdentity_Provider::traceNames()
{
    static const TraceNames names{"KRNA_DiskDriveElementSoftwareIdentity_Provider::load()",
                                  "KRNA_DiskDriveElementSoftwareIdentity_Provider::unload()",
                                  "KRNA_DiskDriveElementSoftwareIdentity_Provider::enum_instances()",
                                  "KRNA_DiskDriveElementSoftwareIdentity_Provider::getInstance()",
                                  "KRNA_DiskDriveElementSoftwareIdentity_Provider::krnaBuildInstance()"};
    return names;
}

void KRNA_DiskDriveElementSoftwareIdentity_Provider::onBuildMapEnd()
{
    logger.debug("(KRNA_DiskDriveElementSoftwareIdentity_Provider) krnaBuildInstance() DONE\n");
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_DiskDriveElementSoftwareIdentity_Provider);

const KRNA_DiskDriveMediaPresent_Provider::TraceNames& KRNA_DiskDriveMediaPresent_Provider::traceNames()
{
    static const TraceNames names{"KRNA_DiskDriveMediaPresent_Provider:load()",
                                  "KRNA_DiskDriveMediaPresent_Provider:: unload()",
                                  "(KRNA_DiskDsriveMediaPresent_Provider::enum_instances()",
                                  "KRNA_DiskDriveMediaPresent_Provider::getInstance()",
                                  "KRNA_DiskDriveMediaPresent_Provider::krnaBuildInstance()"};
    return names;
}

void KRNA_DiskDriveMediaPresent_Provider::onBuildMapEnd()
{
    logger.debug("(KRNA_DiskDriveMediaPresent_Provider) krnaBuildInstance() DONE\n");
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_DiskDriveMediaPresent_Provider);

const KRNA_DiskDriveRealizesPhysicalPackage_Provider::TraceNames&
KRNA_DiskDriveRealizesPhysicalPackage_Provider::traceNames()
{
    static const TraceNames names{"(KRNA_DiskDriveRealizesPhysicalPackage_Provider) load()\n",
                                  "(KRNA_DiskDriveRealizesPhysicalPackage_Provider) unload()\n",
                                  "(KRNA_DiskDriveRealizesPhysicalPackage_Provider) enum_instances()\n",
                                  "(KRNA_DiskDriveRealizesPhysicalPackage_Provider) getInstance()\n",
                                  "(KRNA_DiskDriveRealizesPhysicalPackage_Provider) krnaBuildInstance()\n"};
    return names;
}

void KRNA_DiskDriveRealizesPhysicalPackage_Provider::onBuildMapEnd()
{
    logger.debug("(KRNA_DiskDriveRealizesPhysicalPackage_Provider) krnaBuildInstance() DONE\n");
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_DiskDriveRealizesPhysicalPackage_Provider);

const KRNA_DiskDriveDeviceSAPImplementation_Provider::TraceNames&
KRNA_DiskDriveDeviceSAPImplementation_Provider::traceNames()
{
    static const TraceNames names{"KRNA_DiskDriveDeviceSAPImplementation_Provider::load()",
                                  "KRNA_DiskDriveDeviceSAPImplementation_Provider:unload()",
                                  "KRNA_DiskDriveDeviceSAPImplementation_Provider::enum_instances()",
                                  "KRNA_DiskDriveDeviceSAPImplementation_Provider::get_instance()",
                                  "KRNA_DiskDriveDeviceSAPImplementation_Provider::krnaBuildMap()"};
    return names;
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_DiskDriveDeviceSAPImplementation_Provider);

void KRNA_DiskDriveMemberOfCollection_Provider::krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter*,
                                                             RaidObject* port)
{
    if (port->isInstanceOf("HardDrive")) {
        krnaLink(map, &Class::Collection, krnaEnd<KRNA_ControllerConnectivityCollection_Provider>(port),
                 &Class::Member, krnaEnd<KRNA_DiskDriveSCSIProtocolEndpoint_Provider>(dynamic_cast<HardDrive*>(port)));
    } else if (port->isInstanceOf("Channel")) {
        krnaEachBelow<HardDrive>(port, "HardDrive", [&](HardDrive* drive) {
            krnaLink(map, &Class::Collection, krnaEnd<KRNA_ControllerConnectivityCollection_Provider>(port),
                     &Class::Member, krnaEnd<KRNA_DiskDriveSCSIProtocolEndpoint_Provider>(drive));
        });
    }
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_DiskDriveMemberOfCollection_Provider);

} // namespace corvanecimple
