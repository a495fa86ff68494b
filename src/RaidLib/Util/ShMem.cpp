#include "RaidLib/Util/ShMem.h"

#include <cstdio>
#include <cstring>
#include <new>

ShMem::ShMem(EnumAdapterType type, const char* qualifier)
    : _locker(nullptr), _first(0), _count(0)
{
    _locker = new (std::nothrow) UnixLocker(type, qualifier);
    int n = snprintf(_path, sizeof _path, "/var/lock/StorShMem-%d%s", static_cast<int>(type),
                     qualifier ? qualifier : "");
    // A cut name could be another queue's file: no file instead.
    if (n < 0 || static_cast<size_t>(n) >= sizeof _path)
        _path[0] = '\0';
}

ShMem::ShMem(const char* whereToSave) : _locker(nullptr), _first(0), _count(0)
{
    _locker = new (std::nothrow) UnixLocker(PELM, nullptr);
    _path[0] = '\0';
    if (whereToSave && strlen(whereToSave) < sizeof _path)
        strcpy(_path, whereToSave);
}

ShMem::~ShMem()
{
    _count = 0;
    delete _locker;
}

int ShMem::getRecordCount()
{
    _lock();
    _readFile();
    _unlock();
    return _count;
}

void ShMem::addRecord(const GenericRecord* record)
{
    if (!record)
        return;
    GenericRecord copy;
    memcpy(&copy, record, sizeof copy);
    _lock();
    _readFile();
    _addRecord(copy);
    _writeFile();
    _unlock();
}

void ShMem::getRecord(GenericRecord* out, int index) const
{
    if (!out)
        return;
    memset(out, 0, sizeof *out);
    if (index >= 0 && index < _count)
        memcpy(out, &_at(index), sizeof *out);
}

void ShMem::getFirstRecord(GenericRecord* out) const { getRecord(out, 0); }

void ShMem::getLastRecord(GenericRecord* out) const { getRecord(out, _count - 1); }

const GenericRecord& ShMem::_at(int index) const { return _records[(_first + index) % (QUEUE_DEPTH - 1)]; }

void ShMem::_readFile()
{
    FILE* file = fopen(_path, "rb");
    if (!file)
        return;
    _first = 0;
    _count = 0;
    GenericRecord record;
    while (fread(&record, sizeof record, 1, file) == 1)
        _addRecord(record);
    fclose(file);
}

void ShMem::_writeFile() const
{
    FILE* file = fopen(_path, "wb");
    if (!file)
        return;
    for (int i = 0; i < _count; ++i)
        fwrite(&_at(i), sizeof(GenericRecord), 1, file);
    fclose(file);
}

void ShMem::_addRecord(const GenericRecord& record)
{
    const int capacity = QUEUE_DEPTH - 1;
    if (_count < capacity) {
        memcpy(&_records[(_first + _count) % capacity], &record, sizeof record);
        ++_count;
    } else {
        // The record that brings the count to the depth drops the oldest.
        memcpy(&_records[_first], &record, sizeof record);
        _first = (_first + 1) % capacity;
    }
}

void ShMem::_lock()
{
    if (_locker)
        _locker->getLock();
}

void ShMem::_unlock()
{
    if (_locker)
        _locker->releaseLock();
}
