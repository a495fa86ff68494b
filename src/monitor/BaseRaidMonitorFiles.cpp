// The monitor's directories, its configuration file, the debug mask and the
// debug log, and the test seams of the file locations and of waiting.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <sys/types.h>

#include "RaidLib/Util/Date.h"
#include "RaidLib/Util/StorOS.h"
#include "RaidLib/Util/StrToNum32.h"
#include "monitor/BaseRaidMonitor.h"

namespace {

const char* const DEFAULT_MAPS_FILE = "/proc/self/maps";
const char* const CONFIG_FILE = "NRMConfig.conf";

// Both seams are set by tests before a monitor runs; the sleep is read by
// monitor threads, so it is an atomic pointer.
std::atomic<BaseRaidMonitor::SleepFunction> sleepFunction{MilliSleep};

std::mutex mapsFileLock;
std::string& mapsFileName()
{
    static std::string name = DEFAULT_MAPS_FILE;
    return name;
}

std::string currentMapsFile()
{
    std::lock_guard<std::mutex> hold(mapsFileLock);
    return mapsFileName();
}

// Creates the file empty when it does not exist; leaves it otherwise.
void createEmpty(const std::string& path)
{
    if (FILE* created = fopen(path.c_str(), "a"))
        fclose(created);
}

} // namespace

BaseRaidMonitor::SleepFunction BaseRaidMonitor::setSleepForTest(SleepFunction sleep)
{
    return sleepFunction.exchange(sleep ? sleep : MilliSleep);
}

void BaseRaidMonitor::sleepMillis(long milliSec) { sleepFunction.load()(milliSec); }

std::string BaseRaidMonitor::setMapsFileForTest(std::string fileName)
{
    std::lock_guard<std::mutex> hold(mapsFileLock);
    std::string previous = mapsFileName();
    mapsFileName() = fileName.empty() ? std::string(DEFAULT_MAPS_FILE) : std::move(fileName);
    return previous;
}

void BaseRaidMonitor::setNRMPath()
{
    nrmPath = "";
    if (FILE* maps = fopen(currentMapsFile().c_str(), "r")) {
        char line[1000];
        while (fgets(line, sizeof line, maps)) {
            if (!std::strstr(line, "libwatch"))
                continue;
            // The first line naming a monitor library decides: its path name
            // column, from the first "/", up to and including the last "/".
            size_t length = std::strlen(line);
            if (length > 0 && line[length - 1] == '\n')
                line[--length] = '\0';
            const char* first = std::strchr(line, '/');
            if (length > 0 && first)
                nrmPath.assign(first, static_cast<size_t>(std::strrchr(line, '/') + 1 - first));
            break;
        }
        fclose(maps);
    }
    if (nrmPath.empty())
        nrmPath = "./";
}

void BaseRaidMonitor::setNRMLogPath(std::string path) { nrmLogPath = std::move(path); }

void BaseRaidMonitor::create_directory()
{
    const std::string directory = nrmPath + "krnalogs";
    if (mkdir(directory.c_str(), 0755) == 0) {
        logDirStatus = 0;
        return;
    }
    // Only a directory counts as made: a file of that name would swallow
    // the logs.
    const int failure = errno;
    struct stat info;
    logDirStatus = failure == EEXIST && stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? 0 : -1;
}

void BaseRaidMonitor::readConfig()
{
    const std::string path = nrmPath + CONFIG_FILE;
    FILE* file = fopen(path.c_str(), "r");
    if (!file) {
        logDebugGroup(NRM_DEBUG_ERRORS,
                      "ERROR: BaseRaidMonitor::readConfig() Config File (%s) not found. Creating an empty file.\n",
                      path.c_str());
        createEmpty(path);
        return;
    }
    fclose(file);

    std::unique_ptr<NLSParser> parser(new NLSParser(path));
    if (!parser) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::readConfig() Cannot create NLSParser.\n");
        return;
    }
    eventQueueSize = strToI32(parser->get("nrm.eventQueueSize").c_str(), 10);
    debugMask = strToI32(parser->get("nrm.debugMask").c_str(), 10);
    osLoggingLevel = strToI32(parser->get("agent.OSLoggingLevel").c_str(), 10);
    const std::string value = parser->get("agent.alarm");
    alarm = value == "on" || value == "On" || value == "ON";
}

void BaseRaidMonitor::setDebugFlag(EnumDebugNRM level)
{
    switch (level) {
    case NRM_DEBUG_LEVEL_ERRORS:
        NRMDebugFlag.store(NRM_DEBUG_ERRORS, std::memory_order_relaxed);
        break;
    case NRM_DEBUG_LEVEL_EVENTS:
        NRMDebugFlag.store(NRM_DEBUG_ERRORS | NRM_DEBUG_EVENTS, std::memory_order_relaxed);
        break;
    case NRM_DEBUG_LEVEL_ALL:
        NRMDebugFlag.store(0xFFFFFF, std::memory_order_relaxed);
        break;
    default:
        break;
    }
}

void BaseRaidMonitor::logDebugMsg(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    logDebugMsgV(format, args);
    va_end(args);
}

void BaseRaidMonitor::logDebugGroup(int32_t group, const char* format, ...)
{
    if (!nrmDebugOn(group))
        return;
    va_list args;
    va_start(args, format);
    logDebugMsgV(format, args);
    va_end(args);
}

void BaseRaidMonitor::logDebugMsgV(const char* format, va_list args)
{
    // The time as ctime writes it, without its newline; ctime_r, since
    // several monitors log at once.
    const time_t now = Date::now();
    char when[64] = "";
    if (ctime_r(&now, when)) {
        const size_t length = std::strlen(when);
        if (length > 0)
            when[length - 1] = '\0';
    }
    char line[1024];
    int used = snprintf(line, sizeof line, "[%s]  ", when);
    if (used >= 0 && static_cast<size_t>(used) < sizeof line && format)
        vsnprintf(line + used, sizeof line - static_cast<size_t>(used), format, args);
    if (debugLog) {
        fprintf(debugLog, "%s", line);
        fflush(debugLog);
    }
}
