// Load and unload hooks of the core library: the process-wide mutex that
// guards the debug-log table and the debug state of the Tarnell type exist
// from load to unload; the Java storage bridge's library goes at unload.

#include "RaidLib/JavaInterface/StorDataProc.h"

#include <new>

#include "RaidLib/Util/StorDebug.h"

// Application name in the debug-log time stamps.
const char* pStorLibAppName = "JNI";

namespace {

// Without memory for the mutex, StorLib::Init makes it later.
__attribute__((constructor)) void my_init()
{
    pStorLibGlobalThreadLocker = new (std::nothrow) osThreadLocker;
    doStorDebugInitialization(STORLIB_TARNELL);
}

__attribute__((destructor)) void my_fini()
{
    doStorDebugCleanup(STORLIB_TARNELL);
    StorDebugDeleteAll();
    // Its destructor still takes the mutex, which goes last.
    deleteStorDataProcLibrary();
    delete pStorLibGlobalThreadLocker;
    pStorLibGlobalThreadLocker = nullptr;
}

} // namespace
