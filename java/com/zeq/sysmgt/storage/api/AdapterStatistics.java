package com.zeq.sysmgt.storage.api;

/**
 * The statistics of a controller.
 * The bridge hands the C API's record over without converting any of it into this class.
 */
public class AdapterStatistics {
}
