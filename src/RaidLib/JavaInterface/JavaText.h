#ifndef JAVATEXT_H
#define JAVATEXT_H

// Texts of the core as Java strings, for both Java bridges: modified UTF-8
// where the bytes are that, else one char per byte, so that no byte sequence
// reaches NewStringUTF that it cannot take.

#include <jni.h>

#include <cstddef>

#include "RaidLib/Util/StorExport.h"

namespace javatext {

// Whether the bytes are modified UTF-8 as NewStringUTF takes it: no 4-byte
// forms, no overlong forms but the two-byte NUL (C0 80), every sequence
// complete.
STOR_EXPORT bool isModifiedUtf8(const unsigned char* s, size_t n);

// A new Java string of the terminated text (a local reference); null, with
// no exception left pending, when the JVM cannot make one.
jstring newJavaString(JNIEnv* env, const char* text);

} // namespace javatext

#endif
