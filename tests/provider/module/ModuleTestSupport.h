#ifndef TESTS_PROVIDER_MODULE_MODULETESTSUPPORT_H
#define TESTS_PROVIDER_MODULE_MODULETESTSUPPORT_H

// Shared by the tests of libkrnacim as a CIM server loads it: every test
// starts from the default scenarios of the three simulated families, on a
// clock of its own, with the module loaded by the test broker and its log in
// the test's directory; it ends with every provider unloaded.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <cimple/Time.h>

#include "Broker.h"
#include "PelmSim.h"
#include "TarnellSim.h"
#include "VeskSim.h"
#include "external/pelmcore/PelmTestSupport.h"
#include "support/TestUtil.h"

namespace moduletest {

const char* const NS = "root/krna";

inline std::string hostName()
{
    char name[256] = {};
    return gethostname(name, sizeof name - 1) == 0 ? name : "localhost";
}

inline std::string currentDirectory()
{
    char dir[4096];
    return getcwd(dir, sizeof dir) ? dir : ".";
}

// The framework's clock, moved by the tests; microseconds since 1970.
inline std::atomic<cimple::uint64>& now()
{
    static std::atomic<cimple::uint64> clock{1714986000ull * 1000000ull};
    return clock;
}
inline cimple::uint64 fakeClock() { return now().load(); }

// A property as MOF text ("(absent)" when the instance has none).
inline std::string text(const cimbroker::Inst& inst, const char* property)
{
    const cimbroker::Value* v = inst.prop(property);
    return v ? cimbroker::valueText(*v) : "(absent)";
}

// What a shell command prints on its standard output, with its exit status
// (-1 when it could not run or did not exit).
inline int runCommand(const std::string& command, std::string& output)
{
    output.clear();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What cim_enum prints for its arguments (a class, or options and a class),
// with its exit status; the module by default is the built one.
inline int runCimEnum(const std::string& arguments, std::string& output, const std::string& module = KRNACIM_MODULE)
{
    // Under the sanitizers the core's dlopen finds the simulated C API only
    // through the library path.
    const std::string lib = module.substr(0, module.rfind('/'));
    return runCommand("LD_LIBRARY_PATH=" + lib + " " + CIM_ENUM + " --module " + module + " " + arguments, output);
}

// The number of instances cim_enum prints for the class (or options and a
// class); -1 when it fails.
inline long cimEnumCount(const std::string& cls, const std::string& module = KRNACIM_MODULE)
{
    std::string output;
    if (runCimEnum(cls, output, module) != 0)
        return -1;
    long instances = 0;
    for (size_t at = output.find("instance of "); at != std::string::npos; at = output.find("instance of ", at + 1))
        instances++;
    return instances;
}

// A class and the number of instances the default scenarios give.
struct ClassCount {
    const char* cls;
    size_t count;
    bool association;
};

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tarnellsim::reset();
        vesksim::reset();
        pelmsim::reset();
        now() = 1714986000ull * 1000000ull;
        previousClock = cimple::Time::set_clock(&fakeClock);
        broker.reset(new cimbroker::Broker());
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

    // The instances of the class; a failure is reported.
    std::vector<cimbroker::Inst> enumerate(const std::string& cls)
    {
        std::vector<cimbroker::Inst> out;
        cimbroker::Status st = broker->enumerateInstances(NS, cls, out);
        EXPECT_TRUE(st.ok()) << cls << ": " << cimbroker::rcName(st.rc) << " " << st.msg;
        return out;
    }

    std::unique_ptr<cimbroker::Broker> broker;
    cimple::Time::Clock_Proc previousClock = nullptr;
    std::function<void()> restoreLogs;
};

} // namespace moduletest

#endif
