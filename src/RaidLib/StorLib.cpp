#include "RaidLib/StorLib.h"

#include <new>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/System.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

// Deletes a system that nobody holds, with its tree.
void discardSystem(System* system)
{
    try {
        system->deleteAllChildren();
        delete system;
    } catch (...) {
    }
}

// The tree of system as a document in a new buffer, which the caller owns;
// with a null system the document is empty. The buffer starts as large as
// the previous document needed, whose length lengthINOUT holds and then
// receives the new one's. A buffer begun before a throw is released.
char* newDocument(const System* system, uint32_t& lengthINOUT)
{
    char* pXml = nullptr;
    try {
        XMLWriter writer(&pXml, lengthINOUT);
        if (system)
            writer.writeTree(system);
        lengthINOUT = writer.getStrSize();
    } catch (...) {
        delete[] pXml;
        throw;
    }
    return pXml;
}

// Stores a new buffer in the target of an out-parameter, releasing the one
// it held.
void handOut(char** pTargetINOUT, char* pBufferIN)
{
    delete[] *pTargetINOUT;
    *pTargetINOUT = pBufferIN;
}

} // namespace

// ------------------------------------------------------------------ RefSystem

RefSystem::RefSystem() : pSystem(nullptr)
{
    StorDebugTracer tracer(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "RefSystem::RefSystem()");
}

RefSystem::RefSystem(System* pSystemIN) : pSystem(nullptr)
{
    StorDebugTracer tracer(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RefSystem::RefSystem(System * pSystemIN)");
    Set(pSystemIN);
}

RefSystem::RefSystem(const RefSystem& right) : pSystem(nullptr)
{
    StorDebugTracer tracer(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RefSystem::RefSystem(const RefSystem &right)");
    Set(right);
}

RefSystem::~RefSystem()
{
    StorDebugTracer tracer(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "RefSystem::~RefSystem()");
    DecrementRefCount();
    StorTracePrintf(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "# RaidObjects = %u",
                    static_cast<unsigned>(globalRaidObjectCounter.load()));
}

RefSystem& RefSystem::Set(System* pSystemIN)
{
    StorDebugTracer tracer(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RefSystem::Set(System * pSystemIN)");
    if (pSystem && pSystem == pSystemIN)
        return *this;
    DecrementRefCount();
    if (pSystemIN) {
        osThreadLockerGrabber lock(pSystemIN->refLocker);
        ++pSystemIN->refCount;
        pSystem = pSystemIN;
    }
    return *this;
}

RefSystem& RefSystem::Set(const RefSystem& right)
{
    StorDebugTracer tracer(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RefSystem::Set(const RefSystem &right)");
    if (&right != this)
        Set(right.pSystem);
    return *this;
}

void RefSystem::Release()
{
    StorDebugTracer tracer(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "RefSystem::Release()");
    DecrementRefCount();
}

// The count is changed and the decision to delete is taken under the
// system's lock; the tree is deleted after the lock is released, since the
// lock is part of the system.
void RefSystem::DecrementRefCount()
{
    StorDebugTracer tracer(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RefSystem::DecrementRefCount()");
    System* system = pSystem;
    pSystem = nullptr;
    if (!system)
        return;
    bool last = false;
    {
        osThreadLockerGrabber lock(system->refLocker);
        if (system->refCount > 0)
            last = --system->refCount == 0;
    }
    if (last)
        discardSystem(system);
}

// -------------------------------------------------------------------- StorLib

StorLib::StorLib(EnumStorLibType storlibTypeIN) : storlibType(storlibTypeIN)
{
    try {
        doStorDebugInitialization(storlibType);
    } catch (...) {
        StorErrorPrintf(storlibType, __FILE__, __LINE__, "*** Exception Caught: StorLib::StorLib() ***");
    }
}

StorLib::~StorLib()
{
    try {
        doStorDebugCleanup(storlibType);
    } catch (...) {
        StorErrorPrintf(storlibType, __FILE__, __LINE__, "*** Exception Caught: StorLib::~StorLib() ***");
    }
    // curSystem lets go of the current system as the members are destroyed.
}

void StorLib::adoptNewSystem(System* pNewSystem, Ret& ret)
{
    try {
        pNewSystem->buildChildren(this, ret);
    } catch (...) {
        discardSystem(pNewSystem);
        throw;
    }
    curSystem.Set(pNewSystem);
}

bool StorLib::rebuild(Ret& ret)
{
    System* pNewSystem = newSystem();
    if (!pNewSystem) {
        ret.setResource();
        StorErrorPrintf(storlibType, __FILE__, __LINE__, "*** Resource Error: %s ***", "pNewSystem = newSystem()");
        return false;
    }
    adoptNewSystem(pNewSystem, ret);
    return true;
}

Ret StorLib::getSystemConfig(char** pXmlOUT)
{
    StorDebugTracer tracer(storlibType, STOR_DEBUG_TRACE, "StorLib::getSystemConfig(char** pXmlOUT)");
    Ret ret(0);
    try {
        if (!pXmlOUT) {
            ret.setBadParam(0);
            StorErrorPrintf(storlibType, __FILE__, __LINE__, "*** Bad Parameter: %s, paramValue=%d ***",
                            "pXmlOUT==NULL", 0);
            return ret;
        }
        if (!rebuild(ret))
            return ret;
        handOut(pXmlOUT, newDocument(curSystem.getSystem(), documentLength));
        StorConfigPrintf(storlibType, *pXmlOUT);
    } catch (...) {
        setCaughtResult(storlibType, ret, __FILE__, __LINE__);
    }
    return ret;
}

Ret StorLib::getSystemConfig()
{
    StorDebugTracer tracer(storlibType, STOR_DEBUG_TRACE, "StorLib::getSystemConfig()");
    Ret ret(0);
    try {
        rebuild(ret);
    } catch (...) {
        setCaughtResult(storlibType, ret, __FILE__, __LINE__);
    }
    return ret;
}

Ret StorLib::getCachedSystemConfig(char** pXmlOUT)
{
    StorDebugTracer tracer(storlibType, STOR_DEBUG_TRACE, "StorLib::getCachedSystemConfig(char** pXmlOUT)");
    Ret ret(0);
    try {
        if (!pXmlOUT) {
            ret.setBadParam(0);
            StorErrorPrintf(storlibType, __FILE__, __LINE__, "*** Bad Parameter: %s, paramValue=%d ***",
                            "pXmlOUT==NULL", 0);
            return ret;
        }
        System* system = curSystem.getSystem();
        if (!system || system->getNumChildren() == 0) {
            if (!rebuild(ret))
                return ret;
            system = curSystem.getSystem();
        }
        if (!system) {
            ret.setResource();
            StorErrorPrintf(storlibType, __FILE__, __LINE__, "*** Resource Error: %s ***", "curSystem == NULL");
        }
        handOut(pXmlOUT, newDocument(system, documentLength));
    } catch (...) {
        setCaughtResult(storlibType, ret, __FILE__, __LINE__);
    }
    return ret;
}

Ret StorLib::getControllerCount(unsigned long& countOUT)
{
    Ret ret(0);
    try {
        System* system = curSystem.getSystem();
        if (!system) {
            ret.setBadParam(0);
            StorErrorPrintf(storlibType, __FILE__, __LINE__, "*** Bad Parameter: %s, paramValue=%d ***",
                            "curSystem==NULL", 0);
            return ret;
        }
        countOUT = system->getControllerCount(this, ret);
    } catch (...) {
        setCaughtResult(storlibType, ret, __FILE__, __LINE__);
    }
    return ret;
}

Adapter* StorLib::getAdapter(unsigned long n) const
{
    System* system = curSystem.getSystem();
    return system ? system->getAdapter(n) : nullptr;
}

unsigned long StorLib::getNumAdapters() const
{
    System* system = curSystem.getSystem();
    return system ? system->getNumAdapters() : 0;
}

void StorLib::setCaughtResult(EnumStorLibType type, Ret& ret, const char* file, int line)
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        ret.setResource();
        StorErrorPrintf(type, file, line, "*** Resource Error: %s ***", "out of memory");
    } catch (...) {
        ret.setException();
        StorErrorPrintf(type, file, line, "*** Exception Caught ***");
    }
}

Ret StorLib::freeBuffer(void* pBufferIN)
{
    delete[] static_cast<char*>(pBufferIN);
    return Ret(0);
}

// The load hook has usually made the lock already; it is kept then, since
// other threads may be using it.
void StorLib::Init()
{
    if (!pStorLibGlobalThreadLocker)
        pStorLibGlobalThreadLocker = new osThreadLocker;
    doStorDebugInitialization(STORLIB_TARNELL);
}

void StorLib::Finish()
{
    doStorDebugCleanup(STORLIB_TARNELL);
    StorDebugDeleteAll();
    if (pStorLibGlobalThreadLocker) {
        delete pStorLibGlobalThreadLocker;
        pStorLibGlobalThreadLocker = nullptr;
    }
}

// ---------------------------------------------------------------- StorLibInit

bool StorLibInit::isInstance = false;

StorLibInit::StorLibInit() : oneInstance(false)
{
    if (!isInstance) {
        isInstance = true;
        oneInstance = true;
        StorLib::Init();
    }
}

StorLibInit::~StorLibInit()
{
    if (oneInstance)
        StorLib::Finish();
}

void StorLibInit::resetForTest() { isInstance = false; }
