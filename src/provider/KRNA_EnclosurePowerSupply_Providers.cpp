// The enclosure power supply providers: the power supply and the
// power-supply redundancy set of every SAF-TE enclosure, and their three
// associations.
#include "KRNA_EnclosurePowerSupply_Providers.h"

namespace corvanecimple {

void KRNA_EnclosurePowerSupply_Provider::krnaBuildInstance(cimple::KRNA_EnclosurePowerSupply* instance,
                                                           Enclosure* enclosure, bool)
{
    KRNADebugTrace trace("KRNA_EnclosurePowerSupply_Provider::krnaBuildInstance()");
    krnaSetElementKeys(instance, enclosure, "Enclosure Power Supply");
    instance->ElementName.set(instance->DeviceID.value);

    // Bit 4 malfunctioning, bit 5 installed or not; an operational supply
    // is 0 "OK" here, and the texts are in capitals.
    static const KRNASafteStatusRules SUPPLY = {&SafteConfig::getPowerSupplyCount,
                                                &SafteStatus::getPowerSupplyStatus,
                                                {13, "OK"},
                                                0x10,
                                                {6, "Failure"},
                                                0x20,
                                                {13, "OK"},
                                                {0, "OK"}};
    const KRNAElementStatus status = krnaSafteStatus(enclosure, SUPPLY);
    status.setOn(instance);
}

void KRNA_EnclosurePowerSupplyRedundancySet_Provider::krnaBuildInstance(
    cimple::KRNA_EnclosurePowerSupplyRedundancySet* instance, Enclosure* enclosure, bool)
{
    KRNADebugTrace trace("KRNA_EnclosurePowerSupplyRedundancySet_Provider::krnaBuildInstance()");
    krnaSetRedundancySet(instance, enclosure, "Power Supply Redundancy Set");
}

CIMPLE_INSTANCE_PROVIDER(KRNA_EnclosurePowerSupply_Provider);
CIMPLE_INSTANCE_PROVIDER(KRNA_EnclosurePowerSupplyRedundancySet_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_EnclosurePowerSupplyAssociatedFan_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_EnclosurePowerSupplySystemDevice_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_EnclosurePowerSupplyMemberOfCollection_Provider);

} // namespace corvanecimple
