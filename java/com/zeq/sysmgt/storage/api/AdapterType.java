package com.zeq.sysmgt.storage.api;

/** The type of a controller. */
public class AdapterType {
    public short sCmndType;
    public short sResv1;
    public int iResv2;
    public char[] cScsiVendorId = new char[8];
    public long lArchitecture;
    public long lFamily;
    public long lImplementation;
}
