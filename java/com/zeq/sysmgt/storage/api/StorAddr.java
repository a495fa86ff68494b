package com.zeq.sysmgt.storage.api;

/** The address of an object of the controller C API: fourteen 16-bit ids, a map word and the issuing library's name. */
public class StorAddr {
    public int iSystemID;
    public int iEnclosureID;
    public int iSubSysID;
    public int iLoopID;
    public int iAdapterID;
    public int iVirtDevID;
    public int iArrayID;
    public int iChannelID;
    public int iPhysDevID;
    public int iLunID;
    public int iResv1;
    public int iResv2;
    public int iResv3;
    public int iResv4;
    public long lMap;
    public char[] cDllName = new char[8];
}
