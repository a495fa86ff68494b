#ifndef FUZZ_EXACTCOPY_H
#define FUZZ_EXACTCOPY_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// The fuzz input copied into a block of exactly its size, without a
// terminating NUL, so that any read past its end is caught. text() is null
// when no block could be had.
class ExactCopy {
public:
    ExactCopy(const uint8_t* data, size_t size)
        : text_(static_cast<char*>(std::malloc(size == 0 ? 1 : size))), size_(size)
    {
        if (text_ != nullptr && size != 0)
            std::memcpy(text_, data, size);
    }
    ~ExactCopy() { std::free(text_); }
    ExactCopy(const ExactCopy&) = delete;
    ExactCopy& operator=(const ExactCopy&) = delete;

    char* text() const { return text_; }
    size_t size() const { return size_; }

private:
    char* text_;
    size_t size_;
};

#endif
