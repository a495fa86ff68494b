#ifndef NRMCONFIGBUILDER_H
#define NRMCONFIGBUILDER_H

// The configuration snapshot of a monitor and its file. build copies a live
// configuration tree and the monitor's task list into snapshot objects,
// writeXML stores them as the snapshot file, readXML rebuilds them from that
// file at the next start; the monitor compares the rebuilt controllers with
// the live ones through the same model operations.
//
// The builder and its tree belong to the thread of the monitor that owns
// them; nothing is locked.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "RaidLib/Util/StorExport.h"

class NRMProgressCollection;
class NRMSystem;
class System;

class STOR_EXPORT NRMConfigBuilder {
public:
    // No tree, no open file, no text.
    explicit NRMConfigBuilder(std::string configFileName);
    // Deletes the tree.
    ~NRMConfigBuilder();
    NRMConfigBuilder(const NRMConfigBuilder&) = delete;
    NRMConfigBuilder& operator=(const NRMConfigBuilder&) = delete;

    // Replaces the tree by a snapshot of the system (its controllers) and a
    // copy of the task list; either may be null. The root's last child is
    // always the task list, empty or not. A failed allocation leaves no tree
    // and passes on.
    void build(System* system, NRMProgressCollection* progress);
    // Writes the tree (an empty "System" when there is none) to the snapshot
    // file, then deletes the tree. The file is replaced whole: the text goes
    // to a new file beside it, which is renamed over the snapshot once it
    // is complete; a write that fails leaves the previous snapshot as it was.
    // A text equal to the one this builder wrote last, over a file that is
    // still the one it wrote (same file, size and times), leaves
    // the file as it is. Nothing is written without a file name.
    void writeXML();
    // Removes the temporary files that writers which died while writing
    // left beside the snapshot file, then replaces the tree by the one
    // stored in the snapshot file; afterwards there is always a root. A
    // missing, empty, unreadable, malformed or truncated file gives a root
    // without children, so every controller counts as new. The objects read
    // refer to the builder's text and must not outlive the next readXML.
    // When memory runs out the reading fails as a whole: std::bad_alloc
    // passes on and there is no tree.
    void readXML();
    // Takes another snapshot file name.
    void resetConfigFile(std::string configFileName);

    // The text last read from the file, parsed in place.
    std::string xmlText;
    // The current snapshot tree, or null.
    NRMSystem* nrmSystem;
    std::string configFileName;
    // Open only inside readXML.
    FILE* configFile;

private:
    // The length of the last snapshot written: the next one starts in a
    // block of about that size.
    uint32_t writtenLength = 0;
    // The text of the snapshot file as this builder last wrote it, and that
    // file's status right after the write; no text while none is known.
    std::unique_ptr<char[]> storedText;
    size_t storedTextLength = 0;
    struct stat storedFile = {};

    void deleteTree();
    // The whole file into xmlText; false (and an empty text) when it cannot
    // be read.
    bool readFile();
    // Replaces the snapshot file by the text; false when it could not.
    bool replaceFile(const char* text, size_t length);
    // The snapshot file still holds this text as this builder wrote it.
    bool fileHoldsText(const char* text, size_t length) const;
    // Removes the temporary files of replaceFile whose writing process is
    // gone; the process id in a file's name tells its writer.
    void removeDeadWritersFiles();
    // The tree of xmlText; an empty root when the text does not hold a whole
    // snapshot.
    void parseText();
};

#endif
