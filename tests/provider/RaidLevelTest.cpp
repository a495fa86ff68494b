// The redundancy properties and element names of the RAID levels.
#include <gtest/gtest.h>

#include "RaidLevel.h"

using corvanecimple::RaidLevel;

namespace {

TEST(RaidLevel, AnswersByLevel)
{
    struct Case {
        int level;
        bool redundant; // isBasedOnUnderlyingRedundancy and isNoSinglePointOfFailure
        unsigned data, package;
        const char* name;
    } cases[] = {
        {RAID0, false, 1, 0, "RAID0"},
        {RAID1, true, 2, 1, "RAID1"},
        {RAID1E, true, 2, 1, "RAID1E"},
        {RAID3, true, 1, 1, "RAID3"},
        {RAID4, true, 1, 1, "RAID4"},
        {RAID5, true, 1, 1, "RAID5"},
        {RAID5E, true, 1, 1, "RAID5E"},
        {RAID5EE, true, 1, 1, "RAID_UNKNOWN"},
        {RAID00, true, 1, 1, "RAID00"},
        {RAID10, true, 2, 1, "RAID10"},
        {RAID1E0, true, 2, 1, "RAID1E0"},
        {RAID50, true, 1, 1, "RAID50"},
        {RAID5E0, true, 1, 1, "RAID5E0"},
        {SPANNED_VOLUME, true, 1, 1, "SPANNED_VOLUME"},
        {RAID_VOLUME, true, 1, 1, "RAID_VOLUME"},
        {SIMPLE_VOLUME, false, 1, 1, "SIMPLE_VOLUME"},
        {RAID6, true, 1, 2, "RAID_UNKNOWN"},
        {RAID60, true, 1, 2, "RAID_UNKNOWN"},
        {RAID6RS, true, 1, 2, "RAID_UNKNOWN"},
        {RAID60RS, true, 1, 2, "RAID_UNKNOWN"},
        {20, true, 1, 1, "RAID_UNKNOWN"},
        {RAID_UNKNOWN, true, 1, 1, "RAID_UNKNOWN"},
        {-1, true, 1, 1, "RAID_UNKNOWN"},
    };
    for (const Case& c : cases) {
        const EnumRaidLevel level = static_cast<EnumRaidLevel>(c.level);
        const RaidLevel r(level);
        EXPECT_EQ(c.redundant, r.isBasedOnUnderlyingRedundancy()) << c.level;
        EXPECT_EQ(c.redundant, r.isNoSinglePointOfFailure()) << c.level;
        EXPECT_EQ(c.data, r.getDataRedundancy()) << c.level;
        EXPECT_EQ(c.package, r.getPackageRedundancy()) << c.level;
        EXPECT_EQ(1u, r.getDeltaReservation()) << c.level;
        EXPECT_STREQ(c.name, RaidLevel::getElementName(level)) << c.level;
    }
}

TEST(RaidLevel, ValueSemantics)
{
    RaidLevel one(RAID1), other(RAID1), five(RAID5);
    EXPECT_TRUE(one == other);
    EXPECT_FALSE(one != other);
    EXPECT_TRUE(one != five);
    // The element name is that of the level given, not of the one stored.
    EXPECT_STREQ("RAID10", one.getElementName(RAID10));
    five = one;
    EXPECT_EQ(RAID1, five.getRaidLevel());
    five.setRaidLevel(SIMPLE_VOLUME);
    EXPECT_FALSE(five.isBasedOnUnderlyingRedundancy());
}

} // namespace
