#include <gtest/gtest.h>

#include "RaidLib/Util/SectorCollection.h"

TEST(SectorCollection, OrderedCopiesAndEquality)
{
    SectorCollection a;
    SectorRange first(1, 0x10, 0x2, 64);
    a.addSectorRange(first);
    a.addSectorRange(SectorRange(1, 0x80, 0, 8));
    ASSERT_EQ(a.getSectorRangeCount(), 2u);
    EXPECT_EQ(a.getSectorRange(0), first);
    EXPECT_EQ(a.getSectorRange(0).getStartHigh(), 2u);
    EXPECT_EQ(a.getSectorRange(1).getCount(), 8u);
    EXPECT_EQ(a.getSectorRange(2), SectorRange()) << "beyond the count";

    SectorCollection b(a);
    EXPECT_TRUE(a == b);
    SectorCollection reversed;
    reversed.addSectorRange(a.getSectorRange(1));
    reversed.addSectorRange(a.getSectorRange(0));
    EXPECT_TRUE(a != reversed);
    b = reversed;
    EXPECT_TRUE(b == reversed);
    EXPECT_TRUE(SectorRange(1, 2, 3, 4) != SectorRange(1, 2, 3, 5));
}
