package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** An int that a native fills in, such as the controller count. */
public class TInteger {
    public int value;

    public TInteger() {
    }
}
