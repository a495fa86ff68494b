// The provider base: the module's shared builders, count and locks, and the
// configuration tree of one request.
#include "KRNAProvider.h"

#include <cstring>
#include <memory>

#include "KRNAConfigBuilder.h"
#include "KRNALogger.h"
#include "RaidLib/StorLib.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/RaidObject.h"
#include "RaidModel/Interface/System.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

// The root of one request's configuration tree. It lists the family Systems
// as its children without becoming their parent: a System stays the root of
// its own family's tree, so that lookups that climb to the root (a chunk
// finding its drive by address) never cross into another family, where
// adapter ids repeat, and no parent link outlives the root.
class ConfigRoot : public RaidObject {
public:
    ~ConfigRoot() override { children.clear(); }

    void addChild(RaidObject* child) override
    {
        if (child)
            children.push_back(child);
    }
    void addChild(RaidObject* child, unsigned long) override { addChild(child); }
};

void deleteBuilder(KRNAConfigBuilder*& builder, const char* name)
{
    if (!builder)
        return;
    logger.debug("(KRNAProvider) Deleting %s\n", name);
    delete builder;
    builder = nullptr;
}

// Attaches the builder's current System, refreshed when needed.
void attachFamily(RaidObject* root, KRNAConfigBuilder* builder, bool force)
{
    if (!builder)
        return;
    RefSystem ref;
    builder->getConfig(ref, force);
    root->addChild(ref.getSystem());
}

} // namespace

int KRNAProvider::providerCount = 0;
KRNAConfigBuilder* KRNAProvider::qorlConfigBuilder = nullptr;
KRNAConfigBuilder* KRNAProvider::tarnellConfigBuilder = nullptr;
KRNAConfigBuilder* KRNAProvider::pelmConfigBuilder = nullptr;
cimple::Mutex KRNAProvider::configLock;
cimple::Mutex KRNAProvider::globalLock;

int KRNAProvider::load()
{
    KRNADebugTrace trace("KRNAProvider::load()");
    cimple::Auto_Mutex lock(configLock);
    if (qorlConfigBuilder && tarnellConfigBuilder && pelmConfigBuilder) {
        logger.debug("(KRNAProvider) load() - Config builders are already initialized\n");
    } else {
        // A builder that cannot be made for want of memory fails the load,
        // which counts only once all three are there; those made stay for
        // the next load.
        logger.debug("(KRNAProvider) load() Loading Config builders.\n");
        if (!qorlConfigBuilder)
            qorlConfigBuilder = new KRNAQorlConfigBuilder;
        if (!tarnellConfigBuilder)
            tarnellConfigBuilder = new KRNATarnellConfigBuilder;
        if (!pelmConfigBuilder)
            pelmConfigBuilder = new KRNAPelmConfigBuilder;
    }
    providerCount++;
    return 0;
}

int KRNAProvider::unload()
{
    KRNADebugTrace trace("KRNAProvider::unload()");
    // Another provider, counted or not, may be walking a tree of the
    // builders' Systems: wait for its walk before deleting them.
    cimple::Auto_Mutex global(globalLock);
    cimple::Auto_Mutex lock(configLock);
    const int oldCount = providerCount--;
    if (!qorlConfigBuilder && !tarnellConfigBuilder && !pelmConfigBuilder) {
        logger.debug("(KRNAProvider) unload() - Config builders already deleted\n");
    } else if (oldCount == 1) {
        deleteBuilder(qorlConfigBuilder, "qorlConfigBuilder");
        deleteBuilder(tarnellConfigBuilder, "tarnellConfigBuilder");
        deleteBuilder(pelmConfigBuilder, "pelmConfigBuilder");
    }
    return 0;
}

bool KRNAProvider::getConfig(RaidObject*& root, long familyMask, bool force)
{
    KRNADebugTrace trace("KRNAProvider::getConfig()");
    cimple::Auto_Mutex lock(configLock);
    std::unique_ptr<RaidObject> tree(new ConfigRoot);
    if (familyMask & QORL_FAMILY)
        attachFamily(tree.get(), qorlConfigBuilder, force);
    if (familyMask & TARNELL_FAMILY)
        attachFamily(tree.get(), tarnellConfigBuilder, force);
    if (familyMask & PELM_FAMILY)
        attachFamily(tree.get(), pelmConfigBuilder, force);
    root = tree.release();
    return true;
}

StorLib* KRNAProvider::getLib(Adapter* adapter)
{
    cimple::Auto_Mutex lock(configLock);
    if (!adapter)
        return nullptr;
    static const struct {
        const char* type;
        KRNAConfigBuilder* const* builder;
    } families[] = {{"PelmAdapter", &pelmConfigBuilder},
                    {"VeskAdapter", &qorlConfigBuilder},
                    {"TarnellAdapter", &tarnellConfigBuilder}};
    const char* type = adapter->typeName();
    for (const auto& f : families) {
        if (type && strcmp(type, f.type) == 0) {
            logger.debug("(KRNAProvider) getLib() - library of a %s\n", f.type);
            return *f.builder ? (*f.builder)->getLib() : nullptr;
        }
    }
    return nullptr;
}

} // namespace corvanecimple
