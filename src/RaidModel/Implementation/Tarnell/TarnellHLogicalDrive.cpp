#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"

#include <cstdio>
#include <cstring>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/Array.h"
#include "storagedll/storintf.h"

namespace {

// The two queries of a deletion name a spanned array with this bit set.
const uint16_t SPANNED_ARRAY_FLAG = 0x8000;

// Identify codes of a logical drive's disks.
const uint8_t IDENTIFY_LD_START = 2;
const uint8_t IDENTIFY_LD_STOP = 3;

// Check option of a synchronization the user asks for.
const uint8_t SYNCHRONIZE_CHECK = 1;

} // namespace

TarnellHLogicalDrive::TarnellHLogicalDrive() : HLogicalDrive(), TNCAdllID(-1)
{
    tarnellTraceConstruct("TarnellHLogicalDrive");
}

TarnellHLogicalDrive::TarnellHLogicalDrive(const TarnellHLogicalDrive& right)
    : HLogicalDrive(right), TNCAdllID(right.TNCAdllID)
{
    tarnellTraceConstruct("TarnellHLogicalDrive");
}

TarnellHLogicalDrive::TarnellHLogicalDrive(Adapter* adapterIN, Array* arrayIN, int logicalDriveIDIN,
                                           int TNCAdllIDIN, EnumLogicalDeviceState stateIN,
                                           EnumRaidLevel raidLevelIN, int dataSpaceIN, int paritySpaceIN,
                                           bool blockedAccessIN, EnumLogicalDriveCacheMode writeCacheModeIN,
                                           bool lastDriveInArrayIN, bool bOSPartitionIN)
    : HLogicalDrive(adapterIN, arrayIN, logicalDriveIDIN, stateIN, raidLevelIN, dataSpaceIN, paritySpaceIN,
                    blockedAccessIN, writeCacheModeIN, lastDriveInArrayIN, bOSPartitionIN),
      TNCAdllID(TNCAdllIDIN)
{
    tarnellTraceConstruct("TarnellHLogicalDrive");
}

TarnellHLogicalDrive::~TarnellHLogicalDrive() { tarnellTraceDestruct("TarnellHLogicalDrive"); }

bool TarnellHLogicalDrive::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "TarnellHLogicalDrive") == 0) ||
           HLogicalDrive::isInstanceOf(className);
}

const char* TarnellHLogicalDrive::typeName() const { return "TarnellHLogicalDrive"; }

const char* TarnellHLogicalDrive::serializedName() const { return "HLogicalDrive"; }

const char* TarnellHLogicalDrive::getName() const { return "Logical Drive"; }

bool TarnellHLogicalDrive::driveAddress(_STORAGE_ADDRESS_ID& address) const
{
    if (!tarnellAdapterAddress(asTarnellAdapter(adapter), address))
        return false;
    address.usVirtDevID = static_cast<uint16_t>(TNCAdllID);
    address.usArrayID = static_cast<uint16_t>(array != nullptr ? array->getArrayID() : getArrayID());
    return true;
}

Ret TarnellHLogicalDrive::initialize()
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::INTERFACE_UNAVAILABLE);
    return Ret(store->InitializeVirtDev(address, 0).iReturnCode);
}

Ret TarnellHLogicalDrive::synchronize()
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::INTERFACE_UNAVAILABLE);
    switch (raidLevel) {
    case RAID10:
    case RAID1E0:
    case RAID50:
        break;
    case RAID0:
    case RAID1:
    case RAID1E:
    case RAID3:
    case RAID4:
    case RAID5:
    case RAID5E:
    case RAID5EE:
        return Ret(Ret::BAD_PARAM);
    default:
        return Ret(Ret::NOT_SUPPORTED);
    }
    return Ret(store->SynchronizeVirtDev(address, SYNCHRONIZE_CHECK).iReturnCode);
}

Ret TarnellHLogicalDrive::getProgress(Progress& progress)
{
    progress.setType(TASK_NONE);
    progress.setStatus(TASK_STATE_NONE);
    return Ret(Ret::SUCCESS);
}

Ret TarnellHLogicalDrive::setWriteCacheEnable(bool enable)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::CONTROLLER_FAILED);
    address.ulMap = STADDR_MAP_VIRT_DEV;
    if (store->SetWritePolicy(address, enable ? 1 : 0).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Setting hierarchical logical drive write cache policy failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}

Ret TarnellHLogicalDrive::identifyDevice(bool option)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::CONTROLLER_FAILED);
    if (store->IdentifyPhysicalDrive(address, option ? IDENTIFY_LD_START : IDENTIFY_LD_STOP).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Identifying hierarchical logical drive failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}

Ret TarnellHLogicalDrive::unblockLogicalDrive()
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::INTERFACE_UNAVAILABLE);
    if (store->UnBlockVirtDev(address).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Unblocking hierarchical logical drive failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}

Ret TarnellHLogicalDrive::deleteLogicalDrive()
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::INTERFACE_UNAVAILABLE);
    TarnellAdapter* tarnellAdapter = asTarnellAdapter(adapter);

    // The spanned array's first and last drive.
    _STORAGE_ADDRESS_ID lastVirtDev;
    tarnellAdapterAddress(tarnellAdapter, lastVirtDev);
    lastVirtDev.usArrayID = static_cast<uint16_t>(address.usArrayID | SPANNED_ARRAY_FLAG);
    _STORAGE_ADDRESS_ID firstVirtDev = lastVirtDev;

    if (store->GetLastVirtDev(lastVirtDev).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retreiving last virtual device information failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    if (lastVirtDev.usVirtDevID != static_cast<uint16_t>(TNCAdllID)) {
        std::fputs("Cannot delete Logical Drive: Not last in the Array\n", stdout);
        std::fflush(stdout);
        return Ret(Ret::BAD_PARAM);
    }
    if (store->GetFirstVirtDev(firstVirtDev).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retreiving first virtual device information failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }

    const S_Ret deleted = store->DeleteVirtDev(address);
    if (deleted.iReturnCode != 0)
        return Ret(deleted.iReturnCode);

    TarnellAdapter::updateTables(tarnellAdapter, true, true);
    tarnellAdapter->deleteLDidEntry(TNCAdllID, 0, 0, false);

    // The only drive of its spanned array: the sub-logical drives went
    // with it, so their ids are free again too.
    if (firstVirtDev.usVirtDevID == static_cast<uint16_t>(TNCAdllID)) {
        FilterCollection subDrives(this);
        subDrives.apply("TarnellBasicLogicalDrive", false);
        const int count = static_cast<int>(subDrives.size());
        for (int i = 0; i < count; ++i) {
            const auto* sub = static_cast<const TarnellBasicLogicalDrive*>(subDrives.elementAt(i));
            tarnellAdapter->deleteLDidEntry(TNCAdllID, sub->getTNCAdllID(), count, true);
        }
    }
    return Ret(Ret::SUCCESS);
}
