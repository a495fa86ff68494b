// What a deployer installs of libkrnacim: the class files hold exactly the
// KRNA_ classes of the class table, over the CIM schema a server already
// has; the sfcb and OpenPegasus registrations name exactly the providers
// whose factories the module exports, with their provider types; and an
// install to a prefix serves from there what the build serves, and keeps
// the monitors' files of an earlier install.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ModuleTestSupport.h"
#include "support/TestUtil.h"

namespace {

namespace fs = std::filesystem;
using testsupport::readFile;

const std::string DEPLOY_DIR = KRNACIM_DEPLOY_DIR;
const char* const INTEROP_BASES[] = {"CIM_RegisteredProfile", "CIM_ReferencedProfile"};

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

// What a command prints on its standard output.
std::string run(const std::string& command)
{
    std::string output;
    EXPECT_EQ(0, moduletest::runCommand(command, output)) << command;
    return output;
}

// ---- a reader of the MOF that the class table and the files are written in ----

struct Token {
    enum Kind { WORD, STRING, PUNCT, END } kind;
    std::string text;
};

std::vector<Token> tokenize(const std::string& s)
{
    std::vector<Token> out;
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (isspace(static_cast<unsigned char>(c))) {
            i++;
        } else if (s.compare(i, 2, "//") == 0) {
            i = s.find('\n', i);
            i = i == std::string::npos ? s.size() : i;
        } else if (s.compare(i, 2, "/*") == 0) {
            i = s.find("*/", i);
            if (i == std::string::npos)
                throw std::runtime_error("unterminated comment");
            i += 2;
        } else if (c == '"') {
            std::string text;
            for (i++; i < s.size() && s[i] != '"'; i++)
                text += s[i] == '\\' && i + 1 < s.size() ? s[++i] : s[i];
            out.push_back({Token::STRING, text});
            i++;
        } else if (isalnum(static_cast<unsigned char>(c)) || c == '_') {
            const size_t start = i;
            while (i < s.size() && (isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_'))
                i++;
            out.push_back({Token::WORD, s.substr(start, i - start)});
        } else if (std::string("{}[]();:,=").find(c) != std::string::npos) {
            out.push_back({Token::PUNCT, std::string(1, c)});
            i++;
        } else {
            throw std::runtime_error(std::string("unexpected character ") + c);
        }
    }
    out.push_back({Token::END, ""});
    return out;
}

struct Param {
    std::string declaration; // "uint16 Mode", "CIM_ConcreteJob REF Job", "string Names[]"
    bool in = true, out = false;
};

struct Feature {
    std::string name;
    std::string declaration; // as a parameter's; a method: its return type, name and parameters
    bool key = false;
    std::string override;
    std::vector<Param> params;
};

struct Class {
    std::string name, super;
    bool abstract = false, association = false, indication = false;
    std::map<std::string, Feature> features; // by lower-case name
    std::vector<std::string> named;          // the classes it names: superclass, references
};

// An instance of a class file: its class and its property values.
struct Instance {
    std::string cls;
    std::map<std::string, std::vector<std::string>> values;
};

class MofReader {
public:
    // `table`: the class table's dialect, in which a parameter's qualifiers
    // list every direction it has ("[OUT]" alone: out only); in a class
    // file IN holds unless IN(false) is given.
    MofReader(const std::string& text, bool table) : t(tokenize(text)), table(table)
    {
        while (peek().kind != Token::END) {
            const auto q = qualifiers();
            const std::string first = word();
            if (first == "instance")
                readInstance();
            else if (first == "class")
                readClass(q);
            else
                throw std::runtime_error("expected a class or an instance, found " + first);
        }
    }

    std::vector<Class> classes;
    std::vector<Instance> instances;

private:
    typedef std::map<std::string, std::string> Qualifiers; // lower-case name -> value ("" for none)

    const Token& peek() const { return t[pos]; }
    const Token& next() { return t[pos < t.size() - 1 ? pos++ : pos]; }
    bool at(const char* p) const { return peek().kind == Token::PUNCT && peek().text == p; }
    void expect(const char* p)
    {
        if (!at(p))
            throw std::runtime_error(std::string("expected ") + p + " before " + peek().text);
        next();
    }
    std::string word()
    {
        if (peek().kind != Token::WORD)
            throw std::runtime_error("expected a name before " + peek().text);
        return next().text;
    }
    std::string value()
    {
        if (peek().kind != Token::WORD && peek().kind != Token::STRING)
            throw std::runtime_error("expected a value before " + peek().text);
        return next().text;
    }

    Qualifiers qualifiers()
    {
        Qualifiers q;
        if (!at("["))
            return q;
        next();
        do {
            const std::string name = lower(word());
            std::string v;
            if (at("(")) {
                next();
                v = value();
                expect(")");
            }
            q[name] = v;
        } while (at(",") && (next(), true));
        expect("]");
        return q;
    }

    // "Class REF name" or "type name[]", after its first word.
    std::string declaration(const std::string& first, bool& reference)
    {
        reference = peek().kind == Token::WORD && peek().text == "REF";
        if (reference) {
            next();
            return first + " REF " + word();
        }
        std::string d = first + " " + word();
        if (at("[")) {
            next();
            expect("]");
            d += "[]";
        }
        return d;
    }

    void readClass(const Qualifiers& q)
    {
        Class c;
        c.name = word();
        c.abstract = q.count("abstract");
        c.association = q.count("association");
        c.indication = q.count("indication");
        if (at(":")) {
            next();
            c.super = word();
            c.named.push_back(c.super);
        }
        expect("{");
        while (!at("}")) {
            const Qualifiers fq = qualifiers();
            Feature f;
            f.key = fq.count("key");
            f.override = fq.count("override") ? fq.at("override") : "";
            bool reference = false;
            const std::string first = word();
            if (peek().kind == Token::WORD && t[pos + 1].kind == Token::PUNCT && t[pos + 1].text == "(") {
                f.name = word();
                f.declaration = first + " " + f.name + "(";
                expect("(");
                while (!at(")")) {
                    const Qualifiers pq = qualifiers();
                    Param p;
                    bool ref = false;
                    p.declaration = declaration(word(), ref);
                    if (ref)
                        c.named.push_back(p.declaration.substr(0, p.declaration.find(' ')));
                    p.in = table ? pq.empty() || pq.count("in") : !(pq.count("in") && pq.at("in") == "false");
                    p.out = pq.count("out");
                    f.declaration += (f.params.empty() ? "" : ", ") + p.declaration;
                    f.params.push_back(p);
                    if (!at(")"))
                        expect(",");
                }
                next();
                f.declaration += ")";
            } else {
                f.declaration = declaration(first, reference);
                if (reference)
                    c.named.push_back(first);
                f.name = f.declaration.substr(f.declaration.rfind(' ') + 1);
                if (f.name.size() > 2 && f.name.compare(f.name.size() - 2, 2, "[]") == 0)
                    f.name.resize(f.name.size() - 2);
            }
            c.features[lower(f.name)] = f;
            expect(";");
        }
        next();
        expect(";");
        classes.push_back(c);
    }

    void readInstance()
    {
        if (word() != "of")
            throw std::runtime_error("expected 'instance of'");
        Instance i;
        i.cls = word();
        expect("{");
        while (!at("}")) {
            std::vector<std::string>& v = i.values[word()];
            expect("=");
            if (at("{")) {
                for (next(); !at("}");) {
                    v.push_back(value());
                    if (!at("}"))
                        expect(",");
                }
                next();
            } else {
                v.push_back(value());
            }
            expect(";");
        }
        next();
        expect(";");
        instances.push_back(i);
    }

    std::vector<Token> t;
    size_t pos = 0;
    bool table;
};

MofReader readMof(const std::string& path, bool table)
{
    const std::string text = readFile(path);
    EXPECT_FALSE(text.empty()) << path;
    try {
        return MofReader(text, table);
    } catch (const std::exception& e) {
        ADD_FAILURE() << path << ": " << e.what();
        return MofReader("", table);
    }
}

// ---- the class table and the class files ---------------------------------------------------

struct Table {
    std::map<std::string, Class> classes;

    explicit Table(const MofReader& r)
    {
        for (const Class& c : r.classes)
            classes[c.name] = c;
        // Association and indication are inherited; a class file says them on
        // every class.
        for (auto& [name, c] : classes)
            for (const Class* s = &c; s; s = s->super.empty() ? nullptr : &classes.at(s->super)) {
                c.association = c.association || s->association;
                c.indication = c.indication || s->indication;
            }
    }

    bool derives(std::string cls, const std::string& base) const
    {
        for (; !cls.empty(); cls = classes.at(cls).super)
            if (cls == base)
                return true;
        return false;
    }

    // The feature a class inherits under that name, or null.
    const Feature* inherited(const Class& c, const std::string& name) const
    {
        for (std::string s = c.super; !s.empty(); s = classes.at(s).super) {
            auto f = classes.at(s).features.find(lower(name));
            if (f != classes.at(s).features.end())
                return &f->second;
        }
        return nullptr;
    }
};

// The two class files, by namespace.
std::map<std::string, std::vector<Class>> classFiles()
{
    return {{"root/krna", readMof(DEPLOY_DIR + "/krnacim.mof", false).classes},
            {"interop", readMof(DEPLOY_DIR + "/krnacim-interop.mof", false).classes}};
}

bool isSchemaClass(const std::string& cls) { return cls.rfind("CIM_", 0) == 0 && cls != "CIM_ElementFRU"; }

TEST(Deployment, ClassFilesDefineTheTablesOwnClassesOverTheSchema)
{
    const Table table(readMof(KRNACIM_CLASS_TABLE, true));
    std::set<std::string> own; // what the files must define between them
    for (const auto& [name, c] : table.classes)
        if (!isSchemaClass(name))
            own.insert(name);
    ASSERT_EQ(1u, own.count("CIM_ElementFRU"));
    // The 112 alert indications below their base, which the table's
    // generated copy adds.
    size_t alerts = 0;
    for (const std::string& name : own)
        alerts += table.derives(name, "KRNA_RaidMonitorAlertIndication") && name != "KRNA_RaidMonitorAlertIndication";
    EXPECT_EQ(112u, alerts);
    // The profiles and their references to each other are the interop
    // namespace's, and it holds nothing else.
    auto interop = [&table](const std::string& cls) {
        for (const char* base : INTEROP_BASES)
            if (table.derives(cls, base))
                return true;
        return false;
    };

    std::set<std::string> defined;
    for (const auto& [ns, classes] : classFiles()) {
        SCOPED_TRACE(ns);
        const std::string path = DEPLOY_DIR + (ns == "interop" ? "/krnacim-interop.mof" : "/krnacim.mof");
        EXPECT_NE(readFile(path).substr(0, 800).find("Needs the DMTF CIM schema 2.49"), std::string::npos);
        std::set<std::string> here;
        for (const Class& c : classes) {
            SCOPED_TRACE(c.name);
            ASSERT_EQ(1u, own.count(c.name)) << "a schema class or one the table lacks";
            EXPECT_TRUE(here.insert(c.name).second) << "defined twice";
            defined.insert(c.name);
            // Every class it names is the schema's or defined before it here.
            for (const std::string& n : c.named)
                EXPECT_TRUE(isSchemaClass(n) || here.count(n)) << n;
            if (ns == "interop") {
                EXPECT_TRUE(interop(c.name));
            }

            const Class& t = table.classes.at(c.name);
            EXPECT_EQ(t.super, c.super);
            EXPECT_EQ(t.abstract, c.abstract);
            EXPECT_EQ(t.association, c.association);
            EXPECT_EQ(t.indication, c.indication);
            ASSERT_EQ(t.features.size(), c.features.size());
            for (const auto& [key, f] : c.features) {
                ASSERT_EQ(1u, t.features.count(key)) << key;
                const Feature& tf = t.features.at(key);
                EXPECT_EQ(tf.declaration, f.declaration);
                EXPECT_EQ(tf.key, f.key) << key;
                // A feature the class inherits is declared again as an override.
                EXPECT_EQ(table.inherited(t, key) ? tf.name : "", f.override) << key;
                ASSERT_EQ(tf.params.size(), f.params.size());
                for (size_t i = 0; i < f.params.size(); i++) {
                    EXPECT_EQ(tf.params[i].in, f.params[i].in) << f.declaration;
                    EXPECT_EQ(tf.params[i].out, f.params[i].out) << f.declaration;
                }
            }
        }
        for (const std::string& name : own) {
            if (ns == "interop" && interop(name)) {
                EXPECT_EQ(1u, here.count(name)) << name;
            }
        }
    }
    EXPECT_EQ(own, defined);
}

// ---- the registrations -----------------------------------------------------------------------

// The providers whose factories the module exports, with the provider types
// of those factories ("instance", "association", "method", "indication").
std::map<std::string, std::set<std::string>> exportedProviders()
{
    std::map<std::string, std::set<std::string>> providers;
    const std::regex factory(" T (\\w+)_Create_(Instance|Association|Method|Indication)MI$");
    std::istringstream symbols(run("nm -D --defined-only " + std::string(KRNACIM_MODULE)));
    std::smatch m;
    for (std::string line; std::getline(symbols, line);)
        if (std::regex_search(line, m, factory))
            providers[m[1]].insert(lower(m[2]));
    return providers;
}

struct Stanza {
    std::string cls;
    std::map<std::string, std::string> entries;
};

std::vector<Stanza> readRegistration(const std::string& path)
{
    std::vector<Stanza> stanzas;
    std::istringstream in(readFile(path));
    for (std::string line; std::getline(in, line);) {
        line.erase(0, line.find_first_not_of(' '));
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            stanzas.push_back({line.substr(1, line.find(']') - 1), {}});
            continue;
        }
        const size_t colon = line.find(": ");
        if (stanzas.empty() || colon == std::string::npos) {
            ADD_FAILURE() << path << ": " << line;
            continue;
        }
        stanzas.back().entries[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return stanzas;
}

TEST(Deployment, RegistrationsNameTheExportedProvidersWithTheirTypes)
{
    const std::map<std::string, std::set<std::string>> exported = exportedProviders();
    ASSERT_EQ(1u, exported.count("KRNA_StorageVolume_Provider"));
    ASSERT_EQ(1u, exported.count("KRNA_RaidMonitorAlertIndication_Provider"));
    std::map<std::string, std::string> namespaceOf; // class -> where its class file defines it
    for (const auto& [ns, classes] : classFiles())
        for (const Class& c : classes)
            if (ns == "interop" || !namespaceOf.count(c.name))
                namespaceOf[c.name] = ns;
    const Table table(readMof(KRNACIM_CLASS_TABLE, true));

    // sfcb: one stanza per class, each naming its provider's factory types.
    std::map<std::string, std::string> sfcbProviderOf; // class -> provider
    for (const char* file : {"krnacim.reg", "krnacim-interop.reg"}) {
        const bool interop = std::string(file) == "krnacim-interop.reg";
        for (const Stanza& s : readRegistration(DEPLOY_DIR + "/" + file)) {
            SCOPED_TRACE(s.cls);
            const std::string& provider = s.entries.count("provider") ? s.entries.at("provider") : "";
            ASSERT_EQ(1u, exported.count(provider)) << provider;
            std::istringstream words(s.entries.count("type") ? s.entries.at("type") : "");
            std::set<std::string> types;
            for (std::string w; words >> w;)
                types.insert(w);
            EXPECT_EQ(exported.at(provider), types);
            EXPECT_EQ("krnacim", s.entries.count("location") ? s.entries.at("location") : "");
            EXPECT_EQ(interop ? "root/interop" : "root/krna", s.entries.count("namespace") ? s.entries.at("namespace") : "");
            EXPECT_EQ(interop ? "interop" : "root/krna", namespaceOf[s.cls]);
            // An idle unload would stop the indication provider's threads.
            EXPECT_EQ(types.count("indication") ? "never" : "", s.entries.count("unload") ? s.entries.at("unload") : "");
            EXPECT_TRUE(sfcbProviderOf.emplace(s.cls, provider).second) << "registered twice";
        }
    }

    // OpenPegasus: the module, each provider, and a capability per class
    // with the same provider as sfcb's.
    const MofReader pegasus = readMof(DEPLOY_DIR + "/krnacim-pegasus.mof", false);
    const std::map<std::string, std::string> typeCodes = {
        {"instance", "2"}, {"association", "3"}, {"indication", "4"}, {"method", "5"}};
    std::set<std::string> modules, providers;
    std::map<std::string, std::string> pegasusProviderOf;
    for (const Instance& i : pegasus.instances) {
        auto one = [&i](const char* name) {
            return i.values.count(name) && i.values.at(name).size() == 1 ? i.values.at(name)[0] : std::string();
        };
        if (i.cls == "PG_ProviderModule") {
            modules.insert(one("Name"));
            EXPECT_EQ("krnacim", one("Location"));
            EXPECT_EQ("CMPI", one("InterfaceType"));
        } else if (i.cls == "PG_Provider") {
            EXPECT_EQ("KRNA_Module", one("ProviderModuleName"));
            EXPECT_TRUE(providers.insert(one("Name")).second) << one("Name");
        } else {
            ASSERT_EQ("PG_ProviderCapabilities", i.cls);
            const std::string cls = one("ClassName"), provider = one("ProviderName");
            SCOPED_TRACE(cls);
            EXPECT_EQ("KRNA_Module", one("ProviderModuleName"));
            EXPECT_EQ(cls, one("CapabilityID"));
            ASSERT_EQ(1u, exported.count(provider)) << provider;
            std::set<std::string> expected;
            for (const std::string& type : exported.at(provider))
                expected.insert(typeCodes.at(type));
            const auto& got = i.values.at("ProviderType");
            EXPECT_EQ(expected, std::set<std::string>(got.begin(), got.end()));
            EXPECT_EQ(got.size(), expected.size());
            EXPECT_EQ(std::vector<std::string>{namespaceOf[cls] == "interop" ? "root/PG_InterOp" : "root/krna"},
                      i.values.at("Namespaces"));
            EXPECT_TRUE(pegasusProviderOf.emplace(cls, provider).second) << "registered twice";
        }
    }
    EXPECT_EQ(std::set<std::string>{"KRNA_Module"}, modules);

    // Exactly the exported providers, each for its own class; the
    // indication provider for its class and every subclass.
    std::set<std::string> names;
    for (const auto& [name, types] : exported) {
        names.insert(name);
        const std::string cls = name.substr(0, name.size() - std::string("_Provider").size());
        EXPECT_EQ(name, sfcbProviderOf[cls]);
    }
    std::set<std::string> registered;
    for (const auto& [cls, provider] : sfcbProviderOf) {
        registered.insert(provider);
        if (exported.at(provider).count("indication")) {
            EXPECT_TRUE(table.derives(cls, provider.substr(0, provider.rfind("_Provider")))) << cls;
        } else {
            EXPECT_EQ(cls + "_Provider", provider);
        }
    }
    EXPECT_EQ(names, registered);
    EXPECT_EQ(names, providers);
    EXPECT_EQ(sfcbProviderOf, pegasusProviderOf);
    size_t alertClasses = 0;
    for (const auto& [cls, provider] : sfcbProviderOf)
        alertClasses += provider == "KRNA_RaidMonitorAlertIndication_Provider";
    EXPECT_EQ(113u, alertClasses);
}

// ---- the install -----------------------------------------------------------------------------

// cmake --install of the build into the prefix: its exit status, and what
// it printed in `log`.
int install(const fs::path& prefix, std::string& log)
{
    return moduletest::runCommand(
        "\"" CMAKE_COMMAND "\" --install \"" KRNACIM_BUILD_DIR "\" --prefix \"" + prefix.string() + "\" 2>&1", log);
}

TEST(Deployment, InstallServesFromThePrefixAndKeepsTheMonitorsFiles)
{
    const fs::path prefix = fs::current_path() / "opt";
    std::string log;
    ASSERT_EQ(0, install(prefix, log)) << log;
    const fs::path lib = prefix / "lib";
    for (const char* file : {"krnacim.mof", "krnacim-interop.mof", "krnacim.reg", "krnacim-interop.reg",
                             "krnacim-pegasus.mof"})
        EXPECT_EQ(readFile(DEPLOY_DIR + "/" + file), readFile((prefix / "share/krnacim" / file).string())) << file;
    EXPECT_TRUE(fs::is_regular_file(lib / "RaidNLS.properties"));
    EXPECT_TRUE(fs::is_directory(prefix / "logs/krnalogs"));

    // Each library finds the others beside it, and nothing of the build.
    std::set<std::string> installed;
    for (const fs::directory_entry& e : fs::directory_iterator(lib))
        if (e.path().extension() == ".so")
            installed.insert(e.path().filename().string());
    EXPECT_EQ(1u, installed.count("libtarnellapi.so"));
    for (const std::string& so : installed) {
        SCOPED_TRACE(so);
        const std::string dynamic = run("readelf -d '" + (lib / so).string() + "'");
        EXPECT_EQ(dynamic.find(KRNACIM_BUILD_DIR), std::string::npos);
        const std::regex path("\\((RUNPATH|RPATH)\\).*\\[(.*)\\]");
        for (std::sregex_iterator m(dynamic.begin(), dynamic.end(), path), end; m != end; ++m)
            EXPECT_EQ("$ORIGIN", (*m)[2].str());
        const std::string loads = run("env -u LD_LIBRARY_PATH ldd '" + (lib / so).string() + "'");
        std::istringstream lines(loads);
        for (std::string line; std::getline(lines, line);) {
            std::smatch m;
            if (std::regex_search(line, m, std::regex("^\\s*(\\S+) => (.*) \\(")) && installed.count(m[1])) {
                EXPECT_EQ((lib / m[1].str()).string(), m[2].str());
            }
            EXPECT_EQ(line.find("not found"), std::string::npos) << line;
        }
    }

    // The installed copy answers as the built one, and logs under the prefix.
    const std::string module = (lib / "libkrnacim.so").string();
    for (const char* cls : {"KRNA_StorageVolume", "KRNA_ControllerComputerSystem", "KRNA_EnclosureFan"}) {
        const long built = moduletest::cimEnumCount(cls);
        EXPECT_GT(built, 0) << cls;
        EXPECT_EQ(built, moduletest::cimEnumCount(cls, module)) << cls;
    }
    EXPECT_EQ(1, moduletest::cimEnumCount("--namespace root/PG_InterOp KRNA_ProfileHHRRegisteredProfile", module));
    EXPECT_TRUE(fs::exists(prefix / "logs/krnalogs/krnaprov.log"));

    // Installing again keeps what the monitors and the administrator wrote.
    const std::map<std::string, std::string> kept = {
        {"NRMConfig.conf", "nrm.debugMask = 3\nnrm.eventQueueSize = 500\n"},
        {"WATCHTARNELLConfig.xml", "<tarnell snapshot/>\n"},
        {"WATCHPELMConfig.xml", "<pelm snapshot/>\n"},
        {"WATCHQORLConfig.xml", "<qorl snapshot/>\n"}};
    for (const auto& [name, text] : kept) {
        FILE* f = fopen((lib / name).c_str(), "w");
        ASSERT_NE(nullptr, f) << name;
        fputs(text.c_str(), f);
        fclose(f);
    }
    const std::string moduleLog = readFile((prefix / "logs/krnalogs/krnaprov.log").string());
    ASSERT_EQ(0, install(prefix, log)) << log;
    for (const auto& [name, text] : kept)
        EXPECT_EQ(text, readFile((lib / name).string())) << name;
    EXPECT_EQ(moduleLog, readFile((prefix / "logs/krnalogs/krnaprov.log").string()));
}

} // namespace
