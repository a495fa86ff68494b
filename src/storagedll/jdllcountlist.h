#ifndef JDLLCOUNTLIST_H
#define JDLLCOUNTLIST_H

// The count-and-list natives: the operation asked twice, first for the
// count with no list, then with a list of that many 40-byte addresses; on
// success the addresses go into the Java AddrList.

#include <jni.h>

#include "storagedll/storintf.h"

namespace legacyjdll {

typedef S_Ret (StoreDLLIntf::*CountListOp)(_STORAGE_ADDRESS_ID, uint16_t&, _STORAGE_ADDRESS_ID*, uint32_t);

// (StorRet, StorAddr, AddrList) of a native that lists by `op`. A failing
// first call is the result and leaves the AddrList alone; a list that cannot
// be allocated gives -3. The AddrList gets the second call's count of
// addresses, never more than the list holds. The StorRet is written first.
void countAndList(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jList, CountListOp op);

} // namespace legacyjdll

#endif
