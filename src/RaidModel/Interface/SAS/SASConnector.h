#ifndef SASCONNECTOR_H
#define SASCONNECTOR_H

#include <cstdint>

#include "RaidModel/Interface/RaidObject.h"

// One physical connector of a controller. Its numbers are fields of the
// connector, separate from the ids of its address; the code that builds the
// model sets them directly. Written as "SASConnector", never read back.
class STOR_EXPORT SASConnector : public RaidObject {
public:
    static const unsigned TEXT_SIZE = 32;

    // The six numbers 0x7FFFFFFF, both texts empty.
    SASConnector();
    ~SASConnector() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;

    int32_t getChannelID() const { return channelID; }
    int32_t getDevID() const { return devID; }
    int32_t getLaneID() const { return laneID; }
    const char* getSASAddress() const { return SASAddress; }
    int32_t getPhyID() const { return phyID; }
    int32_t getConnectorID() const { return connectorID; }
    int32_t getConnectorType() const { return connectorType; }
    const char* getConnectorName() const { return connectorName; }

    int32_t channelID;
    int32_t devID;
    int32_t laneID;
    char SASAddress[TEXT_SIZE];
    int32_t phyID;
    int32_t connectorID;
    int32_t connectorType;
    char connectorName[TEXT_SIZE];
};

#endif
