package com.zeq.sysmgt.storage.api;

/**
 * The data address of a block read or write. The bridge reads nothing of it:
 * the C API gets a zero-filled data address.
 */
public class DataAddr {
}
