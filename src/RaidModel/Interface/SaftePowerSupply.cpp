#include "RaidModel/Interface/SaftePowerSupply.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SaftePowerSupply::SaftePowerSupply(Enclosure* enclosure, STATUS status, unsigned long itemNumIN)
    : EnclosureItem(enclosure, POWER_SUPPLY, itemNumIN, NoJoin()), powerSupplyStatus(status)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SaftePowerSupply::SaftePowerSupply(Enclosure *, STATUS, unsigned long)");
    join();
}

SaftePowerSupply::SaftePowerSupply(Enclosure* enclosure, unsigned long itemNumIN, SimpleXmlParser& xmlParser)
    : EnclosureItem(enclosure, POWER_SUPPLY, itemNumIN, NoJoin()), powerSupplyStatus(UNKNOWN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SaftePowerSupply::SaftePowerSupply(Enclosure *, unsigned long, SimpleXmlParser &)");
    attribList.setInitElements(8);
    build(xmlParser);
    join();
}

SaftePowerSupply::~SaftePowerSupply()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SaftePowerSupply::~SaftePowerSupply()");
}

bool SaftePowerSupply::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "SaftePowerSupply") == 0) || EnclosureItem::isInstanceOf(className);
}

const char* SaftePowerSupply::typeName() const { return "SaftePowerSupply"; }

const char* SaftePowerSupply::serializedName() const { return "PowerSupply"; }

void SaftePowerSupply::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    EnclosureItem::writeTo(writer);
    writer->writeInt("powerSupplyStatus", powerSupplyStatus);
}

void SaftePowerSupply::build(SimpleXmlParser& xmlParser)
{
    collect("PowerSupply", xmlParser);
    EnclosureItem::build();
    if (attribList.Exists("powerSupplyStatus"))
        powerSupplyStatus = static_cast<STATUS>(attribList.GetULong("powerSupplyStatus"));
}
