#ifndef TESTS_PROVIDER_MODULE_MODULETESTSUPPORT_H
#define TESTS_PROVIDER_MODULE_MODULETESTSUPPORT_H

// Shared by the tests of libkrnacim as a CIM server loads it: every test
// starts from the default scenarios of the three simulated families, on a
// clock of its own (the framework's clock seam), with the module loaded by
// the test broker and its logs in the test's own directory; it ends with
// every provider unloaded.

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
    static std::atomic<cimple::uint64> clock{1714986000ull * 1000000ull}; // 2024-05-06 09:00:00 UTC
    return clock;
}
inline cimple::uint64 fakeClock() { return now().load(); }

// A property's value as MOF text; "(absent)" when the instance has none.
inline std::string text(const cimbroker::Inst& inst, const char* property)
{
    const cimbroker::Value* v = inst.prop(property);
    return v ? cimbroker::valueText(*v) : "(absent)";
}

// What cim_enum prints for the class over the module (exit status 0
// expected).
inline std::string cimEnum(const std::string& cls)
{
    // Under the sanitizers the core's dlopen finds the simulated C API only
    // through the library path.
    const std::string module = KRNACIM_MODULE;
    const std::string lib = module.substr(0, module.rfind('/'));
    const std::string command = "LD_LIBRARY_PATH=" + lib + " " + CIM_ENUM + " --module " + module + " " + cls;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return "";
    }
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    return output;
}

// The values cim_enum prints for one property, in order.
inline std::vector<std::string> printedValues(const std::string& output, const std::string& property)
{
    std::vector<std::string> values;
    const std::string label = "    " + property + " = ";
    for (size_t at = output.find(label); at != std::string::npos; at = output.find(label, at + 1)) {
        const size_t start = at + label.size();
        values.push_back(output.substr(start, output.find(';', start) - start));
    }
    return values;
}

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

    // The instances of the class, in the order the module gives them.
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
