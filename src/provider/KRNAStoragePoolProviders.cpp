// The storage pool providers: primordial and concrete pools and their
// associations.
#include "KRNAStoragePoolProviders.h"

#include <cstdio>
#include <string>

#include "KRNADiskDriveProviders.h"
#include "KRNA_StorageVolume_Provider.h"
#include "RaidModel/Interface/HardDrive.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

const cimple::uint64 MIB = 1048576;

// "<host>:<adapter unique id>:" and the rest.
std::string poolID(Adapter* adapter, const std::string& rest)
{
    char host[KRNAProvUtil::HOST_NAME_SIZE];
    KRNAProvUtil::getSystemName(host, sizeof host);
    char uniqueID[KRNAProvUtil::UNIQUE_ID_SIZE] = "";
    KRNAProvUtil::getAdapterUniqueID(adapter, uniqueID);
    return std::string(host) + ":" + uniqueID + ":" + rest;
}

std::string decimal(long value)
{
    char text[24];
    snprintf(text, sizeof text, "%i", static_cast<int>(value));
    return text;
}

// The keys and names of a concrete pool numbered number; false when only
// the keys were asked for.
bool setPoolNames(cimple::KRNA_ConcreteStoragePool* instance, Adapter* adapter, long number, bool keysOnly)
{
    const std::string id = poolID(adapter, decimal(number));
    instance->InstanceID.set(cimple::String(id));
    if (keysOnly)
        return false;
    instance->PoolID.set(cimple::String(id));
    instance->ElementName.set(cimple::String("Pool " + decimal(number)));
    instance->Primordial.set(false);
    return true;
}

} // namespace

// ---- the pools -----------------------------------------------------------------------------

cimple::uint64 KRNA_PrimordialStoragePool_Provider::getTotalManagedSpace(Adapter* adapter)
{
    cimple::uint64 total = 0;
    krnaEachBelow<HardDrive>(adapter, "HardDrive",
                             [&](HardDrive* drive) { total += static_cast<cimple::uint64>(drive->getSize()) * 512; });
    return total;
}

void KRNA_PrimordialStoragePool_Provider::krnaBuildInstance(cimple::KRNA_PrimordialStoragePool* instance,
                                                            Adapter* adapter, bool keysOnly)
{
    KRNADebugTrace trace("KRNA_PrimordialStoragePool_Provider::krnaBuildInstance()");
    const cimple::String id(poolID(adapter, "PrimordialPool"));
    instance->InstanceID.set(id);
    if (keysOnly)
        return;
    instance->PoolID.set(id);
    instance->ElementName.set(id);
    instance->TotalManagedSpace.set(getTotalManagedSpace(adapter));
    instance->RemainingManagedSpace.set(0);
    instance->Primordial.set(true);
}

const KRNA_PrimordialStoragePool_Provider::TraceNames& KRNA_PrimordialStoragePool_Provider::traceNames()
{
    static const TraceNames names{"KRNA_PrimordialStoragePool_Provider::load()",
                                  "KRNA_PrimordialStoragePool_Provider::unload()",
                                  "KRNA_PrimordialStoragePool_Provider::enum_instances()",
                                  "KRNA_PrimordialStoragePool::get_instances()", ""};
    return names;
}

void KRNA_PrimordialStoragePool_Provider::onEnumEnd(unsigned long adapters)
{
    logger.info("Found %d Primordial Storage Pool(s)", static_cast<int>(adapters));
}

CIMPLE_INSTANCE_PROVIDER(KRNA_PrimordialStoragePool_Provider);

void KRNA_ConcreteStoragePool_Provider::krnaBuildInstance(cimple::KRNA_ConcreteStoragePool* instance, Array* array,
                                                          bool keysOnly)
{
    KRNADebugTrace trace("KRNA_ConcreteStoragePool_Provider::krnaBuildInstance()");
    if (!setPoolNames(instance, array->getAdapter(), static_cast<long>(array->getArrayID()), keysOnly))
        return;
    instance->TotalManagedSpace.set(static_cast<cimple::uint64>(array->getSize()) * MIB);
    instance->RemainingManagedSpace.set(static_cast<cimple::uint64>(array->getFreeSpace()) * MIB);
}

void KRNA_ConcreteStoragePool_Provider::krnaBuildInstance(cimple::KRNA_ConcreteStoragePool* instance,
                                                          LogicalDrive* drive, bool keysOnly)
{
    KRNADebugTrace trace("KRNA_ConcreteStoragePool_Provider::krnaBuildInstance(ld)");
    Adapter* adapter = drive->getAdapter();
    if (!setPoolNames(instance, adapter, static_cast<long>(drive->getLogicalDriveID()), keysOnly))
        return;
    // The Pelm library gives the data space in MB, the Vesk library in blocks.
    const bool megabytes = adapter && adapter->isInstanceOf("PelmAdapter");
    instance->TotalManagedSpace.set(static_cast<cimple::uint64>(drive->getDataSpace64()) * (megabytes ? MIB : 512));
    instance->RemainingManagedSpace.set(0);
}

const KRNA_ConcreteStoragePool_Provider::TraceNames& KRNA_ConcreteStoragePool_Provider::traceNames()
{
    static const TraceNames names{"KRNA_ConcreteStoragePool_Provider::load()",
                                  "KRNA_ConcreteStoragePool_Provider::unload()",
                                  "KRNA_ConcreteStoragePool_Provider::enum_instances()",
                                  "(KRNA_ConcreteStoragePool::get_instances()", ""};
    return names;
}

void KRNA_ConcreteStoragePool_Provider::onEnumInstances(unsigned long pools)
{
    logger.info("Found %d Concrete Storage Pool(s)", static_cast<int>(pools));
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ConcreteStoragePool_Provider);

// ---- the associations ---------------------------------------------------------------------

void KRNA_HostedPrimordialStoragePool_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter)
{
    krnaLink(map, &Class::GroupComponent, krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter),
             &Class::PartComponent, krnaEnd<KRNA_PrimordialStoragePool_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_HostedPrimordialStoragePool_Provider);

void KRNA_HostedConcreteStoragePool_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter)
{
    KRNA_ConcreteStoragePool_Provider::krnaEachSource(adapter, [&](auto* source) {
        krnaLink(map, &Class::GroupComponent, krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter),
                 &Class::PartComponent, krnaEnd<KRNA_ConcreteStoragePool_Provider>(source));
    });
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_HostedConcreteStoragePool_Provider);

void KRNA_PoolAllocatedFromStoragePool_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter)
{
    KRNA_ConcreteStoragePool_Provider::krnaEachSource(adapter, [&](auto* source) {
        cimple::KRNA_ConcreteStoragePool* pool = krnaEnd<KRNA_ConcreteStoragePool_Provider>(source);
        const cimple::uint64 consumed = pool ? pool->TotalManagedSpace.value : 0;
        krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_PrimordialStoragePool_Provider>(adapter), &Class::Dependent,
                 pool, [&](Class* association) { association->SpaceConsumed.set(consumed); });
    });
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_PoolAllocatedFromStoragePool_Provider);

void KRNA_VolumeAllocatedFromStoragePool_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map,
                                                                   Adapter* adapter)
{
    const bool tarnell = adapter->isInstanceOf("TarnellAdapter");
    krnaEachBelow<LogicalDrive>(adapter, "LogicalDrive", [&](LogicalDrive* drive) {
        if (tarnell && !drive->getArray())
            return;
        cimple::KRNA_ConcreteStoragePool* pool =
            tarnell ? krnaEnd<KRNA_ConcreteStoragePool_Provider>(drive->getArray())
                    : krnaEnd<KRNA_ConcreteStoragePool_Provider>(drive);
        cimple::KRNA_StorageVolume* volume = krnaEnd<KRNA_StorageVolume_Provider>(drive);
        // The volume's size in bytes; the Tarnell family counts the data space in MB.
        const cimple::uint64 consumed =
            tarnell ? static_cast<cimple::uint64>(drive->getDataSpace64()) * MIB
                    : (volume ? volume->NumberOfBlocks.value * volume->BlockSize.value : 0);
        krnaLink(map, &Class::Antecedent, pool, &Class::Dependent, volume,
                 [&](Class* association) { association->SpaceConsumed.set(consumed); });
    });
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_VolumeAllocatedFromStoragePool_Provider);

void KRNA_PrimordialStoragePoolConcreteComponent_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map,
                                                                           Adapter* adapter)
{
    krnaEachBelow<HardDrive>(adapter, "HardDrive", [&](HardDrive* drive) {
        krnaLink(map, &Class::GroupComponent, krnaEnd<KRNA_PrimordialStoragePool_Provider>(adapter),
                 &Class::PartComponent, krnaEnd<KRNA_DiskDriveStorageExtent_Provider>(drive));
    });
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_PrimordialStoragePoolConcreteComponent_Provider);

} // namespace corvanecimple
