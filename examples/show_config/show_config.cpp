// show_config: prints the configuration of the Tarnell controllers as the
// system configuration document, or with --tasks the tasks in progress on
// each controller, read through the family's storage library.
//
// Exit status: 0 with the document printed; 1 when no controller was found
// (the document of an empty system is printed all the same); 2 for a bad
// argument or a failed request.

#include <cstdio>
#include <cstring>
#include <string>

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

// The tasks of every controller of the current system: one "TaskList"
// element holding a "ProgressCollection" per controller with the tasks its
// logical drives report (the family answers task questions per logical
// drive).
int printTasks(TarnellLib& lib)
{
    std::string document = "<TaskList>\n";
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
    std::fputs(document.c_str(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
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

    TarnellLib lib;
    char* xml = nullptr;
    Ret ret = lib.getSystemConfig(&xml);
    if (ret.getReturn() != Ret::SUCCESS) {
        std::fprintf(stderr, "show_config: the configuration cannot be read (code %d)\n", ret.getReturn());
        lib.freeBuffer(xml);
        return 2;
    }
    int status = 0;
    if (tasks) {
        status = printTasks(lib);
    } else {
        std::fputs(xml ? xml : "", stdout);
        std::fputs("\n", stdout);
    }
    lib.freeBuffer(xml);
    if (status == 0 && lib.getNumAdapters() == 0) {
        std::fputs("show_config: no controller found (is libtarnellapi.so available?)\n", stderr);
        status = 1;
    }
    return status;
}
