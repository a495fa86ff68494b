#include "RaidModel/Interface/RaidObject.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/System.h"
#include "RaidModel/Serialization/Writer.h"

STOR_EXPORT std::atomic<uint32_t> globalRaidObjectCounter(0);

namespace {

// Every system above node (node included) learns that its tree lost
// objects, so that its address index is not asked about them.
void objectsRemovedBelow(RaidObject* node)
{
    for (; node; node = node->getParent()) {
        if (System* system = dynamic_cast<System*>(node))
            system->shapeChanged();
    }
}

// Appends the matching descendants for collect. Whether a pointer is in the
// list already is looked up in a set of the list's entries once the list is
// long, so a large tree is collected in linear time.
class Collector {
public:
    Collector(std::vector<RaidObject*>& outIN, const char* classNameIN) : out(outIN), className(classNameIN) {}

    void add(const RaidObject* node, bool recursive, bool noDuplicates)
    {
        const int count = static_cast<int>(node->getChildCount());
        for (int i = 0; i < count; ++i) {
            RaidObject* child = node->getChild(i);
            if ((!className || child->isInstanceOf(className)) && (!noDuplicates || !listed(child)))
                out.push_back(child);
            if (recursive)
                add(child, true, true);
        }
    }

private:
    static const size_t SHORT_LIST = 32;

    bool listed(const RaidObject* object)
    {
        if (out.size() <= SHORT_LIST)
            return std::find(out.begin(), out.end(), object) != out.end();
        // The list only grows: the entries added since the last question
        // join the set.
        for (; inSet < out.size(); ++inSet)
            entries.insert(out[inSet]);
        return entries.count(object) != 0;
    }

    std::vector<RaidObject*>& out;
    const char* className;
    std::unordered_set<const RaidObject*> entries;
    size_t inSet = 0;
};

} // namespace

Serializable::~Serializable() {}

bool Serializable::isInstanceOf(const char* className) const
{
    return isClassName(className, "Serializable");
}

const char* Serializable::typeName() const { return "Serializable"; }

const char* Serializable::serializedName() const { return "Serializable"; }

void Serializable::writeTo(Writer*) const {}

RaidObject::RaidObject() : parent(nullptr), pAttachment(nullptr), attribList(0, 1)
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RaidObject::RaidObject()");
    ++globalRaidObjectCounter;
}

RaidObject::RaidObject(const RaidObject&)
    : Serializable(), parent(nullptr), pAttachment(nullptr), attribList(0, 1)
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RaidObject::RaidObject(const RaidObject &)");
    ++globalRaidObjectCounter;
}

RaidObject& RaidObject::operator=(const RaidObject&) { return *this; }

RaidObject::~RaidObject()
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RaidObject::~RaidObject()");
    delete pAttachment;
    pAttachment = nullptr;
    --globalRaidObjectCounter;
}

bool RaidObject::isInstanceOf(const char* className) const
{
    return isClassName(className, "RaidObject") || Serializable::isInstanceOf(className);
}

const char* RaidObject::typeName() const { return "RaidObject"; }

const char* RaidObject::serializedName() const { return "RaidObject"; }

void RaidObject::writeTo(Writer* w) const
{
    if (!w)
        return;
    w->writeString("typeName", typeName());
    if (pAttachment) {
        w->writeString("attachmentType", pAttachment->typeName());
        pAttachment->writeTo(w);
    } else {
        w->writeString("attachmentType", "none");
    }
    if (myAddr2.getStorLibType() != STORLIB_UNKNOWN)
        w->writeInt("storlibType", myAddr2.getStorLibType());
    // The set ids of the address, under their attribute names.
    w->writeAddr(&myAddr2);
}

void RaidObject::sortChildren() {}

void RaidObject::addChild(RaidObject* child) { RaidObject::addChild(child, children.size()); }

// The child belongs to the tree from here on: when the list cannot take it,
// it is deleted with its subtree before the failure passes on, so a builder
// never has to tell whether the tree took a child.
void RaidObject::addChild(RaidObject* child, unsigned long index)
{
    if (!child)
        return;
    try {
        if (index < children.size())
            children.insert(children.begin() + static_cast<std::ptrdiff_t>(index), child);
        else
            children.push_back(child);
    } catch (...) {
        child->deleteAllChildren();
        delete child;
        throw;
    }
    child->parent = this;
    notifyAncestors(this, child);
}

// Tells every ancestor of the insertion point, from the insertion point up to
// the root, about node, then does the same for each node of node's subtree in
// depth-first pre-order. The nodes inside the subtree are not told about
// their own descendants.
void RaidObject::notifyAncestors(RaidObject* insertionPoint, RaidObject* node)
{
    for (RaidObject* a = insertionPoint; a; a = a->parent)
        a->descendantAdded(node);
    for (size_t i = 0; i < node->children.size(); ++i)
        notifyAncestors(insertionPoint, node->children[i]);
}

void RaidObject::descendantAdded(RaidObject*) {}

void RaidObject::readFrom(Reader*) {}

void RaidObject::attach(Serializable* s)
{
    if (s == pAttachment)
        return;
    delete pAttachment;
    pAttachment = s;
}

void RaidObject::deleteAllChildren()
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RaidObject::deleteAllChildren()");
    if (!children.empty())
        objectsRemovedBelow(this);
    deleteSubtrees();
}

// Each child's subtree in a scope of its own, as deleteAllChildren gives it,
// then the child. The systems above were told once: the nodes below have no
// other systems above them than those and the ones deleted with them.
void RaidObject::deleteSubtrees()
{
    for (RaidObject* child : children) {
        {
            StorDebugTracer tracer(child->myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                                   "RaidObject::deleteAllChildren()");
            child->deleteSubtrees();
        }
        delete child;
    }
    children.clear();
}

void RaidObject::deleteChild(RaidObject* pChildIN)
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "RaidObject::deleteChild (RaidObject* pChildIN)");
    auto it = std::find(children.begin(), children.end(), pChildIN);
    if (it == children.end())
        return;
    objectsRemovedBelow(this);
    pChildIN->deleteAllChildren();
    children.erase(it);
    delete pChildIN;
}

RaidObject* RaidObject::getChild(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= children.size())
        return nullptr;
    return children[static_cast<size_t>(index)];
}

std::vector<RaidObject*> RaidObject::getChildren() const { return children; }

// Appends the children that pass the class test (every child without a
// class name), each before its own subtree when recursive; below the first
// level, pointers already in out are always skipped.
void RaidObject::collect(std::vector<RaidObject*>& out, const char* className, bool recursive,
                         bool noDuplicates) const
{
    Collector collector(out, className);
    collector.add(this, recursive, noDuplicates);
}

void RaidObject::getChildren(std::vector<RaidObject*>& out, const char* className, bool recursive,
                             bool noDuplicates) const
{
    // No class name matches no class.
    if (className)
        collect(out, className, recursive, noDuplicates);
}

void RaidObject::getChildren(std::vector<RaidObject*>& out, bool recursive,
                             bool noDuplicates) const
{
    collect(out, nullptr, recursive, noDuplicates);
}

std::vector<RaidObject*> RaidObject::getSASPhys() const
{
    std::vector<RaidObject*> phys;
    getChildren(phys, "SASPhy", true, true);
    return phys;
}

RaidObject* RaidObject::getRoot()
{
    RaidObject* node = this;
    while (node->parent)
        node = node->parent;
    return node;
}

const RaidObject* RaidObject::getRoot() const { return const_cast<RaidObject*>(this)->getRoot(); }

bool RaidObject::hasAncestor(const RaidObject* o) const
{
    for (const RaidObject* a = parent;; a = a->parent) {
        if (a == o)
            return true;
        if (!a)
            return false;
    }
}

bool RaidObject::isAncestorOf(const RaidObject* o) const { return o && o->hasAncestor(this); }

RaidObject* RaidObject::getChild(const Addr& a, bool recursive) const
{
    for (RaidObject* child : children) {
        if (child->myAddr2.Addr::IsEqual(a))
            return child;
    }
    if (recursive) {
        for (RaidObject* child : children) {
            if (RaidObject* hit = child->getChild(a, true))
                return hit;
        }
    }
    return nullptr;
}

RaidObject* RaidObject::getChild(const Addr2& a, bool recursive) const
{
    for (RaidObject* child : children) {
        if (child->myAddr2.IsEqual2(a))
            return child;
    }
    if (recursive) {
        for (RaidObject* child : children) {
            if (RaidObject* hit = child->getChild(a, true))
                return hit;
        }
    }
    return nullptr;
}

RaidObject* RaidObject::findDepthFirst(const Addr& a)
{
    if (myAddr2.Addr::IsEqual(a))
        return this;
    for (RaidObject* child : children) {
        if (RaidObject* hit = child->findDepthFirst(a))
            return hit;
    }
    return nullptr;
}

RaidObject* RaidObject::findDepthFirst(const Addr2& a)
{
    if (myAddr2.IsEqual2(a))
        return this;
    for (RaidObject* child : children) {
        if (RaidObject* hit = child->findDepthFirst(a))
            return hit;
    }
    return nullptr;
}

// A logical drive belongs to the controller it was made for; a drive
// without one matches no address.
RaidObject* RaidObject::findLogicalDrive(const Addr& a)
{
    std::vector<RaidObject*> drives;
    getRoot()->getChildren(drives, "LogicalDrive", true, false);
    for (RaidObject* drive : drives) {
        if (drive->getLogicalDriveID() != a.getLogicalDriveID())
            continue;
        const Adapter* controller = static_cast<const LogicalDrive*>(drive)->getAdapter();
        if (controller && controller->getAdapterID() == a.getAdapterID())
            return drive;
    }
    return nullptr;
}

RaidObject* RaidObject::getObject(const Addr& a)
{
    if (a.getType() == ADDR_TYPE_LOGICAL)
        return findLogicalDrive(a);
    return findDepthFirst(a);
}

RaidObject* RaidObject::getObject(const Addr2& a)
{
    if (a.getType() == ADDR_TYPE_LOGICAL)
        return findLogicalDrive(a);
    return findDepthFirst(a);
}

RaidObject* RaidObject::getObject(STORID_T adapterID, STORID_T arrayID, STORID_T logicalDriveID,
                                  STORID_T channelID, STORID_T deviceID)
{
    return getObject(Addr(adapterID, arrayID, logicalDriveID, channelID, deviceID, BLOCK_UNDEFINED,
                          STORID_UNDEFINED, STORID_UNDEFINED));
}

void RaidObject::initBaseAttributes()
{
    if (attribList.Exists("storlibType"))
        myAddr2.setStorLibType(static_cast<EnumStorLibType>(attribList.GetULong("storlibType")));
    if (attribList.Exists("controllerID"))
        myAddr2.setAdapterID(attribList.GetULong("controllerID"));
    if (attribList.Exists("arrayID"))
        myAddr2.setArrayID(attribList.GetULong("arrayID"));
    if (attribList.Exists("logicalDriveID"))
        myAddr2.setLogicalDriveID(attribList.GetULong("logicalDriveID"));
    if (attribList.Exists("channelID"))
        myAddr2.setChannelID(attribList.GetULong("channelID"));
    if (attribList.Exists("deviceID"))
        myAddr2.setDeviceID(attribList.GetULong("deviceID"));
    if (attribList.Exists("chunkID"))
        myAddr2.setChunkID(static_cast<uint32_t>(attribList.GetULong("chunkID")));
    if (attribList.Exists("itemID"))
        myAddr2.setItemID(attribList.GetULong("itemID"));
    if (attribList.Exists("phyID"))
        myAddr2.setSASPhyID(attribList.GetULong("phyID"));
}
