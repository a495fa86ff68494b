#include "RaidModel/Interface/SES2EnclosureDevice.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/StrToNum32.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Serialization/Writer.h"

namespace {

template <class T>
T* entryAt(const std::vector<T*>& v, unsigned long i)
{
    return i < v.size() ? v[i] : nullptr;
}

// The first 16 characters of two SAS address texts are equal.
bool sameSASAddress(const SASPhy* a, const SASPhy* b)
{
    return a && b && std::strncmp(a->getSASAddress(), b->getSASAddress(), 16) == 0;
}

bool downloadSucceeded(unsigned char status) { return status == 0x00 || (status >= 0x10 && status <= 0x12); }

bool downloadError(unsigned char status) { return status >= 0x80 && status <= 0x84; }

Ret downloadFailed(unsigned char status)
{
    Ret r(Ret::DOWNLOAD_FAILED);
    r.setUnsignedReturn(status);
    return r;
}

// Prints a packet's bytes as characters, as the progress log shows them.
void printPacket(const unsigned char* data, uint32_t n)
{
    std::fwrite(data, 1, n, stderr);
    std::fprintf(stderr, "\n\n");
}

} // namespace

// ---- construction ----

void SES2EnclosureDevice::resetSESPart()
{
    useSASArrayDeviceElementBayNumbers = false;
    useSASDeviceElementBayNumbers = false;
    useArrayDeviceElementDescriptors = false;
    useDeviceElementDescriptors = false;
    useDeviceElementSlotAddresses = false;
    knowSlotIDMethod = false;
    enclosureID = NONE;
    sesDataValid = false;
    havePage0 = havePage1 = havePage2 = havePage7 = havePage10 = false;
    std::memset(enclosureLogicalID, 0, sizeof(enclosureLogicalID));
    itemCounter = 0;
    configurationTruncated = false;
    maxBusyPolls = MAX_BUSY_POLLS;
}

SES2EnclosureDevice::SES2EnclosureDevice(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN,
                                         const char* vendorIN, const char* modelIN,
                                         const char* serialNumberIN, const char* firmwareLevelIN,
                                         EnumPhysicalDeviceState stateIN, const char* fruNumberIN)
    : PhysicalDevice(adapterIN, channelIN, deviceIDIN, ENCLOSURE_SERVICES_DEVICE, vendorIN, modelIN,
                     serialNumberIN, firmwareLevelIN, stateIN, fruNumberIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SES2EnclosureDevice::SES2EnclosureDevice(Adapter *, ...)");
    resetSESPart();
}

SES2EnclosureDevice::SES2EnclosureDevice(Adapter* pAdapterIN, Channel* pChannelIN, SimpleXmlParser& xmlParser)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SES2EnclosureDevice::SES2EnclosureDevice(SimpleXmlParser &xmlParser)");
    resetSESPart();
    adapter = pAdapterIN;
    channel = pChannelIN;
    attribList.setInitElements(35);
    build(xmlParser);
}

SES2EnclosureDevice::SES2EnclosureDevice()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SES2EnclosureDevice::SES2EnclosureDevice()");
    resetSESPart();
}

SES2EnclosureDevice::SES2EnclosureDevice(const SES2EnclosureDevice& right) : PhysicalDevice(right)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SES2EnclosureDevice::SES2EnclosureDevice(const SES2EnclosureDevice &)");
    resetSESPart();
}

SES2EnclosureDevice::~SES2EnclosureDevice()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SES2EnclosureDevice::~SES2EnclosureDevice()");
}

bool SES2EnclosureDevice::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "SES2EnclosureDevice") == 0) ||
           PhysicalDevice::isInstanceOf(className);
}

const char* SES2EnclosureDevice::typeName() const { return "SES2EnclosureDevice"; }

const char* SES2EnclosureDevice::serializedName() const { return "SESEnclosureDevice"; }

// ---- tree ----

void SES2EnclosureDevice::addChild(RaidObject* child)
{
    if (!child)
        return;
    child->getAddr2().setItemID(itemCounter++);
    RaidObject::addChild(child);
}

void SES2EnclosureDevice::addChild(RaidObject* child, unsigned long index)
{
    if (!child)
        return;
    child->getAddr2().setItemID(itemCounter++);
    RaidObject::addChild(child, index);
}

void SES2EnclosureDevice::descendantAdded(RaidObject* o)
{
    PhysicalDevice::descendantAdded(o);
    if (!o || !o->isInstanceOf("SESElement"))
        return;
    SESElement* e = static_cast<SESElement*>(o);
    allSESElementVec.push_back(e);
    if (e->isInstanceOf("SESDevice")) {
        sesDeviceVec.push_back(static_cast<SESDevice*>(e));
        if (e->isInstanceOf("SESDeviceSAS"))
            sesDeviceSASVec.push_back(static_cast<SESDeviceSAS*>(e));
    } else if (e->isInstanceOf("SESArrayDevice")) {
        sesArrayDeviceVec.push_back(static_cast<SESArrayDevice*>(e));
        if (e->isInstanceOf("SESArrayDeviceSAS"))
            sesArrayDeviceSASVec.push_back(static_cast<SESArrayDeviceSAS*>(e));
    } else {
        otherSESElementVec.push_back(e);
    }
}

// ---- pages ----

void SES2EnclosureDevice::setSupportedDiagnosticPages(Buffer page0)
{
    if (decodeSESSupportedPages(page0.CPtr(), page0.Size(), supportedDiagnosticPages))
        havePage0 = true;
}

void SES2EnclosureDevice::setConfigurationPage(Buffer page1)
{
    if (page1.getByte(0) != KRNA_SES_PAGE_CONFIGURATION || page1.Size() == 0)
        return;
    configurationPage = page1;
    if (configurationPage.Size() != page1.Size())
        return;
    SESConfiguration decoded;
    decoded.headers.swap(typeDescriptorHeaders);
    decoded.texts.swap(typeDescriptorText);
    bool truncated = false;
    decodeSESConfigurationPage(configurationPage.CPtr(), configurationPage.Size(), decoded, truncated);
    typeDescriptorHeaders.swap(decoded.headers);
    typeDescriptorText.swap(decoded.texts);
    std::memcpy(enclosureLogicalID, decoded.enclosureLogicalID, sizeof(enclosureLogicalID));
    configurationTruncated = configurationTruncated || truncated;
    havePage1 = true;
}

namespace {

// Keeps a copy of a page of the expected code; true when it was kept.
bool keepPage(const Buffer& page, uint8_t code, Buffer& stored)
{
    if (page.Size() == 0 || page.getByte(0) != code)
        return false;
    stored = page;
    return stored.Size() == page.Size();
}

} // namespace

void SES2EnclosureDevice::setStatusPage(Buffer page2)
{
    if (keepPage(page2, KRNA_SES_PAGE_ENCLOSURE_STATUS, statusPage))
        havePage2 = true;
}

void SES2EnclosureDevice::setElementDescriptorPage(Buffer page7)
{
    if (keepPage(page7, KRNA_SES_PAGE_ELEMENT_DESCRIPTOR, elementDescriptorPage))
        havePage7 = true;
}

void SES2EnclosureDevice::setDeviceElementStatusPage(Buffer page10)
{
    if (keepPage(page10, KRNA_SES_PAGE_DEVICE_ELEMENT_STATUS, deviceElementStatusPage))
        havePage10 = true;
}

void SES2EnclosureDevice::initSESData()
{
    if (!havePage2)
        return;
    auto make = [this](const SESElementData& e) {
        if (e.type == SES_ELEMENT_VENDOR_83)
            return;
        const bool slot = e.type == SES_ELEMENT_DEVICE_SLOT || e.type == SES_ELEMENT_ARRAY_DEVICE_SLOT;
        if (slot && e.hasAdditional && e.protocolIdentifier == SES_PROTOCOL_SAS) {
            const auto descriptorType = static_cast<EnumSESAdditionalElementDescriptorTypes>(e.descriptorType);
            RaidObject* element;
            SESDeviceSAS* device = nullptr;
            SESArrayDeviceSAS* array = nullptr;
            if (e.type == SES_ELEMENT_DEVICE_SLOT)
                element = device = new SESDeviceSAS(e.status, e.descriptor, e.notAllPhys, e.eip, e.invalid,
                                                    e.elementIndex, descriptorType, e.bayNumber, e.numPhy);
            else
                element = array = new SESArrayDeviceSAS(e.status, e.descriptor, e.notAllPhys, e.eip, e.invalid,
                                                        e.elementIndex, descriptorType, e.bayNumber, e.numPhy);
            if (!element)
                return;
            addChild(element);
            for (size_t p = 0; p < e.phys.size(); ++p) {
                const SESPhyData& d = e.phys[p];
                if (device && p == 0)
                    device->setPhy0(d.sasAddress);
                else if (device && p == 1)
                    device->setPhy1(d.sasAddress);
                else if (array && p == 0)
                    array->setPhy0(d.sasAddress);
                else if (array && p == 1)
                    array->setPhy1(d.sasAddress);
                char address[17];
                char attached[17];
                sesFormatSASAddress(d.sasAddress, address);
                sesFormatSASAddress(d.attachedSASAddress, attached);
                element->addChild(new SASPhy(d.phyIdentifier, address, 0, 0, 0, attached, 0, 0, SAS_NO_DEVICE,
                                             SAS_NEG_RATE_UNKNOWN, SAS_PRG_RATE_NOT_PROGRAMMABLE,
                                             SAS_PRG_RATE_NOT_PROGRAMMABLE, SAS_HW_RATE_30, SAS_HW_RATE_30, 0,
                                             false, 0, SAS_ROUTE_DIRECT));
            }
            return;
        }
        if (e.type == SES_ELEMENT_ARRAY_DEVICE_SLOT)
            addChild(new SESArrayDevice(e.status, e.descriptor, SES_PROTOCOL_NONE));
        else if (e.type == SES_ELEMENT_DEVICE_SLOT)
            addChild(new SESDevice(e.status, e.descriptor, SES_PROTOCOL_NONE));
        else
            addChild(new SESElement(e.status, e.descriptor, e.type));
    };
    try {
        const bool complete = decodeSESElements(
            typeDescriptorHeaders, statusPage.CPtr(), statusPage.Size(),
            havePage7 ? elementDescriptorPage.CPtr() : nullptr, havePage7 ? elementDescriptorPage.Size() : 0,
            havePage10 ? deviceElementStatusPage.CPtr() : nullptr, havePage10 ? deviceElementStatusPage.Size() : 0,
            make);
        if (complete && !configurationTruncated)
            sesDataValid = true;
    } catch (const std::bad_alloc&) {
        // Not a fault of the pages: the read that needs them fails.
        throw;
    } catch (...) {
        // Decoding stops quietly; the elements made so far stay.
    }
}

bool SES2EnclosureDevice::supportsDiagnosticPage(int page) const
{
    for (uint8_t code : supportedDiagnosticPages)
        if (code == page)
            return true;
    return false;
}

// ---- queries ----

SESElement* SES2EnclosureDevice::getSESElement(unsigned long i) const { return entryAt(allSESElementVec, i); }

SESElement* SES2EnclosureDevice::getOtherSESElement(unsigned long i) const { return entryAt(otherSESElementVec, i); }

SESDevice* SES2EnclosureDevice::getSESDevice(unsigned long i) const { return entryAt(sesDeviceVec, i); }

SESArrayDevice* SES2EnclosureDevice::getSESArrayDevice(unsigned long i) const { return entryAt(sesArrayDeviceVec, i); }

SESDeviceSAS* SES2EnclosureDevice::getSESDeviceSAS(unsigned long i) const { return entryAt(sesDeviceSASVec, i); }

SESArrayDeviceSAS* SES2EnclosureDevice::getSESArrayDeviceSAS(unsigned long i) const
{
    return entryAt(sesArrayDeviceSASVec, i);
}

namespace {

// The enclosure's direct children that are elements of a type, in order.
std::vector<const SESElement*> elementsOfType(const std::vector<RaidObject*>& children, int type)
{
    std::vector<const SESElement*> out;
    for (const RaidObject* c : children)
        if (c && c->isInstanceOf("SESElement") && static_cast<const SESElement*>(c)->getType() == type)
            out.push_back(static_cast<const SESElement*>(c));
    return out;
}

EnumSESStatusCodes statusCodeOf(const std::vector<const SESElement*>& elements, unsigned short n)
{
    if (n >= elements.size())
        return KRNA_SES_STATUS_UNKNOWN;
    return static_cast<EnumSESStatusCodes>(elements[n]->getStatus() & 0x0F);
}

} // namespace

uint16_t SES2EnclosureDevice::getFanCount() const
{
    return static_cast<uint16_t>(elementsOfType(children, SES_ELEMENT_COOLING).size());
}

uint16_t SES2EnclosureDevice::getPowerSupplyCount() const
{
    return static_cast<uint16_t>(elementsOfType(children, SES_ELEMENT_POWER_SUPPLY).size());
}

EnumSESStatusCodes SES2EnclosureDevice::getFanStatus(unsigned short indexIN) const
{
    return statusCodeOf(elementsOfType(children, SES_ELEMENT_COOLING), indexIN);
}

EnumSESStatusCodes SES2EnclosureDevice::getPowerSupplyStatus(unsigned short indexIN) const
{
    return statusCodeOf(elementsOfType(children, SES_ELEMENT_POWER_SUPPLY), indexIN);
}

bool SES2EnclosureDevice::isTempOutOfRange() const
{
    for (const SESElement* e : elementsOfType(children, SES_ELEMENT_TEMPERATURE_SENSOR)) {
        const uint32_t s = e->getStatus();
        // Not OK, or a warning or failure bit of byte 3 set.
        if ((s & 0x0F) != KRNA_SES_STATUS_OK || (s & 0x0F000000) != 0)
            return true;
    }
    return false;
}

int32_t SES2EnclosureDevice::getCelciusTemperature() const
{
    int32_t degrees = static_cast<int32_t>(NONE);
    for (const SESElement* e : elementsOfType(children, SES_ELEMENT_TEMPERATURE_SENSOR)) {
        const uint32_t byte2 = (e->getStatus() >> 16) & 0xFF;
        if (byte2 != 0)
            degrees = static_cast<int32_t>(byte2) - 20;
    }
    return degrees;
}

uint32_t SES2EnclosureDevice::deviceIndexForDrive(const char* className, PhysicalDevice* drive) const
{
    if (!sesDataValid || !drive)
        return NONE;
    FilterCollection elements(const_cast<SES2EnclosureDevice*>(this));
    elements.apply(className, false);
    uint32_t answer = NONE;
    for (unsigned long i = 0; i < elements.size(); ++i) {
        const RaidObject* element = elements.elementAt(static_cast<int>(i));
        std::vector<RaidObject*> phys;
        element->getChildren(phys, "SASPhy", false, true);
        for (const RaidObject* phy : phys)
            for (unsigned long k = 0; k < drive->getNumSASPhys(); ++k)
                if (sameSASAddress(static_cast<const SASPhy*>(phy), drive->getSASPhy(k)))
                    answer = static_cast<uint32_t>(i);
    }
    return answer;
}

uint32_t SES2EnclosureDevice::getDeviceIndexForDrive(PhysicalDevice* drive) const
{
    return deviceIndexForDrive("SESDeviceSAS", drive);
}

uint32_t SES2EnclosureDevice::getArrayDeviceIndexForDrive(PhysicalDevice* drive) const
{
    return deviceIndexForDrive("SESArrayDeviceSAS", drive);
}

// ---- slot numbering ----

void SES2EnclosureDevice::determineSlotIDMethod()
{
    if (knowSlotIDMethod)
        return;
    useSASArrayDeviceElementBayNumbers = false;
    useSASDeviceElementBayNumbers = false;
    useArrayDeviceElementDescriptors = false;
    useDeviceElementDescriptors = false;
    useDeviceElementSlotAddresses = false;
    knowSlotIDMethod = true;

    auto chosen = [this](size_t listSize) { return !slotDescriptors.empty() && slotDescriptors.size() == listSize; };

    slotDescriptors.clear();
    for (const SESArrayDeviceSAS* e : sesArrayDeviceSASVec)
        if (e->isEIP())
            slotDescriptors.push_back(e->getBayNumber());
    if (chosen(sesArrayDeviceSASVec.size())) {
        useSASArrayDeviceElementBayNumbers = true;
        return;
    }

    slotDescriptors.clear();
    for (const SESDeviceSAS* e : sesDeviceSASVec)
        if (e->isEIP())
            slotDescriptors.push_back(e->getBayNumber());
    if (chosen(sesDeviceSASVec.size())) {
        useSASDeviceElementBayNumbers = true;
        return;
    }

    slotDescriptors.clear();
    for (const SESArrayDevice* e : sesArrayDeviceVec)
        if (sesDescriptorNamesSlot(e->getDescriptor()))
            slotDescriptors.push_back(sesDigitsNumber(e->getDescriptor(), 24));
    if (chosen(sesArrayDeviceVec.size())) {
        useArrayDeviceElementDescriptors = true;
        return;
    }

    slotDescriptors.clear();
    for (const SESDevice* e : sesDeviceVec) {
        if (sesDescriptorNamesSlot(e->getDescriptor())) {
            const uint32_t slot = sesDigitsNumber(e->getDescriptor(), 24);
            std::fprintf(stderr, "slot = %d\n", static_cast<int>(slot));
            slotDescriptors.push_back(slot);
        }
    }
    if (chosen(sesDeviceVec.size())) {
        useDeviceElementDescriptors = true;
        return;
    }

    slotDescriptors.clear();
    for (const SESDevice* e : sesDeviceVec)
        slotDescriptors.push_back(e->getSlotAddress());
    if (chosen(sesDeviceVec.size()))
        useDeviceElementSlotAddresses = true;
}

void SES2EnclosureDevice::setHardDriveLocationMap(unsigned int enclosureIDIN)
{
    if (!knowSlotIDMethod)
        determineSlotIDMethod();
    uint32_t k = 0;
    for (SESElement* element : allSESElementVec) {
        const bool isDevice = element->isInstanceOf("SESDeviceSAS");
        if (!isDevice && !element->isInstanceOf("SESArrayDeviceSAS"))
            continue;
        uint32_t bay;
        if (isDevice)
            bay = static_cast<SESDeviceSAS*>(element)->getBayNumber();
        else
            bay = static_cast<SESArrayDeviceSAS*>(element)->getBayNumber();

        uint32_t slot;
        if (useSASArrayDeviceElementBayNumbers || useSASDeviceElementBayNumbers)
            slot = bay;
        else if (useArrayDeviceElementDescriptors || useDeviceElementDescriptors)
            slot = sesDigitsNumber(element->getDescriptor(), static_cast<size_t>(-1));
        else if (useDeviceElementSlotAddresses && isDevice)
            slot = static_cast<SESDeviceSAS*>(element)->getSlotAddress();
        else
            slot = k;

        std::vector<RaidObject*> elementPhys;
        element->getChildren(elementPhys, "SASPhy", false, true);
        FilterCollection drives(adapter);
        drives.apply("HardDrive", false);
        for (unsigned long d = 0; d < drives.size(); ++d) {
            HardDrive* drive = static_cast<HardDrive*>(drives.elementAt(static_cast<int>(d)));
            for (unsigned long p = 0; p < drive->getNumSASPhys(); ++p)
                for (const RaidObject* phy : elementPhys)
                    if (sameSASAddress(drive->getSASPhy(p), static_cast<const SASPhy*>(phy))) {
                        drive->setSlotID(slot);
                        drive->setEnclosureID(enclosureIDIN);
                    }
        }
        ++k;
    }
}

// ---- control pages ----

unsigned char* SES2EnclosureDevice::newControlPage(uint32_t& size) const
{
    size = sesControlPageSize(typeDescriptorHeaders);
    unsigned char* page = new (std::nothrow) unsigned char[size];
    if (!page)
        return nullptr;
    std::memset(page, 0, size);
    page[0] = KRNA_SES_PAGE_ENCLOSURE_CONTROL;
    page[2] = static_cast<unsigned char>((size - 4) >> 8);
    page[3] = static_cast<unsigned char>(size - 4);
    for (uint32_t i = 4; i < 8; ++i)
        page[i] = configurationPage.getByte(i);
    return page;
}

Ret SES2EnclosureDevice::setAlarmState(EnumAlarmState alarmStateIN)
{
    // The alarm is the first element of the last audible-alarm type.
    size_t alarmType = typeDescriptorHeaders.size();
    for (size_t t = 0; t < typeDescriptorHeaders.size(); ++t)
        if (typeDescriptorHeaders[t].ElementType == SES_ELEMENT_AUDIBLE_ALARM)
            alarmType = t;
    const uint32_t offset = sesControlElementOffset(typeDescriptorHeaders, alarmType, 0);
    if (offset == 0)
        return Ret(Ret::NOT_SUPPORTED);
    if (sesControlPageSize(typeDescriptorHeaders) - 4 > 0xFFFF)
        return Ret(Ret::BAD_PARAM);

    uint32_t size = 0;
    unsigned char* page = newControlPage(size);
    if (!page)
        return Ret(Ret::RESOURCE);
    unsigned char* alarm = page + offset;
    alarm[0] |= SES_CONTROL_SELECT;
    switch (alarmStateIN) {
    case ALARM_ENABLED:
        alarm[0] &= static_cast<unsigned char>(~SES_CONTROL_DISABLE);
        break;
    case ALARM_DISABLED:
        alarm[0] |= SES_CONTROL_DISABLE;
        break;
    case ALARM_QUIET:
        alarm[3] |= SES_SPEAKER_SET_MUTED;
        break;
    case ALARM_SOUND:
        alarm[3] |= SES_SPEAKER_SET_CRITICAL_TONE;
        break;
    case ALARM_SOUND_STOP:
        alarm[3] &= static_cast<unsigned char>(~SES_SPEAKER_SET_CRITICAL_TONE);
        break;
    default:
        break;
    }
    Ret r = sendDiagnosticPage(KRNA_SES_PAGE_ENCLOSURE_CONTROL, page, size);
    delete[] page;
    return r;
}

Ret SES2EnclosureDevice::blinkElement(bool blink, SESElement& element)
{
    // The element's position among this enclosure's elements of its type.
    const int type = element.getType();
    const std::vector<const SESElement*> same = elementsOfType(children, type);
    size_t position = same.size();
    for (size_t i = 0; i < same.size(); ++i) {
        if (*same[i] == element) {
            position = i;
            break;
        }
    }
    if (position == same.size())
        return Ret(Ret::BAD_PARAM);
    // That position counted over the headers of the type, in page order.
    size_t typeIndex = typeDescriptorHeaders.size();
    for (size_t t = 0; t < typeDescriptorHeaders.size(); ++t) {
        if (typeDescriptorHeaders[t].ElementType != type)
            continue;
        if (position < typeDescriptorHeaders[t].NumberOfPossibleElements) {
            typeIndex = t;
            break;
        }
        position -= typeDescriptorHeaders[t].NumberOfPossibleElements;
    }
    const uint32_t offset = sesControlElementOffset(typeDescriptorHeaders, typeIndex, static_cast<uint32_t>(position));
    if (offset == 0)
        return Ret(Ret::BAD_PARAM);
    if (sesControlPageSize(typeDescriptorHeaders) - 4 > 0xFFFF)
        return Ret(Ret::BAD_PARAM);

    uint32_t size = 0;
    unsigned char* page = newControlPage(size);
    if (!page)
        return Ret(Ret::RESOURCE);
    unsigned char* control = page + offset;
    if (type == SES_ELEMENT_DEVICE_SLOT || type == SES_ELEMENT_ARRAY_DEVICE_SLOT) {
        control[0] = SES_CONTROL_SELECT;
        if (blink)
            control[2] |= SES_SLOT_REQUEST_IDENTIFY;
    } else if (type == SES_ELEMENT_ENCLOSURE) {
        control[0] = SES_CONTROL_SELECT;
        if (blink)
            control[1] |= SES_ENCLOSURE_REQUEST_IDENTIFY;
    }
    Ret r = sendDiagnosticPage(KRNA_SES_PAGE_ENCLOSURE_CONTROL, page, size);
    delete[] page;
    return r;
}

Ret SES2EnclosureDevice::sendDiagnosticPage(EnumSESPageCodes, unsigned char*, unsigned long)
{
    return Ret(Ret::NOT_SUPPORTED);
}

// ---- XML ----

void SES2EnclosureDevice::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    PhysicalDevice::writeTo(writer);
    writer->writeInt("sesVersionDescriptor", 992);
    writer->writeString("enclosureLogicalID", enclosureLogicalID);
}

void SES2EnclosureDevice::build(SimpleXmlParser& xmlParser)
{
    try {
        do {
            if (xmlParser.tagIs("SESEnclosureDevice")) {
                if (xmlParser.foundEndTag())
                    break;
                if (const char* name = xmlParser.getName()) {
                    attribList.Append(name, xmlParser.getValue());
                    // Known at once, so that the elements read next carry it.
                    if (std::strcmp(name, "deviceID") == 0)
                        myAddr2.setDeviceID(strToU32(xmlParser.getValue(), 10));
                }
            } else if (xmlParser.tagIs("SESElement") && xmlParser.foundStartTag()) {
                // The class is told by the first attribute, typeName.
                const char* kind = xmlParser.nameIs("typeName") ? xmlParser.getValue() : nullptr;
                SESElement* element;
                if (kind && std::strstr(kind, "SESDeviceSAS"))
                    element = new SESDeviceSAS(xmlParser);
                else if (kind && std::strstr(kind, "SESArrayDeviceSAS"))
                    element = new SESArrayDeviceSAS(xmlParser);
                else
                    element = new SESElement(xmlParser);
                addChild(element);
            }
        } while (xmlParser.parseNext());
    } catch (...) {
        // The enclosure being read goes away with the exception, and so must
        // what it has read; the lists only point at the children.
        deleteAllChildren();
        allSESElementVec.clear();
        otherSESElementVec.clear();
        sesDeviceVec.clear();
        sesArrayDeviceVec.clear();
        sesDeviceSASVec.clear();
        sesArrayDeviceSASVec.clear();
        sasPhyVec.clear();
        throw;
    }
    PhysicalDevice::build();
}

// ---- firmware download ----

Ret SES2EnclosureDevice::quiesceForDownload(bool) { return Ret(Ret::SUCCESS); }

Ret SES2EnclosureDevice::sendDownloadMicrocodeControlPage(unsigned char, unsigned char, unsigned char,
                                                          unsigned long, unsigned long, Buffer&)
{
    return Ret(Ret::NOT_SUPPORTED);
}

Ret SES2EnclosureDevice::getDownloadMicrocodeStatusPage(Buffer&) { return Ret(Ret::NOT_SUPPORTED); }

Ret SES2EnclosureDevice::getDownloadMicrocodeStatus(int subenclosureIDIN, unsigned char& statusOUT,
                                                    unsigned char& additionalStatusOUT)
{
    statusOUT = 0xFF;
    additionalStatusOUT = 0xFF;
    Buffer page(1);
    Ret r = getDownloadMicrocodeStatusPage(page);
    if (r.getReturn() != Ret::SUCCESS)
        return r;
    if (page.getByte(0) != KRNA_SES_PAGE_DOWNLOAD_MICROCODE_STATUS)
        return Ret(Ret::BAD_PARAM);
    // Status descriptors of 16 bytes from byte 8, one per subenclosure; of
    // each only bytes 1-3 are used, and only those the page holds.
    const uint32_t descriptors = page.getByte(1) + 1u;
    const uint32_t size = page.Size();
    for (uint32_t d = 0; d < descriptors; ++d) {
        const uint32_t at = 8 + 16 * d;
        if (at + 4 > size)
            break;
        if (page.getByte(1) == 0 || page[at + 1] == subenclosureIDIN) {
            statusOUT = page[at + 2];
            additionalStatusOUT = page[at + 3];
            std::fprintf(stderr, "Download microcode status %02x, additional status %02x\n", statusOUT,
                         additionalStatusOUT);
            return Ret(Ret::SUCCESS);
        }
    }
    return Ret(Ret::BAD_PARAM);
}

Ret SES2EnclosureDevice::readDownloadStatus(unsigned char& status)
{
    unsigned char additional = 0;
    return getDownloadMicrocodeStatus(0, status, additional);
}

Ret SES2EnclosureDevice::upgradeFirmware(const char* pBaseFilename, bool skip)
{
    if (std::strncmp(model, "Z12SAS", 6) == 0)
        return flashPellory(pBaseFilename, skip);
    if (std::strncmp(model, "Quarbel K70", 11) == 0)
        return flashToviJBOD(pBaseFilename, skip);
    std::fprintf(stderr, "SES2EnclosureDevice::upgradeFirmware, not supported '%s'\n", model);
    return Ret(Ret::NOT_SUPPORTED);
}

// Sends the image in packets of packetSize, the last one possibly shorter,
// each with the image's offset and whole length; after each the status is
// read, then polled until the enclosure has stored the image. The caller
// has quiesced the path; it is released here on failure, so that a failed
// download never leaves it held.
Ret SES2EnclosureDevice::downloadImage(const unsigned char* image, uint32_t size, uint32_t packetSize,
                                       unsigned char bufferID, bool tfiMessages)
{
    Ret r;
    unsigned char status = 0;
    const uint32_t fullPackets = size / packetSize;
    const uint32_t runt = size % packetSize;
    for (uint32_t i = 0; i <= fullPackets; ++i) {
        const uint32_t length = i < fullPackets ? packetSize : runt;
        if (length == 0)
            break;
        const unsigned char* data = image + static_cast<size_t>(i) * packetSize;
        if (tfiMessages) {
            if (i < fullPackets)
                std::fprintf(stderr, "Sending packet %d[of %d] data, dataPtr %p  (%d bytes) offset %d, imageSize %d \n",
                             static_cast<int>(i), static_cast<int>(fullPackets), static_cast<const void*>(data),
                             static_cast<int>(length), static_cast<int>(i * packetSize), static_cast<int>(size));
        } else if (i < fullPackets) {
            std::fprintf(stderr, "Packet %d data (%d bytes):\n", static_cast<int>(i), static_cast<int>(length));
            printPacket(data, length);
            std::fprintf(stderr, "Sending download microcode control page\n");
        } else {
            std::fprintf(stderr, "Runt packet data (%d bytes):\n", static_cast<int>(length));
            printPacket(data, length);
            std::fprintf(stderr, "Sending download microcode control page, runt size = %d\n",
                         static_cast<int>(length));
        }
        Buffer packet(length, data);
        if (packet.Size() != length) {
            quiesceForDownload(false);
            return Ret(Ret::RESOURCE);
        }
        sendDownloadMicrocodeControlPage(0, 7, bufferID, static_cast<unsigned long>(i) * packetSize, size,
                                         packet);
        r = readDownloadStatus(status);
        if (r.getReturn() != Ret::SUCCESS) {
            quiesceForDownload(false);
            return r;
        }
        if (downloadError(status)) {
            quiesceForDownload(false);
            return downloadFailed(status);
        }
    }

    if (!tfiMessages)
        std::fprintf(stderr, "Download finished\n");
    uint32_t polls = 0;
    do {
        r = readDownloadStatus(status);
        if (r.getReturn() != Ret::SUCCESS) {
            quiesceForDownload(false);
            return r;
        }
    } while (status == 0x02 && ++polls < maxBusyPolls);

    quiesceForDownload(false);
    if (!downloadSucceeded(status)) {
        if (tfiMessages)
            std::fprintf(stderr, "Download failed: status = %d\n", status);
        return downloadFailed(status);
    }
    return Ret(Ret::SUCCESS);
}

Ret SES2EnclosureDevice::flashPellory(const char* pBaseFilename, bool)
{
    std::fprintf(stderr, "SES2EnclosureDevice::flashPellory, %s\n", pBaseFilename ? pBaseFilename : "");
    unsigned char status = 0;
    readDownloadStatus(status);

    FILE* f = pBaseFilename ? std::fopen(pBaseFilename, "rb") : nullptr;
    if (!f)
        return Ret(Ret::BAD_PARAM);
    unsigned char* image = new (std::nothrow) unsigned char[RAW_IMAGE_LIMIT];
    if (!image) {
        std::fclose(f);
        return Ret(Ret::RESOURCE);
    }
    const size_t n = std::fread(image, 1, RAW_IMAGE_LIMIT, f);
    // The whole file must have been read, and it must hold an image.
    const bool whole = std::feof(f) && !std::ferror(f);
    std::fclose(f);
    if (!whole || n == 0) {
        delete[] image;
        return Ret(Ret::BAD_PARAM);
    }
    std::fprintf(stderr, "Bytes read from file = %d\n", static_cast<int>(n));

    Ret r = readDownloadStatus(status);
    if (r.getReturn() == Ret::SUCCESS && status != 0)
        r = Ret(Ret::DOWNLOAD_STATUS);
    if (r.getReturn() == Ret::SUCCESS)
        r = quiesceForDownload(true);
    if (r.getReturn() == Ret::SUCCESS)
        r = downloadImage(image, static_cast<uint32_t>(n), RAW_PACKET_SIZE, 2, false);
    delete[] image;
    return r;
}

Ret SES2EnclosureDevice::flashToviJBOD(const char* pBaseFilename, bool)
{
    std::fprintf(stderr, "SES2EnclosureDevice::flashToviJBOD, %s\n", pBaseFilename ? pBaseFilename : "");
    unsigned char status = 0;
    readDownloadStatus(status);

    TfiReader tfi(pBaseFilename);
    if (!tfi.isChecksumValid()) {
        Ret r(Ret::BAD_PARAM);
        r.setAPIReturn(28);
        return r;
    }
    if (std::strncmp(firmwareLevel, tfi.getMinDeviceVersionToUpgradeFrom(), 8) < 0 ||
        std::memcmp(tfi.getVendorID(), vendor, 4) != 0 || std::memcmp(tfi.getDeviceID(), model, 4) != 0)
        return Ret(Ret::BAD_PARAM);

    struct Image {
        uint32_t type;
        unsigned char bufferID;
    };
    static const Image k70Images[] = {{0x1012, 3}, {0x1011, 2}, {0x1010, 1}};
    const Image* images = nullptr;
    unsigned count = 0;
    if (std::strncmp(model, "QUARBEL K70", 11) == 0 || std::strncmp(model, "Quarbel K70", 11) == 0) {
        if (tfi.getImageCount() < 3)
            return Ret(Ret::DOWNLOAD_FAILED);
        images = k70Images;
        count = 3;
    }
    // Every image of the list must be in the file before any is sent: a
    // file that lacks one would leave the enclosure with a mix of old and
    // new images.
    for (unsigned k = 0; k < count; ++k)
        if (tfi.getImageIndex(images[k].type) == TfiReader::NO_IMAGE)
            return Ret(Ret::DOWNLOAD_FAILED);

    unsigned rejected = 0;
    for (unsigned k = 0; k < count; ++k) {
        const uint32_t index = tfi.getImageIndex(images[k].type);
        if (index == TfiReader::NO_IMAGE)
            return Ret(Ret::DOWNLOAD_FAILED);
        const int i = static_cast<int>(index);
        const uint32_t rule = tfi.getImageRule(i);
        if (rule == 0x7FFFFFFF)
            continue;
        if ((rule & 1) != 0 && std::strncmp(tfi.getDeviceVersion(), firmwareLevel, 4) < 0) {
            std::fprintf(stderr,
                         "Image rules and device versions for image %d is not compatiable with current Firmware "
                         "level \n",
                         static_cast<int>(k));
            ++rejected;
            continue;
        }
        Ret r = readDownloadStatus(status);
        if (r.getReturn() != Ret::SUCCESS) {
            std::fprintf(stderr, "Bad status command return: %d\n", r.getReturn());
            return r;
        }
        if (status != 0)
            return Ret(Ret::DOWNLOAD_STATUS);
        r = quiesceForDownload(true);
        if (r.getReturn() != Ret::SUCCESS)
            return r;
        r = downloadImage(tfi.getImage(i), tfi.getImageLength(i), TFI_PACKET_SIZE, images[k].bufferID, true);
        if (r.getReturn() != Ret::SUCCESS)
            return r;
    }

    if (count != 0 && rejected == count) {
        std::fprintf(stderr, "Image rules and device versions not compatiable with current Firmware level, Aborting \n");
        return Ret(Ret::BAD_PARAM);
    }
    if (rejected != 0)
        std::fprintf(stderr, "Downloaded %u of %u images\n", count - rejected, count);
    else
        std::fprintf(stderr, "Download of all images successful\n");
    return Ret(Ret::SUCCESS);
}
