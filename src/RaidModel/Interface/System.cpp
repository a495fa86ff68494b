#include "RaidModel/Interface/System.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <tuple>
#include <utility>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/LogicalDrive.h"

namespace {

// An address as a key that sorts: the eight ids in order.
struct AddrKey {
    explicit AddrKey(const Addr& a)
        : ids{a.getAdapterID(), a.getArrayID(), a.getLogicalDriveID(), a.getChannelID(), a.getDeviceID(),
              a.getItemID(), a.getSASPhyID()},
          chunk(a.getChunkID())
    {
    }
    bool operator<(const AddrKey& o) const
    {
        return std::tie(ids[0], ids[1], ids[2], ids[3], ids[4], ids[5], ids[6], chunk) <
               std::tie(o.ids[0], o.ids[1], o.ids[2], o.ids[3], o.ids[4], o.ids[5], o.ids[6], o.chunk);
    }
    STORID_T ids[7];
    BLOCK_T chunk;
};

// A logical drive's controller id and drive id, as getObject matches them.
typedef std::pair<STORID_T, STORID_T> LogicalKey;

// The objects of a tree with their keys, in the order a search meets them
// until sorted; sorting keeps that order among the objects of one key, so a
// key finds the first object the search would meet.
template <class Key>
class SortedIndex {
public:
    void clear() { entries.clear(); }
    void add(const Key& key, RaidObject* object) { entries.push_back(Entry{key, object}); }
    void sort()
    {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.key < b.key; });
    }
    RaidObject* find(const Key& key) const
    {
        auto it = std::lower_bound(entries.begin(), entries.end(), key,
                                   [](const Entry& e, const Key& k) { return e.key < k; });
        return it != entries.end() && !(key < it->key) ? it->object : nullptr;
    }

private:
    struct Entry {
        Key key;
        RaidObject* object;
    };
    std::vector<Entry> entries;
};

// getObject's order for any address but a logical drive's: the node, then
// each child's subtree in turn.
void addDepthFirst(SortedIndex<AddrKey>& index, RaidObject* node)
{
    index.add(AddrKey(node->getAddr()), node);
    for (unsigned long i = 0; i < node->getChildCount(); ++i)
        addDepthFirst(index, node->getChild(static_cast<int>(i)));
}

// getChild(a, true)'s order: a node's children, then each child's subtree in
// turn.
void addChildrenFirst(SortedIndex<AddrKey>& index, const RaidObject* node)
{
    const int count = static_cast<int>(node->getChildCount());
    for (int i = 0; i < count; ++i)
        index.add(AddrKey(node->getChild(i)->getAddr()), node->getChild(i));
    for (int i = 0; i < count; ++i)
        addChildrenFirst(index, node->getChild(i));
}

// getObject's order for a logical drive's address: every logical drive in
// the order getChildren lists them, matched by its controller's id and its
// own.
void addLogicalDrives(SortedIndex<LogicalKey>& index, RaidObject* root)
{
    std::vector<RaidObject*> drives;
    root->getChildren(drives, "LogicalDrive", true, false);
    for (RaidObject* drive : drives) {
        const Adapter* controller = static_cast<const LogicalDrive*>(drive)->getAdapter();
        if (controller)
            index.add(LogicalKey(controller->getAdapterID(), drive->getLogicalDriveID()), drive);
    }
}

} // namespace

// The three indexes of a system's tree, each built on demand for the shape
// the tree has; a tree asked only once since its shape changed is searched
// instead, since building an index costs several searches.
struct System::AddressIndex {
    template <class Key>
    struct Part {
        SortedIndex<Key> index;
        uint32_t shape = 0;
        bool built = false;
        unsigned asked = 0;

        // Whether the index answers for the shape; the first question after
        // a change only counts.
        bool ready(uint32_t current)
        {
            if (shape != current) {
                shape = current;
                built = false;
                asked = 0;
                index.clear();
            }
            return built || ++asked >= 2;
        }
    };

    std::mutex lock;
    Part<AddrKey> depthFirst;
    Part<AddrKey> childrenFirst;
    Part<LogicalKey> logicalDrives;
};

System::System(EnumStorLibType type)
    : refCount(0), pProxySystem(nullptr), storlibType(type), addressIndex(new AddressIndex)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "System::System()");
}

System::~System()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "System::~System()");
    deleteAllChildren();
}

bool System::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "System") == 0) || RaidObject::isInstanceOf(className);
}

const char* System::typeName() const { return "System"; }

const char* System::serializedName() const { return "System"; }

void System::writeTo(Writer* writer) const { RaidObject::writeTo(writer); }

void System::addChild(RaidObject* child)
{
    osThreadLockerGrabber lock(refLocker);
    if (pProxySystem)
        pProxySystem->addChild(child);
    else
        RaidObject::addChild(child);
}

void System::addChild(RaidObject* child, unsigned long index)
{
    osThreadLockerGrabber lock(refLocker);
    if (pProxySystem)
        pProxySystem->addChild(child, index);
    else
        RaidObject::addChild(child, index);
}

void System::descendantAdded(RaidObject* descendant)
{
    RaidObject::descendantAdded(descendant);
    shapeChanged();
    if (!descendant || !descendant->isInstanceOf("Adapter"))
        return;
    Adapter* adapter = static_cast<Adapter*>(descendant);
    const EnumStorLibType type = adapter->getStorLibType();
    auto it = adapterVec.begin();
    while (it != adapterVec.end() && (*it)->getStorLibType() <= type)
        ++it;
    adapterVec.insert(it, adapter);
}

namespace {

// The object of the part's index at the key, when the index answers and the
// object still matches; null otherwise. The index is built here when due.
template <class Part, class Key, class Build, class Matches>
RaidObject* indexed(std::mutex& lock, Part& part, uint32_t shape, const Key& key, Build build, Matches matches)
{
    std::lock_guard<std::mutex> hold(lock);
    if (!part.ready(shape))
        return nullptr;
    if (!part.built) {
        build(part.index);
        part.index.sort();
        part.built = true;
    }
    RaidObject* hit = part.index.find(key);
    return hit && matches(hit) ? hit : nullptr;
}

} // namespace

RaidObject* System::findObject(const Addr& a)
{
    // A system below another tree leaves logical drives to that tree's root.
    RaidObject* found = nullptr;
    if (addressIndex && !getParent()) {
        if (a.getType() == ADDR_TYPE_LOGICAL) {
            found = indexed(
                addressIndex->lock, addressIndex->logicalDrives, shapeVersion,
                LogicalKey(a.getAdapterID(), a.getLogicalDriveID()),
                [this](SortedIndex<LogicalKey>& index) { addLogicalDrives(index, this); },
                [&a](RaidObject* drive) {
                    const Adapter* controller = static_cast<const LogicalDrive*>(drive)->getAdapter();
                    return drive->getLogicalDriveID() == a.getLogicalDriveID() && controller &&
                           controller->getAdapterID() == a.getAdapterID();
                });
        } else {
            found = indexed(
                addressIndex->lock, addressIndex->depthFirst, shapeVersion, AddrKey(a),
                [this](SortedIndex<AddrKey>& index) { addDepthFirst(index, this); },
                [&a](RaidObject* object) { return object->getAddr().Addr::IsEqual(a); });
        }
    }
    return found ? found : getObject(a);
}

// A logical drive is looked for from the root whatever node is asked, and an
// object at any other address is the first in depth-first order; that order
// below from is the system's order cut to from's subtree, so the system's
// first object at the address is from's when it lies in that subtree, and
// none below from has the address when the system has none.
RaidObject* System::findObjectFrom(RaidObject* from, const Addr& a)
{
    if (!from)
        return nullptr;
    System* system = dynamic_cast<System*>(from->getRoot());
    if (!system)
        return from->getObject(a);
    RaidObject* found = system->findObject(a);
    if (a.getType() == ADDR_TYPE_LOGICAL || !found || found == from || from->isAncestorOf(found))
        return found;
    return from->getObject(a);
}

RaidObject* System::findChild(const Addr& a) const
{
    RaidObject* found = nullptr;
    if (addressIndex)
        found = indexed(
            addressIndex->lock, addressIndex->childrenFirst, shapeVersion, AddrKey(a),
            [this](SortedIndex<AddrKey>& index) { addChildrenFirst(index, this); },
            [&a](RaidObject* object) { return object->getAddr().Addr::IsEqual(a); });
    return found ? found : getChild(a, true);
}

uint32_t System::getControllerCount(StorLib*, Ret& ret)
{
    ret.setReturn(Ret::NOT_SUPPORTED);
    return 0;
}

Adapter* System::getAdapter(unsigned long n) const
{
    return n < adapterVec.size() ? adapterVec[n] : nullptr;
}

void System::DeleteAdapters(EnumStorLibType type)
{
    osThreadLockerGrabber lock(refLocker);
    for (;;) {
        auto it = adapterVec.begin();
        while (it != adapterVec.end() && (*it)->getStorLibType() != type)
            ++it;
        if (it == adapterVec.end())
            return;
        Adapter* adapter = *it;
        adapterVec.erase(it);
        deleteChild(adapter);
    }
}

void System::buildChildren(SimpleXmlParser& xmlParser)
{
    while (xmlParser.parseNext()) {
        if (xmlParser.tagIs(serializedName())) {
            if (xmlParser.foundEndTag())
                return;
            if (xmlParser.getName())
                attribList.Append(xmlParser.getName(), xmlParser.getValue());
        } else if (xmlParser.tagIs("Controller") && xmlParser.foundStartTag()) {
            // Elements of other names are not passed over as units: a
            // controller nested in one still belongs to this system.
            addChild(readController(xmlParser));
        }
    }
}

// The controller reads its own element, with everything inside it, up to the
// element's end.
Adapter* System::readController(SimpleXmlParser& xmlParser) { return new Adapter(xmlParser); }
