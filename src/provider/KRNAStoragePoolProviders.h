#ifndef KRNASTORAGEPOOLPROVIDERS_H
#define KRNASTORAGEPOOLPROVIDERS_H

// The storage pools of every controller: one primordial pool per adapter
// for the raw capacity of its drives, and the concrete pools volumes are
// carved from (an array of a Tarnell adapter, a logical drive of any other),
// with the five associations that tie them to the controller's computer
// system, to each other, to the volumes and to the drives' extents.

#include "KRNAControllerPattern.h"
#include "KRNAControllerSystemProviders.h"
#include "KRNAStoragePattern.h"
#include "KRNA_Classes.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Array.h"
#include "RaidModel/Interface/LogicalDrive.h"

namespace corvanecimple {

class KRNA_PrimordialStoragePool_Provider final
    : public KRNAInstanceProvider<KRNA_PrimordialStoragePool_Provider, cimple::KRNA_PrimordialStoragePool, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    // The bytes of every hard drive below the adapter.
    static cimple::uint64 getTotalManagedSpace(Adapter* adapter);
    // InstanceID, PoolID and ElementName "<host>:<adapter unique id>:PrimordialPool".
    static void krnaBuildInstance(cimple::KRNA_PrimordialStoragePool* instance, Adapter* adapter, bool keysOnly);

    static const TraceNames& traceNames();
    static void onEnumEnd(unsigned long adapters);
};

class KRNA_ConcreteStoragePool_Provider final
    : public KRNAInstanceProvider<KRNA_ConcreteStoragePool_Provider, cimple::KRNA_ConcreteStoragePool, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    // "<host>:<adapter unique id>:<array id>", "Pool <array id>"; size and
    // free space of the array in bytes (the Tarnell family counts MiB).
    static void krnaBuildInstance(cimple::KRNA_ConcreteStoragePool* instance, Array* array, bool keysOnly);
    // "<host>:<adapter unique id>:<logical drive id>", "Pool <logical drive
    // id>"; the data space in bytes (MB on Pelm adapters, 512-byte blocks
    // on the others), nothing remaining.
    static void krnaBuildInstance(cimple::KRNA_ConcreteStoragePool* instance, LogicalDrive* drive, bool keysOnly);

    // Calls each(Array*) for the arrays below a Tarnell adapter, each(LogicalDrive*)
    // for the logical drives below any other.
    template <class Each>
    static void krnaEachSource(Adapter* adapter, Each each)
    {
        if (adapter->isInstanceOf("TarnellAdapter"))
            krnaEachBelow<Array>(adapter, "Array", each);
        else
            krnaEachBelow<LogicalDrive>(adapter, "LogicalDrive", each);
    }

    // One pool per source of the adapter.
    template <class Emit>
    static void krnaEachInstance(Adapter* adapter, bool keysOnly, Emit emit)
    {
        krnaEmitEach<Class>([&](auto each) { krnaEachSource(adapter, each); },
                            [&](Class* instance, auto* source) { krnaBuildInstance(instance, source, keysOnly); },
                            emit);
    }

    static const TraceNames& traceNames();
    static void onEnumInstances(unsigned long pools);
};

// ---- the associations ---------------------------------------------------------------------

// An association per adapter (Derived::krnaLinkAdapter) whose krnaBuildMap
// traces under its own name.
template <class Derived, class Assoc>
class KRNAPoolAssociationProvider : public KRNAAdapterAssociationProvider<Derived, Assoc> {
    typedef KRNAAdapterAssociationProvider<Derived, Assoc> Base;

public:
    static void krnaBuildMap(cimple::Instance_Map<Assoc>& map)
    {
        KRNADebugTrace trace(Derived::traceNames().buildMap.c_str());
        Base::krnaBuildMap(map);
    }
};

// The computer system (GroupComponent) and its primordial pool (PartComponent).
class KRNA_HostedPrimordialStoragePool_Provider final
    : public KRNAPoolAssociationProvider<KRNA_HostedPrimordialStoragePool_Provider,
                                         cimple::KRNA_HostedPrimordialStoragePool> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

// The computer system (GroupComponent) and each of its concrete pools (PartComponent).
class KRNA_HostedConcreteStoragePool_Provider final
    : public KRNAPoolAssociationProvider<KRNA_HostedConcreteStoragePool_Provider,
                                         cimple::KRNA_HostedConcreteStoragePool> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

// The primordial pool (Antecedent) each concrete pool (Dependent) of the
// adapter is allocated from; SpaceConsumed the concrete pool's
// TotalManagedSpace.
class KRNA_PoolAllocatedFromStoragePool_Provider final
    : public KRNAPoolAssociationProvider<KRNA_PoolAllocatedFromStoragePool_Provider,
                                         cimple::KRNA_PoolAllocatedFromStoragePool> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

// The concrete pool (Antecedent) each volume (Dependent) is allocated from:
// its array's on a Tarnell adapter (none for a logical drive without an
// array), its own elsewhere; SpaceConsumed the volume's size in bytes.
class KRNA_VolumeAllocatedFromStoragePool_Provider final
    : public KRNAPoolAssociationProvider<KRNA_VolumeAllocatedFromStoragePool_Provider,
                                         cimple::KRNA_VolumeAllocatedFromStoragePool> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

// The primordial pool (GroupComponent) and the extent of each drive below
// the adapter (PartComponent).
class KRNA_PrimordialStoragePoolConcreteComponent_Provider final
    : public KRNAPoolAssociationProvider<KRNA_PrimordialStoragePoolConcreteComponent_Provider,
                                         cimple::KRNA_PrimordialStoragePoolConcreteComponent> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

} // namespace corvanecimple

#endif
