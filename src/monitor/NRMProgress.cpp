#include "monitor/NRMProgress.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Serialization/Writer.h"
#include "monitor/NRMSnapshotReader.h"

// ---- NRMProgress ----

NRMProgress::NRMProgress()
    : taskID(UNSET), taskType(UNSET), taskState(UNSET), percentageComplete(UNSET), LDUniqueID(0)
{
}

NRMProgress::NRMProgress(const NRMProgress& right)
    : RaidObject(right), taskID(right.taskID), taskType(right.taskType), taskState(right.taskState),
      percentageComplete(right.percentageComplete), address(right.address), adapterSerial(right.adapterSerial),
      LDUniqueID(right.LDUniqueID)
{
}

NRMProgress& NRMProgress::operator=(const NRMProgress& right)
{
    build(const_cast<NRMProgress*>(&right));
    return *this;
}

void NRMProgress::build(NRMProgress* other)
{
    if (!other || other == this)
        return;
    taskID = other->taskID;
    taskType = other->taskType;
    taskState = other->taskState;
    percentageComplete = other->percentageComplete;
    address = other->address;
    adapterSerial = other->adapterSerial;
    LDUniqueID = other->LDUniqueID;
}

NRMProgress::~NRMProgress() {}

bool NRMProgress::isInstanceOf(const char* className) const
{
    return className && std::strcmp(className, "Progress") == 0;
}

const char* NRMProgress::typeName() const { return "Progress"; }

const char* NRMProgress::serializedName() const { return "Progress"; }

void NRMProgress::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    writer->writeULong("taskID", taskID);
    writer->writeULong("taskType", taskType);
    writer->writeULong("taskState", taskState);
    writer->writeULong("percentageComplete", percentageComplete);
    writer->writeAddr(address);
    writer->writeString("adapterSerial", adapterSerial.c_str());
    writer->writeULong("LDUniqueID", LDUniqueID);
}

void NRMProgress::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(12);
    nrmsnapshot::readElement(
        parser, "Progress", xmlAttributes,
        [this](const char* name) {
            // The ids of the address, each as it is met.
            const uint32_t id = xmlAttributes.GetULong(name);
            if (std::strcmp(name, "controllerID") == 0)
                address.setAdapterID(id);
            else if (std::strcmp(name, "arrayID") == 0)
                address.setArrayID(id);
            else if (std::strcmp(name, "logicalDriveID") == 0)
                address.setLogicalDriveID(id);
            else if (std::strcmp(name, "channelID") == 0)
                address.setChannelID(id);
            else if (std::strcmp(name, "deviceID") == 0)
                address.setDeviceID(id);
            else if (std::strcmp(name, "chunkID") == 0)
                address.setChunkID(id);
        },
        [](SimpleXmlParser&) {});
    taskID = xmlAttributes.GetULong("taskID");
    taskType = xmlAttributes.GetULong("taskType");
    taskState = xmlAttributes.GetULong("taskState");
    percentageComplete = xmlAttributes.GetULong("percentageComplete");
    adapterSerial = xmlAttributes.GetValue("adapterSerial");
    LDUniqueID = xmlAttributes.GetULong("LDUniqueID");
}

// ---- NRMProgressCollection ----

NRMProgressCollection::NRMProgressCollection() {}

NRMProgressCollection::NRMProgressCollection(const NRMProgressCollection& right) : RaidObject(right)
{
    append(right);
}

NRMProgressCollection& NRMProgressCollection::operator=(const NRMProgressCollection& right)
{
    if (this != &right)
        append(right);
    return *this;
}

void NRMProgressCollection::build(NRMProgressCollection* other)
{
    if (other && other != this)
        append(*other);
}

NRMProgressCollection::~NRMProgressCollection() { deleteAllChildren(); }

void NRMProgressCollection::append(const NRMProgressCollection& source)
{
    for (RaidObject* child : source.getChildren()) {
        if (child && child->isInstanceOf("Progress")) {
            NRMProgress* copy = new NRMProgress(*static_cast<NRMProgress*>(child));
            if (copy)
                addChild(copy);
        }
    }
}

bool NRMProgressCollection::isInstanceOf(const char* className) const
{
    return className && std::strcmp(className, "ProgressCollection") == 0;
}

const char* NRMProgressCollection::typeName() const { return "ProgressCollection"; }

const char* NRMProgressCollection::serializedName() const { return "ProgressCollection"; }

void NRMProgressCollection::writeTo(Writer*) const {}

void NRMProgressCollection::build(SimpleXmlParser& parser)
{
    nrmsnapshot::readElement(
        parser, "ProgressCollection", xmlAttributes, [](const char*) {},
        [this](SimpleXmlParser& p) {
            if (p.tagIs("Progress"))
                addChild(nrmsnapshot::readChild(new NRMProgress(), p));
        });
}
