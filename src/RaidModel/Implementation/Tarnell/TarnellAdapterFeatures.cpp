#include "RaidModel/Implementation/Tarnell/TarnellAdapterFeatures.h"

#include <cstring>

#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"

TarnellAdapterFeatures::TarnellAdapterFeatures() : AdapterFeatures(), TARNELLfeatures()
{
    tarnellTraceConstruct("TarnellAdapterFeatures");
}

TarnellAdapterFeatures::TarnellAdapterFeatures(const TarnellAdapterFeatures& right)
    : AdapterFeatures(), TARNELLfeatures(right.getTarnellFeatureLevels())
{
    tarnellTraceConstruct("TarnellAdapterFeatures");
}

TarnellAdapterFeatures::~TarnellAdapterFeatures() { tarnellTraceDestruct("TarnellAdapterFeatures"); }

bool TarnellAdapterFeatures::isInstanceOf(const char* type) const
{
    return (type && std::strcmp(type, "TarnellAdapterFeatures") == 0) || AdapterFeatures::isInstanceOf(type);
}

const char* TarnellAdapterFeatures::typeName() const { return "TarnellAdapterFeatures"; }

const char* TarnellAdapterFeatures::serializedName() const { return "AdapterFeatures"; }
