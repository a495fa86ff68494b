// Event rules of the tasks a controller runs on its drives: rebuild,
// copy-back, compaction, expansion, synchronisation, Quillcopy snapshot,
// compression, decompression and migration.
//
// The controller reports one task at a time in its progress record. The rules
// compare that record with what they remembered of the controller at the last
// poll and raise a detected event when a task starts, a complete event when it
// ends well or moves on to another drive, and a failed event when it ends
// badly. The remembered state is updated so that each transition is reported
// once. All task kinds share one remembered drive number and sub-logical flag.

#include <cstring>

#include "RaidLib/Util/Date.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Interface/LogicalDrive.h"

namespace {

// A remembered drive number or flag that names nothing.
const int NO_DRIVE = 0x7FFFFFFF;

// Final statuses of a task that ended well.
const uint8_t TASK_STATUS_DONE = 0x00;
const uint8_t TASK_STATUS_DONE_43 = 0x43; // rebuild family and migration only

enum Kind { REBUILD, COPYBACK, COMPACTION, EXPANSION, SYNC, QUILLCOPY, COMPRESSION, DECOMPRESSION, MIGRATION,
            NO_KIND };
enum Outcome { DETECTED, COMPLETE, FAILED };

// One event of a transition; code 0 ends the list.
struct Step {
    uint32_t type;
    uint32_t code;
};
// The events of one transition of one kind: when the task runs on a logical
// drive, and when it runs on a sub-logical drive (named by its array).
struct Events {
    Step drive[2];
    Step array[2];
};

const uint32_t I = RaidEvent::INFORMATION_EVENT;
const uint32_t W = RaidEvent::WARNING_EVENT;
const uint32_t F = RaidEvent::FATAL_EVENT;
const uint32_t P = RaidEvent::PROGRESS_EVENT;

// By kind, then detected, complete, failed.
const Events EVENTS[NO_KIND][3] = {
    // REBUILD
    {{{{P, RaidEvent::REBUILD_DETECTED}, {W, RaidEvent::LOGICAL_DRIVE_STATE_CHANGE}},
      {{I, RaidEvent::ARRAY_STATE_CHANGE}, {P, RaidEvent::ARRAY_REBUILD_DETECTED}}},
     {{{P, RaidEvent::REBUILD_COMPLETE}, {0, 0}},
      {{I, RaidEvent::ARRAY_STATE_CHANGE}, {P, RaidEvent::ARRAY_REBUILD_COMPLETE}}},
     {{{F, RaidEvent::REBUILD_FAIL}, {0, 0}},
      {{F, RaidEvent::ARRAY_STATE_CHANGE}, {F, RaidEvent::ARRAY_REBUILD_FAIL}}}},
    // COPYBACK
    {{{{P, RaidEvent::COPYBACK_DETECTED}, {0, 0}}, {{P, RaidEvent::COPYBACK_DETECTED}, {0, 0}}},
     {{{P, RaidEvent::COPYBACK_COMPLETE}, {0, 0}}, {{P, RaidEvent::COPYBACK_COMPLETE}, {0, 0}}},
     {{{F, RaidEvent::COPYBACK_FAIL}, {0, 0}}, {{F, RaidEvent::COPYBACK_FAIL}, {0, 0}}}},
    // COMPACTION
    {{{{P, RaidEvent::COMPACTION_DETECTED}, {0, 0}}, {{P, RaidEvent::COMPACTION_DETECTED}, {0, 0}}},
     {{{P, RaidEvent::COMPACTION_COMPLETE}, {0, 0}}, {{P, RaidEvent::COMPACTION_COMPLETE}, {0, 0}}},
     {{{F, RaidEvent::COMPACTION_FAIL}, {0, 0}}, {{F, RaidEvent::COMPACTION_FAIL}, {0, 0}}}},
    // EXPANSION
    {{{{P, RaidEvent::EXPANSION_DETECTED}, {0, 0}}, {{P, RaidEvent::EXPANSION_DETECTED}, {0, 0}}},
     {{{P, RaidEvent::EXPANSION_COMPLETE}, {0, 0}}, {{P, RaidEvent::EXPANSION_COMPLETE}, {0, 0}}},
     {{{F, RaidEvent::EXPANSION_FAIL}, {0, 0}}, {{F, RaidEvent::EXPANSION_FAIL}, {0, 0}}}},
    // SYNC
    {{{{P, RaidEvent::SYNC_DETECTED}, {0, 0}}, {{P, RaidEvent::ARRAY_SYNC_DETECTED}, {0, 0}}},
     {{{P, RaidEvent::SYNC_COMPLETE}, {0, 0}}, {{P, RaidEvent::ARRAY_SYNC_COMPLETE}, {0, 0}}},
     {{{F, RaidEvent::SYNC_FAIL}, {0, 0}}, {{F, RaidEvent::ARRAY_SYNC_FAIL}, {0, 0}}}},
    // QUILLCOPY
    {{{{P, RaidEvent::QUILLCOPY_DETECTED}, {0, 0}}, {{P, RaidEvent::ARRAY_QUILLCOPY_DETECTED}, {0, 0}}},
     {{{P, RaidEvent::QUILLCOPY_COMPLETE}, {0, 0}}, {{P, RaidEvent::ARRAY_QUILLCOPY_COMPLETE}, {0, 0}}},
     {{{F, RaidEvent::QUILLCOPY_FAIL}, {0, 0}}, {{F, RaidEvent::ARRAY_QUILLCOPY_FAIL}, {0, 0}}}},
    // COMPRESSION, DECOMPRESSION and MIGRATION always name a drive.
    {{{{P, RaidEvent::COMPRESSION_DETECTED}, {0, 0}}, {{0, 0}, {0, 0}}},
     {{{P, RaidEvent::COMPRESSION_COMPLETE}, {0, 0}}, {{0, 0}, {0, 0}}},
     {{{F, RaidEvent::COMPRESSION_FAIL}, {0, 0}}, {{0, 0}, {0, 0}}}},
    {{{{P, RaidEvent::DECOMPRESSION_DETECTED}, {0, 0}}, {{0, 0}, {0, 0}}},
     {{{P, RaidEvent::DECOMPRESSION_COMPLETE}, {0, 0}}, {{0, 0}, {0, 0}}},
     {{{F, RaidEvent::DECOMPRESSION_FAIL}, {0, 0}}, {{0, 0}, {0, 0}}}},
    {{{{P, RaidEvent::MIGRATION_DETECTED}, {0, 0}}, {{0, 0}, {0, 0}}},
     {{{P, RaidEvent::MIGRATION_COMPLETE}, {0, 0}}, {{0, 0}, {0, 0}}},
     {{{F, RaidEvent::MIGRATION_FAIL}, {0, 0}}, {{0, 0}, {0, 0}}}},
};

// The kind of a rebuild-family qualifier (the remembered rebuildMode).
Kind rebuildFamilyKind(int qualifier)
{
    switch (qualifier) {
    case TASK_QUAL_REBUILD:
        return REBUILD;
    case TASK_QUAL_COMPACTION:
        return COMPACTION;
    case TASK_QUAL_EXPANSION:
        return EXPANSION;
    case TASK_QUAL_COPYBACK:
        return COPYBACK;
    default:
        return NO_KIND;
    }
}

// The kind of a migration option (the remembered migrationMode).
Kind migrationKind(int option)
{
    if (option == TASK_LDM_COMPRESSION)
        return COMPRESSION;
    if (option == TASK_LDM_DECOMPRESSION)
        return DECOMPRESSION;
    return MIGRATION;
}

// What an event names: a logical drive by its number, or the array of a
// sub-logical drive by the drive's index in the adapter's SLD table.
struct Subject {
    bool array;
    int number;
};

// The array id of SLD entry index, from bits 5-7 of its user field. False
// when the adapter's SLD table has no whole entry at that index: the numbers
// come from the controller's record or from the remembered state (which may
// hold a reset number such as 0x7FFFFFFF), and the table's length from the
// controller.
bool sldArrayID(const TarnellAdapter* adapter, int index, uint8_t& arrayID)
{
    const _VIRT_DRV_PARMS* table = adapter->getSLDTable();
    if (table == nullptr || index < 0)
        return false;
    const uint32_t entries = static_cast<uint32_t>(adapter->getSLDTableSize()) / sizeof(_VIRT_DRV_PARMS);
    if (static_cast<uint32_t>(index) >= entries)
        return false;
    _VIRT_DRV_PARMS entry;
    std::memcpy(&entry, reinterpret_cast<const uint8_t*>(table) + static_cast<size_t>(index) * sizeof entry,
                sizeof entry);
    arrayID = static_cast<uint8_t>(entry.getArrayId());
    return true;
}

// One call of the rules on one adapter: the record read now, a working copy
// of the remembered state, and whether an event was raised.
class ProgressRules {
public:
    ProgressRules(TarnellAdapter* adapterIN, EVT_ADAPTER_STATUS& stateIN, const _REBUILD_STATUS& recordIN)
        : adapter(adapterIN), s(stateIN), r(recordIN)
    {
    }

    // The one rule of the record's kind while a task is in progress.
    void inProgress()
    {
        switch (r.ucOpcode) {
        case TASK_OPCODE_REBUILD:
            if (r.ucSubOpcodeQualifier == TASK_QUAL_REBUILD || r.ucSubOpcodeQualifier == TASK_QUAL_COPYBACK)
                rebuildOrCopyBack(r.ucSubOpcodeQualifier);
            else if (r.ucSubOpcodeQualifier == TASK_QUAL_COMPACTION ||
                     r.ucSubOpcodeQualifier == TASK_QUAL_EXPANSION)
                compactionOrExpansion(r.ucSubOpcodeQualifier);
            break;
        case TASK_OPCODE_SYNC:
            synchronisation();
            break;
        case TASK_OPCODE_QUILLCOPY:
            quillcopy();
            break;
        case TASK_OPCODE_MIGRATION:
            migration();
            break;
        default:
            break;
        }
    }

    // No task is in progress: every remembered kind has ended, well or not.
    void ended()
    {
        const bool wellFamily = r.ucStatus == TASK_STATUS_DONE || r.ucStatus == TASK_STATUS_DONE_43;
        const Outcome family = wellFamily ? COMPLETE : FAILED;
        const Outcome strict = r.ucStatus == TASK_STATUS_DONE ? COMPLETE : FAILED;

        if (s.migrationStatus) {
            s.migrationStatus = false;
            raise(migrationKind(s.migrationMode), family, drive(r.ucVirtDriveNumber));
        }
        if (s.rebuildStatus) {
            const Kind kind = rebuildFamilyKind(s.rebuildMode);
            s.rebuildStatus = false;
            forgetDrive();
            if (kind != NO_KIND)
                raise(kind, family, record());
            // An unknown remembered kind ends without an event, but the end
            // still counts as a change.
            if (s.rebuildMode != TASK_QUAL_REBUILD)
                endedOtherRebuildKind = true;
        }
        if (s.syncStatus) {
            s.syncStatus = false;
            forgetDrive();
            raise(SYNC, strict, record());
        }
        if (s.snapshotStatus) {
            // The shared number as it is now: an end rule above may have
            // reset it already.
            const int number = s.virtDriveNumber & 0xFF;
            s.snapshotStatus = false;
            forgetDrive();
            raise(QUILLCOPY, strict, Subject{r.ucIsSLDVirtDriveId != 0, number});
        }
    }

    bool changed() const { return raised || endedOtherRebuildKind; }

private:
    Subject drive(int number) const { return Subject{false, number}; }
    Subject record() const { return Subject{r.ucIsSLDVirtDriveId != 0, r.ucVirtDriveNumber}; }
    Subject remembered() const { return Subject{s.sldVirtDriveNumber > 0, s.virtDriveNumber}; }

    bool onAnotherDrive() const
    {
        return r.ucVirtDriveNumber != s.virtDriveNumber || r.ucIsSLDVirtDriveId != s.sldVirtDriveNumber;
    }

    void remember(bool& status)
    {
        status = true;
        s.virtDriveNumber = r.ucVirtDriveNumber;
        s.sldVirtDriveNumber = r.ucIsSLDVirtDriveId;
    }

    void forgetDrive()
    {
        s.virtDriveNumber = NO_DRIVE;
        s.sldVirtDriveNumber = NO_DRIVE;
    }

    void rebuildOrCopyBack(int qualifier)
    {
        if (s.rebuildStatus) {
            if (s.rebuildMode == qualifier && onAnotherDrive()) {
                raise(rebuildFamilyKind(qualifier), COMPLETE, remembered());
            } else if (s.virtDriveNumber == r.ucVirtDriveNumber) {
                return; // a rebuild-family task on this drive is tracked already
            } else {
                // A task of another rebuild-family kind was remembered on
                // another drive. The controller runs one task at a time, so
                // that one has made way: it is reported complete and the new
                // one is tracked, so neither is reported again next poll.
                const Kind previous = rebuildFamilyKind(s.rebuildMode);
                if (previous != NO_KIND)
                    raise(previous, COMPLETE, remembered());
            }
        }
        s.rebuildMode = qualifier;
        remember(s.rebuildStatus);
        raise(rebuildFamilyKind(qualifier), DETECTED, record());
    }

    // Detected only while no rebuild-family task is remembered, and always
    // as a drive event.
    void compactionOrExpansion(int qualifier)
    {
        if (s.rebuildStatus)
            return;
        s.rebuildMode = qualifier;
        remember(s.rebuildStatus);
        raise(rebuildFamilyKind(qualifier), DETECTED, drive(r.ucVirtDriveNumber));
    }

    void synchronisation()
    {
        if (s.syncStatus) {
            if (!onAnotherDrive())
                return;
            // A synchronisation whose drive has gone is not reported complete.
            if (rememberedDriveExists())
                raise(SYNC, COMPLETE, remembered());
        }
        remember(s.syncStatus);
        raise(SYNC, DETECTED, record());
    }

    // The new snapshot is detected with the next poll.
    void quillcopy()
    {
        if (!s.snapshotStatus) {
            remember(s.snapshotStatus);
            raise(QUILLCOPY, DETECTED, record());
            return;
        }
        if (!onAnotherDrive())
            return;
        s.snapshotStatus = false;
        raise(QUILLCOPY, COMPLETE, Subject{r.ucIsSLDVirtDriveId != 0, s.virtDriveNumber});
    }

    void migration()
    {
        const int option = r.ucLdmOption;
        if (s.migrationStatus) {
            if (s.migrationMode != option) {
                // A change of kind ends a compression or decompression; a
                // plain migration ends silently.
                const Kind previous = migrationKind(s.migrationMode);
                if (previous != MIGRATION)
                    raise(previous, COMPLETE, drive(r.ucVirtDriveNumber));
            } else if (s.virtDriveNumber != r.ucVirtDriveNumber) {
                s.migrationStatus = false;
                raise(MIGRATION, COMPLETE, drive(s.virtDriveNumber));
            } else {
                return; // still the remembered migration
            }
        }

        s.migrationStatus = true;
        s.virtDriveNumber = r.ucVirtDriveNumber;
        s.migrationMode = option;
        const Kind kind = migrationKind(option);
        if (kind != MIGRATION) {
            raise(kind, DETECTED, drive(r.ucVirtDriveNumber));
        } else if (hasSystemDrive()) {
            s.migrationType = r.ucOpcode;
            s.migrationOption = option;
            raise(MIGRATION, DETECTED, drive(r.ucVirtDriveNumber));
        } else {
            // Not yet visible in the configuration: look again next poll.
            s.migrationStatus = false;
            s.virtDriveNumber = NO_DRIVE;
            s.migrationMode = NO_DRIVE;
        }
    }

    // Whether the remembered drive (or the array of the remembered
    // sub-logical drive) is still in the adapter's tree.
    bool rememberedDriveExists() const
    {
        const bool array = s.sldVirtDriveNumber > 0;
        uint8_t arrayID = 0;
        if (array && !sldArrayID(adapter, s.virtDriveNumber, arrayID))
            return false;
        FilterCollection objects(adapter);
        objects.apply(array ? "BasicArray" : "LogicalDrive", false);
        for (unsigned long i = 0; i < objects.size(); ++i) {
            const RaidObject* o = objects.elementAt(static_cast<int>(i));
            if (array ? o->getArrayID() == arrayID
                      : static_cast<int64_t>(o->getLogicalDriveID()) == static_cast<int64_t>(s.virtDriveNumber))
                return true;
        }
        return false;
    }

    // Whether a logical drive of the adapter is in state SYSTEM: the
    // controller's temporary drive of a running migration.
    bool hasSystemDrive() const
    {
        FilterCollection drives(adapter);
        drives.apply("LogicalDrive", false);
        for (unsigned long i = 0; i < drives.size(); ++i)
            if (static_cast<const LogicalDrive*>(drives.elementAt(static_cast<int>(i)))->getState() == SYSTEM)
                return true;
        return false;
    }

    // Raises the events of one transition about the subject. A sub-logical
    // drive outside the adapter's SLD table has no array to name: its events
    // are raised with the adapter id alone (no array id set), so that the
    // transition is not lost and no other array or drive is named.
    void raise(Kind kind, Outcome outcome, Subject subject)
    {
        const Events& events = EVENTS[kind][outcome];
        const Step* steps = subject.array ? events.array : events.drive;
        uint8_t arrayID = 0;
        const bool hasArrayID = subject.array && sldArrayID(adapter, subject.number, arrayID);
        for (int i = 0; i < 2 && steps[i].code != 0; ++i) {
            Date now;
            RaidEvent event(steps[i].type, steps[i].code, 0, now);
            event.setAdapterID(adapter->getAdapterID());
            if (!subject.array)
                event.setLogicalDriveID(static_cast<unsigned int>(subject.number));
            else if (hasArrayID)
                event.setArrayID(arrayID);
            TarnellEvents::addEvent(event);
            raised = true;
        }
    }

    TarnellAdapter* adapter;
    EVT_ADAPTER_STATUS& s;
    const _REBUILD_STATUS& r;
    bool raised = false;
    bool endedOtherRebuildKind = false;
};

} // namespace

bool TarnellEvents::compareProgress(TarnellAdapter* adapter, std::string& /*xml: events go to the ring*/)
{
    if (adapter == nullptr)
        return false;
    const STORID_T id = adapter->getAdapterID();

    _REBUILD_STATUS record;
    std::memset(&record, 0, sizeof record);
    if (adapter->returnProgress(record) != Ret(0)) {
        Date now;
        RaidEvent event(RaidEvent::WARNING_EVENT, RaidEvent::POLLING_FAIL, 0, now);
        event.setAdapterID(id);
        if (adapter->getAdapterVPDInfo() != nullptr)
            event.setFRU(adapter->getAdapterVPDInfo()->FRU);
        addEvent(event);
        return true;
    }
    saveProgress(id, record);

    // The array ids of sub-logical drives come from the controller's
    // current SLD table.
    TarnellAdapter::updateTables(adapter, true, true);
    if (adapter->getSLDTable() == nullptr)
        return false;

    EVT_ADAPTER_STATUS state = getAdapterStatus(id);
    ProgressRules rules(adapter, state, record);
    if (isTaskStatusActive(record.ucStatus))
        rules.inProgress();
    else
        rules.ended();
    getAdapterStatus(id) = state;
    return rules.changed();
}
