#include "RaidLib/Util/AddrCollection.h"

#include <algorithm>

bool AddrCollection::operator==(const AddrCollection& other) const
{
    return AddrVec.size() == other.AddrVec.size() &&
           std::equal(AddrVec.begin(), AddrVec.end(), other.AddrVec.begin(),
                      [](const Addr& a, const Addr& b) { return a.IsEqual(b); });
}

bool Addr2Collection::operator==(const Addr2Collection& other) const
{
    return Addr2Vec.size() == other.Addr2Vec.size() &&
           std::equal(Addr2Vec.begin(), Addr2Vec.end(), other.Addr2Vec.begin(),
                      [](const Addr2& a, const Addr2& b) { return a.IsEqual2(b); });
}
