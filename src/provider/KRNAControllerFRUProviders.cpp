// The controller replacement FRU provider and its association with the card.
#include "KRNAControllerFRUProviders.h"

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "VeskAdapter.h"

namespace corvanecimple {

void KRNA_ControllerReplacementFRU_Provider::krnaBuildInstance(cimple::KRNA_ControllerReplacementFRU* instance,
                                                              Adapter* adapter, bool)
{
    KRNADebugTrace trace("KRNA_ControllerReplacementFRU_Provider::krnaBuildInstance()");
    instance->InstanceID.set(krnaAdapterUniqueID(adapter));
    instance->Caption.set("Controller FRU");
    instance->CustomerReplaceable.set(false);
    cimple::String vendor;
    KRNAProvUtil::getAdapterVendorName(adapter, vendor);
    instance->Vendor.set(vendor);
    if (adapter->isInstanceOf("VeskAdapter"))
        instance->ElementName.set(static_cast<VeskAdapter*>(adapter)->getFRUNumber());
    if (adapter->isInstanceOf("TarnellAdapter")) {
        const AdapterVPDInfo* vpd = static_cast<TarnellAdapter*>(adapter)->getAdapterVPDInfo();
        if (vpd)
            instance->ElementName.set(vpd->FRU.c_str());
    }
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerReplacementFRU_Provider);

bool KRNA_ControllerElementFRU_Provider::krnaLinks(Adapter* adapter) { return !adapter->isInstanceOf("PelmAdapter"); }

void KRNA_ControllerElementFRU_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter)
{
    krnaLink(map, &Class::ReplaceableElement, krnaEnd<KRNA_ControllerCard_Provider>(adapter),
             &Class::ReplacementElement, krnaEnd<KRNA_ControllerReplacementFRU_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerElementFRU_Provider);

} // namespace corvanecimple
