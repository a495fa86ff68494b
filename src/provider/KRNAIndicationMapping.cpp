// constructIndication: one monitor event as an alert indication of the
// class its id selects, with severity, identifier, times and the path of
// the alerting element.

#include <cinttypes>
#include <cstdio>

#include "KRNAIndicationLog.h"
#include "KRNAProvUtil.h"
#include "KRNA_RaidMonitorAlertIndication_Provider.h"

using namespace cimple;

namespace corvanecimple {

KRNALogger indicationLogger("KRNAIndication.log", KRNALogger::DEBUG_FLAG);

namespace {

// How a class replaces the severity taken from the event.
enum SeverityOverride { OVERRIDE_NONE, OVERRIDE_DETECTED, OVERRIDE_COMPLETE, OVERRIDE_FAIL, OVERRIDE_STOPPED, OVERRIDE_STATUS };

struct AlertClassRow {
    const Meta_Class* metaClass;
    SeverityOverride severityOverride;
    // The ids that select the class; unused places hold 0.
    int ids[3];
};

#define KRNA_ALERT(name, override, ...) {&name::static_meta_class, OVERRIDE_##override, {__VA_ARGS__}},
const AlertClassRow ALERT_CLASSES[] = {
#include "KRNAAlertIndications.def"
};
#undef KRNA_ALERT

const int NO_CONTROLLERS_ID = 201;

const AlertClassRow* findRow(int id)
{
    for (const AlertClassRow& row : ALERT_CLASSES) {
        for (int rowId : row.ids) {
            if (rowId != 0 && rowId == id)
                return &row;
        }
    }
    return nullptr;
}

// PerceivedSeverity from the event severity, with the OtherSeverity text of
// the values that map to 1 (Other).
uint16 startSeverity(int severity, const char*& otherText)
{
    otherText = nullptr;
    switch (severity) {
    case 1:
        return 7;
    case 2:
        return 3;
    case 3:
        return 2;
    case 4:
        otherText = "Progress Event";
        return 1;
    case 7:
        otherText = "Firmware Specific Event";
        return 1;
    default:
        return 0;
    }
}

uint16 finalSeverity(const AlertClassRow& row, int eventSeverity, uint16 start)
{
    switch (row.severityOverride) {
    case OVERRIDE_DETECTED:
        return 4;
    case OVERRIDE_COMPLETE:
    case OVERRIDE_STOPPED:
        return 2;
    case OVERRIDE_FAIL:
        return 3;
    case OVERRIDE_STATUS:
        return eventSeverity == 2 ? 6 : start;
    case OVERRIDE_NONE:
        break;
    }
    return start;
}

String trimmed(const std::string& text)
{
    String s(text);
    KRNAProvUtil::trim_String(s);
    return s;
}

std::string hostName()
{
    char host[KRNAProvUtil::HOST_NAME_SIZE];
    KRNAProvUtil::getSystemName(host, sizeof host);
    return host;
}

// The keys every device element shares: the controller system and host.
template <class T>
T* deviceElement(const char* className, const std::string& host, const String& deviceID)
{
    T* element = T::create(false);
    element->SystemCreationClassName.set(KRNAProvUtil::getSystemCreationClassName());
    element->SystemName.set(host.c_str());
    element->CreationClassName.set(className);
    element->DeviceID.set(deviceID);
    return element;
}

// The model path of the element the event names by its object type; empty
// for another type.
String elementPath(const NRMEvent& event, const std::string& host)
{
    Instance* element = nullptr;
    char number[16];
    switch (event.objectType) {
    case 2: {
        KRNA_ControllerComputerSystem* cs = KRNA_ControllerComputerSystem::create(false);
        cs->Name.set(trimmed(event.adapterSerial));
        cs->CreationClassName.set("KRNA_ControllerComputerSystem");
        element = cs;
        break;
    }
    case 4: {
        snprintf(number, sizeof number, "%i", static_cast<int>(event.address.getLogicalDriveID()));
        String id(host);
        id += ":";
        id += trimmed(event.adapterSerial);
        id += ":";
        id += number;
        element = deviceElement<KRNA_StorageVolume>("KRNA_StorageVolume", host, id);
        break;
    }
    case 5: {
        snprintf(number, sizeof number, "%i", static_cast<int>(event.address.getDeviceID()));
        String id = trimmed(event.deviceSerial);
        id += ":";
        id += number;
        indicationLogger.debug("constructIndication DiskDrive DeviceID: %s\n", id.c_str());
        element = deviceElement<KRNA_DiskDrive>("KRNA_DiskDrive", host, id);
        break;
    }
    case 6: {
        KRNA_EnclosureComputerSystem* cs = KRNA_EnclosureComputerSystem::create(false);
        cs->Name.set(trimmed(event.enclosureModel));
        cs->CreationClassName.set("KRNA_EnclosureComputerSystem");
        element = cs;
        break;
    }
    case 7:
        element = deviceElement<KRNA_EnclosureFan>("KRNA_EnclosureFan", host, String(event.fruNumber));
        break;
    case 8:
        element = deviceElement<KRNA_EnclosurePowerSupply>("KRNA_EnclosurePowerSupply", host, String(event.fruNumber));
        break;
    default:
        break;
    }
    String path;
    if (element) {
        instance_to_model_path(element, path);
        destroy(element);
    }
    return path;
}

// The event's time as a timestamp in UTC, in 64 bits whatever time_t is.
Datetime eventTime(time_t seconds)
{
    Datetime time;
    const int64_t s = static_cast<int64_t>(seconds);
    time.set_timestamp(static_cast<uint64>(s < 0 ? 0 : s) * Datetime::SEC, 0);
    return time;
}

// "%d-%s": the sequence number, then the readable form of the time; the
// sequence number advances.
String nextIdentifier(const Datetime& time)
{
    String readable;
    time.ascii(readable, true);
    char number[16];
    snprintf(number, sizeof number, "%d-", KRNA_RaidMonitorAlertIndication_Provider::eventID++);
    String identifier(number);
    identifier += readable;
    return identifier;
}

} // namespace

int KRNA_RaidMonitorAlertIndication_Provider::eventID = 1;

KRNA_RaidMonitorAlertIndication* KRNA_RaidMonitorAlertIndication_Provider::constructIndication(NRMEvent& event)
{
    indicationLogger.debug("constructIndication() Entering, Event Code : %d\n", event.eventId);
    const char* otherSeverity = nullptr;
    const uint16 start = startSeverity(event.severity, otherSeverity);
    const AlertClassRow* row = findRow(event.eventId);
    if (!row) {
        indicationLogger.debug("constructIndication() Exiting, returning NULL. Unknown Event\n");
        return nullptr;
    }
    const uint16 severity = finalSeverity(*row, event.severity, start);
    indicationLogger.debug("constructIndication() %s : %s\n", row->metaClass->name, event.text.c_str());
    KRNA_RaidMonitorAlertIndication* indication =
        static_cast<KRNA_RaidMonitorAlertIndication*>(create(row->metaClass, false));
    if (!indication)
        return nullptr;

    const std::string host = hostName();
    const Datetime now = Datetime::now();
    indication->IndicationTime.set(now);
    const String identifier = nextIdentifier(now);
    indication->IndicationIdentifier.set(identifier);
    indication->PerceivedSeverity.set(severity);
    if (severity == 1 && otherSeverity)
        indication->OtherSeverity.set(otherSeverity);
    indication->AlertType.set(5);
    indication->EventID.set(identifier);
    indication->EventTime.set(eventTime(event.eventTime));
    indication->SystemName.set(host.c_str());
    indication->SystemCreationClassName.set(KRNAProvUtil::getSystemCreationClassName());
    indication->ProviderName.set("KRNA_RaidMonitorAlertIndication_Provider");

    if (event.eventId == NO_CONTROLLERS_ID) {
        indication->Description.set("No controllers found in the system.");
        indication->OtherAlertingElementFormat.set("string");
        indicationLogger.debug("constructIndication() Exiting, No controller Indication\n");
        return indication;
    }

    String element("//");
    element += host.c_str();
    element += "/root/krna:";
    element += elementPath(event, host);
    indication->AlertingManagedElement.set(element);
    indication->AlertingElementFormat.set(2);
    indication->Description.set(event.text.c_str());
    indicationLogger.debug("constructIndication() Exiting, Returning Indication\n");
    return indication;
}

} // namespace corvanecimple
