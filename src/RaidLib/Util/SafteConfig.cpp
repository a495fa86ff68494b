#include "RaidLib/Util/SafteConfig.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SafteConfig::SafteConfig()
    : usFanCount(0), usPowerSupplyCount(0), usDeviceSlotCount(0), usDoorLockPresent(0),
      usTempSensorCount(0), usAudibleAlarmPresent(0), usVendorUniqueBytes(0), bCelsius(false)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteConfig::SafteConfig()");
    std::memset(ucReserved, 0, sizeof(ucReserved));
}

SafteConfig::SafteConfig(const SafteConfig& right)
    : RaidObject(right), usFanCount(right.usFanCount), usPowerSupplyCount(right.usPowerSupplyCount),
      usDeviceSlotCount(right.usDeviceSlotCount), usDoorLockPresent(right.usDoorLockPresent),
      usTempSensorCount(right.usTempSensorCount), usAudibleAlarmPresent(right.usAudibleAlarmPresent),
      usVendorUniqueBytes(right.usVendorUniqueBytes), bCelsius(right.bCelsius)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteConfig::SafteConfig(SafteConfig &)");
    std::memset(ucReserved, 0, sizeof(ucReserved));
}

SafteConfig::SafteConfig(Enclosure*, SimpleXmlParser& xmlParser) : SafteConfig()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteConfig::SafteConfig(Enclosure *, SimpleXmlParser &)");
    attribList.setInitElements(7);
    build(xmlParser);
}

SafteConfig::~SafteConfig()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteConfig::~SafteConfig()");
}

bool SafteConfig::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "SafteConfig") == 0) ||
           RaidObject::isInstanceOf(className);
}

const char* SafteConfig::typeName() const { return "SafteConfig"; }

const char* SafteConfig::serializedName() const { return "SafteConfig"; }

void SafteConfig::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    writer->writeInt("fanCount", usFanCount);
    writer->writeInt("powerSupplyCount", usPowerSupplyCount);
    writer->writeInt("slotCount", usDeviceSlotCount);
    writer->writeInt("doorLockPresent", usDoorLockPresent);
    writer->writeInt("tempSensorCount", usTempSensorCount);
    writer->writeInt("speakerPresent", usAudibleAlarmPresent);
    writer->writeBool("celsius", bCelsius);
}

void SafteConfig::build(SimpleXmlParser& xmlParser)
{
    do {
        if (xmlParser.tagIs("SafteConfig")) {
            if (xmlParser.foundEndTag())
                break;
            if (xmlParser.getName())
                attribList.Append(xmlParser.getName(), xmlParser.getValue());
        }
    } while (xmlParser.parseNext());

    struct {
        const char* name;
        uint16_t* field;
    } const counts[] = {{"fanCount", &usFanCount},
                        {"powerSupplyCount", &usPowerSupplyCount},
                        {"slotCount", &usDeviceSlotCount},
                        {"doorLockPresent", &usDoorLockPresent},
                        {"tempSensorCount", &usTempSensorCount},
                        {"speakerPresent", &usAudibleAlarmPresent}};
    for (const auto& c : counts)
        if (attribList.Exists(c.name))
            *c.field = static_cast<uint16_t>(attribList.GetLong(c.name));
    if (attribList.Exists("celsius"))
        bCelsius = attribList.GetBool("celsius");
}

void SafteConfig::initFieldsFromData(const SAFTE_CONFIG* data)
{
    if (!data)
        return;
    usFanCount = data->fanCount;
    usPowerSupplyCount = data->powerSupplyCount;
    usDeviceSlotCount = data->slotCount;
    usDoorLockPresent = data->doorLockInstalled;
    usTempSensorCount = data->tempSensorCount;
    usAudibleAlarmPresent = data->audibleAlarmInstalled;
    usVendorUniqueBytes = data->vendorUniqueByteCount;
    bCelsius = data->celsius();
}

void SafteConfig::setReserved(const unsigned char* text)
{
    if (!text)
        return;
    for (unsigned i = 0; i < RESERVED_SIZE && text[i] != 0; ++i)
        ucReserved[i] = text[i];
}

uint16_t SafteConfig::getStatusLength() const
{
    return static_cast<uint16_t>(usFanCount + usPowerSupplyCount + usDeviceSlotCount +
                                 usTempSensorCount + 5);
}
