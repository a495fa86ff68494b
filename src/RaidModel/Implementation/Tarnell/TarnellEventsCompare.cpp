// The driver of the event rules: runs every rule set on one controller's
// previous and current snapshot in a fixed order.

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"

namespace {

// The first-sight checks of a controller that no previous snapshot holds: its
// drives and top-level logical drives in tree order, then its enclosures.
void checkFirstSight(TarnellAdapter* adapter, std::string& xml)
{
    FilterCollection drives(adapter);
    drives.apply("HardDrive", false);
    for (unsigned long i = 0; i < drives.size(); ++i)
        TarnellEvents::checkPhyDrive(adapter, static_cast<TarnellHardDrive*>(drives.elementAt(static_cast<int>(i))),
                                     xml);

    FilterCollection logicalDrives(adapter);
    logicalDrives.apply("LogicalDrive", false);
    for (unsigned long i = 0; i < logicalDrives.size(); ++i) {
        RaidObject* drive = logicalDrives.elementAt(static_cast<int>(i));
        // Sub-logical drives of a spanned drive are reported through it.
        if (!TarnellEvents::isSubLogicalDrive(drive))
            TarnellEvents::checkLogicalDrive(adapter, static_cast<LogicalDrive*>(drive), xml);
    }

    TarnellEvents::checkSafte(adapter, xml);
}

} // namespace

bool TarnellEvents::compareConfigs(TarnellAdapter* oldAdapter, TarnellAdapter* newAdapter, std::string& xml)
{
    bool changed = compareAdapterConfigs(oldAdapter, newAdapter, xml);
    if (newAdapter == nullptr || newAdapter->getAdapterStatus() != CONTROLLER_STATUS_WORKING)
        return changed;

    if (oldAdapter == nullptr) {
        checkFirstSight(newAdapter, xml);
        return true;
    }

    // Every rule set runs, whatever the ones before found.
    changed = comparePhyDriveConfigs(oldAdapter, newAdapter, xml) || changed;
    changed = compareLDConfigs(oldAdapter, newAdapter, xml) || changed;
    changed = compareSafteConfigs(oldAdapter, newAdapter, xml) || changed;
    changed = compareProgress(newAdapter, xml) || changed;
    return changed;
}
