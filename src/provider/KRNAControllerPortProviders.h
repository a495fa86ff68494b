#ifndef KRNACONTROLLERPORTPROVIDERS_H
#define KRNACONTROLLERPORTPROVIDERS_H

// The port side of every controller: one port controller per adapter, one
// logical port per port of the adapter (KRNAControllerUtil::getAdapterPorts),
// and the associations of the port controller with the controller's computer
// system and with its logical ports. The port controller's build is also the
// end that other providers (the registered profiles among them) give an
// adapter's port controller. Both builds fill everything, keys-only or not.

#include "KRNAControllerPattern.h"
#include "KRNAControllerSystemProviders.h"
#include "KRNA_Classes.h"

namespace corvanecimple {

class KRNA_ControllerPortController_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerPortController_Provider, cimple::KRNA_ControllerPortController,
                                  Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    // Keyed as a device of the controller's computer system by the adapter's
    // unique id; its interface by the first channel below the adapter, its
    // PCI slot as identifying information.
    static void krnaBuildInstance(cimple::KRNA_ControllerPortController* instance, Adapter* adapter, bool keysOnly);

    static void onEnumStart(unsigned long adapters);
    static void onEnumEnd(unsigned long adapters);
    static void onGetStart(unsigned long adapters);
    static void onGetMatch();
};

class KRNA_ControllerLogicalPort_Provider final
    : public KRNAPortInstanceProvider<KRNA_ControllerLogicalPort_Provider, cimple::KRNA_ControllerLogicalPort> {
public:
    // Keyed by the port identifier; its type by the port channel's type. An
    // object that is no port is logged and leaves the instance as created.
    static void krnaBuildInstance(cimple::KRNA_ControllerLogicalPort* instance, RaidObject* port, bool keysOnly);

    static void onEnumInstances(unsigned long ports);
};

// The controller's computer system (SystemElement) and its port controller
// (SameElement).
class KRNA_PortControllerLogicalIdentity_Provider final
    : public KRNAAdapterAssociationProvider<KRNA_PortControllerLogicalIdentity_Provider,
                                            cimple::KRNA_PortControllerLogicalIdentity> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

// The port controller (Antecedent) of each of its logical ports (Dependent).
class KRNA_LogicalPortControlledByPortController_Provider final
    : public KRNAPortAssociationProvider<KRNA_LogicalPortControlledByPortController_Provider,
                                         cimple::KRNA_LogicalPortControlledByPortController> {
public:
    static void krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter* adapter, RaidObject* port);
};

} // namespace corvanecimple

#endif
