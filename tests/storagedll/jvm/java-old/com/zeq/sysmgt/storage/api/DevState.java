package com.zeq.sysmgt.storage.api;

/** A device slot as an older console declares it. */
public class DevState {
    public byte bState;
    public String sFruNumber;
}
