// The alert indications of the module as a CIM server receives them, with
// the real family monitors over the simulated controllers: changes in each
// family reach the broker as the mapped class naming the element, while
// inventory enumerations run; disabling and unloading leave no thread.

#include <dirent.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "IndicationSeams.h"
#include "ModuleTestSupport.h"
#include "PelmSim.h"
#include "storagedll/raidrec.h"

using namespace cimbroker;
using moduletest::text;

namespace {

const char* const ALERT = "KRNA_RaidMonitorAlertIndication";

size_t threadCount()
{
    size_t n = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(dir))
            n += entry->d_name[0] != '.';
        closedir(dir);
    }
    return n;
}

class AlertIndicationModule : public moduletest::ModuleTest {
protected:
    void SetUp() override
    {
        seams.reset(new providertest::IndicationSeams);
        ModuleTest::SetUp();
    }
    void TearDown() override
    {
        ModuleTest::TearDown();
        seams.reset();
    }
    // The deliveries of the classes whose names begin with cls and whose
    // element path contains the text.
    size_t countOf(const std::string& cls, const std::string& element)
    {
        size_t n = 0;
        for (const Broker::Delivery& d : broker->deliveries()) {
            if (d.indication.path.cls.compare(0, cls.size(), cls) == 0 &&
                text(d.indication, "AlertingManagedElement").find(element) != std::string::npos)
                n++;
        }
        return n;
    }
    // Waits (enumerating volumes meanwhile) until more than `before` such
    // deliveries arrived; false after ten seconds.
    bool waitForMore(const std::string& cls, const std::string& element, size_t before)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (int round = 0; std::chrono::steady_clock::now() < end; ++round) {
            if (countOf(cls, element) > before)
                return true;
            if (round % 50 == 0)
                enumerate("KRNA_StorageVolume");
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // The deliveries as "class element" lines, for failure messages.
    std::string delivered()
    {
        std::string out;
        for (const Broker::Delivery& d : broker->deliveries())
            out += d.indication.path.cls + " " + text(d.indication, "AlertingManagedElement") + "\n";
        return out;
    }

    std::unique_ptr<providertest::IndicationSeams> seams;
};

TEST_F(AlertIndicationModule, ChangesInEachFamilyReachTheBrokerAsTheirClass)
{
    // A first thread makes a sanitizer start its own helper thread, if any.
    std::thread([] {}).join();
    const size_t threadsBefore = threadCount();
    ASSERT_TRUE(broker->activateFilter(moduletest::NS, ALERT).ok());
    ASSERT_TRUE(broker->enableIndications(ALERT).ok());
    // The start-up checks report the default scenarios' critical Vesk drive.
    ASSERT_TRUE(waitForMore("KRNA_LogicalDriveCritical", ":VSK0042:2\\\"", 0)) << delivered();

    // A Vesk logical drive goes critical.
    vesksim::Scenario vesk = vesksim::current();
    vesk.controllers[0].arrays[0].logicalDrives[0].state = CRITICAL;
    vesksim::reset(vesk);
    EXPECT_TRUE(waitForMore("KRNA_LogicalDriveCritical", ":VSK0042:0\\\"", 0)) << delivered();

    // A drive fails in the Tarnell simulator (reported with its FRU number).
    tarnellsim::Scenario tarnell = tarnellsim::current();
    std::string serial;
    for (tarnellsim::Device& device : tarnell.controllers[0].devices) {
        if (serial.empty() && device.type == tarnellsim::DEVTYPE_DISK && device.state == DEVSTATE_ONLINE) {
            device.state = DEVSTATE_DEAD;
            serial = device.serial;
        }
    }
    ASSERT_FALSE(serial.empty());
    const std::string tarnellKey = "DeviceID=\\\"" + serial + ":";
    const size_t tarnellBefore = countOf("KRNA_DefunctDrive", tarnellKey);
    tarnellsim::reset(tarnell);
    EXPECT_TRUE(waitForMore("KRNA_DefunctDrive", tarnellKey, tarnellBefore)) << delivered();

    // And one in the Pelm simulator.
    std::string pelmSerial;
    const pelmsim::Scenario pelm = pelmsim::current();
    for (const auto& drive : pelm.controllers[0].drives) {
        if (drive.channel == 1 && drive.target == 3)
            pelmSerial = drive.serial;
    }
    const std::string pelmKey = "DeviceID=\\\"" + pelmSerial + ":";
    const size_t pelmBefore = countOf("KRNA_DefunctDrive", pelmKey);
    ASSERT_TRUE(pelmsim::setDriveState(0, 1, 3, DRIVE_DEAD));
    EXPECT_TRUE(waitForMore("KRNA_DefunctDrive", pelmKey, pelmBefore)) << delivered();

    // Every indication names the host and carries consecutive numbers.
    const std::vector<Broker::Delivery> all = broker->deliveries();
    for (size_t i = 1; i < all.size(); ++i) {
        const std::string a = text(all[i - 1].indication, "IndicationIdentifier");
        const std::string b = text(all[i].indication, "IndicationIdentifier");
        EXPECT_EQ(std::stol(b.substr(1)), std::stol(a.substr(1)) + 1) << a << " " << b;
    }

    ASSERT_TRUE(broker->disableIndications(ALERT).ok());
    broker->deactivateFilter(moduletest::NS, ALERT);
    EXPECT_EQ(threadCount(), threadsBefore);
    broker->cleanupAll();
    EXPECT_EQ(threadCount(), threadsBefore);
}

TEST_F(AlertIndicationModule, MonitorCoreNamesOfTheModuleResolveIntoLibwatchqorl)
{
    // Looked up in the module's own load order, as its references bind.
    void* module = dlopen(KRNACIM_MODULE, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr);
    for (const char* name : {"_ZN15BaseRaidMonitor17getNumberOfEventsEv", "_ZN15BaseRaidMonitor9getEventsEP8NRMEventi",
                             "_ZN15BaseRaidMonitor9isStoppedEv", "_ZN8NRMEventC1Ev"}) {
        void* symbol = dlsym(module, name);
        Dl_info info{};
        ASSERT_TRUE(symbol && dladdr(symbol, &info)) << name;
        EXPECT_NE(std::string(info.dli_fname).find("/libwatchqorl.so"), std::string::npos) << name << " "
                                                                                          << info.dli_fname;
    }
    dlclose(module);
}

// cim_enum --indications over a copy of the built libraries in the test's
// directory, so that the monitors' files and the module's logs stay there:
// the default scenarios' changes arrive as numbered indications of the
// module's classes, and the program ends by itself; early, with status 2,
// when they cannot be written.
TEST(AlertIndicationCimEnum, PrintsTheIndicationsOfTheDefaultScenarios)
{
    namespace fs = std::filesystem;
    const fs::path built = fs::path(KRNACIM_MODULE).parent_path();
    const fs::path lib = fs::current_path() / "lib";
    fs::create_directory(lib);
    fs::create_directory(fs::current_path() / "logs");
    for (const fs::directory_entry& entry : fs::directory_iterator(built)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && (entry.path().extension() == ".so" || name == "RaidNLS.properties"))
            fs::copy_file(entry.path(), lib / name);
    }

    std::string output;
    ASSERT_EQ(0, moduletest::runCimEnum("--indications 4", output, (lib / "libkrnacim.so").string())) << output;
    std::vector<std::string> classes;
    for (size_t at = output.find("instance of "); at != std::string::npos; at = output.find("instance of ", at + 1)) {
        const size_t start = at + 12;
        classes.push_back(output.substr(start, output.find('\n', start) - start));
        const size_t id = output.find("IndicationIdentifier = \"", at);
        ASSERT_NE(id, std::string::npos);
        EXPECT_EQ(output.compare(id + 24, std::to_string(classes.size()).size() + 1,
                                 std::to_string(classes.size()) + "-"),
                  0)
            << output.substr(at, 200);
        EXPECT_EQ(classes.back().rfind("KRNA_", 0), 0u) << classes.back();
    }
    // Among them the critical Vesk logical drive of the default scenario.
    EXPECT_NE(std::find(classes.begin(), classes.end(), "KRNA_LogicalDriveCritical"), classes.end()) << output;
    EXPECT_TRUE(fs::exists(lib / "NRMConfig.conf"));
    EXPECT_TRUE(fs::exists(fs::current_path() / "logs" / "krnalogs" / "KRNAIndication.log"));

    // Indications that cannot be written end the watch: status 2, with the
    // message (standard error is what the test reads here).
    EXPECT_EQ(2, moduletest::runCimEnum("--indications 4 2>&1 >/dev/full", output, (lib / "libkrnacim.so").string()))
        << output;
    EXPECT_NE(output.find("cim_enum: the output cannot be written: "), std::string::npos) << output;
}

} // namespace
