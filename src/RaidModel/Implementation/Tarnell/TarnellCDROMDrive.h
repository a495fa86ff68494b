#ifndef TARNELLCDROMDRIVE_H
#define TARNELLCDROMDRIVE_H

#include "RaidModel/Interface/CDROMDrive.h"

class TarnellAdapter;

// A CD-ROM drive on a Tarnell controller.
class STOR_EXPORT TarnellCDROMDrive : public CDROMDrive {
public:
    TarnellCDROMDrive();
    TarnellCDROMDrive(const TarnellCDROMDrive& right);
    TarnellCDROMDrive(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN, const char* vendorIN,
        const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
        const char* fruNumberIN);
    ~TarnellCDROMDrive() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;
};

#endif
