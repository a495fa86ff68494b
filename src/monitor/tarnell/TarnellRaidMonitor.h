#ifndef TARNELLRAIDMONITOR_H
#define TARNELLRAIDMONITOR_H

// The event monitor of the Tarnell family. Once started on its caller's
// thread it compares the snapshot stored by its previous run with the live
// controllers, stores the live configuration as the new snapshot and then,
// once a second until stopped, asks TarnellLib for the family event log of
// every controller since the last event seen and translates each new family
// event into an NRMEvent. Every fifth cycle it stores the snapshot again,
// with the task of each adapter, and reports grown task percentages.
//
// Files (kept by the base): "WATCHTARNELLDebug.log" and
// "WATCHTARNELLEvents.log" in the log directory, "WATCHTARNELLConfig.xml",
// "NRMConfig.conf" and "RaidNLS.properties" in the library directory.
//
// Threads: start runs everything on the caller's thread; stop and isStopped
// come from another thread and touch only the atomic run flags and start
// time. The destructor is not virtual (the class is final): the owner
// deletes the monitor through this class, after it has stopped.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/ProgressCollection.h"
#include "monitor/BaseRaidMonitor.h"

class Adapter;
class NRMProgress;
class NRMProgressCollection;
class System;
class TarnellLib;

// A task-progress event the monitor raised itself: its code, a field
// nothing uses, and the logical drive number plus 1.
struct LOGGED_EVENT_INFO {
    int eventCode;
    int unused;
    int logicalDrive;
};

class STOR_EXPORT TarnellRaidMonitor final : public BaseRaidMonitor {
public:
    static constexpr int EVENT_NO_CONTROLLERS = 201;
    static constexpr int EVENT_CONTROLLER_FAIL = 202;

    // Logs in logFilePath (ending with "/").
    TarnellRaidMonitor(TarnellLib* lib, std::string logFilePath);
    // Logs below the library directory.
    explicit TarnellRaidMonitor(TarnellLib* lib);
    ~TarnellRaidMonitor();

    // Task list of the snapshot and percent-complete events (TarnellProgress.cpp).
    void setProgress() override;
    // Does nothing; the loop is monitorEvents.
    int poll(int mode, NRMEventCollection& events) override;
    void run() override;
    // Asks the loop to end and returns at once.
    void stop() override;
    // Runs the monitor on the calling thread until stop(); returns at once
    // when it already runs.
    void start() override;
    // Nothing calls it; an empty list.
    virtual ProgressCollection enumerateProgress();

    // The start-up sequence and the poll loop. A step that runs out of
    // memory ends with an error line and the loop goes on; the start-up
    // comparison is tried again each cycle while a configuration cannot be
    // read for want of memory.
    void monitorEvents();
    // Stores the snapshot with the task list; nothing while not running.
    void writeXML();
    bool isTimeToWriteXML() const { return pollCycle != 0 && pollCycle % 5 == 0; }

    // Start-up comparison. False, with nothing reported, when the stored or
    // the live configuration cannot be read, or the comparison cannot be
    // completed, for want of memory.
    bool tarnellEventPersistence();
    // Its comparison of the two configurations it has read, into events.
    void compareAtStart(System* stored, NRMEventCollection& events);
    void CheckMissingAdapter(NRMEventCollection& events, System* stored);
    void reportMissingAdapter(NRMEventCollection& events, Adapter* stored);
    // The stored adapter paired with the live one (equal serial numbers;
    // each stored adapter pairs once); null when none.
    Adapter* findStoredAdapter(Adapter* live);

    // Event-log translation.
    // The number of the newest event of the text: the value of its last
    // eventNumber="N" attribute, read as unsigned 32-bit and never past the
    // text's end. False when the text holds none that can be read.
    static bool newestEventNumber(const char* text, uint32_t& number);
    // Translates and queues the family events of text, parsed in place.
    // adapter is the polled adapter; each event is built with the adapter
    // that carries its adapter id.
    void GetEventFromXml(char* xml, Adapter* adapter);
    static int getEventType(int type);
    bool isDuplicateEvent(int code, int logicalDrive);
    // The adapter with the adapter id in the library's current (previous)
    // configuration; null when none.
    Adapter* getCurrentAdapter(int adapterID);
    Adapter* getOldAdapter(int adapterID);
    // The message key of a family event code; sets eventCategory.
    std::string getEventDescription(int code, int type, bool fru);
    // The text of a logical drive's size in MB as gigabytes, "w.fff GB".
    static std::string sizeText(int64_t megabytes);
    static std::string raidLevelText(int level);

    // Task-progress events.
    NRMProgress* GetNRMProgress(Progress task);
    void logProgressEvent(Adapter* adapter, Progress& task);
    void LDMProgressType(System* storedSystem);
    void checkProgress(NRMEventCollection& events, Adapter* adapter);
    void compareProgress(NRMEventCollection& events, Adapter* newAdapter, Adapter* oldAdapter);
    void compare_LogicalProgress(NRMEventCollection& events, Adapter* newAdapter, Adapter* oldAdapter);
    void AddProgressEvent(NRMEventCollection& events, unsigned long type, unsigned long state, Adapter* adapter,
                          unsigned long logicalDrive);

    // Members.
    int eventCategory = 3;
    int pollCycle = 0;
    bool progressEventPending = false;
    NRMProgressCollection* storedProgress = nullptr;
    TarnellLib* tarnellLib = nullptr;
    std::vector<Adapter*> storedAdapters;
    std::vector<Adapter*> liveAdapters;
    std::vector<LOGGED_EVENT_INFO> loggedEvents;
    LOGGED_EVENT_INFO lastLoggedEvent = {0, 0, 0};
    int ldmProgressType = 0;
    bool ldmProgressTypeFound = false;
    // The running task each adapter (by adapter id) showed at the last
    // snapshot write, and the percentage last reported for it.
    struct SeenTask {
        Progress lastProgress;
        uint32_t lastPercent = 0;
    };
    std::map<uint32_t, SeenTask> seenTasks;

private:
    void afterConstruction();
    // The events of one family event, with the reading state given.
    struct EventFields;
    void translateEvent(const EventFields& fields);
    // The stored adapter each live adapter pairs with (position for
    // position with liveAdapters; null for an added one).
    std::vector<Adapter*> pairedStored;
    // The systems obtained through getNewSystem in this start, given back to
    // the library at the next start.
    std::vector<System*> heldSystems;
    // The live configuration of the last start-up comparison (one of them).
    System* startUpSystem = nullptr;
    void releaseHeldSystems();
};

#endif
