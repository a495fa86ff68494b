#include "RaidModel/Interface/SAS/SASConnector.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SASConnector::SASConnector()
    : channelID(0x7FFFFFFF), devID(0x7FFFFFFF), laneID(0x7FFFFFFF), SASAddress(), phyID(0x7FFFFFFF),
      connectorID(0x7FFFFFFF), connectorType(0x7FFFFFFF), connectorName()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASConnector::SASConnector()");
}

SASConnector::~SASConnector()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASConnector::~SASConnector()");
}

bool SASConnector::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "SASConnector") == 0) ||
           RaidObject::isInstanceOf(className);
}

const char* SASConnector::typeName() const { return "SASConnector"; }

const char* SASConnector::serializedName() const { return "SASConnector"; }

void SASConnector::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    writer->writeInt("channelID", channelID);
    writer->writeInt("deviceID", devID);
    writer->writeInt("laneID", laneID);
    // The fields are filled directly by the model's builders; write no more
    // than their capacity even when a builder left one unterminated.
    char text[TEXT_SIZE + 1];
    std::memcpy(text, SASAddress, TEXT_SIZE);
    text[TEXT_SIZE] = '\0';
    writer->writeString("SASaddress", text);
    writer->writeInt("phyID", phyID);
    writer->writeInt("connectorID", connectorID);
    writer->writeInt("connectorType", connectorType);
    std::memcpy(text, connectorName, TEXT_SIZE);
    text[TEXT_SIZE] = '\0';
    writer->writeString("connectorName", text);
}
