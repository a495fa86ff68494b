// The enclosure computer system provider: every SAF-TE enclosure and SES-2
// enclosure services device as a KRNA_EnclosureComputerSystem.
#include "KRNA_EnclosureComputerSystem_Provider.h"

#include "KRNAEnclosureElements.h"

namespace corvanecimple {

void KRNA_EnclosureComputerSystem_Provider::krnaBuildInstance(cimple::KRNA_EnclosureComputerSystem* instance,
                                                              PhysicalDevice* enclosure, bool)
{
    KRNADebugTrace trace("KRNA_EnclosureComputerSystem_Provider::krnaBuildInstance()");
    instance->CreationClassName.set(cimple::KRNA_EnclosureComputerSystem::static_meta_class.name);
    cimple::String model;
    KRNAProvUtil::getEnclosureModel(enclosure, model);
    instance->Name.set(model);
    instance->Caption.set("Corvane Enclosure");
    instance->Description.set("Corvane Enclosure");
    char uniqueID[KRNAProvUtil::UNIQUE_ID_SIZE] = "";
    KRNAProvUtil::getAdapterUniqueID(enclosure->getAdapter(), uniqueID);
    instance->ElementName.set(uniqueID);
    KRNAElementStatus status;
    status.add(2, "Ok");
    status.setOn(instance);
    instance->OtherEnabledState.set("");
    instance->NameFormat.set("Other");
    instance->OtherIdentifyingInfo.set(krnaOne(cimple::String("Other")));
    instance->Dedicated.set(krnaOne<cimple::uint16>(3));
    instance->OtherDedicatedDescriptions.set(krnaOne(cimple::String("Other")));
}

CIMPLE_INSTANCE_PROVIDER(KRNA_EnclosureComputerSystem_Provider);

} // namespace corvanecimple
