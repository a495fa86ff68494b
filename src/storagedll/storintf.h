#ifndef STORINTF_H
#define STORINTF_H

// StoreDLLIntf: the controller C API as an object. It opens the library by
// name, resolves its 167 entry points once, and forwards each of its 166
// operations to the entry point of the same name. An operation whose entry
// point is missing answers S_Ret(-3, 0, 0, 0, 0, 0), or -3 for an int
// operation, and touches none of its arguments.

#include "RaidLib/Util/StorExport.h"
#include "storagedll/dll.h"
#include "storagedll/subscmnd.h"

// Failure ids of ConstructorOK.
const uint32_t STOREDLL_FAIL_NOT_OPENED = 0x77770000u;       // the library did not open
const uint32_t STOREDLL_FAIL_NO_CONSTRUCTOROK = 0x77770001u; // it exports no ConstructorOK

class STOR_EXPORT StoreDLLIntf : public SubSysCmnd, public DynamicLinkLibKrna {
public:
    // Opening failures are no error here; ConstructorOK reports them.
    explicit StoreDLLIntf(const char* libraryName);
    ~StoreDLLIntf() override;

#define STOREDLL_DECLARE(kind, name, params, args) STORAPI_RESULT(kind) name params override;
    STORAPI_ALL_OPS(STOREDLL_DECLARE)
#undef STOREDLL_DECLARE

    // The entry-point name and result kind of table position i (below
    // STORAPI_OP_COUNT), in declaration order.
    static const char* entryName(unsigned i);
    static StorApiKind entryKind(unsigned i);

    // Whether the entry point of table position i was found.
    bool hasEntry(unsigned i) const { return i < STORAPI_OP_COUNT && entryTable[i] != nullptr; }

private:
    typedef void (*EntryProc)(void);

    int usable;                 // 1 once the library is open and every name looked up
    uint32_t failId;            // STOREDLL_FAIL_NOT_OPENED when opening failed, else 0
    EntryProc entryTable[STORAPI_OP_COUNT];
};

#endif
