#include "RaidModel/Implementation/Tarnell/TarnellSCSIChannel.h"

#include <cstring>

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"

TarnellSCSIChannel::TarnellSCSIChannel() : SCSIChannel() { tarnellTraceConstruct("TarnellSCSIChannel"); }

TarnellSCSIChannel::TarnellSCSIChannel(const TarnellSCSIChannel& right) : SCSIChannel(right)
{
    tarnellTraceConstruct("TarnellSCSIChannel");
}

TarnellSCSIChannel::TarnellSCSIChannel(TarnellAdapter* adapterIN, int channelIDIN, int initiatorIDIN,
                                       EnumSpeed transferSpeedIN)
    : SCSIChannel(adapterIN, static_cast<unsigned long>(channelIDIN), static_cast<unsigned long>(initiatorIDIN),
                  transferSpeedIN)
{
    tarnellTraceConstruct("TarnellSCSIChannel");
}

TarnellSCSIChannel::~TarnellSCSIChannel() { tarnellTraceDestruct("TarnellSCSIChannel"); }

bool TarnellSCSIChannel::isInstanceOf(const char* type) const
{
    return isClassName(type, "TarnellSCSIChannel") || SCSIChannel::isInstanceOf(type);
}

const char* TarnellSCSIChannel::typeName() const { return "TarnellSCSIChannel"; }

TarnellSCSIChannel* TarnellSCSIChannel::build(TarnellAdapter*, const CHANNEL_INFO&) { return nullptr; }
