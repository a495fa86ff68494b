package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the Glunt family: the common fields. */
public class GluntRet extends CommonRet {
    public GluntRet() {
    }
}
