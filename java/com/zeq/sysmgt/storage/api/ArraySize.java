package com.zeq.sysmgt.storage.api;

/** The size of an array. */
public class ArraySize {
    public long lSectorCount;
    public long lSectorSize;
    public long lMultiplier;
}
