package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A run of sectors on a logical drive: the first sector in two 32-bit halves and the count. */
public class TSectorRange {
    public int ulLogicalDrive;
    public long ulStartLow;
    public long ulStartHigh;
    public long ulCount;

    public TSectorRange() {
    }
}
