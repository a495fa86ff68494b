#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellEventList.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "TarnellBuildUtil.h"

// The event rules of the SAF-TE enclosures: the first-sight check and the
// comparison of two snapshots, on hand-built trees whose enclosures carry
// chosen readings, and once on two real builds of a simulated controller.

using namespace tarnelltest;

namespace {

// Item codes of the enclosure.
const int OK = TarnellEnclosure::ELEMENT_OPERATIONAL;
const int FAILED = TarnellEnclosure::ELEMENT_FAILED;
const int ABSENT = TarnellEnclosure::ELEMENT_NOT_INSTALLED;

// What an enclosure reports. Fans and power supplies are listed by code;
// the status page holds three of each.
struct EnclosureState {
    bool responding = true;
    bool safte = true;
    std::vector<int> fans = {OK, OK};
    std::vector<int> supplies = {OK, OK};
    bool hot = false;
    int fanCount = -1; // the configured fan count when it differs from the list
};

EnclosureState notResponding()
{
    EnclosureState s;
    s.responding = false;
    s.safte = false;
    return s;
}

EnclosureState fans(std::vector<int> codes)
{
    EnclosureState s;
    s.fans = codes;
    return s;
}

EnclosureState supplies(std::vector<int> codes)
{
    EnclosureState s;
    s.supplies = codes;
    return s;
}

EnclosureState hot(bool isHot)
{
    EnclosureState s;
    s.hot = isHot;
    return s;
}

uint8_t fanByte(int code) { return code == FAILED ? 0x01 : code == ABSENT ? 0x02 : 0x00; }
uint8_t supplyByte(int code) { return code == FAILED ? 0x10 : code == ABSENT ? 0x20 : 0x00; }

// Adds an enclosure with those readings at channel:device of the controller.
TarnellEnclosure* addEnclosure(SimController& ctl, int channel, int device, const EnclosureState& s)
{
    TarnellEnclosure* e = ctl.enclosure(channel, device);
    e->setResponding(s.responding);
    if (!s.safte)
        return e;
    SAFTE_CONFIG config;
    _SAFTE_STATUS status;
    std::memset(&config, 0, sizeof config);
    std::memset(&status, 0, sizeof status);
    config.fanCount = static_cast<uint8_t>(s.fanCount >= 0 ? s.fanCount : static_cast<int>(s.fans.size()));
    config.powerSupplyCount = static_cast<uint8_t>(s.supplies.size());
    config.slotCount = 14;
    config.tempSensorCount = 2;
    SAFTE_STATUS_PAGE& page = *reinterpret_cast<SAFTE_STATUS_PAGE*>(&status);
    for (size_t i = 0; i < s.fans.size() && i < sizeof page.ucFanStatus; ++i)
        page.ucFanStatus[i] = fanByte(s.fans[i]);
    for (size_t i = 0; i < s.supplies.size() && i < sizeof page.ucPowerSupplyStatus; ++i)
        page.ucPowerSupplyStatus[i] = supplyByte(s.supplies[i]);
    page.ucTempOutOfRangeFlag1 = s.hot ? 0x01 : 0x00;
    e->buildSafte(config, status);
    return e;
}

// (code, type) of an event.
typedef std::pair<uint32_t, uint32_t> CodeType;

std::vector<CodeType> ringCodes()
{
    std::vector<CodeType> out;
    for (const ListedEvent& e : ringEvents())
        out.push_back({e.code, e.type});
    return out;
}

class TarnellEventsSafteTest : public EventRulesTest {
protected:
    // The previous and the current snapshot of one controller, each with
    // the enclosure at 0:15 in the given state; the result of the
    // comparison goes to changed.
    std::vector<CodeType> compare(const EnclosureState& before, const EnclosureState& after, bool& changed)
    {
        TarnellEvents::resetForTest();
        SimController previous(CONTROLLER_A, TARNELL_B2), current(CONTROLLER_A, TARNELL_B2);
        addEnclosure(previous, 0, 15, before);
        addEnclosure(current, 0, 15, after);
        std::string xml;
        changed = TarnellEvents::compareSafteConfigs(previous.adapter, current.adapter, xml);
        EXPECT_EQ("", xml) << "the string is not written";
        return ringCodes();
    }

    std::vector<CodeType> firstSight(const EnclosureState& state)
    {
        TarnellEvents::resetForTest();
        SimController ctl(CONTROLLER_A, TARNELL_B2);
        addEnclosure(ctl, 0, 15, state);
        std::string xml;
        TarnellEvents::checkSafte(ctl.adapter, xml);
        EXPECT_EQ("", xml) << "the string is not written";
        return ringCodes();
    }
};

} // namespace

// ------------------------------------------------------------ first sight

TEST_F(TarnellEventsSafteTest, FirstSightReportsTheBadStates)
{
    EnclosureState mixed;
    mixed.fans = {FAILED, OK, ABSENT};
    mixed.supplies = {OK, ABSENT, FAILED};
    mixed.hot = true;
    EnclosureState noSafte;
    noSafte.safte = false;
    EnclosureState deadButReadingsBad = mixed;
    deadButReadingsBad.responding = false;

    struct Case {
        const char* name;
        EnclosureState state;
        std::vector<CodeType> events;
    };
    const Case cases[] = {
        {"not responding", notResponding(), {{RaidEvent::ENCLOSURE_FAIL, FATAL}}},
        {"not responding, bad items unread", deadButReadingsBad, {{RaidEvent::ENCLOSURE_FAIL, FATAL}}},
        {"responding without SAF-TE data", noSafte, {}},
        {"all well", EnclosureState(), {}},
        {"fan 1 not installed, supply 0 failed",
         [] {
             EnclosureState s;
             s.fans = {OK, ABSENT};
             s.supplies = {FAILED, OK};
             return s;
         }(),
         {{RaidEvent::FAN_REMOVED, WARN}, {RaidEvent::POWER_SUPPLY_FAIL, FATAL}}},
        {"fans, then supplies, then temperature",
         mixed,
         {{RaidEvent::FAN_FAIL, FATAL},
          {RaidEvent::FAN_REMOVED, WARN},
          {RaidEvent::POWER_SUPPLY_REMOVED, WARN},
          {RaidEvent::POWER_SUPPLY_FAIL, FATAL},
          {RaidEvent::TEMP_FAIL, FATAL}}},
        {"temperature out of range", hot(true), {{RaidEvent::TEMP_FAIL, FATAL}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.events, firstSight(c.state)) << c.name;
}

// ------------------------------------------------------------- comparison

// Every pair of fan codes, and the same for the power supplies with their
// own event codes. A removal seen happening is fatal.
TEST_F(TarnellEventsSafteTest, FanAndPowerSupplyTransitions)
{
    enum Kind { NONE, ITEM_OK, ITEM_FAIL, ITEM_INSTALLED, ITEM_REMOVED };
    struct Case {
        int before, after;
        Kind kind;
        uint32_t type;
    };
    const Case cases[] = {
        {OK, OK, NONE, 0},
        {FAILED, FAILED, NONE, 0},
        {ABSENT, ABSENT, NONE, 0},
        {FAILED, OK, ITEM_OK, INFO},
        {ABSENT, OK, ITEM_INSTALLED, INFO},
        {OK, FAILED, ITEM_FAIL, FATAL},
        {OK, ABSENT, ITEM_REMOVED, FATAL},
        {ABSENT, FAILED, ITEM_FAIL, FATAL},
        {FAILED, ABSENT, ITEM_REMOVED, FATAL},
    };
    struct Item {
        const char* name;
        EnclosureState (*state)(std::vector<int>);
        uint32_t codes[5];
    };
    const Item items[] = {
        {"fan", fans, {0, RaidEvent::FAN_OK, RaidEvent::FAN_FAIL, RaidEvent::FAN_INSTALLED, RaidEvent::FAN_REMOVED}},
        {"power supply",
         supplies,
         {0, RaidEvent::POWER_SUPPLY_OK, RaidEvent::POWER_SUPPLY_FAIL, RaidEvent::POWER_SUPPLY_INSTALLED,
          RaidEvent::POWER_SUPPLY_REMOVED}},
    };
    for (const Item& item : items) {
        for (const Case& c : cases) {
            // The item under test is index 1; index 0 stays working.
            bool changed = false;
            const std::vector<CodeType> events =
                compare(item.state({OK, c.before}), item.state({OK, c.after}), changed);
            std::vector<CodeType> expected;
            if (c.kind != NONE)
                expected.push_back({item.codes[c.kind], c.type});
            EXPECT_EQ(expected, events) << item.name << " " << c.before << " -> " << c.after;
            EXPECT_EQ(c.kind != NONE, changed) << item.name << " " << c.before << " -> " << c.after;
        }
    }
}

TEST_F(TarnellEventsSafteTest, TemperatureTransitions)
{
    struct Case {
        bool before, after;
        std::vector<CodeType> events;
    };
    const Case cases[] = {
        {false, false, {}},
        {true, true, {}},
        {false, true, {{RaidEvent::TEMP_FAIL, FATAL}}},
        {true, false, {{RaidEvent::TEMP_OK, INFO}}},
    };
    for (const Case& c : cases) {
        bool changed = false;
        EXPECT_EQ(c.events, compare(hot(c.before), hot(c.after), changed)) << c.before << " -> " << c.after;
        EXPECT_EQ(!c.events.empty(), changed);
    }
}

// A change of the responding state is the only thing said of the enclosure
// in that pass; items are compared only between two readable snapshots.
TEST_F(TarnellEventsSafteTest, RespondingStateAndMissingData)
{
    EnclosureState respondingFanFailed = fans({FAILED, OK});
    EnclosureState deadFanFailed = respondingFanFailed;
    deadFanFailed.responding = false;
    EnclosureState deadWithReadings = fans({OK, OK});
    deadWithReadings.responding = false;
    EnclosureState noSafte;
    noSafte.safte = false;

    struct Case {
        const char* name;
        EnclosureState before, after;
        std::vector<CodeType> events;
    };
    const Case cases[] = {
        {"stops responding while a fan fails", EnclosureState(), notResponding(),
         {{RaidEvent::ENCLOSURE_FAIL, FATAL}}},
        {"stops responding, readings kept", EnclosureState(), deadFanFailed, {{RaidEvent::ENCLOSURE_FAIL, FATAL}}},
        {"responds again with a changed fan", notResponding(), respondingFanFailed,
         {{RaidEvent::ENCLOSURE_OK, INFO}}},
        {"still not responding", notResponding(), notResponding(), {}},
        // Both not responding but both with readings: the items are compared.
        {"not responding both times, readings differ", deadWithReadings, deadFanFailed,
         {{RaidEvent::FAN_FAIL, FATAL}}},
        {"current without SAF-TE data", respondingFanFailed, noSafte, {}},
        {"previous without SAF-TE data", noSafte, respondingFanFailed, {}},
    };
    for (const Case& c : cases) {
        bool changed = false;
        EXPECT_EQ(c.events, compare(c.before, c.after, changed)) << c.name;
        EXPECT_EQ(!c.events.empty(), changed) << c.name;
    }
}

// Indexes are walked over the current counts; an index the other snapshot
// (or the status page) does not hold answers "no such item" and gives
// nothing, however large the configured count.
TEST_F(TarnellEventsSafteTest, FanCountsThatDiffer)
{
    EnclosureState two = fans({OK, OK});
    EnclosureState threeLastFailed = fans({OK, OK, FAILED});
    EnclosureState threeLastAbsent = fans({OK, OK, ABSENT});
    EnclosureState many = fans({OK, ABSENT, OK});
    many.fanCount = 255;

    struct Case {
        const char* name;
        EnclosureState before, after;
        std::vector<CodeType> events;
    };
    const Case cases[] = {
        {"a failed fan more than before", two, threeLastFailed, {}},
        {"an absent fan more than before", two, threeLastAbsent, {}},
        {"a failed fan fewer than before", threeLastFailed, two, {}},
        {"255 configured fans, one removed", fans({OK, OK, OK}), many, {{RaidEvent::FAN_REMOVED, FATAL}}},
        {"255 configured fans both times", many, many, {}},
    };
    for (const Case& c : cases) {
        bool changed = false;
        EXPECT_EQ(c.events, compare(c.before, c.after, changed)) << c.name;
        EXPECT_EQ(!c.events.empty(), changed) << c.name;
    }
    EXPECT_EQ((std::vector<CodeType>{{RaidEvent::FAN_REMOVED, WARN}}), firstSight(many));
}

// An enclosure found in only one of the snapshots gives no event; one at
// another address is another enclosure.
TEST_F(TarnellEventsSafteTest, EnclosuresWithoutACounterpartAreNotCompared)
{
    SimController previous(CONTROLLER_A, TARNELL_B2), current(CONTROLLER_A, TARNELL_B2);
    addEnclosure(previous, 0, 15, fans({OK, OK}));   // gone from the current snapshot
    addEnclosure(previous, 1, 14, fans({OK, OK}));   // moves to another device id
    addEnclosure(current, 1, 13, fans({FAILED, ABSENT}));
    addEnclosure(current, 2, 15, notResponding());   // new, channel 2
    previous.disk(2, 15);                            // a disk where the new enclosure sits
    std::string xml;
    EXPECT_FALSE(TarnellEvents::compareSafteConfigs(previous.adapter, current.adapter, xml));
    EXPECT_TRUE(ringEvents().empty());

    // Without one of the snapshots nothing is compared.
    EXPECT_FALSE(TarnellEvents::compareSafteConfigs(nullptr, current.adapter, xml));
    EXPECT_FALSE(TarnellEvents::compareSafteConfigs(previous.adapter, nullptr, xml));
    TarnellEvents::checkSafte(nullptr, xml);
    EXPECT_TRUE(ringEvents().empty());
}

// Each event names the current controller, the enclosure's channel and
// device; every other id is that of a fresh event. Enclosures are taken in
// tree order, each with its own events.
TEST_F(TarnellEventsSafteTest, EventsCarryTheEnclosuresIds)
{
    TarnellAdapter::getUniqueID(CONTROLLER_A); // the controller below gets model id 1
    SimController previous(CONTROLLER_B, TARNELL_C0), current(CONTROLLER_B, TARNELL_C0);
    ASSERT_EQ(1u, current.adapter->getAdapterID());
    addEnclosure(previous, 0, 15, fans({OK, OK}));
    addEnclosure(previous, 2, 6, supplies({OK, FAILED}));
    addEnclosure(current, 0, 15, fans({OK, ABSENT}));
    addEnclosure(current, 2, 6, supplies({OK, OK}));

    std::string xml;
    EXPECT_TRUE(TarnellEvents::compareSafteConfigs(previous.adapter, current.adapter, xml));
    const RaidEvent fresh;
    struct Expected {
        uint32_t code, type;
        unsigned long channelID, deviceID;
    };
    const Expected expected[] = {{RaidEvent::FAN_REMOVED, FATAL, 0, 15}, {RaidEvent::POWER_SUPPLY_OK, INFO, 2, 6}};
    std::vector<ListedEvent> events = ringEvents();
    ASSERT_EQ(2u, events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        const ListedEvent& e = events[i];
        EXPECT_EQ(expected[i].code, e.code) << i;
        EXPECT_EQ(expected[i].type, e.type) << i;
        EXPECT_EQ(1u, e.adapterID) << i;
        EXPECT_EQ(expected[i].channelID, e.channelID) << i;
        EXPECT_EQ(expected[i].deviceID, e.deviceID) << i;
        EXPECT_EQ(fresh.getArrayID(), e.arrayID) << i;
        EXPECT_EQ(fresh.getLogicalDriveID(), e.logicalDriveID) << i;
        EXPECT_EQ(fresh.getfanID(), e.fanID) << i;
        EXPECT_EQ(fresh.getPowerSupplyID(), e.powerSupplyID) << i;
        EXPECT_EQ(fresh.getFRU(), e.fru) << i;
    }

    // The first-sight check names them the same way.
    TarnellEvents::resetForTest();
    TarnellEvents::checkSafte(current.adapter, xml);
    events = ringEvents();
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(RaidEvent::FAN_REMOVED, events[0].code);
    EXPECT_EQ(WARN, events[0].type);
    EXPECT_EQ(1u, events[0].adapterID);
    EXPECT_EQ(0u, events[0].channelID);
    EXPECT_EQ(15u, events[0].deviceID);
    EXPECT_EQ(fresh.getfanID(), events[0].fanID);
}

// Real builds of the simulated controller: first sight of the enclosure
// 0:15, then it loses fan 0, then it stops answering.
TEST_F(TarnellEventsSafteTest, SnapshotsOfTheSimulatedController)
{
    auto setEnclosure = [](void (*change)(tarnellsim::Device&)) {
        tarnellsim::Scenario s = tarnellsim::current();
        for (tarnellsim::Device& d : s.controllers[0].devices)
            if (d.channel == 0 && d.target == 15)
                change(d);
        tarnellsim::reset(s);
    };

    std::unique_ptr<BuildAdapter> first(new BuildAdapter(CONTROLLER_A, 3));
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(first->adapter));
    std::string xml;
    TarnellEvents::checkSafte(first->adapter, xml);
    // Its power supply 2 is not installed.
    EXPECT_EQ((std::vector<CodeType>{{RaidEvent::POWER_SUPPLY_REMOVED, WARN}}), ringCodes());
    TarnellEvents::resetForTest();

    setEnclosure([](tarnellsim::Device& d) { d.safteStatus[0] = 0x02; });
    std::unique_ptr<BuildAdapter> second(new BuildAdapter(CONTROLLER_A, 3));
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(second->adapter));
    EXPECT_TRUE(TarnellEvents::compareSafteConfigs(first->adapter, second->adapter, xml));
    std::vector<ListedEvent> events = ringEvents();
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(RaidEvent::FAN_REMOVED, events[0].code);
    EXPECT_EQ(FATAL, events[0].type);
    EXPECT_EQ(second->adapter->getAdapterID(), events[0].adapterID);
    EXPECT_EQ(0u, events[0].channelID);
    EXPECT_EQ(15u, events[0].deviceID);

    setEnclosure([](tarnellsim::Device& d) { d.safteResponding = false; });
    BuildAdapter third(CONTROLLER_A, 3);
    ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(third.adapter));
    EXPECT_TRUE(TarnellEvents::compareSafteConfigs(second->adapter, third.adapter, xml));
    events = ringEvents();
    ASSERT_EQ(2u, events.size());
    EXPECT_EQ(RaidEvent::ENCLOSURE_FAIL, events[1].code);
    EXPECT_EQ(FATAL, events[1].type);

    // Nothing changed between two builds: nothing to say.
    first.reset();
    EXPECT_FALSE(TarnellEvents::compareSafteConfigs(third.adapter, third.adapter, xml));
    EXPECT_EQ(2u, ringEvents().size());
}
