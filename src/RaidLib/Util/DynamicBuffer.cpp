#include "RaidLib/Util/DynamicBuffer.h"

#include <cstring>
#include <new>

DynamicBuffer::DynamicBuffer(uint32_t n) : bufferSize(0), pBuffer(nullptr), ownBuffer(0)
{
    if (n != 0)
        Alloc(n);
}

DynamicBuffer::DynamicBuffer(void* p, uint32_t n) : bufferSize(0), pBuffer(nullptr), ownBuffer(0)
{
    if (p != nullptr && n != 0)
        Attach(p, n);
}

DynamicBuffer::~DynamicBuffer() { Free(); }

void DynamicBuffer::Free()
{
    if (ownBuffer != 0)
        delete[] pBuffer;
    pBuffer = nullptr;
    bufferSize = 0;
    ownBuffer = 0;
}

char* DynamicBuffer::Alloc(uint32_t n)
{
    Free();
    if (n == 0)
        return nullptr;
    pBuffer = new (std::nothrow) char[n]();
    if (pBuffer == nullptr)
        throw std::bad_alloc();
    bufferSize = n;
    ownBuffer = 1;
    return pBuffer;
}

char* DynamicBuffer::AllocAndPreserve(uint32_t n, uint32_t keep)
{
    const uint32_t k = keep < bufferSize ? keep : bufferSize;
    if (k > n)
        throw DynamicBufferException(DynamicBufferException::PRESERVE_TOO_BIG);
    if (n == 0) {
        Free();
        return nullptr;
    }
    char* block = new (std::nothrow) char[n]();
    if (block == nullptr) {
        Free();
        throw std::bad_alloc();
    }
    if (k != 0)
        std::memcpy(block, pBuffer, k);
    Free();
    pBuffer = block;
    bufferSize = n;
    ownBuffer = 1;
    return pBuffer;
}

char* DynamicBuffer::Attach(void* p, uint32_t n)
{
    Free();
    if (p == nullptr || n == 0)
        return nullptr;
    pBuffer = static_cast<char*>(p);
    bufferSize = n;
    return pBuffer;
}

char* DynamicBuffer::AttachAndPreserve(void* p, uint32_t n, uint32_t keep)
{
    const uint32_t k = keep < bufferSize ? keep : bufferSize;
    if (p == nullptr || n == 0) {
        if (k != 0)
            throw DynamicBufferException(DynamicBufferException::PRESERVE_TOO_BIG);
        return nullptr;
    }
    if (k > n)
        throw DynamicBufferException(DynamicBufferException::PRESERVE_TOO_BIG);
    if (k != 0 && pBuffer != p)
        std::memmove(p, pBuffer, k);
    Free();
    pBuffer = static_cast<char*>(p);
    bufferSize = n;
    return nullptr;
}
