// Internal: reaching a property's value generically. A property is a
// Property<T> member; its meta record tells T by type tag and array flag.
#ifndef CIMPLE_SRC_TYPES_H
#define CIMPLE_SRC_TYPES_H

#include <cimple/Array.h>
#include <cimple/Meta.h>
#include <cimple/Property.h>

namespace cimple {

template <class T>
struct Tag {
    typedef T type;
};

template <class T>
struct Is_Array {
    static const bool value = false;
};
template <class T>
struct Is_Array<Array<T>> {
    static const bool value = true;
};

// Calls f(Tag<T>()) with the C++ type T of a property of that type.
template <class F>
auto with_type(Type type, bool array, F&& f) -> decltype(f(Tag<boolean>()))
{
#define CIMPLE_TYPE_CASE(TAG, T) \
    case TAG:                    \
        return array ? f(Tag<Array<T>>()) : f(Tag<T>());
    switch (type) {
        CIMPLE_TYPE_CASE(BOOLEAN, boolean)
        CIMPLE_TYPE_CASE(UINT8, uint8)
        CIMPLE_TYPE_CASE(SINT8, sint8)
        CIMPLE_TYPE_CASE(UINT16, uint16)
        CIMPLE_TYPE_CASE(SINT16, sint16)
        CIMPLE_TYPE_CASE(UINT32, uint32)
        CIMPLE_TYPE_CASE(SINT32, sint32)
        CIMPLE_TYPE_CASE(UINT64, uint64)
        CIMPLE_TYPE_CASE(SINT64, sint64)
        CIMPLE_TYPE_CASE(REAL32, real32)
        CIMPLE_TYPE_CASE(REAL64, real64)
        CIMPLE_TYPE_CASE(CHAR16, char16)
        CIMPLE_TYPE_CASE(STRING, String)
    case DATETIME:
    default:
        return array ? f(Tag<Array<Datetime>>()) : f(Tag<Datetime>());
    }
#undef CIMPLE_TYPE_CASE
}

template <class T>
Property<T>* field(const Meta_Feature* f, Instance* instance)
{
    return static_cast<Property<T>*>(f->field(instance));
}
template <class T>
const Property<T>* field(const Meta_Feature* f, const Instance* instance)
{
    return static_cast<const Property<T>*>(f->field(const_cast<Instance*>(instance)));
}

inline bool is_property(const Meta_Feature* f) { return (f->flags & CIMPLE_FLAG_PROPERTY) != 0; }
inline bool is_reference(const Meta_Feature* f) { return (f->flags & CIMPLE_FLAG_REFERENCE) != 0; }
inline bool is_key(const Meta_Feature* f) { return (f->flags & CIMPLE_FLAG_KEY) != 0; }

// True when the key features of `mc` are equal in a and b, both of class mc
// or derived from it.
bool keys_equal(const Meta_Class* mc, const Instance* a, const Instance* b);

} // namespace cimple

#endif
