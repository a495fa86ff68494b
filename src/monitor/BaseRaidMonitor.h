#ifndef BASERAIDMONITOR_H
#define BASERAIDMONITOR_H

// The base of the family monitors. A family monitor watches the controllers
// of one family through that family's storage library: it runs its poll loop
// (start, run, stop, poll) on a thread of its own, and the caller takes the
// queued events out from other threads with getNumberOfEvents, getEvents and
// isStopped. The base holds what the families share: the event queue, the
// message catalogue, the snapshot builder, the stored task list, the debug
// log, the values of "NRMConfig.conf", four reminder timers, the run flags,
// and the phrases and readings the change-detection rules use.
//
// Files: the catalogue "RaidNLS.properties", "NRMConfig.conf" and the
// snapshot live in the library directory, the directory of the monitor
// library that "/proc/self/maps" lists first ("./" when none is listed). The
// debug and events logs live in the log directory given to the constructor,
// or in "krnalogs/" below the library directory.
//
// The provider module binds getNumberOfEvents, getEvents and isStopped by
// name to whichever monitor library the loader finds first, so every
// monitor library declares these members in this order with these types;
// the static_asserts below pin the layout, the same in both builds of the
// monitor core. The order of the virtual operations is the order of the
// virtual table; do not reorder. The destructor is not virtual: a family
// monitor is destroyed through its own class.
//
// Threads: the constructor and destructor run on the creating thread; start,
// run, poll and everything they call on the monitor's thread; the event
// queue locks itself; the run flags, the first-refresh flag and the start
// time are atomics written by the stopper thread and read by the monitor
// thread. The class takes no lock of its own.

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "RaidLib/Util/SESPages.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/Adapter.h"
#include "monitor/NLSParser.h"
#include "monitor/NRMDebug.h"
#include "monitor/NRMEvent.h"

class Channel;
class Enclosure;
class HardDrive;
class LogicalDrive;
class NRMConfigBuilder;
class NRMEventCollection;
struct NRMEventDef;
class NRMProgressCollection;
class PhysicalDevice;
class RaidObject;
class SES2EnclosureDevice;
class SESElement;
class StorLibPlugin;

// A reminder timer: the interval in seconds and the time of its last firing
// in seconds from the monitor's start time; 0 means it has not fired.
struct ReportTimer {
    int32_t interval;
    int64_t lastReport;
};

// The scale on which the rules compare fans and power supplies.
enum EnumEnclosureElementStatus : int32_t {
    ENCLOSURE_ELEMENT_OPERATIONAL = 1,
    ENCLOSURE_ELEMENT_FAILED = 2,
    ENCLOSURE_ELEMENT_ABSENT = 3
};

class STOR_EXPORT BaseRaidMonitor {
public:
    // The modes of poll.
    static const int CHECK_CONFIG = 0;   // the stored snapshot against the live configuration
    static const int COMPARE_CONFIG = 1; // successive live configurations

    // The intervals of the reminder timers, in seconds.
    static const int32_t UNSUPPORTED_DRIVES_INTERVAL = 2592000; // 30 days
    static const int32_t CRITICAL_LOGICAL_DRIVES_INTERVAL = 28800; // 8 hours
    static const int32_t SAS_DRIVE_MAP_INTERVAL = 86400; // 24 hours
    static const int32_t BAD_STRIPE_INTERVAL = 28800; // 8 hours

    // Logs in logDir, used as given (it ends with "/"; nothing is made).
    // An empty file name stands for "NRMDebug.log", "NRMEvents.log" or
    // "NRMConfig.xml". The library is not owned; null gives a monitor that
    // never polls.
    BaseRaidMonitor(StorLibPlugin* storLibIN, std::string debugLogName, std::string eventsLogName,
                    std::string snapshotFileName, std::string logDir);
    // Logs in "krnalogs/" below the library directory, made when missing, or
    // in the library directory itself when it cannot be made.
    BaseRaidMonitor(StorLibPlugin* storLibIN, std::string debugLogName, std::string eventsLogName,
                    std::string snapshotFileName);
    // Releases the queue (events nobody took are lost), the snapshot builder
    // and the task list, and closes the debug log. The poll loop must have
    // ended.
    ~BaseRaidMonitor();
    BaseRaidMonitor(const BaseRaidMonitor&) = delete;
    BaseRaidMonitor& operator=(const BaseRaidMonitor&) = delete;

    // Family hooks and pairing, called by the compare rules. The hooks
    // answer 0 here.
    virtual int compareRelativeChanges(Adapter* newAdapter, Adapter* oldAdapter);
    // The object of the adapter at the drive's channel and device id (the
    // channel id unset for a drive without a channel); null when none.
    virtual RaidObject* findPD(HardDrive* hardDrive, Adapter* adapter);
    virtual int compareRelativeChanges(HardDrive* newHD, HardDrive* oldHD);
    // The logical drive below the adapter (and made for it) with the drive's
    // logical drive id; null when none.
    virtual RaidObject* findLD(LogicalDrive* logicalDrive, Adapter* adapter);
    virtual int compareRelativeChanges(LogicalDrive* newLD, LogicalDrive* oldLD);
    // Fills the stored task list; nothing here.
    virtual void setProgress();
    // One monitoring pass in CHECK_CONFIG or COMPARE_CONFIG mode, queueing
    // its events in events; the meaning of the result is the family's.
    virtual int poll(int mode, NRMEventCollection& events) = 0;
    // The poll loop.
    virtual void run() = 0;
    // Asks the poll loop to end and returns at once.
    virtual void stop() = 0;
    // Runs the poll loop in the calling thread until stop().
    virtual void start() = 0;
    // The name a family gives a logical drive in its phrase; "" here.
    virtual std::string getLogicalName(LogicalDrive* logicalDrive);

    // Event hand-out, from another thread.
    // The number of queued events; 0 without a queue.
    int getNumberOfEvents();
    // Moves up to max of the oldest queued events into events[0..max-1],
    // which holds max constructed records, and returns how many it moved; 0
    // (taking nothing) for a null array, no queue or max of 0 or less.
    int getEvents(NRMEvent* events, int max);
    bool isStopped();

    // poll(CHECK_CONFIG, events).
    int getCurrentEvents(NRMEventCollection& events);
    // The n oldest queued events (all for n 0), taken out of the queue.
    std::vector<NRMEvent> getEvents(int n);
    // The queue's severity level; false (and an error line) without a queue,
    // where the level reads 4.
    bool setEventTypeLevel(EnumEventType level);
    EnumEventType getEventTypeLevel();

    // The filters with which the rules pass over spurious objects: a logical
    // drive whose id is above the adapter's logical-drive limit, a drive
    // whose device id holds 0xFF in its low 16 bits. Null arguments are
    // refused with an error line.
    bool isValidLogicalDrive(Adapter* adapter, LogicalDrive* logicalDrive);
    bool isValidPhysicalDrive(Adapter* adapter, HardDrive* hardDrive);

    // Directories, configuration file and debug log.
    // nrmPath: the directory of the first "libwatch" line of the maps file,
    // with its final "/", or "./".
    void setNRMPath();
    void setNRMLogPath(std::string path);
    // Makes nrmPath + "krnalogs" (mode 0755); logDirStatus 0 when that
    // directory exists afterwards, -1 otherwise.
    void create_directory();
    // Reads "NRMConfig.conf" of the library directory with a parser of its
    // own. A missing file is created empty (with an error line) and changes
    // nothing; otherwise each value is replaced, a missing key giving 0 or
    // false.
    void readConfig();
    // Levels 0, 1, 2 set NRMDebugFlag to 0xF00000, 0xFF0000, 0xFFFFFF; any
    // other level leaves it.
    void setDebugFlag(EnumDebugNRM level);
    // One debug line: "[<ctime text>]  " and the formatted text, cut to 1023
    // characters, written and flushed when the debug log is open. The mask
    // is the caller's to test.
    void logDebugMsg(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void logDebugMsgV(const char* format, va_list args);
    // logDebugMsg while any bit of the group (NRM_DEBUG_ERRORS, ...) is on.
    void logDebugGroup(int32_t group, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // A start()'s claim of the poll loop: false, the line logged in the
    // group, while the loop already runs; otherwise running is set and the
    // start time taken when none is kept.
    bool claimStart(int32_t group, const char* alreadyRunning);
    // Runs one step of a poll loop; a step that runs out of memory ends
    // there, with the line "ERROR: <monitor>:: no memory for <what>; it is
    // skipped" in the errors group, and the loop goes on.
    template <class Step>
    void skipWhenOutOfMemory(const char* monitor, const char* what, Step step)
    {
        try {
            step();
        } catch (const std::bad_alloc&) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: %s:: no memory for %s; it is skipped\n", monitor, what);
        }
    }
    // Marks the monitor stopped when a poll loop's body is left, also when a
    // failure passes on to the caller of start().
    struct StoppedOnExit {
        std::atomic<bool>& stopped;
        ~StoppedOnExit() { stopped = true; }
    };

    // Reminder timers. The first consultation fires (a firing at elapsed 0
    // stores 0 and so leaves the timer unfired); after that a timer fires
    // when both the time since startTime and the time since its last firing
    // are at least its interval.
    bool isTimeToReportUnsupportedDrives();
    bool isTimeToReportCriticalLogicalDrives();
    bool isTimeToReportSASDriveMap();
    bool isTimeToReportBadStripe();

    // Adapter readings; a null adapter reads false.
    // Battery status 2 or 5 to 9.
    static bool isBatteryCacheInstalled(Adapter* adapter);
    // The status changed to 5 or 7 from one that is neither.
    static bool batteryStatusChangedToNormal(EnumBatteryStatus current, EnumBatteryStatus previous);
    // A heat sensor whose temperature is at or above its upper threshold.
    static bool isAdapterOverTemparature(Adapter* adapter);
    // A logical drive below the adapter with a bad stripe.
    static bool checkBadStripes(Adapter* adapter);

    // SAF-TE readings of a live Enclosure, or of a stored NRMEnclosure from
    // its stored data. Null reads invalid, 0 and absent.
    static bool isSafteDataValid(Enclosure* enclosure);
    static int getFanCount(Enclosure* enclosure);
    static int getPowerSupplyCount(Enclosure* enclosure);
    // The element status of fan or power supply index: absent above index
    // 31 or at or above the count; failed for a malfunctioning one (a power
    // supply malfunctioning and on); absent for one not installed;
    // operational otherwise.
    static EnumEnclosureElementStatus getFanStatus(Enclosure* enclosure, int index);
    static EnumEnclosureElementStatus getPowerSupplyStatus(Enclosure* enclosure, int index);
    // The SAF-TE slot of the device id, 0x7FFFFFFF when none (or invalid).
    static uint32_t getSlotNumberFromDeviceID(Enclosure* enclosure, int deviceID);
    // SES codes: critical and unrecoverable failed, not installed absent,
    // every other code operational.
    static EnumEnclosureElementStatus getFanStatus(EnumSESStatusCodes code);
    static EnumEnclosureElementStatus getPowerSupplyStatus(EnumSESStatusCodes code);

    // A physical device whose trimmed vendor text is "ZEQ-VRKD", "ZEQ-XJP"
    // or "ZEQ-TWQM".
    static bool isVendorSupported(RaidObject* object);
    // Removes the trailing blanks of text itself and returns a copy trimmed
    // further as NLSParser::trim does.
    static std::string trim(std::string& text);

    // Readings no rule uses.
    // The RAID family mask of the drive's level: 0xF striping, 0xF0
    // mirroring, 0xF00 single and 0xF000 double parity, 0xF0000000 for two
    // levels; 0 for a null drive or a level above RAID60.
    static uint32_t getRaidFamily(LogicalDrive* logicalDrive);
    // Whether the library lists a task of the drive (of a ready physical
    // device); false without a library.
    bool isTaskRunning(LogicalDrive* logicalDrive);
    bool isTaskRunning(PhysicalDevice* device);
    // The first SES element of the list with the element's type and
    // descriptor; entries that are not SES elements are passed over.
    static RaidObject* getSESElement(std::vector<RaidObject*> list, SESElement* element);

    // Phrases of the event texts, from the catalogue; "" for a null object.
    // Numbers of adapters, channels and logical drives count from 1, device
    // ids from 0; an unset id is written 2147483647.
    std::string getDetailedAdapterID(Adapter* adapter);
    std::string getEventID(Adapter* adapter);
    std::string getEventID(Channel* channel);
    std::string getEventID(LogicalDrive* logicalDrive);
    // By the drive's channel: SCSI, SATA enclosure slot or port, SAS
    // enclosure slot, direct attachment or world wide name (the build
    // without SES-2 and SAS phys: always the world wide name for SAS).
    std::string getEventID(HardDrive* hardDrive);
    // The FRU number, else vendor and model, else "".
    std::string getReplacementID(PhysicalDevice* device);
    // ", Method = " and the quick-init text for a drive being quick
    // initialized, else "".
    std::string getQuickInit(LogicalDrive* logicalDrive);
    std::string getRaidLevel(LogicalDrive* logicalDrive);
    // The data space in gigabytes with two decimals and " GB"; "0 GB" for a
    // null drive or one without an adapter.
    std::string getSize(LogicalDrive* logicalDrive);

    // Change-detection rules of adapters, physical drives and logical
    // drives. A family runs them per adapter of its live configuration:
    // compareAdapter first; on ADAPTER_COMPARE_ADDED checkAdapter and the
    // check rules, otherwise the compare rules with the adapter's previous
    // image (the previous live tree or the stored snapshot). Each queues its
    // events in the collection given; in a comparison the events name the new
    // adapter.
    //
    // The results of compareAdapter.
    static constexpr int ADAPTER_COMPARE_ADDED = 10;       // no old adapter
    static constexpr int ADAPTER_COMPARE_REPLACED = 11;    // working again after not working
    static constexpr int ADAPTER_COMPARE_WORKING = 12;     // compared, the new adapter works
    static constexpr int ADAPTER_COMPARE_NOT_WORKING = 13; // compared and not working, or no new adapter
    // The state of an adapter seen for the first time: state, failure,
    // battery, code versions, temperature, bad stripes.
    void checkAdapter(NRMEventCollection& ecIN, Adapter* adapter);
    // Added, replaced, state, failure, battery, the bad-stripe reminder, then
    // the family hook; oldAdapter may be null.
    int compareAdapter(NRMEventCollection& ecIN, Adapter* newAdapter, Adapter* oldAdapter);
    // The state of one drive (failed, PFA, unsupported vendor); both
    // pointers must be valid.
    void checkPhysicalDrive(NRMEventCollection& ecIN, Adapter* adapter, HardDrive* hd);
    // checkPhysicalDrive for every valid drive of the adapter.
    void checkPhysicalDrives(NRMEventCollection& ecIN, Adapter* adapterIN);
    // Removed and added drives, state changes, a newly set PFA error and
    // unsupported drives (the timed ones once in 30 days), drives paired by
    // findPD.
    void comparePhysicalDrives(NRMEventCollection& ecIN, Adapter* newAdapter, Adapter* oldAdapter);
    // The state and blocked flag of one logical drive; both pointers must be
    // valid.
    void checkLogicalDrive(NRMEventCollection& ecIN, Adapter* adapter, LogicalDrive* ld);
    // checkLogicalDrive for every valid logical drive of the adapter.
    void checkLogicalDrives(NRMEventCollection& ecIN, Adapter* adapterIN);
    // Deleted and added logical drives, state and blocked-flag changes, and
    // once in 8 hours a reminder naming the first paired drive found
    // critical; logical drives paired by findLD.
    void compareLogicalDrives(NRMEventCollection& ecIN, Adapter* newAdapter, Adapter* oldAdapter);

    // Enclosure rules and the SAS drive map. Each call raises its events
    // into ecIN and keeps nothing between calls. Fans and power supplies
    // are compared on the element status scale; the events name the
    // enclosure by its channel's phrase. In the build without SES-2 support
    // only SAF-TE enclosures are looked at.
    //
    // Start-up check of every SAF-TE enclosure of the adapter whose SAF-TE
    // data is valid, then of every SES-2 enclosure whose SES data is valid
    // (on a Vesk adapter of every one).
    void checkSafte(NRMEventCollection& ecIN, Adapter* adapterIN);
    // Start-up check of one enclosure: its failed and absent fans by rising
    // index, then its power supplies, then a temperature out of range.
    void checkSafte(NRMEventCollection& ecIN, Adapter* adapterIN, Enclosure* enclosure);
#ifndef MONITOR_WITHOUT_SES2
    void checkSafte(NRMEventCollection& ecIN, Adapter* adapterIN, SES2EnclosureDevice* enclosure);
#endif
    // The enclosures of the new adapter against those of the old one (the
    // previous live tree or the stored snapshot): SAF-TE, then SES-2, each
    // new side first (an enclosure without a partner of its class in the
    // old adapter at its channel and device id appears, with its start-up
    // check; a pair is compared element by element) and then old side (an
    // enclosure without a partner in the new adapter disappears). Partners
    // are looked up under the adapter id of the adapter searched, so
    // adapters paired across different ids still pair their enclosures.
    void compareSafte(NRMEventCollection& ecIN, Adapter* newAdapter, Adapter* oldAdapter);
    // One information event per hard drive on a SAS channel of the adapter
    // (not SATA on SAS) telling where it sits. No monitor calls it.
    void logSASDriveMap(NRMEventCollection& ecIN, Adapter* adapter);
    // The record of an event of the table with the catalogue text of its key
    // and the parameters put in: its id, usual severity, name and object
    // type; the caller sets the rest and queues it.
    NRMEvent makeEvent(const NRMEventDef& event, const std::vector<std::string>& params);

    // Test seams; no environment variable is read.
    // Every wait of the monitor code goes through sleepMillis, by default
    // MilliSleep. setSleepForTest(null) restores it; both return the one
    // before.
    typedef void (*SleepFunction)(long milliSec);
    static SleepFunction setSleepForTest(SleepFunction sleep);
    static void sleepMillis(long milliSec);
    // The file setNRMPath reads, by default "/proc/self/maps"; "" restores
    // it. Returns the one before.
    static std::string setMapsFileForTest(std::string fileName);

    // The members, in this order in every monitor library, with their values
    // before the constructor's steps.
    StorLibPlugin* storLib = nullptr;
    std::atomic<bool> running{false};
    std::atomic<bool> stopped{true};
    std::string nrmPath;
    std::string nrmLogPath;
    FILE* debugLog = nullptr;
    int32_t pollSeconds = 5;
    std::atomic<time_t> startTime{0};
    std::atomic<bool> firstRefresh{true};
    ReportTimer unsupportedDrivesTimer = {UNSUPPORTED_DRIVES_INTERVAL, 0};
    ReportTimer criticalLogicalDrivesTimer = {CRITICAL_LOGICAL_DRIVES_INTERVAL, 0};
    ReportTimer sasDriveMapTimer = {SAS_DRIVE_MAP_INTERVAL, 0};
    ReportTimer badStripeTimer = {BAD_STRIPE_INTERVAL, 0};
    bool vendorCheck = true;
    int32_t eventQueueSize = 0;
    int32_t debugMask = 0;
    int32_t osLoggingLevel = 0;
    bool alarm = false;
    int32_t logDirStatus = -1;
    NRMEventCollection* eventQueue = nullptr;
    NLSParser catalogue;
    NRMConfigBuilder* configBuilder = nullptr;
    NRMProgressCollection* progress = nullptr;

private:
    // The steps both constructors share; logDir null for the one without a
    // log directory.
    void construct(std::string debugLogName, std::string eventsLogName, std::string snapshotFileName,
                   const std::string* logDir);
    // The rule of the reminder timers.
    bool isTimeToReport(ReportTimer& timer);
    // The adapter part of the channel, logical-drive and drive phrases.
    std::string adapterPhrase(Adapter* adapter);
    // The drive phrases by channel type; owner is the drive's adapter (the
    // SAS phrase also takes a drive without one).
    std::string scsiPhrase(const std::string& adapter, Channel* channel, HardDrive* hardDrive);
    std::string sataPhrase(const std::string& adapter, Adapter* owner, HardDrive* hardDrive);
    std::string sasPhrase(const std::string& adapter, Adapter* owner, HardDrive* hardDrive);
};

// The run flags, the first-refresh flag and the start time are read by one
// thread while another writes them, as plain words of the same size.
static_assert(sizeof(std::atomic<bool>) == sizeof(bool) && std::atomic<bool>::is_always_lock_free,
              "the run flags are lock-free bools");
static_assert(sizeof(std::atomic<time_t>) == sizeof(time_t) && std::atomic<time_t>::is_always_lock_free,
              "the start time is a lock-free time_t");

// The layout every monitor library shares, whatever its build flags.
#if defined(__x86_64__)
static_assert(sizeof(ReportTimer) == 16, "ReportTimer size");
static_assert(sizeof(BaseRaidMonitor) == 784, "BaseRaidMonitor size");
#elif defined(__i386__)
static_assert(sizeof(ReportTimer) == 12, "ReportTimer size");
static_assert(sizeof(BaseRaidMonitor) == 464, "BaseRaidMonitor size");
#else
#error "the BaseRaidMonitor layout is pinned for x86-64 and i386 only"
#endif

#endif
