// Event rules of the hard drives: the bad states of a drive seen for the
// first time, and the changes between two snapshots of a controller's drives
// (added, removed, state changes, spares, failure prediction and drives of
// vendors the family does not support).

#include "RaidLib/Util/Date.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/System.h"

namespace {

// The channel of the drive's channel object; a drive without one (never so
// in a built tree) falls back to its own address.
STORID_T channelOf(const HardDrive* drive)
{
    const Channel* channel = drive->getChannel();
    return channel != nullptr ? channel->getChannelID() : drive->getChannelID();
}

// Raises the events of one controller's drives, each stamped with the
// controller's model id and the ids of the drive it names.
class DriveEvents {
public:
    explicit DriveEvents(STORID_T adapterIDIN) : adapterID(adapterIDIN), raised(false) {}

    void raise(uint32_t type, uint32_t code, const HardDrive* drive, bool withFRU)
    {
        Date now;
        raise(type, code, drive, withFRU, now);
    }

    void raise(uint32_t type, uint32_t code, const HardDrive* drive, bool withFRU, Date& date)
    {
        RaidEvent event(type, code, 0, date);
        event.setAdapterID(adapterID);
        event.setChannelID(channelOf(drive));
        event.setDeviceID(drive->getDeviceID());
        if (withFRU)
            event.setFRU(drive->getFruNumber());
        TarnellEvents::addEvent(event);
        raised = true;
    }

    // A predicted failure: two warnings at one time, both with the FRU text.
    void raisePfa(const HardDrive* drive)
    {
        Date now;
        raise(RaidEvent::WARNING_EVENT, RaidEvent::PFA_DRIVE_FRU, drive, true, now);
        raise(RaidEvent::WARNING_EVENT, RaidEvent::DRIVE_STATE_CHANGE, drive, true, now);
    }

    // The bad states a drive already has when it is first seen.
    void check(const HardDrive* drive)
    {
        if (drive->getState() == DRIVE_DEAD)
            raise(RaidEvent::FATAL_EVENT, RaidEvent::DEFUNCT_DRIVE_FRU, drive, true);
        if (drive->getPfaError())
            raisePfa(drive);
    }

    bool anyRaised() const { return raised; }

private:
    STORID_T adapterID;
    bool raised;
};

// The drive at the same channel and device in the other snapshot, looked up
// with the walked adapter's id. Whatever else sits there (an enclosure, a
// tape) is no counterpart of a hard drive.
const HardDrive* counterpartOf(const HardDrive* drive, STORID_T adapterID, TarnellAdapter* other)
{
    RaidObject* found = System::findObjectFrom(
        other, Addr(adapterID, STORID_UNDEFINED, STORID_UNDEFINED, channelOf(drive), drive->getDeviceID(),
                    BLOCK_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED));
    if (found == nullptr || !found->isInstanceOf("HardDrive"))
        return nullptr;
    return static_cast<const HardDrive*>(found);
}

// The event that follows the state change of a paired drive; false when the
// drive came out of an empty slot and counts as added (its other tests are
// then skipped).
bool raiseTransition(DriveEvents& events, const HardDrive* drive, EnumPhysicalDeviceState n,
                     EnumPhysicalDeviceState o)
{
    if (n == DRIVE_DEAD)
        events.raise(RaidEvent::FATAL_EVENT, RaidEvent::DEFUNCT_DRIVE_FRU, drive, true);
    else if (n == DRIVE_SPARE && o == DRIVE_DEAD)
        events.raise(RaidEvent::INFORMATION_EVENT, RaidEvent::DEFUNCT_REPLACED, drive, false);
    else if (n == DRIVE_SPARE && o == DRIVE_READY)
        events.raise(RaidEvent::INFORMATION_EVENT, RaidEvent::SPARE_CREATED, drive, false);
    else if (n == DRIVE_READY && o == DRIVE_SPARE)
        events.raise(RaidEvent::INFORMATION_EVENT, RaidEvent::SPARE_DELETED, drive, false);
    else if (o == DRIVE_EMPTY) {
        events.raise(RaidEvent::INFORMATION_EVENT, RaidEvent::DRIVE_ADDED, drive, true);
        events.check(drive);
        return false;
    } else
        events.raise(RaidEvent::REFRESH_EVENT, 0, drive, false);
    return true;
}

// A drive of an unsupported vendor is reported at once when it has just
// been put in (out of an empty slot, or in place of a dead drive); otherwise
// only when the process-wide reminder is due. Empty slots are never reported.
void checkVendor(DriveEvents& events, HardDrive* drive, EnumPhysicalDeviceState n, EnumPhysicalDeviceState o)
{
    if (n == DRIVE_EMPTY || TarnellHardDrive::isVendorSupported(drive))
        return;
    const bool justPutIn =
        o == DRIVE_EMPTY || (o == DRIVE_DEAD && (n == DRIVE_REBUILDING || n == DRIVE_SPARE || n == DRIVE_READY));
    if (justPutIn || TarnellEvents::isTimeToReportUnsupportedDrives())
        events.raise(RaidEvent::WARNING_EVENT, RaidEvent::UNSUPPORTED_DRIVE, drive, true);
}

} // namespace

bool TarnellEvents::comparePhyDriveConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string&)
{
    if (oldAdapter == nullptr || newAdapter == nullptr)
        return false;

    FilterCollection current(newAdapter);
    current.apply("HardDrive", false);
    FilterCollection previous(oldAdapter);
    previous.apply("HardDrive", false);
    DriveEvents events(newAdapter->getAdapterID());

    // Drives of the current snapshot against their previous state.
    for (unsigned long i = 0; i < current.size(); ++i) {
        HardDrive* d = static_cast<HardDrive*>(current.elementAt(static_cast<int>(i)));
        const HardDrive* p = counterpartOf(d, newAdapter->getAdapterID(), oldAdapter);
        if (p == nullptr) {
            events.raise(RaidEvent::INFORMATION_EVENT, RaidEvent::DRIVE_ADDED, d, true);
            events.check(d);
            continue;
        }
        const EnumPhysicalDeviceState n = d->getState();
        const EnumPhysicalDeviceState o = p->getState();
        if (n != o) {
            events.raise(n == DRIVE_DEAD ? RaidEvent::FATAL_EVENT : RaidEvent::INFORMATION_EVENT,
                         RaidEvent::DRIVE_STATE_CHANGE, d, true);
            if (!raiseTransition(events, d, n, o))
                continue;
        }
        if (d->getPfaSupported() && p->getPfaSupported() && d->getPfaError() != p->getPfaError() &&
            d->getPfaError())
            events.raisePfa(d);
        checkVendor(events, d, n, o);
    }

    // Drives of the previous snapshot that are gone or left an empty slot.
    for (unsigned long i = 0; i < previous.size(); ++i) {
        const HardDrive* p = static_cast<const HardDrive*>(previous.elementAt(static_cast<int>(i)));
        const HardDrive* d = counterpartOf(p, oldAdapter->getAdapterID(), newAdapter);
        if (d == nullptr)
            events.raise(RaidEvent::INFORMATION_EVENT, RaidEvent::DRIVE_REMOVED, p, true);
        else if (d->getState() != p->getState() && d->getState() == DRIVE_EMPTY)
            events.raise(RaidEvent::INFORMATION_EVENT, RaidEvent::DRIVE_REMOVED, d, true);
    }
    return events.anyRaised();
}

void TarnellEvents::checkPhyDrive(TarnellAdapter* adapter, TarnellHardDrive* drive, std::string&)
{
    if (adapter == nullptr || drive == nullptr)
        return;
    DriveEvents events(adapter->getAdapterID());
    events.check(drive);
}
