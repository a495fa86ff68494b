// A text value: the CIM string type of instances, and the framework's text.
#ifndef CIMPLE_STRING_H
#define CIMPLE_STRING_H

#include <string>

#include "config.h"

namespace cimple {

class String {
public:
    static const size_t npos = std::string::npos;

    String() {}
    String(const char* s) : _s(s ? s : "") {}
    String(const char* s, size_t n) : _s(s ? std::string(s, n) : std::string()) {}
    String(const std::string& s) : _s(s) {}

    size_t size() const { return _s.size(); }
    bool empty() const { return _s.empty(); }
    const char* c_str() const { return _s.c_str(); }
    const std::string& str() const { return _s; }
    char operator[](size_t i) const { return _s[i]; }

    void assign(const char* s) { _s = s ? s : ""; }
    void assign(const char* s, size_t n) { _s.assign(s ? s : "", s ? n : 0); }
    void append(const char* s) { _s.append(s ? s : ""); }
    void append(const char* s, size_t n) { _s.append(s ? s : "", s ? n : 0); }
    void append(const String& s) { _s.append(s._s); }
    void append(char c) { _s.push_back(c); }
    void clear() { _s.clear(); }
    void remove(size_t pos, size_t n = npos) { _s.erase(pos, n); }

    String substr(size_t pos, size_t n = npos) const { return pos <= _s.size() ? String(_s.substr(pos, n)) : String(); }
    size_t find(char c, size_t pos = 0) const { return _s.find(c, pos); }
    size_t find(const char* s, size_t pos = 0) const { return _s.find(s ? s : "", pos); }

    bool equal(const String& s) const { return _s == s._s; }
    bool equali(const String& s) const { return eqi(c_str(), s.c_str()); }

    String& operator=(const char* s)
    {
        assign(s);
        return *this;
    }
    String& operator+=(const String& s)
    {
        _s += s._s;
        return *this;
    }
    String& operator+=(const char* s)
    {
        append(s);
        return *this;
    }
    String& operator+=(char c)
    {
        _s.push_back(c);
        return *this;
    }

private:
    std::string _s;
};

inline bool operator==(const String& a, const String& b) { return a.str() == b.str(); }
inline bool operator==(const String& a, const char* b) { return a.str() == (b ? b : ""); }
inline bool operator==(const char* a, const String& b) { return b == a; }
inline bool operator!=(const String& a, const String& b) { return !(a == b); }
inline bool operator!=(const String& a, const char* b) { return !(a == b); }
inline bool operator!=(const char* a, const String& b) { return !(b == a); }
inline bool operator<(const String& a, const String& b) { return a.str() < b.str(); }
inline String operator+(const String& a, const String& b)
{
    String r(a);
    r += b;
    return r;
}

} // namespace cimple

#endif
