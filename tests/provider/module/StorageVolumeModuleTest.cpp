// The storage volumes of the three simulated families through the module as
// a CIM server loads it: the test broker drives libkrnacim through CMPI
// alone, and cim_enum prints them.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <cimple/Time.h>

#include "Broker.h"
#include "PelmSim.h"
#include "TarnellSim.h"
#include "VeskSim.h"
#include "external/pelmcore/PelmTestSupport.h"
#include "support/TestUtil.h"

using namespace cimbroker;

namespace {

const char* const NS = "root/krna";
const char* const CLASS = "KRNA_StorageVolume";

std::string hostName()
{
    char name[256] = {};
    return gethostname(name, sizeof name - 1) == 0 ? name : "localhost";
}

std::string currentDirectory()
{
    char dir[4096];
    return getcwd(dir, sizeof dir) ? dir : ".";
}

std::atomic<cimple::uint64> now{1714986000ull * 1000000ull};
cimple::uint64 fakeClock() { return now.load(); }

std::string text(const Inst& inst, const char* property)
{
    const Value* v = inst.prop(property);
    return v ? valueText(*v) : "(absent)";
}

// The DeviceIDs of the default scenarios, in the order of an enumeration:
// the Qorl family, the Tarnell family with its sub-logical drives, Pelm.
std::vector<std::string> defaultDeviceIDs()
{
    const std::string h = hostName() + ":";
    std::vector<std::string> ids;
    for (const char* id : {"VSK0042:0", "VSK0042:1", "VSK0042:2", "VSK0042:3", "5-0-1:0", "ZQA3120045:0",
                           "ZQA3120045:1", "ZQA3120045:2", "ZQA3120045:3", "ZQA3120045:4", "0-0-0:0", "0-0-0:1",
                           "0-0-0:2", "0-0-0:3", "ZQA3120045:16", "ZQA3120045:17", "0-0-0:10", "0-0-0:11",
                           "PLM0004711:0", "PLM0004711:1", "3-0-0:0"})
        ids.push_back("\"" + h + id + "\"");
    return ids;
}

class StorageVolumeModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        tarnellsim::reset();
        vesksim::reset();
        pelmsim::reset();
        now = 1714986000ull * 1000000ull;
        previousClock = cimple::Time::set_clock(&fakeClock);
        broker.reset(new Broker());
        std::string error;
        ASSERT_TRUE(broker->loadModule(KRNACIM_MODULE, &error)) << error;
        // The module's logs go to this test's directory.
        void* module = dlopen(KRNACIM_MODULE, RTLD_NOW | RTLD_NOLOAD);
        ASSERT_NE(nullptr, module);
        auto setLogDirectory = reinterpret_cast<void (*)(const char*)>(dlsym(module, "krnaSetLogDirectory"));
        ASSERT_NE(nullptr, setLogDirectory);
        setLogDirectory(currentDirectory().c_str());
        restoreLogs = [setLogDirectory, module] {
            setLogDirectory(nullptr);
            dlclose(module);
        };
    }

    void TearDown() override
    {
        // Unloads the providers: the last unload deletes the builders.
        broker->cleanupAll();
        for (const std::string& v : broker->violations())
            ADD_FAILURE() << v;
        broker.reset();
        if (restoreLogs)
            restoreLogs();
        cimple::Time::set_clock(previousClock);
    }

    std::vector<Inst> enumerate()
    {
        std::vector<Inst> out;
        Status st = broker->enumerateInstances(NS, CLASS, out);
        EXPECT_TRUE(st.ok()) << rcName(st.rc) << " " << st.msg;
        return out;
    }

    static std::vector<std::string> deviceIDs(const std::vector<Inst>& volumes)
    {
        std::vector<std::string> ids;
        for (const Inst& v : volumes)
            ids.push_back(text(v, "DeviceID"));
        return ids;
    }

    std::unique_ptr<Broker> broker;
    cimple::Time::Clock_Proc previousClock = nullptr;
    std::function<void()> restoreLogs;
};

TEST_F(StorageVolumeModule, EnumeratesTheVolumesOfTheThreeFamilies)
{
    const std::vector<Inst> volumes = enumerate();
    EXPECT_EQ(defaultDeviceIDs(), deviceIDs(volumes));
    ASSERT_FALSE(volumes.empty());
    const std::string h = hostName();
    EXPECT_EQ(
        "instance of KRNA_StorageVolume\n{\n"
        "    Caption = \"\";\n    Description = \"\";\n    ElementName = \"Boot\";\n"
        "    InstallDate = \"20070305143015.250000+000\";\n    Name = \"Logical Drive 0\";\n"
        "    OperationalStatus = {2};\n    StatusDescriptions = {};\n    Status = \"\";\n    EnabledState = 0;\n"
        "    OtherEnabledState = \"\";\n    RequestedState = 0;\n    EnabledDefault = 0;\n"
        "    TimeOfLastStateChange = \"00000000000000.000000:000\";\n"
        "    SystemCreationClassName = \"KRNA_ControllerComputerSystem\";\n    SystemName = \"" +
            h +
            "\";\n"
            "    CreationClassName = \"KRNA_StorageVolume\";\n    DeviceID = \"" +
            h +
            ":VSK0042:0\";\n"
            "    PowerManagementSupported = false;\n    PowerManagementCapabilities = {};\n    Availability = 0;\n"
            "    StatusInfo = 0;\n    LastErrorCode = 0;\n    ErrorDescription = \"\";\n    ErrorCleared = false;\n"
            "    OtherIdentifyingInfo = {};\n    PowerOnHours = 0;\n    TotalPowerOnHours = 0;\n"
            "    IdentifyingDescriptions = {};\n    AdditionalAvailability = {};\n    MaxQuiesceTime = 0;\n"
            "    DataOrganization = 0;\n    Purpose = \"\";\n    Access = 0;\n    ErrorMethodology = \"\";\n"
            "    BlockSize = 512;\n    NumberOfBlocks = 64000000;\n    ConsumableBlocks = 64000000;\n"
            "    IsBasedOnUnderlyingRedundancy = true;\n    SequentialAccess = false;\n    ExtentStatus = {2};\n"
            "    NoSinglePointOfFailure = true;\n    DataRedundancy = 2;\n    PackageRedundancy = 1;\n"
            "    DeltaReservation = 1;\n    Primordial = false;\n    NameFormat = 1;\n    NameNamespace = 0;\n"
            "    OtherNameNamespace = \"\";\n    OtherNameFormat = \"\";\n};\n",
        mofText(volumes[0]));
    // A Tarnell drive: MB counted in blocks, its creation date at midnight;
    // a Pelm drive: no creation time.
    EXPECT_EQ("40960000", text(volumes[5], "NumberOfBlocks"));
    EXPECT_EQ("\"20231114000000.000000+000\"", text(volumes[5], "InstallDate"));
    EXPECT_EQ("\"Logical Drive\"", text(volumes[5], "ElementName"));
    EXPECT_EQ("69632000", text(volumes[18], "NumberOfBlocks"));
    EXPECT_EQ("\"00000000000000.000000:000\"", text(volumes[18], "InstallDate"));
    // The module's log went where the test pointed it.
    EXPECT_NE(std::string::npos, testsupport::readFile("krnaprov.log").find("Found 21 Logical Drive(s)"));
}

TEST_F(StorageVolumeModule, GetsAVolumeByItsPathAndNothingElse)
{
    const std::vector<Inst> volumes = enumerate();
    ASSERT_EQ(21u, volumes.size());
    Inst got;
    ASSERT_TRUE(broker->getInstance(volumes[12].path, got).ok());
    EXPECT_EQ(mofText(volumes[12]), mofText(got));

    Path missing = volumes[12].path;
    for (auto& key : missing.keys)
        if (key.first == "DeviceID")
            key.second = Value::string(hostName() + ":0-0-0:99");
    EXPECT_EQ(CMPI_RC_ERR_NOT_FOUND, broker->getInstance(missing, got).rc);

    Named out;
    Value ret;
    EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED, broker->invokeMethod(volumes[12].path, "Reset", {}, out, ret).rc);
    EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED,
              broker->invokeMethod(volumes[12].path, "RequestStateChange",
                                   {{"RequestedState", Value::uint(CMPI_uint16, 3)}}, out, ret)
                  .rc);
}

TEST_F(StorageVolumeModule, EachFamilyIsReadAtMostOnceIn180Seconds)
{
    enumerate(); // the builders read at load, and again at their first use
    EXPECT_EQ(2u, vesksim::configurationReads());
    EXPECT_EQ(2u, pelmsim::calls("getSystemConfig").size());
    now += 179ull * 1000000ull;
    enumerate();
    EXPECT_EQ(2u, vesksim::configurationReads());
    // A volume that goes shows with the next read.
    vesksim::Scenario scenario = vesksim::defaultScenario();
    scenario.controllers.at(1).arrays.clear();
    vesksim::reset(scenario);
    EXPECT_EQ(21u, enumerate().size());
    now += 1000000ull;
    EXPECT_EQ(20u, enumerate().size());
    EXPECT_EQ(1u, vesksim::configurationReads());
    EXPECT_EQ(3u, pelmsim::calls("getSystemConfig").size());
}

TEST_F(StorageVolumeModule, EnumerationsOnSeveralThreads)
{
    std::vector<std::thread> threads;
    std::atomic<int> complete{0};
    for (int t = 0; t < 4; t++)
        threads.emplace_back([&] {
            for (int i = 0; i < 3; i++) {
                std::vector<Inst> out;
                if (broker->enumerateInstances(NS, CLASS, out).ok() && deviceIDs(out) == defaultDeviceIDs())
                    complete++;
                now += 61ull * 1000000ull; // every third request refreshes
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(12, complete.load());
}

TEST_F(StorageVolumeModule, CimEnumListsTheVolumes)
{
    // Under the sanitizers the core's dlopen finds the simulated C API only
    // through the library path.
    const std::string module = KRNACIM_MODULE;
    const std::string lib = module.substr(0, module.rfind('/'));
    const std::string command = "LD_LIBRARY_PATH=" + lib + " " + CIM_ENUM + " --module " + module + " " + CLASS;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(nullptr, pipe);
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    std::vector<std::string> ids;
    for (size_t at = output.find("    DeviceID = "); at != std::string::npos;
         at = output.find("    DeviceID = ", at + 1)) {
        const size_t start = at + 15;
        ids.push_back(output.substr(start, output.find(';', start) - start));
    }
    EXPECT_EQ(defaultDeviceIDs(), ids);
}

} // namespace
