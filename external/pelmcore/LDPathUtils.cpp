#include "LDPathUtils.h"

#include <cstdio>

namespace {

// snprintf's count of what it wrote into the buffer: never beyond size - 1.
int written(int wanted, int size)
{
    if (wanted < 0)
        return -1;
    return wanted < size ? wanted : size - 1;
}

} // namespace

int LDPathUtils::sPrintRelativePath(const _LDTree& path, char* buffer, int size)
{
    if (!buffer || size < 1)
        return -1;
    switch (path.kind) {
    case LDTREE_HARD_DRIVE:
        return written(snprintf(buffer, size, "/c%u/t%u", unsigned(path.channel), unsigned(path.target)), size);
    case LDTREE_LOGICAL_DRIVE:
        return written(snprintf(buffer, size, "/ld%u", unsigned(path.logicalDrive)), size);
    default:
        buffer[0] = '\0';
        return 0;
    }
}

int LDPathUtils::sPrintPath(_LDTree path, char* buffer, int size)
{
    if (!buffer || size < 1)
        return -1;
    if (path.kind != LDTREE_ADAPTER && path.kind != LDTREE_HARD_DRIVE && path.kind != LDTREE_LOGICAL_DRIVE) {
        buffer[0] = '\0';
        return 0;
    }
    const int head = written(snprintf(buffer, size, "pelm/%02x:%02x.%x", unsigned(path.pciBus),
                                      unsigned(path.pciDevice), unsigned(path.pciFunction)),
                             size);
    if (head < 0)
        return -1;
    const int tail = sPrintRelativePath(path, buffer + head, size - head);
    return tail < 0 ? head : head + tail;
}
