#ifndef PROGRESSCOLLECTION_H
#define PROGRESSCOLLECTION_H

#include <string>
#include <vector>

#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/StorExport.h"

class Writer;

// The tasks in progress of a controller or of an object below it, in the
// order they were added; the collection owns copies.
class STOR_EXPORT ProgressCollection {
public:
    ProgressCollection();
    ~ProgressCollection();
    ProgressCollection(const ProgressCollection& right);
    ProgressCollection& operator=(const ProgressCollection& right);

    // Appends a copy of p.
    void add(Progress& p);
    int getProgressCount() const { return static_cast<int>(ProgressVec.size()); }
    int getSize() const { return static_cast<int>(ProgressVec.size()); }
    // The i-th record; i must be below the count.
    Progress& getProgress(int i) { return ProgressVec[static_cast<size_t>(i)]; }
    std::vector<Progress> getCollection() const { return ProgressVec; }

    bool operator==(const ProgressCollection& right) const { return ProgressVec == right.ProgressVec; }
    bool operator!=(const ProgressCollection& right) const { return !(*this == right); }

    // Each record's element, in order, appended unchanged.
    void writeTo(Writer* w) const;
    // "<ProgressCollection> ", the records, " </ProgressCollection>".
    std::string toXML() const;

private:
    std::vector<Progress> ProgressVec;
};

#endif
