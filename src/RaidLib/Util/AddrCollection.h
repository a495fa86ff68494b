#ifndef ADDRCOLLECTION_H
#define ADDRCOLLECTION_H

#include <cstddef>
#include <vector>

#include "RaidLib/Util/Addr.h"

// An ordered list of addresses that owns copies of what is added to it.
class STOR_EXPORT AddrCollection {
public:
    typedef std::vector<Addr>::iterator iterator;
    typedef std::vector<Addr>::const_iterator const_iterator;

    void addAddr(const Addr& a) { AddrVec.push_back(a); }
    void push_back(const Addr& a) { AddrVec.push_back(a); }
    size_t getAddrCount() const { return AddrVec.size(); }
    size_t size() const { return AddrVec.size(); }
    // i must be below the count.
    Addr getAddr(size_t i) const { return AddrVec[i]; }

    iterator begin() { return AddrVec.begin(); }
    iterator end() { return AddrVec.end(); }
    const_iterator begin() const { return AddrVec.begin(); }
    const_iterator end() const { return AddrVec.end(); }

    bool operator==(const AddrCollection& other) const;
    bool operator!=(const AddrCollection& other) const { return !(*this == other); }

    std::vector<Addr> AddrVec;
};

// The same for addresses with their library type; getAddr returns the stored element.
class STOR_EXPORT Addr2Collection {
public:
    typedef std::vector<Addr2>::iterator iterator;
    typedef std::vector<Addr2>::const_iterator const_iterator;

    void addAddr(const Addr2& a) { Addr2Vec.push_back(a); }
    void push_back(const Addr2& a) { Addr2Vec.push_back(a); }
    size_t getAddrCount() const { return Addr2Vec.size(); }
    size_t size() const { return Addr2Vec.size(); }
    // i must be below the count.
    Addr2& getAddr(size_t i) { return Addr2Vec[i]; }
    const Addr2& getAddr(size_t i) const { return Addr2Vec[i]; }

    iterator begin() { return Addr2Vec.begin(); }
    iterator end() { return Addr2Vec.end(); }
    const_iterator begin() const { return Addr2Vec.begin(); }
    const_iterator end() const { return Addr2Vec.end(); }

    bool operator==(const Addr2Collection& other) const;
    bool operator!=(const Addr2Collection& other) const { return !(*this == other); }

    std::vector<Addr2> Addr2Vec;
};

#endif
