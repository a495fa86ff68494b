#ifndef RAIDOBJECT_H
#define RAIDOBJECT_H

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"

class Writer;
class Reader;

// Whether the class name asked of an isInstanceOf is name (a literal): the
// first characters are compared in line, which turns most names of a class
// chain away without a call.
inline bool isClassName(const char* asked, const char* name)
{
    return asked && asked[0] == name[0] && std::strcmp(asked, name) == 0;
}

// The root of everything that can be written as XML.
class STOR_EXPORT Serializable {
public:
    virtual ~Serializable();
    // True for exactly "Serializable".
    virtual bool isInstanceOf(const char* className) const = 0;
    virtual const char* typeName() const = 0;
    // The XML element name.
    virtual const char* serializedName() const;
    // Writes the attributes; nothing here.
    virtual void writeTo(Writer* writer) const;
};

// A node of the configuration tree rooted at a System. A parent owns its
// children through deleteAllChildren(); the destructor does not delete them.
// The order of the virtual operations is the order of the virtual table that
// the family libraries are built against; do not reorder.
class STOR_EXPORT RaidObject : public Serializable {
public:
    RaidObject();
    // A copy is a new node: no parent, no children, an undefined address.
    RaidObject(const RaidObject& right);
    // Leaves the tree links, the address and the attribute list alone;
    // each model class copies its own fields.
    RaidObject& operator=(const RaidObject& right);
    ~RaidObject() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    virtual void sortChildren();
    // The child joins the tree, which owns it from then on, even when the
    // call fails: a child that the list cannot take is deleted with its
    // subtree before the failure passes on.
    virtual void addChild(RaidObject* child);
    virtual void addChild(RaidObject* child, unsigned long index);
    // Called on every ancestor of the insertion point for every node of an
    // added subtree; nothing here.
    virtual void descendantAdded(RaidObject* descendant);
    virtual void readFrom(Reader* reader);

    // Deletes the current attachment and keeps s (owned).
    void attach(Serializable* s);
    Serializable* getAttachment() const { return pAttachment; }
    // Hands the attachment to the caller.
    Serializable* detach()
    {
        Serializable* s = pAttachment;
        pAttachment = nullptr;
        return s;
    }

    // Deletes the whole subtree, children before parents, and empties the
    // child list.
    void deleteAllChildren();
    // Deletes a direct child with its subtree; nothing when it is not one.
    void deleteChild(RaidObject* pChildIN);

    RaidObject* getChild(int index) const;
    std::vector<RaidObject*> getChildren() const;
    // Appends the matching descendants (direct children only unless
    // recursive) in depth-first pre-order; out is not cleared.
    void getChildren(std::vector<RaidObject*>& out, const char* className, bool recursive,
                     bool noDuplicates) const;
    void getChildren(std::vector<RaidObject*>& out, bool recursive, bool noDuplicates) const;
    std::vector<RaidObject*> getSASPhys() const;

    RaidObject* getRoot();
    const RaidObject* getRoot() const;
    bool hasAncestor(const RaidObject* o) const;
    bool isAncestorOf(const RaidObject* o) const;

    // The first direct child at the address; with recursive, then each
    // child's subtree in child order.
    RaidObject* getChild(const Addr& a, bool recursive) const;
    RaidObject* getChild(const Addr2& a, bool recursive) const;
    // A logical drive anywhere in the tree by controller and logical-drive id;
    // any other object by a depth-first search from this node.
    RaidObject* getObject(const Addr& a);
    RaidObject* getObject(const Addr2& a);
    RaidObject* getObject(STORID_T adapterID, STORID_T arrayID, STORID_T logicalDriveID,
                          STORID_T channelID, STORID_T deviceID);

    bool operator==(const RaidObject& right) const { return myAddr2 == right.myAddr2; }
    bool operator!=(const RaidObject& right) const { return !(*this == right); }

    // Restores the address from the attribute list of the object's element.
    void initBaseAttributes();

    RaidObject* getParent() const { return parent; }
    void setParent(RaidObject* p) { parent = p; }
    Addr& getAddr() { return myAddr2; }
    const Addr& getAddr() const { return myAddr2; }
    Addr2& getAddr2() { return myAddr2; }
    const Addr2& getAddr2() const { return myAddr2; }
    EnumStorLibType getStorLibType() const { return myAddr2.getStorLibType(); }
    STORID_T getAdapterID() const { return myAddr2.getAdapterID(); }
    STORID_T getArrayID() const { return myAddr2.getArrayID(); }
    STORID_T getLogicalDriveID() const { return myAddr2.getLogicalDriveID(); }
    STORID_T getChannelID() const { return myAddr2.getChannelID(); }
    STORID_T getDeviceID() const { return myAddr2.getDeviceID(); }
    STORID_T getPhysicalDeviceID() const { return myAddr2.getDeviceID(); }
    BLOCK_T getChunkID() const { return myAddr2.getChunkID(); }
    STORID_T getItemID() const { return myAddr2.getItemID(); }
    STORID_T getSafteItemID() const { return myAddr2.getItemID(); }
    STORID_T getSESElementID() const { return myAddr2.getItemID(); }
    STORID_T getPhyID() const { return myAddr2.getSASPhyID(); }
    STORID_T getSASPhyID() const { return myAddr2.getSASPhyID(); }
    unsigned long getChildCount() const { return static_cast<unsigned long>(children.size()); }
    unsigned long getNumChildren() const { return static_cast<unsigned long>(children.size()); }

protected:
    std::vector<RaidObject*> children;
    RaidObject* parent;
    Serializable* pAttachment;
    Addr2 myAddr2;
    XmlAttributeList_C attribList;

private:
    static void notifyAncestors(RaidObject* insertionPoint, RaidObject* node);
    void deleteSubtrees();
    void collect(std::vector<RaidObject*>& out, const char* className, bool recursive,
                 bool noDuplicates) const;
    RaidObject* findDepthFirst(const Addr& a);
    RaidObject* findDepthFirst(const Addr2& a);
    RaidObject* findLogicalDrive(const Addr& a);
};

// Owns a node that no tree holds yet, with the subtree built below it: a
// builder keeps what it makes here until addChild takes it, so that a
// failure on the way deletes it.
struct SubtreeDeleter {
    void operator()(RaidObject* node) const
    {
        node->deleteAllChildren();
        delete node;
    }
};
template <class T>
using OwnedSubtree = std::unique_ptr<T, SubtreeDeleter>;

// The number of live model objects.
extern STOR_EXPORT std::atomic<uint32_t> globalRaidObjectCounter;

#endif
