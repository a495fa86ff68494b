#include "RaidModel/Implementation/Tarnell/TarnellEnclosure.h"

#include <cstring>
#include <memory>

#include "RaidLib/Util/SafteStatus.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/Channel.h"
#include "storagedll/storintf.h"

namespace {

// Identify codes of an enclosure (a drive uses 0 and 1).
const uint8_t IDENTIFY_ENCLOSURE_START = 5;
const uint8_t IDENTIFY_ENCLOSURE_STOP = 6;

// Decodes one status byte: the failed bit is tested before the
// not-installed bit.
int elementCode(uint8_t status, uint8_t failedBit, uint8_t notInstalledBit)
{
    if ((status & failedBit) != 0)
        return TarnellEnclosure::ELEMENT_FAILED;
    if ((status & notInstalledBit) != 0)
        return TarnellEnclosure::ELEMENT_NOT_INSTALLED;
    return TarnellEnclosure::ELEMENT_OPERATIONAL;
}

} // namespace

TarnellEnclosure::TarnellEnclosure() : Enclosure(), responding(false) { tarnellTraceConstruct("TarnellEnclosure"); }

TarnellEnclosure::TarnellEnclosure(const TarnellEnclosure& right) : Enclosure(right), responding(right.responding)
{
    tarnellTraceConstruct("TarnellEnclosure");
    safteDataValid = right.safteDataValid;
    safteConfig = right.safteConfig ? new SafteConfig(*right.safteConfig) : nullptr;
    safteStatus = right.safteStatus ? new SafteStatus(*right.safteStatus) : nullptr;
}

TarnellEnclosure::TarnellEnclosure(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN,
                                   const char* vendorIN, const char* modelIN, const char* serialNumberIN,
                                   const char* firmwareLevelIN, EnumPhysicalDeviceState stateIN, bool respondingIN,
                                   const char* fruNumberIN)
    : Enclosure(adapterIN, channelIN, static_cast<STORID_T>(deviceIDIN), vendorIN, modelIN, serialNumberIN,
                firmwareLevelIN, stateIN, fruNumberIN),
      responding(respondingIN)
{
    tarnellTraceConstruct("TarnellEnclosure");
}

TarnellEnclosure::~TarnellEnclosure() { tarnellTraceDestruct("TarnellEnclosure"); }

bool TarnellEnclosure::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "TarnellEnclosure") == 0) || Enclosure::isInstanceOf(className);
}

const char* TarnellEnclosure::typeName() const { return "TarnellEnclosure"; }

void TarnellEnclosure::buildSafte(SAFTE_CONFIG& safteConfigIN, _SAFTE_STATUS& safteStatusIN)
{
    OwnedSubtree<SafteConfig> config(new SafteConfig);
    config->initFieldsFromData(&safteConfigIN);

    // The controller fills only the packed page at the front of the record.
    SAFTE_STATUS_PAGE page;
    std::memcpy(&page, &safteStatusIN, sizeof page);
    OwnedSubtree<SafteStatus> status(new SafteStatus);
    std::memcpy(status->ucFanStatus, page.ucFanStatus, sizeof page.ucFanStatus);
    std::memcpy(status->ucPowerSupplyStatus, page.ucPowerSupplyStatus, sizeof page.ucPowerSupplyStatus);
    std::memcpy(status->ucSlotScsiId, page.ucSlotScsiId, sizeof page.ucSlotScsiId);
    status->ucDoorLockStatus = page.ucDoorLockStatus;
    status->ucSpeakerStatus = page.ucSpeakerStatus;
    std::memcpy(status->ucTempSensorStatus, page.ucTempSensorStatus, sizeof page.ucTempSensorStatus);
    status->ucTempOutOfRangeFlag1 = page.ucTempOutOfRangeFlag1;
    status->ucTempOutOfRangeFlag2 = page.ucTempOutOfRangeFlag2;
    status->ucVendorUniqueByteCount = page.ucVendorUniqueByteCount;
    status->ucVendorUniqueBytes[0] = page.ucVendorUniqueBytes;
    status->iFanCount = safteConfigIN.fanCount;
    status->iPowerSupplyCount = safteConfigIN.powerSupplyCount;
    status->iSlotCount = safteConfigIN.slotCount;
    status->iTempSensorCount = safteConfigIN.tempSensorCount;

    // The readings are kept apart from the children; a second build
    // replaces the first one's.
    std::unique_ptr<SafteConfig> keptConfig(new SafteConfig(*config));
    std::unique_ptr<SafteStatus> keptStatus(new SafteStatus(*status));
    addChild(config.release());
    addChild(status.release());
    delete safteConfig;
    delete safteStatus;
    safteConfig = keptConfig.release();
    safteStatus = keptStatus.release();
    safteDataValid = true;
}

int TarnellEnclosure::getFanStatus(int index) const
{
    if (safteConfig == nullptr || safteStatus == nullptr)
        return ELEMENT_NO_DATA;
    if (index < 0 || index >= safteConfig->getFanCount() || index >= SafteStatus::MAX_FANS)
        return ELEMENT_NO_SUCH_INDEX;
    return elementCode(safteStatus->ucFanStatus[index], 0x01, 0x02);
}

int TarnellEnclosure::getPowerSupplyStatus(int index) const
{
    if (safteConfig == nullptr || safteStatus == nullptr)
        return ELEMENT_NO_DATA;
    if (index < 0 || index >= safteConfig->getPowerSupplyCount() || index >= SafteStatus::MAX_POWER_SUPPLIES)
        return ELEMENT_NO_SUCH_INDEX;
    return elementCode(safteStatus->ucPowerSupplyStatus[index], 0x10, 0x20);
}

EnumOverallStatus TarnellEnclosure::getTemperatureStatus() const
{
    if (safteConfig == nullptr || safteStatus == nullptr)
        return STATUS_UNKNOWN;
    if (safteStatus->ucTempOutOfRangeFlag1 != 0 || safteStatus->ucTempOutOfRangeFlag2 != 0)
        return STATUS_FATAL;
    return STATUS_NORMAL;
}

Ret TarnellEnclosure::identifyDevice(bool mode)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    TarnellAdapter* tarnellAdapter = asTarnellAdapter(adapter);
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !tarnellAdapterAddress(tarnellAdapter, address))
        return Ret(Ret::CONTROLLER_FAILED);
    const STORID_T channelID = (channel != nullptr ? channel->getChannelID() : getChannelID()) & 0xFFFFu;
    const STORID_T deviceID = getDeviceID() & 0xFFFFu;
    address.usChannelID = static_cast<uint16_t>(channelID);
    address.usPhysDevID = static_cast<uint16_t>(deviceID);

    RaidObject* found = tarnellAdapter->getObject(tarnellAdapter->getAdapterID(), STORID_UNDEFINED,
                                                  STORID_UNDEFINED, channelID, deviceID);
    if (found == nullptr || !found->isInstanceOf("Enclosure"))
        return Ret(Ret::BAD_PARAM);

    const uint8_t code = mode ? IDENTIFY_ENCLOSURE_START : IDENTIFY_ENCLOSURE_STOP;
    if (store->IdentifyPhysicalDrive(address, code).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Identifying enclosure device failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}
