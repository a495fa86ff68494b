#ifndef JDLLHANDLES_H
#define JDLLHANDLES_H

// The interface objects of the legacy bridge's Java StorageDLL objects.
//
// A Java StorageDLL object keeps its StoreDLLIntf in the int field
// "iCppDllPtr". A Java int cannot hold a 64-bit pointer, so the field holds
// an index into this table instead: 0 means none, indexes count up from 1
// and are never handed out twice, so a stale index (its object destroyed) or
// one that was never handed out finds nothing rather than another object.
// A native holds the object of its index for as long as it runs (a lease);
// removing the index while a native holds it deletes the object only when
// the last lease ends. Everything is guarded by the table's mutex.

#include <jni.h>

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "RaidLib/Util/StorExport.h"

class StoreDLLIntf;

namespace legacyjdll {

class InterfaceLease;

class STOR_EXPORT InterfaceTable {
public:
    InterfaceTable();
    // Deletes the objects still in the table.
    ~InterfaceTable();
    InterfaceTable(const InterfaceTable&) = delete;
    InterfaceTable& operator=(const InterfaceTable&) = delete;

    // Takes the object over under a new index and returns the index; 0 (the
    // object not taken) for a null object, when memory is short or when
    // every index has been handed out.
    jint add(StoreDLLIntf* intf);
    // The object of a live index, not held; null for any other index.
    StoreDLLIntf* peek(jint index);
    // Holds the object of a live index until the lease ends; an empty lease
    // for any other index.
    InterfaceLease hold(jint index);
    // Ends the index: the object is deleted now, or when its last lease ends.
    // Any other index is ignored.
    void remove(jint index);
    // Live indexes.
    size_t size();

    // For tests: the next index to hand out.
    void setNextIndexForTest(int64_t next);

private:
    friend class InterfaceLease;
    struct Entry {
        jint index;
        StoreDLLIntf* intf;
        unsigned holders;
        bool removed;
        Entry* next;
    };
    Entry* find(jint index);          // a live entry; mutex held
    void unlink(Entry* entry);        // mutex held
    void release(Entry* entry);

    std::mutex mutex;
    Entry* head;
    int64_t nextIndex;
};

// A held interface object; moves, does not copy.
class STOR_EXPORT InterfaceLease {
public:
    InterfaceLease() : table(nullptr), entry(nullptr) {}
    InterfaceLease(InterfaceLease&& other) noexcept : table(other.table), entry(other.entry)
    {
        other.table = nullptr;
        other.entry = nullptr;
    }
    InterfaceLease& operator=(InterfaceLease&& other) noexcept;
    InterfaceLease(const InterfaceLease&) = delete;
    InterfaceLease& operator=(const InterfaceLease&) = delete;
    ~InterfaceLease();

    StoreDLLIntf* get() const;
    explicit operator bool() const { return entry != nullptr; }

private:
    friend class InterfaceTable;
    InterfaceLease(InterfaceTable* t, InterfaceTable::Entry* e) : table(t), entry(e) {}
    InterfaceTable* table;
    InterfaceTable::Entry* entry;
};

// The table of the process.
STOR_EXPORT InterfaceTable& interfaceTable();

} // namespace legacyjdll

#endif
