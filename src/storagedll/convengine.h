#ifndef CONVENGINE_H
#define CONVENGINE_H

// The one engine that walks the converter's field tables (convtables.h)
// through JNI.
//
// Class, field and method ids are looked up on every call and never cached.
// A field or method that the Java class lacks is skipped and its Java
// exception cleared, so no JNI function is ever called with a missing id and
// the converter leaves no exception behind. A null Java object converts
// nothing. Local references made on the way (classes, nested objects,
// arrays) are deleted as soon as they are done with.

#include <jni.h>

#include "storagedll/convtables.h"

namespace legacyconv {

// Writes the record into the Java object, field by field in the table's order.
STOR_EXPORT void toJava(JNIEnv* env, jobject obj, const RecordTable& table, const uint8_t* record);
// Reads the Java object into the record; bytes that no field covers, and
// array elements beyond a shorter Java array, keep what they held.
STOR_EXPORT void toC(JNIEnv* env, jobject obj, const RecordTable& table, uint8_t* record);

// The object in the object field rule.name (or, for a Series, in the field
// prefix + index) of obj; null when there is none. The caller deletes it.
jobject objectField(JNIEnv* env, jobject obj, const FieldRule& rule, unsigned index = 0);

// The id of a field or method of the class; null (its exception cleared)
// when the class has none of that name and signature.
jfieldID fieldId(JNIEnv* env, jclass cls, const char* name, const char* sig);
jmethodID methodId(JNIEnv* env, jclass cls, const char* name, const char* sig);
jmethodID methodOf(JNIEnv* env, jobject obj, const char* name, const char* sig);

// Clears a pending Java exception; true when there was one.
bool clearException(JNIEnv* env);

// A holder's value through its getter: false (value untouched) when the
// holder is null, lacks the getter or the getter throws.
bool readHolder(JNIEnv* env, jobject holder, const HolderRule& rule, int64_t& value);
// Hands the value to the holder's setter, narrowed to its parameter type.
void writeHolder(JNIEnv* env, jobject holder, const HolderRule& rule, int64_t value);

} // namespace legacyconv

#endif
