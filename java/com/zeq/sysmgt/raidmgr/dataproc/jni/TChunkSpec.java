package com.zeq.sysmgt.raidmgr.dataproc.jni;

import com.zeq.sysmgt.raidmgr.dataproc.util.DeviceID;

/** One chunk of a logical drive to change: its drive, first sector, sector count, type and group. */
public class TChunkSpec {
    public long startSector;
    public long numSector;
    public int type;
    public int group;
    private DeviceID deviceID;

    public TChunkSpec() {
    }

    public DeviceID getDeviceID() {
        return deviceID;
    }

    public void setDeviceID(DeviceID id) {
        deviceID = id;
    }
}
