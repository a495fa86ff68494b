#ifndef SASPHY_H
#define SASPHY_H

#include <cstdint>

#include "RaidModel/Interface/RaidObject.h"

class SimpleXmlParser;

// Codes of the SAS standard's phy descriptors ("15" and "30": 1.5 and 3.0 Gbit/s).
enum EnumSASDeviceType : int32_t {
    SAS_NO_DEVICE = 0,
    SAS_END_DEVICE = 1,
    SAS_EDGE_EXPANDER_DEVICE = 2,
    SAS_FANOUT_EXPANDER_DEVICE = 3
};

enum EnumSASNegotiatedLinkRate : int32_t {
    SAS_NEG_RATE_UNKNOWN = 0,
    SAS_NEG_RATE_PHY_DISABLED = 1,
    SAS_NEG_RATE_FAILED = 2,
    SAS_NEG_RATE_SATA_SPINUP_HOLD = 3,
    SAS_NEG_RATE_15 = 8,
    SAS_NEG_RATE_30 = 9
};

enum EnumSASProgrammedLinkRate : int32_t {
    SAS_PRG_RATE_NOT_PROGRAMMABLE = 0,
    SAS_PRG_RATE_15 = 8,
    SAS_PRG_RATE_30 = 9
};

enum EnumSASHardwareLinkRate : int32_t { SAS_HW_RATE_15 = 8, SAS_HW_RATE_30 = 9 };

enum EnumSASRoutingType : int32_t { SAS_ROUTE_DIRECT = 0, SAS_ROUTE_SUBTRACTIVE = 1, SAS_ROUTE_TABLE = 2 };

// One phy of a SAS port: its own address and protocols, what is attached to
// it, its link rates, change count and routing. The phy number is the SAS
// phy id of the object's address. A leaf of the tree below a controller, a
// physical device or an SES element.
class STOR_EXPORT SASPhy : public RaidObject {
public:
    // Capacity of the address texts, terminator included.
    static const unsigned ADDRESS_SIZE = 32;

    SASPhy();
    // Address texts are cut to 31 characters; null gives an empty text.
    SASPhy(unsigned long phyID, const char* SASaddress, unsigned char initiatorProtocols,
           unsigned char targetProtocols, unsigned long attachedPhyID, const char* attachedSASaddress,
           unsigned char attachedInitiatorProtocols, unsigned char attachedTargetProtocols,
           EnumSASDeviceType attachedDeviceType, EnumSASNegotiatedLinkRate negPhyLinkRate,
           EnumSASProgrammedLinkRate progMinPhyLinkRate, EnumSASProgrammedLinkRate progMaxPhyLinkRate,
           EnumSASHardwareLinkRate hwMinPhyLinkRate, EnumSASHardwareLinkRate hwMaxPhyLinkRate,
           unsigned char phyChangeCount, bool virtualPhy, unsigned char pathTimeout,
           EnumSASRoutingType routingType);
    // A new node with the source's phy number and fields.
    SASPhy(const SASPhy& right);
    // Reads the "SASPhy" element the parser stands on, through its end.
    explicit SASPhy(SimpleXmlParser& xmlParser);
    ~SASPhy() override;

    // Copies the phy number and the fields; tree links and the other ids stay.
    SASPhy& operator=(const SASPhy& right);
    // The phy number and every field.
    bool operator==(const SASPhy& right) const;
    bool operator!=(const SASPhy& right) const { return !(*this == right); }

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;

    // Collects the element's attributes up to its end and restores the
    // fields (not the address ids) from them.
    void build(SimpleXmlParser& xmlParser);

    STORID_T getPhyID() const { return myAddr2.getSASPhyID(); }
    const char* getSASAddress() const { return SASaddress; }
    unsigned char getInitiatorProtocols() const { return initiatorProtocols; }
    unsigned char getTargetProtocols() const { return targetProtocols; }
    STORID_T getAttachedPhyID() const { return attachedPhyID; }
    const char* getAttachedSASaddress() const { return attachedSASaddress; }
    unsigned char getAttachedInitiatorProtocols() const { return attachedInitiatorProtocols; }
    unsigned char getAttachedTargetProtocols() const { return attachedTargetProtocols; }
    EnumSASDeviceType getAttachedDeviceType() const { return attachedDeviceType; }
    EnumSASNegotiatedLinkRate getNegPhyLinkRate() const { return negPhyLinkRate; }
    EnumSASProgrammedLinkRate getProgMinPhyLinkRate() const { return progMinPhyLinkRate; }
    EnumSASProgrammedLinkRate getProgMaxPhyLinkRate() const { return progMaxPhyLinkRate; }
    EnumSASHardwareLinkRate getHwMinPhyLinkRate() const { return hwMinPhyLinkRate; }
    EnumSASHardwareLinkRate getHwMaxPhyLinkRate() const { return hwMaxPhyLinkRate; }
    unsigned char getPhyChangeCount() const { return phyChangeCount; }
    bool isVirtualPhy() const { return virtualPhy; }
    unsigned char getPathTimeout() const { return pathTimeout; }
    EnumSASRoutingType getRoutingType() const { return routingType; }

private:
    void copyFields(const SASPhy& right);

    EnumSASDeviceType attachedDeviceType;
    EnumSASNegotiatedLinkRate negPhyLinkRate;
    unsigned char initiatorProtocols;
    unsigned char targetProtocols;
    unsigned char attachedInitiatorProtocols;
    unsigned char attachedTargetProtocols;
    char SASaddress[ADDRESS_SIZE];
    char attachedSASaddress[ADDRESS_SIZE];
    STORID_T attachedPhyID;
    EnumSASProgrammedLinkRate progMinPhyLinkRate;
    EnumSASProgrammedLinkRate progMaxPhyLinkRate;
    EnumSASHardwareLinkRate hwMinPhyLinkRate;
    EnumSASHardwareLinkRate hwMaxPhyLinkRate;
    unsigned char phyChangeCount;
    bool virtualPhy;
    unsigned char pathTimeout;
    EnumSASRoutingType routingType;
};

#endif
