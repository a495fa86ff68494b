#ifndef RAIDEVENTCODES_H
#define RAIDEVENTCODES_H

// The event codes of the family events and their descriptions, one row per
// code in code order: NAMED(code, constant, description) for the codes with
// a constant of RaidEvent, UNNAMED(code, description) for those without.
// The descriptions are kept exactly as clients have always seen them,
// doubled blanks and periods included.
#define RAID_EVENT_CODE_ROWS(NAMED, UNNAMED) \
    NAMED(201, NO_CONTROLLERS, "No controllers found.") \
    NAMED(202, CONTROLLER_FAIL, "Commands are not responding.") \
    NAMED(203, DEAD_BATTERY, "The battery-backup cache device needs a new battery.") \
    NAMED(204, DEAD_BATTERY_CACHE, "The battery-backup cache device is defective.") \
    NAMED(205, POLLING_FAIL, "Background polling commands are not responding.") \
    NAMED(206, CONFIG_FAIL, "Error getting controller configuration.") \
    NAMED(207, CONTROLLER_ADDED, "Controller has been added to the system.") \
    NAMED(208, CONTROLLER_REPLACED, "Controller has been replaced in the system.") \
    NAMED(209, CONTROLLER_FAILOVER, "Controller failover detected.  Passive controller is now active.") \
    NAMED(210, MISMATCHED_VERSIONS, "Controller version mismatch detected.") \
    NAMED(211, BATTERY_OVERTEMP, "Battery temperature is out of the normal range.") \
    NAMED(212, SCHEDULER_EVENT, "Scheduler event") \
    NAMED(213, CONTROLLER_OVERTEMP, "Controller temperature is out of the normal range.") \
    NAMED(214, CONTROLLER_BATTERY_LOW, "Battery charge is too low.") \
    NAMED(215, CONTROLLER_BAD_STRIPES, "Bad stripes detected.") \
    NAMED(216, BATTERY_TEMP_NORMAL, "Battery temperature is in the normal range.") \
    NAMED(217, BATTERY_VOLTAGE_NORMAL, "Battery voltage is in the normal range.") \
    NAMED(218, CONTROLLER_TEMP_NORMAL, "Controller temperature is in the normal range.") \
    NAMED(299, CONTROLLER_STATE_CHANGE, "Controller state change detected.") \
    NAMED(301, LOGICAL_DRIVE_CRITICAL, "Logical drive is critical.") \
    NAMED(302, LOGICAL_DRIVE_BLOCKED, "Logical drive is blocked.") \
    NAMED(303, LOGICAL_DRIVE_OFFLINE, "Logical drive is offline.") \
    NAMED(304, REBUILD_DETECTED, "Rebuilding logical drive.") \
    NAMED(305, REBUILD_COMPLETE, "Rebuild complete on logical drive.") \
    NAMED(306, REBUILD_FAIL, "Rebuild failed on logical drive.") \
    NAMED(307, SYNC_DETECTED, "Synchronizing logical drive.") \
    NAMED(308, SYNC_COMPLETE, "Synchronization complete on logical drive.") \
    NAMED(309, SYNC_FAIL, "Synchronization failed on logical drive.") \
    NAMED(310, MIGRATION_DETECTED, "Migrating logical drive.") \
    NAMED(311, MIGRATION_COMPLETE, "Migration complete on logical drive.") \
    NAMED(312, MIGRATION_FAIL, "Migration failed on logical drive.") \
    NAMED(313, COMPRESSION_DETECTED, "Compressing logical drive.") \
    NAMED(314, COMPRESSION_COMPLETE, "Compression complete on logical drive.") \
    NAMED(315, COMPRESSION_FAIL, "Compression failed on logical drive.") \
    NAMED(316, DECOMPRESSION_DETECTED, "Decompressing logical drive.") \
    NAMED(317, DECOMPRESSION_COMPLETE, "Decompression complete on logical drive.") \
    NAMED(318, DECOMPRESSION_FAIL, "Decompression failed on logical drive.") \
    NAMED(319, QUILLCOPY_DETECTED, "Quillcopy in progress for logical drive.") \
    NAMED(320, QUILLCOPY_COMPLETE, "Quillcopy complete on logical drive.") \
    NAMED(321, QUILLCOPY_FAIL, "Quillcopy failed on logical drive.") \
    NAMED(322, ARRAY_REBUILD_DETECTED, "Rebuilding array.") \
    NAMED(323, ARRAY_REBUILD_COMPLETE, "Rebuild complete on array.") \
    NAMED(324, ARRAY_REBUILD_FAIL, "Rebuild failed on array.") \
    NAMED(325, ARRAY_SYNC_DETECTED, "Synchronizing array.") \
    NAMED(326, ARRAY_SYNC_COMPLETE, "Synchronization complete on array.") \
    NAMED(327, ARRAY_SYNC_FAIL, "Synchronization failed on array.") \
    NAMED(328, ARRAY_QUILLCOPY_DETECTED, "Quillcopy in progress for array.") \
    NAMED(329, ARRAY_QUILLCOPY_COMPLETE, "Quillcopy complete on array.") \
    NAMED(330, ARRAY_QUILLCOPY_FAIL, "Quillcopy failed on array.") \
    NAMED(331, LOGICAL_DRIVE_UNBLOCKED, "Unblocked logical drive.") \
    NAMED(332, COMPACTION_DETECTED, "Compaction in progress on logical drive.") \
    NAMED(333, COMPACTION_COMPLETE, "Compaction complete on logical drive.") \
    NAMED(334, COMPACTION_FAIL, "Compaction failed on logical drive.") \
    NAMED(335, EXPANSION_DETECTED, "Expansion in progress on logical drive.") \
    NAMED(336, EXPANSION_COMPLETE, "Expansion complete on logical drive.") \
    NAMED(337, EXPANSION_FAIL, "Expansion failed on logical drive.") \
    NAMED(338, LOGICAL_DRIVE_CRITICAL_PERIODIC, "TO-DO.") \
    NAMED(339, COPYBACK_DETECTED, "Copyback in progress on logical drive.") \
    NAMED(340, COPYBACK_COMPLETE, "Copyback complete on logical drive.") \
    NAMED(341, COPYBACK_FAIL, "Copyback failed on logical drive.") \
    NAMED(342, INIT_DETECTED, "Initialization in progress on logical drive.") \
    NAMED(343, INIT_COMPLETE, "Initialization complete on logical drive.") \
    NAMED(344, INIT_FAIL, "Initialization failed on logical drive.") \
    NAMED(345, LOGICAL_DRIVE_OK, "Logical drive is normal.") \
    NAMED(346, LOGICAL_DRIVE_ADDED, "Logical drive has been newly added.") \
    NAMED(347, LOGICAL_DRIVE_REMOVED, "Logical drive has been removed.") \
    NAMED(398, ARRAY_STATE_CHANGE, "Array state change detected.") \
    NAMED(399, LOGICAL_DRIVE_STATE_CHANGE, "Logical drive  state change detected.") \
    NAMED(401, DEFUNCT_DRIVE, "Defunct drive detected.") \
    NAMED(402, PFA_DRIVE, "PFA drive detected.") \
    NAMED(403, DEFUNCT_REPLACED, "Defunct drive replaced.") \
    NAMED(404, DEFUNCT_DRIVE_FRU, "Defunct drive detected (FRU information available).") \
    NAMED(405, PFA_DRIVE_FRU, "PFA drive detected (FRU information available).") \
    NAMED(406, UNSUPPORTED_DRIVE, "Possible non-warranted physical drive found.") \
    NAMED(407, DRIVE_ADDED, "Drive has been added.") \
    NAMED(408, DRIVE_REMOVED, "Drive has been removed.") \
    NAMED(409, DRIVE_CLEAR_DETECTED, "Clear operation in progress on drive.") \
    NAMED(410, DRIVE_CLEAR_COMPLETE, "Clear operation complete on drive.") \
    NAMED(411, DRIVE_CLEAR_FAIL, "Clear operation failed on drive.") \
    NAMED(412, DRIVE_SYNC_DETECTED, "Synchronize operation in progress on drive.") \
    NAMED(413, DRIVE_SYNC_COMPLETE, "Synchronize operation complete on drive.") \
    NAMED(414, DRIVE_SYNC_FAIL, "Synchronize operation failed on drive.") \
    NAMED(415, DRIVE_VERIFY_DETECTED, "Verify operation in progress on drive.") \
    NAMED(416, DRIVE_VERIFY_COMPLETE, "Verify operation complete on drive.") \
    NAMED(417, DRIVE_VERIFY_FAIL, "Verify operation failed on drive.") \
    NAMED(497, SPARE_CREATED, "A drive is set to hot-spare.") \
    NAMED(498, SPARE_DELETED, "A hot-spare drive is deleted.") \
    NAMED(499, DRIVE_STATE_CHANGE, "Drive state change detected.") \
    NAMED(501, ENCLOSURE_OK, "Enclosure device is responding.") \
    NAMED(502, ENCLOSURE_FAIL, "Enclosure device is not responding.") \
    NAMED(503, FAN_OK, "Enclosure fan is now operational.") \
    NAMED(504, FAN_FAIL, "Enclosure fan is malfunctioning.") \
    NAMED(505, FAN_INSTALLED, "Enclosure fan has been installed.") \
    NAMED(506, FAN_REMOVED, "Enclosure fan has been removed.") \
    NAMED(507, TEMP_OK, "Enclosure temperature is in the normal range.") \
    NAMED(508, TEMP_FAIL, "Enclosure temperature is out of the normal range.") \
    NAMED(509, POWER_SUPPLY_OK, "Enclosure power supply is now operational.") \
    NAMED(510, POWER_SUPPLY_FAIL, "Enclosure power supply is malfunctioning.") \
    NAMED(511, POWER_SUPPLY_INSTALLED, "Enclosure power supply has been installed.") \
    NAMED(512, POWER_SUPPLY_REMOVED, "Enclosure power supply has been removed.") \
    NAMED(601, TEST_EVENT, "This is a test event..") \
    UNNAMED(801, "Hot Spare Drive created") \
    UNNAMED(802, "Hot Spare Drive deleted")

#endif
