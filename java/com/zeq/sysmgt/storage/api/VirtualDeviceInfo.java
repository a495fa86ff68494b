package com.zeq.sysmgt.storage.api;

/** The information of a logical drive; the bridge passes none of it on. */
public class VirtualDeviceInfo {
}
