#ifndef TARNELLSCSICHANNEL_H
#define TARNELLSCSICHANNEL_H

#include "RaidModel/Interface/SCSIChannel.h"
#include "storagedll/storrec.h"

class TarnellAdapter;

// A parallel-SCSI channel of a Tarnell controller.
class STOR_EXPORT TarnellSCSIChannel : public SCSIChannel {
public:
    TarnellSCSIChannel();
    TarnellSCSIChannel(const TarnellSCSIChannel& right);
    TarnellSCSIChannel(TarnellAdapter* adapterIN, int channelIDIN, int initiatorIDIN, EnumSpeed transferSpeedIN);
    ~TarnellSCSIChannel() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;

    using SCSIChannel::build;
    // Channels are made with the data constructor; this creates nothing.
    static TarnellSCSIChannel* build(TarnellAdapter* adapterIN, const CHANNEL_INFO& channelInfoIN);
};

#endif
