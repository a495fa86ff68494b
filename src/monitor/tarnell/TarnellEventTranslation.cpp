// The translation of the Tarnell family event text ("RaidEvent" elements)
// into the monitor's events.
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/PhysicalDevice.h"
#include "RaidModel/Interface/System.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/tarnell/TarnellRaidMonitor.h"

// The reading state of one text: each attribute read overwrites its value,
// and an element without some attribute keeps the value of the one before.
struct TarnellRaidMonitor::EventFields {
    int32_t eventType = NRM_UNSET;
    int32_t eventCode = NRM_UNSET;
    int32_t adapterID = NRM_UNSET;
    int32_t arrayID = NRM_UNSET;
    int32_t logicalDriveID = NRM_UNSET;
    int32_t channelID = NRM_UNSET;
    int32_t deviceID = NRM_UNSET;
    int32_t powerSupplyID = NRM_UNSET;
    int32_t fanID = NRM_UNSET;
    std::string fru;
};

namespace {

const int CATEGORY_PHYSICAL = 1;
const int CATEGORY_LOGICAL = 2;
const int CATEGORY_CONTROLLER = 3;
const int CATEGORY_ENCLOSURE = 4;
const int CATEGORY_FAN = 5;
const int CATEGORY_POWER = 6;
const int CATEGORY_ARRAY = 7;
const int CATEGORY_BATTERY = 8;
const int CATEGORY_BATTERY_FRU = 9;
const int CATEGORY_EXPIRATION = 10;
const int CATEGORY_TEMPERATURE = 11;
const int CATEGORY_REPLACED = 12;

// The task-started codes whose family copy the task rules may have raised.
const int TASK_STARTED_CODES[] = {304, 307, 310, 313, 316, 319, 322, 325, 328, 332, 335, 339};

std::string decimal(int value) { return NLSParser::itoa(value, 10); }

// An id as a number counted from 1; an unset id stays 2147483647.
std::string plusOne(int value) { return decimal(value == NRM_UNSET ? value : value + 1); }

// The channel a device sits on: its channel object's id, else its own.
STORID_T channelOf(const PhysicalDevice* device)
{
    const Channel* channel = device->getChannel();
    if (channel)
        return channel->getChannelID();
    const RaidObject* parent = device->getParent();
    return parent && parent->isInstanceOf("Channel") ? parent->getChannelID() : device->getChannelID();
}

// The first device of the class below the adapter on the channel (and,
// unless deviceID is null, with the device id); null when none.
PhysicalDevice* findDevice(Adapter* adapter, const char* className, int32_t channelID, const int32_t* deviceID)
{
    FilterCollection devices(adapter);
    devices.apply(className, false);
    for (unsigned long k = 0; k < devices.size(); ++k) {
        auto* device = static_cast<PhysicalDevice*>(devices.elementAt(static_cast<int>(k)));
        if (device && channelOf(device) == static_cast<STORID_T>(channelID) &&
            (!deviceID || device->getDeviceID() == static_cast<STORID_T>(*deviceID)))
            return device;
    }
    return nullptr;
}

Adapter* adapterWithID(System* system, int32_t adapterID)
{
    if (!system)
        return nullptr;
    for (unsigned long k = 0; k < system->getNumAdapters(); ++k) {
        Adapter* adapter = system->getAdapter(k);
        if (adapter && adapter->getAdapterID() == static_cast<STORID_T>(adapterID))
            return adapter;
    }
    return nullptr;
}

} // namespace

bool TarnellRaidMonitor::newestEventNumber(const char* text, uint32_t& number)
{
    static const char NAME[] = "eventNumber";
    if (!text)
        return false;
    const char* last = nullptr;
    for (const char* at = std::strstr(text, NAME); at; at = std::strstr(at + 1, NAME))
        last = at;
    if (!last)
        return false;
    const char* p = last + sizeof NAME - 1;
    if (p[0] != '=' || p[1] != '"')
        return false;
    p += 2;
    if (*p < '0' || *p > '9')
        return false;
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > UINT32_MAX)
            return false;
    }
    number = static_cast<uint32_t>(value);
    return true;
}

Adapter* TarnellRaidMonitor::getCurrentAdapter(int adapterID)
{
    System* system = tarnellLib ? tarnellLib->getCurrentSystem() : nullptr;
    if (!system)
        logDebugGroup(NRM_DEBUG_DETAIL, "currentSys is NULL !!!!!!!!!!!\n");
    return adapterWithID(system, adapterID);
}

Adapter* TarnellRaidMonitor::getOldAdapter(int adapterID)
{
    System* system = tarnellLib ? tarnellLib->getOldSystem() : nullptr;
    if (!system)
        logDebugGroup(NRM_DEBUG_DETAIL, "oldSys is NULL !!!!!!!!!!!\n");
    return adapterWithID(system, adapterID);
}

int TarnellRaidMonitor::getEventType(int type)
{
    switch (type) {
    case 2:
        return NRM_EVENT_WARNING;
    case 4:
        return NRM_EVENT_ERROR;
    case 8:
        return NRM_EVENT_TASK;
    case 10:
        return NRM_EVENT_INFORMATION_6;
    default: // 1, and any type the family does not write
        return NRM_EVENT_INFORMATION;
    }
}

bool TarnellRaidMonitor::isDuplicateEvent(int code, int logicalDrive)
{
    logDebugGroup(NRM_DEBUG_TRACE, "In isDuplicateEvent \n");
    if (progressEventPending) {
        for (int started : TASK_STARTED_CODES) {
            if (started == code) {
                progressEventPending = false;
                logDebugGroup(NRM_DEBUG_TRACE, "isDupEvent is true\n");
                return true;
            }
        }
    }
    // The records keep the logical drive number plus 1.
    for (const LOGGED_EVENT_INFO& logged : loggedEvents)
        if (logged.eventCode == code && static_cast<int64_t>(logged.logicalDrive) - 1 == logicalDrive)
            return true;
    return false;
}

std::string TarnellRaidMonitor::sizeText(int64_t megabytes)
{
    const int64_t whole = megabytes / 1024;
    const int64_t fraction = ((megabytes - whole * 1024) * 1000) / 1024;
    char text[48];
    std::snprintf(text, sizeof text, "%d.%03d GB", static_cast<int>(whole), static_cast<int>(fraction));
    return text;
}

std::string TarnellRaidMonitor::raidLevelText(int level)
{
    switch (level) {
    case RAID0: return "0";
    case RAID1: return "1";
    case RAID1E: return "1EE";
    case RAID3: return "3";
    case RAID4: return "4";
    case RAID5: return "5";
    case RAID5E: return "5E";
    case RAID5EE: return "5EE";
    case RAID00: return "00";
    case RAID10: return "10";
    case RAID1E0: return "1E0";
    case RAID50: return "50";
    case RAID5E0: return "5E0";
    case SPANNED_VOLUME: return "SPANNED_VOLUME";
    case RAID_VOLUME: return "RAID_VOLUME";
    case SIMPLE_VOLUME: return "SIMPLE_VOLUME";
    case RAID6: return "6";
    case RAID60: return "60";
    case RAID6RS: return "6RS";
    case RAID60RS: return "60RS";
    default: return "RAID_UNKNOWN";
    }
}

void TarnellRaidMonitor::GetEventFromXml(char* xml, Adapter* adapter)
{
    if (!xml || !adapter)
        return;
    EventFields fields;
    SimpleXmlParser parser(xml, static_cast<unsigned long>(std::strlen(xml)));
    bool started = false;
    try {
        while (parser.parseNext()) {
            started = started || parser.foundStartTag();
            if (!started || !parser.tagIs("RaidEvent"))
                continue;
            if ((parser.flags & SimpleXmlParser::FLAG_ATTRIBUTE) && parser.getName()) {
                static const struct {
                    const char* name;
                    int32_t EventFields::*field;
                } NUMBERS[] = {
                    {"eventType", &EventFields::eventType},         {"eventCode", &EventFields::eventCode},
                    {"adapterID", &EventFields::adapterID},         {"arrayID", &EventFields::arrayID},
                    {"logicalDriveID", &EventFields::logicalDriveID}, {"channelID", &EventFields::channelID},
                    {"deviceID", &EventFields::deviceID},           {"powerSupplyID", &EventFields::powerSupplyID},
                    {"fanID", &EventFields::fanID},
                };
                for (const auto& number : NUMBERS)
                    if (parser.nameIs(number.name))
                        fields.*number.field = parser.getLONG();
                if (parser.nameIs("FRU"))
                    fields.fru = parser.getValue() ? parser.getValue() : "";
            }
            if (parser.foundEndTag())
                translateEvent(fields);
        }
    } catch (const SimpleXmlException& e) {
        // The rest of the text is lost; what it gave so far stays queued.
        logDebugGroup(NRM_DEBUG_ERRORS,
                      "ERROR: TarnellRaidMonitor::GetEventFromXml() event text rejected at offset %u ('%c')\n",
                      static_cast<unsigned>(e.getCharNum()), e.getProblemChar() ? e.getProblemChar() : ' ');
    }
}

void TarnellRaidMonitor::translateEvent(const EventFields& read)
{
    if (!eventQueue)
        return;
    EventFields f = read;
    const bool fru = !f.fru.empty();
    Adapter* current = getCurrentAdapter(f.adapterID);
    const std::string key = getEventDescription(f.eventCode, f.eventType, fru);
    const bool fruTextKey = key == "agentEventErrControllerFRU" || key == "agentEventErrPollingFRU";

    if (!current) {
        // The controller has gone: one controller-failed event, named after
        // its adapter in the previous configuration.
        Adapter* old = getOldAdapter(f.adapterID);
        if (!old) {
            logDebugGroup(NRM_DEBUG_TRACE, "oldAdp is NULL !!!!\n");
            logDebugGroup(NRM_DEBUG_DETAIL, "Current Adapter is NULL !!!!!!!!!!!\n");
            return;
        }
        std::vector<std::string> args{catalogue.get("eventArgController", std::vector<std::string>{getDetailedAdapterID(old)})};
        if (fruTextKey)
            args.push_back(f.fru);
        logDebugGroup(NRM_DEBUG_TRACE, "Add CONTROLLER_FAIL Event  !!!!\n");
        NRMEvent event(EVENT_CONTROLLER_FAIL, NRM_EVENT_ERROR, catalogue.get(key, args), "EVENT_TARNELL_STATE_FAILED");
        event.objectType = NRM_OBJECT_SYSTEM;
        event.adapterSerial = old->getSerialNumString();
        eventQueue->addEvent(event);
        logDebugGroup(NRM_DEBUG_TRACE, "CONTROLLER_FAIL Event Added !!!!\n");
        logDebugGroup(NRM_DEBUG_DETAIL, "Current Adapter is NULL !!!!!!!!!!!\n");
        return;
    }
    if (key == "UnknownTarnellError") {
        logDebugGroup(NRM_DEBUG_TRACE, "Add UNKNOWN Tarnell Error !!!!\n");
        NRMEvent event(f.eventCode, getEventType(f.eventType), "UNKNOWN Tarnell Error", "");
        event.objectType = NRM_OBJECT_SYSTEM;
        eventQueue->addEvent(event);
        logDebugGroup(NRM_DEBUG_TRACE, "UNKNOWN Tarnell Error added !!!!\n");
        return;
    }
    if (key == "RefreshError") {
        logDebugGroup(NRM_DEBUG_TRACE, "Regular Refresh!!!!\n");
        return;
    }

    const std::string controller = getDetailedAdapterID(current);
    std::vector<std::string> args;
    int objectType = NRM_OBJECT_UNKNOWN;
    std::string driveSerial, enclosureText;
    auto phrase = [&](const char* phraseKey, std::vector<std::string> params) {
        params.insert(params.begin(), controller);
        return catalogue.get(phraseKey, params);
    };
    // The enclosure on the event's channel; its model or FRU number.
    auto lookUpEnclosure = [&](bool model) {
        logDebugGroup(NRM_DEBUG_DETAIL, "channelID !!!!= %d.\n", f.channelID);
        PhysicalDevice* enclosure = findDevice(current, "Enclosure", f.channelID, nullptr);
        if (!enclosure) {
            logDebugGroup(NRM_DEBUG_DETAIL, "Case Enclosure:  enclosure is NULL ");
            return;
        }
        logDebugGroup(NRM_DEBUG_DETAIL,
                      model ? "Get Enclosure Model No.................\n" : "Get Enclosure FRU.................\n");
        enclosureText = model ? enclosure->getModel() : enclosure->getFruNumber();
        logDebugGroup(NRM_DEBUG_DETAIL, "enclosure !!!!= %s.\n", enclosureText.c_str());
    };

    int category = eventCategory;
    if (category == CATEGORY_TEMPERATURE && key != "agentEventErrTempFail")
        category = CATEGORY_CONTROLLER;
    switch (category) {
    case CATEGORY_PHYSICAL: {
        args.push_back(phrase("eventArgControllerScsiDevice", {plusOne(f.channelID), decimal(f.deviceID)}));
        args.push_back(f.fru);
        args.push_back(catalogue.get("deviceArgFRU", std::vector<std::string>{f.fru}));
        objectType = NRM_OBJECT_PHYSICAL_DRIVE;
        logDebugGroup(NRM_DEBUG_DETAIL, "deviceID !!!!= %d.\n", f.deviceID);
        PhysicalDevice* drive = findDevice(current, "HardDrive", f.channelID, &f.deviceID);
        if (drive) {
            logDebugGroup(NRM_DEBUG_DETAIL, "Get HD serial No.................\n");
            driveSerial = drive->getSerialNumber();
            logDebugGroup(NRM_DEBUG_DETAIL, "hdSerialNum !!!!= %s.\n", driveSerial.c_str());
        } else {
            logDebugGroup(NRM_DEBUG_DETAIL, "Case PHYSICALDRIVE:  hd is NULL ");
        }
        break;
    }
    case CATEGORY_LOGICAL:
        args.push_back(phrase("eventArgControllerLogicalDrive", {plusOne(f.logicalDriveID)}));
        objectType = NRM_OBJECT_LOGICAL_DRIVE;
        if (key == "agentEventInfAddLogDrive") {
            logDebugGroup(NRM_DEBUG_DETAIL, "Logical Drive Added !!!!\n");
            logDebugGroup(NRM_DEBUG_DETAIL, "logicalDriveID !!!!= %d.\n", f.logicalDriveID);
            Addr addr(static_cast<STORID_T>(f.adapterID));
            addr.setLogicalDriveID(static_cast<STORID_T>(f.logicalDriveID));
            RaidObject* object = tarnellLib->getCurrentObject(addr);
            if (!object) {
                logDebugGroup(NRM_DEBUG_DETAIL, "ldRaidObj is NULL !!!!\n");
            } else {
                logDebugGroup(NRM_DEBUG_DETAIL, "ldRaidObj is not NULL !!!!!!!!!!!\n");
                if (object->isInstanceOf("LogicalDrive")) {
                    auto* drive = static_cast<LogicalDrive*>(object);
                    args.push_back(sizeText(static_cast<int64_t>(drive->getDataSpace64())));
                    args.push_back(raidLevelText(drive->getRaidLevel()));
                }
            }
        }
        break;
    case CATEGORY_ENCLOSURE:
        args.push_back(phrase("eventArgEnclosureController", {plusOne(f.channelID)}));
        objectType = NRM_OBJECT_ENCLOSURE;
        lookUpEnclosure(true);
        break;
    case CATEGORY_FAN:
        args.push_back(phrase("eventArgEnclosureController", {plusOne(f.channelID), plusOne(f.fanID)}));
        objectType = NRM_OBJECT_FAN;
        lookUpEnclosure(false);
        break;
    case CATEGORY_POWER:
        args.push_back(phrase("eventArgEnclosureController", {plusOne(f.channelID), plusOne(f.powerSupplyID)}));
        objectType = NRM_OBJECT_POWER_SUPPLY;
        lookUpEnclosure(false);
        break;
    case CATEGORY_ARRAY:
        args.push_back(phrase("eventArgControllerArray", {plusOne(f.arrayID)}));
        objectType = NRM_OBJECT_ARRAY;
        break;
    case CATEGORY_TEMPERATURE:
        args.push_back(catalogue.get("agentEventErrTempFail", std::vector<std::string>{controller}));
        objectType = NRM_OBJECT_ADAPTER;
        break;
    case CATEGORY_REPLACED:
        args.push_back(phrase("eventArgControllerScsiDevice", {plusOne(f.channelID), decimal(f.deviceID)}));
        objectType = NRM_OBJECT_PHYSICAL_DRIVE;
        break;
    case CATEGORY_CONTROLLER:
    case CATEGORY_BATTERY:
    case CATEGORY_BATTERY_FRU:
    case CATEGORY_EXPIRATION:
    default:
        args.push_back(phrase("eventArgController", {}));
        objectType = NRM_OBJECT_ADAPTER;
        if (category == CATEGORY_CONTROLLER && fruTextKey)
            args.push_back(f.fru);
        if (category == CATEGORY_CONTROLLER && key == "agentEventWrnMismatchedVersions") {
            args.push_back(current->getBiosVersion() ? current->getBiosVersion() : "");
            args.push_back(current->getFirmwareVersion() ? current->getFirmwareVersion() : "");
            args.push_back(current->getDeviceDriverVersion() ? current->getDeviceDriverVersion() : "");
        }
        break;
    }

    for (int32_t* id : {&f.logicalDriveID, &f.powerSupplyID, &f.fanID, &f.channelID, &f.adapterID, &f.deviceID,
                        &f.arrayID})
        if (*id == -1)
            *id = NRM_UNSET;
    Addr address(static_cast<STORID_T>(f.adapterID), static_cast<STORID_T>(f.arrayID),
                 static_cast<STORID_T>(f.logicalDriveID), static_cast<STORID_T>(f.channelID),
                 static_cast<STORID_T>(f.deviceID), STORID_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED);

    logDebugGroup(NRM_DEBUG_TRACE, "calling isDuplicateEvent(eventCode,logicalDriveID); !!!!\n");
    if (isDuplicateEvent(f.eventCode, f.logicalDriveID)) {
        logDebugGroup(NRM_DEBUG_TRACE, "Duplicated Event Not Added !!!!! \n");
        logDebugGroup(NRM_DEBUG_TRACE, " Event code is   = %d.\n", f.eventCode);
        return;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "Adding Event  ec->addEvent(event); !!!!\n");
    NRMEvent event(f.eventCode, getEventType(f.eventType), catalogue.get(key, args), address, f.logicalDriveID,
                   f.fanID, f.powerSupplyID, current->getSerialNumString(), "", f.fru);
    event.objectType = objectType;
    if (category == CATEGORY_PHYSICAL) {
        logDebugGroup(NRM_DEBUG_TRACE, "Setting HD serial No.\n");
        event.deviceSerial = driveSerial;
    } else if (category == CATEGORY_ENCLOSURE) {
        logDebugGroup(NRM_DEBUG_TRACE, "Setting encModel No.\n");
        event.enclosureModel = enclosureText;
    } else if (category == CATEGORY_FAN || category == CATEGORY_POWER) {
        logDebugGroup(NRM_DEBUG_TRACE, category == CATEGORY_FAN ? "Setting encFRU No.\n" : "SettingencFRU No.\n");
        event.fruNumber = enclosureText;
    }
    eventQueue->addEvent(event);
    logDebugGroup(NRM_DEBUG_TRACE, "Added Event  ec->addEvent(event); !!!!\n");
}
