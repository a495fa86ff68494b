#include "RaidModel/Interface/BasicArray.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"

BasicArray::BasicArray() : Array(nullptr, 0, 0, 0, 1)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "BasicArray::BasicArray()");
}

BasicArray::BasicArray(Adapter* adapterIN, int arrayIDIN, int sizeIN, int freeSpaceIN)
    : Array(adapterIN, static_cast<unsigned long>(arrayIDIN), static_cast<BLOCK_T>(static_cast<int64_t>(sizeIN)),
            static_cast<BLOCK_T>(static_cast<int64_t>(freeSpaceIN)), 1)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "BasicArray::BasicArray(Adapter *, ...)");
}

BasicArray::BasicArray(const BasicArray& right)
    : Array(right.getAdapter(), right.getArrayID(), right.getSize(), right.getFreeSpace(), 1)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "BasicArray::BasicArray(const BasicArray &)");
    // A copy keeps the stripe size too.
    setStripeSize(right.getStripeSize());
}

BasicArray::~BasicArray() { StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "BasicArray::~BasicArray()"); }

bool BasicArray::isInstanceOf(const char* className) const
{
    if (className && std::strcmp(className, "BasicArray") == 0)
        return true;
    return Array::isInstanceOf(className);
}

const char* BasicArray::typeName() const { return "BasicArray"; }

const char* BasicArray::serializedName() const { return "Array"; }
