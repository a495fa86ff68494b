#ifndef DLL_H
#define DLL_H

// DynamicLinkLibKrna: a counted handle on one shared library opened by name.
// Opening calls the library's DlInit hook when it exports one; the final
// UnloadDLL calls its DlTerm hook before closing. Destruction closes an open
// library without DlTerm.

#include "RaidLib/Util/StorExport.h"

// A load hook of a library: DlInit or DlTerm.
typedef void (*DlHookProc)(void);

// The hook this class looked up last (DlInit or DlTerm); null just before each
// such look-up and when the library exports no such hook. Written atomically;
// with several threads opening libraries it holds one of their hooks.
extern "C" STOR_EXPORT DlHookProc procr;

class STOR_EXPORT DynamicLinkLibKrna {
public:
    // Copies the name and opens the library. A null name opens nothing.
    explicit DynamicLinkLibKrna(const char* name);
    ~DynamicLinkLibKrna();

    DynamicLinkLibKrna(const DynamicLinkLibKrna&) = delete;
    DynamicLinkLibKrna& operator=(const DynamicLinkLibKrna&) = delete;

    // 1 when the library is open after the call, 0 when opening failed. On an
    // open handle it only counts.
    int LoadDLL();
    // The address of the exported symbol, or null (no handle, no name, missing).
    void* LoadProcAddr(const char* name);
    // Counts one opening down; at the last one calls DlTerm and closes. 1 unless
    // the close reports an error.
    int UnloadDLL();

    const char* getName() const { return name; }
    int getLoadCount() const { return loadCount; }
    bool isOpen() const { return handle != nullptr; }
    // Whether the last opening failed for want of memory: no copy of the
    // name could be made, or the dynamic loader ran out of memory.
    bool outOfMemory() const { return noMemory; }

protected:
    char* name;      // owned copy, exactly the name's length plus terminator
    int loadCount;
    void* handle;    // null while the library is not open
    bool noMemory;
};

#endif
