#ifndef KRNALOGGER_H
#define KRNALOGGER_H

// The provider module's own diagnostic log. Every source unit of the module
// has one file-static KRNALogger on "krnaprov.log"; each line is appended by
// one write of its own, beginning with the time and the severity tag, so
// lines of different loggers never mix. KRNADebugTrace writes "ENTERING" and
// "EXITING" lines around a scope.
//
// A logger keeps its file open between lines and opens it again when the
// path no longer names the file it holds (moved away, removed, or the path
// changed), so a rotated log is followed at the next line. When the file
// cannot be opened, the logger drops its lines without trying again for a
// second (of the framework's clock, cimple::Time).
//
// Where the file lies: in "logs/krnalogs/" under the parent of the module's
// own directory, found in "/proc/self/maps" when the logger is built (only
// "krnalogs/" is created; "logs/" must exist). Where the module's line is
// missing, every line is dropped. Tests point every logger, those built at
// load included, at a directory of their own with setLogDirectory.

#include <sys/types.h>

#include <cstdarg>
#include <string>

#include <cimple/config.h>
#include <cimple/Mutex.h>

class KRNALogger {
public:
    // Levels and severities.
    static const int DEBUG_FLAG = 0;
    static const int INFO_FLAG = 1;
    static const int WARN_FLAG = 2;
    static const int ERROR_FLAG = 3;
    static const int FATAL_FLAG = 4;
    static const int DEFAULT_MAX_SIZE = 1024000;

    // The module's logger on the file fileName; lines below level are skipped.
    KRNALogger(const char* fileName, int level);
    // A logger on the standard output.
    explicit KRNALogger(int level = DEBUG_FLAG);
    KRNALogger(const KRNALogger& other);
    KRNALogger& operator=(const KRNALogger& other);
    ~KRNALogger();

    void setLogLevel(int level);
    void setTimeStamp(bool timestamp);
    void setMaxSize(int maxSize);
    void setRollover(bool rollover);

    // One line of the given severity, when it is not below the level. A line
    // end is added unless the format ends in one.
    void log(int severity, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void debug(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void info(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void warn(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void error(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void fatal(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Renames the file to its path with ".1" appended.
    void _rollover();

    // The file the next line goes to; empty when it was not found.
    std::string getPath();

    // Test seam: every logger with a file name, those built later included,
    // writes into dir (null: back to the place found at construction).
    static void setLogDirectory(const char* dir);
    // The directory of the test seam; empty when none is set.
    static std::string redirectedDirectory();

    // The log directory and file path that a "/proc/self/maps" line naming
    // the module gives; false (both empty) when the line gives none.
    static bool pathFromMapsLine(const std::string& line, const std::string& fileName, std::string& dir,
                                 std::string& path);

    // The tag of a severity: "[debug]", "[info] ", ... or "[unknown]".
    static const char* severityTag(int severity);

private:
    void writeLine(int severity, const char* format, va_list args);
    bool openFile();
    void closeFile();
    void locate();
    void copyFields(const KRNALogger& other);

    int level;
    bool timestamp;
    std::string path;
    int maxSize;
    bool rollover;
    cimple::Mutex mutex;
    // What the test seam re-points: the file name, and the path found.
    std::string fileName;
    std::string locatedPath;
    // The file kept open (-1: none), the path it was opened at and what it
    // is on disk; the path that could not be opened, and when.
    int fd = -1;
    std::string openPath;
    dev_t openDevice = 0;
    ino_t openInode = 0;
    std::string failedPath;
    cimple::uint64 failedAt = 0;
};

// Writes "ENTERING <name>" when built and "EXITING <name>" when it ends. The
// name is not copied: pass a constant.
class KRNADebugTrace {
public:
    explicit KRNADebugTrace(const char* functionName);
    ~KRNADebugTrace();
    KRNADebugTrace(const KRNADebugTrace&) = delete;
    KRNADebugTrace& operator=(const KRNADebugTrace&) = delete;

private:
    const char* name;
};

#endif
