#include "RaidModel/Interface/SafteFan.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SafteFan::SafteFan(Enclosure* enclosure, STATUS status, unsigned long itemNumIN)
    : EnclosureItem(enclosure, FAN, itemNumIN, NoJoin()), fanStatus(status)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteFan::SafteFan(Enclosure *, STATUS, unsigned long)");
    join();
}

SafteFan::SafteFan(Enclosure* enclosure, unsigned long itemNumIN, SimpleXmlParser& xmlParser)
    : EnclosureItem(enclosure, FAN, itemNumIN, NoJoin()), fanStatus(UNKNOWN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteFan::SafteFan(Enclosure *, unsigned long, SimpleXmlParser &)");
    attribList.setInitElements(7);
    build(xmlParser);
    join();
}

SafteFan::~SafteFan()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SafteFan::~SafteFan()");
}

bool SafteFan::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "SafteFan") == 0) || EnclosureItem::isInstanceOf(className);
}

const char* SafteFan::typeName() const { return "SafteFan"; }

const char* SafteFan::serializedName() const { return "Fan"; }

void SafteFan::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    EnclosureItem::writeTo(writer);
    writer->writeInt("fanStatus", fanStatus);
}

void SafteFan::build(SimpleXmlParser& xmlParser)
{
    collect("Fan", xmlParser);
    EnclosureItem::build();
    if (attribList.Exists("fanStatus"))
        fanStatus = static_cast<STATUS>(attribList.GetULong("fanStatus"));
}
