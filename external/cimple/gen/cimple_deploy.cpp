// cimple_deploy: writes what a CIM server needs to serve a built provider
// module, from the module itself: its registrations (the providers and the
// classes they serve), the meta records of its classes and the CMPI factories
// it exports.
//
//   cimple_deploy MODULE OUT_DIR --namespace NS --schema VERSION
//                 [--interop CLASS]... [--not-in-schema CLASS]...
//                 [--vendor TEXT] [--version TEXT]
//
// loads MODULE (lib<location>.so) as a CIM server does and writes
//
//   OUT_DIR/<location>.mof          the module's classes of namespace NS
//   OUT_DIR/<location>-interop.mof  the module's classes of the interop namespace
//   OUT_DIR/<location>.reg          sfcb's registration of the providers of NS
//   OUT_DIR/<location>-interop.reg  sfcb's registration of those of the interop namespace
//   OUT_DIR/<location>-pegasus.mof  OpenPegasus's registration of every provider
//
// A class file is compiled against the DMTF CIM schema VERSION that the
// server already holds: it defines the module's own classes and names their
// CIM_ superclasses, except for a CIM_ class given with --not-in-schema, which
// it defines before the first class that needs it. It uses the schema's
// qualifiers without declaring them. The classes derived from a class given
// with --interop, and the associations that refer to such classes only, are
// served in the interop namespace ("root/interop" for sfcb,
// "root/PG_InterOp" for OpenPegasus); every other class in NS. A file holds
// the classes of its namespace and the module classes they refer to, each
// after the classes it names.
//
// A provider is registered for its class with the provider types of the
// factories the module exports for it (<provider>_Create_<Kind>MI); an
// indication provider also for every subclass of its class that no other
// provider serves. Exit status: 0 written, 1 failed, 2 bad arguments.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <cimple/Provider.h>

// The module may load several libraries that define the same globals (the
// first one loaded serves them); AddressSanitizer reports only globals whose
// sizes differ between them.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options()
{
    return "detect_odr_violation=1";
}

namespace {

using cimple::Meta_Class;
using cimple::Meta_Feature;

const char* const SFCB_INTEROP = "root/interop";
const char* const PEGASUS_INTEROP = "root/PG_InterOp";

[[noreturn]] void fail(const std::string& message)
{
    fprintf(stderr, "cimple_deploy: %s\n", message.c_str());
    exit(1);
}

bool eqi(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

const char* typeName(cimple::Type type)
{
    static const char* const names[] = {"boolean", "uint8",  "sint8",  "uint16", "sint16", "uint32", "sint32",
                                        "uint64",  "sint64", "real32", "real64", "char16", "string", "datetime"};
    return names[type];
}

bool derives(const Meta_Class* mc, const std::string& ancestor)
{
    for (; mc; mc = mc->super_meta_class)
        if (eqi(mc->name, ancestor))
            return true;
    return false;
}

// The feature of that name and kind among the class's features, or null.
const Meta_Feature* findFeature(const Meta_Class* mc, const char* name, cimple::uint32 kinds)
{
    for (size_t i = 0; mc && i < mc->num_features; i++)
        if ((mc->features[i]->flags & kinds) && eqi(mc->features[i]->name, name))
            return mc->features[i];
    return nullptr;
}

// The features a class declares itself: new ones and overrides, whose
// records differ from the superclass's.
std::vector<const Meta_Feature*> ownFeatures(const Meta_Class* mc)
{
    std::vector<const Meta_Feature*> own;
    const Meta_Class* super = mc->super_meta_class;
    for (size_t i = 0; i < mc->num_features; i++) {
        bool inherited = false;
        for (size_t j = 0; super && j < super->num_features && !inherited; j++)
            inherited = super->features[j] == mc->features[i];
        if (!inherited)
            own.push_back(mc->features[i]);
    }
    return own;
}

struct Provider {
    std::string name;
    const Meta_Class* cls = nullptr;
    // The kinds of factories the module exports for it.
    bool instance = false, association = false, method = false, indication = false;
    std::vector<const Meta_Class*> classes; // the classes it is registered for
};

class Deployment {
public:
    std::string moduleName, location, ns, schema, vendor = "unknown", version = "1.0.0";
    std::vector<std::string> interopBases, notInSchema;
    const cimple::Meta_Repository* repository = nullptr;
    std::vector<Provider> providers;

    bool isSchemaClass(const Meta_Class* mc) const
    {
        if (strncmp(mc->name, "CIM_", 4) != 0)
            return false;
        for (const std::string& name : notInSchema)
            if (eqi(name, mc->name))
                return false;
        return true;
    }

    bool isInterop(const Meta_Class* mc) const
    {
        if (isSchemaClass(mc))
            return false;
        for (const std::string& base : interopBases)
            if (derives(mc, base))
                return true;
        if (!(mc->flags & cimple::CIMPLE_FLAG_ASSOCIATION) || interopBases.empty())
            return false;
        for (size_t i = 0; i < mc->num_features; i++) {
            const Meta_Feature* f = mc->features[i];
            if (!(f->flags & cimple::CIMPLE_FLAG_REFERENCE))
                continue;
            bool toInterop = false;
            for (const std::string& base : interopBases)
                toInterop = toInterop || derives(f->meta_class, base);
            if (!toInterop)
                return false;
        }
        return true;
    }

    // The module classes a class names: its superclass, the classes of the
    // references and reference parameters it declares.
    std::vector<const Meta_Class*> dependencies(const Meta_Class* mc) const
    {
        std::vector<const Meta_Class*> out;
        auto add = [&](const Meta_Class* c) {
            if (c && !isSchemaClass(c))
                out.push_back(c);
        };
        add(mc->super_meta_class);
        for (const Meta_Feature* f : ownFeatures(mc)) {
            if (f->flags & cimple::CIMPLE_FLAG_REFERENCE)
                add(f->meta_class);
            if (f->flags & cimple::CIMPLE_FLAG_METHOD)
                for (size_t i = 0; i < f->meta_class->num_features; i++)
                    if (f->meta_class->features[i]->flags & cimple::CIMPLE_FLAG_REFERENCE)
                        add(f->meta_class->features[i]->meta_class);
        }
        return out;
    }

    // The classes of one namespace in the order of their definitions.
    std::vector<const Meta_Class*> classesOf(bool interop) const
    {
        std::vector<const Meta_Class*> order;
        std::map<const Meta_Class*, int> state; // 1 visiting, 2 done
        std::function<void(const Meta_Class*)> visit = [&](const Meta_Class* mc) {
            if (state[mc] == 2)
                return;
            if (state[mc] == 1)
                fail(std::string("the classes around ") + mc->name + " name each other");
            state[mc] = 1;
            for (const Meta_Class* d : dependencies(mc))
                visit(d);
            state[mc] = 2;
            order.push_back(mc);
        };
        // From the module's own classes; a CIM_ class of the module only
        // where one of them needs it.
        for (size_t i = 0; i < repository->num_meta_classes; i++) {
            const Meta_Class* mc = repository->meta_classes[i];
            if (strncmp(mc->name, "CIM_", 4) != 0 && isInterop(mc) == interop)
                visit(mc);
        }
        return order;
    }

    std::string classFile(bool interop) const
    {
        std::ostringstream o;
        o << "// " << moduleName << ": the CIM classes that lib" << location << ".so serves in "
          << (interop ? std::string("the interop namespace") : "namespace \"" + ns + "\"") << ".\n";
        o << "// Generated by cimple_deploy from the module; do not edit.\n//\n";
        o << "// Needs the DMTF CIM schema " << schema << " in the namespace: compile this file against the\n"
          << "// CIM server's installed schema, which declares the qualifiers used here and\n"
          << "// defines the CIM_ superclasses named here.\n";
        if (interop)
            o << "// The interop namespace is \"" << SFCB_INTEROP << "\" in sfcb, \"" << PEGASUS_INTEROP
              << "\" in OpenPegasus.\n";
        for (const Meta_Class* mc : classesOf(interop))
            writeClass(o, mc);
        return o.str();
    }

    std::string sfcbRegistration(bool interop) const
    {
        std::ostringstream o;
        o << "# " << moduleName << ": sfcb's registration of the providers of lib" << location
          << ".so in namespace \"" << (interop ? SFCB_INTEROP : ns.c_str()) << "\".\n";
        o << "# Generated by cimple_deploy from the module; do not edit.\n";
        for (const Provider& p : providers)
            for (const Meta_Class* mc : p.classes) {
                if (isInterop(mc) != interop)
                    continue;
                o << "#\n[" << mc->name << "]\n";
                o << "   provider: " << p.name << "\n";
                o << "   location: " << location << "\n";
                o << "   type:";
                if (p.instance)
                    o << " instance";
                if (p.association)
                    o << " association";
                if (p.method)
                    o << " method";
                if (p.indication)
                    o << " indication";
                o << "\n   namespace: " << (interop ? SFCB_INTEROP : ns.c_str()) << "\n";
                // An indication provider unloaded when idle would stop its
                // threads, and with them the indications.
                if (p.indication)
                    o << "   unload: never\n";
            }
        return o.str();
    }

    std::string pegasusRegistration() const
    {
        std::ostringstream o;
        o << "// " << moduleName << ": OpenPegasus's registration of the providers of lib" << location
          << ".so,\n// compiled into namespace \"" << PEGASUS_INTEROP
          << "\". Generated by cimple_deploy from the module; do not edit.\n\n";
        o << "instance of PG_ProviderModule\n{\n    Name = \"" << moduleName << "\";\n    Vendor = \"" << vendor
          << "\";\n    Version = \"" << version << "\";\n    InterfaceType = \"CMPI\";\n"
          << "    InterfaceVersion = \"2.0.0\";\n    Location = \"" << location << "\";\n};\n";
        for (const Provider& p : providers) {
            o << "\ninstance of PG_Provider\n{\n    ProviderModuleName = \"" << moduleName << "\";\n    Name = \""
              << p.name << "\";\n};\n";
            std::string types;
            auto add = [&types](bool has, const char* code) {
                if (has)
                    types += (types.empty() ? "" : ", ") + std::string(code);
            };
            add(p.instance, "2");
            add(p.association, "3");
            add(p.indication, "4");
            add(p.method, "5");
            for (const Meta_Class* mc : p.classes)
                o << "\ninstance of PG_ProviderCapabilities\n{\n    ProviderModuleName = \"" << moduleName
                  << "\";\n    ProviderName = \"" << p.name << "\";\n    CapabilityID = \"" << mc->name
                  << "\";\n    ClassName = \"" << mc->name << "\";\n    Namespaces = {\""
                  << (isInterop(mc) ? PEGASUS_INTEROP : ns.c_str()) << "\"};\n    ProviderType = {" << types
                  << "};\n    SupportedProperties = NULL;\n    SupportedMethods = NULL;\n};\n";
        }
        return o.str();
    }

private:
    // "[A, B]", or nothing for none.
    static std::string qualifiers(const std::vector<std::string>& q)
    {
        std::string s;
        for (const std::string& x : q)
            s += (s.empty() ? "[" : ", ") + x;
        return s.empty() ? s : s + "]";
    }

    static std::string declaration(const Meta_Feature* f)
    {
        if (f->flags & cimple::CIMPLE_FLAG_REFERENCE)
            return std::string(f->meta_class->name) + " REF " + f->name;
        return std::string(typeName(f->type)) + " " + f->name + (f->array ? "[]" : "");
    }

    static void writeClass(std::ostream& o, const Meta_Class* mc)
    {
        std::vector<std::string> q;
        if (mc->flags & cimple::CIMPLE_FLAG_ASSOCIATION)
            q.push_back("Association");
        if (mc->flags & cimple::CIMPLE_FLAG_INDICATION)
            q.push_back("Indication");
        if (mc->flags & cimple::CIMPLE_FLAG_ABSTRACT)
            q.push_back("Abstract");
        o << "\n";
        if (!q.empty())
            o << qualifiers(q) << "\n";
        o << "class " << mc->name;
        if (mc->super_meta_class)
            o << " : " << mc->super_meta_class->name;
        o << "\n{\n";
        for (const Meta_Feature* f : ownFeatures(mc)) {
            std::vector<std::string> fq;
            if (f->flags & cimple::CIMPLE_FLAG_KEY)
                fq.push_back("Key");
            const cimple::uint32 kind =
                f->flags & (cimple::CIMPLE_FLAG_PROPERTY | cimple::CIMPLE_FLAG_REFERENCE | cimple::CIMPLE_FLAG_METHOD);
            if (findFeature(mc->super_meta_class, f->name, kind))
                fq.push_back(std::string("Override(\"") + f->name + "\")");
            o << "    " << qualifiers(fq) << (fq.empty() ? "" : " ");
            if (!(f->flags & cimple::CIMPLE_FLAG_METHOD)) {
                o << declaration(f) << ";\n";
                continue;
            }
            o << typeName(f->type) << " " << f->name << "(";
            const Meta_Class* params = f->meta_class;
            bool first = true;
            for (size_t i = 0; i < params->num_features; i++) {
                const Meta_Feature* p = params->features[i];
                if (strcmp(p->name, "return_value") == 0)
                    continue;
                const bool in = p->flags & cimple::CIMPLE_FLAG_IN, out = p->flags & cimple::CIMPLE_FLAG_OUT;
                o << (first ? "\n        " : ",\n        ")
                  << (in && out ? "[IN, OUT] " : out ? "[IN(false), OUT] " : "[IN] ") << declaration(p);
                first = false;
            }
            o << ");\n";
        }
        o << "};\n";
    }
};

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        fail("cannot write " + path);
}

void usage()
{
    fprintf(stderr, "usage: cimple_deploy MODULE OUT_DIR --namespace NS --schema VERSION [--interop CLASS]...\n"
                    "                     [--not-in-schema CLASS]... [--vendor TEXT] [--version TEXT]\n");
    exit(2);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        usage();
    const std::string modulePath = argv[1], outDir = argv[2];
    Deployment d;
    for (int i = 3; i < argc; i += 2) {
        if (i + 1 >= argc)
            usage();
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--namespace")
            d.ns = value;
        else if (option == "--schema")
            d.schema = value;
        else if (option == "--interop")
            d.interopBases.push_back(value);
        else if (option == "--not-in-schema")
            d.notInSchema.push_back(value);
        else if (option == "--vendor")
            d.vendor = value;
        else if (option == "--version")
            d.version = value;
        else
            usage();
    }
    if (d.ns.empty() || d.schema.empty())
        usage();

    // The server's library name: lib<location>.so.
    const std::string file = modulePath.substr(modulePath.rfind('/') + 1);
    if (file.size() <= 6 || file.compare(0, 3, "lib") != 0 || file.compare(file.size() - 3, 3, ".so") != 0)
        fail(modulePath + " is not named lib<location>.so");
    d.location = file.substr(3, file.size() - 6);

    void* module = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!module)
        fail(std::string("cannot load ") + modulePath + ": " + dlerror());
    auto moduleRecord = reinterpret_cast<cimple::Module* (*)()>(dlsym(module, "cimple_module"));
    if (!moduleRecord)
        fail(modulePath + " is no provider module (no cimple_module)");
    const cimple::Module* m = moduleRecord();
    d.moduleName = m->name;
    for (const cimple::Registration* r = m->registrations; r; r = r->next) {
        Provider p;
        p.name = r->provider_name;
        const Meta_Class* mc = nullptr;
        const cimple::Meta_Repository* repository = nullptr;
        if (r->proc(r, cimple::OPERATION_GET_META_CLASS, &mc, 0, 0, 0, 0, 0, 0, 0) != 0 || !mc ||
            r->proc(r, cimple::OPERATION_GET_REPOSITORY, &repository, 0, 0, 0, 0, 0, 0, 0) != 0 || !repository)
            fail(p.name + " names no class");
        if (d.repository && d.repository != repository)
            fail(p.name + " serves a class of another class table");
        d.repository = repository;
        p.cls = mc;
        p.classes.push_back(mc);
        auto exports = [&](const char* kind) { return dlsym(module, (p.name + "_Create_" + kind + "MI").c_str()); };
        p.instance = exports("Instance");
        p.association = exports("Association");
        p.method = exports("Method");
        p.indication = exports("Indication");
        if (!p.instance && !p.association && !p.method && !p.indication)
            fail(p.name + " exports no factory");
        d.providers.push_back(p);
    }
    if (!d.repository)
        fail(modulePath + " registers no provider");
    // An indication provider delivers the subclasses of its class as well.
    for (Provider& p : d.providers) {
        if (!p.indication)
            continue;
        for (size_t i = 0; i < d.repository->num_meta_classes; i++) {
            const Meta_Class* mc = d.repository->meta_classes[i];
            if (mc == p.cls || !derives(mc, p.cls->name))
                continue;
            bool served = false;
            for (const Provider& other : d.providers)
                served = served || other.cls == mc;
            if (!served)
                p.classes.push_back(mc);
        }
    }

    const std::string stem = outDir + "/" + d.location;
    writeFile(stem + ".mof", d.classFile(false));
    writeFile(stem + "-interop.mof", d.classFile(true));
    writeFile(stem + ".reg", d.sfcbRegistration(false));
    writeFile(stem + "-interop.reg", d.sfcbRegistration(true));
    writeFile(stem + "-pegasus.mof", d.pegasusRegistration());
    return 0;
}
