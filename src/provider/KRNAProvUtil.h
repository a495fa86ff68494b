#ifndef KRNAPROVUTIL_H
#define KRNAPROVUTIL_H

// Utilities of every provider of the module: the key values that tie the
// instances together (the controller computer system's class name, the host
// name, an adapter's unique id), the normalisation of the model's fixed-size
// texts, and the release of a configuration root.

#include <cstddef>

#include <cimple/String.h>

class Adapter;
class HardDrive;
class PhysicalDevice;
class RaidObject;

namespace corvanecimple {

class KRNAProvUtil {
public:
    // The size of the host-name buffers of the callers.
    static const int HOST_NAME_SIZE = 128;
    // The size of the buffers that receive an adapter's unique id.
    static const int UNIQUE_ID_SIZE = 128;
    // The host name written when the lookup fails.
    static const char* const LOOPBACK_NAME;

    static const char* getSystemCreationClassName();
    static const char* getHostSystemCreationClassName();

    // The host name into buffer (terminated, whatever its length): 0, or -1
    // with the loopback name when the lookup fails. Within a HostNameScope
    // the lookup is made once and its answer repeated.
    static int getSystemName(char* buffer, int size);

    // One request of a provider: while one lives on a thread, getSystemName
    // looks the host name up at its first call only (for each buffer size)
    // and answers the later ones from that, with the same log lines. Scopes
    // may nest; the outermost one decides.
    class HostNameScope {
    public:
        HostNameScope();
        ~HostNameScope();
        HostNameScope(const HostNameScope&) = delete;
        HostNameScope& operator=(const HostNameScope&) = delete;
    };

    // Keeps the first blank of the text and drops every other one.
    static void compressString(cimple::String& text);
    // Removes the leading and trailing blanks (' ' only).
    static void trim_String(cimple::String& text);

    // The object's subtree as XML on the standard error stream.
    static void debugRaidObject(RaidObject* object);

    // The model's texts, trimmed.
    static void getAdapterSerialNumberString(Adapter* adapter, cimple::String& out);
    static void getAdapterVendorName(Adapter* adapter, cimple::String& out);
    static void getHardDriveSerialNumString(HardDrive* drive, cimple::String& out);
    static void getHardDriveModel(HardDrive* drive, cimple::String& out);
    static void getHardDriveVendor(HardDrive* drive, cimple::String& out);
    // Of a SAF-TE enclosure or an SES-2 enclosure services device.
    static void getEnclosureModel(PhysicalDevice* enclosure, cimple::String& out);

    // Deletes the object (not its children); nothing for null.
    static void deleteRaidObject(RaidObject* object);

    // The adapter's serial number text, untrimmed, or when it is empty its
    // PCI bus, function and device in decimal joined by "-" (3-0-14), into
    // buffer (at most 33 characters with the terminator; callers pass
    // UNIQUE_ID_SIZE). A null adapter leaves the buffer alone.
    static void getAdapterUniqueID(Adapter* adapter, char* buffer);

    // Test seam: the host-name lookup, with gethostname's contract (null
    // restores gethostname). Answers the one replaced.
    typedef int (*HostNameLookup)(char* name, size_t size);
    static HostNameLookup setHostNameLookup(HostNameLookup lookup);
};

} // namespace corvanecimple

#endif
