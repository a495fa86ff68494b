// The broker: its services to providers (thread attachment, indications,
// up-calls) and the operations it drives on them.
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "Objects.h"

namespace cimbroker {

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

namespace {

const char* kindName(MIKind kind)
{
    switch (kind) {
    case MIKind::Instance:
        return "InstanceMI";
    case MIKind::Method:
        return "MethodMI";
    case MIKind::Association:
        return "AssociationMI";
    case MIKind::Indication:
    default:
        return "IndicationMI";
    }
}

Status statusOf(const CMPIStatus& st)
{
    Status s;
    s.rc = st.rc;
    if (StringObj* m = objOf<StringObj>(st.msg))
        s.msg = m->s;
    return s;
}

// The status an MI answered, refused (as failed, and noted) unless a client
// can receive it: a CIM status code, CMPI_RC_OK to
// CMPI_RC_ERR_METHOD_NOT_FOUND, and for a cleanup also CMPI_RC_DO_NOT_UNLOAD
// and CMPI_RC_NEVER_UNLOAD. CMPI's other codes reach a client of a real
// server as an unrecognized status.
Status answered(Broker* b, const CMPIStatus& st, const char* what, bool cleanup = false)
{
    Status s = statusOf(st);
    const int rc = static_cast<int>(st.rc);
    if ((rc >= CMPI_RC_OK && rc <= CMPI_RC_ERR_METHOD_NOT_FOUND) ||
        (cleanup && (rc == CMPI_RC_DO_NOT_UNLOAD || rc == CMPI_RC_NEVER_UNLOAD)))
        return s;
    const std::string message = std::string(what) + " answered status " + std::to_string(rc) + ", no CIM status code";
    b->noteViolation(message);
    return Status{CMPI_RC_ERR_FAILED, message};
}

// A NULL-terminated property list for the duration of a call.
class PropList {
public:
    explicit PropList(const std::vector<std::string>* props)
    {
        if (!props)
            return;
        for (const std::string& p : *props)
            _ptrs.push_back(p.c_str());
        _ptrs.push_back(nullptr);
    }
    const char** get() { return _ptrs.empty() ? nullptr : _ptrs.data(); }

private:
    std::vector<const char*> _ptrs;
};

// Objects the broker passes into a call: its own, freed with the call.
PathObj* callPath(Broker* b, const Path& p)
{
    PathObj* o = make<PathObj>(b);
    o->brokerOwned = true;
    o->path = p;
    return o;
}

ResultObj* callResult(Broker* b)
{
    ResultObj* o = make<ResultObj>(b);
    o->brokerOwned = true;
    return o;
}

// ---- services to providers ----

bool requestContext(Broker* b, const CMPIContext* ctx, const char* what)
{
    Arena* a = currentArena();
    if (a && a->ctx == ctx)
        return true;
    b->noteViolation(std::string(what) + " with a context that is not the request's");
    return false;
}

CMPIContext* bPrepareAttachThread(const CMPIBroker* mb, const CMPIContext* ctx)
{
    Broker* b = brokerOf(mb);
    if (!currentArena())
        b->noteViolation("prepareAttachThread on a thread that is not attached");
    ContextObj* c = new ContextObj();
    c->broker = b;
    c->brokerOwned = true;
    if (ContextObj* src = objOf<ContextObj>(ctx))
        c->entries = src->entries;
    std::lock_guard<std::mutex> g(b->internals().orphansMutex);
    b->internals().prepared.insert(c);
    return &c->enc;
}

CMPIStatus bAttachThread(const CMPIBroker* mb, const CMPIContext* ctx)
{
    Broker* b = brokerOf(mb);
    ContextObj* c = objOf<ContextObj>(ctx);
    {
        std::lock_guard<std::mutex> g(b->internals().orphansMutex);
        if (!c || !b->internals().prepared.count(c)) {
            b->noteViolation("attachThread with a context that prepareAttachThread did not make");
            return status(CMPI_RC_ERR_INVALID_HANDLE);
        }
    }
    Arena* a = new Arena();
    a->ctx = ctx;
    a->attached = true;
    pushArena(a);
    return OK;
}

CMPIStatus bDetachThread(const CMPIBroker* mb, const CMPIContext* ctx)
{
    Broker* b = brokerOf(mb);
    Arena* a = currentArena();
    if (!a || !a->attached || a->ctx != ctx) {
        b->noteViolation("detachThread on a thread not attached with that context");
        return status(CMPI_RC_ERR_FAILED);
    }
    popArena(a);
    delete a;
    // Detaching releases the prepared context.
    ContextObj* c = objOf<ContextObj>(ctx);
    {
        std::lock_guard<std::mutex> g(b->internals().orphansMutex);
        b->internals().prepared.erase(c);
    }
    delete c;
    return OK;
}

CMPIStatus bDeliverIndication(const CMPIBroker* mb, const CMPIContext* ctx, const char* ns, const CMPIInstance* ind)
{
    Broker* b = brokerOf(mb);
    Arena* a = currentArena();
    bool attached = a && a->attached && a->ctx == ctx;
    if (!attached)
        b->noteViolation("an indication was delivered from a thread not attached with the given context");
    InstObj* i = objOf<InstObj>(ind);
    if (!i)
        return status(CMPI_RC_ERR_INVALID_HANDLE);
    Broker::Internals& in = b->internals();
    {
        std::lock_guard<std::mutex> g(in.deliveriesMutex);
        in.deliveries.push_back(Broker::Delivery{ns ? ns : "", i->inst, attached});
    }
    in.deliveriesCv.notify_all();
    return OK;
}

// The fixture's answer for an up-call's class, or its error.
const Broker::Internals::Fixture* upcallFixture(Broker* b, const CMPIContext* ctx, const CMPIObjectPath* op,
                                                 const char* what, CMPIStatus* st)
{
    requestContext(b, ctx, what);
    PathObj* p = objOf<PathObj>(op);
    if (!p) {
        setRc(st, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    Broker::Internals& in = b->internals();
    std::lock_guard<std::mutex> g(in.fixtureMutex);
    in.upcalls++;
    auto it = in.fixture.find({lower(p->path.ns), lower(p->path.cls)});
    if (it == in.fixture.end()) {
        bool nsKnown = false;
        for (const auto& f : in.fixture)
            nsKnown = nsKnown || f.first.first == lower(p->path.ns);
        setRc(st, nsKnown ? CMPI_RC_ERR_INVALID_CLASS : CMPI_RC_ERR_INVALID_NAMESPACE);
        return nullptr;
    }
    if (it->second.rc != CMPI_RC_OK) {
        setRc(st, it->second.rc);
        return nullptr;
    }
    setRc(st, CMPI_RC_OK);
    return &it->second;
}

CMPIEnumeration* bEnumerateInstances(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                                     const char**, CMPIStatus* st)
{
    Broker* b = brokerOf(mb);
    const Broker::Internals::Fixture* f = upcallFixture(b, ctx, op, "enumerateInstances", st);
    if (!f)
        return nullptr;
    EnumObj* e = make<EnumObj>(b);
    // As a server that marks every item so, although each holds an instance.
    e->itemState = CMPI_nullValue;
    for (const Inst& i : f->instances) {
        Value v;
        v.type = CMPI_instance;
        v.null = false;
        v.inst = std::make_shared<Inst>(i);
        e->items.push_back(v);
    }
    return &e->enc;
}

CMPIEnumeration* bEnumerateInstanceNames(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                                         CMPIStatus* st)
{
    Broker* b = brokerOf(mb);
    const Broker::Internals::Fixture* f = upcallFixture(b, ctx, op, "enumerateInstanceNames", st);
    if (!f)
        return nullptr;
    EnumObj* e = make<EnumObj>(b);
    for (const Inst& i : f->instances)
        e->items.push_back(Value::reference(i.path));
    return &e->enc;
}

CMPIInstance* bGetInstance(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op, const char**,
                           CMPIStatus* st)
{
    Broker* b = brokerOf(mb);
    const Broker::Internals::Fixture* f = upcallFixture(b, ctx, op, "getInstance", st);
    if (!f)
        return nullptr;
    const Path& want = objOf<PathObj>(op)->path;
    for (const Inst& i : f->instances)
        if (i.path.keys == want.keys) {
            InstObj* o = make<InstObj>(b);
            o->inst = i;
            return &o->enc;
        }
    setRc(st, CMPI_RC_ERR_NOT_FOUND);
    return nullptr;
}

// The up-calls this broker does not offer.
CMPIObjectPath* bCreateInstance(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const CMPIInstance*,
                                CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}
CMPIStatus bModifyInstance(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const CMPIInstance*,
                           const char**)
{
    return status(CMPI_RC_ERR_NOT_SUPPORTED);
}
CMPIStatus bDeleteInstance(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*)
{
    return status(CMPI_RC_ERR_NOT_SUPPORTED);
}
CMPIEnumeration* bExecQuery(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const char*, const char*,
                            CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}
CMPIEnumeration* bAssociators(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const char*,
                              const char*, const char*, const char*, const char**, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}
CMPIEnumeration* bAssociatorNames(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const char*,
                                  const char*, const char*, const char*, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}
CMPIEnumeration* bReferences(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const char*,
                             const char*, const char**, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}
CMPIEnumeration* bReferenceNames(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const char*,
                                 const char*, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}
CMPIData bInvokeMethod(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const char*, const CMPIArgs*,
                       CMPIArgs*, CMPIStatus* st)
{
    setRc(st, CMPI_RC_ERR_NOT_SUPPORTED);
    CMPIData d;
    d.type = CMPI_null;
    d.state = CMPI_nullValue;
    d.value.uint64 = 0;
    return d;
}
CMPIStatus bSetProperty(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const char*,
                        const CMPIValue*, CMPIType)
{
    return status(CMPI_RC_ERR_NOT_SUPPORTED);
}
CMPIData bGetProperty(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op, const char*,
                      CMPIStatus* st)
{
    return bInvokeMethod(mb, ctx, op, nullptr, nullptr, nullptr, st);
}

} // namespace

// Capabilities: instances, associations, queries and indications.
const CMPIBrokerFT brokerFT = {CMPI_MB_Class_2 | CMPI_MB_AssociationTraversal | CMPI_MB_Indications |
                                   CMPI_MB_OSEncapsulationSupport,
                               CMPICurrentVersion,
                               "cim-broker",
                               bPrepareAttachThread,
                               bAttachThread,
                               bDetachThread,
                               bDeliverIndication,
                               bEnumerateInstanceNames,
                               bGetInstance,
                               bCreateInstance,
                               bModifyInstance,
                               bDeleteInstance,
                               bExecQuery,
                               bEnumerateInstances,
                               bAssociators,
                               bAssociatorNames,
                               bReferences,
                               bReferenceNames,
                               bInvokeMethod,
                               bSetProperty,
                               bGetProperty};

Broker::Internals::~Internals()
{
    for (Obj* o : orphans)
        delete o;
    for (Obj* o : prepared)
        delete o;
}

Broker* brokerOf(const CMPIBroker* mb) { return static_cast<Broker*>(mb->hdl); }

Broker::Broker() : _internals(new Internals())
{
    _cmpi.hdl = this;
    _cmpi.bft = &brokerFT;
    _cmpi.eft = &brokerEncFT;
    _cmpi.xft = &brokerExtFT;
    _cmpi.mft = &brokerMemFT;
}

// Modules stay open: their statics live until the process ends.
Broker::~Broker() { cleanupAll(); }

void Broker::cleanupAll()
{
    std::vector<std::pair<std::string, int>> order;
    {
        std::lock_guard<std::mutex> g(_internals->misMutex);
        order = _internals->order;
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        cleanupMI(it->first, static_cast<MIKind>(it->second), true);
}

bool Broker::loadModule(const std::string& path, std::string* error)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle) {
        if (error)
            *error = dlerror();
        return false;
    }
    {
        std::lock_guard<std::mutex> g(_internals->classesMutex);
        readClassTable(handle, _internals->classes);
    }
    std::lock_guard<std::mutex> g(_internals->modulesMutex);
    _internals->modules.push_back(handle);
    return true;
}

namespace {

// A CIM class name: letters, digits and '_', not starting with a digit.
bool className(const std::string& s)
{
    if (s.empty() || isdigit(static_cast<unsigned char>(s[0])))
        return false;
    for (char c : s)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

void* factory(Broker::Internals& in, const std::string& cls, MIKind kind)
{
    // Anything else could name another symbol of the module or its libraries.
    if (!className(cls))
        return nullptr;
    std::string name = cls + "_Provider_Create_" + kindName(kind);
    std::lock_guard<std::mutex> g(in.modulesMutex);
    for (void* module : in.modules)
        if (void* f = dlsym(module, name.c_str()))
            return f;
    return nullptr;
}

template <class MI, class Factory>
MI* callFactory(void* f, Broker* b, const CMPIContext* ctx, CMPIStatus* st)
{
    return reinterpret_cast<Factory>(f)(b->cmpi(), ctx, st);
}

} // namespace

bool Broker::hasFactory(const std::string& cls, MIKind kind) const { return factory(*_internals, cls, kind) != nullptr; }

void* Broker::mi(const std::string& cls, MIKind kind, Status& st)
{
    const auto key = std::make_pair(lower(cls), static_cast<int>(kind));
    Internals& in = *_internals;
    auto loaded = [&]() -> void* {
        std::lock_guard<std::mutex> g(in.misMutex);
        auto it = in.mis.find(key);
        return it == in.mis.end() ? nullptr : it->second;
    };
    if (void* m = loaded())
        return m;
    std::lock_guard<std::recursive_mutex> load(in.loadMutex);
    if (void* m = loaded())
        return m;
    void* f = factory(in, cls, kind);
    if (!f) {
        st.rc = CMPI_RC_ERR_NOT_SUPPORTED;
        st.msg = std::string("no ") + kindName(kind) + " for class " + cls;
        return nullptr;
    }
    RequestScope scope(this);
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    void* mi = nullptr;
    switch (kind) {
    case MIKind::Instance:
        mi = callFactory<CMPIInstanceMI, CMPIInstanceMIFactory>(f, this, scope.ctx(), &rc);
        break;
    case MIKind::Method:
        mi = callFactory<CMPIMethodMI, CMPIMethodMIFactory>(f, this, scope.ctx(), &rc);
        break;
    case MIKind::Association:
        mi = callFactory<CMPIAssociationMI, CMPIAssociationMIFactory>(f, this, scope.ctx(), &rc);
        break;
    case MIKind::Indication:
        mi = callFactory<CMPIIndicationMI, CMPIIndicationMIFactory>(f, this, scope.ctx(), &rc);
        break;
    }
    if (!mi || rc.rc != CMPI_RC_OK) {
        st = answered(this, rc, (std::string("the factory of the ") + kindName(kind) + " of " + cls).c_str());
        if (st.rc == CMPI_RC_OK)
            st.rc = CMPI_RC_ERR_FAILED;
        return nullptr;
    }
    std::lock_guard<std::mutex> g(in.misMutex);
    in.mis[key] = mi;
    in.order.push_back(key);
    return mi;
}

Status Broker::loadMI(const std::string& cls, MIKind kind)
{
    Status st;
    mi(cls, kind, st);
    return st;
}

Status Broker::cleanupMI(const std::string& cls, MIKind kind, bool terminating)
{
    const auto key = std::make_pair(lower(cls), static_cast<int>(kind));
    Internals& in = *_internals;
    std::lock_guard<std::recursive_mutex> load(in.loadMutex);
    void* mi = nullptr;
    {
        std::lock_guard<std::mutex> g(in.misMutex);
        auto it = in.mis.find(key);
        if (it == in.mis.end())
            return Status{CMPI_RC_ERR_NOT_FOUND, "no such MI is loaded"};
        mi = it->second;
    }
    RequestScope scope(this);
    CMPIStatus rc = OK;
    CMPIBoolean term = terminating ? 1 : 0;
    switch (kind) {
    case MIKind::Instance:
        rc = static_cast<CMPIInstanceMI*>(mi)->ft->cleanup(static_cast<CMPIInstanceMI*>(mi), scope.ctx(), term);
        break;
    case MIKind::Method:
        rc = static_cast<CMPIMethodMI*>(mi)->ft->cleanup(static_cast<CMPIMethodMI*>(mi), scope.ctx(), term);
        break;
    case MIKind::Association:
        rc = static_cast<CMPIAssociationMI*>(mi)->ft->cleanup(static_cast<CMPIAssociationMI*>(mi), scope.ctx(),
                                                               term);
        break;
    case MIKind::Indication:
        rc = static_cast<CMPIIndicationMI*>(mi)->ft->cleanup(static_cast<CMPIIndicationMI*>(mi), scope.ctx(),
                                                              term);
        break;
    }
    Status st = answered(this, rc, (std::string("the cleanup of the ") + kindName(kind) + " of " + cls).c_str(), true);
    // Kept (and asked again later) unless it agreed to go, or the broker ends.
    if (st.ok() || terminating) {
        std::lock_guard<std::mutex> g(in.misMutex);
        in.mis.erase(key);
        in.order.erase(std::remove(in.order.begin(), in.order.end(), key), in.order.end());
    }
    return st;
}

// ---- operations ----

template <class MI, class Call, class Collect>
Status Broker::request(const std::string& cls, MIKind kind, Call call, Collect collect)
{
    Status st;
    MI* m = static_cast<MI*>(mi(cls, kind, st));
    if (!m)
        return st;
    RequestScope scope(this);
    ResultObj* rs = callResult(this);
    st = answered(this, call(m, scope.ctx(), &rs->enc), (std::string("the ") + kindName(kind) + " of " + cls).c_str());
    if (st.ok() && !rs->done && kind != MIKind::Indication)
        noteViolation("a request succeeded without returnDone");
    collect(*rs);
    return st;
}

namespace {

void noResults(const ResultObj&) {}

InstObj* callInstance(Broker* b, const Inst& inst)
{
    InstObj* o = make<InstObj>(b);
    o->brokerOwned = true;
    o->inst = inst;
    return o;
}

SelectExpObj* callFilter(Broker* b, const std::string& cls)
{
    SelectExpObj* o = make<SelectExpObj>(b);
    o->brokerOwned = true;
    o->query = "SELECT * FROM " + cls;
    return o;
}

} // namespace

Status Broker::enumerateInstances(const std::string& ns, const std::string& cls, std::vector<Inst>& out,
                                  const std::vector<std::string>* props)
{
    PropList pl(props);
    return request<CMPIInstanceMI>(
        cls, MIKind::Instance,
        [&](CMPIInstanceMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->enumerateInstances(m, ctx, rs, &callPath(this, {ns, cls, {}})->enc, pl.get());
        },
        [&](ResultObj& r) { out = std::move(r.instances); });
}

Status Broker::enumerateInstanceNames(const std::string& ns, const std::string& cls, std::vector<Path>& out)
{
    return request<CMPIInstanceMI>(
        cls, MIKind::Instance,
        [&](CMPIInstanceMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->enumerateInstanceNames(m, ctx, rs, &callPath(this, {ns, cls, {}})->enc);
        },
        [&](const ResultObj& r) { out = r.paths; });
}

Status Broker::getInstance(const Path& path, Inst& out, const std::vector<std::string>* props)
{
    PropList pl(props);
    return request<CMPIInstanceMI>(
        path.cls, MIKind::Instance,
        [&](CMPIInstanceMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->getInstance(m, ctx, rs, &callPath(this, path)->enc, pl.get());
        },
        [&](const ResultObj& r) {
            if (!r.done)
                return;
            if (r.instances.size() != 1)
                noteViolation("a get returned other than one instance");
            if (!r.instances.empty())
                out = r.instances.front();
        });
}

Status Broker::createInstance(const Inst& inst, Path& out)
{
    return request<CMPIInstanceMI>(
        inst.path.cls, MIKind::Instance,
        [&](CMPIInstanceMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->createInstance(m, ctx, rs, &callPath(this, inst.path)->enc, &callInstance(this, inst)->enc);
        },
        [&](const ResultObj& r) {
            if (r.done && !r.paths.empty())
                out = r.paths.front();
        });
}

Status Broker::modifyInstance(const Inst& inst)
{
    return request<CMPIInstanceMI>(
        inst.path.cls, MIKind::Instance,
        [&](CMPIInstanceMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->modifyInstance(m, ctx, rs, &callPath(this, inst.path)->enc, &callInstance(this, inst)->enc,
                                         nullptr);
        },
        noResults);
}

Status Broker::deleteInstance(const Path& path)
{
    return request<CMPIInstanceMI>(
        path.cls, MIKind::Instance,
        [&](CMPIInstanceMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->deleteInstance(m, ctx, rs, &callPath(this, path)->enc);
        },
        noResults);
}

Status Broker::execQuery(const std::string& ns, const std::string& cls, const std::string& query,
                         std::vector<Inst>& out)
{
    return request<CMPIInstanceMI>(
        cls, MIKind::Instance,
        [&](CMPIInstanceMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->execQuery(m, ctx, rs, &callPath(this, {ns, cls, {}})->enc, query.c_str(), "WQL");
        },
        [&](const ResultObj& r) { out = r.instances; });
}

Status Broker::associators(const std::string& assocProvider, const Path& source, const char* assocClass,
                           const char* resultClass, const char* role, const char* resultRole, std::vector<Inst>& out)
{
    return request<CMPIAssociationMI>(
        assocProvider, MIKind::Association,
        [&](CMPIAssociationMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->associators(m, ctx, rs, &callPath(this, source)->enc, assocClass, resultClass, role,
                                      resultRole, nullptr);
        },
        [&](const ResultObj& r) { out = r.instances; });
}

Status Broker::associatorNames(const std::string& assocProvider, const Path& source, const char* assocClass,
                               const char* resultClass, const char* role, const char* resultRole,
                               std::vector<Path>& out)
{
    return request<CMPIAssociationMI>(
        assocProvider, MIKind::Association,
        [&](CMPIAssociationMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->associatorNames(m, ctx, rs, &callPath(this, source)->enc, assocClass, resultClass, role,
                                          resultRole);
        },
        [&](const ResultObj& r) { out = r.paths; });
}

Status Broker::references(const std::string& assocProvider, const Path& source, const char* resultClass,
                          const char* role, std::vector<Inst>& out)
{
    return request<CMPIAssociationMI>(
        assocProvider, MIKind::Association,
        [&](CMPIAssociationMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->references(m, ctx, rs, &callPath(this, source)->enc, resultClass, role, nullptr);
        },
        [&](const ResultObj& r) { out = r.instances; });
}

Status Broker::referenceNames(const std::string& assocProvider, const Path& source, const char* resultClass,
                              const char* role, std::vector<Path>& out)
{
    return request<CMPIAssociationMI>(
        assocProvider, MIKind::Association,
        [&](CMPIAssociationMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            return m->ft->referenceNames(m, ctx, rs, &callPath(this, source)->enc, resultClass, role);
        },
        [&](const ResultObj& r) { out = r.paths; });
}

Status Broker::invokeMethod(const Path& path, const std::string& method, const Named& in, Named& out, Value& ret)
{
    ArgsObj* outArgs = nullptr;
    // What the method may hand back, when its class is known: a method the
    // class lacks has no output.
    static const MethodDef none;
    const ClassDef* c = _internals->findClass(path.cls);
    const MethodDef* def = c ? findMethod(*c, method.c_str()) : nullptr;
    if (c && !def)
        def = &none;
    return request<CMPIMethodMI>(
        path.cls, MIKind::Method,
        [&](CMPIMethodMI* m, const CMPIContext* ctx, const CMPIResult* rs) {
            ArgsObj* inArgs = make<ArgsObj>(this);
            inArgs->brokerOwned = true;
            inArgs->args = in;
            outArgs = make<ArgsObj>(this);
            outArgs->brokerOwned = true;
            outArgs->method = def;
            objOf<ResultObj>(rs)->method = def;
            return m->ft->invokeMethod(m, ctx, rs, &callPath(this, path)->enc, method.c_str(), &inArgs->enc,
                                       &outArgs->enc);
        },
        [&](const ResultObj& r) {
            out = outArgs ? outArgs->args : Named();
            ret = r.data.empty() ? Value() : r.data.front();
        });
}

// ---- indications ----

Status Broker::authorizeFilter(const std::string& ns, const std::string& cls)
{
    return request<CMPIIndicationMI>(
        cls, MIKind::Indication,
        [&](CMPIIndicationMI* m, const CMPIContext* ctx, const CMPIResult*) {
            return m->ft->authorizeFilter(m, ctx, &callFilter(this, cls)->enc, cls.c_str(),
                                          &callPath(this, {ns, cls, {}})->enc, "cim-broker");
        },
        noResults);
}

Status Broker::mustPoll(const std::string& ns, const std::string& cls)
{
    return request<CMPIIndicationMI>(
        cls, MIKind::Indication,
        [&](CMPIIndicationMI* m, const CMPIContext* ctx, const CMPIResult*) {
            return m->ft->mustPoll(m, ctx, &callFilter(this, cls)->enc, cls.c_str(),
                                   &callPath(this, {ns, cls, {}})->enc);
        },
        noResults);
}

Status Broker::activateFilter(const std::string& ns, const std::string& cls, bool first)
{
    return request<CMPIIndicationMI>(
        cls, MIKind::Indication,
        [&](CMPIIndicationMI* m, const CMPIContext* ctx, const CMPIResult*) {
            return m->ft->activateFilter(m, ctx, &callFilter(this, cls)->enc, cls.c_str(),
                                         &callPath(this, {ns, cls, {}})->enc, first);
        },
        noResults);
}

Status Broker::deactivateFilter(const std::string& ns, const std::string& cls, bool last)
{
    return request<CMPIIndicationMI>(
        cls, MIKind::Indication,
        [&](CMPIIndicationMI* m, const CMPIContext* ctx, const CMPIResult*) {
            return m->ft->deActivateFilter(m, ctx, &callFilter(this, cls)->enc, cls.c_str(),
                                           &callPath(this, {ns, cls, {}})->enc, last);
        },
        noResults);
}

Status Broker::enableIndications(const std::string& cls)
{
    return request<CMPIIndicationMI>(
        cls, MIKind::Indication,
        [&](CMPIIndicationMI* m, const CMPIContext* ctx, const CMPIResult*) {
            return m->ft->enableIndications(m, ctx);
        },
        noResults);
}

Status Broker::disableIndications(const std::string& cls)
{
    return request<CMPIIndicationMI>(
        cls, MIKind::Indication,
        [&](CMPIIndicationMI* m, const CMPIContext* ctx, const CMPIResult*) {
            return m->ft->disableIndications(m, ctx);
        },
        noResults);
}

std::vector<Broker::Delivery> Broker::deliveries() const
{
    std::lock_guard<std::mutex> g(_internals->deliveriesMutex);
    return _internals->deliveries;
}

bool Broker::waitForDeliveries(size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> g(_internals->deliveriesMutex);
    return _internals->deliveriesCv.wait_for(g, timeout, [&] { return _internals->deliveries.size() >= count; });
}

// ---- fixture and findings ----

void Broker::setUpcallInstances(const std::string& ns, const std::string& cls, std::vector<Inst> instances)
{
    std::lock_guard<std::mutex> g(_internals->fixtureMutex);
    Internals::Fixture& f = _internals->fixture[{lower(ns), lower(cls)}];
    f.instances = std::move(instances);
    f.rc = CMPI_RC_OK;
}

void Broker::setUpcallError(const std::string& ns, const std::string& cls, CMPIrc rc)
{
    std::lock_guard<std::mutex> g(_internals->fixtureMutex);
    Internals::Fixture& f = _internals->fixture[{lower(ns), lower(cls)}];
    f.instances.clear();
    f.rc = rc;
}

void Broker::refuseResults(CMPIrc rc) { _internals->resultRefusal = rc; }

size_t Broker::upcallCount() const
{
    std::lock_guard<std::mutex> g(_internals->fixtureMutex);
    return _internals->upcalls;
}

void Broker::noteViolation(const std::string& what)
{
    std::lock_guard<std::mutex> g(_internals->violationsMutex);
    _internals->violations.push_back(what);
}

std::vector<std::string> Broker::violations() const
{
    std::lock_guard<std::mutex> g(_internals->violationsMutex);
    return _internals->violations;
}

} // namespace cimbroker
