#include "storagedll/jdllrules.h"

#include <algorithm>

namespace legacyjdll {

namespace {

const uint8_t CACHE_INSTALLED = 0x02;
const uint8_t CACHE_ERROR_REPORTED = 0x20;
const uint8_t CACHE_NOT_PRESENT_CODE = 1;
const uint8_t MIGRATION_OPCODE = 0xBB;
const uint32_t INDEX_BY_DRIVE_INDEX_ABOVE = 6;

} // namespace

uint32_t ldTableEntries(uint32_t reported, uint32_t allocated)
{
    if (reported < LD_TABLE_HEADER)
        return 0;
    const uint32_t entries = (reported - LD_TABLE_HEADER) / uint32_t(sizeof(_VIRT_DRV_PARMS));
    return std::min(entries, allocated / uint32_t(sizeof(_VIRT_DRV_PARMS)));
}

BatteryCacheImage batteryCache(const _ENQUIRY& enquiry)
{
    BatteryCacheImage image{0, 0};
    if (enquiry.ucMiscFlag & CACHE_INSTALLED) {
        if (enquiry.ucMordalErrorCode != CACHE_NOT_PRESENT_CODE) {
            image.installed = 1;
            image.errorCode = enquiry.ucMordalErrorCode;
        }
    } else if (enquiry.ucMiscFlag & CACHE_ERROR_REPORTED) {
        image.errorCode = enquiry.ucMordalErrorCode;
    }
    return image;
}

int32_t percentComplete(uint32_t size, uint32_t remaining)
{
    if (size == 0)
        return 0;
    const int64_t done = int32_t(size - remaining);
    const int64_t percent = done * 100 / int64_t(size);
    return percent < INT16_MIN || percent > INT16_MAX ? 0 : int32_t(percent);
}

ProgressImage progressImage(const _REBUILD_STATUS& status, uint32_t implementation)
{
    const unsigned index =
        implementation > INDEX_BY_DRIVE_INDEX_ABOVE ? status.ucVirtualDriveIndex : status.ucVirtDriveNumber;
    int32_t percent = 0;
    if (index < sizeof status.sVirtualDrive / sizeof status.sVirtualDrive[0]) {
        const _SIZERMAIN& entry = status.sVirtualDrive[index];
        percent = percentComplete(entry.ulVirtDriveSize, entry.ulRemainingBlocks);
    }
    ProgressImage image;
    image.opcode = status.ucOpcode;
    image.virtDrive = status.ucVirtDriveNumber;
    image.checkOption = status.ucOpcode == MIGRATION_OPCODE ? status.ucLdmOption : status.ucCheckOption;
    image.status = status.ucStatus;
    image.percent = uint8_t(uint32_t(percent));
    image.subOpcodeQualifier = status.ucSubOpcodeQualifier;
    image.channel = status.ucDevChnID;
    image.target = status.ucDevTgtID;
    image.sldVirtDrive = status.ucIsSLDVirtDriveId;
    return image;
}

} // namespace legacyjdll
