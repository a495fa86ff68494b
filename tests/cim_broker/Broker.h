// A CIM broker for tests and tools: it loads a provider module through CMPI
// alone, as a CIM server does, and drives its providers.
//
// The broker finds a class's provider by the factory names
// "<Class>_Provider_Create_<Kind>MI", calls each MI operation on the calling
// thread with objects that belong to that call and are freed when it returns,
// receives indications, and answers the providers' up-calls for other
// namespaces from a fixture. Modules stay loaded until the process ends.
// Every method may be called from several threads at once.
//
// It is as strict as the strictest real server:
// - a CMPI_chars value handed in is the char pointer itself (cast to
//   CMPIValue*); text comes back as CMPI_string;
// - an array takes elements of the type it was made with only;
// - it knows the classes a module was built with (read from its
//   cimple_module record, as a server holds the module's class file): it
//   makes no instance of a class it lacks (CMPI_RC_ERR_INVALID_CLASS), and
//   refuses a property, key, output argument or return value the class or
//   method lacks (CMPI_RC_ERR_NO_SUCH_PROPERTY) or of another type
//   (CMPI_RC_ERR_TYPE_MISMATCH);
// - a status an MI answers must be a CIM status code (CMPI_RC_OK to
//   CMPI_RC_ERR_METHOD_NOT_FOUND; a cleanup may also keep its module): any
//   other is noted as a violation and answered as CMPI_RC_ERR_FAILED;
// - the items of an up-call's instance enumeration carry CMPI_nullValue in
//   their state although each holds an instance.
#ifndef CIM_BROKER_BROKER_H
#define CIM_BROKER_BROKER_H

#include <cmpift.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace cimbroker {

struct Path;
struct Inst;

// A CIM value as the broker holds it. Text values (strings, char pointers)
// have type CMPI_string, datetimes their 25-character text; an array holds
// its elements, each with the element type.
struct Value {
    CMPIType type = CMPI_null;
    bool null = true;
    CMPIValue scalar{};
    std::string text;
    std::shared_ptr<Path> ref;
    std::shared_ptr<Inst> inst;
    std::vector<Value> elements;

    static Value nullOf(CMPIType type);
    static Value string(const std::string& s);
    static Value boolean(bool b);
    static Value uint(CMPIType type, unsigned long long v);
    static Value sint(CMPIType type, long long v);
    static Value real(CMPIType type, double v);
    static Value char16(unsigned short c);
    static Value datetime(const std::string& cimText);
    static Value reference(const Path& p);
    static Value array(CMPIType elementType, std::vector<Value> elements);

    bool operator==(const Value& o) const;
    bool operator!=(const Value& o) const { return !(*this == o); }
};

typedef std::vector<std::pair<std::string, Value>> Named;

// Finds a value by name, without regard to case; null when absent.
const Value* find(const Named& values, const std::string& name);

struct Path {
    std::string ns;
    std::string cls;
    Named keys;

    // "ns:Class.Key=value,..." with strings and references quoted.
    std::string text() const;
    bool operator==(const Path& o) const;
};

struct Inst {
    Path path;
    Named props;

    const Value* prop(const std::string& name) const { return find(props, name); }
};

struct Status {
    CMPIrc rc = CMPI_RC_OK;
    std::string msg;
    bool ok() const { return rc == CMPI_RC_OK; }
};

enum class MIKind { Instance, Method, Association, Indication };

class Broker {
public:
    Broker();
    // Cleans up every MI still loaded (terminating), as a server that stops.
    ~Broker();
    Broker(const Broker&) = delete;
    Broker& operator=(const Broker&) = delete;

    // Opens a provider module (kept open) and takes in the classes it was
    // built with; false with a reason on failure.
    bool loadModule(const std::string& path, std::string* error = nullptr);
    // True when a loaded module has the factory of that kind for the class.
    bool hasFactory(const std::string& cls, MIKind kind) const;

    // The operations below call the needed factory on first use; these call
    // it, or the MI's cleanup, explicitly.
    Status loadMI(const std::string& cls, MIKind kind);
    Status cleanupMI(const std::string& cls, MIKind kind, bool terminating = false);
    // Cleans up every MI still loaded (terminating), the latest first.
    void cleanupAll();

    Status enumerateInstances(const std::string& ns, const std::string& cls, std::vector<Inst>& out,
                              const std::vector<std::string>* props = nullptr);
    Status enumerateInstanceNames(const std::string& ns, const std::string& cls, std::vector<Path>& out);
    Status getInstance(const Path& path, Inst& out, const std::vector<std::string>* props = nullptr);
    Status createInstance(const Inst& inst, Path& out);
    Status modifyInstance(const Inst& inst);
    Status deleteInstance(const Path& path);
    Status execQuery(const std::string& ns, const std::string& cls, const std::string& query,
                     std::vector<Inst>& out);

    // Association traversals go to the provider of `assocProvider`; the
    // class and role filters are passed on as given (null for none).
    Status associators(const std::string& assocProvider, const Path& source, const char* assocClass,
                       const char* resultClass, const char* role, const char* resultRole, std::vector<Inst>& out);
    Status associatorNames(const std::string& assocProvider, const Path& source, const char* assocClass,
                           const char* resultClass, const char* role, const char* resultRole,
                           std::vector<Path>& out);
    Status references(const std::string& assocProvider, const Path& source, const char* resultClass,
                      const char* role, std::vector<Inst>& out);
    Status referenceNames(const std::string& assocProvider, const Path& source, const char* resultClass,
                          const char* role, std::vector<Path>& out);

    Status invokeMethod(const Path& path, const std::string& method, const Named& in, Named& out, Value& ret);

    // Indications of a class: the filter calls with the query
    // "SELECT * FROM <cls>", and enabling and disabling.
    Status authorizeFilter(const std::string& ns, const std::string& cls);
    Status mustPoll(const std::string& ns, const std::string& cls);
    Status activateFilter(const std::string& ns, const std::string& cls, bool first = true);
    Status deactivateFilter(const std::string& ns, const std::string& cls, bool last = true);
    Status enableIndications(const std::string& cls);
    Status disableIndications(const std::string& cls);

    struct Delivery {
        std::string ns;
        Inst indication;
        // Delivered on a thread attached with the context given to it.
        bool attached;
    };
    std::vector<Delivery> deliveries() const;
    // Waits until at least `count` indications arrived; false on timeout.
    bool waitForDeliveries(size_t count, std::chrono::milliseconds timeout) const;

    // The fixture for up-calls into namespaces no loaded provider serves:
    // the instances an enumeration of the class returns, or its error.
    void setUpcallInstances(const std::string& ns, const std::string& cls, std::vector<Inst> instances);
    void setUpcallError(const std::string& ns, const std::string& cls, CMPIrc rc);
    size_t upcallCount() const;

    // The status with which the broker refuses every instance and object
    // path a provider returns, as a server refuses what it cannot take;
    // CMPI_RC_OK (the default) takes them.
    void refuseResults(CMPIrc rc);

    // Misuse of broker services the broker saw: services used on a thread
    // that is not attached, up-calls with another context than the
    // request's, releasing objects the broker owns.
    std::vector<std::string> violations() const;

    // For the broker's own objects.
    void noteViolation(const std::string& what);
    const CMPIBroker* cmpi() const { return &_cmpi; }
    struct Internals;
    Internals& internals() { return *_internals; }

private:
    void* mi(const std::string& cls, MIKind kind, Status& st);
    // One MI call in a request of its own: `call(mi, ctx, result)` makes it,
    // `collect(result)` takes the results before the request's objects go.
    template <class MI, class Call, class Collect>
    Status request(const std::string& cls, MIKind kind, Call call, Collect collect);

    CMPIBroker _cmpi;
    std::unique_ptr<Internals> _internals;
};

// The broker behind a CMPIBroker pointer that this library made.
Broker* brokerOf(const CMPIBroker* mb);

// Text of a CMPIrc ("CMPI_RC_ERR_NOT_FOUND").
const char* rcName(CMPIrc rc);

// The instance as MOF-like text: "instance of Class\n{\n    Name = value;\n...};\n"
// with the properties in their order, strings quoted and escaped.
std::string mofText(const Inst& inst);
std::string valueText(const Value& v);

} // namespace cimbroker

#endif
