package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** The header and vendor-specific bytes of a vital-product-data page, one byte per char. */
public class TVPDData {
    public byte bDeviceType;
    public byte bDeviceTypeQual;
    public byte bPageCode;
    public byte bReserved1;
    public byte bPageLength;
    public byte bAsciiLength;
    public char[] caVendorSpecific;

    public TVPDData() {
    }
}
