// Meta data of the CIM classes a module serves: one record per class with its
// superclass and its features (properties, references, methods) in the order
// of model paths, inherited ones first. The records are generated from the
// module's class table by cimple_gen; nothing writes them by hand.
#ifndef CIMPLE_META_H
#define CIMPLE_META_H

#include "config.h"

namespace cimple {

struct Instance;
struct Meta_Class;
struct Meta_Repository;

// Type of a property (or of a method's return value).
enum Type {
    BOOLEAN,
    UINT8,
    SINT8,
    UINT16,
    SINT16,
    UINT32,
    SINT32,
    UINT64,
    SINT64,
    REAL32,
    REAL64,
    CHAR16,
    STRING,
    DATETIME
};

// Name of a type as the class table writes it ("uint16", "datetime", ...).
CIMPLE_EXPORT const char* type_name(Type type);

enum Meta_Flags {
    CIMPLE_FLAG_PROPERTY = 1u << 0,
    CIMPLE_FLAG_REFERENCE = 1u << 1,
    CIMPLE_FLAG_METHOD = 1u << 2,
    CIMPLE_FLAG_CLASS = 1u << 3,
    CIMPLE_FLAG_ASSOCIATION = 1u << 4,
    CIMPLE_FLAG_INDICATION = 1u << 5,
    CIMPLE_FLAG_ABSTRACT = 1u << 6,
    CIMPLE_FLAG_KEY = 1u << 7,
    CIMPLE_FLAG_IN = 1u << 8,
    CIMPLE_FLAG_OUT = 1u << 9
};

// A property, reference or method of a class, or a parameter of a method.
struct Meta_Feature {
    uint32 flags;
    const char* name;
    // property: its type; method: the type of its return value
    Type type;
    // property: an array of `type`
    bool array;
    // reference: the class it refers to; method: the record of its parameters
    const Meta_Class* meta_class;
    // property: the Property<T> member of an instance
    void* (*field)(Instance* instance);
    // reference: the member of an instance
    Instance* (*get_ref)(const Instance* instance);
    void (*set_ref)(Instance* instance, Instance* value);
};

struct Meta_Class {
    // CIMPLE_FLAG_CLASS (with ASSOCIATION, INDICATION, ABSTRACT), or
    // CIMPLE_FLAG_METHOD for the parameters of a method
    uint32 flags;
    const char* name;
    const Meta_Class* super_meta_class;
    const Meta_Feature* const* features;
    size_t num_features;
    const Meta_Repository* meta_repository;
    Instance* (*construct)();
    void (*destruct)(Instance* instance);
};

// Every class of one module.
struct Meta_Repository {
    const Meta_Class* const* meta_classes;
    size_t num_meta_classes;
};

// The feature of that name (without regard to case) among the kinds given by
// `flags`, or null.
CIMPLE_EXPORT const Meta_Feature* find_feature(const Meta_Class* mc, const char* name,
                                               uint32 flags = CIMPLE_FLAG_PROPERTY | CIMPLE_FLAG_REFERENCE);
// The class of that name (without regard to case), or null.
CIMPLE_EXPORT const Meta_Class* find_meta_class(const Meta_Repository* repository, const char* name);
// True when `mc` is `ancestor` or derives from it.
CIMPLE_EXPORT bool is_subclass(const Meta_Class* ancestor, const Meta_Class* mc);
// True when `mc` or one of its superclasses has that name (without regard to case).
CIMPLE_EXPORT bool is_a(const Meta_Class* mc, const char* class_name);

} // namespace cimple

#endif
