#include "RaidLib/StorLib.h"

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/System.h"

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
    if (!last)
        return;
    try {
        system->deleteAllChildren();
        delete system;
    } catch (...) {
    }
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
