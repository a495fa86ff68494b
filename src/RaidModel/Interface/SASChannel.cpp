#include "RaidModel/Interface/SASChannel.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SASChannel::SASChannel()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASChannel::SASChannel()");
    channelType = SAS;
}

SASChannel::SASChannel(Adapter* adapterIN, unsigned long channelIDIN, EnumSpeed transferSpeedIN)
    : Channel(adapterIN, channelIDIN, SAS, transferSpeedIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASChannel::SASChannel(Adapter *, ...)");
}

SASChannel::SASChannel(const SASChannel& right) : Channel(right)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASChannel::SASChannel(const SASChannel &)");
}

SASChannel::SASChannel(Adapter* adapterIN, SimpleXmlParser& xmlParser) : SASChannel()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASChannel::SASChannel(SimpleXmlParser &xmlParser...)");
    attribList.setInitElements(4);
    build(adapterIN, xmlParser);
}

SASChannel::~SASChannel()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASChannel::~SASChannel()");
}

bool SASChannel::isInstanceOf(const char* className) const
{
    return (className && (std::strcmp(className, "SASChannel") == 0 ||
                          std::strcmp(className, "SasChannel") == 0)) ||
           Channel::isInstanceOf(className);
}

const char* SASChannel::typeName() const { return "SASChannel"; }

const char* SASChannel::serializedName() const { return "Channel"; }

void SASChannel::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    Channel::writeTo(writer);
    writer->writeString("type", "sas");
}

void SASChannel::build(Adapter* adapterIN, SimpleXmlParser& xmlParser)
{
    readElement(adapterIN, xmlParser, true);
}

bool SASChannel::operator==(const SASChannel& right) const
{
    return Channel::operator==(right) && transferSpeed == right.transferSpeed;
}

SASChannel& SASChannel::operator=(const SASChannel& right)
{
    Channel::operator=(right);
    return *this;
}
