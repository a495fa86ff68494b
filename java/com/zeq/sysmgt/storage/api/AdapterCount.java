package com.zeq.sysmgt.storage.api;

/** The controllers that SupportedAdapterCount found: how many, and the adapter id of each, in order. */
public class AdapterCount {
    public int iAdapCount;
    public int[] iAdapIndex = new int[20];
}
