// The CMPI adapter: serves each registered provider to a CIM server through
// CMPI. One adapter (and one provider object) exists per provider while any of
// its MIs is in use: the first factory creates and loads the provider, the
// last cleanup unloads and deletes it. Calls into one provider are serialized.
#include <cimple/Mutex.h>
#include <cimple/Provider.h>
#include <cimple/Ref.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "Convert.h"
#include "Request.h"
#include "Types.h"

namespace cimple {
namespace cmpi {

namespace {
thread_local Request* t_request = 0;
}

Request* current_request() { return t_request; }

Request_Scope::Request_Scope(const CMPIBroker* broker, const CMPIContext* context,
                             const Meta_Repository* repository)
{
    _request.broker = broker;
    _request.context = context;
    _request.repository = repository;
    _request.previous = t_request;
    t_request = &_request;
}

Request_Scope::~Request_Scope() { t_request = _request.previous; }

namespace {

const CMPIStatus OK_STATUS = {CMPI_RC_OK, 0};

// A status a CIM server can hand to its client: the CIM status codes
// (CMPI_RC_OK to CMPI_RC_ERR_METHOD_NOT_FOUND); CMPI's own codes (such as
// CMPI_RC_ERR_INVALID_DATA_TYPE) and anything else count as failed.
CMPIrc cim_status(CMPIrc rc)
{
    return rc >= CMPI_RC_OK && rc <= CMPI_RC_ERR_METHOD_NOT_FOUND ? rc : CMPI_RC_ERR_FAILED;
}

template <class T>
void release(T* obj)
{
    if (obj && obj->ft && obj->ft->release)
        obj->ft->release(obj);
}

bool given(const char* s) { return s && *s; }

// Guards Registration::adapter and every adapter's count of MIs in use.
Mutex& adapters_lock()
{
    static Mutex lock;
    return lock;
}

struct Adapter {
    Registration* registration;
    const CMPIBroker* broker;
    void* provider = 0;
    const Meta_Class* meta_class = 0;
    const Meta_Repository* repository = 0;
    // Serializes the calls into the provider; recursive, so that an up-call
    // that reaches this provider again does not deadlock.
    Mutex lock;
    int refs = 0;
    // Where indications go unless an indication names its namespace.
    String indication_ns;
    CMPIInstanceMI instance_mi;
    CMPIMethodMI method_mi;
    CMPIAssociationMI association_mi;
    CMPIIndicationMI indication_mi;

    Adapter(Registration* r, const CMPIBroker* b) : registration(r), broker(b) {}

    int call(int operation, void* a1 = 0, void* a2 = 0, void* a3 = 0, void* a4 = 0, void* a5 = 0)
    {
        return registration->proc(registration, operation, provider, a1, a2, a3, a4, a5, 0, 0);
    }

    CMPIStatus status(CMPIrc rc, const char* message) const
    {
        CMPIStatus st = {cim_status(rc), 0};
        if (rc != CMPI_RC_OK && message)
            st.msg = broker->eft->newString(broker, message, 0);
        return st;
    }

    // The CMPI status of a provider's answer.
    CMPIStatus provider_status(int code, const char* operation) const
    {
        CMPIrc rc;
        switch (code) {
        case 0:
            return OK_STATUS;
        case GET_INSTANCE_NOT_FOUND:
            rc = CMPI_RC_ERR_NOT_FOUND;
            break;
        case GET_INSTANCE_UNSUPPORTED:
        case CREATE_INSTANCE_UNSUPPORTED:
        case DELETE_INSTANCE_UNSUPPORTED:
        case MODIFY_INSTANCE_UNSUPPORTED:
        case ENUM_ASSOCIATOR_NAMES_UNSUPPORTED:
        case ENUM_REFERENCES_UNSUPPORTED:
        case INVOKE_METHOD_UNSUPPORTED:
        case ENUM_ASSOCIATORS_UNSUPPORTED:
            rc = CMPI_RC_ERR_NOT_SUPPORTED;
            break;
        default:
            rc = CMPI_RC_ERR_FAILED;
            break;
        }
        char message[160];
        snprintf(message, sizeof message, "%s of %s: provider status %d", operation, meta_class->name, code);
        return status(rc, message);
    }
};

template <class MI>
Adapter* adapter_of(MI* mi)
{
    return static_cast<Adapter*>(const_cast<void*>(mi->hdl));
}

// Holds the adapter's lock and makes the request current for up-calls.
class Call {
public:
    Call(Adapter* a, const CMPIContext* ctx) : _guard(a->lock), _scope(a->broker, ctx, a->repository) {}

private:
    Auto_Mutex _guard;
    Request_Scope _scope;
};

// ---- results ---------------------------------------------------------------

// Hands instances (or their paths) to a CMPIResult.
struct Result_Sink {
    Adapter* adapter;
    const CMPIResult* result;
    String ns;
    const char** props;
    bool names;
    CMPIrc rc = CMPI_RC_OK;

    bool put(const Instance* inst)
    {
        const CMPIBroker* mb = adapter->broker;
        CMPIStatus st = OK_STATUS;
        if (names) {
            CMPIObjectPath* op = make_path(mb, ns.c_str(), inst, &st);
            if (op)
                st = result->ft->returnObjectPath(result, op);
            release(op);
        } else {
            CMPIInstance* ci = make_instance(mb, ns.c_str(), inst, props, &st);
            if (ci)
                st = result->ft->returnInstance(result, ci);
            release(ci);
        }
        if (st.rc == CMPI_RC_OK)
            return true;
        if (rc == CMPI_RC_OK)
            rc = st.rc;
        return false;
    }

    static bool proc(Instance* inst, void* data)
    {
        Ref<Instance> done(inst);   // destroyed whatever put does
        return static_cast<Result_Sink*>(data)->put(inst);
    }

    // The answer of a request whose results went through this sink.
    CMPIStatus finish(int code, const char* operation)
    {
        if (code != 0)
            return adapter->provider_status(code, operation);
        if (rc != CMPI_RC_OK)
            return adapter->status(rc, "a result could not be returned");
        result->ft->returnDone(result);
        return OK_STATUS;
    }
};

// Keeps the instances handed to it.
struct Collector {
    std::vector<Instance*> items;

    ~Collector()
    {
        for (Instance* inst : items)
            destroy(inst);
    }
    static bool proc(Instance* inst, void* data)
    {
        Ref<Instance> held(inst);
        static_cast<Collector*>(data)->items.push_back(inst);
        held.steal();
        return true;
    }
};

// The provider's enumeration into a collector.
int enumerate(Adapter* a, const String& ns, Collector& c)
{
    Ref<Instance> model(create(a->meta_class, true));
    if (!model)
        return -1;
    model->_name_space = ns;
    Handler_Init init = {Collector::proc, &c, 0};
    return a->call(OPERATION_ENUM_INSTANCES, model.ptr(), &init);
}

bool class_served(Adapter* a, const CMPIObjectPath* op) { return is_a(a->meta_class, path_class(op).c_str()); }

CMPIStatus wrong_class(Adapter* a, const CMPIObjectPath* op)
{
    String message("class ");
    message.append(path_class(op));
    message.append(" is not served by this provider");
    return a->status(CMPI_RC_ERR_INVALID_CLASS, message.c_str());
}

CMPIStatus bad_path(Adapter* a, CMPIrc rc)
{
    return a->status(rc, "the object path does not name an instance of the class");
}

// ---- MI life cycle -----------------------------------------------------------

Adapter* acquire(Registration* reg, const CMPIBroker* mb, const CMPIContext* ctx, CMPIStatus* st);

CMPIStatus release_adapter(Adapter* a, const CMPIContext* ctx)
{
    Auto_Mutex guard(adapters_lock());
    if (--a->refs > 0)
        return OK_STATUS;
    {
        Call call(a, ctx);
        a->call(OPERATION_UNLOAD);
        a->call(OPERATION_DESTROY_PROVIDER);
    }
    a->registration->adapter = 0;
    delete a;
    return OK_STATUS;
}

template <class MI>
CMPIStatus mi_cleanup(MI* mi, const CMPIContext* ctx, CMPIBoolean)
{
    return release_adapter(adapter_of(mi), ctx);
}

// ---- instance MI ---------------------------------------------------------------

CMPIStatus enumerate_into(Adapter* a, const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op,
                          const char** props, bool names)
{
    Call call(a, ctx);
    if (!class_served(a, op))
        return wrong_class(a, op);
    Result_Sink sink{a, rslt, path_namespace(op), props, names};
    Ref<Instance> model(create(a->meta_class, true));
    if (!model)
        return a->status(CMPI_RC_ERR_FAILED, "out of memory");
    model->_name_space = sink.ns;
    Handler_Init init = {Result_Sink::proc, &sink, 0};
    const int code = a->call(OPERATION_ENUM_INSTANCES, model.ptr(), &init);
    model.reset();
    return sink.finish(code, "enumeration");
}

CMPIStatus mi_enumerate_instance_names(CMPIInstanceMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                                       const CMPIObjectPath* op)
{
    return enumerate_into(adapter_of(mi), ctx, rslt, op, 0, true);
}

CMPIStatus mi_enumerate_instances(CMPIInstanceMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                                  const CMPIObjectPath* op, const char** props)
{
    return enumerate_into(adapter_of(mi), ctx, rslt, op, props, false);
}

CMPIStatus mi_get_instance(CMPIInstanceMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                           const CMPIObjectPath* op, const char** props)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    if (!class_served(a, op))
        return wrong_class(a, op);
    CMPIrc rc;
    Ref<Instance> model(from_path(op, a->meta_class, a->repository, STRICT, &rc));
    if (!model)
        return bad_path(a, rc);
    Result_Sink sink{a, rslt, model->_name_space, props, false};
    Instance* found = 0;
    int code = a->call(OPERATION_GET_INSTANCE, model.ptr(), &found);
    if (code == GET_INSTANCE_UNSUPPORTED) {
        // Served from the provider's enumeration.
        destroy(found);
        found = 0;
        Collector c;
        code = enumerate(a, model->_name_space, c);
        for (size_t i = 0; code == 0 && i < c.items.size(); i++)
            if (key_eq(c.items[i], model.ptr())) {
                found = c.items[i];
                c.items.erase(c.items.begin() + static_cast<long>(i));
                break;
            }
        if (code == 0 && !found)
            code = GET_INSTANCE_NOT_FOUND;
    }
    if (code == 0 && !found)
        code = GET_INSTANCE_NOT_FOUND;
    Ref<Instance> result(found);
    if (code == 0)
        sink.put(result.ptr());
    result.reset();
    return sink.finish(code, "get");
}

CMPIStatus mi_create_instance(CMPIInstanceMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                              const CMPIObjectPath* op, const CMPIInstance* ci)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    if (!class_served(a, op))
        return wrong_class(a, op);
    CMPIrc rc;
    Ref<Instance> inst(from_instance(ci, a->meta_class, a->repository, STRICT, &rc));
    if (!inst)
        return a->status(rc, "the instance does not fit its class");
    inst->_name_space = path_namespace(op);
    Result_Sink sink{a, rslt, inst->_name_space, 0, true};
    int code = a->call(OPERATION_CREATE_INSTANCE, inst.ptr());
    if (code == 0)
        sink.put(inst.ptr());
    return sink.finish(code, "create");
}

CMPIStatus mi_modify_instance(CMPIInstanceMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                              const CMPIObjectPath* op, const CMPIInstance* ci, const char**)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    if (!class_served(a, op))
        return wrong_class(a, op);
    CMPIrc rc;
    Ref<Instance> model(from_path(op, a->meta_class, a->repository, STRICT, &rc));
    if (!model)
        return bad_path(a, rc);
    Ref<Instance> inst(from_instance(ci, a->meta_class, a->repository, STRICT, &rc));
    if (!inst)
        return a->status(rc, "the instance does not fit its class");
    Result_Sink sink{a, rslt, model->_name_space, 0, true};
    return sink.finish(a->call(OPERATION_MODIFY_INSTANCE, model.ptr(), inst.ptr()), "modify");
}

CMPIStatus mi_delete_instance(CMPIInstanceMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                              const CMPIObjectPath* op)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    if (!class_served(a, op))
        return wrong_class(a, op);
    CMPIrc rc;
    Ref<Instance> model(from_path(op, a->meta_class, a->repository, STRICT, &rc));
    if (!model)
        return bad_path(a, rc);
    Result_Sink sink{a, rslt, model->_name_space, 0, true};
    return sink.finish(a->call(OPERATION_DELETE_INSTANCE, model.ptr()), "delete");
}

CMPIStatus mi_exec_query(CMPIInstanceMI* mi, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*,
                         const char*, const char*)
{
    return adapter_of(mi)->status(CMPI_RC_ERR_NOT_SUPPORTED, "queries are not supported");
}

// ---- association MI ---------------------------------------------------------------

enum Traversal { ASSOCIATORS, REFERENCES };

// The instance an association request starts from, as an instance of the
// module's class the path names; null with OK when the module has no such
// class (then nothing it serves refers to it).
Instance* source_instance(Adapter* a, const CMPIObjectPath* op, CMPIrc* rc)
{
    const Meta_Class* mc = find_meta_class(a->repository, path_class(op).c_str());
    if (!mc) {
        *rc = CMPI_RC_OK;
        return 0;
    }
    return from_path(op, mc, a->repository, STRICT, rc);
}

// True when the end an association holds is the object a request names:
// the request's class or a subclass, equal keys, and the same namespace where
// both name one.
bool same_object(const Instance* end, const Instance* source)
{
    if (!end || !is_subclass(source->meta_class, end->meta_class))
        return false;
    if (!end->_name_space.empty() && !source->_name_space.empty() && end->_name_space != source->_name_space)
        return false;
    return keys_equal(source->meta_class, end, source);
}

bool same_target(const Instance* a, const Instance* b)
{
    return a->meta_class == b->meta_class && a->_name_space == b->_name_space && key_eq(a, b);
}

// Associators and references served from the provider's enumeration.
int traverse(Adapter* a, Traversal kind, const Instance* source, const String& result_class, const String& role,
             const String& result_role, Result_Sink& sink)
{
    Collector c;
    int code = enumerate(a, sink.ns, c);
    if (code != 0)
        return code;
    std::vector<const Instance*> targets;
    for (const Instance* assoc : c.items) {
        const Meta_Class* amc = assoc->meta_class;
        bool refers = false;
        for (size_t i = 0; i < amc->num_features; i++) {
            const Meta_Feature* r = amc->features[i];
            if (!is_reference(r) || (!role.empty() && !eqi(r->name, role.c_str())))
                continue;
            if (!same_object(r->get_ref(assoc), source))
                continue;
            refers = true;
            if (kind != ASSOCIATORS)
                break;
            for (size_t j = 0; j < amc->num_features; j++) {
                const Meta_Feature* other = amc->features[j];
                if (j == i || !is_reference(other) ||
                    (!result_role.empty() && !eqi(other->name, result_role.c_str())))
                    continue;
                const Instance* target = other->get_ref(assoc);
                if (!target || (!result_class.empty() && !is_a(target->meta_class, result_class.c_str())))
                    continue;
                bool seen = false;
                for (const Instance* t : targets)
                    seen = seen || same_target(t, target);
                if (!seen) {
                    targets.push_back(target);
                    sink.put(target);
                }
            }
        }
        if (kind == REFERENCES && refers)
            sink.put(assoc);
    }
    return 0;
}

CMPIStatus associators(CMPIAssociationMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                       const CMPIObjectPath* op, const char* assoc_class, const char* result_class, const char* role,
                       const char* result_role, const char** props, bool names)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    Result_Sink sink{a, rslt, path_namespace(op), props, names};
    if (given(assoc_class) && !is_a(a->meta_class, assoc_class))
        return sink.finish(0, "associators");
    CMPIrc rc;
    Ref<Instance> source(source_instance(a, op, &rc));
    if (!source)
        return rc == CMPI_RC_OK ? sink.finish(0, "associators") : bad_path(a, rc);
    String rcl(result_class), rl(role), rrl(result_role);
    Handler_Init init = {Result_Sink::proc, &sink, 0};
    int operation = names ? OPERATION_ENUM_ASSOCIATOR_NAMES : OPERATION_ENUM_ASSOCIATORS;
    int code = a->call(operation, source.ptr(), &rcl, &rl, &rrl, &init);
    if (code == (names ? ENUM_ASSOCIATOR_NAMES_UNSUPPORTED : ENUM_ASSOCIATORS_UNSUPPORTED))
        code = traverse(a, ASSOCIATORS, source.ptr(), rcl, rl, rrl, sink);
    return sink.finish(code, names ? "associator names" : "associators");
}

CMPIStatus references(CMPIAssociationMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                      const CMPIObjectPath* op, const char* result_class, const char* role, const char** props,
                      bool names)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    Result_Sink sink{a, rslt, path_namespace(op), props, names};
    if (given(result_class) && !is_a(a->meta_class, result_class))
        return sink.finish(0, "references");
    CMPIrc rc;
    Ref<Instance> source(source_instance(a, op, &rc));
    if (!source)
        return rc == CMPI_RC_OK ? sink.finish(0, "references") : bad_path(a, rc);
    Ref<Instance> model(create(a->meta_class, true));
    if (!model)
        return a->status(CMPI_RC_ERR_FAILED, "out of memory");
    model->_name_space = sink.ns;
    String rl(role);
    Handler_Init init = {Result_Sink::proc, &sink, 0};
    int code = a->call(OPERATION_ENUM_REFERENCES, source.ptr(), model.ptr(), &rl, &init);
    if (code == ENUM_REFERENCES_UNSUPPORTED)
        code = traverse(a, REFERENCES, source.ptr(), String(), rl, String(), sink);
    return sink.finish(code, names ? "reference names" : "references");
}

CMPIStatus mi_associators(CMPIAssociationMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                          const CMPIObjectPath* op, const char* assoc_class, const char* result_class,
                          const char* role, const char* result_role, const char** props)
{
    return associators(mi, ctx, rslt, op, assoc_class, result_class, role, result_role, props, false);
}

CMPIStatus mi_associator_names(CMPIAssociationMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                               const CMPIObjectPath* op, const char* assoc_class, const char* result_class,
                               const char* role, const char* result_role)
{
    return associators(mi, ctx, rslt, op, assoc_class, result_class, role, result_role, 0, true);
}

CMPIStatus mi_references(CMPIAssociationMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                         const CMPIObjectPath* op, const char* result_class, const char* role, const char** props)
{
    return references(mi, ctx, rslt, op, result_class, role, props, false);
}

CMPIStatus mi_reference_names(CMPIAssociationMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                              const CMPIObjectPath* op, const char* result_class, const char* role)
{
    return references(mi, ctx, rslt, op, result_class, role, 0, true);
}

// ---- method MI -----------------------------------------------------------------------

CMPIStatus mi_invoke_method(CMPIMethodMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                            const CMPIObjectPath* op, const char* method, const CMPIArgs* in, CMPIArgs* out)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    if (!class_served(a, op))
        return wrong_class(a, op);
    const Meta_Feature* mf = find_feature(a->meta_class, method, CIMPLE_FLAG_METHOD);
    if (!mf) {
        String message("no method ");
        message.append(method ? method : "");
        message.append(" in class ");
        message.append(a->meta_class->name);
        return a->status(CMPI_RC_ERR_METHOD_NOT_FOUND, message.c_str());
    }
    // A path without keys invokes the method on the class.
    CMPIrc rc = CMPI_RC_OK;
    Ref<Instance> self(op->ft->getKeyCount(op, 0) == 0 ? create(a->meta_class, true)
                                                        : from_path(op, a->meta_class, a->repository, STRICT, &rc));
    if (!self)
        return bad_path(a, rc);
    self->_name_space = path_namespace(op);
    Ref<Instance> params(create(mf->meta_class, true));
    if (!params)
        return a->status(CMPI_RC_ERR_FAILED, "out of memory");
    const Meta_Class* pmc = mf->meta_class;
    for (size_t i = 0; in && i < pmc->num_features; i++) {
        const Meta_Feature* p = pmc->features[i];
        if (!(p->flags & CIMPLE_FLAG_IN))
            continue;
        CMPIStatus st = OK_STATUS;
        CMPIData d = in->ft->getArg(in, p->name, &st);
        if (st.rc != CMPI_RC_OK || (d.state & CMPI_notFound))
            continue;
        if (from_data(d, p, params.ptr(), a->repository, STRICT) != CMPI_RC_OK) {
            String message("argument ");
            message.append(p->name);
            message.append(" does not fit its parameter");
            return a->status(CMPI_RC_ERR_INVALID_PARAMETER, message.c_str());
        }
    }
    int code = a->call(OPERATION_INVOKE_METHOD, self.ptr(), params.ptr());
    if (code != 0)
        return a->provider_status(code, mf->name);
    String ns = self->_name_space;
    for (size_t i = 0; i < pmc->num_features; i++) {
        const Meta_Feature* p = pmc->features[i];
        if (!(p->flags & CIMPLE_FLAG_OUT))
            continue;
        Out_Value v;
        rc = to_value(a->broker, ns.c_str(), p, params.ptr(), v);
        if (rc == CMPI_RC_OK && !v.null) {
            if (eqi(p->name, "return_value"))
                rc = rslt->ft->returnData(rslt, v.ptr(), v.type).rc;
            else if (out)
                rc = out->ft->addArg(out, p->name, v.ptr(), v.type).rc;
        }
        if (rc != CMPI_RC_OK)
            return a->status(rc, "an output could not be returned");
    }
    rslt->ft->returnDone(rslt);
    return OK_STATUS;
}

// ---- indication MI ----------------------------------------------------------------------

// Delivers a provider's indications from a thread of its own, attached to the
// broker with a context prepared on the enabling request's thread. A provider
// thread hands an indication over and waits until it is delivered.
class Courier {
public:
    Courier(const CMPIBroker* mb, CMPIContext* ctx, const String& ns) : _mb(mb), _ctx(ctx), _ns(ns)
    {
        _thread = std::thread(&Courier::run, this);
    }

    // Delivers what is still queued, then detaches and ends the thread.
    ~Courier()
    {
        {
            std::lock_guard<std::mutex> g(_m);
            _stop = true;
        }
        _cv.notify_all();
        _thread.join();
    }

    // Takes the indication over; true once the broker accepted it.
    bool post(Instance* inst)
    {
        Job job = {inst, false, false};
        std::unique_lock<std::mutex> g(_m);
        _cv.wait(g, [&] { return _started; });
        if (!_attached || _stop) {
            g.unlock();
            destroy(inst);
            return false;
        }
        _queue.push_back(&job);
        _cv.notify_all();
        _cv.wait(g, [&] { return job.done; });
        return job.ok;
    }

    static bool proc(Instance* inst, void* data) { return static_cast<Courier*>(data)->post(inst); }
    static void end(void* data) { delete static_cast<Courier*>(data); }

private:
    struct Job {
        Instance* inst;
        bool done;
        bool ok;
    };

    void run()
    {
        bool attached = _mb->bft->attachThread(_mb, _ctx).rc == CMPI_RC_OK;
        std::unique_lock<std::mutex> g(_m);
        _started = true;
        _attached = attached;
        _cv.notify_all();
        while (attached) {
            _cv.wait(g, [&] { return _stop || !_queue.empty(); });
            if (_queue.empty())
                break;
            Job* job = _queue.front();
            _queue.pop_front();
            g.unlock();
            bool ok = false;
            try {
                ok = deliver(job->inst);
            } catch (...) {
                // Not delivered (no memory to convert it); the thread goes on.
            }
            destroy(job->inst);
            g.lock();
            job->ok = ok;
            job->done = true;
            _cv.notify_all();
        }
        g.unlock();
        if (attached)
            _mb->bft->detachThread(_mb, _ctx);
        else
            release(_ctx);
    }

    bool deliver(const Instance* inst)
    {
        const char* ns = inst->_name_space.empty() ? _ns.c_str() : inst->_name_space.c_str();
        CMPIStatus st = OK_STATUS;
        CMPIInstance* ci = make_instance(_mb, ns, inst, 0, &st);
        if (!ci)
            return false;
        st = _mb->bft->deliverIndication(_mb, _ctx, ns, ci);
        release(ci);
        return st.rc == CMPI_RC_OK;
    }

    const CMPIBroker* _mb;
    CMPIContext* _ctx;
    String _ns;
    std::thread _thread;
    std::mutex _m;
    std::condition_variable _cv;
    std::deque<Job*> _queue;
    bool _started = false;
    bool _attached = false;
    bool _stop = false;
};

CMPIStatus mi_authorize_filter(CMPIIndicationMI*, const CMPIContext*, const CMPISelectExp*, const char*,
                               const CMPIObjectPath*, const char*)
{
    return OK_STATUS;
}

CMPIStatus mi_must_poll(CMPIIndicationMI* mi, const CMPIContext*, const CMPISelectExp*, const char*,
                        const CMPIObjectPath*)
{
    return adapter_of(mi)->status(CMPI_RC_ERR_NOT_SUPPORTED, "the provider delivers its indications itself");
}

CMPIStatus mi_activate_filter(CMPIIndicationMI* mi, const CMPIContext* ctx, const CMPISelectExp*, const char*,
                              const CMPIObjectPath* op, CMPIBoolean)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    if (op) {
        String ns = path_namespace(op);
        if (!ns.empty())
            a->indication_ns = ns;
    }
    return OK_STATUS;
}

CMPIStatus mi_deactivate_filter(CMPIIndicationMI*, const CMPIContext*, const CMPISelectExp*, const char*,
                                const CMPIObjectPath*, CMPIBoolean)
{
    return OK_STATUS;
}

CMPIStatus mi_enable_indications(CMPIIndicationMI* mi, const CMPIContext* ctx)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    CMPIContext* prepared = a->broker->bft->prepareAttachThread(a->broker, ctx);
    if (!prepared)
        return a->status(CMPI_RC_ERR_FAILED, "the broker prepared no context for the delivering thread");
    // Indications go to the namespace of the filters, else the one the
    // provider was loaded for.
    String ns = a->indication_ns;
    if (ns.empty()) {
        CMPIStatus st = OK_STATUS;
        CMPIData d = ctx->ft->getEntry(ctx, CMPIInitNameSpace, &st);
        if (st.rc == CMPI_RC_OK && !(d.state & CMPI_nullValue))
            ns = d.type == CMPI_string ? String(chars(d.value.string))
                                       : d.type == CMPI_chars ? String(d.value.chars) : String();
    }
    if (ns.empty())
        ns = "root/cimv2";
    Courier* courier = nullptr;
    try {
        courier = new Courier(a->broker, prepared, ns);
    } catch (...) {
        release(prepared);
        throw;
    }
    Handler_Init init = {Courier::proc, courier, Courier::end};
    return a->provider_status(a->call(OPERATION_ENABLE_INDICATIONS, &init), "enable indications");
}

CMPIStatus mi_disable_indications(CMPIIndicationMI* mi, const CMPIContext* ctx)
{
    Adapter* a = adapter_of(mi);
    Call call(a, ctx);
    return a->provider_status(a->call(OPERATION_DISABLE_INDICATIONS), "disable indications");
}

// ---- the tables -----------------------------------------------------------------------

// An MI operation as the server calls it: no exception reaches the server.
// A failed allocation, or any other exception, is the operation's failure.
template <auto Operation>
struct Guarded;

template <class MI, class... Args, CMPIStatus (*Operation)(MI*, Args...)>
struct Guarded<Operation> {
    static CMPIStatus call(MI* mi, Args... args) noexcept
    {
        const char* message;
        try {
            return Operation(mi, args...);
        } catch (const std::bad_alloc&) {
            message = "out of memory";
        } catch (...) {
            message = "the provider failed";
        }
        CMPIStatus st = {CMPI_RC_ERR_FAILED, 0};
        try {
            st = adapter_of(mi)->status(CMPI_RC_ERR_FAILED, message);
        } catch (...) {
        }
        return st;
    }
};

const char ADAPTER_NAME[] = "cimple_cmpi_adapter";

const CMPIInstanceMIFT instance_ft = {CMPICurrentVersion,
                                      CMPICurrentVersion,
                                      ADAPTER_NAME,
                                      Guarded<mi_cleanup<CMPIInstanceMI>>::call,
                                      Guarded<mi_enumerate_instance_names>::call,
                                      Guarded<mi_enumerate_instances>::call,
                                      Guarded<mi_get_instance>::call,
                                      Guarded<mi_create_instance>::call,
                                      Guarded<mi_modify_instance>::call,
                                      Guarded<mi_delete_instance>::call,
                                      Guarded<mi_exec_query>::call};

const CMPIMethodMIFT method_ft = {CMPICurrentVersion, CMPICurrentVersion, ADAPTER_NAME,
                                  Guarded<mi_cleanup<CMPIMethodMI>>::call, Guarded<mi_invoke_method>::call};

const CMPIAssociationMIFT association_ft = {CMPICurrentVersion,
                                            CMPICurrentVersion,
                                            ADAPTER_NAME,
                                            Guarded<mi_cleanup<CMPIAssociationMI>>::call,
                                            Guarded<mi_associators>::call,
                                            Guarded<mi_associator_names>::call,
                                            Guarded<mi_references>::call,
                                            Guarded<mi_reference_names>::call};

const CMPIIndicationMIFT indication_ft = {CMPICurrentVersion,
                                          CMPICurrentVersion,
                                          ADAPTER_NAME,
                                          Guarded<mi_cleanup<CMPIIndicationMI>>::call,
                                          Guarded<mi_authorize_filter>::call,
                                          Guarded<mi_must_poll>::call,
                                          Guarded<mi_activate_filter>::call,
                                          Guarded<mi_deactivate_filter>::call,
                                          Guarded<mi_enable_indications>::call,
                                          Guarded<mi_disable_indications>::call};

void fail(const CMPIBroker* mb, CMPIStatus* st, CMPIrc rc, const char* message)
{
    if (!st)
        return;
    st->rc = rc;
    st->msg = mb && mb->eft ? mb->eft->newString(mb, message, 0) : 0;
}

// The adapter of a provider, made (with the provider object, loaded) by the
// first factory called; counts one more MI in use.
Adapter* acquire(Registration* reg, const CMPIBroker* mb, const CMPIContext* ctx, CMPIStatus* st)
{
    if (!reg || !mb) {
        fail(mb, st, CMPI_RC_ERR_FAILED, "no broker");
        return 0;
    }
    Auto_Mutex guard(adapters_lock());
    Adapter* a = static_cast<Adapter*>(reg->adapter);
    if (!a) {
        std::unique_ptr<Adapter> made(new Adapter(reg, mb));
        a = made.get();
        a->instance_mi = {a, &instance_ft};
        a->method_mi = {a, &method_ft};
        a->association_mi = {a, &association_ft};
        a->indication_mi = {a, &indication_ft};
        reg->proc(reg, OPERATION_GET_META_CLASS, &a->meta_class, 0, 0, 0, 0, 0, 0, 0);
        reg->proc(reg, OPERATION_GET_REPOSITORY, &a->repository, 0, 0, 0, 0, 0, 0, 0);
        int code = reg->proc(reg, OPERATION_CREATE_PROVIDER, &a->provider, 0, 0, 0, 0, 0, 0, 0);
        if (code == 0 && a->provider) {
            Call call(a, ctx);
            try {
                code = a->call(OPERATION_LOAD);
            } catch (...) {
                a->call(OPERATION_DESTROY_PROVIDER);
                throw;
            }
            if (code != 0)
                a->call(OPERATION_DESTROY_PROVIDER);
        } else {
            code = -1;
        }
        if (code != 0) {
            fail(mb, st, CMPI_RC_ERR_FAILED, "the provider could not be created and loaded");
            return 0;
        }
        reg->adapter = made.release();
    }
    a->refs++;
    return a;
}

// A factory: the MI of that kind of the provider's adapter. No exception
// reaches the server: a failed allocation, or any other exception, makes no
// MI.
template <class MI, MI Adapter::*member>
MI* create_mi(Registration* reg, const CMPIBroker* mb, const CMPIContext* ctx, CMPIStatus* st) noexcept
{
    const char* message;
    try {
        Adapter* a = acquire(reg, mb, ctx, st);
        return a ? &(a->*member) : 0;
    } catch (const std::bad_alloc&) {
        message = "out of memory";
    } catch (...) {
        message = "the provider could not be created and loaded";
    }
    try {
        fail(mb, st, CMPI_RC_ERR_FAILED, message);
    } catch (...) {
    }
    return 0;
}

} // namespace
} // namespace cmpi

CMPIInstanceMI* cmpi_create_instance_mi(Registration* reg, const CMPIBroker* mb, const CMPIContext* ctx,
                                        CMPIStatus* st)
{
    return cmpi::create_mi<CMPIInstanceMI, &cmpi::Adapter::instance_mi>(reg, mb, ctx, st);
}

CMPIMethodMI* cmpi_create_method_mi(Registration* reg, const CMPIBroker* mb, const CMPIContext* ctx,
                                    CMPIStatus* st)
{
    return cmpi::create_mi<CMPIMethodMI, &cmpi::Adapter::method_mi>(reg, mb, ctx, st);
}

CMPIAssociationMI* cmpi_create_association_mi(Registration* reg, const CMPIBroker* mb, const CMPIContext* ctx,
                                              CMPIStatus* st)
{
    return cmpi::create_mi<CMPIAssociationMI, &cmpi::Adapter::association_mi>(reg, mb, ctx, st);
}

CMPIIndicationMI* cmpi_create_indication_mi(Registration* reg, const CMPIBroker* mb, const CMPIContext* ctx,
                                            CMPIStatus* st)
{
    return cmpi::create_mi<CMPIIndicationMI, &cmpi::Adapter::indication_mi>(reg, mb, ctx, st);
}

} // namespace cimple
