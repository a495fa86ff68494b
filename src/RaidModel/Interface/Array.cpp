#include "RaidModel/Interface/Array.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Serialization/Writer.h"

namespace {
const STORID_T UNDEFINED_ID = 0x7FFFFFFF;
}

Array::Array() : adapter(nullptr), size(0), freeSpace(0), nestedLevel(0), stripeSize(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Array::Array()");
}

Array::Array(Adapter* adapterIN, unsigned long arrayIDIN, BLOCK_T sizeIN, BLOCK_T freeSpaceIN, int nestedLevelIN)
    : adapter(adapterIN), size(sizeIN), freeSpace(freeSpaceIN), nestedLevel(nestedLevelIN), stripeSize(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Array::Array(Adapter *, ...)");
    myAddr2.setArrayID(static_cast<STORID_T>(arrayIDIN));
}

Array::Array(const Array& right)
    : RaidObject(), adapter(right.adapter), size(right.size), freeSpace(right.freeSpace),
      nestedLevel(right.nestedLevel), stripeSize(right.stripeSize)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Array::Array(const Array &)");
    myAddr2.setArrayID(right.getArrayID());
}

Array::~Array() { StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Array::~Array()"); }

bool Array::isInstanceOf(const char* className) const
{
    if (isClassName(className, "Array"))
        return true;
    return RaidObject::isInstanceOf(className);
}

const char* Array::typeName() const { return "Array"; }

const char* Array::serializedName() const { return "Array"; }

Array& Array::operator=(const Array& right)
{
    myAddr2.setArrayID(right.getArrayID());
    size = right.size;
    freeSpace = right.freeSpace;
    nestedLevel = right.nestedLevel;
    stripeSize = right.stripeSize;
    return *this;
}

bool Array::operator==(const Array& right) const
{
    return getArrayID() == right.getArrayID() && size == right.size && freeSpace == right.freeSpace &&
           nestedLevel == right.nestedLevel;
}

void Array::descendantAdded(RaidObject* pDescendantIN)
{
    RaidObject::descendantAdded(pDescendantIN);
    if (pDescendantIN)
        pDescendantIN->getAddr2().setArrayID(getArrayID());
}

void Array::getHardDrives(std::vector<HardDrive*>& drives)
{
    FilterCollection filter(this);
    filter.apply(const_cast<char*>("Chunk"), false);
    for (int i = 0; i < static_cast<int>(filter.size()); ++i) {
        const RaidObject* chunk = filter.elementAt(i);
        if (!chunk || !adapter)
            continue;
        // A chunk of a logical drive names no drive.
        if (chunk->getChannelID() == UNDEFINED_ID || chunk->getDeviceID() == UNDEFINED_ID)
            continue;
        RaidObject* found = adapter->getObject(adapter->getAdapterID(), UNDEFINED_ID, UNDEFINED_ID,
                                               chunk->getChannelID(), chunk->getDeviceID());
        if (found)
            drives.push_back(static_cast<HardDrive*>(found));
    }
}

void Array::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    writer->writeBlockT("size", size);
    writer->writeBlockT("freeSpace", freeSpace);
    writer->writeInt("nestedLevel", nestedLevel);
    writer->writeInt("stripeSize", stripeSize);
}

Ret Array::increaseSize() { return Ret(Ret::NOT_SUPPORTED); }
Ret Array::modifyRaidLevel() { return Ret(Ret::NOT_SUPPORTED); }
Ret Array::getProgress(Progress&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Array::deleteArray() { return Ret(Ret::NOT_SUPPORTED); }
Ret Array::synchronize() { return Ret(Ret::NOT_SUPPORTED); }
