// A host that takes the bridge's library through GetTarnellCore, builds a
// configuration with it and exits without releasing it: the core's unload
// hook deletes the library, after the library's other static objects are
// gone. The test looks for the line of the library's destructor and for no
// sanitizer report.
#include <unistd.h>

#include "RaidLib/JavaInterface/StorDataProc.h"
#include "RaidLib/TarnellLib.h"

namespace {

class ExitLib : public TarnellLib {
public:
    ~ExitLib() override
    {
        const char line[] = "library deleted at unload\n";
        if (write(STDOUT_FILENO, line, sizeof line - 1) < 0)
            _exit(3);
    }
};

StorLibPlugin* makeExitLib() { return new ExitLib; }

} // namespace

int main()
{
    setStorDataProcLibraryFactoryForTest(makeExitLib);
    StorLib* lib = GetTarnellCore("unload");
    if (!lib || lib->getSystemConfig().getReturn() != 0 || lib->getNumAdapters() != 2)
        return 1;
    return 0;
}
