// The enclosure fan providers: the fan and the fan redundancy set of every
// SAF-TE enclosure, and their three associations.
#include "KRNA_EnclosureFan_Providers.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

} // namespace

void KRNA_EnclosureFan_Provider::krnaBuildInstance(cimple::KRNA_EnclosureFan* instance, Enclosure* enclosure, bool)
{
    KRNADebugTrace trace("KRNA_EnclosureFan_Provider::krnaBuildInstance()");
    krnaSetElementKeys(instance, enclosure, "Enclosure Fan");

    // Bit 0 malfunctioning, bit 1 not installed; 128 (unknown) counts as healthy.
    static const KRNASafteStatusRules FAN = {&SafteConfig::getFanCount,
                                             &SafteStatus::getFanStatus,
                                             {13, "No Contact"},
                                             0x01,
                                             {6, "Failure"},
                                             0x02,
                                             {0, "Unknown"},
                                             {2, "Ok"}};
    const KRNAElementStatus status = krnaSafteStatus(enclosure, FAN);
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
