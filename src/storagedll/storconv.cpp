#include "storagedll/storconv.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "storagedll/convengine.h"

using namespace legacyconv;

namespace {

template <class Record>
int recordToJava(JNIEnv* env, jobject obj, const RecordTable& table, const Record& rec)
{
    toJava(env, obj, table, reinterpret_cast<const uint8_t*>(&rec));
    return 0;
}

template <class Record>
int recordToC(JNIEnv* env, jobject obj, const RecordTable& table, Record& rec)
{
    toC(env, obj, table, reinterpret_cast<uint8_t*>(&rec));
    return 0;
}

// What an operation that converts nothing does: look at the object's class.
int classOnly(JNIEnv* env, jobject obj)
{
    if (obj)
        env->DeleteLocalRef(env->GetObjectClass(obj));
    return 0;
}

jint intFieldOr0(JNIEnv* env, jobject obj, jfieldID id) { return id ? env->GetIntField(obj, id) : 0; }

} // namespace

StorageDataConverter::StorageDataConverter() : okFlag(1), failId(0) {}

StorageDataConverter::~StorageDataConverter() {}

int StorageDataConverter::ConstructorOK(uint32_t& failIdOut)
{
    failIdOut = failId;
    return okFlag;
}

uint32_t StorageDataConverter::jlul(jlong value) { return legacyconv::jlul(value); }

jlong StorageDataConverter::uljl(uint32_t value) { return legacyconv::uljl(value); }

// ---------------------------------------------------------------- records by table

#define CONVERT_TO_JAVA(op, Record, table)                                             \
    int StorageDataConverter::op(JNIEnv* env, jobject obj, Record& rec)                \
    {                                                                                  \
        return recordToJava(env, obj, table, rec);                                     \
    }
#define CONVERT_TO_C(op, Record, table)                                                \
    int StorageDataConverter::op(JNIEnv* env, jobject obj, Record& rec)                \
    {                                                                                  \
        return recordToC(env, obj, table, rec);                                        \
    }
#define CONVERT_NOTHING(op, Record)                                                    \
    int StorageDataConverter::op(JNIEnv* env, jobject obj, Record&) { return classOnly(env, obj); }

CONVERT_TO_C(StorAddrJava_TO_STADDRcpp, _STORAGE_ADDRESS_ID, storAddrTable)
CONVERT_TO_C(VersionJava_TO_VERSIONcpp, _STORAGE_VERSION, versionTable)
CONVERT_TO_C(DeviceSizeJava_TO_DEVICE_SIZEcpp, _DEVICE_SIZE, deviceSizeTable)
CONVERT_TO_C(ArraySizeJava_TO_ARRAY_SIZEcpp, _ARRAY_SIZE, arraySizeTable)

CONVERT_TO_JAVA(ACONFIGcpp_TO_RaidConfigJava, _ADAPTER_CONFIG, raidConfigTable)
CONVERT_TO_JAVA(STADDRcpp_TO_StorAddrJava, _STORAGE_ADDRESS_ID, storAddrTable)
CONVERT_TO_JAVA(VERSIONcpp_TO_VersionJava, _STORAGE_VERSION, versionTable)
CONVERT_TO_JAVA(DLL_TYPEcpp_TO_DllTypeJava, _DLL_TYPE, dllTypeTable)
CONVERT_TO_JAVA(ADAPTER__STATUScpp_TO_AdapterStatusJava, _STORAGE_ADAPTER_STATUS, adapterStatusTable)
CONVERT_TO_JAVA(MAX_ADDRcpp_TO_MaxAddrJava, _MAX_ADDR_VALUES, maxAddrTable)
CONVERT_TO_JAVA(ADAP_TYPEcpp_TO_AdapterTypeJava, _ADAPTER_TYPE, adapterTypeTable)
CONVERT_TO_JAVA(ADAPTER_INFOcpp_TO_AdapterInfoJava, _ADAPTER_INFO, adapterInfoTable)
CONVERT_TO_JAVA(DEVICE_SIZEcpp_TO_DeviceSizeJava, _DEVICE_SIZE, deviceSizeTable)
CONVERT_TO_JAVA(ARRAY_SIZEcpp_TO_ArraySizeJava, _ARRAY_SIZE, arraySizeTable)
CONVERT_TO_JAVA(RAID_ADAPTER_INFOcpp_TO_RaidAdapterInfoJava, _RAID_ADAPTER_INFO, raidAdapterInfoTable)
CONVERT_TO_JAVA(DEVICE_INFOcpp_TO_DeviceInfoJava, _DEVICE_INFO, deviceInfoTable)
CONVERT_TO_JAVA(SCSI_INQ_DATAcpp_TO_ScsiInquiryDataJava, ST_SCSI_INQUIRY_DATA, scsiInquiryTable)
CONVERT_TO_JAVA(SAFTE_CONFIGcpp_TO_SafteConfigJava, _SAFTE_CONFIGURATION, safteConfigTable)
CONVERT_TO_JAVA(SAFTE_STATUScpp_TO_SafteStatusJava, _SAFTE_STATUS, safteStatusTable)
CONVERT_TO_JAVA(ELEMENT_DESC_PAGEcpp_TO_ElementDescPageJava, _ELEMENT_DESCRIPTOR_PAGE, elementDescTable)
CONVERT_TO_JAVA(VPD_INQ_DATAcpp_TO_VPD_INQ_DATAJava, _VPD_INQUIRY_DATA, vpdInquiryTable)
CONVERT_TO_JAVA(IOCTL_FO_INFOcpp_TO_FailoverInfoJava, _IOCTL_FO_INFO, failoverInfoTable)
CONVERT_TO_JAVA(ENQUIRY_BBCACHEcpp_TO_BBCacheInfoJava, _ENQUIRY_BBCACHE, bbCacheInfoTable)
CONVERT_TO_JAVA(IOCTL_INITIATOR_IDScpp_TO_InitiatorIDsJava, _IOCTL_INITIATOR_IDS, initiatorIdsTable)
CONVERT_TO_JAVA(ULONG_SLOTMASKcpp_TO_HotPCISlotsJava, uint32_t, hotPciSlotsTable)

CONVERT_NOTHING(DllTypeJava_TO_DLL_TYPEcpp, _DLL_TYPE)
CONVERT_NOTHING(AdapterStatusJava_TO_ADAPTER__STATUScpp, _STORAGE_ADAPTER_STATUS)
CONVERT_NOTHING(SubSystemStatusJava_TO_SUBSYSTEM_STATUScpp, _SUBSYSTEM_STATUS)
CONVERT_NOTHING(MaxAddrJava_TO_MAX_ADDRcpp, _MAX_ADDR_VALUES)
CONVERT_NOTHING(AdapterTypeJava_TO_ADAP_TYPEcpp, _ADAPTER_TYPE)
CONVERT_NOTHING(AdapterInfoJava_TO_ADAPTER_INFOcpp, _ADAPTER_INFO)
CONVERT_NOTHING(ChannelInfoJava_TO_CHANNEL_INFOcpp, _CHANNEL_INFO)
CONVERT_NOTHING(RaidAdapterInfoJava_TO_RAID_ADAPTER_INFOcpp, _RAID_ADAPTER_INFO)
CONVERT_NOTHING(RaidArrayInfoJava_TO_RAID_ARRAY_INFOcpp, _RAID_ARRAY_INFO)
CONVERT_NOTHING(VirtualDeviceInfoJava_TO_VIRT_DEVICE_INFOcpp, _VIRTUAL_DEVICE_INFO)
CONVERT_NOTHING(LoopInfoJava_TO_LOOP_INFOcpp, _LOOP_INFO)
CONVERT_NOTHING(SubSystemInfoJava_TO_SUBSYSTEM_INFOcpp, _SUBSYSTEM_INFO)
CONVERT_NOTHING(DeviceInfoJava_TO_DEVICE_INFOcpp, _DEVICE_INFO)
CONVERT_NOTHING(DataAddrJava_TO_DTADDRcpp, _DATA_ADDRESS)
CONVERT_NOTHING(AdapterStatisticsJava_TO_ADAPTER_STATScpp, _ADAPTER_STATISTICS)
CONVERT_NOTHING(PhysicalDeviceStatisticsJava_TO_PHYS_DEV_STATScpp, _PHYSICAL_DEVICE_STATISTICS)
CONVERT_NOTHING(VirtualDeviceStatisticsJava_TO_VIRT_DEV_STATScpp, _VIRTUAL_DEVICE_STATISTICS)
CONVERT_NOTHING(VirtualDeviceGroupJava_TO_VIRT_DEV_GRPcpp, _VIRTUAL_DEVICE_GROUP)
CONVERT_NOTHING(ScsiInquiryDataJava_TO_SCSI_INQ_DATAcpp, ST_SCSI_INQUIRY_DATA)
CONVERT_NOTHING(SafteConfigJava_TO_SAFTE_CONFIGcpp, _SAFTE_CONFIGURATION)
CONVERT_NOTHING(SafteStatusJava_TO_SAFTE_STATUScpp, _SAFTE_STATUS)
CONVERT_NOTHING(SUBSYSTEM_STATUScpp_TO_SubSystemStatusJava, _SUBSYSTEM_STATUS)
CONVERT_NOTHING(CHANNEL_INFOcpp_TO_ChannelInfoJava, _CHANNEL_INFO)
CONVERT_NOTHING(RAID_ARRAY_INFOcpp_TO_RaidArrayInfoJava, _RAID_ARRAY_INFO)
CONVERT_NOTHING(VIRT_DEVICE_INFOcpp_TO_VirtualDeviceInfoJava, _VIRTUAL_DEVICE_INFO)
CONVERT_NOTHING(LOOP_INFOcpp_TO_LoopInfoJava, _LOOP_INFO)
CONVERT_NOTHING(SUBSYSTEM_INFOcpp_TO_SubSystemInfoJava, _SUBSYSTEM_INFO)
CONVERT_NOTHING(DTADDRcpp_TO_DataAddrJava, _DATA_ADDRESS)
CONVERT_NOTHING(ADAPTER_STATScpp_TO_AdapterStatisticsJava, _ADAPTER_STATISTICS)
CONVERT_NOTHING(PHYS_DEV_STATScpp_TO_PhysicalDeviceStatisticsJava, _PHYSICAL_DEVICE_STATISTICS)
CONVERT_NOTHING(VIRT_DEV_STATScpp_TO_VirtualDeviceStatisticsJava, _VIRTUAL_DEVICE_STATISTICS)
CONVERT_NOTHING(VIRT_DEV_GRPcpp_TO_VirtualDeviceGroupJava, _VIRTUAL_DEVICE_GROUP)

#undef CONVERT_TO_JAVA
#undef CONVERT_TO_C
#undef CONVERT_NOTHING

int StorageDataConverter::CmndBlkJava_TO_PVOIDcpp(JNIEnv* env, jobject obj, void*&, uint32_t&, uint32_t&)
{
    return classOnly(env, obj);
}

int StorageDataConverter::PVOIDcpp_TO_CmndBlkJava(JNIEnv* env, jobject obj, void*, uint32_t)
{
    return classOnly(env, obj);
}

int StorageDataConverter::StorRetJava_TO_S_Retcpp(JNIEnv* env, jobject obj, S_Ret& ret)
{
    SRetImage image{ret.iReturnCode,  ret.iAPIReturnCode,       ret.iIOCTLReturnCode,
                    ret.iRetryNumber, ret.iunSignedReturnValue, ret.iSignedReturnValue};
    recordToC(env, obj, storRetTable, image);
    ret.SetValues(image.iReturnCode, image.iAPIReturnCode, image.iIOCTLReturnCode, image.iRetryNumber,
                  image.iunSignedReturnValue, image.iSignedReturnValue);
    return 0;
}

int StorageDataConverter::S_Retcpp_TO_StorRetJava(JNIEnv* env, jobject obj, S_Ret& ret)
{
    const SRetImage image{ret.iReturnCode,  ret.iAPIReturnCode,       ret.iIOCTLReturnCode,
                          ret.iRetryNumber, ret.iunSignedReturnValue, ret.iSignedReturnValue};
    return recordToJava(env, obj, storRetTable, image);
}

int StorageDataConverter::DLL_Limits_TO_AdapterLimitsJava(JNIEnv* env, jobject obj)
{
    toJava(env, obj, adapterLimitsTable, nullptr);
    return 0;
}

int StorageDataConverter::VIRT_DRV_PARMScpp_TO_VirtDrvJava(JNIEnv* env, jobject obj, uint32_t count,
                                                           _VIRT_DRV_PARMS* first)
{
    if (!obj)
        return 0;
    if (!first)
        count = 0;
    static const _VIRT_DRV_PARMS freeSlot{};
    for (unsigned i = 0; i < virtDrvSlots.count; ++i) {
        jobject drive = objectField(env, obj, virtDrvSlots, i);
        if (!drive)
            continue;
        if (i < count)
            recordToJava(env, drive, virtDrvParmsTable, first[i]);
        else
            recordToJava(env, drive, virtDrvFreeSlotTable, freeSlot);
        env->DeleteLocalRef(drive);
    }
    return 0;
}

int StorageDataConverter::PADAPTER_FEATUREScpp_TO_AdapterFeaturesJava(JNIEnv* env, jobject obj,
                                                                     _ADAPTER_FEATURES*& features)
{
    if (features)
        recordToJava(env, obj, adapterFeaturesTable, *features);
    return 0;
}

int StorageDataConverter::RaidEventJava_TO_RAID_EVENTcpp(JNIEnv* env, jobject obj, _RAID_EVENT* event)
{
    if (event)
        recordToC(env, obj, raidEventTable, *event);
    return 0;
}

int StorageDataConverter::Vpdcpp_TO_VpdJava(JNIEnv* env, jobject obj, _ParsedVpd vpd)
{
    return recordToJava(env, obj, vpdTable, vpd);
}

int StorageDataConverter::ExtendedBatteryDatacpp_TO_ExtendedBatteryDataJava(JNIEnv* env, jobject obj,
                                                                          _ENQUIRY_EXTENDED_BATTERY_STATUS battery)
{
    return recordToJava(env, obj, extendedBatteryTable, battery);
}

// ---------------------------------------------------------------- holders

int StorageDataConverter::IValJava_TO_INT_REFcpp(JNIEnv* env, jobject obj, int& value)
{
    int64_t v = 0;
    if (readHolder(env, obj, intHolder, v))
        value = int(asJavaType('I', v));
    return 0;
}

int StorageDataConverter::SValJava_TO_USHORT_REFcpp(JNIEnv* env, jobject obj, uint16_t& value)
{
    int64_t v = 0;
    if (readHolder(env, obj, shortHolder, v))
        value = uint16_t(v);
    return 0;
}

int StorageDataConverter::LValJava_TO_ULONG_REFcpp(JNIEnv* env, jobject obj, uint32_t& value)
{
    int64_t v = 0;
    if (readHolder(env, obj, longHolder, v))
        value = jlul(v);
    return 0;
}

int StorageDataConverter::BlValJava_TO_BOOL_REFcpp(JNIEnv* env, jobject obj, int& value)
{
    int64_t v = 0;
    if (readHolder(env, obj, booleanHolder, v))
        value = v ? 1 : 0;
    return 0;
}

int StorageDataConverter::INT_REFcpp_TO_IValJava(JNIEnv* env, jobject obj, int value)
{
    writeHolder(env, obj, intHolder, value);
    return 0;
}

int StorageDataConverter::USHORT_REFcpp_TO_SValJava(JNIEnv* env, jobject obj, uint16_t value)
{
    writeHolder(env, obj, shortHolder, asJavaType('S', value));
    return 0;
}

int StorageDataConverter::ULONG_REFcpp_TO_LValJava(JNIEnv* env, jobject obj, uint32_t value)
{
    writeHolder(env, obj, longHolder, uljl(value));
    return 0;
}

int StorageDataConverter::BOOL_REFcpp_TO_BlValJava(JNIEnv* env, jobject obj, int value)
{
    writeHolder(env, obj, booleanHolder, value != 0 ? 1 : 0);
    return 0;
}

// ---------------------------------------------------------------- byte blocks

int StorageDataConverter::ByteBlkJava_TO_PVOIDcpp(JNIEnv* env, jobject obj, void*& buffer, uint32_t& blockLength,
                                                  uint32_t& transferLength)
{
    delete[] static_cast<uint8_t*>(buffer);
    buffer = nullptr;
    if (!obj)
        return -2;
    jclass cls = env->GetObjectClass(obj);
    jfieldID arrayId = fieldId(env, cls, BYTEBLK_ARRAY, "[B");
    const jint transfer = intFieldOr0(env, obj, fieldId(env, cls, BYTEBLK_TRANSFER, "I"));
    const jint block = intFieldOr0(env, obj, fieldId(env, cls, BYTEBLK_BLOCK, "I"));
    env->DeleteLocalRef(cls);
    transferLength = uint32_t(transfer);
    blockLength = uint32_t(block);

    uint64_t blockBytes = 0;
    if (!byteBlockSize(block, blockBytes))
        return -2;
    if (blockBytes > SIZE_MAX)
        return -3;
    uint8_t* bytes = new (std::nothrow) uint8_t[size_t(blockBytes)]();
    if (!bytes)
        return -3;
    buffer = bytes;

    auto array = arrayId ? static_cast<jbyteArray>(env->GetObjectField(obj, arrayId)) : nullptr;
    const jsize arrayLength = array ? env->GetArrayLength(array) : 0;
    int rc = transferFits(transfer, arrayLength, blockBytes) ? 0 : -2;
    if (rc == 0 && transfer > 0) {
        jbyte* elements = env->GetByteArrayElements(array, nullptr);
        if (elements) {
            std::memcpy(bytes, elements, size_t(transfer));
            env->ReleaseByteArrayElements(array, elements, 0);
        } else {
            clearException(env);
            rc = -3;
        }
    }
    if (array)
        env->DeleteLocalRef(array);
    return rc;
}

int StorageDataConverter::PVOIDcpp_TO_ByteBlkJava(JNIEnv* env, jobject obj, void* data, uint32_t size)
{
    if (!obj)
        return -2;
    jclass cls = env->GetObjectClass(obj);
    jfieldID arrayId = fieldId(env, cls, BYTEBLK_ARRAY, "[B");
    jfieldID transferId = fieldId(env, cls, BYTEBLK_TRANSFER, "I");
    env->DeleteLocalRef(cls);
    auto array = arrayId ? static_cast<jbyteArray>(env->GetObjectField(obj, arrayId)) : nullptr;
    const jsize arrayLength = array ? env->GetArrayLength(array) : 0;
    jsize n = uint64_t(arrayLength) < size ? arrayLength : jsize(size);
    if (n > 0 && !data) {
        env->DeleteLocalRef(array);
        return -2;
    }
    if (n > 0) {
        jbyte* elements = env->GetByteArrayElements(array, nullptr);
        if (elements) {
            std::memcpy(elements, data, size_t(n));
            env->ReleaseByteArrayElements(array, elements, 0);
        } else {
            clearException(env);
            n = 0;
        }
    }
    if (array)
        env->DeleteLocalRef(array);
    if (transferId)
        env->SetIntField(obj, transferId, n);
    return 0;
}

// ---------------------------------------------------------------- address lists

int StorageDataConverter::AddrListJava_TO_PSTADDRcpp(JNIEnv* env, jobject obj, _STORAGE_ADDRESS_ID*& list,
                                                     uint32_t& byteSize, uint32_t& count)
{
    if (!obj)
        return -2;
    jmethodID countId = methodOf(env, obj, ADDRLIST_COUNT);
    if (!countId)
        return -3;
    delete[] list;
    list = nullptr;
    byteSize = 0;
    const jint listCount = env->CallIntMethod(obj, countId);
    if (clearException(env) || checkAddressCount(count, listCount) != 0)
        return -2;
    list = new (std::nothrow) _STORAGE_ADDRESS_ID[count]();
    if (!list)
        return -3;
    byteSize = count * uint32_t(sizeof(_STORAGE_ADDRESS_ID));
    jmethodID getId = methodOf(env, obj, ADDRLIST_GET);
    if (!getId)
        return -9;
    for (uint32_t i = 0; i < count; ++i) {
        jobject addr = env->CallObjectMethod(obj, getId, jint(i));
        if (clearException(env) || !addr) {
            if (addr)
                env->DeleteLocalRef(addr);
            return -2;
        }
        StorAddrJava_TO_STADDRcpp(env, addr, list[i]);
        env->DeleteLocalRef(addr);
    }
    return 0;
}

int StorageDataConverter::PSTADDRcpp_TO_AddrListJava(JNIEnv* env, jobject obj, _STORAGE_ADDRESS_ID* first,
                                                     uint32_t count)
{
    if (!obj || (count && !first))
        return -2;
    jmethodID ensure = methodOf(env, obj, ADDRLIST_ENSURE);
    if (!ensure)
        return -3;
    env->CallVoidMethod(obj, ensure, jint(count));
    clearException(env);
    jmethodID clear = methodOf(env, obj, ADDRLIST_CLEAR);
    if (!clear)
        return -3;
    env->CallVoidMethod(obj, clear);
    clearException(env);
    jmethodID create = methodOf(env, obj, ADDRLIST_CREATE);
    if (!create)
        return -3;

    // The arguments of createNewAddress are the StorAddr fields in their order.
    jvalue args[16];
    for (uint32_t i = 0; i < count; ++i) {
        const auto* rec = reinterpret_cast<const uint8_t*>(&first[i]);
        jcharArray name = nullptr;
        size_t n = 0;
        for (const FieldRule& rule : storAddrTable) {
            if (n == 16)
                break;
            jvalue& v = args[n++];
            v.j = 0;
            if (rule.signature[0] == 'I') {
                v.i = jint(asJavaType('I', cValue(rule, rec)));
            } else if (rule.signature[0] == 'J') {
                v.j = cValue(rule, rec);
            } else {
                name = env->NewCharArray(rule.count);
                if (!name) {
                    clearException(env);
                    return -3;
                }
                jchar chars[sizeof(_STORAGE_ADDRESS_ID::ucDllName)];
                for (unsigned k = 0; k < rule.count && k < sizeof chars / sizeof chars[0]; ++k)
                    chars[k] = jchar(cValue(rule, rec, k));
                env->SetCharArrayRegion(name, 0, rule.count, chars);
                v.l = name;
            }
        }
        env->CallVoidMethodA(obj, create, args);
        clearException(env);
        if (name)
            env->DeleteLocalRef(name);
    }
    return 0;
}
