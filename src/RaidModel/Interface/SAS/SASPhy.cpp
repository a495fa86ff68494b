#include "RaidModel/Interface/SAS/SASPhy.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Serialization/Writer.h"

SASPhy::SASPhy()
    : attachedDeviceType(SAS_NO_DEVICE), negPhyLinkRate(SAS_NEG_RATE_UNKNOWN), initiatorProtocols(0),
      targetProtocols(0), attachedInitiatorProtocols(0), attachedTargetProtocols(0), SASaddress(),
      attachedSASaddress(), attachedPhyID(0), progMinPhyLinkRate(SAS_PRG_RATE_NOT_PROGRAMMABLE),
      progMaxPhyLinkRate(SAS_PRG_RATE_NOT_PROGRAMMABLE),
      hwMinPhyLinkRate(static_cast<EnumSASHardwareLinkRate>(0)),
      hwMaxPhyLinkRate(static_cast<EnumSASHardwareLinkRate>(0)), phyChangeCount(0), virtualPhy(false),
      pathTimeout(0), routingType(SAS_ROUTE_DIRECT)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SASPhy::SASPhy()");
}

SASPhy::SASPhy(unsigned long phyID, const char* SASaddressIN, unsigned char initiatorProtocolsIN,
               unsigned char targetProtocolsIN, unsigned long attachedPhyIDIN,
               const char* attachedSASaddressIN, unsigned char attachedInitiatorProtocolsIN,
               unsigned char attachedTargetProtocolsIN, EnumSASDeviceType attachedDeviceTypeIN,
               EnumSASNegotiatedLinkRate negPhyLinkRateIN,
               EnumSASProgrammedLinkRate progMinPhyLinkRateIN,
               EnumSASProgrammedLinkRate progMaxPhyLinkRateIN,
               EnumSASHardwareLinkRate hwMinPhyLinkRateIN, EnumSASHardwareLinkRate hwMaxPhyLinkRateIN,
               unsigned char phyChangeCountIN, bool virtualPhyIN, unsigned char pathTimeoutIN,
               EnumSASRoutingType routingTypeIN)
    : attachedDeviceType(attachedDeviceTypeIN), negPhyLinkRate(negPhyLinkRateIN),
      initiatorProtocols(initiatorProtocolsIN), targetProtocols(targetProtocolsIN),
      attachedInitiatorProtocols(attachedInitiatorProtocolsIN),
      attachedTargetProtocols(attachedTargetProtocolsIN), SASaddress(), attachedSASaddress(),
      attachedPhyID(static_cast<STORID_T>(attachedPhyIDIN)), progMinPhyLinkRate(progMinPhyLinkRateIN),
      progMaxPhyLinkRate(progMaxPhyLinkRateIN), hwMinPhyLinkRate(hwMinPhyLinkRateIN),
      hwMaxPhyLinkRate(hwMaxPhyLinkRateIN), phyChangeCount(phyChangeCountIN), virtualPhy(virtualPhyIN),
      pathTimeout(pathTimeoutIN), routingType(routingTypeIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASPhy::SASPhy(unsigned long phyID, ...)");
    myAddr2.setSASPhyID(static_cast<STORID_T>(phyID));
    copyText(SASaddress, SASaddressIN);
    copyText(attachedSASaddress, attachedSASaddressIN);
}

SASPhy::SASPhy(const SASPhy& right) : RaidObject(right)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASPhy::SASPhy(const SASPhy &)");
    copyFields(right);
}

SASPhy::SASPhy(SimpleXmlParser& xmlParser) : SASPhy()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SASPhy::SASPhy(SimpleXmlParser &xmlParser)");
    build(xmlParser);
}

SASPhy::~SASPhy()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SASPhy::~SASPhy()");
}

void SASPhy::copyFields(const SASPhy& right)
{
    myAddr2.setSASPhyID(right.getPhyID());
    attachedDeviceType = right.attachedDeviceType;
    negPhyLinkRate = right.negPhyLinkRate;
    initiatorProtocols = right.initiatorProtocols;
    targetProtocols = right.targetProtocols;
    attachedInitiatorProtocols = right.attachedInitiatorProtocols;
    attachedTargetProtocols = right.attachedTargetProtocols;
    copyText(SASaddress, right.SASaddress);
    copyText(attachedSASaddress, right.attachedSASaddress);
    attachedPhyID = right.attachedPhyID;
    progMinPhyLinkRate = right.progMinPhyLinkRate;
    progMaxPhyLinkRate = right.progMaxPhyLinkRate;
    hwMinPhyLinkRate = right.hwMinPhyLinkRate;
    hwMaxPhyLinkRate = right.hwMaxPhyLinkRate;
    phyChangeCount = right.phyChangeCount;
    virtualPhy = right.virtualPhy;
    pathTimeout = right.pathTimeout;
    routingType = right.routingType;
}

SASPhy& SASPhy::operator=(const SASPhy& right)
{
    if (this != &right)
        copyFields(right);
    return *this;
}

bool SASPhy::operator==(const SASPhy& right) const
{
    return getPhyID() == right.getPhyID() && attachedDeviceType == right.attachedDeviceType &&
           negPhyLinkRate == right.negPhyLinkRate && initiatorProtocols == right.initiatorProtocols &&
           targetProtocols == right.targetProtocols &&
           attachedInitiatorProtocols == right.attachedInitiatorProtocols &&
           attachedTargetProtocols == right.attachedTargetProtocols &&
           std::strcmp(SASaddress, right.SASaddress) == 0 &&
           std::strcmp(attachedSASaddress, right.attachedSASaddress) == 0 &&
           attachedPhyID == right.attachedPhyID && progMinPhyLinkRate == right.progMinPhyLinkRate &&
           progMaxPhyLinkRate == right.progMaxPhyLinkRate &&
           hwMinPhyLinkRate == right.hwMinPhyLinkRate && hwMaxPhyLinkRate == right.hwMaxPhyLinkRate &&
           phyChangeCount == right.phyChangeCount && virtualPhy == right.virtualPhy &&
           pathTimeout == right.pathTimeout && routingType == right.routingType;
}

bool SASPhy::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "SASPhy") == 0) || RaidObject::isInstanceOf(className);
}

const char* SASPhy::typeName() const { return "SASPhy"; }

const char* SASPhy::serializedName() const { return "SASPhy"; }

void SASPhy::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    writer->writeString("SASaddress", SASaddress);
    writer->writeInt("initiatorProtocols", initiatorProtocols);
    writer->writeInt("targetProtocols", targetProtocols);
    writer->writeInt("attachedPhyID", static_cast<int>(attachedPhyID));
    writer->writeString("attachedSASaddress", attachedSASaddress);
    writer->writeInt("attachedInitiatorProtocols", attachedInitiatorProtocols);
    writer->writeInt("attachedTargetProtocols", attachedTargetProtocols);
    writer->writeInt("attachedDeviceType", attachedDeviceType);
    writer->writeInt("negPhyLinkRate", negPhyLinkRate);
    writer->writeInt("progMinPhyLinkRate", progMinPhyLinkRate);
    writer->writeInt("progMaxPhyLinkRate", progMaxPhyLinkRate);
    writer->writeInt("hwMinPhyLinkRate", hwMinPhyLinkRate);
    writer->writeInt("hwMaxPhyLinkRate", hwMaxPhyLinkRate);
    writer->writeInt("phyChangeCount", phyChangeCount);
    writer->writeBool("virtualPhy", virtualPhy);
    writer->writeInt("pathTimeout", pathTimeout);
    writer->writeInt("routingType", routingType);
}

void SASPhy::build(SimpleXmlParser& xmlParser)
{
    do {
        if (xmlParser.tagIs("SASPhy")) {
            if (xmlParser.foundEndTag())
                break;
            if (xmlParser.getName())
                attribList.Append(xmlParser.getName(), xmlParser.getValue());
        }
    } while (xmlParser.parseNext());

    // Absent attributes give 0, false or an empty text. The address ids are
    // not read: the parents stamp them when the phy is added.
    copyText(SASaddress, attribList.GetValue("SASaddress"));
    initiatorProtocols = static_cast<unsigned char>(attribList.GetLong("initiatorProtocols"));
    targetProtocols = static_cast<unsigned char>(attribList.GetLong("targetProtocols"));
    attachedPhyID = static_cast<STORID_T>(attribList.GetLong("attachedPhyID"));
    copyText(attachedSASaddress, attribList.GetValue("attachedSASaddress"));
    attachedInitiatorProtocols =
        static_cast<unsigned char>(attribList.GetLong("attachedInitiatorProtocols"));
    attachedTargetProtocols = static_cast<unsigned char>(attribList.GetLong("attachedTargetProtocols"));
    attachedDeviceType = static_cast<EnumSASDeviceType>(attribList.GetLong("attachedDeviceType"));
    negPhyLinkRate = static_cast<EnumSASNegotiatedLinkRate>(attribList.GetLong("negPhyLinkRate"));
    progMinPhyLinkRate = static_cast<EnumSASProgrammedLinkRate>(attribList.GetLong("progMinPhyLinkRate"));
    progMaxPhyLinkRate = static_cast<EnumSASProgrammedLinkRate>(attribList.GetLong("progMaxPhyLinkRate"));
    hwMinPhyLinkRate = static_cast<EnumSASHardwareLinkRate>(attribList.GetLong("hwMinPhyLinkRate"));
    hwMaxPhyLinkRate = static_cast<EnumSASHardwareLinkRate>(attribList.GetLong("hwMaxPhyLinkRate"));
    phyChangeCount = static_cast<unsigned char>(attribList.GetLong("phyChangeCount"));
    virtualPhy = attribList.GetBool("virtualPhy");
    pathTimeout = static_cast<unsigned char>(attribList.GetLong("pathTimeout"));
    routingType = static_cast<EnumSASRoutingType>(attribList.GetLong("routingType"));
}
