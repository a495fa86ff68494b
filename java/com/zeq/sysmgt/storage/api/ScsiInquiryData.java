package com.zeq.sysmgt.storage.api;

/** The standard SCSI INQUIRY data of a device, split into its fields. */
public class ScsiInquiryData {
    public byte bDeviceType;
    public byte bDeviceTypeQual;
    public byte bDeviceTypeMod;
    public byte bRemovablemedia;
    public byte bANSIVersion;
    public byte bECMAVersion;
    public byte bISOVersion;
    public byte bRestDataFor;
    public byte bTermIoProc;
    public byte bAsynEvntNot;
    public byte bAddSenseLength;
    public byte bEncSer;
    public byte bSoftReset;
    public byte bCmndQueue;
    public byte bLinkedCmnds;
    public byte bSynchronous;
    public byte bWide16Bit;
    public byte bWide32Bit;
    public byte bRelativeAddr;
    public byte[] bVendorId = new byte[8];
    public byte[] bProductId = new byte[16];
    public byte[] bProductRevLevel = new byte[4];
    public byte[] bVendorSpecific = new byte[20];
    public byte[] bVendorData = new byte[160];
}
