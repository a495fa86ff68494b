#ifndef NRMLOGICALDRIVE_H
#define NRMLOGICALDRIVE_H

// The snapshot of a logical drive: state, RAID level, blocked access, cache
// mode, OS partition, bad stripes, snapshot role, secondary logicals and
// creation time. Sub-logical drives are snapshot alike; all of a
// controller's logical drives are direct children of its snapshot.

#include <string>

#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/LogicalDrive.h"

class SimpleXmlParser;

class STOR_EXPORT NRMLogicalDrive : public LogicalDrive {
public:
    // A logical drive of the snapshot adapter owner.
    explicit NRMLogicalDrive(Adapter* owner);
    ~NRMLogicalDrive() override;
    NRMLogicalDrive(const NRMLogicalDrive&) = delete;
    NRMLogicalDrive& operator=(const NRMLogicalDrive&) = delete;

    bool isInstanceOf(const char* className) const override;
    // The logical drive's attributes (its "bTaskInProgress" among them),
    // then "logicalName", "LDPath", "secondaryLogicals", the seven creation
    // time fields from "createDay" to "createMilliSec", and "badBlockCount".
    void writeTo(Writer* writer) const override;
    // Reads the "LogicalDrive" element the parser stands on.
    void build(SimpleXmlParser& parser);
    // Copies a live logical drive: address, state, RAID level, blocked
    // access, write cache mode, OS partition, bad-block count, snapshot type
    // and partner, secondary logicals and the creation time stamp. The
    // unique id stays 0, the name empty and the task flag false.
    void build(LogicalDrive* live);

    std::string logicalName;
    std::string LDPath;
    XmlAttributeList_C xmlAttributes;
};

#endif
