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
// inputs     statements converting the Java inputs (env, conv, call and the
//            parameters in scope), run only with an interface object; in a
//            StorRet native they may end it before its call by putting the
//            result to deliver into ret and setting done (no output is
//            written then);
// arguments  the parenthesized arguments of the operation;
// outputs    statements writing the outputs to Java;
// when       when the outputs are written: NEVER (none), ON_ZERO (result
//            0), ALWAYS; for the StorRet natives also whether before or after
//            the StorRet (ON_ZERO_BEFORE, ON_ZERO_AFTER, ALWAYS_BEFORE,
//            ALWAYS_AFTER).
//
// A file that needs only names and signatures expands the rows with a
// macro that ignores the other columns.

#include "storagedll/convrule.h"

#define JDLL_STRING "Ljava/lang/String;"
#define JDLL_STORRET LEGACY_API_SIG("StorRet")
#define JDLL_STORADDR LEGACY_API_SIG("StorAddr")
#define JDLL_VERSION LEGACY_API_SIG("Version")
#define JDLL_BYTEBLK LEGACY_API_SIG("ByteBlk")
#define JDLL_ADDRLIST LEGACY_API_SIG("AddrList")
#define JDLL_SVAL LEGACY_API_SIG("SVal")

// The signature of a StorRet native whose StorAddr is followed by `types`.
#define JDLL_WITH_ADDR(types) "(" JDLL_STORRET JDLL_STORADDR types ")V"

// ---- Column shapes shared by rows (their classes are in jdllshapes.h). A
// shape reads the Java parameters it names: jAddr the StorAddr, jOut the
// one output object, jBlk (jBlk1 to jBlk4) the ByteBlk arguments, jList the
// list's object.

// The StorAddr into addr, passed by value.
#define JDLL_ADDR_ONLY_PARAMS (jobject self, jobject jRet, jobject jAddr)
#define JDLL_ADDR_ONLY_SIG JDLL_WITH_ADDR("")
#define JDLL_ADDR_LOCALS (_STORAGE_ADDRESS_ID addr{};)
#define JDLL_ADDR_INPUTS (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr);)

// An address and one scalar after it: a flag (0 or 1), a selector byte (its
// bits as they are), one or two longs (their low 32 bits).
#define JDLL_FLAG_PARAMS (jobject self, jobject jRet, jobject jAddr, jboolean jFlag)
#define JDLL_FLAG_SIG JDLL_WITH_ADDR("Z")
#define JDLL_FLAG_ARGS (addr, jFlag ? 1 : 0)
#define JDLL_SELECTOR_PARAMS (jobject self, jobject jRet, jobject jAddr, jbyte jSelector)
#define JDLL_SELECTOR_SIG JDLL_WITH_ADDR("B")
#define JDLL_SELECTOR_ARGS (addr, uint8_t(jSelector))
#define JDLL_LONG_PARAMS (jobject self, jobject jRet, jobject jAddr, jlong jValue)
#define JDLL_LONG_SIG JDLL_WITH_ADDR("J")
#define JDLL_LONG_ARGS (addr, conv.jlul(jValue))
#define JDLL_TWO_LONGS_PARAMS (jobject self, jobject jRet, jobject jAddr, jlong jValue1, jlong jValue2)
#define JDLL_TWO_LONGS_SIG JDLL_WITH_ADDR("JJ")
#define JDLL_TWO_LONGS_ARGS (addr, conv.jlul(jValue1), conv.jlul(jValue2))
// An int (the row narrows it to its C parameter).
#define JDLL_INT_PARAMS (jobject self, jobject jRet, jobject jAddr, jint jValue)
#define JDLL_INT_SIG JDLL_WITH_ADDR("I")

// A second address, other, after the first.
#define JDLL_TWO_ADDR_PARAMS (jobject self, jobject jRet, jobject jAddr, jobject jOther)
#define JDLL_TWO_ADDR_SIG JDLL_WITH_ADDR(JDLL_STORADDR)
#define JDLL_TWO_ADDR_LOCALS (_STORAGE_ADDRESS_ID addr{}; _STORAGE_ADDRESS_ID other{};)
#define JDLL_TWO_ADDR_INPUTS \
    (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); conv.StorAddrJava_TO_STADDRcpp(env, jOther, other);)

// A String as text: its modified UTF-8 bytes, terminated; a null String
// ends the native with -2 (jdllshapes.h).
#define JDLL_TEXT_PARAMS (jobject self, jobject jRet, jobject jAddr, jstring jText)
#define JDLL_TEXT_SIG JDLL_WITH_ADDR(JDLL_STRING)
#define JDLL_TEXT_LOCALS (_STORAGE_ADDRESS_ID addr{}; legacyjdll::StringInput text(env, jText);)
#define JDLL_TEXT_INPUTS (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); done = legacyjdll::refused(ret, text.status());)

// An address and one output: a record (rec, zeroed) or a value filled by
// the call, written to jOut by the converter's operation.
#define JDLL_OUT_PARAMS (jobject self, jobject jRet, jobject jAddr, jobject jOut)
#define JDLL_OUT_SIG(cls) JDLL_WITH_ADDR(LEGACY_API_SIG(cls))
// The same shape with the object an input, jIn.
#define JDLL_IN_PARAMS (jobject self, jobject jRet, jobject jAddr, jobject jIn)
#define JDLL_RECORD_LOCALS(type) (_STORAGE_ADDRESS_ID addr{}; type rec{};)
#define JDLL_RECORD_ARGS (addr, rec)
#define JDLL_RECORD_OUT(op) (conv.op(env, jOut, rec);)
#define JDLL_VALUE_LOCALS(type) (_STORAGE_ADDRESS_ID addr{}; type value = 0;)
#define JDLL_VALUE_ARGS (addr, value)
#define JDLL_VALUE_OUT(op) (conv.op(env, jOut, value);)

// Byte blocks: the ByteBlk jBlk as blk, after the address. A converter that
// refuses the block ends the native with its code.
#define JDLL_BLOCK_PARAMS (jobject self, jobject jRet, jobject jAddr, jobject jBlk)
#define JDLL_BLOCK_SIG JDLL_WITH_ADDR(JDLL_BYTEBLK)
#define JDLL_BLOCK_LOCALS (_STORAGE_ADDRESS_ID addr{}; legacyjdll::ByteBlock blk;)
#define JDLL_BLOCK_INPUTS (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); done = blk.read(env, conv, jBlk, ret);)
// A read: the block length as the size, the transfer length in and out,
// copied back (on code 0) as the call left it.
#define JDLL_BLOCK_READ_ARGS (addr, blk.data(), blk.blockLength, blk.transfer)
#define JDLL_BLOCK_COPY_BACK (blk.copyBack(env, conv, jBlk);)
// A write: the transfer length (the bytes taken from the array) as the size.
#define JDLL_BLOCK_WRITE_ARGS (addr, blk.data(), blk.transfer)
// An event-log read: a selector byte between the size and the transfer
// length (an adapter log's type, an int, keeps its low 8 bits).
#define JDLL_LOG_READ_PARAMS (jobject self, jobject jRet, jobject jAddr, jobject jBlk, jbyte jSelector)
#define JDLL_LOG_READ_SIG JDLL_WITH_ADDR(JDLL_BYTEBLK "B")
#define JDLL_LOG_READ_ARGS (addr, blk.data(), blk.blockLength, uint8_t(jSelector), blk.transfer)
// A mode page: the transfer length in and out, the block, its length, the page.
#define JDLL_MODE_PAGE_PARAMS (jobject self, jobject jRet, jobject jAddr, jobject jBlk, jlong jPage)
#define JDLL_MODE_PAGE_SIG JDLL_WITH_ADDR(JDLL_BYTEBLK "J")
#define JDLL_MODE_PAGE_ARGS (addr, blk.transfer, blk.data(), blk.blockLength, conv.jlul(jPage))

// The block transfer: an address, a data address (zero-filled; its Java
// object converts nothing), two blocks, two longs and a flag; both blocks
// are copied back whatever the code.
#define JDLL_BLOCKIO_PARAMS                                                                              \
    (jobject self, jobject jRet, jobject jAddr, jobject jData, jobject jBlk1, jobject jBlk2, jlong jTimeout, \
     jlong jFlags, jboolean jOption)
#define JDLL_BLOCKIO_SIG JDLL_WITH_ADDR(LEGACY_API_SIG("DataAddr") JDLL_BYTEBLK JDLL_BYTEBLK "JJZ")
#define JDLL_BLOCKIO_ROLES "riiooiii"
#define JDLL_BLOCKIO_LOCALS \
    (_STORAGE_ADDRESS_ID addr{}; _DATA_ADDRESS data{}; legacyjdll::ByteBlock blk1; legacyjdll::ByteBlock blk2;)
#define JDLL_BLOCKIO_INPUTS                                                                    \
    (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); conv.DataAddrJava_TO_DTADDRcpp(env, jData, data); \
     done = blk1.read(env, conv, jBlk1, ret) || blk2.read(env, conv, jBlk2, ret);)
#define JDLL_BLOCKIO_ARGS                                                                                    \
    (addr, data, blk1.data(), blk1.blockLength, blk1.transfer, blk2.transfer, blk2.data(), blk2.blockLength, \
     conv.jlul(jTimeout), conv.jlul(jFlags), jOption ? 1 : 0)
#define JDLL_BLOCKIO_OUTPUTS (blk1.copyBack(env, conv, jBlk1); blk2.copyBack(env, conv, jBlk2);)

// The pass-through: an address, four blocks (block 1 the command, passed
// with its block length), two longs and two flags.
#define JDLL_PASSTHROUGH_PARAMS                                                                          \
    (jobject self, jobject jRet, jobject jAddr, jobject jBlk1, jobject jBlk2, jobject jBlk3, jobject jBlk4, \
     jlong jTimeout, jlong jFlags, jboolean jFlag1, jboolean jFlag2)
#define JDLL_PASSTHROUGH_SIG JDLL_WITH_ADDR(JDLL_BYTEBLK JDLL_BYTEBLK JDLL_BYTEBLK JDLL_BYTEBLK "JJZZ")
#define JDLL_PASSTHROUGH_LOCALS                                                                          \
    (_STORAGE_ADDRESS_ID addr{}; legacyjdll::ByteBlock blk1; legacyjdll::ByteBlock blk2; legacyjdll::ByteBlock blk3; \
     legacyjdll::ByteBlock blk4;)
#define JDLL_PASSTHROUGH_INPUTS                                                                   \
    (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr);                                            \
     done = blk1.read(env, conv, jBlk1, ret) || blk2.read(env, conv, jBlk2, ret) ||               \
            blk3.read(env, conv, jBlk3, ret) || blk4.read(env, conv, jBlk4, ret);)
#define JDLL_PASSTHROUGH_ARGS                                                                              \
    (addr, blk1.bytes(), blk1.blockLength, blk2.transfer, blk3.transfer, blk4.transfer, blk2.data(),       \
     blk2.blockLength, blk3.data(), blk3.blockLength, blk4.data(), blk4.blockLength, conv.jlul(jTimeout), \
     conv.jlul(jFlags), jFlag1 ? 1 : 0, jFlag2 ? 1 : 0)
// Block 2 on code 0, block 4 whatever the code (with ALWAYS_AFTER).
#define JDLL_PASSTHROUGH_READ_SENSE                                 \
    (if (ret.iReturnCode == 0) blk2.copyBack(env, conv, jBlk2);     \
     blk4.copyBack(env, conv, jBlk4);)

// The count-and-list call: a first call for the count (no list, size 0),
// the list allocated for that count (0 when the call set none), a second
// call with the list and its size in bytes. After a failed first call the
// policy GO_ON makes the second call, STOP delivers that failure. The
// outputs take the entries that both the second count and the list hold.
#define JDLL_LIST_PARAMS (jobject self, jobject jRet, jobject jAddr, jobject jList)
#define JDLL_LIST_LOCALS (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressList list;)
#define JDLL_LIST_INPUTS(op, policy)                                                                    \
    (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr);                                                  \
     done = list.first(ret, call.intf()->op(addr, list.count, nullptr, 0), legacyjdll::AddressList::policy);)
#define JDLL_LIST_ARGS (addr, list.count, list.entries(), list.bytes())
#define JDLL_LIST_TO_ADDRLIST (list.toAddrList(env, conv, jList);)

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
    \
    /* ---- diagnostics, self tests and settings */ \
    X(SRET, void, ExecuteAdapterDiagnostics, ExecuteAdapterDiagnostics, JDLL_TWO_LONGS_PARAMS, JDLL_TWO_LONGS_SIG, \
      "riii", ExecuteAdapterDiagnostics, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_TWO_LONGS_ARGS, (), NEVER) \
    X(SRET, void, SetAdapChanInitID, SetAdapChanInitID, JDLL_LONG_PARAMS, JDLL_LONG_SIG, "rii", SetAdapChanInitID, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_LONG_ARGS, (), NEVER) \
    X(SRET, void, BatteryBackupCache, BatteryBackupCache, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", BatteryBackupCache, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, SetBiosMappingMode, SetBiosMappingMode, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", SetBiosMappingMode, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, MaxSimultaneousDevSpinUp, MaxSimultaneousDevSpinUp, JDLL_TWO_LONGS_PARAMS, JDLL_TWO_LONGS_SIG, \
      "riii", MaxSimultaneousDevSpinUp, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_TWO_LONGS_ARGS, (), NEVER) \
    X(SRET, void, ExecuteDeviceDiagnostics, ExecuteDeviceDiagnostics, JDLL_TWO_LONGS_PARAMS, JDLL_TWO_LONGS_SIG, \
      "riii", ExecuteDeviceDiagnostics, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_TWO_LONGS_ARGS, (), NEVER) \
    X(SRET, void, DriveSelfTest, DriveSelfTest, \
      (jobject self, jobject jRet, jobject jAddr, jint jTest, jint jOption1, jint jOption2), \
      JDLL_WITH_ADDR("III"), "riiii", DriveSelfTest, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, \
      (addr, uint16_t(jTest), uint16_t(jOption1), uint16_t(jOption2)), (), NEVER) \
    X(SRET, void, CheckDriveSelfTestProgress, CheckDriveSelfTestProgress, JDLL_OUT_PARAMS, JDLL_OUT_SIG("SVal"), \
      "rio", CheckDriveSelfTestProgress, JDLL_VALUE_LOCALS(uint16_t), JDLL_ADDR_INPUTS, JDLL_VALUE_ARGS, \
      JDLL_VALUE_OUT(USHORT_REFcpp_TO_SValJava), ON_ZERO_AFTER) \
    X(SRET, void, GetDriveSelfTestLog, GetDriveSelfTestLog, \
      (jobject self, jobject jRet, jobject jAddr, jobject jBlk, jobject jCount), \
      JDLL_WITH_ADDR(JDLL_BYTEBLK LEGACY_API_SIG("SVal")), "rioo", GetDriveSelfTestLog, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::ByteBlock blk; uint16_t count = 0;), JDLL_BLOCK_INPUTS, \
      (addr, blk.data(), count, blk.blockLength), \
      (blk.copyBack(env, conv, jBlk, blk.blockLength); conv.USHORT_REFcpp_TO_SValJava(env, jCount, count);), \
      ON_ZERO_AFTER) \
    X(SRET, void, FormatDevice, FormatDevice, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", FormatDevice, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, SetDevXferSpeed, SetDevXferSpeed, JDLL_LONG_PARAMS, JDLL_LONG_SIG, "rii", SetDevXferSpeed, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_LONG_ARGS, (), NEVER) \
    \
    /* ---- adapter, channel and device queries */ \
    X(SRET, void, SupportedAdapterCount, SupportedAdapterCount, JDLL_LIST_PARAMS, JDLL_OUT_SIG("AdapterCount"), \
      "rio", SupportedAdapterCount, JDLL_LIST_LOCALS, JDLL_LIST_INPUTS(SupportedAdapterCount, GO_ON), \
      JDLL_LIST_ARGS, (list.toAdapterIndex(env, jList);), ALWAYS_BEFORE) \
    X(SRET, void, AdapterStatus, AdapterStatus, JDLL_OUT_PARAMS, JDLL_OUT_SIG("AdapterStatus"), "rio", AdapterStatus, \
      JDLL_RECORD_LOCALS(_STORAGE_ADAPTER_STATUS), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(ADAPTER__STATUScpp_TO_AdapterStatusJava), ON_ZERO_BEFORE) \
    X(SRET, void, AdapterInfo, AdapterInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("AdapterInfo"), "rio", AdapterInfo, \
      JDLL_RECORD_LOCALS(_ADAPTER_INFO), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(ADAPTER_INFOcpp_TO_AdapterInfoJava), ON_ZERO_BEFORE) \
    X(SRET, void, ChannelInfo, ChannelInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("ChannelInfo"), "rio", ChannelInfo, \
      JDLL_RECORD_LOCALS(_CHANNEL_INFO), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(CHANNEL_INFOcpp_TO_ChannelInfoJava), ON_ZERO_BEFORE) \
    X(SRET, void, ChannelDeviceCount, ChannelDeviceCount, JDLL_LIST_PARAMS, JDLL_OUT_SIG("AddrList"), "rio", \
      ChannelDeviceCount, JDLL_LIST_LOCALS, JDLL_LIST_INPUTS(ChannelDeviceCount, STOP), JDLL_LIST_ARGS, \
      JDLL_LIST_TO_ADDRLIST, ON_ZERO_AFTER) \
    X(SRET, void, AdapterDeviceCount, AdapterDeviceCount, JDLL_OUT_PARAMS, JDLL_OUT_SIG("IVal"), "rio", \
      AdapterDeviceCount, JDLL_VALUE_LOCALS(uint16_t), JDLL_ADDR_INPUTS, JDLL_VALUE_ARGS, \
      JDLL_VALUE_OUT(INT_REFcpp_TO_IValJava), ON_ZERO_AFTER) \
    X(SRET, void, DeviceType, DeviceType, JDLL_OUT_PARAMS, JDLL_OUT_SIG("IVal"), "rio", DeviceType, \
      JDLL_VALUE_LOCALS(uint16_t), JDLL_ADDR_INPUTS, JDLL_VALUE_ARGS, JDLL_VALUE_OUT(INT_REFcpp_TO_IValJava), \
      ON_ZERO_AFTER) \
    X(SRET, void, DeviceCapacity, DeviceCapacity, JDLL_OUT_PARAMS, JDLL_OUT_SIG("DeviceSize"), "rio", DeviceCapacity, \
      JDLL_RECORD_LOCALS(_DEVICE_SIZE), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(DEVICE_SIZEcpp_TO_DeviceSizeJava), ON_ZERO_AFTER) \
    X(SRET, void, DeviceInfo, DeviceInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("DeviceInfo"), "rio", DeviceInfo, \
      JDLL_RECORD_LOCALS(_DEVICE_INFO), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(DEVICE_INFOcpp_TO_DeviceInfoJava), ON_ZERO_AFTER) \
    X(SRET, void, PFADevice, PFADevice, (jobject self, jobject jRet, jobject jAddr, jobject jPfa, jobject jInfo), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("BlVal") LEGACY_API_SIG("LVal")), "rioo", PFADevice, \
      (_STORAGE_ADDRESS_ID addr{}; int pfa = 0; uint32_t info = 0;), JDLL_ADDR_INPUTS, (addr, pfa, info), \
      (conv.BOOL_REFcpp_TO_BlValJava(env, jPfa, pfa); conv.ULONG_REFcpp_TO_LValJava(env, jInfo, info);), \
      ON_ZERO_AFTER) \
    \
    /* ---- firmware, raw commands and mode pages */ \
    X(SRET, void, UpdateAdapterBios, UpdateAdapterBios, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rii", UpdateAdapterBios, \
      JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_WRITE_ARGS, (), NEVER) \
    X(SRET, void, UpdateAdapterFirmWare, UpdateAdapterFirmWare, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rii", \
      UpdateAdapterFirmWare, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_WRITE_ARGS, (), NEVER) \
    X(SRET, void, UpdateDeviceFirmWare, UpdateDeviceFirmWare, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rii", \
      UpdateDeviceFirmWare, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_WRITE_ARGS, (), NEVER) \
    X(SRET, void, ExecAdapterCmnd, ExecAdapterCmnd, JDLL_PASSTHROUGH_PARAMS, JDLL_PASSTHROUGH_SIG, "riioioiiii", \
      ExecAdapterCmnd, JDLL_PASSTHROUGH_LOCALS, JDLL_PASSTHROUGH_INPUTS, JDLL_PASSTHROUGH_ARGS, \
      JDLL_PASSTHROUGH_READ_SENSE, ALWAYS_AFTER) \
    X(SRET, void, ExecDeviceCmnd, ExecDeviceCmnd, JDLL_PASSTHROUGH_PARAMS, JDLL_PASSTHROUGH_SIG, "riioooiiii", \
      ExecDeviceCmnd, JDLL_PASSTHROUGH_LOCALS, JDLL_PASSTHROUGH_INPUTS, JDLL_PASSTHROUGH_ARGS, \
      (blk2.copyBack(env, conv, jBlk2); blk3.copyBack(env, conv, jBlk3); blk4.copyBack(env, conv, jBlk4);), \
      ALWAYS_AFTER) \
    X(SRET, void, ReadModePageCmnd, ReadModePageCmnd, JDLL_MODE_PAGE_PARAMS, JDLL_MODE_PAGE_SIG, "rioi", \
      ReadModePageCmnd, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_MODE_PAGE_ARGS, JDLL_BLOCK_COPY_BACK, \
      ALWAYS_AFTER) \
    X(SRET, void, WriteModePageCmnd, WriteModePageCmnd, JDLL_MODE_PAGE_PARAMS, JDLL_MODE_PAGE_SIG, "rioi", \
      WriteModePageCmnd, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_MODE_PAGE_ARGS, JDLL_BLOCK_COPY_BACK, \
      ALWAYS_AFTER) \
    \
    /* ---- device I/O, statistics and enclosures */ \
    X(SRET, void, ReadDevice, ReadDevice, JDLL_BLOCKIO_PARAMS, JDLL_BLOCKIO_SIG, JDLL_BLOCKIO_ROLES, ReadDevice, \
      JDLL_BLOCKIO_LOCALS, JDLL_BLOCKIO_INPUTS, JDLL_BLOCKIO_ARGS, JDLL_BLOCKIO_OUTPUTS, ALWAYS_AFTER) \
    X(SRET, void, WriteDevice, WriteDevice, JDLL_BLOCKIO_PARAMS, JDLL_BLOCKIO_SIG, JDLL_BLOCKIO_ROLES, WriteDevice, \
      JDLL_BLOCKIO_LOCALS, JDLL_BLOCKIO_INPUTS, JDLL_BLOCKIO_ARGS, JDLL_BLOCKIO_OUTPUTS, ALWAYS_AFTER) \
    X(SRET, void, ReadPhysDisk, ReadPhysDisk, JDLL_BLOCKIO_PARAMS, JDLL_BLOCKIO_SIG, JDLL_BLOCKIO_ROLES, \
      ReadPhysDisk, JDLL_BLOCKIO_LOCALS, JDLL_BLOCKIO_INPUTS, JDLL_BLOCKIO_ARGS, JDLL_BLOCKIO_OUTPUTS, \
      ALWAYS_AFTER) \
    X(SRET, void, WritePhysDisk, WritePhysDisk, JDLL_BLOCKIO_PARAMS, JDLL_BLOCKIO_SIG, JDLL_BLOCKIO_ROLES, \
      WritePhysDisk, JDLL_BLOCKIO_LOCALS, JDLL_BLOCKIO_INPUTS, JDLL_BLOCKIO_ARGS, JDLL_BLOCKIO_OUTPUTS, \
      ALWAYS_AFTER) \
    X(SRET, void, MonitorAdapterStatistics, MonitorAdapterStatistics, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", \
      MonitorAdapterStatistics, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, MonitorDeviceStatistics, MonitorDeviceStatistics, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", \
      MonitorDeviceStatistics, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, GetAdapterStatistics, GetAdapterStatistics, JDLL_OUT_PARAMS, JDLL_OUT_SIG("AdapterStatistics"), \
      "rio", GetAdapterStatistics, JDLL_RECORD_LOCALS(_ADAPTER_STATISTICS), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(ADAPTER_STATScpp_TO_AdapterStatisticsJava), ON_ZERO_AFTER) \
    X(SRET, void, GetAdapterChangeStatus, GetAdapterChangeStatus, (jobject self, jobject jRet, jobject jOut), \
      "(" JDLL_STORRET LEGACY_API_SIG("BlVal") ")V", "ro", GetAdapterChangeStatus, (int value = 0;), (), (value), \
      JDLL_VALUE_OUT(BOOL_REFcpp_TO_BlValJava), ON_ZERO_BEFORE) \
    X(SRET, void, GetDeviceStatistics, GetDeviceStatistics, JDLL_OUT_PARAMS, \
      JDLL_OUT_SIG("PhysicalDeviceStatistics"), "rio", GetDeviceStatistics, \
      JDLL_RECORD_LOCALS(_PHYSICAL_DEVICE_STATISTICS), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(PHYS_DEV_STATScpp_TO_PhysicalDeviceStatisticsJava), ON_ZERO_AFTER) \
    X(SRET, void, GetSafteCount, GetSafteCount, (jobject self, jobject jRet, jobject jAddr, jobject jUnread, jobject jList), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("IVal") LEGACY_API_SIG("AddrList")), "riio", GetSafteCount, \
      JDLL_LIST_LOCALS, JDLL_LIST_INPUTS(GetSafteCount, STOP), JDLL_LIST_ARGS, JDLL_LIST_TO_ADDRLIST, ON_ZERO_AFTER) \
    X(SRET, void, GetSafteConfig, GetSafteConfig, JDLL_OUT_PARAMS, JDLL_OUT_SIG("SafteConfig"), "rio", GetSafteConfig, \
      JDLL_RECORD_LOCALS(_SAFTE_CONFIGURATION), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(SAFTE_CONFIGcpp_TO_SafteConfigJava), ON_ZERO_AFTER) \
    X(SRET, void, GetSafteStatus, GetSafteStatus, JDLL_OUT_PARAMS, JDLL_OUT_SIG("SafteStatus"), "rio", GetSafteStatus, \
      JDLL_RECORD_LOCALS(_SAFTE_STATUS), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(SAFTE_STATUScpp_TO_SafteStatusJava), ON_ZERO_AFTER) \
    X(SRET, void, GetSystemVPD, GetSystemVPD, JDLL_OUT_PARAMS, JDLL_OUT_SIG("VPD_INQ_DATA"), "rio", GetSystemVPD, \
      JDLL_RECORD_LOCALS(_VPD_INQUIRY_DATA), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(VPD_INQ_DATAcpp_TO_VPD_INQ_DATAJava), ON_ZERO_AFTER) \
    X(SRET, void, GetSesElementDesc, GetSesElementDesc, JDLL_OUT_PARAMS, JDLL_OUT_SIG("ElementDescPage"), "rio", \
      GetSesElementDesc, JDLL_RECORD_LOCALS(_ELEMENT_DESCRIPTOR_PAGE), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(ELEMENT_DESC_PAGEcpp_TO_ElementDescPageJava), ON_ZERO_AFTER) \
    \
    /* ---- slots, failover and adapter control */ \
    X(SRET, void, GetSlotPowerState, GetSlotPowerState, (jobject self, jobject jRet, jobject jAddr, jint jSlot), \
      JDLL_INT_SIG, "rii", GetSlotPowerState, \
      (_STORAGE_ADDRESS_ID addr{}; uint32_t state = 0;), JDLL_ADDR_INPUTS, (addr, uint32_t(jSlot), state), \
      (ret.SetValues(ret.iReturnCode, 0, 0, 0, 0, int32_t(state));), ALWAYS_BEFORE) \
    X(SRET, void, SetSlotPowerState, SetSlotPowerState, \
      (jobject self, jobject jRet, jobject jAddr, jint jSlot, jboolean jState), \
      JDLL_WITH_ADDR("IZ"), "riii", SetSlotPowerState, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, \
      (addr, uint32_t(jSlot), jState ? 1u : 0u), (), NEVER) \
    X(SRET, void, SetHotSwapState, SetHotSwapState, (jobject self, jobject jRet, jint jSlot, jboolean jState), \
      "(" JDLL_STORRET "IZ)V", "rii", SetHotSwapState, (), (), (uint32_t(jSlot), jState ? 1u : 0u), (), NEVER) \
    X(SRET, void, GetFailoverInfo, GetFailoverInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("FailoverInfo"), "rio", \
      GetFailoverInfo, JDLL_RECORD_LOCALS(_IOCTL_FO_INFO), JDLL_ADDR_INPUTS, \
      (addr, reinterpret_cast<uint8_t*>(&rec)), JDLL_RECORD_OUT(IOCTL_FO_INFOcpp_TO_FailoverInfoJava), \
      ON_ZERO_AFTER) \
    X(SRET, void, FindHotPCISlots, FindHotPCISlots, (jobject self, jobject jRet, jobject jOut), \
      "(" JDLL_STORRET LEGACY_API_SIG("HotPCISlots") ")V", "ro", FindHotPCISlots, (uint32_t value = 0;), (), \
      (value), JDLL_VALUE_OUT(ULONG_SLOTMASKcpp_TO_HotPCISlotsJava), ON_ZERO_AFTER) \
    X(SRET, void, BlockBadAdapter, BlockBadAdapter, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      BlockBadAdapter, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, UnblockGoodAdapter, UnblockGoodAdapter, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      UnblockGoodAdapter, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, SetAdapterDefective, SetAdapterDefective, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      SetAdapterDefective, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, ResetNewAdapter, ResetNewAdapter, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      ResetNewAdapter, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, GetInitiatorIDs, GetInitiatorIDs, JDLL_OUT_PARAMS, JDLL_OUT_SIG("InitiatorIDs"), "rio", \
      GetInitiatorIDs, JDLL_RECORD_LOCALS(_IOCTL_INITIATOR_IDS), JDLL_ADDR_INPUTS, \
      (addr, reinterpret_cast<uint8_t*>(&rec)), JDLL_RECORD_OUT(IOCTL_INITIATOR_IDScpp_TO_InitiatorIDsJava), \
      ON_ZERO_AFTER) \
    X(SRET, void, TimeStampFirmware, TimeStampFirmware, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      TimeStampFirmware, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, CheckCodeVersions, CheckCodeVersions, JDLL_OUT_PARAMS, JDLL_OUT_SIG("LVal"), "rio", \
      CheckCodeVersions, JDLL_VALUE_LOCALS(uint32_t), JDLL_ADDR_INPUTS, JDLL_VALUE_ARGS, \
      JDLL_VALUE_OUT(ULONG_REFcpp_TO_LValJava), ALWAYS_BEFORE) \
    \
    /* ---- device event logs, identify and RAID statistics */ \
    X(SRET, void, GetPhysDevEventLog, GetPhysDevEventLog, JDLL_LOG_READ_PARAMS, JDLL_LOG_READ_SIG, "rioi", \
      GetPhysDevEventLog, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_LOG_READ_ARGS, JDLL_BLOCK_COPY_BACK, \
      ON_ZERO_AFTER) \
    X(SRET, void, ErasePhysDevEventLog, ErasePhysDevEventLog, JDLL_SELECTOR_PARAMS, JDLL_SELECTOR_SIG, "rii", \
      ErasePhysDevEventLog, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_SELECTOR_ARGS, (), NEVER) \
    X(SRET, void, IdentifyPhysicalDrive, IdentifyPhysicalDrive, JDLL_SELECTOR_PARAMS, JDLL_SELECTOR_SIG, "rii", \
      IdentifyPhysicalDrive, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_SELECTOR_ARGS, (), NEVER) \
    X(SRET, void, MonitorRaidStatistics, MonitorRaidStatistics, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", \
      MonitorRaidStatistics, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, GetRaidStatistics, GetRaidStatistics, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rio", GetRaidStatistics, \
      JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_READ_ARGS, JDLL_BLOCK_COPY_BACK, ON_ZERO_AFTER) \
    X(SRET, void, GetVirtDevStatistics, GetVirtDevStatistics, JDLL_OUT_PARAMS, \
      JDLL_OUT_SIG("VirtualDeviceStatistics"), "rio", GetVirtDevStatistics, \
      JDLL_RECORD_LOCALS(_VIRTUAL_DEVICE_STATISTICS), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(VIRT_DEV_STATScpp_TO_VirtualDeviceStatisticsJava), ON_ZERO_AFTER) \
    \
    /* ---- subsystems */ \
    X(SRET, void, IsSubSystemPresent, IsSubSystemPresent, (jobject self, jobject jRet, jobject jOut), \
      "(" JDLL_STORRET LEGACY_API_SIG("BlVal") ")V", "ro", IsSubSystemPresent, (int value = 0;), (), (value), \
      JDLL_VALUE_OUT(BOOL_REFcpp_TO_BlValJava), ON_ZERO_AFTER) \
    X(CINT, jint, cGetSubSysIntfVersion, cGetSubSysIntfVersion, (jobject self, jobject jVersion), \
      "(" JDLL_VERSION ")I", "o", GetSubSysIntfVersion, \
      (_STORAGE_VERSION rec{};), (), (rec), (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO) \
    X(SRET, void, GetSubSystemConfig, GetSubSystemConfig, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rio", \
      GetSubSystemConfig, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_READ_ARGS, JDLL_BLOCK_COPY_BACK, \
      ON_ZERO_AFTER) \
    X(SRET, void, SetSubSystemConfig, SetSubSystemConfig, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rii", \
      SetSubSystemConfig, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_WRITE_ARGS, (), NEVER) \
    X(SRET, void, ExecuteSubSystemDiagnostics, ExecuteSubSystemDiagnostics, JDLL_TWO_LONGS_PARAMS, \
      JDLL_TWO_LONGS_SIG, "riii", ExecuteSubSystemDiagnostics, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, \
      JDLL_TWO_LONGS_ARGS, (), NEVER) \
    X(SRET, void, SupportedSubSystemCount, SupportedSubSystemCount, JDLL_LIST_PARAMS, JDLL_OUT_SIG("AddrList"), \
      "rio", SupportedSubSystemCount, JDLL_LIST_LOCALS, JDLL_LIST_INPUTS(SupportedSubSystemCount, GO_ON), \
      JDLL_LIST_ARGS, JDLL_LIST_TO_ADDRLIST, ON_ZERO_BEFORE) \
    X(SRET, void, SubSystemStatus, SubSystemStatus, JDLL_OUT_PARAMS, JDLL_OUT_SIG("SubSystemStatus"), "rio", \
      SubSystemStatus, JDLL_RECORD_LOCALS(_SUBSYSTEM_STATUS), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(SUBSYSTEM_STATUScpp_TO_SubSystemStatusJava), ON_ZERO_AFTER) \
    X(SRET, void, SubSystemInfo, SubSystemInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("SubSystemInfo"), "rio", \
      SubSystemInfo, JDLL_RECORD_LOCALS(_SUBSYSTEM_INFO), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(SUBSYSTEM_INFOcpp_TO_SubSystemInfoJava), ON_ZERO_AFTER) \
    X(SRET, void, LoopInfo, LoopInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("LoopInfo"), "rio", LoopInfo, \
      JDLL_RECORD_LOCALS(_LOOP_INFO), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(LOOP_INFOcpp_TO_LoopInfoJava), ON_ZERO_AFTER) \
    X(SRET, void, UpdateSubSystemBios, UpdateSubSystemBios, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rii", \
      UpdateSubSystemBios, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_WRITE_ARGS, (), NEVER) \
    X(SRET, void, UpdateSubSystemFirmWare, UpdateSubSystemFirmWare, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rii", \
      UpdateSubSystemFirmWare, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_WRITE_ARGS, (), NEVER) \
    X(SRET, void, GetSubSystemEventLog, GetSubSystemEventLog, JDLL_LOG_READ_PARAMS, JDLL_LOG_READ_SIG, "rioi", \
      GetSubSystemEventLog, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_LOG_READ_ARGS, JDLL_BLOCK_COPY_BACK, \
      ON_ZERO_AFTER) \
    X(SRET, void, EraseSubSystemEventLog, EraseSubSystemEventLog, JDLL_SELECTOR_PARAMS, JDLL_SELECTOR_SIG, "rii", \
      EraseSubSystemEventLog, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_SELECTOR_ARGS, (), NEVER) \
    X(SRET, void, ExecSubSystemCmnd, ExecSubSystemCmnd, JDLL_PASSTHROUGH_PARAMS, JDLL_PASSTHROUGH_SIG, \
      "riioioiiii", ExecSubSystemCmnd, JDLL_PASSTHROUGH_LOCALS, JDLL_PASSTHROUGH_INPUTS, JDLL_PASSTHROUGH_ARGS, \
      JDLL_PASSTHROUGH_READ_SENSE, ALWAYS_AFTER) \
    X(SRET, void, SubSystemDeviceType, SubSystemDeviceType, JDLL_OUT_PARAMS, JDLL_OUT_SIG("SVal"), "rio", \
      SubSystemDeviceType, JDLL_VALUE_LOCALS(uint16_t), JDLL_ADDR_INPUTS, JDLL_VALUE_ARGS, \
      JDLL_VALUE_OUT(USHORT_REFcpp_TO_SValJava), ON_ZERO_AFTER) \
    X(SRET, void, SubSystemDeviceCapacity, SubSystemDeviceCapacity, JDLL_OUT_PARAMS, JDLL_OUT_SIG("DeviceSize"), \
      "rio", SubSystemDeviceCapacity, JDLL_RECORD_LOCALS(_DEVICE_SIZE), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(DEVICE_SIZEcpp_TO_DeviceSizeJava), ON_ZERO_AFTER) \
    X(SRET, void, SubSystemDeviceInfo, SubSystemDeviceInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("DeviceInfo"), "rio", \
      SubSystemDeviceInfo, JDLL_RECORD_LOCALS(_DEVICE_INFO), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(DEVICE_INFOcpp_TO_DeviceInfoJava), ON_ZERO_AFTER) \
    X(SRET, void, MonitorSubSystemStatistics, MonitorSubSystemStatistics, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", \
      MonitorSubSystemStatistics, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, GetSubSystemStatistics, GetSubSystemStatistics, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rio", \
      GetSubSystemStatistics, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_READ_ARGS, JDLL_BLOCK_COPY_BACK, \
      ON_ZERO_AFTER) \
    STORAGEDLL_RAID_NATIVES(X)

// The natives of the RAID configuration, arrays, logical and physical
// drives, task progress, and cluster, FRU, battery and feature data.
#define STORAGEDLL_RAID_NATIVES(X) \
    X(SRET, void, IsRaidPresent, IsRaidPresent, (jobject self, jobject jRet, jobject jPresent), \
      "(" JDLL_STORRET LEGACY_API_SIG("BlVal") ")V", "ro", IsRaidPresent, (int present = 0;), (), (present), \
      (conv.BOOL_REFcpp_TO_BlValJava(env, jPresent, present);), ON_ZERO_AFTER) \
    X(CINT, jint, cGetRaidIntfVersion, cGetRaidIntfVersion, (jobject self, jobject jVersion), \
      "(" JDLL_VERSION ")I", "o", GetRaidIntfVersion, (_STORAGE_VERSION rec{};), (), (rec), \
      (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO) \
    X(SRET, void, SetRebuildPriority, SetRebuildPriority, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", SetRebuildPriority, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, SetCopyBackMode, SetCopyBackMode, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", SetCopyBackMode, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, SetAttendanceMode, SetAttendanceMode, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", SetAttendanceMode, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, SetReadAheadMode, SetReadAheadMode, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", SetReadAheadMode, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, SetStripeSliceSize, SetStripeSliceSize, JDLL_LONG_PARAMS, JDLL_LONG_SIG, "rii", \
      SetStripeSliceSize, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_LONG_ARGS, (), NEVER) \
    X(FUNC, void, GetAdapterRaidConfig, GetAdapterRaidConfig, (jobject self, jobject jRet, jobject jAddr, \
      jobject jConfig, jboolean jFlag), JDLL_WITH_ADDR(LEGACY_API_SIG("RaidConfig") "Z"), "rioi", \
      GetAdapterRaidConfig, (), (), (legacyjdll::getAdapterRaidConfig(env, self, jRet, jAddr, jConfig, jFlag)), (), \
      ON_ZERO_AFTER) \
    X(FUNC, void, GetVirtDevLdTable, GetVirtDevLdTable, (jobject self, jobject jRet, jobject jAddr, jobject jTable, \
      jint jType), JDLL_WITH_ADDR(LEGACY_API_SIG("VirtDrv") "I"), "rioi", GetVirtDevLdTable, (), \
      (), (legacyjdll::getVirtDevLdTable(env, self, jRet, jAddr, jTable, jType)), (), ON_ZERO_AFTER) \
    X(SRET, void, ResetAdapterRaidConfig, ResetAdapterRaidConfig, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", \
      ResetAdapterRaidConfig, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, SetAdapterRaidConfig, SetAdapterRaidConfig, JDLL_BLOCK_PARAMS, JDLL_BLOCK_SIG, "rii", \
      SetAdapterRaidConfig, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_BLOCK_WRITE_ARGS, (), NEVER) \
    X(SRET, void, SetAdapterRaidConfigFromDevice, SetAdapterRaidConfigFromDevice, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, \
      "rii", SetAdapterRaidConfigFromDevice, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, SetWritePolicy, SetWritePolicy, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", SetWritePolicy, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, DuplicateVirtDev, DuplicateVirtDev, JDLL_TWO_ADDR_PARAMS, JDLL_TWO_ADDR_SIG, "rii", \
      DuplicateVirtDev, JDLL_TWO_ADDR_LOCALS, JDLL_TWO_ADDR_INPUTS, (addr, other), (), NEVER) \
    X(SRET, void, RaidAdapterInfo, RaidAdapterInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("RaidAdapterInfo"), "rio", \
      RaidAdapterInfo, JDLL_RECORD_LOCALS(_RAID_ADAPTER_INFO), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(RAID_ADAPTER_INFOcpp_TO_RaidAdapterInfoJava), ON_ZERO_AFTER) \
    X(SRET, void, GetAdapterEventLog, GetAdapterEventLog, \
      (jobject self, jobject jRet, jobject jAddr, jobject jBlk, jint jSelector), JDLL_WITH_ADDR(JDLL_BYTEBLK "I"), \
      "rioi", GetAdapterEventLog, JDLL_BLOCK_LOCALS, JDLL_BLOCK_INPUTS, JDLL_LOG_READ_ARGS, JDLL_BLOCK_COPY_BACK, \
      ON_ZERO_AFTER) \
    X(SRET, void, EraseAdapterEventLog, EraseAdapterEventLog, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", \
      EraseAdapterEventLog, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, CreateArray, CreateArray, (jobject self, jobject jRet, jobject jAddr, jobject jList), \
      JDLL_WITH_ADDR(JDLL_ADDRLIST), "rii", CreateArray, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, \
      addr); done = legacyjdll::refused(ret, list.fromJava(env, conv, jList, \
      legacyjdll::AddressListInput::countOf(env, jList)));), (addr, list.list, list.count16()), (), NEVER) \
    X(SRET, void, DeleteArray, DeleteArray, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", DeleteArray, JDLL_ADDR_LOCALS, \
      JDLL_ADDR_INPUTS, (addr, uint16_t(jValue)), (), NEVER) \
    X(SRET, void, GetArrayCount, GetArrayCount, JDLL_LIST_PARAMS, JDLL_OUT_SIG("AddrList"), "rio", GetArrayCount, \
      JDLL_LIST_LOCALS, JDLL_LIST_INPUTS(GetArrayCount, STOP), JDLL_LIST_ARGS, JDLL_LIST_TO_ADDRLIST, \
      ON_ZERO_AFTER) \
    X(SRET, void, GetArrayVirtDevCount, GetArrayVirtDevCount, JDLL_LIST_PARAMS, JDLL_OUT_SIG("AddrList"), "rio", \
      GetArrayVirtDevCount, JDLL_LIST_LOCALS, JDLL_LIST_INPUTS(GetArrayVirtDevCount, STOP), JDLL_LIST_ARGS, \
      JDLL_LIST_TO_ADDRLIST, ON_ZERO_AFTER) \
    X(SRET, void, GetArrayPhysDevCount, GetArrayPhysDevCount, JDLL_LIST_PARAMS, JDLL_OUT_SIG("AddrList"), "rio", \
      GetArrayPhysDevCount, JDLL_LIST_LOCALS, JDLL_LIST_INPUTS(GetArrayPhysDevCount, STOP), JDLL_LIST_ARGS, \
      JDLL_LIST_TO_ADDRLIST, ON_ZERO_AFTER) \
    X(SRET, void, ArrayInfo, ArrayInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("RaidArrayInfo"), "rio", ArrayInfo, \
      JDLL_RECORD_LOCALS(_RAID_ARRAY_INFO), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(RAID_ARRAY_INFOcpp_TO_RaidArrayInfoJava), ON_ZERO_AFTER) \
    X(SRET, void, HotSwapRebuild, HotSwapRebuild, JDLL_FLAG_PARAMS, JDLL_FLAG_SIG, "rii", HotSwapRebuild, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, JDLL_FLAG_ARGS, (), NEVER) \
    X(SRET, void, AdapterDeviceScan, AdapterDeviceScan, JDLL_OUT_PARAMS, JDLL_OUT_SIG("IVal"), "rio", \
      AdapterDeviceScan, JDLL_VALUE_LOCALS(uint16_t), JDLL_ADDR_INPUTS, JDLL_VALUE_ARGS, \
      JDLL_VALUE_OUT(INT_REFcpp_TO_IValJava), ON_ZERO_AFTER) \
    X(SRET, void, SetHostConfigId, SetHostConfigId, JDLL_TEXT_PARAMS, JDLL_TEXT_SIG, "rii", SetHostConfigId, \
      JDLL_TEXT_LOCALS, JDLL_TEXT_INPUTS, (addr, text.chars()), (), NEVER) \
    X(SRET, void, ClearClusterPartnerId, ClearClusterPartnerId, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      ClearClusterPartnerId, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, SetClusterPartnerId, SetClusterPartnerId, JDLL_TEXT_PARAMS, JDLL_TEXT_SIG, "rii", \
      SetClusterPartnerId, JDLL_TEXT_LOCALS, JDLL_TEXT_INPUTS, (addr, text.chars()), (), NEVER) \
    X(SRET, void, GetClusterPartnerId, GetClusterPartnerId, JDLL_OUT_PARAMS, JDLL_OUT_SIG("ByteBlk"), "rio", \
      GetClusterPartnerId, (_STORAGE_ADDRESS_ID addr{}; char partner[legacyjdll::PARTNER_ID_BUFFER] = {};), \
      JDLL_ADDR_INPUTS, (addr, partner), (conv.PVOIDcpp_TO_ByteBlkJava(env, jOut, partner, \
      legacyjdll::PARTNER_ID_BUFFER);), ALWAYS_BEFORE) \
    X(SRET, void, SetSharedDeviceId, SetSharedDeviceId, JDLL_IN_PARAMS, JDLL_OUT_SIG("IVal"), "rii", \
      SetSharedDeviceId, (_STORAGE_ADDRESS_ID addr{}; int id = 0;), (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, \
      addr); conv.IValJava_TO_INT_REFcpp(env, jIn, id);), (addr, uint8_t(id)), (), NEVER) \
    X(SRET, void, GetSharedDeviceId, GetSharedDeviceId, JDLL_OUT_PARAMS, JDLL_OUT_SIG("IVal"), "roo", \
      GetSharedDeviceId, (_STORAGE_ADDRESS_ID addr{}; uint8_t id = 0;), JDLL_ADDR_INPUTS, (addr, id), \
      (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, addr); conv.INT_REFcpp_TO_IValJava(env, jOut, id);), \
      ALWAYS_BEFORE) \
    X(SRET, void, GetAdapterFruData, GetAdapterFruData, JDLL_OUT_PARAMS, JDLL_OUT_SIG("Vpd"), "roo", \
      GetAdapterFruData, (_STORAGE_ADDRESS_ID addr{}; _HostVpdData vpd{};), JDLL_ADDR_INPUTS, (addr, vpd), \
      (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, addr); conv.Vpdcpp_TO_VpdJava(env, jOut, vpd.FormattedVpd);), \
      ALWAYS_BEFORE) \
    X(SRET, void, GetExtendedBatteryData, GetExtendedBatteryData, JDLL_OUT_PARAMS, \
      JDLL_OUT_SIG("ExtendedBatteryData"), "roo", GetExtendedBatteryData, \
      (_STORAGE_ADDRESS_ID addr{}; _ENQUIRY_EXTENDED_BATTERY_STATUS battery{};), JDLL_ADDR_INPUTS, (addr, battery), \
      (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, \
      addr); conv.ExtendedBatteryDatacpp_TO_ExtendedBatteryDataJava(env, jOut, battery);), ALWAYS_BEFORE) \
    X(SRET, void, GetSupportedFeatures, GetSupportedFeatures, JDLL_OUT_PARAMS, JDLL_OUT_SIG("AdapterFeatures"), \
      "rio", GetSupportedFeatures, \
      (_STORAGE_ADDRESS_ID addr{}; _ADAPTER_FEATURES features{}; _ADAPTER_FEATURES* table = &features;), \
      JDLL_ADDR_INPUTS, (addr, table), (conv.PADAPTER_FEATUREScpp_TO_AdapterFeaturesJava(env, jOut, table);), \
      ON_ZERO_AFTER) \
    X(SRET, void, GetBBCacheInfo, GetBBCacheInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("BBCacheInfo"), "rio", \
      ExecAdapterCmnd, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AdapterEnquiry enquiry(legacyjdll::ENQUIRY_PAGE_CACHE_SERIALS); _ENQUIRY_BBCACHE reply{};), \
      JDLL_ADDR_INPUTS, LEGACY_ENQUIRY_ARGS(addr, enquiry, &reply, uint32_t(sizeof reply)), \
      (conv.ENQUIRY_BBCACHEcpp_TO_BBCacheInfoJava(env, jOut, reply);), ON_ZERO_AFTER) \
    X(SRET, void, GetVirtDevCount, GetVirtDevCount, JDLL_LIST_PARAMS, JDLL_OUT_SIG("AddrList"), "rio", \
      GetVirtDevCount, JDLL_LIST_LOCALS, JDLL_LIST_INPUTS(GetVirtDevCount, STOP), JDLL_LIST_ARGS, \
      JDLL_LIST_TO_ADDRLIST, ON_ZERO_AFTER) \
    X(SRET, void, GetFirstVirtDev, GetFirstVirtDev, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ro", \
      GetFirstVirtDev, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, \
      addr);), ON_ZERO_AFTER) \
    X(SRET, void, GetLastVirtDev, GetLastVirtDev, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ro", GetLastVirtDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (conv.STADDRcpp_TO_StorAddrJava(env, jAddr, addr);), \
      ON_ZERO_AFTER) \
    X(SRET, void, CreateVirtDev, \
      CreateVirtDev__Lcom_zeq_sysmgt_storage_api_StorRet_2Lcom_zeq_sysmgt_storage_api_StorAddr_2IJJILcom_zeq_sysmgt_storage_api_AddrList_2I, \
      (jobject self, jobject jRet, jobject jAddr, jint jRaidLevel, jlong jSize, jlong jSecond, jint jCount, \
      jobject jList, jint jOptions), JDLL_WITH_ADDR("IJJI" JDLL_ADDRLIST "I"), "riiiiiii", CreateVirtDev, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, \
      addr); done = legacyjdll::refused(ret, list.fromJava(env, conv, jList, uint32_t(jCount)));), (addr, \
      uint16_t(jRaidLevel), conv.jlul(jSize), conv.jlul(jSecond), list.count16(), list.list, uint32_t(jOptions)), \
      (), NEVER) \
    X(SRET, void, CreateVirtDevHld, CreateVirtDevHld, (jobject self, jobject jRet, jobject jAddr, jlong jSize, \
      jint jCount, jobject jList), JDLL_WITH_ADDR("JI" JDLL_ADDRLIST), "riiii", CreateVirtDevHld, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, \
      addr); done = legacyjdll::refused(ret, list.fromJava(env, conv, jList, uint32_t(jCount)));), (addr, \
      conv.jlul(jSize), list.count16(), list.list), (), NEVER) \
    X(SRET, void, DeleteVirtDev, DeleteVirtDev, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", DeleteVirtDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, DeleteVirtDevOption, DeleteVirtDevOption, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", \
      DeleteVirtDevOption, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, GetVirtDevSize, GetVirtDevSize, JDLL_OUT_PARAMS, JDLL_OUT_SIG("DeviceSize"), "rio", \
      GetVirtDevSize, JDLL_RECORD_LOCALS(_DEVICE_SIZE), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(DEVICE_SIZEcpp_TO_DeviceSizeJava), ON_ZERO_AFTER) \
    X(SRET, void, GetVirtDevInfo, GetVirtDevInfo, JDLL_OUT_PARAMS, JDLL_OUT_SIG("VirtualDeviceInfo"), "rio", \
      GetVirtDevInfo, JDLL_RECORD_LOCALS(_VIRTUAL_DEVICE_INFO), JDLL_ADDR_INPUTS, JDLL_RECORD_ARGS, \
      JDLL_RECORD_OUT(VIRT_DEVICE_INFOcpp_TO_VirtualDeviceInfoJava), ON_ZERO_AFTER) \
    X(SRET, void, SynchronizeVirtDev, SynchronizeVirtDev, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", SynchronizeVirtDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, CheckSynchronizeVirtDevProgress, CheckSynchronizeVirtDevProgress, JDLL_OUT_PARAMS, \
      JDLL_OUT_SIG("SVal"), "rio", CheckSynchronizeVirtDevProgress, JDLL_VALUE_LOCALS(uint16_t), JDLL_ADDR_INPUTS, \
      JDLL_VALUE_ARGS, JDLL_VALUE_OUT(USHORT_REFcpp_TO_SValJava), ON_ZERO_AFTER) \
    X(SRET, void, InitializeVirtDev, InitializeVirtDev, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", InitializeVirtDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, CheckInitializeVirtDevProgress, CheckInitializeVirtDevProgress, JDLL_OUT_PARAMS, \
      JDLL_OUT_SIG("SVal"), "rio", CheckInitializeVirtDevProgress, JDLL_VALUE_LOCALS(uint16_t), JDLL_ADDR_INPUTS, \
      JDLL_VALUE_ARGS, JDLL_VALUE_OUT(USHORT_REFcpp_TO_SValJava), ON_ZERO_AFTER) \
    X(SRET, void, MigrateVirtDev, MigrateVirtDev, JDLL_TWO_ADDR_PARAMS, JDLL_TWO_ADDR_SIG, "rii", MigrateVirtDev, \
      JDLL_TWO_ADDR_LOCALS, JDLL_TWO_ADDR_INPUTS, (addr, other), (), NEVER) \
    X(SRET, void, CheckMigrateVirtDevProgress, CheckMigrateVirtDevProgress, JDLL_OUT_PARAMS, JDLL_OUT_SIG("SVal"), \
      "rio", CheckMigrateVirtDevProgress, JDLL_VALUE_LOCALS(uint16_t), JDLL_ADDR_INPUTS, JDLL_VALUE_ARGS, \
      JDLL_VALUE_OUT(USHORT_REFcpp_TO_SValJava), ON_ZERO_AFTER) \
    X(SRET, void, RestartMigration, RestartMigration, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      RestartMigration, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, IncreaseArraySize, IncreaseArraySize, (jobject self, jobject jRet, jobject jAddr, jobject jSize, \
      jobject jList, jint jCount), JDLL_WITH_ADDR(LEGACY_API_SIG("ArraySize") JDLL_ADDRLIST "I"), "riiii", \
      IncreaseArraySize, (_STORAGE_ADDRESS_ID addr{}; _ARRAY_SIZE size{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); done = legacyjdll::refused(ret, list.fromJava(env, conv, \
      jList, uint32_t(jCount))); if (!done) conv.ArraySizeJava_TO_ARRAY_SIZEcpp(env, jSize, size);), (addr, size, \
      list.list, list.count16()), (), NEVER) \
    X(SRET, void, ModifyArrayRaidLevel, ModifyArrayRaidLevel, (jobject self, jobject jRet, jobject jAddr, \
      jint jRaidLevel, jobject jList, jint jCount), JDLL_WITH_ADDR("I" JDLL_ADDRLIST "I"), "riiii", \
      ModifyArrayRaidLevel, (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); done = legacyjdll::refused(ret, list.fromJava(env, conv, \
      jList, uint32_t(jCount)));), (addr, uint16_t(jRaidLevel), list.list, list.count16()), (), NEVER) \
    X(SRET, void, IncreaseVirtDevSizes, IncreaseVirtDevSizes, (jobject self, jobject jRet, jobject jAddr, \
      jobject jSize, jobject jList, jint jCount), JDLL_WITH_ADDR(LEGACY_API_SIG("DeviceSize") JDLL_ADDRLIST "I"), \
      "riiii", IncreaseVirtDevSizes, \
      (_STORAGE_ADDRESS_ID addr{}; _DEVICE_SIZE size{}; legacyjdll::AddressListInput list;), \
      (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr); done = legacyjdll::refused(ret, list.fromJava(env, conv, \
      jList, uint32_t(jCount))); if (!done) conv.DeviceSizeJava_TO_DEVICE_SIZEcpp(env, jSize, size);), (addr, size, \
      list.list, list.count16()), (), NEVER) \
    X(SRET, void, ModifyVirtDevRaidLevel, ModifyVirtDevRaidLevel, (jobject self, jobject jRet, jobject jAddr, \
      jint jRaidLevel, jobject jList), JDLL_WITH_ADDR("I" JDLL_ADDRLIST), "riii", ModifyVirtDevRaidLevel, \
      (_STORAGE_ADDRESS_ID addr{}; legacyjdll::AddressListInput list;), (conv.StorAddrJava_TO_STADDRcpp(env, jAddr, \
      addr); done = legacyjdll::refused(ret, list.fromJava(env, conv, jList, \
      legacyjdll::AddressListInput::countOf(env, jList)));), (addr, uint16_t(jRaidLevel), list.list, \
      list.count16()), (), NEVER) \
    X(SRET, void, FailActiveToPassive, FailActiveToPassive, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      FailActiveToPassive, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, UnBlockVirtDev, UnBlockVirtDev, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", UnBlockVirtDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, MergeVirtDev, MergeVirtDev, (jobject self, jobject jRet, jobject jAddr, jint jFirst, \
      jboolean jFlag, jint jSecond), JDLL_WITH_ADDR("IZI"), "riiii", MergeVirtDev, JDLL_ADDR_LOCALS, \
      JDLL_ADDR_INPUTS, (addr, uint8_t(jFirst), jFlag ? 1 : 0, uint8_t(jSecond)), (), NEVER) \
    X(SRET, void, UnMergeVirtDev, UnMergeVirtDev, (jobject self, jobject jRet, jobject jAddr, jint jValue, \
      jboolean jFlag), JDLL_WITH_ADDR("IZ"), "riii", UnMergeVirtDev, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, \
      uint8_t(jValue), jFlag ? 1 : 0), (), NEVER) \
    X(SRET, void, ClearMergeGroupId, ClearMergeGroupId, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      ClearMergeGroupId, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, SetMergeGroupId, SetMergeGroupId, (jobject self, jobject jRet, jobject jAddr, jint jGroup, \
      jboolean jFlag), JDLL_WITH_ADDR("IZ"), "riii", SetMergeGroupId, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, \
      uint8_t(jGroup), jFlag ? 1 : 0), (), NEVER) \
    X(SRET, void, ReadVirtDevice, ReadVirtDevice, JDLL_BLOCKIO_PARAMS, JDLL_BLOCKIO_SIG, JDLL_BLOCKIO_ROLES, \
      ReadVirtDevice, JDLL_BLOCKIO_LOCALS, JDLL_BLOCKIO_INPUTS, JDLL_BLOCKIO_ARGS, JDLL_BLOCKIO_OUTPUTS, \
      ALWAYS_AFTER) \
    X(SRET, void, WriteVirtDevice, WriteVirtDevice, JDLL_BLOCKIO_PARAMS, JDLL_BLOCKIO_SIG, JDLL_BLOCKIO_ROLES, \
      WriteVirtDevice, JDLL_BLOCKIO_LOCALS, JDLL_BLOCKIO_INPUTS, JDLL_BLOCKIO_ARGS, JDLL_BLOCKIO_OUTPUTS, \
      ALWAYS_AFTER) \
    X(SRET, void, AddPhysDev, AddPhysDev, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", AddPhysDev, JDLL_ADDR_LOCALS, \
      JDLL_ADDR_INPUTS, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, RemovePhysDev, RemovePhysDev, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", RemovePhysDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, ReplacePhysDev, ReplacePhysDev, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", ReplacePhysDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, StartPhysDev, StartPhysDev, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", StartPhysDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, StopPhysDev, StopPhysDev, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", StopPhysDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, GetPhysDevState, GetPhysDevState, JDLL_OUT_PARAMS, JDLL_OUT_SIG("SVal"), "rio", GetPhysDevState, \
      JDLL_VALUE_LOCALS(uint8_t), JDLL_ADDR_INPUTS, JDLL_VALUE_ARGS, JDLL_VALUE_OUT(USHORT_REFcpp_TO_SValJava), \
      ON_ZERO_AFTER) \
    X(SRET, void, SetPhysDevState, SetPhysDevState, JDLL_INT_PARAMS, JDLL_INT_SIG, "rii", SetPhysDevState, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr, uint8_t(jValue)), (), NEVER) \
    X(SRET, void, ClearDeviceRaidConfig, ClearDeviceRaidConfig, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", \
      ClearDeviceRaidConfig, JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, RebuildPhysDev, RebuildPhysDev, JDLL_ADDR_ONLY_PARAMS, JDLL_ADDR_ONLY_SIG, "ri", RebuildPhysDev, \
      JDLL_ADDR_LOCALS, JDLL_ADDR_INPUTS, (addr), (), NEVER) \
    X(SRET, void, RebuildPhysDevToOtherDev, RebuildPhysDevToOtherDev, JDLL_TWO_ADDR_PARAMS, JDLL_TWO_ADDR_SIG, \
      "rii", RebuildPhysDevToOtherDev, JDLL_TWO_ADDR_LOCALS, JDLL_TWO_ADDR_INPUTS, (addr, other), (), NEVER) \
    X(SRET, void, CheckRebuildProgress, CheckRebuildProgress, (jobject self, jobject jRet, jobject jAddr, \
      jobject jProgress, jobject jValue), JDLL_WITH_ADDR(JDLL_SVAL JDLL_SVAL), "rioo", CheckRebuildProgress, \
      (_STORAGE_ADDRESS_ID addr{}; uint16_t progress = 0; uint8_t value = 0;), JDLL_ADDR_INPUTS, (addr, progress, \
      value), (conv.USHORT_REFcpp_TO_SValJava(env, jProgress, progress); conv.USHORT_REFcpp_TO_SValJava(env, \
      jValue, value);), ON_ZERO_AFTER) \
    X(FUNC, void, CheckProgress, CheckProgress, (jobject self, jobject jRet, jobject jAddr, jobject jProgress), \
      JDLL_WITH_ADDR(LEGACY_API_SIG("ProgressInfo")), "rio", CheckProgress, (), (), (legacyjdll::checkProgress(env, \
      self, jRet, jAddr, jProgress)), (), ON_ZERO_AFTER) \
    X(FUNC, void, CheckQuillcopyProgress, CheckQuillcopyProgress, (jobject self, jobject jRet, jobject jAddr, \
      jobject jProgress), JDLL_WITH_ADDR(LEGACY_API_SIG("QuillcopyProgress")), "rio", CheckQuillcopyProgress, (), \
      (), (legacyjdll::checkQuillcopyProgress(env, self, jRet, jAddr, jProgress)), (), ON_ZERO_AFTER) \
    X(FUNC, void, GetQuillcopyStatus, GetQuillcopyStatus, (jobject self, jobject jRet, jobject jAddr, \
      jobject jStatus, jint jOption), JDLL_WITH_ADDR(LEGACY_API_SIG("QuillcopyStatus") "I"), "rioi", CheckProgress, \
      (), (), (legacyjdll::getQuillcopyStatus(env, self, jRet, jAddr, jStatus, jOption)), (), ON_ZERO_AFTER)
// clang-format on

#endif
