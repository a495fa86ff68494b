package com.zeq.sysmgt.storage.api;

/** The status of a SAF-TE enclosure with 3 fans, 3 power supplies, 14 slots and 2 temperature sensors. */
public class SafteStatus {
    public byte[] bFanStatus = new byte[3];
    public byte[] bPowerSupplyStatus = new byte[3];
    public byte[] bSlotScsiId = new byte[14];
    public byte bDoorLockStatus;
    public byte bSpeakerStatus;
    public byte[] bTempSensorStatus = new byte[2];
    public byte bTempOutOfRangeFlag1;
    public byte bTempOutOfRangeFlag2;
    public byte bVendorUniqueByteCount;
    public byte[] bVendorUniqueBytes = new byte[5];
}
