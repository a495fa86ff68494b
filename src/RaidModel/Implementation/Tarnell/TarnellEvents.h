#ifndef TARNELLEVENTS_H
#define TARNELLEVENTS_H

// The family events of the Tarnell controllers: one process-wide ring of the
// last 32 events, numbered from 1 and handed out as XML from a number the
// caller names; the two cheap tests with which the event poll decides whether
// a new snapshot is worth building; the reminder throttles of the drive
// rules; and what the rules keep per controller between polls.
//
// Static operations and data only, shared by every library object of the
// process (the provider module's builders and a monitor each have one, on
// threads of their own). Nothing here takes a lock itself: the library's
// event poll holds pollLock() while it reaches the ring and the tables, so
// one poll runs at a time. The per-controller state is kept by model adapter
// id for every controller, made on first use.

#include <cstdint>
#include <mutex>
#include <string>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/RaidEvent.h"
#include "RaidLib/Util/StorExport.h"
#include "storagedll/raidrec.h"

class LogicalDrive;
class RaidObject;
class TarnellAdapter;
class TarnellHardDrive;

// What the event rules track of one controller between two polls.
struct EVT_ADAPTER_STATUS {
    int rebuildMode;        // 0 rebuild, 1 compaction, 2 expansion, 3 copy-back
    int migrationMode;      // 1 compression, 2 decompression, else a plain migration
    int migrationType;
    int migrationOption;
    int adapterStatus;      // the controller status the adapter rules saw last
    int virtDriveNumber;    // drive of the tracked task; 0x7FFFFFFF none
    int sldVirtDriveNumber; // sub-logical-drive flag of the tracked task; 0x7FFFFFFF none
    bool rebuildStatus;
    bool syncStatus;
    bool snapshotStatus;
    bool migrationStatus;
};

// Seconds between two reminders about critical logical drives (8 hours) and
// about unsupported drives (30 days), and when each was given last (seconds
// since the epoch, 32 bits; differences are taken as unsigned 32-bit values).
extern STOR_EXPORT uint32_t reportCriticalLogicalDriveRate;
extern STOR_EXPORT uint32_t reportUnsupportedDriveRate;
extern STOR_EXPORT uint32_t timeOfLastCriticalLogicalDriveReport;
extern STOR_EXPORT uint32_t lastUnsupportedDriveReoprtTime;

class STOR_EXPORT TarnellEvents {
public:
    static const int EVENT_RING_SIZE = 32;

    // Writes the debug lines of the model classes; there is nothing to make.
    TarnellEvents();
    ~TarnellEvents();

    // Numbers the event (one above the newest) and stores it in the ring,
    // over the event 32 numbers older.
    static void addEvent(RaidEvent event);
    // Appends to xml the "RaidEvent" elements of the events from number
    // since to the newest, each followed by a line break; of more than 32
    // only the newest 32 are left. Nothing for 0 or a number beyond the
    // newest. What xml held stays in front.
    static void getEventsXml(unsigned long since, std::string& xml);
    // The number of the newest event; 0 while none was ever added.
    static uint32_t lastEventNumber();

    // Whether the controller's task-progress record differs from the one
    // saved last (in task, drive, device, check option, status, kind of
    // drive or qualifier). False for a null adapter or an unreadable record;
    // true while none is saved.
    static bool progressChanged(TarnellAdapter* adapter);
    // Whether the controller library reports a configuration change (of any
    // controller: the adapter selects nothing). False without the library or
    // when the question fails.
    static bool configurationChanged(TarnellAdapter* adapter);

    // True, and the time noted, when more than the rate has passed since the
    // last reminder.
    static bool isTimeToReportCriticalLogicalDrives();
    static bool isTimeToReportUnsupportedDrives();
    // Both reminders count from this time (the monitor's start).
    static void SetNRMTime(long time);
    // The lock of the event poll: the ring, the tables, the reminder times
    // and the library's poll clocks are reached under it. Taken inside the
    // family's trace scope, never around one.
    static std::mutex& pollLock();

    // Runs the rule sets on one controller: the adapter rules always; on a
    // working controller seen for the first time (no old adapter) the
    // first-sight checks of its drives, top-level logical drives and
    // enclosures (then true, whatever they found); otherwise the comparisons
    // of drives, logical drives and enclosures and the task-progress rules.
    // True when any rule set saw a change. xml is handed on, never written.
    static bool compareConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string& xml);

    // The rule sets. Each adds its events to the ring; the string is neither
    // read nor written. The compare forms take the previous and the current
    // snapshot of one controller and answer whether they saw a change; the
    // check forms report the bad states of something seen for the first time.
    static bool compareAdapterConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string& xml);
    static bool comparePhyDriveConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string& xml);
    static void checkPhyDrive(TarnellAdapter* adapter, TarnellHardDrive* drive, std::string& xml);
    static bool compareLDConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string& xml);
    static void checkLogicalDrive(TarnellAdapter* adapter, LogicalDrive* drive, std::string& xml);
    static bool compareSafteConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string& xml);
    static void checkSafte(TarnellAdapter* adapter, std::string& xml);
    static bool compareProgress(TarnellAdapter* adapter, std::string& xml);
    // A logical drive under another logical drive: a sub-logical drive of a
    // spanned drive, which raises nothing of its own.
    static bool isSubLogicalDrive(const RaidObject* drive);

    // The tracked state of a controller by model adapter id, all zero when
    // first asked for. The reference stays valid for the life of the process.
    static EVT_ADAPTER_STATUS& getAdapterStatus(STORID_T adapterID);
    // The progress record saved for a controller; null while none is saved.
    static const _REBUILD_STATUS* getSavedProgress(STORID_T adapterID);
    // Saves a copy of the record.
    static void saveProgress(STORID_T adapterID, const _REBUILD_STATUS& record);

    // For tests only: an empty ring numbered from 1 again, no controller
    // state, no saved progress, both reminder stamps 0.
    static void resetForTest();
};

#endif
