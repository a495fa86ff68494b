#ifndef SAFTESLOT_H
#define SAFTESLOT_H

#include <cstdint>

#include "RaidModel/Interface/EnclosureItem.h"

// A device slot of a SAF-TE enclosure: the SCSI id of its device and its
// slot status flags.
class STOR_EXPORT SafteSlot : public EnclosureItem {
public:
    SafteSlot(Enclosure* enclosure, unsigned long scsiIDIN, unsigned char slotStatus, unsigned long itemNumIN);
    // Reads the "Slot" element the parser stands on, then joins the enclosure.
    SafteSlot(Enclosure* enclosure, unsigned long itemNumIN, SimpleXmlParser& xmlParser);
    ~SafteSlot() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    using EnclosureItem::build;
    // Collects the element's attributes up to its end, then applies the
    // item's and the kind's attributes that are present.
    virtual void build(SimpleXmlParser& xmlParser);

    uint32_t getSlotNum() const { return itemNum; }
    uint32_t getScsiID() const { return scsiID; }
    bool getDeviceInserted() const { return bDeviceInserted; }
    bool getReadyForInsertionRemoval() const { return bReadyForInsertionRemoval; }
    bool getPreparedForOperation() const { return bPreparedForOperation; }
    // Bit 0 device inserted, bit 1 ready for insertion or removal, bit 2
    // prepared for operation; the other bits are ignored.
    void setSlotStatus(unsigned char s);

private:
    uint32_t scsiID;
    bool bDeviceInserted;
    bool bReadyForInsertionRemoval;
    bool bPreparedForOperation;
};

#endif
