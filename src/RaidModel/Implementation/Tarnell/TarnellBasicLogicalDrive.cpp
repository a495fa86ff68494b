#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"

#include <cstdio>
#include <cstring>

#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/Array.h"
#include "storagedll/storintf.h"

namespace {

BLOCK_T widened(int value) { return static_cast<BLOCK_T>(static_cast<int64_t>(value)); }

// Selector of the per-drive write-policy request.
const uint32_t WRITE_POLICY_MAP = 0x200;

// Identify codes of a logical drive's disks.
const uint8_t IDENTIFY_LD_START = 2;
const uint8_t IDENTIFY_LD_STOP = 3;

// Task report opcodes and the rebuild family's qualifiers.
const uint8_t OPCODE_VERIFY = 15;
const uint8_t OPCODE_REBUILD_FAMILY = 22;
const uint8_t OPCODE_MIGRATION = 187;
const uint8_t OPCODE_SNAPSHOT = 202;

// The last model whose task report indexes its size table by drive number.
const int LAST_MODEL_INDEXED_BY_NUMBER = TARNELL_B2;

const unsigned SIZE_TABLE_ENTRIES = sizeof(static_cast<_REBUILD_STATUS*>(nullptr)->sVirtualDrive) /
                                    sizeof(_SIZERMAIN);

// Bits 5 to 7 of a table entry's user field: the array id.
unsigned arrayIDOf(const _VIRT_DRV_PARMS& entry) { return (entry.usUserField >> 5) & 0x07u; }

EnumTaskState taskStateOf(uint8_t status)
{
    switch (status) {
    case 0x00:
    case 0x40:
    case 0x43:
        return TASK_STATE_COMPLETE;
    case 0x30:
    case 0x33:
    case 0x34:
        return TASK_STATE_IN_PROGRESS;
    case 0x31:
    case 0x32:
    case 0x35:
    case 0x37:
    case 0x38:
    case 0x41:
    case 0x42:
    case 0x45:
    case 0x47:
    case 0x48:
        return TASK_STATE_FAILED;
    default:
        return TASK_STATE_NONE;
    }
}

// The task type of a report; false leaves the type as it was.
bool taskTypeOf(const _REBUILD_STATUS& report, EnumTaskType& type)
{
    switch (report.ucOpcode) {
    case OPCODE_VERIFY:
        type = TASK_VERIFY;
        return true;
    case OPCODE_REBUILD_FAMILY:
        switch (report.ucSubOpcodeQualifier) {
        case TASK_QUAL_COMPACTION:
            type = TASK_COMPACTING;
            break;
        case TASK_QUAL_EXPANSION:
            type = TASK_EXPANDING;
            break;
        case TASK_QUAL_COPYBACK:
            type = TASK_COPYBACK;
            break;
        default:
            type = TASK_REBUILD;
            break;
        }
        return true;
    case OPCODE_MIGRATION:
        type = TASK_MIGRATION;
        return true;
    case OPCODE_SNAPSHOT:
        type = TASK_SNAPSHOT;
        return true;
    default:
        return false;
    }
}

// The whole percentage of size - rest in size, exact in integers so that
// every build agrees; 0 for an empty drive or a rest beyond the size.
uint32_t percentDone(uint32_t size, uint32_t rest)
{
    if (size == 0 || rest > size)
        return 0;
    return static_cast<uint32_t>((static_cast<uint64_t>(size - rest) * 100u) / size);
}

void setNoTask(Progress& progress)
{
    progress.setType(TASK_NONE);
    progress.setStatus(TASK_STATE_NONE);
}

} // namespace

TarnellBasicLogicalDrive::TarnellBasicLogicalDrive() : BasicLogicalDrive(), TNCAdllID(-1), subLogicalDrive(false)
{
    tarnellTraceConstruct("TarnellBasicLogicalDrive");
}

TarnellBasicLogicalDrive::TarnellBasicLogicalDrive(const TarnellBasicLogicalDrive& right)
    : BasicLogicalDrive(right), TNCAdllID(right.TNCAdllID), subLogicalDrive(right.subLogicalDrive)
{
    tarnellTraceConstruct("TarnellBasicLogicalDrive");
    raid5EEState = right.raid5EEState;
}

TarnellBasicLogicalDrive::TarnellBasicLogicalDrive(
    TarnellAdapter* adapterIN, TarnellBasicArray* ArrayIN, int logicalDriveIDIN, int TNCAdllIDIN,
    EnumLogicalDeviceState stateIN, EnumRaidLevel raidLevelIN, int dataSpaceIN, int paritySpaceIN,
    bool blockedAccessIN, EnumLogicalDriveCacheMode writeCacheModeIN, bool lastDriveInArrayIN,
    bool subLogicalDriveIN, bool bOSPartitionIN, EnumRaid5EEState raid5EEStateIN)
    : BasicLogicalDrive(adapterIN, ArrayIN, static_cast<unsigned long>(logicalDriveIDIN), stateIN, raidLevelIN,
                        widened(dataSpaceIN), widened(paritySpaceIN), blockedAccessIN, writeCacheModeIN,
                        lastDriveInArrayIN, bOSPartitionIN),
      TNCAdllID(TNCAdllIDIN),
      subLogicalDrive(subLogicalDriveIN)
{
    tarnellTraceConstruct("TarnellBasicLogicalDrive");
    raid5EEState = raid5EEStateIN;
}

TarnellBasicLogicalDrive::~TarnellBasicLogicalDrive() { tarnellTraceDestruct("TarnellBasicLogicalDrive"); }

bool TarnellBasicLogicalDrive::isInstanceOf(const char* className) const
{
    return isClassName(className, "TarnellBasicLogicalDrive") ||
           BasicLogicalDrive::isInstanceOf(className);
}

const char* TarnellBasicLogicalDrive::typeName() const { return "TarnellBasicLogicalDrive"; }

const char* TarnellBasicLogicalDrive::getName() const { return "Logical Drive"; }

void TarnellBasicLogicalDrive::writeTo(Writer* writer) const
{
    // The logical-drive attributes already carry "raid5EEState"; a second
    // attribute of that name would make the element malformed.
    LogicalDrive::writeTo(writer);
}

void TarnellBasicLogicalDrive::setCreateTimeStamp(int yearIN, int monthIN, int dayIN)
{
    createTimeStamp.year = static_cast<uint32_t>(yearIN);
    createTimeStamp.month = static_cast<uint32_t>(monthIN);
    createTimeStamp.day = static_cast<uint32_t>(dayIN);
}

STORID_T TarnellBasicLogicalDrive::arrayModelID() const
{
    return array != nullptr ? array->getArrayID() : getArrayID();
}

bool TarnellBasicLogicalDrive::driveAddress(_STORAGE_ADDRESS_ID& address) const
{
    if (!tarnellAdapterAddress(asTarnellAdapter(adapter), address))
        return false;
    address.usVirtDevID = static_cast<uint16_t>(TNCAdllID);
    address.usArrayID = static_cast<uint16_t>(arrayModelID());
    return true;
}

Ret TarnellBasicLogicalDrive::initialize()
{
    if (subLogicalDrive)
        return Ret(Ret::NOT_SUPPORTED);
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::INTERFACE_UNAVAILABLE);
    const S_Ret sret = store->InitializeVirtDev(address, 0);
    return Ret(sret.iReturnCode);
}

Ret TarnellBasicLogicalDrive::synchronize()
{
    if (subLogicalDrive)
        return Ret(Ret::NOT_SUPPORTED);
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::INTERFACE_UNAVAILABLE);
    switch (raidLevel) {
    case RAID00:
    case RAID10:
    case RAID1E0:
    case RAID50:
        return Ret(Ret::BAD_PARAM);
    case RAID1:
    case RAID1E:
    case RAID5:
    case RAID5E:
    case RAID5EE:
        break;
    default:
        return Ret(Ret::NOT_SUPPORTED);
    }
    const S_Ret sret = store->SynchronizeVirtDev(address, 1);
    return Ret(sret.iReturnCode);
}

Ret TarnellBasicLogicalDrive::deleteLogicalDrive()
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::INTERFACE_UNAVAILABLE);
    if (subLogicalDrive)
        return Ret(Ret::NOT_SUPPORTED);

    _STORAGE_ADDRESS_ID lastVirtDev;
    std::memset(&lastVirtDev, 0, sizeof lastVirtDev);
    lastVirtDev.usAdapterID = address.usAdapterID;
    lastVirtDev.usArrayID = address.usArrayID;
    // Without an answer the record would still name drive 0, which may well
    // be another drive of the array: nothing is deleted then.
    if (store->GetLastVirtDev(lastVirtDev).iReturnCode != 0)
        return Ret(Ret::CONTROLLER_FAILED);
    if (lastVirtDev.usVirtDevID != static_cast<uint16_t>(TNCAdllID)) {
        std::printf("Cannot delete Logical Drive: Not last in the Array\n");
        std::fflush(stdout);
        return Ret(Ret::BAD_PARAM);
    }

    const S_Ret sret = store->DeleteVirtDev(address);
    if (sret.iReturnCode == 0) {
        TarnellAdapter* tarnellAdapter = asTarnellAdapter(adapter);
        TarnellAdapter::updateTables(tarnellAdapter, true, true);
        tarnellAdapter->deleteLDidEntry(TNCAdllID, 0, 0, false);
    }
    return Ret(sret.iReturnCode);
}

Ret TarnellBasicLogicalDrive::unblockLogicalDrive()
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::INTERFACE_UNAVAILABLE);
    if (subLogicalDrive)
        return Ret(Ret::BAD_PARAM);
    if (store->UnBlockVirtDev(address).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Unblocking basic logical drive failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}

Ret TarnellBasicLogicalDrive::setWriteCacheEnable(bool enable)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::CONTROLLER_FAILED);
    address.ulMap = WRITE_POLICY_MAP;
    const uint8_t writeMethod = enable ? 1 : 0;
    if (store->SetWritePolicy(address, writeMethod).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Setting basic logical drive write cache policy failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}

Ret TarnellBasicLogicalDrive::identifyDevice(bool option)
{
    if (subLogicalDrive)
        return Ret(Ret::NOT_SUPPORTED);
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !driveAddress(address))
        return Ret(Ret::CONTROLLER_FAILED);
    const uint8_t identifyMode = option ? IDENTIFY_LD_START : IDENTIFY_LD_STOP;
    if (store->IdentifyPhysicalDrive(address, identifyMode).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Identifying basic logical drive failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}

Ret TarnellBasicLogicalDrive::getProgress(Progress& progress)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    TarnellAdapter* tarnellAdapter = asTarnellAdapter(adapter);
    _STORAGE_ADDRESS_ID virtDevStAddr;
    if (store == nullptr || !tarnellAdapterAddress(tarnellAdapter, virtDevStAddr))
        return Ret(Ret::INTERFACE_UNAVAILABLE);

    _REBUILD_STATUS rbldStatus;
    std::memset(&rbldStatus, 0, sizeof rbldStatus);
    if (store->CheckProgress(virtDevStAddr, rbldStatus, 0).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retrieving adapter progress object failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }

    // Does the report concern this drive? A sub-logical drive is recognised
    // by the array of the SLD table entry the report names, read only when
    // the adapter holds that table and the entry lies inside it.
    bool concerned;
    if (!subLogicalDrive) {
        concerned = rbldStatus.ucVirtDriveNumber == TNCAdllID;
    } else {
        const _VIRT_DRV_PARMS* sldTable = tarnellAdapter->getSLDTable();
        const unsigned entries =
            static_cast<unsigned>(tarnellAdapter->getSLDTableSize()) / sizeof(_VIRT_DRV_PARMS);
        const unsigned index = rbldStatus.ucVirtDriveNumber;
        concerned = rbldStatus.ucIsSLDVirtDriveId != 0 && sldTable != nullptr && index < entries &&
                    arrayIDOf(sldTable[index]) == arrayModelID();
    }
    // The size entry of the task: by drive number on the older models, by
    // the report's own index on the later ones.
    const unsigned sizeIndex = tarnellAdapter->getAdapterType() <= LAST_MODEL_INDEXED_BY_NUMBER
                                   ? rbldStatus.ucVirtDriveNumber
                                   : rbldStatus.ucVirtualDriveIndex;
    if (!concerned || sizeIndex >= SIZE_TABLE_ENTRIES) {
        setNoTask(progress);
        return Ret(Ret::SUCCESS);
    }

    EnumTaskType type = progress.getType();
    if (taskTypeOf(rbldStatus, type))
        progress.setType(type);
    progress.setStatus(taskStateOf(rbldStatus.ucStatus));

    const _SIZERMAIN& entry = rbldStatus.sVirtualDrive[sizeIndex];
    progress.setPercent(percentDone(entry.ulVirtDriveSize, entry.ulRemainingBlocks));

    const STORID_T driveID = getLogicalDriveID();
    progress.setLogicalDrive(driveID);
    progress.setDeviceAddr(Addr(tarnellAdapter->getAdapterID(), arrayModelID(), driveID, STORID_UNDEFINED,
                                STORID_UNDEFINED, BLOCK_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED));
    return Ret(Ret::SUCCESS);
}
