// The configuration caches of the three controller families.
#include "KRNAConfigBuilder.h"

#include <new>

#include "KRNALogger.h"
#include "PelmLib.h"
#include "RaidLib/StorLib.h"
#include "RaidLib/TarnellLib.h"
#include "VeskLib.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

const char* const FRESH_WITHOUT_LINE_END = "(%s) Cache is Fresh";
const char* const FRESH = "(%s) Cache is Fresh\n";
const char* const DELETING = "(%s) Deleting %s\n";

} // namespace

KRNAConfigBuilder::KRNAConfigBuilder(const Family& familyIN)
    : firstUse(true), lib(nullptr), ready(false), family(familyIN)
{
    KRNADebugTrace trace(family.constructorTrace);
    cimple::Auto_Mutex lock(mutex);
    if (!lib) {
        lib = family.createLibrary();
        logger.debug("(%s) Created %s\n", family.builderName, family.libraryClass);
        if (lib) {
            read();
            lastRefresh = cimple::Datetime::now();
            ready = true;
        } else {
            logger.debug("(%s) ERROR: FAILED to create %s\n", family.builderName, family.libraryClass);
        }
    }
}

KRNAConfigBuilder::~KRNAConfigBuilder()
{
    KRNADebugTrace trace(family.destructorTrace);
    cimple::Auto_Mutex lock(mutex);
    if (lib) {
        logger.debug(family.deleteFormat, family.builderName, family.deleteSubject);
        delete lib;
    }
    lib = nullptr;
    ready = false;
}

// The result of a read is not examined: a failed read leaves the library's
// previous current System (or none).
void KRNAConfigBuilder::read()
{
    if (!family.readsDocument) {
        lib->getSystemConfig();
        return;
    }
    // The library releases the scratch array and leaves its own document,
    // which goes back to it through the process's operator delete.
    char* scratch = new (std::nothrow) char[1];
    if (scratch)
        scratch[0] = '\0';
    lib->getSystemConfig(&scratch);
    delete[] scratch;
}

bool KRNAConfigBuilder::isCacheStale()
{
    if (firstUse)
        return true;
    // Unsigned: a clock set back before the last refresh wraps to a huge age.
    const cimple::uint64 age = cimple::Datetime::now().usec() - lastRefresh.usec();
    return age >= CACHE_LIFETIME;
}

bool KRNAConfigBuilder::getConfig(RefSystem& ref, bool force)
{
    KRNADebugTrace trace(family.getConfigTrace);
    cimple::Auto_Mutex lock(mutex);
    if (!ready) {
        logger.debug("(%s) ERROR: getConfig %s is NOT ready\n", family.builderName, family.libraryVariable);
        return false;
    }
    if (isCacheStale() || force) {
        logger.debug("(%s) Cache is Stale - Refreshing\n", family.builderName);
        read();
        lastRefresh = cimple::Datetime::now();
        firstUse = false;
    } else {
        logger.debug(family.freshFormat, family.builderName);
    }
    ref.Set(lib->getSystem());
    return true;
}

StorLib* KRNAConfigBuilder::getLib() { return lib; }

// ---- the three families -------------------------------------------------------

namespace {

StorLib* newVeskLib() { return new VeskLib; }
StorLib* newTarnellLib() { return new TarnellLib; }
StorLib* newPelmLib() { return new PelmLib; }

const KRNAConfigBuilder::Family QORL = {
    "KRNAQorlConfigBuilder", "VeskLib", "qorlLib", "KRNAQorlConfigBuilder()", "KRNAQorlConfigBuilder::getConfig",
    "~KRNAQorlConfigBuilder()", FRESH_WITHOUT_LINE_END, DELETING, "VeskLib", newVeskLib, false};
const KRNAConfigBuilder::Family TARNELL = {
    "KRNATarnellConfigBuilder", "TarnellLib", "tarnellLib", "KRNATarnellConfigBuilder()",
    "KRNATarnellConfigBuilder::getConfig()", "~KRNATarnellConfigBuilder()", FRESH, "(%s) delete %s\n",
    "tarnellLib", newTarnellLib, true};
const KRNAConfigBuilder::Family PELM = {
    "KRNAPelmConfigBuilder", "PelmLib", "pelmLib", "KRNAPelmConfigBuilder()", "KRNAPelmConfigBuilder::getConfig",
    "~KRNAPelmConfigBuilder()", FRESH, DELETING, "PelmLib", newPelmLib, true};

} // namespace

KRNAQorlConfigBuilder::KRNAQorlConfigBuilder() : KRNAConfigBuilder(QORL) {}
KRNATarnellConfigBuilder::KRNATarnellConfigBuilder() : KRNAConfigBuilder(TARNELL) {}
KRNAPelmConfigBuilder::KRNAPelmConfigBuilder() : KRNAConfigBuilder(PELM) {}

} // namespace corvanecimple
