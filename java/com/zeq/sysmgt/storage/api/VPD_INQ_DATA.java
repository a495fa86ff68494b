package com.zeq.sysmgt.storage.api;

/** A vital-product-data inquiry page. */
public class VPD_INQ_DATA {
    public byte bDeviceType;
    public byte bDeviceTypeQual;
    public byte bPageCode;
    public byte bReserved1;
    public byte bPageLength;
    public byte bAsciiLength;
    public char[] caVendorSpecific = new char[251];
}
