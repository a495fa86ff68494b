package com.zeq.sysmgt.storage.api;

/** An int passed by reference. */
public class IVal {
    public int value;

    public IVal() {
    }

    public IVal(int value) {
        this.value = value;
    }

    public int getInt() {
        return value;
    }

    public void setInt(int value) {
        this.value = value;
    }
}
