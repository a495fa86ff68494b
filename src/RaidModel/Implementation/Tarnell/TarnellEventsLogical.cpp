// Event rules of the logical drives: the bad states of a drive seen for the
// first time, and the differences between two snapshots of a controller's
// top-level logical drives, with a reminder about critical drives at most
// once per period. Sub-logical drives of a spanned drive raise nothing of
// their own; their spanned drive speaks for them.

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Interface/Array.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/System.h"

namespace {

bool isCritical(EnumLogicalDeviceState state)
{
    return state == CRITICAL || state == CRITICAL_MIGRATING || state == CRITICAL_SYSTEM;
}

// Adds one event of the controller, about the drive when one is named.
void raise(uint32_t type, uint32_t code, STORID_T adapterID, const LogicalDrive* drive)
{
    RaidEvent event(type, code, 0);
    event.setAdapterID(adapterID);
    if (drive != nullptr)
        event.setLogicalDriveID(drive->getLogicalDriveID());
    TarnellEvents::addEvent(event);
}

// The same drive in the other snapshot: the logical drive at the drive's
// adapter, array and logical-drive ids. A drive without an array (or without
// an adapter) is looked up by the ids of its own address instead.
LogicalDrive* counterpart(const LogicalDrive* drive, TarnellAdapter* other)
{
    const STORID_T adapterID = drive->getAdapter() ? drive->getAdapter()->getAdapterID() : drive->getAdapterID();
    const STORID_T arrayID = drive->getArray() ? drive->getArray()->getArrayID() : drive->getArrayID();
    RaidObject* found = System::findObjectFrom(other, Addr(adapterID, arrayID, drive->getLogicalDriveID(),
                                                           STORID_UNDEFINED, STORID_UNDEFINED, BLOCK_UNDEFINED,
                                                           STORID_UNDEFINED, STORID_UNDEFINED));
    if (found == nullptr || !found->isInstanceOf("LogicalDrive"))
        return nullptr;
    return static_cast<LogicalDrive*>(found);
}

// The logical drives below the adapter in tree order.
class LogicalDrives {
public:
    explicit LogicalDrives(TarnellAdapter* adapter) : drives(adapter) { drives.apply("LogicalDrive", false); }
    unsigned long size() const { return drives.size(); }
    LogicalDrive* at(unsigned long i) const
    {
        return static_cast<LogicalDrive*>(drives.elementAt(static_cast<int>(i)));
    }

private:
    FilterCollection drives;
};

} // namespace

void TarnellEvents::checkLogicalDrive(TarnellAdapter* adapter, LogicalDrive* drive, std::string&)
{
    if (adapter == nullptr || drive == nullptr)
        return;
    const STORID_T adapterID = adapter->getAdapterID();
    if (drive->getState() == OFFLINE)
        raise(RaidEvent::FATAL_EVENT, RaidEvent::LOGICAL_DRIVE_OFFLINE, adapterID, drive);
    else if (isCritical(drive->getState()))
        raise(RaidEvent::WARNING_EVENT, RaidEvent::LOGICAL_DRIVE_CRITICAL, adapterID, drive);
    if (drive->getBlockedAccess())
        raise(RaidEvent::FATAL_EVENT, RaidEvent::LOGICAL_DRIVE_BLOCKED, adapterID, drive);
}

bool TarnellEvents::compareLDConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string& xml)
{
    if (oldAdapter == nullptr || newAdapter == nullptr)
        return false;
    const STORID_T adapterID = newAdapter->getAdapterID();
    bool changed = false;
    unsigned criticalCount = 0;

    LogicalDrives previous(oldAdapter);
    LogicalDrives current(newAdapter);

    // What became of the drives of the current snapshot.
    for (unsigned long i = 0; i < current.size(); ++i) {
        LogicalDrive* d = current.at(i);
        if (isSubLogicalDrive(d))
            continue;
        const EnumLogicalDeviceState n = d->getState();
        LogicalDrive* p = counterpart(d, oldAdapter);
        if (p == nullptr) {
            // A drive that a migration brings along is no new drive.
            if (n == CRITICAL_MIGRATING || n == CRITICAL_SYSTEM)
                continue;
            raise(RaidEvent::INFORMATION_EVENT, RaidEvent::LOGICAL_DRIVE_ADDED, adapterID, d);
            changed = true;
            checkLogicalDrive(newAdapter, d, xml);
            continue;
        }

        if (isCritical(n))
            ++criticalCount;

        const EnumLogicalDeviceState o = p->getState();
        if (n != o) {
            const uint32_t type = n == OFFLINE     ? RaidEvent::FATAL_EVENT
                                  : isCritical(n) ? RaidEvent::WARNING_EVENT
                                                  : RaidEvent::INFORMATION_EVENT;
            raise(type, RaidEvent::LOGICAL_DRIVE_STATE_CHANGE, adapterID, d);
            if (n == OFFLINE) {
                raise(RaidEvent::FATAL_EVENT, RaidEvent::LOGICAL_DRIVE_OFFLINE, adapterID, d);
                changed = true;
            } else if (isCritical(n) && !isCritical(o)) {
                raise(RaidEvent::WARNING_EVENT, RaidEvent::LOGICAL_DRIVE_CRITICAL, adapterID, d);
                changed = true;
            } else if (o == FREE) {
                raise(RaidEvent::INFORMATION_EVENT, RaidEvent::LOGICAL_DRIVE_ADDED, adapterID, d);
                changed = true;
                checkLogicalDrive(newAdapter, d, xml);
            } else if (n == OKAY && o != MIGRATING) {
                raise(RaidEvent::INFORMATION_EVENT, RaidEvent::LOGICAL_DRIVE_OK, adapterID, d);
                changed = true;
            }
        }

        if (d->getBlockedAccess() != p->getBlockedAccess()) {
            if (d->getBlockedAccess())
                raise(RaidEvent::FATAL_EVENT, RaidEvent::LOGICAL_DRIVE_BLOCKED, adapterID, d);
            else
                raise(RaidEvent::INFORMATION_EVENT, RaidEvent::LOGICAL_DRIVE_UNBLOCKED, adapterID, d);
            changed = true;
        }

        // No event code of their own: the clients only refresh the drive.
        if (d->getWriteCacheMode() != p->getWriteCacheMode() || d->hasOSPartition() != p->hasOSPartition()) {
            raise(RaidEvent::REFRESH_EVENT, 0, adapterID, d);
            changed = true;
        }
    }

    // The drives of the previous snapshot that are gone or were freed.
    for (unsigned long i = 0; i < previous.size(); ++i) {
        LogicalDrive* p = previous.at(i);
        if (isSubLogicalDrive(p))
            continue;
        LogicalDrive* d = counterpart(p, newAdapter);
        if (d == nullptr) {
            // The temporary drive of a migration goes without notice.
            if (p->getState() == SYSTEM || p->getState() == CRITICAL_SYSTEM)
                continue;
            raise(RaidEvent::INFORMATION_EVENT, RaidEvent::LOGICAL_DRIVE_REMOVED, adapterID, p);
            changed = true;
        } else if (d->getState() != p->getState() && d->getState() == FREE) {
            raise(RaidEvent::INFORMATION_EVENT, RaidEvent::LOGICAL_DRIVE_REMOVED, adapterID, d);
            changed = true;
        }
    }

    // The throttle is asked first, so a period that has passed is used up
    // even when no drive is critical.
    if (isTimeToReportCriticalLogicalDrives() && criticalCount > 0)
        raise(RaidEvent::INFORMATION_EVENT, RaidEvent::LOGICAL_DRIVE_CRITICAL_PERIODIC, adapterID, nullptr);

    return changed;
}

bool TarnellEvents::isSubLogicalDrive(const RaidObject* drive)
{
    const RaidObject* parent = drive->getParent();
    return parent != nullptr && parent->isInstanceOf("LogicalDrive");
}
