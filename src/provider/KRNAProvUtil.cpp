// Utilities of every provider of the module.
#include "KRNAProvUtil.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include "KRNALogger.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/PhysicalDevice.h"
#include "RaidModel/Interface/RaidObject.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

int systemHostName(char* name, size_t size) { return gethostname(name, size); }

std::atomic<KRNAProvUtil::HostNameLookup> hostNameLookup{&systemHostName};

// The host name of this thread's request (HostNameScope): the lookup's
// answer for one buffer size, once it was made. Plain data, so that the
// thread-local needs no destructor (which would keep the module loaded).
struct RequestHostName {
    int scopes;
    int size; // 0: not looked up in this request
    int result;
    char name[KRNAProvUtil::HOST_NAME_SIZE];
};
thread_local RequestHostName requestHostName;

// The text of a fixed-size model field (up to its terminator or its end),
// trimmed.
void assignTrimmed(cimple::String& out, const char* field, size_t size)
{
    out.assign(field, strnlen(field, size));
    KRNAProvUtil::trim_String(out);
}

} // namespace

const char* const KRNAProvUtil::LOOPBACK_NAME = "localhost";

const char* KRNAProvUtil::getSystemCreationClassName() { return "KRNA_ControllerComputerSystem"; }

const char* KRNAProvUtil::getHostSystemCreationClassName() { return "CIM_ComputerSystem"; }

KRNAProvUtil::HostNameLookup KRNAProvUtil::setHostNameLookup(HostNameLookup lookup)
{
    return hostNameLookup.exchange(lookup ? lookup : &systemHostName);
}

int KRNAProvUtil::getSystemName(char* buffer, int size)
{
    KRNADebugTrace trace("KRNAProvUtil::getSystemName()");
    if (!buffer || size < 1)
        return -1;
    RequestHostName& request = requestHostName;
    int result;
    if (request.scopes > 0 && request.size == size) {
        result = request.result;
        memcpy(buffer, request.name, static_cast<size_t>(size));
    } else {
        result = hostNameLookup.load()(buffer, static_cast<size_t>(size));
        if (request.scopes > 0 && size <= HOST_NAME_SIZE) {
            request.size = size;
            request.result = result;
            // What the lookup left is kept only when it is the name.
            if (result == 0)
                memcpy(request.name, buffer, static_cast<size_t>(size));
        }
    }
    if (result != 0) {
        logger.error("(KRNAProvUtil::getSystemName()) gethostname FAILED (%i)\n", result);
        snprintf(buffer, static_cast<size_t>(size), "%s", LOOPBACK_NAME);
        return -1;
    }
    // A name cut to the buffer's size comes without a terminator.
    buffer[size - 1] = '\0';
    logger.debug("(KRNAProvUtil::getSystemName) result = %i name = %s\n", result, buffer);
    return 0;
}

KRNAProvUtil::HostNameScope::HostNameScope() { requestHostName.scopes++; }

KRNAProvUtil::HostNameScope::~HostNameScope()
{
    if (--requestHostName.scopes == 0)
        requestHostName.size = 0;
}

void KRNAProvUtil::compressString(cimple::String& text)
{
    KRNADebugTrace trace("KRNAProvUtil::compressString()");
    std::string out;
    bool blankKept = false;
    for (char c : text.str()) {
        if (c != ' ') {
            out += c;
        } else if (!blankKept) {
            out += c;
            blankKept = true;
        }
    }
    text = cimple::String(out);
}

void KRNAProvUtil::trim_String(cimple::String& text)
{
    KRNADebugTrace trace("KRNAProvUtil::trim_String()");
    const std::string& s = text.str();
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    const size_t last = s.find_last_not_of(' ');
    text = cimple::String(s.substr(first, last - first + 1));
}

void KRNAProvUtil::debugRaidObject(RaidObject* object)
{
    KRNADebugTrace trace("KRNAProvUtil::debugRaidObject()");
    char* text = nullptr;
    {
        XMLWriter writer(&text);
        if (object)
            writer.writeTree(object);
    }
    if (text)
        fprintf(stderr, "%s\n", text);
    delete[] text;
}

void KRNAProvUtil::getAdapterSerialNumberString(Adapter* adapter, cimple::String& out)
{
    KRNADebugTrace trace("KRNAProvUtil::getAdapterSerialNumberString()");
    assignTrimmed(out, adapter->getSerialNumString(), Adapter::VERSION_SIZE);
}

void KRNAProvUtil::getAdapterVendorName(Adapter* adapter, cimple::String& out)
{
    KRNADebugTrace trace("KRNAProvUtil::getAdapterVendorName()");
    assignTrimmed(out, adapter->getDeviceVendor(), Adapter::VERSION_SIZE);
}

void KRNAProvUtil::getHardDriveSerialNumString(HardDrive* drive, cimple::String& out)
{
    KRNADebugTrace trace("KRNAProvUtil::getHardDriveSerialNumString()");
    assignTrimmed(out, drive->getSerialNumber(), PhysicalDevice::SERIAL_SIZE);
}

void KRNAProvUtil::getHardDriveModel(HardDrive* drive, cimple::String& out)
{
    KRNADebugTrace trace("KRNAProvUtil::getHardDriveModel()");
    assignTrimmed(out, drive->getModel(), PhysicalDevice::TEXT_SIZE);
}

void KRNAProvUtil::getHardDriveVendor(HardDrive* drive, cimple::String& out)
{
    KRNADebugTrace trace("KRNAProvUtil::getHardDriveVendor()");
    assignTrimmed(out, drive->getVendor(), PhysicalDevice::TEXT_SIZE);
}

void KRNAProvUtil::getEnclosureModel(PhysicalDevice* enclosure, cimple::String& out)
{
    KRNADebugTrace trace("KRNAProvUtil::getEnclosureModel()");
    assignTrimmed(out, enclosure->getModel(), PhysicalDevice::TEXT_SIZE);
}

void KRNAProvUtil::deleteRaidObject(RaidObject* object)
{
    KRNADebugTrace trace("KRNAProvUtil::deleteRaidObject()");
    delete object;
}

void KRNAProvUtil::getAdapterUniqueID(Adapter* adapter, char* buffer)
{
    KRNADebugTrace trace("KRNAProvUtil::getAdapterUniqueID()");
    if (!adapter || !buffer)
        return;
    std::string id(adapter->getSerialNumString(), strnlen(adapter->getSerialNumString(), Adapter::VERSION_SIZE));
    if (id.empty())
        id = std::to_string(adapter->getPCIBus()) + "-" + std::to_string(adapter->getPCIFunction()) + "-" +
             std::to_string(adapter->getPciDevice());
    memcpy(buffer, id.c_str(), id.size() + 1);
}

} // namespace corvanecimple
