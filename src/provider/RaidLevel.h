#ifndef RAIDLEVEL_H
#define RAIDLEVEL_H

// The redundancy properties that the CIM storage classes report for a RAID
// level, and the element name of a level.

#include "RaidModel/Interface/ModelEnums.h"

namespace corvanecimple {

class RaidLevel {
public:
    explicit RaidLevel(EnumRaidLevel level) : raidLevel(level) {}
    ~RaidLevel() {}
    RaidLevel(const RaidLevel& other) = default;
    RaidLevel& operator=(const RaidLevel& other)
    {
        raidLevel = other.raidLevel;
        return *this;
    }
    bool operator==(const RaidLevel& other) const { return raidLevel == other.raidLevel; }
    bool operator!=(const RaidLevel& other) const { return !(*this == other); }

    void setRaidLevel(EnumRaidLevel level) { raidLevel = level; }
    EnumRaidLevel getRaidLevel() const { return raidLevel; }

    // False exactly for RAID0 and SIMPLE_VOLUME (both rules are one).
    bool isBasedOnUnderlyingRedundancy() const;
    bool isNoSinglePointOfFailure() const;
    // 2 for the mirrored levels RAID1, RAID1E, RAID10 and RAID1E0, else 1.
    unsigned getDataRedundancy() const;
    // 0 for RAID0; 2 for the double-parity levels RAID6, RAID60, RAID6RS and
    // RAID60RS; 1 for every other level.
    unsigned getPackageRedundancy() const;
    // 1 whatever the level.
    unsigned getDeltaReservation() const;

    // The name of the given level (not of the stored one); "RAID_UNKNOWN"
    // for RAID5EE and every value without a name of its own.
    static const char* getElementName(EnumRaidLevel level);

private:
    EnumRaidLevel raidLevel;
};

} // namespace corvanecimple

#endif
