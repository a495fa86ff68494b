// The controller's XML reader: the "Controller" element with its channels,
// logical drives and SAS phys, and the RAID support list derived from the
// element's feature attributes.
#include <cstring>
#include <new>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/BasicLogicalDrive.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SASChannel.h"
#include "RaidModel/Interface/SATAChannel.h"
#include "RaidModel/Interface/SCSIChannel.h"

namespace {

// How the largest member count of a level is found.
enum MaxMembersFrom { MAX_FIXED, MAX_FROM_ATTRIBUTE, MAX_LOGICAL_DRIVE_MEMBERS };

struct MigrateStep {
    const char* attribute;
    EnumRaidLevel level;
};

// One supported level: the attribute that says the controller has it, its
// stripe sizes and member counts, its spares and the levels it can be
// changed into, in the order they are listed.
struct LevelStep {
    EnumRaidLevel level;
    const char* presence;     // null: always present
    bool adapterStripeSizes;  // else STRIPE_NA for both
    uint32_t minMembers;
    MaxMembersFrom maxFrom;
    uint32_t maxFixed;
    const char* maxAttribute;
    bool dedicatedSpares;     // else 0
    MigrateStep migrate[8];
};

const LevelStep levelSteps[] = {
    {RAID0, "featRaid0", true, 2, MAX_FROM_ATTRIBUTE, 0, "maxRaid0Members", false,
     {{"featExpandRaid0", RAID0},
      {"featMorphRaid0ToRaid1", RAID1},
      {"featMorphRaid0ToRaid5", RAID5},
      {"featMorphRaid0ToRaid10", RAID10},
      {"featMorphRaid0ToRaid50", RAID50},
      {"featMorphRaid0ToSimpleVolume", SIMPLE_VOLUME},
      {"featMorphRaid0ToSpannedVolume", SPANNED_VOLUME}}},
    {RAID1, "featRaid1", false, 2, MAX_FIXED, 2, nullptr, true,
     {{"featExpandRaid1", RAID1},
      {"featMorphRaid1ToRaid0", RAID0},
      {"featMorphRaid1ToRaid5", RAID5},
      {"featMorphRaid1ToRaid10", RAID10},
      {"featMorphRaid1ToRaid50", RAID50},
      {"featMorphRaid1ToSimpleVolume", SIMPLE_VOLUME},
      {"featMorphRaid1ToSpannedVolume", SPANNED_VOLUME}}},
    {RAID5, "featRaid5", true, 3, MAX_FROM_ATTRIBUTE, 0, "maxRaid5Members", true,
     {{"featExpandRaid5", RAID5},
      {"featMorphRaid5ToRaid0", RAID0},
      {"featMorphRaid5ToRaid1", RAID1},
      {"featMorphRaid5ToRaid10", RAID10},
      {"featMorphRaid5ToRaid50", RAID50},
      {"featMorphRaid5ToSimpleVolume", SIMPLE_VOLUME},
      {"featMorphRaid5ToSpannedVolume", SPANNED_VOLUME}}},
    {RAID10, "featRaid10", true, 2, MAX_LOGICAL_DRIVE_MEMBERS, 0, nullptr, true,
     {{"featExpandRaid10", RAID10},
      {"featMorphRaid10ToRaid0", RAID0},
      {"featMorphRaid10ToRaid1", RAID1},
      {"featMorphRaid10ToRaid5", RAID5},
      {"featMorphRaid10ToRaid50", RAID50},
      {"featMorphRaid10ToSimpleVolume", SIMPLE_VOLUME},
      {"featMorphRaid10ToSpannedVolume", SPANNED_VOLUME}}},
    {RAID50, "featRaid50", true, 2, MAX_LOGICAL_DRIVE_MEMBERS, 0, nullptr, true,
     {{"featExpandRaid50", RAID50},
      {"featMorphRaid50ToRaid0", RAID0},
      {"featMorphRaid50ToRaid1", RAID1},
      {"featMorphRaid50ToRaid5", RAID5},
      {"featMorphRaid50ToRaid10", RAID10},
      {"featMorphRaid50ToSimpleVolume", SIMPLE_VOLUME},
      {"featMorphRaid50ToSpannedVolume", SPANNED_VOLUME}}},
    {SIMPLE_VOLUME, nullptr, false, 1, MAX_FIXED, 1, nullptr, false,
     {{"featExpandSimpleVolume", SIMPLE_VOLUME},
      {"featMorphSimpleVolumeToRaid0", RAID0},
      {"featMorphSimpleVolumeToRaid1", RAID1},
      {"featMorphSimpleVolumeToRaid5", RAID5},
      {"featMorphSimpleVolumeToRaid10", RAID10},
      {"featMorphSimpleVolumeToSpannedVolume", SPANNED_VOLUME},
      {"featMorphSimpleVolumeToRaid50", RAID50}}},
    {SPANNED_VOLUME, "featSpannedVolume", false, 2, MAX_FROM_ATTRIBUTE, 0, "maxSpannedVolumeMembers", false,
     {{"featExpandSpannedVolume", SPANNED_VOLUME},
      {"featMorphSpannedVolumeToRaid0", RAID0},
      {"featMorphSpannedVolumeToRaid1", RAID1},
      {"featMorphSpannedVolumeToRaid5", RAID5},
      {"featMorphSpannedVolumeToRaid10", RAID10},
      {"featMorphSpannedVolumeToSimpleVolume", SIMPLE_VOLUME},
      {"featMorphSpannedVolumeToRaid50", RAID50}}},
    {RAID_VOLUME, "featRaidVolume", false, 2, MAX_FROM_ATTRIBUTE, 0, "maxRaidVolumeMembers", true,
     {{"featExpandRaidVolume", RAID_VOLUME},
      {"featMorphRaidVolumeToRaid0", RAID0},
      {"featMorphRaidVolumeToRaid1", RAID1},
      {"featMorphRaidVolumeToRaid5", RAID5},
      {"featMorphRaidVolumeToRaid10", RAID10},
      {"featMorphRaidVolumeToRaid50", RAID50},
      {"featMorphRaidVolumeToSimpleVolume", SIMPLE_VOLUME},
      {"featMorphRaidVolumeToSpannedVolume", SPANNED_VOLUME}}},
    {RAID5EE, "featRaid5EE", true, 3, MAX_LOGICAL_DRIVE_MEMBERS, 0, nullptr, true, {}},
    {RAID6, "featRaid6", true, 4, MAX_LOGICAL_DRIVE_MEMBERS, 0, nullptr, true, {}},
};

// The channel class named by a "Channel" element's "typeName": the first of
// the three base class names that the value contains.
RaidObject* newChannel(const char* typeName, Adapter* adapter, SimpleXmlParser& xmlParser)
{
    if (!typeName)
        return nullptr;
    if (std::strstr(typeName, "SCSIChannel"))
        return new SCSIChannel(adapter, xmlParser);
    if (std::strstr(typeName, "SATAChannel"))
        return new SATAChannel(adapter, xmlParser);
    if (std::strstr(typeName, "SASChannel"))
        return new SASChannel(adapter, xmlParser);
    return nullptr;
}

} // namespace

// Starts from the default controller; should the reading fail, the
// controller is destroyed as a whole (its subtree by build()).
Adapter::Adapter(SimpleXmlParser& xmlParser) : Adapter()
{
    attribList.setInitElements(110);
    build(xmlParser);
}

void Adapter::build(SimpleXmlParser& xmlParser)
{
    delete features;
    features = nullptr;
    features = new AdapterFeatures();

    try {
        do {
            RaidObject* child = nullptr;
            if (xmlParser.tagIs("Controller")) {
                if (xmlParser.foundEndTag())
                    break;
                if (const char* name = xmlParser.getName()) {
                    attribList.Append(name, xmlParser.getValue());
                    // Taken at once: every child added below is stamped with them.
                    if (std::strcmp(name, "storlibType") == 0)
                        myAddr2.setStorLibType(static_cast<EnumStorLibType>(attribList.GetULong("storlibType")));
                    else if (std::strcmp(name, "controllerID") == 0)
                        myAddr2.setAdapterID(attribList.GetULong("controllerID"));
                }
            } else if (xmlParser.tagIs("Channel")) {
                if (xmlParser.nameIs("typeName"))
                    child = newChannel(xmlParser.getValue(), this, xmlParser);
            } else if (xmlParser.tagIs("LogicalDrive")) {
                if (xmlParser.foundStartTag())
                    child = new BasicLogicalDrive(this, xmlParser);
            } else if (xmlParser.tagIs("SASPhy")) {
                if (xmlParser.foundStartTag())
                    child = new SASPhy(xmlParser);
            }
            if (child)
                addChild(child);
        } while (xmlParser.parseNext());
    } catch (...) {
        deleteAllChildren();
        channelVec.clear();
        scsiChannelVec.clear();
        sasChannelVec.clear();
        sataChannelVec.clear();
        hardDriveVec.clear();
        logicalDriveVec.clear();
        enclosureVec.clear();
        ses2EnclosureVec.clear();
        allPhysicalsVec.clear();
        otherPhysicalsVec.clear();
        SASConnectorVec.clear();
        throw;
    }

    if (features)
        features->initFromXML(attribList);

    XmlAttributeList_C& a = attribList;
    if (a.Exists("controllerID"))
        myAddr2.setAdapterID(a.GetULong("controllerID"));
    if (a.Exists("controllerType"))
        adapterType = a.GetLong("controllerType"); // the library type is not derived again
    if (a.Exists("controllerStatus"))
        adapterStatus = static_cast<EnumControllerStatus>(a.GetLong("controllerStatus"));
    if (a.Exists("biosVersion"))
        copyVersion(biosVersion, a.GetValue("biosVersion"));
    if (a.Exists("firmwareVersion"))
        copyVersion(firmwareVersion, a.GetValue("firmwareVersion"));
    if (a.Exists("driverVersion"))
        copyVersion(driverVersion, a.GetValue("driverVersion"));
    if (a.Exists("firmwareBootVersion"))
        copyVersion(firmwareBootVersion, a.GetValue("firmwareBootVersion"));
    if (a.Exists("physicalSlot"))
        physicalSlot = a.GetLong("physicalSlot");
    if (a.Exists("unattended"))
        unattended = a.GetBool("unattended");
    if (a.Exists("maxLogicalDrives"))
        maxLogicalDrives = a.GetLong("maxLogicalDrives");
    if (a.Exists("maxArrays"))
        maxArrays = a.GetLong("maxArrays");
    if (a.Exists("maxSpannedArrays"))
        maxSpannedArrays = a.GetLong("maxSpannedArrays");
    if (a.Exists("maxChannels"))
        maxChannels = a.GetLong("maxChannels");
    if (a.Exists("maxID"))
        maxTargetID = a.GetLong("maxID");
    if (a.Exists("maxDevicesPerArray"))
        maxDevicesPerArray = a.GetLong("maxDevicesPerArray");
    if (a.Exists("maxControllers"))
        maxControllers = a.GetLong("maxControllers");
    if (a.Exists("buildNum"))
        buildNum = static_cast<uint32_t>(a.GetLong("buildNum"));
    if (a.Exists("firmwareBuildNum"))
        fwBuildNum = a.GetULong("firmwareBuildNum");
    if (a.Exists("biosBuildNum"))
        biosBuildNum = a.GetULong("biosBuildNum");
    if (a.Exists("driverBuildNum"))
        driverBuildNum = a.GetULong("driverBuildNum");
    if (a.Exists("alarmState"))
        alarmState = static_cast<EnumAlarmState>(a.GetLong("alarmState"));

    deriveRaidLevelSupport();
}

void Adapter::deriveRaidLevelSupport()
{
    const XmlAttributeList_C& a = attribList;
    const uint32_t spares = a.GetULong("maxDedicatedSparesPerLogicalDrive");
    const int32_t logicalDriveMembers = a.GetLong("maxLogicalDriveMembers");

    raidLevelSupport.clear();
    const RaidSupportInfo scratch;
    for (const LevelStep& step : levelSteps) {
        if (step.presence && a.GetLong(step.presence) == 0)
            continue;
        raidLevelSupport.push_back(scratch);
        RaidSupportInfo& info = raidLevelSupport.back();
        info.raidLevel = step.level;
        if (step.adapterStripeSizes) {
            info.minStripeSize = static_cast<EnumStripeSize>(minStripeSize);
            info.maxStripeSize = static_cast<EnumStripeSize>(maxStripeSize);
        } else {
            info.minStripeSize = STRIPE_NA;
            info.maxStripeSize = STRIPE_NA;
        }
        info.minMembers = step.minMembers;
        switch (step.maxFrom) {
        case MAX_FIXED:
            info.maxMembers = step.maxFixed;
            break;
        case MAX_FROM_ATTRIBUTE:
            info.maxMembers = static_cast<uint32_t>(a.GetLong(step.maxAttribute));
            break;
        case MAX_LOGICAL_DRIVE_MEMBERS:
            info.maxMembers = static_cast<uint32_t>(logicalDriveMembers);
            break;
        }
        info.maxDedicatedSpares = step.dedicatedSpares ? spares : 0;
        for (const MigrateStep& m : step.migrate) {
            if (m.attribute && a.GetLong(m.attribute) != 0)
                info.migrateTo.push_back(m.level);
        }
    }
}
