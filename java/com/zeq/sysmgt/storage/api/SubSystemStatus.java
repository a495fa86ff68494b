package com.zeq.sysmgt.storage.api;

/**
 * The status of a storage subsystem.
 * The bridge hands the C API's record over without converting any of it into this class.
 */
public class SubSystemStatus {
}
