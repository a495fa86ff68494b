#ifndef PELMEVENT_H
#define PELMEVENT_H

// One event of a Pelm controller's own event list, and the list as the Pelm
// storage library hands it out: an XML text of "Event" elements whose
// attributes give the event's running number, its SCSI-style qualifier,
// status, sense key and additional sense code, the path of its drive or
// logical drive below the controller and its text.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "RaidLib/Util/StorExport.h"

class STOR_EXPORT PelmEvent {
public:
    // A code that the list did not give (missing, or no hexadecimal digits).
    static const int UNSET = 0x7FFFFFFF;

    // Stamped now, both texts empty, the codes unset, Sequence 0.
    PelmEvent();
    PelmEvent(int Qual, int Status, int SenseKey, int AdditionalSenseCode, int64_t Sequence, std::string LDPath,
              std::string Description);

    // From Qual: 2 for 0, 2, 5, 8, 9; 1 for 1, 3, 4, 6, 10; 3 otherwise.
    int getSeverity() const;
    // The severity word, 18 blanks, two tabs and the description.
    std::string toString() const;

    time_t timeStamp;
    int Qual;
    int Status;
    int SenseKey;
    int AdditionalSenseCode;
    // Read in full (controllers number their events up to 4294967295).
    int64_t Sequence;
    std::string LDPath;
    std::string Description;
};

class STOR_EXPORT PelmEventCollection {
public:
    PelmEventCollection() = default;
    // Parses a copy of the text: one event per "Event" element wherever it
    // stands, in document order. A null or empty text gives no events; a
    // text that is not well formed keeps the events read before the fault.
    explicit PelmEventCollection(const char* text);

    // A copy of the list.
    std::vector<PelmEvent> getAllEvents() const { return events; }
    int getNumberOfEvents() const { return static_cast<int>(events.size()); }
    // A copy of the event at index; a default event outside the list.
    PelmEvent getEvent(int index) const;
    void addEvent(const PelmEvent& event) { events.push_back(event); }
    void mergeEvents(const PelmEventCollection& other);
    void mergeEvents(const std::vector<PelmEvent>& other);
    // 0 when Qual, SenseKey, AdditionalSenseCode, Sequence, LDPath and
    // Description are equal, else -1.
    static int compareEvents(const PelmEvent& a, const PelmEvent& b);
    // Removes the first event equal to it by compareEvents: 1, else 0.
    int deleteEvent(const PelmEvent& event);
    // The events of severity 1, 2 and 3.
    std::vector<PelmEvent> getFatalEvents() const { return withSeverity(1); }
    std::vector<PelmEvent> getWarningEvents() const { return withSeverity(2); }
    std::vector<PelmEvent> getInformationEvents() const { return withSeverity(3); }

private:
    std::vector<PelmEvent> withSeverity(int severity) const;

    std::vector<PelmEvent> events;
};

#endif
