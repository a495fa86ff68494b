// The storage volume provider: every logical drive as a KRNA_StorageVolume.
#include "KRNA_StorageVolume_Provider.h"

#include <cstdio>

#include "RaidLevel.h"
#include "RaidModel/Interface/Adapter.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

const cimple::uint32 UNSET = 0xFFFFFFFF;

} // namespace

cimple::uint16 KRNA_StorageVolume_Provider::operationalStatus(EnumLogicalDeviceState state)
{
    switch (state) {
    case OKAY:
    case MIGRATING:
        return 2;
    case CRITICAL:
    case CRITICAL_MIGRATING:
        return 3;
    default:
        return 6;
    }
}

cimple::Datetime KRNA_StorageVolume_Provider::installDate(const TIMESTAMP_STRUCT& stamp)
{
    cimple::Datetime date;
    if (stamp.year == UNSET || stamp.month == UNSET || stamp.day == UNSET)
        return date;
    if (stamp.hour == UNSET || stamp.minute == UNSET || stamp.second == UNSET) {
        date.set_timestamp(stamp.year, stamp.month, stamp.day, 0, 0, 0, 0, 0);
        return date;
    }
    // The model counts milliseconds, the CIM time stamp microseconds.
    const cimple::uint32 milli = stamp.msecond == UNSET ? 0 : stamp.msecond;
    if (milli < 1000)
        date.set_timestamp(stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute, stamp.second, milli * 1000, 0);
    return date;
}

void KRNA_StorageVolume_Provider::krnaBuildInstance(cimple::KRNA_StorageVolume* instance, LogicalDrive* drive, bool)
{
    KRNADebugTrace trace("KRNA_StorageVolume_Provider::krnaBuildInstance()");
    Adapter* adapter = drive->getAdapter();
    char uniqueID[KRNAProvUtil::UNIQUE_ID_SIZE] = "";
    KRNAProvUtil::getAdapterUniqueID(adapter, uniqueID);
    char number[16];
    snprintf(number, sizeof number, "%i", static_cast<int>(drive->getLogicalDriveID()));
    char host[KRNAProvUtil::HOST_NAME_SIZE];
    KRNAProvUtil::getSystemName(host, sizeof host);

    instance->DeviceID.set(cimple::String(std::string(host) + ":" + uniqueID + ":" + number));
    instance->CreationClassName.set(cimple::KRNA_StorageVolume::static_meta_class.name);
    instance->SystemCreationClassName.set(KRNAProvUtil::getSystemCreationClassName());
    instance->SystemName.set(host);

    instance->Name.set(cimple::String(std::string("Logical Drive ") + number));
    instance->NameFormat.set(1);

    cimple::Array_uint16 status;
    status.append(operationalStatus(drive->getState()));
    instance->OperationalStatus.set(status);
    cimple::Array_uint16 extent;
    extent.append(2);
    instance->ExtentStatus.set(extent);

    instance->BlockSize.set(512);
    const BLOCK_T dataSpace = drive->getDataSpace64();
    const bool tarnell = adapter && adapter->isInstanceOf("TarnellAdapter");
    const bool vesk = adapter && adapter->isInstanceOf("VeskAdapter");
    if (tarnell) {
        instance->NumberOfBlocks.set(dataSpace << 11);
    } else if (adapter && adapter->isInstanceOf("PelmAdapter")) {
        logger.debug("in PelmAdapter in krnaBuildInstance of Storagevolume\n");
        instance->NumberOfBlocks.set(dataSpace << 11);
    } else if (vesk) {
        instance->NumberOfBlocks.set(dataSpace);
    } else {
        logger.debug("Could not find the adapter type******\n");
    }
    instance->ConsumableBlocks.set(instance->NumberOfBlocks.value);

    const RaidLevel level(drive->getRaidLevel());
    instance->IsBasedOnUnderlyingRedundancy.set(level.isBasedOnUnderlyingRedundancy());
    instance->NoSinglePointOfFailure.set(level.isNoSinglePointOfFailure());
    instance->DataRedundancy.set(static_cast<cimple::uint16>(level.getDataRedundancy()));
    instance->PackageRedundancy.set(static_cast<cimple::uint16>(level.getPackageRedundancy()));
    instance->DeltaReservation.set(static_cast<cimple::uint8>(level.getDeltaReservation()));

    instance->ElementName.set(drive->getName());

    if (tarnell || vesk)
        instance->InstallDate.set(installDate(drive->getCreateTimeStamp()));
}

void KRNA_StorageVolume_Provider::onEnumStart(unsigned long drives)
{
    logger.debug("(KRNA_StorageVolume_Provider) enum_instances() No of Logical Drives = %d\n", static_cast<int>(drives));
}

void KRNA_StorageVolume_Provider::onEnumEnd(unsigned long drives)
{
    logger.info("Found %d Logical Drive(s)", static_cast<int>(drives));
}

void KRNA_StorageVolume_Provider::onGetStart(unsigned long drives)
{
    logger.debug("(KRNA_StorageVolume_Provider) get_instance() No of Logical Drives = %d\n", static_cast<int>(drives));
}

void KRNA_StorageVolume_Provider::onGetMatch()
{
    logger.debug("(KRNA_StorageVolume_Provider) get_instance() Key matches \n");
}

void KRNA_StorageVolume_Provider::onGetFound()
{
    logger.debug("Exiting - (KRNA_StorageVolume_Provider) get_instance() Instance Found\n");
}

CIMPLE_INSTANCE_PROVIDER(KRNA_StorageVolume_Provider);

} // namespace corvanecimple
