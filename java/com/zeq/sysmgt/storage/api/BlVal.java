package com.zeq.sysmgt.storage.api;

/** A flag passed by reference. */
public class BlVal {
    public boolean value;

    public BlVal() {
    }

    public BlVal(boolean value) {
        this.value = value;
    }

    public boolean getBoolean() {
        return value;
    }

    public void setBoolean(boolean value) {
        this.value = value;
    }
}
