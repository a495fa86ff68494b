#include "monitor/NRMSnapshotReader.h"

#include <cstring>

namespace nrmsnapshot {

namespace {

struct Entity {
    const char* text;
    size_t length;
    char character;
};

const Entity entities[] = {
    {"&quot;", 6, '"'}, {"&amp;", 5, '&'}, {"&apos;", 6, '\''}, {"&lt;", 4, '<'}, {"&gt;", 4, '>'},
};

} // namespace

void decodeEntities(char* text)
{
    if (!text)
        return;
    char* in = std::strchr(text, '&');
    if (!in)
        return;
    // The decoded text is never longer: it is written over the original.
    char* out = in;
    while (*in != '\0') {
        if (*in == '&') {
            const Entity* found = nullptr;
            for (const Entity& e : entities) {
                if (std::strncmp(in, e.text, e.length) == 0) {
                    found = &e;
                    break;
                }
            }
            if (found) {
                *out++ = found->character;
                in += found->length;
                continue;
            }
        }
        *out++ = *in++;
    }
    *out = '\0';
}

void deleteTree(RaidObject* object)
{
    if (!object)
        return;
    object->deleteAllChildren();
    delete object;
}

} // namespace nrmsnapshot
