// A property of an instance: its value and whether it is null.
#ifndef CIMPLE_PROPERTY_H
#define CIMPLE_PROPERTY_H

#include "config.h"

namespace cimple {

template <class T>
struct Property {
    T value;
    uint8 null;

    Property() : value(), null(1) {}

    // Sets the value; the property is no longer null.
    void set(const T& x)
    {
        value = x;
        null = 0;
    }
    // Makes the property null, with a zero value.
    void clear()
    {
        value = T();
        null = 1;
    }
    bool is_null() const { return null != 0; }
};

} // namespace cimple

#endif
