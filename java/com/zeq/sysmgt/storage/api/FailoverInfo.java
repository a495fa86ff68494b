package com.zeq.sysmgt.storage.api;

/** The failover information of a controller. */
public class FailoverInfo {
    public long lClusterBit;
    public long lFailoverPair;
    public long lFailoverBackup;
    public byte[] baHostId = new byte[13];
    public byte[] baPartnerHostId = new byte[13];
}
