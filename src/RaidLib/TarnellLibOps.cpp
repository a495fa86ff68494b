// The operations TarnellLib carries out itself instead of the generic
// dispatch: they act on the system the library built last (sys), write no
// trace or error entries and let exceptions reach the caller.

#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"

RaidObject* TarnellLib::familyObject(const Addr& addrIN, const char* className)
{
    if (sys == nullptr)
        return nullptr;
    RaidObject* object = sys->getObject(addrIN);
    if (object == nullptr || !object->isInstanceOf(className))
        return nullptr;
    return object;
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
