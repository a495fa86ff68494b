#include "RaidModel/Interface/BasicLogicalDrive.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/Chunk.h"

namespace {

// Logical drives nest one level in the model (a spanning drive over its
// second-level drives). A document may nest them deeper, but every level is
// a level of recursion here and in everything that walks the tree, so the
// reader builds no more than this many levels below a logical drive and
// passes deeper ones over, with what they contain.
const unsigned MAX_NESTED_LOGICAL_DRIVES = 32;

// The levels of nested logical drives being read on this thread.
thread_local unsigned nestedReadDepth = 0;

struct NestedRead {
    NestedRead() { ++nestedReadDepth; }
    ~NestedRead() { --nestedReadDepth; }
    NestedRead(const NestedRead&) = delete;
    NestedRead& operator=(const NestedRead&) = delete;
};

// Moves the parser from the start of a "LogicalDrive" element to its end.
void passOverLogicalDrive(SimpleXmlParser& xmlParser)
{
    if (xmlParser.foundEndTag())
        return; // "<LogicalDrive/>"
    unsigned long open = 1;
    while (xmlParser.parseNext()) {
        if (!xmlParser.tagIs("LogicalDrive"))
            continue;
        if (xmlParser.foundStartTag() && !xmlParser.foundEndTag())
            ++open;
        else if (!xmlParser.foundStartTag() && xmlParser.foundEndTag() && --open == 0)
            return;
    }
}

} // namespace

BasicLogicalDrive::BasicLogicalDrive() : LogicalDrive() {}

BasicLogicalDrive::BasicLogicalDrive(const BasicLogicalDrive& right) : LogicalDrive(right) {}

BasicLogicalDrive::BasicLogicalDrive(Adapter* adapterIN, Array* arrayIN, unsigned long logicalDriveIDIN,
                                     EnumLogicalDeviceState stateIN, EnumRaidLevel raidLevelIN, BLOCK_T dataSpaceIN,
                                     BLOCK_T paritySpaceIN, bool blockedAccessIN,
                                     EnumLogicalDriveCacheMode writeCacheModeIN, bool lastDriveInArrayIN,
                                     bool bOSPartitionIN)
    : LogicalDrive(adapterIN, arrayIN, logicalDriveIDIN, stateIN, raidLevelIN, dataSpaceIN, paritySpaceIN,
                   blockedAccessIN, writeCacheModeIN, lastDriveInArrayIN, bOSPartitionIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "BasicLogicalDrive::BasicLogicalDrive(Adapter *, ...)");
}

BasicLogicalDrive::BasicLogicalDrive(Adapter* pAdapterIN, SimpleXmlParser& xmlParser) : BasicLogicalDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "BasicLogicalDrive::BasicLogicalDrive(Adapter *, SimpleXmlParser &)");
    adapter = pAdapterIN;
    attribList.setInitElements(64);
    build(xmlParser);
}

BasicLogicalDrive::~BasicLogicalDrive()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "BasicLogicalDrive::~BasicLogicalDrive()");
}

bool BasicLogicalDrive::isInstanceOf(const char* className) const
{
    if (className && std::strcmp(className, "BasicLogicalDrive") == 0)
        return true;
    return LogicalDrive::isInstanceOf(className);
}

const char* BasicLogicalDrive::typeName() const { return "BasicLogicalDrive"; }

const char* BasicLogicalDrive::serializedName() const { return "LogicalDrive"; }

void BasicLogicalDrive::build(SimpleXmlParser& xmlParser)
{
    // The first "LogicalDrive" start tag is this drive's own; every later
    // one starts a nested logical drive, also a self-closed one.
    bool started = false;
    try {
        do {
            if (xmlParser.tagIs("LogicalDrive")) {
                if (xmlParser.foundStartTag()) {
                    if (started) {
                        if (nestedReadDepth < MAX_NESTED_LOGICAL_DRIVES) {
                            NestedRead level;
                            addChild(new BasicLogicalDrive(adapter, xmlParser));
                        } else {
                            passOverLogicalDrive(xmlParser);
                        }
                        continue;
                    }
                    started = true;
                }
                if (xmlParser.foundEndTag())
                    break;
                if (const char* name = xmlParser.getName())
                    attribList.Append(name, xmlParser.getValue());
            } else if (xmlParser.tagIs("Chunk") && xmlParser.foundStartTag()) {
                addChild(new Chunk(xmlParser));
            }
        } while (xmlParser.parseNext());
    } catch (...) {
        // This drive goes away with the exception, and so must what has been
        // read into it.
        deleteAllChildren();
        hardDriveChunkVec.clear();
        hardDriveVec.clear();
        logicalDriveChunkVec.clear();
        secondLevelVec.clear();
        throw;
    }

    initBaseAttributes();
    if (attribList.Exists("state"))
        state = static_cast<EnumLogicalDeviceState>(attribList.GetLong("state"));
    if (attribList.Exists("subState"))
        subState = static_cast<EnumLogicalDeviceSubState>(attribList.GetLong("subState"));
    if (attribList.Exists("raidLevel"))
        raidLevel = static_cast<EnumRaidLevel>(attribList.GetLong("raidLevel"));
    if (attribList.Exists("writeCacheMode"))
        writeCacheMode = static_cast<EnumLogicalDriveCacheMode>(attribList.GetLong("writeCacheMode"));
    if (attribList.Exists("hasPartition"))
        hasPartition = static_cast<EnumLogicalDriveHasPartition>(attribList.GetLong("hasPartition"));
    if (attribList.Exists("stripeSize"))
        stripeSize = static_cast<EnumStripeSize>(attribList.GetLong("stripeSize"));
    if (attribList.Exists("dataSpace"))
        dataSpace = attribList.GetU64("dataSpace");
    if (attribList.Exists("paritySpace"))
        paritySpace = attribList.GetU64("paritySpace");
    if (attribList.Exists("blockedAccess"))
        blockedAccess = attribList.GetBool("blockedAccess");
    if (attribList.Exists("lastDriveInArray"))
        lastDriveInArray = attribList.GetBool("lastDriveInArray");
    if (attribList.Exists("OSPartition"))
        bOSPartition = attribList.GetBool("OSPartition");
    if (attribList.Exists("snapshotType"))
        snapshotType = static_cast<EnumSnapshotType>(attribList.GetLong("snapshotType"));
    if (snapshotType != SNAPSHOT_TYPE_NONE) {
        snapshotBUMode = attribList.GetBool("snapshotBUMode");
        snapshotBUComplete = attribList.GetBool("snapshotBUComplete");
        snapshotPartnerID = attribList.GetULong("snapshotPartnerID");
        snapshotCapacityUsed = attribList.GetULong("snapshotCapacityUsed");
    }
    if (attribList.Exists("raid5EEState"))
        raid5EEState = static_cast<EnumRaid5EEState>(attribList.GetLong("raid5EEState"));
    if (attribList.Exists("numMissingMembers"))
        numMissingMembers = attribList.GetLong("numMissingMembers");
}
