// An instance of a CIM class. Each class of the table becomes a struct derived
// from Instance with one Property<T> member per property and one pointer per
// reference; the class's meta record drives the generic operations below.
#ifndef CIMPLE_INSTANCE_H
#define CIMPLE_INSTANCE_H

#include "Meta.h"
#include "String.h"
#include "config.h"

namespace cimple {

struct Instance {
    const Meta_Class* meta_class;
    // The namespace of the instance's object path; empty for the request's.
    String _name_space;

    Instance() : meta_class(0) {}
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;
};

// A new instance. Without defaults every property is present with its zero
// value (0, false, "", an empty array, the zero datetime) and not null; with
// defaults every property takes the table's default, and as the table declares
// none, is null. References start null. Null when memory is exhausted.
CIMPLE_EXPORT Instance* create(const Meta_Class* mc, bool defaults);
// A deep copy, references included; null for null.
CIMPLE_EXPORT Instance* clone(const Instance* instance);
// Frees an instance with the instances its references hold; null is fine.
CIMPLE_EXPORT void destroy(Instance* instance);

// True when both are of one class and their key properties are equal; a key
// reference compares the referenced instances by their keys.
CIMPLE_EXPORT bool key_eq(const Instance* a, const Instance* b);
// True when both are of one class and every property and reference is equal.
CIMPLE_EXPORT bool identical(const Instance* a, const Instance* b);

// The model path: class name, ".", then Key=value for each key in the class's
// property order, joined by ",". Strings, datetimes and references (as their
// own model path) are quoted, with '"' and '\' escaped; numbers and booleans
// are bare. A class without keys gives its name alone. 0, or -1 for null.
CIMPLE_EXPORT int instance_to_model_path(const Instance* instance, String& path);

// Sets every property null (or, without `null`, to its zero value), every
// reference to null (destroying what it held).
CIMPLE_EXPORT void clear_properties(Instance* instance, bool null);

// `instance` as a T when its class is T or derives from it, else null.
template <class T>
T* cast(Instance* instance)
{
    return instance && is_subclass(&T::static_meta_class, instance->meta_class) ? static_cast<T*>(instance) : 0;
}
template <class T>
const T* cast(const Instance* instance)
{
    return instance && is_subclass(&T::static_meta_class, instance->meta_class) ? static_cast<const T*>(instance)
                                                                                 : 0;
}

} // namespace cimple

#endif
