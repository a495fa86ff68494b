#ifndef BENCH_BENCHMONITORDIR_H
#define BENCH_BENCHMONITORDIR_H

// A monitor's own library directory "lib/" in the benchmark's directory,
// named by a maps file read in place of "/proc/self/maps" (as the directory
// of the monitor library given), with the catalogue copied into it; its
// pauses do not wait.

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "monitor/BaseRaidMonitor.h"

class MonitorDirectory {
public:
    MonitorDirectory(const char* catalogue, const char* monitorLibrary)
    {
        char here[4096];
        const std::string cwd = getcwd(here, sizeof here) ? here : ".";
        const std::string lib = cwd + "/lib/";
        mkdir(lib.c_str(), 0755);
        std::ofstream(lib + "RaidNLS.properties") << std::ifstream(catalogue).rdbuf();
        std::ofstream(cwd + "/maps") << "7f3a1c000000-7f3a1c021000 r-xp 00000000 08:01 131 " << lib << monitorLibrary
                                     << "\n";
        previousMaps = BaseRaidMonitor::setMapsFileForTest(cwd + "/maps");
        previousSleep = BaseRaidMonitor::setSleepForTest(&noSleep);
    }
    ~MonitorDirectory()
    {
        BaseRaidMonitor::setMapsFileForTest(previousMaps);
        BaseRaidMonitor::setSleepForTest(previousSleep);
    }
    MonitorDirectory(const MonitorDirectory&) = delete;
    MonitorDirectory& operator=(const MonitorDirectory&) = delete;

private:
    static void noSleep(long) {}
    std::string previousMaps;
    BaseRaidMonitor::SleepFunction previousSleep;
};

#endif
