// show_config: prints the configuration of the Tarnell controllers as the
// system configuration document, or with --tasks the tasks in progress on
// each controller, read through the family's storage library.
//
// Standard output carries the document alone: whatever the library prints
// there while it runs (such as the line of a controller library that cannot
// be loaded) goes to standard error instead.
//
// Exit status: 0 with the document printed; 1 when no controller was found
// (the document of an empty system is printed all the same); 2 for a bad
// argument, a failed request (also one that ran out of memory) or a document
// that could not be written.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include <unistd.h>

#include "RaidLib/TarnellLib.h"
#include "RaidLib/Util/ProgressCollection.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/Adapter.h"

namespace {

void usage(FILE* out)
{
    std::fputs("usage: show_config [--tasks]\n"
               "  Prints the configuration of the Tarnell controllers as XML.\n"
               "  --tasks  prints the tasks in progress on each controller instead.\n",
               out);
}

// The standard output the program was started with, as a stream of its
// own; standard output itself then leads to standard error. Null when that
// cannot be arranged.
FILE* takeStandardOutput()
{
    std::fflush(stdout);
    const int fd = dup(STDOUT_FILENO);
    if (fd < 0)
        return nullptr;
    FILE* document = fdopen(fd, "w");
    if (document == nullptr) {
        const int error = errno;
        close(fd);
        errno = error;
        return nullptr;
    }
    if (dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        const int error = errno;
        std::fclose(document);
        errno = error;
        return nullptr;
    }
    return document;
}

// Writes the document, with a line end after it when asked, and closes its
// stream; 0 when all of it was written, else the error number of the first
// step that failed.
int writeDocument(FILE* out, const char* text, size_t length, bool lineEnd)
{
    int error = 0;
    errno = 0;
    if (std::fwrite(text, 1, length, out) != length || (lineEnd && std::fputc('\n', out) == EOF))
        error = errno != 0 ? errno : EIO;
    errno = 0;
    if (std::fflush(out) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    errno = 0;
    if (std::fclose(out) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    return error;
}

// The tasks of every controller of the current system: one "TaskList"
// element holding a "ProgressCollection" per controller with the tasks its
// logical drives report (the family answers task questions per logical
// drive).
int tasksDocument(TarnellLib& lib, std::string& document)
{
    document = "<TaskList>\n";
    for (unsigned long n = 0; n < lib.getNumAdapters(); ++n) {
        Adapter* adapter = lib.getAdapter(n);
        if (!adapter)
            continue;
        ProgressCollection running;
        FilterCollection drives(adapter);
        drives.apply("LogicalDrive", false);
        for (unsigned long i = 0; i < drives.size(); ++i) {
            const Addr addr = drives.elementAt(static_cast<int>(i))->getAddr();
            ProgressCollection tasks;
            Ret ret = lib.getTasks(addr, tasks);
            if (ret.getReturn() != Ret::SUCCESS) {
                std::fprintf(stderr, "show_config: the tasks of controller %lu cannot be read (code %d)\n",
                             static_cast<unsigned long>(adapter->getAdapterID()), ret.getReturn());
                return 2;
            }
            for (int t = 0; t < tasks.getSize(); ++t) {
                if (tasks.getProgress(t).getType() != TASK_NONE)
                    running.add(tasks.getProgress(t));
            }
        }
        document += running.toXML();
        document += "\n";
    }
    document += "</TaskList>\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
try {
    bool tasks = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tasks") == 0) {
            tasks = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "show_config: unknown argument '%s'\n", argv[i]);
            usage(stderr);
            return 2;
        }
    }

    FILE* out = takeStandardOutput();
    if (out == nullptr) {
        std::fprintf(stderr, "show_config: standard output cannot be used: %s\n", std::strerror(errno));
        return 2;
    }

    TarnellLib lib;
    char* xml = nullptr;
    Ret ret = lib.getSystemConfig(&xml);
    if (ret.getReturn() != Ret::SUCCESS) {
        std::fprintf(stderr, "show_config: the configuration cannot be read (code %d)\n", ret.getReturn());
        lib.freeBuffer(xml);
        std::fclose(out);
        return 2;
    }
    // The configuration document is written from the library's buffer as it
    // is, with a line end after it.
    std::string document;
    int error = 0;
    if (tasks) {
        const int status = tasksDocument(lib, document);
        lib.freeBuffer(xml);
        if (status != 0) {
            std::fclose(out);
            return status;
        }
        error = writeDocument(out, document.data(), document.size(), false);
    } else {
        error = writeDocument(out, xml ? xml : "", xml ? std::strlen(xml) : 0, true);
        lib.freeBuffer(xml);
    }
    if (error != 0) {
        std::fprintf(stderr, "show_config: the document cannot be written: %s\n", std::strerror(error));
        return 2;
    }
    if (lib.getNumAdapters() == 0) {
        std::fputs("show_config: no controller found (is libtarnellapi.so available?)\n", stderr);
        return 1;
    }
    return 0;
} catch (const std::bad_alloc&) {
    std::fputs("show_config: out of memory\n", stderr);
    return 2;
}
