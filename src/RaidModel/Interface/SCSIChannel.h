#ifndef SCSICHANNEL_H
#define SCSICHANNEL_H

#include "RaidModel/Interface/Channel.h"

// A parallel SCSI bus; element "Channel" with "type" "scsi".
class STOR_EXPORT SCSIChannel : public Channel {
public:
    SCSIChannel();
    SCSIChannel(Adapter* adapterIN, unsigned long channelIDIN, unsigned long initiatorIDIN,
                EnumSpeed transferSpeedIN);
    SCSIChannel(const SCSIChannel& right);
    // Reads the "Channel" element from the event at which the controller
    // reader chose this class.
    SCSIChannel(Adapter* adapterIN, SimpleXmlParser& xmlParser);
    ~SCSIChannel() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    virtual Ret setInitiatorID(unsigned long initiatorIDIN);
    using Channel::build;
    virtual void build(Adapter* adapterIN, SimpleXmlParser& xmlParser);

    // Also the initiator id.
    bool operator==(const SCSIChannel& right) const;
    bool operator!=(const SCSIChannel& right) const { return !(*this == right); }
    SCSIChannel& operator=(const SCSIChannel& right);

    uint32_t getInitiatorID() const { return initiatorID; }

protected:
    uint32_t initiatorID;
};

#endif
