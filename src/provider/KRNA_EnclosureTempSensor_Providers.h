#ifndef KRNA_ENCLOSURETEMPSENSOR_PROVIDERS_H
#define KRNA_ENCLOSURETEMPSENSOR_PROVIDERS_H

// The temperature watch of every SAF-TE enclosure: one sensor that says
// whether the enclosure reports any temperature out of range (no value is
// published), and its place in the enclosure's computer system. SES-2
// devices have none.

#include "KRNAEnclosureElements.h"
#include "KRNA_Classes.h"
#include "KRNA_EnclosureComputerSystem_Provider.h"

namespace corvanecimple {

class KRNA_EnclosureTempSensor_Provider final
    : public KRNAInstanceProvider<KRNA_EnclosureTempSensor_Provider, cimple::KRNA_EnclosureTempSensor, Enclosure> {
public:
    static constexpr const char* WALKED_CLASS = "Enclosure";

    // Keys by the enclosure element id, and the status: without SAF-TE
    // configuration or status {0} "Unknown" "Unknown"; either out-of-range
    // flag byte set {6} "Failure" "Error"; otherwise {2} "OK" "OK".
    // keysOnly is not honoured.
    static void krnaBuildInstance(cimple::KRNA_EnclosureTempSensor* instance, Enclosure* enclosure, bool keysOnly);
};

class KRNA_EnclosureTempSensorSystemDevice_Provider final
    : public KRNAEnclosureLinkProvider<KRNA_EnclosureTempSensorSystemDevice_Provider,
                                       cimple::KRNA_EnclosureTempSensorSystemDevice,
                                       KRNA_EnclosureComputerSystem_Provider,
                                       &cimple::KRNA_EnclosureTempSensorSystemDevice::GroupComponent,
                                       KRNA_EnclosureTempSensor_Provider,
                                       &cimple::KRNA_EnclosureTempSensorSystemDevice::PartComponent> {
public:
    // Counts one provider less, without a scope trace.
    int unload() override
    {
        KRNAProvider::unload();
        return cimple::UNLOAD_OK;
    }
};

} // namespace corvanecimple

#endif
