#ifndef XMLATTRIBUTELIST_H
#define XMLATTRIBUTELIST_H

#include <cstdint>

#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/byref-array.h"

// One attribute: pointers into the parsed text, not owned.
struct SimpleXmlAttribute_S {
    const char* pName;
    const char* pValue;
};

// The attributes of one XML element by name, with typed getters. Names are
// compared whole and case-sensitively; by-name operations use the first
// entry of that name. Absent entries read as an empty text, 0 or false.
class STOR_EXPORT XmlAttributeList_C {
public:
    // Room for n entries and a growth step of g entries.
    explicit XmlAttributeList_C(uint32_t n = 0, uint32_t g = 1);

    // Room for n entries, then a growth step of one entry.
    void setInitElements(uint32_t n);
    // A growth step of g entries, then room for n entries.
    void setInitElements(uint32_t n, uint32_t g);

    // Stores the two pointers; a null value is stored as an empty text, a
    // null name is ignored. Throws std::bad_alloc when the list cannot grow
    // (the entries already held are kept).
    void Append(const char* name, const char* value);

    bool Exists(const char* name) const;
    // Null when i is not an index of the list.
    const char* GetName(int32_t i) const;
    const char* GetValue(int32_t i) const;
    const char* GetValue(const char* name) const;
    // Decimal, as 32-bit strtol.
    int32_t GetLong(int32_t i) const;
    int32_t GetLong(const char* name) const;
    // Decimal, as 32-bit strtoul: overflow gives 4294967295, negative wraps.
    uint32_t GetULong(int32_t i) const;
    uint32_t GetULong(const char* name) const;
    // The 32-bit signed conversion, widened.
    int64_t GetI64(int32_t i) const;
    int64_t GetI64(const char* name) const;
    // The value read as a decimal floating-point number, fraction dropped.
    uint64_t GetU64(int32_t i) const;
    uint64_t GetU64(const char* name) const;
    // True when the value starts with "t", "T" or "1".
    bool GetBool(int32_t i) const;
    bool GetBool(const char* name) const;

    int32_t NumEntries() const { return attribList.NumEntries(); }
    void Clear() { attribList.RemoveAll(); }

private:
    // The value of entry i or of the first entry named name; null when absent.
    const char* valueAt(int32_t i) const;
    const char* find(const char* name) const;

    ByRefArray_TC<SimpleXmlAttribute_S> attribList;
};

#endif
