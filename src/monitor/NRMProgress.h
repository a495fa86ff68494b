#ifndef NRMPROGRESS_H
#define NRMPROGRESS_H

// The task list that a monitor stores with its snapshot: one "Progress"
// record per task in a "ProgressCollection", the last child of the snapshot
// root.

#include <cstdint>
#include <string>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/RaidObject.h"

class SimpleXmlParser;

class STOR_EXPORT NRMProgress : public RaidObject {
public:
    static constexpr uint32_t UNSET = 0x7FFFFFFF;

    // Task id, type, state and percentage unset, no address id set, no
    // adapter serial, unique id 0.
    NRMProgress();
    // These copy every task field; the tree links stay.
    NRMProgress(const NRMProgress& right);
    NRMProgress& operator=(const NRMProgress& right);
    void build(NRMProgress* other);
    ~NRMProgress() override;

    // True for "Progress" only.
    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    // "taskID", "taskType", "taskState", "percentageComplete", the set ids of
    // the address, "adapterSerial", "LDUniqueID".
    void writeTo(Writer* writer) const override;
    // Reads the "Progress" element the parser stands on.
    void build(SimpleXmlParser& parser);

    uint32_t taskID;
    uint32_t taskType;
    uint32_t taskState;
    uint32_t percentageComplete;
    Addr address;
    std::string adapterSerial;
    uint32_t LDUniqueID;
    XmlAttributeList_C xmlAttributes;
};

// The task records as children; deleting the collection deletes them.
class STOR_EXPORT NRMProgressCollection : public RaidObject {
public:
    NRMProgressCollection();
    // These append a copy of every "Progress" child of the source; the
    // children held before stay.
    NRMProgressCollection(const NRMProgressCollection& right);
    NRMProgressCollection& operator=(const NRMProgressCollection& right);
    void build(NRMProgressCollection* other);
    ~NRMProgressCollection() override;

    // True for "ProgressCollection" only.
    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    // No attributes.
    void writeTo(Writer* writer) const override;
    // Reads the "ProgressCollection" element the parser stands on, with its
    // "Progress" elements at any depth.
    void build(SimpleXmlParser& parser);

    XmlAttributeList_C xmlAttributes;

private:
    void append(const NRMProgressCollection& source);
};

#endif
