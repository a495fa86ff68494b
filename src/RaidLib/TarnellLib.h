#ifndef TARNELLLIB_H
#define TARNELLLIB_H

#include <cstdint>
#include <ctime>
#include <vector>

#include "RaidLib/StorLibPlugin.h"
#include "RaidLib/Util/StorExport.h"

class RaidObject;
class TarnellSystem;

// The storage library of the Tarnell family (library type 5). Its systems
// are TarnellSystems, built from the controller C API.
//
// Ownership of the systems it builds:
//  - A system asked for through newSystem() (as getSystemConfig does) belongs
//    to the caller; for getSystemConfig that is the library's counted
//    current system, which clients may share. The library never empties or
//    deletes such a system.
//  - The systems it builds for itself (the empty one of the constructor, the
//    snapshots currentSys and oldSys) and those it hands to a monitor through
//    getNewSystem are kept in a list of its own and deleted exactly once: a
//    snapshot when nothing names it any longer, a system handed out when the
//    library is deleted (the monitor may use it while the library lives).
//
// sys names the system built last, whoever asked for it. One library object
// must not be used by two threads at once.
class STOR_EXPORT TarnellLib : public StorLibPlugin {
public:
    TarnellLib();
    ~TarnellLib() override;

    // A new, empty TarnellSystem, which becomes sys; the caller owns it. Null
    // when there is no memory for it (sys then stays).
    System* newSystem() override;
    // Told by a TarnellSystem that its build has ended: built, or failed for
    // want of memory (the system is then discarded). A failed build of the
    // system that sys names gives sys back to the system it replaced.
    void buildEnded(TarnellSystem* system, bool built);

    // Family versions of these operations: the object is looked up in sys
    // (-2 without sys, without the object or when it is of another class:
    // "Adapter" for the log read, "TarnellAdapter" otherwise) and the
    // adapter's own operation answers; no trace or error entries.
    using StorLibPlugin::getControllerLog;
    Ret getControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN, char* pBufferOUT,
                         unsigned long& buffSizeINOUT) override;
    Ret clearControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN) override;
    Ret syncRescan(const Addr& addrIN) override;
    // Sets the write cache of a basic or spanned logical drive or of the
    // adapter; -1 (before any lookup) for a read-cache change or a write
    // setting other than enabled or disabled.
    Ret setLogicalDriveCache(const Addr& addrIN, EnumLogicalDriveCacheMode readCacheSettingIN,
                             EnumLogicalDriveCacheMode writeCacheSettingIN) override;
    Ret setStripeSize(const Addr& addrIN, EnumStripeSize stripeSizeIN) override;
    Ret setCopyBack(const Addr& addrIN, bool bEnabledIN) override;
    // The event poll (TarnellLibPoll.cpp): when the clocks and change tests
    // say the configuration may have changed, a new snapshot is built and
    // every controller of it and of the previous one is compared; the ring's
    // events from startEventNumberIN on then replace (and release) the text
    // in *xmlINOUT. Without a comparison *xmlINOUT stays as it was. -2 for a
    // null xmlINOUT (nothing changes); -3 when no memory is left for the
    // snapshot or the text (*xmlINOUT stays valid); 0 otherwise.
    using StorLibPlugin::getEvents;
    Ret getEvents(const Addr& addrIN, unsigned long startEventNumberIN, char** xmlINOUT) override;

    // Logical-drive creation and deletion: after either, whatever its
    // result, the adapter's arrays and logical drives are built again in sys
    // (objects of the old logical subtree, and addresses taken from them, are
    // gone then). The create addresses the adapter of addrIN's controller id.
    Ret createLogicalDrive(const Addr& addrIN, const LogicalDriveSpec& specIN) override;
    Ret deleteLogicalDrive(const Addr& addrIN) override;
    // Physical-drive cache modes are not supported (-1; -2 without sys).
    Ret setPhysicalDriveCache(const Addr& addrIN, EnumHardDriveCacheMode modeIN) override;
    // Only a synchronization with fix (bSynchronizeIN true); -1 otherwise,
    // before any lookup.
    Ret synchronizeLogicalDrive(const Addr& addrIN, bool bSynchronizeIN) override;
    // Method and priority are the controller's own.
    Ret initializeLogicalDrive(const Addr& addrIN, EnumInitMethod methodIN, EnumPriorityLevel priorityIN) override;
    // A basic logical drive grows, or an array gains free space, by the
    // drives the chunks name; the priority is the controller's own.
    Ret increaseLogicalDriveSize(const Addr& addrIN, const std::vector<ChunkSpec>& chunksIN,
                                 EnumPriorityLevel priorityIN) override;
    // The RAID-level migration of the logical drives of the addressed array.
    Ret modifyLogicalDrive(const Addr& addrIN, const LogicalDriveSpec& specIN) override;
    // OKAY for a RAID-0 or RAID-00 drive unblocks it; -2 for anything else.
    Ret setLogicalDriveState(const Addr& addrIN, EnumLogicalDeviceState stateIN) override;
    Ret setDeviceState(const Addr& addrIN, EnumPhysicalDeviceState stateIN) override;
    // A hard drive, logical drive or enclosure identifies itself; an array
    // its logical drives (within a spanned array those on that array), any
    // other object the hard drives below it, stopping at the first that
    // fails. -2 when nothing is there to identify.
    Ret identifyDevice(const Addr& addrIN, EnumIdentifyOption optionIN) override;
    // Only directions with sense data, or no transfer: READ, WRITE and
    // READWRITE give -1 and send nothing; -5 when the controller fails the
    // command (the sense bytes are then in the command's sense buffer).
    Ret scsiPassThruCommand(const Addr& addrIN, SCSICommand& commandINOUT) override;
    // true takes the drive down (dead). false revives a dead drive: it is
    // rebuilt when a logical drive it carries is critical, otherwise set
    // online; -1 for a drive that is not dead.
    Ret downHardDrive(const Addr& addrIN, bool bForceIN) override;
    // The task of a logical drive as a "ProgressCollection" document that
    // replaces (and releases) the buffer in *xmlINOUT; -2 when xmlINOUT or
    // *xmlINOUT is null.
    Ret getTasks(const Addr& addrIN, char** xmlINOUT) override;
    // The task of a logical drive, appended to tasksINOUT.
    Ret getTasks(const Addr& addrIN, ProgressCollection& tasksINOUT) override;

    // Operations of the family's own. startTask runs HD_TASK_VERIFY_FIX as
    // a synchronization of the addressed logical drive; HD_TASK_NONE gives
    // -2, any other task -1.
    using StorLibPlugin::startTask;
    virtual Ret startTask(const Addr& addrIN, EnumHardDriveTask hdTaskIN);
    // A ready hard drive becomes a hot spare, a hot spare ready again; -2
    // for a drive in another state.
    virtual Ret createGlobalSpare(const Addr& addrIN);
    virtual Ret deleteSpare(const Addr& addrIN);
    // Lets a blocked basic or spanned logical drive be used again.
    virtual Ret unblockLogicalDrive(const Addr& addrIN);
    // The adapter's read-ahead on or off.
    virtual Ret setAdapterReadCache(const Addr& addrIN, bool bEnableIN);
    // Whether the library carries out the named operation: an exact,
    // case-sensitive match with one of its 27 names.
    virtual bool supportsMethod(const char* method);

    // The newest snapshot and the one before it; null before there is one.
    TarnellSystem* getCurrentSystem() const { return currentSys; }
    TarnellSystem* getOldSystem() const { return oldSys; }
    // The object at the address in the newest (old) snapshot; null when there
    // is no snapshot or no such object.
    RaidObject* getCurrentObject(Addr& ldAddr);
    RaidObject* getOldObject(Addr& addr);
    // The object at the address in the system when it is of the class; null
    // otherwise (also without a system).
    static RaidObject* objectIn(System* system, const Addr& addrIN, const char* className);
    // A system built afresh from the controllers; it also becomes the newest
    // snapshot when there is none. It stays valid while the library lives.
    // Null only when there is no memory for it.
    TarnellSystem* getNewSystem();
    // Gives back a system that getNewSystem handed out: the library deletes
    // it as soon as none of its own snapshots names it. Anything else, null
    // included, is ignored. The caller must not use the system afterwards.
    void releaseSystem(System* system);
    // The number of systems the library holds (its snapshots and the systems
    // handed out and not given back).
    size_t heldSystemCount() const { return ownedSystems.size(); }
    // The migration kind (ucLdmOption) of the task the controller at the
    // adapter address reports; 0 when there is no such adapter or the
    // progress cannot be read. Builds the newest snapshot when there is none.
    uint8_t getLDMProgressType(Addr& addrIN);
    // The monitor's start time becomes the reference of the periodic reminders.
    void SetNRMStartTime(time_t nrmStartTime);
    // Deletes the system with its tree; null is ignored. Only for a system
    // that nothing else holds.
    static void deleteSystem(System* system);

    // The event poll's intervals (seconds) and clocks (seconds since the
    // epoch, 32 bits), shared by every library object of the process. The
    // clocks start with the first library object.
    static uint32_t pollingRate;
    static uint32_t configChangePollingRate;
    static uint32_t lastMainThreadTimeCall;
    static uint32_t lastConfigChangeTimeCall;
    static uint32_t lastConfigChangeTime;
    // For tests only: the clocks back to 0, so that the next library object
    // starts them again.
    static void resetPollClocksForTest();

protected:
    TarnellSystem* sys;        // built last, by whoever asked (see above)
    TarnellSystem* currentSys; // newest snapshot (owned)
    TarnellSystem* oldSys;     // the snapshot before it (owned)
    TarnellSystem* newSys;     // built by the last getNewSystem (owned, handed out)
    TarnellSystem* replacedSys; // sys before the system being built

    // The object at the address in sys when it is of the class; null
    // otherwise (also without sys).
    RaidObject* familyObject(const Addr& addrIN, const char* className);
    // A new system, built at once and kept in the owned list; handedOut keeps
    // it until the library is deleted. Null when there is no memory for it
    // or its build (nothing of it is then kept).
    TarnellSystem* buildOwnedSystem(bool handedOut);
    // Deletes an owned system that no member names and that was not handed
    // out; anything else is left alone.
    void retire(System* system);

private:
    struct OwnedSystem {
        System* system;
        bool handedOut;
    };
    bool isNamed(const System* system) const;
    std::vector<OwnedSystem> ownedSystems;
};

namespace tarnellSDK {

// The entry object of SDK clients: owns one TarnellLib.
class STOR_EXPORT StorLibSDK {
public:
    StorLibSDK();
    ~StorLibSDK();
    StorLibSDK(const StorLibSDK&) = delete;
    StorLibSDK& operator=(const StorLibSDK&) = delete;

    StorLib* getLibHandle() { return pLibHandle; }

private:
    StorLib* pLibHandle;
};

} // namespace tarnellSDK

#endif
