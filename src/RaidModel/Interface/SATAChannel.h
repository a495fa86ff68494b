#ifndef SATACHANNEL_H
#define SATACHANNEL_H

#include "RaidModel/Interface/Channel.h"

// The SATA ports of a controller; element "Channel" with "type" "sata".
class STOR_EXPORT SATAChannel : public Channel {
public:
    SATAChannel();
    SATAChannel(Adapter* adapterIN, unsigned long channelIDIN, EnumSpeed transferSpeedIN,
                unsigned long portsIN);
    SATAChannel(const SATAChannel& right);
    // Reads the "Channel" element from the event at which the controller
    // reader chose this class.
    SATAChannel(Adapter* adapterIN, SimpleXmlParser& xmlParser);
    ~SATAChannel() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    using Channel::build;
    void build(Adapter* adapterIN, SimpleXmlParser& xmlParser);

    // Also the port count.
    bool operator==(const SATAChannel& right) const;
    bool operator!=(const SATAChannel& right) const { return !(*this == right); }
    SATAChannel& operator=(const SATAChannel& right);

    uint32_t getPortCount() const { return ports; }

protected:
    uint32_t ports;
};

#endif
