#ifndef KRNA_ENCLOSUREFAN_PROVIDERS_H
#define KRNA_ENCLOSUREFAN_PROVIDERS_H

// The cooling of every SAF-TE enclosure: one fan that sums up the
// enclosure's fans, one fan redundancy set, and the associations that put
// the fan into the enclosure's computer system and into the set. SES-2
// devices have none.

#include "KRNAEnclosureElements.h"
#include "KRNA_Classes.h"
#include "KRNA_EnclosureComputerSystem_Provider.h"

namespace corvanecimple {

class KRNA_EnclosureFan_Provider final
    : public KRNAInstanceProvider<KRNA_EnclosureFan_Provider, cimple::KRNA_EnclosureFan, Enclosure> {
public:
    static constexpr const char* WALKED_CLASS = "Enclosure";

    // Keys by the enclosure element id, and the status of the first fan:
    // without SAF-TE configuration or status {0} "Unknown"; otherwise
    // {13} "No Contact" first when the configuration counts no fans, then by
    // the first fan's status byte: bit 0 {6} "Failure", else bit 1 {0}
    // "Unknown", else {2} "Ok". keysOnly is not honoured.
    static void krnaBuildInstance(cimple::KRNA_EnclosureFan* instance, Enclosure* enclosure, bool keysOnly);

    static void onGetNotFound(unsigned long enclosures);
};

class KRNA_EnclosureFanRedundancySet_Provider final
    : public KRNAInstanceProvider<KRNA_EnclosureFanRedundancySet_Provider, cimple::KRNA_EnclosureFanRedundancySet,
                                  Enclosure> {
public:
    static constexpr const char* WALKED_CLASS = "Enclosure";

    // InstanceID the enclosure element id, and the captions.
    static void krnaBuildInstance(cimple::KRNA_EnclosureFanRedundancySet* instance, Enclosure* enclosure,
                                  bool keysOnly);
};

class KRNA_EnclosureFanSystemDevice_Provider final
    : public KRNAEnclosureLinkProvider<KRNA_EnclosureFanSystemDevice_Provider, cimple::KRNA_EnclosureFanSystemDevice,
                                       KRNA_EnclosureComputerSystem_Provider,
                                       &cimple::KRNA_EnclosureFanSystemDevice::GroupComponent,
                                       KRNA_EnclosureFan_Provider,
                                       &cimple::KRNA_EnclosureFanSystemDevice::PartComponent> {};

class KRNA_EnclosureFanConcreteDependency_Provider final
    : public KRNAEnclosureLinkProvider<KRNA_EnclosureFanConcreteDependency_Provider,
                                       cimple::KRNA_EnclosureFanConcreteDependency,
                                       KRNA_EnclosureComputerSystem_Provider,
                                       &cimple::KRNA_EnclosureFanConcreteDependency::Antecedent,
                                       KRNA_EnclosureFan_Provider,
                                       &cimple::KRNA_EnclosureFanConcreteDependency::Dependent> {};

class KRNA_EnclosureFanMemberOfCollection_Provider final
    : public KRNAEnclosureLinkProvider<KRNA_EnclosureFanMemberOfCollection_Provider,
                                       cimple::KRNA_EnclosureFanMemberOfCollection,
                                       KRNA_EnclosureFanRedundancySet_Provider,
                                       &cimple::KRNA_EnclosureFanMemberOfCollection::Collection,
                                       KRNA_EnclosureFan_Provider,
                                       &cimple::KRNA_EnclosureFanMemberOfCollection::Member> {};

} // namespace corvanecimple

#endif
