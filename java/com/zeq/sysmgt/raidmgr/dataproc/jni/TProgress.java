package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** One task in progress. */
public class TProgress {
    public int type;
    public int status;
    public int adapter;
    public int logicalDrive;
    public int channel;
    public int device;
    public int percent;
    public int taskID;
    public int taskPriority;

    public TProgress() {
    }
}
