// The operations of a Tarnell adapter: its task in progress, the firmware
// feature test, and the adapter settings sent to the controller. None of the
// requests changes the model; a new setting shows in the next configuration
// read from the controller.

#include <cstring>

#include "RaidLib/Util/Progress.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "storagedll/storintf.h"

namespace {

// The C-API result of a request not yet answered.
S_Ret unanswered() { return S_Ret(-9, 0, 0, 0, 0, 0); }

// The controller of the adapter's requests and its address (zeroed, with
// the controller's C-API number and the given selector bits); null when no
// request can be sent (no controller library, or the adapter's C-API number
// is not known).
StoreDLLIntf* controller(const TarnellAdapter& adapter, uint32_t map, _STORAGE_ADDRESS_ID& address)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    if (!store || !tarnellAdapterAddress(&adapter, address))
        return nullptr;
    address.ulMap = map;
    return store;
}

// Code 0 when the call succeeded; otherwise the message in the family log
// and -5.
Ret answer(const S_Ret& sret, const char* failure)
{
    if (sret.iReturnCode == 0)
        return Ret(Ret::SUCCESS);
    TarnellUtils::logMessage(WARNING_INFO, failure);
    return Ret(Ret::CONTROLLER_FAILED);
}

// Reads the controller's RAID configuration into config.
Ret readConfig(StoreDLLIntf* store, const _STORAGE_ADDRESS_ID& address, _ADAPTER_CONFIG& config)
{
    std::memset(&config, 0, sizeof config);
    uint32_t returned = 0;
    S_Ret sret = store->GetAdapterRaidConfig(address, &config, ADAPTER_CONFIG_SIZE, returned, 0);
    return answer(sret, "Retrieving adapter raid configuration failed");
}

// The controller's stripe code of a stripe size code 4 to 7; 0 for any
// other value.
uint32_t stripeSliceCode(int stripeSizeIN)
{
    switch (stripeSizeIN) {
    case 4:
        return 8;
    case 5:
        return 16;
    case 6:
        return 32;
    case 7:
        return 64;
    default:
        return 0;
    }
}

} // namespace

Ret TarnellAdapter::getProgress(Progress& progress)
{
    progress.setType(TASK_NONE);
    progress.setStatus(TASK_STATE_NONE);
    FilterCollection drives(this);
    drives.apply("LogicalDrive", false);
    // The count is read again before each step.
    for (int i = 0; i < static_cast<int>(drives.size()); ++i) {
        RaidObject* object = drives.elementAt(i);
        if (!object)
            continue;
        Ret ret = static_cast<LogicalDrive*>(object)->getProgress(progress);
        if (ret.getReturn() == Ret::SUCCESS && progress.getStatus() != TASK_STATE_NONE)
            return ret;
    }
    progress.setType(TASK_NONE);
    progress.setStatus(TASK_STATE_NONE);
    return Ret(Ret::SUCCESS);
}

bool TarnellAdapter::supports(int feature) const
{
    const _ADAPTER_FEATURES& f = TarnellFeatureLevels;
    switch (feature) {
    case 1:
        return f.ulPosRelLevel() != 0;
    case 2:
        return f.ulDSCRelLevel() != 0;
    case 3:
        return f.ulAutoSyncRL() != 0;
    case 4:
        return f.ulHARelLevel() != 0;
    case 5:
        return f.ulOSSRelLevel() != 0;
    case 6:
        return f.ulLDMRelLevel() != 0;
    case 7:
        return f.ulAdapRARL() != 0;
    case 12:
        return f.ulR5ERelLevel() != 0;
    case 13:
        return f.ulIdDrvRelLvl() != 0;
    case 14:
        return f.ulQCRelLevel() != 0;
    case 15:
        return f.ulU16DRelLvl() != 0;
    case 16:
        return f.ulFFDCRelLevel() != 0;
    case 17:
        return f.ulBBCacheRelLevel() != 0;
    case 18:
        return f.ulHLDRelLevel() != 0;
    case 24:
        return f.ulUltra160RL() != 0;
    case 25:
        return f.ulRealTimeRL() != 0;
    case 26:
        return f.ulHardDrvFRU() != 0;
    case 27:
        return f.ulSSStatsRL() != 0;
    case 28:
        return f.ulUltra160RL() > 1;
    case 29:
        return f.ulR5EERelLevel() != 0;
    case 30:
        return f.ulBBCacheRelLevel() > 2;
    case 56:
        return f.ulVendorID() != 0;
    case 57:
        return f.ulDeviceID() != 0;
    case 58:
        return f.ulRevisionID() != 0;
    case 59:
        return f.ulCopyBackRL() != 0;
    case 108:
    case 109:
        return f.ulAdapterFRURL() != 0;
    default:
        return false;
    }
}

Ret TarnellAdapter::setReadAheadMode(bool enable)
{
    _STORAGE_ADDRESS_ID address;
    StoreDLLIntf* store = controller(*this, STADDR_MAP_ADAPTER_WIDE, address);
    if (!store)
        return Ret(Ret::CONTROLLER_FAILED);
    _ADAPTER_CONFIG config;
    Ret ret = readConfig(store, address, config);
    if (ret.getReturn() != Ret::SUCCESS)
        return ret;
    const bool current = (config.sVirtDrv[0].ucParams & VDP_PARAM_READ_AHEAD_OFF) == 0;
    if (current == enable)
        return Ret(Ret::SUCCESS);
    S_Ret sret = unanswered();
    sret = store->SetReadAheadMode(address, enable ? 1 : 0);
    return answer(sret, "Setting adapter's read ahead mode failed");
}

Ret TarnellAdapter::setWriteCacheEnable(bool enable)
{
    _STORAGE_ADDRESS_ID address;
    StoreDLLIntf* store = controller(*this, STADDR_MAP_ADAPTER_WIDE, address);
    if (!store)
        return Ret(Ret::CONTROLLER_FAILED);
    S_Ret sret = unanswered();
    sret = store->SetWritePolicy(address, enable ? 1 : 0);
    return answer(sret, "Setting adapter's write cache policy failed");
}

Ret TarnellAdapter::setCopyBack(bool enable)
{
    _STORAGE_ADDRESS_ID address;
    StoreDLLIntf* store = controller(*this, 0, address);
    if (!store)
        return Ret(Ret::CONTROLLER_FAILED);
    _ADAPTER_CONFIG config;
    Ret ret = readConfig(store, address, config);
    if (ret.getReturn() != Ret::SUCCESS)
        return ret;
    const bool current = config.sUserOpts.uiCopyBackEnabled() != 0;
    if (current == enable)
        return Ret(Ret::SUCCESS);
    S_Ret sret = unanswered();
    sret = store->SetCopyBackMode(address, enable ? 1 : 0);
    return answer(sret, "Setting adapter's copyback mode failed");
}

// Without controller access nothing is sent and the answer is -5, as for
// the other settings.
Ret TarnellAdapter::setStripeSize(EnumStripeSize stripeSizeIN)
{
    const uint32_t code = stripeSliceCode(static_cast<int>(stripeSizeIN));
    if (code == 0)
        return Ret(Ret::NOT_SUPPORTED);
    _STORAGE_ADDRESS_ID address;
    StoreDLLIntf* store = controller(*this, 0, address);
    if (!store)
        return Ret(Ret::CONTROLLER_FAILED);
    S_Ret sret = unanswered();
    sret = store->SetStripeSliceSize(address, code);
    return answer(sret, "Setting adapter stripe size failed");
}

// The controller fills a record of our own first, so that a failed request
// leaves the caller's record as it was.
Ret TarnellAdapter::returnProgress(_REBUILD_STATUS& rbldStatus)
{
    _STORAGE_ADDRESS_ID address;
    StoreDLLIntf* store = controller(*this, 0, address);
    if (!store)
        return Ret(Ret::CONTROLLER_FAILED);
    _REBUILD_STATUS status;
    std::memset(&status, 0, sizeof status);
    S_Ret sret = unanswered();
    sret = store->CheckProgress(address, status, 0);
    Ret ret = answer(sret, "Retrieving adapter progress object failed");
    if (ret.getReturn() == Ret::SUCCESS)
        rbldStatus = status;
    return ret;
}
