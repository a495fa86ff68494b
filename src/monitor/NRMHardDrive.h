#ifndef NRMHARDDRIVE_H
#define NRMHARDDRIVE_H

// The snapshot of a hard drive: identity, state, size, PFA, OS partition and
// task flag, and its SAS phys.

#include <string>

#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/HardDrive.h"

namespace nrmsnapshot {
struct DeviceFields;
}

class STOR_EXPORT NRMHardDrive : public HardDrive {
public:
    // A drive of the snapshot adapter and channel.
    NRMHardDrive(Adapter* owner, Channel* channelOwner);
    ~NRMHardDrive() override;
    NRMHardDrive(const NRMHardDrive&) = delete;
    NRMHardDrive& operator=(const NRMHardDrive&) = delete;

    bool isInstanceOf(const char* className) const override;
    // The drive's attributes, then "LDPath" and "taskInProgress".
    void writeTo(Writer* writer) const override;
    // Reads the "HardDrive" element the parser stands on, with its "SASPhy"
    // elements (where supported).
    void build(SimpleXmlParser& parser) override;
    // Copies a live drive: address, device type, identity texts, WWN, state,
    // interface type, SATA port, size, PFA error and support, OS partition,
    // task flag; then its SAS phys.
    void build(HardDrive* live);

    std::string LDPath;
    XmlAttributeList_C xmlAttributes;

private:
    friend struct nrmsnapshot::DeviceFields;
};

#endif
