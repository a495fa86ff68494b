#ifndef NRMSYSTEM_H
#define NRMSYSTEM_H

// The root of a configuration snapshot: a System that is never refreshed
// from a storage library. Its children are the NRMAdapter snapshots of the
// controllers and, last, the task list (NRMProgressCollection).

#include <cstdint>

#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidModel/Interface/System.h"

class STOR_EXPORT NRMSystem : public System {
public:
    // An empty root; the configuration builder passes library type 0.
    explicit NRMSystem(EnumStorLibType type);
    ~NRMSystem() override;
    NRMSystem(const NRMSystem&) = delete;
    NRMSystem& operator=(const NRMSystem&) = delete;

    bool isInstanceOf(const char* className) const override;
    // "System" carries no attributes.
    void writeTo(Writer* writer) const override;
    // A snapshot is not read from a storage library: nothing happens.
    using System::buildChildren;
    void buildChildren(StorLib* lib, Ret& ret) override;
    // Always 0.
    uint32_t getControllerCount(StorLib* lib, Ret& ret) override;

    // One NRMAdapter for every controller among the direct children of the
    // live system, in child order; null adds nothing.
    void build(System* live);
    // Reads a whole snapshot document from the parser's first event on:
    // "Controller" and "ProgressCollection" elements at any depth become
    // children, up to the end of the "System" element. True when that end
    // was met; false when the text ran out first (a document cut short).
    // Parser and attribute-list failures pass through; the children read so
    // far stay.
    bool build(SimpleXmlParser& parser);

    // The attributes of the "System" element as read.
    XmlAttributeList_C xmlAttributes;
};

#endif
