#include "storagedll/jdllhandles.h"

#include <climits>
#include <new>

#include "storagedll/storintf.h"

namespace legacyjdll {

InterfaceTable::InterfaceTable() : head(nullptr), nextIndex(1) {}

InterfaceTable::~InterfaceTable()
{
    while (head) {
        Entry* e = head;
        head = e->next;
        delete e->intf;
        delete e;
    }
}

InterfaceTable::Entry* InterfaceTable::find(jint index)
{
    if (index == 0)
        return nullptr;
    for (Entry* e = head; e; e = e->next) {
        if (e->index == index)
            return e->removed ? nullptr : e;
    }
    return nullptr;
}

void InterfaceTable::unlink(Entry* entry)
{
    for (Entry** link = &head; *link; link = &(*link)->next) {
        if (*link == entry) {
            *link = entry->next;
            return;
        }
    }
}

jint InterfaceTable::add(StoreDLLIntf* intf)
{
    if (!intf)
        return 0;
    Entry* entry = new (std::nothrow) Entry{0, intf, 0, false, nullptr};
    if (!entry)
        return 0;
    std::lock_guard<std::mutex> hold(mutex);
    if (nextIndex > INT_MAX) {
        delete entry;
        return 0;
    }
    entry->index = jint(nextIndex++);
    entry->next = head;
    head = entry;
    return entry->index;
}

StoreDLLIntf* InterfaceTable::peek(jint index)
{
    std::lock_guard<std::mutex> hold(mutex);
    Entry* e = find(index);
    return e ? e->intf : nullptr;
}

InterfaceLease InterfaceTable::hold(jint index)
{
    std::lock_guard<std::mutex> guard(mutex);
    Entry* e = find(index);
    if (!e)
        return InterfaceLease();
    ++e->holders;
    return InterfaceLease(this, e);
}

void InterfaceTable::remove(jint index)
{
    Entry* gone = nullptr;
    {
        std::lock_guard<std::mutex> hold(mutex);
        Entry* e = find(index);
        if (!e)
            return;
        e->removed = true;
        if (e->holders == 0) {
            unlink(e);
            gone = e;
        }
    }
    // The object closes its library: not under the mutex.
    if (gone) {
        delete gone->intf;
        delete gone;
    }
}

void InterfaceTable::release(Entry* entry)
{
    bool gone = false;
    {
        std::lock_guard<std::mutex> hold(mutex);
        if (--entry->holders == 0 && entry->removed) {
            unlink(entry);
            gone = true;
        }
    }
    if (gone) {
        delete entry->intf;
        delete entry;
    }
}

size_t InterfaceTable::size()
{
    std::lock_guard<std::mutex> hold(mutex);
    size_t n = 0;
    for (Entry* e = head; e; e = e->next)
        n += e->removed ? 0 : 1;
    return n;
}

void InterfaceTable::setNextIndexForTest(int64_t next)
{
    std::lock_guard<std::mutex> hold(mutex);
    nextIndex = next;
}

InterfaceLease& InterfaceLease::operator=(InterfaceLease&& other) noexcept
{
    if (this != &other) {
        if (entry)
            table->release(entry);
        table = other.table;
        entry = other.entry;
        other.table = nullptr;
        other.entry = nullptr;
    }
    return *this;
}

InterfaceLease::~InterfaceLease()
{
    if (entry)
        table->release(entry);
}

StoreDLLIntf* InterfaceLease::get() const { return entry ? entry->intf : nullptr; }

InterfaceTable& interfaceTable()
{
    static InterfaceTable table;
    return table;
}

} // namespace legacyjdll
