#ifndef STORLIB_H
#define STORLIB_H

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/Ret.h"
#include "RaidLib/Util/StorExport.h"

class Adapter;
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
// current configuration tree, which it rebuilds by asking the family for a
// new System and letting the family fill it. XML documents are handed out
// in buffers that the caller releases with freeBuffer; a buffer already in
// the target of an out-parameter is released before a new one is stored.
// No operation lets an exception out: a failed allocation becomes code -3
// (nothing of the operation's result is handed out then), any other
// exception code -13.
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

    // Builds a new current system and hands out its document (also written
    // to the configuration log). A failure that the family records while
    // building is returned with the document, and the new tree is current.
    Ret getSystemConfig(char** pXmlOUT);
    // The same without a document.
    Ret getSystemConfig();
    // The document of the current system; a new one is built only when there
    // is none or it has no children.
    Ret getCachedSystemConfig(char** pXmlOUT);
    // The number of controllers as the family counts them; needs a current
    // system.
    Ret getControllerCount(unsigned long& countOUT);
    // The n-th controller of the current system; null when there is none.
    Adapter* getAdapter(unsigned long n) const;
    unsigned long getNumAdapters() const;
    // Releases a buffer that the library handed out; null is ignored.
    Ret freeBuffer(void* pBufferIN);

    System* getSystem() const { return curSystem.getSystem(); }
    EnumStorLibType getStorLibType() const { return storlibType; }

    // Inside a catch block: the result of the exception being handled, with
    // its error entry for the library type (at file and line): -3 for a
    // failed allocation, -13 for anything else.
    static void setCaughtResult(EnumStorLibType type, Ret& ret, const char* file, int line);

protected:
    // Lets the family fill pNewSystem and makes it current, whatever the
    // family recorded in ret. A system whose build throws is deleted before
    // the exception passes on, since nothing else holds it.
    void adoptNewSystem(System* pNewSystem, Ret& ret);

    EnumStorLibType storlibType;
    RefSystem curSystem;

private:
    // The length of the last document handed out: the next one starts in a
    // block of about that size.
    uint32_t documentLength = 0;

    // A new system from the family, filled and made current; false (with
    // code -3 and its entry) when the family gives none.
    bool rebuild(Ret& ret);
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

    // Lets the next object count as the process's first again (tests only).
    static void resetForTest();

private:
    bool oneInstance;
    static bool isInstance;
};

#endif
