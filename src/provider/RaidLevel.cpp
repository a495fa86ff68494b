// Redundancy properties and names of the RAID levels.
#include "RaidLevel.h"

namespace corvanecimple {

bool RaidLevel::isBasedOnUnderlyingRedundancy() const { return raidLevel != RAID0 && raidLevel != SIMPLE_VOLUME; }

bool RaidLevel::isNoSinglePointOfFailure() const { return isBasedOnUnderlyingRedundancy(); }

unsigned RaidLevel::getDataRedundancy() const
{
    switch (raidLevel) {
    case RAID1:
    case RAID1E:
    case RAID10:
    case RAID1E0:
        return 2;
    default:
        return 1;
    }
}

unsigned RaidLevel::getPackageRedundancy() const
{
    switch (raidLevel) {
    case RAID0:
        return 0;
    case RAID6:
    case RAID60:
    case RAID6RS:
    case RAID60RS:
        return 2;
    default:
        return 1;
    }
}

unsigned RaidLevel::getDeltaReservation() const { return 1; }

const char* RaidLevel::getElementName(EnumRaidLevel level)
{
    // By value 0 to 15; RAID5EE (7) has no name of its own here.
    static const char* const names[] = {"RAID0",   "RAID1",  "RAID1E",  "RAID3",          "RAID4",
                                        "RAID5",   "RAID5E", nullptr,   "RAID00",         "RAID10",
                                        "RAID1E0", "RAID50", "RAID5E0", "SPANNED_VOLUME", "RAID_VOLUME",
                                        "SIMPLE_VOLUME"};
    const int value = static_cast<int>(level);
    if (value >= 0 && value < static_cast<int>(sizeof names / sizeof names[0]) && names[value])
        return names[value];
    return "RAID_UNKNOWN";
}

} // namespace corvanecimple
