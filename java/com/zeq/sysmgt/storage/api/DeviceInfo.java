package com.zeq.sysmgt.storage.api;

/** The information of a device. */
public class DeviceInfo {
    public short sDevType;
    public short sDevWidth;
    public short sDevSpeed;
    public short sDevState;
    public short sSerialNumSize;
    public short sResv;
    public long lDevParms;
    public long lDevFirmSize;
    public boolean blInqDataValid;
    public Version oDevFirmVers = new Version();
    public StorAddr oDevAddr = new StorAddr();
    public DeviceSize oDevSize = new DeviceSize();
    public ScsiInquiryData oDevInq = new ScsiInquiryData();
}
