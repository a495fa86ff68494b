#ifndef TARNELLCHUNK_H
#define TARNELLCHUNK_H

#include "RaidModel/Interface/Chunk.h"

// An extent of a logical drive on a hard drive of a Tarnell controller,
// addressed by channel and device; always a data chunk in normal state.
class STOR_EXPORT TarnellChunk : public Chunk {
public:
    TarnellChunk();
    TarnellChunk(const TarnellChunk& right);
    // The sector values are widened with their sign (-1 is all 64 bits set).
    TarnellChunk(int channelIDIN, int deviceIDIN, int startSectorIN, int numSectorIN, int reservedIN, int groupIN);
    ~TarnellChunk() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
};

#endif
