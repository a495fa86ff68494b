#ifndef KRNA_STORAGEVOLUME_PROVIDER_H
#define KRNA_STORAGEVOLUME_PROVIDER_H

// KRNA_StorageVolume: one volume for every logical drive of every family.
// Its krnaBuildInstance also builds the volume end of the associations
// with a volume, so keys and values are the same wherever a volume is named.

#include "KRNAProviderPattern.h"
#include "KRNA_Classes.h"
#include "RaidModel/Interface/LogicalDrive.h"

namespace corvanecimple {

class KRNA_StorageVolume_Provider final
    : public KRNAInstanceProvider<KRNA_StorageVolume_Provider, cimple::KRNA_StorageVolume, LogicalDrive> {
public:
    static constexpr const char* WALKED_CLASS = "LogicalDrive";

    // Fills the volume of the drive: keys "<host>:<adapter unique id>:<drive
    // number>", size in 512-byte blocks by family (MB on Tarnell and Pelm
    // adapters, blocks on Vesk adapters), state, redundancy of the RAID level,
    // name, and on Tarnell and Vesk adapters the creation time. keysOnly is
    // not honoured: the whole volume is built.
    static void krnaBuildInstance(cimple::KRNA_StorageVolume* instance, LogicalDrive* drive, bool keysOnly);

    // The OperationalStatus of a logical-drive state: 2 OK, 3 Degraded, 6 Error.
    static cimple::uint16 operationalStatus(EnumLogicalDeviceState state);
    // The InstallDate of a creation time stamp: every field set, as it says
    // (msecond in milliseconds); only the date set, midnight of that date;
    // no date, or a field out of range, the zero datetime.
    static cimple::Datetime installDate(const TIMESTAMP_STRUCT& stamp);

    static void onEnumStart(unsigned long drives);
    static void onEnumEnd(unsigned long drives);
    static void onGetStart(unsigned long drives);
    static void onGetMatch();
    static void onGetFound();
};

} // namespace corvanecimple

#endif
