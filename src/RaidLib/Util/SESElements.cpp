#include "RaidLib/Util/SESElements.h"

#include <cstring>
#include <utility>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Serialization/Writer.h"

namespace {

inline bool sameName(const char* a, const char* b) { return a && std::strcmp(a, b) == 0; }

const uint32_t UNSET = 0x7FFFFFFF;

SESSASData sasData(bool notAllPhys, bool eip, bool invalid, unsigned long elementIndex,
                   EnumSESAdditionalElementDescriptorTypes descriptorType, unsigned long bayNumber,
                   unsigned long numPhy)
{
    SESSASData d;
    d.notAllPhys = notAllPhys;
    d.eip = eip;
    d.invalid = invalid;
    d.elementIndex = static_cast<uint32_t>(elementIndex);
    d.descriptorType = descriptorType;
    d.bayNumber = static_cast<uint32_t>(bayNumber);
    d.numPhy = static_cast<uint32_t>(numPhy);
    std::memset(d.phy0, 0, sizeof(d.phy0));
    std::memset(d.phy1, 0, sizeof(d.phy1));
    return d;
}

// Before the document is read: no element index, no bay, no phys.
SESSASData unreadSasData()
{
    return sasData(false, false, false, UNSET, KRNA_SES_DESCRIPTOR_TYPE_DEVICE, UNSET, 0);
}

void writeSAS(Writer* writer, const SESSASData& d)
{
    writer->writeBool("notAllPhys", d.notAllPhys);
    writer->writeBool("eip", d.eip);
    writer->writeBool("invalid", d.invalid);
    writer->writeULong("elementIndex", d.elementIndex);
    writer->writeUShort("descriptorType", static_cast<unsigned short>(d.descriptorType));
    writer->writeULong("bayNumber", d.bayNumber);
}

void applySAS(const XmlAttributeList_C& a, SESSASData& d)
{
    if (a.Exists("notAllPhys"))
        d.notAllPhys = a.GetBool("notAllPhys");
    if (a.Exists("eip"))
        d.eip = a.GetBool("eip");
    if (a.Exists("invalid"))
        d.invalid = a.GetBool("invalid");
    if (a.Exists("elementIndex"))
        d.elementIndex = a.GetULong("elementIndex");
    if (a.Exists("descriptorType"))
        d.descriptorType = static_cast<EnumSESAdditionalElementDescriptorTypes>(a.GetLong("descriptorType"));
    if (a.Exists("bayNumber"))
        d.bayNumber = a.GetULong("bayNumber");
}

} // namespace

// ---- SESElement ----

SESElement::SESElement(unsigned long statusIN, std::string descriptorIN, int typeIN)
    : status(static_cast<uint32_t>(statusIN)), descriptor(std::move(descriptorIN)), type(typeIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESElement::SESElement(unsigned long, string, int)");
}

SESElement::SESElement() : status(0), type(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SESElement::SESElement()");
}

SESElement::SESElement(SimpleXmlParser& xmlParser) : status(0), type(0)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESElement::SESElement(SimpleXmlParser &)");
    collect(xmlParser, false);
    SESElement::build();
}

SESElement::~SESElement()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SESElement::~SESElement()");
}

bool SESElement::isInstanceOf(const char* className) const { return sameName(className, "SESElement"); }

const char* SESElement::typeName() const { return "SESElement"; }

const char* SESElement::serializedName() const { return "SESElement"; }

void SESElement::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    writer->writeULong("status", status);
    writer->writeString("descriptor", descriptor.c_str());
    writer->writeInt("elementType", type);
}

void SESElement::descendantAdded(RaidObject* descendant)
{
    RaidObject::descendantAdded(descendant);
    if (descendant)
        descendant->getAddr2().setItemID(getItemID());
}

int SESElement::getType() const { return type; }

const char* SESElement::getDescriptor() const { return descriptor.c_str(); }

uint32_t SESElement::getStatus() const { return status; }

void SESElement::build()
{
    if (attribList.Exists("status"))
        status = attribList.GetULong("status");
    if (attribList.Exists("descriptor"))
        descriptor = attribList.GetValue("descriptor");
    if (attribList.Exists("elementType"))
        type = attribList.GetLong("elementType");
}

void SESElement::collect(SimpleXmlParser& xmlParser, bool phys)
{
    try {
        do {
            if (xmlParser.tagIs("SESElement")) {
                if (xmlParser.foundEndTag())
                    break;
                if (xmlParser.getName())
                    attribList.Append(xmlParser.getName(), xmlParser.getValue());
            } else if (phys && xmlParser.tagIs("SASPhy") && xmlParser.foundStartTag()) {
                addChild(new SASPhy(xmlParser));
            }
        } while (xmlParser.parseNext());
    } catch (...) {
        // The element being read goes away with the exception, and so must
        // the phys it holds.
        deleteAllChildren();
        throw;
    }
}

// ---- SESDevice ----

SESDevice::SESDevice(unsigned long statusIN, std::string descriptorIN, int protocolIdentifierIN)
    : SESElement(statusIN, std::move(descriptorIN), SES_ELEMENT_DEVICE_SLOT),
      protocolIdentifier(protocolIdentifierIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESDevice::SESDevice(unsigned long, string, int)");
}

SESDevice::~SESDevice()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "SESDevice::~SESDevice()");
}

bool SESDevice::isInstanceOf(const char* className) const
{
    return sameName(className, "SESDevice") || SESElement::isInstanceOf(className);
}

const char* SESDevice::typeName() const { return "SESDevice"; }

void SESDevice::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    SESElement::writeTo(writer);
    writer->writeInt("protocolIdentifier", protocolIdentifier);
}

void SESDevice::build()
{
    SESElement::build();
    if (attribList.Exists("protocolIdentifier"))
        protocolIdentifier = attribList.GetLong("protocolIdentifier");
}

uint32_t SESDevice::getSlotAddress() const
{
    if (status == KRNA_SES_STATUS_UNKNOWN)
        return UNSET;
    return (status >> 8) & 0xFF;
}

// ---- SESArrayDevice ----

SESArrayDevice::SESArrayDevice(unsigned long statusIN, std::string descriptorIN, int protocolIdentifierIN)
    : SESElement(statusIN, std::move(descriptorIN), SES_ELEMENT_ARRAY_DEVICE_SLOT),
      protocolIdentifier(protocolIdentifierIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESArrayDevice::SESArrayDevice(unsigned long, string, int)");
}

SESArrayDevice::~SESArrayDevice()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESArrayDevice::~SESArrayDevice()");
}

bool SESArrayDevice::isInstanceOf(const char* className) const
{
    return sameName(className, "SESArrayDevice") || SESElement::isInstanceOf(className);
}

const char* SESArrayDevice::typeName() const { return "SESArrayDevice"; }

void SESArrayDevice::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    SESElement::writeTo(writer);
    writer->writeInt("protocolIdentifier", protocolIdentifier);
}

void SESArrayDevice::build()
{
    SESElement::build();
    if (attribList.Exists("protocolIdentifier"))
        protocolIdentifier = attribList.GetLong("protocolIdentifier");
}

// ---- SESDeviceSAS ----

SESDeviceSAS::SESDeviceSAS(unsigned long statusIN, std::string descriptorIN, bool notAllPhysIN, bool eipIN,
                           bool invalidIN, unsigned long elementIndexIN,
                           EnumSESAdditionalElementDescriptorTypes descriptorTypeIN,
                           unsigned long bayNumberIN, unsigned long numPhyIN)
    : SESDevice(statusIN, std::move(descriptorIN), SES_PROTOCOL_SAS),
      sas(sasData(notAllPhysIN, eipIN, invalidIN, elementIndexIN, descriptorTypeIN, bayNumberIN, numPhyIN))
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESDeviceSAS::SESDeviceSAS(unsigned long, string, ...)");
}

SESDeviceSAS::SESDeviceSAS(SimpleXmlParser& xmlParser)
    : SESDevice(KRNA_SES_STATUS_UNKNOWN, std::string(), SES_PROTOCOL_NONE), sas(unreadSasData())
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESDeviceSAS::SESDeviceSAS(SimpleXmlParser &)");
    attribList.setInitElements(10);
    build(xmlParser);
}

SESDeviceSAS::~SESDeviceSAS()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESDeviceSAS::~SESDeviceSAS()");
}

bool SESDeviceSAS::isInstanceOf(const char* className) const
{
    return sameName(className, "SESDeviceSAS") || SESDevice::isInstanceOf(className);
}

const char* SESDeviceSAS::typeName() const { return "SESDeviceSAS"; }

void SESDeviceSAS::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    SESDevice::writeTo(writer);
    writeSAS(writer, sas);
}

void SESDeviceSAS::descendantAdded(RaidObject* descendant)
{
    SESElement::descendantAdded(descendant);
    if (descendant && descendant->isInstanceOf("SASPhy"))
        sasPhyVec.push_back(static_cast<SASPhy*>(descendant));
}

void SESDeviceSAS::build(SimpleXmlParser& xmlParser)
{
    try {
        collect(xmlParser, true);
    } catch (...) {
        sasPhyVec.clear();
        throw;
    }
    SESDevice::build();
    applySAS(attribList, sas);
}

SASPhy* SESDeviceSAS::getSASPhy(unsigned long n) const { return n < sasPhyVec.size() ? sasPhyVec[n] : nullptr; }

void SESDeviceSAS::setPhy0(const unsigned char* address)
{
    if (address)
        std::memcpy(sas.phy0, address, sizeof(sas.phy0));
}

void SESDeviceSAS::setPhy1(const unsigned char* address)
{
    if (address)
        std::memcpy(sas.phy1, address, sizeof(sas.phy1));
}

// ---- SESArrayDeviceSAS ----

SESArrayDeviceSAS::SESArrayDeviceSAS(unsigned long statusIN, std::string descriptorIN, bool notAllPhysIN,
                                     bool eipIN, bool invalidIN, unsigned long elementIndexIN,
                                     EnumSESAdditionalElementDescriptorTypes descriptorTypeIN,
                                     unsigned long bayNumberIN, unsigned long numPhyIN)
    : SESArrayDevice(statusIN, std::move(descriptorIN), SES_PROTOCOL_SAS),
      sas(sasData(notAllPhysIN, eipIN, invalidIN, elementIndexIN, descriptorTypeIN, bayNumberIN, numPhyIN))
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESArrayDeviceSAS::SESArrayDeviceSAS(unsigned long, string, ...)");
}

SESArrayDeviceSAS::SESArrayDeviceSAS(SimpleXmlParser& xmlParser)
    : SESArrayDevice(KRNA_SES_STATUS_UNKNOWN, std::string(), SES_PROTOCOL_NONE), sas(unreadSasData())
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESArrayDeviceSAS::SESArrayDeviceSAS(SimpleXmlParser &)");
    attribList.setInitElements(10);
    build(xmlParser);
}

SESArrayDeviceSAS::~SESArrayDeviceSAS()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SESArrayDeviceSAS::~SESArrayDeviceSAS()");
}

bool SESArrayDeviceSAS::isInstanceOf(const char* className) const
{
    return sameName(className, "SESArrayDeviceSAS") || SESArrayDevice::isInstanceOf(className);
}

const char* SESArrayDeviceSAS::typeName() const { return "SESArrayDeviceSAS"; }

void SESArrayDeviceSAS::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    SESArrayDevice::writeTo(writer);
    writeSAS(writer, sas);
}

void SESArrayDeviceSAS::descendantAdded(RaidObject* descendant)
{
    SESElement::descendantAdded(descendant);
    if (descendant && descendant->isInstanceOf("SASPhy"))
        sasPhyVec.push_back(static_cast<SASPhy*>(descendant));
}

void SESArrayDeviceSAS::build(SimpleXmlParser& xmlParser)
{
    try {
        collect(xmlParser, true);
    } catch (...) {
        sasPhyVec.clear();
        throw;
    }
    SESArrayDevice::build();
    applySAS(attribList, sas);
}

SASPhy* SESArrayDeviceSAS::getSASPhy(unsigned long n) const
{
    return n < sasPhyVec.size() ? sasPhyVec[n] : nullptr;
}

void SESArrayDeviceSAS::setPhy0(const unsigned char* address)
{
    if (address)
        std::memcpy(sas.phy0, address, sizeof(sas.phy0));
}

void SESArrayDeviceSAS::setPhy1(const unsigned char* address)
{
    if (address)
        std::memcpy(sas.phy1, address, sizeof(sas.phy1));
}
