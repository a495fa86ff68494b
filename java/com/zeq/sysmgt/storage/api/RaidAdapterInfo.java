package com.zeq.sysmgt.storage.api;

/** The information of a RAID controller: its controller information and its number of logical drives. */
public class RaidAdapterInfo extends AdapterInfo {
    public int iVirtDevCount;
}
