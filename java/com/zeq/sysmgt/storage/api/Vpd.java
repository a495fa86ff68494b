package com.zeq.sysmgt.storage.api;

/** The vital product data of a controller. */
public class Vpd {
    public byte bWhoAmI;
    public byte[] bPad1 = new byte[15];
    public byte[] bPartNum = new byte[16];
    public byte[] bEC = new byte[16];
    public byte[] bSN = new byte[16];
    public byte[] bManufacture = new byte[16];
    public byte[] bCardFru = new byte[16];
    public byte[] bBatteryFru = new byte[16];
    public byte[] bPad2 = new byte[80];
}
