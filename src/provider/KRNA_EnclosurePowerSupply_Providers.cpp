// The enclosure power supply providers: the power supply and the
// power-supply redundancy set of every SAF-TE enclosure, and their three
// associations.
#include "KRNA_EnclosurePowerSupply_Providers.h"

#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"

namespace corvanecimple {

void KRNA_EnclosurePowerSupply_Provider::krnaBuildInstance(cimple::KRNA_EnclosurePowerSupply* instance,
                                                           Enclosure* enclosure, bool)
{
    KRNADebugTrace trace("KRNA_EnclosurePowerSupply_Provider::krnaBuildInstance()");
    krnaSetElementKeys(instance, enclosure, "Enclosure Power Supply");
    instance->ElementName.set(instance->DeviceID.value);

    KRNAElementStatus status;
    const SafteConfig* config = enclosure->getSafteConfig();
    const SafteStatus* safte = enclosure->getSafteStatus();
    if (!config || !safte) {
        status.add(0, "Unknown");
    } else {
        if (config->getPowerSupplyCount() == 0)
            status.add(13, "OK");
        // Only the first supply's byte counts; an operational supply is 0 here.
        const unsigned char supply0 = safte->ucPowerSupplyStatus[0];
        if (supply0 & 0x10)
            status.add(6, "Failure");
        else if (supply0 & 0x20)
            status.add(13, "OK");
        else
            status.add(0, "OK");
    }
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
