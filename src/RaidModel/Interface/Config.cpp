#include "RaidModel/Interface/Config.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

Config::Config() : configID(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Config::Config()");
}

Config::Config(int configIDIN) : configID(configIDIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Config::Config(int configIDIN)");
}

Config::Config(const Config& right) : RaidObject(right), configID(right.configID)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Config::Config(const Config &)");
}

Config::~Config()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Config::~Config()");
}

bool Config::isInstanceOf(const char* className) const
{
    return isClassName(className, "Config") || RaidObject::isInstanceOf(className);
}

const char* Config::typeName() const { return "Config"; }

const char* Config::serializedName() const { return "Config"; }

// Only the id: no base attributes.
void Config::writeTo(Writer* writer) const
{
    if (writer)
        writer->writeInt("configID", configID);
}

Ret Config::restoreConfig(HardDrive&) { return Ret(Ret::NOT_SUPPORTED); }

Ret Config::resetConfig() { return Ret(Ret::NOT_SUPPORTED); }

Ret Config::setConfigId(int) { return Ret(Ret::NOT_SUPPORTED); }

Config& Config::operator=(const Config& right)
{
    configID = right.configID;
    return *this;
}
