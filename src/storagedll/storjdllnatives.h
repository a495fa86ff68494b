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
//            NOTAVAIL: returns -3 and reads nothing.
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
      (_STORAGE_VERSION rec{};), (), (rec), (conv.VERSIONcpp_TO_VersionJava(env, jVersion, rec);), ON_ZERO)
// clang-format on

#endif
