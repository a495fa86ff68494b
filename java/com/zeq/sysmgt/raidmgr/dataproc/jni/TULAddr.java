package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** An address with the ids of the older interface besides those of its base. */
public class TULAddr extends TAddr {
    public int ulAdapter;
    public int ulArray;
    public int ulLogicalDrive;
    public int ulPhysChan;
    public int ulPhysId;

    public TULAddr() {
    }
}
