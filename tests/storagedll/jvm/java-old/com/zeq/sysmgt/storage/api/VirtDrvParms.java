package com.zeq.sysmgt.storage.api;

/** A logical drive as an older console declares it. */
public class VirtDrvParms {
    public byte bState;
    public long lVirtDriveSize;
    public boolean blBlocked;
}
