// Generic operations on instances, driven by their meta records.
#include <cimple/Handler.h>
#include <cimple/Instance.h>
#include <cimple/Instance_Map.h>

#include <cinttypes>
#include <cstdio>
#include <functional>
#include <string>
#include <type_traits>

#include "Types.h"

namespace cimple {

namespace {

void clear_feature(const Meta_Feature* f, Instance* inst, bool null)
{
    if (is_reference(f)) {
        destroy(f->get_ref(inst));
        f->set_ref(inst, 0);
        return;
    }
    with_type(f->type, f->array, [&](auto tag) {
        typedef typename decltype(tag)::type T;
        Property<T>* p = field<T>(f, inst);
        p->value = T();
        p->null = null ? 1 : 0;
    });
}

bool property_equal(const Meta_Feature* f, const Instance* a, const Instance* b)
{
    return with_type(f->type, f->array, [&](auto tag) {
        typedef typename decltype(tag)::type T;
        const Property<T>* x = field<T>(f, a);
        const Property<T>* y = field<T>(f, b);
        if (x->null || y->null)
            return x->null == y->null;
        return static_cast<bool>(x->value == y->value);
    });
}

// A key value in the text of a model path.
void append_quoted(String& out, const char* s)
{
    out.append('"');
    for (; *s; s++) {
        if (*s == '"' || *s == '\\')
            out.append('\\');
        out.append(*s);
    }
    out.append('"');
}

template <class T>
void append_value(String& out, const T& v)
{
    char buf[64];
    if constexpr (std::is_same<T, String>::value) {
        append_quoted(out, v.c_str());
        return;
    } else if constexpr (std::is_same<T, Datetime>::value) {
        String text;
        v.ascii(text);
        append_quoted(out, text.c_str());
        return;
    } else if constexpr (std::is_same<T, boolean>::value) {
        snprintf(buf, sizeof buf, "%s", v ? "true" : "false");
    } else if constexpr (std::is_same<T, real32>::value) {
        snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    } else if constexpr (std::is_same<T, real64>::value) {
        snprintf(buf, sizeof buf, "%.17g", v);
    } else if constexpr (std::is_signed<T>::value) {
        snprintf(buf, sizeof buf, "%" PRId64, static_cast<sint64>(v));
    } else {
        snprintf(buf, sizeof buf, "%" PRIu64, static_cast<uint64>(v));
    }
    out.append(buf);
}

} // namespace

Instance* create(const Meta_Class* mc, bool defaults)
{
    if (!mc || !mc->construct)
        return 0;
    Instance* inst = mc->construct();
    if (!inst)
        return 0;
    inst->meta_class = mc;
    clear_properties(inst, defaults);
    return inst;
}

void clear_properties(Instance* inst, bool null)
{
    if (!inst)
        return;
    const Meta_Class* mc = inst->meta_class;
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if (is_property(f) || is_reference(f))
            clear_feature(f, inst, null);
    }
}

Instance* clone(const Instance* inst)
{
    if (!inst)
        return 0;
    const Meta_Class* mc = inst->meta_class;
    Instance* copy = create(mc, true);
    if (!copy)
        return 0;
    copy->_name_space = inst->_name_space;
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if (is_reference(f)) {
            const Instance* end = f->get_ref(inst);
            Instance* end_copy = clone(end);
            if (end && !end_copy) {
                destroy(copy);
                return 0;
            }
            f->set_ref(copy, end_copy);
        } else if (is_property(f)) {
            with_type(f->type, f->array, [&](auto tag) {
                typedef typename decltype(tag)::type T;
                *field<T>(f, copy) = *field<T>(f, inst);
            });
        }
    }
    return copy;
}

void destroy(Instance* inst)
{
    if (!inst)
        return;
    const Meta_Class* mc = inst->meta_class;
    for (size_t i = 0; i < mc->num_features; i++)
        if (is_reference(mc->features[i]))
            destroy(mc->features[i]->get_ref(inst));
    mc->destruct(inst);
}

bool keys_equal(const Meta_Class* mc, const Instance* a, const Instance* b)
{
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if (!is_key(f))
            continue;
        if (is_reference(f)) {
            const Instance* x = f->get_ref(a);
            const Instance* y = f->get_ref(b);
            if (x != y && !key_eq(x, y))
                return false;
        } else if (is_property(f) && !property_equal(f, a, b)) {
            return false;
        }
    }
    return true;
}

bool key_eq(const Instance* a, const Instance* b)
{
    if (!a || !b || a->meta_class != b->meta_class)
        return false;
    return keys_equal(a->meta_class, a, b);
}

bool identical(const Instance* a, const Instance* b)
{
    if (!a || !b)
        return a == b;
    if (a->meta_class != b->meta_class || a->_name_space != b->_name_space)
        return false;
    const Meta_Class* mc = a->meta_class;
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if (is_reference(f)) {
            if (!identical(f->get_ref(a), f->get_ref(b)))
                return false;
        } else if (is_property(f) && !property_equal(f, a, b)) {
            return false;
        }
    }
    return true;
}

int instance_to_model_path(const Instance* inst, String& path)
{
    path.clear();
    if (!inst)
        return -1;
    const Meta_Class* mc = inst->meta_class;
    path.append(mc->name);
    bool first = true;
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if (!is_key(f) || !(is_property(f) || is_reference(f)))
            continue;
        path.append(first ? '.' : ',');
        first = false;
        path.append(f->name);
        path.append('=');
        if (is_reference(f)) {
            String nested;
            instance_to_model_path(f->get_ref(inst), nested);
            append_quoted(path, nested.c_str());
        } else {
            with_type(f->type, f->array, [&](auto tag) {
                typedef typename decltype(tag)::type T;
                // Keys are never arrays (the class table refuses them).
                if constexpr (!Is_Array<T>::value)
                    append_value(path, field<T>(f, inst)->value);
            });
        }
    }
    return 0;
}

// ---- Instance_Map ---------------------------------------------------------------

namespace {

void mix(size_t& h, size_t v) { h ^= v + 0x9e3779b9u + (h << 6) + (h >> 2); }

// A hash of one key value, equal for values that property_equal finds equal.
template <class T>
size_t value_hash(const T& v)
{
    if constexpr (std::is_same<T, String>::value) {
        return std::hash<std::string>()(v.str());
    } else if constexpr (std::is_same<T, Datetime>::value) {
        // Equal datetimes agree in these two; the UTC offset of an interval
        // does not count.
        return std::hash<uint64>()(v.usec()) ^ (v.is_interval() ? 1 : 0);
    } else if constexpr (std::is_floating_point<T>::value) {
        // 0.0 and -0.0 are equal; NaN equals nothing, so its hash is free.
        return v == 0 ? 0 : std::hash<T>()(v);
    } else if constexpr (Is_Array<T>::value) {
        // Keys are never arrays (the class table refuses them).
        return v.size();
    } else {
        return std::hash<T>()(v);
    }
}

// A hash of the key values of `inst` (null: a fixed value), equal for
// instances that key_eq finds equal. A key reference adds the referenced
// instance's class and the hash of its keys.
size_t key_hash(const Instance* inst)
{
    if (!inst)
        return 0x5bd1e995u;
    const Meta_Class* mc = inst->meta_class;
    size_t h = std::hash<const void*>()(mc);
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if (!is_key(f))
            continue;
        if (is_reference(f)) {
            mix(h, key_hash(f->get_ref(inst)));
        } else if (is_property(f)) {
            with_type(f->type, f->array, [&](auto tag) {
                typedef typename decltype(tag)::type T;
                const Property<T>* p = field<T>(f, inst);
                mix(h, p->null ? 0x27d4eb2fu : value_hash(p->value));
            });
        }
    }
    return h;
}

} // namespace

Instance_Map_Base::~Instance_Map_Base() { clear(); }

int Instance_Map_Base::insert(Instance* inst)
{
    if (!inst)
        return -1;
    if (inst->meta_class != _mc || find(inst) >= 0) {
        destroy(inst);
        return -1;
    }
    _index.emplace(key_hash(inst), _entries.size());
    _entries.push_back(inst);
    return 0;
}

long Instance_Map_Base::find(const Instance* model) const
{
    // Every entry is of the map's class; key_eq finds no other class equal.
    if (!model || model->meta_class != _mc)
        return -1;
    // The first entry with these keys; an insertion refuses a second one.
    long first = -1;
    auto range = _index.equal_range(key_hash(model));
    for (auto it = range.first; it != range.second; ++it) {
        const long pos = static_cast<long>(it->second);
        if ((first < 0 || pos < first) && key_eq(_entries[it->second], model))
            first = pos;
    }
    return first;
}

Instance* Instance_Map_Base::lookup(const Instance* model) const
{
    long pos = find(model);
    return pos < 0 ? 0 : _entries[static_cast<size_t>(pos)];
}

void Instance_Map_Base::remove(size_t pos) { destroy(take(pos)); }

Instance* Instance_Map_Base::take(size_t pos)
{
    if (pos >= _entries.size())
        return 0;
    Instance* inst = _entries[pos];
    _entries.erase(_entries.begin() + static_cast<long>(pos));
    for (auto it = _index.begin(); it != _index.end();) {
        if (it->second == pos) {
            it = _index.erase(it);
            continue;
        }
        if (it->second > pos)
            it->second--;
        ++it;
    }
    return inst;
}

std::vector<Instance*> Instance_Map_Base::take_all()
{
    std::vector<Instance*> out;
    out.swap(_entries);
    _index.clear();
    return out;
}

void Instance_Map_Base::clear()
{
    for (Instance* inst : _entries)
        destroy(inst);
    _entries.clear();
    _index.clear();
}

// ---- handlers ---------------------------------------------------------------------

Instance_Handler_Base::~Instance_Handler_Base()
{
    if (_init.release)
        _init.release(_init.data);
}

bool Instance_Handler_Base::deliver(Instance* inst)
{
    if (!inst)
        return false;
    if (!_init.proc) {
        destroy(inst);
        return false;
    }
    return _init.proc(inst, _init.data);
}

} // namespace cimple
