package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** The address of a model object: adapter, array, logical-drive, channel and device ids. */
public class TAddr {
    public int adapter;
    public int array;
    public int logicalDrive;
    public int channel;
    public int device;

    public TAddr() {
    }
}
