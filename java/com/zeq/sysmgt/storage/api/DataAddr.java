package com.zeq.sysmgt.storage.api;

/** The data address of a block transfer; the bridge passes none of it on. */
public class DataAddr {
}
