#include "monitor/NRMSASPhy.h"

#ifndef MONITOR_WITHOUT_SES2

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "monitor/NRMSnapshotReader.h"

NRMSASPhy::NRMSASPhy() {}

NRMSASPhy::~NRMSASPhy() {}

bool NRMSASPhy::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "NRMSASPhy") == 0) || SASPhy::isInstanceOf(className);
}

void NRMSASPhy::writeTo(Writer* writer) const { SASPhy::writeTo(writer); }

void NRMSASPhy::build(SASPhy* live)
{
    if (!live)
        return;
    // The model's assignment takes the phy id and every field and leaves the
    // rest of the address alone.
    SASPhy::operator=(*live);
}

void NRMSASPhy::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(24);
    nrmsnapshot::readElement(parser, "SASPhy", xmlAttributes);
    const XmlAttributeList_C& a = xmlAttributes;
    // Numbers keep the low bits that their fields hold; texts are cut to 31
    // characters.
    const SASPhy stored(
        a.GetULong("phyID"), a.GetValue("SASaddress"), static_cast<unsigned char>(a.GetULong("initiatorProtocols")),
        static_cast<unsigned char>(a.GetULong("targetProtocols")), a.GetULong("attachedPhyID"),
        a.GetValue("attachedSASaddress"), static_cast<unsigned char>(a.GetULong("attachedInitiatorProtocols")),
        static_cast<unsigned char>(a.GetULong("attachedTargetProtocols")),
        static_cast<EnumSASDeviceType>(a.GetLong("attachedDeviceType")),
        static_cast<EnumSASNegotiatedLinkRate>(a.GetLong("negPhyLinkRate")),
        static_cast<EnumSASProgrammedLinkRate>(a.GetLong("progMinPhyLinkRate")),
        static_cast<EnumSASProgrammedLinkRate>(a.GetLong("progMaxPhyLinkRate")),
        static_cast<EnumSASHardwareLinkRate>(a.GetLong("hwMinPhyLinkRate")),
        static_cast<EnumSASHardwareLinkRate>(a.GetLong("hwMaxPhyLinkRate")),
        static_cast<unsigned char>(a.GetULong("phyChangeCount")), a.GetBool("virtualPhy"),
        static_cast<unsigned char>(a.GetULong("pathTimeout")), static_cast<EnumSASRoutingType>(a.GetLong("routingType")));
    SASPhy::operator=(stored);
}

#endif
