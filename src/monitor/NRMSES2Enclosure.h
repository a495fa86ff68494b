#ifndef NRMSES2ENCLOSURE_H
#define NRMSES2ENCLOSURE_H

// The snapshot of an SES-2 enclosure services device and of its elements.
// Its SES readings (fan and power-supply counts and codes, temperature) come
// from the model class over the copied element children, so a stored
// enclosure answers them as a live one does. Not part of the monitor built
// without SES-2 support (MONITOR_WITHOUT_SES2).

#ifndef MONITOR_WITHOUT_SES2

#include "RaidLib/Util/SESElements.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"

namespace nrmsnapshot {
struct DeviceFields;
}

// An element: its type, status word and descriptor, and its SAS phys.
class STOR_EXPORT NRMSESElement : public SESElement {
public:
    NRMSESElement();
    ~NRMSESElement() override;
    NRMSESElement(const NRMSESElement&) = delete;
    NRMSESElement& operator=(const NRMSESElement&) = delete;

    // Also true for "SESElement".
    bool isInstanceOf(const char* className) const override;
    // The base attributes of a node, "status", "descriptor", "elementType".
    void writeTo(Writer* writer) const override;
    using SESElement::build;
    // Reads the "SESElement" element the parser stands on, with its "SASPhy"
    // elements.
    void build(SimpleXmlParser& parser);
    // Type, status and descriptor of a live element and its SAS phys; the
    // address is not copied.
    void build(SESElement* live);

    XmlAttributeList_C xmlAttributes;
};

class STOR_EXPORT NRMSES2Enclosure : public SES2EnclosureDevice {
public:
    // An enclosure of the snapshot adapter and channel.
    NRMSES2Enclosure(Adapter* owner, Channel* channelOwner);
    ~NRMSES2Enclosure() override;
    NRMSES2Enclosure(const NRMSES2Enclosure&) = delete;
    NRMSES2Enclosure& operator=(const NRMSES2Enclosure&) = delete;

    bool isInstanceOf(const char* className) const override;
    // The enclosure's attributes, then "sesDataValid".
    void writeTo(Writer* writer) const override;
    // As the model's, and the phys of an element take the element's number,
    // which the element receives only as it joins: a snapshot element is
    // complete, phys and all, before it is added.
    void descendantAdded(RaidObject* descendant) override;
    // Reads the "SESEnclosureDevice" element the parser stands on, with its
    // "SESElement" elements.
    void build(SimpleXmlParser& parser) override;
    // Copies the device fields of a live enclosure, its elements and whether
    // its SES data is valid.
    void build(SES2EnclosureDevice* live);

    XmlAttributeList_C xmlAttributes;

private:
    friend struct nrmsnapshot::DeviceFields;
};

#endif

#endif
