#include "RaidModel/Implementation/Tarnell/TarnellConfig.h"

#include <cstring>

#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"

TarnellConfig::TarnellConfig() : Config() { tarnellTraceConstruct("TarnellConfig"); }

TarnellConfig::TarnellConfig(const TarnellConfig& right) : Config(right) { tarnellTraceConstruct("TarnellConfig"); }

TarnellConfig::TarnellConfig(int configIDIN) : Config(configIDIN) { tarnellTraceConstruct("TarnellConfig"); }

TarnellConfig::~TarnellConfig() { tarnellTraceDestruct("TarnellConfig"); }

bool TarnellConfig::isInstanceOf(const char* type) const
{
    return isClassName(type, "TarnellConfig") || Config::isInstanceOf(type);
}

const char* TarnellConfig::typeName() const { return "TarnellConfig"; }
