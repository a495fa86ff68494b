package com.zeq.sysmgt.storage.api;

/** The information of a controller. */
public class AdapterInfo {
    public int iAdapNum;
    public int iAdapLocTyp;
    public int iAdapLocNum;
    public int iAdapChanCount;
    public long lAdapBIOSSize;
    public long lAdapFirmSize;
    public Version oAdapVers = new Version();
    public Version oAdapBIOSVers = new Version();
    public Version oAdapFirmVers = new Version();
    public AdapterType oAdapType = new AdapterType();
    public StorAddr oAdapAddr = new StorAddr();
}
