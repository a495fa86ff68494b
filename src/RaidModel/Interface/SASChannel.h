#ifndef SASCHANNEL_H
#define SASCHANNEL_H

#include "RaidModel/Interface/Channel.h"

// A SAS domain; element "Channel" with "type" "sas". The only channel whose
// reader takes SES-2 enclosure devices.
class STOR_EXPORT SASChannel : public Channel {
public:
    SASChannel();
    SASChannel(Adapter* adapterIN, unsigned long channelIDIN, EnumSpeed transferSpeedIN);
    SASChannel(const SASChannel& right);
    // Reads the "Channel" element from the event at which the controller
    // reader chose this class.
    SASChannel(Adapter* adapterIN, SimpleXmlParser& xmlParser);
    ~SASChannel() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    using Channel::build;
    void build(Adapter* adapterIN, SimpleXmlParser& xmlParser);

    // Also the transfer speed.
    bool operator==(const SASChannel& right) const;
    bool operator!=(const SASChannel& right) const { return !(*this == right); }
    SASChannel& operator=(const SASChannel& right);
};

#endif
