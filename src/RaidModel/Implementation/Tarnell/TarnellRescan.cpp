// The Tarnell adapter's rescan: walks every channel and target id of the
// controller and, through device-state changes, has it take up newly
// inserted ready drives and notice removed ones. The model is not changed;
// the new states show in the next configuration read. Progress goes to
// standard error, one line per channel:
//   N  a new drive was taken up as ready
//   R  a ready drive could not be set ready again: it is gone
//   .  anything else

#include <cstdio>
#include <cstring>

#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "storagedll/storintf.h"

namespace {

const uint8_t STATE_NO_DEVICE = 0x00;
const uint8_t STATE_READY = 0x81;
const uint16_t TARGETS_PER_CHANNEL = 16;

} // namespace

Ret TarnellAdapter::scanForDrives(bool asynchronous)
{
    if (asynchronous)
        return Ret(Ret::NOT_SUPPORTED);
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID adapterAddress;
    if (store == nullptr || !tarnellAdapterAddress(this, adapterAddress))
        return Ret(Ret::CONTROLLER_FAILED);

    _RAID_ADAPTER_INFO info;
    std::memset(&info, 0, sizeof info);
    if (store->RaidAdapterInfo(adapterAddress, info).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retrieving adapter information failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    const int channels = info.sAdapInfo.usAdapChanCount;

    int found = 0;
    int removed = 0;
    std::fprintf(stderr, "Scanning for new or removed drives ...\n");
    for (int c = 0; c < channels; ++c) {
        std::fprintf(stderr, "Channel #%d:  ", c + 1);
        for (uint16_t d = 0; d < TARGETS_PER_CHANNEL; ++d) {
            _STORAGE_ADDRESS_ID address = adapterAddress;
            address.usChannelID = static_cast<uint16_t>(c);
            address.usPhysDevID = d;
            uint8_t state = 0;
            if (store->GetPhysDevState(address, state).iReturnCode != 0)
                return Ret(Ret::CONTROLLER_FAILED);
            if (state == STATE_NO_DEVICE) {
                if (store->SetPhysDevState(address, STATE_READY).iReturnCode == 0) {
                    ++found;
                    std::fputs("N", stderr);
                } else {
                    std::fputs(".", stderr);
                }
            } else if (state == STATE_READY) {
                // A ready drive taken down and set ready again; one that is
                // gone refuses the second step.
                if (store->SetPhysDevState(address, STATE_NO_DEVICE).iReturnCode != 0)
                    return Ret(Ret::CONTROLLER_FAILED);
                if (store->SetPhysDevState(address, STATE_READY).iReturnCode != 0) {
                    ++removed;
                    std::fputs("R", stderr);
                } else {
                    store->SetPhysDevState(address, STATE_READY);
                    std::fputs(".", stderr);
                }
            } else {
                std::fputs(".", stderr);
            }
        }
        std::fputs("\n", stderr);
    }
    std::fprintf(stderr, "%d new ready drives found", found);
    std::fprintf(stderr, "%d removed ready drives found", removed);
    return Ret(Ret::SUCCESS);
}
