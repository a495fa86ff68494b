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
    const int result = hostNameLookup.load()(buffer, static_cast<size_t>(size));
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
