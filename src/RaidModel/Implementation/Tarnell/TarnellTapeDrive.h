#ifndef TARNELLTAPEDRIVE_H
#define TARNELLTAPEDRIVE_H

#include "RaidModel/Interface/TapeDrive.h"

class TarnellAdapter;

// A tape drive on a Tarnell controller.
class STOR_EXPORT TarnellTapeDrive : public TapeDrive {
public:
    TarnellTapeDrive();
    TarnellTapeDrive(const TarnellTapeDrive& right);
    TarnellTapeDrive(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN, const char* vendorIN,
        const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
        const char* fruNumberIN);
    ~TarnellTapeDrive() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;
};

#endif
