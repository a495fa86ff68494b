// A growable array: the value of an array property.
#ifndef CIMPLE_ARRAY_H
#define CIMPLE_ARRAY_H

#include <vector>

#include "Datetime.h"
#include "String.h"
#include "config.h"

namespace cimple {

template <class T>
class Array {
public:
    Array() {}

    size_t size() const { return _v.size(); }
    bool empty() const { return _v.empty(); }
    T& operator[](size_t i) { return _v[i].value; }
    const T& operator[](size_t i) const { return _v[i].value; }

    void append(const T& x) { _v.push_back(Cell{x}); }
    void insert(size_t pos, const T& x) { _v.insert(_v.begin() + pos, Cell{x}); }
    void remove(size_t pos, size_t n = 1) { _v.erase(_v.begin() + pos, _v.begin() + pos + n); }
    void clear() { _v.clear(); }
    void reserve(size_t n) { _v.reserve(n); }

    bool operator==(const Array& o) const
    {
        if (_v.size() != o._v.size())
            return false;
        for (size_t i = 0; i < _v.size(); i++)
            if (!(_v[i].value == o._v[i].value))
                return false;
        return true;
    }
    bool operator!=(const Array& o) const { return !(*this == o); }

private:
    // Every element in a cell of its own, so that an array of booleans holds
    // real bool objects (no packed bits) and hands out references to them.
    struct Cell {
        T value;
    };
    std::vector<Cell> _v;
};

typedef Array<boolean> Array_boolean;
typedef Array<uint8> Array_uint8;
typedef Array<sint8> Array_sint8;
typedef Array<uint16> Array_uint16;
typedef Array<sint16> Array_sint16;
typedef Array<uint32> Array_uint32;
typedef Array<sint32> Array_sint32;
typedef Array<uint64> Array_uint64;
typedef Array<sint64> Array_sint64;
typedef Array<real32> Array_real32;
typedef Array<real64> Array_real64;
typedef Array<char16> Array_char16;
typedef Array<String> Array_String;
typedef Array<Datetime> Array_Datetime;

} // namespace cimple

#endif
