#ifndef CHANNEL_H
#define CHANNEL_H

#include <cstdint>
#include <vector>

#include "RaidLib/Util/Ret.h"
#include "RaidModel/Interface/RaidObject.h"

class Adapter;
class SimpleXmlParser;
class PhysicalDevice;
class HardDrive;
class Enclosure;
class SES2EnclosureDevice;

// The bus type of a channel, and the interface type of a physical device.
enum EnumChannelType : int32_t { SCSI = 0, SATA = 1, IDE = 2, FIBRE = 3, SAS = 4, SATA_ON_SAS = 5 };

// Transfer speed code of a channel or a device (a code, not a rate).
enum EnumSpeed : int32_t {
    SPEED_SCSI5 = 1,
    SPEED_SCSI10 = 2,
    SPEED_SCSI20 = 3,
    SPEED_SCSI40 = 4,
    SPEED_SCSI80 = 5,
    SPEED_SCSI160 = 6,
    SPEED_SCSI320 = 7,
    SPEED_OPTIMAL = 8,
    SPEED_ATA33 = 100,
    SPEED_ATA66 = 101,
    SPEED_ATA100 = 102,
    SPEED_ATA133 = 103,
    SPEED_FIBRE1GB = 200,
    SPEED_FIBRE2GB = 201,
    SPEED_FIBRE4GB = 202,
    SPEED_FIBRE10GB = 203,
    SPEED_SATA150 = 300,
    SPEED_SATA300 = 301,
    SPEED_SATA600 = 302,
    SPEED_SAS150 = 400,
    SPEED_SAS300 = 401,
    SPEED_SAS600 = 402,
    SPEED_SATAONSAS150 = 500,
    SPEED_SATAONSAS300 = 501,
    SPEED_SATAONSAS600 = 502,
    SPEED_UNKNOWN = 0x7FFFFFFF
};

static_assert(sizeof(EnumChannelType) == 4 && sizeof(EnumSpeed) == 4, "channel enumerations are 32-bit");

// One bus of a controller. The channel number is the channel id of the
// object's address; every node added below the channel is stamped with it,
// and the physical devices below it are filed in typed indexes, which never
// own what they list. The management operations answer -1 (not supported)
// and change nothing; controller families override them.
//
// The order of the virtual operations is the order of the virtual table that
// the family libraries are built against; do not reorder.
class STOR_EXPORT Channel : public RaidObject {
public:
    Channel();
    Channel(Adapter* adapterIN, unsigned long channelIDIN, EnumChannelType channelTypeIN,
            EnumSpeed transferSpeedIN);
    // A new node with the source's controller, channel id, speed and type.
    Channel(const Channel& right);
    ~Channel() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    void descendantAdded(RaidObject* descendant) override;
    virtual Ret identifyDevice(bool on);
    virtual Ret setTransferSpeed(EnumSpeed speed);
    // Restores the address, "transferSpeed" and "channelType" from the
    // attribute list.
    virtual void build();

    // The same controller object and channel id.
    bool operator==(const Channel& right) const;
    bool operator!=(const Channel& right) const { return !(*this == right); }
    // Copies controller, channel id, speed and type; the tree, the indexes
    // and the other address ids stay.
    Channel& operator=(const Channel& right);

    Adapter* getAdapter() const { return adapter; }
    EnumSpeed getTransferSpeed() const { return transferSpeed; }
    EnumChannelType getChannelType() const { return channelType; }

    // Typed indexes: the entry at a position, null when it is not below the
    // count. The getters are templates so that this class does not depend on
    // the classes it lists.
    template <class T = HardDrive>
    T* getHardDrive(unsigned long index) const
    {
        return static_cast<T*>(entryAt(hardDriveVec, index));
    }
    unsigned long getNumHardDrives() const { return hardDriveVec.size(); }
    template <class T = Enclosure>
    T* getEnclosure(unsigned long index) const
    {
        return static_cast<T*>(entryAt(enclosureVec, index));
    }
    unsigned long getNumEnclosures() const { return enclosureVec.size(); }
    template <class T = SES2EnclosureDevice>
    T* getSES2EnclosureDevice(unsigned long index) const
    {
        return static_cast<T*>(entryAt(ses2EnclosureVec, index));
    }
    unsigned long getNumSES2EnclosureDevices() const { return ses2EnclosureVec.size(); }
    template <class T = PhysicalDevice>
    T* getPhysicalDevice(unsigned long index) const
    {
        return static_cast<T*>(entryAt(allPhysicalsVec, index));
    }
    unsigned long getNumPhysicalDevices() const { return allPhysicalsVec.size(); }
    template <class T = PhysicalDevice>
    T* getOtherPhysicalDevice(unsigned long index) const
    {
        return static_cast<T*>(entryAt(otherPhysicalsVec, index));
    }
    unsigned long getNumOtherPhysicalDevices() const { return otherPhysicalsVec.size(); }

protected:
    // The reader shared by the channel classes: collects the "Channel"
    // element's attributes up to its end (taking "channelID" at once, so
    // that the devices read later see it), builds and adds the devices whose
    // elements it meets, then restores the fields with build(). SES-2
    // enclosure devices are read only when sesDevices is set.
    void readElement(Adapter* adapterIN, SimpleXmlParser& xmlParser, bool sesDevices);
    // Deletes what a reader added before it failed.
    void discardChildren();

    static RaidObject* entryAt(const std::vector<RaidObject*>& v, unsigned long index)
    {
        return index < v.size() ? v[index] : nullptr;
    }

    std::vector<RaidObject*> hardDriveVec;
    std::vector<RaidObject*> enclosureVec;
    std::vector<RaidObject*> ses2EnclosureVec;
    std::vector<RaidObject*> allPhysicalsVec;
    std::vector<RaidObject*> otherPhysicalsVec;
    Adapter* adapter;
    EnumSpeed transferSpeed;
    EnumChannelType channelType;

private:
    // A new device read from the element the parser stands on; null for an
    // element that is not a device of this channel.
    PhysicalDevice* newDevice(Adapter* adapterIN, SimpleXmlParser& xmlParser, bool sesDevices);
};

#endif
