#include "RaidModel/Interface/SafteTempSensor.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SafteTempSensor::SafteTempSensor(Enclosure* enclosure, int temperatureIN, bool outOfRange, unsigned long itemNumIN)
    : EnclosureItem(enclosure, TEMP_SENSOR, itemNumIN, NoJoin()), temperature(temperatureIN), bOutOfRange(outOfRange)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteTempSensor::SafteTempSensor(Enclosure *, int, bool, unsigned long)");
    join();
}

SafteTempSensor::SafteTempSensor(Enclosure* enclosure, unsigned long itemNumIN, SimpleXmlParser& xmlParser)
    : EnclosureItem(enclosure, TEMP_SENSOR, itemNumIN, NoJoin()), temperature(0), bOutOfRange(false)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteTempSensor::SafteTempSensor(Enclosure *, unsigned long, SimpleXmlParser &)");
    attribList.setInitElements(9);
    build(xmlParser);
    join();
}

SafteTempSensor::~SafteTempSensor()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SafteTempSensor::~SafteTempSensor()");
}

bool SafteTempSensor::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "SafteTempSensor") == 0) || EnclosureItem::isInstanceOf(className);
}

const char* SafteTempSensor::typeName() const { return "SafteTempSensor"; }

const char* SafteTempSensor::serializedName() const { return "TempSensor"; }

void SafteTempSensor::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    EnclosureItem::writeTo(writer);
    writer->writeInt("temperature", temperature);
    writer->writeBool("outOfRange", bOutOfRange);
}

void SafteTempSensor::build(SimpleXmlParser& xmlParser)
{
    collect("TempSensor", xmlParser);
    EnclosureItem::build();
    if (attribList.Exists("temperature"))
        temperature = attribList.GetLong("temperature");
    if (attribList.Exists("outOfRange"))
        bOutOfRange = attribList.GetBool("outOfRange");
}
