// Values between instances and CMPI objects.
#include "Convert.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>

#include "Types.h"

namespace cimple {
namespace cmpi {

namespace {

const int MAX_DEPTH = 8;

CMPIType cmpi_type(Type type)
{
    static const CMPIType types[] = {CMPI_boolean, CMPI_uint8,  CMPI_sint8,  CMPI_uint16, CMPI_sint16,
                                     CMPI_uint32,  CMPI_sint32, CMPI_uint64, CMPI_sint64, CMPI_real32,
                                     CMPI_real64,  CMPI_char16, CMPI_string, CMPI_dateTime};
    return types[type];
}

template <class T>
void release(T*& obj)
{
    if (obj && obj->ft && obj->ft->release)
        obj->ft->release(obj);
    obj = 0;
}

// ---- instance to CMPI -------------------------------------------------------

// The status of a broker call that made no object.
CMPIrc failed(const CMPIStatus& st) { return st.rc != CMPI_RC_OK ? st.rc : CMPI_RC_ERR_FAILED; }

// One element or scalar value, of the type of the property; a string or
// datetime is made into `s` or `dt` (released by the caller).
template <class T>
CMPIrc scalar_to(const CMPIBroker* mb, Type type, const T& x, CMPIValue& v, CMPIString*& s, CMPIDateTime*& dt)
{
    if constexpr (std::is_same<T, String>::value) {
        CMPIStatus st = {CMPI_RC_OK, 0};
        s = mb->eft->newString(mb, x.c_str(), &st);
        if (!s)
            return failed(st);
        v.string = s;
    } else if constexpr (std::is_same<T, Datetime>::value) {
        String text;
        x.ascii(text);
        CMPIStatus st = {CMPI_RC_OK, 0};
        dt = mb->eft->newDateTimeFromChars(mb, text.c_str(), &st);
        if (!dt)
            return failed(st);
        v.dateTime = dt;
    } else if constexpr (std::is_same<T, boolean>::value) {
        v.boolean = x ? 1 : 0;
    } else if constexpr (std::is_same<T, real32>::value) {
        v.real32 = x;
    } else if constexpr (std::is_same<T, real64>::value) {
        v.real64 = x;
    } else {
        switch (type) {
        case UINT8:
            v.uint8 = static_cast<CMPIUint8>(x);
            break;
        case SINT8:
            v.sint8 = static_cast<CMPISint8>(x);
            break;
        case UINT16:
            v.uint16 = static_cast<CMPIUint16>(x);
            break;
        case SINT16:
            v.sint16 = static_cast<CMPISint16>(x);
            break;
        case UINT32:
            v.uint32 = static_cast<CMPIUint32>(x);
            break;
        case SINT32:
            v.sint32 = static_cast<CMPISint32>(x);
            break;
        case UINT64:
            v.uint64 = static_cast<CMPIUint64>(x);
            break;
        case SINT64:
            v.sint64 = static_cast<CMPISint64>(x);
            break;
        case CHAR16:
        default:
            v.char16 = static_cast<CMPIChar16>(x);
            break;
        }
    }
    return CMPI_RC_OK;
}

bool in_list(const char** props, const char* name)
{
    for (; *props; props++)
        if (eqi(*props, name))
            return true;
    return false;
}

// ---- CMPI to instance -------------------------------------------------------

typedef __int128 Wide;

bool parse_integer(const char* s, Wide& out)
{
    if (!s || !*s)
        return false;
    bool neg = *s == '-';
    if (*s == '-' || *s == '+')
        s++;
    if (!*s)
        return false;
    Wide v = 0;
    for (int n = 0; *s; s++, n++) {
        if (*s < '0' || *s > '9' || n >= 20)
            return false;
        v = v * 10 + (*s - '0');
    }
    out = neg ? -v : v;
    return true;
}

bool parse_real(const char* s, double& out)
{
    if (!s || !*s)
        return false;
    char* end = 0;
    errno = 0;
    out = strtod(s, &end);
    return end && !*end && errno == 0;
}

bool integer_of(const CMPIValue& v, CMPIType t, Wide& out)
{
    switch (t) {
    case CMPI_uint8:
        out = v.uint8;
        return true;
    case CMPI_sint8:
        out = v.sint8;
        return true;
    case CMPI_uint16:
        out = v.uint16;
        return true;
    case CMPI_sint16:
        out = v.sint16;
        return true;
    case CMPI_uint32:
        out = v.uint32;
        return true;
    case CMPI_sint32:
        out = v.sint32;
        return true;
    case CMPI_uint64:
        out = v.uint64;
        return true;
    case CMPI_sint64:
        out = v.sint64;
        return true;
    default:
        return false;
    }
}

// The text of a string value, or null when the value is not text.
const char* text_of(const CMPIValue& v, CMPIType t)
{
    if (t == CMPI_chars)
        return v.chars;
    if (t == CMPI_string)
        return v.string ? chars(v.string) : 0;
    return 0;
}

template <class T>
CMPIrc scalar_from(Type type, const CMPIValue& v, CMPIType t, T& out)
{
    const char* text = text_of(v, t);
    if constexpr (std::is_same<T, String>::value) {
        if (!text)
            return CMPI_RC_ERR_TYPE_MISMATCH;
        out.assign(text);
    } else if constexpr (std::is_same<T, Datetime>::value) {
        if (t == CMPI_dateTime && v.dateTime) {
            CMPIStatus st = {CMPI_RC_OK, 0};
            CMPIString* s = v.dateTime->ft->getStringFormat(v.dateTime, &st);
            bool ok = s && out.set(chars(s));
            release(s);
            return ok ? CMPI_RC_OK : CMPI_RC_ERR_TYPE_MISMATCH;
        }
        if (!text || !out.set(text))
            return CMPI_RC_ERR_TYPE_MISMATCH;
    } else if constexpr (std::is_same<T, boolean>::value) {
        if (t == CMPI_boolean)
            out = v.boolean != 0;
        else if (text && eqi(text, "true"))
            out = true;
        else if (text && eqi(text, "false"))
            out = false;
        else
            return CMPI_RC_ERR_TYPE_MISMATCH;
    } else if constexpr (std::is_floating_point<T>::value) {
        double d = 0;
        Wide w = 0;
        if (t == CMPI_real32)
            d = v.real32;
        else if (t == CMPI_real64)
            d = v.real64;
        else if (integer_of(v, t, w))
            d = static_cast<double>(w);
        else if (!parse_real(text, d))
            return CMPI_RC_ERR_TYPE_MISMATCH;
        if (std::is_same<T, real32>::value && std::isfinite(d) &&
            std::fabs(d) > static_cast<double>(std::numeric_limits<real32>::max()))
            return CMPI_RC_ERR_TYPE_MISMATCH;
        out = static_cast<T>(d);
    } else {
        Wide w = 0;
        if (type == CHAR16) {
            if (t == CMPI_char16)
                w = v.char16;
            else if (text && text[0] && !text[1])
                w = static_cast<unsigned char>(text[0]);
            else
                return CMPI_RC_ERR_TYPE_MISMATCH;
        } else if (!integer_of(v, t, w) && !parse_integer(text, w)) {
            return CMPI_RC_ERR_TYPE_MISMATCH;
        }
        if (w < static_cast<Wide>(std::numeric_limits<T>::min()) || w > static_cast<Wide>(std::numeric_limits<T>::max()))
            return CMPI_RC_ERR_TYPE_MISMATCH;
        out = static_cast<T>(w);
    }
    return CMPI_RC_OK;
}

template <class T>
CMPIrc array_from(Type type, const CMPIData& d, Array<T>& out)
{
    if (!(d.type & CMPI_ARRAY) || !d.value.array)
        return CMPI_RC_ERR_TYPE_MISMATCH;
    const CMPIArray* arr = d.value.array;
    CMPIStatus st = {CMPI_RC_OK, 0};
    CMPICount n = arr->ft->getSize(arr, &st);
    if (st.rc != CMPI_RC_OK)
        return CMPI_RC_ERR_TYPE_MISMATCH;
    Array<T> result;
    result.reserve(n);
    for (CMPICount i = 0; i < n; i++) {
        CMPIData e = arr->ft->getElementAt(arr, i, &st);
        if (st.rc != CMPI_RC_OK || (e.state & CMPI_nullValue))
            return CMPI_RC_ERR_TYPE_MISMATCH;
        T x{};
        CMPIrc rc = scalar_from(type, e.value, e.type & ~CMPI_ARRAY, x);
        if (rc != CMPI_RC_OK)
            return rc;
        result.append(x);
    }
    out = result;
    return CMPI_RC_OK;
}

} // namespace

Out_Value::~Out_Value()
{
    release(array);
    release(string);
    release(datetime);
    release(ref);
}

const char* chars(const CMPIString* s)
{
    if (!s || !s->ft)
        return "";
    const char* p = s->ft->getCharPtr(s, 0);
    return p ? p : "";
}

String path_namespace(const CMPIObjectPath* op)
{
    CMPIStatus st = {CMPI_RC_OK, 0};
    CMPIString* s = op->ft->getNameSpace(op, &st);
    String ns(chars(s));
    release(s);
    return ns;
}

String path_class(const CMPIObjectPath* op)
{
    CMPIStatus st = {CMPI_RC_OK, 0};
    CMPIString* s = op->ft->getClassName(op, &st);
    String cls(chars(s));
    release(s);
    return cls;
}

CMPIrc to_value(const CMPIBroker* mb, const char* ns, const Meta_Feature* f, const Instance* inst, Out_Value& out)
{
    if (is_reference(f)) {
        out.type = CMPI_ref;
        const Instance* end = f->get_ref(inst);
        if (!end)
            return CMPI_RC_OK;
        CMPIStatus st = {CMPI_RC_OK, 0};
        out.ref = make_path(mb, ns, end, &st);
        if (!out.ref)
            return failed(st);
        out.value.ref = out.ref;
        out.null = false;
        return CMPI_RC_OK;
    }
    return with_type(f->type, f->array, [&](auto tag) -> CMPIrc {
        typedef typename decltype(tag)::type T;
        const Property<T>* p = field<T>(f, inst);
        out.type = cmpi_type(f->type) | (f->array ? CMPI_ARRAY : 0);
        if (p->null)
            return CMPI_RC_OK;
        if constexpr (Is_Array<T>::value) {
            CMPIStatus st = {CMPI_RC_OK, 0};
            CMPIType element = cmpi_type(f->type);
            out.array = mb->eft->newArray(mb, static_cast<CMPICount>(p->value.size()), element, &st);
            if (!out.array)
                return failed(st);
            for (size_t i = 0; i < p->value.size(); i++) {
                CMPIValue v;
                CMPIString* s = 0;
                CMPIDateTime* dt = 0;
                CMPIrc rc = scalar_to(mb, f->type, p->value[i], v, s, dt);
                if (rc == CMPI_RC_OK)
                    rc = out.array->ft->setElementAt(out.array, static_cast<CMPICount>(i), &v, element).rc;
                release(s);
                release(dt);
                if (rc != CMPI_RC_OK)
                    return rc;
            }
            out.value.array = out.array;
        } else {
            CMPIrc rc = scalar_to(mb, f->type, p->value, out.value, out.string, out.datetime);
            if (rc != CMPI_RC_OK)
                return rc;
        }
        out.null = false;
        return CMPI_RC_OK;
    });
}

CMPIObjectPath* make_path(const CMPIBroker* mb, const char* ns, const Instance* inst, CMPIStatus* st)
{
    const char* own = inst->_name_space.c_str();
    const char* path_ns = *own ? own : ns;
    const Meta_Class* mc = inst->meta_class;
    CMPIObjectPath* op = mb->eft->newObjectPath(mb, path_ns, mc->name, st);
    if (!op)
        return 0;
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if (!is_key(f) || !(is_property(f) || is_reference(f)))
            continue;
        Out_Value v;
        CMPIrc rc = to_value(mb, path_ns, f, inst, v);
        if (rc == CMPI_RC_OK && !v.null)
            rc = op->ft->addKey(op, f->name, v.ptr(), v.type).rc;
        if (rc != CMPI_RC_OK) {
            release(op);
            if (st)
                st->rc = rc;
            return 0;
        }
    }
    return op;
}

CMPIInstance* make_instance(const CMPIBroker* mb, const char* ns, const Instance* inst, const char** props,
                            CMPIStatus* st)
{
    const char* own = inst->_name_space.c_str();
    const char* inst_ns = *own ? own : ns;
    CMPIObjectPath* op = make_path(mb, inst_ns, inst, st);
    if (!op)
        return 0;
    CMPIInstance* ci = mb->eft->newInstance(mb, op, st);
    release(op);
    if (!ci)
        return 0;
    const Meta_Class* mc = inst->meta_class;
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if (!(is_property(f) || is_reference(f)))
            continue;
        if (props && !is_key(f) && !in_list(props, f->name))
            continue;
        Out_Value v;
        CMPIrc rc = to_value(mb, inst_ns, f, inst, v);
        if (rc == CMPI_RC_OK)
            rc = ci->ft->setProperty(ci, f->name, v.ptr(), v.type).rc;
        if (rc != CMPI_RC_OK) {
            release(ci);
            if (st)
                st->rc = rc;
            return 0;
        }
    }
    return ci;
}

CMPIrc from_data(const CMPIData& d, const Meta_Feature* f, Instance* inst, const Meta_Repository* repo, Mode mode,
                 int depth)
{
    if ((d.state & CMPI_nullValue) || d.type == CMPI_null) {
        if (is_reference(f)) {
            destroy(f->get_ref(inst));
            f->set_ref(inst, 0);
        } else {
            with_type(f->type, f->array, [&](auto tag) { field<typename decltype(tag)::type>(f, inst)->clear(); });
        }
        return CMPI_RC_OK;
    }
    if (is_reference(f)) {
        if (d.type != CMPI_ref || !d.value.ref)
            return CMPI_RC_ERR_TYPE_MISMATCH;
        CMPIrc rc = CMPI_RC_OK;
        Instance* end = from_path(d.value.ref, f->meta_class, repo, mode, &rc, depth + 1);
        if (!end)
            return rc;
        destroy(f->get_ref(inst));
        f->set_ref(inst, end);
        return CMPI_RC_OK;
    }
    return with_type(f->type, f->array, [&](auto tag) -> CMPIrc {
        typedef typename decltype(tag)::type T;
        T value{};
        CMPIrc rc;
        if constexpr (Is_Array<T>::value)
            rc = array_from(f->type, d, value);
        else
            rc = (d.type & CMPI_ARRAY) ? CMPI_RC_ERR_TYPE_MISMATCH : scalar_from(f->type, d.value, d.type, value);
        if (rc == CMPI_RC_OK)
            field<T>(f, inst)->set(value);
        return rc;
    });
}

Instance* from_path(const CMPIObjectPath* op, const Meta_Class* mc, const Meta_Repository* repo, Mode mode,
                    CMPIrc* rc, int depth)
{
    *rc = CMPI_RC_ERR_INVALID_PARAMETER;
    if (!op || !op->ft || depth > MAX_DEPTH)
        return 0;
    String cls = path_class(op);
    const Meta_Class* target = mc;
    const Meta_Class* named = find_meta_class(repo, cls.c_str());
    if (named && is_subclass(mc, named))
        target = named;
    else if (mode == STRICT && !is_a(mc, cls.c_str()))
        return 0;
    Instance* inst = create(target, true);
    if (!inst) {
        *rc = CMPI_RC_ERR_FAILED;
        return 0;
    }
    inst->_name_space = path_namespace(op);
    for (size_t i = 0; i < target->num_features; i++) {
        const Meta_Feature* f = target->features[i];
        if (!is_key(f) || !(is_property(f) || is_reference(f)))
            continue;
        CMPIStatus st = {CMPI_RC_OK, 0};
        CMPIData d = op->ft->getKey(op, f->name, &st);
        bool missing = st.rc != CMPI_RC_OK || (d.state & (CMPI_notFound | CMPI_nullValue)) || d.type == CMPI_null;
        CMPIrc krc = missing ? CMPI_RC_ERR_INVALID_PARAMETER : from_data(d, f, inst, repo, mode, depth);
        if (krc != CMPI_RC_OK && mode == STRICT) {
            destroy(inst);
            *rc = CMPI_RC_ERR_INVALID_PARAMETER;
            return 0;
        }
    }
    *rc = CMPI_RC_OK;
    return inst;
}

Instance* from_instance(const CMPIInstance* ci, const Meta_Class* mc, const Meta_Repository* repo, Mode mode,
                        CMPIrc* rc)
{
    *rc = CMPI_RC_ERR_INVALID_PARAMETER;
    if (!ci || !ci->ft)
        return 0;
    Instance* inst = create(mc, true);
    if (!inst) {
        *rc = CMPI_RC_ERR_FAILED;
        return 0;
    }
    CMPIStatus st = {CMPI_RC_OK, 0};
    CMPIObjectPath* op = ci->ft->getObjectPath(ci, &st);
    if (op) {
        inst->_name_space = path_namespace(op);
        release(op);
    }
    for (size_t i = 0; i < mc->num_features; i++) {
        const Meta_Feature* f = mc->features[i];
        if (!(is_property(f) || is_reference(f)))
            continue;
        st.rc = CMPI_RC_OK;
        CMPIData d = ci->ft->getProperty(ci, f->name, &st);
        if (st.rc != CMPI_RC_OK || (d.state & CMPI_notFound))
            continue;
        if (from_data(d, f, inst, repo, mode) != CMPI_RC_OK && mode == STRICT) {
            destroy(inst);
            return 0;
        }
    }
    *rc = CMPI_RC_OK;
    return inst;
}

} // namespace cmpi
} // namespace cimple
