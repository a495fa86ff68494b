#ifndef SECTORRANGE_H
#define SECTORRANGE_H

#include <cstdint>

#include "RaidLib/Util/StorExport.h"

// A run of sectors on a logical drive: the first sector in two 32-bit
// halves and the number of sectors.
class STOR_EXPORT SectorRange {
public:
    SectorRange() : ulLogicalDrive(0), ulStartLow(0), ulStartHigh(0), ulCount(0) {}
    SectorRange(uint32_t logicalDrive, uint32_t startLow, uint32_t startHigh, uint32_t count)
        : ulLogicalDrive(logicalDrive), ulStartLow(startLow), ulStartHigh(startHigh), ulCount(count)
    {
    }

    bool operator==(const SectorRange& o) const
    {
        return ulLogicalDrive == o.ulLogicalDrive && ulStartLow == o.ulStartLow &&
               ulStartHigh == o.ulStartHigh && ulCount == o.ulCount;
    }
    bool operator!=(const SectorRange& o) const { return !(*this == o); }

    uint32_t getLogicalDrive() const { return ulLogicalDrive; }
    uint32_t getStartLow() const { return ulStartLow; }
    uint32_t getStartHigh() const { return ulStartHigh; }
    uint32_t getCount() const { return ulCount; }

private:
    uint32_t ulLogicalDrive;
    uint32_t ulStartLow;
    uint32_t ulStartHigh;
    uint32_t ulCount;
};

#endif
