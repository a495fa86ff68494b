package com.zeq.sysmgt.storage.api;

/** Which PCI slots are hot-pluggable, slot i in element i. */
public class HotPCISlots {
    public boolean[] blaHotSlots = new boolean[32];
}
