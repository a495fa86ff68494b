#ifndef PELMRAIDMONITOR_H
#define PELMRAIDMONITOR_H

// The event monitor of the Pelm controller family (libwatchpelm). It watches
// the controllers through a PelmLib: once at start it compares the stored
// snapshot "WATCHPELMConfig.xml" with the live configuration; then every
// poll fetches each controller's own event list, refreshes the
// configuration when 60 seconds have passed or events arrived, compares the
// previous configuration with the live one by the monitor core's rules and
// turns task progress and the controllers' sense data into events. Between
// polls it pauses pollSeconds in 1-second steps.
//
// A controller is known by its PCI bus, device and function, so one that
// comes back under another adapter id is still the same controller. The
// device path texts of the Pelm library (at most 47 characters) name
// adapters, drives and logical drives in the snapshot and in the events.
//
// Threads: start, run and poll on the monitor's thread; stop and isStopped
// from others (the flags are atomics).

#include <cstdint>
#include <string>
#include <vector>

#include "RaidLib/StorLib.h"
#include "RaidLib/Util/Progress.h"
#include "monitor/BaseRaidMonitor.h"
#include "monitor/pelm/PelmEvent.h"

class HardDrive;
class LogicalDrive;
class PelmAdapter;
class PelmLib;
class RaidObject;

class STOR_EXPORT PelmRaidMonitor final : public BaseRaidMonitor {
public:
    // The controller's records: the newest sequence number seen, the
    // adapter (not owned), whether a comparison paired it, and the events of
    // its last fetch not yet translated.
    struct Data_Adapter {
        int64_t lastSequence = 0;
        PelmAdapter* adapter = nullptr;
        int matched = 0;
        std::vector<PelmEvent> pendingEvents;
    };
    // A controller of the stored snapshot while the start-up comparison runs.
    struct StoredData_Adapter {
        int64_t lastSequence = 0;
        Adapter* adapter = nullptr;
        int matched = 0;
        std::vector<PelmEvent> pendingEvents;
    };
    // The task a poll saw on a logical drive.
    struct logicalDrive_progress {
        PelmAdapter* adapter = nullptr;
        unsigned long logicalDriveId = 0;
        int hasTask = 1;
        Progress task;
    };
    // One logical drive with its device path text.
    struct pathLdvPair {
        char path[48];
        LogicalDrive* logicalDrive;
    };

    static const int REFRESH_INTERVAL = 60;
    // A device path text and its terminator.
    static const int PATH_SIZE = 48;

    // Logs in logDir; the library is not owned and must outlive the monitor.
    PelmRaidMonitor(PelmLib* lib, std::string logDir);
    // Logs below the library directory.
    explicit PelmRaidMonitor(PelmLib* lib);
    ~PelmRaidMonitor();

    RaidObject* findPD(HardDrive* hardDrive, Adapter* adapter) override;
    int compareRelativeChanges(HardDrive* newHD, HardDrive* oldHD) override;
    int compareRelativeChanges(LogicalDrive* newLD, LogicalDrive* oldLD) override;
    void setProgress() override;
    // CHECK_CONFIG (0) or COMPARE_CONFIG (any other mode); answers 0.
    int poll(int mode, NRMEventCollection& queue) override;
    void run() override;
    void stop() override;
    void start() override;
    using BaseRaidMonitor::compareRelativeChanges;

    int getControllerCount() const { return static_cast<int>(currentAdapterList.size()); }
    bool isTimeToRefreshConfig();
    bool configNeedsRefresh();
    bool refreshConfig(bool stored);
    bool initialize(bool stored);
    Adapter* findStoredAdapter(Adapter* live, int& unused, std::vector<PelmEvent>& unusedEvents);
    PelmAdapter* findOldAdapter(PelmAdapter* live, int64_t& lastSequence, std::vector<PelmEvent>& events);

    // Task-progress and sense-code events of one adapter.
    void checkProgress(bool reportNew, NRMEventCollection& queue, PelmAdapter* adapter, bool useStored);
    void compareProgress(NRMEventCollection& queue, PelmAdapter* adapter, std::vector<PelmEvent>& events);
    void checkTranslateEvents(NRMEventCollection& queue, PelmAdapter* adapter, std::vector<PelmEvent> events);

    RefSystem liveSystem;
    RefSystem previousSystem;
    int64_t lastRefresh = 0;
    int refreshInterval = REFRESH_INTERVAL;
    std::vector<Data_Adapter> currentAdapterList;
    std::vector<Data_Adapter> previousAdapterList;
    std::vector<StoredData_Adapter> storedAdapterList;
    std::vector<logicalDrive_progress> previousTasks;
    std::vector<logicalDrive_progress> currentTasks;

private:
    void construct();
    // The configuration the monitor starts from: the live one with the
    // stored snapshot (refreshConfig(true)), and each controller's event
    // list, taken as history.
    void readAtStart();
    // The events of a start: 201 without controllers, then the comparison of
    // the snapshot with the live configuration. A live configuration that
    // could not be read (no memory) is read again first; false, with
    // nothing compared or reported, when it still cannot be.
    bool startUp();
    // The poll loop; before started, each poll tries the start again.
    void run(bool started);
    PelmLib* pelmLib() const;
    // Fetches the adapter's events from record.lastSequence + 1 into the
    // record; false (the record unchanged) when the library fails.
    bool fetchEvents(Data_Adapter& record);
    void checkConfig(NRMEventCollection& queue);
    void compareConfig(NRMEventCollection& queue);
    // The builder's snapshot of the live system with the device paths, written.
    void writeSnapshot();
    void setSnapshotPaths();
    // The state of an adapter seen for the first time, with the started
    // events of its tasks.
    void checkNewAdapter(NRMEventCollection& queue, PelmAdapter* adapter);
    void queueRemoval(NRMEventCollection& queue, Adapter* adapter, bool atStart);
    // The device path text of the object at the address or of the object;
    // false when the library cannot give it (the text is then that of a
    // zero-filled record).
    bool pathText(Addr address, char (&text)[PATH_SIZE]);
    bool pathText(RaidObject* object, char (&text)[PATH_SIZE]);
    // The device path text that the event names: its adapter's followed by
    // the event's path; false (with the error line) when the adapter's path
    // cannot be had.
    bool eventPathKey(PelmAdapter* adapter, const PelmEvent& event, const char* errorLine, std::string& key);
    // A snapshot drive's stored path, or the live drive's; false when it
    // cannot be had or does not fit a path text.
    bool drivePath(HardDrive* drive, std::string& text);
    void queueTaskEvent(NRMEventCollection& queue, const Progress& task, PelmAdapter* adapter,
                        LogicalDrive* logicalDrive, int phase);
};

#endif
