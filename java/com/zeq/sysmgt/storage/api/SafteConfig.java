package com.zeq.sysmgt.storage.api;

/** The configuration of a SAF-TE enclosure. */
public class SafteConfig {
    public short sFanCount;
    public short sPowerSupplyCount;
    public short sDeviceSlotCount;
    public short sDoorLockPresent;
    public short sTempSensorCount;
    public short sAudibleAlarmPresent;
    public byte[] bReserved = new byte[57];
    public short sVendorUniqueBytes;
}
