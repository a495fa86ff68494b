#include "RaidLib/Util/Buffer.h"

#include <cstring>
#include <new>

Buffer::Buffer() : pBuffer(nullptr), buffSize(0) {}

Buffer::Buffer(uint32_t n) : pBuffer(nullptr), buffSize(0) { allocate(n); }

Buffer::Buffer(uint32_t n, const unsigned char* bytes) : pBuffer(nullptr), buffSize(0)
{
    if (bytes != nullptr && allocate(n))
        std::memcpy(pBuffer, bytes, n);
}

Buffer::Buffer(const Buffer& other) : pBuffer(nullptr), buffSize(0)
{
    if (allocate(other.buffSize))
        std::memcpy(pBuffer, other.pBuffer, buffSize);
}

Buffer::~Buffer() { release(); }

void Buffer::release()
{
    delete[] pBuffer;
    pBuffer = nullptr;
    buffSize = 0;
}

// A new zeroed block of n bytes in an empty buffer; false for n 0 or failure.
bool Buffer::allocate(uint32_t n)
{
    if (n == 0)
        return false;
    pBuffer = new (std::nothrow) unsigned char[n]();
    if (pBuffer == nullptr)
        return false;
    buffSize = n;
    return true;
}

Buffer& Buffer::operator=(const Buffer& other)
{
    if (this == &other)
        return *this;
    if (pBuffer != nullptr && buffSize != other.buffSize)
        release();
    if (other.buffSize == 0)
        return *this;
    if (pBuffer == nullptr && !allocate(other.buffSize))
        return *this;
    std::memcpy(pBuffer, other.pBuffer, buffSize);
    return *this;
}

bool Buffer::operator==(const Buffer& other) const
{
    return buffSize == other.buffSize && (buffSize == 0 || std::memcmp(pBuffer, other.pBuffer, buffSize) == 0);
}

unsigned char* Buffer::Alloc(uint32_t n, bool preserve)
{
    if (!preserve || n == 0 || pBuffer == nullptr) {
        release();
        allocate(n);
        return pBuffer;
    }
    unsigned char* block = new (std::nothrow) unsigned char[n]();
    if (block != nullptr)
        std::memcpy(block, pBuffer, buffSize < n ? buffSize : n);
    release();
    if (block != nullptr) {
        pBuffer = block;
        buffSize = n;
    }
    return pBuffer;
}

void Buffer::Clear()
{
    if (pBuffer != nullptr)
        std::memset(pBuffer, 0, buffSize);
}

void Buffer::Print(FILE* out) const
{
    if (out == nullptr)
        out = stdout;
    uint32_t offset = 0;
    do {
        char hex[9];
        char text[5];
        for (int k = 0; k < 4; ++k) {
            const uint64_t pos = static_cast<uint64_t>(offset) + 3 - k;
            if (pos < buffSize) {
                static const char digits[] = "0123456789abcdef";
                const unsigned char b = pBuffer[pos];
                hex[2 * k] = digits[b >> 4];
                hex[2 * k + 1] = digits[b & 15];
                text[k] = (b >= 0x20 && b <= 0x7E) ? static_cast<char>(b) : ' ';
            } else {
                hex[2 * k] = hex[2 * k + 1] = '-';
                text[k] = ' ';
            }
        }
        hex[8] = text[4] = '\0';
        std::fprintf(out, "%04x: %s : %s\n", offset, hex, text);
        offset += 4;
    } while (offset < buffSize && offset != 0);
}
