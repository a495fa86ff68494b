// cimple_gen: turns a module's class table into the C++ classes and meta
// records of the provider framework.
//
//   cimple_gen TABLE OUT_DIR STEM
//
// reads TABLE and writes OUT_DIR/STEM.h and OUT_DIR/STEM.cpp. The table is a
// small subset of MOF:
//
//   [Abstract] class CIM_ManagedElement { string Caption; string Description; };
//   class KRNA_Thing : CIM_ManagedElement {
//       [Key] string DeviceID;
//       uint16 OperationalStatus[];
//       uint32 Reset([IN] uint16 Mode, [OUT] CIM_ConcreteJob REF Job);
//   };
//   [Association] class KRNA_Link { [Key] KRNA_Thing REF Antecedent; [Key] KRNA_Thing REF Dependent; };
//   [Indication] class KRNA_Alert { string Message; };
//
// Types: boolean, uint8, sint8, uint16, sint16, uint32, sint32, uint64,
// sint64, real32, real64, char16, string, datetime; "[]" after a name makes an
// array; "C REF name" a reference. Class qualifiers: Abstract, Association,
// Indication (the last two are inherited). Feature qualifiers: Key; parameter
// qualifiers: IN (the default), OUT. A class lists its superclass's features
// first, then its own; a feature named like an inherited one overrides it in
// its inherited place (a reference may narrow its class). Superclasses stand
// before their subclasses; referenced classes anywhere in the table.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string g_file;

[[noreturn]] void fail(int line, const std::string& message)
{
    fprintf(stderr, "%s:%d: %s\n", g_file.c_str(), line, message.c_str());
    exit(1);
}

std::string lower(const std::string& s)
{
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return r;
}

// ---- tokens ---------------------------------------------------------------

struct Token {
    enum Kind { IDENT, PUNCT, END } kind;
    std::string text;
    int line;
};

std::vector<Token> tokenize(const std::string& src)
{
    std::vector<Token> tokens;
    int line = 1;
    size_t i = 0;
    while (i < src.size()) {
        char c = src[i];
        if (c == '\n') {
            line++;
            i++;
        } else if (isspace(static_cast<unsigned char>(c))) {
            i++;
        } else if (c == '/' && i + 1 < src.size() && src[i + 1] == '/') {
            while (i < src.size() && src[i] != '\n')
                i++;
        } else if (c == '/' && i + 1 < src.size() && src[i + 1] == '*') {
            size_t end = src.find("*/", i + 2);
            if (end == std::string::npos)
                fail(line, "unterminated comment");
            for (size_t k = i; k < end; k++)
                if (src[k] == '\n')
                    line++;
            i = end + 2;
        } else if (isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = i;
            while (i < src.size() && (isalnum(static_cast<unsigned char>(src[i])) || src[i] == '_'))
                i++;
            tokens.push_back({Token::IDENT, src.substr(start, i - start), line});
        } else if (std::string("{}[]();:,").find(c) != std::string::npos) {
            tokens.push_back({Token::PUNCT, std::string(1, c), line});
            i++;
        } else {
            fail(line, std::string("unexpected character '") + c + "'");
        }
    }
    tokens.push_back({Token::END, "", line});
    return tokens;
}

// ---- the table ------------------------------------------------------------

const char* const TYPES[] = {"boolean", "uint8",  "sint8",  "uint16", "sint16", "uint32",  "sint32",
                             "uint64",  "sint64", "real32", "real64", "char16", "string", "datetime"};
const char* const TYPE_TAGS[] = {"BOOLEAN", "UINT8",  "SINT8",  "UINT16", "SINT16", "UINT32", "SINT32",
                                 "UINT64",  "SINT64", "REAL32", "REAL64", "CHAR16", "STRING", "DATETIME"};
const char* const CXX_TYPES[] = {"boolean", "uint8",  "sint8",  "uint16", "sint16", "uint32", "sint32",
                                 "uint64",  "sint64", "real32", "real64", "char16", "String", "Datetime"};
const int NUM_TYPES = 14;

int typeIndex(const std::string& name)
{
    for (int i = 0; i < NUM_TYPES; i++)
        if (name == TYPES[i])
            return i;
    return -1;
}

struct Param {
    std::string name;
    bool ref = false;
    std::string refClass;
    int type = -1;
    bool array = false;
    bool in = true;
    bool out = false;
    int line = 0;
};

struct Feature {
    enum Kind { PROPERTY, REFERENCE, METHOD } kind = PROPERTY;
    std::string name;
    int type = -1; // property type or method return type
    bool array = false;
    std::string refClass;
    bool key = false;
    std::vector<Param> params;
    int line = 0;
    // Filled while classes are resolved:
    std::string memberOwner; // the class whose struct holds the member
    std::string memberRefClass; // a reference member's pointer type
    std::string metaOwner;   // the class whose meta records describe it
};

struct Class {
    std::string name;
    std::string super;
    bool abstract = false;
    bool association = false;
    bool indication = false;
    std::vector<Feature> own;
    std::vector<Feature> all; // inherited first, overrides in place
    int line = 0;
};

const std::set<std::string>& reservedNames()
{
    static const std::set<std::string> names = {
        // members of every generated class
        "meta_class", "_name_space", "static_meta_class", "create", "clone", "invoke_method", "return_value",
        // C++ keywords that a CIM name could spell
        "alignas", "alignof", "and", "asm", "auto", "bool", "break", "case", "catch", "char", "class", "const",
        "constexpr", "continue", "default", "delete", "do", "double", "else", "enum", "explicit", "export",
        "extern", "false", "float", "for", "friend", "goto", "if", "inline", "int", "long", "mutable",
        "namespace", "new", "noexcept", "not", "nullptr", "operator", "or", "private", "protected", "public",
        "register", "return", "short", "signed", "sizeof", "static", "struct", "switch", "template", "this",
        "throw", "true", "try", "typedef", "typeid", "typename", "union", "unsigned", "using", "virtual", "void",
        "volatile", "while", "xor"};
    return names;
}

void checkName(const std::string& name, int line)
{
    if (reservedNames().count(name))
        fail(line, "'" + name + "' cannot be used as a name");
    if (name.find("__") != std::string::npos || name[0] == '_')
        fail(line, "'" + name + "': names may neither begin with '_' nor contain \"__\"");
}

class Parser {
public:
    explicit Parser(const std::vector<Token>& t) : _t(t) {}

    std::vector<Class> parse()
    {
        std::vector<Class> classes;
        while (peek().kind != Token::END)
            classes.push_back(parseClass());
        return classes;
    }

private:
    const Token& peek() const { return _t[_pos]; }
    const Token& next() { return _t[_pos < _t.size() - 1 ? _pos++ : _pos]; }
    bool isPunct(const char* p) const { return peek().kind == Token::PUNCT && peek().text == p; }
    void expect(const char* p)
    {
        if (!isPunct(p))
            fail(peek().line, std::string("expected '") + p + "'");
        next();
    }
    std::string ident(const char* what)
    {
        if (peek().kind != Token::IDENT)
            fail(peek().line, std::string("expected ") + what);
        return next().text;
    }
    std::vector<std::string> qualifiers()
    {
        std::vector<std::string> q;
        if (!isPunct("["))
            return q;
        next();
        for (;;) {
            q.push_back(lower(ident("a qualifier")));
            if (isPunct("]"))
                break;
            expect(",");
        }
        next();
        return q;
    }

    Class parseClass()
    {
        Class c;
        c.line = peek().line;
        for (const std::string& q : qualifiers()) {
            if (q == "abstract")
                c.abstract = true;
            else if (q == "association")
                c.association = true;
            else if (q == "indication")
                c.indication = true;
            else
                fail(c.line, "unknown class qualifier '" + q + "'");
        }
        if (ident("'class'") != "class")
            fail(c.line, "expected 'class'");
        c.line = peek().line;
        c.name = ident("a class name");
        checkName(c.name, c.line);
        if (isPunct(":")) {
            next();
            c.super = ident("a superclass name");
        }
        expect("{");
        while (!isPunct("}"))
            c.own.push_back(parseFeature());
        next();
        expect(";");
        return c;
    }

    Feature parseFeature()
    {
        Feature f;
        f.line = peek().line;
        for (const std::string& q : qualifiers()) {
            if (q == "key")
                f.key = true;
            else
                fail(f.line, "unknown qualifier '" + q + "'");
        }
        std::string first = ident("a type or class name");
        if (peek().kind == Token::IDENT && peek().text == "REF") {
            next();
            f.kind = Feature::REFERENCE;
            f.refClass = first;
            f.name = ident("a reference name");
            checkName(f.name, f.line);
            expect(";");
            return f;
        }
        f.type = typeIndex(first);
        if (f.type < 0)
            fail(f.line, "unknown type '" + first + "'");
        f.name = ident("a name");
        checkName(f.name, f.line);
        if (isPunct("(")) {
            f.kind = Feature::METHOD;
            if (f.key)
                fail(f.line, "a method cannot be a key");
            next();
            while (!isPunct(")")) {
                f.params.push_back(parseParam());
                if (!isPunct(")"))
                    expect(",");
            }
            next();
        } else {
            f.kind = Feature::PROPERTY;
            if (isPunct("[")) {
                next();
                expect("]");
                f.array = true;
                if (f.key)
                    fail(f.line, "an array cannot be a key");
            }
        }
        expect(";");
        return f;
    }

    Param parseParam()
    {
        Param p;
        p.line = peek().line;
        std::vector<std::string> q = qualifiers();
        if (!q.empty()) {
            p.in = p.out = false;
            for (const std::string& x : q) {
                if (x == "in")
                    p.in = true;
                else if (x == "out")
                    p.out = true;
                else
                    fail(p.line, "unknown parameter qualifier '" + x + "'");
            }
        }
        std::string first = ident("a type or class name");
        if (peek().kind == Token::IDENT && peek().text == "REF") {
            next();
            p.ref = true;
            p.refClass = first;
        } else {
            p.type = typeIndex(first);
            if (p.type < 0)
                fail(p.line, "unknown type '" + first + "'");
        }
        p.name = ident("a parameter name");
        checkName(p.name, p.line);
        if (!p.ref && isPunct("[")) {
            next();
            expect("]");
            p.array = true;
        }
        return p;
    }

    const std::vector<Token>& _t;
    size_t _pos = 0;
};

// ---- resolution -------------------------------------------------------------

std::string methodStruct(const std::string& cls, const std::string& method) { return cls + "_" + method + "_method"; }

class Table {
public:
    explicit Table(std::vector<Class> classes) : _classes(std::move(classes)) {}

    void resolve()
    {
        std::map<std::string, size_t> seen; // lower-case name -> index
        for (size_t i = 0; i < _classes.size(); i++) {
            Class& c = _classes[i];
            if (seen.count(lower(c.name)))
                fail(c.line, "class '" + c.name + "' is defined twice");
            if (!c.super.empty()) {
                auto s = seen.find(lower(c.super));
                if (s == seen.end())
                    fail(c.line, "superclass '" + c.super + "' must be defined before '" + c.name + "'");
                const Class& base = _classes[s->second];
                c.super = base.name;
                c.all = base.all;
                c.association = c.association || base.association;
                c.indication = c.indication || base.indication;
            }
            seen[lower(c.name)] = i;
            std::set<std::string> ownNames;
            for (Feature f : c.own) {
                if (!ownNames.insert(lower(f.name)).second)
                    fail(f.line, "'" + f.name + "' is declared twice in '" + c.name + "'");
                f.metaOwner = c.name;
                f.memberOwner = c.name;
                f.memberRefClass = f.refClass;
                Feature* inherited = findFeature(c.all, f.name);
                if (!inherited) {
                    c.all.push_back(f);
                    continue;
                }
                if (inherited->kind != f.kind)
                    fail(f.line, "'" + f.name + "' overrides an inherited feature of another kind");
                if (f.kind == Feature::PROPERTY && (f.type != inherited->type || f.array != inherited->array))
                    fail(f.line, "'" + f.name + "' overrides an inherited property of another type");
                if (f.kind != Feature::METHOD) {
                    // The member stays in the base struct, with its type.
                    f.memberOwner = inherited->memberOwner;
                    f.memberRefClass = inherited->memberRefClass;
                }
                f.name = inherited->name;
                *inherited = f;
            }
        }
        for (const Class& c : _classes) {
            for (const Feature& f : c.all) {
                if (f.kind == Feature::REFERENCE && !c.association)
                    fail(f.line, "reference '" + f.name + "' outside an association class");
                if (f.kind == Feature::REFERENCE)
                    checkClass(f.refClass, f.line);
                for (const Param& p : f.params)
                    if (p.ref)
                        checkClass(p.refClass, p.line);
                if (f.kind == Feature::METHOD) {
                    std::set<std::string> names;
                    for (const Param& p : f.params)
                        if (!names.insert(lower(p.name)).second)
                            fail(p.line, "parameter '" + p.name + "' is declared twice");
                    if (f.metaOwner == c.name && find(methodStruct(c.name, f.name)))
                        fail(f.line, "class name '" + methodStruct(c.name, f.name) + "' is taken");
                }
            }
            // A narrowed reference must refer to the inherited class or a subclass of it.
            if (!c.super.empty())
                for (const Feature& f : c.all)
                    if (f.kind == Feature::REFERENCE && f.metaOwner == c.name) {
                        const Feature* base = findFeatureConst(find(c.super)->all, f.name);
                        if (base && !derives(f.refClass, base->refClass))
                            fail(f.line, "reference '" + f.name + "' may only narrow its class");
                    }
        }
        for (Class& c : _classes) {
            for (Feature& f : c.all) {
                if (!f.refClass.empty()) {
                    f.refClass = find(f.refClass)->name;
                    f.memberRefClass = find(f.memberRefClass)->name;
                }
                for (Param& p : f.params)
                    if (p.ref)
                        p.refClass = find(p.refClass)->name;
            }
        }
    }

    const std::vector<Class>& classes() const { return _classes; }

    const Class* find(const std::string& name) const
    {
        for (const Class& c : _classes)
            if (lower(c.name) == lower(name))
                return &c;
        return nullptr;
    }

private:
    static Feature* findFeature(std::vector<Feature>& all, const std::string& name)
    {
        for (Feature& f : all)
            if (lower(f.name) == lower(name))
                return &f;
        return nullptr;
    }
    static const Feature* findFeatureConst(const std::vector<Feature>& all, const std::string& name)
    {
        for (const Feature& f : all)
            if (lower(f.name) == lower(name))
                return &f;
        return nullptr;
    }
    void checkClass(const std::string& name, int line) const
    {
        if (!find(name))
            fail(line, "unknown class '" + name + "'");
    }
    bool derives(const std::string& sub, const std::string& base) const
    {
        for (const Class* c = find(sub); c; c = c->super.empty() ? nullptr : find(c->super))
            if (lower(c->name) == lower(base))
                return true;
        return false;
    }

    std::vector<Class> _classes;
};

// ---- output -------------------------------------------------------------------

std::string cxxType(int type, bool array)
{
    return array ? std::string("Array_") + CXX_TYPES[type] : std::string(CXX_TYPES[type]);
}

std::string propertyType(int type, bool array) { return "Property<" + cxxType(type, array) + ">"; }

// The namespace of the meta records a class (or a method's parameters) defines.
std::string metaNs(const std::string& cls) { return "meta_" + cls; }

std::string paramSignature(const Param& p)
{
    if (p.ref)
        return p.out ? p.refClass + "*& " + p.name : "const " + p.refClass + "* " + p.name;
    return (p.out ? "" : "const ") + propertyType(p.type, p.array) + "& " + p.name;
}

void writeMemberDecl(std::ostream& h, int type, bool array, bool ref, const std::string& refClass,
                     const std::string& name)
{
    if (ref)
        h << "    " << refClass << "* " << name << " = nullptr;\n";
    else
        h << "    " << propertyType(type, array) << " " << name << ";\n";
}

void writeMethodStruct(std::ostream& h, const Class& c, const Feature& m)
{
    const std::string s = methodStruct(c.name, m.name);
    h << "// Parameters of " << c.name << "::" << m.name << ".\n";
    h << "struct " << s << " : public Instance {\n";
    for (const Param& p : m.params)
        writeMemberDecl(h, p.type, p.array, p.ref, p.refClass, p.name);
    h << "    Property<" << CXX_TYPES[m.type] << "> return_value;\n";
    h << "    static const Meta_Class static_meta_class;\n";
    h << "};\n\n";
}

void writeClassStruct(std::ostream& h, const Class& c)
{
    h << "struct " << c.name << " : public " << (c.super.empty() ? "Instance" : c.super) << " {\n";
    for (const Feature& f : c.all)
        if (f.kind != Feature::METHOD && f.memberOwner == c.name)
            writeMemberDecl(h, f.type, f.array, f.kind == Feature::REFERENCE, f.refClass, f.name);
    h << "\n    static const Meta_Class static_meta_class;\n";
    h << "    static " << c.name << "* create(bool defaults)\n    {\n        return static_cast<" << c.name
      << "*>(cimple::create(&static_meta_class, defaults));\n    }\n";
    h << "    " << c.name << "* clone() const { return static_cast<" << c.name
      << "*>(cimple::clone(this)); }\n";
    h << "\n    // Calls the provider's member function for the method whose parameters\n"
         "    // `method` holds, chosen by name without regard to case; -1 for none.\n";
    h << "    template <class P>\n    static int invoke_method(P* provider, const " << c.name
      << "* self, Instance* method)\n    {\n";
    bool any = false;
    for (const Feature& m : c.all) {
        if (m.kind != Feature::METHOD)
            continue;
        any = true;
        const std::string s = methodStruct(m.metaOwner, m.name);
        h << "        if (eqi(method->meta_class->name, \"" << m.name << "\") && method->meta_class == &" << s
          << "::static_meta_class) {\n";
        h << "            " << s << "* m = static_cast<" << s << "*>(method);\n";
        h << "            return provider->" << m.name << "(self";
        for (const Param& p : m.params)
            h << ", m->" << p.name;
        h << ", m->return_value);\n        }\n";
    }
    if (!any)
        h << "        (void)provider;\n        (void)self;\n        (void)method;\n";
    h << "        return -1;\n    }\n";
    h << "};\n\n";
}

std::string flagsOf(const Feature& f)
{
    std::string flags = f.kind == Feature::PROPERTY    ? "CIMPLE_FLAG_PROPERTY"
                        : f.kind == Feature::REFERENCE ? "CIMPLE_FLAG_REFERENCE"
                                                       : "CIMPLE_FLAG_METHOD";
    if (f.key)
        flags += " | CIMPLE_FLAG_KEY";
    return flags;
}

// One Meta_Feature record named `var` for a property or reference member of
// `owner` (a class or a method's parameter struct).
void writeMemberRecord(std::ostream& o, const std::string& var, const std::string& flags, const std::string& name,
                       int type, bool array, bool ref, const std::string& refClass, const std::string& owner,
                       const std::string& memberRefClass)
{
    o << "const Meta_Feature " << var << " = {\n    " << flags << ", \"" << name << "\", ";
    if (ref) {
        o << "BOOLEAN, false, &" << refClass << "::static_meta_class, nullptr,\n";
        o << "    [](const Instance* i) -> Instance* { return static_cast<const " << owner << "*>(i)->" << name
          << "; },\n";
        o << "    [](Instance* i, Instance* v) { static_cast<" << owner << "*>(i)->" << name
          << " = static_cast<" << memberRefClass << "*>(v); }};\n";
    } else {
        o << TYPE_TAGS[type] << ", " << (array ? "true" : "false") << ", nullptr,\n";
        o << "    [](Instance* i) -> void* { return &static_cast<" << owner << "*>(i)->" << name
          << "; }, nullptr, nullptr};\n";
    }
}

// Closes the namespace of a class's records (opened by the caller) after its
// feature list, then defines the class's meta record.
void writeMetaClass(std::ostream& o, const std::string& cls, const std::string& flags, const std::string& name,
                    const std::string& super, const std::vector<std::string>& features, const std::string& repo)
{
    if (!features.empty()) {
        o << "const Meta_Feature* const _features[] = {\n";
        for (const std::string& f : features)
            o << "    &" << f << ",\n";
        o << "};\n";
    }
    o << "} // namespace " << metaNs(cls) << "\n\n";
    o << "const Meta_Class " << cls << "::static_meta_class = {\n    " << flags << ", \"" << name << "\", "
      << (super.empty() ? "nullptr" : "&" + super + "::static_meta_class") << ",\n    "
      << (features.empty() ? "nullptr" : metaNs(cls) + "::_features") << ", " << features.size() << ", &" << repo
      << ",\n"
      << "    []() -> Instance* { return new " << cls << "; },\n"
      << "    [](Instance* i) { delete static_cast<" << cls << "*>(i); }};\n\n";
}

std::string classFlags(const Class& c)
{
    std::string flags = "CIMPLE_FLAG_CLASS";
    if (c.association)
        flags += " | CIMPLE_FLAG_ASSOCIATION";
    if (c.indication)
        flags += " | CIMPLE_FLAG_INDICATION";
    if (c.abstract)
        flags += " | CIMPLE_FLAG_ABSTRACT";
    return flags;
}

void writeSource(std::ostream& o, const Table& table, const std::string& stem)
{
    const std::string repo = "cimple_meta_repository_" + stem;
    o << "// Generated by cimple_gen from " << g_file << "; do not edit.\n";
    o << "#include \"" << stem << ".h\"\n\n";
    o << "namespace cimple {\n\n";
    for (const Class& c : table.classes()) {
        // The parameter records of the methods this class declares.
        for (const Feature& m : c.all) {
            if (m.kind != Feature::METHOD || m.metaOwner != c.name)
                continue;
            const std::string s = methodStruct(c.name, m.name);
            std::vector<std::string> names;
            o << "namespace " << metaNs(s) << " {\n";
            for (const Param& p : m.params) {
                std::string flags = p.ref ? "CIMPLE_FLAG_REFERENCE" : "CIMPLE_FLAG_PROPERTY";
                if (p.in)
                    flags += " | CIMPLE_FLAG_IN";
                if (p.out)
                    flags += " | CIMPLE_FLAG_OUT";
                writeMemberRecord(o, p.name, flags, p.name, p.type, p.array, p.ref, p.refClass, s, p.refClass);
                names.push_back(p.name);
            }
            writeMemberRecord(o, "return_value", "CIMPLE_FLAG_PROPERTY | CIMPLE_FLAG_OUT", "return_value", m.type,
                              false, false, "", s, "");
            names.push_back("return_value");
            for (std::string& n : names)
                n = metaNs(s) + "::" + n;
            writeMetaClass(o, s, "CIMPLE_FLAG_METHOD", m.name, "", names, repo);
        }
        // The class's own feature records, then the class.
        std::vector<std::string> names;
        o << "namespace " << metaNs(c.name) << " {\n";
        for (const Feature& f : c.all)
            if (f.metaOwner == c.name) {
                if (f.kind == Feature::METHOD) {
                    o << "const Meta_Feature " << f.name << " = {\n    " << flagsOf(f) << ", \"" << f.name << "\", "
                      << TYPE_TAGS[f.type] << ", false, &" << methodStruct(c.name, f.name)
                      << "::static_meta_class, nullptr, nullptr, nullptr};\n";
                } else {
                    writeMemberRecord(o, f.name, flagsOf(f), f.name, f.type, f.array, f.kind == Feature::REFERENCE,
                                      f.refClass, f.memberOwner, f.memberRefClass);
                }
            }
        for (const Feature& f : c.all)
            names.push_back(metaNs(f.metaOwner) + "::" + f.name);
        writeMetaClass(o, c.name, classFlags(c), c.name, c.super, names, repo);
    }
    if (!table.classes().empty()) {
        o << "namespace {\nconst Meta_Class* const meta_classes[] = {\n";
        for (const Class& c : table.classes())
            o << "    &" << c.name << "::static_meta_class,\n";
        o << "};\n} // namespace\n\n";
    }
    o << "const Meta_Repository " << repo << " = {" << (table.classes().empty() ? "nullptr" : "meta_classes")
      << ", " << table.classes().size() << "};\n\n";
    o << "} // namespace cimple\n";
}

void writeHeader(std::ostream& h, const Table& table, const std::string& stem)
{
    std::string guard = "CIMPLE_GENERATED_" + stem + "_H";
    for (char& c : guard)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    h << "// Generated by cimple_gen from " << g_file << "; do not edit.\n";
    h << "#ifndef " << guard << "\n#define " << guard << "\n\n#include <cimple/cimple.h>\n\n";
    h << "namespace cimple {\n\n";
    for (const Class& c : table.classes())
        h << "struct " << c.name << ";\n";
    h << "\n// Every class of the table.\nextern const Meta_Repository cimple_meta_repository_" << stem << ";\n\n";
    for (const Class& c : table.classes()) {
        for (const Feature& m : c.all)
            if (m.kind == Feature::METHOD && m.metaOwner == c.name)
                writeMethodStruct(h, c, m);
        writeClassStruct(h, c);
    }
    h << "// Provider member functions for the methods, one line each:\n";
    for (const Class& c : table.classes())
        for (const Feature& m : c.all) {
            if (m.kind != Feature::METHOD)
                continue;
            h << "//   " << c.name << ": int " << m.name << "(const " << c.name << "* self";
            for (const Param& p : m.params)
                h << ", " << paramSignature(p);
            h << ", Property<" << CXX_TYPES[m.type] << ">& return_value);\n";
        }
    h << "\n} // namespace cimple\n\n#endif\n";
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        fprintf(stderr, "cimple_gen: cannot write %s\n", path.c_str());
        exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: cimple_gen TABLE OUT_DIR STEM\n");
        return 2;
    }
    g_file = argv[1];
    std::ifstream in(g_file, std::ios::binary);
    if (!in) {
        fprintf(stderr, "cimple_gen: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream src;
    src << in.rdbuf();
    std::vector<Token> tokens = tokenize(src.str());
    Table table(Parser(tokens).parse());
    table.resolve();

    const std::string stem = argv[3];
    for (char c : stem)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_') {
            fprintf(stderr, "cimple_gen: the stem must be an identifier\n");
            return 2;
        }
    std::ostringstream h, cpp;
    writeHeader(h, table, stem);
    writeSource(cpp, table, stem);
    writeFile(std::string(argv[2]) + "/" + stem + ".h", h.str());
    writeFile(std::string(argv[2]) + "/" + stem + ".cpp", cpp.str());
    return 0;
}
