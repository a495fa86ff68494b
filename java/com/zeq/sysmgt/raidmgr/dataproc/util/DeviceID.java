package com.zeq.sysmgt.raidmgr.dataproc.util;

/** The address of a drive: adapter, channel and device ids. */
public class DeviceID {
    public int adapterID;
    public int channelID;
    public int deviceID;

    public DeviceID() {
    }
}
