// The enclosure temperature sensor providers: the sensor of every SAF-TE
// enclosure and its system-device association.
#include "KRNA_EnclosureTempSensor_Providers.h"

namespace corvanecimple {

void KRNA_EnclosureTempSensor_Provider::krnaBuildInstance(cimple::KRNA_EnclosureTempSensor* instance,
                                                          Enclosure* enclosure, bool)
{
    KRNADebugTrace trace("KRNA_EnclosureTempSensor_Provider::krnaBuildInstance()");
    krnaSetElementKeys(instance, enclosure, "Enclosure Temperature Sensor");

    KRNAElementStatus status;
    const SafteStatus* safte = enclosure->getSafteStatus();
    if (!enclosure->getSafteConfig() || !safte) {
        status.add(0, "Unknown");
        instance->Status.set("Unknown");
    } else if (safte->ucTempOutOfRangeFlag1 || safte->ucTempOutOfRangeFlag2) {
        status.add(6, "Failure");
        instance->Status.set("Error");
    } else {
        status.add(2, "OK");
        instance->Status.set("OK");
    }
    status.setOn(instance);
}

CIMPLE_INSTANCE_PROVIDER(KRNA_EnclosureTempSensor_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_EnclosureTempSensorSystemDevice_Provider);

} // namespace corvanecimple
