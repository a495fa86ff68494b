// Controller behaviour of the simulator: drive states, hot-spare take-over,
// logical-drive creation and deletion, array expansion and migration, and the
// tasks that run on the simulated clock.

#include <algorithm>
#include <ctime>

#include "SimInternal.h"

namespace tarnellsim {

namespace {

const uint8_t TASK_STATUS_DONE = 0x00;
const uint8_t TASK_STATUS_FAILED = 0x31;

bool isDead(uint8_t state) {
    return state != DEVSTATE_ONLINE && state != DEVSTATE_REBUILDING;
}

bool isSpare(const Device& d) {
    return d.type == DEVTYPE_DISK && d.present &&
           (d.state == DEVSTATE_HOT_SPARE || d.state == DEVSTATE_HOT_SPARE_05);
}

// Minimum number of disks of a basic level.
unsigned minDisks(unsigned code, uint8_t params) {
    if (code == 1) return 2;
    if (code == 5) return (params & (VDP_PARAM_RAID5E | VDP_PARAM_RAID5EE)) ? 4 : 3;
    return 1;
}

// Sectors each of n disks carries for `data` sectors of a basic drive; 0 when
// n does not fit the level.
uint32_t perDisk(unsigned code, uint8_t params, uint64_t data, size_t n) {
    if (n == 0 || n < minDisks(code, params)) return 0;
    uint64_t num = data, den = n;
    if (code == 1) {
        if (n == 2) den = 1;
        else num = 2 * data;                       // RAID-1E mirrors every stripe once
    } else if (code == 5) {
        den = (params & (VDP_PARAM_RAID5E | VDP_PARAM_RAID5EE)) ? n - 2 : n - 1;
    }
    uint64_t r = (num + den - 1) / den;
    return r > 0xFFFFFFFFull ? 0 : uint32_t(r);
}

// The data size a basic drive holds with `per` sectors on each of n disks.
uint64_t dataFor(unsigned code, uint8_t params, uint64_t per, size_t n) {
    if (code == 1) return n == 2 ? per : per * n / 2;
    if (code == 5) return per * ((params & (VDP_PARAM_RAID5E | VDP_PARAM_RAID5EE)) ? n - 2 : n - 1);
    return per * n;
}

uint64_t rateOf(const Controller& c, const Task& t) {
    const uint64_t mib = 2048;
    switch (t.kind) {
    case Task::REBUILD:
    case Task::COPYBACK:
        if (c.rebuildRate >= REBUILD_RATE_HIGH) return 100 * mib;
        if (c.rebuildRate >= REBUILD_RATE_MEDIUM) return 50 * mib;
        return 20 * mib;
    case Task::SYNCHRONIZE: return 50 * mib;
    case Task::INITIALIZE: return 100 * mib;
    case Task::MIGRATE:
    case Task::COMPACT: return 20 * mib;
    }
    return 50 * mib;
}

// All basic drives (top-level and sub-logical) with a chunk on a device.
std::vector<std::pair<LogicalDrive*, bool>> drivesOnDevice(Controller& c, unsigned ch, unsigned tg) {
    std::vector<std::pair<LogicalDrive*, bool>> out;
    auto scan = [&](std::vector<LogicalDrive>& v, bool sub) {
        for (auto& d : v) {
            if (d.spanned) continue;
            for (auto& k : d.chunks)
                if (k.channel == ch && k.target == tg) {
                    out.emplace_back(&d, sub);
                    break;
                }
        }
    };
    scan(c.drives, false);
    scan(c.subDrives, true);
    return out;
}

uint32_t usageOn(Controller& c, unsigned ch, unsigned tg) {
    uint32_t need = 0;
    for (auto& p : drivesOnDevice(c, ch, tg))
        for (auto& k : p.first->chunks)
            if (k.channel == ch && k.target == tg) need = std::max(need, k.startSector + k.sectorCount);
    return need;
}

void replaceOnDevice(Controller& c, unsigned ch, unsigned tg, unsigned nch, unsigned ntg) {
    for (auto& p : drivesOnDevice(c, ch, tg))
        for (auto& k : p.first->chunks)
            if (k.channel == ch && k.target == tg) {
                k.channel = uint8_t(nch);
                k.target = uint8_t(ntg);
            }
}

void queueRebuilds(Controller& c, unsigned ch, unsigned tg) {
    for (auto& p : drivesOnDevice(c, ch, tg)) {
        if (!isRedundant(*p.first)) continue;
        Task t;
        t.kind = Task::REBUILD;
        t.drive = p.first->number;
        t.subLogical = p.second;
        t.channel = uint8_t(ch);
        t.target = uint8_t(tg);
        t.totalBlocks = std::max<uint64_t>(p.first->sizeSectors, 1);
        c.tasks.push_back(t);
    }
}

bool hasRedundantDrive(Controller& c, unsigned ch, unsigned tg) {
    for (auto& p : drivesOnDevice(c, ch, tg))
        if (isRedundant(*p.first)) return true;
    return false;
}

// A failed member is replaced by the first hot spare large enough, which is
// then rebuilt for every redundant drive of the array. Drives without
// redundancy take no spare.
void takeOver(Controller& c, unsigned ch, unsigned tg) {
    if (!hasRedundantDrive(c, ch, tg)) return;
    uint32_t need = usageOn(c, ch, tg);
    for (auto& s : c.devices) {
        if (!isSpare(s) || s.blocks < need) continue;
        replaceOnDevice(c, ch, tg, s.channel, s.target);
        s.state = DEVSTATE_REBUILDING;
        s.replacedSlot = slotOf(ch, tg);
        queueRebuilds(c, s.channel, s.target);
        return;
    }
}

// Dead members still in a redundant drive get a spare when one appears.
void takeOverWaiting(Controller& c) {
    for (auto& d : c.devices)
        if (d.type == DEVTYPE_DISK && isDead(d.state) && deviceIsMember(c, d.channel, d.target))
            takeOver(c, d.channel, d.target);
}

void endTask(Controller& c, size_t index, uint8_t status) {
    Task t = c.tasks[index];
    c.tasks.erase(c.tasks.begin() + long(index));
    if (index == 0) {   // only a running task leaves a record behind
        t.status = status;
        c.lastTask = t;
        c.hasLastTask = true;
    }
}

// Removes the tasks that a predicate selects, recording a running one as failed.
template <typename Pred>
void dropTasks(Controller& c, Pred pred) {
    for (size_t i = c.tasks.size(); i-- > 0;)
        if (pred(c.tasks[i])) endTask(c, i, TASK_STATUS_FAILED);
}

void failTasksOnDevice(Controller& c, unsigned ch, unsigned tg) {
    dropTasks(c, [&](const Task& t) {
        bool target = (t.kind == Task::REBUILD || t.kind == Task::COPYBACK) && t.channel == ch && t.target == tg;
        bool source = t.kind == Task::COPYBACK && t.sourceChannel == ch && t.sourceTarget == tg;
        return target || source;
    });
}

void dropDriveTasks(Controller& c, unsigned number, bool sub) {
    dropTasks(c, [&](const Task& t) {
        return t.kind != Task::COPYBACK && t.drive == number && t.subLogical == sub;
    });
}

// Devices no longer carried by any drive become ready again.
void releaseDevices(Controller& c, const DeviceSet& set) {
    for (auto& m : set) {
        if (deviceIsMember(c, m.first, m.second)) continue;
        Device* d = findDevice(c, m.first, m.second);
        if (!d) continue;
        failTasksOnDevice(c, m.first, m.second);
        if (d->state == DEVSTATE_ONLINE || d->state == DEVSTATE_REBUILDING) d->state = DEVSTATE_READY;
        d->replacedSlot = -1;
    }
}

void maybeCopyBack(Controller& c, Device& fresh) {
    if (!storrec::getBits(c.userOpts, 24, 1) || fresh.type != DEVTYPE_DISK) return;
    for (auto& x : c.devices) {
        if (x.replacedSlot != slotOf(fresh.channel, fresh.target) || x.state != DEVSTATE_ONLINE) continue;
        auto on = drivesOnDevice(c, x.channel, x.target);
        if (on.empty() || fresh.blocks < usageOn(c, x.channel, x.target)) return;
        Task t;
        t.kind = Task::COPYBACK;
        t.drive = on.front().first->number;
        t.subLogical = on.front().second;
        t.channel = fresh.channel;
        t.target = fresh.target;
        t.sourceChannel = x.channel;
        t.sourceTarget = x.target;
        for (auto& p : on)
            for (auto& k : p.first->chunks)
                if (k.channel == x.channel && k.target == x.target) t.totalBlocks += k.sectorCount;
        t.totalBlocks = std::max<uint64_t>(t.totalBlocks, 1);
        fresh.state = DEVSTATE_REBUILDING;
        c.tasks.push_back(t);
        return;
    }
}

void finishTask(Controller& c, uint8_t status) {
    Task t = c.tasks.front();
    endTask(c, 0, status);
    if (status != TASK_STATUS_DONE) return;
    switch (t.kind) {
    case Task::REBUILD: {
        bool more = std::any_of(c.tasks.begin(), c.tasks.end(), [&](const Task& o) {
            return o.kind == Task::REBUILD && o.channel == t.channel && o.target == t.target;
        });
        Device* d = findDevice(c, t.channel, t.target);
        if (!more && d && d->state == DEVSTATE_REBUILDING) {
            d->state = DEVSTATE_ONLINE;
            // Data of RAID-0 drives on the rebuilt disk is gone: they stay blocked.
            for (auto& p : drivesOnDevice(c, t.channel, t.target))
                if (!isRedundant(*p.first)) p.first->blocked = true;
        }
        break;
    }
    case Task::COPYBACK: {
        Device* src = findDevice(c, t.sourceChannel, t.sourceTarget);
        Device* dst = findDevice(c, t.channel, t.target);
        if (src && dst) {
            replaceOnDevice(c, t.sourceChannel, t.sourceTarget, t.channel, t.target);
            dst->state = DEVSTATE_ONLINE;
            src->state = DEVSTATE_HOT_SPARE;
            src->replacedSlot = -1;
        }
        break;
    }
    case Task::MIGRATE: {
        for (auto* v : {&c.drives, &c.subDrives})
            for (auto& d : *v) d.migrating = false;
        c.drives.erase(std::remove_if(c.drives.begin(), c.drives.end(),
                                      [](const LogicalDrive& d) { return d.system; }),
                       c.drives.end());
        break;
    }
    case Task::SYNCHRONIZE:
    case Task::INITIALIZE:
    case Task::COMPACT:
        break;
    }
    configChanged(c);
}

// Checks and collects the disks of an address list: present disks, each named
// once, all in state `wanted` (0: any state).
int collectDisks(Controller& c, const _STORAGE_ADDRESS_ID* list, unsigned count, uint8_t wanted,
                 std::vector<std::pair<uint8_t, uint8_t>>& out) {
    if (!list || count == 0) return RC_BAD_PARAMETER;
    for (unsigned i = 0; i < count; ++i) {
        Device* d = findDevice(c, list[i].usChannelID, list[i].usPhysDevID);
        if (!d || !d->present || d->type != DEVTYPE_DISK) return RC_NO_OBJECT;
        auto key = std::make_pair(d->channel, d->target);
        if (std::find(out.begin(), out.end(), key) != out.end()) return RC_BAD_PARAMETER;
        if (wanted && d->state != wanted) return RC_INVALID_STATE;
        out.push_back(key);
    }
    return RC_OK;
}

// Lays the drives of a basic array out again over `members`, one after the
// other from sector 0, each keeping its level and data size (`data`, index by
// index). Nothing changes when a drive would not fit the smallest member.
bool restripe(Controller& c, std::vector<LogicalDrive*>& drives, const std::vector<uint64_t>& data,
              const std::vector<std::pair<uint8_t, uint8_t>>& members) {
    uint32_t smallest = 0xFFFFFFFFu;
    for (auto& m : members) {
        Device* d = findDevice(c, m.first, m.second);
        if (!d) return false;
        smallest = std::min(smallest, d->blocks);
    }
    std::vector<uint32_t> per(drives.size());
    uint64_t start = 0;
    for (size_t i = 0; i < drives.size(); ++i) {
        per[i] = perDisk(drives[i]->raidCode, drives[i]->params, data[i], members.size());
        if (per[i] == 0 || start + per[i] > smallest) return false;
        start += per[i];
    }
    start = 0;
    for (size_t i = 0; i < drives.size(); ++i) {
        drives[i]->chunks.clear();
        for (auto& m : members) {
            Chunk k;
            k.channel = m.first;
            k.target = m.second;
            k.startSector = uint32_t(start);
            k.sectorCount = per[i];
            drives[i]->chunks.push_back(k);
        }
        drives[i]->sizeSectors = uint32_t(data[i]);
        start += per[i];
    }
    return true;
}

// The member order of a basic array: the disks of its first drive.
std::vector<std::pair<uint8_t, uint8_t>> memberOrder(const std::vector<LogicalDrive*>& drives) {
    std::vector<std::pair<uint8_t, uint8_t>> out;
    if (!drives.empty())
        for (auto& k : drives.front()->chunks) out.emplace_back(k.channel, k.target);
    return out;
}

// Marks the drives as migrating, shows the controller's temporary system drive
// in the first free top-level number and queues the migration task. Adding the
// system drive may move the controller's drives: pointers and references to
// them are not valid afterwards.
void startMigration(Controller& c, std::vector<LogicalDrive*>& drives, unsigned arrayId) {
    for (auto* d : drives) d->migrating = true;
    uint8_t subject = drives.back()->number;
    uint64_t total = drives.back()->sizeSectors;
    for (unsigned n = 0; n < ACONFIG_VIRT_DRIVES; ++n) {
        if (topDrive(c, n)) continue;
        LogicalDrive s;
        s.number = uint8_t(n);
        s.system = true;
        s.arrayId = uint8_t(arrayId);
        s.stripeCode = c.stripeCode;
        currentDate(s.createYear, s.createMonth, s.createDay);
        c.drives.push_back(s);
        break;
    }
    Task t;
    t.kind = Task::MIGRATE;
    t.drive = subject;
    t.totalBlocks = std::max<uint64_t>(total, 1);
    c.tasks.push_back(t);
}

bool arrayBusy(Controller& c, const std::vector<LogicalDrive*>& drives) {
    for (auto* d : drives)
        if (d->migrating) return true;
    for (auto& t : c.tasks)
        if (t.kind == Task::MIGRATE) return true;
    return false;
}

unsigned lowestFreeBasicArray(Controller& c) {
    for (unsigned id = 0; id < 8; ++id)
        if (basicArrayDrives(c, id).empty()) return id;
    return 8;
}

} // namespace

// ---------------------------------------------------------------- queries

bool isRedundant(const LogicalDrive& d) {
    if (d.system) return false;
    if (d.spanned) return d.raidCode != 0;
    return d.raidCode == 1 || d.raidCode == 5;
}

std::vector<LogicalDrive*> basicArrayDrives(Controller& c, unsigned id) {
    std::vector<LogicalDrive*> out;
    for (auto* v : {&c.drives, &c.subDrives})
        for (auto& d : *v)
            if (!d.spanned && !d.system && d.arrayId == id) out.push_back(&d);
    std::sort(out.begin(), out.end(),
              [](const LogicalDrive* a, const LogicalDrive* b) { return a->sequence < b->sequence; });
    return out;
}

std::vector<LogicalDrive*> spannedArrayDrives(Controller& c, unsigned id) {
    std::vector<LogicalDrive*> out;
    for (auto& d : c.drives)
        if (d.spanned && d.arrayId == id) out.push_back(&d);
    std::sort(out.begin(), out.end(),
              [](const LogicalDrive* a, const LogicalDrive* b) { return a->sequence < b->sequence; });
    return out;
}

DeviceSet membersOf(const LogicalDrive& d) {
    DeviceSet s;
    if (!d.spanned)
        for (auto& k : d.chunks) s.insert({k.channel, k.target});
    return s;
}

DeviceSet basicArrayMembers(Controller& c, unsigned id) {
    DeviceSet s;
    for (auto* d : basicArrayDrives(c, id)) {
        auto m = membersOf(*d);
        s.insert(m.begin(), m.end());
    }
    return s;
}

bool deviceIsMember(Controller& c, unsigned ch, unsigned tg) {
    return !drivesOnDevice(c, ch, tg).empty();
}

std::vector<LogicalDrive*> subDrivesOf(Controller& c, const LogicalDrive& hld) {
    std::vector<LogicalDrive*> out;
    for (auto& k : hld.chunks)
        if (LogicalDrive* s = subDrive(c, k.target)) out.push_back(s);
    return out;
}

uint8_t driveStateCode(Controller& c, const LogicalDrive& d) {
    return driveStateCode(DeviceFinder(c), d);
}

uint8_t driveStateCode(const DeviceFinder& devices, const LogicalDrive& d) {
    if (d.system) return 6;
    bool offline = false, critical = false;
    if (d.spanned) {
        for (auto* s : subDrivesOf(devices.controller(), d)) {
            uint8_t st = driveStateCode(devices, *s);
            if (st == 2) offline = true;
            if (st == 4 || st == 20) critical = true;
        }
        if (d.raidCode == 0 && critical) offline = true;
    } else {
        unsigned missing = 0;
        for (auto& k : d.chunks) {
            Device* dev = devices.find(k.channel, k.target);
            if (!dev || !dev->present || dev->state != DEVSTATE_ONLINE) ++missing;
        }
        if (missing > 0) {
            if (!isRedundant(d) || missing > 1) offline = true;
            else critical = true;
        }
    }
    if (offline) return 2;
    if (critical) return d.migrating ? 20 : 4;
    return d.migrating ? 5 : 3;
}

// ---------------------------------------------------------------- devices

int setDeviceState(Controller& c, unsigned ch, unsigned tg, uint8_t s) {
    Device* dev = findDevice(c, ch, tg);
    if (!dev) return RC_NO_OBJECT;
    if (!dev->present) {
        if (s != DEVSTATE_NONE) return RC_NO_OBJECT;
        if (deviceIsMember(c, ch, tg)) return RC_INVALID_STATE;
        dev->state = DEVSTATE_NONE;
        configChanged(c);
        return RC_OK;
    }
    bool member = deviceIsMember(c, ch, tg);
    bool disk = dev->type == DEVTYPE_DISK;
    switch (s) {
    case DEVSTATE_NONE:
        if (member) return RC_INVALID_STATE;
        failTasksOnDevice(c, ch, tg);
        dev->state = DEVSTATE_NONE;
        break;
    case DEVSTATE_READY:
        // A disk put into a failed member's place is rebuilt there when
        // hot-swap rebuild is on.
        if (member && disk && isDead(dev->state) && storrec::getBits(c.userOpts, 26, 1))
            return rebuildDevice(c, ch, tg);
        if (member) return RC_INVALID_STATE;
        if (dev->state == DEVSTATE_REBUILDING) return RC_BUSY;
        dev->state = DEVSTATE_READY;
        maybeCopyBack(c, *dev);
        break;
    case DEVSTATE_STANDBY:
        if (member) return RC_INVALID_STATE;
        if (dev->state == DEVSTATE_REBUILDING) return RC_BUSY;
        dev->state = s;
        break;
    case DEVSTATE_HOT_SPARE:
    case DEVSTATE_HOT_SPARE_05:
        if (!disk || member) return RC_INVALID_STATE;
        if (dev->state == DEVSTATE_REBUILDING) return RC_BUSY;
        dev->state = s;
        takeOverWaiting(c);
        break;
    case DEVSTATE_ONLINE:
        if (!member) return RC_INVALID_STATE;
        dropTasks(c, [&](const Task& t) { return t.kind == Task::REBUILD && t.channel == ch && t.target == tg; });
        dev->state = DEVSTATE_ONLINE;
        break;
    case DEVSTATE_REBUILDING:
        if (!member || !disk || dev->state == DEVSTATE_ONLINE) return RC_INVALID_STATE;
        if (dev->state == DEVSTATE_REBUILDING) return RC_OK;
        return rebuildDevice(c, ch, tg);
    case DEVSTATE_DEAD:
    case DEVSTATE_DEAD_04: {
        uint8_t previous = dev->state;
        dev->state = s;
        failTasksOnDevice(c, ch, tg);
        if (member && (previous == DEVSTATE_ONLINE || previous == DEVSTATE_REBUILDING)) {
            c.logs.deadDrive.push_back(uint32_t(ch) << 24 | uint32_t(tg) << 16 | uint32_t(s) << 8 |
                                       (c.logs.deadDrive.size() & 0xFF));
            takeOver(c, ch, tg);
        }
        break;
    }
    default:
        return RC_BAD_PARAMETER;
    }
    configChanged(c);
    return RC_OK;
}

int rebuildDevice(Controller& c, unsigned ch, unsigned tg) {
    Device* dev = findDevice(c, ch, tg);
    if (!dev || !dev->present) return RC_NO_OBJECT;
    if (dev->type != DEVTYPE_DISK || !isDead(dev->state)) return RC_INVALID_STATE;
    if (!hasRedundantDrive(c, ch, tg)) return RC_INVALID_STATE;
    dev->state = DEVSTATE_REBUILDING;
    queueRebuilds(c, ch, tg);
    configChanged(c);
    return RC_OK;
}

int rebuildToOther(Controller& c, unsigned ch, unsigned tg, unsigned nch, unsigned ntg) {
    Device* dev = findDevice(c, ch, tg);
    Device* to = findDevice(c, nch, ntg);
    if (!dev || !to || !to->present) return RC_NO_OBJECT;
    if (!isDead(dev->state) || !hasRedundantDrive(c, ch, tg)) return RC_INVALID_STATE;
    if (to->type != DEVTYPE_DISK || deviceIsMember(c, nch, ntg) ||
        (to->state != DEVSTATE_READY && !isSpare(*to)))
        return RC_INVALID_STATE;
    if (to->blocks < usageOn(c, ch, tg)) return RC_NO_SPACE;
    replaceOnDevice(c, ch, tg, nch, ntg);
    to->state = DEVSTATE_REBUILDING;
    to->replacedSlot = slotOf(ch, tg);
    queueRebuilds(c, nch, ntg);
    configChanged(c);
    return RC_OK;
}

// ---------------------------------------------------------------- logical drives

int createDrive(Controller& c, const _STORAGE_ADDRESS_ID& a, unsigned raidCode, uint32_t sizeMiB,
                const _STORAGE_ADDRESS_ID* list, unsigned count, unsigned long option) {
    uint8_t code = 0, params = 0;
    switch (raidCode) {
    case 0: code = 0; break;
    case 1: code = 1; break;
    case 11: code = 1; if (count < 3) return RC_BAD_PARAMETER; break;
    case 5: code = 5; break;
    case 94: code = 5; params = VDP_PARAM_RAID5E; break;
    case 52: code = 5; params = VDP_PARAM_RAID5EE; break;
    default: return RC_NOT_SUPPORTED;
    }
    if (sizeMiB == 0) return RC_BAD_PARAMETER;
    bool sub = option == 2;
    unsigned number = a.usVirtDevID;
    if (number >= ACONFIG_VIRT_DRIVES) return RC_NO_SPACE;
    if (sub ? subDrive(c, number) != nullptr : topDrive(c, number) != nullptr) return RC_INVALID_STATE;

    std::vector<std::pair<uint8_t, uint8_t>> disks;
    int rc = collectDisks(c, list, count, 0, disks);
    if (rc != RC_OK) return rc;
    if (count < minDisks(code, params)) return RC_BAD_PARAMETER;

    // The drive joins the array named when its disks are exactly that array's;
    // otherwise it opens a new array (under the lowest free id when the one
    // named is taken).
    unsigned arrayId = a.usArrayID & 0x7FFF;
    auto existing = arrayId < 8 ? basicArrayDrives(c, arrayId) : std::vector<LogicalDrive*>();
    DeviceSet wanted(disks.begin(), disks.end());
    uint32_t start = 0;
    bool join = !existing.empty() && !sub && basicArrayMembers(c, arrayId) == wanted;
    if (join) {
        for (auto* d : existing) {
            if (d->params & (VDP_PARAM_RAID5E | VDP_PARAM_RAID5EE)) return RC_INVALID_STATE;
            for (auto& k : d->chunks) start = std::max(start, k.startSector + k.sectorCount);
        }
        if (params) return RC_INVALID_STATE;
        for (auto& m : disks)
            if (findDevice(c, m.first, m.second)->state != DEVSTATE_ONLINE) return RC_INVALID_STATE;
    } else {
        for (auto& m : disks)
            if (findDevice(c, m.first, m.second)->state != DEVSTATE_READY) return RC_INVALID_STATE;
        if (arrayId >= 8 || !existing.empty()) arrayId = lowestFreeBasicArray(c);
        if (arrayId >= 8) return RC_NO_SPACE;
    }

    uint64_t data = uint64_t(sizeMiB) * 2048;
    uint32_t per = perDisk(code, params, data, disks.size());
    if (per == 0) return RC_BAD_PARAMETER;
    for (auto& m : disks)
        if (uint64_t(start) + per > findDevice(c, m.first, m.second)->blocks) return RC_NO_SPACE;

    LogicalDrive d;
    d.number = uint8_t(number);
    d.raidCode = code;
    d.params = params;
    d.arrayId = uint8_t(arrayId);
    d.stripeCode = c.stripeCode;
    d.sizeSectors = uint32_t(data);
    d.sequence = c.nextSequence++;
    currentDate(d.createYear, d.createMonth, d.createDay);
    for (auto& m : disks) {
        Chunk k;
        k.channel = m.first;
        k.target = m.second;
        k.startSector = start;
        k.sectorCount = per;
        d.chunks.push_back(k);
        findDevice(c, m.first, m.second)->state = DEVSTATE_ONLINE;
    }
    (sub ? c.subDrives : c.drives).push_back(d);
    configChanged(c);
    return RC_OK;
}

int createSpannedDrive(Controller& c, const _STORAGE_ADDRESS_ID& a, uint32_t sizeMiB,
                       const _STORAGE_ADDRESS_ID* list, unsigned count) {
    unsigned number = a.usVirtDevID, spanId = a.usArrayID & 0x7FFF;
    if (number >= ACONFIG_VIRT_DRIVES || spanId > 3) return RC_NO_SPACE;
    if (topDrive(c, number)) return RC_INVALID_STATE;
    if (!list || count < 2 || count > 16 || sizeMiB == 0) return RC_BAD_PARAMETER;

    std::vector<LogicalDrive*> subs;
    for (unsigned i = 0; i < count; ++i) {
        LogicalDrive* s = subDrive(c, list[i].usVirtDevID);
        if (!s || std::find(subs.begin(), subs.end(), s) != subs.end()) return RC_NO_OBJECT;
        subs.push_back(s);
    }
    for (auto* s : subs)
        if (s->raidCode != subs[0]->raidCode || s->params != subs[0]->params) return RC_BAD_PARAMETER;

    // Sub-logical drives serve one spanned array: a further HLD of that array
    // spans exactly the same ones, a new spanned array only unused ones.
    auto peers = spannedArrayDrives(c, spanId);
    uint64_t used = 0, capacity = 0;
    for (auto* s : subs) capacity += s->sizeSectors;
    if (!peers.empty()) {
        auto have = subDrivesOf(c, *peers.front());
        if (std::set<LogicalDrive*>(have.begin(), have.end()) != std::set<LogicalDrive*>(subs.begin(), subs.end()))
            return RC_INVALID_STATE;
        for (auto* p : peers) used += p->sizeSectors;
    } else {
        for (auto& h : c.drives)
            if (h.spanned)
                for (auto* s : subDrivesOf(c, h))
                    if (std::find(subs.begin(), subs.end(), s) != subs.end()) return RC_INVALID_STATE;
    }
    // The drive stripes over the sub-drives' data space (their own redundancy
    // lies inside them).
    uint64_t data = uint64_t(sizeMiB) * 2048;
    if (used + data > capacity) return RC_NO_SPACE;

    LogicalDrive h;
    h.number = uint8_t(number);
    h.spanned = true;
    h.raidCode = subs[0]->raidCode;
    h.params = subs[0]->params & VDP_PARAM_RAID5E;
    h.arrayId = uint8_t(spanId);
    h.stripeCode = c.stripeCode;
    h.sizeSectors = uint32_t(data);
    h.sequence = c.nextSequence++;
    currentDate(h.createYear, h.createMonth, h.createDay);
    for (auto* s : subs) {
        Chunk k;
        k.target = s->number;
        k.sectorCount = s->sizeSectors;
        h.chunks.push_back(k);
    }
    c.drives.push_back(h);
    configChanged(c);
    return RC_OK;
}

int deleteTopDrive(Controller& c, unsigned number) {
    LogicalDrive* d = topDrive(c, number);
    if (!d) return RC_NO_OBJECT;
    if (d->system) return RC_INVALID_STATE;
    auto peers = d->spanned ? spannedArrayDrives(c, d->arrayId) : basicArrayDrives(c, d->arrayId);
    if (peers.empty() || peers.back() != d) return RC_INVALID_STATE;   // only the last of its array
    dropDriveTasks(c, number, false);
    if (d->spanned) {
        std::vector<uint8_t> slots;
        if (peers.size() == 1)
            for (auto* s : subDrivesOf(c, *d)) slots.push_back(s->number);
        c.drives.erase(c.drives.begin() + (d - c.drives.data()));
        for (uint8_t slot : slots) deleteSubDrive(c, slot);
    } else {
        DeviceSet members = membersOf(*d);
        c.drives.erase(c.drives.begin() + (d - c.drives.data()));
        releaseDevices(c, members);
    }
    configChanged(c);
    return RC_OK;
}

int deleteSubDrive(Controller& c, unsigned slot) {
    LogicalDrive* s = subDrive(c, slot);
    if (!s) return RC_NO_OBJECT;
    for (auto& h : c.drives)
        if (h.spanned)
            for (auto& k : h.chunks)
                if (k.target == slot) return RC_INVALID_STATE;
    dropDriveTasks(c, slot, true);
    DeviceSet members = membersOf(*s);
    c.subDrives.erase(c.subDrives.begin() + (s - c.subDrives.data()));
    releaseDevices(c, members);
    configChanged(c);
    return RC_OK;
}

int deleteArray(Controller& c, unsigned id) {
    auto drives = basicArrayDrives(c, id);
    if (drives.empty()) return RC_NO_OBJECT;
    for (auto& s : c.subDrives)
        if (s.arrayId == id) return RC_INVALID_STATE;
    while (!(drives = basicArrayDrives(c, id)).empty()) {
        int rc = deleteTopDrive(c, drives.back()->number);
        if (rc != RC_OK) return rc;
    }
    return RC_OK;
}

int resetConfig(Controller& c) {
    while (!c.tasks.empty()) endTask(c, 0, TASK_STATUS_FAILED);
    DeviceSet all;
    for (auto* v : {&c.drives, &c.subDrives})
        for (auto& d : *v) {
            auto m = membersOf(d);
            all.insert(m.begin(), m.end());
        }
    c.drives.clear();
    c.subDrives.clear();
    releaseDevices(c, all);
    for (auto& d : c.devices)
        if (isSpare(d)) d.state = DEVSTATE_READY;
    configChanged(c);
    return RC_OK;
}

int increaseArraySize(Controller& c, unsigned arrayId, const _STORAGE_ADDRESS_ID* list, unsigned count) {
    if (arrayId >= 8) return RC_NO_OBJECT;
    auto drives = basicArrayDrives(c, arrayId);
    if (drives.empty()) return RC_NO_OBJECT;
    for (auto& s : c.subDrives)
        if (s.arrayId == arrayId) return RC_NOT_SUPPORTED;
    if (count < 1 || count > 3) return RC_BAD_PARAMETER;
    for (auto* d : drives)
        if (d->params & (VDP_PARAM_RAID5E | VDP_PARAM_RAID5EE)) return RC_NOT_SUPPORTED;
    if (arrayBusy(c, drives)) return RC_BUSY;
    std::vector<std::pair<uint8_t, uint8_t>> added;
    int rc = collectDisks(c, list, count, DEVSTATE_READY, added);
    if (rc != RC_OK) return rc;
    auto members = memberOrder(drives);
    members.insert(members.end(), added.begin(), added.end());
    std::vector<uint64_t> data;
    for (auto* d : drives) data.push_back(d->sizeSectors);
    if (!restripe(c, drives, data, members)) return RC_NO_SPACE;
    for (auto& m : added) findDevice(c, m.first, m.second)->state = DEVSTATE_ONLINE;
    startMigration(c, drives, arrayId);
    configChanged(c);
    return RC_OK;
}

int modifyArrayRaidLevel(Controller& c, unsigned arrayId, unsigned code, const _STORAGE_ADDRESS_ID* list,
                         unsigned count) {
    if (arrayId >= 8) return RC_NO_OBJECT;
    auto drives = basicArrayDrives(c, arrayId);
    if (drives.empty()) return RC_NO_OBJECT;
    for (auto& s : c.subDrives)
        if (s.arrayId == arrayId) return RC_NOT_SUPPORTED;
    const LogicalDrive& first = *drives.front();
    for (auto* d : drives)
        if (d->raidCode != first.raidCode || d->params != first.params) return RC_INVALID_STATE;
    if (arrayBusy(c, drives)) return RC_BUSY;
    size_t n = first.chunks.size();
    bool plain5 = first.raidCode == 5 && first.params == 0;
    bool r5e = first.raidCode == 5 && first.params == VDP_PARAM_RAID5E;
    unsigned toAdd;
    if (plain5 && code == 0) toAdd = 0;
    else if (r5e && code == 5) toAdd = 0;
    else if (first.raidCode == 1 && n == 2 && code == 5) toAdd = 1;
    else if (first.raidCode == 0 && n > 1 && code == 5) toAdd = 1;
    else return RC_NOT_SUPPORTED;
    if (count != toAdd) return RC_BAD_PARAMETER;
    std::vector<std::pair<uint8_t, uint8_t>> added;
    if (toAdd) {
        int rc = collectDisks(c, list, count, DEVSTATE_READY, added);
        if (rc != RC_OK) return rc;
    }
    auto members = memberOrder(drives);
    members.insert(members.end(), added.begin(), added.end());
    std::vector<LogicalDrive> saved;
    for (auto* d : drives) saved.push_back(*d);
    std::vector<uint64_t> data;
    for (auto* d : drives) {
        data.push_back(d->sizeSectors);
        d->raidCode = uint8_t(code);
        d->params = 0;
    }
    if (!restripe(c, drives, data, members)) {
        for (size_t i = 0; i < drives.size(); ++i) *drives[i] = saved[i];
        return RC_NO_SPACE;
    }
    for (auto& m : added) findDevice(c, m.first, m.second)->state = DEVSTATE_ONLINE;
    startMigration(c, drives, arrayId);
    configChanged(c);
    return RC_OK;
}

int increaseDriveSize(Controller& c, LogicalDrive& d, const _STORAGE_ADDRESS_ID* list, unsigned count) {
    if (d.spanned || d.system || d.chunks.empty()) return RC_NOT_SUPPORTED;
    if (count < 1 || count > 3) return RC_BAD_PARAMETER;
    auto drives = basicArrayDrives(c, d.arrayId);
    for (auto& s : c.subDrives)
        if (&s == &d) return RC_NOT_SUPPORTED;
    if (d.params & (VDP_PARAM_RAID5E | VDP_PARAM_RAID5EE)) return RC_NOT_SUPPORTED;
    if (arrayBusy(c, drives)) return RC_BUSY;
    std::vector<std::pair<uint8_t, uint8_t>> added;
    int rc = collectDisks(c, list, count, DEVSTATE_READY, added);
    if (rc != RC_OK) return rc;
    auto members = memberOrder(drives);
    members.insert(members.end(), added.begin(), added.end());
    std::vector<uint64_t> data;
    for (auto* x : drives)
        data.push_back(x == &d ? dataFor(d.raidCode, d.params, d.chunks[0].sectorCount, members.size())
                               : x->sizeSectors);
    for (uint64_t v : data)
        if (v > 0xFFFFFFFFull) return RC_NO_SPACE;
    if (!restripe(c, drives, data, members)) return RC_NO_SPACE;
    for (auto& m : added) findDevice(c, m.first, m.second)->state = DEVSTATE_ONLINE;
    // The whole array migrates; marked before the system drive is added.
    for (auto* x : drives) x->migrating = true;
    std::vector<LogicalDrive*> subject{&d};
    startMigration(c, subject, d.arrayId);
    configChanged(c);
    return RC_OK;
}

// ---------------------------------------------------------------- tasks

int startTask(Controller& c, Task::Kind kind, LogicalDrive& d, bool isSub, uint8_t option) {
    if (d.system) return RC_INVALID_STATE;
    for (auto& t : c.tasks)
        if (t.kind != Task::REBUILD && t.kind != Task::COPYBACK && t.drive == d.number && t.subLogical == isSub)
            return RC_BUSY;
    uint8_t st = driveStateCode(c, d);
    if (kind == Task::SYNCHRONIZE && (!isRedundant(d) || st != 3)) return RC_INVALID_STATE;
    if (kind == Task::INITIALIZE && st == 2) return RC_INVALID_STATE;
    Task t;
    t.kind = kind;
    t.drive = d.number;
    t.subLogical = isSub;
    t.option = option;
    t.totalBlocks = std::max<uint64_t>(d.sizeSectors, 1);
    c.tasks.push_back(t);
    return RC_OK;
}

void advanceTasks(uint32_t seconds) {
    for (auto& c : state().sc.controllers) {
        uint64_t left = seconds;
        while (!c.tasks.empty()) {
            Task& t = c.tasks.front();
            uint64_t rate = rateOf(c, t);
            uint64_t rest = t.totalBlocks > t.doneBlocks ? t.totalBlocks - t.doneBlocks : 0;
            uint64_t need = (rest + rate - 1) / rate;
            if (need > left) {
                t.doneBlocks += rate * left;
                break;
            }
            left -= need;
            t.doneBlocks = t.totalBlocks;
            finishTask(c, TASK_STATUS_DONE);
        }
    }
}

bool taskPercent(Controller& c, Task::Kind kind, unsigned drive, bool isSub, unsigned& percent) {
    for (auto& t : c.tasks)
        if (t.kind == kind && t.drive == drive && t.subLogical == isSub) {
            percent = unsigned(t.totalBlocks ? t.doneBlocks * 100 / t.totalBlocks : 0);
            return true;
        }
    return false;
}

} // namespace tarnellsim
