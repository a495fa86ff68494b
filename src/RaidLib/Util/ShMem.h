#ifndef SHMEM_H
#define SHMEM_H

// A small queue of fixed-size records kept in a file, through which processes
// on one machine hand records to each other. Each object keeps a copy of the
// queue in memory, re-reads the file before counting or adding and rewrites
// the whole file after adding; the file's inter-process lock is held around
// each of these, so concurrent adds lose nothing. At most 99 records are
// kept: adding to a full queue drops the oldest.

#include <cstddef>
#include <cstdint>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/UnixLocker.h"

// A queue record; the queue file holds their 520-byte images, oldest first.
struct GenericRecord {
    int32_t size;
    int16_t type;
    uint8_t data[512];
};
typedef GenericRecord GENERIC_RECORD;
static_assert(sizeof(GenericRecord) == 520, "a record image is 520 bytes");
static_assert(offsetof(GenericRecord, type) == 4 && offsetof(GenericRecord, data) == 6, "record layout");

class STOR_EXPORT ShMem {
public:
    static const int QUEUE_DEPTH = 100;
    static const size_t PATH_SIZE = 512;

    // Queue file "/var/lock/StorShMem-<type><qualifier>", locked with a
    // UnixLocker of the same type and qualifier.
    ShMem(EnumAdapterType type, const char* qualifier);
    // Queue file at the given path, locked with the locker of adapter type
    // PELM. A path that does not fit PATH_SIZE gives a queue without a file.
    explicit ShMem(const char* whereToSave);
    ~ShMem();
    ShMem(const ShMem&) = delete;
    ShMem& operator=(const ShMem&) = delete;

    // Re-reads the file; the number of records held.
    int getRecordCount();
    // Re-reads the file, appends a copy of the record and rewrites the file.
    void addRecord(const GenericRecord* record);
    // Copies record index (0 = oldest) of the copy in memory, as the last
    // getRecordCount or addRecord left it; all zero when there is none.
    void getRecord(GenericRecord* out, int index) const;
    void getFirstRecord(GenericRecord* out) const;
    void getLastRecord(GenericRecord* out) const;

private:
    void _readFile();
    void _writeFile() const;
    void _addRecord(const GenericRecord& record);
    void _lock();
    void _unlock();
    const GenericRecord& _at(int index) const;

    char _path[PATH_SIZE];
    OSLocker* _locker;
    // Ring of the records in memory, oldest at _first.
    GenericRecord _records[QUEUE_DEPTH - 1];
    int _first;
    int _count;
};

#endif
