#ifndef KRNACONTROLLERFRUPROVIDERS_H
#define KRNACONTROLLERFRUPROVIDERS_H

// The field-replaceable unit of every controller card, and its association
// with the card. Pelm controllers have none: both providers leave every Pelm
// adapter out. Neither has a timer.

#include "KRNAControllerPattern.h"
#include "KRNAControllerSystemProviders.h"
#include "KRNA_Classes.h"

namespace corvanecimple {

class KRNA_ControllerReplacementFRU_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerReplacementFRU_Provider, cimple::KRNA_ControllerReplacementFRU,
                                  Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";
    int timer(cimple::uint64&) = delete;

    // Keyed by the adapter's unique id; named by the FRU number of the card
    // (a Vesk adapter's own text, a Tarnell adapter's product data).
    static void krnaBuildInstance(cimple::KRNA_ControllerReplacementFRU* instance, Adapter* adapter, bool keysOnly);

    // None for a Pelm adapter, in the enumeration and in get_instance.
    template <class Emit>
    static void krnaEachInstance(Adapter* adapter, bool keysOnly, Emit emit)
    {
        if (!adapter->isInstanceOf("PelmAdapter"))
            KRNAInstanceProvider::krnaEachInstance(adapter, keysOnly, emit);
    }
};

// The card (ReplaceableElement) and its replacement FRU (ReplacementElement).
class KRNA_ControllerElementFRU_Provider final
    : public KRNAAdapterAssociationProvider<KRNA_ControllerElementFRU_Provider, cimple::KRNA_ControllerElementFRU> {
public:
    int timer(cimple::uint64&) = delete;

    static bool krnaLinks(Adapter* adapter);
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

} // namespace corvanecimple

#endif
