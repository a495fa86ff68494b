package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the Fenta family: the common fields. */
public class FentaRet extends CommonRet {
    public FentaRet() {
    }
}
