#include "RaidLib/TarnellLib.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "RaidLib/Util/Date.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"

uint32_t TarnellLib::pollingRate = 15;
uint32_t TarnellLib::configChangePollingRate = 5;
uint32_t TarnellLib::lastMainThreadTimeCall = 0;
uint32_t TarnellLib::lastConfigChangeTimeCall = 0;
uint32_t TarnellLib::lastConfigChangeTime = 0;

namespace {

// The operations a client may ask supportsMethod about.
const char* const SUPPORTED_METHODS[] = {
    "getControllerCount",      "getControllerLog",    "setLogicalDriveCache",     "startTask",
    "setPhysicalDriveCache",   "synchronizeLogicalDrive", "getTasks",             "setDeviceState",
    "createLogicalDrive",      "identifyDevice",      "deleteLogicalDrive",       "initializeLogicalDrive",
    "getEvents",               "setStripeSize",       "increaseLogicalDriveSize", "modifyLogicalDrive",
    "setLogicalDriveState",    "createGlobalSpare",   "deleteSpare",              "syncRescan",
    "scsiPassThruCommand",     "downHardDrive",       "setCopyBack",              "clearControllerLog",
    "unblockLogicalDrive",     "setAdapterReadCache", "getSystem",
};

} // namespace

TarnellLib::TarnellLib()
    : StorLibPlugin(STORLIB_TARNELL), sys(nullptr), currentSys(nullptr), oldSys(nullptr), newSys(nullptr),
      replacedSys(nullptr)
{
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE_IMPL_CONSTRUCT, "TarnellLib::TarnellLib()");
    std::unique_ptr<TarnellSystem> empty(new TarnellSystem);
    ownedSystems.push_back(OwnedSystem{empty.get(), false});
    sys = empty.release();
    const uint32_t now = Date().getTime();
    // Inside the trace scope, as in the poll.
    std::lock_guard<std::mutex> hold(TarnellEvents::pollLock());
    if (lastMainThreadTimeCall == 0)
        lastMainThreadTimeCall = now;
    if (lastConfigChangeTimeCall == 0)
        lastConfigChangeTimeCall = now;
    if (lastConfigChangeTime == 0)
        lastConfigChangeTime = now;
}

// Only the systems of the owned list are deleted; sys may be the counted
// current system, which the base releases.
TarnellLib::~TarnellLib()
{
    for (const OwnedSystem& owned : ownedSystems)
        deleteSystem(owned.system);
    ownedSystems.clear();
    sys = currentSys = oldSys = newSys = replacedSys = nullptr;
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE_IMPL_CONSTRUCT, "TarnellLib::~TarnellLib()");
}

// The system that sys named is kept until the new one is built, so that a
// build that fails can give sys back to it (buildEnded).
System* TarnellLib::newSystem()
{
    TarnellSystem* system = new (std::nothrow) TarnellSystem;
    if (!system)
        return nullptr;
    replacedSys = sys;
    sys = system;
    return system;
}

void TarnellLib::buildEnded(TarnellSystem* system, bool built)
{
    if (!system || system != sys)
        return;
    TarnellSystem* replaced = replacedSys;
    replacedSys = nullptr;
    if (built)
        retire(replaced);
    else
        sys = replaced;
}

bool TarnellLib::supportsMethod(const char* method)
{
    if (!method)
        return false;
    for (const char* name : SUPPORTED_METHODS) {
        if (std::strcmp(name, method) == 0)
            return true;
    }
    return false;
}

RaidObject* TarnellLib::getCurrentObject(Addr& ldAddr) { return currentSys ? currentSys->findObject(ldAddr) : nullptr; }

RaidObject* TarnellLib::getOldObject(Addr& addr) { return oldSys ? oldSys->findObject(addr) : nullptr; }

TarnellSystem* TarnellLib::getNewSystem()
{
    TarnellSystem* system = buildOwnedSystem(true);
    if (!system)
        return nullptr;
    TarnellSystem* previous = newSys;
    newSys = system;
    if (!currentSys)
        currentSys = system;
    retire(previous);
    return newSys;
}

void TarnellLib::releaseSystem(System* system)
{
    auto owned = std::find_if(ownedSystems.begin(), ownedSystems.end(),
                              [system](const OwnedSystem& o) { return o.system == system; });
    if (!system || owned == ownedSystems.end() || !owned->handedOut)
        return;
    owned->handedOut = false;
    if (newSys == system)
        newSys = nullptr;
    retire(system);
}

uint8_t TarnellLib::getLDMProgressType(Addr& addrIN)
{
    if (!currentSys)
        currentSys = buildOwnedSystem(false);
    if (!currentSys)
        return 0;
    RaidObject* object = currentSys->findObject(addrIN);
    if (!object || !object->isInstanceOf("TarnellAdapter"))
        return 0;
    _REBUILD_STATUS status;
    std::memset(&status, 0, sizeof status);
    if (static_cast<TarnellAdapter*>(object)->returnProgress(status) != Ret(0))
        return 0;
    return status.ucLdmOption;
}

void TarnellLib::SetNRMStartTime(time_t nrmStartTime)
{
    std::lock_guard<std::mutex> hold(TarnellEvents::pollLock());
    TarnellEvents::SetNRMTime(static_cast<long>(nrmStartTime));
}

void TarnellLib::deleteSystem(System* system)
{
    if (!system)
        return;
    system->deleteAllChildren();
    delete system;
}

void TarnellLib::resetPollClocksForTest()
{
    lastMainThreadTimeCall = 0;
    lastConfigChangeTimeCall = 0;
    lastConfigChangeTime = 0;
}

TarnellSystem* TarnellLib::buildOwnedSystem(bool handedOut)
{
    TarnellSystem* system = nullptr;
    try {
        // Room first: once made, the system is kept without another allocation.
        ownedSystems.reserve(ownedSystems.size() + 1);
        system = static_cast<TarnellSystem*>(newSystem());
        if (!system)
            return nullptr;
        ownedSystems.push_back(OwnedSystem{system, handedOut});
        Ret ret;
        system->buildChildren(this, ret);
        return system;
    } catch (const std::bad_alloc&) {
        // The build has given sys back already; the half-built system goes
        // with whatever it holds.
        if (system) {
            ownedSystems.pop_back();
            deleteSystem(system);
        }
        return nullptr;
    }
}

bool TarnellLib::isNamed(const System* system) const
{
    return system == sys || system == currentSys || system == oldSys || system == newSys || system == replacedSys;
}

void TarnellLib::retire(System* system)
{
    if (!system || isNamed(system))
        return;
    auto owned = std::find_if(ownedSystems.begin(), ownedSystems.end(),
                              [system](const OwnedSystem& o) { return o.system == system; });
    if (owned == ownedSystems.end() || owned->handedOut)
        return;
    ownedSystems.erase(owned);
    deleteSystem(system);
}

namespace tarnellSDK {

StorLibSDK::StorLibSDK() : pLibHandle(new TarnellLib) {}

StorLibSDK::~StorLibSDK()
{
    if (pLibHandle)
        delete pLibHandle;
}

} // namespace tarnellSDK
