#ifndef TESTS_MONITOR_MONITORFIXTURE_H
#define TESTS_MONITOR_MONITORFIXTURE_H

// A monitor's own directories for one test: the library directory "lib/" in
// the test's directory, named by a maps file that the monitors read in
// place of "/proc/self/maps" (one "libwatch" line among others), with the
// fixed clock, the fake sleep and the debug mask 0, each restored when the
// object dies.

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "MonitorTestUtil.h"
#include "monitor/BaseRaidMonitor.h"
#include "support/TestUtil.h"

namespace monitortest {

inline void writeFile(const std::string& path, const std::string& text)
{
    FILE* f = fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr) << path;
    fputs(text.c_str(), f);
    fclose(f);
}

// A maps line of a mapping from the file.
inline std::string mapsLine(const std::string& file)
{
    return "7f3a1c000000-7f3a1c021000 r-xp 00000000 08:01 131 " + file + "\n";
}

class MonitorDir {
public:
    MonitorDir()
    {
        char here[4096];
        cwd = getcwd(here, sizeof here) ? here : ".";
        libDir = cwd + "/lib/";
        mkdir(libDir.c_str(), 0755);
        mapsFile = cwd + "/maps";
        writeMaps(mapsLine("/usr/lib/x86_64-linux-gnu/libc.so.6") + mapsLine(libDir + "libwatchtest.so"));
        previousMaps = BaseRaidMonitor::setMapsFileForTest(mapsFile);
    }
    ~MonitorDir() { BaseRaidMonitor::setMapsFileForTest(previousMaps); }
    MonitorDir(const MonitorDir&) = delete;
    MonitorDir& operator=(const MonitorDir&) = delete;

    void writeMaps(const std::string& text) const { writeFile(mapsFile, text); }
    void writeConfig(const std::string& text) const { writeFile(libDir + "NRMConfig.conf", text); }
    // Copies a catalogue into the library directory.
    void installCatalogue(const std::string& source) const
    {
        writeFile(libDir + "RaidNLS.properties", testsupport::readFile(source));
    }
    std::string logDir() const { return libDir + "krnalogs/"; }

    std::string cwd;
    std::string libDir;
    std::string mapsFile;

private:
    std::string previousMaps;
    FixedClock clock;
    FakeSleep sleep;
    DebugMask mask{0};
};

// The test catalogue: each phrase key's text shows the key and its
// parameters, "key[p0|p1|p2]".
inline std::string testCatalogue() { return std::string(MONITOR_TEST_DATA) + "/MonitorTest.properties"; }

} // namespace monitortest

#endif
