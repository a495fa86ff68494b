#ifndef SAFTETEMPSENSOR_H
#define SAFTETEMPSENSOR_H

#include <cstdint>

#include "RaidModel/Interface/EnclosureItem.h"

// A temperature sensor of a SAF-TE enclosure, in the enclosure's unit.
class STOR_EXPORT SafteTempSensor : public EnclosureItem {
public:
    SafteTempSensor(Enclosure* enclosure, int temperatureIN, bool outOfRange, unsigned long itemNumIN);
    // Reads the "TempSensor" element the parser stands on, then joins the enclosure.
    SafteTempSensor(Enclosure* enclosure, unsigned long itemNumIN, SimpleXmlParser& xmlParser);
    ~SafteTempSensor() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    using EnclosureItem::build;
    // Collects the element's attributes up to its end, then applies the
    // item's and the kind's attributes that are present.
    virtual void build(SimpleXmlParser& xmlParser);

    uint32_t getTempSensorNum() const { return itemNum; }
    int32_t getTemperature() const { return temperature; }
    bool getOutOfRange() const { return bOutOfRange; }
    // The raw SAF-TE byte: the temperature plus 10.
    void setTemperature(unsigned char raw) { temperature = static_cast<int32_t>(raw) - 10; }
    void setOutOfRange(bool b) { bOutOfRange = b; }

private:
    int32_t temperature;
    bool bOutOfRange;
};

#endif
