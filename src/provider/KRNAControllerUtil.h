#ifndef KRNACONTROLLERUTIL_H
#define KRNACONTROLLERUTIL_H

// The ports of a controller, which every port-side provider of the module
// shares (logical ports, SCSI endpoints, protocol controllers, connectivity
// collections, and the disk drives' collection memberships), and the key
// texts of the controller-side instances.
//
// A port is either a channel of the adapter that is not a SATA channel, or a
// hard drive below a SATA channel of the adapter. All instances of one port
// carry its identifier "<adapter unique id>:<port number>", the number being
// the channel id of a channel port and the device id of a drive port; so a
// channel and a drive of one adapter with equal numbers share it.

#include <vector>

#include <cimple/cimple.h>

#include "KRNALogger.h"
#include "KRNAProvUtil.h"

class Adapter;
class Channel;
class RaidObject;

namespace corvanecimple {

class KRNAControllerUtil {
public:
    // Appends the adapter's ports to ports (not cleared first): its channels
    // in breadth-first tree order, each SATA channel replaced by its hard
    // drives in tree order (a SATA channel without drives adds nothing).
    static void getAdapterPorts(Adapter* adapter, std::vector<RaidObject*>& ports);
};

// What the providers read of one port.
class KRNAPort {
public:
    // The port an object of getAdapterPorts is; anything that is neither a
    // hard drive nor a channel is not a port (valid() false).
    explicit KRNAPort(RaidObject* object);

    bool valid() const { return kind != NONE; }
    bool isDrive() const { return kind == DRIVE; }
    // The channel itself, or the drive's channel (null for a drive that has
    // none).
    Channel* channel() const { return portChannel; }
    // The channel's type; -1 without a channel.
    int channelType() const;
    // The channel id of a channel port, the device id of a drive port.
    int number() const { return portNumber; }
    // "Channel" or "Port".
    const char* word() const;
    // "<adapter unique id>:<number>", the adapter being the port channel's
    // (the drive's own without a channel).
    cimple::String identifier() const;

private:
    enum Kind { NONE, CHANNEL, DRIVE } kind;
    RaidObject* object;
    Channel* portChannel;
    int portNumber;
};

// What a SCSI protocol endpoint says of the transport of a channel type
// (-1: no channel, which reads as any type outside the table).
struct KRNATransport {
    cimple::uint16 protocolIFType;
    cimple::uint16 connectionType;
    const char* description; // null: none
};
KRNATransport krnaTransport(int channelType);

// Whether the port is valid; when it is not, logs at error severity
// "(<provider>) ERROR: Invalid device type <object's type name>".
bool krnaCheckPort(const KRNAPort& port, RaidObject* object, KRNALogger& logger, const char* provider);

// The unique id of the adapter (KRNAProvUtil::getAdapterUniqueID).
cimple::String krnaAdapterUniqueID(Adapter* adapter);
// The host name (KRNAProvUtil::getSystemName), the SystemName key of every
// controller-side instance.
cimple::String krnaHostName();
// The adapter's vendor text trimmed; empty when the adapter has none.
cimple::String krnaAdapterVendor(Adapter* adapter);

// The four keys of a controller-side device of class T: the computer
// system's class and the host name, T's own name and the device id.
template <class T>
void krnaSetDeviceKeys(T* instance, const cimple::String& deviceID)
{
    instance->SystemCreationClassName.set(KRNAProvUtil::getSystemCreationClassName());
    instance->SystemName.set(krnaHostName());
    instance->CreationClassName.set(T::static_meta_class.name);
    instance->DeviceID.set(deviceID);
}

} // namespace corvanecimple

#endif
