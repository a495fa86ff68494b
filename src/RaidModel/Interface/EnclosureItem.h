#ifndef ENCLOSUREITEM_H
#define ENCLOSUREITEM_H

#include <cstdint>
#include <string>

#include "RaidModel/Interface/RaidObject.h"

class Enclosure;
class SimpleXmlParser;

// Field-replaceable-unit data of an enclosure item; five texts, empty when new.
class STOR_EXPORT ZeqFruInfo {
public:
    const char* getPartNum() const { return partNum.c_str(); }
    const char* getSerialNum() const { return serialNum.c_str(); }
    const char* getVendor() const { return vendor.c_str(); }
    const char* getDateOfManufacture() const { return dateOfManufacture.c_str(); }
    const char* getType() const { return type.c_str(); }
    void setPartNum(const char* s) { partNum = s ? s : ""; }
    void setSerialNum(const char* s) { serialNum = s ? s : ""; }
    void setVendor(const char* s) { vendor = s ? s : ""; }
    void setDateOfManufacture(const char* s) { dateOfManufacture = s ? s : ""; }
    void setType(const char* s) { type = s ? s : ""; }

private:
    std::string partNum;
    std::string serialNum;
    std::string vendor;
    std::string dateOfManufacture;
    std::string type;
};

// A component of a SAF-TE enclosure: fan, power supply, slot, sensor or any
// other kind. An item joins its enclosure once, when it is constructed, and
// is a child of it from then on.
class STOR_EXPORT EnclosureItem : public RaidObject {
public:
    // The values are the SES element type codes of the same components;
    // 143 and 144 are vendor codes.
    enum ITEM_TYPE : int32_t {
        SLOT = 1,
        POWER_SUPPLY = 2,
        FAN = 3,
        TEMP_SENSOR = 4,
        DOOR_LOCK = 5,
        ALARM = 6,
        ESE = 7,
        UPS = 11,
        DISPLAY = 12,
        KEYPAD = 13,
        VOLTAGE_SENSOR = 18,
        CURRENT_SENSOR = 19,
        ZEQ_SWITCH_CARD = 143,
        ZEQ_BRIDGE_CARD = 144
    };

    // Joins the enclosure, which must not be null.
    EnclosureItem(Enclosure* enclosure, ITEM_TYPE type, unsigned long itemNumIN);
    EnclosureItem(const EnclosureItem&) = delete;
    EnclosureItem& operator=(const EnclosureItem&) = delete;
    ~EnclosureItem() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    // Applies the collected item attributes that are present; the FRU record
    // is made at the first FRU attribute.
    virtual void build();

    Enclosure* getEnclosure() const { return pEnclosure; }
    ITEM_TYPE getItemType() const { return itemType; }
    uint32_t getItemNum() const { return itemNum; }
    ZeqFruInfo* getZeqFruInfo() const { return pZeqFruInfo; }
    // The item owns the record; an earlier one is deleted.
    void setZeqFruInfo(ZeqFruInfo* info);

protected:
    struct NoJoin {};
    // For the kinds: they join the enclosure at the end of their own
    // constructor, when the item answers the type tests of its kind, so that
    // the enclosure files it in the right list.
    EnclosureItem(Enclosure* enclosure, ITEM_TYPE type, unsigned long itemNumIN, NoJoin);
    void join();
    // Appends the attributes of the element of that name the parser stands
    // on, up to its end.
    void collect(const char* elementName, SimpleXmlParser& xmlParser);

    Enclosure* pEnclosure;
    ITEM_TYPE itemType;
    uint32_t itemNum;
    ZeqFruInfo* pZeqFruInfo;
};

#endif
