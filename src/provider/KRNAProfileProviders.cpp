// The registered-profile providers and their associations.
#include "KRNAProfileProviders.h"

#include <cimple/cimom.h>

namespace corvanecimple {

const char* const KRNA_INTEROP_NAMESPACE = "root/PG_InterOp";
const char* const KRNA_HOST_NAMESPACE = "root/zeqag";
const char* const KRNA_NAMESPACE = "root/krna";

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

// The class of the host agent's computer system.
const char* const HOST_AGENT_SYSTEM_CLASS = "ZEQXJP_ComputerSystem";

// The host's computer system as the host agent in "root/zeqag" publishes it
// (a copy, in that namespace), or null when the CIM server's enumeration
// fails or holds none with the agent's class and the host's name. With
// `trace`, the walk is logged as the host profile's conformance does.
cimple::CIM_ComputerSystem* findHostComputerSystem(bool trace)
{
    char host[KRNAProvUtil::HOST_NAME_SIZE];
    KRNAProvUtil::getSystemName(host, sizeof host);
    cimple::Ref<cimple::CIM_ComputerSystem> model(cimple::CIM_ComputerSystem::create(false));
    if (!model)
        return nullptr;
    model->Name.set(host);
    model->CreationClassName.set(KRNAProvUtil::getHostSystemCreationClassName());
    cimple::Instance_Enum systems;
    if (cimple::cimom::enum_instances(KRNA_HOST_NAMESPACE, model.ptr(), systems) != 0)
        return nullptr;
    if (trace)
        logger.debug("inside cimmom:enum_instance\n");
    for (; systems.more(); systems.next()) {
        if (trace)
            logger.debug("inside enumerator for loop\n");
        const cimple::CIM_ComputerSystem* system = cimple::cast<cimple::CIM_ComputerSystem>(systems());
        if (!system || system->CreationClassName.value != HOST_AGENT_SYSTEM_CLASS || system->Name.value != host)
            continue;
        if (trace)
            logger.debug("(KRNA_ProfileHHRRegisteredProfileElementConformsToProfileHostComputerSystem_Provider) "
                         "found a static instance()\n");
        cimple::CIM_ComputerSystem* copy = system->clone();
        if (copy)
            copy->_name_space = KRNA_HOST_NAMESPACE;
        return copy;
    }
    return nullptr;
}

// An adapter's port controller as an association end, in "root/krna".
cimple::KRNA_ControllerPortController* portControllerEnd(Adapter* adapter)
{
    cimple::KRNA_ControllerPortController* end = krnaEnd<KRNA_ControllerPortController_Provider>(adapter);
    if (end)
        end->_name_space = KRNA_NAMESPACE;
    return end;
}

void setIfGiven(cimple::Property<cimple::String>& property, const char* text)
{
    if (text)
        property.set(text);
}

} // namespace

// ---- the profiles ------------------------------------------------------------------------

template <class Derived, class CIMClass>
void KRNAProfileProvider<Derived, CIMClass>::krnaBuildInstance(CIMClass* instance, bool)
{
    const KRNAProfileRow& row = Derived::ROW;
    instance->InstanceID.set(row.instanceID);
    instance->RegisteredName.set(row.registeredName);
    setIfGiven(instance->Caption, row.caption);
    setIfGiven(instance->Description, row.description);
    setIfGiven(instance->ElementName, row.elementName);
    instance->RegisteredOrganization.set(11);
    instance->RegisteredVersion.set("1.0.0");
    if (row.interopPath)
        instance->_name_space = KRNA_INTEROP_NAMESPACE;
}

template <class Derived, class CIMClass>
CIMClass* KRNAProfileProvider<Derived, CIMClass>::krnaNew()
{
    CIMClass* instance = CIMClass::create(false);
    if (instance)
        krnaBuildInstance(instance, false);
    return instance;
}

template <class Derived, class CIMClass>
CIMClass* KRNAProfileProvider<Derived, CIMClass>::krnaEnd()
{
    CIMClass* instance = krnaNew();
    if (instance)
        instance->_name_space = KRNA_INTEROP_NAMESPACE;
    return instance;
}

template <class Derived, class CIMClass>
int KRNAProfileProvider<Derived, CIMClass>::enum_instances(const CIMClass*,
                                                            cimple::Enum_Instances_Handler<CIMClass>* handler)
{
    KRNADebugTrace trace(Common::traceNames().enumInstances.c_str());
    if (CIMClass* instance = krnaNew())
        handler->handle(instance);
    Derived::onEnumEnd();
    return cimple::ENUM_INSTANCES_OK;
}

template <class Derived, class CIMClass>
int KRNAProfileProvider<Derived, CIMClass>::get_instance(const CIMClass* model, CIMClass*& instance)
{
    KRNADebugTrace trace(Common::traceNames().getInstance.c_str());
    cimple::Ref<CIMClass> built(krnaNew());
    if (!built || !cimple::key_eq(built.ptr(), model))
        return cimple::GET_INSTANCE_NOT_FOUND;
    if (Derived::ROW.interopPath)
        logger.debug("Keys Matched get_instance() \n");
    instance = built.steal();
    Derived::onGetEnd();
    return cimple::GET_INSTANCE_OK;
}

const KRNAProfileRow KRNA_ProfileHHRRegisteredProfile_Provider::ROW = {
    "KRNA:HHRRegisteredProfile", "HHR Profile", "HostHardwareRAID", "Represents the Registered profile",
    "HostHardwareRAID", true};
const KRNAProfileRow KRNA_ProfileHHRCRegisteredProfile_Provider::ROW = {
    "KRNA:HHRCRegisteredProfile", "HHRC Profile", " HHRC",
    "Represents the HosthardwareRaid controller registered profile", "HostHardwareRAIDController", true};
const KRNAProfileRow KRNA_ProfileCDMv2RegisteredProfile_Provider::ROW = {
    "KRNA:CDMv2RegisteredProfile", "CDMv2 Profile", nullptr, nullptr, nullptr, false};
const KRNAProfileRow KRNA_ProfileDiskDriveLiteRegisteredProfile_Provider::ROW = {
    "KRNA:DiskDriveLiteRegisteredProfile", "DiskDriveLite Profile", nullptr, nullptr, nullptr, false};
const KRNAProfileRow KRNA_ProfileIndicationRegisteredProfile_Provider::ROW = {
    "KRNA:IndicationRegisteredProfile", "Indication Profile", nullptr, nullptr, nullptr, false};
const KRNAProfileRow KRNA_ProfilePhysicalAssetRegisteredProfile_Provider::ROW = {
    "KRNA:PhysicalAssetRegisteredProfile", "PhysicalAsset Profile", nullptr, nullptr, nullptr, false};
const KRNAProfileRow KRNA_ProfileSoftwareInventoryRegisteredProfile_Provider::ROW = {
    "KRNA:SoftwareInventoryRegisteredProfile", "SoftwareInventory Profile", nullptr, nullptr, nullptr, false};

void KRNA_ProfileIndicationRegisteredProfile_Provider::onEnumEnd()
{
    logger.debug("Exiting - (KRNA_ProfileIndicationRegisteredProfile) enum_instances()\n");
}

void KRNA_ProfileIndicationRegisteredProfile_Provider::onGetEnd()
{
    logger.debug("Exiting - (KRNA_ProfileIndicationRegisteredProfile) get_instance() \n");
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ProfileHHRRegisteredProfile_Provider);
CIMPLE_INSTANCE_PROVIDER(KRNA_ProfileHHRCRegisteredProfile_Provider);
CIMPLE_INSTANCE_PROVIDER(KRNA_ProfileCDMv2RegisteredProfile_Provider);
CIMPLE_INSTANCE_PROVIDER(KRNA_ProfileDiskDriveLiteRegisteredProfile_Provider);
CIMPLE_INSTANCE_PROVIDER(KRNA_ProfileIndicationRegisteredProfile_Provider);
CIMPLE_INSTANCE_PROVIDER(KRNA_ProfilePhysicalAssetRegisteredProfile_Provider);
CIMPLE_INSTANCE_PROVIDER(KRNA_ProfileSoftwareInventoryRegisteredProfile_Provider);

// ---- the conformance and system-device associations -----------------------------------------

void KRNA_ProfileHHRRegisteredProfileElementConformsToProfileHostComputerSystem_Provider::krnaBuildMap(
    cimple::Instance_Map<Class>& map)
{
    cimple::CIM_ComputerSystem* host = findHostComputerSystem(true);
    if (host)
        krnaLink(map, &Class::ConformantStandard, KRNA_ProfileHHRRegisteredProfile_Provider::krnaEnd(),
                 &Class::ManagedElement, host);
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ProfileHHRRegisteredProfileElementConformsToProfileHostComputerSystem_Provider);

void KRNA_ProfileHHRCRegisteredProfileElementConformsToProfileControllerPortController_Provider::krnaBuildMap(
    cimple::Instance_Map<Class>& map)
{
    krnaWalk("Adapter", [&](const std::vector<RaidObject*>& adapters) {
        for (RaidObject* o : adapters)
            if (Adapter* adapter = dynamic_cast<Adapter*>(o))
                krnaLink(map, &Class::ConformantStandard, KRNA_ProfileHHRCRegisteredProfile_Provider::krnaEnd(),
                         &Class::ManagedElement, portControllerEnd(adapter));
    });
    logger.debug("(KRNA_ProfileHHRCRegisteredProfileElementConformsToProfileControllerPortController_Provider) "
                 "krnaBuildInstance()exinting\n");
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ProfileHHRCRegisteredProfileElementConformsToProfileControllerPortController_Provider);

void KRNA_ProfileHostComputerSystemSystemDevicePortController_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map)
{
    krnaWalk("Adapter", [&](const std::vector<RaidObject*>& adapters) {
        cimple::Ref<cimple::CIM_ComputerSystem> host(findHostComputerSystem(false));
        if (!host)
            return;
        logger.debug("using #define for ZEQ_computersystem\n");
        for (RaidObject* o : adapters)
            if (Adapter* adapter = dynamic_cast<Adapter*>(o))
                krnaLink(map, &Class::GroupComponent, host->clone(), &Class::PartComponent,
                         portControllerEnd(adapter));
    });
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ProfileHostComputerSystemSystemDevicePortController_Provider);

// ---- the referenced profiles ----------------------------------------------------------------

void KRNA_ProfileHHRReferencedHHRCProfile_Provider::onGetNotFound()
{
    logger.debug("Exiting - (KRNA_ProfileHHRReferencedHHRCProfile_Provider) get_instance() - Not Found\n");
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ProfileHHRReferencedHHRCProfile_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_ProfileHHRReferencedCDMv2Profile_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_ProfileHHRReferencedDiskDriveLiteProfile_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_ProfileHHRReferencedIndicationProfile_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_ProfileHHRReferencedPhysicalAssetProfile_Provider);
CIMPLE_ASSOCIATION_PROVIDER(KRNA_ProfileHHRReferencedSoftwareInventoryProfile_Provider);

} // namespace corvanecimple
