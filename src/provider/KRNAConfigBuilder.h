#ifndef KRNACONFIGBUILDER_H
#define KRNACONFIGBUILDER_H

// The configuration cache of one controller family. A builder owns the
// family's storage library, reads the family's whole configuration when it
// is built, and afterwards at most once every 180 seconds (or when a caller
// forces it); in between it hands out the System its library made current
// last. The first getConfig after construction always reads again.
//
// KRNAQorlConfigBuilder reads a VeskLib (the model only),
// KRNATarnellConfigBuilder a TarnellLib and KRNAPelmConfigBuilder a PelmLib
// (each with the XML document, which is thrown away). A builder whose library
// could not be created stays not ready for its whole life.

#include <cimple/Datetime.h>
#include <cimple/Mutex.h>

class RefSystem;
class StorLib;

namespace corvanecimple {

class KRNAConfigBuilder {
public:
    // The age at which the cache is stale.
    static const cimple::uint64 CACHE_LIFETIME = 180 * cimple::Datetime::SEC;

    // Deletes the library.
    virtual ~KRNAConfigBuilder();
    KRNAConfigBuilder(const KRNAConfigBuilder&) = delete;
    KRNAConfigBuilder& operator=(const KRNAConfigBuilder&) = delete;

    // Sets ref to the library's current System, reading the configuration
    // first when the cache is stale or force is set. False, ref untouched,
    // when the builder is not ready.
    virtual bool getConfig(RefSystem& ref, bool force);
    // The library; null when it was not created.
    virtual StorLib* getLib();

    // True before the first refresh of getConfig, and from 180 seconds after
    // the last one on (also when the clock went back before it).
    bool isCacheStale();

    // What tells the families' builders apart: their names in the log and
    // the library they read.
    struct Family {
        const char* builderName;      // "KRNAQorlConfigBuilder"
        const char* libraryClass;     // "VeskLib"
        const char* libraryVariable;  // "qorlLib"
        const char* constructorTrace; // "KRNAQorlConfigBuilder()"
        const char* getConfigTrace;   // "KRNAQorlConfigBuilder::getConfig"
        const char* destructorTrace;  // "~KRNAQorlConfigBuilder()"
        const char* freshFormat;      // with the builder name
        const char* deleteFormat;     // with the builder name and deleteSubject
        const char* deleteSubject;
        StorLib* (*createLibrary)();  // null when it cannot be allocated
        bool readsDocument;           // getSystemConfig(char**) with a scratch buffer
    };

protected:
    // Creates the library and reads the configuration once.
    explicit KRNAConfigBuilder(const Family& family);

private:
    void read();

    bool firstUse;
    cimple::Datetime lastRefresh;
    StorLib* lib;
    bool ready;
    cimple::Mutex mutex;
    const Family& family;
};

class KRNAQorlConfigBuilder : public KRNAConfigBuilder {
public:
    KRNAQorlConfigBuilder();
};

class KRNATarnellConfigBuilder : public KRNAConfigBuilder {
public:
    KRNATarnellConfigBuilder();
};

class KRNAPelmConfigBuilder : public KRNAConfigBuilder {
public:
    KRNAPelmConfigBuilder();
};

} // namespace corvanecimple

#endif
