// The enclosure fan providers: the fan and the fan redundancy set of every
// SAF-TE enclosure, and their three associations.
#include "KRNA_EnclosureFan_Providers.h"

#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

} // namespace

void KRNA_EnclosureFan_Provider::krnaBuildInstance(cimple::KRNA_EnclosureFan* instance, Enclosure* enclosure, bool)
{
    KRNADebugTrace trace("KRNA_EnclosureFan_Provider::krnaBuildInstance()");
    krnaSetElementKeys(instance, enclosure, "Enclosure Fan");

    KRNAElementStatus status;
    const SafteConfig* config = enclosure->getSafteConfig();
    const SafteStatus* safte = enclosure->getSafteStatus();
    if (!config || !safte) {
        status.add(0, "Unknown");
    } else {
        if (config->getFanCount() == 0)
            status.add(13, "No Contact");
        // Only the first fan's byte counts.
        const unsigned char fan0 = safte->ucFanStatus[0];
        if (fan0 & 0x01)
            status.add(6, "Failure");
        else if (fan0 & 0x02)
            status.add(0, "Unknown");
        else
            status.add(2, "Ok");
    }
    status.setOn(instance);
}

void KRNA_EnclosureFan_Provider::onGetNotFound(unsigned long enclosures)
{
    logger.info("Found %d Enclosure(s)", static_cast<int>(enclosures));
}

void KRNA_EnclosureFanRedundancySet_Provider::krnaBuildInstance(cimple::KRNA_EnclosureFanRedundancySet* instance,
                                                                Enclosure* enclosure, bool)
{
    KRNADebugTrace trace("KRNA_EnclosureFanRedundancySet_Provider::krnaBuildInstance()");
    krnaSetRedundancySet(instance, enclosure, "Fan Redundancy Set");
}

CIMPLE_INSTANCE_PROVIDER(KRNA_EnclosureFan_Provider);
CIMPLE_INSTANCE_PROVIDER(KRNA_EnclosureFanRedundancySet_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_EnclosureFanSystemDevice_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_EnclosureFanConcreteDependency_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_EnclosureFanMemberOfCollection_Provider);

} // namespace corvanecimple
