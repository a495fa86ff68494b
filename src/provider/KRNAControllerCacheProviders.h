#ifndef KRNACONTROLLERCACHEPROVIDERS_H
#define KRNACONTROLLERCACHEPROVIDERS_H

// The cache of every controller: its memory and the battery that backs it,
// one of each per adapter, both keyed as devices of the controller's computer
// system by the adapter's unique id, and their associations with that
// computer system. The battery's status, charge and run time follow from the
// adapter's battery readings. The builds fill everything, keys-only or not.

#include "KRNAControllerPattern.h"
#include "KRNAControllerSystemProviders.h"
#include "KRNA_Classes.h"

namespace corvanecimple {

class KRNA_ControllerCacheMemory_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerCacheMemory_Provider, cimple::KRNA_ControllerCacheMemory, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    // The installed cache memory in blocks of 1.
    static void krnaBuildInstance(cimple::KRNA_ControllerCacheMemory* instance, Adapter* adapter, bool keysOnly);

    static void onEnumStart(unsigned long adapters);
    static void onEnumEnd(unsigned long adapters);
    static void onGetStart(unsigned long adapters);
};

class KRNA_ControllerCacheBattery_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerCacheBattery_Provider, cimple::KRNA_ControllerCacheBattery, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    static void krnaBuildInstance(cimple::KRNA_ControllerCacheBattery* instance, Adapter* adapter, bool keysOnly);
    // The enumeration lists the batteries of the adapters whose battery
    // status says one is there (other, OK, failed, charging, discharging,
    // maintenance); get_instance and the associations find every adapter's.
    static bool krnaEnumerates(Adapter* adapter);

    // The estimates of the readings: remaining capacity, full capacity and
    // current draw. Each is truncated toward zero and held to the range of
    // its property; a draw or full capacity of 0 gives 0.
    struct Estimates {
        cimple::uint32 runTime;    // minutes: remaining x 10 / draw x 60
        cimple::uint16 charge;     // percent: remaining x 100 / full
        cimple::uint32 capacity;   // full x 3.6
    };
    static Estimates estimates(uint32_t remaining, uint32_t full, uint32_t draw);
};

// The cache memory (Antecedent) of the controller's computer system (Dependent).
class KRNA_ControllerAssociatedCacheMemory_Provider final
    : public KRNAAdapterAssociationProvider<KRNA_ControllerAssociatedCacheMemory_Provider,
                                            cimple::KRNA_ControllerAssociatedCacheMemory> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

// The computer system (GroupComponent) and its battery (PartComponent).
class KRNA_ControllerBatterySystemDevice_Provider final
    : public KRNAAdapterAssociationProvider<KRNA_ControllerBatterySystemDevice_Provider,
                                            cimple::KRNA_ControllerBatterySystemDevice> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

// The battery (Antecedent) the computer system (Dependent) depends on.
class KRNA_ControllerBatteryConcreteDependency_Provider final
    : public KRNAAdapterAssociationProvider<KRNA_ControllerBatteryConcreteDependency_Provider,
                                            cimple::KRNA_ControllerBatteryConcreteDependency> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

} // namespace corvanecimple

#endif
