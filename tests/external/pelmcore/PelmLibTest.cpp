// The Pelm storage library over the simulated controllers: its configuration
// tree, event lists, tasks, paths, and the failures tests can make.

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>

#include "PelmTestSupport.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Chunk.h"

using namespace pelmtest;

namespace {

struct ExpectedDrive {
    unsigned id;
    const char* name;
    uint64_t sizeMB;
    EnumRaidLevel level;
    EnumLogicalDeviceState state;
    EnumLogicalDriveCacheMode readCache;
    unsigned chunks;
    TIMESTAMP_STRUCT created;
};

struct ExpectedAdapter {
    unsigned id;
    unsigned bus, device, function;
    int raid0, raid1, ultra160;
    int memoryMB;
    const char* serial;
    std::vector<EnumChannelType> channels;
    unsigned hardDrives;
    std::vector<ExpectedDrive> logicalDrives;
};

TEST_F(PelmTest, DefaultScenarioReadsIntoPelmModelObjects)
{
    const std::vector<ExpectedAdapter> expected = {
        {0, 2, 4, 0, 1, 1, 1, 64, "PLM0004711", {SCSI, SCSI}, 8,
         {{0, "System", 34000, RAID1, OKAY, LD_CACHE_ENABLED, 2, {1, 11, 2, 2023, 1, 8, 15, 30, 120}},
          {1, "Data", 138000, RAID5, CRITICAL, LD_CACHE_ENABLED, 4, {1, 1, 15, 2024, 1, 13, 45, 0, 500}}}},
        {1, 3, 0, 0, 1, 1, 0, 0, "", {SATA, SAS}, 3,
         {{0, "Scratch", 400000, RAID0, OKAY, LD_CACHE_DISABLED, 2, {1, 3, 1, 2024, 1, 17, 2, 44, 0}}}},
    };
    System* system = read();
    ASSERT_NE(system, nullptr);
    ASSERT_EQ(system->getNumAdapters(), expected.size());
    unsigned long count = 0;
    EXPECT_EQ(0, lib->getControllerCount(count).getReturn());
    EXPECT_EQ(count, expected.size());

    for (size_t i = 0; i < expected.size(); ++i) {
        const ExpectedAdapter& e = expected[i];
        SCOPED_TRACE("adapter " + std::to_string(e.id));
        Adapter* adapter = system->getAdapter(i);
        ASSERT_TRUE(adapter->isInstanceOf("PelmAdapter") && adapter->isInstanceOf("Adapter"));
        EXPECT_FALSE(adapter->isInstanceOf("TarnellAdapter"));
        EXPECT_EQ(adapter->getAdapterID(), e.id);
        EXPECT_EQ(adapter->getStorLibType(), STORLIB_PELM);
        EXPECT_EQ(adapter->getAdapterType(), PELM);
        EXPECT_EQ(std::vector<unsigned>({adapter->getPCIBus(), adapter->getPciDevice(), adapter->getPCIFunction()}),
                  std::vector<unsigned>({e.bus, e.device, e.function}));
        EXPECT_EQ(std::vector<int>({adapter->getFeature(FeatRaid0), adapter->getFeature(FeatRaid1),
                                    adapter->getFeature(FeatUltra160Scsi)}),
                  std::vector<int>({e.raid0, e.raid1, e.ultra160}));
        EXPECT_EQ(adapter->getInstalledMemory(), e.memoryMB);
        EXPECT_STREQ(adapter->getSerialNumString(), e.serial);
        std::vector<EnumChannelType> channels;
        for (uint32_t c = 0; c < adapter->getNumChannels(); ++c)
            channels.push_back(adapter->getChannel(c)->getChannelType());
        EXPECT_EQ(channels, e.channels);
        EXPECT_EQ(adapter->getNumHardDrives(), e.hardDrives);

        ASSERT_EQ(adapter->getNumLogicalDrives(), e.logicalDrives.size());
        for (size_t l = 0; l < e.logicalDrives.size(); ++l) {
            const ExpectedDrive& d = e.logicalDrives[l];
            LogicalDrive* logical = adapter->getLogicalDrive(l);
            ASSERT_TRUE(logical->isInstanceOf("PelmLogicalDrive"));
            EXPECT_EQ(logical->getLogicalDriveID(), d.id);
            EXPECT_STREQ(logical->getName(), d.name);
            EXPECT_EQ(logical->getDataSpace64(), d.sizeMB);
            EXPECT_EQ(logical->getRaidLevel(), d.level);
            EXPECT_EQ(logical->getState(), d.state);
            EXPECT_EQ(logical->getReadCacheMode(), d.readCache);
            EXPECT_EQ(0, std::memcmp(&logical->getCreateTimeStamp(), &d.created, sizeof d.created));
            // Every chunk names the disk it lies on.
            ASSERT_EQ(logical->getNumHardDriveChunks(), d.chunks);
            for (unsigned long c = 0; c < d.chunks; ++c) {
                Chunk* chunk = logical->getHardDriveChunk(c);
                RaidObject* disk = chunk->getPhysicalDevice();
                ASSERT_NE(disk, nullptr);
                EXPECT_TRUE(disk->isInstanceOf("PelmHardDrive"));
                EXPECT_EQ(disk->getChannelID(), chunk->getChannelID());
                EXPECT_EQ(disk->getDeviceID(), chunk->getDeviceID());
                EXPECT_EQ(chunk->getNumSector() * (d.level == RAID5 ? d.chunks - 1 : d.level == RAID1 ? 1 : d.chunks),
                          d.sizeMB * 2048);
            }
        }
    }
}

TEST_F(PelmTest, VersionsCarryTheirBuildInParentheses)
{
    Adapter* adapter = read()->getAdapter(0);
    EXPECT_STREQ(adapter->getBiosVersion(), "4.1 (123)");
    EXPECT_STREQ(adapter->getDeviceDriverVersion(), "1.3.0 (78)");
    EXPECT_EQ(adapter->getBiosBuildNum(), 0u);
    EXPECT_EQ(adapter->getDriverBuildNum(), 0u);
    EXPECT_EQ(adapter->getFwBuildNum(), 456u);
}

TEST_F(PelmTest, DocumentOfTheReadHoldsEveryController)
{
    char* xml = nullptr;
    ASSERT_EQ(0, lib->getSystemConfig(&xml).getReturn());
    ASSERT_NE(xml, nullptr);
    const std::string text = xml;
    delete[] xml;
    size_t controllers = 0;
    for (size_t at = text.find("<Controller"); at != std::string::npos; at = text.find("<Controller", at + 1))
        ++controllers;
    EXPECT_EQ(controllers, 2u);
}

TEST_F(PelmTest, FullScenarioBuildsEveryController)
{
    pelmsim::reset(pelmsim::fullScenario(16));
    System* system = read();
    ASSERT_EQ(system->getNumAdapters(), 16u);
    std::set<unsigned> triples;
    for (unsigned long i = 0; i < 16; ++i) {
        Adapter* a = system->getAdapter(i);
        EXPECT_EQ(a->getNumHardDrives(), 64u);
        EXPECT_EQ(a->getNumLogicalDrives(), 8u);
        triples.insert(a->getPCIBus() << 16 | a->getPciDevice() << 8 | a->getPCIFunction());
    }
    EXPECT_EQ(triples.size(), 16u);
}

// ---------------------------------------------------------------- event lists

TEST_F(PelmTest, EventListHoldsTheEventsFromASequenceOnInAscendingOrder)
{
    read();
    pelmsim::Event late;
    late.description = "Appended";
    ASSERT_TRUE(pelmsim::appendEvent(0, late));
    const struct {
        unsigned long from;
        std::vector<std::string> sequences;
    } cases[] = {
        {0, {"1", "2", "3", "4"}}, {1, {"1", "2", "3", "4"}}, {3, {"3", "4"}}, {4, {"4"}}, {5, {}}, {4000000000ul, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("from " + std::to_string(c.from));
        Fetched f = fetchEvents(*lib, 0, c.from);
        ASSERT_EQ(f.code, 0);
        EXPECT_EQ(sequencesIn(f.text), c.sequences);
    }
}

TEST_F(PelmTest, EventsCarryTheListAttributes)
{
    read();
    pelmsim::Event quoted;
    quoted.qual = 10;
    quoted.status = 2;
    quoted.senseKey = 4;
    quoted.additionalSenseCode = 0x88;
    quoted.ldPath = "/c0/t1";
    quoted.description = "Disk \"A\" failed";
    ASSERT_TRUE(pelmsim::appendEvent(0, quoted));
    const std::vector<Attributes> events = eventsIn(fetchEvents(*lib, 0, 3).text);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (Attributes{{"Sequence", "3"},
                                     {"Qual", "0x7"},
                                     {"Status", "0x0"},
                                     {"SenseKey", "0x1"},
                                     {"AdditionalSenseCode", "0x10"},
                                     {"LDPath", "/ld1"},
                                     {"Description", "Rebuild started"}}));
    // The dialect decodes no entities: a double quote in a text becomes a single one.
    EXPECT_EQ(events[1], (Attributes{{"Sequence", "4"},
                                     {"Qual", "0xa"},
                                     {"Status", "0x2"},
                                     {"SenseKey", "0x4"},
                                     {"AdditionalSenseCode", "0x88"},
                                     {"LDPath", "/c0/t1"},
                                     {"Description", "Disk 'A' failed"}}));
}

TEST_F(PelmTest, SequencesAbove31BitsAreWrittenInFull)
{
    pelmsim::Scenario s = pelmsim::defaultScenario();
    s.controllers[1].nextSequence = 4294967290u;
    pelmsim::reset(s);
    read();
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(pelmsim::appendEvent(1, pelmsim::Event()));
    EXPECT_EQ(sequencesIn(fetchEvents(*lib, 1, 2147483648ul).text),
              (std::vector<std::string>{"4294967290", "4294967291"}));
}

TEST_F(PelmTest, EventListResultCodes)
{
    const struct {
        const char* what;
        std::function<void(PelmLib&)> before;
        STORID_T adapter;
        bool nullText;
        int code;
    } cases[] = {
        {"success", [](PelmLib& l) { l.getSystemConfig(); }, 0, false, 0},
        {"no current system", [](PelmLib&) {}, 0, false, -2},
        {"null text", [](PelmLib& l) { l.getSystemConfig(); }, 0, true, -2},
        {"no such adapter", [](PelmLib& l) { l.getSystemConfig(); }, 7, false, -12},
        {"controller gone since the read",
         [](PelmLib& l) {
             l.getSystemConfig();
             pelmsim::removeController(1);
         },
         1, false, -12},
        {"text cannot be allocated",
         [](PelmLib& l) {
             l.getSystemConfig();
             pelmsim::failNextAllocation();
         },
         0, false, -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        pelmsim::reset();
        PelmLib fresh;
        c.before(fresh);
        char* old = new char[4];
        std::strcpy(old, "old");
        char* text = old;
        const int code = fresh.getEvents(adapterAddr(c.adapter), 1, c.nullText ? nullptr : &text).getReturn();
        EXPECT_EQ(code, c.code);
        if (code == 0) {
            EXPECT_EQ(eventsIn(text).size(), 3u); // the old text was released
        } else {
            EXPECT_EQ(text, old);
            EXPECT_STREQ(text, "old");
        }
        delete[] text;
    }
}

TEST_F(PelmTest, AnAddressThatNamesNoControllerGivesNoSuchAdapter)
{
    read();
    char* text = nullptr;
    EXPECT_EQ(lib->getEvents(driveAddr(0, 1, 2), 1, &text).getReturn(), -12);
    EXPECT_EQ(lib->getEvents(logicalAddr(0, 1), 1, &text).getReturn(), -12);
    EXPECT_EQ(text, nullptr);
}

// ---------------------------------------------------------------- tasks

TEST_F(PelmTest, TasksOfLogicalDrives)
{
    read();
    pelmsim::advanceClock(10);
    const struct {
        STORID_T adapter, logical;
        EnumTaskType type;
        EnumTaskState state;
        uint32_t percent;
    } cases[] = {
        {0, 1, TASK_REBUILD, TASK_STATE_IN_PROGRESS, 45},
        {0, 0, TASK_NONE, TASK_STATE_NONE, 0},
        {1, 0, TASK_NONE, TASK_STATE_NONE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("logical drive " + std::to_string(c.adapter) + ":" + std::to_string(c.logical));
        ProgressCollection tasks;
        ASSERT_EQ(lib->getTasks(logicalAddr(c.adapter, c.logical), tasks).getReturn(), 0);
        ASSERT_EQ(tasks.getSize(), 1);
        Progress& task = tasks.getProgress(0);
        EXPECT_EQ(task.getType(), c.type);
        EXPECT_EQ(task.getStatus(), c.state);
        EXPECT_EQ(task.getPercent(), c.percent);
        EXPECT_EQ(task.getDeviceAddr(), logicalAddr(c.adapter, c.logical));
    }
    ProgressCollection none;
    EXPECT_EQ(lib->getTasks(logicalAddr(0, 9), none).getReturn(), -12);
    EXPECT_EQ(none.getSize(), 0);
}

// ---------------------------------------------------------------- paths

std::string printed(const _LDTree& path)
{
    char text[48];
    std::memset(text, 'x', sizeof text);
    const int n = LDPathUtils::sPrintPath(path, text, sizeof text);
    EXPECT_TRUE(n >= 0 && n <= LDPathUtils::MAX_TEXT && text[n] == '\0') << n;
    return text;
}

TEST_F(PelmTest, PathTextsAreUniqueBoundedAndExtendTheirControllers)
{
    for (const pelmsim::Scenario& scenario : {pelmsim::defaultScenario(), pelmsim::fullScenario(3)}) {
        pelmsim::reset(scenario);
        read();
        std::set<std::string> texts;
        size_t objects = 0;
        for (const char* className : {"Adapter", "HardDrive", "LogicalDrive"}) {
            for (RaidObject* object : all<RaidObject>(className)) {
                ++objects;
                _LDTree byObject = {}, byAddress = {}, ofAdapter = {};
                ASSERT_EQ(lib->getPath(object, byObject).getReturn(), 0);
                ASSERT_EQ(lib->getPath(object->getAddr(), byAddress).getReturn(), 0);
                Addr adapter = adapterAddr(object->getAdapterID());
                ASSERT_EQ(lib->getPath(adapter, ofAdapter).getReturn(), 0);
                const std::string text = printed(byObject);
                EXPECT_EQ(printed(byAddress), text);
                texts.insert(text);
                char relative[48];
                LDPathUtils::sPrintRelativePath(byObject, relative, sizeof relative);
                EXPECT_EQ(text, printed(ofAdapter) + relative);
            }
        }
        EXPECT_EQ(texts.size(), objects);
    }
}

TEST_F(PelmTest, EventPathsNameTheirObjectsBelowTheController)
{
    read();
    _LDTree adapter = {}, disk = {}, logical = {};
    Addr a = adapterAddr(0), d = driveAddr(0, 1, 2), l = logicalAddr(0, 1);
    ASSERT_EQ(lib->getPath(a, adapter).getReturn(), 0);
    ASSERT_EQ(lib->getPath(d, disk).getReturn(), 0);
    ASSERT_EQ(lib->getPath(l, logical).getReturn(), 0);
    const std::vector<Attributes> events = eventsIn(fetchEvents(*lib, 0, 2).text);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(printed(adapter), "pelm/02:04.0");
    EXPECT_EQ(printed(adapter) + events[0].at("LDPath"), printed(disk));
    EXPECT_EQ(printed(adapter) + events[1].at("LDPath"), printed(logical));
}

TEST(PelmPathText, IsCutToTheBufferAndAlwaysTerminated)
{
    _LDTree path = {};
    path.kind = LDTREE_HARD_DRIVE;
    path.pciBus = 0xFF;
    path.pciDevice = 0x1F;
    path.pciFunction = 7;
    path.channel = 255;
    path.target = 65535;
    const struct {
        int size;
        int written;
        const char* text;
    } cases[] = {
        {48, 24, "pelm/ff:1f.7/c255/t65535"},
        {13, 12, "pelm/ff:1f.7"},
        {8, 7, "pelm/ff"},
        {1, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(LDPathUtils::sPrintPath(path, buffer, c.size), c.written);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.size], 'x'); // nothing beyond the size given
    }
    char untouched[4] = "abc";
    EXPECT_EQ(LDPathUtils::sPrintPath(path, untouched, 0), -1);
    EXPECT_EQ(LDPathUtils::sPrintPath(path, nullptr, 48), -1);
    EXPECT_STREQ(untouched, "abc");
    const _LDTree zero = {};
    char empty[8] = "abc";
    EXPECT_EQ(LDPathUtils::sPrintPath(zero, empty, sizeof empty), 0);
    EXPECT_STREQ(empty, "");
}

// A controller whose PCI place the record cannot hold.
class WideAdapter : public Adapter {
public:
    WideAdapter() { pciBus = 0x100; }
};

TEST_F(PelmTest, PathResultCodes)
{
    _LDTree path = {};
    Addr adapter = adapterAddr(0), missing = driveAddr(0, 5, 5);
    EXPECT_EQ(lib->getPath(adapter, path).getReturn(), -2); // no current system yet
    read();
    EXPECT_EQ(lib->getPath(missing, path).getReturn(), -12);
    EXPECT_EQ(lib->getPath(nullptr, path).getReturn(), -2);
    EXPECT_EQ(lib->getPath(all<RaidObject>("Channel").front(), path).getReturn(), -2);
    WideAdapter wide;
    EXPECT_EQ(lib->getPath(&wide, path).getReturn(), -2);
    EXPECT_EQ(path.kind, unsigned(LDTREE_NONE)); // failures leave the record alone
}

// ---------------------------------------------------------------- failures and the call log

// One call of an operation concerning a controller; its result code.
int callOn(PelmLib& lib, const std::string& operation, STORID_T adapter)
{
    if (operation == "getEvents")
        return fetchEvents(lib, adapter, 1).code;
    if (operation == "getTasks") {
        ProgressCollection tasks;
        return lib.getTasks(logicalAddr(adapter, 0), tasks).getReturn();
    }
    _LDTree path = {};
    Addr a = adapterAddr(adapter);
    return lib.getPath(a, path).getReturn();
}

TEST_F(PelmTest, InjectedFailuresByOperationAndController)
{
    const struct {
        const char* operation;
        int adapter;
        bool every;
        unsigned after;
        std::vector<STORID_T> calls;
        std::vector<int> codes;
    } cases[] = {
        {"getEvents", 1, false, 0, {0, 1, 1}, {0, -5, 0}},
        {"getEvents", pelmsim::ANY_ADAPTER, true, 0, {0, 1, 0}, {-5, -5, -5}},
        {"getTasks", pelmsim::ANY_ADAPTER, false, 2, {0, 1, 0, 0}, {0, 0, -5, 0}},
        {"getPath", 0, true, 1, {0, 1, 0, 0}, {0, 0, -5, -5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.operation) + " adapter " + std::to_string(c.adapter));
        pelmsim::reset();
        read();
        pelmsim::injectFailure(c.operation, -5, c.adapter, c.every, c.after);
        std::vector<int> codes;
        for (STORID_T adapter : c.calls)
            codes.push_back(callOn(*lib, c.operation, adapter));
        EXPECT_EQ(codes, c.codes);
        pelmsim::clearFailures();
        EXPECT_EQ(callOn(*lib, c.operation, c.calls.front()), 0);
    }
}

TEST_F(PelmTest, AFailedConfigurationReadKeepsTheCurrentSystem)
{
    System* before = read();
    pelmsim::injectFailure("getSystemConfig", -5);
    EXPECT_EQ(lib->getSystemConfig().getReturn(), -3);
    EXPECT_EQ(lib->getSystem(), before);
    EXPECT_EQ(lib->getSystemConfig().getReturn(), 0);
    EXPECT_NE(lib->getSystem(), before);
}

TEST_F(PelmTest, AControllerThatCannotBeReadIsLeftOut)
{
    pelmsim::injectFailure("getSystemConfig", -5, 0);
    EXPECT_EQ(lib->getSystemConfig().getReturn(), -5);
    ASSERT_EQ(lib->getSystem()->getNumAdapters(), 1u);
    EXPECT_EQ(lib->getSystem()->getAdapter(0)->getAdapterID(), 1u);
    EXPECT_EQ(read()->getNumAdapters(), 2u);
}

TEST_F(PelmTest, CallLogRecordsEveryOperationWithItsResult)
{
    read();
    fetchEvents(*lib, 0, 2);
    fetchEvents(*lib, 5, 7);
    read();
    const std::vector<pelmsim::Call> log = pelmsim::calls();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(pelmsim::calls("getSystemConfig").size(), 2u);
    EXPECT_EQ(log[1].operation, "getEvents");
    EXPECT_EQ(log[1].adapter, 0);
    EXPECT_EQ(log[1].from, 2ul);
    EXPECT_EQ(log[1].address, adapterAddr(0));
    EXPECT_EQ(log[1].result, 0);
    EXPECT_EQ(log[2].adapter, 5);
    EXPECT_EQ(log[2].result, -12);
    EXPECT_EQ(log[3].operation, "getSystemConfig");
    pelmsim::clearCalls();
    EXPECT_TRUE(pelmsim::calls().empty());
}

TEST_F(PelmTest, NextLibraryAllocationFailsOnce)
{
    pelmsim::failNextAllocation();
    PelmLib* none = new PelmLib;
    EXPECT_EQ(none, nullptr);
    std::unique_ptr<PelmLib> next(new PelmLib);
    EXPECT_NE(next, nullptr);
}

TEST_F(PelmTest, ResetForgetsFailuresCallsAndAPendingAllocationFailure)
{
    read();
    pelmsim::injectFailure("getEvents", -5, pelmsim::ANY_ADAPTER, true);
    pelmsim::failNextAllocation();
    pelmsim::reset();
    EXPECT_TRUE(pelmsim::calls().empty());
    read();
    EXPECT_EQ(fetchEvents(*lib, 0, 1).code, 0);
    std::unique_ptr<PelmLib> next(new PelmLib);
    EXPECT_NE(next, nullptr);
}

} // namespace
