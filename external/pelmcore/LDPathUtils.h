#ifndef LDPATHUTILS_H
#define LDPATHUTILS_H

// The place of a Pelm controller, hard drive or logical drive as a path
// record, and its text. The text of a drive or logical drive is its
// controller's text followed by the path that the controller's event list
// gives for it ("LDPath"): "pelm/02:04.0" is a controller on PCI bus 2,
// device 4, function 0; "pelm/02:04.0/c1/t3" the disk on its channel 1,
// target 3; "pelm/02:04.0/ld2" its logical drive 2. The texts of different
// objects differ, and none is longer than 25 characters.

#include <cstdint>

#include "RaidLib/Util/StorExport.h"

enum EnumLDTreeKind : uint32_t {
    LDTREE_NONE = 0, // a zero-filled record: its text is empty
    LDTREE_ADAPTER = 1,
    LDTREE_HARD_DRIVE = 2,
    LDTREE_LOGICAL_DRIVE = 3
};

// A path record, filled by PelmLib::getPath. Callers may zero-fill it.
struct _LDTree {
    uint32_t kind;        // EnumLDTreeKind
    uint8_t pciBus;
    uint8_t pciDevice;
    uint8_t pciFunction;
    uint8_t channel;      // hard drive
    uint16_t target;      // hard drive
    uint16_t logicalDrive; // logical drive
};

class STOR_EXPORT LDPathUtils {
public:
    // Longest text of a record, without its terminator.
    static const int MAX_TEXT = 25;

    // Writes the record's text into buffer, cut to size - 1 characters and
    // always terminated; the number of characters written. A null buffer or
    // a size below 1 writes nothing and gives -1; a record of an unknown kind
    // gives the empty text.
    static int sPrintPath(_LDTree path, char* buffer, int size);

    // The part of the text after the controller's, as the event list names
    // an object: "/c<channel>/t<target>", "/ld<number>"; empty for a
    // controller or an unknown kind.
    static int sPrintRelativePath(const _LDTree& path, char* buffer, int size);
};

#endif
