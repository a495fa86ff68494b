#ifndef HLOGICALDRIVE_H
#define HLOGICALDRIVE_H

#include "RaidModel/Interface/LogicalDrive.h"

// A logical drive whose value constructor takes 32-bit sizes.
class STOR_EXPORT HLogicalDrive : public LogicalDrive {
public:
    HLogicalDrive();
    HLogicalDrive(const HLogicalDrive& right);
    // The sizes are widened with their sign.
    HLogicalDrive(Adapter* adapterIN, Array* arrayIN, int logicalDriveIDIN, EnumLogicalDeviceState stateIN,
                  EnumRaidLevel raidLevelIN, int dataSpaceIN, int paritySpaceIN, bool blockedAccessIN,
                  EnumLogicalDriveCacheMode writeCacheModeIN, bool lastDriveInArrayIN, bool bOSPartitionIN);
    ~HLogicalDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
};

#endif
