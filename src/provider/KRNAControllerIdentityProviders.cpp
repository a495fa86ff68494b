// The controller BIOS, driver and firmware identity providers and their
// associations with the controller's computer system.
#include "KRNAControllerIdentityProviders.h"

#include <cstdlib>
#include <string>

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

const KRNAIdentityKind BIOS = {"Corvane BIOS Version",
                               "Controller BIOS Details (BIOS Version and Build Number)",
                               11,
                               "BIOS/FCode",
                               &Adapter::getBiosBuildNum,
                               &Adapter::getBiosVersion,
                               true};
const KRNAIdentityKind DRIVER = {"Corvane Driver Version",
                                 "Controller Driver Details (Device Driver Version and Build Number)",
                                 2,
                                 "Driver",
                                 &Adapter::getDriverBuildNum,
                                 &Adapter::getDeviceDriverVersion,
                                 true};
const KRNAIdentityKind FIRMWARE = {"Corvane Firmware Version",
                                   "Controller Firmware Details (Firmware Version , Build Number)",
                                   10,
                                   "Firmware",
                                   &Adapter::getFwBuildNum,
                                   &Adapter::getFirmwareVersion,
                                   false};

} // namespace

KRNAPelmVersion::KRNAPelmVersion(const char* textIN) : split(false)
{
    const std::string text = textIN ? textIN : "";
    version = text;
    const size_t open = text.find('(');
    const size_t close = text.rfind(')');
    // A ")" that stands before the first "(" closes nothing: the text stays whole.
    if (open == std::string::npos || close == std::string::npos || close < open)
        return;
    split = true;
    build = text.substr(open + 1, close - open - 1);
    std::string head = text.substr(0, open);
    if (!head.empty() && head.back() == ' ')
        head.pop_back();
    version = head;
}

long KRNAPelmVersion::buildNumber() const { return strtol(build.c_str(), nullptr, 10); }

void krnaBuildSoftwareIdentity(cimple::CIM_SoftwareIdentity* instance, Adapter* adapter, const KRNAIdentityKind& kind)
{
    instance->InstanceID.set(krnaAdapterUniqueID(adapter));
    instance->Caption.set(kind.caption);
    instance->Description.set(kind.description);
    instance->MajorVersion.set(9999);
    instance->MinorVersion.set(9999);
    instance->RevisionNumber.set(9999);
    const uint32_t buildNumber = (adapter->*kind.buildNumber)();
    instance->BuildNumber.set(static_cast<cimple::uint16>(buildNumber));
    const char* version = (adapter->*kind.version)();
    instance->VersionString.set(version);
    const cimple::String vendor = krnaAdapterVendor(adapter);
    instance->Manufacturer.set(adapter->getDeviceVendor()[0] != '\0' ? vendor : cimple::String("ZEQ"));
    cimple::Array_uint16 classifications;
    classifications.append(kind.classification);
    instance->Classifications.set(classifications);
    cimple::Array_String descriptions;
    descriptions.append(kind.classificationDescription);
    instance->ClassificationDescriptions.set(descriptions);
    cimple::String serial;
    KRNAProvUtil::getAdapterSerialNumberString(adapter, serial);
    instance->SerialNumber.set(serial);

    if (!kind.pelmParsing || !adapter->isInstanceOf("PelmAdapter"))
        return;
    const KRNAPelmVersion parsed((adapter->*kind.version)());
    if (!parsed.split)
        return;
    instance->VersionString.set(parsed.version);
    if (!parsed.build.empty() && buildNumber == 0)
        instance->BuildNumber.set(static_cast<cimple::uint16>(parsed.buildNumber()));
}

// ---- the identities ----------------------------------------------------------------

void KRNA_ControllerBIOSSoftwareIdentity_Provider::krnaBuildInstance(
    cimple::KRNA_ControllerBIOSSoftwareIdentity* instance, Adapter* adapter, bool)
{
    KRNADebugTrace trace("KRNA_ControllerBIOSSoftwareIdentity_Provider::krnaBuildInstance()");
    krnaBuildSoftwareIdentity(instance, adapter, BIOS);
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerBIOSSoftwareIdentity_Provider);

void KRNA_ControllerDriverSoftwareIdentity_Provider::krnaBuildInstance(
    cimple::KRNA_ControllerDriverSoftwareIdentity* instance, Adapter* adapter, bool)
{
    KRNADebugTrace trace("KRNA_ControllerDriverSoftwareIdentity_Provider::krnaBuildInstance()");
    krnaBuildSoftwareIdentity(instance, adapter, DRIVER);
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerDriverSoftwareIdentity_Provider);

void KRNA_ControllerFirmwareSoftwareIdentity_Provider::krnaBuildInstance(
    cimple::KRNA_ControllerFirmwareSoftwareIdentity* instance, Adapter* adapter, bool)
{
    KRNADebugTrace trace("KRNA_ControllerFirmwareSoftwareIdentity_Provider::krnaBuildInstance()");
    krnaBuildSoftwareIdentity(instance, adapter, FIRMWARE);
}

void KRNA_ControllerFirmwareSoftwareIdentity_Provider::onEnumStart(unsigned long adapters)
{
    logger.debug("(KRNA_ControllerFirmwareSoftwareIdentity) enum_instances() No of adapters = %d\n",
                 static_cast<int>(adapters));
}

void KRNA_ControllerFirmwareSoftwareIdentity_Provider::onGetStart(unsigned long adapters)
{
    logger.debug("(KRNA_ControllerFirmwareSoftwareIdentity) get_instance() No of adapters = %d\n",
                 static_cast<int>(adapters));
}

void KRNA_ControllerFirmwareSoftwareIdentity_Provider::onGetMatch()
{
    logger.debug("(KRNA_ControllerFirmwareSoftwareIdentity) get_instance() Key matches \n");
}

void KRNA_ControllerFirmwareSoftwareIdentity_Provider::onGetFound()
{
    logger.debug("Exiting - (KRNA_ControllerFirmwareSoftwareIdentity) get_instance() Instance Found\n");
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerFirmwareSoftwareIdentity_Provider);

// ---- the associations ----------------------------------------------------------------

void KRNA_ControllerElementBIOSIdentity_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter)
{
    krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerBIOSSoftwareIdentity_Provider>(adapter),
             &Class::Dependent, krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerElementBIOSIdentity_Provider);

void KRNA_ControllerElementDriverIdentity_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map,
                                                                    Adapter* adapter)
{
    krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerDriverSoftwareIdentity_Provider>(adapter),
             &Class::Dependent, krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerElementDriverIdentity_Provider);

void KRNA_ControllerElementFirmwareIdentity_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map,
                                                                      Adapter* adapter)
{
    krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerFirmwareSoftwareIdentity_Provider>(adapter),
             &Class::Dependent, krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerElementFirmwareIdentity_Provider);

} // namespace corvanecimple
