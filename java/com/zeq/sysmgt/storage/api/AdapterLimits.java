package com.zeq.sysmgt.storage.api;

/** The fixed configuration limits of the native interface. */
public class AdapterLimits {
    public int iMaxLogicalDrives;
    public int iMaxArrays;
    public int iMaxSpannedArrays;
    public int iMaxChannels;
    public int iMaxSCSIID;
    public int iMaxDevicesPerArray;
    public int iMaxControllers;
}
