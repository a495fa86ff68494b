#ifndef KRNACONTROLLERSYSTEMPROVIDERS_H
#define KRNACONTROLLERSYSTEMPROVIDERS_H

// Every controller of every family three times: as a computer system of its
// own, as its card and as a product, one instance of each per adapter. The
// computer system is the scoping system of every controller-side device, and
// the associations build it, and the card, as their ends with the
// krnaBuildInstance here. All three builds fill everything, keys-only or not.

#include "KRNAProviderPattern.h"
#include "KRNA_Classes.h"
#include "RaidModel/Interface/Adapter.h"

namespace corvanecimple {

class KRNA_ControllerComputerSystem_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerComputerSystem_Provider, cimple::KRNA_ControllerComputerSystem,
                                  Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    // Keyed by the class name and the adapter's unique id; OperationalStatus
    // {0, 2} for a working controller, {0} otherwise.
    static void krnaBuildInstance(cimple::KRNA_ControllerComputerSystem* instance, Adapter* adapter, bool keysOnly);
};

class KRNA_ControllerCard_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerCard_Provider, cimple::KRNA_ControllerCard, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    // Tagged by the adapter's unique id; a Pelm card is not field-replaceable
    // and is modelled by its RAID support and first channel, a Vesk card
    // carries the version and part number of the card.
    static void krnaBuildInstance(cimple::KRNA_ControllerCard* instance, Adapter* adapter, bool keysOnly);
    // The Model of the adapter's card.
    static cimple::String cardModel(Adapter* adapter);

    static void onEnumEnd(unsigned long adapters);
};

class KRNA_ControllerProduct_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerProduct_Provider, cimple::KRNA_ControllerProduct, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    // Keyed by the host name, the unique id, the vendor and "Build <n>".
    static void krnaBuildInstance(cimple::KRNA_ControllerProduct* instance, Adapter* adapter, bool keysOnly);

    static void onEnumEnd(unsigned long adapters);
};

} // namespace corvanecimple

#endif
