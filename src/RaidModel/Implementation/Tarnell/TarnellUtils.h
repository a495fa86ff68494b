#ifndef TARNELLUTILS_H
#define TARNELLUTILS_H

// The family log "TARNELLlog.txt": a plain text file in the current directory
// of the process, emptied when the library is loaded. Each line is the time
// stamp, a blank, the tag of the level and the caller's text. When the file
// cannot be opened, logging is silently off.

#include <fstream>
#include <mutex>
#include <string>

#include "RaidLib/Util/StorExport.h"

// Levels of the family log. The fixed underlying type lets a caller pass a
// value outside the four; such a line gets no tag.
enum LOG_TYPE : int {
    INFORMATION_INFO = 0,
    WARNING_INFO = 1,
    FATAL_INFO = 2,
    DEBUG_INFO = 3
};

class STOR_EXPORT TarnellUtils {
public:
    static const char* const LOG_FILE_NAME;

    // Appends one line and flushes it; nothing when the log is not open.
    // Lines of concurrent callers do not interleave.
    static void logMessage(LOG_TYPE logType, std::string message);
    // The local time as "month/day/year hour:minute:second " without padding.
    static std::string getCurrentTime();

    // (Re)opens the log in the current directory, emptying it, as the library
    // load does; closeLog switches logging off. Used by tests.
    static void openLog();
    static void closeLog();
    static bool isLogOpen();

    TarnellUtils() = delete;

private:
    static std::ofstream outFile;
    static std::mutex outFileLock;
};

#endif
