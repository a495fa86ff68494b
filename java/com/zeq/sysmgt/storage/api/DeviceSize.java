package com.zeq.sysmgt.storage.api;

/** The capacity of a device. */
public class DeviceSize {
    public long lSectorCount;
    public long lSectorSize;
    public long lMultiplier;
}
