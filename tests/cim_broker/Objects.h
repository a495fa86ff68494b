// Internal: the broker's encapsulated CMPI objects and where they live.
//
// Every object belongs to the arena of the call that made it: the arena of a
// request (an MI call the broker makes) or of an attached thread, freed when
// the request returns or the thread detaches. Clones belong to whoever asked
// for them until released. An object made where no arena is current is kept
// until the broker ends, and the broker notes the misuse.
#ifndef CIM_BROKER_OBJECTS_H
#define CIM_BROKER_OBJECTS_H

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "Broker.h"

namespace cimbroker {

struct Arena;

// The classes of the loaded modules, as a CIM server's repository holds
// them: a feature's type has CMPI_ARRAY for an array, CMPI_string for text,
// CMPI_ref for a reference.
struct FeatureDef {
    std::string name;
    CMPIType type = CMPI_null;
    bool key = false;
    bool out = false;
};

struct MethodDef {
    std::string name;
    CMPIType type = CMPI_null;
    std::vector<FeatureDef> params;
};

struct ClassDef {
    std::string name;
    std::vector<FeatureDef> props;
    std::vector<MethodDef> methods;
};

std::string lower(std::string s);

// Finds a feature or method by name without regard to case; null when absent.
const FeatureDef* findFeature(const std::vector<FeatureDef>& features, const char* name);
const MethodDef* findMethod(const ClassDef& c, const char* name);

// Adds the classes a module was built with, from its cimple_module record,
// to `classes` (by lower-case name); none for a module without one.
void readClassTable(void* module, std::map<std::string, ClassDef>& classes);

const CMPIStatus OK = {CMPI_RC_OK, nullptr};

inline CMPIStatus status(CMPIrc rc) { return CMPIStatus{rc, nullptr}; }

// Sets a status out-parameter, which callers may leave null.
inline void setRc(CMPIStatus* st, CMPIrc rc)
{
    if (st) {
        st->rc = rc;
        st->msg = nullptr;
    }
}

struct Obj {
    virtual ~Obj() {}
    Broker* broker = nullptr;
    Arena* arena = nullptr;
    // Passed into an MI call: the broker's, not the provider's to release.
    bool brokerOwned = false;
    virtual const char* typeName() const = 0;
};

template <class Enc, class FT>
struct EncObj : Obj {
    Enc enc;
    explicit EncObj(const FT* ft)
    {
        enc.hdl = static_cast<Obj*>(this);
        enc.ft = ft;
    }
};

extern const CMPIStringFT stringFT;
extern const CMPIArrayFT arrayFT;
extern const CMPIDateTimeFT dateTimeFT;
extern const CMPIObjectPathFT pathFT;
extern const CMPIInstanceFT instanceFT;
extern const CMPIArgsFT argsFT;
extern const CMPIEnumerationFT enumerationFT;
extern const CMPIContextFT contextFT;
extern const CMPIResultFT resultFT;
extern const CMPISelectExpFT selectExpFT;

struct StringObj : EncObj<CMPIString, CMPIStringFT> {
    std::string s;
    StringObj() : EncObj(&stringFT) {}
    const char* typeName() const override { return "CMPIString"; }
};

struct ArrayObj : EncObj<CMPIArray, CMPIArrayFT> {
    // As made: CMPI_chars for an array that takes char pointers. Its items
    // hold text as CMPI_string.
    CMPIType elementType = CMPI_null;
    std::vector<Value> items;
    ArrayObj() : EncObj(&arrayFT) {}
    const char* typeName() const override { return "CMPIArray"; }
};

struct DateTimeObj : EncObj<CMPIDateTime, CMPIDateTimeFT> {
    std::string text;
    DateTimeObj() : EncObj(&dateTimeFT) {}
    const char* typeName() const override { return "CMPIDateTime"; }
};

struct PathObj : EncObj<CMPIObjectPath, CMPIObjectPathFT> {
    Path path;
    std::string host;
    PathObj() : EncObj(&pathFT) {}
    const char* typeName() const override { return "CMPIObjectPath"; }
};

struct InstObj : EncObj<CMPIInstance, CMPIInstanceFT> {
    Inst inst;
    // The properties of the class `propertiesClass` names (null: a class the
    // broker does not know), kept while the path names that class: a
    // provider sets the properties one by one.
    std::string propertiesClass;
    const std::vector<FeatureDef>* properties = nullptr;
    InstObj() : EncObj(&instanceFT) {}
    const char* typeName() const override { return "CMPIInstance"; }
};

struct ArgsObj : EncObj<CMPIArgs, CMPIArgsFT> {
    Named args;
    // The output arguments of this method (when the broker knows its class).
    const MethodDef* method = nullptr;
    ArgsObj() : EncObj(&argsFT) {}
    const char* typeName() const override { return "CMPIArgs"; }
};

struct EnumObj : EncObj<CMPIEnumeration, CMPIEnumerationFT> {
    std::vector<Value> items;
    size_t pos = 0;
    // Added to the state of each item handed out.
    CMPIValueState itemState = CMPI_goodValue;
    EnumObj() : EncObj(&enumerationFT) {}
    const char* typeName() const override { return "CMPIEnumeration"; }
};

struct ContextObj : EncObj<CMPIContext, CMPIContextFT> {
    Named entries;
    ContextObj() : EncObj(&contextFT) {}
    const char* typeName() const override { return "CMPIContext"; }
};

struct ResultObj : EncObj<CMPIResult, CMPIResultFT> {
    std::vector<Inst> instances;
    std::vector<Path> paths;
    std::vector<Value> data;
    bool done = false;
    // The return value of this method (when the broker knows its class).
    const MethodDef* method = nullptr;
    ResultObj() : EncObj(&resultFT) {}
    const char* typeName() const override { return "CMPIResult"; }
};

struct SelectExpObj : EncObj<CMPISelectExp, CMPISelectExpFT> {
    std::string query;
    SelectExpObj() : EncObj(&selectExpFT) {}
    const char* typeName() const override { return "CMPISelectExp"; }
};

struct Arena {
    Arena* prev = nullptr;
    const CMPIContext* ctx = nullptr;
    bool attached = false;
    std::mutex m;
    std::vector<Obj*> objs;
    ~Arena();
};

// The innermost arena of this thread, or null.
Arena* currentArena();
void pushArena(Arena* a);
void popArena(Arena* a);

// Puts a new object where it belongs (see above).
void place(Broker* b, Obj* o);
template <class T>
T* make(Broker* b)
{
    T* o = new T();
    place(b, o);
    return o;
}
// Frees an object, taking it out of its arena.
void destroyObj(Obj* o);

// The object behind an encapsulated pointer, when it is one of ours of type T.
template <class T, class Enc>
T* objOf(const Enc* enc)
{
    if (!enc || !enc->hdl)
        return nullptr;
    return dynamic_cast<T*>(static_cast<Obj*>(enc->hdl));
}

// Values to and from CMPI; objects made for a value go into the current arena.
// Text comes back as CMPI_string; CMPI_chars is read as the char pointer
// itself, which is what the CMPIValue pointer holds for it.
CMPIData toData(Broker* b, const Value& v);
Value fromValue(const CMPIValue* v, CMPIType type);
// A value a provider hands in, as the broker keeps it; false (`out` left as
// it was) when it is of another type than the class table gives the feature
// `f` (when known), or an array whose elements are not of its given type.
bool takeValue(const CMPIValue* v, CMPIType type, const FeatureDef* f, Value& out);

// A request: an arena with a fresh context, current on this thread until the
// scope ends.
class RequestScope {
public:
    explicit RequestScope(Broker* b);
    ~RequestScope();
    RequestScope(const RequestScope&) = delete;
    RequestScope& operator=(const RequestScope&) = delete;
    const CMPIContext* ctx() const { return _arena.ctx; }

private:
    Arena _arena;
};

// The CIM datetime text of microseconds since the epoch (UTC) or of an interval.
std::string datetimeText(unsigned long long usec, bool interval);
// True when the text has the form of a CIM datetime.
bool validDatetime(const std::string& text);

// What a broker keeps besides its CMPI record.
struct Broker::Internals {
    struct Fixture {
        std::vector<Inst> instances;
        CMPIrc rc = CMPI_RC_OK;
    };

    std::mutex modulesMutex;
    std::vector<void*> modules;
    // Factory calls and cleanups, one at a time.
    std::recursive_mutex loadMutex;
    std::mutex misMutex;
    std::map<std::pair<std::string, int>, void*> mis;
    std::vector<std::pair<std::string, int>> order;
    std::mutex deliveriesMutex;
    std::condition_variable deliveriesCv;
    std::vector<Delivery> deliveries;
    std::mutex fixtureMutex;
    std::map<std::pair<std::string, std::string>, Fixture> fixture;
    size_t upcalls = 0;
    std::mutex violationsMutex;
    std::vector<std::string> violations;
    std::atomic<int> resultRefusal{CMPI_RC_OK};
    // Never shrinks: a class found stays where it is.
    mutable std::mutex classesMutex;
    std::map<std::string, ClassDef> classes;
    // Objects made outside any arena, and contexts prepared for threads that
    // have not detached yet: freed when the broker ends.
    std::mutex orphansMutex;
    std::vector<Obj*> orphans;
    std::set<Obj*> prepared;

    void keepOrphan(Obj* o)
    {
        std::lock_guard<std::mutex> g(orphansMutex);
        orphans.push_back(o);
    }
    // The class of that name, or null; `known` tells whether any module
    // brought a class table (without one nothing is checked).
    const ClassDef* findClass(const std::string& name, bool* known = nullptr) const;
    ~Internals();
};

extern const CMPIBrokerFT brokerFT;
extern const CMPIBrokerEncFT brokerEncFT;
extern const CMPIBrokerExtFT brokerExtFT;
extern const CMPIBrokerMemFT brokerMemFT;

} // namespace cimbroker

#endif
