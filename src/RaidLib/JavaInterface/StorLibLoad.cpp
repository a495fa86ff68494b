// Load and unload hooks of the core library: the process-wide mutex that
// guards the debug-log table and the debug state of the Tarnell type exist
// from load to unload; the Java storage bridge's library goes at unload.

#include "RaidLib/JavaInterface/StorDataProc.h"

#include <new>

#include "RaidLib/Util/StorDebug.h"

// Application name in the debug-log time stamps.
const char* pStorLibAppName = "JNI";

// The hooks run from the library's own load and unload under names the
// library does not export; my_init and my_fini export the same code. The
// loader never calls the exported names, so a library loaded earlier that
// exports names of its own like them cannot take the hooks' place.
extern "C" {

// Without memory for the mutex, StorLib::Init makes it later.
__attribute__((constructor, visibility("hidden"))) void tarnellCoreLoaded()
{
    pStorLibGlobalThreadLocker = new (std::nothrow) osThreadLocker;
    doStorDebugInitialization(STORLIB_TARNELL);
}

__attribute__((destructor, visibility("hidden"))) void tarnellCoreUnloading()
{
    doStorDebugCleanup(STORLIB_TARNELL);
    StorDebugDeleteAll();
    // Its destructor still takes the mutex, which goes last.
    deleteStorDataProcLibrary();
    delete pStorLibGlobalThreadLocker;
    pStorLibGlobalThreadLocker = nullptr;
}

STOR_EXPORT void my_init() __attribute__((alias("tarnellCoreLoaded")));
STOR_EXPORT void my_fini() __attribute__((alias("tarnellCoreUnloading")));

} // extern "C"
