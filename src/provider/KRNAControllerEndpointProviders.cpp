// The controller SCSI protocol endpoint, protocol controller and
// connectivity collection providers and their associations.
#include "KRNAControllerEndpointProviders.h"

#include <cstdio>

#include "RaidModel/Interface/Channel.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

} // namespace

// ---- the instances -----------------------------------------------------------------------

void KRNA_ControllerSCSIProtocolEndpoint_Provider::krnaBuildInstance(
    cimple::KRNA_ControllerSCSIProtocolEndpoint* instance, RaidObject* object, bool keysOnly)
{
    KRNADebugTrace trace("KRNA_ControllerSCSIProtocolEndpoint_Provider::krnaBuildInstance()");
    const KRNAPort port(object);
    if (!krnaCheckPort(port, object, logger, "KRNA_ControllerSCSIProtocolEndpoint_Provider"))
        return;
    instance->Name.set(port.identifier());
    instance->CreationClassName.set(cimple::KRNA_ControllerSCSIProtocolEndpoint::static_meta_class.name);
    instance->SystemCreationClassName.set(KRNAProvUtil::getSystemCreationClassName());
    instance->SystemName.set(krnaHostName());
    if (keysOnly)
        return;
    const KRNATransport t = krnaTransport(port.channelType());
    instance->ProtocolIFType.set(t.protocolIFType);
    instance->ConnectionType.set(t.connectionType);
    if (t.protocolIFType == 1)
        instance->OtherTypeDescription.set(t.description);
    instance->Role.set(2);
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerSCSIProtocolEndpoint_Provider);

void KRNA_ControllerSCSIProtocolController_Provider::krnaBuildInstance(
    cimple::KRNA_ControllerSCSIProtocolController* instance, RaidObject* object, bool)
{
    KRNADebugTrace trace("KRNA_ControllerSCSIProtocolController_Provider::krnaBuildInstance()");
    const KRNAPort port(object);
    if (krnaCheckPort(port, object, logger, "KRNA_ControllerSCSIProtocolController_Provider"))
        krnaSetDeviceKeys(instance, port.identifier());
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerSCSIProtocolController_Provider);

void KRNA_ControllerConnectivityCollection_Provider::krnaBuildInstance(
    cimple::KRNA_ControllerConnectivityCollection* instance, RaidObject* object, bool)
{
    KRNADebugTrace trace("KRNA_ControllerConnectivityCollection_Provider::krnaBuildInstance()");
    const KRNAPort port(object);
    if (!krnaCheckPort(port, object, logger, "KRNA_ControllerConnectivityCollection"))
        return;
    instance->InstanceID.set(port.identifier());
    char name[48];
    snprintf(name, sizeof name, "%s %i Connectivity", port.word(), port.number());
    instance->ElementName.set(name);
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerConnectivityCollection_Provider);

// ---- the associations -------------------------------------------------------------------

void KRNA_ControllerMemberOfCollection_Provider::krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter*,
                                                              RaidObject* port)
{
    krnaLink(map, &Class::Collection, krnaEnd<KRNA_ControllerConnectivityCollection_Provider>(port), &Class::Member,
             krnaEnd<KRNA_ControllerSCSIProtocolEndpoint_Provider>(port));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerMemberOfCollection_Provider);

void KRNA_ControllerDeviceSAPImplementation_Provider::krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter*,
                                                                   RaidObject* port)
{
    krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerLogicalPort_Provider>(port), &Class::Dependent,
             krnaEnd<KRNA_ControllerSCSIProtocolEndpoint_Provider>(port));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerDeviceSAPImplementation_Provider);

void KRNA_ControllerHostedAccessPoint_Provider::krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter* adapter,
                                                             RaidObject* port)
{
    krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter), &Class::Dependent,
             krnaEnd<KRNA_ControllerSCSIProtocolEndpoint_Provider>(port));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerHostedAccessPoint_Provider);

void KRNA_ControllerSAPAvailableForElement_Provider::krnaLinkPort(cimple::Instance_Map<Class>& map, Adapter*,
                                                                  RaidObject* port)
{
    krnaLink(map, &Class::AvailableSAP, krnaEnd<KRNA_ControllerSCSIProtocolEndpoint_Provider>(port),
             &Class::ManagedElement, krnaEnd<KRNA_ControllerSCSIProtocolController_Provider>(port));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerSAPAvailableForElement_Provider);

void KRNA_ControllerRealizesCard_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter)
{
    krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerCard_Provider>(adapter), &Class::Dependent,
             krnaEnd<KRNA_ControllerPortController_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerRealizesCard_Provider);

} // namespace corvanecimple
