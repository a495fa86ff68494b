#ifndef NRMEVENT_H
#define NRMEVENT_H

// The monitor event record. Every monitor library defines it alike, and the
// provider module binds its constructors by name to whichever monitor library
// the loader finds first, so its fields, their order and their types are a
// contract between separately built libraries: the static_asserts below pin
// the layout in both builds.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <type_traits>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"

class Adapter;

// Severity levels of an event, and the level of a queue: 1 error, 2 warning,
// 3 information, 4 task started, ended or stopped, 5 task running, 6 and 7
// further information.
enum EnumEventType : int32_t {
    NRM_EVENT_ERROR = 1,
    NRM_EVENT_WARNING = 2,
    NRM_EVENT_INFORMATION = 3,
    NRM_EVENT_TASK = 4,
    NRM_EVENT_TASK_RUNNING = 5,
    NRM_EVENT_INFORMATION_6 = 6,
    NRM_EVENT_INFORMATION_7 = 7
};

// The kinds of object an event is about.
enum EnumNRMObjectType : int32_t {
    NRM_OBJECT_UNKNOWN = 0,
    NRM_OBJECT_SYSTEM = 1,
    NRM_OBJECT_ADAPTER = 2,
    NRM_OBJECT_ARRAY = 3,
    NRM_OBJECT_LOGICAL_DRIVE = 4,
    NRM_OBJECT_PHYSICAL_DRIVE = 5,
    NRM_OBJECT_ENCLOSURE = 6,
    NRM_OBJECT_FAN = 7,
    NRM_OBJECT_POWER_SUPPLY = 8
};

// An id, severity or number that is not set.
const int32_t NRM_UNSET = 0x7FFFFFFF;

class STOR_EXPORT NRMEvent {
public:
    // Every field unset, stamped now.
    NRMEvent();
    NRMEvent(int eventId, int severity, std::string text, std::string eventName);
    // Note the order: the FRU number comes last.
    NRMEvent(int eventId, int severity, std::string text, Addr address, int logicalDriveNumber, int fanNumber,
             int powerSupplyNumber, std::string adapterSerial, std::string eventName, std::string fruNumber);

    // Stamps the record now and unsets every field but the drive serial and
    // the enclosure model; the queue turns a queued event into its overload
    // marker this way.
    void reset();
    // The adapter's serial number text, or "bus-function-device" when it has
    // none; a null adapter changes nothing.
    void setAdapterSerial(Adapter* adapter);
    // The one-line form of the events log:
    // "<ctime> | SEV | OBJT | id:AaaCccSssLlll | text".
    std::string toString() const;

    time_t eventTime;
    int32_t eventId;
    int32_t severity;
    std::string text;
    int32_t objectType;
    Addr address;
    std::string fruNumber;
    int32_t logicalDriveNumber;
    int32_t fanNumber;
    int32_t powerSupplyNumber;
    std::string adapterSerial;
    std::string eventName;
    int32_t percentComplete;
    std::string deviceSerial;
    std::string enclosureModel;
};

// The layout every monitor library and the provider module share.
static_assert(std::is_standard_layout<NRMEvent>::value, "NRMEvent has a plain layout");
#if defined(__x86_64__)
static_assert(sizeof(time_t) == 8 && sizeof(std::string) == 32 && sizeof(Addr) == 40, "64-bit field sizes");
static_assert(offsetof(NRMEvent, eventTime) == 0, "eventTime");
static_assert(offsetof(NRMEvent, eventId) == 8, "eventId");
static_assert(offsetof(NRMEvent, severity) == 12, "severity");
static_assert(offsetof(NRMEvent, text) == 16, "text");
static_assert(offsetof(NRMEvent, objectType) == 48, "objectType");
static_assert(offsetof(NRMEvent, address) == 56, "address");
static_assert(offsetof(NRMEvent, fruNumber) == 96, "fruNumber");
static_assert(offsetof(NRMEvent, logicalDriveNumber) == 128, "logicalDriveNumber");
static_assert(offsetof(NRMEvent, fanNumber) == 132, "fanNumber");
static_assert(offsetof(NRMEvent, powerSupplyNumber) == 136, "powerSupplyNumber");
static_assert(offsetof(NRMEvent, adapterSerial) == 144, "adapterSerial");
static_assert(offsetof(NRMEvent, eventName) == 176, "eventName");
static_assert(offsetof(NRMEvent, percentComplete) == 208, "percentComplete");
static_assert(offsetof(NRMEvent, deviceSerial) == 216, "deviceSerial");
static_assert(offsetof(NRMEvent, enclosureModel) == 248, "enclosureModel");
static_assert(sizeof(NRMEvent) == 280, "NRMEvent size");
#elif defined(__i386__)
static_assert(sizeof(time_t) == 4 && sizeof(std::string) == 24 && sizeof(Addr) == 36, "32-bit field sizes");
static_assert(offsetof(NRMEvent, eventTime) == 0, "eventTime");
static_assert(offsetof(NRMEvent, eventId) == 4, "eventId");
static_assert(offsetof(NRMEvent, severity) == 8, "severity");
static_assert(offsetof(NRMEvent, text) == 12, "text");
static_assert(offsetof(NRMEvent, objectType) == 36, "objectType");
static_assert(offsetof(NRMEvent, address) == 40, "address");
static_assert(offsetof(NRMEvent, fruNumber) == 76, "fruNumber");
static_assert(offsetof(NRMEvent, logicalDriveNumber) == 100, "logicalDriveNumber");
static_assert(offsetof(NRMEvent, fanNumber) == 104, "fanNumber");
static_assert(offsetof(NRMEvent, powerSupplyNumber) == 108, "powerSupplyNumber");
static_assert(offsetof(NRMEvent, adapterSerial) == 112, "adapterSerial");
static_assert(offsetof(NRMEvent, eventName) == 136, "eventName");
static_assert(offsetof(NRMEvent, percentComplete) == 160, "percentComplete");
static_assert(offsetof(NRMEvent, deviceSerial) == 164, "deviceSerial");
static_assert(offsetof(NRMEvent, enclosureModel) == 188, "enclosureModel");
static_assert(sizeof(NRMEvent) == 212, "NRMEvent size");
#else
#error "the NRMEvent layout is pinned for x86-64 and i386 only"
#endif

#endif
