#include "RaidModel/Interface/SATAChannel.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SATAChannel::SATAChannel() : ports(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SATAChannel::SATAChannel()");
    channelType = SATA;
}

SATAChannel::SATAChannel(Adapter* adapterIN, unsigned long channelIDIN, EnumSpeed transferSpeedIN,
                         unsigned long portsIN)
    : Channel(adapterIN, channelIDIN, SATA, transferSpeedIN), ports(static_cast<uint32_t>(portsIN))
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SATAChannel::SATAChannel(Adapter *, ...)");
}

SATAChannel::SATAChannel(const SATAChannel& right) : Channel(right), ports(right.ports)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SATAChannel::SATAChannel(const SATAChannel &)");
}

SATAChannel::SATAChannel(Adapter* adapterIN, SimpleXmlParser& xmlParser) : SATAChannel()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SATAChannel::SATAChannel(SimpleXmlParser &xmlParser...)");
    attribList.setInitElements(5);
    build(adapterIN, xmlParser);
}

SATAChannel::~SATAChannel()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SATAChannel::~SATAChannel()");
}

bool SATAChannel::isInstanceOf(const char* className) const
{
    return (className && (std::strcmp(className, "SATAChannel") == 0 ||
                          std::strcmp(className, "SataChannel") == 0)) ||
           Channel::isInstanceOf(className);
}

const char* SATAChannel::typeName() const { return "SATAChannel"; }

const char* SATAChannel::serializedName() const { return "Channel"; }

void SATAChannel::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    Channel::writeTo(writer);
    writer->writeString("type", "sata");
    writer->writeULong("ports", ports);
}

void SATAChannel::build(Adapter* adapterIN, SimpleXmlParser& xmlParser)
{
    readElement(adapterIN, xmlParser, false);
    if (attribList.Exists("ports"))
        ports = static_cast<uint32_t>(attribList.GetLong("ports"));
}

bool SATAChannel::operator==(const SATAChannel& right) const
{
    return Channel::operator==(right) && ports == right.ports;
}

SATAChannel& SATAChannel::operator=(const SATAChannel& right)
{
    Channel::operator=(right);
    ports = right.ports;
    return *this;
}
