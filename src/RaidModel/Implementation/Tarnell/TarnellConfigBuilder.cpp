#include "RaidModel/Implementation/Tarnell/TarnellConfigBuilder.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "storagedll/storintf.h"

int TarnellConfigBuilder::getControllerCount()
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    if (!store)
        return 0;
    _STORAGE_ADDRESS_ID address;
    std::memset(&address, 0, sizeof address);
    uint16_t count = 0;
    store->SupportedAdapterCount(address, count, nullptr, 0);
    return count;
}

void TarnellConfigBuilder::buildSystem(TarnellSystem* system)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    if (!store || !system)
        return;
    S_Ret sret(-9, 0, 0, 0, 0, 0);
    _STORAGE_ADDRESS_ID address;
    std::memset(&address, 0, sizeof address);
    uint16_t count = 0;
    sret = store->SupportedAdapterCount(address, count, nullptr, 0);
    if (sret.iReturnCode != 0) {
        TarnellUtils::logMessage(FATAL_INFO, "Retrieving adapter count failed");
        return;
    }
    if (count == 0)
        return;

    const uint16_t listed = count;
    std::unique_ptr<_STORAGE_ADDRESS_ID[]> list(new _STORAGE_ADDRESS_ID[listed]);
    std::memset(list.get(), 0, sizeof(_STORAGE_ADDRESS_ID) * listed);
    sret = store->SupportedAdapterCount(address, count, list.get(),
                                        static_cast<uint32_t>(sizeof(_STORAGE_ADDRESS_ID) * listed));
    if (sret.iReturnCode != 0) {
        TarnellUtils::logMessage(FATAL_INFO, "Retrieving adapter count failed");
        return;
    }

    char text[100];
    std::snprintf(text, sizeof text, "Number of Controllers found is %d", static_cast<int>(count));
    TarnellUtils::logMessage(INFORMATION_INFO, text);

    // The second answer may report more controllers than the list holds.
    for (uint16_t i = 0; i < count && i < listed; ++i) {
        TarnellAdapter* adapter = TarnellAdapter::build(list[i]);
        if (adapter)
            system->addChild(adapter);
    }
}
