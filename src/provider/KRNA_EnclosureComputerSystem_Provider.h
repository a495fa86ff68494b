#ifndef KRNA_ENCLOSURECOMPUTERSYSTEM_PROVIDER_H
#define KRNA_ENCLOSURECOMPUTERSYSTEM_PROVIDER_H

// KRNA_EnclosureComputerSystem: every storage enclosure as a computer system
// of its own, the SAF-TE enclosures first, then the SES-2 enclosure services
// devices. Its krnaBuildInstance is the enclosure end of the enclosure
// elements' associations.

#include <vector>

#include "KRNAProviderPattern.h"
#include "KRNA_Classes.h"
#include "RaidModel/Interface/PhysicalDevice.h"

namespace corvanecimple {

class KRNA_EnclosureComputerSystem_Provider final
    : public KRNAInstanceProvider<KRNA_EnclosureComputerSystem_Provider, cimple::KRNA_EnclosureComputerSystem,
                                  PhysicalDevice> {
public:
    // Two passes over one configuration: the SAF-TE enclosures, then the
    // SES-2 devices.
    static std::vector<const char*> walkedClasses() { return {"Enclosure", "SES2EnclosureDevice"}; }

    // Fills the system of a SAF-TE enclosure or an SES-2 device from what
    // both are as physical devices: Name the trimmed model text, ElementName
    // the unique id of the owning adapter, and a fixed status {2} "Ok" (the
    // SAF-TE data is not consulted). keysOnly is not honoured.
    static void krnaBuildInstance(cimple::KRNA_EnclosureComputerSystem* instance, PhysicalDevice* enclosure,
                                  bool keysOnly);
};

} // namespace corvanecimple

#endif
