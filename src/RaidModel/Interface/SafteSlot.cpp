#include "RaidModel/Interface/SafteSlot.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SafteSlot::SafteSlot(Enclosure* enclosure, unsigned long scsiIDIN, unsigned char slotStatus, unsigned long itemNumIN)
    : EnclosureItem(enclosure, SLOT, itemNumIN, NoJoin()), scsiID(static_cast<uint32_t>(scsiIDIN)), bDeviceInserted(false), bReadyForInsertionRemoval(false), bPreparedForOperation(false)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteSlot::SafteSlot(Enclosure *, unsigned long, unsigned char, unsigned long)");
    setSlotStatus(slotStatus);
    join();
}

SafteSlot::SafteSlot(Enclosure* enclosure, unsigned long itemNumIN, SimpleXmlParser& xmlParser)
    : EnclosureItem(enclosure, SLOT, itemNumIN, NoJoin()), scsiID(255), bDeviceInserted(false), bReadyForInsertionRemoval(false), bPreparedForOperation(false)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteSlot::SafteSlot(Enclosure *, unsigned long, SimpleXmlParser &)");
    attribList.setInitElements(9);
    build(xmlParser);
    join();
}

SafteSlot::~SafteSlot()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SafteSlot::~SafteSlot()");
}

bool SafteSlot::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "SafteSlot") == 0) || EnclosureItem::isInstanceOf(className);
}

const char* SafteSlot::typeName() const { return "SafteSlot"; }

const char* SafteSlot::serializedName() const { return "Slot"; }

void SafteSlot::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    EnclosureItem::writeTo(writer);
    writer->writeULong("scsiID", scsiID);
    writer->writeULong("deviceInserted", bDeviceInserted ? 1 : 0);
    writer->writeULong("readyForInsertionRemoval", bReadyForInsertionRemoval ? 1 : 0);
    writer->writeULong("preparedForOperation", bPreparedForOperation ? 1 : 0);
}

void SafteSlot::build(SimpleXmlParser& xmlParser)
{
    collect("Slot", xmlParser);
    EnclosureItem::build();
    if (attribList.Exists("scsiID"))
        scsiID = attribList.GetULong("scsiID");
    if (attribList.Exists("deviceInserted"))
        bDeviceInserted = attribList.GetBool("deviceInserted");
    if (attribList.Exists("readyForInsertionRemoval"))
        bReadyForInsertionRemoval = attribList.GetBool("readyForInsertionRemoval");
    if (attribList.Exists("preparedForOperation"))
        bPreparedForOperation = attribList.GetBool("preparedForOperation");
}

void SafteSlot::setSlotStatus(unsigned char s)
{
    bDeviceInserted = (s & 0x01) != 0;
    bReadyForInsertionRemoval = (s & 0x02) != 0;
    bPreparedForOperation = (s & 0x04) != 0;
}
