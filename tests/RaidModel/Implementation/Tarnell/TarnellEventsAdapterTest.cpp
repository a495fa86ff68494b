#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellConfig.h"
#include "RaidModel/Implementation/Tarnell/TarnellEventList.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"

// The event rules of a Tarnell controller as a whole, on hand-built
// snapshots: status transitions, the battery-backed cache, battery
// temperature, code versions and the refresh event.

using namespace tarnelltest;

namespace {

const int ADAPTER_ID = 3;
const char* const CARD_FRU = "CARD-FRU-12";
const char* const BATTERY_FRU = "BAT-FRU-34";

// What a snapshot of the controller holds, as far as the rules read it.
struct Snap {
    EnumControllerStatus status = CONTROLLER_STATUS_WORKING;
    int adapterID = ADAPTER_ID;
    bool vpd = true;
    bool cacheInstalled = true;
    int cacheError = 0;
    bool extendedBattery = true; // the firmware reports extended battery data
    bool battery = true;         // the snapshot has battery data
    int temperature = 30;
    int percentCharged = 90;
    bool hot = false;
    uint32_t versionMatching = 0;
    bool readAhead = true;
    bool adaptiveReadAhead = false;
    int stripe = 32;
    std::string rebuildRate = "RebuildRateMedium";
    bool hotSwapRebuild = true;
    bool copyBack = true;
    bool dataScrubbing = false;
    bool autoSync = true;
    bool clustering = false;
    bool limitedBIOS = false;
    bool unattended = false;
    std::string hostID = "host";
    std::string partnerID = "partner";
    std::string bbcSerial = "BBC1";
    int bbcSize = 128;
    int arrays = 1;
    int logicalDrivesPerArray = 1;
};

struct AdapterDeleter {
    void operator()(TarnellAdapter* a) const
    {
        a->deleteAllChildren();
        delete a;
    }
};
using AdapterPtr = std::unique_ptr<TarnellAdapter, AdapterDeleter>;

AdapterPtr make(const Snap& s)
{
    char bios[] = "B", firmware[] = "F", driver[] = "D";
    _ADAPTER_FEATURES levels;
    std::memset(&levels, 0, sizeof levels);
    levels.set_ulBBCacheRelLevel(s.extendedBattery ? 3 : 2);
    AdapterVPDInfo* vpd = s.vpd ? new AdapterVPDInfo{CARD_FRU, BATTERY_FRU, "SN", "PN"} : nullptr;
    ExtendedBatteryInfo* battery = nullptr;
    if (s.battery) {
        battery = new ExtendedBatteryInfo;
        battery->temperature = s.temperature;
        battery->percentCharged = s.percentCharged;
        battery->abnormalTemperature = s.hot;
    }
    AdapterPtr a(new TarnellAdapter(
        TARNELL_B2, s.adapterID, CONTROLLER_A, s.status, bios, firmware, driver, 3, s.cacheInstalled, s.bbcSize,
        s.cacheError, s.readAhead, s.adaptiveReadAhead, s.stripe, s.rebuildRate, s.hotSwapRebuild, s.copyBack,
        s.dataScrubbing, s.autoSync, s.clustering, s.limitedBIOS, s.unattended, 0, s.versionMatching, vpd, battery,
        s.hostID, s.partnerID, s.bbcSerial, s.bbcSerial, 8, 8, 4, 3, 16, 16, 16, 0, 8, 2, levels, nullptr));
    TarnellConfig* config = new TarnellConfig(0);
    a->addChild(config);
    int ld = 0;
    for (int i = 0; i < s.arrays; ++i) {
        TarnellBasicArray* array = new TarnellBasicArray(a.get(), i, 0, 0);
        config->addChild(array);
        for (int j = 0; j < s.logicalDrivesPerArray; ++j, ++ld)
            array->addChild(new TarnellBasicLogicalDrive(a.get(), array, ld, ld, OKAY, RAID5, 1000, 0, false,
                                                         LD_CACHE_DISABLED, true, false, false, RAID5EE_UNKNOWN));
    }
    return a;
}

Snap withStatus(EnumControllerStatus status)
{
    Snap s;
    s.status = status;
    return s;
}

// Type and code of each event, the shape the tables expect.
using Codes = std::vector<std::pair<unsigned, unsigned>>;

class TarnellAdapterEventsTest : public EventRulesTest {
protected:
    // The events added since the last call.
    std::vector<ListedEvent> newEvents()
    {
        const uint32_t last = TarnellEvents::lastEventNumber();
        if (last == seen)
            return {};
        std::vector<ListedEvent> events = ringEvents(seen + 1);
        seen = last;
        return events;
    }

    static Codes typesAndCodes(const std::vector<ListedEvent>& events)
    {
        Codes codes;
        for (const ListedEvent& e : events)
            codes.emplace_back(e.type, e.code);
        return codes;
    }

    // Compares the snapshots (either may be null) and returns the result.
    static bool compare(TarnellAdapter* previous, TarnellAdapter* current)
    {
        std::string xml = "untouched";
        const bool changed = TarnellEvents::compareAdapterConfigs(previous, current, xml);
        EXPECT_EQ("untouched", xml);
        return changed;
    }

    static int& remembered(int id = ADAPTER_ID) { return TarnellEvents::getAdapterStatus(id).adapterStatus; }

    uint32_t seen = 0;
};

// ------------------------------------------------------------ status table

// One comparison from a remembered status S: the previous snapshot (absent,
// or of a status), the current one (absent, or of a status).
TEST_F(TarnellAdapterEventsTest, StatusTransitionTable)
{
    const int NONE = -1;
    struct Row {
        const char* name;
        int previous; // status of the previous snapshot, NONE: absent
        int s;        // remembered status before
        int current;  // status of the current snapshot, NONE: absent
        Codes events;
        bool changed;
        int sAfter;
    };
    const Row rows[] = {
        {"first working", NONE, CONTROLLER_STATUS_FAILED, CONTROLLER_STATUS_WORKING,
         {{INFO, RaidEvent::CONTROLLER_ADDED}}, true, 0},
        {"first failed", NONE, 0, CONTROLLER_STATUS_FAILED,
         {{FATAL, RaidEvent::CONTROLLER_STATE_CHANGE}, {FATAL, RaidEvent::CONTROLLER_FAIL}}, true, 1},
        {"first invalid config", NONE, 0, CONTROLLER_STATUS_INVALID_CONFIG,
         {{FATAL, RaidEvent::CONTROLLER_STATE_CHANGE}, {FATAL, RaidEvent::CONTROLLER_FAIL}}, true, 4},
        {"first passive", NONE, 0, CONTROLLER_STATUS_PASSIVE,
         {{INFO, RaidEvent::CONTROLLER_STATE_CHANGE}, {INFO, RaidEvent::CONTROLLER_ADDED}}, true, 0},
        {"working stays working", 0, 0, 0, {}, false, 0},
        {"working to failed", 0, 0, CONTROLLER_STATUS_FAILED,
         {{FATAL, RaidEvent::CONTROLLER_STATE_CHANGE}, {FATAL, RaidEvent::CONTROLLER_FAIL}}, true, 1},
        {"working to invalid config", 0, 0, CONTROLLER_STATUS_INVALID_CONFIG,
         {{FATAL, RaidEvent::CONTROLLER_STATE_CHANGE}, {FATAL, RaidEvent::CONTROLLER_FAIL}}, true, 4},
        {"failed stays failed", 1, 1, CONTROLLER_STATUS_FAILED, {}, false, 1},
        {"failed to invalid config", 1, 1, CONTROLLER_STATUS_INVALID_CONFIG,
         {{FATAL, RaidEvent::CONTROLLER_STATE_CHANGE}}, false, 1},
        {"failed to working", 1, 1, CONTROLLER_STATUS_WORKING,
         {{INFO, RaidEvent::CONTROLLER_STATE_CHANGE}, {INFO, RaidEvent::CONTROLLER_REPLACED}}, true, 0},
        {"failed to passive", 1, 1, CONTROLLER_STATUS_PASSIVE,
         {{INFO, RaidEvent::CONTROLLER_STATE_CHANGE}, {INFO, RaidEvent::CONTROLLER_REPLACED}}, true, 0},
        {"invalid config to working", 4, 4, CONTROLLER_STATUS_WORKING,
         {{INFO, RaidEvent::CONTROLLER_STATE_CHANGE}}, false, 4},
        {"working to passive", 0, 0, CONTROLLER_STATUS_PASSIVE, {{INFO, RaidEvent::CONTROLLER_STATE_CHANGE}}, false,
         0},
        {"passive stays passive", 2, 0, CONTROLLER_STATUS_PASSIVE, {{INFO, RaidEvent::CONTROLLER_STATE_CHANGE}},
         false, 0},
        {"working gone", 0, 0, NONE, {{FATAL, RaidEvent::CONTROLLER_FAIL}}, true, 0},
        {"failed gone", 1, 1, NONE, {}, false, 1},
        {"passive gone", 2, 0, NONE, {}, false, 0},
        {"nothing at all", NONE, 4, NONE, {}, false, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TarnellEvents::resetForTest();
        seen = 0;
        remembered() = row.s;
        AdapterPtr previous = row.previous == NONE ? nullptr : make(withStatus(EnumControllerStatus(row.previous)));
        AdapterPtr current = row.current == NONE ? nullptr : make(withStatus(EnumControllerStatus(row.current)));
        EXPECT_EQ(row.changed, compare(previous.get(), current.get()));
        const std::vector<ListedEvent> events = newEvents();
        EXPECT_EQ(row.events, typesAndCodes(events));
        EXPECT_EQ(row.sAfter, remembered());
        // Every status event names the controller and carries the card FRU.
        for (const ListedEvent& e : events) {
            EXPECT_EQ(static_cast<uint32_t>(ADAPTER_ID), e.adapterID);
            EXPECT_EQ(CARD_FRU, e.fru);
            EXPECT_EQ(RaidEvent::ID_NOT_SET, e.logicalDriveID);
            EXPECT_EQ(0u, e.errorCode);
        }
    }
}

// A failure is reported once; the controller working again counts as
// replaced and gets the first-sight rules.
TEST_F(TarnellAdapterEventsTest, FailureIsReportedOnceAndRecoveryIsAReplacement)
{
    Snap working;
    working.versionMatching = 1;
    working.cacheInstalled = false;
    working.cacheError = 30;
    Snap failed = working;
    failed.status = CONTROLLER_STATUS_FAILED;
    AdapterPtr w1 = make(working), f1 = make(failed), f2 = make(failed), w2 = make(working);

    EXPECT_TRUE(compare(nullptr, w1.get()));
    EXPECT_EQ((Codes{{INFO, RaidEvent::CONTROLLER_ADDED},
                     {FATAL, RaidEvent::DEAD_BATTERY},
                     {WARN, RaidEvent::MISMATCHED_VERSIONS}}),
              typesAndCodes(newEvents()));

    EXPECT_TRUE(compare(w1.get(), f1.get()));
    EXPECT_EQ((Codes{{FATAL, RaidEvent::CONTROLLER_STATE_CHANGE}, {FATAL, RaidEvent::CONTROLLER_FAIL}}),
              typesAndCodes(newEvents()));
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(compare(f1.get(), f2.get()));
        EXPECT_TRUE(newEvents().empty());
    }

    EXPECT_TRUE(compare(f2.get(), w2.get()));
    EXPECT_EQ((Codes{{INFO, RaidEvent::CONTROLLER_STATE_CHANGE},
                     {INFO, RaidEvent::CONTROLLER_REPLACED},
                     {FATAL, RaidEvent::DEAD_BATTERY},
                     {WARN, RaidEvent::MISMATCHED_VERSIONS}}),
              typesAndCodes(newEvents()));
    EXPECT_EQ(0, remembered());
    EXPECT_FALSE(compare(w2.get(), w1.get()));
    EXPECT_TRUE(newEvents().empty());
}

// After an invalid configuration the remembered status stays, so every
// comparison of the working controller raises the status change again; the
// comparison rules still run.
TEST_F(TarnellAdapterEventsTest, InvalidConfigThenWorkingRepeatsTheStatusChange)
{
    Snap invalid = withStatus(CONTROLLER_STATUS_INVALID_CONFIG);
    Snap working;
    Snap reconfigured;
    reconfigured.stripe = 64;
    AdapterPtr a = make(invalid), b = make(working), c = make(working), d = make(reconfigured);
    EXPECT_TRUE(compare(nullptr, a.get()));
    newEvents();
    EXPECT_FALSE(compare(a.get(), b.get()));
    EXPECT_EQ((Codes{{INFO, RaidEvent::CONTROLLER_STATE_CHANGE}}), typesAndCodes(newEvents()));
    EXPECT_FALSE(compare(b.get(), c.get()));
    EXPECT_EQ((Codes{{INFO, RaidEvent::CONTROLLER_STATE_CHANGE}}), typesAndCodes(newEvents()));
    EXPECT_TRUE(compare(c.get(), d.get()));
    EXPECT_EQ((Codes{{INFO, RaidEvent::CONTROLLER_STATE_CHANGE}, {REFRESH, 0}}), typesAndCodes(newEvents()));
    EXPECT_EQ(CONTROLLER_STATUS_INVALID_CONFIG, remembered());
}

TEST_F(TarnellAdapterEventsTest, WithoutProductDataEventsCarryNoFru)
{
    Snap s;
    s.vpd = false;
    s.cacheError = 16;
    AdapterPtr a = make(s);
    EXPECT_TRUE(compare(nullptr, a.get()));
    const std::vector<ListedEvent> events = newEvents();
    ASSERT_EQ((Codes{{INFO, RaidEvent::CONTROLLER_ADDED}, {FATAL, RaidEvent::DEAD_BATTERY}}), typesAndCodes(events));
    for (const ListedEvent& e : events)
        EXPECT_EQ("", e.fru);
}

TEST_F(TarnellAdapterEventsTest, WithoutControllerAccessNoRuleRuns)
{
    AdapterPtr working = make(Snap());
    AdapterPtr failed = make(withStatus(CONTROLLER_STATUS_FAILED));
    remembered() = 0;
    withoutControllerAccess();
    stdoutOf([&] {
        EXPECT_FALSE(compare(nullptr, working.get()));
        EXPECT_FALSE(compare(working.get(), failed.get()));
        EXPECT_FALSE(compare(working.get(), nullptr));
    });
    EXPECT_EQ(0u, TarnellEvents::lastEventNumber());
    EXPECT_EQ(0, remembered());
}

// A controller from model id 16 on is reported failed once and replaced when
// it works again, as any other, remembering its status apart from the others.
TEST_F(TarnellAdapterEventsTest, ControllerFromModelIdSixteenReportsAFailureOnce)
{
    Snap working;
    working.adapterID = 16;
    Snap failed = working;
    failed.status = CONTROLLER_STATUS_FAILED;
    AdapterPtr w1 = make(working), f1 = make(failed), f2 = make(failed), w2 = make(working);
    EXPECT_TRUE(compare(nullptr, w1.get()));
    EXPECT_TRUE(compare(w1.get(), f1.get()));
    EXPECT_EQ(CONTROLLER_STATUS_FAILED, remembered(16));
    EXPECT_EQ(CONTROLLER_STATUS_WORKING, remembered());
    EXPECT_FALSE(compare(f1.get(), f2.get()));
    EXPECT_TRUE(compare(f2.get(), w2.get()));
    const std::vector<ListedEvent> events = newEvents();
    EXPECT_EQ((Codes{{INFO, RaidEvent::CONTROLLER_ADDED},
                     {FATAL, RaidEvent::CONTROLLER_STATE_CHANGE},
                     {FATAL, RaidEvent::CONTROLLER_FAIL},
                     {INFO, RaidEvent::CONTROLLER_STATE_CHANGE},
                     {INFO, RaidEvent::CONTROLLER_REPLACED}}),
              typesAndCodes(events));
    for (const ListedEvent& e : events)
        EXPECT_EQ(16u, e.adapterID);
}

// ------------------------------------------------------------ battery cache

// The current cache state against both rule sets: on first sight, and after
// a change of the error code from another value.
TEST_F(TarnellAdapterEventsTest, BatteryCacheTable)
{
    const unsigned NO_EVENT = 0;
    struct Row {
        bool installed;
        int code;
        unsigned firstSight;
        unsigned onChange;
    };
    const Row rows[] = {
        {false, 30, RaidEvent::DEAD_BATTERY, NO_EVENT},
        {false, 16, NO_EVENT, NO_EVENT},
        {false, 1, NO_EVENT, NO_EVENT},
        {false, 0, NO_EVENT, NO_EVENT},
        {true, 0, NO_EVENT, NO_EVENT},
        {true, 4, NO_EVENT, NO_EVENT},
        {true, 5, NO_EVENT, NO_EVENT},
        {true, 16, RaidEvent::DEAD_BATTERY, RaidEvent::DEAD_BATTERY},
        {true, 26, RaidEvent::DEAD_BATTERY, RaidEvent::DEAD_BATTERY},
        {true, 27, RaidEvent::DEAD_BATTERY, RaidEvent::DEAD_BATTERY},
        {true, 28, RaidEvent::DEAD_BATTERY, RaidEvent::DEAD_BATTERY},
        {true, 30, RaidEvent::DEAD_BATTERY_CACHE, RaidEvent::DEAD_BATTERY},
        {true, 1, RaidEvent::DEAD_BATTERY_CACHE, RaidEvent::DEAD_BATTERY_CACHE},
        {true, 17, RaidEvent::DEAD_BATTERY_CACHE, RaidEvent::DEAD_BATTERY_CACHE},
        {true, -1, RaidEvent::DEAD_BATTERY_CACHE, RaidEvent::DEAD_BATTERY_CACHE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.installed ? "installed" : "not installed") + ", code " +
                     std::to_string(row.code));
        Snap s;
        s.cacheInstalled = row.installed;
        s.cacheError = row.code;
        Snap before = s;
        before.cacheError = row.code == 0 ? 16 : 0;
        AdapterPtr previous = make(before), current = make(s), again = make(s);

        TarnellEvents::resetForTest();
        seen = 0;
        EXPECT_TRUE(compare(nullptr, current.get()));
        std::vector<ListedEvent> events = newEvents();
        Codes expected{{INFO, RaidEvent::CONTROLLER_ADDED}};
        if (row.firstSight != NO_EVENT)
            expected.emplace_back(FATAL, row.firstSight);
        EXPECT_EQ(expected, typesAndCodes(events)) << "first sight";
        if (events.size() == 2) {
            EXPECT_EQ(BATTERY_FRU, events[1].fru);
        }

        EXPECT_EQ(row.onChange != NO_EVENT, compare(previous.get(), current.get()));
        events = newEvents();
        expected.clear();
        if (row.onChange != NO_EVENT)
            expected.emplace_back(FATAL, row.onChange);
        EXPECT_EQ(expected, typesAndCodes(events)) << "on change";
        if (events.size() == 1) {
            EXPECT_EQ(BATTERY_FRU, events[0].fru);
            EXPECT_EQ(static_cast<uint32_t>(ADAPTER_ID), events[0].adapterID);
        }

        // The same code again is no change.
        EXPECT_FALSE(compare(current.get(), again.get()));
        EXPECT_TRUE(newEvents().empty());
    }
}

// ------------------------------------------------------------ temperature

TEST_F(TarnellAdapterEventsTest, BatteryTemperatureTable)
{
    enum Battery { ABSENT, NORMAL, HOT };
    struct Row {
        const char* name;
        bool extended;
        Battery previous;
        Battery current;
        Codes events;
    };
    const Row rows[] = {
        {"heating up", true, NORMAL, HOT, {{WARN, RaidEvent::BATTERY_OVERTEMP}, {REFRESH, 0}}},
        {"cooling down", true, HOT, NORMAL, {{INFO, RaidEvent::BATTERY_TEMP_NORMAL}, {REFRESH, 0}}},
        {"staying hot", true, HOT, HOT, {}},
        {"heating up without extended data", false, NORMAL, HOT, {{REFRESH, 0}}},
        // Battery data appearing is a change, not a crash; the temperature
        // rules need both records.
        {"battery data appears", true, ABSENT, HOT, {{REFRESH, 0}}},
        {"battery data goes", true, HOT, ABSENT, {}},
        {"no battery data", true, ABSENT, ABSENT, {}},
    };
    auto snap = [](bool extended, Battery b) {
        Snap s;
        s.extendedBattery = extended;
        s.battery = b != ABSENT;
        s.hot = b == HOT;
        return s;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AdapterPtr previous = make(snap(row.extended, row.previous));
        AdapterPtr current = make(snap(row.extended, row.current));
        EXPECT_EQ(!row.events.empty(), compare(previous.get(), current.get()));
        const std::vector<ListedEvent> events = newEvents();
        EXPECT_EQ(row.events, typesAndCodes(events));
        for (const ListedEvent& e : events)
            EXPECT_EQ("", e.fru);
    }
}

TEST_F(TarnellAdapterEventsTest, HotBatteryOnFirstSightNeedsExtendedData)
{
    struct Row {
        bool extended;
        bool battery;
        bool hot;
        Codes events;
    };
    const Row rows[] = {
        {true, true, true, {{INFO, RaidEvent::CONTROLLER_ADDED}, {WARN, RaidEvent::BATTERY_OVERTEMP}}},
        {false, true, true, {{INFO, RaidEvent::CONTROLLER_ADDED}}},
        {true, true, false, {{INFO, RaidEvent::CONTROLLER_ADDED}}},
        {true, false, false, {{INFO, RaidEvent::CONTROLLER_ADDED}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.extended) + std::to_string(row.battery) + std::to_string(row.hot));
        Snap s;
        s.extendedBattery = row.extended;
        s.battery = row.battery;
        s.hot = row.hot;
        AdapterPtr current = make(s);
        EXPECT_TRUE(compare(nullptr, current.get()));
        EXPECT_EQ(row.events, typesAndCodes(newEvents()));
    }
}

// ------------------------------------------------------------ versions

TEST_F(TarnellAdapterEventsTest, MismatchedVersionsOnlyOnFirstSightOrReplacement)
{
    Snap matching;
    Snap mismatched;
    mismatched.versionMatching = 1;
    Snap other;
    other.versionMatching = 2;
    AdapterPtr m = make(matching), x1 = make(mismatched), x2 = make(mismatched), o = make(other);

    EXPECT_TRUE(compare(nullptr, x1.get()));
    const std::vector<ListedEvent> events = newEvents();
    ASSERT_EQ((Codes{{INFO, RaidEvent::CONTROLLER_ADDED}, {WARN, RaidEvent::MISMATCHED_VERSIONS}}),
              typesAndCodes(events));
    EXPECT_EQ("", events[1].fru);
    EXPECT_EQ(static_cast<uint32_t>(ADAPTER_ID), events[1].adapterID);

    // The comparison rules never raise it, whether it changed or not.
    EXPECT_FALSE(compare(x1.get(), x2.get()));
    EXPECT_FALSE(compare(m.get(), x1.get()));
    EXPECT_TRUE(newEvents().empty());

    // Only the value 1 means a mismatch.
    TarnellEvents::resetForTest();
    seen = 0;
    EXPECT_TRUE(compare(nullptr, o.get()));
    EXPECT_EQ((Codes{{INFO, RaidEvent::CONTROLLER_ADDED}}), typesAndCodes(newEvents()));
}

// ------------------------------------------------------------ refresh

// Each setting without an event code of its own, changed alone, gives
// exactly one refresh event: type 10, code 0, the adapter id, no FRU.
TEST_F(TarnellAdapterEventsTest, EachRefreshItemGivesOneRefreshEvent)
{
    struct Row {
        const char* name;
        std::function<void(Snap&)> change;
    };
    const Row rows[] = {
        {"read-ahead", [](Snap& s) { s.readAhead = false; }},
        {"adaptive read-ahead", [](Snap& s) { s.adaptiveReadAhead = true; }},
        {"stripe unit size", [](Snap& s) { s.stripe = 64; }},
        {"rebuild rate", [](Snap& s) { s.rebuildRate = "RebuildRateHigh"; }},
        {"hot-swap rebuild", [](Snap& s) { s.hotSwapRebuild = false; }},
        {"copy-back", [](Snap& s) { s.copyBack = false; }},
        {"data scrubbing", [](Snap& s) { s.dataScrubbing = true; }},
        {"auto synchronization", [](Snap& s) { s.autoSync = false; }},
        {"clustering", [](Snap& s) { s.clustering = true; }},
        {"limited BIOS compatibility", [](Snap& s) { s.limitedBIOS = true; }},
        {"unattended", [](Snap& s) { s.unattended = true; }},
        {"host id", [](Snap& s) { s.hostID = "host2"; }},
        {"cluster partner id", [](Snap& s) { s.partnerID = "other"; }},
        {"battery temperature", [](Snap& s) { s.temperature = 31; }},
        {"battery charge", [](Snap& s) { s.percentCharged = 91; }},
        {"an array more", [](Snap& s) { s.arrays = 2; }},
        {"a logical drive more", [](Snap& s) { s.logicalDrivesPerArray = 2; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Snap changed;
        row.change(changed);
        AdapterPtr previous = make(Snap()), current = make(changed);
        EXPECT_TRUE(compare(previous.get(), current.get()));
        const std::vector<ListedEvent> events = newEvents();
        ASSERT_EQ((Codes{{REFRESH, 0}}), typesAndCodes(events));
        EXPECT_EQ(static_cast<uint32_t>(ADAPTER_ID), events[0].adapterID);
        EXPECT_EQ("", events[0].fru);
        EXPECT_EQ(RaidEvent::ID_NOT_SET, events[0].logicalDriveID);
        EXPECT_EQ(RaidEvent::ID_NOT_SET, events[0].deviceID);
        // Many changes at once still give one refresh event.
        AdapterPtr back = make(Snap());
        EXPECT_TRUE(compare(current.get(), back.get()));
        EXPECT_EQ((Codes{{REFRESH, 0}}), typesAndCodes(newEvents()));
    }
}

TEST_F(TarnellAdapterEventsTest, ChangesOutsideTheRefreshListRaiseNothing)
{
    struct Row {
        const char* name;
        std::function<void(Snap&)> change;
    };
    const Row rows[] = {
        {"nothing", [](Snap&) {}},
        {"cache size", [](Snap& s) { s.bbcSize = 256; }},
        {"cache serial number", [](Snap& s) { s.bbcSerial = "BBC2"; }},
        {"battery data dropped", [](Snap& s) { s.battery = false; }},
        {"version matching", [](Snap& s) { s.versionMatching = 1; }},
        {"product data dropped", [](Snap& s) { s.vpd = false; }},
        {"cache error code back to 0", [](Snap& s) { s.cacheError = 0; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Snap before;
        before.cacheError = 4;
        Snap after = before;
        row.change(after);
        AdapterPtr previous = make(before), current = make(after);
        EXPECT_FALSE(compare(previous.get(), current.get()));
        EXPECT_TRUE(newEvents().empty());
    }
}

// Two builds of a simulated controller around a change of its stripe size
// or its read-ahead: one refresh event, nothing else.
TEST_F(TarnellAdapterEventsTest, SettingChangedOnTheControllerGivesOneRefreshEvent)
{
    struct Row {
        const char* name;
        std::function<Ret(TarnellAdapter&)> change;
    };
    const Row rows[] = {
        // Stripe codes 4 (8 KB) and 7 (64 KB).
        {"stripe size",
         [](TarnellAdapter& a) { return a.setStripeSize(EnumStripeSize(a.getStripeUnitSize() == 64 ? 4 : 7)); }},
        {"read-ahead", [](TarnellAdapter& a) { return a.setReadAheadMode(!a.getReadAhead()); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        tarnellsim::reset();
        _STORAGE_ADDRESS_ID address;
        std::memset(&address, 0, sizeof address);
        address.usAdapterID = CONTROLLER_A;
        AdapterPtr before(TarnellAdapter::build(address));
        ASSERT_NE(nullptr, before);
        ASSERT_EQ(Ret(0), row.change(*before));
        AdapterPtr after(TarnellAdapter::build(address));
        ASSERT_NE(nullptr, after);

        const uint32_t last = TarnellEvents::lastEventNumber();
        seen = last;
        EXPECT_TRUE(compare(before.get(), after.get()));
        const std::vector<ListedEvent> events = newEvents();
        ASSERT_EQ((Codes{{REFRESH, 0}}), typesAndCodes(events));
        EXPECT_EQ(before->getAdapterID(), events[0].adapterID);
        EXPECT_EQ("", events[0].fru);
    }
}

} // namespace
