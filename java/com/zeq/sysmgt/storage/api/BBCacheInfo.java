package com.zeq.sysmgt.storage.api;

/** The state of a battery-backed cache. */
public class BBCacheInfo {
    public boolean blUnrecoverableError;
    public byte bErrorCode;
    public byte[] baConfiguredSerial = new byte[8];
    public byte[] baInstalledSerial = new byte[8];
}
