#ifndef KRNA_ENCLOSUREPOWERSUPPLY_PROVIDERS_H
#define KRNA_ENCLOSUREPOWERSUPPLY_PROVIDERS_H

// The power of every SAF-TE enclosure: one power supply that sums up the
// enclosure's supplies, one power-supply redundancy set, and the
// associations that tie the supply to the enclosure's fan, to its computer
// system and to the set. SES-2 devices have none.

#include "KRNAEnclosureElements.h"
#include "KRNA_Classes.h"
#include "KRNA_EnclosureComputerSystem_Provider.h"
#include "KRNA_EnclosureFan_Providers.h"

namespace corvanecimple {

class KRNA_EnclosurePowerSupply_Provider final
    : public KRNAInstanceProvider<KRNA_EnclosurePowerSupply_Provider, cimple::KRNA_EnclosurePowerSupply, Enclosure> {
public:
    static constexpr const char* WALKED_CLASS = "Enclosure";

    // Keys, Name and ElementName by the enclosure element id, and the status
    // of the first supply: without SAF-TE configuration or status {0}
    // "Unknown"; otherwise {13} "OK" first when the configuration counts no
    // supplies, then by the first supply's status byte: bit 4 {6} "Failure",
    // else bit 5 {13} "OK", else {0} "OK". keysOnly is not honoured.
    static void krnaBuildInstance(cimple::KRNA_EnclosurePowerSupply* instance, Enclosure* enclosure, bool keysOnly);
};

class KRNA_EnclosurePowerSupplyRedundancySet_Provider final
    : public KRNAInstanceProvider<KRNA_EnclosurePowerSupplyRedundancySet_Provider,
                                  cimple::KRNA_EnclosurePowerSupplyRedundancySet, Enclosure> {
public:
    static constexpr const char* WALKED_CLASS = "Enclosure";

    // InstanceID the enclosure element id, and the captions.
    static void krnaBuildInstance(cimple::KRNA_EnclosurePowerSupplyRedundancySet* instance, Enclosure* enclosure,
                                  bool keysOnly);
};

class KRNA_EnclosurePowerSupplyAssociatedFan_Provider final
    : public KRNAEnclosureLinkProvider<KRNA_EnclosurePowerSupplyAssociatedFan_Provider,
                                       cimple::KRNA_EnclosurePowerSupplyAssociatedFan, KRNA_EnclosureFan_Provider,
                                       &cimple::KRNA_EnclosurePowerSupplyAssociatedFan::Antecedent,
                                       KRNA_EnclosurePowerSupply_Provider,
                                       &cimple::KRNA_EnclosurePowerSupplyAssociatedFan::Dependent> {};

class KRNA_EnclosurePowerSupplySystemDevice_Provider final
    : public KRNAEnclosureLinkProvider<KRNA_EnclosurePowerSupplySystemDevice_Provider,
                                       cimple::KRNA_EnclosurePowerSupplySystemDevice,
                                       KRNA_EnclosureComputerSystem_Provider,
                                       &cimple::KRNA_EnclosurePowerSupplySystemDevice::GroupComponent,
                                       KRNA_EnclosurePowerSupply_Provider,
                                       &cimple::KRNA_EnclosurePowerSupplySystemDevice::PartComponent> {};

// Serves no association: its enumeration is empty and every get answers 61
// (not supported), without a configuration walk. Its krnaBuildMap would
// link each enclosure's power-supply redundancy set and power supply.
class KRNA_EnclosurePowerSupplyMemberOfCollection_Provider final
    : public KRNAEnclosureLinkProvider<KRNA_EnclosurePowerSupplyMemberOfCollection_Provider,
                                       cimple::KRNA_EnclosurePowerSupplyMemberOfCollection,
                                       KRNA_EnclosurePowerSupplyRedundancySet_Provider,
                                       &cimple::KRNA_EnclosurePowerSupplyMemberOfCollection::Collection,
                                       KRNA_EnclosurePowerSupply_Provider,
                                       &cimple::KRNA_EnclosurePowerSupplyMemberOfCollection::Member> {
public:
    int get_instance(const Class*, Class*&)
    {
        KRNADebugTrace trace(traceNames().getInstance.c_str());
        return cimple::GET_INSTANCE_UNSUPPORTED;
    }
    int enum_instances(const Class*, cimple::Enum_Instances_Handler<Class>*)
    {
        KRNADebugTrace trace(traceNames().enumInstances.c_str());
        return cimple::ENUM_INSTANCES_OK;
    }
};

} // namespace corvanecimple

#endif
