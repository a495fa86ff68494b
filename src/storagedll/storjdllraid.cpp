#include "storagedll/storjdllraid.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "RaidLib/JavaInterface/JavaText.h"
#include "storagedll/convengine.h"
#include "storagedll/jdllrules.h"
#include "storagedll/storjdllcall.h"

namespace legacyjdll {

namespace {

using legacyconv::toJava;

// The reply of the logical-drive cache enquiry: per drive 0-7 whether its
// cache is reported, and its cache byte (0: write-through for the time being).
#pragma pack(push, 1)
struct DriveCacheReply {
    _ENQUIRY sEnquiry;
    uint8_t ucReported[ACONFIG_VIRT_DRIVES];
    uint8_t ucCacheByte[ACONFIG_VIRT_DRIVES];
};
#pragma pack(pop)
static_assert(sizeof(DriveCacheReply) == ENQUIRY_REPLY_SIZE, "the enquiry and 16 bytes");
static_assert(sizeof(_ENQUIRY_BBCACHE) == ENQUIRY_REPLY_SIZE, "the enquiry and two serial numbers");

// Everything one GetAdapterRaidConfig works on, allocated at once and zeroed.
struct RaidConfigWork {
    _ADAPTER_CONFIG config;
    _ADAPTER_FEATURES features;
    _ENQUIRY enquiry;
    _ENQUIRY_BBCACHE serials;
    DriveCacheReply driveCache;
    _HDD_FRU_TABLE fru;
};

template <class Record>
const uint8_t* bytesOf(const Record& record)
{
    return reinterpret_cast<const uint8_t*>(&record);
}

// Runs body(interface, converter, address, record) over a zeroed record of
// the heap, the StorAddr converted; without an interface object or without
// memory the StorRet gets -3 and nothing else happens.
template <class Record, class Body>
void withHeapRecord(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, Body body)
{
    withInterface(env, self, jRet, jAddr, [&](StoreDLLIntf& intf, StorageDataConverter& conv,
                                               const _STORAGE_ADDRESS_ID& addr) {
        std::unique_ptr<Record> record(new (std::nothrow) Record());
        if (record)
            body(intf, conv, addr, *record);
        else
            deliverResult(env, conv, jRet, codeOnly(-3));
    });
}

S_Ret sendEnquiry(StoreDLLIntf& intf, const _STORAGE_ADDRESS_ID& addr, uint8_t page, void* reply, uint32_t length)
{
    AdapterEnquiry enquiry(page);
    return intf.ExecAdapterCmnd LEGACY_ENQUIRY_ARGS(addr, enquiry, reply, length);
}

// The blocked flags of drives 0-7 from an enquiry, and the temporary
// write-through flags of the drives that the drive-cache reply reports;
// either may be missing (its enquiry failed), and then its flags stay.
void writeDriveFlags(JNIEnv* env, jobject jConfig, const _ENQUIRY* blockedFrom, const DriveCacheReply* cache)
{
    if (!jConfig)
        return;
    for (unsigned i = 0; i < ACONFIG_VIRT_DRIVES; ++i) {
        jobject drive = legacyconv::objectField(env, jConfig, legacyconv::virtDrvSlots, i);
        if (!drive)
            continue;
        DriveFlagsImage flags{0, 0};
        if (blockedFrom) {
            flags.blocked = uint8_t((blockedFrom->ucBlockedDriveFlag >> i) & 1u);
            toJava(env, drive, legacyconv::driveBlockedTable, bytesOf(flags));
        }
        if (cache && cache->ucReported[i] != 0) {
            flags.tempWriteThrough = cache->ucCacheByte[i] == 0 ? 1 : 0;
            toJava(env, drive, legacyconv::driveWriteThroughTable, bytesOf(flags));
        }
        env->DeleteLocalRef(drive);
    }
}

// A FRU part number as a Java string: its 12 bytes up to the first zero, as
// modified UTF-8 when they are that, else one char per byte.
jstring fruText(JNIEnv* env, const _HDD_FRU_PN& number)
{
    char text[sizeof number.FruPN + 1] = {};
    std::memcpy(text, number.FruPN, sizeof number.FruPN);
    return javatext::newJavaString(env, text);
}

// "sFruNumber" of device slot c x 16 + t from FruPNArray[c][t].
void writeFruNumbers(JNIEnv* env, jobject jConfig, const _HDD_FRU_TABLE& fru)
{
    if (!jConfig)
        return;
    for (unsigned i = 0; i < ACONFIG_CHANNELS * ACONFIG_TARGETS; ++i) {
        jobject slot = legacyconv::objectField(env, jConfig, legacyconv::devStateSlots, i);
        if (!slot)
            continue;
        jclass cls = env->GetObjectClass(slot);
        jfieldID id = legacyconv::fieldId(env, cls, "sFruNumber", "Ljava/lang/String;");
        env->DeleteLocalRef(cls);
        if (id) {
            jstring text = fruText(env, fru.FruPNArray[i / ACONFIG_TARGETS][i % ACONFIG_TARGETS]);
            if (text) {
                env->SetObjectField(slot, id, text);
                env->DeleteLocalRef(text);
            }
        }
        env->DeleteLocalRef(slot);
    }
}

} // namespace

// The configuration, its features, then the battery path (the cache serials
// enquiry, then the drive-cache enquiry) or the standard enquiry, each
// successful enquiry delivering the configuration again, and last the drive
// FRU table. The StorRet gets the configuration's result, and the FRU
// table's when it is read.
void getAdapterRaidConfig(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jConfig, jboolean flag)
{
    withHeapRecord<RaidConfigWork>(env, self, jRet, jAddr, [&](StoreDLLIntf& intf, StorageDataConverter& conv,
                                                                 const _STORAGE_ADDRESS_ID& addr, RaidConfigWork& w) {
        uint32_t returned = 0;
        S_Ret ret = intf.GetAdapterRaidConfig(addr, &w.config, ADAPTER_CONFIG_SIZE, returned, flag != JNI_FALSE ? 1 : 0);
        deliverResult(env, conv, jRet, ret);
        if (ret.iReturnCode != 0)
            return;
        // A feature table that cannot be read counts as one without features.
        if (intf.GetSupportedFeatures(addr, &w.features).iReturnCode != 0)
            w.features = _ADAPTER_FEATURES{};
        const bool batteryPath = w.features.ulBBCacheRelLevel() != 0;

        // The enquiries that succeeded, for the fields derived from them.
        const _ENQUIRY* cacheFrom = nullptr;
        const _ENQUIRY* blockedFrom = nullptr;
        const DriveCacheReply* driveCache = nullptr;
        if (batteryPath) {
            if (sendEnquiry(intf, addr, ENQUIRY_PAGE_CACHE_SERIALS, &w.serials, sizeof w.serials).iReturnCode == 0) {
                conv.ACONFIGcpp_TO_RaidConfigJava(env, jConfig, w.config);
                toJava(env, jConfig, legacyconv::cacheSerialsTable, bytesOf(w.serials));
                cacheFrom = &w.serials.sEnquiry;
            }
        } else if (sendEnquiry(intf, addr, ENQUIRY_PAGE_STANDARD, &w.enquiry, sizeof w.enquiry).iReturnCode == 0) {
            conv.ACONFIGcpp_TO_RaidConfigJava(env, jConfig, w.config);
            cacheFrom = blockedFrom = &w.enquiry;
        }
        if (cacheFrom) {
            const BatteryCacheImage cache = batteryCache(*cacheFrom);
            toJava(env, jConfig, legacyconv::batteryCacheTable, bytesOf(cache));
        }
        if (batteryPath &&
            sendEnquiry(intf, addr, ENQUIRY_PAGE_DRIVE_CACHE, &w.driveCache, sizeof w.driveCache).iReturnCode == 0) {
            conv.ACONFIGcpp_TO_RaidConfigJava(env, jConfig, w.config);
            blockedFrom = &w.driveCache.sEnquiry;
            driveCache = &w.driveCache;
        }
        writeDriveFlags(env, jConfig, blockedFrom, driveCache);

        if (w.features.ulHardDrvFRU() != 0) {
            ret = intf.GetDriveFruData(addr, w.fru);
            deliverResult(env, conv, jRet, ret);
            if (ret.iReturnCode == 0)
                writeFruNumbers(env, jConfig, w.fru);
        }
    });
}

// Asks the table's length, then reads a table of that length (at most 256
// entries) when it can hold an entry; the entries go into the VirtDrv.
void getVirtDevLdTable(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jTable, jint type)
{
    withInterface(env, self, jRet, jAddr, [&](StoreDLLIntf& intf, StorageDataConverter& conv,
                                               const _STORAGE_ADDRESS_ID& addr) {
        uint32_t reported = 0;
        S_Ret ret = intf.GetVirtDevLdTable(addr, reported, nullptr, 0, uint32_t(type));
        std::unique_ptr<uint8_t[]> table;
        uint32_t entries = 0;
        if (ret.iReturnCode == 0 && reported > LD_TABLE_FETCH_ABOVE) {
            const uint32_t size = std::min(reported, LD_TABLE_MAX_BYTES);
            table.reset(new (std::nothrow) uint8_t[size]());
            if (table) {
                ret = intf.GetVirtDevLdTable(addr, reported, reinterpret_cast<_VIRT_DRV_PARMS*>(table.get()), size,
                                             uint32_t(type));
                entries = ldTableEntries(reported, size);
            } else {
                ret = codeOnly(-3);
            }
        }
        finishResult(env, conv, jRet, ret, When::ON_ZERO_AFTER, [&] {
            conv.VIRT_DRV_PARMScpp_TO_VirtDrvJava(env, jTable, entries,
                                                  entries ? reinterpret_cast<_VIRT_DRV_PARMS*>(table.get()) : nullptr);
        });
    });
}

// The adapter's implementation code decides which size entry the percentage
// comes from.
void checkProgress(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jProgress)
{
    withHeapRecord<_REBUILD_STATUS>(env, self, jRet, jAddr, [&](StoreDLLIntf& intf, StorageDataConverter& conv,
                                                                  const _STORAGE_ADDRESS_ID& addr,
                                                                  _REBUILD_STATUS& status) {
        _RAID_ADAPTER_INFO info{};
        S_Ret ret = intf.RaidAdapterInfo(addr, info);
        if (ret.iReturnCode == 0)
            ret = intf.CheckProgress(addr, status, 0);
        deliverResult(env, conv, jRet, ret);
        if (ret.iReturnCode != 0)
            return;
        const ProgressImage image = progressImage(status, info.sAdapInfo.sAdapType.ulImplementation);
        toJava(env, jProgress, legacyconv::progressInfoTable, bytesOf(image));
    });
}

void checkQuillcopyProgress(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jProgress)
{
    withHeapRecord<_QUILLCOPY_STATUS>(env, self, jRet, jAddr, [&](StoreDLLIntf& intf, StorageDataConverter& conv,
                                                                    const _STORAGE_ADDRESS_ID& addr,
                                                                    _QUILLCOPY_STATUS& status) {
        const int QUILLCOPY_OPTION = 2;
        S_Ret ret = intf.CheckQuillcopyProgress(addr, status, QUILLCOPY_OPTION);
        deliverResult(env, conv, jRet, ret);
        if (ret.iReturnCode == 0)
            toJava(env, jProgress, legacyconv::quillcopyProgressTable, bytesOf(status));
    });
}

// The C API has no Quillcopy status of its own: the general progress entry
// point with the caller's option.
void getQuillcopyStatus(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jStatus, jint option)
{
    withHeapRecord<_REBUILD_STATUS>(env, self, jRet, jAddr, [&](StoreDLLIntf& intf, StorageDataConverter& conv,
                                                                  const _STORAGE_ADDRESS_ID& addr,
                                                                  _REBUILD_STATUS& status) {
        S_Ret ret = intf.CheckProgress(addr, status, option);
        deliverResult(env, conv, jRet, ret);
        if (ret.iReturnCode == 0)
            toJava(env, jStatus, legacyconv::quillcopyStatusTable, bytesOf(status));
    });
}

} // namespace legacyjdll
