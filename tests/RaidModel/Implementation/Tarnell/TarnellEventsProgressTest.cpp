#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellEventList.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"

// The task-progress event rules, driven poll by poll through the simulated
// controller's progress record: either the tasks the simulation runs, or a
// record patched to any task, drive and status.

using namespace tarnelltest;

namespace {

const uint8_t OP_REBUILD = TASK_OPCODE_REBUILD;
const uint8_t OP_SYNC = TASK_OPCODE_SYNC;
const uint8_t OP_QUILLCOPY = TASK_OPCODE_QUILLCOPY;
const uint8_t OP_MIGRATION = TASK_OPCODE_MIGRATION;
const uint8_t RUNNING = TASK_STATUS_ACTIVE_30;

// The fields of a progress record the rules read.
struct Rec {
    uint8_t opcode;
    uint8_t sub;
    uint8_t status;
    uint8_t drive;
    uint8_t sld;
    uint8_t ldm;
};

Rec rebuild(uint8_t drive, uint8_t sld = 0) { return {OP_REBUILD, TASK_QUAL_REBUILD, RUNNING, drive, sld, 0}; }
Rec copyBack(uint8_t drive) { return {OP_REBUILD, TASK_QUAL_COPYBACK, RUNNING, drive, 0, 0}; }
Rec compaction(uint8_t drive, uint8_t sld = 0) { return {OP_REBUILD, TASK_QUAL_COMPACTION, RUNNING, drive, sld, 0}; }
Rec sync(uint8_t drive, uint8_t sld = 0) { return {OP_SYNC, 0, RUNNING, drive, sld, 0}; }
Rec quillcopy(uint8_t drive, uint8_t sld = 0) { return {OP_QUILLCOPY, 0, RUNNING, drive, sld, 0}; }
Rec migration(uint8_t drive, uint8_t option) { return {OP_MIGRATION, 0, RUNNING, drive, 0, option}; }
// The record after the last task ended with this status.
Rec ended(uint8_t opcode, uint8_t drive, uint8_t status, uint8_t sld = 0) { return {opcode, 0, status, drive, sld, 0}; }

// One poll: the record the controller shows, the events expected in order
// (type letter, code, then "ld" and the logical drive id, or "a" and the
// array id when no drive is named) and the result.
struct Poll {
    Rec rec;
    std::vector<std::string> events;
    bool result;
};

struct Case {
    const char* name;
    std::vector<Poll> polls;
};

std::string typeLetter(unsigned long type)
{
    switch (type) {
    case RaidEvent::INFORMATION_EVENT:
        return "I";
    case RaidEvent::WARNING_EVENT:
        return "W";
    case RaidEvent::FATAL_EVENT:
        return "F";
    case RaidEvent::PROGRESS_EVENT:
        return "P";
    default:
        return "?" + std::to_string(type);
    }
}

class ProgressRulesTest : public EventRulesTest {
protected:
    void SetUp() override
    {
        EventRulesTest::SetUp();
        // Drives 0-3 in array 0 and an empty array 2; no drive 4 or 5.
        ctl.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        TarnellBasicArray* a0 = ctl->array(0);
        for (int d = 0; d < 4; ++d)
            ctl->drive(a0, d, d, RAID5, {{0, d}});
        ctl->array(2);
        // SLD entry 2 of controller 2 is free; it is given array id 2
        // (user field 0x0040), the sub-logical drives 0 and 1 are in arrays
        // 3 and 4.
        editController([](tarnellsim::Controller& c) {
            c.sldTablePatches.push_back({2 * sizeof(_VIRT_DRV_PARMS), {0x40, 0x00}});
        });
    }
    void TearDown() override
    {
        ctl.reset();
        EventRulesTest::TearDown();
    }

    template <class F>
    void editController(F edit, int capiNumber = CONTROLLER_A)
    {
        tarnellsim::Scenario sc = tarnellsim::current();
        for (tarnellsim::Controller& c : sc.controllers)
            if (c.number == capiNumber)
                edit(c);
        tarnellsim::reset(sc);
    }

    void show(const Rec& rec, int capiNumber = CONTROLLER_A)
    {
        editController(
            [&](tarnellsim::Controller& c) {
            c.progressPatches = {{offsetof(_REBUILD_STATUS, ucOpcode), {rec.opcode, rec.drive}},
                                 {offsetof(_REBUILD_STATUS, ucStatus), {rec.status, rec.ldm, rec.sld}},
                                 {offsetof(_REBUILD_STATUS, ucSubOpcodeQualifier), {rec.sub}}};
            },
            capiNumber);
    }

    // Runs the rules once on the adapter (by default controller 2's); the
    // events they raised go to raised.
    bool poll(TarnellAdapter* adapter = nullptr)
    {
        if (adapter == nullptr)
            adapter = ctl->adapter;
        const uint32_t since = TarnellEvents::lastEventNumber() + 1;
        std::string unused;
        const bool result = TarnellEvents::compareProgress(adapter, unused);
        raised = ringEvents(since);
        for (const ListedEvent& e : raised)
            EXPECT_EQ(adapter->getAdapterID(), e.adapterID);
        return result;
    }

    // The raised events in the short form of Poll.
    std::vector<std::string> shortForm() const
    {
        std::vector<std::string> out;
        for (const ListedEvent& e : raised) {
            std::string text = typeLetter(e.type) + std::to_string(e.code);
            if (e.logicalDriveID != RaidEvent::ID_NOT_SET)
                text += " ld" + std::to_string(e.logicalDriveID);
            else
                text += " a" + std::to_string(e.arrayID);
            out.push_back(text);
        }
        return out;
    }

    void run(const Case& c)
    {
        SCOPED_TRACE(c.name);
        TarnellEvents::resetForTest();
        for (size_t i = 0; i < c.polls.size(); ++i) {
            const Poll& p = c.polls[i];
            show(p.rec);
            EXPECT_EQ(p.result, poll()) << "poll " << i + 1;
            EXPECT_EQ(p.events, shortForm()) << "poll " << i + 1;
        }
    }

    EVT_ADAPTER_STATUS& state() { return TarnellEvents::getAdapterStatus(ctl->adapter->getAdapterID()); }

    std::unique_ptr<SimController> ctl;
    std::vector<ListedEvent> raised;
};

// A task appears, stays and ends, for each kind on a logical drive and on a
// sub-logical drive (named by its array, id 2 from the SLD table).
TEST_F(ProgressRulesTest, TaskAppearsStaysAndEnds)
{
    const Case cases[] = {
        {"rebuild",
         {{rebuild(2), {"P304 ld2", "W399 ld2"}, true},
          {rebuild(2), {}, false},
          {ended(OP_REBUILD, 2, 0x00), {"P305 ld2"}, true},
          {ended(OP_REBUILD, 2, 0x00), {}, false}}},
        {"rebuild of a sub-logical drive",
         {{rebuild(2, 1), {"I398 a2", "P322 a2"}, true},
          {rebuild(2, 1), {}, false},
          {ended(OP_REBUILD, 2, 0x00, 1), {"I398 a2", "P323 a2"}, true}}},
        {"failed rebuild of a sub-logical drive",
         {{rebuild(2, 1), {"I398 a2", "P322 a2"}, true},
          {ended(OP_REBUILD, 2, 0x31, 1), {"F398 a2", "F324 a2"}, true}}},
        {"copy-back", {{copyBack(1), {"P339 ld1"}, true}, {ended(OP_REBUILD, 1, 0x00), {"P340 ld1"}, true}}},
        {"compaction names a drive even on a sub-logical drive",
         {{compaction(1, 1), {"P332 ld1"}, true}, {ended(OP_REBUILD, 2, 0x00, 1), {"P333 a2"}, true}}},
        {"expansion",
         {{{OP_REBUILD, TASK_QUAL_EXPANSION, 0x33, 3, 0, 0}, {"P335 ld3"}, true},
          {ended(OP_REBUILD, 3, 0x08), {"F337 ld3"}, true}}},
        {"synchronisation of a sub-logical drive",
         {{sync(2, 1), {"P325 a2"}, true},
          {sync(2, 1), {}, false},
          {ended(OP_SYNC, 2, 0x00, 1), {"P326 a2"}, true}}},
        {"Quillcopy",
         {{quillcopy(1), {"P319 ld1"}, true},
          {quillcopy(1), {}, false},
          {ended(OP_QUILLCOPY, 1, 0x00), {"P320 ld1"}, true}}},
        {"compression",
         {{migration(0, 1), {"P313 ld0"}, true},
          {migration(0, 1), {}, false},
          {ended(OP_MIGRATION, 0, 0x43), {"P314 ld0"}, true}}},
        {"decompression",
         {{migration(1, 2), {"P316 ld1"}, true}, {ended(OP_MIGRATION, 1, 0x31), {"F318 ld1"}, true}}},
        {"other opcodes and qualifiers start nothing",
         {{{0x99, 0, RUNNING, 1, 0, 0}, {}, false},
          {{OP_REBUILD, 4, RUNNING, 1, 0, 0}, {}, false},
          {ended(OP_REBUILD, 1, 0x00), {}, false}}},
    };
    for (const Case& c : cases)
        run(c);
}

// Status 0x00 ends every task well; 0x43 only the rebuild family and
// migrations; any other status is a failure.
TEST_F(ProgressRulesTest, EndingStatusDecidesCompleteOrFailed)
{
    struct Ending {
        Rec start;
        uint8_t status;
        const char* event;
    };
    const Ending endings[] = {
        {rebuild(2), 0x00, "P305 ld2"},      {rebuild(2), 0x43, "P305 ld2"},
        {rebuild(2), 0x31, "F306 ld2"},      {copyBack(2), 0x43, "P340 ld2"},
        {sync(2), 0x00, "P308 ld2"},         {sync(2), 0x43, "F309 ld2"},
        {quillcopy(2), 0x00, "P320 ld2"},    {quillcopy(2), 0x43, "F321 ld2"},
        {migration(2, 1), 0x43, "P314 ld2"}, {migration(2, 2), 0x43, "P317 ld2"},
        {migration(2, 2), 0xFF, "F318 ld2"},
    };
    for (const Ending& e : endings) {
        SCOPED_TRACE("opcode " + std::to_string(e.start.opcode) + " status " + std::to_string(e.status));
        TarnellEvents::resetForTest();
        show(e.start);
        ASSERT_TRUE(poll());
        show(ended(e.start.opcode, 2, e.status));
        EXPECT_TRUE(poll());
        EXPECT_EQ(std::vector<std::string>{e.event}, shortForm());
    }
}

// A rebuild that ends resets the shared remembered numbers.
TEST_F(ProgressRulesTest, EndedRebuildForgetsItsDrive)
{
    show(rebuild(2));
    poll();
    EXPECT_TRUE(state().rebuildStatus);
    EXPECT_EQ(2, state().virtDriveNumber);
    EXPECT_EQ(0, state().sldVirtDriveNumber);
    show(ended(OP_REBUILD, 2, 0x00));
    poll();
    EXPECT_FALSE(state().rebuildStatus);
    EXPECT_EQ(0x7FFFFFFF, state().virtDriveNumber);
    EXPECT_EQ(0x7FFFFFFF, state().sldVirtDriveNumber);
}

// Tasks that move on to another drive, or give way to another kind.
TEST_F(ProgressRulesTest, TaskMovingToAnotherDrive)
{
    const Case cases[] = {
        {"rebuild moves: complete and detected in one poll",
         {{rebuild(1), {"P304 ld1", "W399 ld1"}, true},
          {rebuild(3), {"P305 ld1", "P304 ld3", "W399 ld3"}, true},
          {rebuild(3), {}, false}}},
        {"rebuild moves from a sub-logical drive to a logical drive with the same number",
         {{rebuild(2, 1), {"I398 a2", "P322 a2"}, true},
          {rebuild(2), {"I398 a2", "P323 a2", "P304 ld2", "W399 ld2"}, true}}},
        {"synchronisation moves from an existing drive",
         {{sync(1), {"P307 ld1"}, true}, {sync(2), {"P308 ld1", "P307 ld2"}, true}}},
        {"synchronisation whose first drive was deleted",
         {{sync(5), {"P307 ld5"}, true}, {sync(1), {"P307 ld1"}, true}, {sync(1), {}, false}}},
        {"synchronisation of a sub-logical drive whose array still exists",
         {{sync(2, 1), {"P325 a2"}, true}, {sync(3), {"P326 a2", "P307 ld3"}, true}}},
        {"synchronisation of a sub-logical drive whose array has gone",
         {{sync(1, 1), {"P325 a4"}, true}, {sync(3), {"P307 ld3"}, true}}},
        {"Quillcopy moves: complete now, detected with the next poll",
         {{quillcopy(1), {"P319 ld1"}, true},
          {quillcopy(4), {"P320 ld1"}, true},
          {quillcopy(4), {"P319 ld4"}, true},
          {quillcopy(4), {}, false}}},
        {"compaction while a rebuild is remembered",
         {{rebuild(2), {"P304 ld2", "W399 ld2"}, true},
          {compaction(3), {}, false},
          {compaction(2), {}, false},
          {ended(OP_REBUILD, 2, 0x00), {"P305 ld2"}, true},
          {compaction(3), {"P332 ld3"}, true}}},
        {"a compaction blocks a rebuild on its drive number",
         {{compaction(2), {"P332 ld2"}, true},
          {rebuild(2), {}, false},
          {ended(OP_REBUILD, 2, 0x00), {"P333 ld2"}, true}}},
        // The remembered task of the other kind has made way: it completes,
        // the new one is tracked, and neither repeats.
        {"copy-back remembered, rebuild on another drive",
         {{copyBack(1), {"P339 ld1"}, true},
          {rebuild(3), {"P340 ld1", "P304 ld3", "W399 ld3"}, true},
          {rebuild(3), {}, false},
          {ended(OP_REBUILD, 3, 0x00), {"P305 ld3"}, true}}},
        {"expansion remembered, copy-back on another drive",
         {{{OP_REBUILD, TASK_QUAL_EXPANSION, RUNNING, 0, 0, 0}, {"P335 ld0"}, true},
          {copyBack(2), {"P336 ld0", "P339 ld2"}, true},
          {copyBack(2), {}, false}}},
        {"rebuild remembered on a sub-logical drive, copy-back on another drive",
         {{rebuild(2, 1), {"I398 a2", "P322 a2"}, true},
          {copyBack(1), {"I398 a2", "P323 a2", "P339 ld1"}, true},
          {copyBack(1), {}, false}}},
    };
    for (const Case& c : cases)
        run(c);
}

// A compression followed by a plain migration: the compression completes,
// and the migration is detected only once a drive is in state SYSTEM.
TEST_F(ProgressRulesTest, PlainMigrationNeedsASystemDrive)
{
    run({"compression, then a plain migration without a system drive",
         {{migration(0, 1), {"P313 ld0"}, true}, {migration(0, 0), {"P314 ld0"}, true}, {migration(0, 0), {}, false}}});
    EXPECT_FALSE(state().migrationStatus);
    EXPECT_EQ(0x7FFFFFFF, state().virtDriveNumber);
    EXPECT_EQ(0x7FFFFFFF, state().migrationMode);

    // The controller's temporary drive appears.
    TarnellBasicArray* a5 = ctl->array(5);
    a5->addChild(new TarnellBasicLogicalDrive(ctl->adapter, a5, 4, 4, SYSTEM, RAID0, 1000, 0, false,
                                              LD_CACHE_DISABLED, true, false, false, RAID5EE_UNKNOWN));
    show(migration(0, 0));
    EXPECT_TRUE(poll());
    EXPECT_EQ(std::vector<std::string>{"P310 ld0"}, shortForm());
    EXPECT_TRUE(state().migrationStatus);
    EXPECT_EQ(0, state().migrationMode);
    show(migration(0, 5));
    EXPECT_TRUE(poll()) << "another plain option: detected anew, the old one ends silently";
    EXPECT_EQ(std::vector<std::string>{"P310 ld0"}, shortForm());
    show(migration(1, 5));
    EXPECT_TRUE(poll());
    EXPECT_EQ((std::vector<std::string>{"P311 ld0", "P310 ld1"}), shortForm());
    show(ended(OP_MIGRATION, 1, 0x00));
    EXPECT_TRUE(poll());
    EXPECT_EQ(std::vector<std::string>{"P311 ld1"}, shortForm());
}

// Array ids are read from the SLD table only at indexes it holds. A number
// outside it names no array: the events are still raised, with the adapter
// id and no array or drive id.
TEST_F(ProgressRulesTest, SubLogicalDriveOutsideTheTableNamesNoArray)
{
    // The table holds one entry (208 bytes): index 1 lies beyond it.
    editController([](tarnellsim::Controller& c) { c.sldTableLength = 208; });
    run({"record beyond the table",
         {{rebuild(1, 1), {"I398 a0", "P322 a0"}, true},
          {rebuild(1, 1), {}, false},
          {ended(OP_REBUILD, 1, 0x00, 1), {"I398 a0", "P323 a0"}, true}}});
    run({"record inside the table", {{rebuild(0, 1), {"I398 a3", "P322 a3"}, true}}});

    // A plain migration without a system drive resets the shared number
    // while a rebuild of a sub-logical drive is still remembered.
    run({"reset remembered number",
         {{rebuild(0, 1), {"I398 a3", "P322 a3"}, true},
          {migration(0, 0), {}, false},
          {rebuild(3), {"I398 a0", "P323 a0", "P304 ld3", "W399 ld3"}, true}}});

    // A rebuild and a Quillcopy end in the same poll: the rebuild's end
    // resets the shared number first, so the Quillcopy names number 255.
    run({"Quillcopy ending after the number was reset, as a drive",
         {{rebuild(2), {"P304 ld2", "W399 ld2"}, true},
          {quillcopy(0), {"P319 ld0"}, true},
          {ended(OP_REBUILD, 0, 0x00), {"P305 ld0", "P320 ld255"}, true}}});
    run({"the same with a sub-logical drive",
         {{rebuild(2), {"P304 ld2", "W399 ld2"}, true},
          {quillcopy(0, 1), {"P328 a3"}, true},
          {ended(OP_REBUILD, 0, 0x00, 1), {"I398 a3", "P323 a3", "P329 a0"}, true}}});
}

TEST_F(ProgressRulesTest, UnreadableProgressIsAPollingFailure)
{
    show(rebuild(2));
    ASSERT_TRUE(poll());
    const EVT_ADAPTER_STATUS before = state();
    const _REBUILD_STATUS saved = *TarnellEvents::getSavedProgress(ctl->adapter->getAdapterID());

    tarnellsim::injectFailure("CheckProgress", tarnellsim::RC_BUSY);
    EXPECT_TRUE(poll());
    ASSERT_EQ(std::vector<std::string>{"W205 a0"}, shortForm());
    EXPECT_EQ("", raised[0].fru);
    EXPECT_EQ(0, std::memcmp(&before, &state(), sizeof before));
    EXPECT_EQ(0, std::memcmp(&saved, TarnellEvents::getSavedProgress(ctl->adapter->getAdapterID()), sizeof saved));

    // With product data the event carries the card's FRU number.
    char bios[] = "B", firmware[] = "F", driver[] = "D";
    _ADAPTER_FEATURES levels;
    std::memset(&levels, 0, sizeof levels);
    TarnellAdapter withVpd(TARNELL_C0, TarnellAdapter::getUniqueID(CONTROLLER_B), CONTROLLER_B,
                           CONTROLLER_STATUS_WORKING, bios, firmware, driver, 6, false, 0, 0, true, false, 64,
                           "RebuildRateHigh", true, true, false, true, false, false, false, 0, 0,
                           new AdapterVPDInfo{"13N2197", "13N2198", "SN1", "PN1"}, nullptr, "", "", "", "", 8,
                           8, 4, 2, 16, 16, 16, 0, 8, 2, levels, nullptr);
    tarnellsim::injectFailure("CheckProgress", tarnellsim::RC_BUSY, CONTROLLER_B);
    const uint32_t since = TarnellEvents::lastEventNumber() + 1;
    std::string unused;
    EXPECT_TRUE(TarnellEvents::compareProgress(&withVpd, unused));
    const std::vector<ListedEvent> events = ringEvents(since);
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(205u, events[0].code);
    EXPECT_EQ("13N2197", events[0].fru);
    EXPECT_EQ(withVpd.getAdapterID(), events[0].adapterID);

    std::string unusedToo;
    EXPECT_FALSE(TarnellEvents::compareProgress(nullptr, unusedToo));
}

// Without an SLD table no rule runs and the remembered state stays; the
// record read is saved all the same.
TEST_F(ProgressRulesTest, WithoutAnSldTableNothingChanges)
{
    show(rebuild(2));
    ASSERT_TRUE(poll());
    editController([](tarnellsim::Controller& c) { c.sldTableLength = 100; });
    show(ended(OP_REBUILD, 2, 0x00));
    EXPECT_FALSE(poll());
    EXPECT_TRUE(raised.empty());
    EXPECT_EQ(nullptr, ctl->adapter->getSLDTable());
    EXPECT_TRUE(state().rebuildStatus);
    EXPECT_EQ(2, state().virtDriveNumber);
    const _REBUILD_STATUS* saved = TarnellEvents::getSavedProgress(ctl->adapter->getAdapterID());
    ASSERT_NE(nullptr, saved);
    EXPECT_EQ(OP_REBUILD, saved->ucOpcode);
    EXPECT_EQ(0x00, saved->ucStatus);

    // With the table back, the end is reported.
    editController([](tarnellsim::Controller& c) { c.sldTableLength = -1; });
    EXPECT_TRUE(poll());
    EXPECT_EQ(std::vector<std::string>{"P305 ld2"}, shortForm());
}

// A remembered rebuild-family kind the rules do not know ends without an
// event, and the call still reports a change.
TEST_F(ProgressRulesTest, UnknownRememberedRebuildKindEndsSilently)
{
    state().rebuildStatus = true;
    state().rebuildMode = 7;
    state().virtDriveNumber = 1;
    show(ended(OP_REBUILD, 1, 0x00));
    EXPECT_TRUE(poll());
    EXPECT_TRUE(raised.empty());
    EXPECT_FALSE(state().rebuildStatus);
    EXPECT_EQ(0x7FFFFFFF, state().virtDriveNumber);
}

// A controller from model id 16 on keeps its task state like the others: its
// rebuild is detected once and completes, and its record is no concern of
// controller 2's.
TEST_F(ProgressRulesTest, ControllerFromModelIdSixteenOnGetsItsTaskEvents)
{
    for (int n = 100; n < 116; ++n)
        TarnellAdapter::getUniqueID(n);
    SimController seventeenth(CONTROLLER_B, TARNELL_C0);
    ASSERT_LE(16u, seventeenth.adapter->getAdapterID());
    show(rebuild(2), CONTROLLER_B);
    EXPECT_TRUE(poll(seventeenth.adapter));
    EXPECT_EQ((std::vector<std::string>{"P304 ld2", "W399 ld2"}), shortForm());
    EXPECT_FALSE(poll(seventeenth.adapter));
    EXPECT_TRUE(raised.empty());
    EXPECT_FALSE(state().rebuildStatus);

    show(ended(OP_REBUILD, 2, 0x00), CONTROLLER_B);
    EXPECT_TRUE(poll(seventeenth.adapter));
    EXPECT_EQ(std::vector<std::string>{"P305 ld2"}, shortForm());
}

// The simulation's own rebuild of drive 3 on controller 2: detected once,
// then complete when the clock has run it to its end.
TEST_F(ProgressRulesTest, SimulatedRebuildIsDetectedAndCompletes)
{
    EXPECT_TRUE(poll());
    EXPECT_EQ((std::vector<std::string>{"P304 ld3", "W399 ld3"}), shortForm());
    tarnellsim::advanceClock(10);
    EXPECT_FALSE(poll());
    EXPECT_TRUE(raised.empty());
    tarnellsim::advanceClock(100000);
    EXPECT_TRUE(poll());
    EXPECT_EQ(std::vector<std::string>{"P305 ld3"}, shortForm());
    EXPECT_FALSE(poll());
}

} // namespace
