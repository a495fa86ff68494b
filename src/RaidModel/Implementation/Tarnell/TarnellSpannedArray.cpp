#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"

#include <cstring>

#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"

TarnellSpannedArray::TarnellSpannedArray() : SpannedArray() { tarnellTraceConstruct("TarnellSpannedArray"); }

TarnellSpannedArray::TarnellSpannedArray(const TarnellSpannedArray& right) : SpannedArray(right)
{
    tarnellTraceConstruct("TarnellSpannedArray");
}

TarnellSpannedArray::TarnellSpannedArray(Adapter* adapterIN, int arrayIDIN, int sizeIN, int freeSpaceIN)
    : SpannedArray(adapterIN, arrayIDIN, sizeIN, freeSpaceIN)
{
    tarnellTraceConstruct("TarnellSpannedArray");
}

TarnellSpannedArray::~TarnellSpannedArray() { tarnellTraceDestruct("TarnellSpannedArray"); }

bool TarnellSpannedArray::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "TarnellSpannedArray") == 0) ||
           SpannedArray::isInstanceOf(className);
}

const char* TarnellSpannedArray::typeName() const { return "TarnellSpannedArray"; }

const char* TarnellSpannedArray::serializedName() const { return "SpannedArray"; }
