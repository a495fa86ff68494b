// The provider module's logger and scope tracer.
#include "KRNALogger.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>
#include <vector>

#include <cimple/Time.h>
#include <cimple/config.h>

namespace {

// Every logger with a file name, and the directory the test seam set.
struct Registry {
    cimple::Mutex mutex;
    std::vector<KRNALogger*> loggers;
    bool redirected = false;
    std::string directory;
};

// Built by the first logger, so it outlives every logger.
Registry& registry()
{
    static Registry r;
    return r;
}

std::string format(const char* fmt, va_list args)
{
    char small[512];
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0)
        return std::string();
    if (static_cast<size_t>(n) < sizeof small)
        return std::string(small, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    vsnprintf(&out[0], out.size(), fmt, args);
    out.resize(static_cast<size_t>(n));
    return out;
}

bool writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

const char* const STDOUT_PATH = "stdout";
const char* const MODULE_NAME = "libkrnacim";

// The logger of this unit, through which the scope tracers write.
KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

} // namespace

KRNALogger::KRNALogger(const char* fileNameIN, int levelIN)
    : level(levelIN), timestamp(true), maxSize(0), rollover(false), fileName(fileNameIN ? fileNameIN : "")
{
    locate();
    Registry& r = registry();
    cimple::Auto_Mutex lock(r.mutex);
    path = r.redirected ? r.directory + "/" + fileName : locatedPath;
    r.loggers.push_back(this);
}

KRNALogger::KRNALogger(int levelIN)
    : level(levelIN), timestamp(true), path(STDOUT_PATH), maxSize(DEFAULT_MAX_SIZE), rollover(true)
{
    Registry& r = registry();
    cimple::Auto_Mutex lock(r.mutex);
    r.loggers.push_back(this);
}

KRNALogger::KRNALogger(const KRNALogger& other) : level(0), timestamp(true), maxSize(0), rollover(false)
{
    copyFields(other);
    Registry& r = registry();
    cimple::Auto_Mutex lock(r.mutex);
    r.loggers.push_back(this);
}

KRNALogger& KRNALogger::operator=(const KRNALogger& other)
{
    if (this != &other) {
        // The seam may re-point this logger meanwhile: registry lock first.
        Registry& r = registry();
        cimple::Auto_Mutex registryLock(r.mutex);
        cimple::Auto_Mutex lock(mutex);
        copyFields(other);
    }
    return *this;
}

KRNALogger::~KRNALogger()
{
    Registry& r = registry();
    cimple::Auto_Mutex lock(r.mutex);
    r.loggers.erase(std::remove(r.loggers.begin(), r.loggers.end(), this), r.loggers.end());
    closeFile();
}

void KRNALogger::copyFields(const KRNALogger& other)
{
    // The other's mutex guards its path against the seam.
    cimple::Auto_Mutex lock(const_cast<cimple::Mutex&>(other.mutex));
    level = other.level;
    timestamp = other.timestamp;
    maxSize = other.maxSize;
    rollover = other.rollover;
    path = other.path;
    fileName = other.fileName;
    locatedPath = other.locatedPath;
}

void KRNALogger::setLogLevel(int levelIN) { level = levelIN; }
void KRNALogger::setTimeStamp(bool timestampIN) { timestamp = timestampIN; }
void KRNALogger::setMaxSize(int maxSizeIN) { maxSize = maxSizeIN; }
void KRNALogger::setRollover(bool rolloverIN) { rollover = rolloverIN; }

std::string KRNALogger::getPath()
{
    cimple::Auto_Mutex lock(mutex);
    return path;
}

std::string KRNALogger::redirectedDirectory()
{
    Registry& r = registry();
    cimple::Auto_Mutex lock(r.mutex);
    return r.redirected ? r.directory : std::string();
}

void KRNALogger::setLogDirectory(const char* dir)
{
    Registry& r = registry();
    cimple::Auto_Mutex lock(r.mutex);
    r.redirected = dir != nullptr;
    r.directory = dir ? dir : "";
    for (KRNALogger* l : r.loggers) {
        if (l->fileName.empty())
            continue; // a logger on the standard output
        cimple::Auto_Mutex loggerLock(l->mutex);
        l->path = r.redirected ? r.directory + "/" + l->fileName : l->locatedPath;
    }
}

bool KRNALogger::pathFromMapsLine(const std::string& line, const std::string& fileNameIN, std::string& dir,
                                  std::string& pathOUT)
{
    dir.clear();
    pathOUT.clear();
    std::string text = line;
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    const size_t first = text.find('/');
    if (first == std::string::npos)
        return false;
    text = text.substr(first);
    if (text.find(" r-xp ") != std::string::npos)
        return false;
    // The module's directory, then its parent with the '/'. A path without
    // two '/' has no parent directory to write in.
    const size_t last = text.rfind('/');
    text = text.substr(0, last);
    const size_t parent = text.rfind('/');
    if (parent == std::string::npos)
        return false;
    dir = text.substr(0, parent + 1) + "logs/" + "krnalogs/";
    pathOUT = dir + fileNameIN;
    return true;
}

void KRNALogger::locate()
{
    FILE* maps = fopen("/proc/self/maps", "r");
    if (!maps)
        return;
    std::vector<char> buffer(4224);
    while (fgets(buffer.data(), 1000, maps)) {
        if (!strstr(buffer.data(), MODULE_NAME))
            continue;
        std::string dir;
        if (pathFromMapsLine(buffer.data(), fileName, dir, locatedPath)) {
            mkdir(dir.c_str(), 0755);
            maxSize = DEFAULT_MAX_SIZE;
            rollover = true;
        }
        break;
    }
    fclose(maps);
}

const char* KRNALogger::severityTag(int severity)
{
    switch (severity) {
    case DEBUG_FLAG:
        return "[debug]";
    case INFO_FLAG:
        return "[info] ";
    case WARN_FLAG:
        return "[warn] ";
    case ERROR_FLAG:
        return "[error]";
    case FATAL_FLAG:
        return "[fatal]";
    default:
        return "[unknown]";
    }
}

void KRNALogger::closeFile()
{
    if (fd >= 0)
        close(fd);
    fd = -1;
    openPath.clear();
}

bool KRNALogger::openFile()
{
    if (fd >= 0) {
        struct stat st;
        if (openPath == path && stat(path.c_str(), &st) == 0 && st.st_dev == openDevice && st.st_ino == openInode)
            return true;
        closeFile();
    }
    if (path.empty())
        return false;
    const cimple::uint64 now = cimple::Time::now();
    if (path == failedPath && now >= failedAt && now - failedAt < cimple::Time::SEC)
        return false;
    fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        closeFile();
        failedPath = path;
        failedAt = now;
        return false;
    }
    openPath = path;
    openDevice = st.st_dev;
    openInode = st.st_ino;
    failedPath.clear();
    return true;
}

void KRNALogger::writeLine(int severity, const char* fmt, va_list args)
{
    if (!fmt)
        return;
    // A line that cannot be formatted or whose file cannot be opened for want
    // of memory is dropped: the logs are written from destructors and failure
    // paths too.
    try {
        cimple::Auto_Mutex lock(mutex);
        const bool toStdout = path == STDOUT_PATH;
        if (!toStdout && !openFile())
            return;
        time_t now = time(nullptr);
        char when[64] = "";
        if (!ctime_r(&now, when))
            when[0] = '\0';
        when[strcspn(when, "\n")] = '\0';

        std::string line = std::string("[") + when + "] " + severityTag(severity) + " " + format(fmt, args);
        const size_t length = strlen(fmt);
        if (length == 0 || fmt[length - 1] != '\n')
            line += '\n';
        writeAll(toStdout ? STDOUT_FILENO : fd, line);
    } catch (const std::bad_alloc&) {
    }
}

void KRNALogger::log(int severity, const char* fmt, ...)
{
    if (severity < level)
        return;
    va_list args;
    va_start(args, fmt);
    writeLine(severity, fmt, args);
    va_end(args);
}

#define KRNA_LOGGER_LEVEL_OPERATION(NAME, SEVERITY) \
    void KRNALogger::NAME(const char* fmt, ...)      \
    {                                               \
        if (level > SEVERITY)                       \
            return;                                 \
        va_list args;                               \
        va_start(args, fmt);                        \
        writeLine(SEVERITY, fmt, args);             \
        va_end(args);                               \
    }

KRNA_LOGGER_LEVEL_OPERATION(debug, DEBUG_FLAG)
KRNA_LOGGER_LEVEL_OPERATION(info, INFO_FLAG)
KRNA_LOGGER_LEVEL_OPERATION(warn, WARN_FLAG)
KRNA_LOGGER_LEVEL_OPERATION(error, ERROR_FLAG)
KRNA_LOGGER_LEVEL_OPERATION(fatal, FATAL_FLAG)

#undef KRNA_LOGGER_LEVEL_OPERATION

void KRNALogger::_rollover()
{
    cimple::Auto_Mutex lock(mutex);
    if (path.empty() || path == STDOUT_PATH)
        return;
    rename(path.c_str(), (path + ".1").c_str());
}

KRNADebugTrace::KRNADebugTrace(const char* functionName) : name(functionName)
{
    logger.debug("ENTERING %s\n", name ? name : "");
}

KRNADebugTrace::~KRNADebugTrace()
{
    if (name)
        logger.debug("EXITING %s\n", name);
}

// The module's test seam for its logs, reached by name: every logger writes
// into dir (null: where the module's place says).
extern "C" CIMPLE_EXPORT void krnaSetLogDirectory(const char* dir) { KRNALogger::setLogDirectory(dir); }
