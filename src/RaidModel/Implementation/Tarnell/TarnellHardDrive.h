#ifndef TARNELLHARDDRIVE_H
#define TARNELLHARDDRIVE_H

#include <string>
#include <vector>

#include "RaidModel/Interface/HardDrive.h"
#include "storagedll/storrec.h"

class StoreDLLIntf;
class TarnellAdapter;

// Where one chunk of a logical drive lies on a hard drive.
struct ChunkID {
    int32_t LogicalDriveID;
    int32_t ChannelID;
    int32_t DeviceID;
};

// A disk drive of a Tarnell controller. Its operations act on the drive
// through the C API and change no model object: the next configuration
// build shows their effect. Each first looks the drive up again in its
// adapter's tree (-2 when no hard drive is there); a missing controller
// access or a refused request answers -5.
class STOR_EXPORT TarnellHardDrive : public HardDrive {
public:
    TarnellHardDrive();
    TarnellHardDrive(const TarnellHardDrive& right);
    // The size is a block count widened with its sign.
    TarnellHardDrive(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN, int sizeIN,
                     EnumPhysicalDeviceState stateIN, char* vendorIN, char* modelIN, char* serialNumberIN,
                     char* firmwareLevelIN, bool pfaErrorIN, EnumHardDriveCacheMode writeCacheEnableIN,
                     bool writeCacheEnableSupportedIN, bool selfTestSupportedIN, bool bOSPartitionIN,
                     char* fruNumberIN, bool configuredSingleIN, bool pfaSupportedIN);
    ~TarnellHardDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    // Sends the controller's code of the state (a hot spare is 0x85, a
    // ready drive 0x81).
    Ret setState(EnumPhysicalDeviceState state) override;
    // Starts (true) or stops (false) the drive's identify light.
    Ret identifyDevice(bool mode) override;
    // Switches the WCE bit of the drive's caching mode page; -1 when the
    // drive offers no write-cache setting, -5 also when the page's WCE bit
    // cannot be changed or the page does not fit its buffer.
    Ret setWriteCacheEnable(bool enable) override;
    Ret createGlobalHotSpare() override;

    void addChunk(ChunkID chunk) { ChunkIDs.push_back(chunk); }
    const std::vector<ChunkID>& getChunkIDs() const { return ChunkIDs; }
    void clearChunkIDs() { ChunkIDs.clear(); }
    bool isConfiguredSingle() const { return configuredSingle; }

    // True for a physical device whose vendor id, trimmed, is one of the
    // accepted vendors (exact, case counts).
    static bool isVendorSupported(RaidObject* object);
    // str without its surrounding blanks and tabs; the trailing blanks of
    // str itself are removed too.
    static std::string trim(std::string& str);

private:
    // The steps every drive request starts with: the C-API object, the
    // drive's address and the drive found again in its adapter's tree.
    Ret beginRequest(StoreDLLIntf*& store, _STORAGE_ADDRESS_ID& address);

    std::vector<ChunkID> ChunkIDs;
    bool configuredSingle;
};

#endif
