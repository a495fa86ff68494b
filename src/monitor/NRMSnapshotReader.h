#ifndef NRMSNAPSHOTREADER_H
#define NRMSNAPSHOTREADER_H

// What the readers of the snapshot classes share: the reading loop of one
// element, the reading of a child element into a new snapshot object, and the
// copying of the physical-device fields, which the drive and enclosure
// snapshots take alike. Used only inside the monitor library.

#include <cstring>
#include <new>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/PhysicalDevice.h"

namespace nrmsnapshot {

// Replaces the five entities the XML writer makes ("&quot;", "&amp;",
// "&apos;", "&lt;", "&gt;") by their characters, in place; anything else is
// kept. A null text is left alone.
void decodeEntities(char* text);

// Deletes an object with its whole subtree; null is ignored.
void deleteTree(RaidObject* object);

// The reading loop of one element. The parser stands on the start of the
// element named element; events are pulled until its end:
//  - each attribute of the element is decoded in place and appended to
//    attributes, then its name goes to onAttribute(name) (for an id to be
//    taken at once, from the first attribute of that name);
//  - each start tag of another element, at any depth, goes to onChild(parser),
//    which reads a child it knows through to the child's end and passes over
//    any other;
//  - everything else is skipped.
// True when the end of the element was met, false when the text ran out.
// Parser and attribute-list failures pass through.
template <class OnAttribute, class OnChild>
bool readElement(SimpleXmlParser& parser, const char* element, XmlAttributeList_C& attributes,
                 OnAttribute&& onAttribute, OnChild&& onChild)
{
    do {
        if (parser.tagIs(element)) {
            if (parser.foundEndTag())
                return true;
            if (const char* name = parser.getName()) {
                char* value = parser.getValue();
                decodeEntities(value);
                attributes.Append(name, value);
                onAttribute(name);
            }
        } else if (parser.foundStartTag()) {
            onChild(parser);
        }
    } while (parser.parseNext());
    return false;
}

// An element without children of its own.
inline bool readElement(SimpleXmlParser& parser, const char* element, XmlAttributeList_C& attributes)
{
    return readElement(
        parser, element, attributes, [](const char*) {}, [](SimpleXmlParser&) {});
}

// Lets a new child object read the element the parser stands on. A child
// that could not be allocated, or whose reading fails, is deleted with what
// it read, and the failure goes on to the caller (std::bad_alloc for the
// allocation).
template <class T>
T* readChild(T* child, SimpleXmlParser& parser)
{
    if (!child)
        throw std::bad_alloc();
    try {
        child->build(parser);
    } catch (...) {
        deleteTree(child);
        throw;
    }
    return child;
}

// Builds a new snapshot object from a live one and adds it to parent once it
// is complete, so that the parent's typed lists file it and its subtree as
// the model's addChild does for live objects. A snapshot object that could
// not be allocated (null) adds nothing; one whose build fails is deleted
// with what it built.
template <class Snapshot, class Live>
void addCopy(RaidObject* parent, Snapshot* snapshot, Live* live)
{
    if (!snapshot)
        return;
    OwnedSubtree<Snapshot> owned(snapshot);
    snapshot->build(live);
    parent->addChild(owned.release());
}

// The physical-device fields of the drive and enclosure snapshots: the
// device type, the five identity texts, the WWN words and text, the state,
// the interface type and the SATA port. A friend of each snapshot class
// that has them, so that it sets their protected fields.
struct DeviceFields {
    // Copies them from a live device (the address too).
    template <class Snapshot>
    static void copy(Snapshot& self, const PhysicalDevice& live);
    // Reads the device's element (element) that the parser stands on into
    // self's attribute list: the adapter and channel ids from self's owners,
    // the device id at once, the children through onChild; then sets the
    // fields from the attributes read (a missing one gives 0 or an empty
    // text, a text longer than its field is cut).
    template <class Snapshot, class OnChild>
    static void read(Snapshot& self, SimpleXmlParser& parser, const char* element, OnChild&& onChild);
};

template <class Snapshot>
void DeviceFields::copy(Snapshot& self, const PhysicalDevice& live)
{
    self.myAddr2 = live.getAddr2();
    self.deviceType = live.getDeviceType();
    self.setVendor(live.getVendor());
    self.setModel(live.getModel());
    self.setSerialNumber(live.getSerialNumber());
    self.setFirmwareLevel(live.getFirmwareLevel());
    self.setFruNumber(live.getFruNumber());
    self.state = live.getState();
    self.interfaceType = live.getInterfaceType();
    self.wwn0 = live.getWWN0();
    self.wwn1 = live.getWWN1();
    copyText(self.wwnString, live.getWWNString());
    self.sataPort = live.getSataPortNumber();
}

template <class Snapshot, class OnChild>
void DeviceFields::read(Snapshot& self, SimpleXmlParser& parser, const char* element, OnChild&& onChild)
{
    if (self.adapter)
        self.myAddr2.setAdapterID(self.adapter->getAdapterID());
    if (self.channel)
        self.myAddr2.setChannelID(self.channel->getChannelID());
    XmlAttributeList_C& a = self.xmlAttributes;
    readElement(
        parser, element, a,
        [&self, &a](const char* name) {
            if (std::strcmp(name, "deviceID") == 0)
                self.myAddr2.setDeviceID(a.GetULong(name));
        },
        onChild);
    self.deviceType = static_cast<EnumPhysicalDeviceType>(a.GetLong("deviceType"));
    self.setVendor(a.GetValue("vendor"));
    self.setModel(a.GetValue("model"));
    self.setSerialNumber(a.GetValue("serialNumber"));
    self.setFirmwareLevel(a.GetValue("firmwareLevel"));
    self.setFruNumber(a.GetValue("fruNumber"));
    copyText(self.wwnString, a.GetValue("wwn"));
    self.state = static_cast<EnumPhysicalDeviceState>(a.GetLong("state"));
    self.interfaceType = static_cast<EnumChannelType>(a.GetLong("interfaceType"));
    self.wwn0 = a.GetULong("wwn0");
    self.wwn1 = a.GetULong("wwn1");
    self.sataPort = a.GetLong("sataPort");
}

} // namespace nrmsnapshot

#endif
