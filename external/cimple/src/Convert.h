// Internal: values between instances of the framework and CMPI objects.
#ifndef CIMPLE_SRC_CONVERT_H
#define CIMPLE_SRC_CONVERT_H

#include <cmpift.h>

#include <cimple/Instance.h>
#include <cimple/String.h>

namespace cimple {
namespace cmpi {

// A value made for the broker. Text goes as a CMPI_string the broker made,
// never as CMPI_chars, so that every broker reads it alike and an array's
// elements have the array's type. Objects made for the value (strings,
// arrays, datetimes, object paths) are released when it ends: the broker
// copies what it is handed.
struct Out_Value {
    CMPIValue value;
    CMPIType type = CMPI_null;
    bool null = true;
    CMPIArray* array = 0;
    CMPIString* string = 0;
    CMPIDateTime* datetime = 0;
    CMPIObjectPath* ref = 0;

    Out_Value() { value.uint64 = 0; }
    ~Out_Value();
    Out_Value(const Out_Value&) = delete;
    Out_Value& operator=(const Out_Value&) = delete;
    // The pointer to hand to set and add calls: null for a null value.
    const CMPIValue* ptr() const { return null ? 0 : &value; }
};

// The value of a property or reference of `inst`; a reference's object path
// carries the end's own namespace, else `ns`.
CMPIrc to_value(const CMPIBroker* mb, const char* ns, const Meta_Feature* f, const Instance* inst, Out_Value& out);

// The object path of an instance (its own namespace, else `ns`), and a CMPI
// instance with the properties `props` names (all when null; keys always).
CMPIObjectPath* make_path(const CMPIBroker* mb, const char* ns, const Instance* inst, CMPIStatus* st);
CMPIInstance* make_instance(const CMPIBroker* mb, const char* ns, const Instance* inst, const char** props,
                            CMPIStatus* st);

// How values from the broker are taken: a request's must fit their
// properties; an up-call's that do not are left null.
enum Mode { STRICT, LENIENT };

// Sets a property or reference of `inst` from a CMPI value; depth bounds the
// nesting of references in keys.
CMPIrc from_data(const CMPIData& d, const Meta_Feature* f, Instance* inst, const Meta_Repository* repo, Mode mode,
                 int depth = 0);
// A new instance named by an object path: of the module's class that the path
// names when it derives from `mc`, else of `mc` (strict mode refuses a class
// unrelated to `mc`), with the path's namespace and keys. Strict mode wants
// every key. Null with the error code on failure.
Instance* from_path(const CMPIObjectPath* op, const Meta_Class* mc, const Meta_Repository* repo, Mode mode,
                    CMPIrc* rc, int depth = 0);
// A new instance of `mc` from a CMPI instance's properties of the same names
// (others are ignored), with its path's namespace.
Instance* from_instance(const CMPIInstance* ci, const Meta_Class* mc, const Meta_Repository* repo, Mode mode,
                        CMPIrc* rc);

// Text of a CMPIString, or "" for none.
const char* chars(const CMPIString* s);
String path_namespace(const CMPIObjectPath* op);
String path_class(const CMPIObjectPath* op);

} // namespace cmpi
} // namespace cimple

#endif
