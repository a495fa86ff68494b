#ifndef TESTS_MONITOR_EVENTROWS_H
#define TESTS_MONITOR_EVENTROWS_H

// Expected events of the rule tests as rows: each row names every field a
// rule sets (id, severity, event name, object type, address ids, the fan,
// power-supply and logical-drive numbers, FRU number, drive serial,
// enclosure model, adapter serial and text), and a queued event is written
// in the same one-line form, so a list of rows compares with the events a
// rule raised and a difference shows field by field.

#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "monitor/NRMEvent.h"

namespace monitortest {

// A number of the line: "-" when unset.
inline std::string rowNumber(uint32_t n) { return n == STORID_UNDEFINED ? "-" : std::to_string(n); }

struct EventRow {
    EventRow(int idIN, int severityIN, std::string nameIN, int objectTypeIN, std::string textIN)
        : id(idIN), severity(severityIN), name(std::move(nameIN)), objectType(objectTypeIN), text(std::move(textIN))
    {
    }
    EventRow& at(uint32_t adapter, uint32_t channel, uint32_t device)
    {
        adapterID = adapter;
        channelID = channel;
        deviceID = device;
        return *this;
    }
    EventRow& atLogical(uint32_t adapter, uint32_t logicalDrive)
    {
        adapterID = adapter;
        logicalDriveID = logicalDrive;
        return *this;
    }
    EventRow& fan(int n) { return set(fanNumber, n); }
    EventRow& powerSupply(int n) { return set(powerSupplyNumber, n); }
    EventRow& logicalNumber(int n) { return set(logicalDriveNumber, n); }
    EventRow& fru(std::string t) { return set(fruNumber, std::move(t)); }
    EventRow& serial(std::string t) { return set(deviceSerial, std::move(t)); }
    EventRow& model(std::string t) { return set(enclosureModel, std::move(t)); }
    EventRow& adapterSerialIs(std::string t) { return set(adapterSerial, std::move(t)); }

    std::string line() const
    {
        std::ostringstream s;
        s << id << '/' << severity << ' ' << name << " object " << objectType << " at " << rowNumber(adapterID) << '/'
          << rowNumber(arrayID) << '/' << rowNumber(logicalDriveID) << '/' << rowNumber(channelID) << '/'
          << rowNumber(deviceID) << " fan " << rowNumber(static_cast<uint32_t>(fanNumber)) << " ps "
          << rowNumber(static_cast<uint32_t>(powerSupplyNumber)) << " ld "
          << rowNumber(static_cast<uint32_t>(logicalDriveNumber)) << " fru '" << fruNumber << "' serial '"
          << deviceSerial << "' model '" << enclosureModel << "' adapter '" << adapterSerial << "': " << text;
        return s.str();
    }

    int id;
    int severity;
    std::string name;
    int objectType;
    std::string text;
    uint32_t adapterID = STORID_UNDEFINED;
    uint32_t arrayID = STORID_UNDEFINED;
    uint32_t logicalDriveID = STORID_UNDEFINED;
    uint32_t channelID = STORID_UNDEFINED;
    uint32_t deviceID = STORID_UNDEFINED;
    int fanNumber = NRM_UNSET;
    int powerSupplyNumber = NRM_UNSET;
    int logicalDriveNumber = NRM_UNSET;
    std::string fruNumber;
    std::string deviceSerial;
    std::string enclosureModel;
    std::string adapterSerial;

private:
    template <class T>
    EventRow& set(T& field, T value)
    {
        field = std::move(value);
        return *this;
    }
};

inline EventRow rowOf(const NRMEvent& e)
{
    EventRow r(e.eventId, e.severity, e.eventName, e.objectType, e.text);
    r.adapterID = e.address.getAdapterID();
    r.arrayID = e.address.getArrayID();
    r.logicalDriveID = e.address.getLogicalDriveID();
    r.channelID = e.address.getChannelID();
    r.deviceID = e.address.getDeviceID();
    r.fanNumber = e.fanNumber;
    r.powerSupplyNumber = e.powerSupplyNumber;
    r.logicalDriveNumber = e.logicalDriveNumber;
    r.fruNumber = e.fruNumber;
    r.deviceSerial = e.deviceSerial;
    r.enclosureModel = e.enclosureModel;
    r.adapterSerial = e.adapterSerial;
    return r;
}

inline std::vector<std::string> lines(const std::vector<NRMEvent>& events)
{
    std::vector<std::string> out;
    for (const NRMEvent& e : events)
        out.push_back(rowOf(e).line());
    return out;
}

inline std::vector<std::string> lines(const std::vector<EventRow>& rows)
{
    std::vector<std::string> out;
    for (const EventRow& r : rows)
        out.push_back(r.line());
    return out;
}

// A text of the test catalogue: the key with its parameters.
inline std::string keyText(const std::string& key, const std::vector<std::string>& params)
{
    std::string text = key + "[";
    for (size_t i = 0; i < params.size(); ++i)
        text += (i ? "|" : "") + params[i];
    return text + "]";
}

} // namespace monitortest

#endif
