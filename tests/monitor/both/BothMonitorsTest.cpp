// One process with both monitor libraries: the test opens a module linked
// like the provider module and checks that the monitor core's names it calls
// bound to the first monitor library of its load order (libwatchpelm, or
// libwatchqorl ahead of it), and that the events of a Pelm and a Tarnell
// monitor come out whole through them. The test program itself links no
// monitor library.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <ostream>
#include <sys/stat.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "BothMonitors.h"
#include "support/TestUtil.h"

// Both monitor libraries define the monitor core's globals (the debug mask,
// the event record's names) alike, and the loader serves them from the first
// one; the sanitizer reports such a pair only when the sizes differ, a real
// layout conflict. (Exported: the sanitizer runtime looks it up.)
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options()
{
    return "detect_odr_violation=1";
}

namespace {

const uint32_t UNSET = 0x7FFFFFFF;
const int CYCLES = 30;

void writeFile(const std::string& path, const std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr) << path;
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

// A module and the library that serves the monitor core in its load order.
struct LoadOrder {
    const char* module;
    const char* coreLibrary;
};
void PrintTo(const LoadOrder& order, std::ostream* out) { *out << order.coreLibrary; }

class BothMonitorsTest : public ::testing::TestWithParam<LoadOrder> {
protected:
    void SetUp() override
    {
        handle = dlopen(GetParam().module, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        run = reinterpret_cast<BothRunFunction>(dlsym(handle, "bothMonitorsRun"));
        bindings = reinterpret_cast<BothBindingsFunction>(dlsym(handle, "bothMonitorsBindings"));
        ASSERT_NE(run, nullptr);
        ASSERT_NE(bindings, nullptr);
    }
    void TearDown() override
    {
        if (handle)
            dlclose(handle);
    }

    // The monitors' library directory in the test's own directory, with the
    // test catalogue, and the maps file naming it.
    void prepareDirectories()
    {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        libDir = std::string(here) + "/lib/";
        mapsFile = std::string(here) + "/maps";
        ASSERT_EQ(mkdir(libDir.c_str(), 0755), 0);
        writeFile(libDir + "RaidNLS.properties",
                  testsupport::readFile(std::string(MONITOR_TEST_DATA) + "/MonitorTest.properties") +
                      testsupport::readFile(std::string(TARNELL_TEST_DATA) + "/TarnellMonitorTest.properties"));
        writeFile(mapsFile, "7f3a1c000000-7f3a1c021000 r-xp 00000000 08:01 131 " + libDir +
                                             "libwatchtest.so\n");
    }

    std::vector<BothEvent> of(int family, int eventId) const
    {
        std::vector<BothEvent> out;
        for (const BothEvent& e : events) {
            if (e.family == family && e.eventId == eventId)
                out.push_back(e);
        }
        return out;
    }

    void* handle = nullptr;
    BothRunFunction run = nullptr;
    BothBindingsFunction bindings = nullptr;
    std::string libDir, mapsFile;
    std::vector<BothEvent> events;
};

TEST_P(BothMonitorsTest, ProviderNamesBindToTheFirstMonitorLibrary)
{
    void* addresses[3] = {};
    bindings(addresses);
    const char* const names[] = {"getNumberOfEvents", "getEvents", "isStopped"};
    for (int k = 0; k < 3; ++k) {
        Dl_info info{};
        ASSERT_NE(dladdr(addresses[k], &info), 0) << names[k];
        ASSERT_NE(info.dli_fname, nullptr) << names[k];
        EXPECT_NE(std::string(info.dli_fname).find(GetParam().coreLibrary), std::string::npos)
            << names[k] << " bound to " << info.dli_fname;
    }
}

TEST_P(BothMonitorsTest, EventsOfBothFamiliesArriveWholeAndBothMonitorsStop)
{
    prepareDirectories();
    events.resize(400);
    BothRun result{};
    ASSERT_EQ(run(libDir.c_str(), mapsFile.c_str(), CYCLES, events.data(), static_cast<int>(events.size()), &result),
              0);
    events.resize(static_cast<size_t>(result.events));
    for (int family : {BOTH_FAMILY_PELM, BOTH_FAMILY_TARNELL}) {
        SCOPED_TRACE(family == BOTH_FAMILY_PELM ? "Pelm" : "Tarnell");
        EXPECT_EQ(result.waits[family], CYCLES);
        EXPECT_EQ(result.stopped[family], 1);
        EXPECT_GT(result.queued[family], 0);
    }

    // Controllers added by the first run, the scripted change of each family
    // and the running rebuild's progress, each with every field it carries.
    struct Expected {
        int family, eventId, severity, objectType;
        uint32_t adapter, array, logicalDrive, channel, device;
        const char* textStart;
        const char* adapterSerial;
        const char* deviceSerial;
    };
    const Expected expected[] = {
        {BOTH_FAMILY_PELM, 207, 3, 2, 0, UNSET, UNSET, UNSET, UNSET,
         "agentEventInfControllerAdded[eventArgController[eventArgController2[1| Pelmark PELM U160 RAID #PLM0004711|2]]",
         "PLM0004711", ""},
        {BOTH_FAMILY_PELM, 207, 3, 2, 1, UNSET, UNSET, UNSET, UNSET,
         "agentEventInfControllerAdded[eventArgController[eventArgController2[2| Pelmark PELM SATA RAID|3]]", "3-0-0",
         ""},
        {BOTH_FAMILY_PELM, 418, 2, 5, 0, UNSET, UNSET, 0, 1, "agentEventWrnBadBlock[eventArgControllerScsiDevice[", "",
         "3JA0A002"},
        {BOTH_FAMILY_TARNELL, 207, 3, 2, 0, UNSET, UNSET, UNSET, UNSET,
         "agentEventInfControllerAdded[eventArgController[eventArgController2[1| ZEQ Tarnell B2 #ZQA3120045|3]]",
         "ZQA3120045", ""},
        {BOTH_FAMILY_TARNELL, 207, 3, 2, 1, UNSET, UNSET, UNSET, UNSET,
         "agentEventInfControllerAdded[eventArgController[eventArgController2[2| ZEQ Tarnell C0|6]]", "0-0-0", ""},
        {BOTH_FAMILY_TARNELL, 404, 1, 5, 0, 0, UNSET, 0, 0, "", "ZQA3120045", "3KA00101"},
    };
    for (const Expected& x : expected) {
        SCOPED_TRACE(std::to_string(x.family) + " " + std::to_string(x.eventId) + " on controller " +
                     std::to_string(x.adapter));
        const BothEvent* found = nullptr;
        for (const BothEvent& e : events) {
            if (!found && e.family == x.family && e.eventId == x.eventId && e.adapter == x.adapter &&
                e.array == x.array && e.logicalDrive == x.logicalDrive && e.channel == x.channel &&
                e.device == x.device)
                found = &e;
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->severity, x.severity);
        EXPECT_EQ(found->objectType, x.objectType);
        EXPECT_EQ(std::string(found->text).rfind(x.textStart, 0), 0u) << found->text;
        EXPECT_GT(std::strlen(found->text), std::strlen(x.textStart)) << found->text;
        EXPECT_STREQ(found->adapterSerial, x.adapterSerial);
        EXPECT_STREQ(found->deviceSerial, x.deviceSerial);
        EXPECT_EQ(found->percentComplete, 0);
    }

    // The running rebuilds: logical drive 1 of Pelm controller 0 from 35 %,
    // logical drive 3 of Tarnell controller 0, their percentages rising and
    // named in the text.
    for (int family : {BOTH_FAMILY_PELM, BOTH_FAMILY_TARNELL}) {
        SCOPED_TRACE(family == BOTH_FAMILY_PELM ? "Pelm" : "Tarnell");
        const std::vector<BothEvent> progress = of(family, 372);
        ASSERT_FALSE(progress.empty());
        int before = family == BOTH_FAMILY_PELM ? 35 : 0;
        for (const BothEvent& e : progress) {
            EXPECT_EQ(e.objectType, 4);
            EXPECT_EQ(e.adapter, 0u);
            EXPECT_EQ(e.logicalDrive, family == BOTH_FAMILY_PELM ? 1u : 3u);
            EXPECT_GT(e.percentComplete, before);
            EXPECT_LT(e.percentComplete, 100);
            // A parameter of its own: "[41|" (Pelm) or "|37]" (Tarnell).
            const std::string text = e.text, percent = std::to_string(e.percentComplete);
            EXPECT_TRUE(text.find("[" + percent + "|") != std::string::npos ||
                        text.find("|" + percent + "]") != std::string::npos)
                << text;
            before = e.percentComplete;
        }
    }
}

const LoadOrder loadOrders[] = {
    {BOTH_MONITORS_MODULE, "/libwatchpelm.so"},
#ifdef QORL_MONITORS_MODULE
    {QORL_MONITORS_MODULE, "/libwatchqorl.so"},
#endif
};
INSTANTIATE_TEST_SUITE_P(LoadOrders, BothMonitorsTest, ::testing::ValuesIn(loadOrders),
                         [](const ::testing::TestParamInfo<LoadOrder>& info) {
                             return std::string(info.param.coreLibrary).find("qorl") != std::string::npos
                                        ? "WatchQorlFirst"
                                        : "WatchPelmFirst";
                         });

} // namespace
