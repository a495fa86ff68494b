#ifndef STOREVENT_H
#define STOREVENT_H

#include <cstdint>
#include <ctime>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/DynamicBuffer.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidLib/Util/byvalue-array.h"

class XMLWriter;

// Kind of a generic event; each kind is one bit.
enum STOR_EVENT_TYPE : uint32_t {
    STOR_EVENT_NONE = 0,
    STOR_EVENT_ACKNOWLEDGE = 1,
    STOR_EVENT_CLOSE_HANDLE = 2,
    STOR_EVENT_CONFIG_CHANGE = 4,
    STOR_EVENT_DISK_FAILURE = 8,
    STOR_EVENT_ADAPTER_TEXT = 16,
    STOR_EVENT_LOGICAL_DRIVE_CHANGE = 32,
    STOR_EVENT_DRIVE_LETTER_CHANGE = 64,
    STOR_EVENT_FILE_SYSTEM_CHANGE = 128,
    STOR_EVENT_LOGICAL_DRIVE_EVENT = 256,
    STOR_EVENT_NETWORK_FAILURE = 512,
    STOR_EVENT_ADAPTER_PAUSED = 1024,
    STOR_EVENT_ADAPTER_RESUMED = 2048,
    STOR_EVENT_FAILOVER_CHANGE = 4096,
    STOR_EVENT_ENCLOSURE_MANAGEMENT = 8192,
    STOR_EVENT_BATTERY_CHANGE = 16384,
    STOR_EVENT_JOB_PROGRESS = 32768,
    STOR_EVENT_GLOBAL_CACHE_CHANGE = 65536,
    STOR_EVENT_LOGICAL_DRIVE_ADD = 131072,
    STOR_EVENT_LOGICAL_DRIVE_DELETE = 262144,
    STOR_EVENT_BATT_RECOND_REQD = 524288,
    STOR_EVENT_SMART = 1048576,
    STOR_EVENT_PRIORITY_CHANGE = 2097152,
    STOR_EVENT_DISK_SET = 4194304,
    STOR_EVENT_SS_NO_BACKUP_PRIVILEGE = 8388608,
    STOR_EVENT_NETWORK_RECONNECT = 16777216,
    STOR_EVENT_CLUSTER = 33554432,
    STOR_EVENT_LOGICAL_DRIVE_SCSI_EVENT = 67108864,
    STOR_EVENT_ENHANCED_BATTERY_CHANGE = 134217728,
    STOR_EVENT_EXPANDED_EVENT = 268435456,
    STOR_EVENT_GENERAL_UPDATE_EVENT = 536870912,
    STOR_EVENT_UNRECOGNIZED_FW_EVENT = 0x80000000u
};
static_assert(sizeof(STOR_EVENT_TYPE) == 4, "event kinds are 32-bit");

// The shared empty text that the text pointers of a new StorEvent name.
extern STOR_EXPORT const char* pEmpty;

// A generic event record with free-form attributes. The record does not own
// the texts its pointers (and its attribute list) name; it owns the list.
class STOR_EXPORT StorEvent {
public:
    StorEvent();

    // One "event" element: "<event", "eventNumber", the attributes of
    // eventInfo in order, "/>\n".
    void StorEventToXML(XMLWriter& w) const;

    STOR_EVENT_TYPE eventType;
    const char* pEventType;
    time_t eventTime;
    Addr addr;
    int32_t subType;
    const char* pSubType;
    int32_t subTypeCode;
    int32_t channelID;
    int32_t deviceID;
    int32_t lunID;
    uint32_t eventNumber;
    XmlAttributeList_C eventInfo;
};

// A growable array of StorEvent records with an event buffer of its own.
// The records are copied as objects, since each owns its attribute list.
class STOR_EXPORT StorEventCollection : public ByValueArray_TC<StorEvent> {
public:
    // Room for n records, a growth step of growBy records and an event
    // buffer of bufferSize bytes. Throws std::bad_alloc when the room cannot
    // be allocated, DynamicBufferException reason 1 for sizes beyond 4 GiB.
    StorEventCollection(uint32_t n, uint32_t growBy, uint32_t bufferSize);

    int32_t NumEvents() const { return NumEntries(); }

    DynamicBuffer eventBuffer;
};

#endif
