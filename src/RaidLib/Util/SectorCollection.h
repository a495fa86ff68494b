#ifndef SECTORCOLLECTION_H
#define SECTORCOLLECTION_H

#include <cstdint>
#include <vector>

#include "RaidLib/Util/SectorRange.h"

// An ordered list of sector ranges that owns copies of what is added.
class STOR_EXPORT SectorCollection {
public:
    void addSectorRange(const SectorRange& r) { SectorVect.push_back(r); }
    uint32_t getSectorRangeCount() const { return static_cast<uint32_t>(SectorVect.size()); }
    // A copy of range i; an all-zero range when i is not below the count.
    SectorRange getSectorRange(uint32_t i) const { return i < SectorVect.size() ? SectorVect[i] : SectorRange(); }

    bool operator==(const SectorCollection& o) const { return SectorVect == o.SectorVect; }
    bool operator!=(const SectorCollection& o) const { return !(*this == o); }

private:
    std::vector<SectorRange> SectorVect;
};

#endif
