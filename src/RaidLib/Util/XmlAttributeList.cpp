#include "RaidLib/Util/XmlAttributeList.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "RaidLib/Util/StrToNum32.h"

namespace {

const uint32_t kEntry = static_cast<uint32_t>(sizeof(SimpleXmlAttribute_S));

// n entries in bytes; more than the array can count is an allocation failure.
uint32_t entryBytes(uint32_t n)
{
    const uint64_t bytes = static_cast<uint64_t>(n) * kEntry;
    if (bytes > UINT32_MAX)
        throw DynamicBufferException(DynamicBufferException::ALLOC_FAILED);
    return static_cast<uint32_t>(bytes);
}

const char* orEmpty(const char* s) { return s != nullptr ? s : ""; }

bool toBool(const char* v) { return v != nullptr && (v[0] == 't' || v[0] == 'T' || v[0] == '1'); }

uint64_t toU64(const char* v)
{
    if (v == nullptr)
        return 0;
    const double d = std::strtod(v, nullptr);
    // Defined for every double: NaN gives 0, values beyond the range
    // saturate, negative values wrap like an unsigned conversion of the
    // truncated integer.
    if (std::isnan(d))
        return 0;
    if (d >= 18446744073709551616.0)
        return UINT64_MAX;
    if (d >= 0)
        return static_cast<uint64_t>(d);
    if (d <= -9223372036854775808.0)
        return static_cast<uint64_t>(INT64_MIN);
    return static_cast<uint64_t>(static_cast<int64_t>(d));
}

} // namespace

XmlAttributeList_C::XmlAttributeList_C(uint32_t n, uint32_t g) : attribList(entryBytes(n), entryBytes(g))
{
}

void XmlAttributeList_C::setInitElements(uint32_t n)
{
    attribList.AllocTo(entryBytes(n));
    attribList.SetGrowBy(kEntry);
}

void XmlAttributeList_C::setInitElements(uint32_t n, uint32_t g)
{
    attribList.SetGrowBy(entryBytes(g));
    attribList.AllocTo(entryBytes(n));
}

void XmlAttributeList_C::Append(const char* name, const char* value)
{
    if (name == nullptr)
        return;
    const SimpleXmlAttribute_S entry = {name, orEmpty(value)};
    attribList.Insert(-1, entry);
}

const char* XmlAttributeList_C::find(const char* name) const
{
    if (name == nullptr)
        return nullptr;
    for (const SimpleXmlAttribute_S& a : attribList)
        if (std::strcmp(a.pName, name) == 0)
            return a.pValue;
    return nullptr;
}

const char* XmlAttributeList_C::valueAt(int32_t i) const
{
    return (i >= 0 && i < attribList.NumEntries()) ? attribList[i].pValue : nullptr;
}

bool XmlAttributeList_C::Exists(const char* name) const { return find(name) != nullptr; }

const char* XmlAttributeList_C::GetName(int32_t i) const
{
    return (i >= 0 && i < attribList.NumEntries()) ? attribList[i].pName : nullptr;
}

const char* XmlAttributeList_C::GetValue(int32_t i) const { return orEmpty(valueAt(i)); }
const char* XmlAttributeList_C::GetValue(const char* name) const { return orEmpty(find(name)); }

int32_t XmlAttributeList_C::GetLong(int32_t i) const { return strToI32(valueAt(i), 10); }
int32_t XmlAttributeList_C::GetLong(const char* name) const { return strToI32(find(name), 10); }

uint32_t XmlAttributeList_C::GetULong(int32_t i) const { return strToU32(valueAt(i), 10); }
uint32_t XmlAttributeList_C::GetULong(const char* name) const { return strToU32(find(name), 10); }

int64_t XmlAttributeList_C::GetI64(int32_t i) const { return strToI32(valueAt(i), 10); }
int64_t XmlAttributeList_C::GetI64(const char* name) const { return strToI32(find(name), 10); }

uint64_t XmlAttributeList_C::GetU64(int32_t i) const { return toU64(valueAt(i)); }
uint64_t XmlAttributeList_C::GetU64(const char* name) const { return toU64(find(name)); }

bool XmlAttributeList_C::GetBool(int32_t i) const { return toBool(valueAt(i)); }
bool XmlAttributeList_C::GetBool(const char* name) const { return toBool(find(name)); }
