#include "RaidModel/Interface/EnclosureItem.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Serialization/Writer.h"

EnclosureItem::EnclosureItem(Enclosure* enclosure, ITEM_TYPE type, unsigned long itemNumIN)
    : EnclosureItem(enclosure, type, itemNumIN, NoJoin())
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "EnclosureItem::EnclosureItem(Enclosure *, ITEM_TYPE, unsigned long)");
    join();
}

EnclosureItem::EnclosureItem(Enclosure* enclosure, ITEM_TYPE type, unsigned long itemNumIN, NoJoin)
    : pEnclosure(enclosure), itemType(type), itemNum(static_cast<uint32_t>(itemNumIN)), pZeqFruInfo(nullptr)
{
}

EnclosureItem::~EnclosureItem()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "EnclosureItem::~EnclosureItem()");
    delete pZeqFruInfo;
}

void EnclosureItem::join()
{
    if (pEnclosure)
        pEnclosure->addChild(this);
}

bool EnclosureItem::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "EnclosureItem") == 0) || RaidObject::isInstanceOf(className);
}

const char* EnclosureItem::typeName() const { return "EnclosureItem"; }

const char* EnclosureItem::serializedName() const { return "EnclosureItem"; }

void EnclosureItem::setZeqFruInfo(ZeqFruInfo* info)
{
    if (info == pZeqFruInfo)
        return;
    delete pZeqFruInfo;
    pZeqFruInfo = info;
}

void EnclosureItem::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    writer->writeInt("itemType", itemType);
    writer->writeULong("itemNum", itemNum);
    if (pZeqFruInfo) {
        writer->writeString("fruPartNum", pZeqFruInfo->getPartNum());
        writer->writeString("fruSerialNum", pZeqFruInfo->getSerialNum());
        writer->writeString("fruDateOfMfr", pZeqFruInfo->getDateOfManufacture());
        writer->writeString("fruVendor", pZeqFruInfo->getVendor());
        writer->writeString("fruType", pZeqFruInfo->getType());
    }
}

void EnclosureItem::build()
{
    if (attribList.Exists("itemType"))
        itemType = static_cast<ITEM_TYPE>(attribList.GetLong("itemType"));
    if (attribList.Exists("itemNum"))
        itemNum = static_cast<uint32_t>(attribList.GetLong("itemNum"));
    struct {
        const char* name;
        void (ZeqFruInfo::*set)(const char*);
    } const fru[] = {{"fruPartNum", &ZeqFruInfo::setPartNum},
                     {"fruSerialNum", &ZeqFruInfo::setSerialNum},
                     {"fruDateOfMfr", &ZeqFruInfo::setDateOfManufacture},
                     {"fruType", &ZeqFruInfo::setType}};
    for (const auto& f : fru) {
        if (!attribList.Exists(f.name))
            continue;
        if (!pZeqFruInfo)
            pZeqFruInfo = new ZeqFruInfo;
        if (pZeqFruInfo)
            (pZeqFruInfo->*f.set)(attribList.GetValue(f.name));
    }
}

void EnclosureItem::collect(const char* elementName, SimpleXmlParser& xmlParser)
{
    do {
        if (xmlParser.tagIs(elementName)) {
            if (xmlParser.foundEndTag())
                break;
            if (xmlParser.getName())
                attribList.Append(xmlParser.getName(), xmlParser.getValue());
        }
    } while (xmlParser.parseNext());
}
