#include "RaidLib/JavaInterface/JavaText.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace javatext {

bool isModifiedUtf8(const unsigned char* s, size_t n)
{
    size_t i = 0;
    while (i < n) {
        // Documents are mostly ASCII: eight bytes at a time while no byte
        // has its high bit set.
        uint64_t word;
        if (n - i >= sizeof word) {
            std::memcpy(&word, s + i, sizeof word);
            if ((word & UINT64_C(0x8080808080808080)) == 0) {
                i += sizeof word;
                continue;
            }
        }
        const unsigned char b = s[i];
        if (b < 0x80) {
            i += 1;
        } else if ((b & 0xE0) == 0xC0) {
            if (i + 1 >= n || (s[i + 1] & 0xC0) != 0x80)
                return false;
            if (b == 0xC1 || (b == 0xC0 && s[i + 1] != 0x80))
                return false;
            i += 2;
        } else if ((b & 0xF0) == 0xE0) {
            if (i + 2 >= n || (s[i + 1] & 0xC0) != 0x80 || (s[i + 2] & 0xC0) != 0x80)
                return false;
            if (b == 0xE0 && s[i + 1] < 0xA0)
                return false;
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

jstring newJavaString(JNIEnv* env, const char* text)
{
    const size_t n = std::strlen(text);
    if (n > static_cast<size_t>(INT32_MAX))
        return nullptr;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    jstring s;
    if (isModifiedUtf8(bytes, n)) {
        s = env->NewStringUTF(text);
    } else {
        const std::vector<jchar> chars(bytes, bytes + n);
        s = env->NewString(chars.data(), static_cast<jsize>(n));
    }
    if (!env->ExceptionCheck())
        return s;
    env->ExceptionClear();
    return nullptr;
}

} // namespace javatext
