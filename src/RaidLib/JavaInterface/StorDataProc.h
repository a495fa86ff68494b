#ifndef STORDATAPROC_H
#define STORDATAPROC_H

// The Java storage bridge: the natives of com.zeq.sysmgt.raidmgr.dataproc.
// StorDataProc (StorDataProcNatives.h lists them) over one process-wide
// Tarnell storage library, and the entry points through which a host
// program shares that library.
//
// The process-wide library is created by constructDLL (which also builds the
// configuration), by the first storage native that finds none (which builds
// it too, except getSystemConfig and getControllerCount) or by
// GetTarnellCore (which builds nothing); destructDLL deletes it and the
// library's unload hook deletes what is left. One mutex guards its creation,
// every use by a native and its deletion, so natives on several Java threads
// and destructDLL never meet on a deleted library.

#include "RaidLib/StorLib.h"
#include "RaidLib/StorLibPlugin.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"

extern "C" {
// Sets the application name of the debug logs (its first 8 characters;
// "DYNAMIC" for null) and returns the process-wide library, created now when
// there is none; null when it cannot be created.
STOR_EXPORT StorLib* GetTarnellCore(const char* appName);
// Traces the call; the library stays alive.
STOR_EXPORT void ReleaseTarnellCore();
// The library's load and unload hooks, which run by themselves: my_init
// makes the process-wide mutex and the Tarnell type's debug state, my_fini
// cleans the debug logs up and deletes the process-wide library and then
// the mutex. Not to be called again.
STOR_EXPORT void my_init();
STOR_EXPORT void my_fini();
}

// Fills spec from the first length bytes of the logical-drive document (the
// elements "param" and "ChunkSpec"). The text is parsed in place and changed.
// A malformed document throws SimpleXmlException; what was read before stays.
STOR_EXPORT void GetLogicalDriveSpecFromXml(LogicalDriveSpec& spec, char* xml, unsigned long length);

// Deletes the process-wide library unless a native is using it right now
// (for the unload hook).
void deleteStorDataProcLibrary();

// For tests: the function that creates the process-wide library; null
// restores the default (a new TarnellLib). Returns the previous function.
typedef StorLibPlugin* (*StorDataProcLibraryFactory)();
STOR_EXPORT StorDataProcLibraryFactory setStorDataProcLibraryFactoryForTest(StorDataProcLibraryFactory factory);

#endif
