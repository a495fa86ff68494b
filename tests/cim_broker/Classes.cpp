// The broker's class repository: the classes a provider module was built
// with, read from the meta records its cimple_module record reaches, as a
// CIM server holds them after compiling the module's class file.
#include <dlfcn.h>
#include <strings.h>

#include <cstring>
#include <set>

#include <cimple/Provider.h>

#include "Objects.h"

namespace cimbroker {

namespace {

CMPIType cmpiType(cimple::Type type)
{
    switch (type) {
    case cimple::BOOLEAN:
        return CMPI_boolean;
    case cimple::UINT8:
        return CMPI_uint8;
    case cimple::SINT8:
        return CMPI_sint8;
    case cimple::UINT16:
        return CMPI_uint16;
    case cimple::SINT16:
        return CMPI_sint16;
    case cimple::UINT32:
        return CMPI_uint32;
    case cimple::SINT32:
        return CMPI_sint32;
    case cimple::UINT64:
        return CMPI_uint64;
    case cimple::SINT64:
        return CMPI_sint64;
    case cimple::REAL32:
        return CMPI_real32;
    case cimple::REAL64:
        return CMPI_real64;
    case cimple::CHAR16:
        return CMPI_char16;
    case cimple::STRING:
        return CMPI_string;
    case cimple::DATETIME:
        return CMPI_dateTime;
    }
    return CMPI_null;
}

FeatureDef featureOf(const cimple::Meta_Feature* f)
{
    FeatureDef d;
    d.name = f->name;
    if (f->flags & cimple::CIMPLE_FLAG_REFERENCE)
        d.type = CMPI_ref;
    else
        d.type = static_cast<CMPIType>(cmpiType(f->type) | (f->array ? CMPI_ARRAY : 0));
    d.key = (f->flags & cimple::CIMPLE_FLAG_KEY) != 0;
    d.out = (f->flags & cimple::CIMPLE_FLAG_OUT) != 0;
    return d;
}

ClassDef classOf(const cimple::Meta_Class* mc)
{
    ClassDef c;
    c.name = mc->name;
    for (size_t i = 0; i < mc->num_features; i++) {
        const cimple::Meta_Feature* f = mc->features[i];
        if (f->flags & (cimple::CIMPLE_FLAG_PROPERTY | cimple::CIMPLE_FLAG_REFERENCE)) {
            c.props.push_back(featureOf(f));
        } else if ((f->flags & cimple::CIMPLE_FLAG_METHOD) && f->meta_class) {
            MethodDef m;
            m.name = f->name;
            m.type = cmpiType(f->type);
            // The parameters' record ends with the return value, which goes
            // through the result, not the arguments.
            for (size_t j = 0; j < f->meta_class->num_features; j++) {
                const cimple::Meta_Feature* p = f->meta_class->features[j];
                if (strcasecmp(p->name, "return_value") != 0)
                    m.params.push_back(featureOf(p));
            }
            c.methods.push_back(m);
        }
    }
    return c;
}

} // namespace

const FeatureDef* findFeature(const std::vector<FeatureDef>& features, const char* name)
{
    if (!name)
        return nullptr;
    // Names of another length are passed over without comparing them.
    const size_t length = strlen(name);
    for (const FeatureDef& f : features)
        if (f.name.size() == length && strcasecmp(f.name.c_str(), name) == 0)
            return &f;
    return nullptr;
}

const MethodDef* findMethod(const ClassDef& c, const char* name)
{
    for (const MethodDef& m : c.methods)
        if (name && strcasecmp(m.name.c_str(), name) == 0)
            return &m;
    return nullptr;
}

void readClassTable(void* module, std::map<std::string, ClassDef>& classes)
{
    auto entry = reinterpret_cast<cimple::Module* (*)()>(dlsym(module, "cimple_module"));
    cimple::Module* m = entry ? entry() : nullptr;
    if (!m)
        return;
    std::set<const cimple::Meta_Repository*> read;
    for (cimple::Registration* r = m->registrations; r; r = r->next) {
        const cimple::Meta_Repository* repository = nullptr;
        r->proc(r, cimple::OPERATION_GET_REPOSITORY, &repository, 0, 0, 0, 0, 0, 0, 0);
        if (!repository || !read.insert(repository).second)
            continue;
        for (size_t i = 0; i < repository->num_meta_classes; i++) {
            const cimple::Meta_Class* mc = repository->meta_classes[i];
            classes.emplace(lower(mc->name), classOf(mc));
        }
    }
}

const ClassDef* Broker::Internals::findClass(const std::string& name, bool* known) const
{
    std::lock_guard<std::mutex> g(classesMutex);
    if (known)
        *known = !classes.empty();
    auto it = classes.find(lower(name));
    return it == classes.end() ? nullptr : &it->second;
}

} // namespace cimbroker
