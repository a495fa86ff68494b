#ifndef JNICONVERSIONS_H
#define JNICONVERSIONS_H

// Conversions between the storage library's values and the Java objects of
// the management console (package com.zeq.sysmgt.raidmgr.dataproc.jni and
// DeviceID of ...dataproc.util), through the calling thread's JNIEnv.
//
// Classes, field and method ids are looked up on every call. A class, field
// or method the JVM cannot supply is skipped (its Java exception cleared),
// so no JNI function is ever called with a null id and no Java exception is
// left pending. A null object or pointer argument converts nothing. Local
// references made while converting are deleted before returning, except the
// result objects the factories hand back.

#include <jni.h>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/AddrCollection.h"
#include "RaidLib/Util/Buffer.h"
#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/ProgressCollection.h"
#include "RaidLib/Util/Ret.h"
#include "RaidLib/Util/SectorCollection.h"
#include "RaidLib/Util/SectorRange.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/VPDData.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"

class SafteConfig;
class SafteStatus;

// Adapter, array, logical-drive, channel and device ids from the int fields
// "adapter", "array", "logicalDrive", "channel" and "device" of a TAddr; the
// other ids keep their values.
STOR_EXPORT void JAddrtoCAddr(JNIEnv* env, jobject jAddr, Addr* addr);

// Result objects: a new object of the class (constructor "()V") with the
// fields of its conversion set from the record; null when the class cannot
// be made.
STOR_EXPORT jobject StorRet(JNIEnv* env, Ret* ret);
STOR_EXPORT jobject SarvoRet(JNIEnv* env, Ret* ret);
STOR_EXPORT jobject PelmRet(JNIEnv* env, Ret* ret);
STOR_EXPORT jobject TobreckRet(JNIEnv* env, Ret* ret);
STOR_EXPORT jobject YUBRet(JNIEnv* env, Ret* ret);
STOR_EXPORT jobject FentaRet(JNIEnv* env, Ret* ret);
STOR_EXPORT jobject GluntRet(JNIEnv* env, Ret* ret);

// The six common fields: "iReturnCode", "iAPIReturnCode", "iIOCTLReturnCode",
// "iRetryNumber", "iunSignedReturnValue", "iSignedReturnValue".
STOR_EXPORT void CRettoJStorRet(JNIEnv* env, Ret ret, jobject jRet);
// The common fields, "iIOCStatus", "lIOCLogInfo" (a long, zero-extended),
// "iSCSIState", "iSCSIStatus", "iSenseDataErrorCode", "iSenseKey" and
// "iSenseCode"; not the qualifier.
STOR_EXPORT void CRettoJSarvoRet(JNIEnv* env, Ret* ret, jobject jRet);
// The common fields and the four sense fields with the qualifier.
STOR_EXPORT void CRettoJPelmRet(JNIEnv* env, Ret* ret, jobject jRet);
// "iReturnCode" and "iAPIReturnCode" only.
STOR_EXPORT void CRettoJTobreckRet(JNIEnv* env, Ret* ret, jobject jRet);
// The common fields.
STOR_EXPORT void CRettoJYUBRet(JNIEnv* env, Ret* ret, jobject jRet);
STOR_EXPORT void FentaRetToJRet(JNIEnv* env, Ret* ret, jobject& jRet);
STOR_EXPORT void GluntRetToJRet(JNIEnv* env, Ret* ret, jobject& jRet);
STOR_EXPORT void CRettoJGluntRet(JNIEnv* env, Ret* ret, jobject jRet);

// Copies the first task whose device address is on the adapter of addr into
// the TProgress; without such a task the object stays as it was.
STOR_EXPORT void CProgressCollectionToSingleJTProgress(JNIEnv* const& env, const Addr& addr,
                                                       const ProgressCollection& tasks, const jobject& jProgress);
// "type", "status", "adapter", "logicalDrive", "channel", "device" (the ids
// of the task's device address), "percent", "taskID", "taskPriority".
STOR_EXPORT void CProgressToJTProgress2(JNIEnv* const& env, const Addr& addr, const Progress& progress,
                                        const jobject& jProgress);

// Appends one chunk per element of the chunk-spec array (drive from
// getDeviceID(), "startSector", "numSector", "group", "type"). The sectors
// of this path are 32-bit: an element with a sector number outside 0 to
// 2^32 - 1, a null element or a null drive makes the conversion fail, and
// then no chunk is appended at all. True when every element was converted.
STOR_EXPORT bool JVectorChunkSpecsToCLogicalDriveSpec(JNIEnv* env, const jobjectArray& jChunks,
                                                      LogicalDriveSpec& spec);

// Sets the String field of that name to the text, or to null for a null
// text. A text that is not valid modified UTF-8 (bytes a controller copied
// into a document) becomes one char per byte.
STOR_EXPORT void setJavaStringBuffer(JNIEnv* env, jobject obj, const char* fieldName, const char* text);
// Sets the int field "value".
STOR_EXPORT void setJavaInteger(JNIEnv* env, jobject obj, int value);
// Copies at most limit - 1 modified-UTF-8 bytes of the string into the
// buffer and fills the rest of the limit with NULs; a null string (or one
// whose characters the JVM cannot supply) leaves an empty text.
STOR_EXPORT void JStringToCString(JNIEnv* env, jstring jStr, char* buffer, int limit);

// Conversions that no native of the storage bridge uses.
// Appends the addresses of a Java address collection ("getAddrCount",
// "getAddr"); null elements are left out.
STOR_EXPORT void JAddrCollectiontoCAddrCollection(JNIEnv* env, jobject jCollection, AddrCollection* collection);
// "ulAdapter", "ulArray", "ulLogicalDrive", "ulPhysChan", "ulPhysId".
STOR_EXPORT void CAddrtoJAddr(JNIEnv* env, Addr* addr, jobject jAddr);
// Hands each address to "addAddr" of the Java collection as a new TULAddr
// (a TAddr that also has the fields of CAddrtoJAddr), both sets of ids filled.
STOR_EXPORT void CAddrCollectiontoJAddrCollection(JNIEnv* env, AddrCollection* collection, jobject jCollection);
// "ulbufSize", then "setByte" with each index and byte.
STOR_EXPORT void CBuffertoJBuffer(JNIEnv* env, Buffer* buffer, jobject jBuffer);
// "type", "logicalDrive", "status", "percent".
STOR_EXPORT void CProgresstoJProgress(JNIEnv* env, Progress* progress, jobject jProgress);
// These two convert nothing.
STOR_EXPORT void CSafteConfigtoJSafteConfig(JNIEnv* env, SafteConfig* config, jobject jConfig);
STOR_EXPORT void CSafteStatustoJSafteStatus(JNIEnv* env, SafteStatus* status, jobject jStatus);
// "ulLogicalDrive"; "ulStartLow", "ulStartHigh", "ulCount" zero-extended.
STOR_EXPORT void CSectorRangetoJSectorRange(JNIEnv* env, SectorRange* range, jobject jRange);
// The six header bytes and "caVendorSpecific", 68 chars of one byte each.
STOR_EXPORT void CVPDDatatoJVPDData(JNIEnv* env, VPDData* vpd, jobject jVpd);
// Hands each range to "addSectorRange" as a new TSectorRange.
STOR_EXPORT void CSectorCollectiontoJSectorCollection(JNIEnv* env, SectorCollection* collection,
                                                      jobject jCollection);

#endif
