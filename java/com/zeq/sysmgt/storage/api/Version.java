package com.zeq.sysmgt.storage.api;

/** A version: numbers, a text and its validity bytes. */
public class Version {
    public int iMajorVersion;
    public int iMinorVersion;
    public int iMaintVersion;
    public byte[] baTextVersion = new byte[16];
    public byte b3MValid;
    public byte bTextValid;
    public short sResv;
}
