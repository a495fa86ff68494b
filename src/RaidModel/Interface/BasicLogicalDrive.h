#ifndef BASICLOGICALDRIVE_H
#define BASICLOGICALDRIVE_H

#include "RaidModel/Interface/LogicalDrive.h"

class SimpleXmlParser;

// A logical drive that can also be read from its "LogicalDrive" element,
// with the logical drives nested in it and their chunks.
class STOR_EXPORT BasicLogicalDrive : public LogicalDrive {
public:
    BasicLogicalDrive();
    BasicLogicalDrive(const BasicLogicalDrive& right);
    BasicLogicalDrive(Adapter* adapterIN, Array* arrayIN, unsigned long logicalDriveIDIN,
                      EnumLogicalDeviceState stateIN, EnumRaidLevel raidLevelIN, BLOCK_T dataSpaceIN,
                      BLOCK_T paritySpaceIN, bool blockedAccessIN, EnumLogicalDriveCacheMode writeCacheModeIN,
                      bool lastDriveInArrayIN, bool bOSPartitionIN);
    // Reads the element the parser stands on; nested logical drives get the
    // same controller.
    BasicLogicalDrive(Adapter* pAdapterIN, SimpleXmlParser& xmlParser);
    ~BasicLogicalDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;

    virtual void build(SimpleXmlParser& xmlParser);
};

#endif
