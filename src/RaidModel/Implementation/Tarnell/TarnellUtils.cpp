#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"

#include <cstdio>
#include <new>

#include "RaidLib/Util/Date.h"

const char* const TarnellUtils::LOG_FILE_NAME = "TARNELLlog.txt";

namespace {

// The log as the library's loading opens (and empties) it; a load that finds
// no memory for its buffer must not end the process: the log stays closed
// then, and nothing is written to it.
std::ofstream openedAtLoad()
{
    std::ofstream log;
    try {
        log.open(TarnellUtils::LOG_FILE_NAME, std::ios::out | std::ios::trunc);
    } catch (const std::bad_alloc&) {
    }
    return log;
}

} // namespace

// Opened (and emptied) while the library is loaded; closed when it unloads.
std::ofstream TarnellUtils::outFile = openedAtLoad();
std::mutex TarnellUtils::outFileLock;

namespace {

const char* tagOf(LOG_TYPE logType)
{
    switch (logType) {
    case INFORMATION_INFO:
        return "<Information> ";
    case WARNING_INFO:
        return "<Warning> ";
    case FATAL_INFO:
        return "<Fatal> ";
    case DEBUG_INFO:
        return "<Debug> ";
    }
    return "";
}

} // namespace

std::string TarnellUtils::getCurrentTime()
{
    Date now;
    char text[80];
    std::snprintf(text, sizeof(text), "%u/%u/%u %u:%u:%u ", now.getMonth() + 1, now.getDay(),
                  now.getYear() + 1900, now.getHour(), now.getMinutes(), now.getSeconds());
    return text;
}

void TarnellUtils::logMessage(LOG_TYPE logType, std::string message)
{
    std::lock_guard<std::mutex> guard(outFileLock);
    if (!outFile.is_open())
        return;
    std::string line = getCurrentTime();
    line += ' ';
    line += tagOf(logType);
    line += message;
    outFile << line << std::endl;
}

void TarnellUtils::openLog()
{
    std::lock_guard<std::mutex> guard(outFileLock);
    if (outFile.is_open())
        outFile.close();
    outFile.clear();
    outFile.open(LOG_FILE_NAME, std::ios::out | std::ios::trunc);
}

void TarnellUtils::closeLog()
{
    std::lock_guard<std::mutex> guard(outFileLock);
    if (outFile.is_open())
        outFile.close();
}

bool TarnellUtils::isLogOpen()
{
    std::lock_guard<std::mutex> guard(outFileLock);
    return outFile.is_open();
}
