#include "monitor/NRMLogicalDrive.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Serialization/Writer.h"
#include "monitor/NRMSnapshotReader.h"

namespace {

// The creation time fields under their attribute names.
struct TimeField {
    const char* name;
    uint32_t TIMESTAMP_STRUCT::*field;
};

const TimeField TIME_FIELDS[] = {
    {"createDay", &TIMESTAMP_STRUCT::day},       {"createMonth", &TIMESTAMP_STRUCT::month},
    {"createYear", &TIMESTAMP_STRUCT::year},     {"createHour", &TIMESTAMP_STRUCT::hour},
    {"createMinute", &TIMESTAMP_STRUCT::minute}, {"createSecond", &TIMESTAMP_STRUCT::second},
    {"createMilliSec", &TIMESTAMP_STRUCT::msecond},
};

} // namespace

NRMLogicalDrive::NRMLogicalDrive(Adapter* owner) { adapter = owner; }

NRMLogicalDrive::~NRMLogicalDrive() {}

bool NRMLogicalDrive::isInstanceOf(const char* className) const
{
    return isClassName(className, "NRMLogicalDrive") || LogicalDrive::isInstanceOf(className);
}

// The model writes its task flag as "bTaskInProgress"; the snapshot's flag is
// that same field, so the name appears once.
void NRMLogicalDrive::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    LogicalDrive::writeTo(writer);
    writer->writeString("logicalName", logicalName.c_str());
    writer->writeString("LDPath", LDPath.c_str());
    writer->writeString("secondaryLogicals", secondaryLogicals);
    for (const TimeField& t : TIME_FIELDS)
        writer->writeULong(t.name, createTimeStamp.*t.field);
    writer->writeInt("badBlockCount", badBlockCount);
}

void NRMLogicalDrive::build(LogicalDrive* live)
{
    if (!live)
        return;
    myAddr2 = live->getAddr2();
    state = live->getState();
    raidLevel = live->getRaidLevel();
    blockedAccess = live->getBlockedAccess();
    writeCacheMode = live->getWriteCacheMode();
    bOSPartition = live->hasOSPartition();
    badBlockCount = live->getBadBlockCount();
    snapshotType = live->getSnapshotType();
    snapshotPartnerID = live->getSnapshotPartnerID();
    if (live->getSecondaryLogicals())
        copyText(secondaryLogicals, SECONDARY_LOGICALS_SIZE, live->getSecondaryLogicals());
    createTimeStamp = live->getCreateTimeStamp();
}

void NRMLogicalDrive::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(48);
    if (adapter)
        myAddr2.setAdapterID(adapter->getAdapterID());
    nrmsnapshot::readElement(
        parser, "LogicalDrive", xmlAttributes,
        [this](const char* name) {
            if (std::strcmp(name, "logicalDriveID") == 0)
                myAddr2.setLogicalDriveID(xmlAttributes.GetULong(name));
        },
        [](SimpleXmlParser&) {});

    const XmlAttributeList_C& a = xmlAttributes;
    // The array the drive belongs to, as the live copy has it.
    if (a.Exists("arrayID"))
        myAddr2.setArrayID(a.GetULong("arrayID"));
    state = static_cast<EnumLogicalDeviceState>(a.GetLong("state"));
    raidLevel = static_cast<EnumRaidLevel>(a.GetLong("raidLevel"));
    blockedAccess = a.GetBool("blockedAccess");
    writeCacheMode = static_cast<EnumLogicalDriveCacheMode>(a.GetLong("writeCacheMode"));
    bOSPartition = a.GetBool("OSPartition");
    badBlockCount = a.GetLong("badBlockCount");
    snapshotType = static_cast<EnumSnapshotType>(a.GetLong("snapshotType"));
    snapshotPartnerID = a.GetULong("snapshotPartnerID");
    LDPath = a.GetValue("LDPath");
    copyText(secondaryLogicals, SECONDARY_LOGICALS_SIZE, a.GetValue("secondaryLogicals"));
    for (const TimeField& t : TIME_FIELDS)
        createTimeStamp.*t.field = a.GetULong(t.name);
    uniqueID = a.GetULong("uniqueID");
    logicalName = a.GetValue("logicalName");
    bTaskInProgress = a.GetBool("bTaskInProgress");
}
