#ifndef VESKADAPTER_H
#define VESKADAPTER_H

// The model objects of the Vesk family: its controller with the texts of
// its card, disks, logical drives and SAF-TE enclosures, built by VeskSystem
// from the simulated controllers.

#include <cstdint>
#include <string>

#include "FamilySim.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/Enclosure.h"

namespace vesksim {
struct Controller;
struct DiagnosticCall;
struct LogicalDrive;
struct SafteEnclosure;
} // namespace vesksim

// A Vesk controller (model code FENTA): "VeskAdapter" and "Adapter", with the
// part number, battery FRU number, card version and FRU number of its card,
// each at most 32 characters.
class STOR_EXPORT VeskAdapter : public familysim::RecordAdapter<VeskAdapter> {
public:
    static const unsigned CARD_TEXT_SIZE = 33; // 32 characters and the terminator

    explicit VeskAdapter(const vesksim::Controller& controller);
    ~VeskAdapter() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;

    // The event list: the simulation's next event document.
    using Adapter::getEvents;
    Ret getEvents(unsigned long startEventNumberIN, std::string& xmlEvents) override;
    // Recorded; answers the scripted code.
    Ret startControllerDiagnostic(EnumAdapterDiagType diagTypeIN) override;

    const char* getPartNumber() const { return partNumber; }
    const char* getBatteryFRU() const { return batteryFRU; }
    const char* getCardVersion() const { return cardVersion; }
    const char* getFRUNumber() const { return fruNumber; }

private:
    char partNumber[CARD_TEXT_SIZE];
    char batteryFRU[CARD_TEXT_SIZE];
    char cardVersion[CARD_TEXT_SIZE];
    char fruNumber[CARD_TEXT_SIZE];
};

// A disk of a Vesk controller.
class STOR_EXPORT VeskHardDrive : public familysim::RecordHardDrive<VeskHardDrive> {
public:
    VeskHardDrive(Adapter* adapterIN, Channel* channelIN, const familysim::HardDriveTexts& texts);
    ~VeskHardDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;

    // The diagnostics: each request is recorded (with a pass-through's
    // input) and answers the scripted code; the queries fill the scripted
    // self-test state when they succeed.
    Ret scsiPassThruCommand(SCSICommand& command) override;
    Ret startDiskDiagnostic(EnumDiskDiagType typeIN) override;
    Ret abortDiskDiagnostic() override;
    Ret getDiskDiagnosticProgress(DISK_DIAGNOSTIC_STATE& stateOUT) override;
    Ret getDiskDiagnosticResults(DISK_DIAGNOSTIC_STATE& stateOUT) override;

private:
    vesksim::DiagnosticCall call(const char* operation, int kind) const;
    Ret diagnose(const vesksim::DiagnosticCall& call) const;
};

// A logical drive of a Vesk controller: its data space in 512-byte blocks,
// a name (never null), a read-cache mode and a creation time with every
// field set.
class STOR_EXPORT VeskLogicalDrive : public familysim::RecordLogicalDrive<VeskLogicalDrive> {
public:
    VeskLogicalDrive(Adapter* adapterIN, Array* arrayIN, const vesksim::LogicalDrive& drive);
    ~VeskLogicalDrive() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
};

// A SAF-TE enclosure of a Vesk controller. When it answers its SAF-TE
// pages, their records are its children and it keeps copies of them
// (getSafteConfig, getSafteStatus); otherwise it has neither.
class STOR_EXPORT VeskEnclosure : public Enclosure {
public:
    VeskEnclosure(Adapter* adapterIN, Channel* channelIN, const vesksim::SafteEnclosure& enclosure);
    ~VeskEnclosure() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
};

#endif
