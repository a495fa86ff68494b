#ifndef KRNATESTS_H
#define KRNATESTS_H

// The diagnostics' test engine: one Vesk family library, created the first
// time an engine object is made and kept with the configuration it read
// then for the life of the process; lookups of adapters and drives in that
// configuration; the drive self test, the controller diagnostic and the
// check of a controller's event list for the diagnostic's completion event.
// Every member is static; objects carry nothing.

#include <cstddef>
#include <vector>

#include "RaidLib/Util/Ret.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/HardDrive.h"

class FilterCollection;
class RaidObject;
class System;
class VeskHardDrive;
class VeskLib;

namespace corvanecimple {

class KRNATests {
public:
    // Creates the library when it does not exist yet (a failed creation is
    // tried again by the next object); two threads create one.
    KRNATests();
    ~KRNATests() {}

    // A new library whose configuration has been read once, or null.
    static VeskLib* BriskLoadLibrary();

    static System* getSystem() { return system; }
    // The adapters of the kept configuration; none without one.
    static std::vector<RaidObject*> getAdapters();
    // New collections of the hard drives (channels) below root; null for a
    // null root. The caller deletes them.
    static FilterCollection* getDisks(RaidObject* root);
    static FilterCollection* getChannels(RaidObject* root);

    // The first adapter with this id, the first hard drive with this device
    // id (adapters in order, each one's drives in getDisks order); null
    // when none or when there is no controller.
    static Adapter* GetAdapterFromId(int adapterID);
    static HardDrive* GetHardDriveFromDeviceId(int deviceID);

    // 1 when the drive reports a predictive failure; 0 for null.
    static int BriskDiskPfaError(HardDrive* drive);
    // The state of the drive with this device id; DRIVE_EMPTY without one.
    static EnumPhysicalDeviceState BriskDiskStatus(int deviceID);
    // The adapter's status; CONTROLLER_STATUS_UNKNOWN without one.
    static EnumControllerStatus BriskAdapterStatusInfo(int adapterID);

    // The drive's self test: the default one through SEND DIAGNOSTIC to the
    // drive (it returns when the test is over), any other through the
    // library. Code -2 for a null drive.
    static Ret BriskStartDriveSelfTest(HardDrive* drive, EnumDiskDiagType type);
    static Ret BriskAbortDriveSelfTest(VeskHardDrive* drive);
    // The status the library reports (0 when it fails or for a null drive);
    // percent, when given, receives the progress in whole percent.
    static EnumDiskDiagStatus BriskGetDriveSelfTestProgress(VeskHardDrive* drive, int* percent);
    static EnumDiskDiagStatus BriskGetDriveSelfTestResults(VeskHardDrive* drive);
    // The adapter's controller diagnostic; code -2 without the adapter.
    static Ret BriskStartControllerDiagnostic(int adapterID, EnumAdapterDiagType type);
    // 1 when one of up to 100 readings of the adapter's event list holds the
    // completion event, else 0.
    static int BriskVerifyEvents(int adapterID);

    // Whether the event document (length characters) holds the completion
    // event: an "event" element with event code 0x10000000, sub-code 1 and
    // sub-type 3. Each element is judged on its own attributes.
    static bool eventDocumentShowsCompletion(const char* document, size_t length);

    // How many times BriskVerifyEvents reads the event list at most.
    static const int EVENT_TRIES = 100;

    static VeskLib* storlib;
    static VeskLib* qorllib;
    static System* system;
    static int controllerCount;
    static int storlibCount;
};

} // namespace corvanecimple

#endif
