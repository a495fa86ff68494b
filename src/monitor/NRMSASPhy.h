#ifndef NRMSASPHY_H
#define NRMSASPHY_H

// The snapshot of a SAS phy of a controller, a drive or an SES element. Not
// part of the monitor built without SAS phy support (MONITOR_WITHOUT_SES2).

#ifndef MONITOR_WITHOUT_SES2

#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/SAS/SASPhy.h"

class STOR_EXPORT NRMSASPhy : public SASPhy {
public:
    NRMSASPhy();
    ~NRMSASPhy() override;
    NRMSASPhy(const NRMSASPhy&) = delete;
    NRMSASPhy& operator=(const NRMSASPhy&) = delete;

    bool isInstanceOf(const char* className) const override;
    void writeTo(Writer* writer) const override;
    // Reads the "SASPhy" element the parser stands on.
    void build(SimpleXmlParser& parser);
    // The phy id (only that id of the address) and every field of a live phy.
    void build(SASPhy* live);

    XmlAttributeList_C xmlAttributes;
};

#endif

#endif
