// The physical half of a Tarnell adapter's subtree: one model object per
// device that the controller's RAID configuration lists on the adapter's
// channels, with what is read from the hard drives themselves.

#include <cstring>
#include <string>

#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellCDROMDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellEnclosure.h"
#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellOtherDevice.h"
#include "RaidModel/Implementation/Tarnell/TarnellTapeDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/Channel.h"
#include "storagedll/storintf.h"

namespace {

// The model state of a device's state code; 0 (no device) is never asked.
EnumPhysicalDeviceState deviceState(uint8_t code)
{
    switch (code) {
    case DEVSTATE_ONLINE:
        return DRIVE_ONLINE;
    case DEVSTATE_HOT_SPARE:
    case DEVSTATE_HOT_SPARE_05:
        return DRIVE_SPARE;
    case DEVSTATE_READY:
        return DRIVE_READY;
    case DEVSTATE_REBUILDING:
        return DRIVE_REBUILDING;
    case DEVSTATE_STANDBY:
        return DEVICE_STANDBY;
    default:
        return DRIVE_DEAD;
    }
}

// One identity text of a device slot, zero-terminated.
template <size_t N>
void copyText(char (&out)[N], const uint8_t* field, size_t length)
{
    static_assert(N > 0, "room for the terminator");
    const size_t n = length < N - 1 ? length : N - 1;
    std::memcpy(out, field, n);
    out[n] = '\0';
}

_STORAGE_ADDRESS_ID deviceAddress(const _STORAGE_ADDRESS_ID& adapterAddress, int channelID, int deviceID)
{
    _STORAGE_ADDRESS_ID address = adapterAddress;
    address.usChannelID = static_cast<uint16_t>(channelID);
    address.usPhysDevID = static_cast<uint16_t>(deviceID);
    return address;
}

// The caching mode page answers in MODE SENSE(6) layout: byte 3 is the length
// of the block descriptors (a signed byte), the page follows the 4-byte header
// and the descriptors, and WCE is bit 2 of the page's byte 2.
const unsigned MODE_HEADER_BYTES = 4;
const unsigned WCE_PAGE_BYTE = 2;
const uint8_t WCE_BIT = 0x04;

// The write-cache mode the drive reports; unknown when the page cannot be
// read or its WCE byte does not lie in the data returned.
EnumHardDriveCacheMode readWriteCacheMode(StoreDLLIntf* store, const _STORAGE_ADDRESS_ID& address)
{
    uint8_t page[MODE_PAGE_BUFFER_SIZE];
    std::memset(page, 0, sizeof page);
    uint32_t length = 0;
    const S_Ret sret = store->ReadModePageCmnd(address, length, page, sizeof page, MODE_PAGE_CACHING);
    if (sret.iReturnCode != 0 || length == 0)
        return HARD_DRIVE_CACHE_MODE_UNKNOWN;
    const int descriptors = static_cast<int8_t>(page[3]);
    const int wceByte = static_cast<int>(MODE_HEADER_BYTES) + descriptors + static_cast<int>(WCE_PAGE_BYTE);
    const uint32_t available = length < sizeof page ? length : static_cast<uint32_t>(sizeof page);
    if (wceByte < 0 || static_cast<uint32_t>(wceByte) >= available)
        return HARD_DRIVE_CACHE_MODE_UNKNOWN;
    return (page[wceByte] & WCE_BIT) != 0 ? HARD_DRIVE_CACHE_MODE_WRITE_BACK : HARD_DRIVE_CACHE_MODE_WRITE_THROUGH;
}

// The self-test query (test 3) answers 3 when the drive supports self-tests.
const uint16_t SELF_TEST_QUERY = 3;
const uint32_t SELF_TEST_SUPPORTED = 3;

// The device types that get a model object.
const uint32_t TYPE_HARD_DRIVE = HARD_DRIVE;
const uint32_t TYPE_TAPE = TAPE_DRIVE;
const uint32_t TYPE_ENCLOSURE = ENCLOSURE;
const uint32_t TYPE_CDROM = CD_ROM_DEVICE;
const uint32_t TYPE_OPTICAL = OPTICAL_DRIVE_DEVICE;

bool isBuiltType(uint32_t type)
{
    return type == TYPE_HARD_DRIVE || type == TYPE_TAPE || type == TYPE_ENCLOSURE || type == TYPE_CDROM ||
           type == TYPE_OPTICAL;
}

} // namespace

Ret TarnellAdapter::buildPhysicalDevices(TarnellAdapter* adapter)
{
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !tarnellAdapterAddress(adapter, address))
        return Ret(Ret::CONTROLLER_FAILED);

    _RAID_ADAPTER_INFO info;
    std::memset(&info, 0, sizeof info);
    if (store->RaidAdapterInfo(address, info).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retrieving adapter information failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }

    _ADAPTER_CONFIG config;
    std::memset(&config, 0, sizeof config);
    uint32_t configLength = 0;
    if (store->GetAdapterRaidConfig(address, &config, ADAPTER_CONFIG_SIZE, configLength, 0).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retrieving adapter raid configuration failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }

    _HDD_FRU_TABLE fru;
    std::memset(&fru, 0, sizeof fru);
    if (store->GetDriveFruData(address, fru).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retrieving HardDrive Fru Data failed");
        std::memset(&fru, 0, sizeof fru);   // whatever a failed call left is not a FRU number
    }

    // The configuration describes 4 channels; a larger count reported by the
    // controller has no slots behind it.
    const unsigned channels =
        info.sAdapInfo.usAdapChanCount < ACONFIG_CHANNELS ? info.sAdapInfo.usAdapChanCount : ACONFIG_CHANNELS;
    for (unsigned slot = 0; slot < channels * ACONFIG_TARGETS; ++slot) {
        const int channelID = static_cast<int>(slot / ACONFIG_TARGETS);
        const int deviceID = static_cast<int>(slot % ACONFIG_TARGETS);
        const _DEV_STATE& dev = config.sDevState[channelID][deviceID];
        if (dev.ucState == DEVSTATE_NONE)
            continue;
        const uint32_t type = dev.getDeviceType();
        if (!isBuiltType(type))
            continue;

        char vendor[DEVID_VENDOR_LEN + 1];
        char model[DEVID_MODEL_LEN + 1];
        char firmware[DEVID_FIRMWARE_LEN + 1];
        char serial[DEVID_SERIAL_LEN + 1];
        char fruNumber[sizeof fru.FruPNArray[0][0].FruPN + 1];
        copyText(vendor, dev.ucDeviceId + DEVID_VENDOR, DEVID_VENDOR_LEN);
        copyText(model, dev.ucDeviceId + DEVID_MODEL, DEVID_MODEL_LEN);
        copyText(firmware, dev.ucDeviceId + DEVID_FIRMWARE, DEVID_FIRMWARE_LEN);
        copyText(serial, dev.ucDeviceId + DEVID_SERIAL, DEVID_SERIAL_LEN);
        copyText(fruNumber, fru.FruPNArray[channelID][deviceID].FruPN, sizeof fru.FruPNArray[0][0].FruPN);
        const EnumPhysicalDeviceState state = deviceState(dev.ucState);

        Channel* channel = adapter->getChannel(channelID);
        if (channel == nullptr) {
            TarnellUtils::logMessage(WARNING_INFO, "Device " + std::to_string(channelID) + ":" +
                                                       std::to_string(deviceID) +
                                                       " skipped: the adapter has no object for its channel");
            continue;
        }
        const _STORAGE_ADDRESS_ID devAddress = deviceAddress(address, channelID, deviceID);

        OwnedSubtree<PhysicalDevice> device;
        if (type == TYPE_HARD_DRIVE) {
            const bool pfaError = dev.isPfaReported();
            const EnumHardDriveCacheMode cacheMode = readWriteCacheMode(store, devAddress);
            const bool cacheSettable = cacheMode == HARD_DRIVE_CACHE_MODE_WRITE_BACK ||
                                       cacheMode == HARD_DRIVE_CACHE_MODE_WRITE_THROUGH;
            const S_Ret selfTest = store->DriveSelfTest(devAddress, SELF_TEST_QUERY, 0, 0);
            const bool selfTestSupported =
                selfTest.iReturnCode == 0 && selfTest.iunSignedReturnValue == SELF_TEST_SUPPORTED;
            const bool osPartition = adapter->calculateHasOsPartition(channelID, deviceID);
            device.reset(new TarnellHardDrive(adapter, channel, deviceID, static_cast<int>(dev.ucBlockCount), state,
                                              vendor, model, serial, firmware, pfaError, cacheMode, cacheSettable,
                                              selfTestSupported, osPartition, fruNumber, false, true));
        } else if (type == TYPE_TAPE) {
            device.reset(new TarnellTapeDrive(adapter, channel, deviceID, vendor, model, serial, firmware, fruNumber));
        } else if (type == TYPE_CDROM) {
            device.reset(new TarnellCDROMDrive(adapter, channel, deviceID, vendor, model, serial, firmware, fruNumber));
        } else if (type == TYPE_OPTICAL) {
            device.reset(new TarnellOtherDevice(adapter, channel, deviceID, OPTICAL_DRIVE_DEVICE, vendor, model,
                                                serial, firmware, fruNumber));
        } else {
            TarnellEnclosure* enclosure = new TarnellEnclosure(adapter, channel, deviceID, vendor, model, serial,
                                                               firmware, state, false, fruNumber);
            device.reset(enclosure);
            enclosure->setInterfaceType(SCSI);
            _SAFTE_CONFIGURATION safteConfig;
            _SAFTE_STATUS safteStatus;
            std::memset(&safteConfig, 0, sizeof safteConfig);
            std::memset(&safteStatus, 0, sizeof safteStatus);
            if (store->GetSafteConfig(devAddress, safteConfig).iReturnCode == 0 &&
                store->GetSafteStatus(devAddress, safteStatus).iReturnCode == 0) {
                static_assert(sizeof(SAFTE_CONFIG) == sizeof safteConfig, "one 64-byte configuration page");
                SAFTE_CONFIG config64;
                std::memcpy(&config64, &safteConfig, sizeof config64);
                enclosure->buildSafte(config64, safteStatus);
                enclosure->setResponding(true);
            }
        }
        channel->addChild(device.release());
    }
    return Ret(Ret::SUCCESS);
}

bool TarnellAdapter::calculateHasOsPartition(int channelID, int deviceID)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !tarnellAdapterAddress(this, address))
        return false;

    // READ(6) of one block at logical block 0.
    uint8_t command[10];
    std::memset(command, 0, sizeof command);
    command[0] = 0x08;
    command[4] = 0x01;
    const uint32_t COMMAND_LENGTH = 6;
    uint8_t data[1000];
    uint8_t sense[256];
    std::memset(data, 0, sizeof data);
    std::memset(sense, 0, sizeof sense);
    uint32_t readCount = 0;
    uint32_t writeCount = 0;
    uint32_t statusCount = 0;
    const S_Ret sret = store->ExecDeviceCmnd(deviceAddress(address, channelID, deviceID), command, COMMAND_LENGTH,
                                             readCount, writeCount, statusCount, data, sizeof data, nullptr, 0,
                                             sense, sizeof sense, 10, 0, 1, 1);
    return sret.iReturnCode == 0 && statusCount == 0 && data[510] == 0x55 && data[511] == 0xAA;
}
