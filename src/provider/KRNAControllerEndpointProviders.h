#ifndef KRNACONTROLLERENDPOINTPROVIDERS_H
#define KRNACONTROLLERENDPOINTPROVIDERS_H

// The SCSI access side of every port of every controller: a SCSI protocol
// endpoint, a SCSI protocol controller and a connectivity collection per
// port, all three carrying the port identifier like the port's logical port,
// and the associations that hang them on the logical port, on the
// controller's computer system and on each other; and, per adapter, the card
// that realizes the port controller. The connectivity collection's build is
// also the end the disk drives' collection memberships give a port, the
// protocol controller's the end of the volumes' protocol controllers.

#include "KRNAControllerPattern.h"
#include "KRNAControllerPortProviders.h"
#include "KRNAControllerSystemProviders.h"
#include "KRNA_Classes.h"

namespace corvanecimple {

class KRNA_ControllerSCSIProtocolEndpoint_Provider final
    : public KRNAPortInstanceProvider<KRNA_ControllerSCSIProtocolEndpoint_Provider,
                                      cimple::KRNA_ControllerSCSIProtocolEndpoint> {
public:
    // Named by the port identifier; its protocol and connection by the port
    // channel's type. keysOnly sets the four keys alone.
    static void krnaBuildInstance(cimple::KRNA_ControllerSCSIProtocolEndpoint* instance, RaidObject* port,
                                  bool keysOnly);
};

class KRNA_ControllerSCSIProtocolController_Provider final
    : public KRNAPortInstanceProvider<KRNA_ControllerSCSIProtocolController_Provider,
                                      cimple::KRNA_ControllerSCSIProtocolController> {
public:
    // The four keys, the port identifier the device id; nothing else.
    static void krnaBuildInstance(cimple::KRNA_ControllerSCSIProtocolController* instance, RaidObject* port,
                                  bool keysOnly);
};

class KRNA_ControllerConnectivityCollection_Provider final
    : public KRNAPortInstanceProvider<KRNA_ControllerConnectivityCollection_Provider,
                                      cimple::KRNA_ControllerConnectivityCollection> {
public:
    // The port identifier and a name such as "Port 2 Connectivity".
    static void krnaBuildInstance(cimple::KRNA_ControllerConnectivityCollection* instance, RaidObject* port,
                                  bool keysOnly);
};

// A port's connectivity collection (Collection) and its endpoint (Member).
class KRNA_ControllerMemberOfCollection_Provider final
    : public KRNAPortAssociationProvider<KRNA_ControllerMemberOfCollection_Provider,
                                         cimple::KRNA_ControllerMemberOfCollection> {
public:
    static void krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter* adapter, RaidObject* port);
};

// A port's logical port (Antecedent) and its endpoint (Dependent).
class KRNA_ControllerDeviceSAPImplementation_Provider final
    : public KRNAPortAssociationProvider<KRNA_ControllerDeviceSAPImplementation_Provider,
                                         cimple::KRNA_ControllerDeviceSAPImplementation> {
public:
    static void krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter* adapter, RaidObject* port);
};

// The controller's computer system (Antecedent) and a port's endpoint (Dependent).
class KRNA_ControllerHostedAccessPoint_Provider final
    : public KRNAPortAssociationProvider<KRNA_ControllerHostedAccessPoint_Provider,
                                         cimple::KRNA_ControllerHostedAccessPoint> {
public:
    static void krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter* adapter, RaidObject* port);
};

// A port's endpoint (AvailableSAP) and its protocol controller (ManagedElement).
class KRNA_ControllerSAPAvailableForElement_Provider final
    : public KRNAPortAssociationProvider<KRNA_ControllerSAPAvailableForElement_Provider,
                                         cimple::KRNA_ControllerSAPAvailableForElement> {
public:
    static void krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter* adapter, RaidObject* port);
};

// The controller's card (Antecedent) and its port controller (Dependent),
// for every adapter, with ports or without.
class KRNA_ControllerRealizesCard_Provider final
    : public KRNAAdapterAssociationProvider<KRNA_ControllerRealizesCard_Provider,
                                            cimple::KRNA_ControllerRealizesCard> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

} // namespace corvanecimple

#endif
