#include "RaidModel/Interface/SpannedArray.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"

SpannedArray::SpannedArray() : Array(nullptr, 0, 0, 0, 2)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SpannedArray::SpannedArray()");
}

SpannedArray::SpannedArray(Adapter* adapterIN, int arrayIDIN, int sizeIN, int freeSpaceIN)
    : Array(adapterIN, static_cast<unsigned long>(arrayIDIN), static_cast<BLOCK_T>(static_cast<int64_t>(sizeIN)),
            static_cast<BLOCK_T>(static_cast<int64_t>(freeSpaceIN)), 2)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SpannedArray::SpannedArray(Adapter *, ...)");
}

SpannedArray::SpannedArray(const SpannedArray& right)
    : Array(right.getAdapter(), right.getArrayID(), right.getSize(), right.getFreeSpace(), 2)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SpannedArray::SpannedArray(const SpannedArray &)");
    // A copy keeps the stripe size too.
    setStripeSize(right.getStripeSize());
}

SpannedArray::~SpannedArray() { StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SpannedArray::~SpannedArray()"); }

bool SpannedArray::isInstanceOf(const char* className) const
{
    if (className && std::strcmp(className, "SpannedArray") == 0)
        return true;
    return Array::isInstanceOf(className);
}

const char* SpannedArray::typeName() const { return "SpannedArray"; }

const char* SpannedArray::serializedName() const { return "Array"; }
