// The controller computer system, card and product providers.
#include "KRNAControllerSystemProviders.h"

#include <cstdio>
#include <vector>

#include "KRNAControllerUtil.h"
#include "RaidModel/Interface/Channel.h"
#include "VeskAdapter.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

// The first channel of the adapter's subtree, breadth first; null for none.
Channel* firstChannel(Adapter* adapter)
{
    FilterCollection* channels = new FilterCollection(adapter);
    if (!channels)
        return nullptr;
    channels->apply("Channel", false);
    Channel* first = static_cast<Channel*>(channels->elementAt(0));
    delete channels;
    return first;
}

} // namespace

// ---- KRNA_ControllerComputerSystem ---------------------------------------------------

void KRNA_ControllerComputerSystem_Provider::krnaBuildInstance(cimple::KRNA_ControllerComputerSystem* instance,
                                                              Adapter* adapter, bool)
{
    KRNADebugTrace trace("KRNA_ControllerComputerSystem_Provider::krnaBuildInstance()");
    instance->CreationClassName.set(cimple::KRNA_ControllerComputerSystem::static_meta_class.name);
    instance->Name.set(krnaAdapterUniqueID(adapter));
    instance->Caption.set("Corvane RAID Controller");
    instance->ElementName.set("RAID Controller");
    instance->Description.set("RAID Controller");
    instance->NameFormat.set("Other");
    cimple::Array_uint16 status;
    status.append(0);
    if (adapter->getAdapterStatus() == CONTROLLER_STATUS_WORKING)
        status.append(2);
    instance->OperationalStatus.set(status);
    cimple::Array_uint16 dedicated;
    dedicated.append(30);
    instance->Dedicated.set(dedicated);
    instance->copyBackEnabled.set(adapter->IsCopyBackEnabled());
    instance->dataScrubbingActive.set(adapter->IsDataScrubbingActive());
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerComputerSystem_Provider);

// ---- KRNA_ControllerCard ---------------------------------------------------------------

cimple::String KRNA_ControllerCard_Provider::cardModel(Adapter* adapter)
{
    if (!adapter->isInstanceOf("PelmAdapter"))
        return adapter->getDeviceName();
    if (!adapter->getFeature(FeatRaid0) && !adapter->getFeature(FeatRaid1) && !adapter->getFeature(FeatUltra160Scsi))
        return "Non-RAID";
    Channel* channel = firstChannel(adapter);
    if (!channel)
        return "Tolmar";
    switch (channel->getChannelType()) {
    case SCSI:
        return "SCSI Tolmar";
    case SATA:
        return "SATA Tolmar";
    case SAS:
        return "SAS/SATA Tolmar";
    default:
        return "";
    }
}

void KRNA_ControllerCard_Provider::krnaBuildInstance(cimple::KRNA_ControllerCard* instance, Adapter* adapter, bool)
{
    KRNADebugTrace trace("KRNA_ControllerCard_Provider::krnaBuildInstance()");
    instance->CreationClassName.set(cimple::KRNA_ControllerCard::static_meta_class.name);
    instance->Tag.set(krnaAdapterUniqueID(adapter));
    instance->ElementName.set(adapter->getDeviceName());
    logger.debug("Device Name =  %s", adapter->getDeviceName());
    instance->Model.set(cardModel(adapter));
    instance->HostingBoard.set(false);
    instance->Manufacturer.set(krnaAdapterVendor(adapter));
    cimple::String serial;
    KRNAProvUtil::getAdapterSerialNumberString(adapter, serial);
    instance->SerialNumber.set(serial);
    instance->CanBeFRUed.set(!adapter->isInstanceOf("PelmAdapter"));
    if (adapter->isInstanceOf("VeskAdapter")) {
        VeskAdapter* vesk = static_cast<VeskAdapter*>(adapter);
        instance->Version.set(vesk->getCardVersion());
        logger.debug("VeskAdapter version string is populated\n");
        instance->PartNumber.set(vesk->getPartNumber());
    }
}

void KRNA_ControllerCard_Provider::onEnumEnd(unsigned long adapters)
{
    logger.info("Found %d Controller(s)", static_cast<int>(adapters));
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerCard_Provider);

// ---- KRNA_ControllerProduct ------------------------------------------------------------

void KRNA_ControllerProduct_Provider::krnaBuildInstance(cimple::KRNA_ControllerProduct* instance, Adapter* adapter,
                                                       bool)
{
    KRNADebugTrace trace("KRNA_ControllerProduct_Provider::krnaBuildInstance()");
    instance->Name.set(krnaHostName());
    instance->IdentifyingNumber.set(krnaAdapterUniqueID(adapter));
    instance->Vendor.set(krnaAdapterVendor(adapter));
    char version[32];
    snprintf(version, sizeof version, "Build %d", static_cast<int>(adapter->getBuildNum()));
    instance->Version.set(version);
    instance->Caption.set("Controller Product");
    instance->Description.set("Controller Product");
    instance->ElementName.set(adapter->getDeviceName());
    cimple::String serial;
    KRNAProvUtil::getAdapterSerialNumberString(adapter, serial);
    instance->SKUNumber.set(serial);
    instance->WarrantyStartDate.set(cimple::Datetime());
}

void KRNA_ControllerProduct_Provider::onEnumEnd(unsigned long adapters)
{
    logger.info("Found %d  Controller Product(s)", static_cast<int>(adapters));
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerProduct_Provider);

} // namespace corvanecimple
