// Lookups in the meta records.
#include <cimple/Meta.h>

#include <strings.h>

namespace cimple {

bool eqi(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    return strcasecmp(a, b) == 0;
}

const char* type_name(Type type)
{
    static const char* const names[] = {"boolean", "uint8",  "sint8",  "uint16", "sint16", "uint32",  "sint32",
                                        "uint64",  "sint64", "real32", "real64", "char16", "string", "datetime"};
    return static_cast<unsigned>(type) <= DATETIME ? names[type] : "unknown";
}

const Meta_Feature* find_feature(const Meta_Class* mc, const char* name, uint32 flags)
{
    if (!mc || !name)
        return 0;
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if ((f->flags & flags) && eqi(f->name, name))
            return f;
    }
    return 0;
}

const Meta_Class* find_meta_class(const Meta_Repository* repository, const char* name)
{
    if (!repository || !name)
        return 0;
    for (size_t i = 0; i < repository->num_meta_classes; i++)
        if (eqi(repository->meta_classes[i]->name, name))
            return repository->meta_classes[i];
    return 0;
}

bool is_subclass(const Meta_Class* ancestor, const Meta_Class* mc)
{
    for (; mc && ancestor; mc = mc->super_meta_class)
        if (mc == ancestor)
            return true;
    return false;
}

bool is_a(const Meta_Class* mc, const char* class_name)
{
    for (; mc && class_name; mc = mc->super_meta_class)
        if (eqi(mc->name, class_name))
            return true;
    return false;
}

} // namespace cimple
