#ifndef SAFTEFAN_H
#define SAFTEFAN_H

#include <cstdint>

#include "RaidModel/Interface/EnclosureItem.h"

// A fan of a SAF-TE enclosure with its SAF-TE status byte.
class STOR_EXPORT SafteFan : public EnclosureItem {
public:
    enum STATUS : int32_t { OPERATIONAL = 0, MALFUNCTION = 1, NOT_INSTALLED = 2, UNKNOWN = 128 };
    SafteFan(Enclosure* enclosure, STATUS status, unsigned long itemNumIN);
    // Reads the "Fan" element the parser stands on, then joins the enclosure.
    SafteFan(Enclosure* enclosure, unsigned long itemNumIN, SimpleXmlParser& xmlParser);
    ~SafteFan() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    using EnclosureItem::build;
    // Collects the element's attributes up to its end, then applies the
    // item's and the kind's attributes that are present.
    virtual void build(SimpleXmlParser& xmlParser);

    uint32_t getFanNum() const { return itemNum; }
    STATUS getFanStatus() const { return fanStatus; }
    void setFanStatus(STATUS s) { fanStatus = s; }

private:
    STATUS fanStatus;
};

#endif
