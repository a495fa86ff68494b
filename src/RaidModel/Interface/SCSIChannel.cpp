#include "RaidModel/Interface/SCSIChannel.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SCSIChannel::SCSIChannel() : initiatorID(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SCSIChannel::SCSIChannel()");
    channelType = SCSI;
}

SCSIChannel::SCSIChannel(Adapter* adapterIN, unsigned long channelIDIN, unsigned long initiatorIDIN,
                         EnumSpeed transferSpeedIN)
    : Channel(adapterIN, channelIDIN, SCSI, transferSpeedIN),
      initiatorID(static_cast<uint32_t>(initiatorIDIN))
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SCSIChannel::SCSIChannel(Adapter *, ...)");
}

SCSIChannel::SCSIChannel(const SCSIChannel& right) : Channel(right), initiatorID(right.initiatorID)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SCSIChannel::SCSIChannel(const SCSIChannel &)");
}

SCSIChannel::SCSIChannel(Adapter* adapterIN, SimpleXmlParser& xmlParser) : SCSIChannel()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SCSIChannel::SCSIChannel(SimpleXmlParser &xmlParser...)");
    attribList.setInitElements(7);
    build(adapterIN, xmlParser);
}

SCSIChannel::~SCSIChannel()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SCSIChannel::~SCSIChannel()");
}

bool SCSIChannel::isInstanceOf(const char* className) const
{
    return isClassName(className, "SCSIChannel") || isClassName(className, "ScsiChannel") ||
           Channel::isInstanceOf(className);
}

const char* SCSIChannel::typeName() const { return "SCSIChannel"; }

const char* SCSIChannel::serializedName() const { return "Channel"; }

void SCSIChannel::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    Channel::writeTo(writer);
    writer->writeString("type", "scsi");
    writer->writeULong("initiatorID", initiatorID);
}

Ret SCSIChannel::setInitiatorID(unsigned long) { return Ret(Ret::NOT_SUPPORTED); }

void SCSIChannel::build(Adapter* adapterIN, SimpleXmlParser& xmlParser)
{
    readElement(adapterIN, xmlParser, false);
    if (attribList.Exists("initiatorID"))
        initiatorID = static_cast<uint32_t>(attribList.GetLong("initiatorID"));
}

bool SCSIChannel::operator==(const SCSIChannel& right) const
{
    return Channel::operator==(right) && initiatorID == right.initiatorID;
}

SCSIChannel& SCSIChannel::operator=(const SCSIChannel& right)
{
    Channel::operator=(right);
    initiatorID = right.initiatorID;
    return *this;
}
