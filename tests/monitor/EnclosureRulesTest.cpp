// The enclosure rules and the SAS drive map on trees built in code, against
// the test catalogue. Each comparison runs twice: with the previous tree
// live, and with it stored as a snapshot and read back. In the monitor built
// without SES-2 support, SES-2 enclosures raise nothing.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "EventRows.h"
#include "ModelBuilder.h"
#include "MonitorFixture.h"
#include "SnapshotTestUtil.h"
#include "TestRaidMonitor.h"
#include "monitor/NRMEventCollection.h"

using namespace monitortest;
using snapshottest::WITH_SES2;
using testsupport::readFile;

namespace {

const char* const NEW_SERIAL = "SN-NEW";
const char* const OLD_SERIAL = "SN-OLD";
const uint32_t UNSET = STORID_UNDEFINED;

// Element states in the tests' notation: 'o' operational, 'f' failed, 'a'
// absent; for SES-2 also 'u' unrecoverable (failed) and 'n' noncritical
// (operational).
unsigned char safteCode(char state, bool fan)
{
    switch (state) {
    case 'f':
        return fan ? int(KRNA_SAFTE_FAN_STATUS_MALFUNCTIONING) : int(KRNA_SAFTE_POWER_SUPPLY_STATUS_MALFUNCTIONING_ON);
    case 'a':
        return fan ? int(KRNA_SAFTE_FAN_STATUS_NOT_INSTALLED) : int(KRNA_SAFTE_POWER_SUPPLY_STATUS_NOT_INSTALLED);
    default:
        return 0;
    }
}

EnumSESStatusCodes sesCode(char state)
{
    switch (state) {
    case 'f':
        return KRNA_SES_STATUS_CRITICAL;
    case 'u':
        return KRNA_SES_STATUS_UNRECOVERABLE;
    case 'a':
        return KRNA_SES_STATUS_NOT_INSTALLED;
    case 'n':
        return KRNA_SES_STATUS_NONCRITICAL;
    default:
        return KRNA_SES_STATUS_OK;
    }
}

// The adapter's channel with the id, made when missing; channel id unset
// stands for no channel.
Channel* channelOf(TestAdapter& a, uint32_t id, EnumChannelType type)
{
    if (id == UNSET)
        return nullptr;
    for (RaidObject* o : a.getChildren())
        if (o->isInstanceOf("Channel") && o->getChannelID() == id)
            return static_cast<Channel*>(o);
    return a.channel(id, type);
}

// A SAF-TE enclosure with one fan and one power supply per state; status
// bytes exist for the first 32.
TestEnclosure* safte(TestAdapter& a, uint32_t channel, uint32_t device, const std::string& fans,
                     const std::string& supplies, bool hot = false, bool valid = true)
{
    Channel* c = channelOf(a, channel, SCSI);
    auto* e = new TestEnclosure(&a, c, device);
    (c ? static_cast<RaidObject*>(c) : &a)->addChild(e);
    SafteStatus& status = e->setSafte(static_cast<uint16_t>(fans.size()), static_cast<uint16_t>(supplies.size()), 0,
                                      valid);
    for (size_t i = 0; i < fans.size() && i < SafteStatus::MAX_FANS; ++i)
        status.ucFanStatus[i] = safteCode(fans[i], true);
    for (size_t i = 0; i < supplies.size() && i < SafteStatus::MAX_POWER_SUPPLIES; ++i)
        status.ucPowerSupplyStatus[i] = safteCode(supplies[i], false);
    status.ucTempOutOfRangeFlag2 = hot ? 1 : 0;
    return e;
}

// An SES-2 enclosure on a SAS channel with its cooling and power-supply
// elements and one temperature sensor, interleaved as a real configuration
// lists them by type.
TestSES2Enclosure* ses(TestAdapter& a, uint32_t channel, uint32_t device, const std::string& fans,
                       const std::string& supplies, bool hot = false, bool valid = true)
{
    TestSES2Enclosure* e = a.ses2Enclosure(channelOf(a, channel, SAS), device, valid);
    addSESElement(e, SES_ELEMENT_DEVICE_SLOT, KRNA_SES_STATUS_OK);
    for (char s : supplies)
        addSESElement(e, SES_ELEMENT_POWER_SUPPLY, sesCode(s));
    for (char s : fans)
        addSESElement(e, SES_ELEMENT_COOLING, sesCode(s));
    addSESElement(e, SES_ELEMENT_TEMPERATURE_SENSOR, hot ? KRNA_SES_STATUS_CRITICAL : KRNA_SES_STATUS_OK);
    return e;
}

// Where an enclosure's events say it is: the reporting adapter's id and
// serial, the enclosure's channel and device id and the phrase of its channel,
// its model and FRU number.
struct Where {
    uint32_t adapter;
    std::string adapterSerial;
    uint32_t channel;
    uint32_t device;
    std::string phrase;
    std::string model;
    std::string fru;
};

// The channel phrase of a test adapter ("V", "N", the serial, slot 4).
std::string channelPhrase(uint32_t adapter, const std::string& serial, uint32_t channel)
{
    if (channel == UNSET)
        return "";
    return "eventArgControllerChannel[eventArgController2[" + std::to_string(adapter + 1) + "| V N #" + serial +
           "|4]|" + std::to_string(channel + 1) + "]";
}

// An enclosure of the new adapter (id 0 unless given), or of the old one
// when reported as gone: its channel phrase is the old adapter's then.
Where safteAt(uint32_t channel, uint32_t device, bool old = false, uint32_t adapter = 0)
{
    return {adapter,   NEW_SERIAL, channel, device, channelPhrase(adapter, old ? OLD_SERIAL : NEW_SERIAL, channel),
            "SAFTE-14", "FRU-E"};
}

Where sesAt(uint32_t channel, uint32_t device, bool old = false, uint32_t adapter = 0)
{
    Where w = safteAt(channel, device, old, adapter);
    w.model = "SES-24";
    w.fru = "FRU-S";
    return w;
}

// The enclosure events as the tests expect them.
struct EnclosureEvent {
    int id;
    int severity;
    const char* name;
    const char* key;
    int objectType; // 6 enclosure, 7 fan, 8 power supply
};

const EnclosureEvent ENCLOSURE_EVENTS[] = {
    {501, 3, "EVENT_TARNELL_ENC_OK", "agentEventInfEnclOk", 6},
    {502, 1, "EVENT_TARNELL_ENC_FAILURE", "agentEventErrEnclFail", 6},
    {503, 3, "EVENT_TARNELL_ENC_FAN_REPLACED", "agentEventInfFanOperational", 7},
    {504, 1, "EVENT_TARNELL_ENC_FAN_FAILURE", "agentEventErrFanFail", 7},
    {505, 3, "EVENT_TARNELL_ENC_FAN_INSTALLED", "agentEventInfFanInstalled", 7},
    {506, 1, "EVENT_TARNELL_ENC_FAN_REMOVED", "agentEventWrnFanRemoved", 7},
    {507, 3, "EVENT_TARNELL_ENC_TEMP_NORMAL", "agentEventInfTempNormal", 6},
    {508, 1, "EVENT_TARNELL_ENC_TEMP_FAILURE", "agentEventErrTempFail", 6},
    {509, 3, "EVENT_TARNELL_ENC_PS_REPLACED", "agentEventInfPowerOperational", 8},
    {510, 1, "EVENT_TARNELL_ENC_PS_FAILURE", "agentEventErrPowerFail", 8},
    {511, 3, "EVENT_TARNELL_ENC_PS_INSTALLED", "agentEventInfPowerInstalled", 8},
    {512, 1, "EVENT_TARNELL_ENC_PS_REMOVED", "agentEventWrnPowerRemoved", 8},
};

// Event id about the enclosure at w: of the whole enclosure, or of its fan
// or power supply number n (counted from 1).
EventRow row(int id, const Where& w, int n = 0)
{
    const EnclosureEvent& e = ENCLOSURE_EVENTS[id - 501];
    if (e.objectType == 6)
        return EventRow(id, e.severity, e.name, 6, keyText(e.key, {w.phrase}))
            .at(w.adapter, w.channel, w.device)
            .model(w.model)
            .adapterSerialIs(w.adapterSerial);
    EventRow element(id, e.severity, e.name, e.objectType, keyText(e.key, {std::to_string(n), w.phrase}));
    element.at(w.adapter, w.channel, w.device).fru(w.fru).adapterSerialIs(w.adapterSerial);
    return e.objectType == 7 ? element.fan(n - 1) : element.powerSupply(n - 1);
}

// The SAF-TE rows, then the SES-2 rows where SES-2 is supported.
std::vector<std::string> expectedLines(std::vector<EventRow> safteRows, const std::vector<EventRow>& sesRows)
{
    if (WITH_SES2)
        safteRows.insert(safteRows.end(), sesRows.begin(), sesRows.end());
    return lines(safteRows);
}

using Build = std::function<void(TestAdapter&)>;
const Build NOTHING = [](TestAdapter&) {};

class EnclosureRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.installCatalogue(testCatalogue());
        monitor = std::make_unique<TestRaidMonitor>(nullptr);
    }

    // The debug lines written since the last call, without their time.
    std::vector<std::string> newDebugLines()
    {
        const std::string log = readFile(dir.logDir() + "WATCHTESTDebug.log");
        std::vector<std::string> out;
        static const std::regex line(R"(\[[^\]]*\]  ([^\n]*)\n)");
        const std::string fresh = log.substr(std::min(log.size(), debugRead));
        for (std::sregex_iterator it(fresh.begin(), fresh.end(), line), end; it != end; ++it)
            out.push_back((*it)[1]);
        debugRead = log.size();
        return out;
    }

    MonitorDir dir;
    std::unique_ptr<TestRaidMonitor> monitor;
    NRMEventCollection queue{"", 1000, NRM_EVENT_INFORMATION_7};
    NRMConfigBuilder builder{"previous.xml"};
    size_t debugRead = 0;
};

struct CheckCase {
    const char* name;
    const char* family;
    Build build;
    std::vector<EventRow> safteRows;
    std::vector<EventRow> sesRows;
};

TEST_F(EnclosureRules, CheckOfANewAdapter)
{
    const CheckCase cases[] = {
        {"fans, power supplies, then temperature; invalid data raises nothing",
         nullptr,
         [](TestAdapter& a) {
             safte(a, 1, 14, "ofao", "ao", true);
             safte(a, 1, 15, "ff", "f", true, false);
             ses(a, 2, 20, "fnoa", "ou");
             ses(a, 2, 21, "ff", "f", true, false);
         },
         {row(504, safteAt(1, 14), 2), row(506, safteAt(1, 14), 3), row(512, safteAt(1, 14), 1),
          row(508, safteAt(1, 14))},
         {row(504, sesAt(2, 20), 1), row(506, sesAt(2, 20), 4), row(510, sesAt(2, 20), 2)}},
        {"Vesk adapter: SES-2 enclosures checked without valid SES data",
         "VeskAdapter",
         [](TestAdapter& a) { ses(a, 2, 21, "oa", "", true, false); },
         {},
         {row(506, sesAt(2, 21), 2), row(508, sesAt(2, 21))}},
        {"enclosure without a channel",
         nullptr,
         [](TestAdapter& a) { safte(a, UNSET, 9, "f", ""); },
         {row(504, safteAt(UNSET, 9), 1)},
         {}},
        {"everything working", nullptr,
         [](TestAdapter& a) {
             safte(a, 1, 14, "oo", "oo");
             ses(a, 2, 20, "on", "o");
         },
         {}, {}},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestAdapter a(0, c.family);
        a.describe("V", "N", NEW_SERIAL, 4);
        c.build(a);
        monitor->checkSafte(queue, &a);
        EXPECT_EQ(lines(queue.getAllEvents()), expectedLines(c.safteRows, c.sesRows));
    }
}

struct CompareCase {
    const char* name;
    Build before;
    Build now;
    std::vector<EventRow> safteRows;
    std::vector<EventRow> sesRows;
    uint32_t newID = 0;
    const char* newFamily = nullptr;
};

class EnclosureCompare : public EnclosureRules {
protected:
    // The case with the old adapter (id 0) live and stored.
    void run(const CompareCase& c)
    {
        for (OldSide side : OLD_SIDES) {
            SCOPED_TRACE(std::string(c.name) + ", " + sideName(side));
            TestSystem oldSystem;
            TestAdapter* old = oldSystem.adapter(0);
            old->describe("V", "N", OLD_SERIAL, 4);
            c.before(*old);
            TestAdapter now(c.newID, c.newFamily);
            now.describe("V", "N", NEW_SERIAL, 4);
            c.now(now);
            Adapter* previous = side == OldSide::LIVE ? old : storedAdapter(builder, oldSystem, 0);
            ASSERT_NE(previous, nullptr);
            monitor->compareSafte(queue, &now, previous);
            EXPECT_EQ(lines(queue.getAllEvents()), expectedLines(c.safteRows, c.sesRows));
        }
    }
};

TEST_F(EnclosureCompare, ElementsAndTemperature)
{
    const CompareCase cases[] = {
        {"equal states, failures and heat included",
         [](TestAdapter& a) {
             safte(a, 1, 14, "fao", "af", true);
             ses(a, 2, 20, "fao", "af", true);
         },
         [](TestAdapter& a) {
             safte(a, 1, 14, "fao", "af", true);
             ses(a, 2, 20, "fao", "af", true);
         },
         {},
         {}},
        {"every element transition",
         [](TestAdapter& a) {
             safte(a, 1, 14, "ffooaa", "ffooaa");
             ses(a, 2, 20, "ffooaa", "ffooaa");
         },
         [](TestAdapter& a) {
             safte(a, 1, 14, "oafaof", "oafaof");
             ses(a, 2, 20, "nafaou", "nafaou");
         },
         {row(503, safteAt(1, 14), 1), row(506, safteAt(1, 14), 2), row(504, safteAt(1, 14), 3),
          row(506, safteAt(1, 14), 4), row(505, safteAt(1, 14), 5), row(504, safteAt(1, 14), 6),
          row(509, safteAt(1, 14), 1), row(512, safteAt(1, 14), 2), row(510, safteAt(1, 14), 3),
          row(512, safteAt(1, 14), 4), row(511, safteAt(1, 14), 5), row(510, safteAt(1, 14), 6)},
         {row(503, sesAt(2, 20), 1), row(506, sesAt(2, 20), 2), row(504, sesAt(2, 20), 3),
          row(506, sesAt(2, 20), 4), row(505, sesAt(2, 20), 5), row(504, sesAt(2, 20), 6),
          row(509, sesAt(2, 20), 1), row(512, sesAt(2, 20), 2), row(510, sesAt(2, 20), 3),
          row(512, sesAt(2, 20), 4), row(511, sesAt(2, 20), 5), row(510, sesAt(2, 20), 6)}},
        {"temperature back in range and out of range, after the elements",
         [](TestAdapter& a) {
             safte(a, 1, 14, "o", "", true);
             ses(a, 2, 20, "o", "", false);
         },
         [](TestAdapter& a) {
             safte(a, 1, 14, "f", "", false);
             ses(a, 2, 20, "f", "", true);
         },
         {row(504, safteAt(1, 14), 1), row(507, safteAt(1, 14))},
         {row(504, sesAt(2, 20), 1), row(508, sesAt(2, 20))}},
        {"SES-2 temperature leaving its range on an adapter without SAF-TE",
         [](TestAdapter& a) { ses(a, 3, 20, "o", "o"); },
         [](TestAdapter& a) { ses(a, 3, 20, "o", "o", true); },
         {},
         {row(508, sesAt(3, 20))}},
        {"one SES-2 power supply failing",
         [](TestAdapter& a) { ses(a, 2, 20, "oo", "oo"); },
         [](TestAdapter& a) { ses(a, 2, 20, "oo", "of"); },
         {},
         {row(510, sesAt(2, 20), 2)}},
        {"counts growing: SAF-TE elements installed, SES-2 elements read as before",
         [](TestAdapter& a) {
             safte(a, 1, 14, "oo", "o");
             ses(a, 2, 20, "oo", "o");
         },
         [](TestAdapter& a) {
             safte(a, 1, 14, "oooo", "oo");
             ses(a, 2, 20, "oooo", "oo");
         },
         {row(505, safteAt(1, 14), 3), row(505, safteAt(1, 14), 4), row(511, safteAt(1, 14), 2)},
         {}},
        {"counts shrinking: SAF-TE elements removed, SES-2 ones not looked at",
         [](TestAdapter& a) {
             safte(a, 1, 14, "oooo", "oo");
             ses(a, 2, 20, "ooof", "of");
         },
         [](TestAdapter& a) {
             safte(a, 1, 14, "oo", "o");
             ses(a, 2, 20, "oo", "o");
         },
         {row(506, safteAt(1, 14), 3), row(506, safteAt(1, 14), 4), row(512, safteAt(1, 14), 2)},
         {}},
        {"new SES-2 elements that do not work",
         [](TestAdapter& a) { ses(a, 2, 20, "oo", ""); },
         [](TestAdapter& a) { ses(a, 2, 20, "ooaf", "u"); },
         {},
         {row(506, sesAt(2, 20), 3), row(504, sesAt(2, 20), 4), row(510, sesAt(2, 20), 1)}},
        {"SAF-TE elements beyond 32 read absent on both sides",
         [](TestAdapter& a) { safte(a, 1, 14, std::string(32, 'o'), std::string(32, 'o')); },
         [](TestAdapter& a) { safte(a, 1, 14, std::string(40, 'o'), std::string(33, 'o')); },
         {},
         {}},
        {"data not valid on either side: nothing compared",
         [](TestAdapter& a) {
             safte(a, 1, 14, "oo", "o", false, false);
             safte(a, 1, 15, "oo", "o");
             ses(a, 2, 20, "oo", "o", false, false);
             ses(a, 2, 21, "oo", "o");
         },
         [](TestAdapter& a) {
             safte(a, 1, 14, "ff", "f", true);
             safte(a, 1, 15, "ff", "f", true, false);
             ses(a, 2, 20, "ff", "f", true);
             ses(a, 2, 21, "ff", "f", true, false);
         },
         {},
         {}},
        {"Vesk adapter: SES-2 compared without valid SES data",
         [](TestAdapter& a) { ses(a, 2, 20, "oo", "o", false, false); },
         [](TestAdapter& a) { ses(a, 2, 20, "of", "o", false, false); },
         {},
         {row(504, sesAt(2, 20), 2)},
         0,
         "VeskAdapter"},
    };
    for (const CompareCase& c : cases)
        run(c);
}

TEST_F(EnclosureCompare, EnclosuresAppearDisappearAndMove)
{
    const CompareCase cases[] = {
        {"appeared, with its start-up check",
         [](TestAdapter& a) { a.channel(1, SCSI); },
         [](TestAdapter& a) {
             safte(a, 1, 14, "fo", "a", true);
             ses(a, 2, 20, "of", "o");
         },
         {row(501, safteAt(1, 14)), row(504, safteAt(1, 14), 1), row(512, safteAt(1, 14), 1),
          row(508, safteAt(1, 14))},
         {row(501, sesAt(2, 20)), row(504, sesAt(2, 20), 2)}},
        {"appeared without a channel", NOTHING, [](TestAdapter& a) { safte(a, UNSET, 9, "f", ""); },
         {row(501, safteAt(UNSET, 9)), row(504, safteAt(UNSET, 9), 1)},
         {}},
        {"disappeared: described by the old enclosure, reported for the new adapter",
         [](TestAdapter& a) {
             safte(a, 1, 14, "f", "f", true);
             ses(a, 2, 20, "f", "f", true);
         },
         [](TestAdapter& a) {
             a.channel(1, SCSI);
             a.channel(2, SAS);
         },
         {row(502, safteAt(1, 14, true))},
         {row(502, sesAt(2, 20, true))}},
        {"moved to another device id and to another channel",
         [](TestAdapter& a) {
             safte(a, 1, 14, "o", "o");
             ses(a, 2, 20, "o", "o");
         },
         [](TestAdapter& a) {
             safte(a, 1, 15, "o", "o");
             ses(a, 3, 20, "o", "o");
         },
         {row(501, safteAt(1, 15)), row(502, safteAt(1, 14, true))},
         {row(501, sesAt(3, 20)), row(502, sesAt(2, 20, true))}},
        {"a partner of the other kind is none",
         [](TestAdapter& a) { ses(a, 2, 20, "o", "o"); },
         [](TestAdapter& a) { safte(a, 2, 20, "a", ""); },
         {row(501, safteAt(2, 20)), row(506, safteAt(2, 20), 1)},
         {row(502, sesAt(2, 20, true))}},
        {"partners paired across different adapter ids",
         [](TestAdapter& a) {
             safte(a, 1, 14, "oo", "o");
             ses(a, 2, 20, "oo", "o");
         },
         [](TestAdapter& a) {
             safte(a, 1, 14, "of", "o");
             ses(a, 2, 20, "oo", "f");
         },
         {row(504, safteAt(1, 14, false, 1), 2)},
         {row(510, sesAt(2, 20, false, 1), 1)},
         1},
    };
    for (const CompareCase& c : cases)
        run(c);
}

TEST_F(EnclosureRules, DebugLines)
{
    TestAdapter a(0);
    safte(a, 1, 14, "o", "");
    safte(a, 1, 15, "o", "", false, false);
    ses(a, 2, 20, "o", "");
    ses(a, 2, 21, "o", "", false, false);
    safte(a, UNSET, 9, "o", "");
    TestAdapter empty(0);
    newDebugLines();

    const auto calls = [&] {
        monitor->checkSafte(queue, nullptr);
        monitor->checkSafte(queue, nullptr, static_cast<Enclosure*>(nullptr));
        monitor->checkSafte(queue, &a, static_cast<Enclosure*>(nullptr));
        monitor->compareSafte(queue, nullptr, &a);
        monitor->compareSafte(queue, &a, nullptr);
        monitor->checkSafte(queue, &a);
        monitor->compareSafte(queue, &empty, &empty);
    };
    std::vector<std::string> all = {
        "ERROR: BaseRaidMonitor::checkSafte adapterIN is NULL!!!",
        "ERROR: BaseRaidMonitor::compareSafte adapter is NULL!!!",
        "ERROR: BaseRaidMonitor::compareSafte adapter is NULL!!!",
        "   Entering checkSafte(&ecIN, KRNA: 0)",
        "       Entering checkSafte with Enclosure(&ecIN, CH: 1, PD: 14)",
        "ERROR: BaseRaidMonitor::checkSafte enclosure SafteData is invalid!!!",
        "       Entering checkSafte with Enclosure(&ecIN, CH: 2147483647, PD: 9)",
    };
    if (WITH_SES2) {
        all.push_back("       Entering checkSafte with SES2Enclosure(&ecIN, CH: 2, PD: 20)");
        all.push_back("ERROR: BaseRaidMonitor::checkSafte ses2Eenclosure SESData is invalid!!!");
    }
    all.push_back("   Entering compareSafte(&ecIN, KRNA: 0)");
    all.push_back("       Checking for SAFTE Enclosures...");
    if (WITH_SES2)
        all.push_back("       Checking for SES2 Enclosures...");

    std::vector<std::string> errors;
    std::vector<std::string> traces;
    for (const std::string& l : all)
        (l.rfind("ERROR:", 0) == 0 ? errors : traces).push_back(l);

    struct Case {
        int32_t mask;
        std::vector<std::string> expected;
    };
    for (const Case& c : {Case{0xFFFFFF, all}, Case{NRM_DEBUG_ERRORS, errors}, Case{NRM_DEBUG_TRACE, traces},
                          Case{NRM_DEBUG_EVENTS | NRM_DEBUG_DETAIL, {}}}) {
        SCOPED_TRACE(c.mask);
        DebugMask mask(c.mask);
        calls();
        EXPECT_EQ(newDebugLines(), c.expected);
    }
    EXPECT_EQ(queue.getNumberOfEvents(), 0);
}

class SASDriveMap : public EnclosureRules {};

TEST_F(SASDriveMap, OneEventPerDriveOnASASChannel)
{
    TestAdapter a(1);
    a.describe("V", "N", NEW_SERIAL, 4);
    Channel* sas = a.channel(2, SAS);
    TestDrive* first = a.drive(sas, 0);
    TestDrive* second = a.drive(sas, 1);
    second->setFruNumber("");
    a.drive(a.channel(3, SATA), 2);
    a.drive(a.channel(4, SATA_ON_SAS), 3);
    // On a SAS channel, but without a channel of its own, FRU number, vendor
    // or model.
    auto* loose = new TestDrive(&a, nullptr, 7);
    a.channel(5, SAS)->addChild(loose);
    loose->setFruNumber("");
    loose->setVendor("");
    loose->setModel("");

    const auto row = [&](HardDrive* d, const std::string& channel, uint32_t channelID, const std::string& fru,
                         const std::string& replacement) {
        return EventRow(423, 3, "RAID_EVENT", 2,
                        keyText("agentEventInfDriveMap", {"2", channel, std::to_string(d->getDeviceID()),
                                                          monitor->getEventID(d), replacement}))
            .at(1, channelID, d->getDeviceID())
            .fru(fru)
            .adapterSerialIs(NEW_SERIAL);
    };
    const std::vector<EventRow> expected = {
        row(first, "3", 2, "FRU-9", "deviceArgFRU[FRU-9]"),
        row(second, "3", 2, "", "deviceArgVendorModel[ZEQ-XJP|XJ-300]"),
        row(loose, "2147483647", UNSET, "", ""),
    };
    monitor->logSASDriveMap(queue, &a);
    EXPECT_EQ(lines(queue.getAllEvents()), lines(expected));
}

TEST_F(SASDriveMap, NothingWithoutDrivesOnSASChannels)
{
    TestAdapter a(1);
    a.drive(a.channel(3, SATA), 2);
    a.channel(2, SAS);
    DebugMask mask(0xFFFFFF);
    newDebugLines();
    monitor->logSASDriveMap(queue, nullptr);
    monitor->logSASDriveMap(queue, &a);
    EXPECT_EQ(queue.getNumberOfEvents(), 0);
    EXPECT_EQ(newDebugLines(), std::vector<std::string>{"       Entering logSASDriveMap(&ecIN, 1)"});
}

} // namespace
