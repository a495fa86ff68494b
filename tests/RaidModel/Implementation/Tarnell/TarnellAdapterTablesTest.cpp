#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"

// What the Tarnell drive and array requests use of their adapter: the RAID
// code table, giving a logical-drive id back and re-reading the controller's
// logical-drive tables.

using namespace tarnelltest;

TEST(TarnellAdapterRaidCodes, BothDirectionsOfTheTable)
{
    const struct {
        int value;
        bool toController;
        int expected;
    } cases[] = {
        {RAID0, true, 0},    {RAID1E, true, 11},  {RAID5E, true, 94},          {RAID5EE, true, 52},
        {RAID60, true, 160}, {18, true, 0x7FFFFFFF}, {-1, true, 0x7FFFFFFF},   {94, false, RAID5E},
        {6, false, RAID6},   {2, false, 0x7FFFFFFF}, {-1, false, 0x7FFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + (c.toController ? " to controller" : " to model"));
        EXPECT_EQ(c.expected, TarnellAdapter::getOtherRaidDef(c.value, c.toController));
    }
}

TEST(TarnellAdapterIds, GivingAnIdBackClearsOnlyInsideTheMarks)
{
    TarnellAdapter adapter;
    for (int i = 0; i < TarnellAdapter::NUM_HLD_IDS; ++i)
        adapter.getHLDdllIDs()[i] = 1;
    for (int i = 0; i < TarnellAdapter::NUM_SLD_IDS; ++i)
        adapter.getSLDdllIDs()[i] = 1;

    EXPECT_EQ(Ret::SUCCESS, adapter.deleteLDidEntry(2, 0, 0, false).getReturn());
    EXPECT_EQ(0, adapter.getHLDdllIDs()[2]);
    EXPECT_EQ(Ret::SUCCESS, adapter.deleteLDidEntry(1, 2, 4, true).getReturn());
    EXPECT_EQ(0, adapter.getSLDdllIDs()[6]);

    const struct {
        int hld, sld, segments;
        bool isSLD;
    } outside[] = {{9, 0, 0, false}, {-1, 0, 0, false}, {16, 0, 4, true}, {0, -1, 4, true},
                   {INT_MAX, 1, INT_MAX, true}};
    for (const auto& c : outside)
        EXPECT_EQ(Ret::BAD_PARAM, adapter.deleteLDidEntry(c.hld, c.sld, c.segments, c.isSLD).getReturn());
    int cleared = 0;
    for (int i = 0; i < TarnellAdapter::NUM_HLD_IDS; ++i)
        cleared += adapter.getHLDdllIDs()[i] == 0 ? 1 : 0;
    for (int i = 0; i < TarnellAdapter::NUM_SLD_IDS; ++i)
        cleared += adapter.getSLDdllIDs()[i] == 0 ? 1 : 0;
    EXPECT_EQ(2, cleared);
}

namespace {
class TarnellAdapterTablesTest : public SimTest {};
} // namespace

TEST_F(TarnellAdapterTablesTest, TablesAreReadAgainSldFirst)
{
    SimController ctl(CONTROLLER_A, TARNELL_B2);
    EXPECT_EQ(Ret::BAD_PARAM, TarnellAdapter::updateTables(nullptr, true, true).getReturn());
    EXPECT_EQ(Ret::SUCCESS, TarnellAdapter::updateTables(ctl.adapter, false, false).getReturn());
    EXPECT_TRUE(tarnellsim::calls().empty());

    EXPECT_EQ(Ret::SUCCESS, TarnellAdapter::updateTables(ctl.adapter, true, true).getReturn());
    const auto sent = callsOf("GetVirtDevLdTable");
    ASSERT_EQ(4u, sent.size());
    EXPECT_EQ(2, sent[0].args.back()) << "the SLD table first";
    EXPECT_EQ(1, sent[3].args.back());
    EXPECT_EQ(4 + 8 * static_cast<int>(sizeof(_VIRT_DRV_PARMS)), ctl.adapter->getSLDTableSize());
    EXPECT_EQ(4 + 8 * static_cast<int>(sizeof(_VIRT_DRV_PARMS)), ctl.adapter->getHLDTableSize());
    EXPECT_EQ(4u, (ctl.adapter->getSLDTable()[1].usUserField >> 5) & 7u) << "SLD 1 lies in array 4";

    // A failed length query keeps the table and stops before the HLD table.
    tarnellsim::clearCalls();
    tarnellsim::injectFailure("GetVirtDevLdTable", tarnellsim::RC_BUSY);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, TarnellAdapter::updateTables(ctl.adapter, true, true).getReturn());
    EXPECT_EQ(1u, callsOf("GetVirtDevLdTable").size());
    EXPECT_NE(nullptr, ctl.adapter->getSLDTable());
    EXPECT_NE(std::string::npos, familyLog().find("<Warning> Retrieving adapter sld table entries count failed\n"));

    // Without controller access nothing can be read.
    stdoutOf([&] {
        withoutControllerAccess();
        EXPECT_EQ(Ret::CONTROLLER_FAILED, TarnellAdapter::updateTables(ctl.adapter, true, true).getReturn());
    });
}

TEST_F(TarnellAdapterTablesTest, ReportedLengthsAreBoundedAndShortTablesDropped)
{
    SimController ctl(CONTROLLER_A, TARNELL_B2);
    ASSERT_EQ(Ret::SUCCESS, TarnellAdapter::updateTables(ctl.adapter, true, true).getReturn());
    ASSERT_NE(nullptr, ctl.adapter->getSLDTable());

    const int64_t maxBytes = 256 * static_cast<int64_t>(sizeof(_VIRT_DRV_PARMS));
    const struct {
        int64_t reported;
        int kept;   // the table length afterwards; 0: no table
    } cases[] = {{207, 0}, {208, 208}, {maxBytes, static_cast<int>(maxBytes)},
                 {maxBytes + 1, static_cast<int>(maxBytes)}, {0xFFFFFFF0LL, static_cast<int>(maxBytes)}};
    for (const auto& c : cases) {
        tarnellsim::Scenario s = tarnellsim::current();
        for (auto& controller : s.controllers)
            if (controller.number == CONTROLLER_A)
                controller.sldTableLength = c.reported;
        tarnellsim::reset(s);
        EXPECT_EQ(Ret::SUCCESS, TarnellAdapter::updateTables(ctl.adapter, true, false).getReturn()) << c.reported;
        EXPECT_EQ(c.kept, ctl.adapter->getSLDTableSize()) << c.reported;
        EXPECT_EQ(c.kept == 0, ctl.adapter->getSLDTable() == nullptr) << c.reported;
    }
}
