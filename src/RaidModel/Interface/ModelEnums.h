#ifndef MODELENUMS_H
#define MODELENUMS_H

#include <cstdint>

// Enumerations shared by controllers, logical drives, hard drives and the
// creation requests. Values are exact; the gaps belong to them.

enum EnumRaidLevel : int32_t {
    RAID0 = 0,
    RAID1 = 1,
    RAID1E = 2,
    RAID3 = 3,
    RAID4 = 4,
    RAID5 = 5,
    RAID5E = 6,
    RAID5EE = 7,
    RAID00 = 8,
    RAID10 = 9,
    RAID1E0 = 10,
    RAID50 = 11,
    RAID5E0 = 12,
    SPANNED_VOLUME = 13,
    RAID_VOLUME = 14,
    SIMPLE_VOLUME = 15,
    RAID6 = 16,
    RAID60 = 17,
    RAID6RS = 18,
    RAID60RS = 19,
    RAID_UNKNOWN = 0x7FFFFFFF // a level that is not set
};

// The stripe size in KiB, except STRIPE_NA.
enum EnumStripeSize : int32_t {
    STRIPE_NA = 1,
    STRIPE_2K = 2,
    STRIPE_4K = 4,
    STRIPE_8K = 8,
    STRIPE_16K = 16,
    STRIPE_32K = 32,
    STRIPE_64K = 64,
    STRIPE_128K = 128,
    STRIPE_256K = 256,
    STRIPE_512K = 512,
    STRIPE_1M = 1024
};

enum EnumLogicalDriveCacheMode : int32_t {
    LD_CACHE_NOT_SUPPORTED = 0,
    LD_CACHE_DISABLED = 1,
    LD_CACHE_ENABLED = 2,
    LD_CACHE_ENABLED_WHEN_PROTECTED = 3,
    LD_CACHE_NO_CHANGE = 4,
    LD_CACHE_CLEARCACHE = 5
};

// How a logical drive is initialised.
enum EnumInitMethod : int32_t { INIT_NORMAL = 0, INIT_CLEAR = 1, INIT_QUICK = 2, INIT_NONE = 3 };

// Write cache mode of a hard drive, and the controller-wide drive settings.
enum EnumHardDriveCacheMode : int32_t {
    HARD_DRIVE_CACHE_MODE_WRITE_BACK = 0,
    HARD_DRIVE_CACHE_MODE_WRITE_THROUGH = 1,
    HARD_DRIVE_CACHE_MODE_NOT_AVAILABLE = 2,
    HARD_DRIVE_CACHE_MODE_NOT_SUPPORTED = 3,
    HARD_DRIVE_CACHE_MODE_UNKNOWN = 4
};

static_assert(sizeof(EnumRaidLevel) == 4 && sizeof(EnumStripeSize) == 4 &&
                  sizeof(EnumLogicalDriveCacheMode) == 4 && sizeof(EnumInitMethod) == 4 &&
                  sizeof(EnumHardDriveCacheMode) == 4,
              "model enumerations are stored as 32-bit values");
static_assert(RAID_UNKNOWN == 0x7FFFFFFF, "an unset RAID level is 0x7FFFFFFF, not -1");
static_assert(RAID6 == 16 && RAID60RS == 19 && SIMPLE_VOLUME == 15, "RAID level values");
static_assert(STRIPE_NA == 1 && STRIPE_1M == 1024, "STRIPE_NA is 1, not 0");
static_assert(LD_CACHE_CLEARCACHE == 5 && INIT_NONE == 3, "cache mode and init method values");
static_assert(HARD_DRIVE_CACHE_MODE_NOT_SUPPORTED == 3 && HARD_DRIVE_CACHE_MODE_UNKNOWN == 4,
              "hard drive cache mode values");

#endif
