// The concrete storage extent provider and its three associations.
#include "KRNAConcreteExtentProviders.h"

#include <cstdio>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

// The chunk's drive when it is in the tree with its channel; null otherwise.
HardDrive* attachedDrive(Chunk* chunk)
{
    HardDrive* drive = krnaChunkDrive(chunk);
    return drive && drive->getChannel() ? drive : nullptr;
}

} // namespace

void KRNA_ConcreteStorageExtent_Provider::krnaBuildInstance(cimple::KRNA_ConcreteStorageExtent* instance,
                                                            Chunk* chunk, bool keysOnly)
{
    KRNADebugTrace trace("KRNA_ConcreteStorageExtent_Provider::krnaBuildInstance()");
    LogicalDrive* parent = dynamic_cast<LogicalDrive*>(chunk->getParent());
    char host[KRNAProvUtil::HOST_NAME_SIZE];
    KRNAProvUtil::getSystemName(host, sizeof host);
    char uniqueID[KRNAProvUtil::UNIQUE_ID_SIZE] = "";
    KRNAProvUtil::getAdapterUniqueID(parent ? parent->getAdapter() : nullptr, uniqueID);
    char id[KRNAProvUtil::HOST_NAME_SIZE + KRNAProvUtil::UNIQUE_ID_SIZE + 48];
    snprintf(id, sizeof id, "%s:%s:%i:%i:%i", host, uniqueID,
             static_cast<int>(parent ? parent->getLogicalDriveID() : chunk->getLogicalDriveID()),
             static_cast<int>(chunk->getChannelID()), static_cast<int>(chunk->getDeviceID()));
    instance->DeviceID.set(id);
    instance->CreationClassName.set(cimple::KRNA_ConcreteStorageExtent::static_meta_class.name);
    instance->SystemCreationClassName.set(KRNAProvUtil::getSystemCreationClassName());
    instance->SystemName.set(host);
    if (keysOnly)
        return;
    instance->BlockSize.set(512);
    instance->NumberOfBlocks.set(chunk->getNumSector());
    instance->ConsumableBlocks.set(chunk->getNumSector());
    const HardDrive* drive = attachedDrive(chunk);
    instance->OperationalStatus.set(drive ? krnaDriveOperationalStatus(drive->getState()) : cimple::Array_uint16());
    cimple::Array_uint16 extent;
    extent.append(2);
    instance->ExtentStatus.set(extent);
    instance->Primordial.set(false);
}

void KRNA_ConcreteStorageExtent_Provider::onEnumInstances(unsigned long extents)
{
    logger.info("Found %d Concrete Storage Extent", static_cast<int>(extents));
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ConcreteStorageExtent_Provider);

void KRNA_ConcreteExtentBasedOnPrimordialExtent_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map)
{
    KRNADebugTrace trace(traceNames().buildMap.c_str());
    krnaWalk("LogicalDrive", [&](const std::vector<RaidObject*>& drives) {
        krnaEachChunk(drives, [&](LogicalDrive*, Chunk* chunk) {
            HardDrive* disk = attachedDrive(chunk);
            if (!disk)
                return;
            const cimple::uint64 start = chunk->getStartSector();
            const cimple::uint64 end = start + chunk->getNumSector();
            krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_DiskDriveStorageExtent_Provider>(disk), &Class::Dependent,
                     krnaEnd<KRNA_ConcreteStorageExtent_Provider>(chunk), [&](Class* association) {
                         association->StartingAddress.set(start);
                         association->EndingAddress.set(end);
                         association->OrderIndex.set(0);
                     });
        });
    });
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ConcreteExtentBasedOnPrimordialExtent_Provider);

void KRNA_StorageVolumeBasedOnStorageExtent_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map)
{
    logger.debug("(KRNA_StorageVolumeBasedOnStorageExtent_Provider) krnaBuildMap()\n");
    krnaWalk("LogicalDrive", [&](const std::vector<RaidObject*>& drives) {
        krnaEachChunk(drives, [&](LogicalDrive* drive, Chunk* chunk) {
            krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ConcreteStorageExtent_Provider>(chunk), &Class::Dependent,
                     krnaEnd<KRNA_StorageVolume_Provider>(drive), [](Class* association) {
                         association->StartingAddress.set(0);
                         association->EndingAddress.set(0);
                         association->OrderIndex.set(0);
                     });
        });
    });
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_StorageVolumeBasedOnStorageExtent_Provider);

void KRNA_ControllerProtocolControllerForUnit_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map)
{
    KRNADebugTrace trace(traceNames().buildMap.c_str());
    krnaWalk("Adapter", [&](const std::vector<RaidObject*>& adapters) {
        for (RaidObject* adapter : adapters) {
            std::vector<RaidObject*> drives;
            krnaEachBelow<LogicalDrive>(adapter, "LogicalDrive", [&](LogicalDrive* d) { drives.push_back(d); });
            krnaEachChunk(drives, [&](LogicalDrive* drive, Chunk* chunk) {
                HardDrive* disk = attachedDrive(chunk);
                if (!disk)
                    return;
                // On a SATA channel every drive is a port of its own.
                RaidObject* port = disk->getChannel()->isInstanceOf("SATAChannel") ? static_cast<RaidObject*>(disk)
                                                                                    : disk->getChannel();
                krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerSCSIProtocolController_Provider>(port),
                         &Class::Dependent, krnaEnd<KRNA_StorageVolume_Provider>(drive));
            });
        }
    });
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerProtocolControllerForUnit_Provider);

} // namespace corvanecimple
