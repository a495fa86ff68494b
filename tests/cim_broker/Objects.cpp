// The broker's encapsulated CMPI objects, its object-making table and its
// operating-system services.
#include "Objects.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <strings.h>
#include <time.h>

namespace cimbroker {

namespace {

thread_local Arena* t_arena = nullptr;

CMPIData nullData(CMPIType type = CMPI_null, CMPIValueState extra = 0)
{
    CMPIData d;
    d.type = type;
    d.state = static_cast<CMPIValueState>(CMPI_nullValue | extra);
    d.value.uint64 = 0;
    return d;
}

// A named value: found without regard to case; `index` for the position.
// Names of another length are passed over without comparing them.
Value* findNamed(Named& values, const char* name)
{
    if (!name)
        return nullptr;
    const size_t length = strlen(name);
    for (auto& v : values)
        if (v.first.size() == length && strcasecmp(v.first.c_str(), name) == 0)
            return &v.second;
    return nullptr;
}

void setNamed(Named& values, const char* name, Value v)
{
    if (Value* old = findNamed(values, name))
        *old = std::move(v);
    else
        values.emplace_back(name, std::move(v));
}

StringObj* newStringObj(Broker* b, const std::string& s)
{
    StringObj* o = make<StringObj>(b);
    o->s = s;
    return o;
}

CMPIString* newString(Broker* b, const std::string& s) { return &newStringObj(b, s)->enc; }

template <class T, class Enc>
CMPIStatus releaseObj(Enc* enc)
{
    T* o = objOf<T>(enc);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    if (o->brokerOwned) {
        o->broker->noteViolation(std::string("a provider released the broker's ") + o->typeName());
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    }
    destroyObj(o);
    return OK;
}

// A clone belongs to the caller, in no arena.
template <class T, class Enc>
Enc* cloneObj(const Enc* enc, CMPIStatus* st)
{
    T* o = objOf<T>(enc);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    T* c = new T(*o);
    c->enc.hdl = static_cast<Obj*>(c);
    c->arena = nullptr;
    c->brokerOwned = false;
    setRc(st, CMPI_RC_OK);
    return &c->enc;
}

CMPIData namedAt(Broker* b, const Named& values, CMPICount i, CMPIString** name, CMPIStatus* st)
{
    if (i >= values.size()) {
        setRc(st, CMPI_RC_ERR_NO_SUCH_PROPERTY);
        return nullData(CMPI_null, CMPI_notFound);
    }
    if (name)
        *name = newString(b, values[i].first);
    setRc(st, CMPI_RC_OK);
    return toData(b, values[i].second);
}

CMPIData namedGet(Broker* b, Named& values, const char* name, CMPIStatus* st)
{
    const Value* v = findNamed(values, name);
    if (!v) {
        setRc(st, CMPI_RC_ERR_NO_SUCH_PROPERTY);
        return nullData(CMPI_null, CMPI_notFound);
    }
    setRc(st, CMPI_RC_OK);
    return toData(b, *v);
}

// ---- string ----

char* stringGetCharPtr(const CMPIString* s, CMPIStatus* st)
{
    StringObj* o = objOf<StringObj>(s);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? const_cast<char*>(o->s.c_str()) : nullptr;
}

// ---- array ----

CMPICount arrayGetSize(const CMPIArray* a, CMPIStatus* st)
{
    ArrayObj* o = objOf<ArrayObj>(a);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? static_cast<CMPICount>(o->items.size()) : 0;
}

// Text types as the broker holds and hands them back.
CMPIType held(CMPIType t)
{
    return (t & ~CMPI_ARRAY) == CMPI_chars ? static_cast<CMPIType>((t & CMPI_ARRAY) | CMPI_string) : t;
}

CMPIType arrayGetSimpleType(const CMPIArray* a, CMPIStatus* st)
{
    ArrayObj* o = objOf<ArrayObj>(a);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? held(o->elementType) : CMPI_null;
}

CMPIData arrayGetElementAt(const CMPIArray* a, CMPICount i, CMPIStatus* st)
{
    ArrayObj* o = objOf<ArrayObj>(a);
    if (!o || i >= o->items.size()) {
        setRc(st, o ? CMPI_RC_ERR_NO_SUCH_PROPERTY : CMPI_RC_ERR_INVALID_HANDLE);
        return nullData(CMPI_null, CMPI_notFound);
    }
    setRc(st, CMPI_RC_OK);
    return toData(o->broker, o->items[i]);
}

CMPIStatus arraySetElementAt(CMPIArray* a, CMPICount i, const CMPIValue* v, CMPIType t)
{
    ArrayObj* o = objOf<ArrayObj>(a);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    if (i >= o->items.size())
        return status(CMPI_RC_ERR_NO_SUCH_PROPERTY);
    // Elements have the type the array was made with, as a strict server
    // wants: no char pointer into a CMPI_string array.
    if (t != o->elementType || !takeValue(v, t, nullptr, o->items[i]))
        return status(CMPI_RC_ERR_TYPE_MISMATCH);
    return OK;
}

// ---- datetime ----

bool parseDatetime(const std::string& t, unsigned long long& usec, bool& interval)
{
    if (!validDatetime(t))
        return false;
    auto num = [&](size_t pos, size_t n) { return std::stoull(t.substr(pos, n)); };
    interval = t[21] == ':';
    unsigned long long micro = num(15, 6);
    if (interval) {
        usec = (((num(0, 8) * 24 + num(8, 2)) * 60 + num(10, 2)) * 60 + num(12, 2)) * 1000000ULL + micro;
        return true;
    }
    struct tm tm = {};
    tm.tm_year = static_cast<int>(num(0, 4)) - 1900;
    tm.tm_mon = static_cast<int>(num(4, 2)) - 1;
    tm.tm_mday = static_cast<int>(num(6, 2));
    tm.tm_hour = static_cast<int>(num(8, 2));
    tm.tm_min = static_cast<int>(num(10, 2));
    tm.tm_sec = static_cast<int>(num(12, 2));
    long long secs = static_cast<long long>(timegm(&tm));
    long long offset = static_cast<long long>(num(22, 3)) * 60 * (t[21] == '-' ? -1 : 1);
    secs -= offset;
    usec = secs < 0 ? 0 : static_cast<unsigned long long>(secs) * 1000000ULL + micro;
    return true;
}

CMPIUint64 dtGetBinaryFormat(const CMPIDateTime* d, CMPIStatus* st)
{
    DateTimeObj* o = objOf<DateTimeObj>(d);
    unsigned long long usec = 0;
    bool interval;
    if (!o || !parseDatetime(o->text, usec, interval)) {
        setRc(st, o ? CMPI_RC_ERR_INVALID_PARAMETER : CMPI_RC_ERR_INVALID_HANDLE);
        return 0;
    }
    setRc(st, CMPI_RC_OK);
    return usec;
}

CMPIString* dtGetStringFormat(const CMPIDateTime* d, CMPIStatus* st)
{
    DateTimeObj* o = objOf<DateTimeObj>(d);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? newString(o->broker, o->text) : nullptr;
}

CMPIBoolean dtIsInterval(const CMPIDateTime* d, CMPIStatus* st)
{
    DateTimeObj* o = objOf<DateTimeObj>(d);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o && o->text.size() == 25 && o->text[21] == ':';
}

// ---- object path ----

CMPIStatus pathSetNameSpace(CMPIObjectPath* op, const char* ns)
{
    PathObj* o = objOf<PathObj>(op);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    o->path.ns = ns ? ns : "";
    return OK;
}

CMPIString* pathGetNameSpace(const CMPIObjectPath* op, CMPIStatus* st)
{
    PathObj* o = objOf<PathObj>(op);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? newString(o->broker, o->path.ns) : nullptr;
}

CMPIStatus pathSetHostname(CMPIObjectPath* op, const char* host)
{
    PathObj* o = objOf<PathObj>(op);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    o->host = host ? host : "";
    return OK;
}

CMPIString* pathGetHostname(const CMPIObjectPath* op, CMPIStatus* st)
{
    PathObj* o = objOf<PathObj>(op);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? newString(o->broker, o->host) : nullptr;
}

CMPIStatus pathSetClassName(CMPIObjectPath* op, const char* cls)
{
    PathObj* o = objOf<PathObj>(op);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    o->path.cls = cls ? cls : "";
    return OK;
}

CMPIString* pathGetClassName(const CMPIObjectPath* op, CMPIStatus* st)
{
    PathObj* o = objOf<PathObj>(op);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? newString(o->broker, o->path.cls) : nullptr;
}

// Sets a named value a provider hands in, checked against the feature of
// that name among `features` (null: a class the broker does not know, or an
// object of no class): refused when there is no such feature (or `wantKey`
// and it is not a key) or the value is of another type.
CMPIStatus setChecked(Named& values, const char* name, const CMPIValue* v, CMPIType t,
                      const std::vector<FeatureDef>* features, bool wantKey = false)
{
    if (!name)
        return status(CMPI_RC_ERR_INVALID_PARAMETER);
    const FeatureDef* f = features ? findFeature(*features, name) : nullptr;
    if (features && (!f || (wantKey && !f->key)))
        return status(CMPI_RC_ERR_NO_SUCH_PROPERTY);
    Value value;
    if (!takeValue(v, t, f, value))
        return status(CMPI_RC_ERR_TYPE_MISMATCH);
    setNamed(values, name, std::move(value));
    return OK;
}

const std::vector<FeatureDef>* propertiesOf(Broker* b, const std::string& cls)
{
    const ClassDef* c = b->internals().findClass(cls);
    return c ? &c->props : nullptr;
}

CMPIStatus pathAddKey(CMPIObjectPath* op, const char* name, const CMPIValue* v, CMPIType t)
{
    PathObj* o = objOf<PathObj>(op);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    return setChecked(o->path.keys, name, v, t, propertiesOf(o->broker, o->path.cls), true);
}

CMPIData pathGetKey(const CMPIObjectPath* op, const char* name, CMPIStatus* st)
{
    PathObj* o = objOf<PathObj>(op);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullData();
    }
    CMPIData d = namedGet(o->broker, o->path.keys, name, st);
    if (!(d.state & CMPI_notFound))
        d.state = static_cast<CMPIValueState>(d.state | CMPI_keyValue);
    return d;
}

CMPIData pathGetKeyAt(const CMPIObjectPath* op, CMPICount i, CMPIString** name, CMPIStatus* st)
{
    PathObj* o = objOf<PathObj>(op);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullData();
    }
    return namedAt(o->broker, o->path.keys, i, name, st);
}

CMPICount pathGetKeyCount(const CMPIObjectPath* op, CMPIStatus* st)
{
    PathObj* o = objOf<PathObj>(op);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? static_cast<CMPICount>(o->path.keys.size()) : 0;
}

CMPIStatus pathSetNameSpaceFrom(CMPIObjectPath* op, const CMPIObjectPath* src)
{
    PathObj* o = objOf<PathObj>(op);
    PathObj* s = objOf<PathObj>(src);
    if (!o || !s)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    o->path.ns = s->path.ns;
    return OK;
}

CMPIStatus pathSetHostAndNameSpaceFrom(CMPIObjectPath* op, const CMPIObjectPath* src)
{
    PathObj* o = objOf<PathObj>(op);
    PathObj* s = objOf<PathObj>(src);
    if (!o || !s)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    o->path.ns = s->path.ns;
    o->host = s->host;
    return OK;
}

CMPIData pathGetPropertyQualifier(const CMPIObjectPath*, const char*, const char*, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullData();
}

CMPIString* pathToString(const CMPIObjectPath* op, CMPIStatus* st)
{
    PathObj* o = objOf<PathObj>(op);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? newString(o->broker, o->path.text()) : nullptr;
}

// ---- instance ----

CMPIData instGetProperty(const CMPIInstance* ci, const char* name, CMPIStatus* st)
{
    InstObj* o = objOf<InstObj>(ci);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullData();
    }
    return namedGet(o->broker, o->inst.props, name, st);
}

CMPIData instGetPropertyAt(const CMPIInstance* ci, CMPICount i, CMPIString** name, CMPIStatus* st)
{
    InstObj* o = objOf<InstObj>(ci);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullData();
    }
    return namedAt(o->broker, o->inst.props, i, name, st);
}

CMPICount instGetPropertyCount(const CMPIInstance* ci, CMPIStatus* st)
{
    InstObj* o = objOf<InstObj>(ci);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? static_cast<CMPICount>(o->inst.props.size()) : 0;
}

CMPIStatus instSetProperty(const CMPIInstance* ci, const char* name, const CMPIValue* v, CMPIType t)
{
    InstObj* o = objOf<InstObj>(ci);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    if (!o->properties || o->propertiesClass != o->inst.path.cls) {
        o->properties = propertiesOf(o->broker, o->inst.path.cls);
        o->propertiesClass = o->inst.path.cls;
    }
    return setChecked(o->inst.props, name, v, t, o->properties);
}

CMPIObjectPath* instGetObjectPath(const CMPIInstance* ci, CMPIStatus* st)
{
    InstObj* o = objOf<InstObj>(ci);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    PathObj* p = make<PathObj>(o->broker);
    p->path = o->inst.path;
    setRc(st, CMPI_RC_OK);
    return &p->enc;
}

CMPIStatus instSetPropertyFilter(CMPIInstance*, const char**, const char**) { return status(CMPI_RC_ERR_NOT_SUPPORTED); }

CMPIStatus instSetObjectPath(CMPIInstance* ci, const CMPIObjectPath* op)
{
    InstObj* o = objOf<InstObj>(ci);
    PathObj* p = objOf<PathObj>(op);
    if (!o || !p)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    o->inst.path = p->path;
    return OK;
}

CMPIStatus instSetPropertyWithOrigin(const CMPIInstance* ci, const char* name, const CMPIValue* v, CMPIType t,
                                     const char*)
{
    return instSetProperty(ci, name, v, t);
}

// ---- args ----

CMPIStatus argsAddArg(const CMPIArgs* as, const char* name, const CMPIValue* v, CMPIType t)
{
    ArgsObj* o = objOf<ArgsObj>(as);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    // Output arguments of a method the broker knows: its output parameters.
    if (o->method && name) {
        const FeatureDef* p = findFeature(o->method->params, name);
        if (!p || !p->out)
            return status(CMPI_RC_ERR_NO_SUCH_PROPERTY);
    }
    return setChecked(o->args, name, v, t, o->method ? &o->method->params : nullptr);
}

CMPIData argsGetArg(const CMPIArgs* as, const char* name, CMPIStatus* st)
{
    ArgsObj* o = objOf<ArgsObj>(as);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullData();
    }
    return namedGet(o->broker, o->args, name, st);
}

CMPIData argsGetArgAt(const CMPIArgs* as, CMPICount i, CMPIString** name, CMPIStatus* st)
{
    ArgsObj* o = objOf<ArgsObj>(as);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullData();
    }
    return namedAt(o->broker, o->args, i, name, st);
}

CMPICount argsGetArgCount(const CMPIArgs* as, CMPIStatus* st)
{
    ArgsObj* o = objOf<ArgsObj>(as);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? static_cast<CMPICount>(o->args.size()) : 0;
}

// ---- enumeration ----

CMPIData enumGetNext(const CMPIEnumeration* en, CMPIStatus* st)
{
    EnumObj* o = objOf<EnumObj>(en);
    if (!o || o->pos >= o->items.size()) {
        setRc(st, o ? CMPI_RC_ERR_NO_SUCH_PROPERTY : CMPI_RC_ERR_INVALID_HANDLE);
        return nullData();
    }
    setRc(st, CMPI_RC_OK);
    CMPIData d = toData(o->broker, o->items[o->pos++]);
    d.state = static_cast<CMPIValueState>(d.state | o->itemState);
    return d;
}

CMPIBoolean enumHasNext(const CMPIEnumeration* en, CMPIStatus* st)
{
    EnumObj* o = objOf<EnumObj>(en);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o && o->pos < o->items.size();
}

CMPIArray* enumToArray(const CMPIEnumeration* en, CMPIStatus* st)
{
    EnumObj* o = objOf<EnumObj>(en);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    ArrayObj* a = make<ArrayObj>(o->broker);
    a->elementType = o->items.empty() ? CMPI_instance : o->items[0].type;
    a->items = o->items;
    setRc(st, CMPI_RC_OK);
    return &a->enc;
}

// ---- context ----

CMPIData ctxGetEntry(const CMPIContext* ctx, const char* name, CMPIStatus* st)
{
    ContextObj* o = objOf<ContextObj>(ctx);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullData();
    }
    return namedGet(o->broker, o->entries, name, st);
}

CMPIData ctxGetEntryAt(const CMPIContext* ctx, CMPICount i, CMPIString** name, CMPIStatus* st)
{
    ContextObj* o = objOf<ContextObj>(ctx);
    if (!o) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullData();
    }
    return namedAt(o->broker, o->entries, i, name, st);
}

CMPICount ctxGetEntryCount(const CMPIContext* ctx, CMPIStatus* st)
{
    ContextObj* o = objOf<ContextObj>(ctx);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? static_cast<CMPICount>(o->entries.size()) : 0;
}

CMPIStatus ctxAddEntry(const CMPIContext* ctx, const char* name, const CMPIValue* v, CMPIType t)
{
    ContextObj* o = objOf<ContextObj>(ctx);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    if (!name)
        return status(CMPI_RC_ERR_INVALID_PARAMETER);
    setNamed(o->entries, name, fromValue(v, t));
    return OK;
}

// ---- result ----

CMPIResult* resultClone(const CMPIResult*, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}

ResultObj* openResult(const CMPIResult* r)
{
    ResultObj* o = objOf<ResultObj>(r);
    if (o && o->done)
        o->broker->noteViolation("a result was returned after returnDone");
    return o;
}

CMPIStatus resultReturnData(const CMPIResult* r, const CMPIValue* v, CMPIType t)
{
    ResultObj* o = openResult(r);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    FeatureDef ret;
    if (o->method)
        ret.type = o->method->type;
    Value value;
    if (!takeValue(v, t, o->method ? &ret : nullptr, value))
        return status(CMPI_RC_ERR_TYPE_MISMATCH);
    o->data.push_back(std::move(value));
    return OK;
}

CMPIrc refusal(const ResultObj* o) { return static_cast<CMPIrc>(o->broker->internals().resultRefusal.load()); }

CMPIStatus resultReturnInstance(const CMPIResult* r, const CMPIInstance* ci)
{
    ResultObj* o = openResult(r);
    InstObj* i = objOf<InstObj>(ci);
    if (!o || !i)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    if (refusal(o) != CMPI_RC_OK)
        return status(refusal(o));
    o->instances.push_back(i->inst);
    return OK;
}

CMPIStatus resultReturnObjectPath(const CMPIResult* r, const CMPIObjectPath* op)
{
    ResultObj* o = openResult(r);
    PathObj* p = objOf<PathObj>(op);
    if (!o || !p)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    if (refusal(o) != CMPI_RC_OK)
        return status(refusal(o));
    o->paths.push_back(p->path);
    return OK;
}

CMPIStatus resultReturnDone(const CMPIResult* r)
{
    ResultObj* o = objOf<ResultObj>(r);
    if (!o)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    o->done = true;
    return OK;
}

// ---- select expression (indication filters) ----

CMPIString* seGetString(const CMPISelectExp* se, CMPIStatus* st)
{
    SelectExpObj* o = objOf<SelectExpObj>(se);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? newString(o->broker, o->query) : nullptr;
}

CMPIBoolean seEvaluate(const CMPISelectExp*, const CMPIInstance*, CMPIStatus* st)
{
    setRc(st, CMPI_RC_OK);
    return 1;
}

CMPISelectCond* seGetCond(const CMPISelectExp*, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}

CMPIBoolean seEvaluateUsingAccessor(const CMPISelectExp*, CMPIAccessor*, void*, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return 0;
}

// ---- object making (the broker's Enc table) ----

CMPIInstance* encNewInstance(const CMPIBroker* mb, const CMPIObjectPath* op, CMPIStatus* st)
{
    PathObj* p = objOf<PathObj>(op);
    if (!p) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    // An instance of a class the repository lacks, as a server refuses it.
    bool known = false;
    if (!brokerOf(mb)->internals().findClass(p->path.cls, &known) && known) {
        setRc(st, CMPI_RC_ERR_INVALID_CLASS);
        return nullptr;
    }
    InstObj* o = make<InstObj>(brokerOf(mb));
    o->inst.path = p->path;
    // Room for the properties of most classes, set one by one.
    o->inst.props.reserve(64);
    setRc(st, CMPI_RC_OK);
    return &o->enc;
}

CMPIObjectPath* encNewObjectPath(const CMPIBroker* mb, const char* ns, const char* cls, CMPIStatus* st)
{
    PathObj* o = make<PathObj>(brokerOf(mb));
    o->path.ns = ns ? ns : "";
    o->path.cls = cls ? cls : "";
    setRc(st, CMPI_RC_OK);
    return &o->enc;
}

CMPIArgs* encNewArgs(const CMPIBroker* mb, CMPIStatus* st)
{
    setRc(st, CMPI_RC_OK);
    return &make<ArgsObj>(brokerOf(mb))->enc;
}

CMPIString* encNewString(const CMPIBroker* mb, const char* s, CMPIStatus* st)
{
    setRc(st, CMPI_RC_OK);
    return newString(brokerOf(mb), s ? s : "");
}

CMPIArray* encNewArray(const CMPIBroker* mb, CMPICount max, CMPIType type, CMPIStatus* st)
{
    // Our broker holds at most a million elements in one array.
    if (max > 1000000) {
        setRc(st, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    ArrayObj* o = make<ArrayObj>(brokerOf(mb));
    o->elementType = type;
    o->items.assign(max, Value::nullOf(held(type)));
    setRc(st, CMPI_RC_OK);
    return &o->enc;
}

CMPIDateTime* newDateTimeObj(const CMPIBroker* mb, const std::string& text)
{
    DateTimeObj* o = make<DateTimeObj>(brokerOf(mb));
    o->text = text;
    return &o->enc;
}

CMPIDateTime* encNewDateTime(const CMPIBroker* mb, CMPIStatus* st)
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    setRc(st, CMPI_RC_OK);
    return newDateTimeObj(mb, datetimeText(static_cast<unsigned long long>(ts.tv_sec) * 1000000ULL +
                                               static_cast<unsigned long long>(ts.tv_nsec / 1000),
                                           false));
}

CMPIDateTime* encNewDateTimeFromBinary(const CMPIBroker* mb, CMPIUint64 bin, CMPIBoolean interval, CMPIStatus* st)
{
    setRc(st, CMPI_RC_OK);
    return newDateTimeObj(mb, datetimeText(bin, interval != 0));
}

CMPIDateTime* encNewDateTimeFromChars(const CMPIBroker* mb, const char* text, CMPIStatus* st)
{
    if (!text || !validDatetime(text)) {
        setRc(st, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    setRc(st, CMPI_RC_OK);
    return newDateTimeObj(mb, text);
}

CMPISelectExp* encNewSelectExp(const CMPIBroker*, const char*, const char*, CMPIArray**, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}

CMPIBoolean encClassPathIsA(const CMPIBroker*, const CMPIObjectPath* op, const char* type, CMPIStatus* st)
{
    PathObj* p = objOf<PathObj>(op);
    setRc(st, p ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return p && type && strcasecmp(p->path.cls.c_str(), type) == 0;
}

// Every encapsulated object starts with its handle, which is one of our objects.
Obj* anyObj(const void* object)
{
    if (!object)
        return nullptr;
    return static_cast<Obj*>(static_cast<const CMPIString*>(object)->hdl);
}

CMPIString* encToString(const CMPIBroker* mb, const void* object, CMPIStatus* st)
{
    Obj* o = anyObj(object);
    if (PathObj* p = dynamic_cast<PathObj*>(o)) {
        setRc(st, CMPI_RC_OK);
        return newString(brokerOf(mb), p->path.text());
    }
    if (StringObj* s = dynamic_cast<StringObj*>(o)) {
        setRc(st, CMPI_RC_OK);
        return newString(brokerOf(mb), s->s);
    }
    setRc(st, o ? CMPI_RC_ERR_NOT_SUPPORTED : CMPI_RC_ERR_INVALID_HANDLE);
    return nullptr;
}

CMPIBoolean encIsOfType(const CMPIBroker*, const void* object, const char* type, CMPIStatus* st)
{
    Obj* o = anyObj(object);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o && type && strcmp(o->typeName(), type) == 0;
}

CMPIString* encGetType(const CMPIBroker* mb, const void* object, CMPIStatus* st)
{
    Obj* o = anyObj(object);
    setRc(st, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? newString(brokerOf(mb), o->typeName()) : nullptr;
}

CMPIString* encGetMessage(const CMPIBroker* mb, const char*, const char* defMsg, CMPIStatus* st, CMPICount, ...)
{
    setRc(st, CMPI_RC_OK);
    return newString(brokerOf(mb), defMsg ? defMsg : "");
}

CMPIStatus encLogMessage(const CMPIBroker*, int, const char*, const char*, const CMPIString*) { return OK; }

CMPIStatus encTrace(const CMPIBroker*, int, const char*, const char*, const CMPIString*) { return OK; }

// ---- operating-system services ----

char* extResolveFileName(const char* name)
{
    if (!name)
        return nullptr;
    std::string file = std::string("lib") + name + ".so";
    return strdup(file.c_str());
}

struct ThreadStart {
    CMPIThreadStart start;
    void* parm;
};

void* threadTrampoline(void* p)
{
    ThreadStart s = *static_cast<ThreadStart*>(p);
    delete static_cast<ThreadStart*>(p);
    return s.start(s.parm);
}

CMPI_THREAD_TYPE extNewThread(CMPIThreadStart start, void* parm, int detached)
{
    pthread_t* t = new pthread_t;
    ThreadStart* s = new ThreadStart{start, parm};
    if (pthread_create(t, nullptr, threadTrampoline, s) != 0) {
        delete s;
        delete t;
        return nullptr;
    }
    if (detached) {
        pthread_detach(*t);
        delete t;
        return nullptr;
    }
    return t;
}

int extJoinThread(CMPI_THREAD_TYPE thread, CMPI_THREAD_RETURN* ret)
{
    pthread_t* t = static_cast<pthread_t*>(thread);
    if (!t)
        return -1;
    void* value = nullptr;
    int rc = pthread_join(*t, &value);
    delete t;
    if (ret)
        *ret = value;
    return rc;
}

int extThreadSleep(CMPIUint32 msec)
{
    struct timespec ts = {static_cast<time_t>(msec / 1000), static_cast<long>(msec % 1000) * 1000000L};
    return nanosleep(&ts, nullptr);
}

std::mutex g_onceMutex;

int extThreadOnce(int* once, void (*init)(void))
{
    std::lock_guard<std::mutex> g(g_onceMutex);
    if (!*once) {
        *once = 1;
        init();
    }
    return 0;
}

int extCreateThreadKey(CMPI_THREAD_KEY_TYPE* key, void (*cleanup)(void*)) { return pthread_key_create(key, cleanup); }
int extDestroyThreadKey(CMPI_THREAD_KEY_TYPE key) { return pthread_key_delete(key); }
void* extGetThreadSpecific(CMPI_THREAD_KEY_TYPE key) { return pthread_getspecific(key); }
int extSetThreadSpecific(CMPI_THREAD_KEY_TYPE key, void* value) { return pthread_setspecific(key, value); }

CMPI_MUTEX_TYPE extNewMutex(int)
{
    pthread_mutex_t* m = new pthread_mutex_t;
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(m, &attr);
    pthread_mutexattr_destroy(&attr);
    return m;
}

void extDestroyMutex(CMPI_MUTEX_TYPE m)
{
    pthread_mutex_destroy(static_cast<pthread_mutex_t*>(m));
    delete static_cast<pthread_mutex_t*>(m);
}

void extLockMutex(CMPI_MUTEX_TYPE m) { pthread_mutex_lock(static_cast<pthread_mutex_t*>(m)); }
void extUnlockMutex(CMPI_MUTEX_TYPE m) { pthread_mutex_unlock(static_cast<pthread_mutex_t*>(m)); }

CMPI_COND_TYPE extNewCondition(int)
{
    pthread_cond_t* c = new pthread_cond_t;
    pthread_cond_init(c, nullptr);
    return c;
}

void extDestroyCondition(CMPI_COND_TYPE c)
{
    pthread_cond_destroy(static_cast<pthread_cond_t*>(c));
    delete static_cast<pthread_cond_t*>(c);
}

int extCondWait(CMPI_COND_TYPE c, CMPI_MUTEX_TYPE m)
{
    return pthread_cond_wait(static_cast<pthread_cond_t*>(c), static_cast<pthread_mutex_t*>(m));
}

int extTimedCondWait(CMPI_COND_TYPE c, CMPI_MUTEX_TYPE m, struct timespec* wait)
{
    return pthread_cond_timedwait(static_cast<pthread_cond_t*>(c), static_cast<pthread_mutex_t*>(m), wait);
}

int extSignalCondition(CMPI_COND_TYPE c) { return pthread_cond_signal(static_cast<pthread_cond_t*>(c)); }

} // namespace

// ---- arenas ----

Arena::~Arena()
{
    std::vector<Obj*> left;
    {
        std::lock_guard<std::mutex> g(m);
        left.swap(objs);
    }
    for (Obj* o : left)
        delete o;
}

Arena* currentArena() { return t_arena; }

void pushArena(Arena* a)
{
    a->prev = t_arena;
    t_arena = a;
}

void popArena(Arena* a) { t_arena = a->prev; }

void destroyObj(Obj* o)
{
    if (Arena* a = o->arena) {
        std::lock_guard<std::mutex> g(a->m);
        auto it = std::find(a->objs.begin(), a->objs.end(), o);
        if (it != a->objs.end())
            a->objs.erase(it);
    }
    delete o;
}

RequestScope::RequestScope(Broker* b)
{
    pushArena(&_arena);
    ContextObj* ctx = make<ContextObj>(b);
    ctx->brokerOwned = true;
    ctx->entries.emplace_back(CMPIInvocationFlags, Value::uint(CMPI_uint32, 0));
    ctx->entries.emplace_back(CMPIPrincipal, Value::string("cim-broker"));
    _arena.ctx = &ctx->enc;
}

RequestScope::~RequestScope() { popArena(&_arena); }

// ---- values ----

CMPIData toData(Broker* b, const Value& v)
{
    CMPIData d;
    d.type = v.type;
    d.state = v.null ? CMPI_nullValue : CMPI_goodValue;
    d.value.uint64 = 0;
    if (v.null)
        return d;
    if (v.type & CMPI_ARRAY) {
        ArrayObj* a = make<ArrayObj>(b);
        a->elementType = static_cast<CMPIType>(v.type & ~CMPI_ARRAY);
        a->items = v.elements;
        d.value.array = &a->enc;
        return d;
    }
    switch (v.type) {
    case CMPI_string:
        d.value.string = newString(b, v.text);
        break;
    case CMPI_dateTime: {
        DateTimeObj* o = make<DateTimeObj>(b);
        o->text = v.text;
        d.value.dateTime = &o->enc;
        break;
    }
    case CMPI_ref: {
        PathObj* o = make<PathObj>(b);
        if (v.ref)
            o->path = *v.ref;
        d.value.ref = &o->enc;
        break;
    }
    case CMPI_instance: {
        InstObj* o = make<InstObj>(b);
        if (v.inst)
            o->inst = *v.inst;
        d.value.inst = &o->enc;
        break;
    }
    default:
        d.value = v.scalar;
        break;
    }
    return d;
}

Value fromValue(const CMPIValue* v, CMPIType t)
{
    // Text handed in as a char pointer is held as a string.
    const bool chars = t == CMPI_chars;
    t = held(t);
    if (!v || t == CMPI_null)
        return Value::nullOf(t);
    Value r;
    r.type = t;
    r.null = false;
    if (t & CMPI_ARRAY) {
        ArrayObj* a = objOf<ArrayObj>(v->array);
        if (!a)
            return Value::nullOf(t);
        r.elements = a->items;
        return r;
    }
    switch (t) {
    case CMPI_string: {
        if (chars) {
            // The pointer is the text itself, not a CMPIValue holding one.
            r.text = reinterpret_cast<const char*>(v);
        } else {
            StringObj* s = objOf<StringObj>(v->string);
            if (!s)
                return Value::nullOf(t);
            r.text = s->s;
        }
        break;
    }
    case CMPI_dateTime: {
        DateTimeObj* o = objOf<DateTimeObj>(v->dateTime);
        if (!o)
            return Value::nullOf(t);
        r.text = o->text;
        break;
    }
    case CMPI_ref: {
        PathObj* o = objOf<PathObj>(v->ref);
        if (!o)
            return Value::nullOf(t);
        r.ref = std::make_shared<Path>(o->path);
        break;
    }
    case CMPI_instance: {
        InstObj* o = objOf<InstObj>(v->inst);
        if (!o)
            return Value::nullOf(t);
        r.inst = std::make_shared<Inst>(o->inst);
        break;
    }
    default:
        r.scalar = *v;
        break;
    }
    return r;
}

bool takeValue(const CMPIValue* v, CMPIType t, const FeatureDef* f, Value& out)
{
    // A null value may name no type.
    if (f && held(t) != f->type && !(!v && t == CMPI_null))
        return false;
    if (v && (t & CMPI_ARRAY)) {
        ArrayObj* a = objOf<ArrayObj>(v->array);
        if (a && held(a->elementType) != held(static_cast<CMPIType>(t & ~CMPI_ARRAY)))
            return false;
    }
    out = fromValue(v, t);
    return true;
}

std::string datetimeText(unsigned long long usec, bool interval)
{
    char buf[96];
    unsigned long long secs = usec / 1000000ULL;
    unsigned micro = static_cast<unsigned>(usec % 1000000ULL);
    if (interval) {
        snprintf(buf, sizeof buf, "%08llu%02llu%02llu%02llu.%06u:000", secs / 86400 % 100000000ULL,
                 secs / 3600 % 24, secs / 60 % 60, secs % 60, micro);
    } else {
        time_t t = static_cast<time_t>(secs);
        struct tm tm;
        gmtime_r(&t, &tm);
        snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d.%06u+000", (tm.tm_year + 1900) % 10000, tm.tm_mon + 1,
                 tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, micro);
    }
    return buf;
}

bool validDatetime(const std::string& t)
{
    if (t.size() != 25 || t[14] != '.' || (t[21] != '+' && t[21] != '-' && t[21] != ':'))
        return false;
    for (size_t i = 0; i < t.size(); i++)
        if (i != 14 && i != 21 && (t[i] < '0' || t[i] > '9'))
            return false;
    return true;
}

void place(Broker* b, Obj* o)
{
    o->broker = b;
    if (Arena* a = t_arena) {
        std::lock_guard<std::mutex> g(a->m);
        o->arena = a;
        a->objs.push_back(o);
        return;
    }
    b->noteViolation(std::string("a ") + o->typeName() + " was made on a thread that is not attached");
    b->internals().keepOrphan(o);
}

// ---- the tables ----

#define RELEASE_CLONE(T) releaseObj<T>, cloneObj<T>

const CMPIStringFT stringFT = {1, RELEASE_CLONE(StringObj), stringGetCharPtr};
const CMPIArrayFT arrayFT = {1, RELEASE_CLONE(ArrayObj), arrayGetSize, arrayGetSimpleType, arrayGetElementAt,
                             arraySetElementAt};
const CMPIDateTimeFT dateTimeFT = {1, RELEASE_CLONE(DateTimeObj), dtGetBinaryFormat, dtGetStringFormat, dtIsInterval};
// Like a small real server, no class, method or parameter qualifiers.
const CMPIObjectPathFT pathFT = {1,
                                 RELEASE_CLONE(PathObj),
                                 pathSetNameSpace,
                                 pathGetNameSpace,
                                 pathSetHostname,
                                 pathGetHostname,
                                 pathSetClassName,
                                 pathGetClassName,
                                 pathAddKey,
                                 pathGetKey,
                                 pathGetKeyAt,
                                 pathGetKeyCount,
                                 pathSetNameSpaceFrom,
                                 pathSetHostAndNameSpaceFrom,
                                 nullptr,
                                 pathGetPropertyQualifier,
                                 nullptr,
                                 nullptr,
                                 pathToString};
const CMPIInstanceFT instanceFT = {1,
                                   RELEASE_CLONE(InstObj),
                                   instGetProperty,
                                   instGetPropertyAt,
                                   instGetPropertyCount,
                                   instSetProperty,
                                   instGetObjectPath,
                                   instSetPropertyFilter,
                                   instSetObjectPath,
                                   instSetPropertyWithOrigin};
const CMPIArgsFT argsFT = {1, RELEASE_CLONE(ArgsObj), argsAddArg, argsGetArg, argsGetArgAt, argsGetArgCount};
const CMPIEnumerationFT enumerationFT = {1, RELEASE_CLONE(EnumObj), enumGetNext, enumHasNext, enumToArray};
const CMPIContextFT contextFT = {1, RELEASE_CLONE(ContextObj), ctxGetEntry, ctxGetEntryAt, ctxGetEntryCount,
                                 ctxAddEntry};
const CMPIResultFT resultFT = {1,
                               releaseObj<ResultObj>,
                               resultClone,
                               resultReturnData,
                               resultReturnInstance,
                               resultReturnObjectPath,
                               resultReturnDone,
                               nullptr};
const CMPISelectExpFT selectExpFT = {1,          RELEASE_CLONE(SelectExpObj), seEvaluate, seGetString,
                                     seGetCond,  seGetCond,                  seEvaluateUsingAccessor};

const CMPIBrokerEncFT brokerEncFT = {200,
                                     encNewInstance,
                                     encNewObjectPath,
                                     encNewArgs,
                                     encNewString,
                                     encNewArray,
                                     encNewDateTime,
                                     encNewDateTimeFromBinary,
                                     encNewDateTimeFromChars,
                                     encNewSelectExp,
                                     encClassPathIsA,
                                     encToString,
                                     encIsOfType,
                                     encGetType,
                                     encGetMessage,
                                     encLogMessage,
                                     encTrace,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr};

const CMPIBrokerExtFT brokerExtFT = {200,
                                     extResolveFileName,
                                     extNewThread,
                                     extJoinThread,
                                     nullptr,
                                     nullptr,
                                     extThreadSleep,
                                     extThreadOnce,
                                     extCreateThreadKey,
                                     extDestroyThreadKey,
                                     extGetThreadSpecific,
                                     extSetThreadSpecific,
                                     extNewMutex,
                                     extDestroyMutex,
                                     extLockMutex,
                                     extUnlockMutex,
                                     extNewCondition,
                                     extDestroyCondition,
                                     extCondWait,
                                     extTimedCondWait,
                                     extSignalCondition};

// No memory services (the capability is not offered).
const CMPIBrokerMemFT brokerMemFT = {200,     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

} // namespace cimbroker
