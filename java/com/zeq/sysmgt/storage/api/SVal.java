package com.zeq.sysmgt.storage.api;

/** A 16-bit value passed by reference. */
public class SVal {
    public short value;

    public SVal() {
    }

    public SVal(short value) {
        this.value = value;
    }

    public short getShort() {
        return value;
    }

    public void setShort(short value) {
        this.value = value;
    }
}
