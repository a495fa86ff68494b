#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"

#include <cstring>

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"

TarnellAdapter* asTarnellAdapter(Adapter* adapter)
{
    if (adapter == nullptr || !adapter->isInstanceOf("TarnellAdapter"))
        return nullptr;
    return static_cast<TarnellAdapter*>(adapter);
}

bool tarnellAdapterAddress(const TarnellAdapter* adapter, _STORAGE_ADDRESS_ID& address)
{
    if (adapter == nullptr)
        return false;
    const int number = adapter->getTNCAdllID();
    if (number < 0)
        return false;
    std::memset(&address, 0, sizeof address);
    address.usAdapterID = static_cast<uint16_t>(number);
    return true;
}
