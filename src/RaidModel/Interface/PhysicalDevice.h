#ifndef PHYSICALDEVICE_H
#define PHYSICALDEVICE_H

#include <cstdint>
#include <vector>

#include "RaidLib/Util/Ret.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/RaidObject.h"

class Adapter;
class SASPhy;
class SCSICommand;
class SimpleXmlParser;

// The SCSI peripheral device type, plus UNKNOWN_DEVICE. There is no 11.
enum EnumPhysicalDeviceType : int32_t {
    HARD_DRIVE = 0,
    TAPE_DRIVE = 1,
    PRINTER = 2,
    ENCLOSURE = 3,
    WORM_DRIVE = 4,
    CD_ROM_DEVICE = 5,
    SCANNER_DEVICE = 6,
    OPTICAL_DRIVE_DEVICE = 7,
    CHANGER_DEVICE = 8,
    COMM_DEVICE = 9,
    UNKNOWN_DEVICE = 10,
    STORAGE_ARRAY_CONTROLLER_DEVICE = 12,
    ENCLOSURE_SERVICES_DEVICE = 13,
    SIMPLIFIED_DIRECT_ACCESS_DEVICE = 14,
    OPTICAL_CARD_DEVICE = 15
};

enum EnumPhysicalDeviceState : int32_t {
    DRIVE_READY = 0,
    DRIVE_ONLINE = 1,
    DRIVE_DEAD = 2,
    DEVICE_STANDBY = 3,
    DRIVE_SPARE = 4,
    DRIVE_REBUILDING = 5,
    DRIVE_PARTITIONED_SINGLE = 6,
    DRIVE_EMPTY = 7,
    DRIVE_UNSUPPORTED = 8
};

static_assert(sizeof(EnumPhysicalDeviceType) == 4 && sizeof(EnumPhysicalDeviceState) == 4,
              "device enumerations are 32-bit");

// One device attached to a channel: its controller and channel, peripheral
// type, identity texts, state, speeds, world wide name and SAS settings. Its
// SAS phys are its children; every node added below it is stamped with its
// device id. The device operations answer -1 (not supported) and change
// nothing; controller families override them.
//
// Texts longer than their field are cut. The order of the virtual
// operations is the order of the virtual table that the family libraries
// are built against; do not reorder.
class STOR_EXPORT PhysicalDevice : public RaidObject {
public:
    // Field capacities, terminator included.
    static const unsigned TEXT_SIZE = 33;
    static const unsigned SERIAL_SIZE = 257;
    static const unsigned WWN_TEXT_SIZE = 17;

    // No controller or channel, device id undefined, HARD_DRIVE, DRIVE_READY.
    PhysicalDevice();
    // A null text gives an empty one; the interface type is the channel's
    // bus type (SCSI without a channel).
    PhysicalDevice(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN,
                   EnumPhysicalDeviceType deviceTypeIN, const char* vendorIN, const char* modelIN,
                   const char* serialNumberIN, const char* firmwareLevelIN,
                   EnumPhysicalDeviceState stateIN, const char* fruNumberIN);
    // A new node with the source's description; no SAS phys.
    PhysicalDevice(const PhysicalDevice& right);
    ~PhysicalDevice() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    void descendantAdded(RaidObject* descendant) override;
    virtual Ret setState(EnumPhysicalDeviceState stateIN);
    virtual Ret setITNexusLossTime(unsigned short timeIN);
    virtual Ret scsiPassThruCommand(SCSICommand& command);
    virtual Ret upgradeFirmware(const char* fileName, bool option);
    virtual Ret identifyDevice(bool on);

    // Controller, channel, device id, type, the five texts and the state.
    bool operator==(const PhysicalDevice& right) const;
    bool operator!=(const PhysicalDevice& right) const { return !(*this == right); }
    // Copies controller, channel, device id, type, state, texts, WWN, nexus
    // loss time and flag and interface type; speeds, SATA port, unsupported
    // reason, tree links and SAS phys stay.
    PhysicalDevice& operator=(const PhysicalDevice& right);

    // Restores the address and every written field from the attribute list;
    // absent attributes give 0, false or an empty text.
    void build();

    Adapter* getAdapter() const { return adapter; }
    Channel* getChannel() const { return channel; }
    EnumPhysicalDeviceType getDeviceType() const { return deviceType; }
    const char* getVendor() const { return vendor; }
    const char* getModel() const { return model; }
    const char* getSerialNumber() const { return serialNumber; }
    const char* getFirmwareLevel() const { return firmwareLevel; }
    EnumPhysicalDeviceState getState() const { return state; }
    const char* getFruNumber() const { return fruNumber; }
    int32_t getSetSpeed() const { return setSpeed; }
    int32_t getNegotiatedSpeed() const { return negotiatedSpeed; }
    EnumSpeed getEnumeratedSetSpeed() const { return enumeratedSetSpeed; }
    EnumSpeed getEnumeratedNegotiatedSpeed() const { return enumeratedNegotiatedSpeed; }
    uint32_t getWWN0() const { return wwn0; }
    uint32_t getWWN1() const { return wwn1; }
    const char* getWWNString() const { return wwnString; }
    unsigned short getITNexusLossTime() const { return i_t_nexusLossTime; }
    bool isITNexusLossTimeChangeable() const { return i_t_nexusLossTimeChangeable; }
    EnumChannelType getInterfaceType() const { return interfaceType; }
    int32_t getSataPortNumber() const { return sataPort; }
    uint32_t getUnsupportedDeviceReason() const { return unsupportedDeviceReason; }

    void setVendor(const char* text);
    void setModel(const char* text);
    void setSerialNumber(const char* text);
    void setFirmwareLevel(const char* text);
    void setFruNumber(const char* text);
    void setInterfaceType(EnumChannelType t) { interfaceType = t; }
    // Each renews the WWN text.
    void setWWN0(uint32_t w);
    void setWWN1(uint32_t w);
    // The model's state only; the controller is not asked.
    void setStateProperty(EnumPhysicalDeviceState stateIN) { state = stateIN; }

    // The SAS phys below the device, in the order added; null past the end.
    SASPhy* getSASPhy(unsigned long index) const;
    unsigned long getNumSASPhys() const { return sasPhyVec.size(); }

protected:
    // The reader of the simple device classes: collects the attributes of
    // the element the parser stands on up to its end (taking "deviceID" at
    // once, so that the phys read with the device carry it), reads and adds
    // its "SASPhy" children, then restores the fields with build(). On a
    // failure the phys already added are deleted before it passes on.
    void readElement(const char* elementName, SimpleXmlParser& xmlParser);
    // The WWN as 16 upper-case hex digits, least significant byte of wwn0 first.
    void renewWWNString();

    Adapter* adapter;
    Channel* channel;
    EnumPhysicalDeviceType deviceType;
    char vendor[TEXT_SIZE];
    char model[TEXT_SIZE];
    char serialNumber[SERIAL_SIZE];
    char firmwareLevel[TEXT_SIZE];
    EnumPhysicalDeviceState state;
    char fruNumber[TEXT_SIZE];
    int32_t setSpeed;
    int32_t negotiatedSpeed;
    EnumSpeed enumeratedSetSpeed;
    EnumSpeed enumeratedNegotiatedSpeed;
    uint32_t wwn0;
    uint32_t wwn1;
    char wwnString[WWN_TEXT_SIZE];
    unsigned short i_t_nexusLossTime;
    bool i_t_nexusLossTimeChangeable;
    EnumChannelType interfaceType;
    int32_t sataPort;
    uint32_t unsupportedDeviceReason;
    std::vector<SASPhy*> sasPhyVec;
};

#endif
