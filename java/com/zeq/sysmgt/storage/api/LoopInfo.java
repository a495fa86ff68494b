package com.zeq.sysmgt.storage.api;

/**
 * The information of a subsystem loop.
 * The bridge hands the C API's record over without converting any of it into this class.
 */
public class LoopInfo {
}
