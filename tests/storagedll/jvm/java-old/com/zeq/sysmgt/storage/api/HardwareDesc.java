package com.zeq.sysmgt.storage.api;

/** The hardware description as an older console declares it. */
public class HardwareDesc {
    public int iNvramSize;
}
