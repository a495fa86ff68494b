#include "RaidLib/Util/ProgressCollection.h"

#include "RaidModel/Serialization/Writer.h"

ProgressCollection::ProgressCollection() {}

ProgressCollection::~ProgressCollection() {}

ProgressCollection::ProgressCollection(const ProgressCollection& right) : ProgressVec(right.ProgressVec) {}

ProgressCollection& ProgressCollection::operator=(const ProgressCollection& right)
{
    ProgressVec = right.ProgressVec;
    return *this;
}

void ProgressCollection::add(Progress& p) { ProgressVec.push_back(p); }

void ProgressCollection::writeTo(Writer* w) const
{
    if (!w)
        return;
    for (const Progress& p : ProgressVec)
        w->addTag(p.toXML().c_str());
}

std::string ProgressCollection::toXML() const
{
    std::string xml("<ProgressCollection> ");
    for (const Progress& p : ProgressVec)
        xml += p.toXML();
    xml += " </ProgressCollection>";
    return xml;
}
