#ifndef BYREF_ARRAY_H
#define BYREF_ARRAY_H

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "RaidLib/Util/DynamicBuffer.h"

// A growable array of plain records, copied bytewise. Capacity and growth
// step are counted in bytes; the step is a non-zero multiple of the element
// size. Growth fails with std::bad_alloc when the heap is exhausted and with
// DynamicBufferException reason 1 beyond 4 GiB; either keeps the elements
// already held.
template <class T>
class ByRefArray_TC {
    static_assert(std::is_trivially_copyable<T>::value, "elements are copied bytewise");
    static_assert(std::is_trivially_default_constructible<T>::value, "elements are plain records");
    static constexpr uint32_t kElem = static_cast<uint32_t>(sizeof(T));

public:
    typedef T* iterator;
    typedef const T* const_iterator;

    explicit ByRefArray_TC(uint32_t size = 0, uint32_t grow = kElem)
        : bufferSize(0), growBy(kElem), numEntries(0), array_P(nullptr)
    {
        SetGrowBy(grow);
        AllocTo(size);
    }

    ByRefArray_TC(const ByRefArray_TC& other)
        : bufferSize(0), growBy(other.growBy), numEntries(0), array_P(nullptr)
    {
        AllocTo(other.BytesUsed());
        copyIn(other);
    }

    ByRefArray_TC& operator=(const ByRefArray_TC& other)
    {
        if (this != &other) {
            numEntries = 0;
            AllocTo(other.BytesUsed());
            copyIn(other);
        }
        return *this;
    }

    ~ByRefArray_TC() { delete[] array_P; }

    // The step becomes g bytes rounded up to a whole number of elements,
    // or one element when g is 0.
    uint32_t SetGrowBy(uint32_t g)
    {
        if (g == 0) {
            growBy = kElem;
        } else {
            uint64_t rounded = (static_cast<uint64_t>(g) + kElem - 1) / kElem * kElem;
            growBy = rounded > UINT32_MAX ? UINT32_MAX / kElem * kElem : static_cast<uint32_t>(rounded);
        }
        return growBy;
    }

    // Capacity becomes max(size, bytes in use) rounded up to a multiple of
    // the growth step. An array holding no elements is released first.
    uint32_t AllocTo(uint32_t size)
    {
        uint64_t target = size < BytesUsed() ? BytesUsed() : size;
        target = (target + growBy - 1) / growBy * growBy;
        if (target == bufferSize)
            return bufferSize;
        if (array_P != nullptr && numEntries == 0) {
            delete[] array_P;
            array_P = nullptr;
            bufferSize = 0;
        }
        if (target == 0)
            return 0;
        if (target > UINT32_MAX)
            throw DynamicBufferException(DynamicBufferException::ALLOC_FAILED);
        T* block = new (std::nothrow) T[static_cast<size_t>(target / kElem)];
        if (block == nullptr)
            throw std::bad_alloc();
        if (numEntries > 0)
            std::memcpy(static_cast<void*>(block), array_P, BytesUsed());
        delete[] array_P;
        array_P = block;
        bufferSize = static_cast<uint32_t>(target);
        return bufferSize;
    }

    // Stores a copy of e at index (a negative index or one not below the
    // count appends), growing by one step when the array is full.
    bool Insert(int32_t index, const T& e)
    {
        if (BytesAvailable() < kElem) {
            if (bufferSize > UINT32_MAX - kElem)
                throw DynamicBufferException(DynamicBufferException::ALLOC_FAILED);
            AllocTo(bufferSize + kElem);
        }
        if (BytesAvailable() < kElem)
            return false;
        if (index < 0 || index >= numEntries) {
            index = numEntries;
        } else {
            std::memmove(static_cast<void*>(array_P + index + 1), array_P + index,
                         static_cast<size_t>(numEntries - index) * kElem);
        }
        std::memcpy(static_cast<void*>(array_P + index), &e, kElem);
        ++numEntries;
        return true;
    }
    bool InsertBack(const T& e) { return Insert(-1, e); }
    bool InsertFront(const T& e) { return Insert(0, e); }
    void push_back(const T& e) { Insert(-1, e); }

    // Removes the element at index; false when there is none.
    bool Remove(int32_t index)
    {
        if (index < 0 || index >= numEntries)
            return false;
        std::memmove(static_cast<void*>(array_P + index), array_P + index + 1,
                     static_cast<size_t>(numEntries - index - 1) * kElem);
        --numEntries;
        return true;
    }
    bool RemoveBack() { return Remove(numEntries - 1); }
    bool RemoveFront() { return Remove(0); }
    void pop_back() { Remove(numEntries - 1); }
    void erase(int32_t index) { Remove(index); }
    void RemoveAll() { numEntries = 0; }
    void clear() { numEntries = 0; }

    // Overwrites the element at index; false when there is none.
    bool Replace(int32_t index, const T& e)
    {
        if (index < 0 || index >= numEntries)
            return false;
        std::memcpy(static_cast<void*>(array_P + index), &e, kElem);
        return true;
    }
    bool ReplaceBack(const T& e) { return Replace(numEntries - 1, e); }
    bool ReplaceFront(const T& e) { return Replace(0, e); }
    bool insert(int32_t index, const T& e) { return Insert(index, e); }

    // Shrinks the capacity to the bytes in use (rounded to the step).
    uint32_t OptimizeAlloc() { return AllocTo(0); }

    // Element access: index must be below the count.
    T& operator[](int32_t i) { return array_P[i]; }
    const T& operator[](int32_t i) const { return array_P[i]; }
    T* Obj_P(int32_t i) { return (i >= 0 && i < numEntries) ? array_P + i : nullptr; }

    iterator begin() { return array_P; }
    iterator end() { return array_P + numEntries; }
    const_iterator begin() const { return array_P; }
    const_iterator end() const { return array_P + numEntries; }

    int32_t size() const { return numEntries; }
    int32_t NumEntries() const { return numEntries; }
    bool IsEmpty() const { return numEntries == 0; }
    bool IsValid() const { return array_P != nullptr; }
    int32_t LastIndex() const { return numEntries - 1; }
    uint32_t BufferSize() const { return bufferSize; }
    uint32_t BytesUsed() const { return static_cast<uint32_t>(numEntries) * kElem; }
    uint32_t BytesAvailable() const { return bufferSize - BytesUsed(); }
    uint32_t GrowBy() const { return growBy; }
    uint32_t GetGrowBy() const { return growBy; }

private:
    void copyIn(const ByRefArray_TC& other)
    {
        if (other.numEntries > 0)
            std::memcpy(static_cast<void*>(array_P), other.array_P, other.BytesUsed());
        numEntries = other.numEntries;
    }

    uint32_t bufferSize;
    uint32_t growBy;
    int32_t numEntries;
    T* array_P;
};

#endif
