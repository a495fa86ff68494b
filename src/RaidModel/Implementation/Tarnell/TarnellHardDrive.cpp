#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"

#include <algorithm>
#include <cstring>

#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/Channel.h"
#include "storagedll/storintf.h"

namespace {

// The controller's state code of a model device state.
uint8_t stateCodeOf(EnumPhysicalDeviceState state)
{
    switch (state) {
    case DRIVE_READY:
        return 0x81;
    case DRIVE_ONLINE:
    case DRIVE_PARTITIONED_SINGLE:
        return 0x89;
    case DRIVE_DEAD:
        return 0x08;
    case DEVICE_STANDBY:
        return 0x01;
    case DRIVE_SPARE:
        return 0x85;
    case DRIVE_REBUILDING:
        return 0x8B;
    default:
        return 0x00;
    }
}

// Identify codes of a single device.
const uint8_t IDENTIFY_DEVICE_START = 0;
const uint8_t IDENTIFY_DEVICE_STOP = 1;

// The caching mode page in MODE SENSE(6) layout: a 4-byte header whose
// byte 2 is the device-specific parameter and byte 3 the length of the block
// descriptors, the descriptors, then the page, whose byte 0 is 0x88 (PS bit,
// page 08h) and whose byte 2 holds WCE.
const uint32_t PAGE_BUFFER_SIZE = MODE_PAGE_BUFFER_SIZE;
const unsigned HEADER_SIZE = 4;
const unsigned WCE_PAGE_BYTE = 2;
const uint8_t WCE_BIT = 0x04;
const uint8_t CACHING_PAGE_WITH_PS = 0x88;
const uint8_t DPOFUA_BIT = 0x10;

void eraseLeading(std::string& text, char c) { text.erase(0, std::min(text.find_first_not_of(c), text.size())); }

void eraseTrailing(std::string& text, char c)
{
    const std::string::size_type last = text.find_last_not_of(c);
    text.erase(last == std::string::npos ? 0 : last + 1);
}

const char* const READ_FAILED = "Reading data from device failed";

// Reads the caching page with the given page control into buffer; false
// (with the warning in the family log) when the request fails or returns
// nothing.
bool readCachingPage(StoreDLLIntf* store, const _STORAGE_ADDRESS_ID& address, uint8_t (&buffer)[PAGE_BUFFER_SIZE],
                     uint32_t pageByte, uint32_t& length)
{
    std::memset(buffer, 0, sizeof buffer);
    length = 0;
    const S_Ret sret = store->ReadModePageCmnd(address, length, buffer, PAGE_BUFFER_SIZE, pageByte);
    if (sret.iReturnCode != 0 || length == 0) {
        TarnellUtils::logMessage(WARNING_INFO, READ_FAILED);
        return false;
    }
    return true;
}

} // namespace

TarnellHardDrive::TarnellHardDrive() : HardDrive(), ChunkIDs(), configuredSingle(false)
{
    tarnellTraceConstruct("TarnellHardDrive");
}

TarnellHardDrive::TarnellHardDrive(const TarnellHardDrive& right)
    : HardDrive(right), ChunkIDs(right.ChunkIDs), configuredSingle(right.configuredSingle)
{
    tarnellTraceConstruct("TarnellHardDrive");
}

TarnellHardDrive::TarnellHardDrive(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN, int sizeIN,
                                   EnumPhysicalDeviceState stateIN, char* vendorIN, char* modelIN,
                                   char* serialNumberIN, char* firmwareLevelIN, bool pfaErrorIN,
                                   EnumHardDriveCacheMode writeCacheEnableIN, bool writeCacheEnableSupportedIN,
                                   bool selfTestSupportedIN, bool bOSPartitionIN, char* fruNumberIN,
                                   bool configuredSingleIN, bool pfaSupportedIN)
    : HardDrive(adapterIN, channelIN, static_cast<unsigned long>(deviceIDIN),
                static_cast<unsigned long long>(static_cast<int64_t>(sizeIN)), stateIN, vendorIN, modelIN,
                serialNumberIN, firmwareLevelIN, pfaErrorIN, writeCacheEnableIN, writeCacheEnableSupportedIN,
                selfTestSupportedIN, bOSPartitionIN, fruNumberIN, pfaSupportedIN),
      ChunkIDs(),
      configuredSingle(configuredSingleIN)
{
    tarnellTraceConstruct("TarnellHardDrive");
}

TarnellHardDrive::~TarnellHardDrive() { tarnellTraceDestruct("TarnellHardDrive"); }

bool TarnellHardDrive::isInstanceOf(const char* className) const
{
    return isClassName(className, "TarnellHardDrive") || HardDrive::isInstanceOf(className);
}

const char* TarnellHardDrive::typeName() const { return "TarnellHardDrive"; }

Ret TarnellHardDrive::beginRequest(StoreDLLIntf*& store, _STORAGE_ADDRESS_ID& address)
{
    store = DllP::GetDLLPointer();
    TarnellAdapter* tarnellAdapter = asTarnellAdapter(adapter);
    if (store == nullptr || !tarnellAdapterAddress(tarnellAdapter, address))
        return Ret(Ret::CONTROLLER_FAILED);
    const STORID_T channelID = (channel != nullptr ? channel->getChannelID() : getChannelID()) & 0xFFFFu;
    const STORID_T deviceID = getDeviceID() & 0xFFFFu;
    address.usChannelID = static_cast<uint16_t>(channelID);
    address.usPhysDevID = static_cast<uint16_t>(deviceID);

    RaidObject* found = tarnellAdapter->getObject(tarnellAdapter->getAdapterID(), STORID_UNDEFINED,
                                                  STORID_UNDEFINED, channelID, deviceID);
    if (found == nullptr || !found->isInstanceOf("HardDrive"))
        return Ret(Ret::BAD_PARAM);
    return Ret(Ret::SUCCESS);
}

Ret TarnellHardDrive::setState(EnumPhysicalDeviceState state)
{
    StoreDLLIntf* store = nullptr;
    _STORAGE_ADDRESS_ID address;
    Ret ret = beginRequest(store, address);
    if (ret.getReturn() != Ret::SUCCESS)
        return ret;
    if (store->SetPhysDevState(address, stateCodeOf(state)).iReturnCode != 0)
        return Ret(Ret::CONTROLLER_FAILED);
    return Ret(Ret::SUCCESS);
}

Ret TarnellHardDrive::createGlobalHotSpare() { return setState(DRIVE_SPARE); }

Ret TarnellHardDrive::identifyDevice(bool mode)
{
    StoreDLLIntf* store = nullptr;
    _STORAGE_ADDRESS_ID address;
    Ret ret = beginRequest(store, address);
    if (ret.getReturn() != Ret::SUCCESS)
        return ret;
    const uint8_t code = mode ? IDENTIFY_DEVICE_START : IDENTIFY_DEVICE_STOP;
    if (store->IdentifyPhysicalDrive(address, code).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Identifying physical drive failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}

Ret TarnellHardDrive::setWriteCacheEnable(bool enable)
{
    if (!getWriteCacheEnableSupported())
        return Ret(Ret::NOT_SUPPORTED);
    StoreDLLIntf* store = nullptr;
    _STORAGE_ADDRESS_ID address;
    Ret ret = beginRequest(store, address);
    if (ret.getReturn() != Ret::SUCCESS)
        return ret;

    // Which bits may be changed: WCE must be one of them.
    uint8_t buffer[PAGE_BUFFER_SIZE];
    uint32_t length = 0;
    if (!readCachingPage(store, address, buffer, MODE_PAGE_CACHING_CHANGEABLE, length))
        return Ret(Ret::CONTROLLER_FAILED);
    // The WCE byte lies behind the header and the block descriptors; the
    // page must hold it within the buffer and within what was returned.
    const uint32_t offset = HEADER_SIZE + buffer[3] + WCE_PAGE_BYTE;
    if (length > PAGE_BUFFER_SIZE || offset >= length)
        return Ret(Ret::CONTROLLER_FAILED);
    if ((buffer[offset] & WCE_BIT) == 0 || buffer[offset - WCE_PAGE_BYTE] != CACHING_PAGE_WITH_PS)
        return Ret(Ret::CONTROLLER_FAILED);

    // The current values, written back with WCE as asked.
    if (!readCachingPage(store, address, buffer, MODE_PAGE_CACHING, length))
        return Ret(Ret::CONTROLLER_FAILED);
    if (length > PAGE_BUFFER_SIZE || offset >= length)
        return Ret(Ret::CONTROLLER_FAILED);
    uint8_t page[PAGE_BUFFER_SIZE];
    std::memcpy(page, buffer, length);
    if (enable)
        page[offset] = static_cast<uint8_t>(page[offset] | WCE_BIT);
    else
        page[offset] = static_cast<uint8_t>(page[offset] & ~WCE_BIT);
    page[2] = static_cast<uint8_t>(page[2] & ~DPOFUA_BIT);

    const uint32_t dataLength = length;
    if (store->WriteModePageCmnd(address, length, page, dataLength, MODE_PAGE_CACHING).iReturnCode != 0)
        return Ret(Ret::CONTROLLER_FAILED);
    return Ret(Ret::SUCCESS);
}

bool TarnellHardDrive::isVendorSupported(RaidObject* object)
{
    static const char* const acceptedVendors[] = {"ZEQ-VRKD", "ZEQ-XJP", "ZEQ-TWQM"};
    if (object == nullptr || !object->isInstanceOf("PhysicalDevice"))
        return false;
    std::string vendor(static_cast<PhysicalDevice*>(object)->getVendor());
    if (vendor.empty())
        return false;
    const std::string trimmed = trim(vendor);
    for (const char* accepted : acceptedVendors) {
        if (trimmed == accepted)
            return true;
    }
    return false;
}

std::string TarnellHardDrive::trim(std::string& str)
{
    eraseTrailing(str, ' ');

    std::string copy(str);
    eraseLeading(copy, ' ');
    eraseTrailing(copy, '\t');
    eraseLeading(copy, '\t');

    if (copy.empty())
        return copy;
    // Blanks and tabs that alternate at the start need another round.
    if (copy[0] == ' ' || copy[0] == '\t')
        return trim(copy);
    return copy;
}
