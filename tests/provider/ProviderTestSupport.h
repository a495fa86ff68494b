#ifndef TESTS_PROVIDERTESTSUPPORT_H
#define TESTS_PROVIDERTESTSUPPORT_H

// Shared by the tests of the provider module's sources: every test starts
// from the default scenarios of the three simulated families, on a clock of
// its own (the framework's clock seam), on the host "node1", with every log
// of the module in its own directory; it ends with the builders gone.

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <string>
#include <vector>

#include <cimple/cimple.h>

#include "KRNALogger.h"
#include "KRNAProvUtil.h"
#include "KRNAProvider.h"
#include "PelmSim.h"
#include "TarnellSim.h"
#include "VeskSim.h"
#include "external/pelmcore/PelmTestSupport.h"
#include "support/TestUtil.h"

namespace providertest {

// The framework's clock, moved by the tests; microseconds since 1970.
inline std::atomic<cimple::uint64>& fakeNow()
{
    static std::atomic<cimple::uint64> now{1714986000ull * 1000000ull}; // 2024-05-06 09:00:00 UTC
    return now;
}
inline cimple::uint64 fakeClock() { return fakeNow().load(); }
inline void advanceSeconds(long long seconds)
{
    fakeNow() += static_cast<cimple::uint64>(seconds * 1000000ll);
}

inline int fixedHostName(char* name, size_t size)
{
    snprintf(name, size, "%s", "node1");
    return 0;
}

// The lookups of countedHostName, which answers as fixedHostName.
inline std::atomic<int>& hostNameLookups()
{
    static std::atomic<int> lookups{0};
    return lookups;
}
inline int countedHostName(char* name, size_t size)
{
    hostNameLookups()++;
    return fixedHostName(name, size);
}

inline std::string currentDirectory()
{
    char dir[4096];
    return getcwd(dir, sizeof dir) ? dir : ".";
}

// Configuration reads of each family since its simulation was reset.
inline size_t qorlReads() { return vesksim::configurationReads(); }
inline size_t tarnellReads() { return tarnellsim::calls("SupportedAdapterCount").size() / 2; }
inline size_t pelmReads() { return pelmsim::calls("getSystemConfig").size(); }

// The lines of a text, without their line ends.
inline std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The lines of the module's log, in order.
inline std::vector<std::string> logLines() { return splitLines(testsupport::readFile("krnaprov.log")); }

// The lines of the log without their time ("[debug] message") that contain
// the text, in order.
inline std::vector<std::string> logMessages(const std::string& containing)
{
    std::vector<std::string> out;
    for (const std::string& line : logLines()) {
        const size_t timeEnd = line.find("] ");
        const std::string message = timeEnd == std::string::npos ? line : line.substr(timeEnd + 2);
        if (message.find(containing) != std::string::npos)
            out.push_back(message);
    }
    return out;
}

// What a provider hands to an enumeration handler, kept (and released) here.
template <class T>
class Collected {
public:
    Collected() = default;
    ~Collected()
    {
        for (T* i : items)
            cimple::destroy(i);
    }
    Collected(const Collected&) = delete;
    Collected& operator=(const Collected&) = delete;

    cimple::Handler_Init init() { return cimple::Handler_Init{&Collected::take, this, nullptr}; }

    std::vector<T*> items;

private:
    static bool take(cimple::Instance* instance, void* data)
    {
        static_cast<Collected*>(data)->items.push_back(static_cast<T*>(instance));
        return true;
    }
};

// The instances of a provider's enumeration, and its status.
template <class Provider>
int enumerate(Provider& provider, Collected<typename Provider::Class>& out)
{
    cimple::Enum_Instances_Handler<typename Provider::Class> handler(out.init());
    return provider.enum_instances(nullptr, &handler);
}

// The DeviceIDs of instances, in order.
template <class T>
std::vector<std::string> deviceIDs(const std::vector<T*>& instances)
{
    std::vector<std::string> ids;
    for (const T* i : instances)
        ids.push_back(i->DeviceID.value.str());
    return ids;
}

class ProviderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tarnellsim::reset();
        vesksim::reset();
        pelmsim::reset();
        fakeNow() = 1714986000ull * 1000000ull;
        previousClock = cimple::Time::set_clock(&fakeClock);
        KRNALogger::setLogDirectory(currentDirectory().c_str());
        corvanecimple::KRNAProvUtil::setHostNameLookup(&fixedHostName);
    }

    void TearDown() override
    {
        using corvanecimple::KRNAProvider;
        // Whatever the test left loaded: the last unload deletes the builders.
        if (KRNAProvider::qorlConfigBuilder || KRNAProvider::tarnellConfigBuilder ||
            KRNAProvider::pelmConfigBuilder) {
            KRNAProvider::providerCount = 1;
            base.unload();
        }
        KRNAProvider::providerCount = 0;
        corvanecimple::KRNAProvUtil::setHostNameLookup(nullptr);
        KRNALogger::setLogDirectory(nullptr);
        cimple::Time::set_clock(previousClock);
        tarnellsim::reset();
        vesksim::reset();
        pelmsim::reset();
    }

    // A provider object of the base class alone, for load and unload.
    struct Base : corvanecimple::KRNAProvider {};
    Base base;
    cimple::Time::Clock_Proc previousClock = nullptr;
};

} // namespace providertest

#endif
