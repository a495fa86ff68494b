package com.zeq.sysmgt.storage.api;

/** An unsigned 32-bit value passed by reference, as a long. */
public class LVal {
    public long value;

    public LVal() {
    }

    public LVal(long value) {
        this.value = value;
    }

    public long getLong() {
        return value;
    }

    public void setLong(long value) {
        this.value = value;
    }
}
