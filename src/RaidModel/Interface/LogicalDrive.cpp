#include "RaidModel/Interface/LogicalDrive.h"

#include <cstring>
#include <memory>

#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Serialization/Writer.h"

namespace {

const STORID_T UNDEFINED_ID = 0x7FFFFFFF;

// A new owned text buffer of the given capacity holding text (cut to fit).
std::unique_ptr<char[]> newText(uint32_t capacity, const char* text)
{
    std::unique_ptr<char[]> buffer(new char[capacity]);
    copyText(buffer.get(), capacity, text);
    return buffer;
}

} // namespace

void LogicalDrive::setDefaults()
{
    // The text buffers first, all or none.
    std::unique_ptr<char[]> letter = newText(DRIVE_LETTER_SIZE, "");
    std::unique_ptr<char[]> mountPoint = newText(MOUNT_POINT_SIZE, "none");
    std::unique_ptr<char[]> secondary = newText(SECONDARY_LOGICALS_SIZE, "");
    adapter = nullptr;
    array = nullptr;
    state = FREE;
    subState = LD_SUB_OKAY;
    raidLevel = RAID0;
    dataSpace = 0;
    paritySpace = 0;
    blockedAccess = false;
    writeCacheMode = LD_CACHE_NOT_SUPPORTED;
    readCacheMode = LD_CACHE_NOT_SUPPORTED;
    lastDriveInArray = false;
    bOSPartition = false;
    hasPartition = LD_HAS_PARTITION_FALSE;
    stripeSize = STRIPE_NA;
    driveLetter = letter.release();
    osDiskNumber = 0;
    uniqueID = 0;
    taskPriority = TASK_PRIORITY_LOW;
    bTaskInProgress = false;
    snapshotType = SNAPSHOT_TYPE_NONE;
    snapshotBUMode = false;
    snapshotBUComplete = false;
    snapshotPartnerID = UNDEFINED_ID;
    snapshotCapacityUsed = 0;
    bBootDrive = false;
    canSetBootable = false;
    numMissingMembers = 0x7FFFFFFF;
    unixMountPoint = mountPoint.release();
    secondaryLogicals = secondary.release();
    readCacheSetting = LD_CACHE_NOT_SUPPORTED;
    writeCacheSetting = LD_CACHE_NOT_SUPPORTED;
    morphType = LD_MORPH_NONE;
    morphPartnerID = 0x7FFFFFFF;
    badBlockCount = 0;
    raid5EEState = RAID5EE_UNKNOWN;
    createTimeStamp.date_valid = 0;
    createTimeStamp.month = 0xFFFFFFFF;
    createTimeStamp.day = 0xFFFFFFFF;
    createTimeStamp.year = 0xFFFFFFFF;
    createTimeStamp.time_valid = 0;
    createTimeStamp.hour = 0xFFFFFFFF;
    createTimeStamp.minute = 0xFFFFFFFF;
    createTimeStamp.second = 0xFFFFFFFF;
    createTimeStamp.msecond = 0xFFFFFFFF;
    bQuickInit = false;
    bUnconfig = false;
    bReadOnly = false;
    bLocked = false;
}

LogicalDrive::LogicalDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "LogicalDrive::LogicalDrive()");
    setDefaults();
}

LogicalDrive::LogicalDrive(Adapter* adapterIN, STORID_T logicalDriveIDIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "LogicalDrive::LogicalDrive(Adapter *, STORID_T, ...)");
    setDefaults();
    adapter = adapterIN;
    myAddr2.setLogicalDriveID(logicalDriveIDIN);
}

LogicalDrive::LogicalDrive(Adapter* adapterIN, Array* arrayIN, unsigned long logicalDriveIDIN,
                           EnumLogicalDeviceState stateIN, EnumRaidLevel raidLevelIN, BLOCK_T dataSpaceIN,
                           BLOCK_T paritySpaceIN, bool blockedAccessIN, EnumLogicalDriveCacheMode writeCacheModeIN,
                           bool lastDriveInArrayIN, bool bOSPartitionIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "LogicalDrive::LogicalDrive(Adapter *, Array *, ...)");
    setDefaults();
    adapter = adapterIN;
    array = arrayIN;
    myAddr2.setLogicalDriveID(static_cast<STORID_T>(logicalDriveIDIN));
    state = stateIN;
    raidLevel = raidLevelIN;
    dataSpace = dataSpaceIN;
    paritySpace = paritySpaceIN;
    blockedAccess = blockedAccessIN;
    writeCacheMode = writeCacheModeIN;
    lastDriveInArray = lastDriveInArrayIN;
    bOSPartition = bOSPartitionIN;
}

LogicalDrive::LogicalDrive(const LogicalDrive& right) : RaidObject()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "LogicalDrive::LogicalDrive(const LogicalDrive &)");
    setDefaults();
    myAddr2.setLogicalDriveID(right.getLogicalDriveID());
    adapter = right.adapter;
    array = right.array;
    state = right.state;
    subState = right.subState;
    raidLevel = right.raidLevel;
    dataSpace = right.dataSpace;
    paritySpace = right.paritySpace;
    blockedAccess = right.blockedAccess;
    writeCacheMode = right.writeCacheMode;
    readCacheSetting = right.readCacheSetting;
    writeCacheSetting = right.writeCacheSetting;
    lastDriveInArray = right.lastDriveInArray;
    bOSPartition = right.bOSPartition;
    hasPartition = right.hasPartition;
    stripeSize = right.stripeSize;
    osDiskNumber = right.osDiskNumber;
    uniqueID = right.uniqueID;
    taskPriority = right.taskPriority;
    bTaskInProgress = right.bTaskInProgress;
    snapshotType = right.snapshotType;
    snapshotBUMode = right.snapshotBUMode;
    snapshotBUComplete = right.snapshotBUComplete;
    snapshotPartnerID = right.snapshotPartnerID;
    snapshotCapacityUsed = right.snapshotCapacityUsed;
    bBootDrive = right.bBootDrive;
    canSetBootable = right.canSetBootable;
    numMissingMembers = right.numMissingMembers;
    morphType = right.morphType;
    morphPartnerID = right.morphPartnerID;
    badBlockCount = right.badBlockCount;
    raid5EEState = right.raid5EEState;
    createTimeStamp = right.createTimeStamp;
    bQuickInit = right.bQuickInit;
    bUnconfig = right.bUnconfig;
    bReadOnly = right.bReadOnly;
    bLocked = right.bLocked;
    // The buffers of the defaults receive the source's texts; a source
    // without a buffer leaves the default text.
    if (driveLetter && right.driveLetter)
        copyText(driveLetter, DRIVE_LETTER_SIZE, right.driveLetter);
    if (unixMountPoint && right.unixMountPoint)
        copyText(unixMountPoint, MOUNT_POINT_SIZE, right.unixMountPoint);
    if (secondaryLogicals && right.secondaryLogicals)
        copyText(secondaryLogicals, SECONDARY_LOGICALS_SIZE, right.secondaryLogicals);
}

LogicalDrive::~LogicalDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "LogicalDrive::~LogicalDrive()");
    delete[] driveLetter;
    delete[] unixMountPoint;
    delete[] secondaryLogicals;
}

bool LogicalDrive::isInstanceOf(const char* className) const
{
    if (isClassName(className, "LogicalDrive"))
        return true;
    return RaidObject::isInstanceOf(className);
}

const char* LogicalDrive::typeName() const { return "LogicalDrive"; }

const char* LogicalDrive::serializedName() const { return "LogicalDrive"; }

LogicalDrive& LogicalDrive::operator=(const LogicalDrive& right)
{
    adapter = right.adapter;
    array = right.array;
    myAddr2.setLogicalDriveID(right.getLogicalDriveID());
    state = right.state;
    subState = right.subState;
    raidLevel = right.raidLevel;
    dataSpace = right.dataSpace;
    paritySpace = right.paritySpace;
    blockedAccess = right.blockedAccess;
    writeCacheMode = right.writeCacheMode;
    readCacheSetting = right.readCacheSetting;
    writeCacheSetting = right.writeCacheSetting;
    lastDriveInArray = right.lastDriveInArray;
    bOSPartition = right.bOSPartition;
    hasPartition = right.hasPartition;
    osDiskNumber = right.osDiskNumber;
    uniqueID = right.uniqueID;
    taskPriority = right.taskPriority;
    bTaskInProgress = right.bTaskInProgress;
    snapshotType = right.snapshotType;
    snapshotBUMode = right.snapshotBUMode;
    snapshotBUComplete = right.snapshotBUComplete;
    snapshotPartnerID = right.snapshotPartnerID;
    snapshotCapacityUsed = right.snapshotCapacityUsed;
    stripeSize = right.stripeSize;
    raid5EEState = right.raid5EEState;
    createTimeStamp = right.createTimeStamp;
    return *this;
}

bool LogicalDrive::operator==(const LogicalDrive& right) const
{
    return adapter == right.adapter && array == right.array && getLogicalDriveID() == right.getLogicalDriveID() &&
           state == right.state && raidLevel == right.raidLevel && dataSpace == right.dataSpace &&
           paritySpace == right.paritySpace && blockedAccess == right.blockedAccess &&
           writeCacheMode == right.writeCacheMode && lastDriveInArray == right.lastDriveInArray &&
           bOSPartition == right.bOSPartition;
}

void LogicalDrive::setHasPartitionProperty(EnumLogicalDriveHasPartition hasPartitionIN)
{
    hasPartition = hasPartitionIN;
    bOSPartition = hasPartitionIN == LD_HAS_PARTITION_TRUE;
}

void LogicalDrive::mergeStateProperty(EnumLogicalDeviceState stateIN)
{
    switch (stateIN) {
    case OFFLINE:
        state = OFFLINE;
        break;
    case CRITICAL:
        switch (state) {
        case OFFLINE:
        case CRITICAL_MIGRATING:
        case CRITICAL_SYSTEM:
            break;
        case MIGRATING:
            state = CRITICAL_MIGRATING;
            break;
        case SYSTEM:
            state = CRITICAL_SYSTEM;
            break;
        default:
            state = CRITICAL;
            break;
        }
        break;
    case DEGRADED_FAULT_TOLERANT:
        if (state == FREE || state == OKAY)
            state = DEGRADED_FAULT_TOLERANT;
        break;
    case MIGRATING:
        if (state == OKAY)
            state = MIGRATING;
        else if (state == CRITICAL)
            state = CRITICAL_MIGRATING;
        else if (state == DEGRADED_FAULT_TOLERANT)
            state = DEGRADED_FAULT_TOLERANT_MIGRATING;
        break;
    case SYSTEM:
        if (state == OKAY)
            state = SYSTEM;
        else if (state == CRITICAL)
            state = CRITICAL_SYSTEM;
        else if (state == DEGRADED_FAULT_TOLERANT)
            state = DEGRADED_FAULT_TOLERANT_SYSTEM;
        break;
    default:
        break; // FREE, OKAY and the combined states change nothing
    }
}

void LogicalDrive::descendantAdded(RaidObject* pDescendantIN)
{
    RaidObject::descendantAdded(pDescendantIN);
    if (!pDescendantIN || !pDescendantIN->isInstanceOf("Chunk"))
        return;
    Chunk* chunk = static_cast<Chunk*>(pDescendantIN);
    if (chunk->getDeviceID() != UNDEFINED_ID) {
        hardDriveChunkVec.push_back(chunk);
        if (HardDrive* drive = chunk->getProviderHardDrive())
            hardDriveVec.push_back(drive);
    } else if (chunk->getLogicalDriveID() != UNDEFINED_ID) {
        logicalDriveChunkVec.push_back(chunk);
        if (LogicalDrive* provider = chunk->getProviderLogical())
            secondLevelVec.push_back(provider);
    }
}

Chunk* LogicalDrive::getHardDriveChunk(unsigned long indexIN) const
{
    return indexIN < hardDriveChunkVec.size() ? hardDriveChunkVec[indexIN] : nullptr;
}

HardDrive* LogicalDrive::getHardDrive(unsigned long indexIN) const
{
    return indexIN < hardDriveVec.size() ? hardDriveVec[indexIN] : nullptr;
}

HardDrive* LogicalDrive::getAssignedSpare(unsigned long indexIN) const
{
    return indexIN < assignedSpareVec.size() ? assignedSpareVec[indexIN] : nullptr;
}

Chunk* LogicalDrive::getLogicalDriveChunk(unsigned long indexIN) const
{
    return indexIN < logicalDriveChunkVec.size() ? logicalDriveChunkVec[indexIN] : nullptr;
}

LogicalDrive* LogicalDrive::getLogicalDrive(unsigned long indexIN) const
{
    return indexIN < secondLevelVec.size() ? secondLevelVec[indexIN] : nullptr;
}

void LogicalDrive::addAssignedSpare(HardDrive* pHardDriveIN)
{
    if (!pHardDriveIN)
        return;
    for (const HardDrive* known : assignedSpareVec) {
        if (known->getAddr2() == pHardDriveIN->getAddr2())
            return;
    }
    assignedSpareVec.push_back(pHardDriveIN);
    pHardDriveIN->addAssignedLogical(this);
}

void LogicalDrive::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    writer->writeInt("state", state);
    writer->writeInt("subState", subState);
    writer->writeInt("raidLevel", raidLevel);
    writer->writeBlockT("dataSpace", dataSpace);
    writer->writeBlockT("paritySpace", paritySpace);
    writer->writeBool("blockedAccess", blockedAccess);
    writer->writeInt("writeCacheMode", writeCacheMode);
    writer->writeBool("lastDriveInArray", lastDriveInArray);
    writer->writeBool("OSPartition", bOSPartition);
    writer->writeInt("hasPartition", hasPartition);
    writer->writeInt("stripeSize", stripeSize);
    writer->writeInt("osDiskNumber", osDiskNumber);
    writer->writeULong("uniqueID", uniqueID);
    writer->writeInt("taskPriority", taskPriority);
    writer->writeBool("bTaskInProgress", bTaskInProgress);
    writer->writeInt("snapshotType", snapshotType);
    if (snapshotType != SNAPSHOT_TYPE_NONE) {
        writer->writeBool("snapshotBUMode", snapshotBUMode);
        writer->writeBool("snapshotBUComplete", snapshotBUComplete);
        writer->writeULong("snapshotPartnerID", snapshotPartnerID);
        writer->writeULong("snapshotCapacityUsed", snapshotCapacityUsed);
    }
    writer->writeInt("raid5EEState", raid5EEState);
    writer->writeInt("numMissingMembers", numMissingMembers);
    if (morphPartnerID != 0x7FFFFFFF)
        writer->writeInt("morphPartnerID", morphPartnerID);
}

// ---------------------------------------------------------------------------
// Management operations: not supported by the base class.

EnumLogicalDriveCacheMode LogicalDrive::getReadCacheMode() const { return readCacheMode; }
Ret LogicalDrive::synchronize() { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::verify() { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::rebuild() { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::getProgress(Progress&) { return Ret(Ret::NOT_SUPPORTED); }

Ret LogicalDrive::getProgress(ProgressCollection& progList)
{
    Progress p;
    Ret ret = getProgress(p);
    if (ret.getReturn() == 0)
        progList.add(p);
    return ret;
}

Ret LogicalDrive::initialize() { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::setName(const char*) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::setState(EnumLogicalDeviceState) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::setBootable(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::setCache(EnumLogicalDriveCacheMode, EnumLogicalDriveCacheMode) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::initializeLogicalDrive(EnumInitMethod, EnumPriorityLevel) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::deleteLogicalDrive() { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::identifyDevice(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::setBlockedAccess(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::setTaskPriority(unsigned long, EnumPriorityLevel) { return Ret(Ret::NOT_SUPPORTED); }
const char* LogicalDrive::getName() const { return nullptr; }
Ret LogicalDrive::increaseSize(const std::vector<ChunkSpec>&, EnumPriorityLevel) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::setStripeSize(EnumStripeSize) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::modify(const LogicalDriveSpec&) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::createSnapshot(const Addr&, bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret LogicalDrive::removeSnapshot() { return Ret(Ret::NOT_SUPPORTED); }
