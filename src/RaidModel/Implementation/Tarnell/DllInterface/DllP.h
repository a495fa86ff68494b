#ifndef DLLP_H
#define DLLP_H

// The process-wide access point to the controller C API: one StoreDLLIntf
// over "libtarnellapi.so", created on first use and kept for the life of the
// process. A library that cannot be used (missing, without ConstructorOK, or
// refusing) gives null and a line on standard output, and the next call tries
// again.

#include <atomic>

#include "RaidLib/Util/StorExport.h"

class StoreDLLIntf;

class STOR_EXPORT DllP {
public:
    // The C-API object, or null when the library cannot be used. Concurrent
    // first calls create one object between them. An opening that runs out
    // of memory raises std::bad_alloc (nothing is kept).
    static StoreDLLIntf* GetDLLPointer();

    // The file name the access point opens.
    static const char* const LIBRARY_NAME;

    // For tests only: forget (and delete) the held object, and open the given
    // library instead of LIBRARY_NAME from then on (null: LIBRARY_NAME again).
    static void resetForTest();
    static void setLibraryNameForTest(const char* name);

    DllP() = delete;

private:
    static StoreDLLIntf* pStore;        // the held object; null until one is accepted
    static std::atomic<int> dllPtrCount; // 1 once pStore holds an accepted object
};

#endif
