// Logical-drive creation on a Tarnell adapter: checks the RAID level against
// the array the chunks already form and hands the request to the basic or
// the spanned logical-drive class.

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"

Ret TarnellAdapter::createLogicalDrive(Addr addr, LogicalDriveSpec& spec)
{
    Array* existingArray = nullptr;
    Ret ret = returnArray(spec.chunks, &existingArray);
    if (ret != Ret(0))
        return ret;

    const int level = static_cast<int>(spec.raidLevel);
    if (level < RAID0 || level > RAID50)
        return Ret(Ret::NOT_SUPPORTED);

    if (level <= RAID5EE) {
        if (existingArray && !existingArray->isInstanceOf("TarnellBasicArray")) {
            TarnellUtils::logMessage(WARNING_INFO, "Invalid RAID level specified");
            return Ret(Ret::BAD_PARAM);
        }
        return TarnellBasicLogicalDrive::createLogicalDrive(this, addr, spec,
                                                            static_cast<TarnellBasicArray*>(existingArray),
                                                            nullptr, false);
    }
    if (existingArray && !existingArray->isInstanceOf("TarnellSpannedArray")) {
        TarnellUtils::logMessage(WARNING_INFO, "Invalid RAID level specified");
        return Ret(Ret::BAD_PARAM);
    }
    return TarnellHLogicalDrive::createLogicalDrive(this, addr, spec, static_cast<TarnellSpannedArray*>(existingArray));
}
