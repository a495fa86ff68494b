#ifndef STORJDLLNATIVES_H
#define STORJDLLNATIVES_H

// The native methods of com.zeq.sysmgt.storage.base.StorageDLL, one row each:
//
//   X(kind, result, name, export, parameters, signature, roles, operation,
//     locals, inputs, arguments, outputs, when)
//
// kind       OWN: a body of its own in storjdll.cpp (the life cycle);
//            CINT: returns the int of the StoreDLLIntf operation, -3 without
//            an interface object;
//            SRET: delivers the operation's S_Ret in its first Java
//            argument, a StorRet (jRet), code -3 with zeros without an
//            interface object;
//            FIXED: as SRET, but answers code 0 without reading
//            "iCppDllPtr" or calling the C API;
//            NOTAVAIL: returns -3 and reads nothing;
//            CHECKED: as SRET, but its inputs set `status` (0 to begin
//            with): one that is not 0 becomes the result (the other fields
//            0) and the operation is not called;
//            FUNC: the arguments column is the call of a function that does
//            the whole native; the operation column names the operation it
//            reports on.
// result     the C type the entry point returns.
// name       the Java method; export: the entry point's name after
//            Java_com_zeq_sysmgt_storage_base_StorageDLL_ (an overloaded
//            method's carries its mangled parameter list).
// parameters the entry point's parameters after the JNIEnv, beginning with
//            the StorageDLL object self.
// signature  the Java method's JNI signature.
// roles      one letter per Java parameter: r the StorRet, i an input (read
//            only when there is an interface object), o an output.
// operation  the StoreDLLIntf operation the native calls (for CINT and SRET
//            with the arguments below; for the others the one it stands for).
// locals     declarations in the native's scope (C records zeroed);
// inputs     statements converting the Java inputs (env, conv and the
//            parameters in scope), run only with an interface object;
// arguments  the parenthesized arguments of the operation;
// outputs    statements writing the outputs to Java;
// when       when the outputs are written: ON_ZERO (result 0), ALWAYS; for
//            the StorRet natives also whether before or after the StorRet
//            (ON_ZERO_BEFORE, ON_ZERO_AFTER, ALWAYS_BEFORE, ALWAYS_AFTER).
//
// A file that needs only names and signatures expands the rows with a
// macro that ignores the other columns.

#include "storagedll/convrule.h"

#define JDLL_STRING "Ljava/lang/String;"
#define JDLL_STORRET LEGACY_API_SIG("StorRet")
#define JDLL_STORADDR LEGACY_API_SIG("StorAddr")
#define JDLL_VERSION LEGACY_API_SIG("Version")
#define JDLL_BLVAL LEGACY_API_SIG("BlVal")
#define JDLL_IVAL LEGACY_API_SIG("IVal")
#define JDLL_SVAL LEGACY_API_SIG("SVal")
#define JDLL_ADDRLIST LEGACY_API_SIG("AddrList")
#define JDLL_BYTEBLK LEGACY_API_SIG("ByteBlk")

// The RAID natives' common columns: the StorAddr parameter as a local
// address and its conversion; (StorRet, StorAddr) with one more parameter
// of the JNI type named.
#define JDLL_ADDR (_STORAGE_ADDRESS_ID addr{};)
#define JDLL_ADDR_IN (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr);)
#define JDLL_WITH_ADDR(type) "(" JDLL_STORRET JDLL_STORADDR type ")V"

// clang-format off
#define STORAGEDLL_NATIVES(X) \
    X(OWN, jint, constructDllObject, constructDllObject, (jobject self, jstring jName), \
      "(" JDLL_STRING ")I", "i", none, (), (), (), (), NEVER) \
    X(OWN, jint, destructDllObject, destructDllObject, (jobject self), "()I", "", none, (), (), (), (), NEVER) \
    X(OWN, jboolean, cConstructorOK, cConstructorOK, (jobject self, jobject jFailId), \
      "(" LEGACY_API_SIG("LVal") ")Z", "o", ConstructorOK, (), (), (), (), ALWAYS) \
    \
    X(CINT, jint, cGetDLLType, cGetDLLType, (jobject self, jobject jType), \
      "(" LEGACY_API_SIG("DllType") ")I", "o", GetDLLType, \
      (_DLL_TYPE rec{};), (), (rec), (conv.DLL_TYPEcpp_TO_DllTypeJava(env, jType, rec);), ON_ZERO) \
    X(CINT, jint, cGetDLLVersion, cGetDLLVersion, (jobject self, jobject jVersion), \
      "(" JDLL_VERSION ")I", "o", GetDLLVersion, \
      (_STORAGE_VERSION rec{};), (), (rec), (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO) \
    X(CINT, jint, cGetDLLIntfVersion, cGetDLLIntfVersion, (jobject self, jobject jVersion), \
      "(" JDLL_VERSION ")I", "o", GetDLLIntfVersion, \
      (_STORAGE_VERSION rec{};), (), (rec), (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO) \
    X(NOTAVAIL, jint, cGetAddressScheme, cGetAddressScheme, (jobject self, jobject jAddr), \
      "(" JDLL_STORADDR ")I", "o", GetAddressScheme, (), (), (), (), NEVER) \
    X(FIXED, void, GetLimits, GetLimits, (jobject self, jobject jRet, jobject jLimits), \
      "(" JDLL_STORRET LEGACY_API_SIG("AdapterLimits") ")V", "ro", none, \
      (), (), (), (conv.DLL_Limits_TO_AdapterLimitsJava(env, jLimits);), ALWAYS_BEFORE) \
    X(CINT, jint, cGetMaxValues, cGetMaxValues, (jobject self, jobject jMax), \
      "(" LEGACY_API_SIG("MaxAddr") ")I", "o", GetMaxValues, \
      (_MAX_ADDR_VALUES rec{};), (), (rec), (conv.MAX_ADDRcpp_TO_MaxAddrJava(env, jMax, rec);), ON_ZERO) \
    X(CINT, jint, cGetDeviceDriverVersion, cGetDeviceDriverVersion__Lcom_zeq_sysmgt_storage_api_Version_2, \
      (jobject self, jobject jVersion), "(" JDLL_VERSION ")I", "o", GetDeviceDriverVersion, \
      (_STORAGE_ADDRESS_ID addr{}; _STORAGE_VERSION rec{};), (), (addr, rec), \
      (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO) \
    X(CINT, jint, cGetDeviceDriverVersion, \
      cGetDeviceDriverVersion__Lcom_zeq_sysmgt_storage_api_StorAddr_2Lcom_zeq_sysmgt_storage_api_Version_2, \
      (jobject self, jobject jAddr, jobject jVersion), "(" JDLL_STORADDR JDLL_VERSION ")I", "io", \
      GetDeviceDriverVersion, (_STORAGE_ADDRESS_ID addr{}; _STORAGE_VERSION rec{};), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr);), (addr, rec), \
      (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO) \
    X(CINT, jint, cGetClusterDllVersion, cGetClusterDllVersion, (jobject self, jobject jVersion), \
      "(" JDLL_VERSION ")I", "o", GetClusterDllVersion, \
      (_STORAGE_ADDRESS_ID addr{}; _STORAGE_VERSION rec{};), (), (addr, rec), \
      (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO) \
    X(SRET, void, IsStoragePresent, IsStoragePresent, (jobject self, jobject jRet, jobject jPresent), \
      "(" JDLL_STORRET LEGACY_API_SIG("BlVal") ")V", "ro", IsStoragePresent, \
      (int present = 0;), (), (present), (conv.BOOL_REFcpp_TO_BlValJava(env, jPresent, present);), ON_ZERO_BEFORE) \
    X(CINT, jint, cGetStorageIntfVersion, cGetStorageIntfVersion, (jobject self, jobject jVersion), \
      "(" JDLL_VERSION ")I", "o", GetStorageIntfVersion, \
      (_STORAGE_VERSION rec{};), (), (rec), (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO) \
    STORAGEDLL_RAID_NATIVES(X)

// The natives of the RAID configuration, arrays, logical and physical
// drives, task progress, and cluster, FRU, battery and feature data.
#define STORAGEDLL_RAID_NATIVES(X) X(SRET, void, IsRaidPresent, IsRaidPresent, (jobject self, jobject jRet, jobject jPresent), \
      "(" JDLL_STORRET JDLL_BLVAL ")V", "ro", IsRaidPresent, \
      (int present = 0;), (), (present), (conv.BOOL_REFcpp_TO_BlValJava(env, jPresent, present);), ON_ZERO_AFTER) \
    X(CINT, jint, cGetRaidIntfVersion, cGetRaidIntfVersion, (jobject self, jobject jVersion), \
      "(" JDLL_VERSION ")I", "o", GetRaidIntfVersion, \
      (_STORAGE_VERSION rec{};), (), (rec), (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO) \
    X(SRET, void, SetRebuildPriority, SetRebuildPriority, (jobject self, jobject jRet, jobject jAddr, jint jPriority), \
      JDLL_WITH_ADDR("I"), "rii", SetRebuildPriority, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jPriority)), (), NEVER) \
    X(SRET, void, SetCopyBackMode, SetCopyBackMode, (jobject self, jobject jRet, jobject jAddr, jboolean jOn), \
      JDLL_WITH_ADDR("Z"), "rii", SetCopyBackMode, JDLL_ADDR, JDLL_ADDR_IN, (addr, jOn ? 1 : 0), (), NEVER) \
    X(SRET, void, SetAttendanceMode, SetAttendanceMode, (jobject self, jobject jRet, jobject jAddr, jboolean jOn), \
      JDLL_WITH_ADDR("Z"), "rii", SetAttendanceMode, JDLL_ADDR, JDLL_ADDR_IN, (addr, jOn ? 1 : 0), (), NEVER) \
    X(SRET, void, SetReadAheadMode, SetReadAheadMode, (jobject self, jobject jRet, jobject jAddr, jboolean jOn), \
      JDLL_WITH_ADDR("Z"), "rii", SetReadAheadMode, JDLL_ADDR, JDLL_ADDR_IN, (addr, jOn ? 1 : 0), (), NEVER) \
    X(SRET, void, SetStripeSliceSize, SetStripeSliceSize, (jobject self, jobject jRet, jobject jAddr, jlong jSize), \
      JDLL_WITH_ADDR("J"), "rii", SetStripeSliceSize, JDLL_ADDR, JDLL_ADDR_IN, (addr, conv.jlul(jSize)), (), NEVER) \
    X(FUNC, void, GetAdapterRaidConfig, GetAdapterRaidConfig, \
      (jobject self, jobject jRet, jobject jAddr, jobject jConfig, jboolean jFlag), \
      "(" JDLL_STORRET JDLL_STORADDR LEGACY_API_SIG("RaidConfig") "Z)V", "rioi", GetAdapterRaidConfig, (), (), \
      (legacyjdll::getAdapterRaidConfig(env, self, jRet, jAddr, jConfig, jFlag)), (), ON_ZERO_AFTER) \
    X(FUNC, void, GetVirtDevLdTable, GetVirtDevLdTable, \
      (jobject self, jobject jRet, jobject jAddr, jobject jTable, jint jType), \
      "(" JDLL_STORRET JDLL_STORADDR LEGACY_API_SIG("VirtDrv") "I)V", "rioi", GetVirtDevLdTable, (), (), \
      (legacyjdll::getVirtDevLdTable(env, self, jRet, jAddr, jTable, jType)), (), ON_ZERO_AFTER) \
    X(SRET, void, ResetAdapterRaidConfig, ResetAdapterRaidConfig, \
      (jobject self, jobject jRet, jobject jAddr, jboolean jFlag), JDLL_WITH_ADDR("Z"), "rii", ResetAdapterRaidConfig, \
      JDLL_ADDR, JDLL_ADDR_IN, (addr, jFlag ? 1 : 0), (), NEVER) \
    X(CHECKED, void, SetAdapterRaidConfig, SetAdapterRaidConfig, \
      (jobject self, jobject jRet, jobject jAddr, jobject jBlock), JDLL_WITH_ADDR(JDLL_BYTEBLK), "rii", \
      SetAdapterRaidConfig, (_STORAGE_ADDRESS_ID addr{}; legacyjdll::ByteBlockInput block;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); status = block.fromJava(env, conv, jBlock);), \
      (addr, block.buffer, block.transferLength), (), NEVER) \
    X(SRET, void, SetAdapterRaidConfigFromDevice, SetAdapterRaidConfigFromDevice, \
      (jobject self, jobject jRet, jobject jAddr, jboolean jFlag), JDLL_WITH_ADDR("Z"), "rii", \
      SetAdapterRaidConfigFromDevice, JDLL_ADDR, JDLL_ADDR_IN, (addr, jFlag ? 1 : 0), (), NEVER) \
    X(SRET, void, SetWritePolicy, SetWritePolicy, (jobject self, jobject jRet, jobject jAddr, jint jPolicy), \
      JDLL_WITH_ADDR("I"), "rii", SetWritePolicy, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jPolicy)), (), NEVER) \
    X(SRET, void, DuplicateVirtDev, DuplicateVirtDev, (jobject self, jobject jRet, jobject jAddr, jobject jOther), \
      JDLL_WITH_ADDR(JDLL_STORADDR), "rii", DuplicateVirtDev, (_STORAGE_ADDRESS_ID addr{}; _STORAGE_ADDRESS_ID other{};), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); conv.StorAddrJava_TO_STADDRcpp(env, jOther, other);), \
      (addr, other), (), NEVER) \
    X(SRET, void, RaidAdapterInfo, RaidAdapterInfo, (jobject self, jobject jRet, jobject jAddr, jobject jInfo), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("RaidAdapterInfo")), "rio", RaidAdapterInfo, \
      (_STORAGE_ADDRESS_ID addr{}; _RAID_ADAPTER_INFO info{};), JDLL_ADDR_IN, (addr, info), \
      (conv.RAID_ADAPTER_INFOcpp_TO_RaidAdapterInfoJava(env, jInfo, info);), ON_ZERO_AFTER) \
    X(CHECKED, void, GetAdapterEventLog, GetAdapterEventLog, \
      (jobject self, jobject jRet, jobject jAddr, jobject jBlock, jint jType), \
      "(" JDLL_STORRET JDLL_STORADDR JDLL_BYTEBLK "I)V", "rioi", GetAdapterEventLog, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::ByteBlockInput block;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); status = block.fromJava(env, conv, jBlock);), \
      (addr, block.buffer, block.blockLength, uint8_t(jType), block.transferLength), \
      (block.toJava(env, conv, jBlock, block.transferLength);), ON_ZERO_AFTER) \
    X(SRET, void, EraseAdapterEventLog, EraseAdapterEventLog, (jobject self, jobject jRet, jobject jAddr, jint jType), \
      JDLL_WITH_ADDR("I"), "rii", EraseAdapterEventLog, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jType)), (), NEVER) \
    X(CHECKED, void, CreateArray, CreateArray, (jobject self, jobject jRet, jobject jAddr, jobject jList), \
      JDLL_WITH_ADDR(JDLL_ADDRLIST), "rii", CreateArray, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); \
       status = list.fromJava(env, conv, jList, legacyjdll::AddressListInput::countOf(env, jList));), \
      (addr, list.list, list.count16()), (), NEVER) \
    X(SRET, void, DeleteArray, DeleteArray, (jobject self, jobject jRet, jobject jAddr, jint jArray), \
      JDLL_WITH_ADDR("I"), "rii", DeleteArray, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint16_t(jArray)), (), NEVER) \
    X(FUNC, void, GetArrayCount, GetArrayCount, (jobject self, jobject jRet, jobject jAddr, jobject jList), \
      JDLL_WITH_ADDR(JDLL_ADDRLIST), "rio", GetArrayCount, (), (), \
      (legacyjdll::countAndList(env, self, jRet, jAddr, jList, &StoreDLLIntf::GetArrayCount)), (), ON_ZERO_AFTER) \
    X(FUNC, void, GetArrayVirtDevCount, GetArrayVirtDevCount, \
      (jobject self, jobject jRet, jobject jAddr, jobject jList), JDLL_WITH_ADDR(JDLL_ADDRLIST), "rio", \
      GetArrayVirtDevCount, (), (), \
      (legacyjdll::countAndList(env, self, jRet, jAddr, jList, &StoreDLLIntf::GetArrayVirtDevCount)), (), \
      ON_ZERO_AFTER) \
    X(FUNC, void, GetArrayPhysDevCount, GetArrayPhysDevCount, \
      (jobject self, jobject jRet, jobject jAddr, jobject jList), JDLL_WITH_ADDR(JDLL_ADDRLIST), "rio", \
      GetArrayPhysDevCount, (), (), \
      (legacyjdll::countAndList(env, self, jRet, jAddr, jList, &StoreDLLIntf::GetArrayPhysDevCount)), (), \
      ON_ZERO_AFTER) \
    X(SRET, void, ArrayInfo, ArrayInfo, (jobject self, jobject jRet, jobject jAddr, jobject jInfo), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("RaidArrayInfo")), "rio", ArrayInfo, \
      (_STORAGE_ADDRESS_ID addr{}; _RAID_ARRAY_INFO info{};), JDLL_ADDR_IN, (addr, info), \
      (conv.RAID_ARRAY_INFOcpp_TO_RaidArrayInfoJava(env, jInfo, info);), ON_ZERO_AFTER) \
    X(SRET, void, HotSwapRebuild, HotSwapRebuild, (jobject self, jobject jRet, jobject jAddr, jboolean jOn), \
      JDLL_WITH_ADDR("Z"), "rii", HotSwapRebuild, JDLL_ADDR, JDLL_ADDR_IN, (addr, jOn ? 1 : 0), (), NEVER) \
    X(SRET, void, AdapterDeviceScan, AdapterDeviceScan, (jobject self, jobject jRet, jobject jAddr, jobject jFound), \
      JDLL_WITH_ADDR(JDLL_IVAL), "rio", AdapterDeviceScan, (_STORAGE_ADDRESS_ID addr{}; uint16_t found = 0;), \
      JDLL_ADDR_IN, (addr, found), (conv.INT_REFcpp_TO_IValJava(env, jFound, found);), ON_ZERO_AFTER) \
    X(CHECKED, void, SetHostConfigId, SetHostConfigId, (jobject self, jobject jRet, jobject jAddr, jstring jId), \
      JDLL_WITH_ADDR(JDLL_STRING), "rii", SetHostConfigId, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::StringInput id(env, jId);), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); status = id.status();), (addr, id.chars()), (), NEVER) \
    X(SRET, void, ClearClusterPartnerId, ClearClusterPartnerId, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", ClearClusterPartnerId, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(CHECKED, void, SetClusterPartnerId, SetClusterPartnerId, (jobject self, jobject jRet, jobject jAddr, jstring jId), \
      JDLL_WITH_ADDR(JDLL_STRING), "rii", SetClusterPartnerId, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::StringInput id(env, jId);), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); status = id.status();), (addr, id.chars()), (), NEVER) \
    X(SRET, void, GetClusterPartnerId, GetClusterPartnerId, (jobject self, jobject jRet, jobject jAddr, jobject jBlock), \
      JDLL_WITH_ADDR(JDLL_BYTEBLK), "rio", GetClusterPartnerId, \
      (_STORAGE_ADDRESS_ID addr{}; char partner[legacyjdll::PARTNER_ID_BUFFER] = {};), JDLL_ADDR_IN, \
      (addr, partner), (conv.PVOIDcpp_TO_ByteBlkJava(env, jBlock, partner, legacyjdll::PARTNER_ID_BUFFER);), \
      ALWAYS_BEFORE) \
    X(SRET, void, SetSharedDeviceId, SetSharedDeviceId, (jobject self, jobject jRet, jobject jAddr, jobject jId), \
      JDLL_WITH_ADDR(JDLL_IVAL), "rii", SetSharedDeviceId, (_STORAGE_ADDRESS_ID addr{}; int id = 0;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); conv.IValJava_TO_INT_REFcpp(env, jId, id);), \
      (addr, uint8_t(id)), (), NEVER) \
    X(SRET, void, GetSharedDeviceId, GetSharedDeviceId, (jobject self, jobject jRet, jobject jAddr, jobject jId), \
      JDLL_WITH_ADDR(JDLL_IVAL), "roo", GetSharedDeviceId, (_STORAGE_ADDRESS_ID addr{}; uint8_t id = 0;), \
      JDLL_ADDR_IN, (addr, id), \
      (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, addr); conv.INT_REFcpp_TO_IValJava(env, jId, id);), ALWAYS_BEFORE) \
    X(SRET, void, GetAdapterFruData, GetAdapterFruData, (jobject self, jobject jRet, jobject jAddr, jobject jVpd), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("Vpd")), "roo", GetAdapterFruData, \
      (_STORAGE_ADDRESS_ID addr{}; _HostVpdData vpd{};), JDLL_ADDR_IN, (addr, vpd), \
      (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, addr); conv.Vpdcpp_TO_VpdJava(env, jVpd, vpd.FormattedVpd);), \
      ALWAYS_BEFORE) \
    X(SRET, void, GetExtendedBatteryData, GetExtendedBatteryData, \
      (jobject self, jobject jRet, jobject jAddr, jobject jBattery), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("ExtendedBatteryData")), "roo", GetExtendedBatteryData, \
      (_STORAGE_ADDRESS_ID addr{}; _ENQUIRY_EXTENDED_BATTERY_STATUS battery{};), JDLL_ADDR_IN, (addr, battery), \
      (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, addr); \
       conv.ExtendedBatteryDatacpp_TO_ExtendedBatteryDataJava(env, jBattery, battery);), ALWAYS_BEFORE) \
    X(SRET, void, GetSupportedFeatures, GetSupportedFeatures, \
      (jobject self, jobject jRet, jobject jAddr, jobject jFeatures), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("AdapterFeatures")), "rio", GetSupportedFeatures, \
      (_STORAGE_ADDRESS_ID addr{}; _ADAPTER_FEATURES features{}; _ADAPTER_FEATURES* table = &features;), \
      JDLL_ADDR_IN, (addr, table), (conv.PADAPTER_FEATUREScpp_TO_AdapterFeaturesJava(env, jFeatures, table);), \
      ON_ZERO_AFTER) \
    X(SRET, void, GetBBCacheInfo, GetBBCacheInfo, (jobject self, jobject jRet, jobject jAddr, jobject jInfo), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("BBCacheInfo")), "rio", ExecAdapterCmnd, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AdapterEnquiry enquiry(legacyjdll::ENQUIRY_PAGE_CACHE_SERIALS); \
       _ENQUIRY_BBCACHE reply{};), \
      JDLL_ADDR_IN, LEGACY_ENQUIRY_ARGS(addr, enquiry, &reply, uint32_t(sizeof reply)), \
      (conv.ENQUIRY_BBCACHEcpp_TO_BBCacheInfoJava(env, jInfo, reply);), ON_ZERO_AFTER) \
    X(FUNC, void, GetVirtDevCount, GetVirtDevCount, (jobject self, jobject jRet, jobject jAddr, jobject jList), \
      JDLL_WITH_ADDR(JDLL_ADDRLIST), "rio", GetVirtDevCount, (), (), \
      (legacyjdll::countAndList(env, self, jRet, jAddr, jList, &StoreDLLIntf::GetVirtDevCount)), (), ON_ZERO_AFTER) \
    X(SRET, void, GetFirstVirtDev, GetFirstVirtDev, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ro", GetFirstVirtDev, JDLL_ADDR, JDLL_ADDR_IN, (addr), \
      (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, addr);), ON_ZERO_AFTER) \
    X(SRET, void, GetLastVirtDev, GetLastVirtDev, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ro", GetLastVirtDev, JDLL_ADDR, JDLL_ADDR_IN, (addr), \
      (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, addr);), ON_ZERO_AFTER) \
    X(CHECKED, void, CreateVirtDev, \
      CreateVirtDev__Lcom_zeq_sysmgt_storage_api_StorRet_2Lcom_zeq_sysmgt_storage_api_StorAddr_2IJJILcom_zeq_sysmgt_storage_api_AddrList_2I, \
      (jobject self, jobject jRet, jobject jAddr, jint jRaidLevel, jlong jSize, jlong jSecond, jint jCount, \
       jobject jList, jint jOptions), \
      JDLL_WITH_ADDR("IJJI" JDLL_ADDRLIST "I"), "riiiiiii", CreateVirtDev, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); status = list.fromJava(env, conv, jList, uint32_t(jCount));), \
      (addr, uint16_t(jRaidLevel), conv.jlul(jSize), conv.jlul(jSecond), list.count16(), list.list, \
       uint32_t(jOptions)), (), NEVER) \
    X(CHECKED, void, CreateVirtDevHld, CreateVirtDevHld, \
      (jobject self, jobject jRet, jobject jAddr, jlong jSize, jint jCount, jobject jList), \
      JDLL_WITH_ADDR("JI" JDLL_ADDRLIST), "riiii", CreateVirtDevHld, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); status = list.fromJava(env, conv, jList, uint32_t(jCount));), \
      (addr, conv.jlul(jSize), list.count16(), list.list), (), NEVER) \
    X(SRET, void, DeleteVirtDev, DeleteVirtDev, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", DeleteVirtDev, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, DeleteVirtDevOption, DeleteVirtDevOption, (jobject self, jobject jRet, jobject jAddr, jint jOption), \
      JDLL_WITH_ADDR("I"), "rii", DeleteVirtDevOption, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jOption)), (), NEVER) \
    X(SRET, void, GetVirtDevSize, GetVirtDevSize, (jobject self, jobject jRet, jobject jAddr, jobject jSize), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("DeviceSize")), "rio", GetVirtDevSize, \
      (_STORAGE_ADDRESS_ID addr{}; _DEVICE_SIZE size{};), JDLL_ADDR_IN, (addr, size), \
      (conv.DEVICE_SIZEcpp_TO_DeviceSizeJava(env, jSize, size);), ON_ZERO_AFTER) \
    X(SRET, void, GetVirtDevInfo, GetVirtDevInfo, (jobject self, jobject jRet, jobject jAddr, jobject jInfo), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("VirtualDeviceInfo")), "rio", GetVirtDevInfo, \
      (_STORAGE_ADDRESS_ID addr{}; _VIRTUAL_DEVICE_INFO info{};), JDLL_ADDR_IN, (addr, info), \
      (conv.VIRT_DEVICE_INFOcpp_TO_VirtualDeviceInfoJava(env, jInfo, info);), ON_ZERO_AFTER) \
    X(SRET, void, SynchronizeVirtDev, SynchronizeVirtDev, (jobject self, jobject jRet, jobject jAddr, jint jOption), \
      JDLL_WITH_ADDR("I"), "rii", SynchronizeVirtDev, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jOption)), (), NEVER) \
    X(SRET, void, CheckSynchronizeVirtDevProgress, CheckSynchronizeVirtDevProgress, \
      (jobject self, jobject jRet, jobject jAddr, jobject jProgress), JDLL_WITH_ADDR(JDLL_SVAL), "rio", \
      CheckSynchronizeVirtDevProgress, (_STORAGE_ADDRESS_ID addr{}; uint16_t progress = 0;), JDLL_ADDR_IN, \
      (addr, progress), (conv.USHORT_REFcpp_TO_SValJava(env, jProgress, progress);), ON_ZERO_AFTER) \
    X(SRET, void, InitializeVirtDev, InitializeVirtDev, (jobject self, jobject jRet, jobject jAddr, jint jOption), \
      JDLL_WITH_ADDR("I"), "rii", InitializeVirtDev, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jOption)), (), NEVER) \
    X(SRET, void, CheckInitializeVirtDevProgress, CheckInitializeVirtDevProgress, \
      (jobject self, jobject jRet, jobject jAddr, jobject jProgress), JDLL_WITH_ADDR(JDLL_SVAL), "rio", \
      CheckInitializeVirtDevProgress, (_STORAGE_ADDRESS_ID addr{}; uint16_t progress = 0;), JDLL_ADDR_IN, \
      (addr, progress), (conv.USHORT_REFcpp_TO_SValJava(env, jProgress, progress);), ON_ZERO_AFTER) \
    X(SRET, void, MigrateVirtDev, MigrateVirtDev, (jobject self, jobject jRet, jobject jAddr, jobject jTarget), \
      JDLL_WITH_ADDR(JDLL_STORADDR), "rii", MigrateVirtDev, \
      (_STORAGE_ADDRESS_ID addr{}; _STORAGE_ADDRESS_ID target{};), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); conv.StorAddrJava_TO_STADDRcpp(env, jTarget, target);), \
      (addr, target), (), NEVER) \
    X(SRET, void, CheckMigrateVirtDevProgress, CheckMigrateVirtDevProgress, \
      (jobject self, jobject jRet, jobject jAddr, jobject jProgress), JDLL_WITH_ADDR(JDLL_SVAL), "rio", \
      CheckMigrateVirtDevProgress, (_STORAGE_ADDRESS_ID addr{}; uint16_t progress = 0;), JDLL_ADDR_IN, \
      (addr, progress), (conv.USHORT_REFcpp_TO_SValJava(env, jProgress, progress);), ON_ZERO_AFTER) \
    X(SRET, void, RestartMigration, RestartMigration, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", RestartMigration, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(CHECKED, void, IncreaseArraySize, IncreaseArraySize, \
      (jobject self, jobject jRet, jobject jAddr, jobject jSize, jobject jList, jint jCount), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("ArraySize") JDLL_ADDRLIST "I"), "riiii", IncreaseArraySize, \
      (_STORAGE_ADDRESS_ID addr{}; _ARRAY_SIZE size{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); status = list.fromJava(env, conv, jList, uint32_t(jCount)); \
       if (status == 0) conv.ArraySizeJava_TO_ARRAY_SIZEcpp(env, jSize, size);), \
      (addr, size, list.list, list.count16()), (), NEVER) \
    X(CHECKED, void, ModifyArrayRaidLevel, ModifyArrayRaidLevel, \
      (jobject self, jobject jRet, jobject jAddr, jint jRaidLevel, jobject jList, jint jCount), \
      JDLL_WITH_ADDR("I" JDLL_ADDRLIST "I"), "riiii", ModifyArrayRaidLevel, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); status = list.fromJava(env, conv, jList, uint32_t(jCount));), \
      (addr, uint16_t(jRaidLevel), list.list, list.count16()), (), NEVER) \
    X(CHECKED, void, IncreaseVirtDevSizes, IncreaseVirtDevSizes, \
      (jobject self, jobject jRet, jobject jAddr, jobject jSize, jobject jList, jint jCount), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("DeviceSize") JDLL_ADDRLIST "I"), "riiii", IncreaseVirtDevSizes, \
      (_STORAGE_ADDRESS_ID addr{}; _DEVICE_SIZE size{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); status = list.fromJava(env, conv, jList, uint32_t(jCount)); \
       if (status == 0) conv.DeviceSizeJava_TO_DEVICE_SIZEcpp(env, jSize, size);), \
      (addr, size, list.list, list.count16()), (), NEVER) \
    X(CHECKED, void, ModifyVirtDevRaidLevel, ModifyVirtDevRaidLevel, \
      (jobject self, jobject jRet, jobject jAddr, jint jRaidLevel, jobject jList), \
      JDLL_WITH_ADDR("I" JDLL_ADDRLIST), "riii", ModifyVirtDevRaidLevel, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); \
       status = list.fromJava(env, conv, jList, legacyjdll::AddressListInput::countOf(env, jList));), \
      (addr, uint16_t(jRaidLevel), list.list, list.count16()), (), NEVER) \
    X(SRET, void, FailActiveToPassive, FailActiveToPassive, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", FailActiveToPassive, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, UnBlockVirtDev, UnBlockVirtDev, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", UnBlockVirtDev, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, MergeVirtDev, MergeVirtDev, \
      (jobject self, jobject jRet, jobject jAddr, jint jFirst, jboolean jFlag, jint jSecond), \
      JDLL_WITH_ADDR("IZI"), "riiii", MergeVirtDev, JDLL_ADDR, JDLL_ADDR_IN, \
      (addr, uint8_t(jFirst), jFlag ? 1 : 0, uint8_t(jSecond)), (), NEVER) \
    X(SRET, void, UnMergeVirtDev, UnMergeVirtDev, (jobject self, jobject jRet, jobject jAddr, jint jValue, jboolean jFlag), \
      JDLL_WITH_ADDR("IZ"), "riii", UnMergeVirtDev, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jValue), jFlag ? 1 : 0), \
      (), NEVER) \
    X(SRET, void, ClearMergeGroupId, ClearMergeGroupId, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", ClearMergeGroupId, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, SetMergeGroupId, SetMergeGroupId, (jobject self, jobject jRet, jobject jAddr, jint jGroup, jboolean jFlag), \
      JDLL_WITH_ADDR("IZ"), "riii", SetMergeGroupId, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jGroup), jFlag ? 1 : 0), \
      (), NEVER) \
    X(FUNC, void, ReadVirtDevice, ReadVirtDevice, \
      (jobject self, jobject jRet, jobject jAddr, jobject jDataAddr, jobject jBlock1, jobject jBlock2, jlong jFirst, \
       jlong jSecond, jboolean jFlag), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("DataAddr") JDLL_BYTEBLK JDLL_BYTEBLK "JJZ"), "riiooiii", ReadVirtDevice, (), (), \
      (legacyjdll::blockTransfer(env, self, jRet, jAddr, jDataAddr, jBlock1, jBlock2, jFirst, jSecond, jFlag, \
                                 &StoreDLLIntf::ReadVirtDevice)), (), ALWAYS_AFTER) \
    X(FUNC, void, WriteVirtDevice, WriteVirtDevice, \
      (jobject self, jobject jRet, jobject jAddr, jobject jDataAddr, jobject jBlock1, jobject jBlock2, jlong jFirst, \
       jlong jSecond, jboolean jFlag), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("DataAddr") JDLL_BYTEBLK JDLL_BYTEBLK "JJZ"), "riiooiii", WriteVirtDevice, (), (), \
      (legacyjdll::blockTransfer(env, self, jRet, jAddr, jDataAddr, jBlock1, jBlock2, jFirst, jSecond, jFlag, \
                                 &StoreDLLIntf::WriteVirtDevice)), (), ALWAYS_AFTER) \
    X(SRET, void, AddPhysDev, AddPhysDev, (jobject self, jobject jRet, jobject jAddr, jint jValue), \
      JDLL_WITH_ADDR("I"), "rii", AddPhysDev, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, RemovePhysDev, RemovePhysDev, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", RemovePhysDev, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, ReplacePhysDev, ReplacePhysDev, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", ReplacePhysDev, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, StartPhysDev, StartPhysDev, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", StartPhysDev, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, StopPhysDev, StopPhysDev, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", StopPhysDev, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, GetPhysDevState, GetPhysDevState, (jobject self, jobject jRet, jobject jAddr, jobject jState), \
      JDLL_WITH_ADDR(JDLL_SVAL), "rio", GetPhysDevState, (_STORAGE_ADDRESS_ID addr{}; uint8_t state = 0;), \
      JDLL_ADDR_IN, (addr, state), (conv.USHORT_REFcpp_TO_SValJava(env, jState, state);), ON_ZERO_AFTER) \
    X(SRET, void, SetPhysDevState, SetPhysDevState, (jobject self, jobject jRet, jobject jAddr, jint jState), \
      JDLL_WITH_ADDR("I"), "rii", SetPhysDevState, JDLL_ADDR, JDLL_ADDR_IN, (addr, uint8_t(jState)), (), NEVER) \
    X(SRET, void, ClearDeviceRaidConfig, ClearDeviceRaidConfig, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", ClearDeviceRaidConfig, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, RebuildPhysDev, RebuildPhysDev, (jobject self, jobject jRet, jobject jAddr), \
      JDLL_WITH_ADDR(""), "ri", RebuildPhysDev, JDLL_ADDR, JDLL_ADDR_IN, (addr), (), NEVER) \
    X(SRET, void, RebuildPhysDevToOtherDev, RebuildPhysDevToOtherDev, \
      (jobject self, jobject jRet, jobject jAddr, jobject jOther), JDLL_WITH_ADDR(JDLL_STORADDR), "rii", \
      RebuildPhysDevToOtherDev, (_STORAGE_ADDRESS_ID addr{}; _STORAGE_ADDRESS_ID other{};), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); conv.StorAddrJava_TO_STADDRcpp(env, jOther, other);), \
      (addr, other), (), NEVER) \
    X(SRET, void, CheckRebuildProgress, CheckRebuildProgress, \
      (jobject self, jobject jRet, jobject jAddr, jobject jProgress, jobject jValue), \
      JDLL_WITH_ADDR(JDLL_SVAL JDLL_SVAL), "rioo", CheckRebuildProgress, \
      (_STORAGE_ADDRESS_ID addr{}; uint16_t progress = 0; uint8_t value = 0;), JDLL_ADDR_IN, (addr, progress, value), \
      (conv.USHORT_REFcpp_TO_SValJava(env, jProgress, progress); conv.USHORT_REFcpp_TO_SValJava(env, jValue, value);), \
      ON_ZERO_AFTER) \
    X(FUNC, void, CheckProgress, CheckProgress, (jobject self, jobject jRet, jobject jAddr, jobject jProgress), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("ProgressInfo")), "rio", CheckProgress, (), (), \
      (legacyjdll::checkProgress(env, self, jRet, jAddr, jProgress)), (), ON_ZERO_AFTER) \
    X(FUNC, void, CheckQuillcopyProgress, CheckQuillcopyProgress, \
      (jobject self, jobject jRet, jobject jAddr, jobject jProgress), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("QuillcopyProgress")), "rio", CheckQuillcopyProgress, (), (), \
      (legacyjdll::checkQuillcopyProgress(env, self, jRet, jAddr, jProgress)), (), ON_ZERO_AFTER) \
    X(FUNC, void, GetQuillcopyStatus, GetQuillcopyStatus, \
      (jobject self, jobject jRet, jobject jAddr, jobject jStatus, jint jOption), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("QuillcopyStatus") "I"), "rioi", CheckProgress, (), (), \
      (legacyjdll::getQuillcopyStatus(env, self, jRet, jAddr, jStatus, jOption)), (), ON_ZERO_AFTER)
// clang-format on

#endif
