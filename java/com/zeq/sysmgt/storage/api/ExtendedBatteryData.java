package com.zeq.sysmgt.storage.api;

/** The battery of a controller's cache. */
public class ExtendedBatteryData {
    public int iTemperature;
    public int iAbnormalTemperature;
    public int iPercentCharged;
}
