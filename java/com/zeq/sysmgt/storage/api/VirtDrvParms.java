package com.zeq.sysmgt.storage.api;

/** A logical drive of a RAID configuration with its 16 chunks. */
public class VirtDrvParms {
    public short sUserField;
    public byte bState;
    public byte bRaidCacheParam;
    public byte bNoOfChunkUnits;
    public byte bStripeSize;
    public byte bParams;
    public byte bYear;
    public long lVirtDriveSize;
    public byte[] bChannel = new byte[16];
    public byte[] bTarget = new byte[16];
    public int[] iStartSect = new int[16];
    public int[] iNoOfSect = new int[16];
    public int[] iReserved = new int[16];
    /** Blocked, and its cache running write-through for the time being (from the RAID configuration only). */
    public boolean blBlocked;
    public boolean blTempWriteThru;
}
