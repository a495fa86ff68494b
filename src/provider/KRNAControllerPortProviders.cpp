// The controller port controller and logical port providers and their
// associations.
#include "KRNAControllerPortProviders.h"

#include <cstdio>
#include <vector>

#include "RaidModel/Interface/Channel.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

// The interface of the adapter: the type of its first direct channel child.
const char* interfaceText(Adapter* adapter)
{
    std::vector<RaidObject*> channels;
    adapter->getChildren(channels, "Channel", false, true);
    if (channels.empty())
        return "Other";
    switch (static_cast<Channel*>(channels[0])->getChannelType()) {
    case SCSI:
        return "SCSI";
    case SATA:
        return "SATA";
    case SAS:
        return "SAS";
    case SATA_ON_SAS:
        return "SATA on SAS";
    default:
        return "Other";
    }
}

cimple::uint16 portType(int channelType)
{
    switch (channelType) {
    case SCSI:
        return 101;
    case SATA:
        return 92;
    case IDE:
        return 91;
    case SAS:
        return 94;
    default:
        return 2;
    }
}

} // namespace

// ---- KRNA_ControllerPortController -----------------------------------------------------

void KRNA_ControllerPortController_Provider::krnaBuildInstance(cimple::KRNA_ControllerPortController* instance,
                                                              Adapter* adapter, bool)
{
    KRNADebugTrace trace("KRNA_ControllerPortController_Provider::krnaBuildInstance()");
    krnaSetDeviceKeys(instance, krnaAdapterUniqueID(adapter));
    instance->ControllerType.set(1);
    instance->OtherControllerType.set(interfaceText(adapter));
    cimple::Array_String descriptions;
    descriptions.append("PCI Slot");
    instance->IdentifyingDescriptions.set(descriptions);
    char slot[16];
    snprintf(slot, sizeof slot, "%i", adapter->getPhysicalSlot());
    cimple::Array_String info;
    info.append(slot);
    instance->OtherIdentifyingInfo.set(info);
}

void KRNA_ControllerPortController_Provider::onEnumStart(unsigned long adapters)
{
    logger.debug("(KRNA_ControllerPortController_Provider) enum_instances() No of adapters = %d\n",
                 static_cast<int>(adapters));
}

void KRNA_ControllerPortController_Provider::onEnumEnd(unsigned long adapters)
{
    logger.info("Found %d Controller Port Controller(s)", static_cast<int>(adapters));
}

void KRNA_ControllerPortController_Provider::onGetStart(unsigned long adapters)
{
    logger.debug("(KRNA_ControllerPortController_Provider) get_instance() No of adapters = %d\n",
                 static_cast<int>(adapters));
}

void KRNA_ControllerPortController_Provider::onGetMatch()
{
    logger.debug("(KRNA_ControllerPortController_Provider) get_instance() Key matches \n");
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerPortController_Provider);

// ---- KRNA_ControllerLogicalPort --------------------------------------------------------

void KRNA_ControllerLogicalPort_Provider::krnaBuildInstance(cimple::KRNA_ControllerLogicalPort* instance,
                                                           RaidObject* object, bool)
{
    KRNADebugTrace trace("KRNA_ControllerLogicalPort_Provider::krnaBuildInstance()");
    const KRNAPort port(object);
    if (!krnaCheckPort(port, object, logger, "KRNA_ControllerLogicalPort_Provider"))
        return;
    krnaSetDeviceKeys(instance, port.identifier());
    instance->PortType.set(portType(port.channelType()));
    cimple::Array_uint16 status;
    status.append(2);
    instance->OperationalStatus.set(status);
    instance->UsageRestriction.set(4);
    char name[32];
    snprintf(name, sizeof name, "%s %i", port.word(), port.number());
    instance->ElementName.set(name);
}

void KRNA_ControllerLogicalPort_Provider::onEnumInstances(unsigned long ports)
{
    logger.info("Found %d Controller Logical Port(s)", static_cast<int>(ports));
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerLogicalPort_Provider);

// ---- the associations -------------------------------------------------------------------

void KRNA_PortControllerLogicalIdentity_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter)
{
    krnaLink(map, &Class::SystemElement, krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter),
             &Class::SameElement, krnaEnd<KRNA_ControllerPortController_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_PortControllerLogicalIdentity_Provider);

void KRNA_LogicalPortControlledByPortController_Provider::krnaLinkPort(cimple::Instance_Map<Class>& map,
                                                                       Adapter* adapter, RaidObject* port)
{
    krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerPortController_Provider>(adapter), &Class::Dependent,
             krnaEnd<KRNA_ControllerLogicalPort_Provider>(port));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_LogicalPortControlledByPortController_Provider);

} // namespace corvanecimple
