#ifndef BYVALUE_ARRAY_H
#define BYVALUE_ARRAY_H

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "RaidLib/Util/DynamicBuffer.h"

// Allocator of the array templates: an exhausted heap raises std::bad_alloc,
// a size beyond counting DynamicBufferException reason 1.
template <class T>
struct DynamicBufferAllocator {
    typedef T value_type;

    DynamicBufferAllocator() = default;
    template <class U>
    DynamicBufferAllocator(const DynamicBufferAllocator<U>&)
    {
    }

    T* allocate(std::size_t n)
    {
        if (n > SIZE_MAX / sizeof(T))
            throw DynamicBufferException(DynamicBufferException::ALLOC_FAILED);
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t) { ::operator delete(static_cast<void*>(p)); }

    template <class U>
    bool operator==(const DynamicBufferAllocator<U>&) const
    {
        return true;
    }
    template <class U>
    bool operator!=(const DynamicBufferAllocator<U>&) const
    {
        return false;
    }
};

// The growable array of ByRefArray_TC for elements that own memory: the same
// operations, with capacity and growth step counted in bytes (multiples of
// the element size), but elements are copied, assigned and destroyed as
// objects instead of bytewise. Growth fails as ByRefArray_TC's does and keeps
// the elements already held.
template <class T>
class ByValueArray_TC {
    static constexpr uint32_t kElem = static_cast<uint32_t>(sizeof(T));
    typedef std::vector<T, DynamicBufferAllocator<T>> Storage;

public:
    typedef typename Storage::iterator iterator;
    typedef typename Storage::const_iterator const_iterator;

    explicit ByValueArray_TC(uint32_t size = 0, uint32_t grow = kElem) : growBy(kElem)
    {
        SetGrowBy(grow);
        AllocTo(size);
    }

    ByValueArray_TC(const ByValueArray_TC& other) : growBy(other.growBy)
    {
        AllocTo(other.BytesUsed());
        elements.insert(elements.end(), other.elements.begin(), other.elements.end());
    }

    ByValueArray_TC& operator=(const ByValueArray_TC& other)
    {
        if (this != &other) {
            ByValueArray_TC copy(other);
            elements.swap(copy.elements);
        }
        return *this;
    }

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
    // the growth step.
    uint32_t AllocTo(uint32_t size)
    {
        uint64_t target = size < BytesUsed() ? BytesUsed() : size;
        target = (target + growBy - 1) / growBy * growBy;
        if (target == BufferSize())
            return BufferSize();
        if (target > UINT32_MAX)
            throw DynamicBufferException(DynamicBufferException::ALLOC_FAILED);
        const size_t count = static_cast<size_t>(target / kElem);
        if (count > elements.capacity()) {
            elements.reserve(count);
        } else {
            Storage smaller;
            smaller.reserve(count);
            smaller.insert(smaller.end(), elements.begin(), elements.end());
            elements.swap(smaller);
        }
        return BufferSize();
    }

    // Stores a copy of e at index (a negative index or one not below the
    // count appends), growing by one step when the array is full.
    bool Insert(int32_t index, const T& e)
    {
        if (BytesAvailable() < kElem) {
            if (BufferSize() > UINT32_MAX - kElem)
                throw DynamicBufferException(DynamicBufferException::ALLOC_FAILED);
            AllocTo(BufferSize() + kElem);
        }
        if (index < 0 || index >= NumEntries())
            elements.push_back(e);
        else
            elements.insert(elements.begin() + index, e);
        return true;
    }
    bool InsertBack(const T& e) { return Insert(-1, e); }
    bool InsertFront(const T& e) { return Insert(0, e); }
    void push_back(const T& e) { Insert(-1, e); }
    bool insert(int32_t index, const T& e) { return Insert(index, e); }

    // Removes the element at index; false when there is none.
    bool Remove(int32_t index)
    {
        if (index < 0 || index >= NumEntries())
            return false;
        elements.erase(elements.begin() + index);
        return true;
    }
    bool RemoveBack() { return Remove(NumEntries() - 1); }
    bool RemoveFront() { return Remove(0); }
    void pop_back() { Remove(NumEntries() - 1); }
    void erase(int32_t index) { Remove(index); }
    void RemoveAll() { elements.clear(); }
    void clear() { elements.clear(); }

    // Overwrites the element at index; false when there is none.
    bool Replace(int32_t index, const T& e)
    {
        if (index < 0 || index >= NumEntries())
            return false;
        elements[static_cast<size_t>(index)] = e;
        return true;
    }
    bool ReplaceBack(const T& e) { return Replace(NumEntries() - 1, e); }
    bool ReplaceFront(const T& e) { return Replace(0, e); }

    // Shrinks the capacity to the bytes in use (rounded to the step).
    uint32_t OptimizeAlloc() { return AllocTo(0); }

    // Element access: index must be below the count.
    T& operator[](int32_t i) { return elements[static_cast<size_t>(i)]; }
    const T& operator[](int32_t i) const { return elements[static_cast<size_t>(i)]; }
    T* Obj_P(int32_t i) { return (i >= 0 && i < NumEntries()) ? &elements[static_cast<size_t>(i)] : nullptr; }

    iterator begin() { return elements.begin(); }
    iterator end() { return elements.end(); }
    const_iterator begin() const { return elements.begin(); }
    const_iterator end() const { return elements.end(); }

    int32_t size() const { return NumEntries(); }
    int32_t NumEntries() const { return static_cast<int32_t>(elements.size()); }
    bool IsEmpty() const { return elements.empty(); }
    bool IsValid() const { return elements.capacity() != 0; }
    int32_t LastIndex() const { return NumEntries() - 1; }
    uint32_t BufferSize() const { return static_cast<uint32_t>(elements.capacity() * kElem); }
    uint32_t BytesUsed() const { return static_cast<uint32_t>(elements.size() * kElem); }
    uint32_t BytesAvailable() const { return BufferSize() - BytesUsed(); }
    uint32_t GrowBy() const { return growBy; }
    uint32_t GetGrowBy() const { return growBy; }

private:
    uint32_t growBy;
    Storage elements;
};

#endif
