#ifndef NRMADAPTER_H
#define NRMADAPTER_H

// The snapshot of a controller: the fields that the monitor's rules and the
// family monitors read, its channels (with their drives and enclosures), all
// its logical drives as direct children, and its SAS phys.

#include <string>

#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/Adapter.h"

class STOR_EXPORT NRMAdapter : public Adapter {
public:
    NRMAdapter();
    ~NRMAdapter() override;
    NRMAdapter(const NRMAdapter&) = delete;
    NRMAdapter& operator=(const NRMAdapter&) = delete;

    bool isInstanceOf(const char* className) const override;
    // The controller's attributes, then "LDPath", "controllerSerial", the PCI
    // location, the battery, "versionMatchStatus", "deviceVendor" and
    // "deviceName".
    void writeTo(Writer* writer) const override;
    // Reads the "Controller" element the parser stands on, with its
    // "Channel", "LogicalDrive" and (where supported) "SASPhy" elements at
    // any depth.
    void build(SimpleXmlParser& parser) override;
    // Copies a live controller: address with its library type, model code,
    // slot, status, versions, vendor and name, PCI location, battery, version
    // match, serial number and the seven limits of getLimit; then its
    // channels, its logical drives (those below a "Config" at every level)
    // and its SAS phys, each added once it is complete.
    void build(Adapter* live);

    // The device path of the controller; carried and written, never read back.
    std::string LDPath;
    XmlAttributeList_C xmlAttributes;
};

#endif
