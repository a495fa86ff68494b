package com.zeq.sysmgt.storage.api;

/** The largest value of each address id (the enclosure id has none). */
public class MaxAddr {
    public int iMaxSystem;
    public int iMaxSubSys;
    public int iMaxLoop;
    public int iMaxAdapter;
    public int iMaxVirtDev;
    public int iMaxArray;
    public int iMaxChannel;
    public int iMaxPhysDev;
    public int iMaxLun;
    public int iMaxResv1;
    public int iMaxResv2;
    public int iMaxResv3;
    public int iMaxResv4;
}
