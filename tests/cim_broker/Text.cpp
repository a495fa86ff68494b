// Values, paths and their text: object paths and MOF-like instances.
#include <cinttypes>
#include <cstdio>
#include <strings.h>

#include "Broker.h"

namespace cimbroker {

Value Value::nullOf(CMPIType type)
{
    Value v;
    v.type = type;
    return v;
}

Value Value::string(const std::string& s)
{
    Value v;
    v.type = CMPI_string;
    v.null = false;
    v.text = s;
    return v;
}

Value Value::boolean(bool b)
{
    Value v;
    v.type = CMPI_boolean;
    v.null = false;
    v.scalar.boolean = b ? 1 : 0;
    return v;
}

Value Value::uint(CMPIType type, unsigned long long x)
{
    Value v;
    v.type = type;
    v.null = false;
    switch (type) {
    case CMPI_uint8:
        v.scalar.uint8 = static_cast<CMPIUint8>(x);
        break;
    case CMPI_uint16:
        v.scalar.uint16 = static_cast<CMPIUint16>(x);
        break;
    case CMPI_uint32:
        v.scalar.uint32 = static_cast<CMPIUint32>(x);
        break;
    default:
        v.scalar.uint64 = x;
        break;
    }
    return v;
}

Value Value::sint(CMPIType type, long long x)
{
    Value v;
    v.type = type;
    v.null = false;
    switch (type) {
    case CMPI_sint8:
        v.scalar.sint8 = static_cast<CMPISint8>(x);
        break;
    case CMPI_sint16:
        v.scalar.sint16 = static_cast<CMPISint16>(x);
        break;
    case CMPI_sint32:
        v.scalar.sint32 = static_cast<CMPISint32>(x);
        break;
    default:
        v.scalar.sint64 = x;
        break;
    }
    return v;
}

Value Value::real(CMPIType type, double x)
{
    Value v;
    v.type = type;
    v.null = false;
    if (type == CMPI_real32)
        v.scalar.real32 = static_cast<float>(x);
    else
        v.scalar.real64 = x;
    return v;
}

Value Value::char16(unsigned short c)
{
    Value v;
    v.type = CMPI_char16;
    v.null = false;
    v.scalar.char16 = c;
    return v;
}

Value Value::datetime(const std::string& cimText)
{
    Value v = string(cimText);
    v.type = CMPI_dateTime;
    return v;
}

Value Value::reference(const Path& p)
{
    Value v;
    v.type = CMPI_ref;
    v.null = false;
    v.ref = std::make_shared<Path>(p);
    return v;
}

Value Value::array(CMPIType elementType, std::vector<Value> elements)
{
    Value v;
    v.type = static_cast<CMPIType>(elementType | CMPI_ARRAY);
    v.null = false;
    v.elements = std::move(elements);
    return v;
}

namespace {

// The scalar as its type holds it, widened; false for non-numbers.
bool scalarBits(const Value& v, unsigned long long& bits)
{
    switch (v.type) {
    case CMPI_boolean:
        bits = v.scalar.boolean;
        return true;
    case CMPI_char16:
        bits = v.scalar.char16;
        return true;
    case CMPI_uint8:
        bits = v.scalar.uint8;
        return true;
    case CMPI_sint8:
        bits = static_cast<unsigned long long>(v.scalar.sint8);
        return true;
    case CMPI_uint16:
        bits = v.scalar.uint16;
        return true;
    case CMPI_sint16:
        bits = static_cast<unsigned long long>(v.scalar.sint16);
        return true;
    case CMPI_uint32:
        bits = v.scalar.uint32;
        return true;
    case CMPI_sint32:
        bits = static_cast<unsigned long long>(v.scalar.sint32);
        return true;
    case CMPI_uint64:
        bits = v.scalar.uint64;
        return true;
    case CMPI_sint64:
        bits = static_cast<unsigned long long>(v.scalar.sint64);
        return true;
    default:
        return false;
    }
}

void appendEscaped(std::string& out, const std::string& s)
{
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
}

std::string keyText(const Value& v)
{
    if (v.null)
        return "NULL";
    std::string out;
    if (v.type == CMPI_string || v.type == CMPI_dateTime || v.type == CMPI_ref) {
        out += '"';
        appendEscaped(out, v.type == CMPI_ref ? (v.ref ? v.ref->text() : std::string()) : v.text);
        out += '"';
        return out;
    }
    return valueText(v);
}

std::string mofString(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                snprintf(buf, sizeof buf, "\\x%04X", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

} // namespace

bool Value::operator==(const Value& o) const
{
    if (type != o.type || null != o.null)
        return false;
    if (null)
        return true;
    if (type & CMPI_ARRAY)
        return elements == o.elements;
    switch (type) {
    case CMPI_string:
    case CMPI_dateTime:
        return text == o.text;
    case CMPI_ref:
        return ref && o.ref && *ref == *o.ref;
    case CMPI_instance:
        return inst && o.inst && inst->path == o.inst->path && inst->props == o.inst->props;
    case CMPI_real32:
        return scalar.real32 == o.scalar.real32;
    case CMPI_real64:
        return scalar.real64 == o.scalar.real64;
    default: {
        unsigned long long a = 0, b = 0;
        return scalarBits(*this, a) && scalarBits(o, b) && a == b;
    }
    }
}

const Value* find(const Named& values, const std::string& name)
{
    for (const auto& v : values)
        if (strcasecmp(v.first.c_str(), name.c_str()) == 0)
            return &v.second;
    return nullptr;
}

std::string Path::text() const
{
    std::string out = ns.empty() ? cls : ns + ":" + cls;
    char sep = '.';
    for (const auto& k : keys) {
        out += sep;
        sep = ',';
        out += k.first + "=" + keyText(k.second);
    }
    return out;
}

bool Path::operator==(const Path& o) const
{
    return strcasecmp(ns.c_str(), o.ns.c_str()) == 0 && strcasecmp(cls.c_str(), o.cls.c_str()) == 0 &&
           keys == o.keys;
}

std::string valueText(const Value& v)
{
    if (v.null)
        return "NULL";
    if (v.type & CMPI_ARRAY) {
        std::string out = "{";
        for (size_t i = 0; i < v.elements.size(); i++)
            out += (i ? ", " : "") + valueText(v.elements[i]);
        return out + "}";
    }
    char buf[64];
    switch (v.type) {
    case CMPI_string:
    case CMPI_dateTime:
        return mofString(v.text);
    case CMPI_ref:
        return mofString(v.ref ? v.ref->text() : std::string());
    case CMPI_instance:
        return v.inst ? mofText(*v.inst) : "NULL";
    case CMPI_boolean:
        return v.scalar.boolean ? "true" : "false";
    case CMPI_char16:
        if (v.scalar.char16 >= 0x20 && v.scalar.char16 < 0x7F && v.scalar.char16 != '\'' && v.scalar.char16 != '\\')
            snprintf(buf, sizeof buf, "'%c'", static_cast<char>(v.scalar.char16));
        else
            snprintf(buf, sizeof buf, "'\\x%04X'", v.scalar.char16);
        return buf;
    case CMPI_real32:
        snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v.scalar.real32));
        return buf;
    case CMPI_real64:
        snprintf(buf, sizeof buf, "%.17g", v.scalar.real64);
        return buf;
    case CMPI_sint8:
    case CMPI_sint16:
    case CMPI_sint32:
    case CMPI_sint64: {
        long long s = v.type == CMPI_sint64   ? v.scalar.sint64
                      : v.type == CMPI_sint32 ? v.scalar.sint32
                      : v.type == CMPI_sint16 ? v.scalar.sint16
                                              : v.scalar.sint8;
        snprintf(buf, sizeof buf, "%lld", s);
        return buf;
    }
    default: {
        unsigned long long bits = 0;
        if (!scalarBits(v, bits))
            return "NULL";
        snprintf(buf, sizeof buf, "%llu", bits);
        return buf;
    }
    }
}

std::string mofText(const Inst& inst)
{
    std::string out = "instance of " + inst.path.cls + "\n{\n";
    for (const auto& p : inst.props)
        out += "    " + p.first + " = " + valueText(p.second) + ";\n";
    return out + "};\n";
}

const char* rcName(CMPIrc rc)
{
    switch (rc) {
#define RC(name) \
    case name:   \
        return #name;
        RC(CMPI_RC_OK)
        RC(CMPI_RC_ERR_FAILED)
        RC(CMPI_RC_ERR_ACCESS_DENIED)
        RC(CMPI_RC_ERR_INVALID_NAMESPACE)
        RC(CMPI_RC_ERR_INVALID_PARAMETER)
        RC(CMPI_RC_ERR_INVALID_CLASS)
        RC(CMPI_RC_ERR_NOT_FOUND)
        RC(CMPI_RC_ERR_NOT_SUPPORTED)
        RC(CMPI_RC_ERR_CLASS_HAS_CHILDREN)
        RC(CMPI_RC_ERR_CLASS_HAS_INSTANCES)
        RC(CMPI_RC_ERR_INVALID_SUPERCLASS)
        RC(CMPI_RC_ERR_ALREADY_EXISTS)
        RC(CMPI_RC_ERR_NO_SUCH_PROPERTY)
        RC(CMPI_RC_ERR_TYPE_MISMATCH)
        RC(CMPI_RC_ERR_QUERY_LANGUAGE_NOT_SUPPORTED)
        RC(CMPI_RC_ERR_INVALID_QUERY)
        RC(CMPI_RC_ERR_METHOD_NOT_AVAILABLE)
        RC(CMPI_RC_ERR_METHOD_NOT_FOUND)
        RC(CMPI_RC_DO_NOT_UNLOAD)
        RC(CMPI_RC_NEVER_UNLOAD)
        RC(CMPI_RC_ERR_INVALID_HANDLE)
        RC(CMPI_RC_ERR_INVALID_DATA_TYPE)
        RC(CMPI_RC_ERROR_SYSTEM)
        RC(CMPI_RC_ERROR)
#undef RC
    }
    return "CMPI_RC_(unknown)";
}

} // namespace cimbroker
