#ifndef NRMCHANNEL_H
#define NRMCHANNEL_H

// The snapshot of a channel with its hard drives and enclosures.

#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/Channel.h"

class STOR_EXPORT NRMChannel : public Channel {
public:
    // A channel of the snapshot adapter owner.
    explicit NRMChannel(Adapter* owner);
    ~NRMChannel() override;
    NRMChannel(const NRMChannel&) = delete;
    NRMChannel& operator=(const NRMChannel&) = delete;

    bool isInstanceOf(const char* className) const override;
    void writeTo(Writer* writer) const override;
    using Channel::build;
    // Reads the "Channel" element the parser stands on, with its "HardDrive",
    // "Enclosure" and (where supported) "SESEnclosureDevice" elements at any
    // depth.
    void build(SimpleXmlParser& parser);
    // Copies the address and the channel type of a live channel, then its
    // hard drives and enclosures.
    void build(Channel* live);

    XmlAttributeList_C xmlAttributes;
};

#endif
