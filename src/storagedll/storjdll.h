#ifndef STORJDLL_H
#define STORJDLL_H

// The legacy Java controller bridge: the natives of the Java class
// com.zeq.sysmgt.storage.base.StorageDLL (storjdllnatives.h lists them),
// which forward to the controller C API through one StoreDLLIntf per Java
// object, and the exported hooks of the library's load protocol.
//
// Each StorageDLL object keeps the index of its interface object in the
// int field "iCppDllPtr" (jdllhandles.h). The process-wide
// StorageDataConverter is created by DlInit and deleted by DlTerm; the
// natives take it through one accessor that runs DlInit when there is none,
// so they also work before any DlInit and after DlTerm. A host calls DlTerm
// only while no native runs.

#include <jni.h>

#include "RaidLib/Util/StorExport.h"
#include "storagedll/storconv.h"
#include "storagedll/storintf.h"

// The same names exist in a controller C-API library (tarnellapi.h): the
// core's own calls go to storJdllInit and storJdllTerm, never through these.
extern "C" {
// Creates the process-wide converter when there is none.
STOR_EXPORT void DlInit(void);
// Deletes the process-wide converter, if any.
STOR_EXPORT void DlTerm(void);
// The interface object whose index the int field `field` of `obj` holds;
// null for 0 and for an index that names no live object. Not held: the
// caller must keep the Java object from being destructed meanwhile.
STOR_EXPORT StoreDLLIntf* GetDllPointer(JNIEnv* env, jobject obj, jfieldID field);
}

void storJdllInit();
void storJdllTerm();

// The process-wide converter, created when missing; should even that fail,
// a converter of the library's own, so that no native is left without one.
StorageDataConverter& legacyConverter();

// For tests: the process-wide converter as it is (null before DlInit and
// after DlTerm).
STOR_EXPORT StorageDataConverter* currentLegacyConverter();

#endif
