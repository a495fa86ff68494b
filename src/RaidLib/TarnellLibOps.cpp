// The operations TarnellLib carries out itself instead of the generic
// dispatch: they act on the system the library built last (sys), write no
// trace or error entries and let exceptions reach the caller.

#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"

RaidObject* TarnellLib::objectIn(System* system, const Addr& addrIN, const char* className)
{
    if (system == nullptr)
        return nullptr;
    RaidObject* object = system->findObject(addrIN);
    if (object == nullptr || !object->isInstanceOf(className))
        return nullptr;
    return object;
}

RaidObject* TarnellLib::familyObject(const Addr& addrIN, const char* className)
{
    return objectIn(sys, addrIN, className);
}

Ret TarnellLib::getControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN, char* pBufferOUT,
                                 unsigned long& buffSizeINOUT)
{
    Adapter* adapter = static_cast<Adapter*>(familyObject(addrIN, "Adapter"));
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    return adapter->getControllerLog(logTypeIN, pBufferOUT, buffSizeINOUT);
}

Ret TarnellLib::clearControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN)
{
    TarnellAdapter* adapter = static_cast<TarnellAdapter*>(familyObject(addrIN, "TarnellAdapter"));
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    return adapter->clearControllerLog(logTypeIN);
}

Ret TarnellLib::syncRescan(const Addr& addrIN)
{
    TarnellAdapter* adapter = static_cast<TarnellAdapter*>(familyObject(addrIN, "TarnellAdapter"));
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    return adapter->scanForDrives(false);
}

Ret TarnellLib::setLogicalDriveCache(const Addr& addrIN, EnumLogicalDriveCacheMode readCacheSettingIN,
                                     EnumLogicalDriveCacheMode writeCacheSettingIN)
{
    // Only the write cache of a drive or adapter can be set.
    if (readCacheSettingIN != LD_CACHE_NO_CHANGE ||
        (writeCacheSettingIN != LD_CACHE_DISABLED && writeCacheSettingIN != LD_CACHE_ENABLED))
        return Ret(Ret::NOT_SUPPORTED);
    const bool enable = writeCacheSettingIN == LD_CACHE_ENABLED;
    if (RaidObject* o = familyObject(addrIN, "TarnellBasicLogicalDrive"))
        return static_cast<TarnellBasicLogicalDrive*>(o)->setWriteCacheEnable(enable);
    if (RaidObject* o = familyObject(addrIN, "TarnellHLogicalDrive"))
        return static_cast<TarnellHLogicalDrive*>(o)->setWriteCacheEnable(enable);
    if (RaidObject* o = familyObject(addrIN, "TarnellAdapter"))
        return static_cast<TarnellAdapter*>(o)->setWriteCacheEnable(enable);
    return Ret(Ret::BAD_PARAM);
}

Ret TarnellLib::setStripeSize(const Addr& addrIN, EnumStripeSize stripeSizeIN)
{
    TarnellAdapter* adapter = static_cast<TarnellAdapter*>(familyObject(addrIN, "TarnellAdapter"));
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    return adapter->setStripeSize(stripeSizeIN);
}

Ret TarnellLib::setCopyBack(const Addr& addrIN, bool bEnabledIN)
{
    TarnellAdapter* adapter = static_cast<TarnellAdapter*>(familyObject(addrIN, "TarnellAdapter"));
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    return adapter->setCopyBack(bEnabledIN);
}
