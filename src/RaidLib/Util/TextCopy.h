#ifndef TEXTCOPY_H
#define TEXTCOPY_H

#include <cstddef>
#include <cstring>

// Copies at most capacity - 1 characters of text into a fixed-size field and
// terminates it; a null text gives an empty one. capacity must be above 0.
inline void copyText(char* field, size_t capacity, const char* text)
{
    size_t n = 0;
    if (text) {
        while (n + 1 < capacity && text[n] != '\0')
            ++n;
        std::memcpy(field, text, n);
    }
    field[n] = '\0';
}

template <size_t N>
inline void copyText(char (&field)[N], const char* text)
{
    copyText(field, N, text);
}

#endif
