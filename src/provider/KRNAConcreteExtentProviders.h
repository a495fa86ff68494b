#ifndef KRNACONCRETEEXTENTPROVIDERS_H
#define KRNACONCRETEEXTENTPROVIDERS_H

// The chunks of every logical drive as concrete storage extents, each tied
// to the extent of the disk drive below it and to the volume above it, and
// every volume tied to the protocol controllers through which the drives of
// its chunks are reached.

#include "KRNAControllerEndpointProviders.h"
#include "KRNADiskDriveProviders.h"
#include "KRNAStoragePattern.h"
#include "KRNA_Classes.h"
#include "KRNA_StorageVolume_Provider.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/LogicalDrive.h"

namespace corvanecimple {

// Calls each(drive, chunk) for every chunk in the subtree of every logical
// drive of the objects given, in walk order.
template <class Each>
void krnaEachChunk(const std::vector<RaidObject*>& objects, Each each)
{
    for (RaidObject* o : objects) {
        if (LogicalDrive* drive = dynamic_cast<LogicalDrive*>(o))
            krnaEachBelow<Chunk>(drive, "Chunk", [&](Chunk* chunk) { each(drive, chunk); });
    }
}

class KRNA_ConcreteStorageExtent_Provider final
    : public KRNAInstanceProvider<KRNA_ConcreteStorageExtent_Provider, cimple::KRNA_ConcreteStorageExtent,
                                  LogicalDrive> {
public:
    static constexpr const char* WALKED_CLASS = "LogicalDrive";

    // DeviceID "<host>:<adapter unique id>:<logical drive id>:<channel id>:<device id>"
    // of the chunk's parent logical drive and its own address. With every
    // property: the sectors in 512-byte blocks and the state of its drive
    // (none when the drive is not in the tree or has no channel). The keys
    // alone never look the drive up.
    static void krnaBuildInstance(cimple::KRNA_ConcreteStorageExtent* instance, Chunk* chunk, bool keysOnly);

    // One extent per chunk of the logical drive.
    template <class Emit>
    static void krnaEachInstance(LogicalDrive* drive, bool keysOnly, Emit emit)
    {
        krnaEmitEach<Class>([&](auto each) { krnaEachBelow<Chunk>(drive, "Chunk", each); },
                            [&](Class* instance, Chunk* chunk) { krnaBuildInstance(instance, chunk, keysOnly); },
                            emit);
    }

    static void onEnumInstances(unsigned long extents);
};

// The disk drive's extent (Antecedent) below each chunk's extent
// (Dependent), from the chunk's start sector to the first sector after it.
class KRNA_ConcreteExtentBasedOnPrimordialExtent_Provider final
    : public KRNAAssociationProvider<KRNA_ConcreteExtentBasedOnPrimordialExtent_Provider,
                                     cimple::KRNA_ConcreteExtentBasedOnPrimordialExtent> {
public:
    static void krnaBuildMap(cimple::Instance_Map<Class>& map);
};

// Each chunk's extent (Antecedent) below the volume of its logical drive
// (Dependent).
class KRNA_StorageVolumeBasedOnStorageExtent_Provider final
    : public KRNAAssociationProvider<KRNA_StorageVolumeBasedOnStorageExtent_Provider,
                                     cimple::KRNA_StorageVolumeBasedOnStorageExtent> {
public:
    static void krnaBuildMap(cimple::Instance_Map<Class>& map);
};

// The protocol controller (Antecedent) of each chunk's drive, the drive's
// own on a SATA channel, its channel's elsewhere, and the volume
// (Dependent): one per distinct protocol controller of a volume.
class KRNA_ControllerProtocolControllerForUnit_Provider final
    : public KRNAAssociationProvider<KRNA_ControllerProtocolControllerForUnit_Provider,
                                     cimple::KRNA_ControllerProtocolControllerForUnit> {
public:
    static void krnaBuildMap(cimple::Instance_Map<Class>& map);
};

} // namespace corvanecimple

#endif
