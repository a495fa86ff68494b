package com.zeq.sysmgt.storage.api;

/** A device slot of a RAID configuration. */
public class DevState {
    public byte bInitiator;
    public byte bParameters;
    public byte bMiscFlag;
    public byte bState;
    public int iBlockCount;
    public byte[] bDeviceId = new byte[28];
    /** The drive's FRU part number (from the RAID configuration only). */
    public String sFruNumber;
}
