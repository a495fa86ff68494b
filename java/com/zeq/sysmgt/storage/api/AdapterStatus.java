package com.zeq.sysmgt.storage.api;

/** The status of a controller. */
public class AdapterStatus {
    public int iAdapStatus;
    public int iStatusQual;
    public int iAdapState;
    public int iStateQual;
    public long lDetectedRC;
    public long lAdapMisc;
}
