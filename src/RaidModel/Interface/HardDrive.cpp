#include "RaidModel/Interface/HardDrive.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/StrToNum32.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Serialization/Writer.h"

namespace {

const STORID_T UNDEFINED_ID = 0x7FFFFFFF;
const BLOCK_T ALL_SECTORS = ~static_cast<BLOCK_T>(0);

// The last sector of an extent of count > 0 sectors from start; an extent
// that would run past the end of the 64-bit sector range ends there.
BLOCK_T lastSectorOf(BLOCK_T start, BLOCK_T count)
{
    return count - 1 > ALL_SECTORS - start ? ALL_SECTORS : start + (count - 1);
}

// Spare chunks cover the drive from this sector on.
const BLOCK_T SPARE_CHUNK_START = 128;

} // namespace

// ---------------------------------------------------------------------------
// Free extents

FreeSpaceVector::FreeSpaceVector() : bigFreeStartSector(0), bigFreeNumSectors(0) { push_back(FreeSpace()); }

void FreeSpaceVector::SetNumSectors(BLOCK_T n)
{
    if (!empty())
        front().numSectors = n;
    bigFreeNumSectors = n;
}

void FreeSpaceVector::SubtractUsedSpace(BLOCK_T start, BLOCK_T count)
{
    if (count == 0)
        return;
    const BLOCK_T last = lastSectorOf(start, count);
    // Appending may move the elements: work by index.
    for (size_t i = 0; i < size(); ++i) {
        FreeSpace& e = (*this)[i];
        if (e.numSectors == 0)
            continue;
        const BLOCK_T eStart = e.startSector;
        const BLOCK_T eLast = lastSectorOf(eStart, e.numSectors);
        if (start > eLast)
            continue; // the range lies after e
        if (eStart < start) {
            e.numSectors = start - eStart;
            if (last < eLast) {
                // Strictly inside e: e keeps its head, the tail goes behind.
                const BLOCK_T end = last + 1;
                push_back(FreeSpace(end, eLast - end + 1));
                break;
            }
            continue; // the tail of e is cut
        }
        if (last >= eLast) {
            e = FreeSpace(0, 0); // wholly used; stays in the list
        } else if (eStart <= last) {
            const BLOCK_T end = last + 1;
            e = FreeSpace(end, eLast - end + 1); // the head of e is cut
        }
        // else the range ends before e
    }

    bigFreeStartSector = 0;
    bigFreeNumSectors = 0;
    for (const FreeSpace& e : *this) {
        if (e.numSectors > bigFreeNumSectors) {
            bigFreeStartSector = e.startSector;
            bigFreeNumSectors = e.numSectors;
        }
    }
}

void FreeSpaceVector::FindAdequate(BLOCK_T& start, BLOCK_T& count) const
{
    if (count == 0) {
        start = bigFreeStartSector;
        count = bigFreeNumSectors;
        return;
    }
    const BLOCK_T need = count;
    const FreeSpace* best = nullptr;
    for (const FreeSpace& e : *this) {
        if (e.numSectors >= need && (!best || e.numSectors < best->numSectors))
            best = &e;
    }
    start = best ? best->startSector : 0;
    count = best ? best->numSectors : 0;
}

BLOCK_T FreeSpaceVector::TotalFreeSectors() const
{
    BLOCK_T total = 0;
    for (const FreeSpace& e : *this)
        total += e.numSectors;
    return total;
}

// ---------------------------------------------------------------------------
// Construction

void HardDrive::setDriveDefaults()
{
    size = 0;
    pfaError = false;
    writeCacheEnable = HARD_DRIVE_CACHE_MODE_UNKNOWN;
    writeCacheEnableSupported = false;
    selfTestSupported = false;
    bOSPartition = false;
    pfaSupported = false;
    pfaEnabled = false;
    taskInProgress = false;
    spareType = SPARE_NONE;
    bCandidateSpare = false;
    enclosureNumber = UNDEFINED_ID;
    slotNumber = UNDEFINED_ID;
    spareListSize = 0;
    pSpareList = nullptr;
}

HardDrive::HardDrive() : PhysicalDevice()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "HardDrive::HardDrive()");
    setDriveDefaults();
}

HardDrive::HardDrive(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN, unsigned long long sizeIN,
                     EnumPhysicalDeviceState stateIN, char* vendorIN, char* modelIN, char* serialNumberIN,
                     char* firmwareLevelIN, bool pfaErrorIN, EnumHardDriveCacheMode writeCacheEnableIN,
                     bool writeCacheEnableSupportedIN, bool selfTestSupportedIN, bool bOSPartitionIN,
                     char* fruNumberIN, bool pfaSupportedIN)
    : PhysicalDevice(adapterIN, channelIN, deviceIDIN, HARD_DRIVE, vendorIN, modelIN, serialNumberIN,
                     firmwareLevelIN, stateIN, fruNumberIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "HardDrive::HardDrive(Adapter *, ...)");
    setDriveDefaults();
    size = sizeIN;
    pfaError = pfaErrorIN;
    writeCacheEnable = writeCacheEnableIN;
    writeCacheEnableSupported = writeCacheEnableSupportedIN;
    selfTestSupported = selfTestSupportedIN;
    bOSPartition = bOSPartitionIN;
    pfaSupported = pfaSupportedIN;
}

HardDrive::HardDrive(Adapter* adapterIN, Channel* channelIN, SimpleXmlParser& xmlParser) : HardDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "HardDrive::HardDrive(Adapter *, Channel *, SimpleXmlParser &)");
    adapter = adapterIN;
    channel = channelIN;
    attribList.setInitElements(44);
    build(xmlParser);
}

HardDrive::HardDrive(const HardDrive& right)
    : PhysicalDevice(right.adapter, right.channel, right.getDeviceID(), HARD_DRIVE, right.vendor, right.model,
                     right.serialNumber, right.firmwareLevel, right.state, right.fruNumber)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "HardDrive::HardDrive(const HardDrive &)");
    setDriveDefaults();
    size = right.size;
    pfaError = right.pfaError;
    writeCacheEnable = right.writeCacheEnable;
    writeCacheEnableSupported = right.writeCacheEnableSupported;
    selfTestSupported = right.selfTestSupported;
    bOSPartition = right.bOSPartition;
    pfaSupported = right.pfaSupported;
    pfaEnabled = right.pfaEnabled;
    spareType = right.spareType;
    bCandidateSpare = right.bCandidateSpare;
    enclosureNumber = right.enclosureNumber;
    slotNumber = right.slotNumber;
    if (right.pSpareList && right.spareListSize > 0) {
        pSpareList = new (std::nothrow) int32_t[right.spareListSize];
        if (pSpareList) {
            std::memcpy(pSpareList, right.pSpareList, sizeof(int32_t) * static_cast<size_t>(right.spareListSize));
            spareListSize = right.spareListSize;
        } else {
            StorErrorPrintf(getStorLibType(), __FILE__, __LINE__,
                            "*** Resource Error: pSpareList = new int[spareListSize]; ***");
        }
    }
}

HardDrive::~HardDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "HardDrive::~HardDrive()");
    delete[] pSpareList;
    pSpareList = nullptr;
    spareListSize = 0;
}

// ---------------------------------------------------------------------------
// Identity, comparison, assignment

bool HardDrive::isInstanceOf(const char* className) const
{
    if (isClassName(className, "HardDrive"))
        return true;
    return PhysicalDevice::isInstanceOf(className);
}

const char* HardDrive::typeName() const { return "HardDrive"; }

const char* HardDrive::serializedName() const { return "HardDrive"; }

bool HardDrive::operator==(const HardDrive& right) const
{
    return PhysicalDevice::operator==(right) && size == right.size && pfaError == right.pfaError &&
           writeCacheEnable == right.writeCacheEnable &&
           writeCacheEnableSupported == right.writeCacheEnableSupported &&
           selfTestSupported == right.selfTestSupported && bOSPartition == right.bOSPartition;
}

HardDrive& HardDrive::operator=(const HardDrive& right)
{
    if (this == &right)
        return *this;
    PhysicalDevice::operator=(right);
    size = right.size;
    pfaError = right.pfaError;
    writeCacheEnable = right.writeCacheEnable;
    writeCacheEnableSupported = right.writeCacheEnableSupported;
    selfTestSupported = right.selfTestSupported;
    bOSPartition = right.bOSPartition;
    pfaSupported = right.pfaSupported;
    pfaEnabled = right.pfaEnabled;
    spareType = right.spareType;
    enclosureNumber = right.enclosureNumber;
    slotNumber = right.slotNumber;
    return *this;
}

// ---------------------------------------------------------------------------
// Tree and lookups

void HardDrive::descendantAdded(RaidObject* descendant)
{
    PhysicalDevice::descendantAdded(descendant);
    if (descendant && descendant->isInstanceOf("Chunk"))
        chunkVec.push_back(static_cast<Chunk*>(descendant));
}

Chunk* HardDrive::getChunk(unsigned long index) const { return index < chunkVec.size() ? chunkVec[index] : nullptr; }

LogicalDrive* HardDrive::getAssignedLogicalDrive(unsigned long index) const
{
    return index < assignedLogicalVec.size() ? assignedLogicalVec[index] : nullptr;
}

// ---------------------------------------------------------------------------
// Free space and spares

void HardDrive::InitFreeSpace(unsigned long long numSectors)
{
    BLOCK_T n = numSectors;
    if (n == 0)
        n = size;
    // A new list each time, so that repeated calls never add free space.
    freeSpace = FreeSpaceVector();
    freeSpace.SetNumSectors(n);
    if (adapter) {
        freeSpace.SubtractUsedSpace(0, adapter->getReservedInBeginning());
        const BLOCK_T r = adapter->getReservedInEnd();
        if (r <= n)
            freeSpace.SubtractUsedSpace(n - r, r);
    }
    const size_t count = children.size();
    for (size_t i = 0; i < count; ++i) {
        RaidObject* child = children[i];
        if (child && child->isInstanceOf("Chunk")) {
            const Chunk* chunk = static_cast<const Chunk*>(child);
            freeSpace.SubtractUsedSpace(chunk->getStartSector(), chunk->getNumSector());
        }
    }
}

void HardDrive::addAssignedLogical(LogicalDrive* pLogicalDriveIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE,
                           "HardDrive::addAssignedLogical(LogicalDrive *pLogicalDriveIN)");
    LogicalDrive* ld = pLogicalDriveIN;
    if (!ld)
        return;
    for (const LogicalDrive* known : assignedLogicalVec) {
        if (known->getAddr2() == ld->getAddr2())
            return;
    }
    assignedLogicalVec.push_back(ld);
    ld->addAssignedSpare(this);

    if (state != DRIVE_DEAD && state != DRIVE_PARTITIONED_SINGLE && state != DRIVE_REBUILDING)
        setStateProperty(DRIVE_SPARE);
    spareType = SPARE_DEDICATED;

    // The spare covers the drive from sector 128 on; a drive of 128 sectors
    // or fewer has no such range, and gets no spare chunks.
    if (size > SPARE_CHUNK_START) {
        const BLOCK_T count = size - SPARE_CHUNK_START;
        addChild(new Chunk(this, ld, SPARE_CHUNK_START, count, CHUNK_TYPE_SPARE, 0, CHUNK_NORMAL));
        ld->addChild(new Chunk(this, ld, SPARE_CHUNK_START, count, CHUNK_TYPE_SPARE, 0, CHUNK_NORMAL));
    }

    const int32_t newSize = spareListSize + 1;
    int32_t* list = new (std::nothrow) int32_t[newSize];
    if (!list) {
        StorErrorPrintf(getStorLibType(), __FILE__, __LINE__,
                        "*** Resource Error: pSpareList = new int[spareListSize]; ***");
        return;
    }
    if (pSpareList && spareListSize > 0)
        std::memcpy(list, pSpareList, sizeof(int32_t) * static_cast<size_t>(spareListSize));
    list[spareListSize] = static_cast<int32_t>(ld->getLogicalDriveID());
    delete[] pSpareList;
    pSpareList = list;
    spareListSize = newSize;
}

// ---------------------------------------------------------------------------
// XML

void HardDrive::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    PhysicalDevice::writeTo(writer);
    writer->writeBlockT("size", size);
    writer->writeBool("pfaError", pfaError);
    writer->writeBool("pfaSupported", pfaSupported);
    writer->writeBool("pfaEnabled", pfaEnabled);
    writer->writeInt("writeCacheEnable", writeCacheEnable);
    writer->writeBool("writeCacheEnableSupported", writeCacheEnableSupported);
    writer->writeBool("selfTestSupported", selfTestSupported);
    writer->writeBool("OSPartition", bOSPartition);
    writer->writeInt("spareType", spareType);
    if (pSpareList && spareListSize > 0) {
        std::string text = " assignedTo=\"";
        for (int32_t i = 0; i < spareListSize; ++i) {
            char number[16];
            std::snprintf(number, sizeof(number), i == 0 ? "%d" : ",%d", static_cast<int>(pSpareList[i]));
            text += number;
        }
        text += '"';
        writer->writeRawString(text.c_str());
    }
    writer->writeInt("enclosureID", static_cast<int>(enclosureNumber));
    writer->writeInt("slotID", static_cast<int>(slotNumber));
}

void HardDrive::build(SimpleXmlParser& xmlParser)
{
    try {
        do {
            const char* tag = xmlParser.getTag();
            if (tag && std::strstr(tag, "HardDrive")) {
                if (xmlParser.foundEndTag())
                    break;
                if (const char* name = xmlParser.getName()) {
                    attribList.Append(name, xmlParser.getValue());
                    if (std::strcmp(name, "deviceID") == 0)
                        myAddr2.setDeviceID(strToU32(xmlParser.getValue(), 10));
                }
            } else if (xmlParser.foundStartTag() && xmlParser.tagIs("Chunk")) {
                addChild(new Chunk(xmlParser));
            } else if (xmlParser.foundStartTag() && xmlParser.tagIs("SASPhy")) {
                addChild(new SASPhy(xmlParser));
            }
        } while (xmlParser.parseNext());
    } catch (...) {
        // The drive being read goes away with the exception, and so must
        // what has been read into it.
        deleteAllChildren();
        chunkVec.clear();
        sasPhyVec.clear();
        throw;
    }

    PhysicalDevice::build();
    if (attribList.Exists("size"))
        size = attribList.GetU64("size");
    if (attribList.Exists("pfaError"))
        pfaError = attribList.GetBool("pfaError");
    if (attribList.Exists("pfaSupported"))
        pfaSupported = attribList.GetBool("pfaSupported");
    if (attribList.Exists("pfaEnabled"))
        pfaEnabled = attribList.GetBool("pfaEnabled");
    if (attribList.Exists("writeCacheEnable"))
        writeCacheEnable = static_cast<EnumHardDriveCacheMode>(attribList.GetLong("writeCacheEnable"));
    if (attribList.Exists("writeCacheEnableSupported"))
        writeCacheEnableSupported = attribList.GetBool("writeCacheEnableSupported");
    if (attribList.Exists("selfTestSupported"))
        selfTestSupported = attribList.GetBool("selfTestSupported");
    if (attribList.Exists("OSPartition"))
        bOSPartition = attribList.GetBool("OSPartition");
    if (attribList.Exists("spareType"))
        spareType = static_cast<EnumSpareType>(attribList.GetLong("spareType"));
    if (attribList.Exists("isCandidateSpare"))
        bCandidateSpare = attribList.GetLong("isCandidateSpare") != 0;
}

// ---------------------------------------------------------------------------
// Drive operations: not supported by the base class.

Ret HardDrive::readSector(unsigned long, unsigned long, char**) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::spin(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::format() { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::setWriteCacheEnable(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::setPhysicalDriveCache(EnumHardDriveCacheMode) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::initializeHardDrive() { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::downHardDrive(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::startDiskDiagnostic(EnumDiskDiagType) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::abortDiskDiagnostic() { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::getDiskDiagnosticProgress(DISK_DIAGNOSTIC_STATE&) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::getDiskDiagnosticResults(DISK_DIAGNOSTIC_STATE&) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::startTask(EnumHardDriveTask) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::getProgress(Progress&) { return Ret(Ret::NOT_SUPPORTED); }

Ret HardDrive::getProgress(ProgressCollection& progList)
{
    Progress p;
    Ret ret = getProgress(p);
    if (ret.getReturn() == 0)
        progList.add(p);
    return ret;
}

Ret HardDrive::createGlobalHotSpare() { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::createAssignedHotSpare(const AddrCollection&) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::createAssignedHotSpare(LogicalDrive*) { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::createCandidateHotSpare() { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::deleteHotSpare() { return Ret(Ret::NOT_SUPPORTED); }
Ret HardDrive::deleteAssignedHotSpare(const AddrCollection&) { return Ret(Ret::NOT_SUPPORTED); }
