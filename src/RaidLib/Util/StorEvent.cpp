#include "RaidLib/Util/StorEvent.h"

#include "RaidModel/Serialization/XMLWriter.h"

STOR_EXPORT const char* pEmpty = "";

// Ids that are not known hold the undefined id, the event number 0.
StorEvent::StorEvent()
    : eventType(STOR_EVENT_NONE),
      pEventType(pEmpty),
      eventTime(0),
      subType(0x7FFFFFFF),
      pSubType(pEmpty),
      subTypeCode(0x7FFFFFFF),
      channelID(0x7FFFFFFF),
      deviceID(0x7FFFFFFF),
      lunID(0x7FFFFFFF),
      eventNumber(0),
      eventInfo(0, 8)
{
}

void StorEvent::StorEventToXML(XMLWriter& w) const
{
    w.addTag("<event");
    w.writeULong("eventNumber", eventNumber);
    for (int32_t i = 0; i < eventInfo.NumEntries(); ++i)
        w.writeString(eventInfo.GetName(i), eventInfo.GetValue(i));
    w.addTag("/>\n");
}

namespace {

// n records in bytes, as the array counts them.
uint32_t recordBytes(uint32_t n)
{
    const uint64_t bytes = static_cast<uint64_t>(n) * sizeof(StorEvent);
    if (bytes > UINT32_MAX)
        throw DynamicBufferException(DynamicBufferException::ALLOC_FAILED);
    return static_cast<uint32_t>(bytes);
}

} // namespace

StorEventCollection::StorEventCollection(uint32_t n, uint32_t growBy, uint32_t bufferSize)
    : ByValueArray_TC<StorEvent>(recordBytes(n), recordBytes(growBy)), eventBuffer(bufferSize)
{
}
