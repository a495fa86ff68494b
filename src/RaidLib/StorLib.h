#ifndef STORLIB_H
#define STORLIB_H

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"

class System;

// A counted reference to a System. A holder that is not empty owns one unit
// of the system's reference count, which changes only under the system's
// reference lock; the holder that lets go of the last unit deletes the
// system with its whole tree. One holder must not be changed by two threads
// at once.
class STOR_EXPORT RefSystem {
public:
    RefSystem();
    RefSystem(System* pSystemIN);
    RefSystem(const RefSystem& right);
    // Lets go of the reference, then traces the number of live model objects.
    ~RefSystem();

    // Holds pSystemIN (null: empty); the reference held before is given up
    // unless it is the same system.
    RefSystem& Set(System* pSystemIN);
    RefSystem& Set(const RefSystem& right);
    RefSystem& operator=(const RefSystem& right) { return Set(right); }
    RefSystem& operator=(System* pSystemIN) { return Set(pSystemIN); }
    // Gives up the reference; the holder is empty afterwards.
    void Release();
    void DecrementRefCount();

    System* getSystem() const { return pSystem; }
    System* GetSystem() const { return pSystem; }
    operator System*() const { return pSystem; }
    System& operator*() const { return *pSystem; }
    System* operator->() const { return pSystem; }
    bool operator!() const { return pSystem == nullptr; }

private:
    System* pSystem;
};

// The base of a family's storage library: its library type, with which it
// registers as a user of that type's debug logs for its lifetime, and the
// current configuration tree.
//
// The order of the virtual operations is the order of the virtual table that
// the family libraries are built against; do not reorder.
class STOR_EXPORT StorLib {
public:
    explicit StorLib(EnumStorLibType storlibTypeIN);
    virtual ~StorLib();
    StorLib(const StorLib&) = delete;
    StorLib& operator=(const StorLib&) = delete;

    // A new, empty System of the family (the caller owns it), or null.
    virtual System* newSystem() = 0;

    // Process start and end: the process-wide lock of the debug logs and
    // the debug state of the Tarnell type. Reached through StorLibInit.
    static void Init();
    static void Finish();

    System* getSystem() const { return curSystem.getSystem(); }
    EnumStorLibType getStorLibType() const { return storlibType; }

protected:
    EnumStorLibType storlibType;
    RefSystem curSystem;
};

// The first object of this class in a process runs StorLib::Init and its
// destruction runs StorLib::Finish; every other object does nothing. The
// library's own load and unload hooks do the same work, so the library
// creates none.
class STOR_EXPORT StorLibInit {
public:
    StorLibInit();
    ~StorLibInit();
    StorLibInit(const StorLibInit&) = delete;
    StorLibInit& operator=(const StorLibInit&) = delete;

private:
    bool oneInstance;
    static bool isInstance;
};

#endif
