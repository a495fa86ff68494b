#ifndef SAFTEPOWERSUPPLY_H
#define SAFTEPOWERSUPPLY_H

#include <cstdint>

#include "RaidModel/Interface/EnclosureItem.h"

// A power supply of a SAF-TE enclosure with its SAF-TE status byte.
class STOR_EXPORT SaftePowerSupply : public EnclosureItem {
public:
    enum STATUS : int32_t {
        OPERATIONAL_ON = 0,
        OPERATIONAL_OFF = 1,
        MALFUNCTION_ON = 16,
        MALFUNCTION_OFF = 17,
        NOT_INSTALLED = 32,
        INSTALLED = 33,
        UNKNOWN = 128
    };
    SaftePowerSupply(Enclosure* enclosure, STATUS status, unsigned long itemNumIN);
    // Reads the "PowerSupply" element the parser stands on, then joins the enclosure.
    SaftePowerSupply(Enclosure* enclosure, unsigned long itemNumIN, SimpleXmlParser& xmlParser);
    ~SaftePowerSupply() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    using EnclosureItem::build;
    // Collects the element's attributes up to its end, then applies the
    // item's and the kind's attributes that are present.
    virtual void build(SimpleXmlParser& xmlParser);

    uint32_t getPowerSupplyNum() const { return itemNum; }
    STATUS getPowerSupplyStatus() const { return powerSupplyStatus; }
    void setPowerSupplyStatus(STATUS s) { powerSupplyStatus = s; }

private:
    STATUS powerSupplyStatus;
};

#endif
