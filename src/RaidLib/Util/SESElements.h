#ifndef SESELEMENTS_H
#define SESELEMENTS_H

// The elements of an SES-2 enclosure, children of its SES2EnclosureDevice:
// any element, device slots and array device slots, and the two slot kinds
// with SAS additional element status, whose phys are their SASPhy children.
// Every class writes the element "SESElement"; typeName tells them apart.
// The type tests answer only for the SES element classes, not for the
// model's general class names.

#include <cstdint>
#include <string>
#include <vector>

#include "RaidLib/Util/SESPages.h"
#include "RaidModel/Interface/RaidObject.h"

class SASPhy;
class SimpleXmlParser;

class STOR_EXPORT SESElement : public RaidObject {
public:
    SESElement(unsigned long statusIN, std::string descriptorIN, int typeIN);
    // Status 0, no text, type 0.
    SESElement();
    // Reads the "SESElement" element the parser stands on.
    explicit SESElement(SimpleXmlParser& xmlParser);
    ~SESElement() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    // Each descendant takes the element's item id, so that its phys are
    // addressed under the element.
    void descendantAdded(RaidObject* descendant) override;
    virtual int getType() const;
    virtual const char* getDescriptor() const;
    virtual uint32_t getStatus() const;
    // Applies the collected attributes that are present.
    virtual void build();

protected:
    // Appends the attributes of the "SESElement" element the parser stands
    // on, up to its end; with phys, "SASPhy" elements inside it are read and
    // added as children.
    void collect(SimpleXmlParser& xmlParser, bool phys);

    uint32_t status;
    std::string descriptor;
    int32_t type;
};

// A device slot element (type 1).
class STOR_EXPORT SESDevice : public SESElement {
public:
    SESDevice(unsigned long statusIN, std::string descriptorIN, int protocolIdentifierIN);
    ~SESDevice() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    void writeTo(Writer* writer) const override;
    void build() override;
    // Bits 8-15 of the status; 0x7FFFFFFF for the status word 6 of an
    // element whose status was never read.
    virtual uint32_t getSlotAddress() const;

    int32_t getProtocolIdentifier() const { return protocolIdentifier; }

protected:
    int32_t protocolIdentifier;
};

// An array device slot element (type 0x17).
class STOR_EXPORT SESArrayDevice : public SESElement {
public:
    SESArrayDevice(unsigned long statusIN, std::string descriptorIN, int protocolIdentifierIN);
    ~SESArrayDevice() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    void writeTo(Writer* writer) const override;
    void build() override;

    int32_t getProtocolIdentifier() const { return protocolIdentifier; }

protected:
    int32_t protocolIdentifier;
};

// The SAS additional element status of a slot.
struct SESSASData {
    bool notAllPhys;
    bool eip;
    bool invalid;
    uint32_t elementIndex;
    EnumSESAdditionalElementDescriptorTypes descriptorType;
    uint32_t bayNumber;
    uint32_t numPhy;
    unsigned char phy0[8];
    unsigned char phy1[8];
};

class STOR_EXPORT SESDeviceSAS : public SESDevice {
public:
    SESDeviceSAS(unsigned long statusIN, std::string descriptorIN, bool notAllPhysIN, bool eipIN,
                 bool invalidIN, unsigned long elementIndexIN,
                 EnumSESAdditionalElementDescriptorTypes descriptorTypeIN, unsigned long bayNumberIN,
                 unsigned long numPhyIN);
    // Status 6 (unknown), no text, protocol 15, then reads the element.
    explicit SESDeviceSAS(SimpleXmlParser& xmlParser);
    ~SESDeviceSAS() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    void writeTo(Writer* writer) const override;
    // Also files SAS phys in the phy list.
    void descendantAdded(RaidObject* descendant) override;
    // Reads the element with its "SASPhy" children and applies it.
    virtual void build(SimpleXmlParser& xmlParser);
    using SESDevice::build;

    SASPhy* getSASPhy(unsigned long n) const;
    unsigned long getNumSASPhy() const { return sasPhyVec.size(); }
    unsigned long getNumSASPhys() const { return sasPhyVec.size(); }
    uint32_t getNumPhy() const { return sas.numPhy; }
    const unsigned char* getPhy0() const { return sas.phy0; }
    const unsigned char* getPhy1() const { return sas.phy1; }
    bool isEIP() const { return sas.eip; }
    bool isNotAllPhys() const { return sas.notAllPhys; }
    bool isInvalid() const { return sas.invalid; }
    uint32_t getElementIndex() const { return sas.elementIndex; }
    uint32_t getBayNumber() const { return sas.bayNumber; }
    EnumSESAdditionalElementDescriptorTypes getDescriptorType() const { return sas.descriptorType; }
    void setPhy0(const unsigned char* address);
    void setPhy1(const unsigned char* address);

protected:
    SESSASData sas;
    std::vector<SASPhy*> sasPhyVec;
};

class STOR_EXPORT SESArrayDeviceSAS : public SESArrayDevice {
public:
    SESArrayDeviceSAS(unsigned long statusIN, std::string descriptorIN, bool notAllPhysIN, bool eipIN,
                      bool invalidIN, unsigned long elementIndexIN,
                      EnumSESAdditionalElementDescriptorTypes descriptorTypeIN, unsigned long bayNumberIN,
                      unsigned long numPhyIN);
    explicit SESArrayDeviceSAS(SimpleXmlParser& xmlParser);
    ~SESArrayDeviceSAS() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    void writeTo(Writer* writer) const override;
    void descendantAdded(RaidObject* descendant) override;
    virtual void build(SimpleXmlParser& xmlParser);
    using SESArrayDevice::build;

    SASPhy* getSASPhy(unsigned long n) const;
    unsigned long getNumSASPhy() const { return sasPhyVec.size(); }
    unsigned long getNumSASPhys() const { return sasPhyVec.size(); }
    uint32_t getNumPhy() const { return sas.numPhy; }
    const unsigned char* getPhy0() const { return sas.phy0; }
    const unsigned char* getPhy1() const { return sas.phy1; }
    bool isEIP() const { return sas.eip; }
    bool isNotAllPhys() const { return sas.notAllPhys; }
    bool isInvalid() const { return sas.invalid; }
    uint32_t getElementIndex() const { return sas.elementIndex; }
    uint32_t getBayNumber() const { return sas.bayNumber; }
    EnumSESAdditionalElementDescriptorTypes getDescriptorType() const { return sas.descriptorType; }
    void setPhy0(const unsigned char* address);
    void setPhy1(const unsigned char* address);

protected:
    SESSASData sas;
    std::vector<SASPhy*> sasPhyVec;
};

#endif
