#include "monitor/NRMConfigBuilder.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <new>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <utility>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/System.h"
#include "RaidModel/Serialization/XMLWriter.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSnapshotReader.h"
#include "monitor/NRMSystem.h"

namespace {

// Numbers the temporary files of this process, so that two builders never
// pick the same name.
std::atomic<unsigned> temporaryCounter(0);

// The process id in the name of a temporary file of the snapshot whose base
// name is given: "<base>.tmp<pid>-<n>" with decimal pid and n. 0 for any
// other name.
pid_t temporaryWriter(const char* name, const std::string& base)
{
    const std::string prefix = base + ".tmp";
    if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0)
        return 0;
    const char* digits = name + prefix.size();
    if (*digits < '0' || *digits > '9')
        return 0;
    char* end = nullptr;
    errno = 0;
    const unsigned long pid = std::strtoul(digits, &end, 10);
    if (errno != 0 || pid == 0 || pid > static_cast<unsigned long>(INT_MAX) || *end != '-')
        return 0;
    const char* number = end + 1;
    if (*number == '\0')
        return 0;
    for (; *number; ++number)
        if (*number < '0' || *number > '9')
            return 0;
    return static_cast<pid_t>(pid);
}

// The same file, not changed since the status was taken: a rename over it,
// a write into it or a change of its status changes one of these.
bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

} // namespace

NRMConfigBuilder::NRMConfigBuilder(std::string configFileNameIN)
    : nrmSystem(nullptr), configFileName(std::move(configFileNameIN)), configFile(nullptr)
{
}

NRMConfigBuilder::~NRMConfigBuilder() { deleteTree(); }

void NRMConfigBuilder::deleteTree()
{
    nrmsnapshot::deleteTree(nrmSystem);
    nrmSystem = nullptr;
}

void NRMConfigBuilder::resetConfigFile(std::string configFileNameIN)
{
    if (configFile) {
        fclose(configFile);
        configFile = nullptr;
    }
    configFileName = std::move(configFileNameIN);
    storedText.reset();
}

void NRMConfigBuilder::build(System* system, NRMProgressCollection* progress)
{
    deleteTree();
    try {
        nrmSystem = new NRMSystem(STORLIB_UNKNOWN);
        nrmSystem->build(system);
        OwnedSubtree<NRMProgressCollection> tasks(new NRMProgressCollection());
        tasks->build(progress);
        nrmSystem->addChild(tasks.release());
    } catch (...) {
        // Half a snapshot is never written.
        deleteTree();
        throw;
    }
}

void NRMConfigBuilder::writeXML()
{
    char* text = nullptr;
    uint32_t length = 0;
    {
        XMLWriter writer(&text, writtenLength);
        if (nrmSystem) {
            writer.writeTree(nrmSystem);
        } else {
            NRMSystem empty(STORLIB_UNKNOWN);
            writer.writeTree(&empty);
        }
        length = writer.getStrSize();
    }
    writtenLength = length;
    std::unique_ptr<char[]> document(text);
    deleteTree();
    if (!text || configFileName.empty())
        return;
    // The same text over a file that still holds it changes nothing: the
    // file is left as it is. Otherwise it is replaced, and the text kept
    // for the next comparison once the file holds it.
    if (fileHoldsText(document.get(), length))
        return;
    if (replaceFile(text, length) && stat(configFileName.c_str(), &storedFile) == 0) {
        storedText = std::move(document);
        storedTextLength = length;
    } else {
        storedText.reset();
    }
}

bool NRMConfigBuilder::fileHoldsText(const char* text, size_t length) const
{
    if (!storedText || storedTextLength != length || std::memcmp(storedText.get(), text, length) != 0)
        return false;
    struct stat st;
    return stat(configFileName.c_str(), &st) == 0 && sameFile(st, storedFile);
}

// The text goes to a new file in the snapshot's directory, which replaces the
// snapshot by a rename only once it is written, flushed and closed; so a
// reader sees the old snapshot or the new one, and a failed write leaves the
// old one. The new file is created like the snapshot would be (0666 less the
// umask).
bool NRMConfigBuilder::replaceFile(const char* text, size_t length)
{
    const std::string temporary = configFileName + ".tmp" + std::to_string(getpid()) + "-" +
                                  std::to_string(temporaryCounter.fetch_add(1, std::memory_order_relaxed));
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    // Written straight from the document: a stream's buffer would be a large
    // allocation right after the snapshot's objects were freed, which makes
    // the heap merge all those blocks at once.
    bool written = true;
    for (size_t done = 0; done < length;) {
        const ssize_t n = write(fd, text + done, length - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            written = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    written = close(fd) == 0 && written;
    if (!written || rename(temporary.c_str(), configFileName.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool NRMConfigBuilder::readFile()
{
    xmlText.clear();
    if (configFileName.empty())
        return false;
    configFile = fopen(configFileName.c_str(), "r");
    if (!configFile)
        return false;
    char block[16384];
    size_t n;
    while ((n = fread(block, 1, sizeof block, configFile)) > 0)
        xmlText.append(block, n);
    const bool complete = ferror(configFile) == 0;
    fclose(configFile);
    configFile = nullptr;
    if (!complete)
        xmlText.clear();
    return complete;
}

void NRMConfigBuilder::parseText()
{
    nrmSystem = new NRMSystem(STORLIB_UNKNOWN);
    if (xmlText.empty())
        return;
    bool whole = false;
    try {
        SimpleXmlParser parser(&xmlText[0], xmlText.size());
        whole = nrmSystem->build(parser);
    } catch (const std::bad_alloc&) {
        // Not a fault of the snapshot: the reading fails, with nothing kept.
        deleteTree();
        throw;
    } catch (...) {
        // A malformed document, or a reader that could not keep what it read.
        whole = false;
    }
    if (!whole) {
        // A part of a snapshot would report every object it lacks as
        // removed: it counts as no snapshot at all.
        deleteTree();
        nrmSystem = new NRMSystem(STORLIB_UNKNOWN);
    }
}

void NRMConfigBuilder::removeDeadWritersFiles()
{
    namespace fs = std::filesystem;
    if (configFileName.empty())
        return;
    const fs::path snapshot(configFileName);
    const std::string base = snapshot.filename().string();
    const fs::path directory = snapshot.has_parent_path() ? snapshot.parent_path() : fs::path(".");
    // Read with readdir: std::filesystem's directory iterator makes each
    // entry's path in a noexcept function, where running out of memory ends
    // the process instead of throwing std::bad_alloc. readdir64, because a
    // 32-bit build's readdir stops at the first inode number beyond 32 bits.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(directory.c_str()), closedir);
    if (!dir)
        return;
    while (const dirent64* entry = readdir64(dir.get())) {
        const pid_t writer = temporaryWriter(entry->d_name, base);
        // This process's own files and those of a process that runs (or of
        // one that cannot be asked) may be written or renamed right now.
        if (writer == 0 || writer == getpid() || kill(writer, 0) == 0 || errno != ESRCH)
            continue;
        std::error_code ignored;
        fs::remove(directory / entry->d_name, ignored);
    }
}

void NRMConfigBuilder::readXML()
{
    deleteTree();
    removeDeadWritersFiles();
    // A file that cannot be read leaves no text: the text of an earlier
    // reading has been cut by its parse and is not parsed again.
    readFile();
    parseText();
}
