// The Pelm model objects and the build of a Pelm configuration from the
// simulated controllers.

#include <cstdio>
#include <cstring>

#include "FamilySim.h"
#include "PelmLib.h"
#include "PelmSimInternal.h"
#include "RaidModel/Interface/AdapterFeatures.h"

namespace {

bool named(const char* className, const char* name) { return className && std::strcmp(className, name) == 0; }

// A text as an attribute value between double quotes: the dialect decodes
// no entities, so a double quote inside becomes a single one.
std::string quoted(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        if (c == '"')
            c = '\'';
    }
    return out;
}

std::string eventListText(const std::vector<pelmsim::Event>& events)
{
    std::string text = "<EventList>\n";
    char numbers[160];
    for (const pelmsim::Event& e : events) {
        snprintf(numbers, sizeof numbers,
                 "<Event Sequence=\"%u\" Qual=\"0x%x\" Status=\"0x%x\" SenseKey=\"0x%x\" AdditionalSenseCode=\"0x%x\"",
                 unsigned(e.sequence), unsigned(e.qual), unsigned(e.status), unsigned(e.senseKey),
                 unsigned(e.additionalSenseCode));
        text += numbers;
        text += " LDPath=\"" + quoted(e.ldPath) + "\" Description=\"" + quoted(e.description) + "\"/>\n";
    }
    return text + "</EventList>\n";
}

} // namespace

// ---------------------------------------------------------------- PelmAdapter

PelmAdapter::PelmAdapter(const pelmsim::Controller& c) : RecordAdapter(PELM, c)
{
    features = new AdapterFeatures;
    setFeature(FeatRaid0, c.raid0 ? 1 : 0);
    setFeature(FeatRaid1, c.raid1 ? 1 : 0);
    setFeature(FeatUltra160Scsi, c.ultra160 ? 1 : 0);
}

PelmAdapter::~PelmAdapter() = default;

bool PelmAdapter::isInstanceOf(const char* className) const
{
    return named(className, "PelmAdapter") || Adapter::isInstanceOf(className);
}

const char* PelmAdapter::typeName() const { return "PelmAdapter"; }

Ret PelmAdapter::getEvents(unsigned long startEventNumberIN, std::string& xmlEvents)
{
    std::vector<pelmsim::Event> events;
    if (!pelmsim::detail::eventsOf(getAdapterID(), startEventNumberIN, events))
        return Ret(Ret::OBJECT_NOT_FOUND);
    xmlEvents = eventListText(events);
    return Ret(Ret::SUCCESS);
}

// ---------------------------------------------------------------- PelmHardDrive

PelmHardDrive::PelmHardDrive(Adapter* adapterIN, Channel* channelIN, const familysim::HardDriveTexts& texts)
    : RecordHardDrive(adapterIN, channelIN, texts)
{
}

PelmHardDrive::~PelmHardDrive() = default;

bool PelmHardDrive::isInstanceOf(const char* className) const
{
    return named(className, "PelmHardDrive") || HardDrive::isInstanceOf(className);
}

const char* PelmHardDrive::typeName() const { return "PelmHardDrive"; }

// ---------------------------------------------------------------- PelmLogicalDrive

PelmLogicalDrive::PelmLogicalDrive(Adapter* adapterIN, const pelmsim::LogicalDrive& d)
    : RecordLogicalDrive(adapterIN, nullptr, d, d.sizeMB)
{
}

PelmLogicalDrive::~PelmLogicalDrive() = default;

bool PelmLogicalDrive::isInstanceOf(const char* className) const
{
    return named(className, "PelmLogicalDrive") || LogicalDrive::isInstanceOf(className);
}

const char* PelmLogicalDrive::typeName() const { return "PelmLogicalDrive"; }

Ret PelmLogicalDrive::getProgress(Progress& progress)
{
    pelmsim::Task task;
    bool running = false;
    if (!adapter || !pelmsim::detail::taskOf(adapter->getAdapterID(), getLogicalDriveID(), task, running))
        return Ret(Ret::OBJECT_NOT_FOUND);
    const Addr self(adapter->getAdapterID(), STORID_UNDEFINED, getLogicalDriveID(), STORID_UNDEFINED,
                    STORID_UNDEFINED, BLOCK_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED);
    progress = running ? Progress(task.type, self, TASK_STATE_IN_PROGRESS, task.percent)
                       : Progress(TASK_NONE, self, TASK_STATE_NONE, 0);
    progress.setDeviceAddr(self);
    progress.setPriority(running ? task.priority : TASK_PRIORITY_LOW);
    progress.setTaskID(getLogicalDriveID());
    return Ret(Ret::SUCCESS);
}

// ---------------------------------------------------------------- PelmSystem

namespace {

// The adapter of one controller with its whole subtree.
familysim::AdapterTree buildAdapter(const pelmsim::Controller& c)
{
    PelmAdapter* pelm = new PelmAdapter(c);
    familysim::AdapterTree adapter(pelm);
    if (!pelm)
        return adapter;
    familysim::addChannelsAndDrives<PelmHardDrive>(*pelm, c);
    for (const pelmsim::LogicalDrive& d : c.logicalDrives) {
        if (PelmLogicalDrive* logical = new PelmLogicalDrive(pelm, d)) {
            pelm->addChild(logical);
            familysim::addChunks(*logical, *pelm, d.chunks);
        }
    }
    return adapter;
}

} // namespace

PelmSystem::PelmSystem() : System(STORLIB_PELM) {}

PelmSystem::~PelmSystem() = default;

bool PelmSystem::isInstanceOf(const char* className) const
{
    return named(className, "PelmSystem") || System::isInstanceOf(className);
}

const char* PelmSystem::typeName() const { return "PelmSystem"; }

void PelmSystem::buildChildren(StorLib*, Ret& ret)
{
    int failedCode = 0;
    const std::vector<pelmsim::Controller> controllers = pelmsim::detail::readControllers(failedCode);
    if (failedCode != 0)
        ret.setReturn(failedCode);
    familysim::addAdapters(*this, controllers, ret, buildAdapter);
    pelmsim::Call call;
    call.operation = "getSystemConfig";
    call.result = ret.getReturn();
    pelmsim::detail::logCall(call);
}

uint32_t PelmSystem::getControllerCount(StorLib*, Ret&) { return pelmsim::detail::controllerCount(); }
