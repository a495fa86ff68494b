#ifndef TESTS_MONITOR_MODELBUILDER_H
#define TESTS_MONITOR_MODELBUILDER_H

// Model objects built in code for the monitor tests, with the fields the
// monitor reads settable: an adapter of a family of the test's choice (the
// Pelm and Vesk families and SES-2 enclosures with SAS phys exist in no
// simulator the monitor tests use), channels, drives, logical drives,
// SAF-TE and SES-2 enclosures. The adapter owns the tree it builds; a test
// system owns its adapters and can be stored as a snapshot and read back.

#include <cstring>
#include <string>
#include <vector>

#include "RaidLib/Util/SESElements.h"
#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SATAChannel.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "RaidModel/Interface/System.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMSystem.h"

namespace monitortest {

inline bool sameName(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

class TestDrive : public HardDrive {
public:
    TestDrive(Adapter* adapter, Channel* channel, unsigned long deviceID)
        : HardDrive(adapter, channel, deviceID, 2048, DRIVE_ONLINE, text("ZEQ-XJP"), text("XJ-300"), text("SER1"),
                    text("F1"), false, HARD_DRIVE_CACHE_MODE_WRITE_BACK, true, true, false, text("FRU-9"), true)
    {
    }
    void setSataPort(int32_t port) { sataPort = port; }
    void setPfa(bool supported, bool error)
    {
        pfaSupported = supported;
        pfaError = error;
    }

private:
    static char* text(const char* t) { return const_cast<char*>(t); }
};

// A logical drive that may answer for a family class ("VeskBasicLogicalDrive").
class TestLogicalDrive : public LogicalDrive {
public:
    TestLogicalDrive(Adapter* adapter, unsigned long id, EnumRaidLevel level, BLOCK_T dataSpace,
                     const char* family = nullptr)
        : LogicalDrive(adapter, nullptr, id, OKAY, level, dataSpace, 0, false, LD_CACHE_DISABLED, false, false),
          family_(family)
    {
    }
    bool isInstanceOf(const char* className) const override
    {
        return sameName(className, family_) || LogicalDrive::isInstanceOf(className);
    }
    void setBadStripes(int count) { badBlockCount = count; }
    void setStatus(EnumLogicalDeviceState status, bool blocked = false)
    {
        state = status;
        blockedAccess = blocked;
    }

private:
    const char* family_;
};

// A SAF-TE enclosure whose configuration and status records the test fills.
class TestEnclosure : public Enclosure {
public:
    TestEnclosure(Adapter* adapter, Channel* channel, unsigned long deviceID)
        : Enclosure(adapter, channel, deviceID, "ZEQ-XJP", "SAFTE-14", "E1", "1.10", DRIVE_READY, "FRU-E")
    {
    }
    // Valid data with the counts; every status byte operational and every
    // slot empty (0xFF) until the test writes them.
    SafteStatus& setSafte(uint16_t fans, uint16_t supplies, uint16_t slots, bool valid = true)
    {
        delete safteConfig;
        delete safteStatus;
        safteConfig = new SafteConfig();
        safteConfig->setFanCount(fans);
        safteConfig->setPowerSupplyCount(supplies);
        safteConfig->setDeviceSlotCount(slots);
        safteStatus = new SafteStatus();
        std::memset(safteStatus->ucSlotScsiId, 0xFF, sizeof safteStatus->ucSlotScsiId);
        safteDataValid = valid;
        return *safteStatus;
    }
};

class TestSES2Enclosure : public SES2EnclosureDevice {
public:
    TestSES2Enclosure(Adapter* adapter, Channel* channel, unsigned long deviceID, bool valid)
        : SES2EnclosureDevice(adapter, channel, deviceID, "ZEQ-XJP", "SES-24", "S1", "2.00", DRIVE_READY, "FRU-S")
    {
        sesDataValid = valid;
    }
};

inline SASPhy* newPhy(unsigned long id, const char* address, unsigned long attachedID, const char* attached,
                      EnumSASDeviceType attachedType = SAS_END_DEVICE)
{
    return new SASPhy(id, address, 8, 0, attachedID, attached, 0, 8, attachedType, SAS_NEG_RATE_30, SAS_PRG_RATE_15,
                      SAS_PRG_RATE_30, SAS_HW_RATE_15, SAS_HW_RATE_30, 0, false, 0, SAS_ROUTE_TABLE);
}

// An adapter that may answer for a family class ("PelmAdapter",
// "VeskAdapter", "TarnellAdapter"), with the builders of its tree.
class TestAdapter : public Adapter {
public:
    explicit TestAdapter(unsigned long id, const char* family = nullptr) : family_(family)
    {
        myAddr2.setAdapterID(id);
    }
    ~TestAdapter() override { deleteAllChildren(); }
    TestAdapter(const TestAdapter&) = delete;
    TestAdapter& operator=(const TestAdapter&) = delete;

    bool isInstanceOf(const char* className) const override
    {
        return sameName(className, family_) || Adapter::isInstanceOf(className);
    }
    int getFeature(FeatureEnum feature) override
    {
        return feature == FeatHeatSensor ? heatSensor_ : Adapter::getFeature(feature);
    }

    void describe(const char* vendor, const char* name, const char* serial, int slot)
    {
        copyVersion(deviceVendor, vendor);
        copyVersion(deviceName, name);
        copyVersion(serialNumString, serial);
        physicalSlot = slot;
    }
    void setBattery(EnumBatteryStatus status) { batStatus = status; }
    void setHeat(bool sensor, int temperature, int thresholdHi)
    {
        heatSensor_ = sensor ? 1 : 0;
        heatSensorTemperature = temperature;
        heatSensorThresholdHi = thresholdHi;
    }
    void setLibraryType(EnumStorLibType type) { myAddr2.setStorLibType(type); }
    void setStatus(EnumControllerStatus status) { adapterStatus = status; }
    void setBatteryWarning(bool warning) { batTempWarning = warning; }
    void setVersions(EnumCodeVersionStatus match, const char* bios, const char* firmware, const char* driver)
    {
        versionMatchStatus = match;
        copyVersion(biosVersion, bios);
        copyVersion(firmwareVersion, firmware);
        copyVersion(driverVersion, driver);
    }

    // A SATA channel of that many ports, or a plain channel of the type.
    Channel* channel(unsigned long id, EnumChannelType type, unsigned long ports = 4)
    {
        Channel* c = type == SATA ? new SATAChannel(this, id, SPEED_SCSI320, ports)
                                  : new Channel(this, id, type, SPEED_SCSI320);
        addChild(c);
        return c;
    }
    // A drive on the channel, or directly below the adapter without one.
    TestDrive* drive(Channel* c, unsigned long deviceID)
    {
        auto* d = new TestDrive(this, c, deviceID);
        (c ? static_cast<RaidObject*>(c) : this)->addChild(d);
        return d;
    }
    TestLogicalDrive* logical(unsigned long id, EnumRaidLevel level = RAID5, BLOCK_T dataSpace = 0,
                              const char* family = nullptr)
    {
        auto* l = new TestLogicalDrive(this, id, level, dataSpace, family);
        addChild(l);
        return l;
    }
    TestEnclosure* enclosure(Channel* c, unsigned long deviceID)
    {
        auto* e = new TestEnclosure(this, c, deviceID);
        c->addChild(e);
        return e;
    }
    TestSES2Enclosure* ses2Enclosure(Channel* c, unsigned long deviceID, bool valid = true)
    {
        auto* e = new TestSES2Enclosure(this, c, deviceID, valid);
        c->addChild(e);
        return e;
    }
    // An element of the enclosure with one SAS phy listing the link
    // address - attached.
    SESElement* slotElement(SES2EnclosureDevice* e, const char* descriptor, const char* address,
                            const char* attached)
    {
        auto* element = new SESElement(0x01, descriptor, 1);
        element->addChild(newPhy(0, address, 0, attached));
        e->addChild(element);
        return element;
    }

private:
    const char* family_;
    int heatSensor_ = 0;
};

// An SES element of the type (SES_ELEMENT_COOLING, ...) whose status word
// holds the code in its low nibble, added to the enclosure.
inline SESElement* addSESElement(SES2EnclosureDevice* e, int type, EnumSESStatusCodes code)
{
    auto* element = new SESElement(static_cast<unsigned long>(code), "", type);
    e->addChild(element);
    return element;
}

// A configuration root that owns its test adapters, so that a tree built in
// code can be stored as a snapshot.
class TestSystem : public System {
public:
    TestSystem() : System(STORLIB_UNKNOWN) {}
    void buildChildren(StorLib*, Ret&) override {}
    uint32_t getControllerCount(StorLib*, Ret&) override { return 0; }
    TestAdapter* adapter(unsigned long id, const char* family = nullptr)
    {
        auto* a = new TestAdapter(id, family);
        addChild(a);
        return a;
    }
};

// The adapter with the id in the snapshot of the system, written to the
// builder's file and read back as a monitor reads it at start; the builder
// owns it until its next build or read. Null when it is not there.
inline Adapter* storedAdapter(NRMConfigBuilder& builder, System& system, unsigned long id)
{
    builder.build(&system, nullptr);
    builder.writeXML();
    builder.readXML();
    std::vector<RaidObject*> adapters;
    if (builder.nrmSystem)
        builder.nrmSystem->getChildren(adapters, "Adapter", true, true);
    for (RaidObject* a : adapters)
        if (a->getAdapterID() == id)
            return static_cast<Adapter*>(a);
    return nullptr;
}

// The two forms of the previous configuration the compare rules meet: the
// previous live tree, and the stored snapshot read back right after start.
enum class OldSide { LIVE, SNAPSHOT };
const OldSide OLD_SIDES[] = {OldSide::LIVE, OldSide::SNAPSHOT};
inline const char* sideName(OldSide side) { return side == OldSide::LIVE ? "old side live" : "old side stored"; }

} // namespace monitortest

#endif
