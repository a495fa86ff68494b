#ifndef JDLLSTRING_H
#define JDLLSTRING_H

// A Java String as a native hands it to the C API: its modified UTF-8
// bytes, terminated, held from the virtual machine until the native ends.

#include <jni.h>

#include "storagedll/convengine.h"

namespace legacyjdll {

class StringInput {
public:
    StringInput(JNIEnv* e, jstring s) : env(e), string(s), text(s ? e->GetStringUTFChars(s, nullptr) : nullptr)
    {
        if (s && !text)
            legacyconv::clearException(e);
    }
    StringInput(const StringInput&) = delete;
    StringInput& operator=(const StringInput&) = delete;
    ~StringInput()
    {
        if (text)
            env->ReleaseStringUTFChars(string, text);
    }

    // 0; -2 for a null String; -3 when the bytes could not be had.
    int status() const { return !string ? -2 : text ? 0 : -3; }
    // The C API takes the text as char*; it reads it only.
    char* chars() const { return const_cast<char*>(text); }

private:
    JNIEnv* env;
    jstring string;
    const char* text;
};

} // namespace legacyjdll

#endif
