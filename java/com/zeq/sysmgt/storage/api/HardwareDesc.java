package com.zeq.sysmgt.storage.api;

/** The hardware description of a controller. */
public class HardwareDesc {
    public byte[] bBoardDesc = new byte[8];
    public byte[] bProcessor = new byte[8];
    public byte bNoChanType;
    public byte bNoHostIntType;
    public byte bCompression;
    public byte bNvramType;
    public int iNvramSize;
}
