#ifndef SYSTEM_H
#define SYSTEM_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "RaidLib/Util/Ret.h"
#include "RaidLib/Util/StorOS.h"
#include "RaidModel/Interface/RaidObject.h"

class Adapter;
class RefSystem;
class SimpleXmlParser;
class StorLib;

// The root of one configuration tree. It keeps every controller added
// anywhere below it in a list ordered by library type (controllers of one
// type in the order they were added), carries the lock and the count of the
// counted references through which a storage library shares it, and can
// forward every child added to it to another system, its proxy.
//
// The family supplies a subclass that reads its controllers. Deleting a
// system deletes its whole tree.
//
// The order of the virtual operations is the order of the virtual table that
// the family libraries are built against; do not reorder.
class STOR_EXPORT System : public RaidObject {
public:
    explicit System(EnumStorLibType type);
    ~System() override;
    System(const System&) = delete;
    System& operator=(const System&) = delete;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    // Under the reference lock; with a proxy the child goes to the proxy and
    // this system is left unchanged.
    void addChild(RaidObject* child) override;
    void addChild(RaidObject* child, unsigned long index) override;
    // Files controllers in the list by library type.
    void descendantAdded(RaidObject* descendant) override;
    // The family reads its controllers through lib and adds them.
    virtual void buildChildren(StorLib* lib, Ret& ret) = 0;
    // Builds the tree from the system configuration document; the parser is
    // freshly attached and asked for its first event here.
    virtual void buildChildren(SimpleXmlParser& xmlParser);
    // The number of controllers as the family counts them. The default body
    // (which a family may call) answers 0 with code -1.
    virtual uint32_t getControllerCount(StorLib* lib, Ret& ret) = 0;

    // The n-th controller by library type; null when n is not below the count.
    Adapter* getAdapter(unsigned long n) const;
    unsigned long getNumAdapters() const { return adapterVec.size(); }

    // Removes every controller of the type from the list and deletes those
    // that are children of this system, with their subtrees.
    void DeleteAdapters(EnumStorLibType type);

    System* getProxySystem() const { return pProxySystem; }
    void setProxySystem(System* proxy) { pProxySystem = proxy; }

    // What getObject(a) and getChild(a, true) answer from this system, found
    // through an index of the tree instead of a walk of the whole tree for
    // each address. The index is built when a tree that has not changed its
    // shape is asked a second time, and rebuilt after the shape changes
    // (an object added or deleted anywhere below); an answer it gives is
    // checked against the object's address, and an address it does not
    // hold is searched for as before, so an address changed in place is
    // still found. Safe for lookups from several threads at once.
    RaidObject* findObject(const Addr& a);
    RaidObject* findChild(const Addr& a) const;
    // What from->getObject(a) answers, through the index of the system at
    // the root of from's tree; a walk below from as before when from is in
    // no system's tree, or when the system's first object at the address
    // lies outside from's subtree.
    static RaidObject* findObjectFrom(RaidObject* from, const Addr& a);
    // Called when an object below the system was added or deleted.
    void shapeChanged() { ++shapeVersion; }
    // Changes whenever an object below the system is added or deleted, so
    // that what a caller derived from the tree's shape can be kept until it
    // changes.
    uint32_t getShapeVersion() const { return shapeVersion; }

    // Two systems are never equal.
    bool operator==(const System&) const { return false; }
    bool operator!=(const System&) const { return true; }

protected:
    osThreadLocker refLocker;
    uint32_t refCount;
    std::vector<Adapter*> adapterVec;
    System* pProxySystem;
    EnumStorLibType storlibType;

private:
    // A new controller read from its element, which the parser stands on.
    Adapter* readController(SimpleXmlParser& xmlParser);

    struct AddressIndex;
    std::atomic<uint32_t> shapeVersion{0};
    std::unique_ptr<AddressIndex> addressIndex;

    friend class RefSystem;
};

#endif
